#pragma once

// The help-dialogs settings: one check box per hint, warning and start-up dialog, each showing and setting one flag
// of the settings record.

#include <vector>

#include "app/model/app_settings.h"

struct HelpDialogBox
{
    int id;
    bool CAppSettings::*flag;
};

// The boxes in the dialog's order; every flag that switches a dialog off has one, so every one can be switched on
// again.
const std::vector<HelpDialogBox>& GetHelpDialogBoxes();

// The boxes' states from the flags, in the boxes' order.
std::vector<bool> ReadHelpDialogFlags(const CAppSettings& settings);
// The flags from the boxes' states; a list of the wrong length changes nothing.
void WriteHelpDialogFlags(CAppSettings& settings, const std::vector<bool>& boxes);
