#pragma once

// The program's log: things that went wrong without stopping the user's work, kept for whoever looks into it later.
// Messages name files and causes, never a password or other secret.

#include <functional>
#include <string>

#include "platform/win/file.h"

// Hands the message to the log. By default the log is the program's standard error, one line per message.
void LogMessage(const std::string& message);

// Sends later messages to sink instead (an empty sink restores the default); returns the sink it replaces.
using LogSink = std::function<void(const std::string&)>;
LogSink SetLogSink(LogSink sink);

// "<file>: <what went wrong>" for a failed file operation, from the system's text for the error when there is one.
std::string DescribeFileError(const CFileException& error);
