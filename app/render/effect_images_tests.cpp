#include "app/render/effect_images.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

#include "app/render/gaussian_blur.h"

namespace {

int CoverageAt(const CImage& image, int x, int y)
{
    return image.GetData()[static_cast<size_t>(y) * image.GetStride() + x];
}

// An RGBA image with a different alpha on every pixel, so a misplaced tile shows.
CImage NoisyAlphaImage(int w, int h, unsigned seed)
{
    CImage image(IMAGE_MODE_RGBA, w, h);
    CPixMap map(IMAGE_MODE_RGBA, w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int p = 0; p < 4; ++p)
                *map.Sample(x, y, p) = static_cast<unsigned char>(rng());
    image.SetBuf(0, 0, map);
    return image;
}

// The obvious spread image: the source's alpha written pixel by pixel into a zeroed image with the margin, then
// the same blur.
CImage ReferenceSpread(const CImage& source, int margin, double radius)
{
    CImage spread(IMAGE_MODE_COVERAGE, source.Width() + margin, source.Height() + margin);
    CPixMap whole(IMAGE_MODE_COVERAGE, spread.Width(), spread.Height());
    std::memset(whole.plane[0].data, 0, static_cast<size_t>(whole.bufferSize[0]));
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            *whole.Sample(x + margin / 2, y + margin / 2, 0) =
                source.GetData()[static_cast<size_t>(y) * source.GetStride() + 4 * x];
    spread.SetBuf(0, 0, whole);
    GaussianBlur(&spread, radius);
    return spread;
}

TEST(BuildSpreadImage, MarginIsSixRadiiRoundedUpToEven)
{
    struct Case
    {
        int width, height, softness, margin;
    };
    const Case cases[] = {
        {100, 40, 10, 12}, // 6r = 12
        {100, 40, 8, 10},  // 9.6 rounds up to 10
        {100, 40, 9, 12},  // 10.8 rounds up to 11, odd, so 12
        {100, 40, 5, 6},   //
        {7, 3, 0, 0},      // no softness, no margin
        {1, 1, 100, 120},  //
    };
    for (const Case& c : cases) {
        CImage source(IMAGE_MODE_RGBA, c.width, c.height);
        auto spread = BuildSpreadImage(source, c.softness * 0.2);
        ASSERT_TRUE(spread) << c.softness;
        EXPECT_EQ(spread->GetMode(), IMAGE_MODE_COVERAGE);
        EXPECT_EQ(spread->GetDpi(), 96.0);
        EXPECT_EQ(spread->Width(), c.width + c.margin) << c.softness;
        EXPECT_EQ(spread->Height(), c.height + c.margin) << c.softness;
    }
}

// Sources wider and higher than one tile, with and without blur, against the obvious form.
TEST(BuildSpreadImage, MatchesPixelByPixelReference)
{
    const CImage source = NoisyAlphaImage(300, 270, 7);
    for (int softness : {0, 7, 10}) {
        const double radius = softness * 0.2;
        auto spread = BuildSpreadImage(source, radius);
        ASSERT_TRUE(spread);
        const int margin = spread->Width() - source.Width();
        const CImage expected = ReferenceSpread(source, margin, radius);
        ASSERT_EQ(spread->Height(), expected.Height());
        for (int y = 0; y < expected.Height(); ++y)
            for (int x = 0; x < expected.Width(); ++x)
                ASSERT_EQ(CoverageAt(*spread, x, y), CoverageAt(expected, x, y))
                    << "softness " << softness << " at " << x << "," << y;
    }
}

TEST(BuildSpreadImage, SilhouetteSitsInTheMiddle)
{
    // An opaque 100 x 40 block with softness 10: the margin of 6 fades out, the middle stays full.
    CImage source(IMAGE_MODE_RGB, 100, 40); // no alpha: counts as opaque
    auto spread = BuildSpreadImage(source, 2.0);
    ASSERT_TRUE(spread);
    ASSERT_EQ(spread->Width(), 112);
    EXPECT_EQ(CoverageAt(*spread, 56, 26), 255);
    EXPECT_LT(CoverageAt(*spread, 0, 0), 8);
    // The edge rises across the silhouette's first column and mirrors on the other side.
    EXPECT_LT(CoverageAt(*spread, 5, 26), 128);
    EXPECT_GT(CoverageAt(*spread, 6, 26), 128);
    EXPECT_EQ(CoverageAt(*spread, 6, 26), CoverageAt(*spread, 105, 26));
}

TEST(BuildSpreadImage, RefusesWhatCannotBeBuilt)
{
    EXPECT_FALSE(BuildSpreadImage(CImage(), 2.0));
    EXPECT_FALSE(BuildSpreadImage(CImage(IMAGE_MODE_RGBA, 0, 10), 2.0));
    EXPECT_FALSE(BuildSpreadImage(CImage(IMAGE_MODE_RGBA, 10, 10), -1.0));
    EXPECT_FALSE(BuildSpreadImage(CImage(IMAGE_MODE_RGBA, 10, 10), std::nan("")));
    // Far too large to allocate.
    EXPECT_FALSE(BuildSpreadImage(CImage(IMAGE_MODE_RGBA, 10, 10), 90000.0));
}

// A 3 x 3 tile of four-byte pixels with the given alphas (row by row), colours 99; the middle pixel is shaded.
struct ShadeCase
{
    const char* name;
    unsigned char alpha[9];
    double lx, ly;
    int raised, sunk; // grey of the middle pixel for direction 0 and 1
};

TEST(ShadeBevelTile, GreyFromTheSlopeAgainstTheLight)
{
    const double c = std::cos(135 * std::numbers::pi / 180), s = std::sin(135 * std::numbers::pi / 180);
    const ShadeCase cases[] = {
        {"flat", {9, 9, 9, 9, 9, 9, 9, 9, 9}, -c, s, 127, 127},
        {"left edge, light from the left", {0, 0, 0, 0, 50, 255, 0, 0, 0}, 1, 0, 255, 0},
        {"right edge, light from the left", {0, 0, 0, 255, 50, 0, 0, 0, 0}, 1, 0, 0, 255},
        // Light from the upper left: (sqrt(1/2) + 1) / 2 = 0.8536 of 255 on the left and top edges.
        {"left edge, default light", {0, 0, 0, 0, 50, 255, 0, 0, 0}, -c, s, 217, 37},
        {"top edge, default light", {0, 0, 0, 0, 50, 0, 0, 255, 0}, -c, s, 217, 37},
        {"right edge, default light", {0, 0, 0, 255, 50, 0, 0, 0, 0}, -c, s, 37, 217},
    };
    for (const ShadeCase& sc : cases) {
        for (int direction : {0, 1}) {
            unsigned char tile[9 * 4];
            for (int i = 0; i < 9; ++i) {
                tile[4 * i] = sc.alpha[i];
                tile[4 * i + 1] = tile[4 * i + 2] = tile[4 * i + 3] = 99;
            }
            ShadeBevelTile(tile + 16, 4, 12, 1, 1, sc.lx, sc.ly, direction);
            const int expected = direction == 0 ? sc.raised : sc.sunk;
            EXPECT_EQ(tile[17], expected) << sc.name << " direction " << direction;
            EXPECT_EQ(tile[18], expected);
            EXPECT_EQ(tile[19], expected);
            EXPECT_EQ(tile[16], sc.alpha[4]) << "alpha is kept";
            EXPECT_EQ(tile[1], 99) << "the border is only read";
        }
    }
}

TEST(ShadeBevelTile, WritesNothingForOtherDirectionsOrNoArea)
{
    unsigned char tile[9 * 4];
    std::memset(tile, 77, sizeof tile);
    std::vector<unsigned char> before(tile, tile + sizeof tile);
    ShadeBevelTile(tile + 16, 4, 12, 1, 1, 1, 0, 2);
    ShadeBevelTile(tile + 16, 4, 12, 1, 1, 1, 0, -1);
    ShadeBevelTile(tile + 16, 4, 12, 0, 1, 1, 0, 0);
    ShadeBevelTile(tile + 16, 4, 12, 1, 0, 1, 0, 0);
    EXPECT_EQ(std::vector<unsigned char>(tile, tile + sizeof tile), before);
}

TEST(BevelShadeValue, HalfOnFlatAndFullTowardTheLight)
{
    const unsigned char flat[3 * 3] = {5, 5, 5, 5, 5, 5, 5, 5, 5};
    EXPECT_EQ(BevelShadeValue(flat + 4, 1, 3, 0.3, 0.7), 0.5);
    const unsigned char rising[3 * 3] = {0, 0, 0, 0, 0, 200, 0, 0, 0};
    EXPECT_DOUBLE_EQ(BevelShadeValue(rising + 4, 1, 3, 1, 0), 1.0);
    EXPECT_DOUBLE_EQ(BevelShadeValue(rising + 4, 1, 3, 0, 1), 0.5);
}

} // namespace
