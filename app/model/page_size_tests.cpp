#include "app/model/page_size.h"

#include <gtest/gtest.h>

TEST(PageSize, TypedSidesAreHeldToTheirRange)
{
    struct Case
    {
        const char* text;
        int width;
        int height;
    };
    const Case cases[] = {
        {"5", 10, 10},   {"10", 10, 10}, {"11", 11, 11},       {"2500", 2000, 2500}, {"40000", 2000, 30000},
        {"abc", 10, 10}, {"", 10, 10},   {" 640px", 640, 640}, {"-300", 10, 10},     {"99999999999", 2000, 30000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClampPageWidth(ReadTypedNumber(c.text)), c.width) << c.text;
        EXPECT_EQ(ClampPageHeight(ReadTypedNumber(c.text)), c.height) << c.text;
    }
}

// The range a stored page, site or background is checked against is the one typed sizes are held to.
TEST(PageSize, StoredSizesKeepToTheRangeTypedSizesAreHeldTo)
{
    struct Case
    {
        int width;
        int height;
        bool inRange;
    };
    const Case cases[] = {
        {10, 10, true},     {2000, 30000, true}, {9, 600, false},     {600, 9, false},
        {2001, 600, false}, {600, 30001, false}, {30000, 600, false}, {-1, -1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPageSizeInRange(c.width, c.height), c.inRange) << c.width << " x " << c.height;
        EXPECT_TRUE(IsPageSizeInRange(ClampPageWidth(c.width), ClampPageHeight(c.height)));
    }
}

TEST(PageSize, ListHoldsThePresetsAndAnOtherSizeFirst)
{
    const SizePresetList preset = BuildSizePresetList(640, 480);
    EXPECT_EQ(preset.entries, (std::vector<std::string>{"400 x 400", "640 x 480", "740 x 600"}));
    EXPECT_EQ(preset.selection, 1);

    const SizePresetList other = BuildSizePresetList(500, 500);
    EXPECT_EQ(other.entries, (std::vector<std::string>{"500 x 500", "400 x 400", "640 x 480", "740 x 600"}));
    EXPECT_EQ(other.selection, 0);

    int width = 1, height = 1;
    // The current size's own entry changes nothing; the others count one lower.
    EXPECT_FALSE(SizeOfPresetEntry(0, 4, width, height));
    EXPECT_EQ(width, 1);
    EXPECT_TRUE(SizeOfPresetEntry(3, 4, width, height));
    EXPECT_EQ(width, 740);
    EXPECT_EQ(height, 600);
    EXPECT_TRUE(SizeOfPresetEntry(0, 3, width, height));
    EXPECT_EQ(width, 400);
    EXPECT_FALSE(SizeOfPresetEntry(3, 3, width, height));
    EXPECT_FALSE(SizeOfPresetEntry(-1, 3, width, height));
}

TEST(PageSize, StandardSettingsForNewPagesHaveTheirOwnPresets)
{
    const SizePresetList other = BuildSizePresetList(500, 500, PageSizePresets::pageDefaults);
    EXPECT_EQ(other.entries, (std::vector<std::string>{"500 x 500", "400 x 400", "400 x 600", "600 x 800"}));
    EXPECT_EQ(BuildSizePresetList(600, 800, PageSizePresets::pageDefaults).selection, 2);
    int width = 0, height = 0;
    EXPECT_TRUE(SizeOfPresetEntry(2, 4, width, height, PageSizePresets::pageDefaults));
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 600);
}
