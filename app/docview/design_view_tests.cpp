#include "app/docview/design_view.h"

#include <gtest/gtest.h>

#include "app/docview/design_view_test_support.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"

namespace {

using namespace design_view_testing;

TEST(DesignView, ShowsTheFrontPageCentredWithItsGuidesAndObjects)
{
    ViewServices services;
    // The page goes through its file, as the program opens it.
    const std::string path = (TestOutputFolder() / "design_view_site.kst").string();
    NullDocumentHost host;
    {
        COrvelDoc writer(host);
        writer.AttachSite(MakeSite());
        ASSERT_TRUE(writer.SaveSiteSafely(path));
    }
    COrvelDoc doc(host);
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

// A selected object, a selected group and a text edited in place all stay behind the object in front of them: the
// selection adds only its frame and handles (the edited text its edit frame) over the page. Every way the view
// paints shows that: the whole window (its tiles spread over the cores), pieces of it (each on this thread alone),
// the area of the object in front after it changed, and a key typed into the edited text, which paints straight
// into the window. Away from the frames each shows the page as it was drawn with nothing selected.
TEST(DesignView, ASelectionStaysBehindTheObjectsInFrontOfIt)
{
    ViewServices services;
    const BlinkTime steady(0);
    const std::array<int, 3> frontColour{40, 120, 200};
    struct Case
    {
        const char* name;
        const char* picture; // the window painted with the selection, in the test output folder
        bool text;
        std::function<void(CSitePage&, COrvelView*)> select;
    };
    // The back object is item 0; the front one (item 2) covers its right part. A click lands where nothing covers it.
    const Case cases[] = {
        {"a rectangle clicked", "rectangle", false,
         [](CSitePage&, COrvelView* view) {
             SendMouse(view, wxEVT_LEFT_DOWN, CPoint(80, 150));
             SendMouse(view, wxEVT_LEFT_UP, CPoint(80, 150));
         }},
        {"a group", "group", false,
         [](CSitePage& page, COrvelView*) {
             page.SelectItemAt(0);
             page.AddItemToSelection(1);
             page.CreateGroup();
         }},
        {"a text edited in place", "text", true,
         [&services](CSitePage& page, COrvelView* view) {
             services.tool = 2;
             SendMouse(view, wxEVT_LEFT_DOWN, CPoint(70, 140));
             SendMouse(view, wxEVT_LEFT_UP, CPoint(70, 140));
             services.tool = 1;
             // The caret at the end of the text, which lies under the front object.
             auto* text = dynamic_cast<CTextObject*>(page.GetItem(0)->GetCurrentObject());
             ASSERT_TRUE(text && page.IsEditingInPlace() && page.GetEditedObject() == text);
             CTextBody& body = *text->GetTextBody();
             body.m_caretPara = body.GetParagraphCount() - 1;
             body.m_caretIndex = body.m_paragraphs.back().GetCount();
             text->UpdateCaret(body.m_caretPara, body.m_caretIndex);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFillStyle background;
        background.SetColor(CColor(255, 255, 255));
        CWebsite site(std::string(), "Layers", background, false, 420, 300, 0, CColor(0, 0, 255), CColor(128, 0, 128));
        CSitePage* page = site.AddPage(std::make_unique<CSitePage>(&site, "index", "Home", site.GetNewPageSettings()));
        if (c.text) {
            auto text = text_editing_testing::MakeText(200, {"Words under a square", "and the end of them"});
            // A text of the advanced kind stands among the other objects (a plain one is kept above them all).
            text->GetTextBody()->m_allowAdvanced = 1;
            text->SetCenter(DPOINT{150, 150});
            text->UpdateHandles();
            text->SetNewObject(false);
            page->AddObject(std::move(text));
        } else {
            auto back = std::make_unique<CRectangleObject>(150, 150, SIZE{160, 120}, 0.0);
            back->GetFill()->SetColor(CColor(210, 50, 40));
            page->AddObject(std::move(back));
        }
        page->AddObject(std::make_unique<CRectangleObject>(60, 60, SIZE{30, 30}, 0.0));
        auto front = std::make_unique<CRectangleObject>(200, 165, SIZE{120, 100}, 0.0);
        front->GetFill()->SetColor(CColor(40, 120, 200));
        page->AddObject(std::move(front));
        page->RenderDirtyObjects();
        ViewWindow window(services, page);
        COrvelView* view = window.view;
        const wxSize client = view->GetClientSize();
        const CRect whole(0, 0, client.x, client.y);
        const auto paint = [&](const std::vector<CRect>& clips) {
            wxBitmap bitmap(client.x, client.y, 24);
            {
                wxMemoryDC dc(bitmap);
                for (const CRect& clip : clips)
                    view->PaintArea(dc, clip);
            }
            return bitmap.ConvertToImage();
        };
        const wxImage unselected = paint({whole});

        c.select(*page, view);
        GiveFocus(view, false);
        ASSERT_TRUE(page->HasSelection());
        // Client rectangles: the frame drawn over the page (the edit frame's marks reach further), the back object
        // and the part of the front object away from every frame.
        const CPageItem& backItem = *page->GetItem(0);
        const auto onClient = [view](const CRect& rect) {
            CRect client = view->PageRectToClient(rect);
            client.DeflateRect(3, 3);
            return client;
        };
        const CObjectFrame* selected = page->GetSingleSelectedFrame();
        ASSERT_NE(selected, nullptr);
        const CRect frame = onClient(selected->GetRect());
        const int reach = c.text ? 10 : 4;
        const CRect back = view->GetItemClientRect(backItem);
        CRect covered = view->GetItemClientRect(*page->GetItem(2));
        covered.DeflateRect(3 + reach, 3 + reach);
        const auto compared = [&](int x, int y) {
            const CPoint pt(x, y);
            CRect outer = frame, inner = frame;
            outer.InflateRect(reach, reach);
            inner.DeflateRect(reach, reach);
            if (outer.PtInRect(pt) && !inner.PtInRect(pt))
                return false;
            // The edited text is drawn by its editor, not from its image, where nothing covers it.
            return !c.text || !back.PtInRect(pt) || covered.PtInRect(pt);
        };
        const auto expectUnselected = [&](const wxImage& painted, const CRect& within, const char* how) {
            int differing = 0, frontShown = 0;
            CPoint first(-1, -1);
            for (int y = within.top; y < within.bottom; ++y)
                for (int x = within.left; x < within.right; ++x) {
                    if (!compared(x, y))
                        continue;
                    if (Rgb(painted, CPoint(x, y)) != Rgb(unselected, CPoint(x, y)) && differing++ == 0)
                        first = CPoint(x, y);
                    if (covered.PtInRect(CPoint(x, y)))
                        ++frontShown;
                }
            EXPECT_EQ(differing, 0) << how << ": first at " << first.x << "," << first.y;
            EXPECT_GT(frontShown, 2000) << how << ": the front object's covering part was compared";
        };

        const wxImage selectedPicture = paint({whole});
        expectUnselected(selectedPicture, whole, "the whole window");
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
            wxImage::AddHandler(new wxPNGHandler());
        selectedPicture.SaveFile(
            wxString::FromUTF8((TestOutputFolder() / ("behind_" + std::string(c.picture) + ".png")).string()),
            wxBITMAP_TYPE_PNG);
        std::vector<CRect> pieces;
        for (int y = 0; y < client.y; y += 90)
            for (int x = 0; x < client.x; x += 110)
                pieces.emplace_back(x, y, std::min(x + 110, client.x), std::min(y + 90, client.y));
        expectUnselected(paint(pieces), whole, "pieces");
        page->GetItem(2)->GetCurrentObject()->SetDirty();
        const CRect changed = view->GetItemClientRect(*page->GetItem(2));
        expectUnselected(paint({changed}), changed, "the changed object's area");

        if (c.text) {
            // A key paints its few lines straight into the window; the screen shows what it painted.
            view->Raise();
            view->Refresh(false);
            view->Update();
            Settle();
            SendKey(view, 'W', true, false, 'W');
            const wxImage typed = ScreenPicture(wxRect(view->ClientToScreen(wxPoint(0, 0)), client));
            ASSERT_TRUE(typed.IsOk());
            // The caret, like the edit frame, stands over everything.
            CRect caret = view->GetTextCaret().GetRect();
            caret.InflateRect(1, 1);
            int uncovered = 0, shown = 0;
            for (int y = covered.top; y < covered.bottom; ++y)
                for (int x = covered.left; x < covered.right; ++x) {
                    if (!compared(x, y) || caret.PtInRect(CPoint(x, y)))
                        continue;
                    ++shown;
                    if (Rgb(typed, CPoint(x, y)) != frontColour)
                        ++uncovered;
                }
            EXPECT_EQ(uncovered, 0) << "a typed key";
            EXPECT_GT(shown, 2000);
            SaveWindowScreenshot(window.frame, "design_view_text_behind.png");
            page->SetEditingInPlace(false);
        }
    }
}

} // namespace
