#include "platform/win/win_types.h"

#include <gtest/gtest.h>

TEST(CRectTest, IntersectRect)
{
    struct Case
    {
        CRect a, b;
        BOOL overlaps;
        CRect result;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {5, 5, 10, 10}},
        {{0, 0, 10, 10}, {2, 3, 4, 5}, TRUE, {2, 3, 4, 5}},
        // Touching edges share no pixel: right and bottom are outside.
        {{0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {}},
        {{0, 0, 10, 10}, {0, 10, 10, 20}, FALSE, {}},
        {{0, 0, 10, 10}, {9, 9, 20, 20}, TRUE, {9, 9, 10, 10}},
        {{0, 0, 10, 10}, {20, 20, 30, 30}, FALSE, {}},
        {{0, 0, 10, 10}, {5, 5, 5, 8}, FALSE, {}},
    };
    for (const Case& c : cases) {
        CRect r(1, 2, 3, 4);
        EXPECT_EQ(r.IntersectRect(c.a, c.b), c.overlaps);
        EXPECT_EQ(r, c.result) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(CRectTest, UnionRect)
{
    struct Case
    {
        CRect a, b;
        BOOL nonEmpty;
        CRect result;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 5, 15, 20}, TRUE, {0, 0, 15, 20}},
        {{0, 0, 10, 10}, {20, 20, 30, 30}, TRUE, {0, 0, 30, 30}},
        // An empty rectangle adds nothing, wherever it lies.
        {{0, 0, 10, 10}, {50, 50, 50, 60}, TRUE, {0, 0, 10, 10}},
        {{-5, -5, -5, -5}, {1, 2, 3, 4}, TRUE, {1, 2, 3, 4}},
        {{0, 0, 0, 0}, {4, 4, 2, 2}, FALSE, {}},
    };
    for (const Case& c : cases) {
        CRect r;
        EXPECT_EQ(r.UnionRect(c.a, c.b), c.nonEmpty);
        EXPECT_EQ(r, c.result) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST(CRectTest, EmptinessAndPointsExcludeRightAndBottom)
{
    EXPECT_TRUE(CRect(0, 0, 0, 10).IsRectEmpty());
    EXPECT_TRUE(CRect(0, 0, 10, 0).IsRectEmpty());
    EXPECT_TRUE(CRect(10, 0, 0, 10).IsRectEmpty());
    EXPECT_FALSE(CRect(0, 0, 1, 1).IsRectEmpty());

    const CRect r(10, 20, 30, 40);
    struct Case
    {
        CPoint p;
        bool inside;
    } cases[] = {
        {{10, 20}, true}, {{29, 39}, true},  {{30, 20}, false}, {{10, 40}, false},
        {{9, 25}, false}, {{15, 19}, false}, {{30, 40}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(r.PtInRect(c.p), c.inside) << c.p.x << "," << c.p.y;
    EXPECT_FALSE(CRect(5, 5, 5, 5).PtInRect(CPoint(5, 5)));
}

TEST(ColorRefTest, ByteOrderIsBlueGreenRed)
{
    constexpr COLORREF c = RGB(0x12, 0x34, 0x56);
    static_assert(c == 0x00563412);
    EXPECT_EQ(GetRValue(c), 0x12);
    EXPECT_EQ(GetGValue(c), 0x34);
    EXPECT_EQ(GetBValue(c), 0x56);
}
