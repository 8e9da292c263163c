#pragma once

// Floating palettes as the window manager sees them.

class wxTopLevelWindow;

// Tells the window manager that the window, not shown yet, is a palette torn off the program's tools: a title bar
// with a close box, and no minimise or maximise button (a dialog's or utility window's type leaves those to the
// manager, and some show them whatever the window's style asks). Some managers give such a window no keyboard on a
// click, so it suits palettes of buttons only. Said after the window is first shown it would come too late for
// the manager, so it is then left as it is.
void MarkAsToolPalette(wxTopLevelWindow* window);
