#pragma once

// The new-page dialog (219): the title and page ID of a new page, and optionally a page of the site to copy.

#include <wx/dialog.h>

#include "app/dialogs/new_page.h"

class wxCheckBox;
class wxComboBox;
class wxTextCtrl;

class CNewPageDLG : public wxDialog
{
public:
    CNewPageDLG(wxWindow* parent, NewPageSetup setup);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    const NewPageValues& GetValues() const { return m_values; }

private:
    void OnOK(wxCommandEvent& event);

    NewPageSetup m_setup;
    NewPageValues m_values;
    bool m_bLoaded = false;
    wxTextCtrl* m_pageId = nullptr;
    wxTextCtrl* m_pTitle = nullptr;
    wxCheckBox* m_duplicate = nullptr;
    wxComboBox* m_pPages = nullptr;
};
