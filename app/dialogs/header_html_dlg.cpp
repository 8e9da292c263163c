#include "app/dialogs/header_html_dlg.h"

#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/notice_dialogs.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

constexpr int kTabsId = 1595;
constexpr int kHeaderId = 1555;
constexpr int kOnloadId = 1557;
constexpr int kCutId = 1519;
constexpr int kCopyId = 1520;
constexpr int kPasteId = 1521;

} // namespace

CHeaderHtmlDLG::CHeaderHtmlDLG(wxWindow* parent, const std::string& headerHtml, const std::string& onloadCode)
    : m_strHeaderHtml(headerHtml), m_strOnloadCode(onloadCode)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "5030");
    m_pTabs = dynamic_cast<wxNotebook*>(FindWindow(kTabsId));
    m_pHeader = dynamic_cast<wxTextCtrl*>(FindWindow(kHeaderId));
    m_pOnload = dynamic_cast<wxTextCtrl*>(FindWindow(kOnloadId));
    if (!m_bLoaded || !m_pTabs || !m_pHeader || !m_pOnload || m_pTabs->GetPageCount() != 2) {
        m_bLoaded = false;
        return;
    }
    m_pTabs->SetPageText(0, BytesToWx(ResourceText(IDS_HEADER_HTML_TAB)));
    m_pTabs->SetPageText(1, BytesToWx(ResourceText(IDS_ONLOAD_EVENTS_TAB)));
    m_pHeader->ChangeValue(BytesToWx(headerHtml));
    m_pOnload->ChangeValue(BytesToWx(onloadCode));
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { ShownEditor()->Cut(); }, kCutId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { ShownEditor()->Copy(); }, kCopyId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { ShownEditor()->Paste(); }, kPasteId);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            m_strHeaderHtml = WxToBytes(m_pHeader->GetValue());
            m_strOnloadCode = WxToBytes(m_pOnload->GetValue());
            EndModal(wxID_OK);
        },
        wxID_OK);
    EscapeCancels(*this);
    GetSizer()->SetSizeHints(this);
    // It cannot be made smaller than it opens.
    SetMinSize(GetSize());
}

int CHeaderHtmlDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    CentreOnParent();
    return wxDialog::ShowModal();
}

wxTextCtrl* CHeaderHtmlDLG::ShownEditor() const
{
    return m_pTabs->GetSelection() == 1 ? m_pOnload : m_pHeader;
}
