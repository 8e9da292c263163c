#include "controls/wheel_control.h"

#include "platform/path/path.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <wx/dc.h>

namespace {

// Exactly 2 pi, so that a point half-way between two positions is half-way in the arithmetic too.
constexpr double kTwoPi = 2 * std::numbers::pi;
// The distance of a cubic Bezier control point from the end of a quarter ellipse, as a share of the ellipse's
// width (height for the vertical handles).
constexpr double kEllipseHandle = 0.276142374;

void AddEllipse(CPath& path, double cx, double cy, double diameter)
{
    const double r = diameter / 2;
    const double k = kEllipseHandle * diameter;
    path.MoveTo(cx + r, cy);
    path.CurveTo(cx + r, cy + k, cx + k, cy + r, cx, cy + r);
    path.CurveTo(cx - k, cy + r, cx - r, cy + k, cx - r, cy);
    path.CurveTo(cx - r, cy - k, cx - k, cy - r, cx, cy - r);
    path.CurveTo(cx + k, cy - r, cx + r, cy - k, cx + r, cy);
    path.Close();
}

// Coverage of path into the alpha bytes of an RGBA map, whose colour bytes become black.
void RasterizeBlack(const CPath& path, CPixMap& map, int d)
{
    path.Rasterize(CRect(0, 0, d, d), map.Sample(0, 0, 0), 4, map.plane[0].rowStep, FILL_RULE_EVEN_ODD, 16);
    for (int y = 0; y < d; ++y) {
        unsigned char* p = map.Sample(0, y, 0);
        for (int x = 0; x < d; ++x, p += 4)
            p[1] = p[2] = p[3] = 0;
    }
}

} // namespace

namespace detail {

int WrapWheel(int x, int range)
{
    const int r = x % range;
    return r < 0 ? r + range : r;
}

int WheelPositionAt(int x, int y, int cx, int cy, int range)
{
    double a = std::atan2(static_cast<double>(y - cy), static_cast<double>(x - cx));
    if (a < 0)
        a += kTwoPi;
    const double c = kTwoPi / range;
    // a stays below a full turn, but rounding could still carry a / c up to range.
    const int lower = std::min(static_cast<int>(a / c), range - 1);
    const double lowerDistance = std::fabs(a - c * lower);
    int upper = lower + 1;
    double upperDistance = std::fabs(a - c * upper);
    if (upper == range) {
        upper = 0;
        upperDistance = kTwoPi - a;
    }
    return upperDistance <= lowerDistance ? upper : lower;
}

bool WheelHit(int x, int y, int cx, int cy, int clientWidth)
{
    const double dx = x - cx, dy = y - cy;
    return static_cast<int>(std::floor(std::sqrt(dx * dx + dy * dy))) <= clientWidth / 2;
}

void DrawWheelRing(CPixMap& ring, int d, int ringWidth)
{
    // The centre lies on the middle of the middle pixel, so the one-pixel ring and pointer fall on whole pixels.
    const double c = d / 2.0;
    CPath path;
    AddEllipse(path, c, c, d);
    AddEllipse(path, c, c, d - ringWidth);
    AddEllipse(path, c, c, 5);
    RasterizeBlack(path, ring, d);
}

void DrawWheelPointer(CPixMap& mask, int d, int position, int range)
{
    const double c = d / 2.0;
    const double angle = position * kTwoPi / range;
    const double cosA = std::cos(angle), sinA = std::sin(angle);
    const double corners[4][2] = {{c, c - 0.5}, {c, c + 0.5}, {d - 1.0, c + 0.5}, {d - 1.0, c - 0.5}};
    CPath path;
    for (int i = 0; i < 4; ++i) {
        const double x = c + cosA * (corners[i][0] - c) - sinA * (corners[i][1] - c);
        const double y = c + sinA * (corners[i][0] - c) + cosA * (corners[i][1] - c);
        i == 0 ? path.MoveTo(x, y) : path.LineTo(x, y);
    }
    path.Close();
    RasterizeBlack(path, mask, d);
}

void ComposeWheel(CPixMap& canvas, const CPixMap& ring, const CPixMap& pointer)
{
    ClearMap(canvas);
    BlendMapOver(canvas, ring, 0, 0);
    BlendMapOver(canvas, pointer, 0, 0);
}

} // namespace detail

void CWheelControl::Init(int range, int position, int ringWidth, int unused)
{
    // Every value is taken modulo the range, so a range below 1 would divide by zero.
    m_range = std::max(range, 1);
    m_position = position;
    m_ringWidth = ringWidth;
    m_unused = unused;
    const CSize client = ClientSize();
    int d = std::min(client.cx, client.cy);
    if (d % 2 == 0)
        --d;
    m_diameter = std::max(d, 0);
    m_ring.reset();
    m_canvas.reset();
    m_pointer.reset();
    if (m_diameter < 1)
        return;
    m_ring = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, m_diameter, m_diameter);
    m_canvas = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, m_diameter, m_diameter);
    m_pointer = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, m_diameter, m_diameter);
    if (!m_ring->IsValid() || !m_canvas->IsValid() || !m_pointer->IsValid()) {
        m_ring.reset();
        m_canvas.reset();
        m_pointer.reset();
        return;
    }
    detail::DrawWheelRing(*m_ring, m_diameter, m_ringWidth);
    Refresh(true);
}

int CWheelControl::WheelGetValue() const
{
    return detail::WrapWheel(m_range - m_position, m_range);
}

void CWheelControl::WheelSetValue(int value)
{
    m_position = m_range - detail::WrapWheel(value, m_range);
    Refresh(true);
}

int CWheelControl::CalculateNewValue(const CPoint& point) const
{
    const CSize client = ClientSize();
    return detail::WheelPositionAt(point.x, point.y, client.cx / 2, client.cy / 2, m_range);
}

bool CWheelControl::PressStartsDrag(const CPoint& point)
{
    const CSize client = ClientSize();
    return detail::WheelHit(point.x, point.y, client.cx / 2, client.cy / 2, client.cx);
}

void CWheelControl::DragStarted(const CPoint& point)
{
    const int position = CalculateNewValue(point);
    if (position != m_position) {
        m_position = position;
        Refresh(true);
    }
}

void CWheelControl::DragMoved(const CPoint& point)
{
    const int position = CalculateNewValue(point);
    if (position == m_position)
        return;
    m_position = position;
    Refresh(true);
    Notify(WHEEL_NOTIFY_CHANGING);
}

void CWheelControl::DragEnded(const CPoint&, bool)
{
    Refresh(true);
    Notify(WHEEL_NOTIFY_CHANGED);
}

void CWheelControl::Paint(wxDC& dc)
{
    if (!m_canvas)
        return;
    detail::DrawWheelPointer(*m_pointer, m_diameter, m_position, m_range);
    detail::ComposeWheel(*m_canvas, *m_ring, *m_pointer);
    // Only the pixels the ring and pointer cover reach the window; the rest shows its background.
    DrawMap(dc, *m_canvas, 0, 0);
}
