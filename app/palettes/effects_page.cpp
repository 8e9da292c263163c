#include "app/palettes/effects_page.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "app/palettes/effects_page_logic.h"
#include "app/palettes/palette_controls.h"
#include "app/palettes/palette_protocol.h"
#include "controls/button_controls.h"
#include "controls/slider_control.h"
#include "controls/wheel_control.h"
#include "platform/gui/control_notify.h"

namespace {

enum : int
{
    ID_SHADOW_ON = 1070,
    ID_BEVEL_ON = 1074,
    ID_GLOW_ON = 1072,
    ID_SHADOW_STYLE = 1058,
    ID_BEVEL_STYLE = 1059,
    ID_GLOW_STYLE = 1041,
    ID_BEVEL_UP = 1038,
    ID_BEVEL_DOWN = 1039,
    ID_SHADOW_COLOR = 1113,
    ID_GLOW_COLOR = 1115,
    ID_SHADOW_ANGLE = 1076,
    ID_BEVEL_ANGLE = 1060,
};

// The sliders and wheels with their value labels, the parameter each edits and the record field it shows.
struct ValueControl
{
    int id;
    int label;
    bool wheel;
    EffectParameter parameter;
    int CEffectSettings::*field;
};
constexpr ValueControl kValueControls[] = {
    {ID_SHADOW_ANGLE, 1114, true, EffectParameter::shadowAngle, &CEffectSettings::m_shadowAngle},
    {1149, 1052, false, EffectParameter::shadowOffset, &CEffectSettings::m_shadowOffset},
    {1150, 1053, false, EffectParameter::shadowSoftness, &CEffectSettings::m_shadowSoftness},
    {1151, 1054, false, EffectParameter::shadowOpacity, &CEffectSettings::m_shadowOpacity},
    {ID_BEVEL_ANGLE, 1069, true, EffectParameter::bevelAngle, &CEffectSettings::m_bevelAngle},
    {1154, 1305, false, EffectParameter::bevelOffset, &CEffectSettings::m_bevelSoftness},
    {1155, 1304, false, EffectParameter::bevelSoftness, &CEffectSettings::m_bevelStrength},
    {1152, 1301, false, EffectParameter::glowOffset, &CEffectSettings::m_glowSoftness},
    {1153, 1057, false, EffectParameter::glowOpacity, &CEffectSettings::m_glowStrength},
};

const ValueControl* FindValueControl(int id)
{
    for (const ValueControl& control : kValueControls)
        if (control.id == id)
            return &control;
    return nullptr;
}

// The captions that go on and off with the controls.
constexpr int kCaptions[] = {1140, 1141, 1142, 1143, 1055, 1144, 1145, 1302, 1146, 1147, 1148, 1303};
constexpr const char* kNamedCaptions[] = {"shadowDirection", "bevelLight", "bevelDirection"};

// The labels' texts are Windows-1252 bytes (the degree sign).
wxString FromBytes(const std::string& text)
{
    return wxString(text.data(), wxCSConv(wxFONTENCODING_CP1252), text.size());
}

} // namespace

CEffectsPage::CEffectsPage(wxWindow* parent) : CPalettePage(parent, kEffectsPropSheet)
{
    for (const ValueControl& control : kValueControls) {
        if (control.wheel) {
            if (auto* wheel = ReplacePagePlaceholder<CWheelControl>(this, control.id))
                wheel->Init(360, 0, 2, 1);
        } else if (auto* slider = ReplacePagePlaceholder<CSliderControl>(this, control.id)) {
            slider->Init(101, 0, false, false);
        }
        if (wxWindow* window = FindWindow(control.id))
            window->GetParent()->Bind(EVT_CONTROL_NOTIFY, &CEffectsPage::OnNotify, this, control.id);
    }
    for (int id : {ID_SHADOW_COLOR, ID_GLOW_COLOR}) {
        if (auto* well = ReplacePagePlaceholder<CColorControl>(this, id)) {
            well->Init(nullptr);
            well->GetParent()->Bind(EVT_CONTROL_NOTIFY, &CEffectsPage::OnNotify, this, id);
        }
    }
    Layout();
    for (int id : {ID_SHADOW_ON, ID_BEVEL_ON, ID_GLOW_ON})
        if (wxWindow* check = FindWindow(id))
            check->Bind(wxEVT_CHECKBOX, &CEffectsPage::OnSwitch, this);
    for (int id : {ID_SHADOW_STYLE, ID_BEVEL_STYLE, ID_GLOW_STYLE})
        if (wxWindow* list = FindWindow(id))
            list->Bind(wxEVT_CHOICE, &CEffectsPage::OnStyle, this);
    for (int id : {ID_BEVEL_UP, ID_BEVEL_DOWN})
        if (wxWindow* radio = FindWindow(id))
            radio->Bind(wxEVT_RADIOBUTTON, &CEffectsPage::OnBevelRadio, this);
    // The base filled an empty page while this one was being made.
    FillControls();
}

void CEffectsPage::EnableControls(bool enable)
{
    for (int id : kCaptions)
        if (wxWindow* caption = FindWindow(id))
            caption->Enable(enable);
    for (const char* name : kNamedCaptions)
        if (wxWindow* caption = FindWindow(name))
            caption->Enable(enable);
    for (const ValueControl& control : kValueControls) {
        if (wxWindow* window = FindWindow(control.id))
            window->Enable(enable);
        if (wxWindow* label = FindWindow(control.label))
            label->Enable(enable);
    }
    for (int id : {ID_SHADOW_ON, ID_BEVEL_ON, ID_GLOW_ON, ID_SHADOW_STYLE, ID_BEVEL_STYLE, ID_GLOW_STYLE, ID_BEVEL_UP,
                   ID_BEVEL_DOWN, ID_SHADOW_COLOR, ID_GLOW_COLOR})
        if (wxWindow* window = FindWindow(id))
            window->Enable(enable);
}

