#include "platform/win/log.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(LogTest, MessagesGoToTheSinkAndFileErrorsReadPlainly)
{
    std::vector<std::string> lines;
    const LogSink previous = SetLogSink([&](const std::string& line) { lines.push_back(line); });
    LogMessage("one");
    LogMessage("two");
    SetLogSink(previous);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two"}));

    EXPECT_EQ(DescribeFileError(CFileException(CFileException::accessDenied, EACCES, "/a/b")), "/a/b: Permission denied");
    EXPECT_EQ(DescribeFileError(CFileException(CFileException::diskFull)), "the disk is full");
}
