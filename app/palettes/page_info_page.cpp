#include "app/palettes/page_info_page.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/model/services.h"
#include "app/palettes/page_info.h"
#include "app/palettes/palette_protocol.h"
#include "app/site/site_page.h"
#include "controls/button_controls.h"
#include "controls/gradient_control.h"
#include "platform/gui/control_notify.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

constexpr int kTitleLabelId = 1138;
constexpr int kTitleId = 1024;
constexpr int kPageIdLabelId = 1139;
constexpr int kPageIdId = 1026;
constexpr int kWidthId = 1027;
constexpr int kHeightId = 1028;
constexpr int kSizesId = 1029;
constexpr int kFrontPageId = 1030;
constexpr int kCenteredId = 1523;
constexpr int kColorKindId = 1063;
constexpr int kPictureKindId = 1064;
constexpr int kGradientKindId = 1065;
constexpr int kColorId = 1071;
constexpr int kToolsColorId = 1073;
constexpr int kChoosePictureId = 1061;
constexpr int kPictureNameId = 1062;
constexpr int kGradientId = 1075;
constexpr int kHorizontalId = 1125;
constexpr int kPlaceId = 1126;
constexpr int kPositionsId = 1639;

// The picture positions, a 3 x 3 grid read row by row.
const char* const kPositions[] = {"Top Left",     "Top Center",  "Top Right",     "Center Left", "Centered",
                                  "Center Right", "Bottom Left", "Bottom Center", "Bottom Right"};

void FillPositions(wxComboBox* positions)
{
    positions->Clear();
    for (const char* position : kPositions)
        positions->Append(position);
    positions->SetSelection(0);
}

} // namespace

CPageInfoPage::CPageInfoPage(wxWindow* parent) : CPalettePage(parent, kPagePropSheet)
{
    m_pTitle = dynamic_cast<wxTextCtrl*>(FindWindow(kTitleId));
    m_pageId = dynamic_cast<wxTextCtrl*>(FindWindow(kPageIdId));
    m_positions = dynamic_cast<wxComboBox*>(FindWindow(kPositionsId));
    m_pColor = ReplacePlaceholder<CColorControl>(*this, kColorId);
    m_pGradient = ReplacePlaceholder<CGradientControl>(*this, kGradientId);
    const CPageSizeControls::Handlers sizeHandlers = {
        [] {
            const PageInfoState state = ReadPageInfo();
            return CPageSizeControls::Size{state.width, state.height};
        },
        [this](int index, int count) { OnSizeChosen(index, count); }};
    if (!m_pTitle || !m_pageId || !m_positions || !m_pColor || !m_pGradient ||
        !m_size.Create(*this, {kWidthId, kHeightId, kSizesId}, PageSizePresets::page, sizeHandlers))
        return;
    m_pColor->Init(nullptr);
    m_pColor->SetToolTip(BytesToWx(ResourceText(IDS_PAGE_COLOUR_TIP)));
    m_pGradient->Init();
    m_pGradient->SetToolTip(BytesToWx(ResourceText(IDS_PAGE_GRADIENT_TIP)));
    FillPositions(m_positions);
    for (wxTextCtrl* field : {m_pTitle, m_pageId, m_size.Width(), m_size.Height()})
        field->Bind(wxEVT_KILL_FOCUS, &CPageInfoPage::OnTextLeft, this);
    Bind(wxEVT_COMBOBOX_DROPDOWN, &CPageInfoPage::OnPositionDropDown, this, kPositionsId);
    Bind(wxEVT_COMBOBOX, &CPageInfoPage::OnPositionChosen, this, kPositionsId);
    Bind(wxEVT_CHECKBOX, &CPageInfoPage::OnButton, this);
    Bind(wxEVT_RADIOBUTTON, &CPageInfoPage::OnButton, this);
    Bind(wxEVT_BUTTON, &CPageInfoPage::OnButton, this);
    Bind(EVT_CONTROL_NOTIFY, &CPageInfoPage::OnNotify, this);
    // The palette's frame passes through small sizes while it is made and placed; laid out then, GTK would
    // squeeze the check boxes below their height. The page waits for a size its controls fit.
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        const wxSize best = GetBestSize();
        if (event.GetSize().GetWidth() >= best.GetWidth() && event.GetSize().GetHeight() >= best.GetHeight())
            event.Skip();
    });
    m_ready = true;
    Layout();
    FillControls();
}

