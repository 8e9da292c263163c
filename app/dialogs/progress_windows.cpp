#include "app/dialogs/progress_windows.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/notice_dialogs.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

enum
{
    kBar = 1184,
    kPage = 1185,
    kPhase = 1186,
};

void SetLabelOnChange(wxStaticText* text, const std::string& label)
{
    const wxString shown = wxString::FromUTF8(label);
    if (text->GetLabel() != shown)
        text->SetLabel(shown);
}

} // namespace

CBuildStatusDLG::CBuildStatusDLG(wxWindow* parent, CBuildStatus& status) : m_status(status)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "374");
    if (!m_bLoaded)
        return;
    m_phase = dynamic_cast<wxStaticText*>(FindWindow(kPhase));
    m_pPage = dynamic_cast<wxStaticText*>(FindWindow(kPage));
    m_bar = dynamic_cast<wxGauge*>(FindWindow(kBar));
    m_bLoaded = m_phase && m_pPage && m_bar && FindWindow(wxID_CANCEL);
    if (!m_bLoaded)
        return;
    // The window stays until the build ends; the builder sees the cancel at its next poll.
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { m_status.Cancel(); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        event.Veto();
        m_status.Cancel();
    });
    m_bar->SetRange(100);
    ShowStatus();
    GetSizer()->SetSizeHints(this);
    PlaceDialog(*this, NoticePlacement::rememberedCentre);
    FindWindow(wxID_CANCEL)->SetFocus();
}

void CBuildStatusDLG::ShowStatus()
{
    if (!m_status.GetPhase().empty())
        SetLabelOnChange(m_phase, m_status.GetPhase());
    SetLabelOnChange(m_pPage, m_status.GetPageName());
    if (m_bar->GetValue() != m_status.GetPercent())
        m_bar->SetValue(m_status.GetPercent());
}

CProgressDialogShown::CProgressDialogShown(wxDialog* dialog, bool loaded) : m_dialog(dialog)
{
    if (!loaded) {
        m_dialog->Destroy();
        m_dialog = nullptr;
    }
    m_disabler = std::make_unique<wxWindowDisabler>(m_dialog);
    if (m_dialog) {
        m_dialog->Show();
        m_dialog->Update();
    }
}

CProgressDialogShown::~CProgressDialogShown()
{
    m_disabler.reset();
    if (m_dialog)
        m_dialog->Destroy();
}

CBuildStatusWindow::CBuildStatusWindow(wxWindow* parent) : m_shown(new CBuildStatusDLG(parent, *this)) {}

CBuildStatusWindow::~CBuildStatusWindow() = default;

void CBuildStatusWindow::Refresh()
{
    if (CBuildStatusDLG* dialog = GetDialog())
        dialog->ShowStatus();
    // Every other window is disabled, so the input taken here reaches only Cancel; the window repaints.
    wxTheApp->Yield(true);
}

CConnectingDLG::CConnectingDLG(wxWindow* parent)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "5003");
    if (!m_bLoaded)
        return;
    if (auto* picture = dynamic_cast<wxStaticBitmap*>(FindWindow(1515)))
        picture->SetBitmap(wxArtProvider::GetBitmapBundle(wxART_INFORMATION, wxART_MESSAGE_BOX));
    auto* text = dynamic_cast<wxStaticText*>(FindWindow(1551));
    m_bLoaded = text != nullptr;
    if (!m_bLoaded)
        return;
    text->SetLabel(BytesToWx(ResourceText(IDS_CONNECTING)));
    text->Wrap(FromDIP(320));
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
}
