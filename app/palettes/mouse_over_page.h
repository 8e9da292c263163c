#pragma once

// The Mouseover palette's page: the selected item's mouse-over twin. What it shows and what each control does are
// decided in mouse_over_page_logic.h; this class reads and writes the controls.

#include "app/palettes/palette_page.h"

class CMouseOverPage : public CPalettePage
{
public:
    explicit CMouseOverPage(wxWindow* parent);

protected:
    void FillControls() override;

private:
    void OnOffsetKillFocus(wxFocusEvent& event);
};
