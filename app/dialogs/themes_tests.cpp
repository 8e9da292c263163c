#include "app/dialogs/themes.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "app/dialogs/themes_test_support.h"
#include "platform/win/codepage1252.h"
#include "testing/scratch_folder.h"

#include <unistd.h>

namespace {

TEST(ThemeScan, GroupsByStoredCategoryAndSortsWithoutRegardToCase)
{
    ScratchFolder scratch;
    const std::string themes = GetThemesFolder(scratch.Path());
    EXPECT_EQ(themes, scratch / "Themes/");
    // One category in two folders, one differing only in case at the top level, one file too deep to be seen and
    // one that is no site file.
    ASSERT_TRUE(WriteTestTheme(themes + "Shops/zeta.kth", "Business", "Zeta"));
    ASSERT_TRUE(WriteTestTheme(themes + "More/alpha.KTH", "Business", "alpha"));
    ASSERT_TRUE(WriteTestTheme(themes + "gamma.kth", "business", "Gamma"));
    ASSERT_TRUE(WriteTestTheme(themes + "Art/easel.kth", "Art", "Easel"));
    ASSERT_TRUE(WriteTestTheme(themes + "Art/Deep/hidden.kth", "Art", "Hidden"));
    ASSERT_TRUE(WriteTestTheme(themes + "Art/easel.kst", "Art", "Not a theme"));
    std::ofstream(themes + "broken.kth") << "not a theme";

    const std::filesystem::path before = std::filesystem::current_path();
    std::vector<CThemeCategory> categories{{"stale", {"x"}, {"y"}}};
    ASSERT_EQ(ScanThemes(themes, categories), ThemeScan::ok);
    EXPECT_EQ(std::filesystem::current_path(), before);

    ASSERT_EQ(categories.size(), 3u);
    EXPECT_EQ(categories[0].m_strName, "Art");
    // The two spellings are categories of their own, next to each other.
    EXPECT_EQ(LowerCase1252(categories[1].m_strName), "business");
    EXPECT_EQ(LowerCase1252(categories[2].m_strName), "business");
    EXPECT_NE(categories[1].m_strName, categories[2].m_strName);

    EXPECT_EQ(categories[0].m_ThemeNames, std::vector<std::string>{"Easel"});
    const CThemeCategory& upper = categories[1].m_strName == "Business" ? categories[1] : categories[2];
    const CThemeCategory& lower = categories[1].m_strName == "Business" ? categories[2] : categories[1];
    EXPECT_EQ(upper.m_ThemeNames, (std::vector<std::string>{"alpha", "Zeta"}));
    EXPECT_EQ(upper.m_ThemePaths, (std::vector<std::string>{themes + "More/alpha.KTH", themes + "Shops/zeta.kth"}));
    EXPECT_EQ(lower.m_ThemePaths, std::vector<std::string>{themes + "gamma.kth"});
}

TEST(ThemeScan, WithoutFolderOrThemes)
{
    ScratchFolder scratch;
    std::vector<CThemeCategory> categories{{"stale", {}, {}}};
    EXPECT_EQ(ScanThemes(scratch / "Themes/", categories), ThemeScan::noFolder);
    EXPECT_TRUE(categories.empty());
    // A file named like the folder is no folder.
    std::ofstream(scratch / "Themes") << "x";
    EXPECT_EQ(ScanThemes(scratch / "Themes/", categories), ThemeScan::noFolder);

    std::filesystem::create_directories(scratch / "Empty/Themes/Sub");
    EXPECT_EQ(ScanThemes(scratch / "Empty/Themes/", categories), ThemeScan::ok);
    EXPECT_TRUE(categories.empty());
}

TEST(ThemeScan, AnUnreadableCategoryFolderEndsTheScan)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every folder";
    ScratchFolder scratch;
    const std::string themes = scratch / "Themes/";
    ASSERT_TRUE(WriteTestTheme(themes + "Locked/a.kth", "Art", "A"));
    std::filesystem::permissions(themes + "Locked", std::filesystem::perms::none);
    std::vector<CThemeCategory> categories;
    EXPECT_EQ(ScanThemes(themes, categories), ThemeScan::cannotEnter);
    std::filesystem::permissions(themes + "Locked", std::filesystem::perms::owner_all);
}

TEST(ThemeThumbnail, FillsTheWidthAndCutsTallPicturesAtTheBottom)
{
    struct Case
    {
        int areaWidth, areaHeight, imageWidth, imageHeight;
        ThemeThumbnailFit expected;
    };
    const Case cases[] = {
        // Wider than the 100 x 80 box: full width, centred vertically.
        {104, 84, 200, 100, {100, 100, 50, 2, 17}},
        // Taller: fills the box, the bottom of the picture cut off.
        {104, 84, 100, 400, {80, 100, 80, 2, 2}},
        // The theme thumbnail in an area of its own proportions, scaled up.
        {200, 300, 159, 200, {200, 196, 246, 2, 27}},
    };
    for (const Case& c : cases) {
        ThemeThumbnailFit fit;
        ASSERT_TRUE(FitThemeThumbnail(c.areaWidth, c.areaHeight, c.imageWidth, c.imageHeight, fit));
        EXPECT_EQ(fit.sourceHeight, c.expected.sourceHeight) << c.imageWidth << "x" << c.imageHeight;
        EXPECT_EQ(fit.width, c.expected.width);
        EXPECT_EQ(fit.height, c.expected.height);
        EXPECT_EQ(fit.left, c.expected.left);
        EXPECT_EQ(fit.top, c.expected.top);
    }
    ThemeThumbnailFit fit;
    EXPECT_FALSE(FitThemeThumbnail(4, 84, 100, 100, fit));
    EXPECT_FALSE(FitThemeThumbnail(104, 84, 0, 100, fit));
}

} // namespace
