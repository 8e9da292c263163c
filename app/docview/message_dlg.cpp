#include "app/docview/message_dlg.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "platform/gui/xrc_resources.h"

namespace {

constexpr const char* kMessageTemplate = "MessageBox";
// The width at which a message's text wraps, in pixels at 96 dots per inch.
constexpr int kTextWidth = 360;

wxArtID IconArt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::question:
        return wxART_QUESTION;
    case MessageIcon::warning:
        return wxART_WARNING;
    case MessageIcon::error:
        return wxART_ERROR;
    case MessageIcon::information:
        break;
    }
    return wxART_INFORMATION;
}

} // namespace

wxWindow* MessageParent(wxWindow* parent)
{
    if (parent)
        return wxGetTopLevelParent(parent);
    return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}

void FinishMessageLayout(wxDialog& dialog)
{
    if (auto* text = dynamic_cast<wxStaticText*>(dialog.FindWindow(CMessageDlg::IDC_TEXT)))
        text->Wrap(dialog.FromDIP(kTextWidth));
    if (wxSizer* sizer = dialog.GetSizer())
        sizer->SetSizeHints(&dialog);
    dialog.CentreOnParent();
    FocusDefaultAnswer(dialog);
}

void FocusDefaultAnswer(wxDialog& dialog)
{
    // Each time the dialog shows: on the way the toolkit gives the keyboard to the first button again.
    dialog.Bind(wxEVT_INIT_DIALOG, [&dialog](wxInitDialogEvent& event) {
        event.Skip();
        if (wxWindow* answer = dialog.GetDefaultItem(); answer && answer->IsShown() && answer->IsEnabled())
            answer->SetFocus();
    });
}

CMessageDlg::CMessageDlg(wxWindow* parent, const wxString& caption, const wxString& text, long buttons,
                         MessageIcon icon)
{
    m_ready = LoadXrcResources() && wxXmlResource::Get()->LoadDialog(this, MessageParent(parent), kMessageTemplate);
    if (!m_ready)
        return;
    if (!caption.empty())
        SetTitle(caption);
    if (auto* label = dynamic_cast<wxStaticText*>(FindWindow(IDC_TEXT)))
        label->SetLabelText(text);
    if (auto* bitmap = dynamic_cast<wxStaticBitmap*>(FindWindow(IDC_ICON)))
        bitmap->SetBitmap(wxArtProvider::GetBitmapBundle(IconArt(icon), wxART_MESSAGE_BOX));
    if (wxSizer* row = CreateStdDialogButtonSizer(buttons & (wxOK | wxYES_NO | wxCANCEL))) {
        GetSizer()->Add(row, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, FromDIP(12));
        // No is an answer of its own, not a way to cancel.
        if (buttons & wxYES_NO)
            Bind(
                wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(wxID_NO); }, wxID_NO);
    }
    if (buttons & wxYES_NO) {
        SetAffirmativeId(wxID_YES);
        SetEscapeId((buttons & wxCANCEL) ? wxID_CANCEL : wxID_NO);
    }
    FinishMessageLayout(*this);
}

int CMessageDlg::ShowModal()
{
    return m_ready ? wxDialog::ShowModal() : wxID_CANCEL;
}
