#include "app/docview/mouse_tools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "app/docview/view_hit_test.h"
#include "app/model/fill_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_editing_test_support.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"

namespace {

class HostFake : public MouseToolHost
{
public:
    void HoldMouse() override { ++captures; }
    void LetMouseGo() override { ++releases; }
    void InvalidatePageRect(const CRect& rect, bool) override { invalidated.push_back(rect); }
    void InvalidateAll(bool) override { ++wholeRepaints; }
    CRect GetVisiblePageRect() const override { return CRect(0, 0, 400, 300); }
    CSize GetClientExtent() const override { return CSize(400, 300); }
    void ScrollTo(const CPoint& scroll, const CPoint&) override { scrolls.push_back(scroll); }
    void SetStatusText(const std::string& text) override { status = text; }
    void SetMoveCursor() override {}
    void TakeFocus() override {}
    void EndTextEditing() override { ++textEditsEnded; }

    int captures = 0, releases = 0, wholeRepaints = 0, textEditsEnded = 0;
    std::vector<CRect> invalidated;
    std::vector<CPoint> scrolls;
    std::string status;
};

class MouseToolsTest : public ::testing::Test
{
protected:
    MouseToolsTest() : page(nullptr, "p", "P", Settings()), tools(page, host) { services.tool = kMouseToolArrow; }

    static NewPageSettings Settings()
    {
        NewPageSettings settings;
        settings.width = 400;
        settings.height = 300;
        settings.background.SetColor(CColor(10, 20, 30));
        return settings;
    }

    CPageItem* AddRectangle(double x, double y, SIZE size, double rotation = 0.0)
    {
        CPageItem* item = page.AddObject(std::make_unique<CRectangleObject>(x, y, size, rotation));
        page.RenderDirtyObjects();
        return item;
    }

    const std::vector<int>& Recorded() { return static_cast<RecordingUndoManager*>(page.GetUndoManager())->recorded; }

    void Press(CPoint pt, bool shift = false, bool ctrl = false) { tools.OnLButtonDown({pt, shift, ctrl, true}); }
    void Drag(CPoint pt, bool shift = false, bool ctrl = false) { tools.OnMouseMove({pt, shift, ctrl, true}); }
    void Release(CPoint pt) { tools.OnLButtonUp({pt, false, false, false}); }

