#include "app/palettes/styles_page_logic.h"

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/objects/counter_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_object.h"
#include "app/palettes/palette_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/io/io.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

class StylesPageTest : public ::testing::Test
{
public:
    StylesPageTest()
    {
        site.AddPage(std::make_unique<CSitePage>(&site, "home", "Home"));
        page = site.GetPage(0);
        services.site = &site;
        services.page = page;
        services.ShowPage(page);
    }

    CPageObject* Add(std::unique_ptr<CPageObject> object, bool select = true)
    {
        CPageItem* item = page->AddObject(std::move(object));
        if (select)
            page->AddToSelection(item);
        return item->GetCurrentObject();
    }
    CPageObject* AddRectangle(bool select = true)
    {
        CPageObject* rectangle = Add(std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{80, 40}, 0.0), select);
        rectangle->GetFill()->SetColor(CColor(10, 20, 30));
        return rectangle;
    }
    CPageObject* Object(int i) const { return page->GetItem(i)->GetCurrentObject(); }
    bool CanUndo() const { return page->GetUndoManager()->CanUndo(); }

    PaletteServicesFake services{true};
    CWebsite site{std::string()};
    CSitePage* page = nullptr;
};

// Every button has its own style, previews are not shared, and an id outside the table means style 1.
TEST(PresetStyles, ButtonsAndPreviewsAreDistinct)
{
    std::set<int> buttons;
    std::set<unsigned> previews;
    for (int style = 1; style <= kStyleCount; ++style) {
        const PresetStyle& preset = GetPresetStyle(style);
        EXPECT_EQ(StyleForButton(preset.buttonId), style);
        buttons.insert(preset.buttonId);
        previews.insert(preset.preview);
        previews.insert(preset.unavailablePreview);
    }
    EXPECT_EQ(buttons.size(), size_t(kStyleCount));
    EXPECT_EQ(previews.size(), size_t(2 * kStyleCount));
    EXPECT_EQ(StyleForButton(1158), 1) << "an unused id of the grid";
    EXPECT_EQ(StyleForButton(1180), 6);
    EXPECT_EQ(StyleTexturePath("/opt/pelorin/", 12), "/opt/pelorin/Graphics/Backgrounds/tex12.jpg");
    EXPECT_EQ(StyleTexturePath("/opt/pelorin", 30), "/opt/pelorin/Graphics/Backgrounds/tex30.jpg");
}

// The build puts all thirty textures beside the program, where a style takes them from.
TEST(PresetStyles, TexturesLieInTheProgramFolder)
{
    for (int style = 1; style <= kStyleCount; ++style) {
        const std::string path = StyleTexturePath(GetProgramFolder(), style);
        IOError error = IO_OK;
        std::unique_ptr<CImage> texture(CIO::LoadImageA(path, IO_LOAD_DEFAULT, &error));
        ASSERT_NE(texture, nullptr) << path;
        EXPECT_GT(texture->Width(), 0);
    }
}

