#pragma once

// A modal notice for a hint the user can switch off: an information icon, a text of the string table, OK and the
// check box "Do not show this dialog again.". The caller reads the check box after ShowModal.

#include <wx/dialog.h>

class CNoticeDlg : public wxDialog
{
public:
    enum
    {
        IDD = 578,
        IDC_ICON = 1515,
        IDC_DONT_SHOW = 1550,
        IDC_TEXT = 1551,
    };

    // The dialog comes from the resource folder; IsOk() is false when it is not there.
    CNoticeDlg(unsigned textId, wxWindow* parent);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;

    // Reads the check box when the dialog closes with OK.
    bool TransferDataFromWindow() override;

    // Whether the check box was ticked when the dialog closed; false until then.
    int m_nDontShowAgain = 0;

private:
    bool m_bLoaded = false;
};
