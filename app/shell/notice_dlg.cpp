#include "app/shell/notice_dlg.h"

#include "app/shell/wx_text.h"
#include "platform/resources/string_table.h"

#include <wx/artprov.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

CNoticeDlg::CNoticeDlg(unsigned textId, wxWindow* parent)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, wxString::Format("%d", static_cast<int>(IDD)));
    if (!m_bLoaded)
        return;
    std::string text;
    LoadResourceString(textId, text);
    if (auto* label = dynamic_cast<wxStaticText*>(FindWindow(IDC_TEXT))) {
        label->SetLabel(ToWx(text));
        label->Wrap(FromDIP(360));
    }
    if (auto* icon = dynamic_cast<wxStaticBitmap*>(FindWindow(IDC_ICON)))
        icon->SetBitmap(wxArtProvider::GetBitmapBundle(wxART_INFORMATION, wxART_MESSAGE_BOX));
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
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
