#include "app/docview/design_view.h"

#include <gtest/gtest.h>

#include "app/docview/design_view_test_support.h"

namespace {

using namespace design_view_testing;

TEST(DesignViewMouse, DragsMoveAfterThreePixelsAndBandsLeaveNoMarks)
{
    ViewServices services;
    std::unique_ptr<CWebsite> site = MakeSite();
    CSitePage* page = site->GetPage(0);
    page->RenderDirtyObjects();
    const auto& recorded = static_cast<RecordingUndoManager*>(page->GetUndoManager())->recorded;
    ViewWindow window(services, page);
    COrvelView* view = window.view;

    // The circle about (120, 110): two pixels move nothing and record nothing, three move it and record one step.
    CPageItem* circle = page->GetItem(0);
    const CRect start = circle->GetRect();
    DragMouse(view, CPoint(120, 110), {CPoint(121, 111), CPoint(122, 112)});
    EXPECT_EQ(circle->GetRect(), start);
    EXPECT_TRUE(recorded.empty());
    EXPECT_TRUE(circle->IsSelected());
    DragMouse(view, CPoint(120, 110), {CPoint(123, 110)});
    CRect moved = start;
    moved.OffsetRect(3, 0);
    EXPECT_EQ(circle->GetRect(), moved);
    EXPECT_EQ(recorded, std::vector<int>{2});
    EXPECT_FALSE(view->HasCapture());

    // A rubber band on empty page space shows while it is dragged and leaves nothing behind: what a paint of the
    // window draws, with the band's corner on the page at (100, 200).
    const CPoint origin = view->GetPageOrigin();
    const CPoint corner(100 + origin.x, 200 + origin.y);
    const auto painted = [&] {
        const wxSize client = view->GetClientSize();
        wxBitmap bitmap(client.x, client.y, 24);
        {
            wxMemoryDC dc(bitmap);
            view->PaintArea(dc, CRect(0, 0, client.x, client.y));
        }
        return bitmap.ConvertToImage();
    };
    SendMouse(view, wxEVT_LEFT_DOWN, CPoint(20, 280));
    SendMouse(view, wxEVT_MOTION, CPoint(100, 200));
    EXPECT_TRUE(view->HasCapture());
    const std::array<int, 3> band = Rgb(painted(), corner);
    EXPECT_TRUE(band[0] + band[1] + band[2] < 100 || band == (std::array<int, 3>{255, 255, 255}));
    SaveWindowScreenshot(view, "design_view_rubber_band.png");
    SendMouse(view, wxEVT_LEFT_UP, CPoint(100, 200));
    EXPECT_FALSE(view->HasCapture());
    const wxImage after = painted();
    EXPECT_EQ(Rgb(after, corner), (std::array<int, 3>{255, 250, 235}));
    EXPECT_EQ(Rgb(after, CPoint(60 + origin.x, 200 + origin.y)), (std::array<int, 3>{255, 250, 235}));
}

TEST(DesignViewMouse, AMoveDraggedPastTheWindowScrollsAlong)
{
    ViewServices services;
    std::unique_ptr<CWebsite> site = MakeSite();
    CSitePage* page = site->GetPage(0);
    page->RenderDirtyObjects();
    ViewWindow window(services, page, wxSize(200, 160));
    COrvelView* view = window.view;
    ASSERT_EQ(view->GetScrollPosition(), CPoint(0, 0));
    // The circle about (120, 110) dragged to the right, past the window's edge but still on the page.
    CPageItem* circle = page->GetItem(0);
    const CRect start = circle->GetRect();
    const int beyond = view->GetClientSize().x + 40;
    SendMouse(view, wxEVT_LEFT_DOWN, CPoint(120, 110));
    SendMouse(view, wxEVT_MOTION, CPoint(beyond, 110));
    EXPECT_EQ(view->GetScrollPosition().x, beyond - view->GetClientSize().x + 1);
    // That event only scrolled; the next one moves the circle.
    EXPECT_EQ(circle->GetRect(), start);
    SendMouse(view, wxEVT_MOTION, CPoint(beyond - 10, 110));
    SendMouse(view, wxEVT_LEFT_UP, CPoint(beyond - 10, 110));
    EXPECT_EQ(circle->GetRect().left, start.left + beyond - 10 - 120);
}

// A text band 40 pixels wide opens a text 100 wide and one line high, ready for typing; the eyedropper over a
// circle's transparent corner reads the page's background, not the corner's pixel.
TEST(DesignViewMouse, ATextBandOpensATextAndTheEyedropperSeesThroughTransparency)
{
    ViewServices services;
    std::unique_ptr<CWebsite> site = MakeSite();
    CSitePage* page = site->GetPage(0);
    page->RenderDirtyObjects();
    ViewWindow window(services, page);
    COrvelView* view = window.view;

    const int before = page->GetItemCount();
    services.tool = kMouseToolText;
    DragMouse(view, CPoint(150, 240), {CPoint(170, 240), CPoint(190, 240)});
    ASSERT_EQ(page->GetItemCount(), before + 1);
    CPageItem* text = page->GetSingleSelectedItem();
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(text->GetCurrentObject()->GetKind(), objectText);
    SIZE size;
    text->GetCurrentObject()->GetSize(size);
    EXPECT_EQ(size.cx, 100);
    DPOINT centre;
    EXPECT_EQ(text->GetCurrentObject()->GetCenter(centre).x, 200.0);
    EXPECT_TRUE(page->IsEditingInPlace());
    view->EndTextEditing();

    // The circle of 150 x 110 about (120, 110): its bounding box's corner at (47, 57) is transparent.
    services.tool = kMouseToolEyedropper;
    DragMouse(view, CPoint(47, 57), {});
    DragMouse(view, CPoint(120, 110), {});
    ASSERT_EQ(services.toolsBarColors.size(), 2u);
    EXPECT_EQ(services.toolsBarColors[0], CColor(255, 250, 235).GetCOLORREF());
    EXPECT_EQ(services.toolsBarColors[1], CColor(210, 50, 40).GetCOLORREF());
}

TEST(DesignViewMouse, EveryToolDrawsOnThePage)
{
    ViewServices services;
    const std::string picture = (TestOutputFolder() / "drawn_page_picture.png").string();
    {
        wxImage image(60, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x)
                image.SetRGB(x, y, static_cast<unsigned char>(x * 4), static_cast<unsigned char>(y * 6), 160);
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
            wxImage::AddHandler(new wxPNGHandler());
        ASSERT_TRUE(image.SaveFile(wxString::FromUTF8(picture), wxBITMAP_TYPE_PNG));
    }
    services.picture = picture;
    CFillStyle background;
    background.SetColor(CColor(255, 255, 255));
    CWebsite site(std::string(), "Drawn", background, false, 420, 300, 0, CColor(0, 0, 255), CColor(128, 0, 128));
    CSitePage* page = site.AddPage(std::make_unique<CSitePage>(&site, "index", "Home", site.GetNewPageSettings()));
    ViewWindow window(services, page);
    COrvelView* view = window.view;

    const auto use = [&](int tool, CPoint from, std::initializer_list<CPoint> through, bool ctrl = false) {
        services.tool = tool;
        DragMouse(view, from, through, ctrl);
        EXPECT_EQ(services.tool, tool == kMouseToolEyedropper ? tool : int(kMouseToolArrow)) << tool;
    };
    services.fillColor = CColor(200, 60, 50);
    use(kMouseToolRectangle, CPoint(20, 20), {CPoint(50, 40), CPoint(90, 70)});
    services.fillColor = CColor(60, 160, 70);
    use(kMouseToolCircle, CPoint(110, 20), {CPoint(170, 70)});
    services.fillColor = CColor(230, 170, 30);
    services.shapeKind = 18;
    use(kMouseToolShape, CPoint(190, 20), {CPoint(250, 80)}, true);
    use(kMouseToolHtml, CPoint(270, 20), {CPoint(340, 70)});
    use(kMouseToolFlash, CPoint(350, 20), {CPoint(405, 70)});
    use(kMouseToolCounter, CPoint(70, 150), {});
    use(kMouseToolForm, CPoint(400, 250), {});
    use(kMouseToolPicture, CPoint(20, 200), {CPoint(23, 203)});
    use(kMouseToolEyedropper, CPoint(40, 40), {});
    // A text band, typed into and left: the text stays as the band's tool made it.
    services.tool = kMouseToolText;
    DragMouse(view, CPoint(120, 110), {CPoint(220, 110)});
    ASSERT_TRUE(page->IsEditingInPlace());
    TypeText(view, "Drawn");
    view->EndTextEditing();
    ASSERT_EQ(page->GetItemCount(), 9);
    EXPECT_EQ(services.toolsBarColors.size(), 1u);
    EXPECT_EQ(services.toolsBarColors.back(), CColor(200, 60, 50).GetCOLORREF());

    // The shape drawn with Ctrl is square; the picture from a small band keeps its own size.
    SIZE size;
    page->GetItem(2)->GetCurrentObject()->GetSize(size);
    EXPECT_EQ(size.cx, size.cy);
    bool pictureFound = false;
    for (int i = 0; i < page->GetItemCount(); ++i)
        if (page->GetItem(i)->GetRect() == CRect(20, 200, 80, 240))
            pictureFound = true;
    EXPECT_TRUE(pictureFound);
    // A step for each object the tools made, and the text's own as its edit ends.
    const std::vector<int>& recorded = static_cast<RecordingUndoManager*>(page->GetUndoManager())->recorded;
    ASSERT_EQ(recorded.size(), 9u);
    EXPECT_EQ(recorded.back(), static_cast<int>(UndoKind::objectsAdded));

    // The page as the view paints it.
    page->ClearSelection();
    page->RenderDirtyObjects();
    const wxSize client = view->GetClientSize();
    wxBitmap bitmap(client.x, client.y, 24);
    {
        wxMemoryDC dc(bitmap);
        view->PaintArea(dc, CRect(0, 0, client.x, client.y));
    }
    EXPECT_TRUE(bitmap.ConvertToImage().SaveFile(wxString::FromUTF8((TestOutputFolder() / "drawn_page.png").string()),
                                                 wxBITMAP_TYPE_PNG));

    // The page built and shown in a browser looks as drawn. The browser runs the HTML and Flash code and shows
    // the form as its own fields, so those stay out of the comparison.
    for (int i = page->GetItemCount() - 1; i >= 0; --i) {
        const int kind = page->GetItem(i)->GetCurrentObject()->GetKind();
        if (kind == objectHtml || kind == objectForm)
            page->RemoveItem(page->GetItem(i));
    }
    ScratchFolder folder;
    const build_testing::BrowserComparison comparison =
        build_testing::CompareBuiltPageInBrowser(site, *page, folder.Path(), "drawn_page");
    ASSERT_TRUE(comparison.error.empty()) << comparison.error;
    EXPECT_LT(comparison.meanDifference, 2.0);
    EXPECT_LT(comparison.farShare, 0.02);
}

} // namespace
