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
    : m_headerHtml(headerHtml), m_onloadCode(onloadCode)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "5030");
    m_tabs = dynamic_cast<wxNotebook*>(FindWindow(kTabsId));
    m_header = dynamic_cast<wxTextCtrl*>(FindWindow(kHeaderId));
    m_onload = dynamic_cast<wxTextCtrl*>(FindWindow(kOnloadId));
    if (!m_bLoaded || !m_tabs || !m_header || !m_onload || m_tabs->GetPageCount() != 2) {
        m_bLoaded = false;
        return;
    }
    m_tabs->SetPageText(0, BytesToWx(ResourceText(IDS_HEADER_HTML_TAB)));
    m_tabs->SetPageText(1, BytesToWx(ResourceText(IDS_ONLOAD_EVENTS_TAB)));
    m_header->ChangeValue(BytesToWx(headerHtml));
    m_onload->ChangeValue(BytesToWx(onloadCode));
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { ShownEditor()->Cut(); }, kCutId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { ShownEditor()->Copy(); }, kCopyId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { ShownEditor()->Paste(); }, kPasteId);
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            m_headerHtml = WxToBytes(m_header->GetValue());
            m_onloadCode = WxToBytes(m_onload->GetValue());
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
    return m_tabs->GetSelection() == 1 ? m_onload : m_header;
}
