#pragma once

// The welcome dialog at start: new website, new website from a theme, or open one. Each choice closes it with OK,
// as Close does without a choice; Escape and the close box cancel.

#include <wx/dialog.h>

#include "app/dialogs/welcome.h"

class wxCheckBox;
class wxPanel;

class CWelcomeDLG : public wxDialog
{
public:
    explicit CWelcomeDLG(wxWindow* parent);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    const WelcomeChoice& GetChoice() const { return m_choice; }

private:
    void Choose(WelcomeChoice::Start start, int result);
    void OnPaintBanner(wxPaintEvent& event);

    WelcomeChoice m_choice;
    bool m_bLoaded = false;
    wxPanel* m_banner = nullptr;
    wxCheckBox* m_check = nullptr;
};
