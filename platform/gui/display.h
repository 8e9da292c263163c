#pragma once

// The bridge from the controls' pixel buffers to the screen.

#include "image/image.h"

class wxDC;
class wxImage;

class CDisplay
{
public:
    // Draws width x height pixels of buffer at (x, y) on dc. The buffer holds mode-3 pixels in the display's byte
    // order (blue, green, red), pixelStep bytes apart (3, or 4 with an unused fourth byte), or mode-0x80000003
    // pixels (alpha, blue, green, red; pixelStep 4) that are blended by their alpha over what the window shows.
    // Rows are rowStep bytes apart, bufferWidth pixels to a row; the palette must be null. False, drawing nothing,
    // for any other mode, a palette, a null buffer, a size below 1, or rows too short for width or bufferWidth.
    static bool BltBuf(wxDC& dc, int x, int y, int width, int height, const unsigned char* buffer, int pixelStep,
                       int rowStep, int bufferWidth, IMAGE_MODE mode, const CLut* palette);

    // The same pixels as a wxImage (red, green, blue, and alpha for mode 0x80000003); false, leaving image alone, where
    // BltBuf would refuse.
    static bool BufferToImage(wxImage& image, int width, int height, const unsigned char* buffer, int pixelStep,
                              int rowStep, int bufferWidth, IMAGE_MODE mode, const CLut* palette);
};
