#include <algorithm>
#include <cstring>

#include "image/color_convert.h"
#include "image/image.h"

namespace {

const unsigned char kNamedColors[11][3] = {
    {0, 0, 0},     {255, 255, 255}, {64, 64, 64},  {128, 128, 128}, {192, 192, 192}, {255, 0, 0},
    {0, 255, 0},   {0, 0, 255},     {0, 255, 255}, {255, 0, 255},   {255, 255, 0},
};

} // namespace

CColor::CColor() : CColor(COLOR_WHITE) {}

CColor::CColor(colorName name) : m_mode(IMAGE_MODE_RGB), m_color{}
{
    // Names outside the table give black.
    if (name >= COLOR_BLACK && name <= COLOR_YELLOW)
        std::memcpy(m_color, kNamedColors[name], 3);
}

CColor::CColor(const LutColor& entry) : CColor(entry.red, entry.green, entry.blue) {}

CColor::CColor(unsigned char red, unsigned char green, unsigned char blue)
    : m_mode(IMAGE_MODE_RGB), m_color{red, green, blue}
{
}

CColor::CColor(unsigned long colorref)
    : CColor(static_cast<unsigned char>(colorref & 0xFF), static_cast<unsigned char>((colorref >> 8) & 0xFF),
             static_cast<unsigned char>((colorref >> 16) & 0xFF))
{
}

CColor::CColor(const CPixMap& map, int x, int y) : m_mode(map.mode), m_color{}
{
    const int sampleBytes = map.bitsPerPlane / 8;
    if (map.interleaved) {
        const CPixMap::Plane& pl = map.plane[0];
        const size_t bytes = std::min<size_t>(sizeof(m_color), static_cast<size_t>(map.planes * sampleBytes));
        const unsigned char* src = pl.data + static_cast<ptrdiff_t>(y) * pl.rowStep +
                                   static_cast<ptrdiff_t>(x) * pl.pixelStep * sampleBytes;
        std::memcpy(m_color, src, bytes);
        return;
    }
    size_t offset = 0;
    for (int p = 0; p < map.planes && p < 4 && offset + sampleBytes <= sizeof(m_color); ++p) {
        const CPixMap::Plane& pl = map.plane[p];
        const unsigned char* src = pl.data + static_cast<ptrdiff_t>(y) * pl.rowStep +
                                   static_cast<ptrdiff_t>(x) * pl.pixelStep * sampleBytes;
        std::memcpy(m_color + offset, src, static_cast<size_t>(sampleBytes));
        offset += static_cast<size_t>(sampleBytes);
    }
}

unsigned long CColor::GetCOLORREF() const
{
    CColor rgb(*this);
    rgb.Convert(IMAGE_MODE_RGB);
    return static_cast<unsigned long>(rgb.m_color[0]) | (static_cast<unsigned long>(rgb.m_color[1]) << 8) |
           (static_cast<unsigned long>(rgb.m_color[2]) << 16);
}

void CColor::Convert(IMAGE_MODE target)
{
    if (target == m_mode)
        return;
    detail::GetConverter(m_mode).PixelToCommon(m_color);
    detail::GetConverter(target).PixelFromCommon(m_color);
    m_mode = target;
}

// Only the mode's own samples count: a conversion leaves scratch bytes behind them.
bool CColor::operator==(const CColor& other) const
{
    if (m_mode != other.m_mode)
        return false;
    size_t bytes = static_cast<size_t>(ModePlanes(m_mode) * ModeBitsPerPlane(m_mode) / 8);
    if (bytes == 0 || bytes > sizeof(m_color))
        bytes = sizeof(m_color);
    return std::memcmp(m_color, other.m_color, bytes) == 0;
}
