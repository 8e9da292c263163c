#include "app/model/fill_style.h"

#include <algorithm>
#include <cstdint>

#include "app/model/restore_on_exit.h"
#include "image/image_ops.h"
#include "image/tiles.h"

namespace {

// The part of a page buffer that one paint step writes: a rectangle of it, its origin and row stride.
struct BufferArea
{
    BYTE* origin;
    int stride;
    int width;
    int height;
};

BYTE* PixelAt(const BufferArea& area, int x, int y)
{
    return area.origin + static_cast<ptrdiff_t>(y) * area.stride + static_cast<ptrdiff_t>(x) * 4;
}

void FillOpaque(const BufferArea& area, BYTE red, BYTE green, BYTE blue)
{
    const unsigned char pixel[4] = {255, red, green, blue};
    FillPixelSamples(area.origin, 4, area.stride, pixel, 4, area.width, area.height);
}

// Copies the colour bytes of the map's pixels to (x, y) of the area; the area's alpha stays opaque.
void CopyColours(const CPixMap& map, const BufferArea& area, int x, int y)
{
    for (int j = 0; j < map.height; ++j) {
        const unsigned char* s = map.Sample(0, j, 0);
        BYTE* d = PixelAt(area, x, y + j);
        for (int i = 0; i < map.width; ++i, s += 4, d += 4) {
            d[1] = s[1];
            d[2] = s[2];
            d[3] = s[3];
        }
    }
}

// Copies the image's w x h pixels at (sx, sy) to (x, y) of the area through the work map, in pieces no larger
// than the map.
void CopyImageBlock(const CImage& image, int sx, int sy, int w, int h, CPixMap& map, const BufferArea& area, int x,
                    int y)
{
    ForEachTile(map, w, h, [&](int i, int j) {
        image.GetBuf(sx + i, sy + j, map, MASK_EDGE_REPEAT);
        CopyColours(map, area, x + i, y + j);
        return true;
    });
}

int PositiveModulo(int value, int divisor)
{
    const int r = value % divisor;
    return r < 0 ? r + divisor : r;
}

bool IsRgbaWorkMap(const CPixMap& map)
{
    return map.IsValid() && map.mode == IMAGE_MODE_RGBA && map.interleaved && map.planes == 4 &&
           map.bitsPerPlane == 8 && map.plane[0].pixelStep == 4 && map.width > 0 && map.height > 0;
}

} // namespace

bool CFillStyle::LoadFillImage()
{
    // A picture or gradient without its image is never current, whatever the flag says.
    const bool hasImageKind = m_kind == FILL_IMAGE || m_kind == FILL_GRADIENT;
    if (!m_renderAgain && (!hasImageKind || m_pImage))
        return true;
    switch (m_kind) {
    case FILL_GRADIENT:
        return RenderGradientStrip();
    case FILL_IMAGE:
        return LoadPicture();
    default:
        m_renderAgain = false;
        return true;
    }
}

bool CFillStyle::RenderGradientStrip()
{
    const int width = m_horizontal ? m_nWidth : 1;
    const int height = m_horizontal ? 1 : m_nHeight;
    if (width < 1 || height < 1 || width > kMaxPageWidth || height > kMaxPageHeight) {
        m_pImage.reset();
        m_renderAgain = true;
        return false;
    }
    if (!m_pImage || m_pImage->Width() != width || m_pImage->Height() != height ||
        m_pImage->GetMode() != IMAGE_MODE_RGB) {
        m_pImage.reset();
        auto strip = std::make_unique<CImage>(IMAGE_MODE_RGB, width, height, 96.0);
        if (strip->IsEmpty()) {
            m_renderAgain = true;
            return false;
        }
        m_pImage = std::move(strip);
    }
    if (!m_gradient.Render(m_pImage.get())) {
        m_pImage.reset();
        m_renderAgain = true;
        return false;
    }
    m_renderAgain = false;
    return true;
}

