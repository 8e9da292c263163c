#include "app/docview/design_view.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <array>
#include <vector>

#include "app/docview/site_document.h"
#include "app/docview/window_test_support.h"
#include "app/model/fill_info.h"
#include "app/objects/circle_object.h"
#include "app/objects/page_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/page_item.h"
#include "app/site/site_services_fake.h"
#include "app/site/website.h"
#include "testing/test_output.h"

namespace {

// The view under test is the program's current view.
class ViewServices : public SiteServicesFake
{
public:
    ViewServices() { tool = 1; }
    COrvelView* GetCurrentView() override { return view; }
    CSitePage* GetViewPage(COrvelView* v) override { return v && v == view ? view->GetPage() : nullptr; }
    bool GetPictureFileName(std::string& path) override
    {
        path = picture;
        return !picture.empty();
    }
    COrvelView* view = nullptr;
    std::string picture;
};

std::unique_ptr<CWebsite> MakeSite()
{
    CFillStyle background;
    background.SetColor(CColor(255, 250, 235));
    auto site = std::make_unique<CWebsite>(std::string(), "Sample", background, false, 420, 300, 0, CColor(0, 0, 255),
                                           CColor(128, 0, 128));
    CSitePage* front =
        site->AddPage(std::make_unique<CSitePage>(site.get(), "index", "Home", site->GetNewPageSettings()));
    auto circle = std::make_unique<CCircleObject>(120, 110, SIZE{150, 110}, 0.0);
    circle->GetFill()->SetColor(CColor(210, 50, 40));
    front->AddObject(std::move(circle));
    auto band = std::make_unique<CRectangleObject>(260, 190, SIZE{220, 60}, 0.25);
    band->GetFill()->SetColor(CColor(40, 120, 200));
    front->AddObject(std::move(band));
    // Half of this one reaches beyond the right edge, into the surround.
    auto square = std::make_unique<CRectangleObject>(410, 60, SIZE{70, 70}, 0.0);
    square->GetFill()->SetColor(CColor(60, 170, 70));
    front->AddObject(std::move(square));
    front->AddGuide(true, 40);
    front->AddGuide(false, 300);
    site->SetHomePage(front);
    return site;
}

TEST(DesignView, ShowsTheFrontPageCentredWithItsGuidesAndObjects)
{
    ViewServices services;
    // The page goes through its file, as the program opens it.
    const std::string path = (TestOutputFolder() / "design_view_site.kst").string();
    {
        COrvelDoc writer;
        writer.AttachSite(MakeSite());
        ASSERT_TRUE(writer.SaveSiteSafely(path));
    }
    COrvelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path));
    CSitePage* page = GetFrontOrFirstPage(*doc.GetSite());
    ASSERT_NE(page, nullptr);
    page->SelectItemAt(1);

    auto* frame = new wxFrame(nullptr, wxID_ANY, "design view", wxPoint(0, 0), wxSize(640, 480));
    auto* view = new COrvelView(frame, page);
    services.view = view;
    frame->Show();
    Settle();
    view->Refresh();
    view->Update();
    Settle();

    const wxImage picture = SaveWindowScreenshot(view, "design_view.png");
    ASSERT_TRUE(picture.IsOk());

    const wxSize client = view->GetClientSize();
    const CPoint origin = view->GetPageOrigin();
    ASSERT_EQ(origin, CPoint((client.x - 420) / 2, (client.y - 300) / 2));
    ASSERT_GT(origin.x, 0);

    // The page as the page draws itself.
    std::vector<BYTE> drawn(420 * 300 * 4);
    page->Draw(RECT{0, 0, 420, 300}, drawn.data(), 420 * 4, true, false, false);
    const CRect selection = view->GetSelectionRect();
    int compared = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 420; ++x) {
            // Guides and the selection's frame are drawn over the page.
            if (std::abs(y - 40) < 1 || std::abs(x - 300) < 1 ||
                CRect(selection.left - 3, selection.top - 3, selection.right + 3, selection.bottom + 3)
                    .PtInRect(CPoint(x + origin.x, y + origin.y)))
                continue;
            const BYTE* p = drawn.data() + (static_cast<size_t>(y) * 420 + x) * 4;
            const int sx = x + origin.x, sy = y + origin.y;
            ASSERT_EQ((std::array<int, 3>{picture.GetRed(sx, sy), picture.GetGreen(sx, sy), picture.GetBlue(sx, sy)}),
                      (std::array<int, 3>{p[1], p[2], p[3]}))
                << "page pixel " << x << ", " << y;
            ++compared;
        }
    EXPECT_GT(compared, 420 * 300 / 2);

    const auto rgb = [&](int x, int y) {
        return std::array<int, 3>{picture.GetRed(x, y), picture.GetGreen(x, y), picture.GetBlue(x, y)};
    };
    EXPECT_EQ(rgb(origin.x / 2, 5), (std::array<int, 3>{190, 190, 190})) << "surround";
    EXPECT_EQ(rgb(origin.x + 430, origin.y + 60), (std::array<int, 3>{140, 140, 140})) << "silhouette beyond the edge";
    EXPECT_EQ(rgb(origin.x + 10, origin.y + 40), (std::array<int, 3>{144, 131, 255})) << "horizontal guide";
    EXPECT_EQ(rgb(origin.x + 300, origin.y + 250), (std::array<int, 3>{144, 131, 255})) << "vertical guide";
    // The guides run across the surround too.
    EXPECT_EQ(rgb(5, origin.y + 40), (std::array<int, 3>{144, 131, 255}));
    // A handle square of the selected band.
    const DPOINT handle = page->GetItem(1)->GetCurrentObject()->GetHandlePoints()[4];
    EXPECT_EQ(rgb(static_cast<int>(std::floor(handle.x + 0.5)) + origin.x,
                  static_cast<int>(std::floor(handle.y + 0.5)) + origin.y),
              (std::array<int, 3>{0, 128, 255}));

    services.view = nullptr;
    frame->Destroy();
    Settle();
}

