#include "app/docview/design_view.h"

#include <gtest/gtest.h>

#include "app/docview/design_view_test_support.h"

namespace {

using namespace design_view_testing;

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
                        static_cast<int>(std::floor(centre.y - size.cy * 0.5)) + first.m_baseline - 3);
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
    ASSERT_FALSE(text->GetTextBody()->m_selectionEmpty);
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

} // namespace
