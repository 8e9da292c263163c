#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "image/image.h"

namespace {

// An RGBA image whose every pixel tells its own position: alpha 200, red x, green y, blue x + y.
CImage PositionImage(int w, int h, IMAGE_MODE mode = IMAGE_MODE_RGBA)
{
    CImage image(mode, w, h, 96.0);
    CPixMap map(mode, w, h);
    const bool alpha = ModeHasAlpha(mode);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char* p = map.Sample(x, y, 0);
            if (alpha)
                *p++ = 200;
            p[0] = static_cast<unsigned char>(x);
            p[1] = static_cast<unsigned char>(y);
            p[2] = static_cast<unsigned char>(x + y);
        }
    }
    EXPECT_TRUE(image.SetBuf(0, 0, map));
    return image;
}

void FillMap(CPixMap& map, unsigned char value)
{
    for (int p = 0; p < (map.interleaved ? 1 : map.planes); ++p)
        std::fill(map.buffer[p].get(), map.buffer[p].get() + map.bufferSize[p], value);
}

struct Pixel
{
    int a, r, g, b;
    bool operator==(const Pixel&) const = default;
};

Pixel At(const CPixMap& map, int x, int y)
{
    const bool alpha = ModeHasAlpha(map.mode);
    int o = alpha ? 1 : 0;
    return {alpha ? *map.Sample(x, y, 0) : -1, *map.Sample(x, y, o), *map.Sample(x, y, o + 1),
            *map.Sample(x, y, o + 2)};
}

std::ostream& operator<<(std::ostream& os, const Pixel& p)
{
    return os << "(" << p.a << "," << p.r << "," << p.g << "," << p.b << ")";
}

TEST(GetBuf, MaskNoneOutsideZeroesAlphaKeepsColour)
{
    CImage image = PositionImage(4, 4);
    CPixMap map(IMAGE_MODE_RGBA, 10, 10);
    FillMap(map, 77);
    ASSERT_TRUE(image.GetBuf(0, 0, map, MASK_NONE, 1));
    EXPECT_EQ(At(map, 3, 3), (Pixel{200, 3, 3, 6}));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(At(map, 4 + i % 6, i), (Pixel{0, 77, 77, 77}));
        EXPECT_EQ(At(map, i, 4 + i % 6), (Pixel{0, 77, 77, 77}));
    }
}

TEST(GetBuf, EdgeRepeatCopiesTheNearestEdge)
{
    CImage image = PositionImage(4, 4);
    CPixMap map(IMAGE_MODE_RGBA, 10, 10);
    ASSERT_TRUE(image.GetBuf(0, 0, map, MASK_EDGE_REPEAT, 1));
    EXPECT_EQ(At(map, 9, 1), (Pixel{0, 3, 1, 4}));   // right column
    EXPECT_EQ(At(map, 2, 8), (Pixel{0, 2, 3, 5}));   // bottom row
    EXPECT_EQ(At(map, 9, 9), (Pixel{0, 3, 3, 6}));   // corner
    EXPECT_EQ(At(map, 3, 3), (Pixel{200, 3, 3, 6})); // inside
}

TEST(GetBuf, NegativeOffsetLeavesLeadingColumnsOutside)
{
    CImage image = PositionImage(4, 4);
    CPixMap map(IMAGE_MODE_RGBA, 4, 4);
    FillMap(map, 9);
    ASSERT_TRUE(image.GetBuf(-2, 0, map, MASK_NONE, 1));
    EXPECT_EQ(At(map, 0, 0), (Pixel{0, 9, 9, 9}));
    EXPECT_EQ(At(map, 1, 2), (Pixel{0, 9, 9, 9}));
    EXPECT_EQ(At(map, 2, 2), (Pixel{200, 0, 2, 2}));
    EXPECT_EQ(At(map, 3, 1), (Pixel{200, 1, 1, 2}));
}

TEST(GetBuf, RgbImageIntoRgbaMapIsOpaque)
{
    CImage image = PositionImage(3, 3, IMAGE_MODE_RGB);
    for (bool interleaved : {true, false}) {
        CPixMap map(IMAGE_MODE_RGBA, 3, 3, interleaved);
        ASSERT_TRUE(image.GetBuf(0, 0, map));
        EXPECT_EQ(At(map, 2, 1), (Pixel{255, 2, 1, 3}));
        EXPECT_EQ(At(map, 0, 0), (Pixel{255, 0, 0, 0}));
    }
}

