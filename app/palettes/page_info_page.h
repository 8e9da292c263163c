#pragma once

// The Page palette's page: the current page's title, ID, size, front-page and centring flags and background. What
// it decides is page_info's; the page reads the controls, calls it and shows the page again.

#include "app/docview/page_size_controls.h"
#include "app/palettes/palette_page.h"

class CColorControl;
class CControlNotifyEvent;
class CGradientControl;
class wxCheckBox;
class wxComboBox;
class wxTextCtrl;

class CPageInfoPage : public CPalettePage
{
public:
    explicit CPageInfoPage(wxWindow* parent);

protected:
    void FillControls() override;

private:
    void OnTextLeft(wxFocusEvent& event);
    void OnSizeChosen(int index, int count);
    void OnButton(wxCommandEvent& event);
    void OnNotify(CControlNotifyEvent& event);
    void OnPositionDropDown(wxCommandEvent& event);
    void OnPositionChosen(wxCommandEvent& event);
    // After a change: show the page again and give the keyboard back to the main window.
    void Done();

    bool m_ready = false;
    CPageSizeControls m_size;
    wxTextCtrl* m_pTitle = nullptr;
    wxTextCtrl* m_pageId = nullptr;
    wxComboBox* m_positions = nullptr;
    CColorControl* m_pColor = nullptr;
    CGradientControl* m_pGradient = nullptr;
};
