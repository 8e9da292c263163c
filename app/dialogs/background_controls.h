#pragma once

// The background group the settings dialogs share (new website, standard settings for new pages): solid, picture
// and gradient radios, a colour well and a gradient band made in place of placeholders, the picture button with
// the picture's name, and the horizontal box. The group edits a fill that its dialog owns.

class CColor;
class CColorControl;
class CControlNotifyEvent;
class CFillStyle;
class CGradientControl;
class wxCheckBox;
class wxCommandEvent;
class wxDialog;

struct BackgroundControlIds
{
    int solid;
    int picture;
    int gradient;
    int color;
    int gradientBand;
    int horizontal;
    int browse;
    int pictureName;
};

class CBackgroundControls
{
public:
    // Makes the colour well and the gradient band and binds the group's events to fill. A change of the band
    // makes the fill a gradient when bandMakesGradient is set; otherwise it only takes the colours. False when a
    // control is missing from the template.
    bool Create(wxDialog& dialog, const BackgroundControlIds& ids, CFillStyle& fill, bool bandMakesGradient);
    // The kind's radio button, the colour, the picture's name, the direction and the gradient.
    void Show();

private:
    void OnKind(wxCommandEvent& event);
    void OnBrowse(wxCommandEvent& event);
    void OnNotify(CControlNotifyEvent& event);

    wxDialog* m_dialog = nullptr;
    BackgroundControlIds m_ids{};
    CFillStyle* m_fill = nullptr;
    bool m_bandMakesGradient = false;
    CColorControl* m_pColor = nullptr;
    CGradientControl* m_pGradient = nullptr;
    wxCheckBox* m_horizontal = nullptr;
};

// The link colour wells of the same dialogs: a colour chosen in a well is copied into its value.
void BindColorWell(wxDialog& dialog, CColorControl& well, CColor& value);
