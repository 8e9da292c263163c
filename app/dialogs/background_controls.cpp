#include "app/dialogs/background_controls.h"

#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/radiobut.h>

#include "app/dialogs/fill_picture_choice.h"
#include "app/dialogs/notice_dialogs.h"
#include "app/model/fill_style.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "controls/button_controls.h"
#include "controls/gradient_control.h"
#include "platform/gui/control_notify.h"
#include "platform/gui/text_bytes.h"

bool CBackgroundControls::Create(wxDialog& dialog, const BackgroundControlIds& ids, CFillStyle& fill,
                                 bool bandMakesGradient)
{
    m_dialog = &dialog;
    m_ids = ids;
    m_fill = &fill;
    m_bandMakesGradient = bandMakesGradient;
    m_horizontal = dynamic_cast<wxCheckBox*>(dialog.FindWindow(ids.horizontal));
    m_pColor = ReplacePlaceholder<CColorControl>(dialog, ids.color);
    m_pGradient = ReplacePlaceholder<CGradientControl>(dialog, ids.gradientBand);
    if (!m_horizontal || !m_pColor || !m_pGradient)
        return false;
    m_pColor->Init(&fill.GetColor());
    m_pGradient->Init();
    for (int id : {ids.solid, ids.picture, ids.gradient})
        dialog.Bind(wxEVT_RADIOBUTTON, &CBackgroundControls::OnKind, this, id);
    dialog.Bind(wxEVT_BUTTON, &CBackgroundControls::OnBrowse, this, ids.browse);
    dialog.Bind(
        wxEVT_CHECKBOX,
        [this](wxCommandEvent&) {
            m_fill->SetGradientHorizontal(m_horizontal->GetValue());
            Show();
        },
        ids.horizontal);
    for (int id : {ids.color, ids.gradientBand})
        dialog.Bind(EVT_CONTROL_NOTIFY, &CBackgroundControls::OnNotify, this, id);
    return true;
}

void CBackgroundControls::Show()
{
    const int kind = FillKindButton(*m_fill, m_ids.solid, m_ids.picture, m_ids.gradient);
    for (int id : {m_ids.solid, m_ids.picture, m_ids.gradient})
        if (auto* radio = dynamic_cast<wxRadioButton*>(m_dialog->FindWindow(id)))
            radio->SetValue(id == kind);
    m_pColor->SetColor(m_fill->GetColor());
    if (wxWindow* name = m_dialog->FindWindow(m_ids.pictureName))
        name->SetLabel(BytesToWx(GetPathFileName(m_fill->GetImageFile())));
    m_horizontal->Enable(m_fill->GetKind() == 2);
    m_horizontal->SetValue(m_fill->IsGradientHorizontal());
    m_pGradient->ChangeGradient(m_fill->GetGradient().GetGradientColors());
}

void CBackgroundControls::OnKind(wxCommandEvent& event)
{
    const int id = event.GetId();
    if (id == m_ids.solid)
        m_fill->SetColor(m_pColor->GetColor());
    else if (id == m_ids.gradient)
        m_fill->SetGradient(nullptr);
    else if (id == m_ids.picture)
        ChooseFillPictureKind(*m_fill);
    // After a cancelled chooser this checks the kind the fill still has.
    Show();
}

void CBackgroundControls::OnBrowse(wxCommandEvent&)
{
    if (CAppSettings* settings = GetAppSettings(); settings && ChooseFillPictureFile(*m_fill, *settings))
        Show();
}

void CBackgroundControls::OnNotify(CControlNotifyEvent& event)
{
    if (event.GetId() == m_ids.color && event.GetCode() == COLOR_NOTIFY_CHANGED) {
        m_fill->SetColor(m_pColor->GetColor());
        Show();
    } else if (event.GetId() == m_ids.gradientBand && event.GetCode() == GRADIENT_NOTIFY_CHANGED) {
        const GRADIENTCOLORS& colors = m_pGradient->GetCurrentGradient();
        if (m_bandMakesGradient)
            m_fill->SetGradient(&colors);
        else
            m_fill->SetGradientColors(colors);
        Show();
    } else {
        event.Skip();
    }
}

void BindColorWell(wxDialog& dialog, CColorControl& well, CColor& value)
{
    dialog.Bind(
        EVT_CONTROL_NOTIFY,
        [&well, &value](CControlNotifyEvent& event) {
            if (event.GetCode() == COLOR_NOTIFY_CHANGED)
                value = well.GetColor();
        },
        well.GetId());
}