void CPageInfoPage::FillControls()
{
    if (!m_ready)
        return;
    const PageInfoState state = ReadPageInfo();
    const int settings[] = {kTitleLabelId, kTitleId, kPageIdLabelId, kPageIdId,  kWidthId,
                            kHeightId,     kSizesId, kFrontPageId,   kCenteredId};
    const int background[] = {kColorKindId,  kPictureKindId,   kGradientKindId, kColorId,
                              kToolsColorId, kChoosePictureId, kPictureNameId,  kGradientId,
                              kHorizontalId, kPlaceId,         kPositionsId};
    auto enable = [this](int id, bool on) {
        if (wxWindow* control = FindWindow(id))
            control->Enable(on);
    };
    for (int id : settings)
        enable(id, state.hasPage && !state.editingText);
    for (int id : background)
        enable(id, state.hasPage && !state.editingText);
    if (!state.hasPage) {
        for (wxTextCtrl* field : {m_pTitle, m_pageId, m_size.Width(), m_size.Height()})
            field->ChangeValue(wxEmptyString);
        return;
    }
    // The front page stays the front page until another page takes its place.
    enable(kFrontPageId, !state.frontPage && !state.editingText);
    m_pTitle->ChangeValue(BytesToWx(state.title));
    m_pageId->ChangeValue(BytesToWx(state.pageId));
    m_size.ShowFields(state.width, state.height);
    m_size.ShowSize(state.width, state.height);
    dynamic_cast<wxCheckBox*>(FindWindow(kFrontPageId))->SetValue(state.frontPage);
    dynamic_cast<wxCheckBox*>(FindWindow(kCenteredId))->SetValue(state.centered);
    if (state.editingText)
        return;
    const int kinds[] = {kColorKindId, kPictureKindId, kGradientKindId};
    if (state.kind >= 0 && state.kind < 3)
        dynamic_cast<wxRadioButton*>(FindWindow(kinds[state.kind]))->SetValue(true);
    enable(kHorizontalId, state.kind == 2);
    enable(kPlaceId, state.kind == 1);
    auto* place = dynamic_cast<wxCheckBox*>(FindWindow(kPlaceId));
    enable(kPositionsId, state.kind == 1 && place->GetValue());
    m_pColor->SetColor(state.color);
    dynamic_cast<wxTextCtrl*>(FindWindow(kPictureNameId))->ChangeValue(BytesToWx(state.pictureName));
    if (const CSitePage* page = GetCurrentPage())
        m_pGradient->ChangeGradient(page->GetBackground()->GetGradient().GetGradientColors());
    dynamic_cast<wxCheckBox*>(FindWindow(kHorizontalId))->SetValue(state.horizontal);
}

void CPageInfoPage::Done()
{
    FillControls();
    FocusMainFrame();
}

void CPageInfoPage::OnTextLeft(wxFocusEvent& event)
{
    event.Skip();
    auto* field = dynamic_cast<wxTextCtrl*>(event.GetEventObject());
    if (!field || !m_ready)
        return;
    const std::string text = WxToBytes(field->GetValue());
    const PageInfoState state = ReadPageInfo();
    switch (field->GetId()) {
    case kTitleId:
        if (const PageTitleEdit edit = EditPageTitle(text); edit.shownAgain) {
            field->ChangeValue(BytesToWx(*edit.shownAgain));
            CallAfter([field] { field->SetFocus(); });
        }
        break;
    case kPageIdId:
        if (text != state.pageId && !EditPageId(text) && state.hasPage) {
            // Refused: the page's ID comes back and the field stays open for another try.
            if (const CSitePage* page = GetCurrentPage(); page && page->GetName() == state.pageId) {
                field->ChangeValue(BytesToWx(state.pageId));
                CallAfter([field] { field->SetFocus(); });
            }
        }
        break;
    case kWidthId:
        field->ChangeValue(wxString::Format("%d", EditPageWidth(text)));
        FillControls();
        break;
    case kHeightId:
        field->ChangeValue(wxString::Format("%d", EditPageHeight(text)));
        FillControls();
        break;
    default:
        break;
    }
}

void CPageInfoPage::OnSizeChosen(int index, int count)
{
    if (ChoosePageSizeEntry(index, count)) {
        const PageInfoState state = ReadPageInfo();
        m_size.ShowFields(state.width, state.height);
    }
    CallAfter([this] { Done(); });
}

void CPageInfoPage::OnButton(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case kFrontPageId:
        if (event.IsChecked())
            MakeFrontPage();
        break;
    case kCenteredId:
        SetPageCentered(event.IsChecked());
        break;
    case kColorKindId:
        SetBackgroundColor(m_pColor->GetColor());
        break;
    case kPictureKindId:
        if (const CSitePage* page = GetCurrentPage(); page && page->GetBackground()->GetKind() != 1) {
            auto* place = dynamic_cast<wxCheckBox*>(FindWindow(kPlaceId));
            const bool placed = place->GetValue();
            // The new picture starts tiled: the placing box and the positions wait for the user again.
            place->SetValue(false);
            if (wxWindow* positions = FindWindow(kPositionsId))
                positions->Enable(false);
            ChooseBackgroundPictureKind(placed);
        }
        break;
    case kGradientKindId:
        SetBackgroundGradientKind();
        break;
    case kToolsColorId: {
        CColor color;
        if (GetToolsAndInspector().GetToolsBarColor(color))
            SetBackgroundColor(color);
        break;
    }
    case kChoosePictureId:
        ChooseBackgroundPictureFile();
        break;
    case kHorizontalId:
        SetBackgroundHorizontal(event.IsChecked());
        break;
    case kPlaceId:
        if (!event.IsChecked())
            SetBackgroundTiled();
        break;
    default:
        event.Skip();
        return;
    }
    Done();
}

void CPageInfoPage::OnNotify(CControlNotifyEvent& event)
{
    if (event.GetId() == kColorId && event.GetCode() == COLOR_NOTIFY_CHANGED)
        SetBackgroundColor(m_pColor->GetColor());
    else if (event.GetId() == kGradientId && event.GetCode() == GRADIENT_NOTIFY_CHANGED)
        SetBackgroundGradientColors(m_pGradient->GetCurrentGradient());
    else {
        event.Skip();
        return;
    }
    Done();
}

void CPageInfoPage::OnPositionDropDown(wxCommandEvent& event)
{
    FillPositions(m_positions);
    event.Skip();
}

void CPageInfoPage::OnPositionChosen(wxCommandEvent&)
{
    SetBackgroundPosition(m_positions->GetSelection());
    Done();
}
