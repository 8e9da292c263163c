// The item list: z-order with the kept-on-top run, and items leaving the page and their frames.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/objects/circle_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_object_fake.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"

namespace {

// One letter per kind: r rectangle, c circle, n counter, f form, t plain text, a text that allows advanced text.
int KindOf(char letter)
{
    switch (letter) {
    case 'r':
        return objectRectangle;
    case 'c':
        return objectCircle;
    case 'n':
        return objectCounter;
    default:
        return objectForm;
    }
}

char LetterOf(const CPageObject& object)
{
    if (const auto* text = dynamic_cast<const CTextObject*>(&object))
        return text->AllowsAdvancedText() ? 'a' : 't';
    const int kind = object.GetKind();
    return kind == objectRectangle ? 'r' : kind == objectCircle ? 'c' : kind == objectCounter ? 'n' : 'f';
}

std::unique_ptr<CPageObject> ObjectOf(char letter)
{
    if (letter != 't' && letter != 'a')
        return MakeFake(KindOf(letter), 50, 50, 20, 20);
    auto text = std::make_unique<CTextObject>(50, 50, SIZE{20, 20}, 0.0);
    text->GetTextBody()->m_allowAdvanced = letter == 'a' ? 1 : 0;
    return text;
}

std::unique_ptr<CPageItem> Item(char letter)
{
    return std::make_unique<CPageItem>(ObjectOf(letter), nullptr);
}

// Appends items of the lettered kinds as they come, without the kept-on-top rule (as undo does).
void Fill(CSitePage& page, const std::string& kinds)
{
    for (char k : kinds)
        page.SetItemAt(page.GetItemCount(), Item(k));
}

std::string OrderOf(const CSitePage& page)
{
    std::string order;
    for (int i = 0; i < page.GetItemCount(); ++i)
        order += LetterOf(*page.GetItem(i)->GetCurrentObject());
    return order;
}

class PageItems : public testing::Test
{
protected:
    SiteServicesFake services;
    CSitePage page{nullptr, "p", "P"};
};

TEST_F(PageItems, AddingKeepsTheKeptOnTopRunAtTheTail)
{
    struct Case
    {
        std::string before;
        char added;
        std::string after;
    };
    const Case cases[] = {
        {"rcnf", 'r', "rcrnf"}, {"nf", 'r', "rnf"}, {"", 'r', "r"},       {"rc", 'c', "rcc"},
        {"rnf", 'n', "rnfn"},   {"rc", 'f', "rcf"}, {"nn", 'c', "cnn"},   {"rnf", 't', "rnft"},
        {"rnft", 'a', "ranft"}, {"tn", 'r', "rtn"}, {"rtn", 'n', "rtnn"}, {"ra", 't', "rat"},
    };
    for (const Case& c : cases) {
        for (bool insert : {false, true}) {
            SCOPED_TRACE(c.before + " + " + c.added + (insert ? " inserted" : " added"));
            CSitePage fresh(nullptr, "q", "Q");
            Fill(fresh, c.before);
            CPageItem* item = insert ? fresh.InsertItem(Item(c.added)) : fresh.AddObject(ObjectOf(c.added));
            EXPECT_EQ(OrderOf(fresh), c.after);
            EXPECT_EQ(item->GetRenderBuffer(), fresh.GetRenderBuffer());
        }
    }
    EXPECT_EQ(std::count(services.codes.begin(), services.codes.end(), CSitePage::kItemsChanged),
              static_cast<long>(std::size(cases)));
}

TEST_F(PageItems, ToolsMakeTheirObjectsBelowTheRunAndSelectThem)
{
    struct Case
    {
        int tool, shapeKind, kind, shapeCode;
    };
    const Case cases[] = {
        {3, 1, objectRectangle, 3}, {3, 2, objectCircle, 3}, {3, 5, objectPolygon, 5},
        {3, 18, objectPolygon, 18}, {4, 0, objectCircle, 3}, {10, 7, objectRectangle, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "tool " << c.tool << " shape " << c.shapeKind);
        CSitePage fresh(nullptr, "q", "Q");
        fresh.SetItemAt(0, Item('n'));
        services.tool = c.tool;
        CPageItem* item = fresh.CreateObject(POINT{30, 40}, c.shapeKind);
        ASSERT_TRUE(item);
        EXPECT_EQ(fresh.GetItem(0), item);
        EXPECT_EQ(item->GetCurrentObject()->GetKind(), c.kind);
        EXPECT_EQ(item->GetCurrentObject()->GetShapeCode(), c.shapeCode);
        DPOINT centre;
        item->GetCurrentObject()->GetCenter(centre);
        EXPECT_DOUBLE_EQ(centre.x, 29.5);
        EXPECT_DOUBLE_EQ(centre.y, 39.5);
        EXPECT_EQ(fresh.GetSingleSelectedItem(), item);
    }
    // The text tool makes plain text, which goes on top of the counter.
    CSitePage withCounter(nullptr, "q", "Q");
    withCounter.SetItemAt(0, Item('n'));
    services.tool = 2;
    CPageItem* text = withCounter.CreateObject(POINT{30, 40}, 0);
    ASSERT_TRUE(text);
    EXPECT_EQ(OrderOf(withCounter), "nt");
    DPOINT centre;
    text->GetCurrentObject()->GetCenter(centre);
    EXPECT_DOUBLE_EQ(centre.x, 29.5);
    EXPECT_DOUBLE_EQ(centre.y, 39.5);
    EXPECT_EQ(withCounter.GetSingleSelectedItem(), text);

    for (POINT toolAndShape : {POINT{3, 0}, POINT{3, -1}, POINT{1, 1}, POINT{0, 1}}) {
        services.tool = toolAndShape.x;
        EXPECT_FALSE(page.CreateObject(POINT{30, 40}, toolAndShape.y));
    }
    EXPECT_EQ(page.GetItemCount(), 0);
}

TEST_F(PageItems, MovingStaysWithinTheItemsOwnPartOfTheList)
{
    struct Case
    {
        int from, to;
        std::string after;
    };
    // r0 c1 r2 n3 f4 t5
    const Case cases[] = {
        {0, 2, "crrnft"}, {2, 0, "rrcnft"}, {0, 9, "crrnft"}, {1, -3, "crrnft"},
        {3, 4, "rcrfnt"}, {4, 0, "rcrfnt"}, {3, 3, "rcrnft"}, {5, 0, "rcrtnf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        CSitePage fresh(nullptr, "q", "Q");
        Fill(fresh, "rcrnft");
        fresh.MoveItem(fresh.GetItem(c.from), c.to);
        EXPECT_EQ(OrderOf(fresh), c.after);
    }
    // "Allow advanced text" switched off moves the text to the top, and switched on again back below the run.
    CSitePage layered(nullptr, "q", "Q");
    Fill(layered, "rarn");
    CPageItem* text = layered.GetItem(1);
    auto* body = static_cast<CTextObject*>(text->GetCurrentObject())->GetTextBody();
    body->m_allowAdvanced = 0;
    layered.MoveItem(text, layered.GetItemCount() - 1);
    EXPECT_EQ(OrderOf(layered), "rrnt");
    body->m_allowAdvanced = 1;
    layered.MoveItem(text, 1);
    EXPECT_EQ(OrderOf(layered), "rarn");
    // An item of no page moves nothing.
    Fill(page, "rc");
    std::unique_ptr<CPageItem> stranger = Item('c');
    page.MoveItem(stranger.get(), 0);
    EXPECT_EQ(OrderOf(page), "rc");
    EXPECT_EQ(page.IndexOfItem(stranger.get()), 0);
    EXPECT_EQ(page.IndexOfItem(page.GetItem(1)), 1);
}

TEST_F(PageItems, FindingAndStoringItems)
{
    Fill(page, "rc");
    CPageItem* circle = page.GetItem(1);
    EXPECT_EQ(page.FindItem(circle->GetCurrentObject()), circle);
    circle->SetMouseOverObject(MakeFake(objectCircle, 50, 50, 20, 20));
    EXPECT_EQ(page.FindItem(circle->GetObject(true)), circle);
    EXPECT_EQ(page.FindItem(circle->GetObject(false)), nullptr);

    std::unique_ptr<CPageItem> replaced = page.SetItemAt(0, Item('f'));
    EXPECT_EQ(replaced->GetCurrentObject()->GetKind(), objectRectangle);
    EXPECT_EQ(page.SetItemAt(7, std::move(replaced)), nullptr);
    EXPECT_EQ(OrderOf(page), "fcr");
    EXPECT_EQ(page.GetItem(3), nullptr);
    EXPECT_EQ(page.GetItem(-1), nullptr);
}

// Removed items stay alive with the caller, as undo and cut keep them; none may name a frame that is gone.
TEST_F(PageItems, ItemsLeavingThePageLetGoOfTheirFrames)
{
    Fill(page, "rrrrr");
    CPageItem* alone = page.GetItem(0);
    page.SelectItem(alone);
    ASSERT_EQ(page.GetGroupCount(), 1);
    std::unique_ptr<CPageItem> removedAlone = page.RemoveItem(alone);
    EXPECT_EQ(page.GetGroupCount(), 0);
    EXPECT_EQ(removedAlone->GetGroup(), nullptr);
    EXPECT_FALSE(removedAlone->IsSelected());

    for (int i = 0; i < 3; ++i)
        page.AddItemToSelection(i);
    ASSERT_EQ(page.GetGroupCount(), 1);
    CObjectFrame* frame = page.GetGroupAt(0);
    std::unique_ptr<CPageItem> removedMember = page.RemoveItem(page.GetItem(1));
    EXPECT_EQ(page.GetGroupCount(), 1);
    EXPECT_EQ(frame->GetItemCount(), 2);
    EXPECT_EQ(removedMember->GetGroup(), nullptr);
    EXPECT_EQ(page.RemoveItem(removedMember.get()), nullptr);

    // The rest of the selection leaves together; its frame is deleted.
    std::vector<std::unique_ptr<CPageItem>> removed = page.RemoveSelection();
    ASSERT_EQ(removed.size(), 2u);
    EXPECT_EQ(page.GetGroupCount(), 0);
    EXPECT_EQ(page.GetItemCount(), 1);
    for (const auto& item : removed) {
        EXPECT_EQ(item->GetGroup(), nullptr);
        EXPECT_FALSE(item->IsSelected());
    }

    // Put back (as undo does) they take part in selections as any item does.
    CPageItem* back = page.InsertItem(std::move(removed[0]));
    page.InsertItem(std::move(removedAlone));
    page.SelectItem(back);
    page.AddItemToSelection(page.IndexOfItem(page.GetItem(0)));
    EXPECT_EQ(page.GetSelectedItemCount(), 2);
    EXPECT_EQ(back->GetGroup(), page.GetGroupAt(0));

    // A one-member frame ended through its item, with the item staying on the page.
    page.ClearSelection();
    CPageItem* last = page.GetItem(page.GetItemCount() - 1);
    page.SelectItem(last);
    page.RemoveItemFromGroup(page.GetItemCount() - 1);
    EXPECT_EQ(page.GetGroupCount(), 0);
    EXPECT_EQ(last->GetGroup(), nullptr);
    EXPECT_FALSE(page.IsItemSelected(page.GetItemCount() - 1));
}

TEST_F(PageItems, ReleasingCachesAndDeletedPagesReachEveryItem)
{
    Fill(page, "rc");
    page.RenderDirtyObjects();
    auto* fake = static_cast<FakeObject*>(page.GetItem(0)->GetCurrentObject());
    ASSERT_FALSE(fake->IsDirty());
    page.ReleaseCachedImages();
    EXPECT_TRUE(fake->IsDirty());
    EXPECT_FALSE(fake->GetImage());
    EXPECT_TRUE(page.GetBackground()->NeedsRender());
    page.GetItem(1)->SetMouseOverObject(MakeFake(objectCircle, 50, 50, 20, 20));
    page.NotifyPageDeleted(2);
    EXPECT_EQ(fake->deletedPage, 2);
    EXPECT_EQ(static_cast<FakeObject*>(page.GetItem(1)->GetObject(false))->deletedPage, 2);
    EXPECT_EQ(static_cast<FakeObject*>(page.GetItem(1)->GetObject(true))->deletedPage, 2);
}

} // namespace
