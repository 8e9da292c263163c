#include "controls/bitmap_list_control.h"

#include "controls/control_test_support.h"

#include <gtest/gtest.h>

namespace {

using detail::BitmapListItemAt;
using detail::BitmapListMaxOffset;
using detail::LayOutBitmapList;

TEST(BitmapListRules, LayoutFitsTheRowsBetweenTheEdges)
{
    const struct
    {
        const char* name;
        int width, height, rows;
        int listHeight, thumb;
        CRect left, right, list;
    } cases[] = {
        {"one row", 200, 40, 1, 36, 34, CRect(2, 2, 14, 38), CRect(186, 2, 198, 38), CRect(15, 2, 185, 38)},
        {"two rows", 200, 40, 2, 35, 15, CRect(2, 2, 14, 37), CRect(186, 2, 198, 37), CRect(15, 2, 185, 37)},
        {"no rows count as one", 200, 40, 0, 36, 34, CRect(2, 2, 14, 38), CRect(186, 2, 198, 38),
         CRect(15, 2, 185, 38)},
        {"too low for its rows", 200, 6, 3, 0, 0, CRect(), CRect(), CRect()},
    };
    for (const auto& c : cases) {
        const auto layout = LayOutBitmapList(c.width, c.height, 2, 2, 12, c.rows);
        EXPECT_EQ(layout.listHeight, c.listHeight) << c.name;
        EXPECT_EQ(layout.thumb, c.thumb) << c.name;
        EXPECT_EQ(layout.left, c.left) << c.name;
        EXPECT_EQ(layout.right, c.right) << c.name;
        EXPECT_EQ(layout.list, c.list) << c.name;
    }
}

TEST(BitmapListRules, ItemUnderAPointCountsColumnsOfRows)
{
    // Thumbnails of 15 on a grid of 18, list at (15, 2).
    const struct
    {
        const char* name;
        int x, y, offset, rows, count, index;
    } cases[] = {
        {"first", 15, 2, 0, 2, 10, 0},
        {"second row", 16, 20, 0, 2, 10, 1},
        {"second column", 33, 2, 0, 2, 10, 2},
        {"scrolled by a column", 15, 20, 18, 2, 10, 3},
        {"beyond the last item", 15 + 18 * 5, 2, 0, 2, 10, -1},
        {"below the last row", 15, 2 + 36, 0, 2, 10, -1},
        {"left of the list", 14, 2, 0, 2, 10, -1},
        {"empty list", 15, 2, 0, 1, 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BitmapListItemAt(c.x, c.y, 15, 2, c.offset, 15, c.rows, c.count), c.index) << c.name;
}

TEST(BitmapListRules, ScrollingStopsWhereTheLastColumnMeetsTheEnd)
{
    const struct
    {
        int count, rows, thumb, width, max;
    } cases[] = {{0, 1, 34, 170, 0}, {4, 1, 34, 170, 0}, {5, 1, 34, 170, 14}, {10, 2, 15, 50, 39}, {9, 2, 15, 50, 39}};
    for (const auto& c : cases)
        EXPECT_EQ(BitmapListMaxOffset(c.count, c.rows, c.thumb, c.width), c.max) << c.count << " items";
}

class BitmapList : public ControlHost
{
protected:
    // 200 x 40, one row of 34-pixel thumbnails, scroll areas of 12, steps of 10; ten colour items.
    CBitmapListControl* MakeList(int items = 10, int step = 10)
    {
        auto* list = Make<CBitmapListControl>(200, 40);
        list->Init(12, 0, 1, step);
        for (int i = 0; i < items; ++i)
            list->Add(static_cast<unsigned long>(0x101010 * i));
        list->Update();
        return list;
    }
    CPoint Cell(CBitmapListControl* list, int index)
    {
        const int cell = list->GetThumbSize() + 3;
        return CPoint(list->ListArea().left + index * cell + 5 - list->GetOffset(), list->ListArea().top + 5);
    }
    void Click(CBitmapListControl* list, CPoint at)
    {
        Press(list, at.x, at.y);
        Release(list, at.x, at.y);
    }
};

TEST_F(BitmapList, ClickSelectsAndEveryReleaseNotifies)
{
    auto* list = MakeList(3);
    EXPECT_EQ(list->GetSelected(), -1);
    const struct
    {
        const char* name;
        CPoint at;
        int selected;
        std::vector<unsigned> codes;
    } clicks[] = {
        {"an item", Cell(list, 1), 1, {4033, 4034}},
        {"the same item", Cell(list, 1), 1, {4034}},
        {"another item", Cell(list, 2), 2, {4033, 4034}},
        {"after the last item", Cell(list, 4), -1, {4033, 4034}},
        {"after the last item again", Cell(list, 4), -1, {4034}},
    };
    for (const auto& c : clicks) {
        m_received.clear();
        Click(list, c.at);
        EXPECT_EQ(list->GetSelected(), c.selected) << c.name;
        EXPECT_EQ(Codes(), c.codes) << c.name;
    }
    list->Select(0);
    EXPECT_EQ(list->GetSelected(), 0);
}

TEST_F(BitmapList, ScrollAreasMoveTheStripWithinItsEnds)
{
    auto* list = MakeList(10, 80);
    const int max = list->GetMaxOffset(); // ten columns of 37 less the list's 170 and the last gap: 199
    ASSERT_EQ(max, 199);
    const CRect left = list->LeftScrollArea(), right = list->RightScrollArea();
    const struct
    {
        CRect area;
        int offset;
    } clicks[] = {{left, 80},        {left, 160},        {left, max}, {left, max},
                  {right, max - 80}, {right, max - 160}, {right, 0},  {right, 0}};
    for (const auto& c : clicks) {
        m_received.clear();
        Click(list, CPoint(c.area.left + 2, c.area.top + 2));
        EXPECT_EQ(list->GetOffset(), c.offset);
        EXPECT_EQ(Codes(), std::vector<unsigned>{BITMAP_LIST_NOTIFY_RELEASED});
    }
    // Scrolled, a click picks the item that is shown there.
    Click(list, CPoint(left.left + 2, left.top + 2));
    Click(list, CPoint(list->ListArea().left + 1, list->ListArea().top + 1));
    EXPECT_EQ(list->GetSelected(), 80 / (list->GetThumbSize() + 3));
}

TEST_F(BitmapList, HoldingAScrollAreaKeepsScrollingUntilTheRelease)
{
    auto* list = MakeList(10, 2);
    const CRect left = list->LeftScrollArea();
    Press(list, left.left + 2, left.top + 2);
    EXPECT_EQ(list->GetOffset(), 2);
    EXPECT_TRUE(SettleUntil([&] { return list->GetOffset() > 2; }));
    const int held = list->GetOffset();
    Release(list, left.left + 2, left.top + 2);
    Settle();
    EXPECT_EQ(list->GetOffset(), held) << "the release stops the scrolling";
    // A lost capture stops it as well, without a release notification.
    m_received.clear();
    Press(list, left.left + 2, left.top + 2);
    LoseCapture(list);
    const int lost = list->GetOffset();
    Settle();
    EXPECT_EQ(list->GetOffset(), lost);
    EXPECT_TRUE(m_received.empty());
}

TEST_F(BitmapList, RemovingAnItemKeepsTheSelectionOnItsItem)
{
    const struct
    {
        int selected, removed, after;
    } cases[] = {{3, 3, -1}, {3, 1, 2}, {3, 5, 3}, {0, 0, -1}, {3, 10, 3}, {3, -1, 3}};
    for (const auto& c : cases) {
        auto* list = MakeList(6);
        list->Select(c.selected);
        list->Remove(c.removed);
        EXPECT_EQ(list->GetSelected(), c.after) << c.selected << " less " << c.removed;
        EXPECT_EQ(list->GetCount(), c.removed >= 0 && c.removed < 6 ? 5 : 6);
        list->Destroy();
    }
}

TEST_F(BitmapList, StripShowsSwatchesAndScaledPicturesInColumnsAndRows)
{
    auto* list = Make<CBitmapListControl>(200, 40);
    list->Init(12, 0, 2, 10);
    const int t = list->GetThumbSize(), cell = t + 3;
    CImage red(IMAGE_MODE_RGB, 40, 30);
    for (int y = 0; y < 30; ++y) {
        unsigned char* row = red.GetData() + static_cast<size_t>(y) * red.GetStride();
        for (int x = 0; x < 40; ++x) {
            row[3 * x] = 220;
            row[3 * x + 1] = 10;
            row[3 * x + 2] = 20;
        }
    }
    list->Add(0x00ff00ul);
    ASSERT_TRUE(list->Add(&red));
    list->Add(0xff0000ul);
    EXPECT_FALSE(list->Add(nullptr));
    EXPECT_EQ(list->GetCount(), 3);
    list->Update();
    const DisplayBuffer& strip = list->Strip();
    EXPECT_EQ(strip.Get(1, 1), (ControlRgb{0, 255, 0})) << "item 0: column 0, row 0";
    EXPECT_EQ(strip.Get(1 + t / 2, cell + 1 + t / 2), (ControlRgb{220, 10, 20})) << "item 1: column 0, row 1";
    EXPECT_EQ(strip.Get(cell + 1, 1), (ControlRgb{0, 0, 255})) << "item 2: column 1, row 0";
    EXPECT_EQ(strip.Get(cell + 1, cell + 1), (ControlRgb{255, 255, 255})) << "no item: white";
    EXPECT_EQ(strip.Get(0, 0), (ControlRgb{255, 255, 255})) << "the grid's margin";
}

TEST_F(BitmapList, MouseOverAnItemHighlightsItUntilItLeaves)
{
    auto* list = MakeList(2);
    const struct
    {
        CPoint at;
        int hover;
    } moves[] = {{Cell(list, 0), 0}, {Cell(list, 1), 1}, {Cell(list, 3), -1}, {CPoint(3, 3), -1}};
    for (const auto& m : moves) {
        Mouse(list, wxEVT_MOTION, m.at.x, m.at.y, false);
        EXPECT_EQ(list->GetHover(), m.hover);
    }
    Mouse(list, wxEVT_MOTION, Cell(list, 0).x, Cell(list, 0).y, false);
    Mouse(list, wxEVT_LEAVE_WINDOW, 300, 5, false);
    EXPECT_EQ(list->GetHover(), -1);
}

} // namespace
