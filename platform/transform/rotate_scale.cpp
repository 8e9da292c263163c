#include "platform/transform/rotate_scale.h"

#include "image/kept_images.h"
#include "platform/transform/pixel_bridge.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

using namespace detail;

namespace {

constexpr double kPi = 3.14159265358979323846;
// Results beyond this many pixels a side, or bytes in all, are refused rather than attempted.
constexpr int64_t kMaxSide = 1 << 16;
constexpr int64_t kMaxBytes = int64_t(1) << 30;
// Corner coordinates this close to a whole pixel are taken as whole, so that rounding noise in the sines does not
// add a row of empty pixels.
constexpr double kSnap = 1e-6;

// cos and sin of the angle, exact at multiples of a quarter turn so that upright and quarter-turned images keep
// their pixels on the grid (cos(2 pi) is 1 but sin(2 pi) is not 0 in doubles).
void QuarterExactSinCos(double angle, double& c, double& s)
{
    double quarters = angle / (kPi / 2);
    double nearest = std::round(quarters);
    if (std::fabs(quarters - nearest) < 1e-12) {
        static constexpr double kCos[4] = {1, 0, -1, 0};
        static constexpr double kSin[4] = {0, 1, 0, -1};
        int q = static_cast<int>(std::fmod(nearest, 4.0));
        q = (q + 4) % 4;
        c = kCos[q];
        s = kSin[q];
        return;
    }
    c = std::cos(angle);
    s = std::sin(angle);
}

double FloorSnapped(double v)
{
    double r = std::round(v);
    return std::fabs(v - r) < kSnap ? r : std::floor(v);
}

double CeilSnapped(double v)
{
    double r = std::round(v);
    return std::fabs(v - r) < kSnap ? r : std::ceil(v);
}

pixman_point_fixed_t Fixed(double x, double y)
{
    return {pixman_double_to_fixed(x), pixman_double_to_fixed(y)};
}

} // namespace

std::unique_ptr<CImage> CRotateScale::Transform(int width, int height, double angle, const DPOINT* centre,
                                                const CColor* background) const
{
    const SampleLayout src = LayoutOf(m_source);
    if (src.kind == PixelKind::Unsupported || src.width <= 0 || src.height <= 0)
        return nullptr;
    if (width <= 0 || height <= 0 || !std::isfinite(angle))
        return nullptr;
    const double cx = centre ? centre->x : width / 2.0;
    const double cy = centre ? centre->y : height / 2.0;
    if (!std::isfinite(cx) || !std::isfinite(cy))
        return nullptr;

    double c, s;
    QuarterExactSinCos(angle, c, s);
    // Forward turn of a point of the scaled image (the outline convention, cos(-a) = c, sin(-a) = -s).
    auto turn = [&](double x, double y) {
        double dx = x - cx, dy = y - cy;
        return DPOINT{cx + dx * c + dy * s, cy - dx * s + dy * c};
    };
    const DPOINT corners[4] = {turn(0, 0), turn(width, 0), turn(width, height), turn(0, height)};
    double minX = corners[0].x, maxX = minX, minY = corners[0].y, maxY = minY;
    for (const DPOINT& p : corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const double left = FloorSnapped(minX), top = FloorSnapped(minY);
    const double outW = CeilSnapped(maxX) - left, outH = CeilSnapped(maxY) - top;
    if (!(outW >= 1 && outH >= 1 && outW <= kMaxSide && outH <= kMaxSide && outW * outH * 4 <= kMaxBytes))
        return nullptr;
    const int W = static_cast<int>(outW), H = static_cast<int>(outH);
    const bool hasAlpha = KindHasAlpha(src.kind);

    // Unturned, unscaled and on the grid: a copy, which also keeps the colour of transparent pixels exactly.
    if (width == src.width && height == src.height && c == 1 && s == 0 && left == 0 && top == 0 && !background)
        return std::make_unique<CImage>(m_source);

    PixmanImage source = ReadPixels(src, 0, 0, src.width, src.height);
    PixmanImage target = NewPixmanImage(src.kind, W, H);
    if (!source || !target)
        return nullptr;

    // pixman maps each target pixel centre back into the source: target d -> turned point q = d + (left, top) ->
    // scaled point p = centre + turned back (q - centre) -> source point (p.x fx, p.y fy).
    const double fx = double(src.width) / width, fy = double(src.height) / height;
    const double qx = left - cx, qy = top - cy;
    pixman_f_transform inverse = {
        {{fx * c, -fx * s, fx * (cx + c * qx - s * qy)}, {fy * s, fy * c, fy * (cy + s * qx + c * qy)}, {0, 0, 1}}};
    // The edges are padded; what lies outside the turned rectangle is cut by the mask below.
    if (!SetResampling(source.get(), inverse, fx, fy))
        return nullptr;

    const bool coverage = src.kind == PixelKind::Coverage;
    const bool over = background && !coverage;
    PixmanImage mask;
    if (hasAlpha || over) {
        mask = NewCoverageMask(W, H);
        if (!mask)
            return nullptr;
        DPOINT q[4];
        for (int i = 0; i < 4; ++i)
            q[i] = {corners[i].x - left, corners[i].y - top};
        const pixman_triangle_t triangles[2] = {{Fixed(q[0].x, q[0].y), Fixed(q[1].x, q[1].y), Fixed(q[2].x, q[2].y)},
                                                {Fixed(q[0].x, q[0].y), Fixed(q[2].x, q[2].y), Fixed(q[3].x, q[3].y)}};
        pixman_add_triangles(mask.get(), 0, 0, 2, triangles);
    }
    if (over) {
        const unsigned long ref = background->GetCOLORREF();
        auto wide = [](unsigned long v) { return static_cast<uint16_t>((v & 0xFF) * 257); };
        pixman_color_t colour = {wide(ref), wide(ref >> 8), wide(ref >> 16), 0xFFFF};
        pixman_box32_t all = {0, 0, W, H};
        pixman_image_fill_boxes(PIXMAN_OP_SRC, target.get(), &colour, 1, &all);
    }
    pixman_image_composite32(over ? PIXMAN_OP_OVER : PIXMAN_OP_SRC, source.get(), mask.get(), target.get(), 0, 0, 0, 0,
                             0, 0, W, H);

    // WritePixels writes every sample of it.
    auto result = TakeImageForOverwrite(m_source.GetMode(), W, H, m_source.GetDpi());
    const SampleLayout out = LayoutOf(*result);
    if (out.kind == PixelKind::Unsupported)
        return nullptr;
    WritePixels(target.get(), out, W, H);
    return result;
}