void CEffectsPage::FillControls()
{
    if (!FindWindow(ID_SHADOW_ON))
        return;
    const EffectsPageState state = ReadEffectsPage();
    EnableControls(state.enabled);
    // Disabled, the controls keep what they showed last.
    if (!state.enabled)
        return;
    const CEffectSettings& e = state.values;
    const auto check = [this](int id, bool on) {
        if (auto* box = FindPageControl<wxCheckBox>(this, id))
            box->SetValue(on);
    };
    const auto select = [this](int id, int index) {
        if (auto* list = FindPageControl<wxChoice>(this, id))
            list->SetSelection(index);
    };
    check(ID_SHADOW_ON, e.m_shadow);
    check(ID_BEVEL_ON, e.m_bevel);
    check(ID_GLOW_ON, e.m_glow);
    select(ID_SHADOW_STYLE, e.m_shadowStyle);
    select(ID_BEVEL_STYLE, e.m_bevelStyle);
    select(ID_GLOW_STYLE, e.m_glowStyle);
    if (auto* radio = FindPageControl<wxRadioButton>(this, e.m_bevelDirection == 0 ? ID_BEVEL_UP : ID_BEVEL_DOWN))
        radio->SetValue(true);
    for (const ValueControl& control : kValueControls) {
        if (control.wheel) {
            if (auto* wheel = FindPageControl<CWheelControl>(this, control.id))
                wheel->WheelSetValue(e.*control.field);
        } else if (auto* slider = FindPageControl<CSliderControl>(this, control.id)) {
            slider->SetValue(e.*control.field, true);
        }
        ShowValue(control.id);
    }
    if (auto* well = FindPageControl<CColorControl>(this, ID_SHADOW_COLOR))
        well->SetColor(e.m_shadowColor);
    if (auto* well = FindPageControl<CColorControl>(this, ID_GLOW_COLOR))
        well->SetColor(e.m_glowColor);
}

void CEffectsPage::ShowValue(int controlId)
{
    const ValueControl* control = FindValueControl(controlId);
    auto* label = control ? FindPageControl<wxStaticText>(this, control->label) : nullptr;
    if (!label)
        return;
    if (control->wheel) {
        if (auto* wheel = FindPageControl<CWheelControl>(this, control->id))
            label->SetLabel(FromBytes(FormatAngleLabel(wheel->WheelGetValue())));
    } else if (auto* slider = FindPageControl<CSliderControl>(this, control->id)) {
        label->SetLabel(FromBytes(FormatPercentLabel(slider->GetValue())));
    }
}

void CEffectsPage::OnSwitch(wxCommandEvent& event)
{
    const PageEffect effect = event.GetId() == ID_SHADOW_ON  ? PageEffect::shadow
                              : event.GetId() == ID_BEVEL_ON ? PageEffect::bevel
                                                             : PageEffect::glow;
    SwitchEffect(effect, event.IsChecked());
    FocusMainFrame();
}

void CEffectsPage::OnStyle(wxCommandEvent& event)
{
    const EffectParameter parameter = event.GetId() == ID_SHADOW_STYLE  ? EffectParameter::shadowStyle
                                      : event.GetId() == ID_BEVEL_STYLE ? EffectParameter::bevelStyle
                                                                        : EffectParameter::glowStyle;
    if (auto* list = FindPageControl<wxChoice>(this, event.GetId()))
        SetEffectParameter(parameter, list->GetSelection());
    FocusMainFrame();
}

void CEffectsPage::OnBevelRadio(wxCommandEvent& event)
{
    auto* radio = FindPageControl<wxRadioButton>(this, event.GetId());
    SetEffectParameter(event.GetId() == ID_BEVEL_UP ? EffectParameter::bevelUp : EffectParameter::bevelDown,
                       radio && radio->GetValue() ? 1 : 0);
    FocusMainFrame();
}

void CEffectsPage::OnNotify(CControlNotifyEvent& event)
{
    const int id = event.GetId();
    const unsigned code = event.GetCode();
    if (code == COLOR_NOTIFY_CHANGED) {
        if (auto* well = FindPageControl<CColorControl>(this, id))
            SetEffectColor(id == ID_GLOW_COLOR ? PageEffect::glow : PageEffect::shadow, well->GetColor());
        FocusMainFrame();
        return;
    }
    const ValueControl* control = FindValueControl(id);
    if (!control)
        return;
    // While dragged only the label follows; the object changes when the control is released.
    if (code == SLIDER_NOTIFY_CHANGING || code == WHEEL_NOTIFY_CHANGING) {
        ShowValue(id);
        return;
    }
    if (code != SLIDER_NOTIFY_CHANGED && code != WHEEL_NOTIFY_CHANGED)
        return;
    int value = 0;
    if (control->wheel) {
        if (auto* wheel = FindPageControl<CWheelControl>(this, id))
            value = wheel->WheelGetValue();
    } else if (auto* slider = FindPageControl<CSliderControl>(this, id)) {
        value = slider->GetValue();
    }
    if (SetEffectParameter(control->parameter, value))
        ShowValue(id);
    FocusMainFrame();
}
