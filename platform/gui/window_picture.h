#pragma once

// Pictures of windows as they stand on the screen, for people to look at (tests and tools write them).

#include <wx/image.h>
#include <wx/string.h>

class wxRect;
class wxWindow;

// The window's picture as it stands on the screen, written as a PNG file. False when it cannot be taken or saved.
bool SaveWindowPicture(wxWindow* window, const wxString& file);
// The same for a rectangle of the screen in screen coordinates, whatever windows stand there.
bool SaveScreenPicture(const wxRect& area, const wxString& file);
// The pixels of a rectangle of the screen as they stand now; an invalid image when they cannot be read.
wxImage ScreenPicture(const wxRect& area);
