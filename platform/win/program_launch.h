#pragma once

// Starting other programs: a program with its arguments, each passed as it stands (no shell reads them), and an
// address or file opened with the desktop's default handler. The program does not wait for what it starts. Tests
// put a recorder in place of the real starter.

#include <functional>
#include <string>
#include <vector>

// Starts arguments[0] (looked up on PATH when it holds no '/') with the rest as its arguments. False when there is
// nothing to start or it could not be started.
bool StartProgram(const std::vector<std::string>& arguments);

// Opens the address with the desktop's default handler ("xdg-open" and the address as its one argument).
bool OpenWithDefaultHandler(const std::string& address);
// The same, for a caller that is to learn when no program shows the address although the handler started: the
// handler then ends with a failure (nothing set up for the address, or what is set up did not start), and
// failedLater is called, on a thread of its own. While a test's starter is in place, only its answer counts.
bool OpenWithDefaultHandler(const std::string& address, std::function<void()> failedLater);

using ProgramStarter = std::function<bool(const std::vector<std::string>& arguments)>;
// Every start goes to starter from now on; null puts back the real one. Answers the one it replaces.
ProgramStarter SetProgramStarter(ProgramStarter starter);
