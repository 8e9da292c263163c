#pragma once

// The program's small modal messages, in the manner of the desktop: an icon, the text beside it with room around
// it, and the buttons at the right in the toolkit's order, over the window the message is about. The messages of
// their own (the notices, the save question) are dialog templates of the same shape; the rest take theirs from
// one template and get their buttons here.

#include <wx/dialog.h>

enum class MessageIcon
{
    information,
    question,
    warning,
    error,
};

class CMessageDlg : public wxDialog
{
public:
    enum
    {
        IDC_ICON = 1515,
        IDC_TEXT = 1551,
    };

    // buttons: wxOK, wxYES_NO, wxOK | wxCANCEL or wxYES_NO | wxCANCEL. Without a parent the message goes over the
    // program's main window.
    CMessageDlg(wxWindow* parent, const wxString& caption, const wxString& text, long buttons, MessageIcon icon);

    // False when the template is missing; ShowModal then answers wxID_CANCEL at once.
    bool IsReady() const { return m_ready; }
    int ShowModal() override;

private:
    bool m_ready = false;
};

// What a dialog template of the message shape needs once loaded: its text wrapped to a readable width, its size
// fitted, its place over its parent and the keyboard on its default button.
void FinishMessageLayout(wxDialog& dialog);

// Gives the keyboard to the dialog's default button, so that Return answers with it. Left alone, the toolkit gives
// the keyboard to the first button of the row, which in the desktop's order is No or Cancel, and a button that
// holds the keyboard takes Return for itself.
void FocusDefaultAnswer(wxDialog& dialog);

// The window a message goes over: the given one's top-level window, else the program's main window.
wxWindow* MessageParent(wxWindow* parent);
