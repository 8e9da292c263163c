#include "app/shell/command_table.h"

#include <gtest/gtest.h>
#include <string>
#include <wx/event.h>

namespace {

// Which entry ran or answered, as "<entry>:<id>".
struct Journal
{
    std::string text;
    CCommandTable::RunFunction Run(const char* entry)
    {
        return [this, entry](int id) { text += std::string(entry) + ":" + std::to_string(id) + " "; };
    }
    CCommandTable::UpdateFunction Update(const char* entry)
    {
        return [this, entry](wxUpdateUIEvent& event) {
            text += std::string(entry) + ":" + std::to_string(event.GetId()) + " ";
            event.Enable(true);
        };
    }
};

TEST(CommandTable, ACommandGoesToItsEntryAndTheFirstEntryForANumberWins)
{
    Journal journal;
    CCommandTable table;
    table.Add(10, journal.Run("single"), journal.Update("single"));
    table.Add(20, 29, journal.Run("range"), journal.Update("range"));
    // Added later over numbers already taken: only 30 is new.
    table.Add(25, 30, journal.Run("late"), journal.Update("late"));
    table.Add(10, journal.Run("again"), journal.Update("again"));

    const struct
    {
        int id;
        bool known;
        const char* ran;
    } cases[] = {
        {10, true, "single:10 "}, {20, true, "range:20 "}, {29, true, "range:29 "},
        {25, true, "range:25 "},  {30, true, "late:30 "},  {19, false, ""},
        {31, false, ""},          {-1, false, ""},
    };
    for (const auto& row : cases) {
        journal.text.clear();
        EXPECT_EQ(table.Run(row.id), row.known) << row.id;
        EXPECT_EQ(journal.text, row.ran) << row.id;
        journal.text.clear();
        wxUpdateUIEvent event(row.id);
        EXPECT_EQ(table.Update(event), row.known) << row.id;
        EXPECT_EQ(journal.text, row.ran) << row.id;
    }
}

TEST(CommandTable, TheUpdateHelpersEnableAsTold)
{
    bool enabled = false;
    CCommandTable table;
    table.Add(1, [](int) {}, EnableWhen([&enabled] { return enabled; }));
    table.Add(2, [](int) {}, AlwaysEnabled());
    for (bool state : {false, true}) {
        enabled = state;
        wxUpdateUIEvent first(1), second(2);
        ASSERT_TRUE(table.Update(first));
        ASSERT_TRUE(table.Update(second));
        EXPECT_EQ(first.GetEnabled(), state);
        EXPECT_TRUE(second.GetEnabled());
    }
}

} // namespace
