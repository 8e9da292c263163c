// Moving rectangles of pixels between an image and a caller's pixel map.

#include <algorithm>
#include <cstring>

#include "image/image.h"
#include "image/kernels.h"

using namespace detail;

namespace {

// Where one plane's samples start and how to step through them.
struct PlaneView
{
    unsigned char* data;
    int pixelStep; // samples
    int rowStep;   // bytes
    int bits;
};

int64_t CeilDiv(int64_t a, int64_t b)
{
    return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Copies rows x count samples of one plane, choosing the kernel by the sample sizes on both sides.
void CopyPlane(const PlaneView& dst, const PlaneView& src, int count, int rows)
{
    if (count <= 0 || rows <= 0)
        return;
    if (src.bits == 8 && dst.bits == 8)
        Copy8To8(dst.data, dst.pixelStep, dst.rowStep, src.data, src.pixelStep, src.rowStep, count, rows);
    else if (src.bits == 8 && dst.bits == 16)
        Copy8To16(dst.data, dst.pixelStep, dst.rowStep, src.data, src.pixelStep, src.rowStep, count, rows);
    else if (src.bits == 16 && dst.bits == 8)
        Copy16To8(dst.data, dst.pixelStep, dst.rowStep, src.data, src.pixelStep, src.rowStep, count, rows);
    else if (src.bits == 16 && dst.bits == 16)
        Copy16To16(dst.data, dst.pixelStep, dst.rowStep, src.data, src.pixelStep, src.rowStep, count, rows);
    else if (src.bits == 32 && dst.bits == 32)
        Copy32To32(dst.data, dst.pixelStep, dst.rowStep, src.data, src.pixelStep, src.rowStep, count, rows);
    else if (src.bits == 64 && dst.bits == 64)
        Copy64To64(dst.data, dst.pixelStep, dst.rowStep, src.data, src.pixelStep, src.rowStep, count, rows);
}

// Writes one value into rows x count samples of one plane. The value is given as the sample's bytes.
void FillPlane(const PlaneView& dst, const unsigned char* value, int count, int rows)
{
    if (count <= 0 || rows <= 0)
        return;
    switch (dst.bits) {
    case 8:
        Fill8(dst.data, dst.pixelStep, dst.rowStep, value[0], count, rows);
        break;
    case 16: {
        uint16_t v;
        std::memcpy(&v, value, sizeof v);
        Fill16(dst.data, dst.pixelStep, dst.rowStep, v, count, rows);
        break;
    }
    case 32: {
        uint32_t v;
        std::memcpy(&v, value, sizeof v);
        Fill32(dst.data, dst.pixelStep, dst.rowStep, v, count, rows);
        break;
    }
    case 64: {
        uint64_t v;
        std::memcpy(&v, value, sizeof v);
        Fill64(dst.data, dst.pixelStep, dst.rowStep, v, count, rows);
        break;
    }
    default:
        break;
    }
}

// Plane p of the map, starting at pixel (x, y).
PlaneView MapPlane(const CPixMap& map, int p, int x, int y)
{
    const CPixMap::Plane& pl = map.interleaved ? map.plane[0] : map.plane[p];
    int64_t sample = static_cast<int64_t>(x) * pl.pixelStep + (map.interleaved ? p : 0);
    unsigned char* data = pl.data + static_cast<ptrdiff_t>(y) * pl.rowStep + sample * map.bitsPerPlane / 8;
    return {data, pl.pixelStep, pl.rowStep, map.bitsPerPlane};
}

// The same, walking every step-th pixel and row.
PlaneView MapPlaneStepped(const CPixMap& map, int p, int x, int y, int step)
{
    PlaneView v = MapPlane(map, p, x, y);
    v.pixelStep *= step;
    v.rowStep *= step;
    return v;
}

struct ImageLayout
{
    unsigned char* data;
    int stride;
    int planes;
    int bits;
};

// Plane p of the image, starting at pixel (x, y), walking every step-th pixel and row.
PlaneView ImagePlane(const ImageLayout& img, int p, int x, int y, int step)
{
    int64_t sample = static_cast<int64_t>(x) * img.planes + p;
    unsigned char* data = img.data + static_cast<ptrdiff_t>(y) * img.stride + sample * img.bits / 8;
    return {data, img.planes * step, img.stride * step, img.bits};
}

// Copies whole interleaved pixels. With step 1 every row is one contiguous run on both sides.
void CopyPixels(const PlaneView& dst, const PlaneView& src, int planes, int count, int rows, int step)
{
    if (step == 1) {
        const size_t bytes = static_cast<size_t>(count) * planes * src.bits / 8;
        for (int r = 0; r < rows; ++r)
            std::memcpy(dst.data + static_cast<ptrdiff_t>(r) * dst.rowStep,
                        src.data + static_cast<ptrdiff_t>(r) * src.rowStep, bytes);
        return;
    }
    for (int p = 0; p < planes; ++p) {
        PlaneView d = dst, s = src;
        d.data += static_cast<ptrdiff_t>(p) * dst.bits / 8;
        s.data += static_cast<ptrdiff_t>(p) * src.bits / 8;
        CopyPlane(d, s, count, rows);
    }
}

// The program's most common mixed move: RGB image pixels into an interleaved RGB-with-alpha map, made opaque.
// Fused into one pass; the plane-by-plane form does the same in four strided passes.
bool IsRgbAndRgba(IMAGE_MODE rgb, IMAGE_MODE rgba, const CPixMap& map)
{
    return rgb == IMAGE_MODE_RGB && rgba == IMAGE_MODE_RGBA && map.interleaved && map.planes == 4;
}

void RgbToRgba(const PlaneView& dst, const PlaneView& src, int count, int rows)
{
    if (dst.pixelStep == 4 && src.pixelStep == 3) {
        CopyRgbToOpaqueRgba(dst.data, dst.rowStep, src.data, src.rowStep, count, rows);
        return;
    }
    for (int r = 0; r < rows; ++r) {
        unsigned char* d = dst.data + static_cast<ptrdiff_t>(r) * dst.rowStep;
        const unsigned char* s = src.data + static_cast<ptrdiff_t>(r) * src.rowStep;
        for (int i = 0; i < count; ++i, d += dst.pixelStep, s += src.pixelStep) {
            d[0] = 255;
            d[1] = s[0];
            d[2] = s[1];
            d[3] = s[2];
        }
    }
}

void RgbaToRgb(const PlaneView& dst, const PlaneView& src, int count, int rows)
{
    for (int r = 0; r < rows; ++r) {
        unsigned char* d = dst.data + static_cast<ptrdiff_t>(r) * dst.rowStep;
        const unsigned char* s = src.data + static_cast<ptrdiff_t>(r) * src.rowStep;
        for (int i = 0; i < count; ++i, d += dst.pixelStep, s += src.pixelStep) {
            d[0] = s[1];
            d[1] = s[2];
            d[2] = s[3];
        }
    }
}

// The span of map columns (or rows) that sample the image, for GetBuf: map index i shows image index
// step * (origin + i), and that must lie in [0, extent).
struct Span
{
    int first; // first map index inside
    int count; // map indexes inside
};

Span SampledSpan(int64_t origin, int mapExtent, int imageExtent, int step)
{
    int64_t first = std::max<int64_t>(0, -origin);
    int64_t last = std::min<int64_t>(mapExtent, CeilDiv(imageExtent, step) - origin);
    if (last <= first)
        return {0, 0};
    return {static_cast<int>(first), static_cast<int>(last - first)};
}

// Whether the map holds whole pixels side by side (interleaved, nothing between them) of 8- or 16-bit samples,
// so that the edges can be repeated a pixel rather than a sample at a time.
bool HasPackedPixels(const CPixMap& map)
{
    return map.interleaved && map.planes > 0 && map.planes <= 4 && map.plane[0].pixelStep == map.planes &&
           (map.bitsPerPlane == 8 || map.bitsPerPlane == 16);
}

// Fills count pixels of pixelBytes bytes with the pixel at `pixel`, which lies outside the row.
void FillPixels(unsigned char* row, const unsigned char* pixel, int pixelBytes, int count)
{
    if (pixelBytes == 1 || pixelBytes == 2 || pixelBytes == 4 || pixelBytes == 8) {
        FillPlane({row, 1, 0, pixelBytes * 8}, pixel, count, 1);
        return;
    }
    // A few pixels one by one, then what is filled doubled until the row is full.
    const size_t total = static_cast<size_t>(pixelBytes) * count;
    size_t filled = 0;
    for (; filled < total && filled < 64; filled += pixelBytes)
        std::memcpy(row + filled, pixel, pixelBytes);
    while (filled < total) {
        const size_t n = std::min(filled, total - filled);
        std::memcpy(row + filled, row, n);
        filled += n;
    }
}

// GetBuf's eight cells around the copied rectangle under MASK_EDGE_REPEAT, for a map of packed pixels: each cell
// repeats the rectangle's nearest column, row or corner, with the alpha sample 0. The per-sample form in GetBuf
// does the same plane by plane; here a cell's row is built whole, and above and below the rectangle, where
// every row of a cell is the same, the first row is copied down.
void RepeatEdgePixels(const CPixMap& map, Span cols, Span rows, bool clearAlpha)
{
    const int sampleBytes = map.bitsPerPlane / 8, pixelBytes = map.planes * sampleBytes;
    const int xs[4] = {0, cols.first, cols.first + cols.count, map.width};
    const int ys[4] = {0, rows.first, rows.first + rows.count, map.height};
    auto at = [&](int x, int y) {
        return map.plane[0].data + static_cast<ptrdiff_t>(y) * map.plane[0].rowStep +
               static_cast<ptrdiff_t>(x) * pixelBytes;
    };
    for (int cy = 0; cy < 3; ++cy) {
        for (int cx = 0; cx < 3; ++cx) {
            const int cellX = xs[cx], cellY = ys[cy];
            const int cellW = xs[cx + 1] - cellX, cellH = ys[cy + 1] - cellY;
            if ((cx == 1 && cy == 1) || cellW <= 0 || cellH <= 0)
                continue;
            const int srcX = cx == 0 ? cols.first : cx == 2 ? cols.first + cols.count - 1 : cellX;
            const int srcY = cy == 0 ? rows.first : cy == 2 ? rows.first + rows.count - 1 : cellY;
            const size_t rowBytes = static_cast<size_t>(cellW) * pixelBytes;
            const int builtRows = cy == 1 ? cellH : 1;
            for (int r = 0; r < builtRows; ++r) {
                unsigned char* row = at(cellX, cellY + r);
                const unsigned char* source = at(srcX, cy == 1 ? cellY + r : srcY);
                if (cx == 1) {
                    std::memcpy(row, source, rowBytes);
                    if (clearAlpha)
                        for (int i = 0; i < cellW; ++i)
                            std::memset(row + static_cast<size_t>(i) * pixelBytes, 0, sampleBytes);
                } else {
                    unsigned char pixel[4 * 2];
                    std::memcpy(pixel, source, pixelBytes);
                    if (clearAlpha)
                        std::memset(pixel, 0, sampleBytes);
                    FillPixels(row, pixel, pixelBytes, cellW);
                }
            }
            for (int r = builtRows; r < cellH; ++r)
                std::memcpy(at(cellX, cellY + r), at(cellX, cellY), rowBytes);
        }
    }
}

} // namespace

bool CImage::GetBuf(int x, int y, CPixMap& map, maskMethod method, int step) const
{
    if (IsEmpty() || !map.IsValid() || step < 1 || map.width < 0 || map.height < 0)
        return false;

    const int W = m_width, H = m_height, w = map.width, h = map.height;
    Span cols = SampledSpan(x, w, W, step);
    Span rows = SampledSpan(y, h, H, step);

    if ((cols.count == 0 || rows.count == 0) && method == MASK_EDGE_REPEAT) {
        // Nothing overlaps: show the image's nearest edge instead, by moving the area onto it.
        if (W <= 0 || H <= 0 || w <= 0 || h <= 0)
            return true;
        if (cols.count == 0)
            x = static_cast<int64_t>(step) * x >= W ? (W - 1) / step : 1 - w;
        if (rows.count == 0)
            y = static_cast<int64_t>(step) * y >= H ? (H - 1) / step : 1 - h;
        cols = SampledSpan(x, w, W, step);
        rows = SampledSpan(y, h, H, step);
    }
    if (cols.count == 0 || rows.count == 0)
        cols = rows = {0, 0};

    const ImageLayout img{m_data.get(), GetStride(), m_planes, GetBitsPerPlane()};
    const bool imageAlpha = HasAlpha();
    const bool mapAlpha = ModeHasAlpha(map.mode);
    const int imageColourPlanes = m_planes - (imageAlpha ? 1 : 0);
    const int mapColourPlanes = map.planes - (mapAlpha ? 1 : 0);
    const unsigned char opaque[8] = {255, 255, 255, 255, 255, 255, 255, 255};
    const unsigned char clear[8] = {};

    // The copied rectangle.
    if (cols.count > 0) {
        const int ix = step * (x + cols.first), iy = step * (y + rows.first);
        if (map.mode == m_mode && map.interleaved && map.planes == m_planes) {
            CopyPixels(MapPlane(map, 0, cols.first, rows.first), ImagePlane(img, 0, ix, iy, step), m_planes, cols.count,
                       rows.count, step);
        } else if (IsRgbAndRgba(m_mode, map.mode, map)) {
            RgbToRgba(MapPlane(map, 0, cols.first, rows.first), ImagePlane(img, 0, ix, iy, step), cols.count,
                      rows.count);
        } else {
            if (mapAlpha) {
                PlaneView dst = MapPlane(map, 0, cols.first, rows.first);
                if (imageAlpha)
                    CopyPlane(dst, ImagePlane(img, 0, ix, iy, step), cols.count, rows.count);
                else
                    FillPlane(dst, opaque, cols.count, rows.count);
            }
            if (ModesMatchIgnoringAlpha(map.mode, m_mode)) {
                const int n = std::min(imageColourPlanes, mapColourPlanes);
                for (int p = 0; p < n; ++p)
                    CopyPlane(MapPlane(map, p + (mapAlpha ? 1 : 0), cols.first, rows.first),
                              ImagePlane(img, p + (imageAlpha ? 1 : 0), ix, iy, step), cols.count, rows.count);
            }
        }
    }

    if (method == MASK_EDGE_REPEAT && cols.count > 0 && HasPackedPixels(map)) {
        RepeatEdgePixels(map, cols, rows, mapAlpha);
        return true;
    }

    // The eight cells around the copied rectangle: alpha 0, colour per mask method.
    const int xs[4] = {0, cols.first, cols.first + cols.count, w};
    const int ys[4] = {0, rows.first, rows.first + rows.count, h};
    unsigned char maskSamples[8];
    std::memcpy(maskSamples, m_maskColor.GetColor(), sizeof maskSamples);
    const int sampleBytes = map.bitsPerPlane / 8;

    for (int cy = 0; cy < 3; ++cy) {
        for (int cx = 0; cx < 3; ++cx) {
            if (cx == 1 && cy == 1)
                continue;
            const int cellX = xs[cx], cellY = ys[cy];
            const int cellW = xs[cx + 1] - cellX, cellH = ys[cy + 1] - cellY;
            if (cellW <= 0 || cellH <= 0)
                continue;
            if (mapAlpha)
                FillPlane(MapPlane(map, 0, cellX, cellY), clear, cellW, cellH);
            for (int p = mapAlpha ? 1 : 0; p < map.planes; ++p) {
                PlaneView dst = MapPlane(map, p, cellX, cellY);
                if (method == MASK_COLOR || method == MASK_COLOR_2) {
                    // The mask colour is read as samples in the map's plane order.
                    unsigned char sample[8] = {};
                    if ((p + 1) * sampleBytes <= 8)
                        std::memcpy(sample, maskSamples + p * sampleBytes, static_cast<size_t>(sampleBytes));
                    FillPlane(dst, sample, cellW, cellH);
                } else if (method == MASK_EDGE_REPEAT && cols.count > 0) {
                    // Repeat the nearest column, row or corner of the copied rectangle.
                    const int srcX = cx == 0 ? cols.first : cx == 2 ? cols.first + cols.count - 1 : cellX;
                    const int srcY = cy == 0 ? rows.first : cy == 2 ? rows.first + rows.count - 1 : cellY;
                    PlaneView src = MapPlane(map, p, srcX, srcY);
                    if (cx != 1)
                        src.pixelStep = 0;
                    if (cy != 1)
                        src.rowStep = 0;
                    CopyPlane(dst, src, cellW, cellH);
                }
            }
        }
    }
    return true;
}

bool CImage::SetBuf(int x, int y, const CPixMap& map, maskMethod /*method*/, int step)
{
    if (IsEmpty() || !map.IsValid() || step < 1 || map.width < 0 || map.height < 0)
        return false;
    if (!ModesMatchIgnoringAlpha(map.mode, m_mode))
        return false;

    const int W = m_width, H = m_height, w = map.width, h = map.height;

    // Image pixel (x / step + i) receives map pixel (step * i); left of the image, the map is entered at -x.
    auto clip = [step](int origin, int mapExtent, int imageExtent, int& imageFirst, int& mapFirst) {
        int64_t covered = CeilDiv(mapExtent, step);
        int64_t start = origin / step;
        if (origin < 0) {
            imageFirst = 0;
            mapFirst = -origin;
            covered -= static_cast<int64_t>(-origin) / step;
        } else {
            imageFirst = static_cast<int>(start);
            mapFirst = 0;
        }
        if (mapFirst >= mapExtent)
            return 0;
        // Never read past the map's edge, whatever the rounding of the origin.
        covered = std::min<int64_t>(covered, CeilDiv(mapExtent - mapFirst, step));
        covered = std::min<int64_t>(covered, static_cast<int64_t>(imageExtent) - imageFirst);
        return covered > 0 ? static_cast<int>(covered) : 0;
    };
    int ix, iy, mx, my;
    const int count = clip(x, w, W, ix, mx);
    const int rows = clip(y, h, H, iy, my);
    if (count == 0 || rows == 0)
        return true;

    const ImageLayout img{m_data.get(), GetStride(), m_planes, GetBitsPerPlane()};
    if (map.mode == m_mode && map.interleaved && map.planes == m_planes) {
        CopyPixels(ImagePlane(img, 0, ix, iy, 1), MapPlaneStepped(map, 0, mx, my, step), m_planes, count, rows, step);
        return true;
    }
    if (IsRgbAndRgba(m_mode, map.mode, map)) {
        RgbaToRgb(ImagePlane(img, 0, ix, iy, 1), MapPlaneStepped(map, 0, mx, my, step), count, rows);
        return true;
    }
    const bool imageAlpha = HasAlpha();
    const bool mapAlpha = ModeHasAlpha(map.mode);
    if (imageAlpha && mapAlpha)
        CopyPlane(ImagePlane(img, 0, ix, iy, 1), MapPlaneStepped(map, 0, mx, my, step), count, rows);
    const int n = std::min(m_planes - (imageAlpha ? 1 : 0), map.planes - (mapAlpha ? 1 : 0));
    for (int p = 0; p < n; ++p)
        CopyPlane(ImagePlane(img, p + (imageAlpha ? 1 : 0), ix, iy, 1),
                  MapPlaneStepped(map, p + (mapAlpha ? 1 : 0), mx, my, step), count, rows);
    return true;
}
