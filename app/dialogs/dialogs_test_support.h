#pragma once

// What the window tests of the dialogs share: letting the display catch up, and a button clicked as the user does.

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/utils.h>

// Lets the display map and paint what is pending, and windows destroyed go.
inline void Settle()
{
    for (int i = 0; i < 20; ++i) {
        wxYield();
        wxMilliSleep(5);
    }
    wxTheApp->ProcessIdle();
}

inline void Click(wxDialog& dialog, int id)
{
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(dialog.FindWindow(id));
    dialog.ProcessWindowEvent(click);
}
