#pragma once

// What the window tests of the dialogs share: letting the display catch up, and a button clicked as the user does.

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/utils.h>

#include "testing/gui_settle.h"

inline void Click(wxDialog& dialog, int id)
{
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(dialog.FindWindow(id));
    dialog.ProcessWindowEvent(click);
}
