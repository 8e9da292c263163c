#include "app/palettes/palette_protocol.h"

#include <gtest/gtest.h>

namespace {

TEST(PaletteProtocol, PagesPutBackTheirOwnSizeUnlessTheyHaveATestMeasure)
{
    struct Case
    {
        int index;
        CSize client;
        std::optional<CSize> expected;
    };
    const Case cases[] = {
        {kPagePropSheet, CSize(100, 100), CSize(230, 425)},
        {kEffectsPropSheet, CSize(255, 600), CSize(250, 525)},
        {kLinkPropSheet, CSize(10, 10), CSize(230, 179)},
        // 232 wide, or as high as the test height: the size stays.
        {kObjectPropSheet, CSize(232, 10), std::nullopt},
        {kFillPropSheet, CSize(10, 149), std::nullopt},
        {kLinkPropSheet, CSize(10, 179), std::nullopt},
        {kLinkPropSheet, CSize(10, 149), CSize(230, 179)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageSizeToRestore(c.index, c.client), c.expected) << c.index << " " << c.client.cx;
}

TEST(PaletteProtocol, ValueLabelsUseTheirFormats)
{
    EXPECT_EQ(FormatPercentLabel(5), "  5%");
    EXPECT_EQ(FormatPercentLabel(100), "100%");
    EXPECT_EQ(FormatAngleLabel(45), " 45\xB0");
    EXPECT_EQ(FormatRotationLabel(-12.25), "-12.2\xB0");
    EXPECT_EQ(FormatRotationLabel(7), "7.0\xB0");
}

TEST(PaletteProtocol, EveryPaletteHasItsTitleAndFixedSize)
{
    EXPECT_STREQ(DescribePalette(kPagePropSheet).title, " Page Properties");
    EXPECT_EQ(DescribePalette(kEffectsPropSheet).frameSize, CSize(255, 525));
    EXPECT_EQ(DescribePalette(kMouseOverPropSheet).pageTemplate, 496);
    EXPECT_FALSE(DescribePalette(kFillPropSheet).resizeSheet);
    EXPECT_TRUE(DescribePalette(kStylesPropSheet).resizeSheet);
}

} // namespace
