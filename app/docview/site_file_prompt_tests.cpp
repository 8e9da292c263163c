#include "app/docview/site_file_prompt.h"

#include <gtest/gtest.h>

namespace {

TEST(SiteFilePrompt, SavedNamesGetTheExtensionOfTheirKind)
{
    struct Case
    {
        const char* path;
        bool theme;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/ann/mysite.kst", true, "/home/ann/mysite.kth"},     {"/home/ann/name.KST", false, "/home/ann/name.KST"},
        {"/home/ann/name.Kth", true, "/home/ann/name.Kth"},         {"/home/ann/shop", false, "/home/ann/shop.kst"},
        {"/home/ann/my.shop.html", false, "/home/ann/my.shop.kst"}, {"/home/ann.d/shop", true, "/home/ann.d/shop.kth"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FixSiteFileExtension(c.path, c.theme), c.expected) << c.path;
}

TEST(SiteFilePrompt, StartsInTheFolderWithTheNameWithoutExtension)
{
    const SiteFilePrompt save = MakeSiteFilePrompt("/home/ann/Sites/bakery.kst", false, true);
    EXPECT_EQ(save.title, "Save As");
    EXPECT_EQ(save.filter, "Pelorin Theme (*.kth)|*.kth");
    EXPECT_EQ(save.folder, "/home/ann/Sites/");
    EXPECT_EQ(save.name, "bakery");
    const SiteFilePrompt open = MakeSiteFilePrompt("/home/ann/Sites/", true, false);
    EXPECT_EQ(open.title, "Open");
    EXPECT_EQ(open.filter, "Pelorin Homepage (*.kst)|*.kst");
    EXPECT_EQ(open.folder, "/home/ann/Sites/");
    EXPECT_EQ(open.name, "");
}

} // namespace
