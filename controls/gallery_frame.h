#pragma once

// A window that shows the controls built so far, each with a label that follows its notifications, for a person
// to look at (the controls_gallery program) and for the test that takes its picture. Not part of the program.

#include "controls/gradient/gradient_model.h"
#include "platform/gui/window_picture.h"

#include <wx/frame.h>

class CBitmapListControl;
class CButtonControl;
class CGradientControl;
class CGradientDesignerControl;
class CColorControl;
class CSliderControl;
class CWheelControl;
class wxStaticText;
class CControlNotifyEvent;

class CGalleryFrame : public wxFrame
{
public:
    enum
    {
        ID_ROTATION = 5001,
        ID_FINE_ROTATION,
        ID_OPACITY,
        ID_SCALE,
        ID_BOLD,
        ID_ITALIC,
        ID_UNDERLINE,
        ID_GRID,
        ID_FILL_COLOUR,
        ID_LINE_COLOUR,
        ID_SWATCHES,
        ID_ADD_SWATCH,
        ID_REMOVE_SWATCH,
        ID_GRADIENT,
        ID_DESIGNER,
    };

    CGalleryFrame();

    CWheelControl* Rotation() const { return m_rotation; }
    CSliderControl* Opacity() const { return m_opacity; }
    wxStaticText* RotationLabel() const { return m_rotationLabel; }
    wxStaticText* OpacityLabel() const { return m_opacityLabel; }
    CButtonControl* Bold() const { return m_bold; }
    CColorControl* FillColour() const { return m_fillColour; }
    wxStaticText* StyleLabel() const { return m_styleLabel; }
    CBitmapListControl* Swatches() const { return m_swatches; }
    wxStaticText* SwatchLabel() const { return m_swatchLabel; }
    CGradientControl* Gradient() const { return m_gradient; }
    CGradientDesignerControl* Designer() const { return m_designer; }

private:
    void OnWheel(CControlNotifyEvent& event);
    void OnSlider(CControlNotifyEvent& event);
    void OnButton(CControlNotifyEvent& event);
    void OnSwatch(CControlNotifyEvent& event);
    void ShowValues();

    CWheelControl* m_rotation = nullptr;
    CWheelControl* m_fineRotation = nullptr;
    CSliderControl* m_opacity = nullptr;
    CSliderControl* m_scale = nullptr;
    wxStaticText* m_rotationLabel = nullptr;
    wxStaticText* m_fineRotationLabel = nullptr;
    wxStaticText* m_opacityLabel = nullptr;
    wxStaticText* m_scaleLabel = nullptr;
    CButtonControl* m_bold = nullptr;
    CButtonControl* m_italic = nullptr;
    CButtonControl* m_underline = nullptr;
    CButtonControl* m_grid = nullptr;
    CColorControl* m_fillColour = nullptr;
    CColorControl* m_lineColour = nullptr;
    wxStaticText* m_styleLabel = nullptr;
    CBitmapListControl* m_swatches = nullptr;
    wxStaticText* m_swatchLabel = nullptr;
    CGradientControl* m_gradient = nullptr;
    CGradientDesignerControl* m_designer = nullptr;
    GRADIENTCOLORS m_designed;
};
