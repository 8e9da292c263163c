#pragma once

// Pictures of windows as they stand on the screen, for people to look at (tests and tools write them).

#include <wx/string.h>

class wxWindow;

// The window's picture as it stands on the screen, written as a PNG file. False when it cannot be taken or saved.
bool SaveWindowPicture(wxWindow* window, const wxString& file);
