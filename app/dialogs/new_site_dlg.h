#pragma once

// The new-website dialog (273): the name of the site and the page ID of its first page, the page size and
// centring, the background of the pages and the two link colours. What it decides is CNewSiteChoice's.

#include <wx/dialog.h>

#include "app/dialogs/background_controls.h"
#include "app/dialogs/new_site.h"
#include "app/docview/page_size_controls.h"

class CColorControl;
class wxCheckBox;
class wxTextCtrl;

class CNewSiteDLG : public wxDialog
{
public:
    explicit CNewSiteDLG(wxWindow* parent);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    // The site's settings after OK.
    const NewSiteValues& GetValues() const { return m_choice.Values(); }

private:
    // Shows the choice: the size list's one entry and the background.
    void ShowChoice();
    void OnText(wxCommandEvent& event);
    void OnSizeChosen(int index, int count);
    void OnOK(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);

    CNewSiteChoice m_choice;
    CPageSizeControls m_size;
    CBackgroundControls m_background;
    bool m_bLoaded = false;
    // Set while the dialog writes into its own fields, whose change handlers then keep still.
    bool m_bFilling = false;
    wxTextCtrl* m_pName = nullptr;
    wxTextCtrl* m_pPageId = nullptr;
    wxCheckBox* m_pCentered = nullptr;
    CColorControl* m_pLinkColor = nullptr;
    CColorControl* m_pVisitedColor = nullptr;
};
