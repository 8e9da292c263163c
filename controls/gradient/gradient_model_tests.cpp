#include "controls/gradient/gradient_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/win/win_types.h"

namespace {

COLORREF Ref(const CColor& c)
{
    return c.GetCOLORREF();
}

// Builds a band of n pixels with guard bytes on either side and checks that the guards survive.
std::vector<unsigned char> Band(const GRADIENTCOLORS& g, int n)
{
    const size_t guard = 16;
    std::vector<unsigned char> buf(guard + 3 * static_cast<size_t>(n) + guard, 0xA5);
    CGradientModel::BuildColorBand(&g, buf.data() + guard, n);
    for (size_t i = 0; i < guard; ++i) {
        EXPECT_EQ(buf[i], 0xA5) << "written before the band";
        EXPECT_EQ(buf[buf.size() - 1 - i], 0xA5) << "written after the band";
    }
    return std::vector<unsigned char>(buf.begin() + guard, buf.end() - guard);
}

COLORREF PixelAt(const std::vector<unsigned char>& band, int i)
{
    return RGB(band[3 * i], band[3 * i + 1], band[3 * i + 2]);
}

GRADIENTCOLORS Predefined(int n)
{
    GRADIENTCOLORS g;
    CGradientModel::GetPredefinedGradient(g, n);
    return g;
}

} // namespace

TEST(GradientModel, PredefinedGradients)
{
    struct Case
    {
        int n;
        COLORREF start, end;
        std::vector<double> positions;
        std::vector<COLORREF> left, right;
        const char* name;
    };
    const Case cases[] = {
        {0, RGB(255, 255, 255), RGB(0, 0, 0), {}, {}, {}, "White to black"},
        {1, RGB(0, 0, 0), RGB(255, 255, 255), {}, {}, {}, "Black to white"},
        {2, RGB(0, 0, 255), RGB(255, 255, 255), {0.1}, {RGB(0, 0, 255)}, {RGB(255, 255, 255)}, "Blue border"},
        {3,
         RGB(255, 0, 0),
         RGB(255, 0, 0),
         {0.1666666, 0.3333333, 0.5, 0.6666666, 0.8333333},
         {RGB(255, 0, 255), RGB(0, 0, 255), RGB(0, 255, 255), RGB(0, 255, 0), RGB(255, 255, 0)},
         {RGB(255, 0, 255), RGB(0, 0, 255), RGB(0, 255, 255), RGB(0, 255, 0), RGB(255, 255, 0)},
         "Rainbow"},
    };
    EXPECT_EQ(CGradientModel::GetPredefinedNo(), 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        GRADIENTCOLORS g;
        // Leftover stops must go.
        g.AddStop(0.5, CColor(COLOR_RED), CColor(COLOR_RED));
        CGradientModel::GetPredefinedGradient(g, c.n);
        EXPECT_EQ(g.predefined, c.n);
        EXPECT_EQ(Ref(g.start), c.start);
        EXPECT_EQ(Ref(g.end), c.end);
        ASSERT_EQ(g.positions.size(), c.positions.size());
        ASSERT_EQ(g.leftColors.size(), c.positions.size());
        ASSERT_EQ(g.rightColors.size(), c.positions.size());
        for (size_t i = 0; i < c.positions.size(); ++i) {
            EXPECT_EQ(g.positions[i], c.positions[i]); // the exact doubles
            EXPECT_EQ(Ref(g.leftColors[i]), c.left[i]);
            EXPECT_EQ(Ref(g.rightColors[i]), c.right[i]);
            EXPECT_EQ(g.leftColors[i].GetMode(), IMAGE_MODE_RGB);
        }
        EXPECT_STREQ(CGradientModel::GetGradientName(c.n), c.name);
        EXPECT_EQ(CGradientModel::GetGradientNameId(c.n), 6 + c.n);
    }
    for (int custom : {-1, 4, 100}) {
        EXPECT_STREQ(CGradientModel::GetGradientName(custom), "Custom");
        EXPECT_EQ(CGradientModel::GetGradientNameId(custom), 10);
    }
}

TEST(GradientModel, UnknownPredefinedNumberLeavesRecordAlone)
{
    for (int n : {-1, 4, 1000}) {
        GRADIENTCOLORS g = Predefined(3);
        g.predefined = 7;
        CGradientModel::GetPredefinedGradient(g, n);
        EXPECT_EQ(g.predefined, 7);
        EXPECT_EQ(g.GetStopCount(), 5u);
        EXPECT_TRUE(CGradientModel::IsGradientEqual(g, Predefined(3)));
    }
}

