#pragma once

// The Effects palette's page: the drop shadow, bevel and glow of the current object. What it shows and what each
// control does are decided in effects_page_logic.h; this class reads and writes the controls. Sliders and wheels
// show their value while dragged and change the object when released.

#include "app/palettes/palette_page.h"

class CControlNotifyEvent;

class CEffectsPage : public CPalettePage
{
public:
    explicit CEffectsPage(wxWindow* parent);

protected:
    void FillControls() override;

private:
    void EnableControls(bool enable);
    void OnSwitch(wxCommandEvent& event);
    void OnStyle(wxCommandEvent& event);
    void OnBevelRadio(wxCommandEvent& event);
    void OnNotify(CControlNotifyEvent& event);
    // The value label beside a slider or wheel.
    void ShowValue(int controlId);
};
