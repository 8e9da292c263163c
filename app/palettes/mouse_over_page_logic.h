#pragma once

// What the Mouseover palette shows for the selected item and what its controls do, without a window: give the item
// a mouse-over twin or take it away, choose which of the two the designer shows and edits, share one text, and move
// the twin by an offset from the main object.

#include <string>

struct MouseOverPageState
{
    bool create = false; // the create button
    bool remove = false; // the remove button and the two radios
    bool sameTextOn = false;
    bool offsets = false; // the offset boxes: only while the twin is shown
    bool sameText = false;
    std::string offsetX; // empty without a twin
    std::string offsetY;
    int shown = -1; // 0 the original, 1 the twin, -1 neither radio
};

MouseOverPageState ReadMouseOverPage();

void MouseOverCreate();
void MouseOverRemove();
// A click on a radio: recorded even when that object is already shown.
void MouseOverShow(bool twin);
void MouseOverSameText(bool same);
// A box left with its text: read as a whole number (0 when it is none) and kept within -100..100.
void MouseOverOffset(bool horizontal, const std::string& text);
