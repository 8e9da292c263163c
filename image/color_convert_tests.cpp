#include "image/color_convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

using detail::GetConverter;

namespace {

using Rgb = std::array<int, 3>;
using Bytes3 = std::array<int, 3>;

// Every 7th level plus the top one: enough to reach every sector and both lightness halves.
std::vector<int> Levels()
{
    std::vector<int> levels;
    for (int v = 0; v < 256; v += 7)
        levels.push_back(v);
    levels.push_back(255);
    return levels;
}

template <class F> void ForEachGridColor(F f)
{
    const std::vector<int> levels = Levels();
    for (int r : levels)
        for (int g : levels)
            for (int b : levels)
                f(Rgb{r, g, b});
}

// ---- Slow, obvious references: the formulas written out, no tables ----

int RefHueToByte(int hue)
{
    return static_cast<int>(std::floor(2.0 * hue / 3.0 + 0.5));
}
int RefByteToHue(int byte)
{
    return static_cast<int>(std::floor(1.5 * byte + 0.5));
}

int RefHue(const Rgb& c, int max, int d)
{
    const auto [r, g, b] = c;
    int hue = r == max ? 64 * (g - b) / d : g == max ? 64 * (b - r) / d + 128 : 64 * (r - g) / d + 256;
    return hue < 0 ? hue + 384 : hue;
}

Bytes3 RefRgbToHls(const Rgb& c)
{
    const int max = *std::max_element(c.begin(), c.end());
    const int min = *std::min_element(c.begin(), c.end());
    const int l = (max + min) / 2;
    if (max == min)
        return {0, l, 0};
    const int d = max - min;
    const int s = l <= 128 ? 255 * d / (max + min) : 255 * d / (510 - max - min);
    return {s == 0 ? 0 : RefHueToByte(RefHue(c, max, d)), l, s};
}

Bytes3 RefRgbToHsv(const Rgb& c)
{
    const int max = *std::max_element(c.begin(), c.end());
    const int min = *std::min_element(c.begin(), c.end());
    if (max == 0)
        return {0, 0, 0};
    const int s = 255 * (max - min) / max;
    return {s == 0 ? 0 : RefHueToByte(RefHue(c, max, max - min)), s, max};
}

Bytes3 RefRgbToYcc(const Rgb& c)
{
    const auto [r, g, b] = c;
    return {(19595 * r + 38470 * g + 7471 * b + 32768) >> 16, (-11059 * r - 21709 * g + 32768 * b + 8421375) >> 16,
            (32768 * r - 27439 * g - 5329 * b + 8421375) >> 16};
}

Rgb RefYccToRgb(const Bytes3& ycc)
{
    const int y = ycc[0], x = ycc[1] - 128, z = ycc[2] - 128;
    auto clamp = [](int v) { return std::clamp(v, 0, 255); };
    return {clamp(y + ((91881 * z + 32768) >> 16)), clamp(y + ((-22554 * x + 32768 - 46802 * z) >> 16)),
            clamp(y + ((116130 * x + 32768) >> 16))};
}

// Real-valued forms of the inverse transforms, for a tolerance check.
std::array<double, 3> FloatHsvToRgb(const Bytes3& hsv)
{
    const double h = RefByteToHue(hsv[0]), s = hsv[1] / 255.0, v = hsv[2];
    if (hsv[1] == 0)
        return {v, v, v};
    const int i = static_cast<int>(h) / 64;
    const double f = (h - 64 * i) / 64.0;
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
    case 0:
        return {v, t, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, t};
    case 3:
        return {p, q, v};
    case 4:
        return {t, p, v};
    default:
        return {v, p, q};
    }
}

std::array<double, 3> FloatHlsToRgb(const Bytes3& hls)
{
    const double h = RefByteToHue(hls[0]), l = hls[1], s = hls[2];
    if (hls[2] == 0)
        return {l, l, l};
    const double m2 = l <= 128 ? (s + 255) * l / 255 : l + s - s * l / 255;
    const double m1 = 2 * l - m2;
    // Channel value at a hue distance of x (in 64ths of a sector) from the nearest pure m2 region.
    auto channel = [&](double hue) {
        hue = std::fmod(hue + 384, 384);
        double v;
        if (hue < 64)
            v = m1 + (m2 - m1) * hue / 64;
        else if (hue < 192)
            v = m2;
        else if (hue < 256)
            v = m1 + (m2 - m1) * (256 - hue) / 64;
        else
            v = m1;
        return std::min(v, 255.0);
    };
    // Red peaks around hue 0, green around 128, blue around 256: shift each to the green-centred shape.
    return {channel(h + 128), channel(h), channel(h - 128)};
}

