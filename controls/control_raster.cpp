#include "controls/control_raster.h"

#include "platform/gui/display.h"
#include "platform/resources/bitmap_resources.h"

#include <algorithm>

namespace {

constexpr unsigned kTransparencyKeyBitmap = 6086;

bool IsRgbaMap(const CPixMap& map)
{
    return map.IsValid() && map.interleaved && map.mode == IMAGE_MODE_RGBA && map.bitsPerPlane == 8;
}

// The part of a w x h picture placed at (x, y) that falls inside the buffer, as source and target origins.
struct Overlap
{
    int fromX, fromY, toX, toY, width, height;
};

Overlap Clip(int x, int y, int w, int h, int bufferWidth, int bufferHeight)
{
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + w, bufferWidth), bottom = std::min(y + h, bufferHeight);
    return {left - x, top - y, left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}

} // namespace

void BlendRowOver(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* src, int srcPixelStep,
                  int srcRowStep, int pixelsPerRow, int rows)
{
    for (int row = 0; row < rows; ++row) {
        unsigned char* d = dst + static_cast<ptrdiff_t>(row) * dstRowStep;
        const unsigned char* s = src + static_cast<ptrdiff_t>(row) * srcRowStep;
        for (int i = 0; i < pixelsPerRow; ++i, d += dstPixelStep, s += srcPixelStep) {
            const int as = s[0];
            const int ad = d[0];
            const int a = as + ad - ad * as / 255;
            d[0] = static_cast<unsigned char>(a);
            if (a == 0)
                continue;
            for (int c = 1; c < 4; ++c)
                d[c] = static_cast<unsigned char>((d[c] * (a - as) + s[c] * as) / a);
        }
    }
}

void FillOpaque(CPixMap& map, ControlRgb colour)
{
    if (!IsRgbaMap(map))
        return;
    for (int y = 0; y < map.height; ++y) {
        unsigned char* p = map.Sample(0, y, 0);
        for (int x = 0; x < map.width; ++x, p += 4) {
            p[0] = 255;
            p[1] = colour.blue;
            p[2] = colour.green;
            p[3] = colour.red;
        }
    }
}

bool LoadKeyedGlyph(unsigned id, CPixMap* glyph)
{
    CPixMap key(IMAGE_MODE_RGB, 1, 1);
    if (!glyph || !LoadBitmapRGB(kTransparencyKeyBitmap, &key, true) || !LoadBitmapRGBA(id, glyph, true, false))
        return false;
    const unsigned char* k = key.Sample(0, 0, 0);
    for (int y = 0; y < glyph->height; ++y) {
        unsigned char* p = glyph->Sample(0, y, 0);
        for (int x = 0; x < glyph->width; ++x, p += 4)
            p[0] = (p[1] == k[0] && p[2] == k[1] && p[3] == k[2]) ? 0 : 255;
    }
    return true;
}

void DisplayBuffer::Resize(int width, int height)
{
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    m_stride = (3 * m_width + 3) & ~3;
    m_bytes.assign(static_cast<size_t>(m_stride) * m_height, 0);
}

ControlRgb DisplayBuffer::Get(int x, int y) const
{
    const unsigned char* p = Pixel(x, y);
    return {p[2], p[1], p[0]};
}

void DisplayBuffer::Fill(ControlRgb colour)
{
    FillRect(0, 0, m_width, m_height, colour);
}

void DisplayBuffer::FillRect(int x, int y, int width, int height, ControlRgb colour)
{
    const Overlap o = Clip(x, y, width, height, m_width, m_height);
    for (int row = 0; row < o.height; ++row) {
        unsigned char* p = Pixel(o.toX, o.toY + row);
        for (int i = 0; i < o.width; ++i, p += 3) {
            p[0] = colour.blue;
            p[1] = colour.green;
            p[2] = colour.red;
        }
    }
}

void DisplayBuffer::Paste(const DisplayBuffer& other, int x, int y)
{
    const Overlap o = Clip(x, y, other.m_width, other.m_height, m_width, m_height);
    for (int row = 0; row < o.height; ++row)
        std::copy_n(other.Pixel(o.fromX, o.fromY + row), 3 * o.width, Pixel(o.toX, o.toY + row));
}

void DisplayBuffer::CopyColour(const CPixMap& map, int x, int y)
{
    if (!IsRgbaMap(map))
        return;
    const Overlap o = Clip(x, y, map.width, map.height, m_width, m_height);
    for (int row = 0; row < o.height; ++row) {
        const unsigned char* s = map.Sample(o.fromX, o.fromY + row, 0);
        unsigned char* d = Pixel(o.toX, o.toY + row);
        for (int i = 0; i < o.width; ++i, s += 4, d += 3) {
            d[0] = s[1];
            d[1] = s[2];
            d[2] = s[3];
        }
    }
}

bool DisplayBuffer::Draw(wxDC& dc, int x, int y) const
{
    if (m_bytes.empty())
        return false;
    return CDisplay::BltBuf(dc, x, y, m_width, m_height, m_bytes.data(), 3, m_stride, m_width, IMAGE_MODE_RGB, nullptr);
}

void ClearMap(CPixMap& map)
{
    if (IsRgbaMap(map))
        std::fill_n(map.plane[0].data, map.bufferSize[0], 0);
}

void FillMapRect(CPixMap& map, int x, int y, int width, int height, ControlRgb colour)
{
    if (!IsRgbaMap(map))
        return;
    const Overlap o = Clip(x, y, width, height, map.width, map.height);
    for (int row = 0; row < o.height; ++row) {
        unsigned char* p = map.Sample(o.toX, o.toY + row, 0);
        for (int i = 0; i < o.width; ++i, p += 4) {
            p[0] = 255;
            p[1] = colour.blue;
            p[2] = colour.green;
            p[3] = colour.red;
        }
    }
}

void PasteOpaque(CPixMap& map, const DisplayBuffer& buffer, int x, int y)
{
    if (!IsRgbaMap(map))
        return;
    const Overlap o = Clip(x, y, buffer.Width(), buffer.Height(), map.width, map.height);
    for (int row = 0; row < o.height; ++row) {
        const unsigned char* s = buffer.Pixel(o.fromX, o.fromY + row);
        unsigned char* d = map.Sample(o.toX, o.toY + row, 0);
        for (int i = 0; i < o.width; ++i, s += 3, d += 4) {
            d[0] = 255;
            d[1] = s[0];
            d[2] = s[1];
            d[3] = s[2];
        }
    }
}

void BlendMapOver(CPixMap& map, const CPixMap& over, int x, int y)
{
    if (!IsRgbaMap(map) || !IsRgbaMap(over))
        return;
    const Overlap o = Clip(x, y, over.width, over.height, map.width, map.height);
    if (o.width > 0 && o.height > 0)
        BlendRowOver(map.Sample(o.toX, o.toY, 0), 4, map.plane[0].rowStep, over.Sample(o.fromX, o.fromY, 0), 4,
                     over.plane[0].rowStep, o.width, o.height);
}

bool DrawMap(wxDC& dc, const CPixMap& map, int x, int y)
{
    if (!IsRgbaMap(map) || map.width < 1 || map.height < 1)
        return false;
    return CDisplay::BltBuf(dc, x, y, map.width, map.height, map.plane[0].data, 4, map.plane[0].rowStep, map.width,
                            IMAGE_MODE_RGBA, nullptr);
}