TEST(DesignView, ASmallWindowScrollsThePage)
{
    ViewServices services;
    std::unique_ptr<CWebsite> site = MakeSite();
    CSitePage* page = site->GetPage(0);
    auto* frame = new wxFrame(nullptr, wxID_ANY, "design view", wxPoint(0, 0), wxSize(200, 160));
    auto* view = new COrvelView(frame, page);
    frame->Show();
    Settle();
    EXPECT_EQ(view->GetPageOrigin(), CPoint(0, 0));
    view->Scroll(100, 50);
    EXPECT_EQ(view->GetScrollPosition(), CPoint(100, 50));
    EXPECT_EQ(view->ClientToPage(CPoint(10, 10)), CPoint(110, 60));
    const wxSize client = view->GetClientSize();
    EXPECT_EQ(view->GetVisiblePageRect(), CRect(100, 50, 100 + client.x, 50 + client.y));
    frame->Destroy();
    Settle();
}

// A mouse event at a page point, sent to the view as the window system would.
void SendMouse(COrvelView* view, wxEventType type, CPoint pt, bool shift = false, bool ctrl = false)
{
    const CPoint origin = view->GetPageOrigin(), scroll = view->GetScrollPosition();
    wxMouseEvent event(type);
    event.SetEventObject(view);
    event.SetId(view->GetId());
    event.m_x = pt.x + origin.x - scroll.x;
    event.m_y = pt.y + origin.y - scroll.y;
    event.m_leftDown = type != wxEVT_LEFT_UP;
    event.SetShiftDown(shift);
    event.SetControlDown(ctrl);
    view->GetEventHandler()->ProcessEvent(event);
}

// Press at from, move through the points, release at the last.
void DragMouse(COrvelView* view, CPoint from, std::initializer_list<CPoint> through, bool ctrl = false)
{
    SendMouse(view, wxEVT_LEFT_DOWN, from, false, ctrl);
    CPoint last = from;
    for (const CPoint& pt : through) {
        SendMouse(view, wxEVT_MOTION, pt, false, ctrl);
        last = pt;
    }
    SendMouse(view, wxEVT_LEFT_UP, last, false, ctrl);
}

class ViewWindow
{
public:
    ViewWindow(ViewServices& services, CSitePage* page, wxSize size = wxSize(640, 480)) : m_services(services)
    {
        frame = new wxFrame(nullptr, wxID_ANY, "design view", wxPoint(0, 0), size);
        view = new COrvelView(frame, page);
        services.view = view;
        frame->Show();
        Settle();
    }
    ~ViewWindow()
    {
        m_services.view = nullptr;
        frame->Destroy();
        Settle();
    }
    wxFrame* frame;
    COrvelView* view;

private:
    ViewServices& m_services;
};

std::array<int, 3> Rgb(const wxImage& image, const CPoint& client)
{
    return {image.GetRed(client.x, client.y), image.GetGreen(client.x, client.y), image.GetBlue(client.x, client.y)};
}

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
    use(kMouseToolRectangle, CPoint(20, 20), {CPoint(50, 40), CPoint(90, 70)});
    use(kMouseToolCircle, CPoint(110, 20), {CPoint(170, 70)});
    services.shapeKind = 18;
    use(kMouseToolShape, CPoint(190, 20), {CPoint(250, 80)}, true);
    use(kMouseToolHtml, CPoint(270, 20), {CPoint(340, 70)});
    use(kMouseToolFlash, CPoint(350, 20), {CPoint(405, 70)});
    use(kMouseToolCounter, CPoint(70, 150), {});
    use(kMouseToolForm, CPoint(400, 250), {});
    use(kMouseToolPicture, CPoint(20, 200), {CPoint(23, 203)});
    use(kMouseToolEyedropper, CPoint(40, 40), {});
    ASSERT_EQ(page->GetItemCount(), 8);
    EXPECT_EQ(services.toolsBarColors.size(), 1u);
    EXPECT_NE(services.toolsBarColors.back(), CColor(255, 255, 255).GetCOLORREF());

    // The shape drawn with Ctrl is square; the picture from a small band keeps its own size.
    SIZE size;
    page->GetItem(2)->GetCurrentObject()->GetSize(size);
    EXPECT_EQ(size.cx, size.cy);
    bool pictureFound = false;
    for (int i = 0; i < page->GetItemCount(); ++i)
        if (page->GetItem(i)->GetRect() == CRect(20, 200, 80, 240))
            pictureFound = true;
    EXPECT_TRUE(pictureFound);
    EXPECT_EQ(static_cast<RecordingUndoManager*>(page->GetUndoManager())->recorded.size(), 8u);

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
}

} // namespace
