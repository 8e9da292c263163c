#pragma once

// The first-use hints: a small dialog the first time a tool or feature is used, with a check box that switches the
// hint off for good. One row a hint; the flag it clears is a member of the settings record.

#include "app/model/app_settings.h"

struct HintRow
{
    int id;       // the dialog
    int checkBox; // its "do not show this dialog again" box
    bool CAppSettings::*flag;
    int tool;       // the tools-bar tool that shows it, 0 for the palettes' hints
    bool hasCancel; // the advanced-text hint alone can be cancelled
};

enum HintId
{
    kArrowToolHint = 479,
    kTextToolHint = 480,
    kPolygonToolHint = 464,
    kPictureToolHint = 485,
    kHtmlToolHint = 5027,
    kFlashToolHint = 5043,
    kCounterToolHint = 483,
    kFormToolHint = 507,
    kEyedropperToolHint = 484,
    kAdvancedTextHint = 488,
    kMouseoverHint = 5029,
};

const HintRow* FindHint(int id);
// The hint of a tools-bar tool, null for a tool without one.
const HintRow* FindToolHint(int tool);
const HintRow* GetHintRows(size_t& count);

// Whether the hint is to be shown.
bool IsHintOn(const CAppSettings& settings, const HintRow& hint);
// What closing the hint does: OK with the box ticked switches it off; anything else leaves the flag alone.
void ApplyHintAnswer(CAppSettings& settings, const HintRow& hint, int result, bool ticked);
