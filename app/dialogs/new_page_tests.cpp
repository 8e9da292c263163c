#include "app/dialogs/new_page.h"

#include <gtest/gtest.h>

TEST(NewPage, PageIdLosesTheCharactersAFileNameCannotHold)
{
    struct Case
    {
        std::string typed;
        std::string cleaned;
        bool removed;
    };
    const Case cases[] = {
        {"my page-1.htm", "mypage1htm", true},
        {"a_b@c(d){e}^[f]:<g>\\h&i%j;k/l\xACm", "abcdefghijklm", true},
        {"News2024", "News2024", false},
        {"\xE9t\xE9", "\xE9t\xE9", false},
        {"-_.", "", true},
    };
    for (const Case& c : cases) {
        std::string id = c.typed;
        EXPECT_EQ(RemoveNewPageIdCharacters(id), c.removed) << c.typed;
        EXPECT_EQ(id, c.cleaned) << c.typed;
    }
}

TEST(NewPage, DuplicateListIsSortedWithoutCaseAndNamesTheFrontPage)
{
    const std::string suffix = " (front page)";
    const std::vector<std::string> list = BuildDuplicateList({"Zeta", "alpha", "Beta"}, 2, suffix);
    EXPECT_EQ(list, (std::vector<std::string>{"alpha", "Beta (front page)", "Zeta"}));
    EXPECT_EQ(DuplicateSourceName(list[1], suffix, "Beta"), "Beta");
    EXPECT_EQ(DuplicateSourceName(list[2], suffix, "Beta"), "Zeta");
    // Only a suffix after the name marks the front page.
    EXPECT_EQ(DuplicateSourceName(" (front page)", suffix, "Beta"), " (front page)");
    EXPECT_TRUE(BuildDuplicateList({}, -1, suffix).empty());
}
