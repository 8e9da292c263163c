#include "app/model/gradient_info.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "app/model/record_stream.h"
#include "app/model/stream_test_support.h"

namespace {

std::vector<BYTE> Written(const CGradientInfo& g)
{
    CMemFile file;
    g.Write(file);
    return FileBytes(file);
}

CGradientInfo ReadBack(const std::vector<BYTE>& bytes)
{
    auto file = FileOf(bytes);
    CGradientInfo g;
    g.Read(*file, kCurrentMajorVersion, kCurrentMinorVersion);
    EXPECT_EQ(file->GetPosition(), bytes.size()) << "the whole record is read";
    return g;
}

std::vector<BYTE> DoubleBytes(double v)
{
    CMemFile file;
    WriteDouble(file, v);
    return FileBytes(file);
}

// A hand-built record: start 1,2,3, end 4,5,6, one stop (7,8,9 / 10,11,12 at 0.25), custom, 90 degrees.
std::vector<BYTE> HandBuiltRecord(int32_t count = 1, double position = 0.25)
{
    return Concat({{1, 2, 3, 4, 5, 6},
                   LE32(static_cast<uint32_t>(count)),
                   {7, 8, 9, 10, 11, 12},
                   DoubleBytes(position),
                   LE32(0xFFFFFFFFu),
                   LE32(90)});
}

// The rendered image as RGB bytes, row after row, without padding.
struct Pixels
{
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * w + x)]; }
    int grey(int x, int y) const { return at(x, y)[0]; }
};

Pixels PixelsOf(const CImage& image)
{
    Pixels p;
    p.w = image.Width();
    p.h = image.Height();
    CPixMap map(IMAGE_MODE_RGB, p.w, p.h);
    EXPECT_TRUE(image.GetBuf(0, 0, map));
    p.rgb.resize(3 * static_cast<size_t>(p.w) * p.h);
    for (int y = 0; y < p.h; ++y)
        std::memcpy(&p.rgb[3 * static_cast<size_t>(y) * p.w], map.Sample(0, y, 0), 3 * static_cast<size_t>(p.w));
    return p;
}

Pixels Render(const CGradientInfo& g, int w, int h)
{
    CImage image(IMAGE_MODE_RGB, w, h);
    EXPECT_TRUE(g.Render(&image));
    return PixelsOf(image);
}

CGradientInfo BlackToWhite(int angle)
{
    CGradientInfo g;
    CGradientModel::GetPredefinedGradient(g, 1);
    g.angle = angle;
    return g;
}

// The obvious form of the renderer: every pixel on its own, in doubles, no tiles and no fixed point.
Pixels ReferenceRender(const CGradientInfo& g, int w, int h)
{
    const double rad = g.angle * M_PI / 180.0;
    double c = std::cos(rad), s = std::sin(rad);
    if (std::fabs(c) < 1e-12)
        c = 0;
    if (std::fabs(s) < 1e-12)
        s = 0;
    const int n = std::max(2, static_cast<int>(w * std::fabs(c) + h * std::fabs(s)));
    std::vector<unsigned char> band(3 * n);
    CGradientModel::BuildColorBand(&g, band.data(), n);
    double pMin = 1e300, pMax = -1e300;
    for (double x : {0.5, w - 0.5})
        for (double y : {0.5, h - 0.5}) {
            pMin = std::min(pMin, x * c - y * s);
            pMax = std::max(pMax, x * c - y * s);
        }
    // The corner centres sit 1/128 of an entry outside the band, as the renderer places them.
    const double margin = pMax > pMin ? 1.0 / 128.0 : 0.0;
    const double scale = pMax > pMin ? (n - 1 + 2 * margin) / (pMax - pMin) : 0.0;
    const auto& weights = detail::GetCubicWeights();
    Pixels p;
    p.w = w;
    p.h = h;
    p.rgb.resize(3 * static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double pos = std::clamp(((x + 0.5) * c - (y + 0.5) * s - pMin) * scale - margin, 0.0, n - 1.0);
            int i = static_cast<int>(pos);
            int row = static_cast<int>((pos - i) * 256);
            for (int ch = 0; ch < 3; ++ch) {
                int sum = 0;
                for (int k = 0; k < 4; ++k)
                    sum += weights[row][k] * band[3 * std::clamp(i - 1 + k, 0, n - 1) + ch];
                p.rgb[3 * (static_cast<size_t>(y) * w + x) + ch] =
                    static_cast<unsigned char>(std::clamp(sum >> 12, 0, 255));
            }
        }
    return p;
}

} // namespace