// What each kind of row does to a record whose parameters all differ from the presets: switched on with the row's
// values, on with the object's own, or off with the parameters kept.
TEST(PresetStyles, EffectsOfTheRows)
{
    CEffectSettings own;
    own.m_shadow = own.m_bevel = own.m_glow = true;
    own.m_shadowOffset = own.m_shadowSoftness = own.m_shadowOpacity = 77;
    own.m_shadowStyle = own.m_glowStyle = 2;
    own.m_shadowAngle = own.m_bevelAngle = 45;
    own.m_shadowColor = own.m_glowColor = CColor(1, 2, 3);
    own.m_bevelDirection = 1;
    own.m_bevelSoftness = own.m_bevelStrength = own.m_glowSoftness = own.m_glowStrength = 66;
    own.m_bevelStyle = 2;

    struct Case
    {
        int style;
        bool shadow, bevel, glow;
        void (*check)(const CEffectSettings& e, const CEffectSettings& own);
    };
    const Case cases[] = {
        {1, true, false, false,
         [](const CEffectSettings& e, const CEffectSettings& own) {
             const CEffectSettings fresh;
             EXPECT_EQ(e.m_shadowOffset, fresh.m_shadowOffset);
             EXPECT_EQ(e.m_shadowSoftness, fresh.m_shadowSoftness);
             EXPECT_EQ(e.m_shadowOpacity, fresh.m_shadowOpacity);
             EXPECT_EQ(e.m_shadowAngle, fresh.m_shadowAngle);
             EXPECT_EQ(e.m_shadowColor, CColor(0, 0, 0));
             EXPECT_EQ(e.m_bevelSoftness, own.m_bevelSoftness) << "an effect switched off keeps its values";
         }},
        {6, false, false, true,
         [](const CEffectSettings& e, const CEffectSettings&) {
             EXPECT_EQ(e.m_glowSoftness, 50);
             EXPECT_EQ(e.m_glowStrength, 0);
             EXPECT_EQ(e.m_glowStyle, 1);
             EXPECT_EQ(e.m_glowColor, CColor(0, 0, 0));
         }},
        {9, false, false, true,
         [](const CEffectSettings& e, const CEffectSettings& own) {
             EXPECT_EQ(e.m_glowSoftness, own.m_glowSoftness);
             EXPECT_EQ(e.m_glowColor, own.m_glowColor);
         }},
        {11, false, true, true,
         [](const CEffectSettings& e, const CEffectSettings&) {
             EXPECT_EQ(e.m_bevelDirection, 0);
             EXPECT_EQ(e.m_bevelSoftness, 20);
             EXPECT_EQ(e.m_bevelStrength, 0);
             EXPECT_EQ(e.m_bevelAngle, 135);
             EXPECT_EQ(e.m_bevelStyle, 1);
             EXPECT_EQ(e.m_glowStrength, 25);
             EXPECT_EQ(e.m_glowStyle, 2);
         }},
        {14, false, true, false,
         [](const CEffectSettings& e, const CEffectSettings&) {
             EXPECT_EQ(e.m_bevelDirection, 1);
             EXPECT_EQ(e.m_bevelSoftness, 15);
             EXPECT_EQ(e.m_bevelStyle, 0);
         }},
        {18, true, false, false,
         [](const CEffectSettings& e, const CEffectSettings&) {
             EXPECT_EQ(e.m_shadowOffset, 15);
             EXPECT_EQ(e.m_shadowSoftness, 20);
             EXPECT_EQ(e.m_shadowAngle, 315);
         }},
        {28, false, true, true,
         [](const CEffectSettings& e, const CEffectSettings& own) {
             EXPECT_EQ(e.m_bevelStyle, own.m_bevelStyle);
             EXPECT_EQ(e.m_glowStrength, own.m_glowStrength);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        CEffectSettings e = own;
        ApplyStyleEffects(GetPresetStyle(c.style), e);
        EXPECT_EQ(e.m_shadow, c.shadow);
        EXPECT_EQ(e.m_bevel, c.bevel);
        EXPECT_EQ(e.m_glow, c.glow);
        c.check(e, own);
    }
}

// Style 7 on two selected rectangles: both take texture 7 and an inner bevel, one step takes both back.
TEST_F(StylesPageTest, StyleGoesToEverySelectedObjectAsOneStep)
{
    AddRectangle();
    AddRectangle();
    AddRectangle(false);
    services.selectionRect = CRect(60, 80, 140, 120);
    ASSERT_TRUE(CanApplyStyle());
    ASSERT_TRUE(ApplyStyle(7, GetProgramFolder()));
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Object(i)->GetFill()->GetKind(), CFillInfo::FILL_TEXTURE);
        EXPECT_EQ(Object(i)->GetFill()->GetImageFile(), StyleTexturePath(GetProgramFolder(), 7));
        EXPECT_NE(Object(i)->GetFill()->GetImage(), nullptr) << "the texture was loaded when drawn";
        EXPECT_TRUE(Object(i)->GetEffects()->m_bevel);
        EXPECT_EQ(Object(i)->GetEffects()->m_bevelStyle, 1);
    }
    EXPECT_EQ(Object(2)->GetFill()->GetKind(), CFillInfo::FILL_COLOR) << "not selected";
    EXPECT_EQ(services.invalidatedRects.size(), 1u) << "the selection is drawn again";

    page->GetUndoManager()->Undo();
    EXPECT_FALSE(CanUndo());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Object(i)->GetFill()->GetColor(), CColor(10, 20, 30));
        EXPECT_FALSE(Object(i)->GetEffects()->m_bevel);
    }
}

// The style test: no, and no change, without a site, without groups, while a text is edited, or when one selected
// object cannot take a style; objects outside the selection do not count.
TEST_F(StylesPageTest, SelectionThatCannotTakeAStyleIsLeftAlone)
{
    EXPECT_FALSE(CanApplyStyle()) << "no groups";
    AddRectangle();
    ASSERT_TRUE(CanApplyStyle());
    Add(std::make_unique<CCounterObject>(1, 300.0, 300.0), false);
    EXPECT_TRUE(CanApplyStyle()) << "the counter is not selected";

    struct Case
    {
        const char* what;
        void (*make)(StylesPageTest& t);
    };
    const Case cases[] = {
        {"no site", [](StylesPageTest& t) { t.services.site = nullptr; }},
        {"text edited in place", [](StylesPageTest& t) { t.page->SetEditingInPlace(true); }},
        {"a counter selected", [](StylesPageTest& t) { t.page->AddToSelection(t.page->GetItem(1)); }},
        {"a plain text selected",
         [](StylesPageTest& t) {
             t.Add(std::make_unique<CTextObject>(10.0, 10.0, SIZE{80, 40}, 0.0));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        services.site = &site;
        page->SetEditingInPlace(false);
        page->ClearSelection();
        page->AddToSelection(page->GetItem(0));
        c.make(*this);
        EXPECT_FALSE(CanApplyStyle());
        EXPECT_FALSE(ApplyStyle(3, "/opt/pelorin/"));
        EXPECT_EQ(Object(0)->GetFill()->GetKind(), CFillInfo::FILL_COLOR);
        EXPECT_FALSE(CanUndo());
    }
}

// With groups on the page but none selected the style applies to nothing, yet still records its step.
TEST_F(StylesPageTest, NothingSelectedStillRecordsAStep)
{
    AddRectangle();
    AddRectangle();
    ASSERT_TRUE(page->CanCreateGroup());
    page->CreateGroup();
    page->ClearSelection();
    ASSERT_EQ(page->GetGroupCount(), 1) << "the user group stays, deselected";
    EXPECT_TRUE(CanApplyStyle());
    EXPECT_TRUE(ApplyStyle(5, "/opt/pelorin/"));
    EXPECT_TRUE(CanUndo());
    EXPECT_EQ(Object(0)->GetFill()->GetKind(), CFillInfo::FILL_COLOR);
}

} // namespace
