#pragma once

// Test support for the windows: letting the display catch up, and what the screen shows of a window.

#include <wx/image.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <string>

#include "platform/gui/window_picture.h"
#include "testing/gui_settle.h"
#include "testing/test_output.h"

// The window's pixels as the screen shows them, written to the test output folder under name.
inline wxImage SaveWindowScreenshot(wxWindow* window, const std::string& name)
{
    window->Raise();
    window->Refresh();
    window->Update();
    for (int i = 0; i < 3; ++i)
        Settle();
    const wxString file = wxString::FromUTF8((TestOutputFolder() / name).string());
    if (!SaveWindowPicture(window, file))
        return wxImage();
    return wxImage(file, wxBITMAP_TYPE_PNG);
}