TEST(GetBuf, OtherModeMovesNoColour)
{
    CImage grey(IMAGE_MODE_GREY, 2, 2, 96.0);
    CPixMap map(IMAGE_MODE_RGB, 2, 2);
    FillMap(map, 33);
    ASSERT_TRUE(grey.GetBuf(0, 0, map));
    EXPECT_EQ(At(map, 1, 1), (Pixel{-1, 33, 33, 33}));

    // Only the alpha plane is treated: opaque where the image lies.
    CPixMap rgba(IMAGE_MODE_RGBA, 3, 2);
    FillMap(rgba, 33);
    ASSERT_TRUE(grey.GetBuf(0, 0, rgba));
    EXPECT_EQ(At(rgba, 1, 1), (Pixel{255, 33, 33, 33}));
    EXPECT_EQ(At(rgba, 2, 1), (Pixel{0, 33, 33, 33}));
}

TEST(GetBuf, StepTakesEverySecondPixel)
{
    CImage image = PositionImage(20, 20);
    CPixMap map(IMAGE_MODE_RGBA, 10, 10);
    ASSERT_TRUE(image.GetBuf(0, 0, map, MASK_NONE, 2));
    EXPECT_EQ(At(map, 0, 0), (Pixel{200, 0, 0, 0}));
    EXPECT_EQ(At(map, 3, 7), (Pixel{200, 6, 14, 20}));
    EXPECT_EQ(At(map, 9, 9), (Pixel{200, 18, 18, 36}));
}

TEST(GetBuf, DisjointRectangle)
{
    CImage image = PositionImage(4, 4);
    CPixMap map(IMAGE_MODE_RGBA, 3, 3);
    FillMap(map, 50);
    ASSERT_TRUE(image.GetBuf(10, 10, map, MASK_NONE, 1));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(At(map, x, y), (Pixel{0, 50, 50, 50}));

    // With edge repeat the map shows the image's nearest edge pixels.
    ASSERT_TRUE(image.GetBuf(10, 10, map, MASK_EDGE_REPEAT, 1));
    EXPECT_EQ(At(map, 0, 0), (Pixel{200, 3, 3, 6}));
    EXPECT_EQ(At(map, 2, 2), (Pixel{0, 3, 3, 6}));
    ASSERT_TRUE(image.GetBuf(-10, 1, map, MASK_EDGE_REPEAT, 1));
    EXPECT_EQ(At(map, 2, 0), (Pixel{200, 0, 1, 1}));
    EXPECT_EQ(At(map, 0, 2), (Pixel{0, 0, 3, 3}));
}

TEST(GetBuf, MaskColourFillsColourPlanesInMapOrder)
{
    CImage image = PositionImage(2, 2, IMAGE_MODE_RGB);
    image.SetMaskColor(CColor(10, 20, 30));
    CPixMap map(IMAGE_MODE_RGB, 3, 3, false);
    ASSERT_TRUE(image.GetBuf(0, 0, map, MASK_COLOR, 1));
    EXPECT_EQ(At(map, 2, 2), (Pixel{-1, 10, 20, 30}));
    EXPECT_EQ(At(map, 1, 1), (Pixel{-1, 1, 1, 2}));
}

// The obvious per-pixel form of GetBuf for maps of the image's own mode, against which the fast one is checked.
void ReferenceGetBuf(const CImage& image, int x, int y, CPixMap& map, maskMethod method, int step)
{
    CPixMap whole(image.GetMode(), image.Width(), image.Height());
    ASSERT_TRUE(image.GetBuf(0, 0, whole));
    auto inside = [&](int64_t v, int extent) { return v >= 0 && v < extent; };
    int firstI = -1, lastI = -1, firstJ = -1, lastJ = -1;
    for (int i = 0; i < map.width; ++i)
        if (inside(int64_t(step) * (x + i), image.Width()))
            (firstI < 0 ? firstI : lastI) = i, lastI = i;
    for (int j = 0; j < map.height; ++j)
        if (inside(int64_t(step) * (y + j), image.Height()))
            (firstJ < 0 ? firstJ : lastJ) = j, lastJ = j;
    const bool overlap = firstI >= 0 && firstJ >= 0;
    for (int j = 0; j < map.height; ++j) {
        for (int i = 0; i < map.width; ++i) {
            bool in = overlap && i >= firstI && i <= lastI && j >= firstJ && j <= lastJ;
            if (!in && (method != MASK_EDGE_REPEAT || !overlap)) {
                *map.Sample(i, j, 0) = 0;
                continue;
            }
            int ci = std::clamp(i, firstI, lastI), cj = std::clamp(j, firstJ, lastJ);
            for (int p = 0; p < map.planes; ++p)
                *map.Sample(i, j, p) = *whole.Sample(step * (x + ci), step * (y + cj), p);
            if (!in)
                *map.Sample(i, j, 0) = 0;
        }
    }
}

