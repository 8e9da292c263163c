#include "controls/wheel_control.h"

#include "controls/control_test_support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using detail::WheelHit;
using detail::WheelPositionAt;
using detail::WrapWheel;

TEST(WheelRules, ValuesWrapIntoTheRange)
{
    const struct
    {
        int x, range, wrapped;
    } cases[] = {{0, 360, 0},     {359, 360, 359}, {360, 360, 0}, {450, 360, 90},
                 {-90, 360, 270}, {-720, 360, 0},  {5, 1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(WrapWheel(c.x, c.range), c.wrapped) << c.x << " in " << c.range;
}

TEST(WheelRules, PointGivesTheNearestPositionClockwiseFromTheRight)
{
    const struct
    {
        const char* name;
        int x, y, range, position;
    } cases[] = {
        {"right", 30, 0, 360, 0},
        {"below (screen y grows downward)", 0, 30, 360, 90},
        {"left", -30, 0, 360, 180},
        {"above", 0, -30, 360, 270},
        {"nearer the lower position", 30, 10, 8, 0}, // 18.4 degrees with steps of 45
        {"nearer the upper position", 30, 20, 8, 1}, // 33.7 degrees
        {"exactly half-way goes up", 20, 20, 4, 1},  // 45 degrees with steps of 90
        {"last position wraps to 0", 30, -5, 4, 0},  // 350.5 degrees
        {"near the last position", 30, -28, 8, 7},   // 317 degrees
        {"a single position", -3, 7, 1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WheelPositionAt(100 + c.x, 50 + c.y, 100, 50, c.range), c.position) << c.name;
}

TEST(WheelRules, PressCountsWithinHalfTheClientWidth)
{
    const struct
    {
        int dx, dy;
        bool hit;
    } cases[] = {{0, 0, true}, {20, 0, true}, {21, 0, false}, {0, -20, true}, {15, 14, true}, {15, 15, false}};
    for (const auto& c : cases)
        EXPECT_EQ(WheelHit(20 + c.dx, 20 + c.dy, 20, 20, 41), c.hit) << c.dx << ", " << c.dy;
}

int Alpha(const CPixMap& map, int x, int y)
{
    return *map.Sample(x, y, 0);
}

TEST(WheelPicture, RingAndDotAreBlackAndSymmetricAboutTheCentrePixel)
{
    const int d = 41;
    CPixMap ring(IMAGE_MODE_RGBA, d, d);
    FillOpaque(ring, {200, 200, 200});
    detail::DrawWheelRing(ring, d, 2);
    EXPECT_GT(Alpha(ring, 0, 20), 200) << "outer edge of the ring";
    EXPECT_EQ(Alpha(ring, 20, 20), 255) << "centre dot";
    EXPECT_EQ(Alpha(ring, 10, 20), 0) << "between ring and dot";
    EXPECT_EQ(Alpha(ring, 2, 20), 0) << "inside the thin ring";
    EXPECT_EQ(Alpha(ring, 0, 0), 0) << "corner";
    for (int y = 0; y < d; ++y) {
        for (int x = 0; x < d; ++x) {
            // The rasteriser flattens curves from their start, so mirrored edges may differ by a few steps; a
            // centre off by half a pixel differs by a hundred or more.
            ASSERT_NEAR(Alpha(ring, x, y), Alpha(ring, d - 1 - x, y), 8) << x << ", " << y;
            ASSERT_NEAR(Alpha(ring, x, y), Alpha(ring, y, x), 8) << x << ", " << y;
            ASSERT_EQ(*ring.Sample(x, y, 1) | *ring.Sample(x, y, 2) | *ring.Sample(x, y, 3), 0);
        }
    }
}

TEST(WheelPicture, PointerIsACrispLineFromTheCentreToTheRing)
{
    const int d = 41;
    const struct
    {
        const char* name;
        int position, range;
        int stepX, stepY; // direction of the line on the screen
    } cases[] = {
        {"position 0 points right", 0, 360, 1, 0},
        {"a quarter turn points down", 90, 360, 0, 1},
        {"half a turn points left", 2, 4, -1, 0},
        {"the full range points right again", 360, 360, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPixMap mask(IMAGE_MODE_RGBA, d, d);
        detail::DrawWheelPointer(mask, d, c.position, c.range);
        for (int i = 1; i < 19; ++i) {
            const int x = 20 + c.stepX * i, y = 20 + c.stepY * i;
            EXPECT_EQ(Alpha(mask, x, y), 255) << "on the line at " << x << ", " << y;
            EXPECT_EQ(Alpha(mask, x + c.stepY, y + c.stepX), 0) << "beside the line";
            EXPECT_EQ(Alpha(mask, 20 - c.stepX * i, 20 - c.stepY * i), 0) << "opposite the line";
        }
    }
}

TEST(WheelPicture, ComposedOnAClearCanvas)
{
    const int d = 11;
    CPixMap ring(IMAGE_MODE_RGBA, d, d), pointer(IMAGE_MODE_RGBA, d, d), canvas(IMAGE_MODE_RGBA, d, d);
    detail::DrawWheelRing(ring, d, 2);
    detail::DrawWheelPointer(pointer, d, 0, 4);
    FillOpaque(canvas, {240, 230, 220});
    detail::ComposeWheel(canvas, ring, pointer);
    const auto colour = [&](int x, int y) {
        return std::array<int, 4>{*canvas.Sample(x, y, 0), *canvas.Sample(x, y, 1), *canvas.Sample(x, y, 2),
                                  *canvas.Sample(x, y, 3)};
    };
    EXPECT_EQ(colour(0, 0)[0], 0) << "corner is clear";
    EXPECT_EQ(colour(8, 5), (std::array<int, 4>{255, 0, 0, 0})) << "pointer";
    EXPECT_EQ(colour(5, 8)[0], 0) << "no pointer below the centre";
    EXPECT_EQ(colour(5, 5), (std::array<int, 4>{255, 0, 0, 0})) << "centre dot";
}

using WheelControl = ControlHost;

TEST_F(WheelControl, ValueRunsAgainstThePosition)
{
    auto* wheel = Make<CWheelControl>(41, 41);
    wheel->Init(360, 0, 2, 1);
    const struct
    {
        int set, position, value;
    } cases[] = {{90, 270, 90}, {0, 360, 0}, {359, 1, 359}, {450, 270, 90}, {-90, 90, 270}, {720, 360, 0}};
    for (const auto& c : cases) {
        wheel->WheelSetValue(c.set);
        EXPECT_EQ(wheel->GetPosition(), c.position) << "set " << c.set;
        EXPECT_EQ(wheel->WheelGetValue(), c.value) << "set " << c.set;
    }
    EXPECT_TRUE(m_received.empty()) << "setting a value sends nothing";
}

TEST_F(WheelControl, DiameterIsTheOddSmallerSide)
{
    const struct
    {
        int width, height, diameter;
    } cases[] = {{41, 41, 41}, {40, 40, 39}, {60, 41, 41}, {41, 60, 41}, {30, 60, 29}, {1, 1, 1}, {0, 0, 0}};
    for (const auto& c : cases) {
        auto* wheel = Make<CWheelControl>(c.width, c.height);
        wheel->Init(360, 0, 2, 1);
        EXPECT_EQ(wheel->GetDiameter(), c.diameter) << c.width << " x " << c.height;
    }
}

TEST_F(WheelControl, DragTurnsToTheMouseAndReportsEachChangeThenTheEnd)
{
    auto* wheel = Make<CWheelControl>(41, 41, 7101);
    wheel->Init(360, 0, 2, 1);
    Press(wheel, 35, 20); // right of the centre: value 0, as it already is
    EXPECT_TRUE(wheel->InTracking());
    EXPECT_TRUE(wheel->HasCapture());
    EXPECT_TRUE(m_received.empty()) << "the press itself reports nothing";
    Drag(wheel, 20, 5); // straight up: 90 degrees
    EXPECT_EQ(wheel->WheelGetValue(), 90);
    Drag(wheel, 20, 2); // same angle
    Drag(wheel, 5, 20); // left: 180 degrees
    EXPECT_EQ(wheel->WheelGetValue(), 180);
    Release(wheel, 5, 20);
    EXPECT_FALSE(wheel->InTracking());
    EXPECT_FALSE(wheel->HasCapture());
    const std::vector<Notification> expected = {{7101, 4025}, {7101, 4025}, {7101, 4026}};
    EXPECT_EQ(m_received, expected);

    Drag(wheel, 20, 35); // moving after the release does nothing
    EXPECT_EQ(wheel->WheelGetValue(), 180);
    EXPECT_EQ(m_received.size(), 3u);
}

TEST_F(WheelControl, PressThatStartsNoDrag)
{
    const struct
    {
        const char* name;
        bool enabled;
        int x, y;
    } cases[] = {{"outside the circle", true, 40, 40}, {"disabled", false, 20, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* wheel = Make<CWheelControl>(41, 41);
        wheel->Init(360, 0, 2, 1);
        wheel->Enable(c.enabled);
        Press(wheel, c.x, c.y);
        Drag(wheel, 20, 35);
        Release(wheel, 20, 35);
        EXPECT_FALSE(wheel->InTracking());
        EXPECT_EQ(wheel->WheelGetValue(), 0);
        EXPECT_TRUE(m_received.empty());
    }
}

TEST_F(WheelControl, LostCaptureEndsTheDragOnce)
{
    for (bool disableFirst : {false, true}) {
        SCOPED_TRACE(disableFirst ? "disabled during the drag" : "enabled");
        m_received.clear();
        auto* wheel = Make<CWheelControl>(41, 41);
        wheel->Init(360, 0, 2, 1);
        Press(wheel, 20, 5);
        if (disableFirst)
            wheel->Enable(false);
        LoseCapture(wheel);
        EXPECT_FALSE(wheel->InTracking());
        LoseCapture(wheel);
        Release(wheel, 20, 35);
        EXPECT_EQ(Codes(), std::vector<unsigned>{4026});
        EXPECT_EQ(wheel->WheelGetValue(), 90) << "the press set the value";
    }
}

TEST_F(WheelControl, RangeBelowOneIsTakenAsOne)
{
    auto* wheel = Make<CWheelControl>(41, 41);
    wheel->Init(0, 0, 2, 1);
    wheel->WheelSetValue(7);
    EXPECT_EQ(wheel->WheelGetValue(), 0);
    Press(wheel, 20, 5);
    Release(wheel, 20, 5);
    EXPECT_EQ(wheel->WheelGetValue(), 0);
}

} // namespace
