#include "app/docview/view_hit_test.h"

#include <gtest/gtest.h>

#include <numbers>

#include "app/objects/circle_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"

namespace {

TEST(ViewHitTest, HandleSquaresAndTextTargets)
{
    // The handle sits at (10, 20) once truncated.
    DPOINT handles[8] = {};
    handles[4] = DPOINT{10.9, 20.2};
    struct Case
    {
        CPoint pt;
        bool handle, textHandle;
    };
    const Case cases[] = {
        {{10, 20}, true, true},   {{8, 18}, true, true},   {{12, 22}, true, true},   {{13, 20}, false, true},
        {{10, 23}, false, true},  {{7, 20}, false, true},  {{4, 14}, false, true},   {{15, 25}, false, true},
        {{16, 20}, false, false}, {{3, 20}, false, false}, {{10, 26}, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HitHandle(handles, 4, c.pt), c.handle) << c.pt.x << ", " << c.pt.y;
        EXPECT_EQ(HitTextHandle(handles, 4, c.pt), c.textHandle) << c.pt.x << ", " << c.pt.y;
    }
    EXPECT_FALSE(HitHandle(handles, 8, CPoint(0, 0)));
    EXPECT_FALSE(HitHandle(nullptr, 0, CPoint(0, 0)));
}

class PageTest : public ::testing::Test
{
protected:
    PageTest() : page(nullptr, "p", "P", Settings()), map(IMAGE_MODE_RGBA, 256, 256) {}

    static NewPageSettings Settings()
    {
        NewPageSettings settings;
        settings.width = 400;
        settings.height = 300;
        return settings;
    }

    CPageItem* AddRectangle(double x, double y, SIZE size, double rotation = 0.0)
    {
        return page.AddObject(std::make_unique<CRectangleObject>(x, y, size, rotation));
    }

    SiteServicesFake services;
    CSitePage page;
    CPixMap map;
};

TEST_F(PageTest, GuidesAreHitFromOnePixelBeforeToTwoAfter)
{
    page.AddGuide(true, 50);
    page.AddGuide(true, 51);
    page.AddGuide(false, 200);
    const std::pair<int, int> horizontal[] = {{48, -1}, {49, 0}, {50, 0}, {52, 0}, {53, 1}, {54, -1}};
    for (const auto& [y, index] : horizontal)
        EXPECT_EQ(HitTestGuide(page, 0, y, true), index) << y;
    EXPECT_EQ(HitTestGuide(page, 199, 50, false), 0);
    EXPECT_EQ(HitTestGuide(page, 203, 50, false), -1);
}

TEST_F(PageTest, TransparentPixelsLetTheClickThroughToTheObjectBelow)
{
    AddRectangle(100, 100, SIZE{120, 120});
    page.AddObject(std::make_unique<CCircleObject>(100, 100, SIZE{100, 100}, 0.0));
    page.RenderDirtyObjects();

    EXPECT_EQ(HitTestItem(page, CPoint(100, 100), false, map), 1); // the circle's middle
    EXPECT_EQ(HitTestItem(page, CPoint(53, 53), false, map), 0);   // its transparent corner, over the rectangle
    EXPECT_EQ(HitTestItem(page, CPoint(30, 100), false, map), -1); // beside both
    // An object waiting to be rendered cannot be hit.
    page.GetItem(1)->GetCurrentObject()->SetDirty();
    EXPECT_EQ(HitTestItem(page, CPoint(100, 100), false, map), 0);
}

TEST_F(PageTest, SizingCursorsFollowTheEdgeDirection)
{
    struct Case
    {
        double rotation;
        int top, left;
    };
    const Case cases[] = {
        {0.0, kCursorSizeNS, kCursorSizeWE},
        {std::numbers::pi / 2, kCursorSizeWE, kCursorSizeNS},
        {std::numbers::pi, kCursorSizeNS, kCursorSizeWE},
        // Rotation turns anticlockwise on the screen: the top edge then rises to the right.
        {std::numbers::pi / 4, kCursorSizeNWSE, kCursorSizeNESW},
        {-std::numbers::pi / 4, kCursorSizeNESW, kCursorSizeNWSE},
    };
    for (const Case& c : cases) {
        CPageItem* item = AddRectangle(200, 150, SIZE{100, 60}, c.rotation);
        const DPOINT* handles = item->GetCurrentObject()->GetHandlePoints();
        EXPECT_EQ(GetSizingCursor(handles, 1), c.top) << c.rotation;
        EXPECT_EQ(GetSizingCursor(handles, 6), c.top) << c.rotation;
        EXPECT_EQ(GetSizingCursor(handles, 3), c.left) << c.rotation;
        EXPECT_EQ(GetSizingCursor(handles, 4), c.left) << c.rotation;
        EXPECT_EQ(GetSizingCursor(handles, 0), kCursorSizeNS);
    }
}

TEST_F(PageTest, CursorAndPromptForEachHit)
{
    CPageItem* selected = AddRectangle(100, 100, SIZE{100, 60});
    AddRectangle(300, 200, SIZE{60, 60});
    page.AddGuide(true, 250);
    page.RenderDirtyObjects();
    page.SelectItem(selected);
    // The selected rectangle spans 50..150 x 70..130.
    struct Case
    {
        const char* what;
        CPoint pt;
        CursorContext context;
        int cursor, prompt;
    };
    const CursorContext arrow;
    CursorContext other = arrow;
    other.isCurrentView = false;
    CursorContext dragging = arrow;
    dragging.dragging = true;
    CursorContext eyedropper = arrow;
    eyedropper.tool = kToolEyedropper;
    CursorContext text = arrow;
    text.tool = kToolText;
    const Case cases[] = {
        {"top handle", {100, 70}, arrow, kCursorSizeNS, kPromptResize},
        {"right handle", {151, 101}, arrow, kCursorSizeWE, kPromptResize},
        {"corner", {50, 130}, arrow, kCursorRotate, kPromptRotate},
        {"selected object", {90, 100}, arrow, kCursorMove, kPromptMove},
        {"other object", {300, 200}, arrow, kCursorArrow, kPromptNone},
        {"guide", {300, 251}, arrow, kCursorHorizontalGuide, kPromptNone},
        {"off the page", {450, 100}, arrow, kCursorDefault, kPromptNone},
        {"another view", {90, 100}, other, kCursorDefault, kPromptNone},
        {"a gesture runs", {90, 100}, dragging, kCursorDefault, kPromptNone},
        {"eyedropper", {90, 100}, eyedropper, kCursorEyedropper, kPromptNone},
        {"text tool", {90, 100}, text, kCursorText, kPromptNone},
    };
    for (const Case& c : cases) {
        const CursorChoice choice = ChooseCursor(page, c.pt, c.context, map);
        EXPECT_EQ(choice.cursor, c.cursor) << c.what;
        EXPECT_EQ(choice.prompt, c.prompt) << c.what;
    }

    page.SetGuidesHidden(true);
    EXPECT_EQ(ChooseCursor(page, CPoint(300, 251), arrow, map).cursor, kCursorArrow);
    // While the selected object waits to be rendered the cursor stays.
    selected->GetCurrentObject()->SetDirty();
    EXPECT_TRUE(ChooseCursor(page, CPoint(100, 70), arrow, map).keep);
}

} // namespace
