#include "app/palettes/object_button_text.h"

#include "app/model/app_settings.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/counter_object.h"
#include "app/objects/path_object.h"
#include "app/palettes/palette_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

#include <gtest/gtest.h>

namespace {

class ButtonTextServices : public PaletteServicesFake
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }

    CAppSettings settings;
};

class ButtonTextTest : public ::testing::Test
{
protected:
    ButtonTextTest()
    {
        services.realUndo = true;
        page = std::make_unique<CSitePage>(nullptr, "home", "Home");
        services.page = page.get();
        services.ShowPage(page.get());
        item = page->AddObject(std::make_unique<CCircleObject>(100.0, 100.0, SIZE{80, 80}, 0.0));
        page->SelectItem(item);
        services.object = item->GetCurrentObject();
    }
    CTextStyle& Style() const { return *dynamic_cast<CPathObject*>(services.object)->GetTextStyle(); }
    int Steps() const
    {
        int steps = 0;
        CUndoManager* undo = page->GetUndoManager();
        while (undo->CanUndo()) {
            undo->Undo();
            ++steps;
        }
        for (int i = 0; i < steps; ++i)
            undo->Redo();
        return steps;
    }

    ButtonTextServices services;
    std::unique_ptr<CSitePage> page;
    CPageItem* item = nullptr;
};

TEST_F(ButtonTextTest, TheShownStyleBecomesTheDefaultOfNewShapes)
{
    Style().m_nSize = 14;
    Style().m_bBold = true;
    ASSERT_TRUE(ReadButtonText().has_value());
    EXPECT_EQ(ReadButtonText()->size, 14);
    const CTextStyle next;
    EXPECT_EQ(next.m_nSize, 14);
    EXPECT_TRUE(next.m_bBold);

    // A counter has no label: nothing is shown and nothing applies.
    CPageItem* counter = page->AddObject(std::make_unique<CCounterObject>(0, 300.0, 300.0));
    page->SelectItem(counter);
    services.object = counter->GetCurrentObject();
    EXPECT_EQ(ReadButtonText(), std::nullopt);
    EXPECT_FALSE(ToggleButtonBold());
    EXPECT_FALSE(page->GetUndoManager()->CanUndo());
}

TEST_F(ButtonTextTest, EachToggleIsAStepAndSameValuesAreNone)
{
    const bool bold = Style().m_bBold;
    EXPECT_TRUE(ToggleButtonBold());
    EXPECT_TRUE(ToggleButtonBold());
    EXPECT_EQ(Style().m_bBold, bold);
    EXPECT_EQ(Steps(), 2);

    EXPECT_FALSE(ApplyShadowColor(Style().m_shadowColor.GetCOLORREF()));
    EXPECT_FALSE(ApplyButtonAlignment(Style().m_alignment));
    EXPECT_FALSE(ApplyButtonFace(Style().m_strFont));
    EXPECT_TRUE(ApplyButtonSize(Style().m_nSize + 2));
    EXPECT_EQ(Steps(), 3);

    // Undo gives the whole style back.
    page->GetUndoManager()->Undo();
    const int size = dynamic_cast<CPathObject*>(item->GetCurrentObject())->GetTextStyle()->m_nSize;
    EXPECT_EQ(size, ReadButtonText()->size);
}

TEST_F(ButtonTextTest, ShadowDistanceStaysWithinItsRange)
{
    Style().m_shadowDistance = 3;
    ShadowDistanceResult typed = ApplyShadowDistance("25");
    EXPECT_TRUE(typed.changed);
    EXPECT_EQ(typed.shown, "20");
    EXPECT_EQ(Style().m_shadowDistance, 20);
    EXPECT_EQ(services.settings.m_buttonTextShadowDistance, 20);
    EXPECT_FALSE(StepShadowDistance(1)) << "the up arrow at 20";
    EXPECT_TRUE(StepShadowDistance(-1));
    EXPECT_EQ(Style().m_shadowDistance, 19);
    typed = ApplyShadowDistance("7");
    EXPECT_TRUE(typed.changed);
    EXPECT_EQ(typed.shown, std::nullopt) << "the box already says it";
    EXPECT_FALSE(ApplyShadowDistance("7").changed);
    EXPECT_EQ(ApplyShadowDistance("-4").shown, "0");
}

TEST_F(ButtonTextTest, ALabelSharedWithTheTwinGoesToBoth)
{
    item->SetMouseOverObject(item->GetObject(false)->Duplicate());
    item->SetSameText(true);
    services.object = item->GetCurrentObject();
    EXPECT_TRUE(ApplyButtonText("Buy"));
    for (bool twin : {false, true})
        EXPECT_EQ(dynamic_cast<CPathObject*>(item->GetObject(twin))->GetTextStyle()->m_strText, "Buy") << twin;
    EXPECT_FALSE(ApplyButtonText("Buy"));

    item->SetSameText(false);
    EXPECT_TRUE(ApplyButtonText("Sale"));
    EXPECT_EQ(Style().m_strText, "Sale");
    EXPECT_EQ(dynamic_cast<CPathObject*>(item->GetObject(false))->GetTextStyle()->m_strText, "Buy");
}

} // namespace
