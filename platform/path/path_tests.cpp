#include "platform/path/path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/path/path_test_support.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Pt
{
    double x;
    double y;
};

// Even-odd point in polygon over several contours, each closed implicitly.
bool InsideEvenOdd(const std::vector<std::vector<Pt>>& contours, double x, double y)
{
    bool inside = false;
    for (const auto& c : contours) {
        for (size_t i = 0, j = c.size() - 1; i < c.size(); j = i++) {
            if ((c[i].y > y) != (c[j].y > y) && x < (c[j].x - c[i].x) * (y - c[i].y) / (c[j].y - c[i].y) + c[i].x)
                inside = !inside;
        }
    }
    return inside;
}

struct Shape
{
    std::string name;
    std::function<void(CPath&)> build;
    std::function<bool(double, double)> inside; // the obvious reference
    Pt hole;                                    // a point that must stay empty, or {-1, -1}
};

std::vector<std::vector<Pt>> FrameContours(double l, double t, double w, double h)
{
    double r = l + w, b = t + h, ix = w / 15, iy = h / 15;
    return {{{l, t}, {r, t}, {r, b}, {l, b}}, {{l + ix, t + iy}, {r - ix, t + iy}, {r - ix, b - iy}, {l + ix, b - iy}}};
}

std::vector<Pt> PentagramPoints(double cx, double cy, double r)
{
    std::vector<Pt> corners;
    for (int i = 0; i < 5; ++i) {
        double a = 1.5 * kPi + i * 0.4 * kPi;
        corners.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    // Every second corner: one self-crossing polygon.
    return {corners[0], corners[2], corners[4], corners[1], corners[3]};
}

std::vector<std::vector<Pt>> DavidStarContours(double l, double t, double s)
{
    return {{{l, t + s / 4}, {l + s, t + s / 4}, {l + s / 2, t + s}},
            {{l, t + 3 * s / 4}, {l + s, t + 3 * s / 4}, {l + s / 2, t}}};
}

std::vector<Shape> Shapes()
{
    std::vector<Shape> shapes;
    {
        const double cx = 60.3, cy = 40.7, rx = 50, ry = 30;
        shapes.push_back({"ellipse",
                          [=](CPath& p) { AddEllipse(p, cx, cy, rx, ry); },
                          [=](double x, double y) {
                              double dx = (x - cx) / rx, dy = (y - cy) / ry;
                              return dx * dx + dy * dy <= 1.0;
                          },
                          {-1, -1}});
    }
    {
        // Both rectangles run clockwise; the outer one ends with an explicit edge back instead of a close.
        auto contours = FrameContours(10.5, 20.25, 90, 60);
        shapes.push_back({"frame",
                          [=](CPath& p) {
                              const auto& o = contours[0];
                              p.MoveTo(o[0].x, o[0].y);
                              for (int i = 1; i < 4; ++i)
                                  p.LineTo(o[i].x, o[i].y);
                              p.LineTo(o[0].x, o[0].y);
                              const auto& in = contours[1];
                              p.MoveTo(in[0].x, in[0].y);
                              for (int i = 1; i < 4; ++i)
                                  p.LineTo(in[i].x, in[i].y);
                              p.Close();
                          },
                          [=](double x, double y) { return InsideEvenOdd(contours, x, y); },
                          {55.5, 50.25}});
    }
    {
        auto star = PentagramPoints(60, 60, 50);
        shapes.push_back({"pentagram",
                          [=](CPath& p) {
                              p.MoveTo(star[0].x, star[0].y);
                              for (int i = 1; i < 5; ++i)
                                  p.LineTo(star[i].x, star[i].y);
                              p.Close();
                          },
                          [=](double x, double y) { return InsideEvenOdd({star}, x, y); },
                          {60, 60}});
    }
    {
        // The first triangle is left open, as the David star's builder leaves it.
        auto contours = DavidStarContours(15, 10, 90);
        shapes.push_back({"david_star",
                          [=](CPath& p) {
                              const auto& a = contours[0];
                              p.MoveTo(a[0].x, a[0].y);
                              p.LineTo(a[1].x, a[1].y);
                              p.LineTo(a[2].x, a[2].y);
                              p.LineTo(a[0].x, a[0].y);
                              const auto& b = contours[1];
                              p.MoveTo(b[0].x, b[0].y);
                              p.LineTo(b[1].x, b[1].y);
                              p.LineTo(b[2].x, b[2].y);
                              p.Close();
                          },
                          [=](double x, double y) { return InsideEvenOdd(contours, x, y); },
                          {60, 55}});
    }
    return shapes;
}

// Coverage of pixel (x, y) from 8 x 8 point samples.
int ReferenceCoverage(const Shape& shape, int x, int y)
{
    int hits = 0;
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i)
            hits += shape.inside(x + (i + 0.5) / 8, y + (j + 0.5) / 8) ? 1 : 0;
    return (hits * 255 + 32) / 64;
}

