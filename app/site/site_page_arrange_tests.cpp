// The z-order commands of the selection, with the kept-on-top run of counters and forms at the top of the list.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/site/edit_commands.h"
#include "app/site/page_item.h"
#include "app/site/site_object_fake.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"

namespace {

// Items named by letters: lower case are plain objects, upper case counters (kept on top).
class Arrange : public testing::Test
{
protected:
    SiteServicesFake services;
    std::unique_ptr<CSitePage> page;
    std::vector<std::pair<char, CPageItem*>> names;

    void Build(const std::string& order, const std::string& selected)
    {
        page = std::make_unique<CSitePage>(nullptr, "p", "P");
        names.clear();
        for (char c : order) {
            const bool onTop = c >= 'A' && c <= 'Z';
            names.emplace_back(c, page->AddObject(MakeFake(onTop ? objectCounter : objectRectangle, 50, 50, 10, 10)));
        }
        for (char c : selected)
            page->AddToSelection(Named(c));
    }
    CPageItem* Named(char c) const
    {
        for (const auto& [name, item] : names)
            if (name == c)
                return item;
        return nullptr;
    }
    std::string Order() const
    {
        std::string order;
        for (int i = 0; i < page->GetItemCount(); ++i)
            for (const auto& [name, item] : names)
                if (item == page->GetItem(i))
                    order += name;
        return order;
    }
};

TEST_F(Arrange, CommandsReorderAsExpected)
{
    struct Case
    {
        const char* order;
        const char* selected;
        void (CSitePage::*command)();
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"abcd", "b", &CSitePage::BringToFront, "acdb"},
        {"abcd", "ac", &CSitePage::BringToFront, "bdac"},
        {"abcd", "bd", &CSitePage::SendToBack, "bdac"},
        // Two adjacent selected items below an unselected one: only the upper passes it.
        {"abcd", "bc", &CSitePage::BringForward, "abdc"},
        {"abcd", "bc", &CSitePage::SendBackward, "bacd"},
        // A counter and a rectangle brought to the front: the counter on top, the rectangle below the run.
        {"abXY", "aX", &CSitePage::BringToFront, "baYX"},
        {"abXY", "bY", &CSitePage::SendToBack, "baYX"},
        // The top plain item does not pass into the kept-on-top run, nor a counter below it.
        {"abXY", "b", &CSitePage::BringForward, "abXY"},
        {"abXY", "X", &CSitePage::SendBackward, "abXY"},
        {"abXY", "bY", &CSitePage::SendBackward, "baYX"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.order) + " " + c.selected + " -> " + c.expected);
        Build(c.order, c.selected);
        (page.get()->*c.command)();
        EXPECT_EQ(Order(), c.expected);
    }
}

TEST_F(Arrange, WhatCanMove)
{
    struct Case
    {
        const char* order;
        const char* selected;
        bool forward, backward;
        int topRunStart;
    };
    const std::vector<Case> cases = {
        {"abc", "", false, false, 3},  {"abc", "abc", false, false, 3}, {"abXY", "abXY", false, false, 2},
        {"abc", "c", false, true, 3},  {"abc", "a", true, false, 3},    {"abXY", "b", false, true, 2},
        {"abXY", "X", true, false, 2}, {"XY", "Y", false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.order) + " " + c.selected);
        Build(c.order, c.selected);
        EXPECT_EQ(page->CanBringForward(), c.forward);
        EXPECT_EQ(page->CanSendBackward(), c.backward);
        EXPECT_EQ(page->GetTopRunStart(), c.topRunStart);
    }
    Build("aXbY", "b");
    const CSitePage::ZOrderStats stats = page->CollectZOrderStats();
    EXPECT_EQ(stats.allOnTop, 2);
    EXPECT_EQ(stats.allNormal, 2);
    EXPECT_EQ(stats.selectedNormal, 1);
    EXPECT_EQ(stats.highestSelectedNormal, 1);
    EXPECT_EQ(stats.lowestSelectedOnTop, 4);
    EXPECT_EQ(stats.highestSelectedOnTop, 0);
}

TEST_F(Arrange, TheCommandsRecordAStepThatUndoesThem)
{
    services.realUndo = true;
    Build("abcXY", "aX");
    services.ShowPage(page.get());
    EXPECT_TRUE(IsArrangeEnabled(services.GetCurrentView(), ArrangeCommand::bringToFront));
    page->SetEditingInPlace(true);
    EXPECT_FALSE(IsArrangeEnabled(services.GetCurrentView(), ArrangeCommand::bringToFront));
    page->SetEditingInPlace(false);

    OnArrange(services.GetCurrentView(), ArrangeCommand::bringToFront);
    EXPECT_EQ(Order(), "bcaYX");
    EXPECT_EQ(services.textEditsEnded, 1);
    OnArrange(services.GetCurrentView(), ArrangeCommand::sendBackward);
    EXPECT_EQ(Order(), "bacXY");
    page->GetUndoManager()->Undo();
    EXPECT_EQ(Order(), "bcaYX");
    page->GetUndoManager()->Undo();
    EXPECT_EQ(Order(), "abcXY");

    // With everything selected nothing is enabled, and the command records nothing.
    Build("abX", "abX");
    services.ShowPage(page.get());
    for (ArrangeCommand command : {ArrangeCommand::bringToFront, ArrangeCommand::sendToBack,
                                   ArrangeCommand::bringForward, ArrangeCommand::sendBackward}) {
        EXPECT_FALSE(IsArrangeEnabled(services.GetCurrentView(), command));
        OnArrange(services.GetCurrentView(), command);
    }
    EXPECT_FALSE(page->GetUndoManager()->CanUndo());
    services.ShowPage(nullptr);
}

} // namespace
