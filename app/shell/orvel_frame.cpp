#include "app/shell/orvel_frame.h"

#include "app/shell/page_tabs.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/gui/text_bytes.h"

#include <wx/sizer.h>

COrvelFrame::COrvelFrame(wxMDIParentFrame* parent, CPageWindowOwner& owner, CSitePage* page)
    : wxMDIChildFrame(parent, wxID_ANY, BytesToWx(page->GetName())), m_owner(owner)
{
    m_pView = new COrvelView(this, page);
    // The view starts as large as the tab area it will fill: a view laid out at the toolkit's tiny default size
    // leaves its scroll bars less room than they need.
    if (wxWindow* area = parent->GetClientWindow())
        m_pView->SetSize(area->GetClientSize());
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pView, 1, wxEXPAND);
    SetSizer(sizer);
    SetPageTabLabel(this, GetTitle());
    Bind(wxEVT_ACTIVATE, &COrvelFrame::OnActivate, this);
    Bind(wxEVT_CLOSE_WINDOW, &COrvelFrame::OnClose, this);
}

// The site's last window asks about unsaved changes first; Cancel keeps it open.
void COrvelFrame::OnClose(wxCloseEvent& event)
{
    if (event.CanVeto() && !m_owner.CanClosePageWindow(*this)) {
        event.Veto();
        return;
    }
    event.Skip();
}

void COrvelFrame::SetTitle(const wxString& title)
{
    // The toolkit would put a plain label in place of the tab with its close button.
    wxMDIChildFrame::SetTitle(title);
    SetPageTabLabel(this, title);
}

COrvelFrame::~COrvelFrame()
{
    m_owner.OnPageWindowClosed(*this);
}

void COrvelFrame::OnActivate(wxActivateEvent& event)
{
    // The page of the window the user turns to becomes the site's current page.
    if (event.GetActive()) {
        if (CWebsite* site = GetPage()->GetSite())
            site->SetCurrentPage(GetPage());
        m_owner.OnPageWindowActivated(*this);
    }
    event.Skip();
}
