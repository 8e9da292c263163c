#include "app/docview/design_view.h"

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/caret.h>
#include <wx/timer.h>
#include <wx/dcmemory.h>
#include <wx/dnd.h>
#include <wx/frame.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <vector>

#include "app/build/browser_comparison_test_support.h"
#include "app/docview/site_document.h"
#include "app/docview/view_hit_test.h"
#include "app/docview/window_test_support.h"
#include "app/model/fill_info.h"
#include "app/objects/circle_object.h"
#include "app/objects/page_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_editing_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_services_fake.h"
#include "app/site/website.h"
#include "testing/scratch_folder.h"
#include "testing/test_output.h"

namespace {

// The view under test is the program's current view.
class ViewServices : public SiteServicesFake
{
public:
    ViewServices() { tool = 1; }
    COrvelView* GetCurrentView() override { return view; }
    bool GetToolsBarColor(CColor& color) override
    {
        color = fillColor;
        return true;
    }
    bool GetPictureFileName(std::string& path) override
    {
        path = picture;
        return !picture.empty();
    }
    COrvelView* view = nullptr;
    std::string picture;
    // The colour of new fills.
    CColor fillColor = CColor(40, 90, 170);
};

CRect DifferingArea(const wxImage& a, const wxImage& b);

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

TEST(DesignView, APaintOfPartOfTheWindowDrawsWhatAWholePaintDrawsThere)
{
    ViewServices services;
    std::unique_ptr<CWebsite> site = MakeSite();
    CSitePage* page = site->GetPage(0);
    page->RenderDirtyObjects();
    ViewWindow window(services, page);
    COrvelView* view = window.view;
    page->SelectItemAt(1);
    const wxSize client = view->GetClientSize();
    const CRect selection = view->GetSelectionRect();
    ASSERT_FALSE(selection.IsRectEmpty());
    const auto paint = [&](const std::vector<CRect>& clips) {
        wxBitmap bitmap(client.x, client.y, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxGREEN_BRUSH);
            dc.Clear();
            for (const CRect& clip : clips)
                view->PaintArea(dc, clip);
        }
        return bitmap.ConvertToImage();
    };
    // Areas over a handle's square, across the frame, inside it, over a guide, far from everything, one pixel.
    const CPoint corner = selection.TopLeft();
    const std::vector<CRect> areas = {
        CRect(corner.x - 4, corner.y - 4, corner.x + 3, corner.y + 3),
        CRect(selection.left - 10, selection.top + 10, selection.right + 10, selection.top + 14),
        CRect(selection.left + 8, selection.top + 8, selection.left + 20, selection.top + 20),
        CRect(0, 0, 30, 30),
        CRect(client.x - 30, client.y - 30, client.x, client.y),
        CRect(selection.right + 2, selection.top, selection.right + 3, selection.top + 1),
    };
    for (bool guidesHidden : {false, true}) {
        page->SetGuidesHidden(guidesHidden);
        const wxImage whole = paint({CRect(0, 0, client.x, client.y)});
        for (const CRect& area : areas) {
            const wxImage part = paint({area});
            CRect inside;
            ASSERT_TRUE(inside.IntersectRect(area, CRect(0, 0, client.x, client.y)));
            const wxRect box(inside.left, inside.top, inside.Width(), inside.Height());
            const CRect differs = DifferingArea(part.GetSubImage(box), whole.GetSubImage(box));
            EXPECT_TRUE(differs.IsRectEmpty()) << "guides hidden " << guidesHidden << ", area " << area.left << ","
                                               << area.top << ": differs from " << differs.left << ","
                                               << differs.top << " in it";
        }
    }
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

// A key as the window system sends it: the press, the character it makes unless the press was taken, the release.
void SendKey(COrvelView* view, int keyCode, bool shift = false, bool ctrl = false, wxChar unicode = 0)
{
    const auto make = [&](wxEventType type, int code) {
        wxKeyEvent event(type);
        event.SetEventObject(view);
        event.m_keyCode = code;
        event.m_uniChar = unicode ? unicode : (code >= 32 && code < 127 ? code : 0);
        event.m_shiftDown = shift;
        event.m_controlDown = ctrl;
        return event;
    };
    wxKeyEvent down = make(wxEVT_KEY_DOWN, keyCode);
    down.Skip(false);
    view->GetEventHandler()->ProcessEvent(down);
    if (down.GetSkipped()) {
        int charCode = keyCode;
        if (ctrl && keyCode >= 'A' && keyCode <= 'Z')
            charCode = keyCode - 'A' + 1;
        else if (!shift && keyCode >= 'A' && keyCode <= 'Z' && !unicode)
            charCode = keyCode - 'A' + 'a';
        wxKeyEvent typed = make(wxEVT_CHAR, charCode);
        view->GetEventHandler()->ProcessEvent(typed);
    }
    wxKeyEvent up = make(wxEVT_KEY_UP, keyCode);
    view->GetEventHandler()->ProcessEvent(up);
}

void TypeText(COrvelView* view, const std::string& text)
{
    for (char c : text)
        SendKey(view, std::toupper(static_cast<unsigned char>(c)), std::isupper(static_cast<unsigned char>(c)) != 0,
                false, static_cast<wxChar>(c));
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

// The toolkit's caret blink time for one test; none stops the blink, so that the caret always shows.
class BlinkTime
{
public:
    explicit BlinkTime(int milliseconds) : m_saved(wxCaret::GetBlinkTime()) { wxCaret::SetBlinkTime(milliseconds); }
    ~BlinkTime() { wxCaret::SetBlinkTime(m_saved); }

private:
    int m_saved;
};

// The view hears that it has (or lost) the keyboard focus, whatever the display did with the real one.
void GiveFocus(COrvelView* view, bool focused = true)
{
    view->SetFocus();
    wxFocusEvent event(focused ? wxEVT_SET_FOCUS : wxEVT_KILL_FOCUS, view->GetId());
    event.SetEventObject(view);
    view->GetEventHandler()->ProcessEvent(event);
}

void Tick(COrvelView* view)
{
    wxTimerEvent event(view->GetCaretTimer());
    view->GetEventHandler()->ProcessEvent(event);
}

// What a paint of the whole client area draws.
wxImage PaintedClient(COrvelView* view)
{
    const wxSize client = view->GetClientSize();
    wxBitmap bitmap(client.x, client.y, 24);
    {
        wxMemoryDC dc(bitmap);
        view->PaintArea(dc, CRect(0, 0, client.x, client.y));
    }
    return bitmap.ConvertToImage();
}

// The rectangle of client pixels in which two pictures of the same size differ; empty when they are the same.
CRect DifferingArea(const wxImage& a, const wxImage& b)
{
    CRect area;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if (a.GetRed(x, y) != b.GetRed(x, y) || a.GetGreen(x, y) != b.GetGreen(x, y) ||
                a.GetBlue(x, y) != b.GetBlue(x, y))
                area.UnionRect(area, CRect(x, y, x + 1, y + 1));
    return area;
}

// A text on a white page, edited in place in a shown view from its end; the caret shows without blinking.
struct EditedTextWindow
{
    explicit EditedTextWindow(ViewServices& services, const std::vector<std::string>& paragraphs, int width = 220)
        : site(std::string(), "Typed", WhiteBackground(), false, 420, 300, 0, CColor(0, 0, 255), CColor(128, 0, 128))
    {
        page = site.AddPage(std::make_unique<CSitePage>(&site, "index", "Home", site.GetNewPageSettings()));
        auto made = text_editing_testing::MakeText(width, paragraphs);
        made->SetNewObject(false);
        text = made.get();
        page->AddObject(std::move(made));
        page->RenderDirtyObjects();
        window = std::make_unique<ViewWindow>(services, page);
        view = window->view;
        page->SelectItemAt(0);
        page->SetEditedObject(text);
        page->SetEditingInPlace(true);
        text->BeginEdit();
        CTextBody& body = *text->GetTextBody();
        body.m_nCaretPara = body.GetParagraphCount() - 1;
        body.m_nCaretIndex = body.m_paragraphs.back().GetCount();
        text->UpdateCaret(body.m_nCaretPara, body.m_nCaretIndex);
    }
    static CFillStyle WhiteBackground()
    {
        CFillStyle background;
        background.SetColor(CColor(255, 255, 255));
        return background;
    }

    CWebsite site;
    CSitePage* page = nullptr;
    CTextObject* text = nullptr;
    std::unique_ptr<ViewWindow> window;
    COrvelView* view = nullptr;
};

TEST(DesignViewKeys, TypingIntoATextShowsItWithItsCaretAndSelection)
{
    using namespace text_editing_testing;
    ViewServices services;
    CFillStyle background;
    background.SetColor(CColor(255, 255, 255));
    CWebsite site(std::string(), "Typed", background, false, 420, 300, 0, CColor(0, 0, 255), CColor(128, 0, 128));
    CSitePage* page = site.AddPage(std::make_unique<CSitePage>(&site, "index", "Home", site.GetNewPageSettings()));
    auto made = MakeText(220, {"Hi "});
    made->SetNewObject(false);
    CTextObject* text = made.get();
    page->AddObject(std::move(made));
    page->RenderDirtyObjects();
    ViewWindow window(services, page);
    COrvelView* view = window.view;
    const BlinkTime steady(0);
    GiveFocus(view);

    // A point on the ink of the first letter, where a click finds the text.
    DPOINT centre;
    text->GetCenter(centre);
    SIZE size;
    text->GetSize(size);
    const CTextChar& first = text->GetTextBody()->m_paragraphs[0].m_chars[0];
    CPixMap scratch(IMAGE_MODE_RGBA, 3, 3);
    CPoint inside;
    for (int x = 0; x < first.m_nWidth && HitTestItem(*page, inside, true, scratch) < 0; ++x)
        inside = CPoint(static_cast<int>(std::floor(centre.x - size.cx * 0.5)) + first.m_nLeft + x,
                        static_cast<int>(std::floor(centre.y - size.cy * 0.5)) + first.m_nBaseline - 3);
    ASSERT_EQ(HitTestItem(*page, inside, true, scratch), 0);
    SendMouse(view, wxEVT_LEFT_DOWN, inside);
    SendMouse(view, wxEVT_LEFT_UP, inside);
    SendMouse(view, wxEVT_LEFT_DCLICK, inside);
    ASSERT_TRUE(page->IsEditingInPlace());
    ASSERT_EQ(page->GetEditedObject(), text);

    SendKey(view, WXK_END);
    TypeText(view, "Hello");
    SendKey(view, WXK_LEFT, true);
    SendKey(view, WXK_LEFT, true);
    SendKey(view, 'B', false, true);
    // Other keys with Ctrl are the menus' shortcuts, not text.
    SendKey(view, 'Q', false, true);
    EXPECT_EQ(Paragraphs(*text), std::vector<std::string>{"Hi Hello"});
    ASSERT_FALSE(text->GetTextBody()->m_bSelectionEmpty);
    ASSERT_TRUE(view->GetTextCaret().IsDrawn());
    // The window as it paints, with the caret where the window shows it (the screen of a display shared by many
    // windows in a row is not always up to date).
    {
        const wxImage picture = PaintedClient(view);
        EXPECT_TRUE(picture.SaveFile(
            wxString::FromUTF8((TestOutputFolder() / "design_view_text_editing.png").string()), wxBITMAP_TYPE_PNG));
        // The selected "lo" shows inverted: white ink on black around the caret's line.
        const CPoint at = view->GetTextCaret().GetPosition();
        int dark = 0;
        for (int x = at.x + 1; x < at.x + 12; ++x)
            dark += picture.GetRed(x, at.y + view->GetTextCaret().GetHeight() / 2) < 64;
        EXPECT_GT(dark, 3);
    }

    SendKey(view, WXK_RETURN);
    TypeText(view, "More");
    // A character the code page lacks is refused; one it has is taken as its byte.
    SendKey(view, 0, false, false, 0x0100);
    SendKey(view, 0, false, false, 0x00E9);
    const std::vector<std::string> typed = Paragraphs(*text);
    ASSERT_EQ(typed.size(), 2u);
    // Return splits the paragraph at the caret, which Shift+Left left before the bold "lo".
    EXPECT_EQ(typed[0], "Hi Hel");
    EXPECT_EQ(typed[1], "More\xE9lo");
    std::string bold;
    for (const auto& para : text->GetTextBody()->m_paragraphs)
        for (const auto& ch : para.m_chars)
            bold += ch.m_bBold ? 'B' : '.';
    EXPECT_EQ(bold, "...........BB");
    EXPECT_GE(services.beeps, 1);

    // The caret stands after the last character typed, inside the text's box in the window.
    const CPoint caret = view->GetTextCaret().GetPosition();
    const CRect box = view->GetItemClientRect(*page->GetItem(0));
    EXPECT_TRUE(box.PtInRect(caret)) << caret.x << ", " << caret.y;

    // A click outside ends the edit and hides the caret; the text keeps what was typed.
    SendMouse(view, wxEVT_LEFT_DOWN, CPoint(10, 10));
    SendMouse(view, wxEVT_LEFT_UP, CPoint(10, 10));
    EXPECT_FALSE(page->IsEditingInPlace());
    EXPECT_FALSE(view->IsTextCaretShown());
    EXPECT_EQ(Paragraphs(*text).size(), 2u);
}

TEST(DesignViewKeys, TheCaretBlinksWithTheFocusAtTheTextsPlaceAndLeavesNothingWhereItWas)
{
    ViewServices services;
    const BlinkTime slow(100000);
    EditedTextWindow edited(services, {"Caret"});
    COrvelView* view = edited.view;
    const ViewCaret& caret = view->GetTextCaret();
    ASSERT_TRUE(view->IsTextCaretShown());
    // Not in a view without the keyboard focus, and no timer runs for it there.
    GiveFocus(view, false);
    EXPECT_FALSE(caret.IsDrawn());
    EXPECT_FALSE(view->GetCaretTimer().IsRunning());
    const wxImage unfocused = PaintedClient(view);

    // With the focus it is drawn, by inverting exactly the bar the text asks for: after the last letter, as high
    // as the text's caret.
    GiveFocus(view);
    EXPECT_TRUE(view->GetCaretTimer().IsRunning());
    const CTextBody& body = *edited.text->GetTextBody();
    const CRect item = view->GetItemClientRect(*edited.page->GetItem(0));
    const CRect bar = caret.GetRect();
    EXPECT_EQ(bar.Height(), body.m_caretHeight);
    EXPECT_GT(bar.Height(), 8);
    EXPECT_TRUE(item.PtInRect(bar.TopLeft()));
    const wxImage shown = PaintedClient(view);
    EXPECT_EQ(DifferingArea(unfocused, shown), bar);
    // The page is white there, so the bar is black.
    EXPECT_EQ(Rgb(shown, bar.TopLeft()), (std::array<int, 3>{0, 0, 0}));

    // The timer hides and shows it again; a tick without the focus does nothing.
    Tick(view);
    EXPECT_FALSE(caret.IsDrawn());
    EXPECT_TRUE(DifferingArea(unfocused, PaintedClient(view)).IsRectEmpty());
    Tick(view);
    EXPECT_TRUE(caret.IsDrawn());
    GiveFocus(view, false);
    Tick(view);
    EXPECT_FALSE(caret.IsDrawn());
    GiveFocus(view);

    // Typing moves it to the new end and shows it at once, even from the hidden phase of its blink; the old place
    // shows the page again.
    Tick(view);
    SendKey(view, WXK_HOME);
    EXPECT_TRUE(caret.IsDrawn());
    EXPECT_LT(caret.GetPosition().x, bar.left);
    const wxImage moved = PaintedClient(view);
    EXPECT_EQ(Rgb(moved, bar.TopLeft()), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(DifferingArea(unfocused, moved), caret.GetRect());

    // Ending the edit hides it and stops its timer.
    view->EndTextEditing();
    EXPECT_FALSE(view->IsTextCaretShown());
    EXPECT_FALSE(view->GetCaretTimer().IsRunning());
    EXPECT_TRUE(DifferingArea(PaintedClient(view), moved).PtInRect(caret.GetPosition()));
}

TEST(DesignViewKeys, APaintOfPartOfAnEditedTextDrawsItsFrameAsAWholePaintDoes)
{
    ViewServices services;
    const BlinkTime steady(0);
    EditedTextWindow edited(services, {"Framed", "text"});
    COrvelView* view = edited.view;
    GiveFocus(view);
    const wxSize client = view->GetClientSize();
    const auto paint = [&](const CRect& clip) {
        wxBitmap bitmap(client.x, client.y, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxGREEN_BRUSH);
            dc.Clear();
            view->PaintArea(dc, clip);
        }
        return bitmap.ConvertToImage();
    };
    const wxImage whole = paint(CRect(0, 0, client.x, client.y));
    // Small areas on and beside each handle of the frame (its corners, its arrows and its move marks), and strips
    // just inside and just outside its sides.
    const CRect box = view->GetItemClientRect(*edited.page->GetItem(0));
    const DPOINT* handles = edited.text->GetHandlePoints();
    const CPoint origin = view->GetPageOrigin(), scroll = view->GetScrollPosition();
    std::vector<CRect> areas;
    for (int i = 0; i < 8; ++i) {
        const CPoint at(static_cast<int>(handles[i].x) + origin.x - scroll.x,
                        static_cast<int>(handles[i].y) + origin.y - scroll.y);
        for (const CPoint& step : {CPoint(0, 0), CPoint(-7, 0), CPoint(7, 0), CPoint(0, -7), CPoint(0, 7)})
            areas.emplace_back(at.x + step.x - 2, at.y + step.y - 2, at.x + step.x + 2, at.y + step.y + 2);
    }
    for (int inset : {-9, -5, 1, 4})
        areas.emplace_back(box.left - inset, box.top + 8, box.left - inset + 3, box.bottom - 8);
    // The frame is there to be drawn: its corner at the first handle.
    const CPoint corner(static_cast<int>(handles[0].x) + origin.x - scroll.x,
                        static_cast<int>(handles[0].y) + origin.y - scroll.y);
    const std::array<int, 3> ink = Rgb(whole, corner);
    EXPECT_TRUE(ink[0] > 200 && ink[1] < 120 && ink[2] < 80) << ink[0] << "," << ink[1] << "," << ink[2];
    for (const CRect& area : areas) {
        CRect inside;
        if (!inside.IntersectRect(area, CRect(0, 0, client.x, client.y)))
            continue;
        const wxRect at(inside.left, inside.top, inside.Width(), inside.Height());
        const CRect differs = DifferingArea(paint(area).GetSubImage(at), whole.GetSubImage(at));
        EXPECT_TRUE(differs.IsRectEmpty()) << "area " << area.left << "," << area.top;
    }
}

TEST(DesignViewKeys, TypedKeysLeaveTheWindowAsAWholeRepaintWouldDrawIt)
{
    ViewServices services;
    const BlinkTime steady(0);
    EditedTextWindow edited(services, {"One line of words that wraps in the box", "Two", "Three"}, 160);
    COrvelView* view = edited.view;
    GiveFocus(view);
    const wxSize client = view->GetClientSize();
    const wxRect screen(view->ClientToScreen(wxPoint(0, 0)), client);
    view->Raise();
    view->Refresh(false);
    view->Update();
    Settle();
    // Each step: keys typed, each painted as it is typed; then what the screen shows against a whole repaint.
    struct Step
    {
        const char* what;
        std::function<void()> keys;
    };
    const Step steps[] = {
        {"letters at the end", [&] { TypeText(view, "abc"); }},
        {"Backspace", [&] { SendKey(view, WXK_BACK); }},
        {"the caret to the first line", [&] { SendKey(view, WXK_UP); SendKey(view, WXK_UP); SendKey(view, WXK_UP); }},
        {"letters that push words to the next line", [&] { TypeText(view, "Longer "); }},
        {"Return, moving the lines below down", [&] { SendKey(view, WXK_RETURN); }},
        {"Backspace joining them again", [&] { SendKey(view, WXK_BACK); }},
        {"a selection taken out", [&] { SendKey(view, WXK_END, true); SendKey(view, WXK_DELETE); }},
    };
    for (const Step& step : steps) {
        step.keys();
        view->Update();
        Settle();
        const wxImage typed = ScreenPicture(screen);
        ASSERT_TRUE(typed.IsOk());
        view->Refresh(false);
        view->Update();
        Settle();
        const wxImage whole = ScreenPicture(screen);
        ASSERT_TRUE(whole.IsOk());
        const CRect differs = DifferingArea(typed, whole);
        EXPECT_TRUE(differs.IsRectEmpty()) << step.what << ": " << differs.left << "," << differs.top << " to "
                                           << differs.right << "," << differs.bottom;
    }
    SaveWindowScreenshot(edited.window->frame, "design_view_typed_keys.png");
}

TEST(DesignViewKeys, ArrowsNudgeTheSelectionAPixelAKeyAsOneStep)
{
    ViewServices services;
    std::unique_ptr<CWebsite> site = MakeSite();
    CSitePage* page = site->GetPage(0);
    page->RenderDirtyObjects();
    const auto& recorded = static_cast<RecordingUndoManager*>(page->GetUndoManager())->recorded;
    ViewWindow window(services, page);
    COrvelView* view = window.view;
    page->SelectItemAt(0);
    const CRect start = page->GetItem(0)->GetRect();

    // A held key repeats its press and is released once.
    const auto hold = [&](int key, int presses, bool shift) {
        for (int i = 0; i < presses; ++i) {
            wxKeyEvent down(wxEVT_KEY_DOWN);
            down.m_keyCode = key;
            down.m_shiftDown = shift;
            view->GetEventHandler()->ProcessEvent(down);
        }
        wxKeyEvent up(wxEVT_KEY_UP);
        up.m_keyCode = key;
        view->GetEventHandler()->ProcessEvent(up);
    };
    hold(WXK_RIGHT, 10, false);
    EXPECT_EQ(page->GetItem(0)->GetRect().left, start.left + 10);
    EXPECT_EQ(recorded, std::vector<int>{2});
    // Shift changes nothing: a pixel a key.
    hold(WXK_DOWN, 2, true);
    EXPECT_EQ(page->GetItem(0)->GetRect().top, start.top + 2);
    EXPECT_EQ(recorded, (std::vector<int>{2, 2}));
    // Other keys and a typed character outside text editing change nothing.
    SendKey(view, 'X');
    EXPECT_EQ(page->GetItem(0)->GetRect().left, start.left + 10);
    EXPECT_EQ(recorded.size(), 2u);
}

TEST(DesignViewDrop, ThreePictureFilesMakeThreeSelectedRectanglesAndOneStep)
{
    ViewServices services;
    std::unique_ptr<CWebsite> site = MakeSite();
    CSitePage* page = site->GetPage(0);
    page->RenderDirtyObjects();
    page->SelectItemAt(0);
    const auto& recorded = static_cast<RecordingUndoManager*>(page->GetUndoManager())->recorded;
    ViewWindow window(services, page);
    COrvelView* view = window.view;

    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    wxArrayString files;
    for (int i = 0; i < 3; ++i) {
        wxImage image(20 + 10 * i, 16);
        const std::string path = (TestOutputFolder() / ("dropped_" + std::to_string(i) + ".png")).string();
        ASSERT_TRUE(image.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG));
        files.Add(wxString::FromUTF8(path));
    }
    // What is no picture is left out.
    const std::string notes = (TestOutputFolder() / "dropped_notes.txt").string();
    std::ofstream(notes) << "notes";
    files.Add(wxString::FromUTF8(notes));

    auto* target = dynamic_cast<wxFileDropTarget*>(view->GetDropTarget());
    ASSERT_NE(target, nullptr);
    const CPoint origin = view->GetPageOrigin();
    EXPECT_EQ(target->OnDragOver(origin.x + 200, origin.y + 150, wxDragCopy), wxDragCopy);
    ASSERT_TRUE(target->OnDropFiles(origin.x + 200, origin.y + 150, files));
    ASSERT_EQ(page->GetItemCount(), 6);
    EXPECT_EQ(page->GetSelectedItemCount(), 3);
    EXPECT_FALSE(page->GetItem(0)->IsSelected());
    for (int i = 3; i < 6; ++i) {
        const CRect rect = page->GetItem(i)->GetRect();
        EXPECT_TRUE(page->GetItem(i)->IsSelected());
        EXPECT_EQ(CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2), CPoint(200, 150));
    }
    EXPECT_EQ(recorded, std::vector<int>{0});

    // Nothing is taken while a text is edited.
    page->SetEditingInPlace(true);
    EXPECT_EQ(target->OnDragOver(origin.x + 200, origin.y + 150, wxDragCopy), wxDragNone);
    page->SetEditingInPlace(false);
}

} // namespace
