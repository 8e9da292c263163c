#include "platform/transform/rotate_scale.h"

#include "platform/win/win_types.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// An image whose pixel (x, y) gets sample p = fill(x, y, p).
template <class Fill> CImage MakeImage(IMAGE_MODE mode, int w, int h, Fill fill)
{
    CImage image(mode, w, h);
    const int planes = image.GetPlanes(), stride = image.GetStride();
    auto* bytes = new unsigned char[image.GetDataSize()]();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int p = 0; p < planes; ++p)
                bytes[y * stride + x * planes + p] = static_cast<unsigned char>(fill(x, y, p));
    image.SetData(auto_array<unsigned char>(bytes));
    return image;
}

unsigned char Sample(const CImage& image, int x, int y, int p)
{
    return image.GetData()[y * image.GetStride() + x * image.GetPlanes() + p];
}

// Where the outlines put a point turned by angle about (cx, cy).
DPOINT TurnLikeOutline(double x, double y, double cx, double cy, double angle)
{
    const double a = -angle, dx = x - cx, dy = y - cy;
    return {cx + dx * std::cos(a) - dy * std::sin(a), cy + dx * std::sin(a) + dy * std::cos(a)};
}

// The whole-pixel box of the turned w x h rectangle, as the result must cover it.
CRect TurnedBox(int w, int h, double cx, double cy, double angle)
{
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (DPOINT p : {DPOINT{0, 0}, DPOINT{double(w), 0}, DPOINT{0, double(h)}, DPOINT{double(w), double(h)}}) {
        DPOINT q = TurnLikeOutline(p.x, p.y, cx, cy, angle);
        minX = std::min(minX, q.x);
        maxX = std::max(maxX, q.x);
        minY = std::min(minY, q.y);
        maxY = std::max(maxY, q.y);
    }
    auto fl = [](double v) { return int(std::floor(v + 1e-9)); };
    auto ce = [](double v) { return int(std::ceil(v - 1e-9)); };
    return CRect(fl(minX), fl(minY), ce(maxX), ce(maxY));
}

TEST(RotateScale, QuarterTurnsLandPixelsWhereTheOutlineFormulaPutsThem)
{
    // 4 x 2 with every pixel different: a mirror or a turn the wrong way shows.
    const int w = 4, h = 2;
    for (IMAGE_MODE mode : {IMAGE_MODE_RGB, IMAGE_MODE_RGBA}) {
        const bool alpha = mode == IMAGE_MODE_RGBA;
        CImage source = MakeImage(mode, w, h, [&](int x, int y, int p) {
            if (alpha && p == 0)
                return 255;
            return 10 + 40 * y + 10 * x + p;
        });
        for (double angle : {kPi / 2, kPi, 3 * kPi / 2, 2 * kPi - kPi / 2, 2 * kPi}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " angle " << angle);
            DPOINT centre{w / 2.0, h / 2.0};
            auto result = CRotateScale(source).Transform(w, h, angle, &centre, nullptr);
            ASSERT_TRUE(result);
            const CRect box = TurnedBox(w, h, centre.x, centre.y, angle);
            ASSERT_EQ(result->Width(), box.Width());
            ASSERT_EQ(result->Height(), box.Height());
            EXPECT_EQ(result->GetMode(), mode);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    DPOINT q = TurnLikeOutline(x + 0.5, y + 0.5, centre.x, centre.y, angle);
                    const int tx = int(std::floor(q.x - box.left)), ty = int(std::floor(q.y - box.top));
                    for (int p = 0; p < source.GetPlanes(); ++p)
                        EXPECT_EQ(Sample(*result, tx, ty, p), Sample(source, x, y, p)) << x << "," << y << " p" << p;
                }
            }
        }
    }
}