TEST(GetBuf, MatchesTheReferenceAtRandomPlaces)
{
    CImage image = PositionImage(37, 23);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pos(-30, 40), size(1, 20), stepOf(1, 3);
    for (int round = 0; round < 300; ++round) {
        const int x = pos(random), y = pos(random), w = size(random), h = size(random), step = stepOf(random);
        const maskMethod method = round % 2 ? MASK_EDGE_REPEAT : MASK_NONE;
        if (method == MASK_EDGE_REPEAT) {
            // Disjoint areas are moved onto the edge first; compare only overlapping ones.
            bool overlapX = false, overlapY = false;
            for (int i = 0; i < w; ++i)
                overlapX |= step * (x + i) >= 0 && step * (x + i) < image.Width();
            for (int j = 0; j < h; ++j)
                overlapY |= step * (y + j) >= 0 && step * (y + j) < image.Height();
            if (!overlapX || !overlapY)
                continue;
        }
        CPixMap fast(IMAGE_MODE_RGBA, w, h), slow(IMAGE_MODE_RGBA, w, h);
        FillMap(fast, 1);
        FillMap(slow, 1);
        ASSERT_TRUE(image.GetBuf(x, y, fast, method, step));
        ReferenceGetBuf(image, x, y, slow, method, step);
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                ASSERT_EQ(At(fast, i, j), At(slow, i, j))
                    << "at " << i << "," << j << " for x " << x << " y " << y << " step " << step;
    }
}

// An image of the mode with random samples.
CImage RandomImage(IMAGE_MODE mode, int w, int h, std::mt19937& random)
{
    CImage image(mode, w, h, 96.0);
    CPixMap map(mode, w, h);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < map.bufferSize[0]; ++i)
        map.buffer[0][i] = static_cast<unsigned char>(byte(random));
    EXPECT_TRUE(image.SetBuf(0, 0, map));
    return image;
}

// The first pixel (x, y) at which two maps of one mode differ in any byte of any sample, or (-1, -1).
std::pair<int, int> FirstDifference(const CPixMap& a, const CPixMap& b)
{
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int p = 0; p < a.planes; ++p)
                if (std::memcmp(a.Sample(x, y, p), b.Sample(x, y, p), a.bitsPerPlane / 8) != 0)
                    return {x, y};
    return {-1, -1};
}

