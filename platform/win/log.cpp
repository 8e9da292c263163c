#include "platform/win/log.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

namespace {

std::mutex g_logMutex;
LogSink g_sink;

const char* CauseText(int cause)
{
    switch (cause) {
    case CFileException::fileNotFound:
        return "the file was not found";
    case CFileException::badPath:
        return "the path is not valid";
    case CFileException::accessDenied:
        return "access was denied";
    case CFileException::diskFull:
        return "the disk is full";
    case CFileException::endOfFile:
        return "the file ended early";
    case CFileException::invalidFile:
        return "the file is not valid";
    default:
        return "the file could not be used";
    }
}

} // namespace

void LogMessage(const std::string& message)
{
    std::lock_guard lock(g_logMutex);
    if (g_sink)
        g_sink(message);
    else
        std::fprintf(stderr, "pelorin: %s\n", message.c_str());
}

LogSink SetLogSink(LogSink sink)
{
    std::lock_guard lock(g_logMutex);
    return std::exchange(g_sink, std::move(sink));
}

std::string DescribeFileError(const CFileException& error)
{
    const std::string what = error.m_lOsError > 0 ? std::strerror(static_cast<int>(error.m_lOsError))
                                                  : CauseText(error.m_cause);
    return error.m_strFileName.empty() ? what : error.m_strFileName + ": " + what;
}
