#include "app/dialogs/new_site_dlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/notice_dialogs.h"
#include "app/model/app_settings.h"
#include "app/model/page_size.h"
#include "app/model/services.h"
#include "controls/button_controls.h"
#include "controls/gradient_control.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

constexpr int kNameId = 1002;
constexpr int kPageIdId = 1007;
constexpr int kWidthId = 1003;
constexpr int kHeightId = 1004;
constexpr int kSizesId = 1005;
constexpr int kCenteredId = 1523;
constexpr int kSolidId = 1128;
constexpr int kPictureId = 1129;
constexpr int kGradientId = 1131;
constexpr int kColorId = 1133;
constexpr int kSiteFolderBrowseId = 1135;
constexpr int kPictureNameId = 1136;
constexpr int kGradientPlaceId = 1137;
constexpr int kHorizontalId = 1132;
constexpr int kLinkColorId = 1117;
constexpr int kVisitedColorId = 1118;

std::string TextOfField(const wxTextCtrl* field)
{
    return WxToBytes(field->GetValue());
}

} // namespace

CNewSiteDLG::CNewSiteDLG(wxWindow* parent)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "273");
    if (!m_bLoaded)
        return;
    m_pName = dynamic_cast<wxTextCtrl*>(FindWindow(kNameId));
    m_pPageId = dynamic_cast<wxTextCtrl*>(FindWindow(kPageIdId));
    m_pWidth = dynamic_cast<wxTextCtrl*>(FindWindow(kWidthId));
    m_pHeight = dynamic_cast<wxTextCtrl*>(FindWindow(kHeightId));
    m_pSizes = dynamic_cast<wxComboBox*>(FindWindow(kSizesId));
    m_pCentered = dynamic_cast<wxCheckBox*>(FindWindow(kCenteredId));
    m_pLinkColor = ReplacePlaceholder<CColorControl>(*this, kLinkColorId);
    m_pVisitedColor = ReplacePlaceholder<CColorControl>(*this, kVisitedColorId);
    CAppSettings* settings = GetAppSettings();
    if (!m_pName || !m_pPageId || !m_pWidth || !m_pHeight || !m_pSizes || !m_pCentered || !m_pLinkColor ||
        !m_pVisitedColor || !settings) {
        m_bLoaded = false;
        return;
    }
    m_choice.Open(*settings, ResourceText(IDS_DEFAULT_PAGE_TITLE), ResourceText(IDS_DEFAULT_PAGE_NAME));
    const NewSiteValues& values = m_choice.Values();
    const BackgroundControlIds background = {kSolidId,         kPictureId,    kGradientId,         kColorId,
                                             kGradientPlaceId, kHorizontalId, kSiteFolderBrowseId, kPictureNameId};
    if (!m_background.Create(*this, background, m_choice.Values().m_Background, true)) {
        m_bLoaded = false;
        return;
    }
    m_pLinkColor->Init(&values.m_LinkColor);
    m_pVisitedColor->Init(&values.m_VisitedLinkColor);
    m_pWidth->SetValidator(wxTextValidator(wxFILTER_DIGITS));
    m_pHeight->SetValidator(wxTextValidator(wxFILTER_DIGITS));

    m_bFilling = true;
    m_pName->ChangeValue(BytesToWx(values.m_strName));
    m_pPageId->ChangeValue(BytesToWx(values.m_strPageId));
    m_pWidth->ChangeValue(wxString::Format("%d", values.m_nWidth));
    m_pHeight->ChangeValue(wxString::Format("%d", values.m_nHeight));
    m_pCentered->SetValue(values.m_bCentered);
    m_bFilling = false;
    SetTitle(BytesToWx(ResourceText(IDS_NEW_WEBSITE_TITLE)));
    ShowChoice();

    for (int id : {kNameId, kPageIdId, kWidthId, kHeightId})
        Bind(wxEVT_TEXT, &CNewSiteDLG::OnText, this, id);
    Bind(wxEVT_COMBOBOX_DROPDOWN, &CNewSiteDLG::OnSizeDropDown, this, kSizesId);
    Bind(wxEVT_COMBOBOX, &CNewSiteDLG::OnSizeChosen, this, kSizesId);
    Bind(
        wxEVT_CHECKBOX, [this](wxCommandEvent&) { m_choice.Values().m_bCentered = m_pCentered->GetValue(); },
        kCenteredId);
    BindColorWell(*this, *m_pLinkColor, m_choice.Values().m_LinkColor);
    BindColorWell(*this, *m_pVisitedColor, m_choice.Values().m_VisitedLinkColor);
    Bind(wxEVT_BUTTON, &CNewSiteDLG::OnOK, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CNewSiteDLG::OnCancel, this, wxID_CANCEL);
    EscapeCancels(*this);
    GetSizer()->SetSizeHints(this);
}

int CNewSiteDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    PlaceDialog(*this, NoticePlacement::rememberedCentre);
    m_pName->SetFocus();
    m_pName->SelectAll();
    return wxDialog::ShowModal();
}

void CNewSiteDLG::ShowChoice()
{
    const NewSiteValues& values = m_choice.Values();
    m_bFilling = true;
    m_pSizes->Clear();
    m_pSizes->Append(FormatPageSize(values.m_nWidth, values.m_nHeight));
    m_pSizes->SetSelection(0);
    m_background.Show();
    m_bFilling = false;
}

void CNewSiteDLG::OnText(wxCommandEvent& event)
{
    if (m_bFilling)
        return;
    const std::string text = TextOfField(static_cast<wxTextCtrl*>(FindWindow(event.GetId())));
    switch (event.GetId()) {
    case kNameId:
        m_choice.SetNameText(text);
        break;
    case kPageIdId:
        m_choice.SetPageIdText(text);
        break;
    case kWidthId:
        m_choice.SetWidthText(text);
        break;
    case kHeightId:
        m_choice.SetHeightText(text);
        break;
    default:
        return;
    }
    ShowChoice();
}

void CNewSiteDLG::OnSizeDropDown(wxCommandEvent& event)
{
    const SizePresetList list = BuildSizePresetList(m_choice.Values().m_nWidth, m_choice.Values().m_nHeight);
    m_bFilling = true;
    m_pSizes->Clear();
    for (const std::string& entry : list.entries)
        m_pSizes->Append(entry);
    m_pSizes->SetSelection(list.selection);
    m_bFilling = false;
    event.Skip();
}

void CNewSiteDLG::OnSizeChosen(wxCommandEvent&)
{
    if (m_bFilling || !m_choice.ChooseSizeEntry(m_pSizes->GetSelection(), static_cast<int>(m_pSizes->GetCount())))
        return;
    m_bFilling = true;
    m_pWidth->ChangeValue(wxString::Format("%d", m_choice.Values().m_nWidth));
    m_pHeight->ChangeValue(wxString::Format("%d", m_choice.Values().m_nHeight));
    m_bFilling = false;
    // The list stays as it dropped down until it drops down again; the next refresh shows the one size.
    CallAfter([this] { ShowChoice(); });
}

void CNewSiteDLG::OnOK(wxCommandEvent&)
{
    CAppSettings* settings = GetAppSettings();
    if (!settings)
        return;
    const NewSiteRefusal refusal = m_choice.Finish(*settings);
    // The page ID shows as it was cleaned, so that the message comes once.
    m_bFilling = true;
    m_pPageId->ChangeValue(BytesToWx(m_choice.Values().m_strPageId));
    m_bFilling = false;
    switch (refusal) {
    case NewSiteRefusal::emptyName:
        GetCoreServices().ShowMessage("Name can't be empty");
        m_pName->SetFocus();
        return;
    case NewSiteRefusal::emptyPageId:
        GetCoreServices().ShowMessage(ResourceText(IDS_PAGE_ID_TAKEN));
        m_pPageId->SetFocus();
        return;
    case NewSiteRefusal::none:
        break;
    }
    StoreDialogCentre(*this);
    EndModal(wxID_OK);
}

void CNewSiteDLG::OnCancel(wxCommandEvent&)
{
    StoreDialogCentre(*this);
    EndModal(wxID_CANCEL);
}
