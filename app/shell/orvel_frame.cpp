#include "app/shell/orvel_frame.h"

#include "app/shell/main_frame.h"
#include "app/shell/wx_text.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

#include <wx/dcbuffer.h>
#include <wx/sizer.h>

CPagePlaceholderView::CPagePlaceholderView(wxWindow* parent, CSitePage* page)
    : wxScrolledCanvas(parent, wxID_ANY), m_pPage(page)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetVirtualSize(page->GetWidth(), page->GetHeight());
    SetScrollRate(10, 10);
    Bind(wxEVT_PAINT, &CPagePlaceholderView::OnPaint, this);
}

void CPagePlaceholderView::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    DoPrepareDC(dc);
    const wxSize client = GetClientSize();
    const int width = m_pPage->GetWidth();
    const int height = m_pPage->GetHeight();
    // A page narrower than the window stands in the middle of it, as the design view places it.
    const int x = client.x > width ? (client.x - width) / 2 : 0;
    const int y = client.y > height ? (client.y - height) / 2 : 0;
    dc.SetBackground(wxBrush(wxColour(128, 128, 128)));
    dc.Clear();
    dc.SetPen(wxPen(wxColour(64, 64, 64)));
    const CFillStyle* background = m_pPage->GetBackground();
    const CColor color = background ? background->GetColor() : CColor(255, 255, 255);
    const unsigned long ref = color.GetCOLORREF();
    dc.SetBrush(wxBrush(wxColour(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF)));
    dc.DrawRectangle(x - 1, y - 1, width + 2, height + 2);
}

COrvelFrame::COrvelFrame(CMainFrame* parent, CSitePage* page)
    : wxMDIChildFrame(parent, wxID_ANY, ToWx(page->GetName())), m_pMainFrame(parent)
{
    m_pView = new CPagePlaceholderView(this, page);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pView, 1, wxEXPAND);
    SetSizer(sizer);
    Bind(wxEVT_ACTIVATE, &COrvelFrame::OnActivate, this);
}

COrvelFrame::~COrvelFrame()
{
    m_pMainFrame->OnPageWindowClosed(this);
}

void COrvelFrame::OnActivate(wxActivateEvent& event)
{
    // The page of the window the user turns to becomes the site's current page.
    if (event.GetActive()) {
        if (CWebsite* site = GetPage()->GetSite())
            site->SetCurrentPage(GetPage());
    }
    event.Skip();
}
