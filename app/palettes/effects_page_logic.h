#pragma once

// What the Effects palette shows for the current object and what its controls do, without a window. Switching an
// effect and changing a colour are always one undo step of the effects kind. A parameter of an effect that is on
// is one step too; a parameter of an effect that is off is written straight into the object's own record, with no
// step and no drawing, and shows once the effect is switched on.

#include "app/model/effect_settings.h"

enum class PageEffect
{
    shadow,
    bevel,
    glow,
};

// The parameters the sliders, wheels, style lists and bevel radios edit.
enum class EffectParameter
{
    shadowAngle,
    shadowOffset,
    shadowSoftness,
    shadowOpacity,
    shadowStyle,
    bevelAngle,
    bevelOffset,
    bevelSoftness,
    bevelStyle,
    bevelUp,   // the value is whether the radio is checked
    bevelDown, // the same
    glowOffset,
    glowOpacity,
    glowStyle,
};

struct EffectsPageState
{
    // Off for no object, one that takes no effects, or while a text is edited in place; the controls then keep
    // what they showed.
    bool enabled = false;
    CEffectSettings values;
};

EffectsPageState ReadEffectsPage();

// The check boxes and colour wells: always one step, whatever the value was.
void SwitchEffect(PageEffect effect, bool on);
void SetEffectColor(PageEffect effect, const CColor& color);

// A released slider or wheel, a style list's selection (-1 for none) or a bevel radio. True when the record took a
// new value (its label then shows it).
bool SetEffectParameter(EffectParameter parameter, int value);
