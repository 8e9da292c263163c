#include "app/dialogs/page_defaults_dlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/notice_table.h"
#include "app/dialogs/page_texts_dlg.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "platform/gui/text_bytes.h"

namespace {

constexpr int kPagesId = 1006;
constexpr int kWidthId = 1229;
constexpr int kHeightId = 1231;
constexpr int kSizesId = 1233;
constexpr int kCenteredId = 1523;
constexpr int kSolidId = 1235;
constexpr int kPictureId = 1237;
constexpr int kGradientId = 1239;
constexpr int kGradientPlaceId = 1240;
constexpr int kBrowseId = 1241;
constexpr int kColorId = 1242;
constexpr int kHorizontalId = 1244;
constexpr int kLinkColorId = 1247;
constexpr int kVisitedColorId = 1249;
constexpr int kDoctypeId = 1252;
constexpr int kPictureNameId = 1521;
constexpr int kTransferId = 1227;

} // namespace

CPageDefaultsDLG::CPageDefaultsDLG(wxWindow* parent, CWebsite& site)
{
    if (!LoadTemplate(parent, "5016"))
        return;
    m_pPages = dynamic_cast<wxComboBox*>(FindWindow(kPagesId));
    if (!m_pPages) {
        m_bLoaded = false;
        return;
    }
    m_choice.Open(site);
    PageDefaults& values = m_choice.Values();
    const PageSettingsIds ids = {
        {kWidthId, kHeightId, kSizesId},
        kCenteredId,
        {kSolidId, kPictureId, kGradientId, kColorId, kGradientPlaceId, kHorizontalId, kBrowseId, kPictureNameId},
        kLinkColorId,
        kVisitedColorId};
    const CPageSizeControls::Handlers sizeHandlers = {
        [this] { return CPageSizeControls::Size{m_choice.Values().width, m_choice.Values().height}; },
        [this](int index, int count) { OnSizeChosen(index, count); }};
    if (!CreateGroups(ids, PageSizePresets::pageDefaults, sizeHandlers,
                      {values.background, values.centered, values.linkColor, values.visitedLinkColor}))
        return;
    ShowPageValues();
    ShowChoice();
    // GTK opens no list that has no entries: the names are there from the start, none chosen.
    wxCommandEvent fill(wxEVT_COMBOBOX_DROPDOWN, kPagesId);
    OnPageDropDown(fill);

    for (int id : {kWidthId, kHeightId})
        Bind(wxEVT_TEXT, &CPageDefaultsDLG::OnText, this, id);
    Bind(wxEVT_COMBOBOX_DROPDOWN, &CPageDefaultsDLG::OnPageDropDown, this, kPagesId);
    Bind(wxEVT_COMBOBOX, &CPageDefaultsDLG::OnPageChosen, this, kPagesId);
    Bind(wxEVT_BUTTON, &CPageDefaultsDLG::OnDoctype, this, kDoctypeId);
    Bind(wxEVT_BUTTON, &CPageDefaultsDLG::OnTransfer, this, kTransferId);
    Bind(wxEVT_BUTTON, &CPageDefaultsDLG::OnOK, this, wxID_OK);
    GetSizer()->SetSizeHints(this);
}

void CPageDefaultsDLG::ShowPageValues()
{
    const PageDefaults& values = m_choice.Values();
    m_filling = true;
    m_size.ShowFields(values.width, values.height);
    m_centered->SetValue(values.centered);
    m_filling = false;
}

void CPageDefaultsDLG::ShowChoice()
{
    const PageDefaults& values = m_choice.Values();
    m_filling = true;
    m_size.ShowSize(values.width, values.height);
    m_background.Show();
    m_filling = false;
}

void CPageDefaultsDLG::OnText(wxCommandEvent& event)
{
    if (m_filling)
        return;
    const std::string text = WxToBytes(static_cast<wxTextCtrl*>(FindWindow(event.GetId()))->GetValue());
    if (event.GetId() == kWidthId)
        m_choice.SetWidthText(text);
    else
        m_choice.SetHeightText(text);
    ShowChoice();
}

void CPageDefaultsDLG::OnSizeChosen(int index, int count)
{
    if (m_filling || !m_choice.ChooseSizeEntry(index, count))
        return;
    ShowPageValues();
    // The list stays as it dropped down until it drops down again; the next refresh shows the one size.
    CallAfter([this] { ShowChoice(); });
}

void CPageDefaultsDLG::OnPageDropDown(wxCommandEvent& event)
{
    m_filling = true;
    m_pPages->Clear();
    for (const std::string& name : m_choice.DropDownPages())
        m_pPages->Append(BytesToWx(name));
    m_pPages->SetSelection(wxNOT_FOUND);
    m_filling = false;
    event.Skip();
}

void CPageDefaultsDLG::OnPageChosen(wxCommandEvent&)
{
    if (m_filling)
        return;
    m_choice.ChooseTarget(m_pPages->GetSelection());
    ShowPageValues();
    ShowChoice();
}

void CPageDefaultsDLG::OnDoctype(wxCommandEvent&)
{
    CDoctypeDLG dialog(this);
    if (dialog.ShowModal() == wxID_OK)
        m_choice.Values().doctype = dialog.GetDoctype();
}

void CPageDefaultsDLG::OnTransfer(wxCommandEvent&)
{
    CAppSettings* settings = GetAppSettings();
    if (!settings)
        return;
    const bool confirmed = GetMessages().ShowNotice(kNoticeTransferSettings) == DialogAnswer::ok;
    {
        wxBusyCursor busy;
        m_choice.Transfer(confirmed, *settings);
    }
    StoreDialogCentre(*this);
    EndModal(wxID_OK);
}

void CPageDefaultsDLG::OnOK(wxCommandEvent&)
{
    CAppSettings* settings = GetAppSettings();
    if (!settings)
        return;
    // Without a target page the user is told and the dialog stays open.
    if (!m_choice.GetTarget()) {
        m_choice.Apply(*settings);
        return;
    }
    {
        wxBusyCursor busy;
        m_choice.Apply(*settings);
    }
    StoreDialogCentre(*this);
    EndModal(wxID_OK);
}
