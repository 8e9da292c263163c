#include "app/shell/preview_dlg.h"

#include <wx/display.h>
#include <wx/filename.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/webview.h>
#include <wx/xrc/xmlres.h>

#include "app/shell/logic/preview_size.h"

namespace {

enum
{
    kBack = 1001,
    kForward = 1002,
    kRefresh = 1567,
    kBrowser = 1000,
    kStatus = 1200,
};

} // namespace

bool IsPreviewAvailable()
{
    return wxWebView::IsBackendAvailable(wxWebViewBackendDefault);
}

CPreviewDLG::CPreviewDLG(wxWindow* parent, const std::string& path, CSize pageSize)
{
    if (!wxXmlResource::Get()->LoadDialog(this, parent, "130") || !IsPreviewAvailable())
        return;
    auto* panel = dynamic_cast<wxPanel*>(FindWindow(kBrowser));
    if (!panel)
        return;
    m_pView = wxWebView::New(panel, wxID_ANY, wxFileName::FileNameToURL(wxString::FromUTF8(path)));
    if (!m_pView)
        return;
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pView, 1, wxEXPAND);
    panel->SetSizer(sizer);
    m_pView->Bind(wxEVT_WEBVIEW_LOADED, &CPreviewDLG::OnLoaded, this);
    m_pView->Bind(wxEVT_WEBVIEW_NAVIGATED, &CPreviewDLG::OnLoaded, this);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (m_pView->CanGoBack())
                m_pView->GoBack();
            m_pView->SetFocus();
        },
        kBack);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (m_pView->CanGoForward())
                m_pView->GoForward();
            m_pView->SetFocus();
        },
        kForward);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { m_pView->Reload(); }, kRefresh);
    // Asked of the web view each time the buttons are updated: nothing left over from an earlier window or page can
    // enable one.
    Bind(
        wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(m_pView->CanGoBack()); }, kBack);
    Bind(
        wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(m_pView->CanGoForward()); }, kForward);
    ShowNavigation();

    // The page with room for the buttons and the status line, held inside the screen.
    const wxRect screen = (parent ? wxDisplay(parent) : wxDisplay()).GetClientArea();
    GetSizer()->SetSizeHints(this);
    const wxSize least = GetSize() - panel->GetSize();
    const CSize size =
        PreviewWindowSize(pageSize, CSize(least.x + 25, least.y + 25), CSize(screen.width, screen.height));
    SetMinSize(wxSize(kPreviewMinWidth, kPreviewMinHeight));
    SetSize(size.cx, size.cy);
    CentreOnScreen();
}

void CPreviewDLG::ShowNavigation()
{
    FindWindow(kBack)->Enable(m_pView->CanGoBack());
    FindWindow(kForward)->Enable(m_pView->CanGoForward());
}

void CPreviewDLG::OnLoaded(wxWebViewEvent& event)
{
    ShowNavigation();
    if (auto* status = dynamic_cast<wxStaticText*>(FindWindow(kStatus)))
        status->SetLabel(event.GetURL());
    event.Skip();
}
