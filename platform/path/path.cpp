#include "platform/path/path.h"

#include <cairo.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// A band of the rasteriser's scratch surface holds at most this many bytes, so that a huge area costs time but
// not memory.
constexpr int64_t kBandBytes = 1 << 20;
// Well below the largest surface cairo makes (32767 pixels a side).
constexpr int64_t kMaxFullWidth = 16384;

bool Finite(double v)
{
    return std::isfinite(v);
}

// The roots in (0, 1) of a t^2 + b t + c = 0; a nearly zero a falls back to the linear equation.
int RootsInUnitInterval(double a, double b, double c, double roots[2])
{
    int count = 0;
    auto keep = [&](double t) {
        if (t > 0.0 && t < 1.0)
            roots[count++] = t;
    };
    if (std::fabs(a) < 1e-12) {
        if (std::fabs(b) > 1e-12)
            keep(-c / b);
        return count;
    }
    double d = b * b - 4 * a * c;
    if (d < 0)
        return 0;
    double s = std::sqrt(d);
    keep((-b + s) / (2 * a));
    keep((-b - s) / (2 * a));
    return count;
}

double CubicAt(double p0, double p1, double p2, double p3, double t)
{
    double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

// Whole-pixel bound of a coordinate, kept inside the range a CRect can hold.
int ClampedPixel(double v)
{
    return static_cast<int>(std::clamp(v, double(INT_MIN / 2), double(INT_MAX / 2)));
}

cairo_antialias_t AntialiasFor(int quality)
{
    if (quality >= 16)
        return CAIRO_ANTIALIAS_GOOD;
    if (quality >= 2)
        return CAIRO_ANTIALIAS_FAST;
    return CAIRO_ANTIALIAS_NONE;
}

} // namespace

void CPath::Clear()
{
    m_ops.clear();
    m_points.clear();
    m_hasCurrent = false;
    m_hasExtent = false;
}

void CPath::AddToExtent(double x, double y)
{
    if (!m_hasExtent) {
        m_minX = m_maxX = x;
        m_minY = m_maxY = y;
        m_hasExtent = true;
        return;
    }
    m_minX = std::min(m_minX, x);
    m_maxX = std::max(m_maxX, x);
    m_minY = std::min(m_minY, y);
    m_maxY = std::max(m_maxY, y);
}

bool CPath::MoveTo(double x, double y)
{
    if (!Finite(x) || !Finite(y))
        return false;
    m_ops.push_back(Op::Move);
    m_points.push_back({x, y});
    m_current = m_subpathStart = {x, y};
    m_hasCurrent = true;
    return true;
}

bool CPath::LineTo(double x, double y)
{
    if (!Finite(x) || !Finite(y))
        return false;
    if (!m_hasCurrent)
        return MoveTo(x, y);
    m_ops.push_back(Op::Line);
    m_points.push_back({x, y});
    AddToExtent(m_current.x, m_current.y);
    AddToExtent(x, y);
    m_current = {x, y};
    return true;
}

bool CPath::CurveTo(double x1, double y1, double x2, double y2, double x3, double y3)
{
    if (!Finite(x1) || !Finite(y1) || !Finite(x2) || !Finite(y2) || !Finite(x3) || !Finite(y3))
        return false;
    if (!m_hasCurrent)
        MoveTo(x1, y1);
    const Point p0 = m_current;
    m_ops.push_back(Op::Curve);
    m_points.push_back({x1, y1});
    m_points.push_back({x2, y2});
    m_points.push_back({x3, y3});
    AddToExtent(p0.x, p0.y);
    AddToExtent(x3, y3);
    // The curve's extremes lie where a coordinate's derivative is zero; the control points themselves may lie far
    // outside the curve and would make the box, and every image sized by it, too large.
    double roots[2];
    int n = RootsInUnitInterval(x3 - 3 * x2 + 3 * x1 - p0.x, 2 * (x2 - 2 * x1 + p0.x), x1 - p0.x, roots);
    for (int i = 0; i < n; ++i)
        AddToExtent(CubicAt(p0.x, x1, x2, x3, roots[i]), CubicAt(p0.y, y1, y2, y3, roots[i]));
    n = RootsInUnitInterval(y3 - 3 * y2 + 3 * y1 - p0.y, 2 * (y2 - 2 * y1 + p0.y), y1 - p0.y, roots);
    for (int i = 0; i < n; ++i)
        AddToExtent(CubicAt(p0.x, x1, x2, x3, roots[i]), CubicAt(p0.y, y1, y2, y3, roots[i]));
    m_current = {x3, y3};
    return true;
}

bool CPath::Close()
{
    if (!m_hasCurrent)
        return false;
    m_ops.push_back(Op::Close);
    m_current = m_subpathStart;
    return true;
}

