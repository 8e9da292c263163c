#pragma once

// The dialog of the standard settings for new pages (5016): size, centring, background, link colours and DOCTYPE,
// applied to one chosen page with OK or to every page with Transfer. What it decides is CPageDefaultsChoice's.

#include <wx/dialog.h>

#include "app/dialogs/background_controls.h"
#include "app/dialogs/page_defaults_choice.h"
#include "app/docview/page_size_controls.h"

class CColorControl;
class CWebsite;
class wxCheckBox;
class wxComboBox;

class CPageDefaultsDLG : public wxDialog
{
public:
    CPageDefaultsDLG(wxWindow* parent, CWebsite& site);

    bool IsOk() const { return m_bLoaded; }
    // OK and Transfer end it with wxID_OK once the site has changed.
    int ShowModal() override;

private:
    // Shows the values: the size list's one entry and the background.
    void ShowChoice();
    // The size fields and the centring box.
    void ShowPageValues();
    void OnText(wxCommandEvent& event);
    void OnSizeChosen(int index, int count);
    void OnPageDropDown(wxCommandEvent& event);
    void OnPageChosen(wxCommandEvent& event);
    void OnDoctype(wxCommandEvent& event);
    void OnTransfer(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);

    CPageDefaultsChoice m_choice;
    CPageSizeControls m_size;
    CBackgroundControls m_background;
    bool m_bLoaded = false;
    // Set while the dialog writes into its own fields, whose change handlers then keep still.
    bool m_bFilling = false;
    wxComboBox* m_pPages = nullptr;
    wxCheckBox* m_pCentered = nullptr;
    CColorControl* m_pLinkColor = nullptr;
    CColorControl* m_pVisitedColor = nullptr;
};
