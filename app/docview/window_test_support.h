#pragma once

// Test support for the windows: letting the display catch up, and what the screen shows of a window.

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <string>

#include "testing/test_output.h"
#include "testing/gui_settle.h"

// The window's pixels as the screen shows them, written to the test output folder under name.
inline wxImage SaveWindowScreenshot(wxWindow* window, const std::string& name)
{
    window->Raise();
    window->Refresh();
    window->Update();
    for (int i = 0; i < 3; ++i)
        Settle();
    const wxRect area = window->GetScreenRect();
    wxBitmap picture(area.GetWidth(), area.GetHeight(), 24);
    {
        wxScreenDC screen;
        wxMemoryDC target(picture);
        target.Blit(0, 0, area.GetWidth(), area.GetHeight(), &screen, area.GetX(), area.GetY());
    }
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    wxImage image = picture.ConvertToImage();
    image.SaveFile(wxString::FromUTF8((TestOutputFolder() / name).string()), wxBITMAP_TYPE_PNG);
    return image;
}