// An interleaved four-byte tile, as the renderers pass it: coverage goes into byte 0 of each pixel.
struct Tile
{
    CRect area;
    int pitch;
    std::vector<unsigned char> bytes;

    Tile(const CRect& r, unsigned char fill)
        : area(r), pitch(r.Width() * 4 + 8), bytes(size_t(pitch) * r.Height(), fill)
    {
    }
    unsigned char Alpha(int x, int y) const { return bytes[size_t(y - area.top) * pitch + (x - area.left) * 4]; }
    bool Rasterize(const CPath& path, int quality)
    {
        return path.Rasterize(area, bytes.data(), 4, pitch, FILL_RULE_EVEN_ODD, quality);
    }
};

class PathShapes : public ::testing::TestWithParam<int>
{
};

TEST_P(PathShapes, MatchesReferenceWritesEveryByteAndKeepsHolesEmpty)
{
    const int quality = GetParam();
    // A quality-16 edge pixel is within a few levels of its area. The fast 4 x 4 rasteriser also snaps edges to
    // quarter pixels, so an edge running along a row of samples can move a pixel by a third of full coverage.
    const int tolerance = quality >= 16 ? 24 : 100;
    for (const Shape& shape : Shapes()) {
        SCOPED_TRACE(shape.name);
        CPath path;
        shape.build(path);
        CRect box = path.GetBoundingBox();
        CRect area = box;
        area.InflateRect(3, 3);

        // Two different sentinels: any byte the rasteriser skipped differs between the runs.
        Tile first(area, 0xCD), second(area, 0x5A);
        ASSERT_TRUE(first.Rasterize(path, quality));
        ASSERT_TRUE(second.Rasterize(path, quality));

        const int w = area.Width(), h = area.Height();
        std::vector<int> want(size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                want[size_t(y) * w + x] = ReferenceCoverage(shape, area.left + x, area.top + y);
        // Pixels whose neighbours are as wholly inside or outside as they are lie clear of every edge and must be
        // exact; the rest may differ by the rasteriser's sampling.
        auto clearOfEdges = [&](int x, int y) {
            const int v = want[size_t(y) * w + x];
            if (v != 0 && v != 255)
                return false;
            for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                if (x + dx >= 0 && x + dx < w && y + dy >= 0 && y + dy < h && want[size_t(y + dy) * w + x + dx] != v)
                    return false;
            }
            return true;
        };

        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int px = area.left + x, py = area.top + y;
                const int got = first.Alpha(px, py);
                ASSERT_EQ(got, second.Alpha(px, py)) << "unwritten byte at " << px << "," << py;
                if (got != 0) {
                    ASSERT_TRUE(box.PtInRect(CPoint(px, py))) << "coverage outside the box at " << px << "," << py;
                }
                ASSERT_NEAR(got, want[size_t(y) * w + x], clearOfEdges(x, y) ? 0 : tolerance) << px << "," << py;
            }
        }
        // The other three bytes of each pixel belong to the colour planes and stay as they were.
        for (size_t i = 0; i < first.bytes.size(); ++i) {
            if ((i % first.pitch) % 4 != 0 || int(i % first.pitch) >= area.Width() * 4) {
                ASSERT_EQ(first.bytes[i], 0xCD) << "byte " << i;
            }
        }
        if (shape.hole.x >= 0) {
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx)
                    EXPECT_EQ(first.Alpha(int(shape.hole.x) + dx, int(shape.hole.y) + dy), 0);
            }
        }
        // The box is tight: its outermost rows and columns hold coverage.
        auto rowCovered = [&](int y) {
            for (int x = box.left; x < box.right; ++x)
                if (first.Alpha(x, y))
                    return true;
            return false;
        };
        auto columnCovered = [&](int x) {
            for (int y = box.top; y < box.bottom; ++y)
                if (first.Alpha(x, y))
                    return true;
            return false;
        };
        EXPECT_TRUE(rowCovered(box.top) && rowCovered(box.bottom - 1));
        EXPECT_TRUE(columnCovered(box.left) && columnCovered(box.right - 1));
    }
}

