#include "app/objects/shape_outline.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <span>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
// The Bezier quarter-circle constant 0.552284748, applied to half the box.
constexpr double kQuarterArc = 0.276142374;

// Adds points to the path after turning them about the centre. Unturned outlines skip the arithmetic, so that
// whole-number corners stay exactly whole.
class TurnedPath
{
public:
    TurnedPath(const ShapeGeometry& geometry, CPath& path)
        : m_path(path), m_cx(geometry.center.x), m_cy(geometry.center.y), m_turned(geometry.rotation != 0.0),
          m_cos(std::cos(-geometry.rotation)), m_sin(std::sin(-geometry.rotation))
    {
    }

    void MoveTo(DPOINT p)
    {
        p = Turn(p);
        m_path.MoveTo(p.x, p.y);
    }
    void LineTo(DPOINT p)
    {
        p = Turn(p);
        m_path.LineTo(p.x, p.y);
    }
    void CurveTo(DPOINT c1, DPOINT c2, DPOINT p)
    {
        c1 = Turn(c1);
        c2 = Turn(c2);
        p = Turn(p);
        m_path.CurveTo(c1.x, c1.y, c2.x, c2.y, p.x, p.y);
    }
    void Close() { m_path.Close(); }

private:
    DPOINT Turn(DPOINT p) const
    {
        if (!m_turned)
            return p;
        const double dx = p.x - m_cx;
        const double dy = p.y - m_cy;
        return DPOINT{m_cx + dx * m_cos - dy * m_sin, m_cy + dx * m_sin + dy * m_cos};
    }

    CPath& m_path;
    double m_cx;
    double m_cy;
    bool m_turned;
    double m_cos;
    double m_sin;
};

// The unturned box of the object.
struct Box
{
    double left;
    double top;
    double right;
    double bottom;
    double width;
    double height;
};

Box MakeBox(const ShapeGeometry& geometry)
{
    Box box;
    box.width = geometry.width;
    box.height = geometry.height;
    box.left = geometry.center.x - box.width / 2;
    box.top = geometry.center.y - box.height / 2;
    box.right = box.left + box.width;
    box.bottom = box.top + box.height;
    return box;
}

// A point on the ellipse of radii rx, ry about the centre, each coordinate truncated toward zero: the corners of
// regular polygons and stars sit on whole pixels before they are turned.
DPOINT WholeCorner(const ShapeGeometry& geometry, double angle, double rx, double ry)
{
    return DPOINT{std::trunc(std::cos(angle) * rx + geometry.center.x),
                  std::trunc(std::sin(angle) * ry + geometry.center.y)};
}

void BuildRectangle(const Box& b, TurnedPath& out)
{
    out.MoveTo({b.left, b.top});
    out.LineTo({b.right, b.top});
    out.LineTo({b.right, b.bottom});
    out.LineTo({b.left, b.bottom});
    out.Close();
}

// Four quarter arcs in a box a hair smaller than the object, from the left middle round through the top. The
// speech bubble shares the first three.
struct ArcBox
{
    double originX;
    double originY;
    double w;
    double h;

    DPOINT At(double x, double y) const { return DPOINT{originX + x, originY + y}; }
};

ArcBox MakeArcBox(const ShapeGeometry& geometry)
{
    ArcBox a;
    a.w = geometry.width - 0.01;
    a.h = geometry.height - 0.01;
    a.originX = geometry.center.x - a.w / 2;
    a.originY = geometry.center.y - a.h / 2;
    return a;
}

void AddThreeQuarterArcs(const ArcBox& a, TurnedPath& out)
{
    const double w = a.w, h = a.h, k = kQuarterArc;
    out.MoveTo(a.At(0, h / 2));
    out.CurveTo(a.At(0, h / 2 - k * h), a.At(w / 2 - k * w, 0), a.At(w / 2, 0));
    out.CurveTo(a.At(w / 2 + k * w, 0), a.At(w, h / 2 - k * h), a.At(w, h / 2));
    out.CurveTo(a.At(w, h / 2 + k * h), a.At(w / 2 + k * w, h), a.At(w / 2, h));
}

void BuildEllipse(const ShapeGeometry& geometry, TurnedPath& out)
{
    const ArcBox a = MakeArcBox(geometry);
    const double w = a.w, h = a.h, k = kQuarterArc;
    AddThreeQuarterArcs(a, out);
    out.CurveTo(a.At(w / 2 - k * w, h), a.At(0, h / 2 + k * h), a.At(0, h / 2));
    out.Close();
}

// A closed outline through the points in order.
void AddPolygon(std::span<const DPOINT> points, TurnedPath& out)
{
    out.MoveTo(points[0]);
    for (size_t i = 1; i < points.size(); ++i)
        out.LineTo(points[i]);
    out.Close();
}

