#pragma once

// Picture files dragged from the file manager onto a page, apart from the window that takes the drop.

#include <string>
#include <vector>

#include "platform/win/win_types.h"

class CSitePage;

// Whether the file holds a picture the program reads, by the bytes it starts with (PNG, JPEG, GIF or BMP).
bool IsDroppablePicture(const std::string& path);

// The files dropped at a page point. The selection is cleared first; each file that loads becomes a rectangle of
// the picture's size filled with it, centred on the point and added to the selection, an animated GIF showing as
// one; a file that does not load shows the invalid-picture dialog and the next follows. One step that takes the
// new objects back is recorded when at least one was made. Answers how many were.
int DropPictureFiles(CSitePage& page, const std::vector<std::string>& paths, const CPoint& at);
