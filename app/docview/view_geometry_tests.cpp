#include "app/docview/view_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(ViewGeometry, PageOriginCentresOnlyWhereTheClientIsLarger)
{
    struct Case
    {
        CSize client, page;
        CPoint origin;
    };
    const Case cases[] = {
        {{1000, 800}, {740, 600}, {130, 100}}, {{741, 601}, {740, 600}, {0, 0}}, // one spare pixel has no half
        {{743, 603}, {740, 600}, {1, 1}},      {{500, 800}, {740, 600}, {0, 100}}, {{1000, 400}, {740, 600}, {130, 0}},
        {{740, 600}, {740, 600}, {0, 0}},      {{0, 0}, {740, 600}, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetPageOrigin(c.client, c.page), c.origin) << c.client.cx << " x " << c.client.cy;
}

TEST(ViewGeometry, ClientAndPagePointsConvertBothWaysUnderScrolling)
{
    const CPoint origin(130, 0), scroll(0, 250);
    EXPECT_EQ(ClientToPage(CPoint(130, 0), origin, scroll), CPoint(0, 250));
    EXPECT_EQ(ClientToPage(CPoint(10, 10), origin, scroll), CPoint(-120, 260));
    for (const CPoint p : {CPoint(0, 0), CPoint(739, 599), CPoint(-5, 1000)})
        EXPECT_EQ(ClientToPage(PageToClient(p, origin, scroll), origin, scroll), p);

    // Three pixels of room around the rectangle for the handles.
    EXPECT_EQ(PageRectToClient(CRect(10, 300, 50, 320), origin, scroll), CRect(137, 47, 183, 73));
}

TEST(ViewGeometry, ScrollStepsAreOneScreenAndATenth)
{
    const ScrollSizes small = ComputeScrollSizes(CSize(740, 600), CSize(500, 300));
    EXPECT_EQ(small.total, CSize(740, 600));
    EXPECT_EQ(small.page, CSize(500, 300));
    EXPECT_EQ(small.line, CSize(74, 60));
    // A client larger than the page pages by the page; a tenth rounds towards zero.
    const ScrollSizes large = ComputeScrollSizes(CSize(745, 19), CSize(1000, 900));
    EXPECT_EQ(large.page, CSize(745, 19));
    EXPECT_EQ(large.line, CSize(74, 1));

    EXPECT_EQ(ClampScrollPosition(CPoint(-4, 900), CSize(500, 300), CSize(740, 600)), CPoint(0, 300));
    EXPECT_EQ(ClampScrollPosition(CPoint(20, 20), CSize(1000, 900), CSize(740, 600)), CPoint(0, 0));
    EXPECT_EQ(GetVisiblePageRect(CPoint(300, 400), CSize(500, 300), CSize(740, 600)), CRect(300, 400, 740, 600));
}

TEST(ViewGeometry, SurroundCoversTheAreaOutsideThePageExactlyOnce)
{
    const CSize page(100, 80);
    const CRect areas[] = {CRect(-30, -20, 130, 110), CRect(10, 10, 50, 50), CRect(-5, 30, 20, 200),
                           CRect(90, -10, 200, 5)};
    for (const CRect& area : areas) {
        const std::vector<CRect> parts = SurroundParts(area, page);
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) {
                const CPoint p(x, y);
                const bool outside = !CRect(0, 0, page.cx, page.cy).PtInRect(p);
                int covered = 0;
                for (const CRect& part : parts)
                    covered += part.PtInRect(p) ? 1 : 0;
                ASSERT_EQ(covered, outside ? 1 : 0) << x << ", " << y;
            }
    }
    // Above, below, left, right, in that order.
    const std::vector<CRect> all = SurroundParts(CRect(-10, -10, 110, 90), page);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0], CRect(-10, -10, 110, 0));
    EXPECT_EQ(all[1], CRect(-10, 80, 110, 90));
    EXPECT_EQ(all[2], CRect(-10, 0, 0, 80));
    EXPECT_EQ(all[3], CRect(100, 0, 110, 80));
}

TEST(ViewGeometry, TilesCoverTheRectangleRowByRow)
{
    std::vector<CRect> tiles;
    ForEachTile(CRect(-10, 5, 600, 300), 256, [&](const CRect& tile) { tiles.push_back(tile); });
    ASSERT_EQ(tiles.size(), 6u);
    EXPECT_EQ(tiles[0], CRect(-10, 5, 246, 261));
    EXPECT_EQ(tiles[2], CRect(502, 5, 600, 261));
    EXPECT_EQ(tiles[3], CRect(-10, 261, 246, 300));
    EXPECT_EQ(tiles[5], CRect(502, 261, 600, 300));
    tiles.clear();
    ForEachTile(CRect(5, 5, 5, 50), 256, [&](const CRect& tile) { tiles.push_back(tile); });
    EXPECT_TRUE(tiles.empty());
}

} // namespace
