#include "app/shell/logic/frame_texts.h"

#include "app/site/site_page.h"
#include "app/site/website.h"

#include <gtest/gtest.h>

namespace {

TEST(MainTitle, NamesTheSiteFileAndItsUnsavedChanges)
{
    EXPECT_EQ(MakeMainTitle("Tallowmere Pelorin", nullptr, "Untitled"), "Tallowmere Pelorin");

    CWebsite saved("/home/ann/Sites/bakery.kst");
    EXPECT_EQ(MakeMainTitle("Tallowmere Pelorin", &saved, "Untitled"), "Tallowmere Pelorin - bakery.kst");

    CWebsite fresh("");
    fresh.SetModified();
    EXPECT_EQ(MakeMainTitle("Tallowmere Pelorin", &fresh, "Untitled"), "Tallowmere Pelorin - Untitled*");
}

TEST(ShowPageList, SortsWithoutCaseAndKeepsEachPagesIndex)
{
    CWebsite site("/sites/a.kst");
    for (const char* name : {"contact", "Home", "about", "Zebra", "ABOUT"})
        site.AddPage(std::make_unique<CSitePage>(&site, name, name));
    site.SetHomePage(site.GetPage(1));

    const std::vector<PageListEntry> list = BuildShowPageList(site, " (front page)");
    const std::vector<std::pair<std::string, int>> expected = {
        {"about", 2}, {"ABOUT", 4}, {"contact", 0}, {"Home (front page)", 1}, {"Zebra", 3}};
    ASSERT_EQ(list.size(), expected.size());
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].text, expected[i].first) << i;
        EXPECT_EQ(list[i].pageIndex, expected[i].second) << i;
    }
}

// A page whose own name ends like the marker keeps the whole name: choosing it opens that page by index, where
// taking the marker's text off the shown name would look for another page.
TEST(ShowPageList, AMarkerInsideAPageNameOpensThatPage)
{
    CWebsite site("/sites/a.kst");
    site.AddPage(std::make_unique<CSitePage>(&site, "Start", "Start"));
    site.AddPage(std::make_unique<CSitePage>(&site, "Start (front page)", "x"));
    site.SetHomePage(site.GetPage(0));

    const std::vector<PageListEntry> list = BuildShowPageList(site, " (front page)");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].text, "Start (front page)");
    EXPECT_EQ(list[1].text, "Start (front page)");
    EXPECT_EQ(list[0].pageIndex, 0);
    EXPECT_EQ(list[1].pageIndex, 1);
}

} // namespace

namespace {

TEST(DroppedFiles, OnlyOneFileEndingInTheSiteExtensionOpens)
{
    const std::pair<std::vector<std::string>, DroppedFiles> cases[] = {
        {{}, DroppedFiles::none},
        {{"/sites/shop.kst"}, DroppedFiles::siteFile},
        {{"/sites/SHOP.KST"}, DroppedFiles::wrongKind},
        {{"/sites/shop.kth"}, DroppedFiles::wrongKind},
        {{"kst"}, DroppedFiles::wrongKind},
        {{".kst"}, DroppedFiles::siteFile},
        {{"/sites/a.kst", "/sites/b.kst"}, DroppedFiles::several},
    };
    for (const auto& [files, expected] : cases)
        EXPECT_EQ(ClassifyDroppedFiles(files), expected) << ::testing::PrintToString(files);
}

} // namespace
