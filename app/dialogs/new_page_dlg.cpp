#include "app/dialogs/new_page_dlg.h"

#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/notice_dialogs.h"
#include "app/model/services.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

constexpr int kPageIdId = 1022;
constexpr int kTitleId = 1023;
constexpr int kDuplicateId = 1637;
constexpr int kPagesId = 1638;

std::string FieldText(const wxTextCtrl* field)
{
    return WxToBytes(field->GetValue());
}

} // namespace

CNewPageDLG::CNewPageDLG(wxWindow* parent, NewPageSetup setup) : m_setup(std::move(setup))
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "219");
    if (!m_bLoaded)
        return;
    m_pageId = dynamic_cast<wxTextCtrl*>(FindWindow(kPageIdId));
    m_pTitle = dynamic_cast<wxTextCtrl*>(FindWindow(kTitleId));
    m_duplicate = dynamic_cast<wxCheckBox*>(FindWindow(kDuplicateId));
    m_pPages = dynamic_cast<wxComboBox*>(FindWindow(kPagesId));
    if (!m_pageId || !m_pTitle || !m_duplicate || !m_pPages) {
        m_bLoaded = false;
        return;
    }
    for (const std::string& entry :
         BuildDuplicateList(m_setup.pageNames, m_setup.homeIndex, ResourceText(IDS_FRONT_PAGE_SUFFIX)))
        m_pPages->Append(BytesToWx(entry));
    if (m_pPages->GetCount() > 0)
        m_pPages->SetSelection(0);
    m_duplicate->SetValue(false);
    m_values.m_strPageId = m_setup.proposedId;
    m_values.m_title = m_setup.proposedTitle;
    m_pageId->ChangeValue(BytesToWx(m_values.m_strPageId));
    m_pTitle->ChangeValue(BytesToWx(m_values.m_title));
    Bind(wxEVT_BUTTON, &CNewPageDLG::OnOK, this, wxID_OK);
    EscapeCancels(*this);
    GetSizer()->SetSizeHints(this);
}

int CNewPageDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    PlaceDialog(*this, NoticePlacement::rememberedCentre);
    m_pTitle->SetFocus();
    m_pTitle->SelectAll();
    return wxDialog::ShowModal();
}

void CNewPageDLG::OnOK(wxCommandEvent&)
{
    m_values.m_strPageId = FieldText(m_pageId);
    m_values.m_title = FieldText(m_pTitle);
    if (RemoveNewPageIdCharacters(m_values.m_strPageId)) {
        GetMessages().ShowMessage("Illegal characters were removed from the Page ID");
        m_pageId->ChangeValue(BytesToWx(m_values.m_strPageId));
    }
    // Checked once cleaned: an ID with nothing left, or one that another page has, would give two pages one file.
    if (m_values.m_strPageId.empty() || (m_setup.isFree && !m_setup.isFree(m_values.m_strPageId))) {
        GetMessages().ShowMessage(ResourceText(IDS_PAGE_ID_TAKEN));
        m_pageId->SetFocus();
        m_pageId->SelectAll();
        return;
    }
    m_values.m_nDuplicate = m_duplicate->GetValue() ? 1 : 0;
    if (m_values.m_nDuplicate) {
        const std::string home =
            m_setup.homeIndex >= 0 && m_setup.homeIndex < static_cast<int>(m_setup.pageNames.size())
                ? m_setup.pageNames[static_cast<size_t>(m_setup.homeIndex)]
                : std::string();
        const std::string entry = WxToBytes(m_pPages->GetStringSelection());
        m_values.m_sourceName = DuplicateSourceName(entry, ResourceText(IDS_FRONT_PAGE_SUFFIX), home);
    } else {
        StoreDialogCentre(*this);
    }
    EndModal(wxID_OK);
}
