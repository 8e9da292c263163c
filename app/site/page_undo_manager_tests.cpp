// The page's undo history: the ring and its counts, and every kind of record taking the page back to the bytes it
// stored before the edit, and forward again to those after it.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/stream_test_support.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_editing_test_support.h"
#include "app/site/edit_commands.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/page_undo_manager.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"

namespace {

// A record that counts its calls and its end.
class CountingRecord : public CUndoRecord
{
public:
    CountingRecord(int id, std::vector<int>& log, std::vector<int>& freed) : m_id(id), m_log(log), m_freed(freed) {}
    ~CountingRecord() override { m_freed.push_back(m_id); }
    void Undo() override { m_log.push_back(-m_id); }
    void Redo() override { m_log.push_back(m_id); }

private:
    int m_id;
    std::vector<int>& m_log;
    std::vector<int>& m_freed;
};

class UndoRing : public testing::Test
{
protected:
    SiteServicesFake services;
    CSitePage page{nullptr, "p", "P"};
    std::vector<int> log;
    std::vector<int> freed;
    CPageUndoManager undo{&page, CSitePage::kUndoCapacity};

    void Record(int id) { undo.RecordUndo(std::make_unique<CountingRecord>(id, log, freed)); }
};

TEST_F(UndoRing, AnEmptyHistoryHasNothingToTake)
{
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_FALSE(undo.CanRedo());
    undo.Undo();
    undo.Redo();
    undo.DropLastUndo();
    EXPECT_EQ(undo.GetUndoCount(), 0);
    EXPECT_EQ(undo.GetRedoCount(), 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(UndoRing, TheStepAfterAFullRingDropsTheOldest)
{
    for (int id = 1; id <= 500; ++id)
        Record(id);
    EXPECT_EQ(undo.GetUndoCount(), 500);
    EXPECT_TRUE(freed.empty());
    Record(501);
    EXPECT_EQ(undo.GetUndoCount(), 500);
    EXPECT_EQ(freed, std::vector<int>{1});

    for (int i = 0; i < 500; ++i)
        undo.Undo();
    EXPECT_FALSE(undo.CanUndo());
    EXPECT_EQ(undo.GetRedoCount(), 500);
    EXPECT_EQ(log.front(), -501);
    EXPECT_EQ(log.back(), -2);
    undo.Undo(); // nothing left: no call
    EXPECT_EQ(log.size(), 500u);
    undo.Redo();
    EXPECT_EQ(log.back(), 2);
    EXPECT_EQ(undo.GetUndoCount(), 1);
    EXPECT_EQ(undo.GetRedoCount(), 499);
}

TEST_F(UndoRing, ANewStepDropsWhatCouldBeRedone)
{
    Record(1);
    Record(2);
    Record(3);
    undo.Undo();
    undo.Undo();
    EXPECT_EQ(undo.GetRedoCount(), 2);
    Record(4);
    EXPECT_EQ(freed, (std::vector<int>{2, 3}));
    EXPECT_FALSE(undo.CanRedo());
    EXPECT_EQ(undo.GetUndoCount(), 2);
    undo.Undo();
    undo.Undo();
    EXPECT_EQ(log, (std::vector<int>{-3, -2, -4, -1}));
}

TEST_F(UndoRing, RecordingMarksThePageChangedAndDroppingKeepsTheMark)
{
    page.SetChangedSinceUpload(false);
    page.SetSaved(true);
    Record(1);
    EXPECT_TRUE(page.IsChangedSinceUpload());
    EXPECT_FALSE(page.IsSaved());
    Record(2);
    undo.DropLastUndo();
    EXPECT_EQ(freed, std::vector<int>{2});
    EXPECT_EQ(undo.GetUndoCount(), 1);
    EXPECT_TRUE(page.IsChangedSinceUpload());
    undo.Undo();
    EXPECT_EQ(log, std::vector<int>{-1});
}

TEST(UndoManagerEnd, FreesEveryRecord)
{
    SiteServicesFake services;
    CSitePage page{nullptr, "p", "P"};
    std::vector<int> log, freed;
    {
        CPageUndoManager undo(&page, 3);
        for (int id = 1; id <= 4; ++id)
            undo.RecordUndo(std::make_unique<CountingRecord>(id, log, freed));
        undo.Undo();
    }
    EXPECT_EQ(freed, (std::vector<int>{1, 2, 3, 4}));
}

// Empty when two stored pages are the same, else where they first differ and the bytes around it.
std::string Difference(const std::vector<BYTE>& now, const std::vector<BYTE>& wanted)
{
    size_t at = 0;
    while (at < now.size() && at < wanted.size() && now[at] == wanted[at])
        ++at;
    if (at == now.size() && at == wanted.size())
        return {};
    std::string text = "at " + std::to_string(at) + " (sizes " + std::to_string(now.size()) + ", " +
                       std::to_string(wanted.size()) + "):";
    for (size_t i = at > 8 ? at - 8 : 0; i < at + 8; ++i)
        text += " " + (i < now.size() ? std::to_string(now[i]) : "-") + "/" +
                (i < wanted.size() ? std::to_string(wanted[i]) : "-");
    return text;
}

using text_editing_testing::Append;
using text_editing_testing::Layout;
using text_editing_testing::MakeText;

// A page with the real history: rectangles 0 to 2 (1 with a mouse-over twin), a text 3 with a twin, and a user
// group of rectangles 4 and 5 that is not selected.
class UndoKinds : public testing::Test
{
protected:
    SiteServicesFake services;
    std::unique_ptr<CSitePage> page;

    UndoKinds() { services.realUndo = true; }

    void Build()
    {
        page = std::make_unique<CSitePage>(nullptr, "p", "P");
        for (int i = 0; i < 3; ++i)
            page->AddObject(std::make_unique<CRectangleObject>(60 + 100 * i, 60, SIZE{40, 30}, 0.0));
        Item(1)->SetMouseOverObject(Item(1)->GetObject(false)->Duplicate());
        Item(1)->SetMouseOverShown(false);
        // A text with a mouse-over twin is advanced text, so it stays in the normal run.
        auto text = MakeText(120, {"Hello"});
        text->GetTextBody()->m_allowAdvanced = 1;
        DPOINT centre{300, 200};
        text->SetCenter(centre);
        page->AddObject(std::move(text));
        Item(3)->SetMouseOverObject(Item(3)->GetObject(false)->Duplicate());
        Item(3)->SetMouseOverShown(false);
        for (int i = 0; i < 2; ++i)
            page->AddObject(std::make_unique<CRectangleObject>(60 + 100 * i, 400, SIZE{30, 30}, 0.0));
        page->SelectItem(Item(4));
        page->AddToSelection(Item(5));
        page->CreateGroup();
        page->ClearSelection();
        page->RenderDirtyObjects();
    }

    CPageItem* Item(int i) const { return page->GetItem(i); }
    CUndoManager& Undo() const { return *page->GetUndoManager(); }
    std::vector<BYTE> Bytes() const
    {
        CMemFile file;
        page->Save(file);
        return FileBytes(file);
    }
};

TEST_F(UndoKinds, EveryKindTakesThePageBackAndForward)
{
    struct Case
    {
        UndoKind kind;
        std::vector<int> select;
        std::function<void(CSitePage&, UndoKinds&)> edit;
        // Objects added are recorded once they are on the page.
        bool recordAfter = false;
        // The edit records its own step.
        bool recordsItself = false;
    };
    auto fillColour = [](CSitePage& p, int i) {
        p.GetItem(i)->GetCurrentObject()->GetFill()->SetColor(CColor(9, 8, 7));
    };
    auto shadow = [](CSitePage& p, int i) {
        auto effects = std::make_unique<CEffectSettings>();
        effects->m_shadow = true;
        p.GetItem(i)->GetCurrentObject()->SetEffects(std::move(effects));
    };
    auto takeOut = [](CSitePage& p, UndoKinds&) {
        std::vector<std::unique_ptr<CPageItem>> removed = p.RemoveSelection();
        p.GetUndoManager()->KeepRemovedItems(removed);
    };
    const std::vector<Case> cases = {
        {UndoKind::objectsAdded,
         {},
         [](CSitePage& p, UndoKinds&) {
             p.SelectItem(p.AddObject(std::make_unique<CRectangleObject>(500, 300, SIZE{20, 20}, 0.0)));
         },
         true},
        {UndoKind::objectsDeleted, {0, 3}, [](CSitePage& p, UndoKinds&) { DeleteSelectionWithUndo(p); }, false, true},
        {UndoKind::geometry, {0, 1}, [](CSitePage& p, UndoKinds&) { p.GetGroupAt(1)->MoveBy(15, -7); }},
        {UndoKind::textBody,
         {3},
         [](CSitePage& p, UndoKinds&) {
             auto& text = static_cast<CTextObject&>(*p.GetItem(3)->GetCurrentObject());
             Append(text, 0, " world");
             Layout(text);
             text.GetTextBody()->SetModified();
             text.SetDirty();
         }},
        {UndoKind::advancedText,
         {3},
         [](CSitePage& p, UndoKinds&) {
             CPageItem* item = p.GetItem(3);
             auto& text = static_cast<CTextObject&>(*item->GetObject(false));
             // Plain text loses its twin and joins the run kept on top.
             text.GetTextBody()->m_allowAdvanced = 0;
             item->RemoveMouseOverObject();
             p.MoveItem(item, p.GetItemCount() - 1);
         }},
        {UndoKind::fill, {0, 2}, [&](CSitePage& p, UndoKinds&) { fillColour(p, 0), fillColour(p, 2); }},
        {UndoKind::effects, {2}, [&](CSitePage& p, UndoKinds&) { shadow(p, 2); }},
        {UndoKind::fillAndEffects, {0}, [&](CSitePage& p, UndoKinds&) { fillColour(p, 0), shadow(p, 0); }},
        {UndoKind::link,
         {1},
         [](CSitePage& p, UndoKinds&) {
             auto link = std::make_unique<CLinkInfo>();
             link->SetActive(true);
             link->SetUrl("http://example.com/");
             p.GetItem(1)->GetObject(false)->SetLink(std::move(link));
         }},
        {UndoKind::mouseOverCreated,
         {2},
         [](CSitePage& p, UndoKinds&) {
             CPageItem* item = p.GetItem(2);
             item->SetMouseOverObject(item->GetObject(false)->Duplicate());
             item->GetObject(true)->GetFill()->SetColor(CColor(1, 2, 3));
         }},
        {UndoKind::mouseOverRemoved, {1}, [](CSitePage& p, UndoKinds&) { p.GetItem(1)->RemoveMouseOverObject(); }},
        {UndoKind::mouseOverSettings,
         {1},
         [](CSitePage& p, UndoKinds&) {
             CPageItem* item = p.GetItem(1);
             item->SetMouseOverShown(true);
             item->SetSameText(false);
             item->SetMouseOverOffsetX(7);
             item->SetMouseOverOffsetY(-3);
         }},
        {UndoKind::objectsRemoved, {1, 2}, takeOut},
        {UndoKind::zOrder, {0, 2}, [](CSitePage& p, UndoKinds&) { p.BringToFront(); }},
        {UndoKind::grouping, {0, 2}, [](CSitePage& p, UndoKinds&) { p.CreateGroup(); }},
        {UndoKind::pageSettings,
         {},
         [](CSitePage& p, UndoKinds&) {
             p.SetPageInfo("other", "Other", "<meta>", 800, 900, 2);
             p.SetKeywords("k");
             p.SetGridMode(2);
             p.SetWidth(640);
             p.GetBackground()->SetColor(CColor(10, 20, 30));
         }},
    };
    ASSERT_EQ(cases.size(), static_cast<size_t>(kUndoKindCount));
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Build();
        for (int i : c.select)
            page->AddToSelection(Item(i));
        const std::vector<BYTE> before = Bytes();
        if (!c.recordAfter && !c.recordsItself)
            Undo().RecordUndo(c.kind);
        c.edit(*page, *this);
        if (c.recordAfter)
            Undo().RecordUndo(c.kind);
        // As in the program, every change is drawn before anything else happens.
        page->RenderDirtyObjects();
        const std::vector<BYTE> after = Bytes();
        ASSERT_NE(before, after);
        ASSERT_EQ(Undo().GetUndoCount(), 1);

        // Twice, so that the exchange is seen to work both ways more than once.
        for (int round = 0; round < 2; ++round) {
            Undo().Undo();
            page->RenderDirtyObjects();
            EXPECT_EQ(Difference(Bytes(), before), "");
            Undo().Redo();
            page->RenderDirtyObjects();
            EXPECT_EQ(Difference(Bytes(), after), "");
        }
        // Dropping the history (with the page holding either side) frees whatever the record kept.
        Undo().Undo();
        page.reset();
    }
}

// The advanced-text switch gives the detached twin back whole on Undo.
TEST_F(UndoKinds, AdvancedTextUndoGivesTheTwinBack)
{
    Build();
    page->SelectItem(Item(3));
    CPageItem* item = Item(3);
    item->GetObject(true)->GetFill()->SetColor(CColor(200, 10, 10));
    Undo().RecordUndo(UndoKind::advancedText);
    item->RemoveMouseOverObject();
    EXPECT_FALSE(item->HasMouseOver());
    Undo().Undo();
    ASSERT_TRUE(item->HasMouseOver());
    EXPECT_EQ(item->GetObject(true)->GetFill()->GetColor(), CColor(200, 10, 10));
}

} // namespace
