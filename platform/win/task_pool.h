#pragma once

// A few threads that run independent pieces of one job on the machine's cores: rendering the objects of a page,
// composing the pictures of a build. The caller takes part in the job and gets control back only when every piece
// has run, so what the pieces write is complete when ForEach returns and no piece outlives its job.
//
// A job waits for no other job: a second job started while one runs (from another thread, or from inside a piece)
// runs its pieces on its caller's thread alone, one after the other.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CTaskPool
{
public:
    // helpers: threads beside the caller; 0 runs every job on its caller's thread.
    explicit CTaskPool(unsigned helpers);
    ~CTaskPool();
    CTaskPool(const CTaskPool&) = delete;
    CTaskPool& operator=(const CTaskPool&) = delete;

    // One pool for the whole program, with a helper for every core but the caller's.
    static CTaskPool& Shared();
    // A pool of the program's with that many helpers, made at the first call and kept: threads that stay keep the
    // memory their earlier jobs used (fresh threads start on fresh pages, which every thread of the process then
    // waits for in turn).
    static CTaskPool& WithHelpers(unsigned helpers);
    // True on a helper thread of any pool: code that must stay on the user-interface thread (wait cursors,
    // questions to the user) checks it.
    static bool IsHelperThread();

    unsigned GetHelperCount() const { return static_cast<unsigned>(m_threads.size()); }

    // Calls piece(i) once for every i below count, on the helpers and on the caller's thread, and returns when all
    // have returned. callerFirst, when given, runs on the caller's thread before it joins in, while the helpers
    // already work: for work that must stay on this thread. Every piece runs however many of them throw; the
    // first exception (callerFirst's before any piece's) is thrown again here once all have run. The same holds
    // for a job that runs on its caller's thread alone.
    void ForEach(size_t count, const std::function<void(size_t)>& piece,
                 const std::function<void()>& callerFirst = nullptr);

private:
    void Work();
    void RunPieces();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_finished;
    // The job that runs, null between jobs.
    const std::function<void(size_t)>* m_piece = nullptr;
    size_t m_count = 0;
    std::atomic<size_t> m_next{0};
    unsigned long m_generation = 0;
    unsigned m_running = 0;
    std::exception_ptr m_failure;
    std::atomic<bool> m_busy{false};
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