TEST(RotateScale, AnyAngleMovesAMarkWhereTheOutlineFormulaPutsIt)
{
    // A 2 x 2 mark in a coverage image; its weighted centre must follow the turn.
    const int w = 20, h = 10;
    CImage source = MakeImage(IMAGE_MODE_COVERAGE, w, h,
                              [](int x, int y, int) { return (x >= 3 && x < 5 && y >= 2 && y < 4) ? 255 : 0; });
    for (double angle : {0.5, 2.0, 2 * kPi - 0.3}) {
        SCOPED_TRACE(angle);
        auto result = CRotateScale(source).Transform(w, h, angle, nullptr, nullptr);
        ASSERT_TRUE(result);
        const CRect box = TurnedBox(w, h, w / 2.0, h / 2.0, angle);
        ASSERT_EQ(result->Width(), box.Width());
        ASSERT_EQ(result->Height(), box.Height());
        double sum = 0, sx = 0, sy = 0;
        for (int y = 0; y < result->Height(); ++y) {
            for (int x = 0; x < result->Width(); ++x) {
                double v = Sample(*result, x, y, 0);
                sum += v;
                sx += v * (x + 0.5);
                sy += v * (y + 0.5);
            }
        }
        DPOINT want = TurnLikeOutline(4, 3, w / 2.0, h / 2.0, angle);
        ASSERT_GT(sum, 0);
        EXPECT_NEAR(sx / sum, want.x - box.left, 0.1);
        EXPECT_NEAR(sy / sum, want.y - box.top, 0.1);
        // Interpolation spreads the mark but keeps its weight.
        EXPECT_NEAR(sum, 4 * 255, 4 * 255 * 0.02);
    }
}

TEST(RotateScale, FortyFiveDegreesCoversTheTurnedRectangle)
{
    const int w = 100, h = 50;
    CImage source = MakeImage(IMAGE_MODE_RGBA, w, h, [](int, int, int p) { return p == 0 ? 255 : 60 * p; });
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        const int sw = w * scale, sh = h * scale;
        auto result = CRotateScale(source).Transform(sw, sh, kPi / 4, nullptr, nullptr);
        ASSERT_TRUE(result);
        // (w + h) cos 45 about the middle, out to whole pixels on both sides.
        const double half = (sw + sh) * std::sqrt(0.5) / 2;
        const int expectW = int(std::ceil(sw / 2.0 + half)) - int(std::floor(sw / 2.0 - half));
        const int expectH = int(std::ceil(sh / 2.0 + half)) - int(std::floor(sh / 2.0 - half));
        EXPECT_EQ(result->Width(), expectW);
        EXPECT_EQ(result->Height(), expectH);
        const int W = result->Width(), H = result->Height();
        // Corners lie outside the turned rectangle, the middle inside, with the source colour intact.
        for (CPoint corner : {CPoint(0, 0), CPoint(W - 1, 0), CPoint(0, H - 1), CPoint(W - 1, H - 1)})
            EXPECT_EQ(Sample(*result, corner.x, corner.y, 0), 0);
        for (int p = 0; p < 4; ++p)
            EXPECT_EQ(Sample(*result, W / 2, H / 2, p), p == 0 ? 255 : 60 * p);
        // The alpha of each row adds up to the turned rectangle's area.
        double total = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                total += Sample(*result, x, y, 0) / 255.0;
        EXPECT_NEAR(total, double(sw) * sh, sw * sh * 0.01);
    }
}