void BuildRegularPolygon(const ShapeGeometry& geometry, int corners, TurnedPath& out)
{
    AddPolygon(detail::RegularPolygonCorners(geometry, corners), out);
}

void BuildArrow(const Box& b, TurnedPath& out)
{
    const double l = b.left, t = b.top, w = b.width, h = b.height;
    out.MoveTo({l, t + h / 3});
    out.LineTo({l + 2 * w / 3, t + h / 3});
    out.LineTo({l + 2 * w / 3, t + h / 6});
    out.LineTo({b.right, t + h / 2});
    out.LineTo({l + 2 * w / 3, t + 5 * h / 6});
    out.LineTo({l + 2 * w / 3, t + 2 * h / 3});
    out.LineTo({l, t + 2 * h / 3});
    out.Close();
}

// Two triangles as separate subpaths: their overlap is covered twice and stays empty under the even-odd rule.
void BuildDavidStar(const Box& b, TurnedPath& out)
{
    const double s = b.height;
    out.MoveTo({b.left, b.top + s / 4});
    out.LineTo({b.right, b.top + s / 4});
    out.LineTo({b.left + s / 2, b.bottom});
    out.LineTo({b.left, b.top + s / 4});

    out.MoveTo({b.left, b.top + 3 * s / 4});
    out.LineTo({b.right, b.top + 3 * s / 4});
    out.LineTo({b.left + s / 2, b.top});
    out.Close();
}

void BuildTab(const Box& b, TurnedPath& out)
{
    out.MoveTo({b.left, b.bottom});
    out.LineTo({b.right, b.bottom});
    out.CurveTo({b.right, b.top}, {b.right, b.top}, {b.left + b.width / 2, b.top});
    out.CurveTo({b.left, b.top}, {b.left, b.top}, {b.left, b.bottom});
    out.Close();
}

// The ellipse with its lower-left quarter replaced by a tail whose tip is the box's lower-left corner.
void BuildSpeechBubble(const ShapeGeometry& geometry, TurnedPath& out)
{
    const ArcBox a = MakeArcBox(geometry);
    const double w = a.w, h = a.h;
    AddThreeQuarterArcs(a, out);
    out.CurveTo(a.At(29 * w / 84, 14 * h / 15), a.At(29 * w / 84, 14 * h / 15), a.At(5 * w / 28, 23 * h / 30));
    out.LineTo(a.At(0, h));
    out.LineTo(a.At(0.1 * w, 0.7 * h));
    out.Close();
}

void BuildStraightLine(const Box& b, TurnedPath& out)
{
    out.MoveTo({b.left, b.top + 0.4 * b.height});
    out.LineTo({b.left, b.top + 0.6 * b.height});
    out.LineTo({b.right, b.top + 0.6 * b.height});
    out.LineTo({b.right, b.top + 0.4 * b.height});
    out.Close();
}

void BuildFivePointedStar(const ShapeGeometry& geometry, TurnedPath& out)
{
    AddPolygon(detail::FivePointedStarPoints(geometry), out);
}

// The David star's two triangles traced as one outline, so that the middle is filled.
void BuildSixPointedStar(const Box& b, TurnedPath& out)
{
    using detail::IntersectLines;
    const double s = b.height;
    const DPOINT a{b.left, b.top + s / 4};
    const DPOINT top{b.left + s / 2, b.top};
    const DPOINT c{b.right, b.top + s / 4};
    const DPOINT d{b.right, b.top + 3 * s / 4};
    const DPOINT bottom{b.left + s / 2, b.bottom};
    const DPOINT e{b.left, b.top + 3 * s / 4};

    const DPOINT tips[6] = {a, top, c, d, bottom, e};
    const DPOINT inner[6] = {
        IntersectLines(a, c, e, top),    IntersectLines(a, c, d, top),    IntersectLines(d, top, bottom, c),
        IntersectLines(bottom, c, e, d), IntersectLines(bottom, a, e, d), IntersectLines(e, top, bottom, a),
    };
    out.MoveTo(tips[0]);
    for (int i = 0; i < 6; ++i) {
        if (i > 0)
            out.LineTo(tips[i]);
        out.LineTo(inner[i]);
    }
    out.Close();
}

// The inner rectangle runs the same way as the outer one; only the even-odd rule keeps the opening empty.
void BuildFrame(const Box& b, TurnedPath& out)
{
    out.MoveTo({b.left, b.top});
    out.LineTo({b.right, b.top});
    out.LineTo({b.right, b.bottom});
    out.LineTo({b.left, b.bottom});
    out.LineTo({b.left, b.top});

    const double dx = b.width / 15;
    const double dy = b.height / 15;
    out.MoveTo({b.left + dx, b.top + dy});
    out.LineTo({b.right - dx, b.top + dy});
    out.LineTo({b.right - dx, b.bottom - dy});
    out.LineTo({b.left + dx, b.bottom - dy});
    out.Close();
}

} // namespace

