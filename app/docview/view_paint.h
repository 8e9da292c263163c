#pragma once

// The design view's drawing of the page, apart from any window: the part of the client area that needs paint is
// composed tile by tile through the page's own drawing, the grey surround with the grey silhouettes of whatever
// reaches beyond the page, and the page with its background and objects, into a buffer of the display's byte
// order (blue, green, red). The view hands that buffer to the screen and draws its frames and guides over it.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/win/win_types.h"

class CSitePage;

// A buffer of 3 bytes a pixel, blue, green, red, rows padded to whole 4-byte words; it keeps its memory when it
// shrinks.
struct ViewPixels
{
    int width = 0;
    int height = 0;
    int rowStep = 0;
    std::vector<BYTE> bytes;

    void Resize(int w, int h);
    BYTE* Row(int y) { return bytes.data() + static_cast<size_t>(y) * rowStep; }
    const BYTE* Row(int y) const { return bytes.data() + static_cast<size_t>(y) * rowStep; }
};

// Where the page lies in the client area.
struct ViewPlacement
{
    CPoint origin; // GetPageOrigin
    CPoint scroll; // the scroll position
};

// Draws the object edited in place into a tile of the page (CSitePage::TilePainter: the tile's page rectangle, its
// pixels of 4 bytes, alpha first).
using EditedTilePainter = std::function<void(const CRect& tile, BYTE* pixels, int stride)>;

// Paints the client rectangle clip (client coordinates) into pixels, which take its size and hold its top-left
// pixel first. Objects waiting to be rendered are rendered first. edited draws the object edited in place, in its
// place among the others; without it that object is left out.
void PaintPageArea(CSitePage& page, const CRect& clip, const ViewPlacement& placement, ViewPixels& pixels,
                   const EditedTilePainter* edited = nullptr);
