#pragma once

// Waits for the windows to settle before a test looks at them, clicks them, pops a menu on them or takes their
// picture (testing/gui_settle.cpp, part of the window tests' main).

#include <functional>

// Returns once every shown top-level window is mapped on the display, everything the display server was asked or
// told so far has come back and been delivered, the windows have drawn a frame with their sizes and paints done, and
// a whole round of that delivered no further event. A limit far beyond any normal run only guards against a hang.
void Settle();

// Lets the toolkit work until the condition holds; false when it never does within a limit far beyond any normal
// run (a guard against a hang, not a measure of speed).
bool SettleUntil(const std::function<bool()>& condition);
