#include "app/dialogs/welcome_dlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcbuffer.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

#include "platform/gui/button_content.h"

namespace {

constexpr int kBannerId = 1664;
constexpr int kNewSiteId = 1665;
constexpr int kOpenSiteId = 1666;
constexpr int kThemeId = 1667;
constexpr int kCheckId = 1169;

} // namespace

CWelcomeDLG::CWelcomeDLG(wxWindow* parent)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "371");
    if (!m_bLoaded)
        return;
    m_banner = dynamic_cast<wxPanel*>(FindWindow(kBannerId));
    m_check = dynamic_cast<wxCheckBox*>(FindWindow(kCheckId));
    if (!m_banner || !m_check) {
        m_bLoaded = false;
        return;
    }
    // The three ways to begin read as a list: pictures and titles one under another at the left.
    for (int id : {kNewSiteId, kThemeId, kOpenSiteId})
        if (auto* choice = dynamic_cast<wxButton*>(FindWindow(id)))
            AlignButtonContentStart(*choice);
    m_banner->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_banner->Bind(wxEVT_PAINT, &CWelcomeDLG::OnPaintBanner, this);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Choose(WelcomeChoice::newSite, wxID_OK); }, kNewSiteId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Choose(WelcomeChoice::openSite, wxID_OK); }, kOpenSiteId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Choose(WelcomeChoice::siteFromTheme, wxID_OK); }, kThemeId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Choose(WelcomeChoice::none, wxID_OK); }, wxID_OK);
    // Escape and the close box cancel; the box's state is still recorded, though the caller ignores it then.
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Choose(WelcomeChoice::none, wxID_CANCEL); });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& key) {
        if (key.GetKeyCode() == WXK_ESCAPE)
            Choose(WelcomeChoice::none, wxID_CANCEL);
        else
            key.Skip();
    });
    GetSizer()->SetSizeHints(this);
}

int CWelcomeDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    CentreOnParent();
    return wxDialog::ShowModal();
}

void CWelcomeDLG::Choose(WelcomeChoice::Start start, int result)
{
    m_choice.start = start;
    m_choice.dontShowAgain = m_check->GetValue();
    if (IsModal())
        EndModal(result);
    else
        SetReturnCode(result);
}

void CWelcomeDLG::OnPaintBanner(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(m_banner);
    const wxRect area(m_banner->GetClientSize());
    dc.GradientFillLinear(area, wxColour(22, 50, 92), wxColour(60, 120, 190), wxEAST);
    wxFont font = GetFont();
    font.SetPointSize(font.GetPointSize() * 2);
    font.SetWeight(wxFONTWEIGHT_BOLD);
    dc.SetFont(font);
    dc.SetTextForeground(*wxWHITE);
    const wxString title = "Welcome to Pelorin";
    const wxSize extent = dc.GetTextExtent(title);
    dc.DrawText(title, area.GetLeft() + 16, area.GetTop() + (area.GetHeight() - extent.GetHeight()) / 2);
}
