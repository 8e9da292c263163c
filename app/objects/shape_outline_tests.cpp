#include "app/objects/shape_outline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

// The page pixels the path covers over area, one byte each, at the finest quality.
std::vector<unsigned char> Coverage(const CPath& path, const CRect& area)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(area.Width()) * area.Height(), 0xAA);
    EXPECT_TRUE(path.Rasterize(area, pixels.data(), 1, area.Width(), FILL_RULE_EVEN_ODD, 16));
    return pixels;
}

int CoverageAt(const CPath& path, int x, int y)
{
    return Coverage(path, CRect(x, y, x + 1, y + 1))[0];
}

// The whole pixels of the object's box turned with it, as the frame rounds it: floor of minima, ceil of maxima.
CRect TurnedBox(const ShapeGeometry& g)
{
    const double hw = g.width / 2.0, hh = g.height / 2.0;
    const double c = std::cos(-g.rotation), s = std::sin(-g.rotation);
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    for (const auto& [dx, dy] : {std::pair{-hw, -hh}, std::pair{hw, -hh}, std::pair{hw, hh}, std::pair{-hw, hh}}) {
        const double x = g.center.x + dx * c - dy * s;
        const double y = g.center.y + dx * s + dy * c;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    return CRect(static_cast<int>(std::floor(minX)), static_cast<int>(std::floor(minY)),
                 static_cast<int>(std::ceil(maxX)), static_cast<int>(std::ceil(maxY)));
}

TEST(ShapeOutline, EveryCodeStaysInsideItsBoxAndCoversPartOfIt)
{
    struct Case
    {
        int width, height;
        DPOINT center;
        double rotation;
    };
    const Case cases[] = {
        {0, 0, {10, 10}, 0},
        {1, 1, {10.5, 10.5}, 0},
        {2, 3, {20, 20}, 0.3},
        {40, 40, {100, 100}, 0},
        {200, 100, {150, 80}, 0},
        {101, 37, {60.25, 40.75}, 0},
        {120, 90, {200, 200}, kPi / 5},
        {300, 300, {-40, -60}, 2.5},
        {64, 128, {0, 0}, -kPi / 2},
    };
    for (int code = kFirstShapeCode; code <= kLastShapeCode; ++code) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "code " << code << ", " << c.width << " x " << c.height << ", rotation " << c.rotation);
            ShapeGeometry g{c.center, c.width, c.height, c.rotation};
            CPath path;
            ASSERT_TRUE(BuildShapeOutline(code, g, path));
            EXPECT_EQ(g.height, c.height);
            EXPECT_EQ(g.width, IsSquareShape(code) ? c.height : c.width);

            const CRect bounds = path.GetBoundingBox();
            CRect box = TurnedBox(g);
            // A turned corner may land a rounding error beyond a whole pixel; the ellipses of an empty box are a
            // hundredth of a pixel wide.
            if (c.rotation != 0 || c.width == 0)
                box.InflateRect(1, 1);
            EXPECT_GE(bounds.left, box.left);
            EXPECT_GE(bounds.top, box.top);
            EXPECT_LE(bounds.right, box.right);
            EXPECT_LE(bounds.bottom, box.bottom);

            if (c.width >= 40) {
                const std::vector<unsigned char> pixels = Coverage(path, bounds);
                const auto covered = std::count_if(pixels.begin(), pixels.end(), [](unsigned char v) { return v; });
                // Every shape fills a good part of its outline's box.
                EXPECT_GT(covered, static_cast<long>(pixels.size() / 8));
            }
        }
    }
}

