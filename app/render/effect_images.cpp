#include "app/render/effect_images.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "app/render/gaussian_blur.h"
#include "image/tiles.h"

namespace {

// Far beyond any softness the Effects palette offers; keeps the margin a sane int.
constexpr double kMaxRadius = 100000.0;

// Inlined into the tile loop, where most pixels are flat.
inline double ShadeValue(const unsigned char* pixel, int pixelStep, int rowStep, double lx, double ly)
{
    const int dx = int(pixel[pixelStep]) - int(pixel[-pixelStep]);
    const int dy = int(pixel[rowStep]) - int(pixel[-rowStep]);
    if (dx == 0 && dy == 0)
        return 0.5;
    const double len = std::sqrt(double(dx * dx + dy * dy));
    return ((dx / len) * lx + (dy / len) * ly + 1.0) * 0.5;
}

} // namespace

std::unique_ptr<CImage> BuildSpreadImage(const CImage& source, double radius)
{
    const int sw = source.Width(), sh = source.Height();
    if (source.IsEmpty() || sw <= 0 || sh <= 0 || !(radius >= 0.0) || radius > kMaxRadius)
        return nullptr;

    // An even margin puts the source exactly in the middle.
    int margin = static_cast<int>(std::ceil(6.0 * radius));
    if (margin % 2 != 0)
        ++margin;
    const int64_t ew = int64_t(sw) + margin, eh = int64_t(sh) + margin;
    if (ew > INT_MAX || eh > INT_MAX)
        return nullptr;

    // A new image's bytes are zero, which is the empty margin.
    auto spread = std::make_unique<CImage>(IMAGE_MODE_COVERAGE, static_cast<int>(ew), static_cast<int>(eh), 96.0);
    if (spread->IsEmpty())
        return nullptr;

    // The coverage tile takes only the source's alpha; the exchange copies nothing else between these modes.
    CPixMap tile(IMAGE_MODE_COVERAGE, kImageTileSize, kImageTileSize);
    if (!tile.IsValid())
        return nullptr;
    const int ox = static_cast<int>((ew - sw) / 2), oy = static_cast<int>((eh - sh) / 2);
    const bool copied = ForEachTile(
        tile, sw, sh, [&](int x, int y) { return source.GetBuf(x, y, tile) && spread->SetBuf(ox + x, oy + y, tile); });
    if (!copied)
        return nullptr;

    if (!GaussianBlur(spread.get(), radius))
        return nullptr;
    return spread;
}

double BevelShadeValue(const unsigned char* pixel, int pixelStep, int rowStep, double lx, double ly)
{
    return ShadeValue(pixel, pixelStep, rowStep, lx, ly);
}

void ShadeBevelTile(unsigned char* first, int pixelStep, int rowStep, int width, int height, double lx, double ly,
                    int direction)
{
    if (width < 1 || height < 1 || (direction != 0 && direction != 1))
        return;
    for (int y = 0; y < height; ++y) {
        unsigned char* p = first + static_cast<ptrdiff_t>(y) * rowStep;
        for (int x = 0; x < width; ++x, p += pixelStep) {
            const double f = ShadeValue(p, pixelStep, rowStep, lx, ly);
            const int grey = direction == 0 ? static_cast<int>(f * 255) : static_cast<int>((1.0 - f) * 255);
            // f may pass 0 or 1 by a rounding step.
            const unsigned char g = static_cast<unsigned char>(std::clamp(grey, 0, 255));
            p[1] = g;
            p[2] = g;
            p[3] = g;
        }
    }
}