TEST(RotateScale, ScalingKeepsAUniformImageUniform)
{
    struct Case
    {
        IMAGE_MODE mode;
        int samples[4];
    } cases[] = {
        {IMAGE_MODE_RGB, {10, 200, 77, 0}},
        {IMAGE_MODE_RGBA, {200, 10, 200, 77}},
        {IMAGE_MODE_RGBA, {255, 1, 128, 254}},
        {IMAGE_MODE_COVERAGE, {131, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        CImage source = MakeImage(c.mode, 40, 30, [&](int, int, int p) { return c.samples[p]; });
        for (double factor : {2.0, 0.5, 0.1}) {
            SCOPED_TRACE(testing::Message() << "mode " << c.mode << " factor " << factor);
            const int w = int(40 * factor), h = int(30 * factor);
            auto result = CRotateScale(source).Transform(w, h, 0.0, nullptr, nullptr);
            ASSERT_TRUE(result);
            ASSERT_EQ(result->Width(), w);
            ASSERT_EQ(result->Height(), h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    for (int p = 0; p < source.GetPlanes(); ++p)
                        ASSERT_EQ(Sample(*result, x, y, p), c.samples[p]) << x << "," << y << " p" << p;
        }
    }
}

TEST(RotateScale, UprightCopyKeepsTheColourOfTransparentPixels)
{
    CImage source = MakeImage(IMAGE_MODE_RGBA, 5, 3, [](int x, int y, int p) { return p == 0 ? x * 2 : 90 + x + y; });
    auto result = CRotateScale(source).Transform(5, 3, 2 * kPi, nullptr, nullptr);
    ASSERT_TRUE(result);
    ASSERT_EQ(result->GetDataSize(), source.GetDataSize());
    EXPECT_EQ(std::memcmp(result->GetData(), source.GetData(), source.GetDataSize()), 0);
}

TEST(RotateScale, BackgroundFillsWhereTheImageDoesNotReach)
{
    CImage source = MakeImage(IMAGE_MODE_RGB, 20, 20, [](int, int, int p) { return p == 2 ? 255 : 0; });
    CColor red(255, 0, 0);
    auto result = CRotateScale(source).Transform(20, 20, kPi / 4, nullptr, &red);
    ASSERT_TRUE(result);
    const int W = result->Width(), H = result->Height();
    EXPECT_EQ(Sample(*result, 0, 0, 0), 255);
    EXPECT_EQ(Sample(*result, 0, 0, 2), 0);
    EXPECT_EQ(Sample(*result, W / 2, H / 2, 0), 0);
    EXPECT_EQ(Sample(*result, W / 2, H / 2, 2), 255);
}

TEST(RotateScale, RefusesWhatItCannotTurn)
{
    CImage rgb = MakeImage(IMAGE_MODE_RGB, 4, 4, [](int, int, int) { return 1; });
    CImage deep(IMAGE_MODE_RGB16, 4, 4);
    CImage empty;
    DPOINT bad{NAN, 1};
    EXPECT_FALSE(CRotateScale(empty).Transform(4, 4, 0, nullptr, nullptr));
    EXPECT_FALSE(CRotateScale(deep).Transform(4, 4, 0, nullptr, nullptr));
    EXPECT_FALSE(CRotateScale(rgb).Transform(0, 4, 0, nullptr, nullptr));
    EXPECT_FALSE(CRotateScale(rgb).Transform(4, -1, 0, nullptr, nullptr));
    EXPECT_FALSE(CRotateScale(rgb).Transform(4, 4, INFINITY, nullptr, nullptr));
    EXPECT_FALSE(CRotateScale(rgb).Transform(4, 4, 1, &bad, nullptr));
    EXPECT_FALSE(CRotateScale(rgb).Transform(1 << 20, 1 << 20, 0, nullptr, nullptr));
}

} // namespace

TEST(RotateScale, ATurnDoesNotDependOnTheTurnsBeforeIt)
{
    // The work buffers outlive each call; what one turn leaves in them must not reach the next.
    CImage first =
        MakeImage(IMAGE_MODE_RGBA, 23, 17, [](int x, int y, int p) { return (x * 31 + y * 17 + p * 59) % 256; });
    auto turnFirst = [&] { return CRotateScale(first).Transform(31, 13, 0.7, nullptr, nullptr); };
    auto before = turnFirst();
    ASSERT_TRUE(before);

    CImage larger = MakeImage(IMAGE_MODE_RGB, 70, 50, [](int, int, int) { return 255; });
    CImage coverage = MakeImage(IMAGE_MODE_COVERAGE, 9, 40, [](int x, int, int) { return x * 28; });
    CColor blue(0, 0, 255);
    ASSERT_TRUE(CRotateScale(larger).Transform(90, 60, 2.1, nullptr, &blue));
    ASSERT_TRUE(CRotateScale(coverage).Transform(5, 80, 1.0, nullptr, nullptr));

    auto after = turnFirst();
    ASSERT_TRUE(after);
    ASSERT_EQ(after->GetDataSize(), before->GetDataSize());
    EXPECT_EQ(std::memcmp(after->GetData(), before->GetData(), before->GetDataSize()), 0);
}
