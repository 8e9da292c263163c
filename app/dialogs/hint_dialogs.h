#pragma once

// The first-use hints, one dialog for every row of the hint table, and the help-dialogs settings that switch the
// hints, warnings and start-up dialogs on and off.

#include <vector>
#include <wx/dialog.h>

#include "app/dialogs/hint_table.h"

class wxCheckBox;

// A hint: its text, the box that switches it off and OK (the advanced-text hint also Cancel). Centred on the
// desktop. OK with the box ticked clears the hint's flag; Cancel, Escape and the close box leave it.
class CToolHintDLG : public wxDialog
{
public:
    CToolHintDLG(const HintRow& hint, wxWindow* parent);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    wxCheckBox* GetCheckBox() const { return m_check; }

private:
    void OnOK(wxCommandEvent& event);

    HintRow m_hint;
    bool m_bLoaded = false;
    wxCheckBox* m_check = nullptr;
};

// Runs the hint when its flag is on: IDOK, IDCANCEL, or IDOK at once when it is off (nothing to confirm).
int RunHintWhenOn(int id, wxWindow* parent);

class CHelpDialogsDLG : public wxDialog
{
public:
    explicit CHelpDialogsDLG(wxWindow* parent);

    bool IsOk() const { return m_bLoaded; }
    std::vector<wxCheckBox*> GetBoxes() const { return m_boxes; }

private:
    void OnOK(wxCommandEvent& event);

    bool m_bLoaded = false;
    std::vector<wxCheckBox*> m_boxes;
};
