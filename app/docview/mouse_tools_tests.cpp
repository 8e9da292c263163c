#include "app/docview/mouse_tools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "app/model/fill_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/rectangle_object.h"
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

} // namespace
