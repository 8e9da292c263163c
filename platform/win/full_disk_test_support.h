#pragma once

// A disk that fills up part way through a file, for the tests of what a failed write leaves behind: while the object
// lives, the kernel refuses (EFBIG) to write any byte of any file of this process beyond the limit, as a full disk
// refuses them with ENOSPC; both are the diskFull cause. Old files stay readable and files below the limit writable.

#include <sys/resource.h>

#include <csignal>

class FullDiskAt
{
public:
    explicit FullDiskAt(rlim_t limit)
    {
        // The kernel sends SIGXFSZ as well, whose default action ends the process.
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit lowered = m_old;
        lowered.rlim_cur = limit;
        m_set = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FullDiskAt()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FullDiskAt(const FullDiskAt&) = delete;
    FullDiskAt& operator=(const FullDiskAt&) = delete;

    // False when the limit could not be set (the test then proves nothing and should say so).
    bool IsSet() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_set = false;
};
