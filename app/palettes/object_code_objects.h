#pragma once

// What the Object palette does for its code objects, without a window: the counter's style, the form's receiver,
// the HTML object's texts through the Insert HTML dialog (a just placed object grows to the size its code names),
// and adding and removing a Flash program.

#include <string>

#include "platform/win/win_types.h"

// The largest width and height the code names after "width" or "height" and "=" or ":", each at least the base
// rectangle's; the rectangle starts at (0, 0).
CRect MeasureHtmlSize(const CRect& base, const std::string& text);

// The counter list's entry i is style i. True when the style changed (one undo step).
bool ApplyCounterStyle(int entry);
// True when the address changed (one undo step).
bool ApplyFormEmail(const std::string& address);

// Edit HTML: runs the Insert HTML dialog over the current HTML object and stores its texts as one undo step. A
// just placed object grows to the width and height its code names, never shrinks. True when the texts were stored.
bool EditHtmlObject(bool justPlaced);
// Add Flash: the current site's file-placement wizard takes a Flash program's files into the site and fills the
// current HTML object with its code.
void AddFlashObject();
// Remove Flash: an HTML object that carries placed Flash files is deleted as an ordinary undoable delete, after
// asking whether its files go too. True when the object was removed.
bool RemoveFlashObject();
