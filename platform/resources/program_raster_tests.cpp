#include "platform/resources/program_raster.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(ProgramRaster, FillBytesWritesExactlyTheCount)
{
    for (size_t count : {0u, 1u, 3u, 4u, 5u, 7u, 8u, 33u}) {
        std::vector<unsigned char> bytes(count + 2, 0x11);
        FillBytes(bytes.data() + 1, 0xA7, count);
        EXPECT_EQ(bytes.front(), 0x11) << count;
        EXPECT_EQ(bytes.back(), 0x11) << count;
        for (size_t i = 1; i <= count; ++i)
            ASSERT_EQ(bytes[i], 0xA7) << "byte " << i << " of " << count;
    }
}

TEST(ProgramRaster, ModeRules)
{
    const struct
    {
        IMAGE_MODE mode;
        int planes;
        bool freePlanes;
    } cases[] = {
        {IMAGE_MODE_GREY, 1, false},     {IMAGE_MODE_RGB, 3, false},    {IMAGE_MODE_RGBA, 4, false},
        {IMAGE_MODE_YCBCR, 3, false},    {IMAGE_MODE_PLANES8, 0, true}, {IMAGE_MODE_PLANES64, 0, true},
        {IMAGE_MODE_COVERAGE, 1, false}, {IMAGE_MODE(383), 0, false},   {IMAGE_MODE(388), 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsFloatImageMode(c.mode), c.freePlanes) << c.mode;
        if (c.planes || c.freePlanes) {
            EXPECT_EQ(ImageModePlanes(c.mode), c.planes) << c.mode;
        }
    }
}

} // namespace