INSTANTIATE_TEST_SUITE_P(Qualities, PathShapes, ::testing::Values(2, 16));

TEST(Path, QualityOneGivesHardEdges)
{
    CPath path;
    Shapes()[0].build(path);
    Tile tile(path.GetBoundingBox(), 0xCD);
    ASSERT_TRUE(tile.Rasterize(path, 1));
    int inside = 0;
    for (int y = tile.area.top; y < tile.area.bottom; ++y) {
        for (int x = tile.area.left; x < tile.area.right; ++x) {
            ASSERT_TRUE(tile.Alpha(x, y) == 0 || tile.Alpha(x, y) == 255);
            inside += tile.Alpha(x, y) == 255;
        }
    }
    EXPECT_NEAR(inside, kPi * 50 * 30, 150);
}

// The renderers rasterise an object tile by tile; the tiles must join without seams.
TEST(Path, TilesMatchOneWholeArea)
{
    CPath path;
    Shapes()[2].build(path);
    const CRect whole(0, 0, 120, 120);
    Tile all(whole, 0xCD);
    ASSERT_TRUE(all.Rasterize(path, 16));
    for (int size : {37, 64, 100}) {
        for (int ty = 0; ty < 120; ty += size) {
            for (int tx = 0; tx < 120; tx += size) {
                Tile part(CRect(tx, ty, std::min(tx + size, 120), std::min(ty + size, 120)), 0xCD);
                ASSERT_TRUE(part.Rasterize(path, 16));
                for (int y = part.area.top; y < part.area.bottom; ++y) {
                    for (int x = part.area.left; x < part.area.right; ++x)
                        ASSERT_EQ(part.Alpha(x, y), all.Alpha(x, y)) << size << ": " << x << "," << y;
                }
            }
        }
    }
}

TEST(Path, BoundingBoxFollowsTheCurveNotItsControlPoints)
{
    CPath path;
    path.MoveTo(0, 0);
    path.CurveTo(0, 100, 100, 100, 100, 0);
    path.Close();
    // The curve's lowest point is at t = 0.5: 0.75 of the control height.
    EXPECT_EQ(path.GetBoundingBox(), CRect(0, 0, 100, 75));

    CPath empty;
    EXPECT_TRUE(empty.GetBoundingBox().IsRectNull());
    empty.MoveTo(5, 5);
    EXPECT_TRUE(empty.GetBoundingBox().IsRectNull());
    EXPECT_FALSE(empty.LineTo(NAN, 3));
    EXPECT_TRUE(empty.GetBoundingBox().IsRectNull());

    path.Clear();
    EXPECT_TRUE(path.GetBoundingBox().IsRectNull());
}

TEST(Path, AreaAwayFromTheOutlineIsCleared)
{
    CPath path;
    Shapes()[0].build(path);
    Tile tile(CRect(500, -300, 540, -260), 0xCD);
    ASSERT_TRUE(tile.Rasterize(path, 16));
    for (int y = tile.area.top; y < tile.area.bottom; ++y) {
        for (int x = tile.area.left; x < tile.area.right; ++x)
            ASSERT_EQ(tile.Alpha(x, y), 0);
    }
}

TEST(Path, RefusesBadArgumentsWithoutWriting)
{
    CPath path;
    Shapes()[0].build(path);
    const CRect area(0, 0, 16, 16);
    std::vector<unsigned char> buffer(16 * 16 * 4, 0xCD);
    struct Case
    {
        const char* what;
        unsigned char* data;
        int step;
        int pitch;
        int rule;
        int quality;
    } cases[] = {
        {"null buffer", nullptr, 4, 64, 0, 16},
        {"zero step", buffer.data(), 0, 64, 0, 16},
        {"overlapping rows", buffer.data(), 4, 32, 0, 16},
        {"unknown rule", buffer.data(), 4, 64, 7, 16},
        {"zero quality", buffer.data(), 4, 64, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(path.Rasterize(area, c.data, c.step, c.pitch, static_cast<FILL_RULE>(c.rule), c.quality));
        EXPECT_EQ(std::vector<unsigned char>(16 * 16 * 4, 0xCD), buffer);
    }
    // An empty area has nothing to write.
    EXPECT_TRUE(path.Rasterize(CRect(5, 5, 5, 9), nullptr, 4, 64, FILL_RULE_EVEN_ODD, 16));
}

} // namespace
