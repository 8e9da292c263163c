#include "app/shell/logic/tools_bar_logic.h"

#include <gtest/gtest.h>

#include "app/model/app_settings.h"

namespace {

TEST(ToolsBarLogic, ButtonsStandInThreeGroupsAndOverlappedRowsBelongAbove)
{
    // Images 24 high: the first button 7 pixels below the 20-pixel well.
    const std::vector<ToolButtonPlace> places = LayOutToolButtons(24);
    ASSERT_EQ(places.size(), 13u);
    const int expected[] = {27, 51, 74, 103, 127, 150, 173, 202, 226, 249, 272, 295, 318};
    for (size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(places[i].pos, CPoint(2, expected[i])) << i;
        EXPECT_EQ(places[i].tool, kToolButtons[i].tool);
    }
    const CSize image(28, 24);
    struct Case
    {
        CPoint pt;
        int hit;
    };
    const Case cases[] = {
        {{2, 27}, 0},
        {{29, 50}, 0},
        {{30, 40}, -1},
        {{1, 40}, -1},
        {{10, 51}, 1},
        // Text and shape overlap by a row (74): it is the text button's.
        {{10, 74}, 1},
        {{10, 75}, 2},
        // The gap between the drawing tools and the content tools, and below the last button.
        {{10, 99}, -1},
        {{10, 102}, -1},
        {{10, 103}, 3},
        {{10, 342}, -1},
        {{10, 341}, 12},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitToolButton(places, c.pt, image), c.hit) << c.pt.x << ", " << c.pt.y;
}

TEST(ToolsBarLogic, TheWellIsFramedAndFilledInDisplayOrder)
{
    EXPECT_TRUE(InColorWell(CPoint(2, 2)));
    EXPECT_TRUE(InColorWell(CPoint(33, 21)));
    EXPECT_FALSE(InColorWell(CPoint(34, 10)));
    EXPECT_FALSE(InColorWell(CPoint(10, 22)));

    CPixMap well(IMAGE_MODE_RGB, kWellWidth, kWellHeight);
    BuildColorWell(well, CColor(0, 0, 255));
    const auto bgr = [&](int x, int y) {
        return std::array<int, 3>{*well.Sample(x, y, 0), *well.Sample(x, y, 1), *well.Sample(x, y, 2)};
    };
    EXPECT_EQ(bgr(0, 0), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(bgr(31, 0), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(bgr(0, 19), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(bgr(30, 10), (std::array<int, 3>{128, 128, 128}));
    EXPECT_EQ(bgr(10, 18), (std::array<int, 3>{128, 128, 128}));
    EXPECT_EQ(bgr(1, 1), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(bgr(29, 17), (std::array<int, 3>{255, 0, 0}));
    FillColorWell(well, CColor(10, 20, 30));
    EXPECT_EQ(bgr(15, 9), (std::array<int, 3>{30, 20, 10}));
    EXPECT_EQ(bgr(30, 10), (std::array<int, 3>{128, 128, 128}));

    EXPECT_EQ(FitToolsBar(CSize(28, 24), 13, CSize(4, 6)), CSize(36, 6 + 26 * 13 + 20 + 10 - 23));
}

TEST(ToolsBarLogic, ACompanionToolIsCurrentOnlyWhileHeld)
{
    CToolsBarState state;
    EXPECT_EQ(state.GetTool(), 1);
    state.Press(5);
    EXPECT_EQ(state.Release(), 0);
    EXPECT_EQ(state.GetTool(), 5);
    state.Press(14);
    EXPECT_EQ(state.GetTool(), 14);
    EXPECT_EQ(state.Release(), 14);
    EXPECT_EQ(state.GetTool(), 5);
    EXPECT_EQ(state.Release(), 0);
}

TEST(ToolsBarLogic, HintsAndShapeButtons)
{
    CAppSettings settings;
    settings.m_showPipetteToolHelp = false;
    ASSERT_NE(ToolHintFlag(settings, 11), nullptr);
    EXPECT_FALSE(*ToolHintFlag(settings, 11));
    EXPECT_EQ(ToolHintFlag(settings, 9), &settings.m_showFormularToolHelp);
    EXPECT_EQ(ToolHintFlag(settings, 4), nullptr);
    EXPECT_EQ(ToolHintFlag(settings, 12), nullptr);

    const ShapeButtonInfo* tab = FindShapeButton(1274);
    ASSERT_NE(tab, nullptr);
    EXPECT_STREQ(tab->tooltip, "Tab");
    EXPECT_EQ(tab->shapeKind, 15);
    EXPECT_EQ(FindShapeButton(1268), nullptr);
    EXPECT_EQ(FindShapeButton(kRectangleShapeButton)->shapeKind, 1);
}

} // namespace
