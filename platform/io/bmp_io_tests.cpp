// Loading BMP pictures of every depth and compression.

#include "platform/io/io_test_support.h"

namespace {

using namespace io_testing;

TEST_F(PictureFolder, BmpVariants)
{
    // 3 x 2, 24 bits, bottom-up: the first stored row is the picture's bottom row. Rows padded to 12 bytes.
    Bytes rgb24 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
    Loaded a = Load(WriteBytes("a.bmp", MakeBmp(3, 2, 24, rgb24)));
    ASSERT_TRUE(a.image);
    EXPECT_EQ(a.image->GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(PixelAt(*a.image, 0, 1), (Bytes{3, 2, 1}));
    EXPECT_EQ(PixelAt(*a.image, 2, 0), (Bytes{18, 17, 16}));

    // 8 bits with a palette, top-down (negative height).
    Bytes palette = {0, 0, 255, 0, 0, 255, 0, 0};
    Loaded b = Load(WriteBytes("b.bmp", MakeBmp(2, -2, 8, {0, 1, 0, 0, 1, 1, 0, 0}, palette)));
    ASSERT_TRUE(b.image);
    EXPECT_EQ(b.image->Width(), 2);
    EXPECT_EQ(b.image->Height(), 2);
    EXPECT_EQ(PixelAt(*b.image, 0, 0), (Bytes{255, 0, 0}));
    EXPECT_EQ(PixelAt(*b.image, 1, 0), (Bytes{0, 255, 0}));
    EXPECT_EQ(PixelAt(*b.image, 0, 1), (Bytes{0, 255, 0}));

    // 32 bits with an alpha mask: one pixel, blue 1, green 2, red 3, alpha 128.
    Loaded c = Load(
        WriteBytes("c.bmp", MakeBmp(1, 1, 32, {1, 2, 3, 128}, {}, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000})));
    ASSERT_TRUE(c.image);
    EXPECT_EQ(c.image->GetMode(), IMAGE_MODE_RGBA);
    EXPECT_EQ(PixelAt(*c.image, 0, 0), (Bytes{128, 3, 2, 1}));

    // A 12-byte core header: 16-bit sizes, three bytes a palette entry. 3 x 2 at 1 bit, rows padded to 4 bytes.
    Bytes core = {'B', 'M'};
    Put32(core, 14 + 12 + 6 + 8);
    Put32(core, 0);
    Put32(core, 14 + 12 + 6);
    Put32(core, 12);
    for (unsigned field : {3, 2, 1, 1}) // width, height, planes, bit count
        Put16(core, field);
    core.insert(core.end(), {0, 0, 255, 255, 0, 0});         // red, blue
    core.insert(core.end(), {0xA0, 0, 0, 0, 0x40, 0, 0, 0}); // bottom row 1 0 1, top row 0 1 0
    Loaded d = Load(WriteBytes("d.bmp", core));
    ASSERT_TRUE(d.image);
    EXPECT_EQ(d.image->Width(), 3);
    EXPECT_EQ(d.image->Height(), 2);
    EXPECT_EQ(PixelAt(*d.image, 0, 0), (Bytes{255, 0, 0}));
    EXPECT_EQ(PixelAt(*d.image, 1, 0), (Bytes{0, 0, 255}));
    EXPECT_EQ(PixelAt(*d.image, 0, 1), (Bytes{0, 0, 255}));
    EXPECT_EQ(PixelAt(*d.image, 2, 1), (Bytes{0, 0, 255}));
    EXPECT_EQ(PixelAt(*d.image, 1, 1), (Bytes{255, 0, 0}));
}

} // namespace