// Interleaved maps take the whole-pixel paths (edges repeated a pixel at a time, red, green and blue made
// opaque in one pass); planar maps of the same mode go plane by plane and sample by sample. Both must give the
// same samples, for pixels of every size, maps wide enough for the vector paths, and every step.
TEST(PixelExchange, PackedPixelMapsAgreeWithThePlanarPath)
{
    struct Case
    {
        IMAGE_MODE image, map;
    };
    const IMAGE_MODE rgba16 = static_cast<IMAGE_MODE>(IMAGE_MODE_RGB16 | IMAGE_MODE_ALPHA_BIT);
    const IMAGE_MODE greyAlpha = static_cast<IMAGE_MODE>(IMAGE_MODE_GREY | IMAGE_MODE_ALPHA_BIT);
    const Case cases[] = {
        {IMAGE_MODE_RGBA, IMAGE_MODE_RGBA},
        {IMAGE_MODE_RGB, IMAGE_MODE_RGB},
        {IMAGE_MODE_RGB, IMAGE_MODE_RGBA},
        {IMAGE_MODE_GREY, IMAGE_MODE_GREY},
        {greyAlpha, greyAlpha},
        {IMAGE_MODE_COVERAGE, IMAGE_MODE_COVERAGE},
        {IMAGE_MODE_RGB16, IMAGE_MODE_RGB16},
        {rgba16, rgba16},
    };
    std::mt19937 random(11);
    std::uniform_int_distribution<int> pos(-45, 50), size(1, 60), stepOf(1, 3);
    for (const Case& c : cases) {
        const CImage image = RandomImage(c.image, 41, 29, random);
        for (int round = 0; round < 150; ++round) {
            const int x = pos(random), y = pos(random), w = size(random), h = size(random), step = stepOf(random);
            const maskMethod method = round % 3 ? MASK_EDGE_REPEAT : MASK_NONE;
            CPixMap packed(c.map, w, h), planar(c.map, w, h, false);
            FillMap(packed, 1);
            FillMap(planar, 1);
            ASSERT_TRUE(image.GetBuf(x, y, packed, method, step));
            ASSERT_TRUE(image.GetBuf(x, y, planar, method, step));
            const auto [dx, dy] = FirstDifference(packed, planar);
            ASSERT_EQ(dx, -1) << "image mode " << c.image << " map mode " << c.map << " at " << dx << "," << dy
                              << " for x " << x << " y " << y << " size " << w << "x" << h << " step " << step
                              << " method " << method;
        }
    }
}

