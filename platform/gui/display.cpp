#include "platform/gui/display.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/image.h>

bool CDisplay::BufferToImage(wxImage& image, int width, int height, const unsigned char* buffer, int pixelStep,
                             int rowStep, int bufferWidth, IMAGE_MODE mode, const CLut* palette)
{
    const bool alpha = mode == IMAGE_MODE_RGBA;
    const bool stepFits = alpha ? pixelStep == 4 : mode == IMAGE_MODE_RGB && (pixelStep == 3 || pixelStep == 4);
    if (!stepFits || palette || !buffer || width < 1 || height < 1 || width > bufferWidth ||
        static_cast<int64_t>(rowStep) < static_cast<int64_t>(bufferWidth) * pixelStep)
        return false;
    wxImage converted(width, height, false);
    if (!converted.IsOk())
        return false;
    if (alpha)
        converted.InitAlpha();
    unsigned char* target = converted.GetData();
    unsigned char* targetAlpha = alpha ? converted.GetAlpha() : nullptr;
    // Alpha-first pixels carry their colour one byte further on.
    const int first = alpha ? 1 : 0;
    for (int row = 0; row < height; ++row) {
        const unsigned char* source = buffer + static_cast<ptrdiff_t>(row) * rowStep;
        for (int column = 0; column < width; ++column, source += pixelStep, target += 3) {
            target[0] = source[first + 2];
            target[1] = source[first + 1];
            target[2] = source[first];
            if (targetAlpha)
                *targetAlpha++ = source[0];
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
    dc.DrawBitmap(wxBitmap(image), x, y, image.HasAlpha());
    return true;
}
