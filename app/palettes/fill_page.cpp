#include "app/palettes/fill_page.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/palettes/palette_controls.h"
#include "controls/button_controls.h"
#include "controls/gradient_control.h"
#include "controls/wheel_control.h"
#include "platform/gui/control_notify.h"

namespace {

// The ids of the page's controls, also their names in the template.
enum : int
{
    ID_SOLID = 1043,
    ID_PICTURE = 1044,
    ID_GRADIENT = 1049,
    ID_NO_FILL = 1051,
    ID_BROWSE = 1031,
    ID_FILE_NAME = 1066,
    ID_TOOLS_BAR_COLOR = 1067,
    ID_COLOR = 1120,
    ID_ANGLE = 1121,
    ID_BAND = 1122,
};

// The radio buttons by fill kind.
constexpr int kRadios[] = {ID_SOLID, ID_PICTURE, ID_GRADIENT, ID_NO_FILL};

} // namespace

CFillPage::CFillPage(wxWindow* parent) : CPalettePage(parent, kFillPropSheet), m_load(DefaultFillPictureLoader())
{
    m_well = ReplacePagePlaceholder<CColorControl>(this, ID_COLOR);
    if (m_well)
        m_well->Init(nullptr);
    m_band = ReplacePagePlaceholder<CGradientControl>(this, ID_BAND);
    if (m_band)
        m_band->Init();
    m_wheel = ReplacePagePlaceholder<CWheelControl>(this, ID_ANGLE);
    if (m_wheel)
        m_wheel->Init(360, 0, 2, 1);
    Layout();
    for (int id : kRadios)
        if (wxWindow* radio = FindWindow(id))
            radio->Bind(wxEVT_RADIOBUTTON, &CFillPage::OnRadio, this);
    if (wxWindow* browse = FindWindow(ID_BROWSE))
        browse->Bind(wxEVT_BUTTON, &CFillPage::OnBrowse, this);
    if (wxWindow* toolsBar = FindWindow(ID_TOOLS_BAR_COLOR))
        toolsBar->Bind(wxEVT_BUTTON, &CFillPage::OnToolsBarColor, this);
    for (wxWindow* control :
         {static_cast<wxWindow*>(m_well), static_cast<wxWindow*>(m_band), static_cast<wxWindow*>(m_wheel)})
        if (control)
            control->GetParent()->Bind(EVT_CONTROL_NOTIFY, &CFillPage::OnNotify, this, control->GetId());
    // The base filled an empty page while this one was being made.
    FillControls();
}

void CFillPage::FillControls()
{
    if (!m_well || !m_band || !m_wheel)
        return;
    const FillPageState state = ReadFillPage();
    const auto enable = [this](int id, bool on) {
        if (wxWindow* control = FindWindow(id))
            control->Enable(on);
    };
    enable(ID_SOLID, state.solid);
    enable(ID_TOOLS_BAR_COLOR, state.solid);
    enable(ID_PICTURE, state.picture);
    enable(ID_BROWSE, state.picture);
    enable(ID_GRADIENT, state.gradient);
    enable(ID_NO_FILL, state.noFill);
    m_well->Enable(state.colorWell);
    m_band->Enable(state.gradientBand);
    m_wheel->Enable(state.angleWheel);
    // A group always keeps one radio button checked: with no kind to show, the template's hidden one is.
    if (state.checked == kFillRadioNone) {
        if (auto* none = FindPageControl<wxRadioButton>(this, static_cast<int>(XRCID("fillNone"))))
            none->SetValue(true);
    } else if (auto* radio = FindPageControl<wxRadioButton>(this, kRadios[state.checked])) {
        radio->SetValue(true);
    }
    auto* fileName = FindPageControl<wxTextCtrl>(this, ID_FILE_NAME);
    if (!state.hasFill) {
        if (fileName)
            fileName->ChangeValue(wxString());
        return;
    }
    m_well->SetColor(state.color);
    if (fileName)
        fileName->ChangeValue(wxString::FromUTF8(state.fileName));
    m_band->ChangeGradient(state.gradientValue);
    m_wheel->WheelSetValue(state.gradientValue.angle);
}

bool CFillPage::IsChecked(int id) const
{
    const auto* radio = dynamic_cast<const wxRadioButton*>(FindWindow(id));
    return radio && radio->GetValue();
}

void CFillPage::AfterEdit(bool focus)
{
    FillControls();
    if (focus)
        FocusMainFrame();
}

void CFillPage::OnRadio(wxCommandEvent& event)
{
    const int id = event.GetId();
    const bool checked = IsChecked(id);
    GRADIENTCOLORS band;
    m_band->CopyCurrentGradient(band);
    switch (id) {
    case ID_SOLID:
        AfterEdit(FillOnSolid(checked, m_well->GetColor()));
        break;
    case ID_PICTURE:
        AfterEdit(FillOnPicture(checked, m_load));
        break;
    case ID_GRADIENT:
        AfterEdit(FillOnGradient(checked, band));
        break;
    case ID_NO_FILL:
        AfterEdit(FillOnNoFill(checked));
        break;
    default:
        break;
    }
}

void CFillPage::OnBrowse(wxCommandEvent&)
{
    AfterEdit(FillOnBrowse(m_load));
}

void CFillPage::OnToolsBarColor(wxCommandEvent&)
{
    AfterEdit(FillOnToolsBarColor());
}

void CFillPage::OnNotify(CControlNotifyEvent& event)
{
    GRADIENTCOLORS band;
    m_band->CopyCurrentGradient(band);
    const int id = event.GetId();
    const unsigned code = event.GetCode();
    if (id == ID_COLOR && code == COLOR_NOTIFY_CHANGED)
        AfterEdit(FillOnColorChanged(m_well->GetColor()));
    else if (id == ID_BAND && code == GRADIENT_NOTIFY_CHANGED)
        AfterEdit(FillOnGradientChanged(band));
    else if (id == ID_ANGLE && code == WHEEL_NOTIFY_CHANGED)
        AfterEdit(FillOnAngleChanged(band, m_wheel->WheelGetValue()));
    // The wheel's dragging changes nothing: the angle is applied when the mouse button is released.
}
