#pragma once

// The tabs of the page windows, as the desktop's document tabs are: the page's name with a close button beside it,
// and a middle click on the tab closing it. Either asks the window to close, so that it may still refuse (the
// site's last window asks about unsaved changes first).

#include <wx/gdicmn.h>
#include <wx/string.h>

class wxMDIChildFrame;

// Gives the window's tab its name and its close button; again after every change of the name.
void SetPageTabLabel(wxMDIChildFrame* window, const wxString& title);

// Where the tab and its close button stand on the screen; empty rectangles before they are laid out.
wxRect GetPageTabScreenRect(wxMDIChildFrame* window);
wxRect GetPageTabCloseButtonScreenRect(wxMDIChildFrame* window);