void CFillStyle::Render(const RECT& rect, BYTE* buffer, int stride, CPixMap& scratch, int pageWidth,
                        int pageHeight) const
{
    const int64_t width64 = static_cast<int64_t>(rect.right) - rect.left;
    const int64_t height64 = static_cast<int64_t>(rect.bottom) - rect.top;
    if (!buffer || width64 <= 0 || height64 <= 0 || width64 > stride / 4)
        return;
    const BufferArea area{buffer, stride, static_cast<int>(width64), static_cast<int>(height64)};
    const CImage* image = m_pImage.get();

    if (m_kind == FILL_COLOR || m_renderAgain || !image || image->IsEmpty() || image->Width() < 1 ||
        image->Height() < 1 || (m_kind != FILL_IMAGE && m_kind != FILL_GRADIENT)) {
        const COLORREF c = m_color.GetCOLORREF();
        FillOpaque(area, GetRValue(c), GetGValue(c), GetBValue(c));
        return;
    }

    // Pixels move through a work map of RGB with alpha; a caller's map of another form is not written to.
    std::unique_ptr<CPixMap> own;
    CPixMap* map = &scratch;
    if (!IsRgbaWorkMap(scratch)) {
        own = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
        if (!own->IsValid())
            return;
        map = own.get();
    }
    RestoreOnExit<int> keepWidth(map->width, map->width);
    RestoreOnExit<int> keepHeight(map->height, map->height);
    const int mapWidth = map->width;
    const int mapHeight = map->height;
    const int w = image->Width();
    const int h = image->Height();

    // Alpha first, as every kind leaves the whole rectangle opaque.
    if (m_kind == FILL_IMAGE && !m_tile)
        FillOpaque(area, 255, 255, 255);
    else
        FillOpaque(area, 0, 0, 0);

    if (m_kind == FILL_IMAGE && m_tile) {
        // The picture repeats from the page origin: start inside it where the rectangle falls, and wrap.
        int sy = PositiveModulo(rect.top, h);
        for (int y = 0; y < area.height;) {
            const int rows = std::min(h - sy, area.height - y);
            int sx = PositiveModulo(rect.left, w);
            for (int x = 0; x < area.width;) {
                const int cols = std::min(w - sx, area.width - x);
                CopyImageBlock(*image, sx, sy, cols, rows, *map, area, x, y);
                x += cols;
                sx = 0;
            }
            y += rows;
            sy = 0;
        }
        return;
    }

    if (m_kind == FILL_IMAGE) {
        const int position = m_nPosition >= 0 && m_nPosition <= 8 ? m_nPosition : 0;
        const int64_t dx = (static_cast<int64_t>(pageWidth) - w) / 2;
        const int64_t dy = (static_cast<int64_t>(pageHeight) - h) / 2;
        const int64_t left = (position % 3) * dx;
        const int64_t top = (position / 3) * dy;
        const int64_t x0 = std::max<int64_t>(left, rect.left);
        const int64_t y0 = std::max<int64_t>(top, rect.top);
        const int64_t x1 = std::min<int64_t>(left + w, rect.right);
        const int64_t y1 = std::min<int64_t>(top + h, rect.bottom);
        if (x1 <= x0 || y1 <= y0)
            return;
        CopyImageBlock(*image, static_cast<int>(x0 - left), static_cast<int>(y0 - top), static_cast<int>(x1 - x0),
                       static_cast<int>(y1 - y0), *map, area, static_cast<int>(x0 - rect.left),
                       static_cast<int>(y0 - rect.top));
        return;
    }

    // The gradient strip: its pixels under the rectangle's columns repeated down every row, or its pixels for
    // the rectangle's rows repeated across each row. Beyond the strip its end pixels continue.
    if (m_horizontal) {
        for (int x = 0; x < area.width; x += mapWidth) {
            map->width = std::min(mapWidth, area.width - x);
            map->height = 1;
            image->GetBuf(rect.left + x, 0, *map, MASK_EDGE_REPEAT);
            for (int y = 0; y < area.height; ++y)
                CopyColours(*map, area, x, y);
        }
    } else {
        for (int y = 0; y < area.height; y += mapHeight) {
            map->width = 1;
            map->height = std::min(mapHeight, area.height - y);
            image->GetBuf(0, rect.top + y, *map, MASK_EDGE_REPEAT);
            for (int j = 0; j < map->height; ++j) {
                const unsigned char* s = map->Sample(0, j, 0);
                const BufferArea row{PixelAt(area, 0, y + j), stride, area.width, 1};
                FillOpaque(row, s[1], s[2], s[3]);
            }
        }
    }
}
