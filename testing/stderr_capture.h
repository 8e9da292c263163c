#pragma once

// Sends the standard error stream (file descriptor 2) into a file while it lives, so a test can check that what
// it drove printed nothing: toolkit warnings go there and nowhere else.

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>

class StderrCapture
{
public:
    explicit StderrCapture(std::string path) : m_path(std::move(path))
    {
        std::fflush(stderr);
        m_saved = dup(2);
        const int file = open(m_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(file, 2);
        close(file);
    }
    ~StderrCapture() { Stop(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Ends the capture and gives what was written.
    std::string Text()
    {
        Stop();
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    void Stop()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, 2);
        close(m_saved);
        m_saved = -1;
    }

    std::string m_path;
    int m_saved = -1;
};
