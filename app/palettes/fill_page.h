#pragma once

// The Fill palette's page: the kind of the current object's fill, its colour, picture file, gradient and angle.
// What it shows and what each control does are decided in fill_page_logic.h; this class reads and writes the
// controls.

#include "app/palettes/fill_page_logic.h"
#include "app/palettes/palette_page.h"

class CColorControl;
class CControlNotifyEvent;
class CGradientControl;
class CWheelControl;
class wxRadioButton;

class CFillPage : public CPalettePage
{
public:
    explicit CFillPage(wxWindow* parent);

    // The picture loader the page uses; tests give their own.
    void SetPictureLoader(FillPictureLoader load) { m_load = std::move(load); }

    CColorControl* GetColorWell() const { return m_well; }
    CGradientControl* GetGradientBand() const { return m_band; }
    CWheelControl* GetAngleWheel() const { return m_wheel; }

protected:
    void FillControls() override;

private:
    void OnRadio(wxCommandEvent& event);
    void OnBrowse(wxCommandEvent& event);
    void OnToolsBarColor(wxCommandEvent& event);
    void OnNotify(CControlNotifyEvent& event);
    // After a handler: the page reads the object again; focus gives the keyboard back to the main window.
    void AfterEdit(bool focus);
    bool IsChecked(int id) const;

    CColorControl* m_well = nullptr;
    CGradientControl* m_band = nullptr;
    CWheelControl* m_wheel = nullptr;
    FillPictureLoader m_load;
};
