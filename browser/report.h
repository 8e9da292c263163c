#pragma once

// How the library speaks to the user and to its developers: message boxes, the default beep and the debug
// assertions that name a condition, a source file and a line. A host or a test may answer the boxes itself.

#include <functional>
#include <string>

namespace kitefly {

// Buttons and icons of a message box, and its answers, with the values the host platform's callers know.
enum : unsigned
{
    MB_OK = 0x0,
    MB_YESNO = 0x4,
    MB_ICONHAND = 0x10,
    MB_ICONEXCLAMATION = 0x30,
    MB_SYSTEMMODAL = 0x1000,
    MB_TASKMODAL = 0x2000,
};
enum : int
{
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

using MessageBoxHandler = std::function<int(const std::string& text, const std::string& caption, unsigned style)>;
// Replaces the boxes; an empty handler puts back the default (a wx box when a wx application runs, else a line
// on stderr answered as if No or OK had been chosen).
void SetMessageBoxHandler(MessageBoxHandler handler);
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style);
// The default beep; counted, so that tests can see that it sounded.
void MessageBeep();
int BeepCount();

using AssertHandler = std::function<void(const char* condition, const char* file, int line)>;
// Replaces the report of a failed assertion; an empty handler puts back the default (a line on stderr).
void SetAssertHandler(AssertHandler handler);
void ReportAssert(const char* condition, const char* file, int line);

} // namespace kitefly

// A precondition that is reported, not enforced: the caller goes on as the code after it decides.
#define KF_ASSERT(condition, text, file) ((condition) ? (void)0 : ::kitefly::ReportAssert(text, file, __LINE__))
