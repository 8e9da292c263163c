#include "platform/gui/window_picture.h"

#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/window.h>

#include <gtk/gtk.h>

bool SaveWindowPicture(wxWindow* window, const wxString& file)
{
    return SaveScreenPicture(window->GetScreenRect(), file);
}

bool SaveScreenPicture(const wxRect& area, const wxString& file)
{
    const wxImage picture = ScreenPicture(area);
    if (!picture.IsOk())
        return false;
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    return picture.SaveFile(file, wxBITMAP_TYPE_PNG);
}

// The pixels come from the X server at the time of the call: the toolkit's screen context keeps giving the pixels
// of its first read.
wxImage ScreenPicture(const wxRect& area)
{
    if (area.IsEmpty())
        return wxImage();
    GdkWindow* root = gdk_get_default_root_window();
    GdkPixbuf* pixbuf =
        root ? gdk_pixbuf_get_from_window(root, area.GetX(), area.GetY(), area.GetWidth(), area.GetHeight()) : nullptr;
    if (!pixbuf)
        return wxImage();
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
    wxImage picture(width, height, false);
    unsigned char* target = picture.GetData();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, target += 3) {
            const guchar* source = pixels + static_cast<ptrdiff_t>(y) * stride + static_cast<ptrdiff_t>(x) * channels;
            target[0] = source[0];
            target[1] = source[1];
            target[2] = source[2];
        }
    g_object_unref(pixbuf);
    return picture;
}
