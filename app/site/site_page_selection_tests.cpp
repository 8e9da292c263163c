// Selection frames and user groups on a page, and the Edit commands that drive them.

#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "app/objects/text_editing_test_support.h"
#include "app/site/edit_commands.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_object_fake.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"
#include "platform/resources/string_ids.h"

namespace {

class Selection : public testing::Test
{
protected:
    SiteServicesFake services;
    CSitePage page{nullptr, "p", "P"};

    Selection()
    {
        for (int i = 0; i < 4; ++i)
            page.AddObject(MakeFake(objectRectangle, 50 + 100 * i, 50, 40, 40));
    }
    CPageItem* Item(int i) { return page.GetItem(i); }
    // Each of the items in a selected frame of its own.
    void SelectSeparately(const std::vector<int>& indexes)
    {
        for (int i : indexes)
            page.AddGroup(std::make_unique<CObjectFrame>(Item(i)));
    }
    RecordingUndoManager& Undo() { return static_cast<RecordingUndoManager&>(*page.GetUndoManager()); }
};

TEST_F(Selection, SelectingMakesOneFrame)
{
    CObjectFrame* frame = page.SelectItem(Item(0));
    EXPECT_EQ(page.GetSingleSelectedFrame(), frame);
    EXPECT_EQ(page.GetSingleSelectedItem(), Item(0));
    EXPECT_TRUE(page.IsItemSelected(0));
    EXPECT_FALSE(page.IsItemSelected(1));
    EXPECT_FALSE(page.CanCreateGroup());

    page.AddToSelection(Item(2));
    page.AddItemToSelection(3);
    EXPECT_EQ(page.GetGroupCount(), 1);
    EXPECT_EQ(page.GetSelectedItemCount(), 3);
    EXPECT_EQ(page.GetSingleSelectedItem(), nullptr);
    EXPECT_EQ(frame->GetRect(), CRect(30, 30, 370, 70));
    EXPECT_TRUE(page.IsItemGrouped(3));
    EXPECT_EQ(page.GetItemGroup(3), frame);
    EXPECT_TRUE(page.CanCreateGroup());
    EXPECT_EQ(page.GetSelectedGroup(), nullptr);

    page.SelectItemAt(1);
    EXPECT_EQ(page.GetGroupCount(), 1);
    EXPECT_EQ(page.GetSingleSelectedItem(), Item(1));
    EXPECT_EQ(Item(0)->GetGroup(), nullptr);
    EXPECT_EQ(Item(3)->GetGroup(), nullptr);
}

TEST_F(Selection, GroupsAreMadeAndDissolved)
{
    SelectSeparately({0, 2});
    EXPECT_TRUE(page.CanCreateGroup());
    CObjectFrame* group = page.CreateGroup();
    ASSERT_TRUE(group);
    EXPECT_EQ(page.GetGroupCount(), 1);
    EXPECT_TRUE(group->IsGroup());
    EXPECT_TRUE(group->IsSelected());
    EXPECT_EQ(group->GetItemCount(), 2);
    EXPECT_EQ(Item(0)->GetGroup(), group);
    EXPECT_EQ(Item(2)->GetGroup(), group);
    EXPECT_TRUE(page.IsSingleUserGroupSelected());
    EXPECT_EQ(page.GetSelectedGroup(), group);
    EXPECT_FALSE(page.CanCreateGroup());

    // A turned group comes back upright as a plain selection of the same members.
    group->RecordDragData();
    group->RotateToPoint(POINT{400, 50}, std::numbers::pi / 6, 0.0, false);
    page.Ungroup();
    EXPECT_FALSE(group->IsGroup());
    EXPECT_EQ(group->GetAngle(), 0.0);
    EXPECT_EQ(group->GetItemCount(), 2);
    EXPECT_TRUE(page.CanCreateGroup());
}

TEST_F(Selection, AGroupAndOneMoreObjectMakeOneGroup)
{
    SelectSeparately({0, 1});
    page.CreateGroup();
    SelectSeparately({3});
    EXPECT_TRUE(page.CanCreateGroup());
    CObjectFrame* group = page.CreateGroup();
    EXPECT_EQ(page.GetGroupCount(), 1);
    EXPECT_EQ(group->GetItemCount(), 3);
    for (int i : {0, 1, 3})
        EXPECT_EQ(Item(i)->GetGroup(), group);
    EXPECT_EQ(Item(2)->GetGroup(), nullptr);
}

TEST_F(Selection, ClearingKeepsUserGroupsOnly)
{
    SelectSeparately({0, 1});
    CObjectFrame* group = page.CreateGroup();
    SelectSeparately({2, 3});
    page.ClearSelection();
    ASSERT_EQ(page.GetGroupCount(), 1);
    EXPECT_EQ(page.GetGroupAt(0), group);
    EXPECT_FALSE(group->IsSelected());
    EXPECT_EQ(Item(2)->GetGroup(), nullptr);
    EXPECT_EQ(Item(3)->GetGroup(), nullptr);
    EXPECT_FALSE(page.HasSelection());

    // Selecting a grouped item selects its group: an item is in one frame at a time.
    EXPECT_EQ(page.SelectItem(Item(1)), group);
    EXPECT_TRUE(group->IsSelected());
    EXPECT_EQ(page.GetGroupCount(), 1);
}

TEST_F(Selection, SelectAllSelectsGroupsAndGathersLooseItems)
{
    SelectSeparately({0, 1});
    CObjectFrame* group = page.CreateGroup();
    page.ClearSelection();
    page.SelectAll();
    ASSERT_EQ(page.GetGroupCount(), 2);
    EXPECT_TRUE(group->IsSelected());
    const CObjectFrame* loose = page.GetGroupAt(1);
    EXPECT_FALSE(loose->IsGroup());
    EXPECT_EQ(loose->GetItemCount(), 2);
    EXPECT_EQ(page.GetSelectedItemCount(), 4);
}

TEST_F(Selection, FramesTakenOutAndPutBack)
{
    SelectSeparately({0, 1});
    CObjectFrame* group = page.CreateGroup();
    std::unique_ptr<CObjectFrame> taken = page.RemoveGroup(group);
    ASSERT_TRUE(taken);
    EXPECT_EQ(page.GetGroupCount(), 0);
    EXPECT_EQ(Item(0)->GetGroup(), nullptr);
    page.AddGroup(std::move(taken));
    EXPECT_EQ(Item(0)->GetGroup(), group);

    auto other = std::make_unique<CObjectFrame>(Item(3));
    CObjectFrame* replacement = other.get();
    std::unique_ptr<CObjectFrame> replaced = page.SetGroupAt(0, std::move(other));
    EXPECT_EQ(replaced.get(), group);
    EXPECT_EQ(Item(0)->GetGroup(), nullptr);
    EXPECT_EQ(Item(3)->GetGroup(), replacement);
    EXPECT_EQ(page.RemoveGroup(group), nullptr);
}

class EditCommands : public Selection
{
protected:
    EditCommands() { services.ShowPage(&page); }
};

TEST_F(EditCommands, NothingIsEnabledWithoutAView)
{
    services.ShowPage(nullptr);
    SelectSeparately({0, 1});
    Undo().canUndo = Undo().canRedo = true;
    EXPECT_FALSE(IsEditUndoEnabled(services.GetCurrentView()));
    EXPECT_FALSE(IsEditRedoEnabled(services.GetCurrentView()));
    EXPECT_FALSE(IsEditDeleteEnabled(services.GetCurrentView()));
    EXPECT_FALSE(IsEditSelectAllEnabled(services.GetCurrentView()));
    EXPECT_FALSE(GetEditGroupUpdate(services.GetCurrentView()).enabled);
    OnEditDelete(services.GetCurrentView());
    EXPECT_EQ(page.GetItemCount(), 4);
}

TEST_F(EditCommands, UndoAndRedoFollowTheUndoManagerOutsideTextEdits)
{
    EXPECT_FALSE(IsEditUndoEnabled(services.GetCurrentView()));
    Undo().canUndo = true;
    EXPECT_TRUE(IsEditUndoEnabled(services.GetCurrentView()));
    EXPECT_FALSE(IsEditRedoEnabled(services.GetCurrentView()));
    page.SetEditingInPlace(true);
    EXPECT_FALSE(IsEditUndoEnabled(services.GetCurrentView()));
    page.SetEditingInPlace(false);

    auto* fake = static_cast<FakeObject*>(Item(0)->GetCurrentObject());
    services.codes.clear();
    services.selectionRect = CRect(10, 10, 20, 20);
    OnEditUndo(services.GetCurrentView());
    OnEditRedo(services.GetCurrentView()); // nothing to redo
    EXPECT_EQ(Undo().undos, 1);
    EXPECT_EQ(Undo().redos, 0);
    EXPECT_EQ(fake->renders, 1);
    // Only the selection (and its handles) is painted again.
    EXPECT_EQ(services.paintedViews, 0);
    EXPECT_EQ(services.invalidatedRects, std::vector<CRect>{CRect(2, 2, 28, 28)});
    EXPECT_EQ(services.codes, std::vector<int>{10018});
}

TEST_F(EditCommands, DeleteRemovesTheSelectionAfterRecordingUndo)
{
    EXPECT_FALSE(IsEditDeleteEnabled(services.GetCurrentView()));
    SelectSeparately({1, 2});
    EXPECT_TRUE(IsEditDeleteEnabled(services.GetCurrentView()));
    services.selectionRect = CRect(1, 2, 3, 4);

    page.SetEditingInPlace(true);
    OnEditDelete(services.GetCurrentView());
    EXPECT_EQ(page.GetItemCount(), 4);
    EXPECT_TRUE(Undo().recorded.empty());
    page.SetEditingInPlace(false);

    services.insertHtmlOpen = true;
    OnEditDelete(services.GetCurrentView());
    EXPECT_EQ(services.removedHtmlFiles, 1);
    EXPECT_EQ(page.GetItemCount(), 4);
    services.insertHtmlOpen = false;

    OnEditDelete(services.GetCurrentView());
    EXPECT_EQ(page.GetItemCount(), 2);
    EXPECT_EQ(page.GetGroupCount(), 0);
    EXPECT_EQ(Undo().recorded, std::vector<int>{1});
    EXPECT_EQ(services.invalidatedRects.back(), CRect(1, 2, 3, 4));
    EXPECT_EQ(services.codes.back(), 10018);
}

TEST_F(EditCommands, GroupCommandMakesOrEndsAGroup)
{
    struct Case
    {
        const char* name;
        std::vector<int> separate;
        bool groupFirst;
        bool enabled;
        unsigned textId;
    };
    const std::vector<Case> cases = {
        {"nothing selected", {}, false, false, 0},
        {"one item", {2}, false, false, 0},
        {"two frames", {0, 1}, false, true, IDS_CREATE_GROUP},
        {"a selected group", {0, 1}, true, true, IDS_REMOVE_GROUP},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page.ClearSelection();
        while (page.GetGroupCount() > 0)
            page.RemoveGroup(page.GetGroupAt(0));
        SelectSeparately(c.separate);
        if (c.groupFirst)
            page.CreateGroup();
        const EditGroupUpdate update = GetEditGroupUpdate(services.GetCurrentView());
        EXPECT_EQ(update.enabled, c.enabled);
        EXPECT_EQ(update.textId, c.textId);

        Undo().recorded.clear();
        const bool wasGroup = page.IsSingleUserGroupSelected();
        OnEditGroup(services.GetCurrentView());
        EXPECT_EQ(Undo().recorded, c.enabled ? std::vector<int>{14} : std::vector<int>{});
        if (c.enabled) {
            EXPECT_NE(page.IsSingleUserGroupSelected(), wasGroup);
        }
    }
    EXPECT_EQ(services.textEditsEnded, static_cast<int>(cases.size()));
}

TEST_F(EditCommands, SelectAllLeavesAnInPlaceEditAlone)
{
    EXPECT_TRUE(IsEditSelectAllEnabled(services.GetCurrentView()));
    page.SetEditingInPlace(true);
    OnEditSelectAll(services.GetCurrentView());
    EXPECT_FALSE(page.HasSelection());
    page.SetEditingInPlace(false);
    OnEditSelectAll(services.GetCurrentView());
    EXPECT_EQ(page.GetSelectedItemCount(), 4);
}

// During an in-place edit Delete and Select All act on the characters of the edited text, never on the items.
TEST_F(EditCommands, DeleteAndSelectAllWorkOnTheTextEditedInPlace)
{
    using namespace text_editing_testing;
    CPageItem* item = page.AddObject(MakeText(200, {"abc", "de"}));
    auto* text = static_cast<CTextObject*>(item->GetCurrentObject());
    text->BeginEdit();
    page.SetEditedObject(text);
    page.SetEditingInPlace(true);
    page.SelectItem(item);
    ASSERT_TRUE(IsEditDeleteEnabled(services.GetCurrentView()));

    // Without a selection Delete takes the character after the caret.
    PutCaret(*text, {0, 1});
    OnEditDelete(services.GetCurrentView());
    EXPECT_EQ(Paragraphs(*text), (std::vector<std::string>{"ac", "de"}));
    EXPECT_EQ(CaretOf(*text), (Pos{0, 1}));

    OnEditSelectAll(services.GetCurrentView());
    const CTextBody& body = *text->GetTextBody();
    EXPECT_FALSE(body.m_selectionEmpty);
    EXPECT_EQ(CaretOf(*text), (Pos{1, 2}));
    EXPECT_EQ(page.GetSingleSelectedItem(), item) << "the page's selection stays as it was";

    // With one, Delete takes the selected characters.
    OnEditDelete(services.GetCurrentView());
    EXPECT_EQ(Paragraphs(*text), (std::vector<std::string>{""}));
    EXPECT_TRUE(body.m_selectionEmpty);
    EXPECT_EQ(page.GetItemCount(), 5);
    EXPECT_TRUE(Undo().recorded.empty());
}

} // namespace
