#pragma once

// Floating palettes and modal dialogs as the window manager sees them.

class wxTopLevelWindow;

// Tells the window manager that the window, not shown yet, is a palette torn off the program's tools: a title bar
// with a close box, and no minimise or maximise button (a dialog's or utility window's type leaves those to the
// manager, and some show them whatever the window's style asks). Some managers give such a window no keyboard on a
// click, so it suits palettes of buttons only. Said after the window is first shown it would come too late for
// the manager, so it is then left as it is.
void MarkAsToolPalette(wxTopLevelWindow* window);

// From now on every dialog of a fixed size that runs modally carries a close box as its only title bar button. A
// modal dialog minimised on its own leaves its owner waiting behind it with no way back, and a dialog of a fixed
// size has nothing to maximise. The toolkit tells the window manager so in the window's function hints, which most
// managers follow; Openbox leaves them aside and goes by the window's type alone, so under Openbox such a dialog
// takes the type of a tool window, which it still focuses and keeps above its owner. Resizable dialogs (the file
// choosers among them) keep what the manager gives them. Safe to call more than once.
void KeepModalDialogsToTheCloseBox();
