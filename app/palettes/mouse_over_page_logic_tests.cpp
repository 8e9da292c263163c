#include "app/palettes/mouse_over_page_logic.h"

#include "app/model/app_settings.h"
#include "app/objects/counter_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/palettes/palette_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

#include <gtest/gtest.h>

namespace {

class MouseOverServices : public PaletteServicesFake
{
public:
    // The one selected object, as the program answers.
    CPageObject* GetCurrentObject() override
    {
        CPageItem* item = page ? page->GetSingleSelectedItem() : nullptr;
        return item ? item->GetCurrentObject() : nullptr;
    }
    CAppSettings* GetAppSettings() override { return &settings; }
    DialogAnswer ShowHintDialog(int id) override
    {
        hints.push_back(id);
        return DialogAnswer::ok;
    }

    CAppSettings settings;
    std::vector<int> hints;
};

class MouseOverPageTest : public ::testing::Test
{
protected:
    MouseOverPageTest()
    {
        services.realUndo = true;
        page = std::make_unique<CSitePage>(nullptr, "home", "Home");
        services.page = page.get();
        services.ShowPage(page.get());
    }
    CPageItem* Select(std::unique_ptr<CPageObject> object)
    {
        CPageItem* item = page->AddObject(std::move(object));
        page->SelectItem(item);
        return item;
    }
    int UndoAll()
    {
        int steps = 0;
        for (; page->GetUndoManager()->CanUndo() && steps < 20; ++steps)
            page->GetUndoManager()->Undo();
        return steps;
    }

    MouseOverServices services;
    std::unique_ptr<CSitePage> page;
};

TEST_F(MouseOverPageTest, AShapeGetsATwinMovedByClampedOffsetsWhileItIsShown)
{
    EXPECT_FALSE(ReadMouseOverPage().create) << "nothing selected";
    CPageItem* item = Select(std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{80, 40}, 0.0));
    MouseOverPageState state = ReadMouseOverPage();
    EXPECT_TRUE(state.create);
    EXPECT_FALSE(state.remove || state.offsets || state.sameTextOn);
    EXPECT_EQ(state.shown, -1);
    EXPECT_TRUE(state.offsetX.empty());

    MouseOverCreate();
    EXPECT_EQ(services.hints, std::vector<int>{5029}) << "the hint comes first";
    ASSERT_TRUE(item->HasMouseOver());
    state = ReadMouseOverPage();
    EXPECT_FALSE(state.create);
    EXPECT_TRUE(state.remove && state.offsets && state.sameTextOn);
    EXPECT_EQ(state.shown, 1);
    EXPECT_EQ(state.offsetX, "0");

    MouseOverOffset(true, "250");
    MouseOverOffset(false, "-7px");
    MouseOverOffset(false, "-7");
    EXPECT_EQ(item->GetMouseOverOffsetX(), 100);
    EXPECT_EQ(item->GetMouseOverOffsetY(), -7);
    MouseOverOffset(true, "abc");
    EXPECT_EQ(item->GetMouseOverOffsetX(), 0);

    // The original shown: the offsets wait; a click on the checked radio is a step all the same.
    MouseOverShow(false);
    MouseOverShow(false);
    state = ReadMouseOverPage();
    EXPECT_EQ(state.shown, 0);
    EXPECT_FALSE(state.offsets);
    EXPECT_TRUE(state.remove);

    // Removing and undoing it brings the same twin back with its offsets.
    MouseOverShow(true);
    MouseOverOffset(false, "12");
    MouseOverRemove();
    EXPECT_FALSE(item->HasMouseOver());
    EXPECT_TRUE(ReadMouseOverPage().create);
    page->GetUndoManager()->Undo();
    item = page->GetItem(0);
    ASSERT_TRUE(item->HasMouseOver());
    EXPECT_EQ(item->GetMouseOverOffsetY(), 12);
    // Create, three offsets, three radio clicks and one more offset; the removal was undone already.
    EXPECT_EQ(UndoAll(), 8);
    EXPECT_FALSE(page->GetItem(0)->HasMouseOver()) << "undoing the creation takes the twin away";
}

TEST_F(MouseOverPageTest, TextsNeedAdvancedTextAndNeverTypeOffsets)
{
    services.settings.m_showMouseoverHelp = false;
    auto made = std::make_unique<CTextObject>(100.0, 100.0, SIZE{80, 40}, 0.0);
    CTextObject* text = made.get();
    CPageItem* item = Select(std::move(made));
    EXPECT_FALSE(ReadMouseOverPage().create) << "advanced text is off";
    text->GetTextBody()->m_allowAdvanced = 1;
    EXPECT_TRUE(ReadMouseOverPage().create);
    MouseOverCreate();
    EXPECT_TRUE(services.hints.empty());
    ASSERT_TRUE(item->HasMouseOver());
    MouseOverPageState state = ReadMouseOverPage();
    EXPECT_TRUE(state.remove && state.sameTextOn);
    EXPECT_FALSE(state.offsets);

    auto* twin = static_cast<CTextObject*>(item->GetObject(true));
    twin->GetTextBody()->m_allowAdvanced = 0;
    state = ReadMouseOverPage();
    EXPECT_FALSE(state.remove) << "the flag is off for the shown twin";
    EXPECT_TRUE(state.sameTextOn);

    Select(std::make_unique<CCounterObject>(1, 300.0, 300.0));
    state = ReadMouseOverPage();
    EXPECT_FALSE(state.create || state.remove || state.sameTextOn);
}

} // namespace
