// Loading PNG pictures: alpha, palettes with a transparent entry, interlacing.

#include "platform/io/io_test_support.h"

namespace {

using namespace io_testing;

TEST_F(PictureFolder, PngWithAlphaRoundTripsThroughSavePng)
{
    auto image = MakeImage(IMAGE_MODE_RGBA, 5, 3, [](int x, int y) {
        return Bytes{static_cast<unsigned char>(x * 60), static_cast<unsigned char>(10 + x), 20,
                     static_cast<unsigned char>(y * 100)};
    });
    ASSERT_TRUE(CIO::SavePNG(Path("alpha.png"), *image));
    Loaded loaded = Load(Path("alpha.png"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.error, IO_OK);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGBA);
    EXPECT_EQ(loaded.image->Width(), 5);
    EXPECT_EQ(loaded.image->Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(PixelAt(*loaded.image, x, y), PixelAt(*image, x, y)) << x << "," << y;
}

TEST_F(PictureFolder, PalettePngTransparentEntryBecomesAlpha)
{
    // 2 x 2, entries red (opaque), green (transparent), blue.
    WritePng(Path("pal.png"), 2, 2, PNG_COLOR_TYPE_PALETTE, {0, 1, 2, 0}, false, {255, 0, 0, 0, 255, 0, 0, 0, 255},
             {255, 0});
    Loaded loaded = Load(Path("pal.png"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGBA);
    EXPECT_EQ(PixelAt(*loaded.image, 0, 0), (Bytes{255, 255, 0, 0}));
    EXPECT_EQ(PixelAt(*loaded.image, 1, 0), (Bytes{0, 0, 255, 0}));
    EXPECT_EQ(PixelAt(*loaded.image, 0, 1), (Bytes{255, 0, 0, 255}));

    // Without the alpha bit the picture is opaque and keeps its stored colours.
    Loaded opaque = Load(Path("pal.png"), IO_LOAD_RGB);
    ASSERT_TRUE(opaque.image);
    EXPECT_EQ(opaque.image->GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(PixelAt(*opaque.image, 1, 0), (Bytes{0, 255, 0}));
}

TEST_F(PictureFolder, InterlacedPngLoadsEveryRow)
{
    const int w = 9, h = 11;
    Bytes rows;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows.insert(rows.end(), {static_cast<unsigned char>(x * 20), static_cast<unsigned char>(y * 20), 7});
    WritePng(Path("interlaced.png"), w, h, PNG_COLOR_TYPE_RGB, rows, true);
    Loaded loaded = Load(Path("interlaced.png"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(PixelAt(*loaded.image, x, y),
                      (Bytes{rows.begin() + (y * w + x) * 3, rows.begin() + (y * w + x) * 3 + 3}));
}

} // namespace
