#pragma once

// The dialog about the browser window beyond the page (343): the page's background continues there, or a solid
// colour fills it.

#include <wx/dialog.h>

#include "app/model/fill_style.h"

class CColorControl;
class CControlNotifyEvent;
class wxRadioButton;

// What the dialog decides: choosing a colour means the solid colour.
struct BackgroundOutsideChoice
{
    bool continueFill = false;
    CColor color = CColor(255, 255, 255);

    void ChooseColor(const CColor& chosen)
    {
        color = chosen;
        continueFill = false;
    }
};

class CBackgroundOutsideDLG : public wxDialog
{
public:
    CBackgroundOutsideDLG(wxWindow* parent, const BackgroundOutsideChoice& choice);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    // After OK.
    const BackgroundOutsideChoice& GetChoice() const { return m_choice; }

private:
    void ShowChoice();
    void OnColor(CControlNotifyEvent& event);

    BackgroundOutsideChoice m_choice;
    bool m_bLoaded = false;
    wxRadioButton* m_continue = nullptr;
    wxRadioButton* m_solid = nullptr;
    CColorControl* m_pColor = nullptr;
};