TEST(GradientInfo, DefaultsAndEquality)
{
    CGradientInfo g;
    EXPECT_EQ(g.predefined, 0);
    EXPECT_EQ(g.angle, 0);
    EXPECT_EQ(g.start.GetCOLORREF(), RGB(255, 255, 255));
    EXPECT_EQ(g.end.GetCOLORREF(), RGB(0, 0, 0));
    EXPECT_EQ(g.GetStopCount(), 0u);

    CGradientInfo other = g;
    other.predefined = -1;
    EXPECT_TRUE(g == other) << "the predefined index is not compared";
    other.angle = 1;
    EXPECT_FALSE(g == other);

    // Setting the colours keeps the angle.
    GRADIENTCOLORS rainbow;
    CGradientModel::GetPredefinedGradient(rainbow, 3);
    other.SetGradientColors(rainbow);
    EXPECT_EQ(other.angle, 1);
    EXPECT_EQ(other.predefined, 3);
    EXPECT_TRUE(CGradientModel::IsGradientEqual(other, rainbow));
    EXPECT_TRUE(*other.Clone() == other);
}

TEST(GradientInfo, BinaryForm)
{
    CGradientInfo g;
    EXPECT_EQ(Written(g).size(), 18u) << "no stops: 3 + 3 + 4 + 4 + 4";

    CGradientInfo hand;
    hand.start = CColor(1, 2, 3);
    hand.end = CColor(4, 5, 6);
    hand.RemoveAllStops();
    hand.AddStop(0.25, CColor(7, 8, 9), CColor(10, 11, 12));
    hand.predefined = -1;
    hand.angle = 90;
    EXPECT_EQ(Written(hand), HandBuiltRecord());

    CGradientInfo back = ReadBack(HandBuiltRecord());
    EXPECT_TRUE(back == hand);
    EXPECT_EQ(back.predefined, -1);
    EXPECT_EQ(back.leftColors[0].GetMode(), IMAGE_MODE_RGB);

    CGradientInfo rainbow;
    CGradientModel::GetPredefinedGradient(rainbow, 3);
    rainbow.angle = -45;
    CGradientInfo rainbowBack = ReadBack(Written(rainbow));
    EXPECT_TRUE(rainbowBack == rainbow);
    EXPECT_EQ(rainbowBack.predefined, 3);
}

TEST(GradientInfo, BadStopCountsAndShortReadsRaise)
{
    for (int32_t count : {-1, std::numeric_limits<int32_t>::min(), 2, 1000, std::numeric_limits<int32_t>::max()}) {
        SCOPED_TRACE(count);
        auto file = FileOf(HandBuiltRecord(count));
        CGradientInfo g;
        EXPECT_TRUE(RaisesBadData([&] { g.Read(*file, 5, 15); }));
    }
    const std::vector<BYTE> whole = HandBuiltRecord();
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        auto file = FileOf(std::vector<BYTE>(whole.begin(), whole.begin() + cut));
        CGradientInfo g;
        EXPECT_TRUE(RaisesBadData([&] { g.Read(*file, 5, 15); })) << "cut at " << cut;
    }
}

TEST(GradientInfo, StopPositionsAreBroughtIntoRange)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct
    {
        double stored, read;
    } cases[] = {{0.25, 0.25}, {-0.5, 0.0}, {1.5, 1.0}, {nan, 0.0}, {-inf, 0.0}, {inf, 1.0}, {1.0, 1.0}, {0.0, 0.0}};
    for (const auto& c : cases) {
        CGradientInfo g = ReadBack(HandBuiltRecord(1, c.stored));
        EXPECT_EQ(g.positions[0], c.read) << c.stored;
    }
}

TEST(GradientInfo, WeightTable)
{
    const auto& w = detail::GetCubicWeights();
    EXPECT_EQ(w[0], (std::array<int, 4>{0, 4096, 0, 0}));
    EXPECT_EQ(w[128], (std::array<int, 4>{-512, 2560, 2560, -512}));
    EXPECT_EQ(&w, &detail::GetCubicWeights()) << "one table for the program";
}

