#include "app/render/gaussian_blur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

using detail::DericheCoefficients;

namespace {

// --- The obvious form: every line of the image's own buffer filtered one at a time. ---

std::vector<int> ReferenceLine(const std::vector<int>& x, const DericheCoefficients& c, bool eightBit)
{
    const int n = static_cast<int>(x.size());
    auto X = [&](int k) { return x[std::clamp(k, 0, n - 1)]; };
    const double forwardEdge = x[0] * c.sumP / (1 + c.sumD);
    const double backwardEdge = x[n - 1] * c.sumM / (1 + c.sumD);
    std::vector<double> yp(n), ym(n);
    auto Yp = [&](int k) { return k < 0 ? forwardEdge : yp[k]; };
    auto Ym = [&](int k) { return k >= n ? backwardEdge : ym[k]; };
    for (int k = 0; k < n; ++k) {
        double inputs = 0, feedback = 0;
        for (int i = 0; i <= 3; ++i)
            inputs += c.p[i] * X(k - i);
        for (int i = 1; i <= 4; ++i)
            feedback += c.d[i] * Yp(k - i);
        yp[k] = inputs - feedback;
    }
    for (int k = n - 1; k >= 0; --k) {
        double inputs = 0, feedback = 0;
        for (int i = 1; i <= 4; ++i)
            inputs += c.m[i] * X(k + i);
        for (int i = 1; i <= 4; ++i)
            feedback += c.d[i] * Ym(k + i);
        ym[k] = inputs - feedback;
    }
    std::vector<int> out(n);
    for (int k = 0; k < n; ++k) {
        const double v = yp[k] + ym[k];
        out[k] = eightBit ? static_cast<int>(std::clamp(std::nearbyint(v), 0.0, 255.0))
                          : static_cast<int>(std::clamp(std::trunc(v), 0.0, 65535.0));
    }
    return out;
}

// The image's bytes, blurred line by line straight in the interleaved buffer.
std::vector<unsigned char> ReferenceBlur(const CImage& image, double sigma, RECT region)
{
    std::vector<unsigned char> bytes(image.GetData(), image.GetData() + image.GetDataSize());
    const int bytesPerSample = image.GetBitsPerPlane() / 8, planes = image.GetPlanes(), stride = image.GetStride();
    auto at = [&](int x, int y, int p) {
        return bytes.data() + static_cast<size_t>(y) * stride + (static_cast<size_t>(x) * planes + p) * bytesPerSample;
    };
    auto get = [&](int x, int y, int p) {
        unsigned char* s = at(x, y, p);
        return bytesPerSample == 1 ? int(s[0]) : int(s[0] | s[1] << 8);
    };
    auto put = [&](int x, int y, int p, int v) {
        unsigned char* s = at(x, y, p);
        s[0] = static_cast<unsigned char>(v);
        if (bytesPerSample == 2)
            s[1] = static_cast<unsigned char>(v >> 8);
    };
    const DericheCoefficients c = detail::ComputeDericheCoefficients(sigma);
    const bool eightBit = bytesPerSample == 1;
    for (int p = 0; p < planes; ++p) {
        for (int y = region.top; y < region.bottom; ++y) {
            std::vector<int> line;
            for (int x = region.left; x < region.right; ++x)
                line.push_back(get(x, y, p));
            std::vector<int> out = ReferenceLine(line, c, eightBit);
            for (int x = region.left; x < region.right; ++x)
                put(x, y, p, out[x - region.left]);
        }
    }
    for (int p = 0; p < planes; ++p) {
        for (int x = region.left; x < region.right; ++x) {
            std::vector<int> line;
            for (int y = region.top; y < region.bottom; ++y)
                line.push_back(get(x, y, p));
            std::vector<int> out = ReferenceLine(line, c, eightBit);
            for (int y = region.top; y < region.bottom; ++y)
                put(x, y, p, out[y - region.top]);
        }
    }
    return bytes;
}

std::vector<unsigned char> Bytes(const CImage& image)
{
    return {image.GetData(), image.GetData() + image.GetDataSize()};
}

// Random content with flat patches and hard edges, so that lines have both noise and steps.
CImage MakeImage(IMAGE_MODE mode, int width, int height, unsigned seed)
{
    CImage image(mode, width, height);
    CPixMap map(mode, width, height, true);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> any(0, 255);
    const size_t size = static_cast<size_t>(map.plane[0].rowStep) * height;
    for (size_t i = 0; i < size; ++i)
        map.buffer[0][i] = static_cast<unsigned char>(any(rng));
    // The left half of a band of rows at full value.
    for (int y = height / 3; y < height / 2; ++y)
        std::memset(map.buffer[0].get() + static_cast<size_t>(y) * map.plane[0].rowStep, 255,
                    static_cast<size_t>(width) * map.planes * map.bitsPerPlane / 8 / 2);
    image.SetBuf(0, 0, map);
    return image;
}

// A bright line one pixel wide across a dark 16-bit image: across the line the blur must give the sampled Gaussian
// of the same sigma, within a tenth of a percent of its peak (the recursive filter's own error stays under that)
// and two levels for the truncation of the two passes; along the line the level stays as it is. The line crosses
// the image both ways, so that the row pass and the column pass each draw the curve.
TEST(GaussianBlur, BrightLineSpreadsAsTheGaussianOfItsSigma)
{
    const double sigmas[] = {1.0, 2.0, 4.5, 10.0, 25.0};
    constexpr int kLevel = 65535;
    for (double sigma : sigmas) {
        const int reach = static_cast<int>(std::ceil(6 * sigma));
        const int across = 2 * reach + 1, along = 7;
        const double peak = kLevel / (std::sqrt(2 * std::numbers::pi) * sigma);
        for (bool vertical : {true, false}) {
            SCOPED_TRACE(testing::Message() << "sigma " << sigma << (vertical ? " column" : " row"));
            const int width = vertical ? across : along, height = vertical ? along : across;
            CImage image(IMAGE_MODE_GREY16, width, height);
            CPixMap map(IMAGE_MODE_GREY16, width, height);
            std::memset(map.buffer[0].get(), 0, static_cast<size_t>(map.bufferSize[0]));
            auto sample = [&](int i, int k) {
                return reinterpret_cast<uint16_t*>(vertical ? map.Sample(i, k, 0) : map.Sample(k, i, 0));
            };
            for (int k = 0; k < along; ++k)
                *sample(reach, k) = kLevel;
            image.SetBuf(0, 0, map);
            ASSERT_TRUE(GaussianBlur(&image, sigma, nullptr));
            image.GetBuf(0, 0, map);

            double worst = 0, total = 0;
            for (int i = 0; i < across; ++i) {
                const double d = i - reach;
                const double expected = peak * std::exp(-d * d / (2 * sigma * sigma));
                const int middle = *sample(i, along / 2);
                worst = std::max(worst, std::abs(middle - expected));
                total += middle;
                for (int k = 0; k < along; ++k)
                    ASSERT_EQ(*sample(i, k), middle) << "at " << i << " along " << k;
            }
            EXPECT_LE(worst, 0.001 * peak + 2) << "peak " << peak;
            // What the line held is spread, not lost: only truncation to whole levels may take a little.
            EXPECT_NEAR(total, kLevel, 0.005 * kLevel);
        }
    }
    // Near 1 the filter keeps a flat signal's level.
    const DericheCoefficients c = detail::ComputeDericheCoefficients(2.0);
    EXPECT_NEAR((c.sumP + c.sumM) / (1 + c.sumD), 1.0, 1e-3);
}

struct BlurCase
{
    IMAGE_MODE mode;
    int width;
    int height;
    double sigma;
    bool useRect;
    RECT rect;
};

// Sizes chosen around the lane groups (16 lines) and the strips (65536 pixels): one pixel, a single line,
// 17 lines, strips that split unevenly, and a region cut by the image's edges.
TEST(GaussianBlur, MatchesTheLineByLineFormulasPixelByPixel)
{
    const BlurCase cases[] = {
        {IMAGE_MODE_RGBA, 37, 23, 0.2, false, {}},
        {IMAGE_MODE_RGBA, 37, 23, 0.7, false, {}},
        {IMAGE_MODE_RGBA, 37, 23, 2.0, false, {}},
        {IMAGE_MODE_RGBA, 37, 23, 8.0, false, {}},
        {IMAGE_MODE_RGBA, 37, 23, 32.0, false, {}},
        {IMAGE_MODE_RGBA, 300, 250, 3.5, false, {}},
        {IMAGE_MODE_RGBA, 17, 70000 / 17, 1.5, false, {}},
        {IMAGE_MODE_RGBA, 1, 1, 2.0, false, {}},
        {IMAGE_MODE_RGBA, 1, 40, 2.0, false, {}},
        {IMAGE_MODE_RGBA, 40, 1, 2.0, false, {}},
        {IMAGE_MODE_RGBA, 60, 50, 2.5, true, {-10, 7, 33, 80}},
        {IMAGE_MODE_RGB, 33, 20, 1.1, true, {5, 5, 6, 19}},
        {IMAGE_MODE_GREY, 50, 31, 4.0, false, {}},
        {IMAGE_MODE_COVERAGE, 45, 29, 2.4, false, {}},
        {static_cast<IMAGE_MODE>(IMAGE_MODE_ALPHA_BIT | IMAGE_MODE_RGB16), 29, 21, 2.0, false, {}},
        {IMAGE_MODE_GREY16, 25, 18, 9.0, true, {3, 2, 20, 15}},
    };
    unsigned seed = 1;
    for (const BlurCase& c : cases) {
        CImage image = MakeImage(c.mode, c.width, c.height, seed++);
        RECT region{0, 0, c.width, c.height};
        if (c.useRect)
            region = {std::max<LONG>(0, c.rect.left), std::max<LONG>(0, c.rect.top),
                      std::min<LONG>(c.width, c.rect.right), std::min<LONG>(c.height, c.rect.bottom)};
        const std::vector<unsigned char> expected = ReferenceBlur(image, c.sigma, region);
        ASSERT_TRUE(GaussianBlur(&image, c.sigma, c.useRect ? &c.rect : nullptr));
        const std::vector<unsigned char> actual = Bytes(image);
        size_t differing = 0;
        for (size_t i = 0; i < actual.size(); ++i)
            differing += actual[i] != expected[i];
        EXPECT_EQ(differing, 0u) << "mode " << std::hex << c.mode << std::dec << " " << c.width << " x " << c.height
                                 << " sigma " << c.sigma;
    }
}

TEST(GaussianBlur, SigmaBelowThresholdLeavesTheImage)
{
    CImage image = MakeImage(IMAGE_MODE_RGBA, 30, 20, 11);
    const std::vector<unsigned char> before = Bytes(image);
    EXPECT_TRUE(GaussianBlur(&image, 0.19, nullptr));
    EXPECT_TRUE(GaussianBlur(&image, -3.0, nullptr));
    EXPECT_TRUE(GaussianBlur(&image, std::nan(""), nullptr));
    EXPECT_EQ(Bytes(image), before);
    EXPECT_TRUE(GaussianBlur(&image, 0.2, nullptr));
    EXPECT_NE(Bytes(image), before);
}

// The ends of each line are extended with their own values, so a flat image stays flat right up to its edges;
// from sigma 1 on the filter's gain rounds away and the level is kept too.
TEST(GaussianBlur, UniformImageStaysUniformAtItsEdges)
{
    for (double sigma : {0.2, 0.6, 1.0, 2.0, 8.0, 32.0, 150.0}) {
        for (int value : {0, 1, 100, 254, 255}) {
            CImage image(IMAGE_MODE_RGBA, 40, 30);
            CPixMap map(IMAGE_MODE_RGBA, 40, 30);
            std::memset(map.buffer[0].get(), value, static_cast<size_t>(map.bufferSize[0]));
            image.SetBuf(0, 0, map);
            ASSERT_TRUE(GaussianBlur(&image, sigma, nullptr));
            image.GetBuf(0, 0, map);
            const unsigned char first = map.buffer[0][0];
            for (int y = 0; y < 30; ++y) {
                for (int x = 0; x < 40 * 4; ++x) {
                    ASSERT_EQ(map.buffer[0][y * map.plane[0].rowStep + x], first)
                        << "sigma " << sigma << " value " << value << " at " << x / 4 << ", " << y;
                }
            }
            if (sigma >= 1) {
                EXPECT_EQ(first, value) << "sigma " << sigma;
            }
        }
    }
}

TEST(GaussianBlur, EmptyRegionChangesNothing)
{
    CImage image = MakeImage(IMAGE_MODE_RGBA, 30, 20, 12);
    const std::vector<unsigned char> before = Bytes(image);
    const RECT outside[] = {{40, 0, 60, 20}, {0, -20, 30, 0}, {10, 10, 10, 15}, {20, 5, 10, 15}};
    for (const RECT& r : outside)
        EXPECT_TRUE(GaussianBlur(&image, 3.0, &r));
    EXPECT_EQ(Bytes(image), before);

    CImage nothing(IMAGE_MODE_RGBA, 0, 0);
    EXPECT_TRUE(GaussianBlur(&nothing, 3.0, nullptr));
}

TEST(GaussianBlur, RefusesWhatItCannotBlur)
{
    for (IMAGE_MODE mode : {IMAGE_MODE_INDEXED, static_cast<IMAGE_MODE>(IMAGE_MODE_ALPHA_BIT | IMAGE_MODE_INDEXED)}) {
        CImage image = MakeImage(mode, 20, 10, 13);
        const std::vector<unsigned char> before = Bytes(image);
        EXPECT_FALSE(GaussianBlur(&image, 2.0, nullptr));
        EXPECT_EQ(Bytes(image), before);
    }
    EXPECT_FALSE(GaussianBlur(nullptr, 2.0, nullptr));

    CImage image = MakeImage(IMAGE_MODE_RGBA, 20, 10, 14);
    const std::vector<unsigned char> before = Bytes(image);
    EXPECT_FALSE(GaussianBlur(&image, INFINITY, nullptr));
    EXPECT_FALSE(GaussianBlurRegion(&image, 0.0, nullptr));
    EXPECT_EQ(Bytes(image), before);

    // An image whose pixels could not be allocated.
    CImage huge(IMAGE_MODE_RGBA, 100000, 100000);
    ASSERT_TRUE(huge.IsEmpty());
    EXPECT_FALSE(GaussianBlur(&huge, 2.0, nullptr));
}

TEST(GaussianBlur, FreePlaneImagesAreLeftAsTheyAre)
{
    CImage image(IMAGE_MODE_PLANES8, 20, 10, 2);
    ASSERT_FALSE(image.IsEmpty());
    const std::vector<unsigned char> before = Bytes(image);
    EXPECT_TRUE(GaussianBlur(&image, 2.0, nullptr));
    EXPECT_EQ(Bytes(image), before);
}

} // namespace
