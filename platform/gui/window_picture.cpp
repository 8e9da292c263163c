#include "platform/gui/window_picture.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/window.h>

bool SaveWindowPicture(wxWindow* window, const wxString& file)
{
    return SaveScreenPicture(window->GetScreenRect(), file);
}

bool SaveScreenPicture(const wxRect& area, const wxString& file)
{
    if (area.IsEmpty())
        return false;
    wxBitmap picture(area.GetWidth(), area.GetHeight(), 24);
    {
        wxScreenDC screen;
        wxMemoryDC target(picture);
        if (!target.Blit(0, 0, area.GetWidth(), area.GetHeight(), &screen, area.GetX(), area.GetY()))
            return false;
    }
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    return picture.ConvertToImage().SaveFile(file, wxBITMAP_TYPE_PNG);
}
