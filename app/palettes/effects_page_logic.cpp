#include "app/palettes/effects_page_logic.h"

#include "app/model/services.h"
#include "app/objects/page_object.h"
#include "app/palettes/palette_edit.h"

namespace {

CEffectSettings* CurrentEffects()
{
    CPageObject* object = GetPaletteObject();
    return object && object->CanTakeStyle() ? object->GetEffects() : nullptr;
}

// One undo step of the effects kind: a copy of the record takes the change and replaces the object's record.
void ApplyEffects(const std::function<void(CEffectSettings&)>& change)
{
    ApplyObjectEdit(
        kUndoEffects, [](const CPageObject& object) { return object.GetEffects() == nullptr; },
        [&](CPageObject& object) {
            std::unique_ptr<CEffectSettings> effects = object.GetEffects()->Clone();
            change(*effects);
            object.SetEffects(std::move(effects));
        });
}

bool& OnFlag(CEffectSettings& effects, PageEffect effect)
{
    switch (effect) {
    case PageEffect::shadow:
        return effects.m_shadow;
    case PageEffect::bevel:
        return effects.m_bevel;
    case PageEffect::glow:
        break;
    }
    return effects.m_glow;
}

// The field a parameter edits, the effect whose switch decides how, and the value the control's reading stands
// for.
struct ParameterTarget
{
    int* field;
    PageEffect effect;
    int value;
};

ParameterTarget Target(CEffectSettings& e, EffectParameter parameter, int value)
{
    // A style list beyond the first entries stands for the last style.
    const auto style = [&](int last) { return value >= 0 && value < last ? value : last; };
    switch (parameter) {
    case EffectParameter::shadowAngle:
        return {&e.m_shadowAngle, PageEffect::shadow, value};
    case EffectParameter::shadowOffset:
        return {&e.m_shadowOffset, PageEffect::shadow, value};
    case EffectParameter::shadowSoftness:
        return {&e.m_shadowSoftness, PageEffect::shadow, value};
    case EffectParameter::shadowOpacity:
        return {&e.m_shadowOpacity, PageEffect::shadow, value};
    case EffectParameter::shadowStyle:
        return {&e.m_shadowStyle, PageEffect::shadow, style(2)};
    case EffectParameter::bevelAngle:
        return {&e.m_bevelAngle, PageEffect::bevel, value};
    case EffectParameter::bevelOffset:
        return {&e.m_bevelSoftness, PageEffect::bevel, value};
    case EffectParameter::bevelSoftness:
        return {&e.m_bevelStrength, PageEffect::bevel, value};
    case EffectParameter::bevelStyle:
        return {&e.m_bevelStyle, PageEffect::bevel, style(3)};
    case EffectParameter::bevelUp:
        return {&e.m_bevelDirection, PageEffect::bevel, 0};
    case EffectParameter::bevelDown:
        return {&e.m_bevelDirection, PageEffect::bevel, 1};
    case EffectParameter::glowOffset:
        return {&e.m_glowSoftness, PageEffect::glow, value};
    case EffectParameter::glowOpacity:
        return {&e.m_glowStrength, PageEffect::glow, value};
    case EffectParameter::glowStyle:
        break;
    }
    return {&e.m_glowStyle, PageEffect::glow, style(2)};
}

} // namespace

EffectsPageState ReadEffectsPage()
{
    EffectsPageState state;
    const CEffectSettings* effects = CurrentEffects();
    if (!effects || IsViewEditingText())
        return state;
    state.enabled = true;
    state.values = *effects;
    return state;
}

void SwitchEffect(PageEffect effect, bool on)
{
    if (CurrentEffects())
        ApplyEffects([&](CEffectSettings& e) { OnFlag(e, effect) = on; });
}

void SetEffectColor(PageEffect effect, const CColor& color)
{
    if (CurrentEffects())
        ApplyEffects(
            [&](CEffectSettings& e) { (effect == PageEffect::glow ? e.m_glowColor : e.m_shadowColor) = color; });
}

bool SetEffectParameter(EffectParameter parameter, int value)
{
    CEffectSettings* effects = CurrentEffects();
    if (!effects)
        return false;
    const bool styleList = parameter == EffectParameter::shadowStyle || parameter == EffectParameter::bevelStyle ||
                           parameter == EffectParameter::glowStyle;
    const bool radio = parameter == EffectParameter::bevelUp || parameter == EffectParameter::bevelDown;
    // A list with no selection and a radio that is not checked change nothing.
    if ((styleList && value < 0) || (radio && !value))
        return false;
    const ParameterTarget target = Target(*effects, parameter, value);
    if (*target.field == target.value)
        return false;
    if (OnFlag(*effects, target.effect)) {
        ApplyEffects([&](CEffectSettings& e) { *Target(e, parameter, value).field = target.value; });
    } else {
        // The effect is off: nothing shows it, so the value waits in the record until it is switched on.
        *target.field = target.value;
    }
    return true;
}