bool IsSquareShape(int shapeCode)
{
    return shapeCode == shapeDavidStar || shapeCode == shapeFivePointedStar || shapeCode == shapeSixPointedStar;
}

bool BuildShapeOutline(int shapeCode, ShapeGeometry& geometry, CPath& path)
{
    if (shapeCode < kFirstShapeCode || shapeCode > kLastShapeCode)
        return false;
    if (IsSquareShape(shapeCode))
        geometry.width = geometry.height;

    path.Clear();
    TurnedPath out(geometry, path);
    const Box box = MakeBox(geometry);
    switch (shapeCode) {
    case shapeRectangle:
        BuildRectangle(box, out);
        break;
    case shapeCircle:
        BuildEllipse(geometry, out);
        break;
    case shapeArrow:
        BuildArrow(box, out);
        break;
    case shapeDavidStar:
        BuildDavidStar(box, out);
        break;
    case shapeTab:
        BuildTab(box, out);
        break;
    case shapeSpeechBubble:
        BuildSpeechBubble(geometry, out);
        break;
    case shapeStraightLine:
        BuildStraightLine(box, out);
        break;
    case shapeFivePointedStar:
        BuildFivePointedStar(geometry, out);
        break;
    case shapeSixPointedStar:
        BuildSixPointedStar(box, out);
        break;
    case shapeFrame:
        BuildFrame(box, out);
        break;
    default:
        BuildRegularPolygon(geometry, shapeCode, out);
        break;
    }
    return true;
}

namespace detail {

std::vector<DPOINT> RegularPolygonCorners(const ShapeGeometry& geometry, int corners)
{
    std::vector<DPOINT> points;
    if (corners < 1)
        return points;
    points.reserve(corners);
    const double rx = geometry.width / 2.0;
    const double ry = geometry.height / 2.0;
    // The first corner points straight up on the screen, where y grows downwards.
    for (int i = 0; i < corners; ++i)
        points.push_back(WholeCorner(geometry, 1.5 * kPi + i * 2 * kPi / corners, rx, ry));
    return points;
}

std::array<DPOINT, 10> FivePointedStarPoints(const ShapeGeometry& geometry)
{
    const double r = geometry.height / 2.0;
    DPOINT p[5];
    for (int i = 0; i < 5; ++i)
        p[i] = WholeCorner(geometry, 1.5 * kPi + i * 0.4 * kPi, r, r);
    // Each inner point is where the two chords meet that pass between its neighbouring tips.
    return {
        p[0], IntersectLines(p[0], p[2], p[4], p[1]), p[1], IntersectLines(p[0], p[2], p[1], p[3]),
        p[2], IntersectLines(p[2], p[4], p[1], p[3]), p[3], IntersectLines(p[2], p[4], p[0], p[3]),
        p[4], IntersectLines(p[0], p[3], p[1], p[4]),
    };
}

DPOINT IntersectLines(DPOINT p1, DPOINT p2, DPOINT p3, DPOINT p4)
{
    DPOINT crossing = p1;
    // By slopes, as the stars have always been built; their chords are never vertical at a usable size.
    if (p2.x != p1.x && p4.x != p3.x) {
        const double m1 = (p2.y - p1.y) / (p2.x - p1.x);
        const double m2 = (p4.y - p3.y) / (p4.x - p3.x);
        if (m1 != m2) {
            crossing.x = (m1 * p1.x - m2 * p3.x - p1.y + p3.y) / (m1 - m2);
            crossing.y = (crossing.x - p1.x) * m1 + p1.y;
        }
    } else {
        // A vertical line, which tiny stars can produce once their corners are cut to whole pixels.
        const double d = (p1.x - p2.x) * (p3.y - p4.y) - (p1.y - p2.y) * (p3.x - p4.x);
        if (d != 0.0) {
            const double a = p1.x * p2.y - p1.y * p2.x;
            const double b = p3.x * p4.y - p3.y * p4.x;
            crossing.x = (a * (p3.x - p4.x) - (p1.x - p2.x) * b) / d;
            crossing.y = (a * (p3.y - p4.y) - (p1.y - p2.y) * b) / d;
        }
    }
    if (!std::isfinite(crossing.x) || !std::isfinite(crossing.y))
        return p1;
    // The chords of a star cross within both of their segments. Chords that nearly coincide, as those of a star a
    // few pixels wide may, would otherwise throw a point far outside the object.
    crossing.x = std::clamp(crossing.x, std::min({p1.x, p2.x, p3.x, p4.x}), std::max({p1.x, p2.x, p3.x, p4.x}));
    crossing.y = std::clamp(crossing.y, std::min({p1.y, p2.y, p3.y, p4.y}), std::max({p1.y, p2.y, p3.y, p4.y}));
    return crossing;
}

} // namespace detail
