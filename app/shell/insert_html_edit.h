#pragma once

class wxUpdateUIEvent;

// While the Insert HTML dialog is open, the main window's Cut, Copy and Paste act on the dialog's code, and their
// items follow what the code allows; false for any other command, or while the dialog is not open.
bool RunInsertHtmlEditCommand(int id);
bool UpdateInsertHtmlEditCommand(wxUpdateUIEvent& event);
