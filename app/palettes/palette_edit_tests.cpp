#include "app/palettes/palette_edit.h"

#include "app/objects/page_object_fake.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"

#include <gtest/gtest.h>

namespace {

class PaletteServices : public SiteServicesFake
{
public:
    CSitePage* GetCurrentPage() override { return page; }
    CPageObject* GetCurrentObject() override { return object; }

    CSitePage* page = nullptr;
    CPageObject* object = nullptr;
};

class PaletteEditTest : public ::testing::Test
{
protected:
    PaletteEditTest() : page(nullptr, "home", "Home")
    {
        item = page.AddObject(std::make_unique<FakePageObject>());
        services.page = &page;
        services.object = item->GetCurrentObject();
        services.ShowPage(&page);
        undo = services.lastUndoManager;
    }

    PaletteServices services;
    CSitePage page;
    CPageItem* item = nullptr;
    RecordingUndoManager* undo = nullptr;
};

TEST_F(PaletteEditTest, AnObjectEditIsOneUndoStepAndRepaintsTheOldAndNewSelection)
{
    ASSERT_NE(undo, nullptr);
    undo->recorded.clear();
    services.selectionRect = CRect(10, 10, 50, 40);
    int changes = 0;
    EXPECT_TRUE(ApplyObjectEdit(
        kUndoFill, [](const CPageObject&) { return false; },
        [&](CPageObject& object) {
            EXPECT_EQ(undo->recorded, std::vector<int>{static_cast<int>(kUndoFill)}) << "recorded before the change";
            EXPECT_EQ(&object, services.object);
            ++changes;
            services.selectionRect = CRect(30, 20, 90, 60);
        }));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(services.invalidatedRects, std::vector<CRect>{CRect(10, 10, 90, 60)});

    // The value the object has already: nothing recorded, nothing changed.
    EXPECT_FALSE(ApplyObjectEdit(
        kUndoFill, [](const CPageObject&) { return true; }, [&](CPageObject&) { ++changes; }));
    // Nothing selected: nothing to edit.
    services.object = nullptr;
    EXPECT_FALSE(ApplyObjectEdit(
        kUndoFill, [](const CPageObject&) { return false; }, [&](CPageObject&) { ++changes; }));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(undo->recorded.size(), 1u);
}

TEST_F(PaletteEditTest, APageEditRepaintsTheWholeViewAndTextEditingIsSeen)
{
    undo->recorded.clear();
    EXPECT_TRUE(ApplyPageEdit(
        kUndoPage, [](const CSitePage& p) { return p.GetTitle() == "Welcome"; },
        [](CSitePage& p) { p.SetTitle("Welcome"); }));
    EXPECT_EQ(page.GetTitle(), "Welcome");
    EXPECT_EQ(undo->recorded, std::vector<int>{static_cast<int>(kUndoPage)});
    EXPECT_EQ(services.erasedViews, 1);
    EXPECT_FALSE(ApplyPageEdit(
        kUndoPage, [](const CSitePage& p) { return p.GetTitle() == "Welcome"; }, [](CSitePage&) {}));
    EXPECT_EQ(undo->recorded.size(), 1u);

    EXPECT_FALSE(IsViewEditingText());
    page.SetEditingInPlace(true);
    EXPECT_TRUE(IsViewEditingText());
    services.ShowPage(nullptr);
    EXPECT_FALSE(IsViewEditingText());
}

} // namespace
