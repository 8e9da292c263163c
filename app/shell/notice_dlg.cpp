#include "app/shell/notice_dlg.h"

#include "app/docview/message_dlg.h"
#include "app/shell/wx_text.h"
#include "platform/resources/string_table.h"

#include <wx/checkbox.h>
#include <wx/stattext.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

CNoticeDlg::CNoticeDlg(unsigned textId, wxWindow* parent)
{
    m_bLoaded =
        wxXmlResource::Get()->LoadDialog(this, MessageParent(parent), wxString::Format("%d", static_cast<int>(IDD)));
    if (!m_bLoaded)
        return;
    std::string text;
    LoadResourceString(textId, text);
    if (auto* label = dynamic_cast<wxStaticText*>(FindWindow(IDC_TEXT)))
        label->SetLabelText(ToWx(text));
    FinishMessageLayout(*this);
}

int CNoticeDlg::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    wxBell();
    return wxDialog::ShowModal();
}

bool CNoticeDlg::TransferDataFromWindow()
{
    if (auto* check = dynamic_cast<wxCheckBox*>(FindWindow(IDC_DONT_SHOW)))
        m_nDontShowAgain = check->GetValue() ? 1 : 0;
    return wxDialog::TransferDataFromWindow();
}
