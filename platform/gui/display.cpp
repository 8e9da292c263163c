#include "platform/gui/display.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/image.h>

bool CDisplay::BufferToImage(wxImage& image, int width, int height, const unsigned char* buffer, int pixelStep,
                             int rowStep, int bufferWidth, IMAGE_MODE mode, const CLut* palette)
{
    if (mode != IMAGE_MODE_RGB || palette || !buffer || width < 1 || height < 1 || width > bufferWidth ||
        (pixelStep != 3 && pixelStep != 4) || static_cast<int64_t>(rowStep) < static_cast<int64_t>(bufferWidth) * pixelStep)
        return false;
    wxImage converted(width, height, false);
    if (!converted.IsOk())
        return false;
    unsigned char* target = converted.GetData();
    for (int row = 0; row < height; ++row) {
        const unsigned char* source = buffer + static_cast<ptrdiff_t>(row) * rowStep;
        for (int column = 0; column < width; ++column, source += pixelStep, target += 3) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
        }
    }
    image = converted;
    return true;
}

bool CDisplay::BltBuf(wxDC& dc, int x, int y, int width, int height, const unsigned char* buffer, int pixelStep,
                      int rowStep, int bufferWidth, IMAGE_MODE mode, const CLut* palette)
{
    wxImage image;
    if (!BufferToImage(image, width, height, buffer, pixelStep, rowStep, bufferWidth, mode, palette))
        return false;
    dc.DrawBitmap(wxBitmap(image), x, y, false);
    return true;
}
