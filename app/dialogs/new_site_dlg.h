#pragma once

// The new-website dialog (273): the name of the site and the page ID of its first page, the page size and
// centring, the background of the pages and the two link colours. What it decides is CNewSiteChoice's.

#include "app/dialogs/new_site.h"
#include "app/dialogs/page_settings_dlg.h"

class wxTextCtrl;

class CNewSiteDLG : public CPageSettingsDLG
{
public:
    explicit CNewSiteDLG(wxWindow* parent);

    // The site's settings after OK.
    const NewSiteValues& GetValues() const { return m_choice.Values(); }

private:
    void BeforeShow() override;
    // Shows the choice: the size list's one entry and the background.
    void ShowChoice();
    void OnText(wxCommandEvent& event);
    void OnSizeChosen(int index, int count);
    void OnOK(wxCommandEvent& event);

    CNewSiteChoice m_choice;
    wxTextCtrl* m_name = nullptr;
    wxTextCtrl* m_pageId = nullptr;
};
