#pragma once

// The dialog of the standard settings for new pages (5016): size, centring, background, link colours and DOCTYPE,
// applied to one chosen page with OK or to every page with Transfer. What it decides is CPageDefaultsChoice's.

#include "app/dialogs/page_defaults_choice.h"
#include "app/dialogs/page_settings_dlg.h"

class CWebsite;
class wxComboBox;

class CPageDefaultsDLG : public CPageSettingsDLG
{
public:
    // OK and Transfer end it with wxID_OK once the site has changed.
    CPageDefaultsDLG(wxWindow* parent, CWebsite& site);

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

    CPageDefaultsChoice m_choice;
    wxComboBox* m_pPages = nullptr;
};