CRect CPath::GetBoundingBox() const
{
    if (!m_hasExtent)
        return CRect();
    return CRect(ClampedPixel(std::floor(m_minX)), ClampedPixel(std::floor(m_minY)), ClampedPixel(std::ceil(m_maxX)),
                 ClampedPixel(std::ceil(m_maxY)));
}

bool CPath::Rasterize(const CRect& area, unsigned char* buffer, int pixelStep, int rowPitch, FILL_RULE rule,
                      int quality) const
{
    const int64_t width = int64_t(area.right) - area.left;
    const int64_t height = int64_t(area.bottom) - area.top;
    if (width <= 0 || height <= 0)
        return true;
    if (!buffer || pixelStep < 1 || quality < 1)
        return false;
    if (rule != FILL_RULE_EVEN_ODD && rule != FILL_RULE_WINDING)
        return false;
    const int64_t rowBytes = (width - 1) * pixelStep + 1;
    if (height > 1 && std::llabs(int64_t(rowPitch)) < rowBytes)
        return false;

    auto row = [&](int64_t y) { return buffer + y * rowPitch; };
    auto zero = [&](unsigned char* p, int64_t from, int64_t to) {
        for (int64_t x = from; x < to; ++x)
            p[x * pixelStep] = 0;
    };

    // Only the part of the area that the outline can reach goes through the rasteriser; the rest is plain zero.
    CRect box = GetBoundingBox();
    const int64_t left = std::max<int64_t>(area.left, box.left), right = std::min<int64_t>(area.right, box.right);
    const int64_t top = std::max<int64_t>(area.top, box.top), bottom = std::min<int64_t>(area.bottom, box.bottom);
    if (box.IsRectEmpty() || left >= right || top >= bottom) {
        for (int64_t y = 0; y < height; ++y)
            zero(row(y), 0, width);
        return true;
    }

    // The surface spans the outline's full width whatever part of it the area asks for: clipping the outline at
    // the surface's sides changes how the scan converter treats the rows it crosses, so tiles of one object would
    // differ by a few levels from one whole rendering. Rows cost little beyond their edges, so this is cheap.
    // Outlines too wide for one surface are cut to the area instead.
    const bool fullWidth = int64_t(box.right) - box.left <= kMaxFullWidth;
    const int64_t surfaceLeft = fullWidth ? box.left : left;
    const int coveredWidth = static_cast<int>(fullWidth ? int64_t(box.right) - box.left : right - left);
    const int bandRows = static_cast<int>(std::clamp<int64_t>(kBandBytes / coveredWidth, 1, bottom - top));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, coveredWidth, bandRows);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return false;
    }
    unsigned char* pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);

    bool ok = true;
    for (int64_t bandTop = top; ok && bandTop < bottom; bandTop += bandRows) {
        const int rows = static_cast<int>(std::min<int64_t>(bandRows, bottom - bandTop));
        cairo_surface_flush(surface);
        std::memset(pixels, 0, size_t(stride) * bandRows);
        cairo_surface_mark_dirty(surface);

        cairo_t* cr = cairo_create(surface);
        cairo_set_antialias(cr, AntialiasFor(quality));
        cairo_set_fill_rule(cr, rule == FILL_RULE_EVEN_ODD ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        cairo_translate(cr, -double(surfaceLeft), -double(bandTop));
        size_t point = 0;
        for (Op op : m_ops) {
            switch (op) {
            case Op::Move:
                cairo_move_to(cr, m_points[point].x, m_points[point].y);
                point += 1;
                break;
            case Op::Line:
                cairo_line_to(cr, m_points[point].x, m_points[point].y);
                point += 1;
                break;
            case Op::Curve:
                cairo_curve_to(cr, m_points[point].x, m_points[point].y, m_points[point + 1].x, m_points[point + 1].y,
                               m_points[point + 2].x, m_points[point + 2].y);
                point += 3;
                break;
            case Op::Close:
                cairo_close_path(cr);
                break;
            }
        }
        cairo_fill(cr);
        ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
        cairo_destroy(cr);
        cairo_surface_flush(surface);
        if (!ok)
            break;

        for (int r = 0; r < rows; ++r) {
            unsigned char* out = row(bandTop - area.top + r);
            const unsigned char* in = pixels + size_t(r) * stride + (left - surfaceLeft);
            unsigned char* o = out + (left - area.left) * pixelStep;
            for (int64_t x = left; x < right; ++x, o += pixelStep)
                *o = *in++;
        }
    }
    cairo_surface_destroy(surface);
    if (!ok)
        return false;

    // The uncovered margins of the area, after the rasteriser has succeeded so that a failure writes nothing.
    for (int64_t y = 0; y < height; ++y) {
        const int64_t pageY = area.top + y;
        if (pageY < top || pageY >= bottom) {
            zero(row(y), 0, width);
            continue;
        }
        zero(row(y), 0, left - area.left);
        zero(row(y), right - area.left, width);
    }
    return true;
}
