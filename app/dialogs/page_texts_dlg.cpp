#include "app/dialogs/page_texts_dlg.h"

#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/link_controls.h"
#include "app/dialogs/notice_dialogs.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "platform/gui/text_bytes.h"

namespace {

// 33666 and 33667, as wx numbers them.
constexpr int kApplyAllId = 33666 - 32768;
constexpr int kApplyCurrentId = 33667 - 32768;
constexpr int kKeywordsId = 1554;
constexpr int kDescriptionId = 1576;
constexpr int kCodeId = 1671;
constexpr int kDoctypeListId = 316;
constexpr int kDoctypeLineId = 317;

wxTextCtrl* Field(wxWindow& window, int id)
{
    return dynamic_cast<wxTextCtrl*>(window.FindWindow(id));
}

} // namespace

CMetaTagsDLG::CMetaTagsDLG(wxWindow* parent, const std::string& keywords, const std::string& description)
    : m_keywords(keywords), m_description(description)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "5028") && Field(*this, kKeywordsId) &&
                Field(*this, kDescriptionId);
    if (!m_bLoaded)
        return;
    Field(*this, kKeywordsId)->ChangeValue(BytesToWx(keywords));
    Field(*this, kDescriptionId)->ChangeValue(BytesToWx(description));
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Apply(MetaTagsApplied::allPages); }, kApplyAllId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Apply(MetaTagsApplied::currentPage); }, kApplyCurrentId);
    EscapeCancels(*this);
    GetSizer()->SetSizeHints(this);
}

int CMetaTagsDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    CentreOnParent();
    return wxDialog::ShowModal();
}

void CMetaTagsDLG::Apply(MetaTagsApplied applied)
{
    m_keywords = WxToBytes(Field(*this, kKeywordsId)->GetValue());
    m_description = WxToBytes(Field(*this, kDescriptionId)->GetValue());
    m_applied = applied;
    EndModal(wxID_OK);
}

CAnalyticsDLG::CAnalyticsDLG(wxWindow* parent, const std::string& code) : m_strCode(code)
{
    AddLinkControlHandlers();
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "5047") && Field(*this, kCodeId);
    if (!m_bLoaded)
        return;
    // The invitation is a hint in the empty box, so that saving without typing stores no code.
    Field(*this, kCodeId)->ChangeValue(BytesToWx(code));
    Field(*this, kCodeId)->SetHint(kAnalyticsHint);
    if (auto* hint = XRCCTRL(*this, "analytics_hint", wxStaticText)) {
        hint->SetLabel(kAnalyticsHint);
        hint->Show(code.empty());
        Bind(
            wxEVT_TEXT, [this, hint](wxCommandEvent&) { hint->Show(Field(*this, kCodeId)->IsEmpty()); }, kCodeId);
    }
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            m_strCode = WxToBytes(Field(*this, kCodeId)->GetValue());
            EndModal(wxID_OK);
        },
        kApplyAllId);
    EscapeCancels(*this);
    GetSizer()->SetSizeHints(this);
}

int CAnalyticsDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    CentreOnParent();
    return wxDialog::ShowModal();
}

CDoctypeDLG::CDoctypeDLG(wxWindow* parent)
{
    AddLinkControlHandlers();
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "315");
    m_pChoice = dynamic_cast<wxChoice*>(FindWindow(kDoctypeListId));
    m_line = Field(*this, kDoctypeLineId);
    if (!m_bLoaded || !m_pChoice || !m_line) {
        m_bLoaded = false;
        return;
    }
    m_pChoice->Append("Transitional (Default)");
    m_pChoice->Append("Strict");
    const CAppSettings* settings = GetAppSettings();
    m_pChoice->SetSelection(DoctypeChoice(settings ? settings->m_defaultDoctype : 0));
    ShowDeclaration();
    Bind(
        wxEVT_CHOICE, [this](wxCommandEvent&) { ShowDeclaration(); }, kDoctypeListId);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            m_nDoctype = DoctypeChoice(m_pChoice->GetSelection());
            if (CAppSettings* current = GetAppSettings())
                current->m_defaultDoctype = m_nDoctype;
            EndModal(wxID_OK);
        },
        wxID_OK);
    EscapeCancels(*this);
    GetSizer()->SetSizeHints(this);
}

int CDoctypeDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    CentreOnParent();
    return wxDialog::ShowModal();
}

void CDoctypeDLG::ShowDeclaration()
{
    m_line->ChangeValue(DoctypeDeclaration(DoctypeChoice(m_pChoice->GetSelection())));
}