// Black to white at many angles: black at the start corner, white at the opposite one, and the grey never falls
// going along the axis.
TEST(GradientInfo, RenderRunsAlongTheAngle)
{
    struct Case
    {
        int angle;
        int startX, startY; // the start corner, as 0 (left / top) or 1 (right / bottom)
    };
    const Case cases[] = {{0, 0, 0},   {30, 0, 1},  {45, 0, 1},  {90, 0, 1},  {135, 1, 1}, {180, 1, 0},
                          {225, 1, 0}, {270, 0, 0}, {315, 0, 0}, {-90, 0, 0}, {450, 0, 1}, {359, 0, 0}};
    const int w = 300, h = 270; // more than one tile each way
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "angle " << c.angle);
        Pixels p = Render(BlackToWhite(c.angle), w, h);
        const int sx = c.startX ? w - 1 : 0, sy = c.startY ? h - 1 : 0;
        if (c.angle % 90 == 0) {
            // The whole start edge.
            for (int i = 0; i < (c.angle % 180 == 0 ? h : w); ++i) {
                const int x = c.angle % 180 == 0 ? sx : i, y = c.angle % 180 == 0 ? i : sy;
                ASSERT_EQ(p.grey(x, y), 0) << x << "," << y;
                ASSERT_EQ(p.grey(w - 1 - x, h - 1 - y), 255) << x << "," << y;
            }
        }
        EXPECT_EQ(p.grey(sx, sy), 0);
        EXPECT_EQ(p.grey(w - 1 - sx, h - 1 - sy), 255);

        // Cubic interpolation of a band that climbs one grey level at a time may dip by one level; it never
        // falls further below what was already reached along the axis, and tiles do not show.
        const double rad = c.angle * M_PI / 180.0;
        const int dx = std::cos(rad) > 1e-9 ? 1 : (std::cos(rad) < -1e-9 ? -1 : 0);
        const int dy = std::sin(rad) > 1e-9 ? -1 : (std::sin(rad) < -1e-9 ? 1 : 0);
        for (int y = 0; y < h; ++y) {
            int reached = dx > 0 ? p.grey(0, y) : p.grey(w - 1, y);
            for (int i = 0; i < w; ++i) {
                const int x = dx >= 0 ? i : w - 1 - i;
                const unsigned char* px = p.at(x, y);
                ASSERT_TRUE(px[0] == px[1] && px[1] == px[2]) << x << "," << y;
                if (dx != 0) {
                    ASSERT_GE(p.grey(x, y), reached - 1) << x << "," << y;
                    reached = std::max(reached, p.grey(x, y));
                } else if (x > 0) {
                    ASSERT_EQ(p.grey(x, y), p.grey(x - 1, y)) << "identical columns";
                }
            }
        }
        for (int x = 0; x < w; ++x) {
            int reached = dy > 0 ? p.grey(x, 0) : p.grey(x, h - 1);
            for (int i = 0; i < h; ++i) {
                const int y = dy >= 0 ? i : h - 1 - i;
                if (dy != 0) {
                    ASSERT_GE(p.grey(x, y), reached - 1) << x << "," << y;
                    reached = std::max(reached, p.grey(x, y));
                } else if (y > 0) {
                    ASSERT_EQ(p.grey(x, y), p.grey(x, y - 1)) << "identical rows";
                }
            }
        }
    }
}

TEST(GradientInfo, RenderMatchesThePixelByPixelReference)
{
    CGradientInfo rainbow;
    CGradientModel::GetPredefinedGradient(rainbow, 3);
    for (int angle : {0, 20, 90, 160, 200, 300}) {
        SCOPED_TRACE(angle);
        rainbow.angle = angle;
        const int w = 600, h = 280;
        Pixels fast = Render(rainbow, w, h);
        Pixels slow = ReferenceRender(rainbow, w, h);
        int worst = 0;
        for (size_t i = 0; i < fast.rgb.size(); ++i)
            worst = std::max(worst, std::abs(fast.rgb[i] - slow.rgb[i]));
        // Rounding of the fixed-point positions may pick the neighbouring weight row.
        EXPECT_LE(worst, 2);
    }
}

TEST(GradientInfo, RenderTargets)
{
    CGradientInfo g = BlackToWhite(0);
    EXPECT_FALSE(g.Render(nullptr));
    CImage grey(IMAGE_MODE_GREY, 10, 10);
    EXPECT_FALSE(g.Render(&grey)) << "only RGB images take a gradient";
    CImage none;
    EXPECT_TRUE(g.Render(&none)) << "nothing to paint";

    // Tiny targets still get the start colour at the start.
    for (auto [w, h] : {std::pair{1, 1}, std::pair{2, 1}, std::pair{1, 5}}) {
        Pixels p = Render(g, w, h);
        EXPECT_EQ(p.grey(0, 0), 0);
        EXPECT_EQ(p.grey(w - 1, 0), w == 1 ? 0 : 255);
    }

    // With alpha: the colours are painted, the alpha plane stays.
    CImage rgba(IMAGE_MODE_RGBA, 4, 1);
    CPixMap in(IMAGE_MODE_RGBA, 4, 1);
    std::memset(in.plane[0].data, 77, in.bufferSize[0]);
    rgba.SetBuf(0, 0, in);
    EXPECT_TRUE(g.Render(&rgba));
    CPixMap out(IMAGE_MODE_RGBA, 4, 1);
    rgba.GetBuf(0, 0, out);
    EXPECT_EQ(*out.Sample(0, 0, 0), 77);
    EXPECT_EQ(*out.Sample(3, 0, 1), 255);
}
