#pragma once

// What the design view's window tests share: a site with a few objects, the view in a frame of its own, mouse and
// key events as the window system sends them, the caret's focus and blink, and pictures of what a paint draws.

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
#include "app/docview/view_events_test_support.h"
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

namespace design_view_testing {

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

inline CRect DifferingArea(const wxImage& a, const wxImage& b);

inline std::unique_ptr<CWebsite> MakeSite()
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


// Press at from, move through the points, release at the last.
inline void DragMouse(COrvelView* view, CPoint from, std::initializer_list<CPoint> through, bool ctrl = false)
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

inline std::array<int, 3> Rgb(const wxImage& image, const CPoint& client)
{
    return {image.GetRed(client.x, client.y), image.GetGreen(client.x, client.y), image.GetBlue(client.x, client.y)};
}


// A key as the window system sends it: the press, the character it makes unless the press was taken, the release.
inline void SendKey(COrvelView* view, int keyCode, bool shift = false, bool ctrl = false, wxChar unicode = 0)
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

inline void TypeText(COrvelView* view, const std::string& text)
{
    for (char c : text)
        SendKey(view, std::toupper(static_cast<unsigned char>(c)), std::isupper(static_cast<unsigned char>(c)) != 0,
                false, static_cast<wxChar>(c));
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
inline void GiveFocus(COrvelView* view, bool focused = true)
{
    view->SetFocus();
    wxFocusEvent event(focused ? wxEVT_SET_FOCUS : wxEVT_KILL_FOCUS, view->GetId());
    event.SetEventObject(view);
    view->GetEventHandler()->ProcessEvent(event);
}

inline void Tick(COrvelView* view)
{
    wxTimerEvent event(view->GetCaretTimer());
    view->GetEventHandler()->ProcessEvent(event);
}

// What a paint of the whole client area draws.
inline wxImage PaintedClient(COrvelView* view)
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
inline CRect DifferingArea(const wxImage& a, const wxImage& b)
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
        body.m_caretPara = body.GetParagraphCount() - 1;
        body.m_caretIndex = body.m_paragraphs.back().GetCount();
        text->UpdateCaret(body.m_caretPara, body.m_caretIndex);
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

} // namespace design_view_testing
