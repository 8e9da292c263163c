#include "app/dialogs/new_site_dlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "app/dialogs/notice_dialogs.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
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
    CAppSettings* settings = GetAppSettings();
    if (!LoadTemplate(parent, "273"))
        return;
    m_name = dynamic_cast<wxTextCtrl*>(FindWindow(kNameId));
    m_pageId = dynamic_cast<wxTextCtrl*>(FindWindow(kPageIdId));
    if (!m_name || !m_pageId || !settings) {
        m_bLoaded = false;
        return;
    }
    m_choice.Open(*settings, ResourceText(IDS_DEFAULT_PAGE_TITLE), ResourceText(IDS_DEFAULT_PAGE_NAME));
    NewSiteValues& values = m_choice.Values();
    const PageSettingsIds ids = {{kWidthId, kHeightId, kSizesId},
                                 kCenteredId,
                                 {kSolidId, kPictureId, kGradientId, kColorId, kGradientPlaceId, kHorizontalId,
                                  kSiteFolderBrowseId, kPictureNameId},
                                 kLinkColorId,
                                 kVisitedColorId};
    const CPageSizeControls::Handlers sizeHandlers = {
        [this] { return CPageSizeControls::Size{m_choice.Values().m_nWidth, m_choice.Values().m_nHeight}; },
        [this](int index, int count) { OnSizeChosen(index, count); }};
    if (!CreateGroups(ids, PageSizePresets::page, sizeHandlers,
                      {values.m_Background, values.m_bCentered, values.m_LinkColor, values.m_VisitedLinkColor}))
        return;

    m_filling = true;
    m_name->ChangeValue(BytesToWx(values.m_strName));
    m_pageId->ChangeValue(BytesToWx(values.m_strPageId));
    m_size.ShowFields(values.m_nWidth, values.m_nHeight);
    m_centered->SetValue(values.m_bCentered);
    m_filling = false;
    SetTitle(BytesToWx(ResourceText(IDS_NEW_WEBSITE_TITLE)));
    ShowChoice();

    for (int id : {kNameId, kPageIdId, kWidthId, kHeightId})
        Bind(wxEVT_TEXT, &CNewSiteDLG::OnText, this, id);
    Bind(wxEVT_BUTTON, &CNewSiteDLG::OnOK, this, wxID_OK);
    GetSizer()->SetSizeHints(this);
}

void CNewSiteDLG::BeforeShow()
{
    m_name->SetFocus();
    m_name->SelectAll();
}

void CNewSiteDLG::ShowChoice()
{
    const NewSiteValues& values = m_choice.Values();
    m_filling = true;
    m_size.ShowSize(values.m_nWidth, values.m_nHeight);
    m_background.Show();
    m_filling = false;
}

void CNewSiteDLG::OnText(wxCommandEvent& event)
{
    if (m_filling)
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

void CNewSiteDLG::OnSizeChosen(int index, int count)
{
    if (m_filling || !m_choice.ChooseSizeEntry(index, count))
        return;
    m_filling = true;
    m_size.ShowFields(m_choice.Values().m_nWidth, m_choice.Values().m_nHeight);
    m_filling = false;
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
    m_filling = true;
    m_pageId->ChangeValue(BytesToWx(m_choice.Values().m_strPageId));
    m_filling = false;
    switch (refusal) {
    case NewSiteRefusal::emptyName:
        GetMessages().ShowMessage("Name can't be empty");
        m_name->SetFocus();
        return;
    case NewSiteRefusal::emptyPageId:
        GetMessages().ShowMessage(ResourceText(IDS_PAGE_ID_TAKEN));
        m_pageId->SetFocus();
        return;
    case NewSiteRefusal::none:
        break;
    }
    StoreDialogCentre(*this);
    EndModal(wxID_OK);
}
