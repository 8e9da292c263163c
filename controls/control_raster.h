#pragma once

// Raster helpers the controls paint with. None of them needs a window: the controls build their pictures in pixel
// maps with these and hand the result to the display as a DisplayBuffer.
//
// The controls' RGBA maps are interleaved with alpha first and the colour in the display's order: alpha, blue,
// green, red (the order the bitmap loaders write).

#include "image/image.h"

#include <cstdint>
#include <vector>

class wxDC;

// A colour as the controls keep it for painting.
struct ControlRgb
{
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const ControlRgb&) const = default;
};

// Blends source pixels over destination pixels (both alpha, then three colour bytes; steps in bytes): with source
// alpha As and destination alpha Ad the result's alpha is A = As + Ad - Ad * As / 255, and where A is not 0 each
// colour byte becomes (D * (A - As) + S * As) / A.
void BlendRowOver(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* src, int srcPixelStep,
                  int srcRowStep, int pixelsPerRow, int rows);

// Every pixel of an RGBA map opaque and of one colour.
void FillOpaque(CPixMap& map, ControlRgb colour);

// Loads glyph bitmap id into *glyph (allocated to its size) and makes it a cut-out: pixels whose colour equals the
// transparency key (bitmap 6086) get alpha 0, all others 255. False when either bitmap cannot be loaded.
bool LoadKeyedGlyph(unsigned id, CPixMap* glyph);

// Helpers for RGBA maps, each cut to the map: every byte 0 (clear); a rectangle of one opaque colour; a buffer's
// pixels made opaque; another RGBA map blended over with BlendRowOver.
void ClearMap(CPixMap& map);
void FillMapRect(CPixMap& map, int x, int y, int width, int height, ControlRgb colour);
void PasteOpaque(CPixMap& map, const class DisplayBuffer& buffer, int x, int y);
void BlendMapOver(CPixMap& map, const CPixMap& over, int x, int y);

// Draws an RGBA map at (x, y), blended by its alpha over what the window shows there, so that a control's clear
// pixels show its parent's own background. False when the map is not an RGBA map.
bool DrawMap(wxDC& dc, const CPixMap& map, int x, int y);

// A picture on its way to the window: three bytes per pixel in the display's order (blue, green, red), rows padded
// to four bytes, drawn with CDisplay::BltBuf.
class DisplayBuffer
{
public:
    DisplayBuffer() = default;
    DisplayBuffer(int width, int height) { Resize(width, height); }
    void Resize(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Stride() const { return m_stride; }
    unsigned char* Pixel(int x, int y) { return m_bytes.data() + static_cast<size_t>(y) * m_stride + 3 * x; }
    const unsigned char* Pixel(int x, int y) const
    {
        return m_bytes.data() + static_cast<size_t>(y) * m_stride + 3 * x;
    }
    ControlRgb Get(int x, int y) const;

    void Fill(ControlRgb colour);
    // A rectangle of one colour, cut to the buffer.
    void FillRect(int x, int y, int width, int height, ControlRgb colour);
    // Another buffer's pixels at (x, y), cut to this buffer.
    void Paste(const DisplayBuffer& other, int x, int y);
    // The colour bytes of an RGBA map (alpha ignored) at (x, y), cut to the buffer.
    void CopyColour(const CPixMap& map, int x, int y);

    // Draws the whole buffer at (x, y); false when it is empty.
    bool Draw(wxDC& dc, int x, int y) const;

private:
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    std::vector<unsigned char> m_bytes;
};