    SiteServicesFake services;
    CSitePage page;
    HostFake host;
    CMouseTools tools;
};

TEST_F(MouseToolsTest, AMoveStartsAtThreePixelsAndRecordsOneStep)
{
    // 50 x 40 about (100, 100): 75..125 x 80..120.
    CPageItem* item = AddRectangle(100, 100, SIZE{50, 40});
    Press(CPoint(100, 100));
    EXPECT_TRUE(item->IsSelected());
    EXPECT_TRUE(tools.IsDragging());
    Drag(CPoint(102, 102));
    EXPECT_EQ(item->GetRect(), CRect(75, 80, 125, 120));
    EXPECT_TRUE(Recorded().empty());
    Drag(CPoint(103, 101));
    EXPECT_EQ(item->GetRect(), CRect(78, 81, 128, 121));
    Drag(CPoint(110, 101));
    Release(CPoint(110, 101));
    EXPECT_EQ(item->GetRect(), CRect(85, 81, 135, 121));
    EXPECT_EQ(Recorded(), std::vector<int>{2});
    EXPECT_FALSE(tools.IsDragging());
    EXPECT_FALSE(page.IsSelectionFrozen());
    EXPECT_EQ(host.captures, host.releases);

    // A 2-pixel drag of the selected object records its step at the press, as the move may follow.
    Press(CPoint(100, 100));
    Drag(CPoint(102, 100));
    Release(CPoint(102, 100));
    EXPECT_EQ(item->GetRect(), CRect(87, 81, 137, 121));
}

TEST_F(MouseToolsTest, AnUnselectedObjectDraggedTwoPixelsStaysAndRecordsNothing)
{
    CPageItem* item = AddRectangle(100, 100, SIZE{50, 40});
    Press(CPoint(100, 100));
    Drag(CPoint(102, 98));
    Release(CPoint(102, 98));
    EXPECT_EQ(item->GetRect(), CRect(75, 80, 125, 120));
    EXPECT_TRUE(Recorded().empty());
    // Only the moved object's area is repainted while it is dragged.
    host.invalidated.clear();
    Press(CPoint(100, 100));
    Drag(CPoint(140, 100));
    ASSERT_FALSE(host.invalidated.empty());
    EXPECT_LE(host.invalidated.back().Width(), 50 + 40 + 12);
}

TEST_F(MouseToolsTest, AMovedTopEdgeSnapsOnePixelBelowAGuide)
{
    CPageItem* item = AddRectangle(100, 100, SIZE{50, 40});
    page.AddGuide(true, 60);
    // Dragged up 17 pixels the top would be at 63, 3 from the guide.
    Press(CPoint(100, 100));
    Drag(CPoint(100, 83));
    Release(CPoint(100, 83));
    EXPECT_EQ(item->GetRect().top, 61);
    // The bottom edge ends on a guide line.
    page.AddGuide(true, 170);
    Press(CPoint(100, 80));
    Drag(CPoint(100, 146));
    Release(CPoint(100, 146));
    EXPECT_EQ(item->GetRect().bottom, 170);
}

TEST_F(MouseToolsTest, ABandDrawsAShapeAndAPlainClickLeavesNothing)
{
    services.tool = kMouseToolRectangle;
    Press(CPoint(50, 60));
    Release(CPoint(50, 60));
    EXPECT_EQ(page.GetItemCount(), 0);
    EXPECT_TRUE(Recorded().empty());
    EXPECT_EQ(services.tool, kMouseToolArrow);

    services.tool = kMouseToolRectangle;
    Press(CPoint(50, 60));
    Drag(CPoint(90, 80));
    Drag(CPoint(150, 100));
    Release(CPoint(150, 100));
    ASSERT_EQ(page.GetItemCount(), 1);
    SIZE size;
    page.GetItem(0)->GetCurrentObject()->GetSize(size);
    EXPECT_EQ(size.cx, 100);
    EXPECT_EQ(size.cy, 40);
    EXPECT_TRUE(page.GetItem(0)->IsSelected());
    EXPECT_EQ(Recorded(), std::vector<int>{0});
    EXPECT_EQ(services.tool, kMouseToolArrow);

    // Ctrl makes it square; a drag past the page's edge stops at it.
    services.tool = kMouseToolCircle;
    Press(CPoint(350, 250));
    Drag(CPoint(500, 270), false, true);
    Release(CPoint(500, 270));
    page.GetItem(1)->GetCurrentObject()->GetSize(size);
    EXPECT_EQ(size.cx, 20);
    EXPECT_EQ(size.cy, 20);
}

TEST_F(MouseToolsTest, ASmallHtmlBandMakesA15By15Object)
{
    services.tool = kMouseToolHtml;
    Press(CPoint(30, 40));
    CRect band;
    Drag(CPoint(35, 45));
    ASSERT_TRUE(tools.GetBand(band));
    EXPECT_EQ(band, CRect(30, 40, 35, 45));
    Release(CPoint(35, 45));
    ASSERT_EQ(page.GetItemCount(), 1);
    EXPECT_EQ(page.GetItem(0)->GetRect(), CRect(30, 40, 45, 55));
    EXPECT_EQ(Recorded(), std::vector<int>{0});
    EXPECT_EQ(services.objectPageCommands, std::vector<int>{-1558});
    EXPECT_FALSE(tools.GetBand(band));
}

TEST_F(MouseToolsTest, ShiftKeepsProportionsWhileAnEdgeIsDragged)
{
    // 100 x 50 about (200, 150): the right handle at (250, 150).
    CPageItem* item = AddRectangle(200, 150, SIZE{100, 50});
    page.SelectItem(item);
    Press(CPoint(250, 150));
    EXPECT_EQ(Recorded(), std::vector<int>{2});
    Drag(CPoint(300, 150), true);
    // The status bar names the keys that change a resize while it runs.
    EXPECT_FALSE(host.status.empty());
    Release(CPoint(300, 150));
    EXPECT_TRUE(host.status.empty());
    SIZE size;
    item->GetCurrentObject()->GetSize(size);
    EXPECT_EQ(size.cx, 150);
    EXPECT_EQ(size.cy, 75);

    // Without Shift only the dragged side changes.
    Press(CPoint(300, 150));
    Drag(CPoint(350, 150));
    Release(CPoint(350, 150));
    item->GetCurrentObject()->GetSize(size);
    EXPECT_EQ(size.cx, 200);
    EXPECT_EQ(size.cy, 75);
}

TEST_F(MouseToolsTest, CtrlTurnsByWholeEighths)
{
    CPageItem* item = AddRectangle(200, 150, SIZE{100, 50});
    page.SelectItem(item);
    // The top-right corner at (250, 125); the pointer goes round about the centre by about 50 degrees.
    Press(CPoint(250, 125));
    const double start = std::atan2(-25.0, 50.0);
    const double turn = 50.0 * std::numbers::pi / 180;
    const CPoint to(200 + static_cast<int>(std::lround(55.9 * std::cos(start - turn))),
                    150 + static_cast<int>(std::lround(55.9 * std::sin(start - turn))));
    Drag(to, false, true);
    Release(to);
    const double rotation = item->GetCurrentObject()->GetRotation();
    const double eighths = rotation / (std::numbers::pi / 4);
    EXPECT_NEAR(eighths, std::round(eighths), 1e-9);
    EXPECT_NEAR(std::fmod(rotation, 2 * std::numbers::pi), std::numbers::pi / 4, 1e-9);
    EXPECT_EQ(Recorded(), std::vector<int>{2});
}

TEST_F(MouseToolsTest, AUserGroupResizesAndTurnsByItsOwnHandles)
{
    AddRectangle(150, 150, SIZE{60, 40});
    AddRectangle(250, 150, SIZE{60, 40});
    page.SelectAll();
    CObjectFrame* group = page.CreateGroup();
    ASSERT_NE(group, nullptr);
    ASSERT_TRUE(page.IsSingleUserGroupSelected());

    // The group spans 120..280: its right handle widens it, its members with it.
    const SIZE start = group->GetSize();
    const DPOINT right = group->GetHandles()[4];
    Press(CPoint(static_cast<int>(right.x), static_cast<int>(right.y)));
    Drag(CPoint(static_cast<int>(right.x) + 40, static_cast<int>(right.y)));
    Release(CPoint(static_cast<int>(right.x) + 40, static_cast<int>(right.y)));
    EXPECT_EQ(group->GetSize().cx, start.cx + 40);
    EXPECT_EQ(Recorded(), std::vector<int>{2});

    // A corner turns it; with Ctrl by whole eighths.
    const DPOINT corner = group->GetHandles()[2];
    const DPOINT centre = group->GetCenter();
    const double reach = std::hypot(corner.x - centre.x, corner.y - centre.y);
    const double turn = std::atan2(corner.y - centre.y, corner.x - centre.x) - 0.9;
    const CPoint to(static_cast<int>(std::lround(centre.x + reach * std::cos(turn))),
                    static_cast<int>(std::lround(centre.y + reach * std::sin(turn))));
    Press(CPoint(static_cast<int>(corner.x), static_cast<int>(corner.y)));
    Drag(to, false, true);
    const double eighths = group->GetAngle() / (std::numbers::pi / 4);
    EXPECT_NEAR(eighths, std::round(eighths), 1e-9);
    EXPECT_GT(group->GetAngle(), 0.1);
    Release(to);
    EXPECT_TRUE(page.IsSingleUserGroupSelected());
    EXPECT_EQ(Recorded(), (std::vector<int>{2, 2}));
}

TEST_F(MouseToolsTest, TheRubberBandTakesATurnedObjectOnlyThroughItsOutline)
{
    // A square turned an eighth: a diamond about (200, 150) reaching 70 pixels each way.
    CPageItem* diamond = AddRectangle(200, 150, SIZE{100, 100}, std::numbers::pi / 4);
    CPageItem* plain = AddRectangle(50, 50, SIZE{20, 20});
    page.SelectItem(plain);
    // Starting beside both, the band closes on the diamond's bounding box corner.
    Press(CPoint(125, 75));
    EXPECT_FALSE(plain->IsSelected());
    Drag(CPoint(150, 100));
    EXPECT_FALSE(diamond->IsSelected());
    Drag(CPoint(180, 130));
    EXPECT_TRUE(diamond->IsSelected());
    // Drawn back, it lets the object go again.
    Drag(CPoint(150, 100));
    EXPECT_FALSE(diamond->IsSelected());
    Drag(CPoint(180, 130));
    Release(CPoint(180, 130));
    EXPECT_TRUE(diamond->IsSelected());
    EXPECT_FALSE(plain->IsSelected());
    EXPECT_TRUE(Recorded().empty());
}

TEST_F(MouseToolsTest, ShiftAddsAndCtrlTakesOutAndCtrlBesideObjectsDoesNothing)
{
    CPageItem* a = AddRectangle(50, 50, SIZE{20, 20});
    CPageItem* b = AddRectangle(150, 50, SIZE{20, 20});
    page.SelectItem(a);
    Press(CPoint(150, 50), true);
    EXPECT_TRUE(a->IsSelected() && b->IsSelected());
    EXPECT_FALSE(tools.IsDragging());
    Press(CPoint(50, 50), false, true);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    Press(CPoint(300, 250), false, true);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(tools.IsDragging());
}

TEST_F(MouseToolsTest, AGuideSticksToTheEdgeAndGoesWhenDraggedOffThePage)
{
    page.AddGuide(false, 100);
    page.AddGuide(false, 200);
    Press(CPoint(100, 150));
    EXPECT_TRUE(tools.IsGuideDrag());
    Drag(CPoint(1, 150));
    Release(CPoint(1, 150));
    ASSERT_EQ(page.GetGuideCount(false), 2);
    EXPECT_EQ(page.GetGuide(false, 0), 0);

    Press(CPoint(200, 150));
    Drag(CPoint(-3, 150));
    Release(CPoint(-3, 150));
    ASSERT_EQ(page.GetGuideCount(false), 1);
    EXPECT_EQ(page.GetGuide(false, 0), 0);

    page.AddGuide(true, 100);
    Press(CPoint(150, 100));
    Drag(CPoint(150, 303));
    Release(CPoint(150, 303));
    EXPECT_EQ(page.GetGuideCount(true), 0);
    EXPECT_EQ(host.captures, host.releases);
}

TEST_F(MouseToolsTest, TheEyedropperReadsTheBackgroundThroughATransparentPixel)
{
    // A circle's bounding box corner is transparent.
    page.AddObject(std::make_unique<CCircleObject>(100, 100, SIZE{100, 100}, 0.0));
    page.RenderDirtyObjects();
    services.tool = kMouseToolEyedropper;
    Press(CPoint(53, 53));
    Press(CPoint(300, 200));
    Press(CPoint(100, 100));
    ASSERT_EQ(services.toolsBarColors.size(), 3u);
    EXPECT_EQ(services.toolsBarColors[0], CColor(10, 20, 30).GetCOLORREF());
    EXPECT_EQ(services.toolsBarColors[1], CColor(10, 20, 30).GetCOLORREF());
    EXPECT_NE(services.toolsBarColors[2], CColor(10, 20, 30).GetCOLORREF());
    // Moving over the page shows the colour in the status bar.
    Drag(CPoint(300, 200));
    EXPECT_NE(host.status.find("( 10, 20, 30)"), std::string::npos) << host.status;
}

TEST_F(MouseToolsTest, ALostCaptureEndsTheGesture)
{
    CPageItem* item = AddRectangle(100, 100, SIZE{50, 40});
    Press(CPoint(100, 100));
    Drag(CPoint(120, 100));
    tools.OnCaptureLost();
    EXPECT_FALSE(tools.IsDragging());
    EXPECT_FALSE(page.IsSelectionFrozen());
    EXPECT_FALSE(page.GetSingleSelectedFrame()->IsTransforming());
    EXPECT_EQ(item->GetRect(), CRect(95, 80, 145, 120));
}

TEST_F(MouseToolsTest, TheTextToolEditsATextAndItsFrameHandlesMoveAndWidenIt)
{
    // A text about (150, 200), its box 200 wide.
    CPageItem* item = page.AddObject(text_editing_testing::MakeText(200, {"Hello there"}));
    item->Offset(-150, 0);
    page.RenderDirtyObjects();
    ASSERT_FALSE(item->GetCurrentObject()->IsDirty());
    auto* text = static_cast<CTextObject*>(item->GetCurrentObject());
    services.tool = kMouseToolText;
    const CPoint inside = item->GetRect().CenterPoint();
    Press(inside);
    Release(inside);
    ASSERT_TRUE(page.IsEditingInPlace());
    EXPECT_EQ(page.GetEditedObject(), text);
    EXPECT_TRUE(item->IsSelected());
    EXPECT_EQ(Recorded(), std::vector<int>{3});

    // The right handle widens the text by the drag; the top one moves it.
    SIZE before;
    text->GetSize(before);
    const DPOINT right = text->GetHandlePoints()[4];
    Press(CPoint(static_cast<int>(right.x), static_cast<int>(right.y)));
    EXPECT_TRUE(tools.IsTextFrameResize());
    EXPECT_TRUE(tools.IsTextFrameResizeSideways());
    Drag(CPoint(static_cast<int>(right.x) + 40, static_cast<int>(right.y)));
    Release(CPoint(static_cast<int>(right.x) + 40, static_cast<int>(right.y)));
    SIZE after;
    text->GetSize(after);
    EXPECT_NEAR(after.cx, before.cx + 40, 1);
    EXPECT_FALSE(tools.IsTextFrameResize());

    const CRect placed = item->GetRect();
    const DPOINT top = text->GetHandlePoints()[1];
    Press(CPoint(static_cast<int>(top.x), static_cast<int>(top.y)));
    Drag(CPoint(static_cast<int>(top.x), static_cast<int>(top.y) + 10));
    Release(CPoint(static_cast<int>(top.x), static_cast<int>(top.y) + 10));
    EXPECT_EQ(item->GetRect().top, placed.top + 10);
    EXPECT_EQ(Recorded(), std::vector<int>{3});
}

TEST_F(MouseToolsTest, ANewCounterOrFormFollowsTheDragAndIsRecordedAtTheRelease)
{
    for (int tool : {int(kMouseToolCounter), int(kMouseToolForm)}) {
        SCOPED_TRACE(tool);
        page.ClearSelection();
        static_cast<RecordingUndoManager*>(page.GetUndoManager())->recorded.clear();
        services.tool = tool;
        const int before = page.GetItemCount();
        Press(CPoint(100, 100));
        ASSERT_EQ(page.GetItemCount(), before + 1);
        CPageItem* item = page.GetSingleSelectedItem();
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(tools.IsDragging());
        DPOINT centre;
        item->GetCurrentObject()->GetCenter(centre);
        // Placing records nothing until the release; a drag past the page's edge stops at it.
        Drag(CPoint(140, 120));
        Drag(CPoint(150, 299));
        DPOINT atEdge;
        item->GetCurrentObject()->GetCenter(atEdge);
        EXPECT_NEAR(atEdge.x - centre.x, 50.0, 1.0);
        EXPECT_NEAR(atEdge.y - centre.y, 199.0, 1.0);
        Drag(CPoint(150, 900));
        DPOINT beyond;
        item->GetCurrentObject()->GetCenter(beyond);
        EXPECT_EQ(beyond.x, atEdge.x);
        EXPECT_EQ(beyond.y, atEdge.y);
        EXPECT_TRUE(Recorded().empty());
        Release(CPoint(150, 900));
        EXPECT_EQ(page.GetItemCount(), before + 1);
        EXPECT_TRUE(item->IsSelected());
        EXPECT_EQ(Recorded(), std::vector<int>{0});
        EXPECT_EQ(services.tool, kMouseToolArrow);
        EXPECT_FALSE(tools.IsDragging());
        EXPECT_FALSE(page.IsSelectionFrozen());
    }
    EXPECT_EQ(host.captures, host.releases);
}

TEST_F(MouseToolsTest, TheTextBandKeepsOneLineAndOpensATextAtLeast100Wide)
{
    tools.SetDefaultTextHeight(20);
    services.tool = kMouseToolText;
    Press(CPoint(50, 60));
    ASSERT_TRUE(tools.IsTextBand());
    EXPECT_TRUE(tools.IsDragging());
    const CRect opened = tools.GetTextBandRect();
    Drag(CPoint(90, 140));
    EXPECT_EQ(tools.GetTextBandRect().right, 90);
    EXPECT_EQ(tools.GetTextBandRect().Height(), opened.Height());
    // Beyond the page the band stops at its last column.
    Drag(CPoint(700, 60));
    EXPECT_EQ(tools.GetTextBandRect().right, 399);
    Drag(CPoint(90, 60));
    Release(CPoint(90, 60));
    EXPECT_FALSE(tools.IsTextBand());
    EXPECT_FALSE(tools.IsDragging());
    ASSERT_EQ(page.GetItemCount(), 1);
    ASSERT_TRUE(page.IsEditingInPlace());
    SIZE size;
    page.GetItem(0)->GetCurrentObject()->GetSize(size);
    EXPECT_EQ(size.cx, 100);
    EXPECT_EQ(size.cy, 26);
    EXPECT_EQ(host.captures, host.releases);
}

TEST_F(MouseToolsTest, ADragInTheEditedTextSelectsOnlyWhileTheButtonIsHeld)
{
    CPageItem* item = page.AddObject(text_editing_testing::MakeText(200, {"Hello there"}));
    page.RenderDirtyObjects();
    auto* text = static_cast<CTextObject*>(item->GetCurrentObject());
    services.tool = kMouseToolText;
    const CRect rect = item->GetRect();
    const CPoint start(rect.left + 4, rect.CenterPoint().y);
    Press(start);
    Release(start);
    ASSERT_TRUE(page.IsEditingInPlace());
    ASSERT_TRUE(text->GetTextBody()->m_selectionEmpty);
    // A move without the button changes nothing.
    tools.OnMouseMove({CPoint(rect.left + 60, start.y), false, false, false});
    EXPECT_TRUE(text->GetTextBody()->m_selectionEmpty);
    Press(start);
    Drag(CPoint(rect.left + 60, start.y));
    EXPECT_FALSE(text->GetTextBody()->m_selectionEmpty);
    const int caret = text->GetTextBody()->m_caretIndex;
    EXPECT_GT(caret, 0);
    Release(CPoint(rect.left + 60, start.y));
    EXPECT_FALSE(tools.IsDragging());
    // Shift-press further on extends the selection from where it started.
    Press(CPoint(rect.left + 100, start.y), true);
    EXPECT_FALSE(text->GetTextBody()->m_selectionEmpty);
    EXPECT_GT(text->GetTextBody()->m_caretIndex, caret);
    Release(CPoint(rect.left + 100, start.y));
}

TEST_F(MouseToolsTest, APictureBandWhoseChoiceIsCancelledLeavesNothing)
{
    CPageItem* item = AddRectangle(200, 150, SIZE{40, 40});
    page.SelectItem(item);
    services.tool = kMouseToolPicture;
    Press(CPoint(20, 30));
    EXPECT_FALSE(item->IsSelected());
    Drag(CPoint(60, 70));
    CRect band;
    ASSERT_TRUE(tools.GetBand(band));
    EXPECT_EQ(band, CRect(20, 30, 60, 70));
    Release(CPoint(60, 70));
    EXPECT_FALSE(tools.GetBand(band));
    EXPECT_FALSE(tools.IsDragging());
    EXPECT_EQ(page.GetItemCount(), 1);
    EXPECT_TRUE(Recorded().empty());
    EXPECT_EQ(services.tool, kMouseToolArrow);
    EXPECT_EQ(host.captures, host.releases);
}

TEST_F(MouseToolsTest, ADoubleClickOnATextEditsItAndACapturedGuideLetsGo)
{
    CPageItem* item = page.AddObject(text_editing_testing::MakeText(200, {"Hello there"}));
    page.RenderDirtyObjects();
    // A point on a letter: a double-click takes a text only where it shows.
    CPixMap map(IMAGE_MODE_RGBA, 4, 4);
    CPoint onLetter = item->GetRect().CenterPoint();
    for (onLetter.x = item->GetRect().left; onLetter.x < item->GetRect().right; ++onLetter.x)
        if (HitTestItem(page, onLetter, true, map) >= 0)
            break;
    ASSERT_LT(onLetter.x, item->GetRect().right);
    tools.OnLButtonDblClk({onLetter, false, false, true});
    EXPECT_EQ(services.tool, kMouseToolText);
    EXPECT_TRUE(page.IsEditingInPlace());
    EXPECT_EQ(page.GetEditedObject(), item->GetCurrentObject());
    EXPECT_EQ(Recorded(), std::vector<int>{3});
    page.SetEditingInPlace(false);

    // A guide whose drag loses the mouse stays where it was taken to.
    services.tool = kMouseToolArrow;
    page.AddGuide(false, 120);
    Press(CPoint(120, 20));
    ASSERT_TRUE(tools.IsGuideDrag());
    EXPECT_FALSE(tools.IsGuideHorizontal());
    EXPECT_EQ(tools.GetGuideIndex(), 0);
    Drag(CPoint(160, 20));
    tools.OnCaptureLost();
    EXPECT_FALSE(tools.IsGuideDrag());
    EXPECT_EQ(page.GetGuide(false, 0), 160);
}

TEST_F(MouseToolsTest, AFrameHandleLetsTheMouseGoWhenTheEditEndedWhileItWasHeld)
{
    CPageItem* item = page.AddObject(text_editing_testing::MakeText(200, {"Hello there"}));
    item->Offset(-150, 0);
    page.RenderDirtyObjects();
    auto* text = static_cast<CTextObject*>(item->GetCurrentObject());
    services.tool = kMouseToolText;
    Press(item->GetRect().CenterPoint());
    Release(item->GetRect().CenterPoint());
    const DPOINT right = text->GetHandlePoints()[4];
    Press(CPoint(static_cast<int>(right.x), static_cast<int>(right.y)));
    ASSERT_TRUE(tools.IsTextFrameResize());
    const int released = host.releases;
    // The edit ends from the keyboard before the button comes up.
    page.SetEditingInPlace(false);
    Release(CPoint(static_cast<int>(right.x) + 20, static_cast<int>(right.y)));
    EXPECT_FALSE(tools.IsTextFrameResize());
    EXPECT_EQ(host.releases, released + 1);
}

} // namespace