TEST(ShapeOutline, CoverageOfHolesTailsAndBars)
{
    // Each shape sits in a box whose top-left is (0, 0); probes are whole pixels in that box.
    struct Probe
    {
        const char* what;
        int code, width, height;
        double rotation;
        int x, y;
        bool covered;
    };
    const Probe probes[] = {
        // The David star's overlap is covered twice and stays empty; its tips and the triangles' sides do not.
        {"David star middle", shapeDavidStar, 120, 120, 0, 60, 60, false},
        {"David star inner hexagon", shapeDavidStar, 120, 120, 0, 45, 50, false},
        {"David star upper tip", shapeDavidStar, 120, 120, 0, 60, 8, true},
        {"David star lower tip", shapeDavidStar, 120, 120, 0, 60, 111, true},
        {"David star left point", shapeDavidStar, 120, 120, 0, 12, 34, true},
        {"six-pointed star middle", shapeSixPointedStar, 120, 120, 0, 60, 60, true},
        {"six-pointed star upper tip", shapeSixPointedStar, 120, 120, 0, 60, 8, true},
        {"six-pointed star between tips", shapeSixPointedStar, 120, 120, 0, 25, 5, false},
        // The frame's opening runs from 10 to 140 of a 150 x 150 box.
        {"frame opening middle", shapeFrame, 150, 150, 0, 75, 75, false},
        {"frame opening corner", shapeFrame, 150, 150, 0, 10, 10, false},
        {"frame opening far corner", shapeFrame, 150, 150, 0, 139, 139, false},
        {"frame left side", shapeFrame, 150, 150, 0, 9, 75, true},
        {"frame bottom side", shapeFrame, 150, 150, 0, 75, 140, true},
        {"frame corner", shapeFrame, 150, 150, 0, 0, 0, true},
        // The tail's tip is the box's lower-left corner, where the body does not reach.
        {"speech bubble tail tip", shapeSpeechBubble, 200, 100, 0, 4, 96, true},
        {"ellipse at the tail tip", shapeCircle, 200, 100, 0, 4, 96, false},
        {"speech bubble body", shapeSpeechBubble, 200, 100, 0, 100, 50, true},
        {"speech bubble beside the tail", shapeSpeechBubble, 200, 100, 0, 30, 96, false},
        {"speech bubble above the tail", shapeSpeechBubble, 200, 100, 0, 5, 60, false},
        // The bar of a line 80 high covers rows 32 to 47.
        {"line row 31", shapeStraightLine, 100, 80, 0, 50, 31, false},
        {"line row 32", shapeStraightLine, 100, 80, 0, 50, 32, true},
        {"line row 47", shapeStraightLine, 100, 80, 0, 50, 47, true},
        {"line row 48", shapeStraightLine, 100, 80, 0, 50, 48, false},
        {"line left end", shapeStraightLine, 100, 80, 0, 0, 40, true},
        // The arrow points right; a quarter turn makes it point up, as the turn goes against the clock.
        {"arrow tip", shapeArrow, 90, 60, 0, 86, 30, true},
        {"arrow shaft", shapeArrow, 90, 60, 0, 2, 30, true},
        {"arrow beside the shaft", shapeArrow, 90, 60, 0, 2, 15, false},
        {"turned arrow tip", shapeArrow, 90, 60, kPi / 2, 49, 6, true},
        {"turned arrow tail", shapeArrow, 90, 60, kPi / 2, 49, 92, true},
        {"turned arrow beside the tip", shapeArrow, 90, 60, kPi / 2, 80, 6, false},
        {"tab lower corner", shapeTab, 100, 60, 0, 1, 58, true},
        {"tab upper corner", shapeTab, 100, 60, 0, 2, 2, false},
        {"tab top middle", shapeTab, 100, 60, 0, 50, 2, true},
        {"five-pointed star middle", shapeFivePointedStar, 100, 100, 0, 50, 50, true},
        {"five-pointed star between the lower tips", shapeFivePointedStar, 100, 100, 0, 50, 90, false},
        {"triangle bottom corner", shapeTriangle, 100, 100, 0, 12, 73, true},
        {"diamond top corner", shapeDiamond, 100, 100, 0, 49, 2, true},
        {"diamond beside its corner", shapeDiamond, 100, 100, 0, 10, 10, false},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.what);
        ShapeGeometry g{{p.width / 2.0, p.height / 2.0}, p.width, p.height, p.rotation};
        if (p.rotation != 0)
            g.center = {45 + 4, 45 + 4};
        CPath path;
        ASSERT_TRUE(BuildShapeOutline(p.code, g, path));
        const int value = CoverageAt(path, p.x, p.y);
        // The tail's tip is thinner than a pixel; everything else is well inside or outside.
        if (p.covered)
            EXPECT_GE(value, 224);
        else
            EXPECT_EQ(value, 0);
    }
}