// ---- Driving the converters ----

// The mode's bytes for an 8-bit RGB colour, through the 16-bit common form.
std::array<uint8_t, 8> FromCommon(IMAGE_MODE mode, const Rgb& c)
{
    std::array<uint8_t, 8> bytes{};
    for (int i = 0; i < 3; ++i) {
        bytes[2 * i] = static_cast<uint8_t>(c[i] * 257);
        bytes[2 * i + 1] = static_cast<uint8_t>(c[i]);
    }
    GetConverter(mode).PixelFromCommon(bytes.data());
    return bytes;
}

// The 16-bit common samples of a colour given in the mode's bytes.
std::array<int, 3> ToCommon16(IMAGE_MODE mode, std::array<uint8_t, 8> bytes)
{
    GetConverter(mode).PixelToCommon(bytes.data());
    return {bytes[0] | bytes[1] << 8, bytes[2] | bytes[3] << 8, bytes[4] | bytes[5] << 8};
}

// For the 8-bit modes the common form is each byte times 257; returns the 8-bit RGB after checking that.
Rgb ToCommon8(IMAGE_MODE mode, const Bytes3& modeBytes)
{
    const std::array<int, 3> wide =
        ToCommon16(mode, {static_cast<uint8_t>(modeBytes[0]), static_cast<uint8_t>(modeBytes[1]),
                          static_cast<uint8_t>(modeBytes[2])});
    Rgb rgb{};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(wide[i] % 257, 0) << "sample " << i << " is not a byte times 257";
        rgb[i] = wide[i] / 257;
    }
    return rgb;
}

Bytes3 First3(const std::array<uint8_t, 8>& b)
{
    return {b[0], b[1], b[2]};
}

} // namespace

