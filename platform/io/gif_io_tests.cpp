// Loading GIF pictures: the first frame, transparency, interlacing and offsets.

#include "platform/io/io_test_support.h"

namespace {

using namespace io_testing;

TEST_F(PictureFolder, GifFirstFrameWithTransparency)
{
    // Screen 4 x 3; the first frame covers it, index 1 transparent; a second frame must not show.
    Bytes palette = {10, 20, 30, 200, 0, 0, 0, 0, 200, 255, 255, 255};
    Bytes first = {0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 0, 0};
    WriteGif(Path("anim.gif"), 4, 3, palette, {{0, 0, 4, 3, first, 1}, {0, 0, 4, 3, Bytes(12, 3)}});
    Loaded loaded = Load(Path("anim.gif"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGBA);
    EXPECT_EQ(loaded.image->Width(), 4);
    EXPECT_EQ(loaded.image->Height(), 3);
    EXPECT_EQ(PixelAt(*loaded.image, 0, 0), (Bytes{255, 10, 20, 30}));
    EXPECT_EQ(PixelAt(*loaded.image, 1, 0)[0], 0);
    EXPECT_EQ(PixelAt(*loaded.image, 2, 0), (Bytes{255, 0, 0, 200}));
    EXPECT_EQ(PixelAt(*loaded.image, 0, 1), (Bytes{255, 255, 255, 255}));

    EXPECT_TRUE(CGifIO::IsAnimated(Path("anim.gif")));
}

TEST_F(PictureFolder, GifSingleFrameInterlacedAndOffset)
{
    // An opaque interlaced frame of 3 x 10 at (1, 0) on a 4 x 10 screen: column 0 lies outside the frame.
    Bytes palette = {0, 0, 0, 255, 255, 255};
    Bytes indices;
    for (int y = 0; y < 10; ++y)
        indices.insert(indices.end(), 3, static_cast<unsigned char>(y % 2));
    GifFrame frame{1, 0, 3, 10, indices};
    frame.interlace = true;
    WriteGif(Path("still.gif"), 4, 10, palette, {frame});
    Loaded loaded = Load(Path("still.gif"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGBA);
    for (int y = 0; y < 10; ++y) {
        unsigned char v = y % 2 ? 255 : 0;
        EXPECT_EQ(PixelAt(*loaded.image, 2, y), (Bytes{255, v, v, v})) << y;
        EXPECT_EQ(PixelAt(*loaded.image, 0, y)[0], 0) << y;
    }
    EXPECT_FALSE(CGifIO::IsAnimated(Path("still.gif")));
}

} // namespace
