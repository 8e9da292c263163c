#include "image/image_ops.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A byte pattern that no fill value below repeats, so that a byte written where it should not be shows.
std::vector<unsigned char> BytePattern(size_t n)
{
    std::vector<unsigned char> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<unsigned char>(100 + i % 97);
    return bytes;
}

TEST(FillPixelSamples, WritesTheGivenSamplesOfEachPixelAndNothingElse)
{
    struct Case
    {
        const char* name;
        int pixelStep, rowStep, offset, count, width, height;
    };
    const Case cases[] = {
        {"colour of alpha-first pixels", 4, 44, 1, 3, 9, 5},
        {"whole four-byte pixels", 4, 40, 0, 4, 9, 5},
        {"whole four-byte pixels at an odd address", 4, 41, 1, 4, 9, 5},
        {"three-byte pixels", 3, 32, 0, 3, 10, 4},
        {"single plane", 1, 13, 0, 1, 11, 6},
        {"alpha of alpha-first pixels", 4, 40, 0, 1, 10, 3},
    };
    const unsigned char values[4] = {1, 2, 3, 4};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t size = static_cast<size_t>(c.rowStep) * (c.height + 1);
        std::vector<unsigned char> bytes = BytePattern(size), expected = bytes;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                for (int s = 0; s < c.count; ++s)
                    expected[c.offset + y * c.rowStep + x * c.pixelStep + s] = values[s];
        FillPixelSamples(bytes.data() + c.offset, c.pixelStep, c.rowStep, values, c.count, c.width, c.height);
        EXPECT_EQ(bytes, expected);
    }
}

TEST(FillMapSamples, FillsTheChosenPlanesWithinTheMapsPresentSize)
{
    for (const bool interleaved : {true, false}) {
        SCOPED_TRACE(interleaved ? "interleaved" : "planar");
        CPixMap map(IMAGE_MODE_RGBA, 6, 5, interleaved);
        ASSERT_TRUE(map.IsValid());
        for (int p = 0; p < (interleaved ? 1 : 4); ++p)
            std::fill(map.buffer[p].get(), map.buffer[p].get() + map.bufferSize[p], 9);
        // Narrowed, as a tile at the edge is.
        map.width = 4;
        map.height = 3;
        const unsigned char rgb[3] = {10, 20, 30};
        ASSERT_TRUE(FillMapSamples(map, 1, rgb, 3));
        map.width = 6;
        map.height = 5;
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 6; ++x) {
                const bool inside = x < 4 && y < 3;
                EXPECT_EQ(*map.Sample(x, y, 0), 9) << x << "," << y;
                for (int p = 1; p < 4; ++p)
                    EXPECT_EQ(*map.Sample(x, y, p), inside ? rgb[p - 1] : 9) << x << "," << y << " plane " << p;
            }
        }
    }
}

TEST(FillMapSamples, RefusesMapsItCannotFill)
{
    const unsigned char values[4] = {1, 2, 3, 4};
    CPixMap rgba(IMAGE_MODE_RGBA, 2, 2), wide(IMAGE_MODE_RGB16, 2, 2);
    EXPECT_FALSE(FillMapSamples(rgba, 2, values, 3)); // planes 2 to 4 of four
    EXPECT_FALSE(FillMapSamples(rgba, -1, values, 1));
    EXPECT_FALSE(FillMapSamples(wide, 0, values, 1)); // 16-bit samples
    EXPECT_EQ(*rgba.Sample(0, 0, 2), 0);
}

TEST(MakeSolidImage, EveryPixelHasTheColoursSamples)
{
    CColor grey(200, 100, 50);
    grey.Convert(IMAGE_MODE_GREY);
    for (const CColor& colour : {CColor(200, 100, 50), grey}) {
        SCOPED_TRACE(colour.GetMode());
        // An odd width gives RGB rows padding, which must stay out of the pixels.
        const std::unique_ptr<CImage> image = MakeSolidImage(colour, 5, 3, 72.0);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->GetMode(), colour.GetMode());
        EXPECT_EQ(image->Width(), 5);
        EXPECT_EQ(image->Height(), 3);
        EXPECT_EQ(image->GetDpi(), 72.0);
        CPixMap map(colour.GetMode(), 5, 3);
        ASSERT_TRUE(image->GetBuf(0, 0, map));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(CColor(map, x, y), colour) << x << "," << y;
    }
}

TEST(MakeSolidImage, RefusesSamplesOtherThanBytes)
{
    CColor colour(1, 2, 3);
    colour.Convert(IMAGE_MODE_GREY16);
    EXPECT_EQ(MakeSolidImage(colour, 4, 4), nullptr);
}

// A grey image, with or without alpha, whose pixels differ from each other and whose alpha differs from its grey.
std::unique_ptr<CImage> GreyImage(bool alpha, int w, int h)
{
    const IMAGE_MODE mode = alpha ? IMAGE_MODE(IMAGE_MODE_GREY | IMAGE_MODE_ALPHA_BIT) : IMAGE_MODE_GREY;
    auto image = std::make_unique<CImage>(mode, w, h, 150.0);
    CPixMap map(mode, w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (alpha)
                *map.Sample(x, y, 0) = static_cast<unsigned char>(255 - 7 * x - y);
            *map.Sample(x, y, alpha ? 1 : 0) = static_cast<unsigned char>(11 * x + 3 * y);
        }
    }
    EXPECT_TRUE(image->SetBuf(0, 0, map));
    return image;
}

TEST(WidenGreyToRgb, RepeatsEachGreyInTheColourSamplesAndKeepsAlpha)
{
    for (const bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "grey with alpha" : "grey");
        const int w = 7, h = 5;
        const std::unique_ptr<CImage> rgb = WidenGreyToRgb(GreyImage(alpha, w, h));
        ASSERT_TRUE(rgb);
        EXPECT_EQ(rgb->GetMode(), alpha ? IMAGE_MODE_RGBA : IMAGE_MODE_RGB);
        EXPECT_EQ(rgb->GetDpi(), 150.0);
        CPixMap map(IMAGE_MODE_RGBA, w, h);
        ASSERT_TRUE(rgb->GetBuf(0, 0, map));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int grey = 11 * x + 3 * y;
                EXPECT_EQ(*map.Sample(x, y, 0), alpha ? 255 - 7 * x - y : 255) << x << "," << y;
                for (int p = 1; p < 4; ++p)
                    EXPECT_EQ(*map.Sample(x, y, p), grey) << x << "," << y << " plane " << p;
            }
        }
    }
}

TEST(WidenGreyToRgb, LeavesOtherPicturesAsTheyAre)
{
    auto rgb = std::make_unique<CImage>(IMAGE_MODE_RGB, 3, 3);
    const CImage* before = rgb.get();
    EXPECT_EQ(WidenGreyToRgb(std::move(rgb)).get(), before);
    EXPECT_EQ(WidenGreyToRgb(nullptr), nullptr);
}

} // namespace