TEST(ColorConvert, KnownColoursFromRgb)
{
    struct Case
    {
        IMAGE_MODE mode;
        Rgb rgb;
        Bytes3 expected;
    };
    const Case cases[] = {
        {IMAGE_MODE_HLS, {255, 0, 0}, {0, 127, 255}},   {IMAGE_MODE_HLS, {0, 255, 0}, {85, 127, 255}},
        {IMAGE_MODE_HLS, {128, 128, 128}, {0, 128, 0}}, {IMAGE_MODE_HLS, {255, 255, 255}, {0, 255, 0}},
        {IMAGE_MODE_HSV, {0, 0, 255}, {171, 255, 255}}, {IMAGE_MODE_HSV, {128, 128, 128}, {0, 0, 128}},
        {IMAGE_MODE_HSV, {0, 0, 0}, {0, 0, 0}},         {IMAGE_MODE_YCBCR, {255, 255, 255}, {255, 128, 128}},
        {IMAGE_MODE_YCBCR, {0, 0, 0}, {0, 128, 128}},   {IMAGE_MODE_RGB, {1, 128, 254}, {1, 128, 254}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(First3(FromCommon(c.mode, c.rgb)), c.expected)
            << "mode " << c.mode << " rgb " << c.rgb[0] << "," << c.rgb[1] << "," << c.rgb[2];
}

TEST(ColorConvert, GreyFromCommonUsesWeightedSixteenBitSum)
{
    // g = (77 R16 + 151 G16 + 28 B16) >> 16 for mode 1, >> 8 into 16 bits for mode 10.
    ForEachGridColor([](const Rgb& c) {
        const int sum = 77 * c[0] * 257 + 151 * c[1] * 257 + 28 * c[2] * 257;
        const auto grey = FromCommon(IMAGE_MODE_GREY, c);
        ASSERT_EQ(grey[0], sum >> 16);
        const auto grey16 = FromCommon(IMAGE_MODE_GREY16, c);
        ASSERT_EQ(grey16[0] | grey16[1] << 8, sum >> 8);
    });
    EXPECT_EQ(FromCommon(IMAGE_MODE_GREY, {255, 0, 0})[0], 76);
    EXPECT_EQ(FromCommon(IMAGE_MODE_GREY, {255, 255, 255})[0], 255);

    EXPECT_EQ(ToCommon16(IMAGE_MODE_GREY, {200}), (std::array<int, 3>{200 * 257, 200 * 257, 200 * 257}));
    EXPECT_EQ(ToCommon16(IMAGE_MODE_GREY16, {0x34, 0x12}), (std::array<int, 3>{0x1234, 0x1234, 0x1234}));
}

TEST(ColorConvert, FromCommonMatchesReferenceFormulas)
{
    ForEachGridColor([](const Rgb& c) {
        ASSERT_EQ(First3(FromCommon(IMAGE_MODE_HLS, c)), RefRgbToHls(c)) << c[0] << "," << c[1] << "," << c[2];
        ASSERT_EQ(First3(FromCommon(IMAGE_MODE_HSV, c)), RefRgbToHsv(c)) << c[0] << "," << c[1] << "," << c[2];
        ASSERT_EQ(First3(FromCommon(IMAGE_MODE_YCBCR, c)), RefRgbToYcc(c)) << c[0] << "," << c[1] << "," << c[2];
        ASSERT_EQ(First3(FromCommon(IMAGE_MODE_RGB, c)), c);
    });
}

TEST(ColorConvert, ToCommonMatchesReferenceFormulas)
{
    // The grid here runs over the mode's own bytes: every hue byte, saturation and lightness combination.
    ForEachGridColor([](const Bytes3& m) {
        ASSERT_EQ(ToCommon8(IMAGE_MODE_YCBCR, m), RefYccToRgb(m)) << m[0] << "," << m[1] << "," << m[2];
        ASSERT_EQ(ToCommon8(IMAGE_MODE_RGB, m), m);

        const Rgb hsv = ToCommon8(IMAGE_MODE_HSV, m);
        const auto hsvExpected = FloatHsvToRgb(m);
        const Rgb hls = ToCommon8(IMAGE_MODE_HLS, m);
        const auto hlsExpected = FloatHlsToRgb(m);
        for (int i = 0; i < 3; ++i) {
            // p, q and t are the real values truncated; the HLS terms truncate more than once.
            ASSERT_EQ(hsv[i], static_cast<int>(std::floor(hsvExpected[i] + 1e-9)))
                << "hsv " << m[0] << "," << m[1] << "," << m[2] << " ch " << i;
            ASSERT_NEAR(hls[i], hlsExpected[i], 2.0) << "hls " << m[0] << "," << m[1] << "," << m[2] << " ch " << i;
        }
    });
}

TEST(ColorConvert, YccToRgbClampsInsteadOfWrapping)
{
    struct Case
    {
        Bytes3 ycc;
        Rgb rgb;
    };
    const Case cases[] = {
        {{255, 128, 255}, {255, 164, 255}}, // red overshoots 255
        {{0, 128, 0}, {0, 91, 0}},          // red falls below 0
        {{255, 255, 128}, {255, 211, 255}}, // blue overshoots
        {{0, 0, 128}, {0, 44, 0}},          // blue falls below 0
        {{0, 255, 255}, {178, 0, 225}},     // green falls below 0
        {{128, 128, 128}, {128, 128, 128}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToCommon8(IMAGE_MODE_YCBCR, c.ycc), c.rgb) << c.ycc[0] << "," << c.ycc[1] << "," << c.ycc[2];
}

TEST(ColorConvert, HlsAtFullSaturationAndMidLightnessStaysBright)
{
    // m2 reaches 256 here; it must saturate at 255 rather than wrap to 0.
    EXPECT_EQ(ToCommon16(IMAGE_MODE_HLS, {0, 128, 255}), (std::array<int, 3>{65535, 0, 0}));
    EXPECT_EQ(ToCommon16(IMAGE_MODE_HLS, {85, 128, 255}), (std::array<int, 3>{0, 65535, 0}));
}

TEST(ColorConvert, HsvRoundTripIsExactOnSectorBoundariesAndGreys)
{
    // Hues 0, 128, 192 and 320 survive the hue byte; blue (256) and yellow (64) do not, whatever q and t do.
    const Rgb colours[] = {{255, 0, 0}, {0, 255, 0},     {0, 255, 255},   {255, 0, 255},
                           {100, 0, 0}, {0, 100, 100},   {200, 100, 100}, {90, 200, 90},
                           {0, 0, 0},   {128, 128, 128}, {255, 255, 255}, {1, 1, 1}};
    for (const Rgb& c : colours)
        EXPECT_EQ(ToCommon8(IMAGE_MODE_HSV, First3(FromCommon(IMAGE_MODE_HSV, c))), c)
            << c[0] << "," << c[1] << "," << c[2];
    // Greys of every level.
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(ToCommon8(IMAGE_MODE_HSV, First3(FromCommon(IMAGE_MODE_HSV, {v, v, v}))), (Rgb{v, v, v}));
        ASSERT_EQ(ToCommon8(IMAGE_MODE_HLS, First3(FromCommon(IMAGE_MODE_HLS, {v, v, v}))), (Rgb{v, v, v}));
    }
}

TEST(ColorConvert, OtherModesPassSixteenBitRgbThrough)
{
    // The converter is picked by the whole value: RGB with alpha is not RGB.
    const IMAGE_MODE modes[] = {IMAGE_MODE_NONE,
                                IMAGE_MODE_INDEXED,
                                IMAGE_MODE_RGB16,
                                IMAGE_MODE_PLANES8,
                                IMAGE_MODE_PLANES64,
                                IMAGE_MODE_ALPHA8,
                                IMAGE_MODE_ALPHA16,
                                IMAGE_MODE_RGBA,
                                IMAGE_MODE_COVERAGE,
                                static_cast<IMAGE_MODE>(0x80000001u),
                                static_cast<IMAGE_MODE>(0x80000100u),
                                static_cast<IMAGE_MODE>(4)};
    const std::array<uint8_t, 8> bytes = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    for (IMAGE_MODE mode : modes) {
        std::array<uint8_t, 8> b = bytes;
        GetConverter(mode).PixelToCommon(b.data());
        EXPECT_EQ(b, bytes) << "mode " << mode;
        GetConverter(mode).PixelFromCommon(b.data());
        EXPECT_EQ(b, bytes) << "mode " << mode;
    }
}

namespace {

// What one pixel of a row conversion should give, per mode.
struct RowMode
{
    IMAGE_MODE mode;
    int samplesPerPixel;
    int sampleBytes;
};

// Expected mode samples (as integers of the sample size) for an 8-bit RGB pixel.
std::vector<int> ExpectedRowFrom(const RowMode& m, const Rgb& c)
{
    switch (m.mode) {
    case IMAGE_MODE_GREY:
        return {(77 * c[0] + 151 * c[1] + 28 * c[2]) / 256};
    case IMAGE_MODE_GREY16:
        return {77 * c[0] + 151 * c[1] + 28 * c[2]};
    case IMAGE_MODE_RGB16:
        return {c[0] * 257, c[1] * 257, c[2] * 257};
    default: {
        // The 8-bit three-sample modes agree with the single-colour conversion.
        const Bytes3 b = First3(FromCommon(m.mode, c));
        return {b[0], b[1], b[2]};
    }
    }
}

Rgb ExpectedRowTo(const RowMode& m, const std::vector<int>& s)
{
    switch (m.mode) {
    case IMAGE_MODE_GREY:
        return {s[0], s[0], s[0]};
    case IMAGE_MODE_GREY16:
        return {s[0] >> 8, s[0] >> 8, s[0] >> 8};
    case IMAGE_MODE_RGB16:
        return {s[0] >> 8, s[1] >> 8, s[2] >> 8};
    default:
        return ToCommon8(m.mode, {s[0], s[1], s[2]});
    }
}

int ReadSample(const uint8_t* p, int bytes)
{
    return bytes == 1 ? p[0] : p[0] | p[1] << 8;
}

} // namespace

TEST(ColorConvert, RowsConvertEveryPixelWithTheirStepsAndTouchNothingElse)
{
    const RowMode modes[] = {{IMAGE_MODE_GREY, 1, 1}, {IMAGE_MODE_RGB, 3, 1},    {IMAGE_MODE_HLS, 3, 1},
                             {IMAGE_MODE_HSV, 3, 1},  {IMAGE_MODE_GREY16, 1, 2}, {IMAGE_MODE_YCBCR, 3, 1},
                             {IMAGE_MODE_RGB16, 3, 2}};
    constexpr uint8_t kUntouched = 0xEE;
    const std::vector<int> levels = Levels();
    const int width = static_cast<int>(levels.size());
    const int rows = 3;

    // Source RGB: 4 samples per pixel, rows padded by 5 bytes, starting one byte in (unaligned).
    const int rgbStep = 4, rgbRow = width * rgbStep + 5;
    std::vector<uint8_t> rgb(1 + rgbRow * rows, kUntouched);
    uint8_t* rgbStart = rgb.data() + 1;
    auto colourAt = [&](int x, int y) {
        return Rgb{levels[x], levels[(x + 11 * y) % width], levels[(x * 5 + y) % width]};
    };
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x)
            for (int i = 0; i < 3; ++i)
                rgbStart[y * rgbRow + x * rgbStep + i] = static_cast<uint8_t>(colourAt(x, y)[i]);

    for (const RowMode& m : modes) {
        SCOPED_TRACE(testing::Message() << "mode " << m.mode);
        const int step = m.samplesPerPixel + 1; // in samples
        const int row = width * step * m.sampleBytes + 3;
        std::vector<uint8_t> modeBuf(1 + row * rows, kUntouched);
        uint8_t* modeStart = modeBuf.data() + 1;
        const auto& conv = GetConverter(m.mode);
        conv.RowFromCommon(rgbStart, rgbStep, rgbRow, modeStart, step, row, width, rows);

        std::vector<uint8_t> expectedBuf(modeBuf.size(), kUntouched);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < width; ++x) {
                const std::vector<int> samples = ExpectedRowFrom(m, colourAt(x, y));
                for (int i = 0; i < m.samplesPerPixel; ++i)
                    for (int k = 0; k < m.sampleBytes; ++k)
                        expectedBuf[1 + y * row + (x * step + i) * m.sampleBytes + k] =
                            static_cast<uint8_t>(samples[i] >> (8 * k));
            }
        ASSERT_EQ(modeBuf, expectedBuf);

        // And back, into a differently strided RGB buffer.
        const int backStep = 5, backRow = width * backStep + 2;
        std::vector<uint8_t> back(1 + backRow * rows, kUntouched);
        conv.RowToCommon(modeStart, step, row, back.data() + 1, backStep, backRow, width, rows);
        std::vector<uint8_t> expectedBack(back.size(), kUntouched);
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < width; ++x) {
                std::vector<int> samples;
                for (int i = 0; i < m.samplesPerPixel; ++i)
                    samples.push_back(ReadSample(modeStart + y * row + (x * step + i) * m.sampleBytes, m.sampleBytes));
                const Rgb c = ExpectedRowTo(m, samples);
                for (int i = 0; i < 3; ++i)
                    expectedBack[1 + y * backRow + x * backStep + i] = static_cast<uint8_t>(c[i]);
            }
        ASSERT_EQ(back, expectedBack);

        // A count of zero writes nothing.
        std::vector<uint8_t> copy = back;
        conv.RowToCommon(modeStart, step, row, back.data() + 1, backStep, backRow, 0, rows);
        conv.RowFromCommon(back.data() + 1, backStep, backRow, modeStart, step, row, width, 0);
        EXPECT_EQ(back, copy);
    }
}

TEST(ColorConvert, RowsInPlace)
{
    // RGB onto the same rows with the same steps is left alone; other modes still convert in place.
    uint8_t row[2][6] = {{255, 0, 0, 1, 2, 3}, {4, 5, 6, 7, 8, 9}};
    const auto& rgb = GetConverter(IMAGE_MODE_RGB);
    rgb.RowToCommon(&row[0][0], 3, 6, &row[0][0], 3, 6, 2, 2);
    rgb.RowFromCommon(&row[0][0], 3, 6, &row[0][0], 3, 6, 2, 2);
    EXPECT_EQ(std::vector<uint8_t>(&row[0][0], &row[0][0] + 12),
              (std::vector<uint8_t>{255, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

    GetConverter(IMAGE_MODE_HLS).RowFromCommon(&row[0][0], 3, 6, &row[0][0], 3, 6, 1, 1);
    EXPECT_EQ(std::vector<uint8_t>(&row[0][0], &row[0][0] + 3), (std::vector<uint8_t>{0, 127, 255}));
}