TEST(GradientModel, BandAtChosenPixels)
{
    GRADIENTCOLORS stopAtOne = Predefined(1);
    stopAtOne.AddStop(1.0, CColor(COLOR_RED), CColor(COLOR_GREEN));
    GRADIENTCOLORS stopAtZero = Predefined(1);
    stopAtZero.AddStop(0.0, CColor(COLOR_RED), CColor(COLOR_GREEN));

    struct Expect
    {
        int pixel;
        COLORREF color;
    };
    struct Case
    {
        const char* what;
        GRADIENTCOLORS g;
        int n;
        std::vector<Expect> expect;
    };
    const Case cases[] = {
        // 255 + (-255) / 2, the division truncating toward zero.
        {"white to black, 3 pixels",
         Predefined(0),
         3,
         {{0, RGB(255, 255, 255)}, {1, RGB(128, 128, 128)}, {2, RGB(0, 0, 0)}}},
        {"black to white, 256 pixels", Predefined(1), 256, {{0, 0}, {1, RGB(1, 1, 1)}, {255, RGB(255, 255, 255)}}},
        {"blue border, 11 pixels",
         Predefined(2),
         11,
         {{0, RGB(0, 0, 255)}, {1, RGB(0, 0, 255)}, {2, RGB(255, 255, 255)}, {10, RGB(255, 255, 255)}}},
        {"stop at 1 replaces the end colour", stopAtOne, 5, {{0, 0}, {2, RGB(127, 0, 0)}, {4, RGB(255, 0, 0)}}},
        {"stop at 0 replaces the start colour",
         stopAtZero,
         5,
         {{0, RGB(0, 255, 0)}, {2, RGB(127, 255, 127)}, {4, RGB(255, 255, 255)}}},
        // Rainbow over 7 pixels: a = 6, stops at pixels 0/1, 1/2, 3/4, 3/4, 4/5.
        {"rainbow, 7 pixels",
         Predefined(3),
         7,
         {{0, RGB(255, 0, 255)}, {1, RGB(0, 0, 255)}, {3, RGB(0, 255, 0)}, {5, RGB(255, 255, 0)}, {6, RGB(255, 0, 0)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> band = Band(c.g, c.n);
        for (const Expect& e : c.expect)
            EXPECT_EQ(PixelAt(band, e.pixel), e.color) << "pixel " << e.pixel;
    }
}

TEST(GradientModel, BandIsMonotonicBetweenEnds)
{
    std::vector<unsigned char> band = Band(Predefined(0), 1000);
    for (int i = 1; i < 1000; ++i)
        ASSERT_LE(band[3 * i], band[3 * (i - 1)]) << i;
    EXPECT_EQ(band[0], 255);
    EXPECT_EQ(band[3 * 999], 0);
}

// Stop positions come from files; whatever they hold, the builder stays inside its band and positions outside
// 0..1 act as the nearest end.
TEST(GradientModel, HostileStopPositionsStayInsideTheBand)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> hostile = {-1.0, 2.0, 1e300, -1e300, inf, -inf, nan, 0.9999999999, 1e-300, -0.0};
    for (int n : {1, 2, 3, 17, 300}) {
        for (double pos : hostile) {
            SCOPED_TRACE(testing::Message() << "n " << n << " position " << pos);
            GRADIENTCOLORS g = Predefined(0);
            g.AddStop(pos, CColor(COLOR_RED), CColor(COLOR_GREEN));
            std::vector<unsigned char> band = Band(g, n);
            if (n >= 3 && (std::isnan(pos) || pos <= 0.0)) {
                EXPECT_EQ(PixelAt(band, 0), RGB(0, 255, 0)); // at 0: the right colour
            }
            if (n >= 3 && pos >= 1.0) {
                EXPECT_EQ(PixelAt(band, n - 1), RGB(255, 0, 0)); // at 1: the left colour
            }
        }
        // Unsorted stops and all the hostile ones in one record.
        GRADIENTCOLORS g = Predefined(3);
        for (double pos : hostile)
            g.AddStop(pos, CColor(COLOR_BLUE), CColor(COLOR_YELLOW));
        g.AddStop(0.2, CColor(COLOR_BLUE), CColor(COLOR_YELLOW));
        Band(g, n);
    }
}

TEST(GradientModel, BandToleratesArraysOfDifferentLengthsAndNoBand)
{
    GRADIENTCOLORS g = Predefined(2);
    g.leftColors.clear(); // only the stop count all arrays share is used
    std::vector<unsigned char> band = Band(g, 11);
    EXPECT_EQ(PixelAt(band, 1), RGB(25, 25, 255));

    unsigned char untouched[3] = {1, 2, 3};
    CGradientModel::BuildColorBand(&g, untouched, 0);
    CGradientModel::BuildColorBand(&g, untouched, -5);
    CGradientModel::BuildColorBand(nullptr, untouched, 1);
    EXPECT_EQ(untouched[0], 1);
    EXPECT_EQ(untouched[2], 3);
}

TEST(GradientModel, Equality)
{
    GRADIENTCOLORS a = Predefined(3);
    GRADIENTCOLORS b = a;
    b.predefined = -1;
    EXPECT_TRUE(CGradientModel::IsGradientEqual(a, b)) << "the predefined index is not compared";

    struct Change
    {
        const char* what;
        void (*apply)(GRADIENTCOLORS&);
    };
    const Change changes[] = {
        {"start", [](GRADIENTCOLORS& g) { g.start = CColor(1, 0, 0); }},
        {"end", [](GRADIENTCOLORS& g) { g.end = CColor(255, 0, 1); }},
        {"left", [](GRADIENTCOLORS& g) { g.leftColors[2] = CColor(0, 254, 255); }},
        {"right", [](GRADIENTCOLORS& g) { g.rightColors[4] = CColor(255, 255, 1); }},
        {"position", [](GRADIENTCOLORS& g) { g.positions[0] = 1.0 / 6.0; }},
        {"stop count", [](GRADIENTCOLORS& g) { g.AddStop(0.9, CColor(), CColor()); }},
    };
    for (const Change& c : changes) {
        GRADIENTCOLORS changed = a;
        c.apply(changed);
        EXPECT_FALSE(CGradientModel::IsGradientEqual(a, changed)) << c.what;
        EXPECT_FALSE(CGradientModel::IsGradientEqual(changed, a)) << c.what;
    }
}