TEST(SetBuf, ClipsAndSteps)
{
    CImage image(IMAGE_MODE_RGB, 4, 4, 96.0);
    CPixMap map(IMAGE_MODE_RGB, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            *map.Sample(x, y, 0) = static_cast<unsigned char>(10 * y + x + 1);

    ASSERT_TRUE(image.SetBuf(-1, 2, map));
    CPixMap out(IMAGE_MODE_RGB, 4, 4);
    ASSERT_TRUE(image.GetBuf(0, 0, out));
    EXPECT_EQ(*out.Sample(0, 2, 0), 2);  // map (1, 0)
    EXPECT_EQ(*out.Sample(2, 3, 0), 14); // map (3, 1)
    EXPECT_EQ(*out.Sample(3, 3, 0), 0);  // not covered
    EXPECT_EQ(*out.Sample(0, 1, 0), 0);

    CImage small(IMAGE_MODE_RGB, 3, 3, 96.0);
    ASSERT_TRUE(small.SetBuf(2, 0, map, MASK_NONE, 2)); // image (1 + i, j) from map (2i, 2j)
    CPixMap back(IMAGE_MODE_RGB, 3, 3);
    ASSERT_TRUE(small.GetBuf(0, 0, back));
    EXPECT_EQ(*back.Sample(1, 0, 0), 1);
    EXPECT_EQ(*back.Sample(2, 1, 0), 23);
    EXPECT_EQ(*back.Sample(0, 0, 0), 0);
}

// From (-3, -3) with step 2 the map is entered at (3, 3); the next stepped pixel, (5, 5), lies past its edge, so
// only image pixel (0, 0) is written.
TEST(SetBuf, OddNegativeOriginWithStepNeverReadsPastTheMap)
{
    CImage image(IMAGE_MODE_GREY, 8, 8, 96.0);
    CPixMap map(IMAGE_MODE_GREY, 5, 5);
    std::memset(map.buffer[0].get(), 0xEE, static_cast<size_t>(map.bufferSize[0])); // row padding too
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            *map.Sample(x, y, 0) = static_cast<unsigned char>(10 * y + x + 1);
    EXPECT_TRUE(image.SetBuf(-3, -3, map, MASK_NONE, 2)); // ASan watches the reads

    CPixMap out(IMAGE_MODE_GREY, 8, 8);
    ASSERT_TRUE(image.GetBuf(0, 0, out));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(*out.Sample(x, y, 0), x == 0 && y == 0 ? 34 : 0) << x << "," << y; // map (3, 3)
}

TEST(SetBuf, AlphaHandling)
{
    CImage rgba = PositionImage(2, 2);
    CPixMap rgb(IMAGE_MODE_RGB, 2, 2);
    FillMap(rgb, 5);
    ASSERT_TRUE(rgba.SetBuf(0, 0, rgb));
    CPixMap out(IMAGE_MODE_RGBA, 2, 2);
    ASSERT_TRUE(rgba.GetBuf(0, 0, out));
    EXPECT_EQ(At(out, 1, 1), (Pixel{200, 5, 5, 5})); // the image's alpha stays

    CPixMap planar(IMAGE_MODE_RGBA, 2, 2, false);
    FillMap(planar, 6);
    ASSERT_TRUE(rgba.SetBuf(0, 0, planar));
    ASSERT_TRUE(rgba.GetBuf(0, 0, out));
    EXPECT_EQ(At(out, 0, 1), (Pixel{6, 6, 6, 6}));
}

TEST(PixelExchange, RgbAndRgbaMapsAgreeWithThePlanarPath)
{
    CImage image = PositionImage(9, 7, IMAGE_MODE_RGB);
    for (int step : {1, 2}) {
        CPixMap fused(IMAGE_MODE_RGBA, 6, 5), planar(IMAGE_MODE_RGBA, 6, 5, false);
        ASSERT_TRUE(image.GetBuf(1, -1, fused, MASK_EDGE_REPEAT, step));
        ASSERT_TRUE(image.GetBuf(1, -1, planar, MASK_EDGE_REPEAT, step));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(At(fused, x, y), At(planar, x, y)) << x << "," << y << " step " << step;

        CImage a(IMAGE_MODE_RGB, 9, 7, 96.0), b(IMAGE_MODE_RGB, 9, 7, 96.0);
        ASSERT_TRUE(a.SetBuf(2, 1, fused, MASK_NONE, step));
        ASSERT_TRUE(b.SetBuf(2, 1, planar, MASK_NONE, step));
        EXPECT_EQ(std::memcmp(a.GetData(), b.GetData(), a.GetDataSize()), 0);
    }
}

TEST(SetBuf, OtherModeLeavesTheImageUnchanged)
{
    CImage image = PositionImage(2, 2, IMAGE_MODE_RGB);
    CPixMap grey(IMAGE_MODE_GREY, 2, 2);
    FillMap(grey, 99);
    EXPECT_FALSE(image.SetBuf(0, 0, grey));
    CPixMap out(IMAGE_MODE_RGB, 2, 2);
    ASSERT_TRUE(image.GetBuf(0, 0, out));
    EXPECT_EQ(At(out, 1, 1), (Pixel{-1, 1, 1, 2}));
}

TEST(PixelExchange, SixteenBitPlanes)
{
    CImage image(IMAGE_MODE_RGB16, 2, 1, 96.0);
    CPixMap map(IMAGE_MODE_RGB16, 2, 1, false);
    for (int p = 0; p < 3; ++p) {
        uint16_t v = static_cast<uint16_t>(0x1234 * (p + 1));
        std::memcpy(map.Sample(1, 0, p), &v, 2);
    }
    ASSERT_TRUE(image.SetBuf(0, 0, map));
    CPixMap out(IMAGE_MODE_RGB16, 3, 1);
    ASSERT_TRUE(image.GetBuf(0, 0, out, MASK_EDGE_REPEAT));
    uint16_t g;
    std::memcpy(&g, out.Sample(2, 0, 1), 2);
    EXPECT_EQ(g, 0x2468);
}

TEST(PixelExchange, EmptyImageOrMapReportsFailure)
{
    CImage empty(IMAGE_MODE_RGB, 1 << 20, 1 << 20, 96.0);
    ASSERT_TRUE(empty.IsEmpty());
    CPixMap map(IMAGE_MODE_RGB, 4, 4);
    FillMap(map, 12);
    EXPECT_FALSE(empty.GetBuf(0, 0, map));
    EXPECT_FALSE(empty.SetBuf(0, 0, map));
    EXPECT_EQ(*map.Sample(3, 3, 2), 12);

    CImage image(IMAGE_MODE_RGB, 4, 4, 96.0);
    CPixMap hopeless(IMAGE_MODE_RGB, 1 << 20, 1 << 20);
    EXPECT_FALSE(hopeless.IsValid());
    EXPECT_FALSE(image.GetBuf(0, 0, hopeless));
    EXPECT_FALSE(image.SetBuf(0, 0, hopeless));
    EXPECT_FALSE(image.GetBuf(0, 0, map, MASK_NONE, 0));
}

} // namespace
