#include "app/palettes/effects_page_logic.h"

#include "app/objects/counter_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/palettes/palette_edit.h"
#include "app/palettes/palette_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

#include <gtest/gtest.h>

namespace {

class EffectsPageTest : public PalettePageTest<>
{
protected:
    CPageObject* SelectRectangle()
    {
        return Select(std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{80, 40}, 0.0));
    }
    const CEffectSettings& Effects() const { return *services.object->GetEffects(); }
};

TEST_F(EffectsPageTest, PageIsOffForObjectsWithoutEffectsAndWhileTextIsEdited)
{
    EXPECT_FALSE(ReadEffectsPage().enabled) << "nothing selected";
    Select(std::make_unique<CCounterObject>(1, 300.0, 300.0));
    EXPECT_FALSE(ReadEffectsPage().enabled);
    auto text = std::make_unique<CTextObject>(100.0, 100.0, SIZE{80, 40}, 0.0);
    Select(std::move(text));
    EXPECT_FALSE(ReadEffectsPage().enabled) << "a plain text";
    SelectRectangle();
    const EffectsPageState state = ReadEffectsPage();
    EXPECT_TRUE(state.enabled);
    EXPECT_EQ(state.values.m_shadowAngle, 135);
    EXPECT_EQ(state.values.m_glowColor, CColor(255, 255, 0));
    page.SetEditingInPlace(true);
    EXPECT_FALSE(ReadEffectsPage().enabled);
}

TEST_F(EffectsPageTest, ParametersOfAnEffectThatIsOffGoStraightIntoTheRecord)
{
    SelectRectangle();
    const CEffectSettings* record = &Effects();
    EXPECT_TRUE(SetEffectParameter(EffectParameter::shadowSoftness, 40));
    EXPECT_EQ(&Effects(), record) << "no copy replaced the record";
    EXPECT_EQ(Effects().m_shadowSoftness, 40);
    EXPECT_EQ(Steps(), 0u);
    EXPECT_TRUE(services.invalidatedRects.empty()) << "nothing drawn";

    // Switching it on is one step and keeps that softness.
    SwitchEffect(PageEffect::shadow, true);
    EXPECT_TRUE(Effects().m_shadow);
    EXPECT_EQ(Effects().m_shadowSoftness, 40);
    EXPECT_EQ(undo->recorded, std::vector<int>{static_cast<int>(kUndoEffects)});

    // On: a new value is a step, the value it had already is none.
    EXPECT_TRUE(SetEffectParameter(EffectParameter::shadowOffset, 20));
    EXPECT_FALSE(SetEffectParameter(EffectParameter::shadowOffset, 20));
    EXPECT_EQ(Effects().m_shadowOffset, 20);
    EXPECT_EQ(Steps(), 2u);

    // A colour is a step even for an effect that is off, and even when unchanged.
    SetEffectColor(PageEffect::glow, CColor(255, 255, 0));
    SwitchEffect(PageEffect::glow, false);
    EXPECT_EQ(Steps(), 4u);
    for (int kind : undo->recorded)
        EXPECT_EQ(kind, static_cast<int>(kUndoEffects));
}

TEST_F(EffectsPageTest, ListsRadiosAndSlidersReachTheirFields)
{
    SelectRectangle();
    struct Case
    {
        EffectParameter parameter;
        int value;
        int CEffectSettings::*field;
        int stored;
    };
    const Case cases[] = {
        {EffectParameter::shadowStyle, 1, &CEffectSettings::m_shadowStyle, 1},
        {EffectParameter::shadowStyle, 5, &CEffectSettings::m_shadowStyle, 2},
        {EffectParameter::bevelStyle, 3, &CEffectSettings::m_bevelStyle, 3}, // "Pillow emboss"
        {EffectParameter::bevelStyle, 9, &CEffectSettings::m_bevelStyle, 3},
        {EffectParameter::glowStyle, 7, &CEffectSettings::m_glowStyle, 2},
        {EffectParameter::bevelOffset, 33, &CEffectSettings::m_bevelSoftness, 33},
        {EffectParameter::bevelSoftness, 66, &CEffectSettings::m_bevelStrength, 66},
        {EffectParameter::glowOffset, 12, &CEffectSettings::m_glowSoftness, 12},
        {EffectParameter::glowOpacity, 88, &CEffectSettings::m_glowStrength, 88},
        {EffectParameter::bevelAngle, 359, &CEffectSettings::m_bevelAngle, 359},
        {EffectParameter::bevelDown, 1, &CEffectSettings::m_bevelDirection, 1},
    };
    for (const Case& c : cases) {
        SetEffectParameter(c.parameter, c.value);
        EXPECT_EQ(Effects().*c.field, c.stored) << static_cast<int>(c.parameter) << " " << c.value;
    }
    // No selection in a list and a radio that is not checked change nothing; up while down works.
    EXPECT_FALSE(SetEffectParameter(EffectParameter::shadowStyle, -1));
    EXPECT_FALSE(SetEffectParameter(EffectParameter::bevelUp, 0));
    EXPECT_TRUE(SetEffectParameter(EffectParameter::bevelUp, 1));
    EXPECT_FALSE(SetEffectParameter(EffectParameter::bevelUp, 1)) << "already up";
    EXPECT_EQ(Effects().m_bevelDirection, 0);
    EXPECT_EQ(Steps(), 0u) << "every effect is off";
}

} // namespace
