#pragma once

// What the keys do to the page in the design view, apart from the window. Outside text editing the arrow keys
// nudge the selection by a pixel a key, a series of keys up to the next key release making one undo step; while a
// text is edited in place the navigation keys move its caret or grow its selection, and typed characters go into
// it. The window turns its key events into these calls and repaints what they answer.

#include <string>

#include "platform/win/win_types.h"

class CSitePage;
class CTextObject;

// The keys that move the caret of an edited text, and Delete.
enum class TextEditKey
{
    home,
    end,
    pageUp,
    pageDown,
    left,
    up,
    right,
    down,
    del,
};

// One arrow key of a nudge series, moving the selection by (dx, dy). The first key of a series (moving clear) with
// a selection starts the user groups' transforms, records one undo step and sets moving; with nothing selected it
// does nothing. Answers the page area to repaint: the moved items' or groups' areas before and after.
CRect NudgeSelection(CSitePage& page, bool& moving, int dx, int dy);
// Any key release: a running series ends with the user groups' transforms.
void EndNudge(CSitePage& page, bool& moving);

// A navigation key or Delete on the edited text, with Shift or without. Answers the area to repaint in the text's
// coordinates: what the edit changed and the selection's highlight before and after.
RECT ApplyTextEditKey(CTextObject& text, TextEditKey key, bool shift);
// A character code typed into the edited text (8 Backspace, 9 Tab, 10 Ctrl+Enter, 13 Enter, 27 Escape, others are
// inserted). Answers the area to repaint in the text's coordinates.
RECT ApplyTypedChar(CTextObject& text, int code);
// Bold on or off for the selection of the edited text (or the word at the caret), the opposite of what its first
// character has; the current font follows. Answers the area to repaint in the text's coordinates.
RECT ToggleSelectionBold(CTextObject& text);

// The Windows-1252 byte of a typed Unicode character; -1 for one the code page lacks.
int TypedCharToWindows1252(char32_t ch);
