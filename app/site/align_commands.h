#pragma once

// The Object menu's geometry commands on the selection of a page: lining the selected objects up on a common edge,
// and fitting one object's proportions to its picture fill. Each records one undo step of its own.

class CSitePage;

enum class AlignMode
{
    left,
    right,
    top,
    bottom,
};

// More than one item is selected.
bool CanAlign(const CSitePage& page);
// The edge the selection is lined up on: the outermost edge of the selected items on the chosen side, held inside
// the page (0 on the left and top, the width or height less 1 on the right and bottom). Without a selection: 10000
// for left and top, -10000 for right and bottom.
int AlignReference(const CSitePage& page, AlignMode mode);
// Moves every selected object (a user group as a whole) that lies inside the reference onto it; objects at or
// beyond it stay.
void Align(CSitePage& page, AlignMode mode);

// Exactly one object is selected; it can be resized and carry a picture fill, its fill is a picture file or a
// placed picture, and it is no text being edited.
bool CanScaleToPictureFill(const CSitePage& page);
// Gives the selected object the proportions of its fill's picture, keeping the side that is relatively larger and
// holding the other within the object's size limits. False when nothing changed (the fill's picture cannot be
// loaded, or the proportions already match).
bool ScaleToPictureFill(CSitePage& page);