TEST(ShapeOutline, RegularPolygonCornersLieOnTheirEllipseOnWholePixels)
{
    const ShapeGeometry geometries[] = {
        {{50, 50}, 100, 100, 0}, {{120.4, 80.7}, 90, 60, 0}, {{-30.5, 17.25}, 41, 77, 0}};
    for (const ShapeGeometry& g : geometries) {
        for (int n = shapeTriangle; n <= shapeDodecagon; ++n) {
            SCOPED_TRACE(testing::Message() << n << " corners, centre " << g.center.x << ", " << g.center.y);
            const std::vector<DPOINT> corners = detail::RegularPolygonCorners(g, n);
            ASSERT_EQ(corners.size(), static_cast<size_t>(n));
            const double rx = g.width / 2.0, ry = g.height / 2.0;
            for (int i = 0; i < n; ++i) {
                const double angle = 1.5 * kPi + i * 2 * kPi / n;
                const double exactX = g.center.x + rx * std::cos(angle);
                const double exactY = g.center.y + ry * std::sin(angle);
                EXPECT_EQ(corners[i].x, std::trunc(corners[i].x));
                EXPECT_EQ(corners[i].y, std::trunc(corners[i].y));
                // Cut toward zero: never more than a pixel away, and never away from zero.
                EXPECT_LT(std::abs(corners[i].x - exactX), 1.0);
                EXPECT_LT(std::abs(corners[i].y - exactY), 1.0);
                EXPECT_LE(std::abs(corners[i].x), std::abs(exactX));
                EXPECT_LE(std::abs(corners[i].y), std::abs(exactY));
            }
        }
    }
    // cos 1.5 pi is a hair below 0, so the triangle's top corner over x = 50 lands on 49.
    const std::vector<DPOINT> triangle = detail::RegularPolygonCorners({{50, 50}, 100, 100, 0}, 3);
    EXPECT_EQ(triangle[0].x, 49);
    EXPECT_EQ(triangle[0].y, 0);
}

TEST(ShapeOutline, FivePointedStarInnerPointsFormARegularPentagon)
{
    for (int size : {100, 301}) {
        SCOPED_TRACE(size);
        const ShapeGeometry g{{200, 200}, size, size, 0};
        const std::array<DPOINT, 10> points = detail::FivePointedStarPoints(g);
        // Inner radius of a regular pentagram: r sin 18 / sin 126 degrees. The tips are cut to whole pixels.
        const double r = size / 2.0;
        const double inner = r * std::sin(kPi / 10) / std::sin(0.7 * kPi);
        for (int i = 0; i < 10; ++i) {
            SCOPED_TRACE(i);
            const double distance = std::hypot(points[i].x - 200, points[i].y - 200);
            EXPECT_NEAR(distance, i % 2 ? inner : r, 1.5);
            const double angle = std::atan2(points[i].y - 200, points[i].x - 200);
            const double expected = 1.5 * kPi + i * 0.2 * kPi;
            EXPECT_NEAR(std::remainder(angle - expected, 2 * kPi), 0.0, 0.03);
        }
    }
}

TEST(ShapeOutline, IntersectLinesStaysFiniteWhenLinesDoNotCross)
{
    // Crossing chords, a vertical one, parallel ones, and a pair that is a single point.
    EXPECT_EQ(detail::IntersectLines({0, 0}, {10, 10}, {0, 10}, {10, 0}).x, 5);
    const DPOINT vertical = detail::IntersectLines({5, 0}, {5, 10}, {0, 0}, {10, 10});
    EXPECT_DOUBLE_EQ(vertical.x, 5);
    EXPECT_DOUBLE_EQ(vertical.y, 5);
    const DPOINT parallel = detail::IntersectLines({0, 0}, {10, 0}, {0, 5}, {10, 5});
    EXPECT_EQ(parallel.x, 0);
    EXPECT_EQ(parallel.y, 0);
    const DPOINT single = detail::IntersectLines({3, 3}, {3, 3}, {0, 0}, {0, 0});
    EXPECT_EQ(single.x, 3);
    EXPECT_EQ(single.y, 3);
    // Nearly parallel chords would meet far away; the crossing is kept within the four points.
    const DPOINT far = detail::IntersectLines({0, 0}, {10, 1}, {0, 1}, {10, 2.0001});
    EXPECT_LE(far.x, 10);
    EXPECT_GE(far.y, 0);
}

TEST(ShapeOutline, CodesWithoutAShapeLeaveThePathAlone)
{
    ShapeGeometry triangle{{50, 50}, 100, 80, 0};
    CPath path;
    ASSERT_TRUE(BuildShapeOutline(shapeTriangle, triangle, path));
    const CRect before = path.GetBoundingBox();
    for (int code : {0, -1, 21, 25}) {
        ShapeGeometry g{{500, 500}, 200, 100, 0};
        EXPECT_FALSE(BuildShapeOutline(code, g, path));
        EXPECT_EQ(g.width, 200);
        EXPECT_EQ(path.GetBoundingBox(), before);
    }
}

} // namespace
