#include "app/dialogs/picture_dialogs.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/notice_dialogs.h"
#include "controls/button_controls.h"
#include "platform/gui/control_notify.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

constexpr int kPathId = 1213;
constexpr int kSolidId = 1212;
constexpr int kColorPlaceId = 1217;
constexpr int kTryAgainId = 1211;
constexpr int kFitId = 1529;
constexpr int kKeepAspectId = 1533;

} // namespace

CFillPictureDLG::CFillPictureDLG(int dialogId, wxWindow* parent, FillPictureDialog& data)
    : m_data(data), m_choice(FillPictureLastChoice(dialogId))
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "fill_picture");
    if (!m_bLoaded)
        return;
    SetIconAndText(*this, NoticeIcon::warning, BytesToWx(ResourceText(static_cast<unsigned>(dialogId))));
    if (auto* path = dynamic_cast<wxTextCtrl*>(FindWindow(kPathId)))
        path->ChangeValue(PathToWx(data.m_strPath));
    m_solid = dynamic_cast<wxCheckBox*>(FindWindow(kSolidId));
    // The colour well takes the place-holder's place and id.
    m_pColor = ReplacePlaceholder<CColorControl>(*this, kColorPlaceId);
    if (!m_solid || !m_pColor) {
        m_bLoaded = false;
        return;
    }
    m_pColor->Init(&data.m_color);
    m_solid->SetValue(m_choice.IsSolidTicked());
    UpdateOk();

    Bind(EVT_CONTROL_NOTIFY, &CFillPictureDLG::OnColorChanged, this, kColorPlaceId);
    Bind(wxEVT_CHECKBOX, &CFillPictureDLG::OnSolid, this, kSolidId);
    Bind(wxEVT_BUTTON, &CFillPictureDLG::OnTryAgain, this, kTryAgainId);
    Bind(wxEVT_BUTTON, &CFillPictureDLG::OnOK, this, wxID_OK);
    EscapeCancels(*this);
    GetSizer()->SetSizeHints(this);
}

int CFillPictureDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    m_data.m_tryAgain = m_choice.GetTryAgain();
    if (wxWindow* path = FindWindow(kPathId))
        path->SetFocus();
    PlaceDialog(*this, NoticePlacement::rememberedCentre);
    return wxDialog::ShowModal();
}

void CFillPictureDLG::UpdateOk()
{
    m_solid->SetValue(m_choice.IsSolidTicked());
    if (wxWindow* ok = FindWindow(wxID_OK))
        ok->Enable(m_choice.IsOkEnabled());
}

void CFillPictureDLG::OnColorChanged(CControlNotifyEvent& event)
{
    if (event.GetCode() == COLOR_NOTIFY_CHANGED) {
        m_choice.OnColorChanged();
        UpdateOk();
    }
}

void CFillPictureDLG::OnSolid(wxCommandEvent&)
{
    m_choice.OnSolidClicked(m_solid->GetValue());
    UpdateOk();
}

void CFillPictureDLG::OnTryAgain(wxCommandEvent&)
{
    m_choice.OnTryAgain();
    m_data.m_tryAgain = true;
    EndModal(wxID_OK);
}

void CFillPictureDLG::OnOK(wxCommandEvent&)
{
    m_choice.OnOK();
    m_data.m_tryAgain = false;
    m_data.m_color = m_pColor->GetColor();
    StoreDialogCentre(*this);
    EndModal(wxID_OK);
}

CPictureTooLargeDLG::CPictureTooLargeDLG(wxWindow* parent)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "494");
    if (!m_bLoaded)
        return;
    SetIconAndText(*this, NoticeIcon::question, BytesToWx(ResourceText(IDS_FIT_PICTURE_TO_PAGE_QUESTION)));
    m_fit = dynamic_cast<wxCheckBox*>(FindWindow(kFitId));
    m_keep = dynamic_cast<wxCheckBox*>(FindWindow(kKeepAspectId));
    if (!m_fit || !m_keep) {
        m_bLoaded = false;
        return;
    }
    ShowChoice();
    Bind(
        wxEVT_CHECKBOX,
        [this](wxCommandEvent&) {
            m_choice.ClickFit(m_fit->GetValue());
            ShowChoice();
        },
        kFitId);
    Bind(
        wxEVT_CHECKBOX, [this](wxCommandEvent&) { m_choice.ClickKeepAspect(m_keep->GetValue()); }, kKeepAspectId);
    EscapeCancels(*this);
    GetSizer()->SetSizeHints(this);
}

int CPictureTooLargeDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    CentreOnParent();
    return wxDialog::ShowModal();
}

void CPictureTooLargeDLG::ShowChoice()
{
    m_fit->SetValue(m_choice.fit);
    m_keep->SetValue(m_choice.keepAspect);
    m_keep->Enable(m_choice.keepAspectEnabled);
}
