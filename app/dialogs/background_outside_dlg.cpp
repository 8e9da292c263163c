#include "app/dialogs/background_outside_dlg.h"

#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/notice_dialogs.h"
#include "controls/button_controls.h"
#include "platform/gui/control_notify.h"

namespace {

constexpr int kContinueId = 1160;
constexpr int kSolidId = 1170;
constexpr int kColorId = 1167;

} // namespace

CBackgroundOutsideDLG::CBackgroundOutsideDLG(wxWindow* parent, const BackgroundOutsideChoice& choice) : m_choice(choice)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "343");
    m_continue = dynamic_cast<wxRadioButton*>(FindWindow(kContinueId));
    m_solid = dynamic_cast<wxRadioButton*>(FindWindow(kSolidId));
    m_pColor = m_bLoaded ? ReplacePlaceholder<CColorControl>(*this, kColorId) : nullptr;
    if (!m_bLoaded || !m_continue || !m_solid || !m_pColor) {
        m_bLoaded = false;
        return;
    }
    m_pColor->Init(&m_choice.color);
    ShowChoice();
    Bind(
        wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { m_choice.continueFill = true; }, kContinueId);
    Bind(
        wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { m_choice.continueFill = false; }, kSolidId);
    Bind(EVT_CONTROL_NOTIFY, &CBackgroundOutsideDLG::OnColor, this, kColorId);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            m_choice.color = m_pColor->GetColor();
            EndModal(wxID_OK);
        },
        wxID_OK);
    EscapeCancels(*this);
    GetSizer()->SetSizeHints(this);
}

int CBackgroundOutsideDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    CentreOnParent();
    return wxDialog::ShowModal();
}

void CBackgroundOutsideDLG::ShowChoice()
{
    (m_choice.continueFill ? m_continue : m_solid)->SetValue(true);
}

void CBackgroundOutsideDLG::OnColor(CControlNotifyEvent& event)
{
    if (event.GetCode() != COLOR_NOTIFY_CHANGED)
        return;
    m_choice.ChooseColor(m_pColor->GetColor());
    ShowChoice();
}
