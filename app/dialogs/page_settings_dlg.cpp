#include "app/dialogs/page_settings_dlg.h"

#include <wx/checkbox.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/notice_dialogs.h"
#include "controls/button_controls.h"

bool CPageSettingsDLG::LoadTemplate(wxWindow* parent, const char* name)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, name);
    return m_bLoaded;
}

bool CPageSettingsDLG::CreateGroups(const PageSettingsIds& ids, PageSizePresets presets,
                                    CPageSizeControls::Handlers sizeHandlers, const PageSettingsValues& values)
{
    m_centered = dynamic_cast<wxCheckBox*>(FindWindow(ids.centered));
    auto* linkColor = ReplacePlaceholder<CColorControl>(*this, ids.linkColor);
    auto* visitedColor = ReplacePlaceholder<CColorControl>(*this, ids.visitedColor);
    if (!m_centered || !linkColor || !visitedColor ||
        !m_size.Create(*this, ids.size, presets, std::move(sizeHandlers)) ||
        !m_background.Create(*this, ids.background, values.background, true)) {
        m_bLoaded = false;
        return false;
    }
    linkColor->Init(&values.linkColor);
    visitedColor->Init(&values.visitedLinkColor);
    m_size.AcceptDigitsOnly();
    bool& centered = values.centered;
    Bind(
        wxEVT_CHECKBOX, [this, &centered](wxCommandEvent&) { centered = m_centered->GetValue(); }, ids.centered);
    BindColorWell(*this, *linkColor, values.linkColor);
    BindColorWell(*this, *visitedColor, values.visitedLinkColor);
    Bind(wxEVT_BUTTON, &CPageSettingsDLG::OnCancel, this, wxID_CANCEL);
    EscapeCancels(*this);
    return true;
}

int CPageSettingsDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    PlaceDialog(*this, NoticePlacement::rememberedCentre);
    BeforeShow();
    return wxDialog::ShowModal();
}

void CPageSettingsDLG::OnCancel(wxCommandEvent&)
{
    StoreDialogCentre(*this);
    EndModal(wxID_CANCEL);
}
