#include "controls/flat_button_control.h"

#include "controls/control_test_support.h"

#include <gtest/gtest.h>

namespace {

using detail::DrawFlatButton;
using detail::FlatButtonEdge;
using detail::FlatEdge;

int AlphaOf(const CPixMap& map, int x, int y)
{
    return map.Sample(x, y, 0)[0];
}
int Red(const CPixMap& map, int x, int y)
{
    return map.Sample(x, y, 0)[3];
}

TEST(FlatButtonRules, EdgeFollowsPressAndMouse)
{
    const struct
    {
        bool pressed, inside;
        FlatEdge edge;
    } cases[] = {{false, false, FlatEdge::None},
                 {false, true, FlatEdge::Raised},
                 {true, false, FlatEdge::Raised},
                 {true, true, FlatEdge::Sunken}};
    for (const auto& c : cases)
        EXPECT_EQ(FlatButtonEdge(c.pressed, c.inside), c.edge) << c.pressed << c.inside;
}

TEST(FlatButtonRules, EdgesAreOnePixelLightAndDarkSides)
{
    const struct
    {
        FlatEdge edge;
        int topLeftAlpha, top, bottom, left, right;
    } cases[] = {{FlatEdge::None, 0, -1, -1, -1, -1},
                 {FlatEdge::Raised, 255, 255, 128, 255, 128},
                 {FlatEdge::Sunken, 255, 128, 255, 128, 255}};
    for (const auto& c : cases) {
        const auto canvas = DrawFlatButton(10, 8, c.edge, nullptr);
        EXPECT_EQ(AlphaOf(*canvas, 0, 0), c.topLeftAlpha);
        EXPECT_EQ(AlphaOf(*canvas, 5, 4), 0) << "inside stays clear";
        if (c.edge == FlatEdge::None)
            continue;
        EXPECT_EQ(Red(*canvas, 5, 0), c.top);
        EXPECT_EQ(Red(*canvas, 5, 7), c.bottom);
        EXPECT_EQ(Red(*canvas, 0, 4), c.left);
        EXPECT_EQ(Red(*canvas, 9, 4), c.right);
    }
}

TEST(FlatButtonRules, PictureIsCentredAndAnyAlphaShowsOpaque)
{
    CPixMap picture(IMAGE_MODE_RGBA, 4, 2);
    FillOpaque(picture, {200, 0, 0});
    picture.Sample(1, 0, 0)[0] = 1;
    picture.Sample(2, 0, 0)[0] = 0;
    const auto canvas = DrawFlatButton(10, 6, FlatEdge::None, &picture);
    // Centred: from (3, 2).
    EXPECT_EQ(AlphaOf(*canvas, 3, 2), 255);
    EXPECT_EQ(Red(*canvas, 3, 2), 200);
    EXPECT_EQ(AlphaOf(*canvas, 4, 2), 255) << "a faint pixel is drawn at full strength";
    EXPECT_EQ(AlphaOf(*canvas, 5, 2), 0) << "a clear pixel is not drawn";
    EXPECT_EQ(AlphaOf(*canvas, 2, 2), 0);
    // A picture larger than the button is cut, not written past it.
    CPixMap large(IMAGE_MODE_RGBA, 30, 30);
    FillOpaque(large, {1, 2, 3});
    const auto cut = DrawFlatButton(5, 5, FlatEdge::Raised, &large);
    EXPECT_EQ(Red(*cut, 0, 0), 1);
}

using FlatButtons = ControlHost;

TEST_F(FlatButtons, ReleaseInsideAfterAPressOnAnEnabledButtonNotifies)
{
    auto* button = new CFlatButtonControl();
    {
        CPixMap on(IMAGE_MODE_RGBA, 8, 8), off(IMAGE_MODE_RGBA, 8, 8);
        FillOpaque(on, {0, 0, 0});
        FillOpaque(off, {128, 128, 128});
        ASSERT_TRUE(button->Create(CRect(10, 10, 34, 34), m_panel, 7200, &on, &off, "Apply"));
    } // the button keeps copies of the pictures
    EXPECT_EQ(button->GetCaption(), "Apply");
    EXPECT_FALSE(button->GetEnable()) << "disabled until the owner enables it";

    const struct
    {
        const char* name;
        bool enable;
        CPoint release; // (-1, -1): the capture is lost instead
        size_t notifications;
    } presses[] = {
        {"disabled", false, CPoint(5, 5), 0},         {"released inside", true, CPoint(5, 5), 1},
        {"released outside", true, CPoint(40, 5), 1}, {"released left of it", true, CPoint(-1, 5), 1},
        {"capture lost", true, CPoint(-1, -1), 1},    {"released on the last pixel", true, CPoint(23, 23), 2},
    };
    for (const auto& p : presses) {
        button->Enable(p.enable);
        Press(button, 5, 5);
        EXPECT_EQ(button->IsPressed(), p.enable) << p.name;
        if (p.release == CPoint(-1, -1))
            LoseCapture(button);
        else
            Release(button, p.release.x, p.release.y);
        EXPECT_FALSE(button->IsPressed()) << p.name;
        EXPECT_FALSE(button->HasCapture()) << p.name;
        EXPECT_EQ(m_received.size(), p.notifications) << p.name;
    }
    for (const Notification& n : m_received)
        EXPECT_EQ(n, (Notification{7200, FLAT_BUTTON_NOTIFY_CLICKED}));
    button->NotifyMouseMove();
    Settle();
}

} // namespace
