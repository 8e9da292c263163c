#include <gtest/gtest.h>

#include "image/image.h"

namespace {

struct EntryCase
{
    lutName name;
    int count;
    unsigned index;
    LutColor color;
};

TEST(Lut, BuiltInPalettes)
{
    const EntryCase cases[] = {
        {LUT_CUBE_AND_GREYS, 256, 0, {0, 0, 0}},
        {LUT_CUBE_AND_GREYS, 256, 50, {51, 102, 102}}, // 36 + 12 + 2
        {LUT_CUBE_AND_GREYS, 256, 215, {255, 255, 255}},
        {LUT_CUBE_AND_GREYS, 256, 216, {0, 0, 0}},
        {LUT_CUBE_AND_GREYS, 256, 217, {6, 6, 6}},
        {LUT_CUBE_AND_GREYS, 256, 255, {255, 255, 255}},
        {LUT_CUBE_DESCENDING, 216, 0, {255, 255, 255}},
        {LUT_CUBE_DESCENDING, 216, 215, {0, 0, 0}},
        {LUT_CUBE_DESCENDING, 216, 1, {255, 255, 204}},
        {LUT_GREY_RAMP, 256, 77, {77, 77, 77}},
        {LUT_FIXED_20, 20, 3, {0, 128, 128}},
        {LUT_FIXED_20, 20, 10, {255, 251, 240}},
        {LUT_FIXED_20, 20, 19, {255, 255, 255}},
        {LUT_SYSTEM, 256, 9, {166, 202, 240}},
        {LUT_SYSTEM, 256, 10, {255, 255, 255}},
        {LUT_SYSTEM, 256, 225, {0, 0, 0}},
        {LUT_SYSTEM, 256, 227, {13, 13, 13}},
        {LUT_SYSTEM, 256, 246, {255, 251, 240}},
        {LUT_SYSTEM, 256, 255, {255, 255, 255}},
        {LUT_CUBE_AND_RUNS, 256, 214, {0, 0, 51}},
        {LUT_CUBE_AND_RUNS, 256, 215, {238, 0, 0}},
        {LUT_CUBE_AND_RUNS, 256, 234, {0, 17, 0}},
        {LUT_CUBE_AND_RUNS, 256, 235, {0, 0, 238}},
        {LUT_CUBE_AND_RUNS, 256, 254, {17, 17, 17}},
        {LUT_CUBE_AND_RUNS, 256, 255, {0, 0, 0}},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "palette " << c.name << " entry " << c.index);
        const CLut lut(c.name);
        EXPECT_EQ(lut.GetColors(), c.count);
        const LutColor& e = lut[c.index];
        EXPECT_EQ(e.red, c.color.red);
        EXPECT_EQ(e.green, c.color.green);
        EXPECT_EQ(e.blue, c.color.blue);
    }
    EXPECT_EQ(CLut(static_cast<lutName>(42)).GetColors(), 0);
}

TEST(Lut, IndexingGrowsTheCountOrThrows)
{
    CLut lut;
    lut[9] = {1, 2, 3};
    EXPECT_EQ(lut.GetColors(), 10);
    const CLut& view = lut;
    EXPECT_EQ(view[9].blue, 3);
    try {
        (void)view[10];
        FAIL() << "expected out_of_range";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "in CLut::operator []");
    }
    EXPECT_THROW(lut[256], std::out_of_range);
    EXPECT_EQ(lut.GetColors(), 10);
}

TEST(Lut, CopyZeroesBeyondTheCountAssignmentLeavesIt)
{
    CLut small;
    small[1] = {5, 5, 5};
    CLut big(LUT_GREY_RAMP);

    CLut copy(small);
    EXPECT_EQ(copy.GetColors(), 2);
    EXPECT_EQ(copy[5].red, 0); // grows the count; entry zeroed by the copy

    CLut assigned(LUT_GREY_RAMP);
    assigned = small;
    EXPECT_EQ(assigned.GetColors(), 2);
    EXPECT_EQ(assigned[5].red, 5); // entries beyond the count stay as they were
}

} // namespace
