#include "controls/button_controls.h"

#include "controls/control_test_support.h"

#include <gtest/gtest.h>

namespace {

using detail::BuildButtonImage;
using detail::BuildColorSwatch;
using detail::CentredOffset;

struct Rgba
{
    int alpha, grey;
};

Rgba At(const CPixMap& map, int x, int y)
{
    const unsigned char* p = map.Sample(x, y, 0);
    return {p[0], p[3]};
}

TEST(ButtonRules, StylesAndGlyphsNameTheirBitmaps)
{
    const std::pair<UINT, std::pair<unsigned, unsigned>> styles[] = {
        {0, {6099, 6096}}, {1, {6105, 6102}}, {2, {6111, 6108}}, {3, {6066, 6067}},
        {4, {6062, 6063}}, {5, {6068, 6069}}, {6, {0, 0}},       {0xffffffffu, {0, 0}}};
    for (const auto& [style, pair] : styles)
        EXPECT_EQ(detail::ButtonStyleBitmaps(style), pair) << style;
    const std::pair<int, unsigned> glyphs[] = {{0, 6022},    {1, 6025}, {2, 6026},  {3, 6090},
                                               {6027, 6027}, {4, 6093}, {-1, 6093}, {6022, 6093}};
    for (const auto& [glyph, bitmap] : glyphs)
        EXPECT_EQ(detail::IconGlyphBitmap(glyph), bitmap) << glyph;
}

// The frames, pixel by pixel along the diagonal of an 8 x 8 button: alpha and grey of (i, i).
TEST(ButtonRules, UncheckedIsRaisedAroundAClearFaceCheckedSunkenAroundALightOne)
{
    const struct
    {
        bool checked;
        Rgba diagonal[8];
        Rgba topRight; // (7, 0): the outer edge at the right
    } cases[] = {
        {false, {{255, 255}, {255, 223}, {0, 223}, {0, 0}, {0, 0}, {0, 223}, {255, 128}, {255, 0}}, {255, 0}},
        {true,
         {{255, 0}, {255, 128}, {255, 223}, {255, 223}, {255, 223}, {255, 223}, {255, 223}, {255, 255}},
         {255, 255}},
    };
    for (const auto& c : cases) {
        const auto image = BuildButtonImage(8, 8, c.checked, nullptr);
        ASSERT_EQ(image->width, 8);
        for (int i = 0; i < 8; ++i) {
            const Rgba got = At(*image, i, i);
            EXPECT_EQ(got.alpha, c.diagonal[i].alpha) << c.checked << " at " << i;
            if (got.alpha == 255) {
                EXPECT_EQ(got.grey, c.diagonal[i].grey) << c.checked << " at " << i;
            }
        }
        EXPECT_EQ(At(*image, 7, 0).alpha, c.topRight.alpha);
        EXPECT_EQ(At(*image, 7, 0).grey, c.topRight.grey) << c.checked;
        EXPECT_EQ(At(*image, 0, 3).grey, c.checked ? 0 : 255) << "left edge";
    }
}

TEST(ButtonRules, GlyphIsCentredOverTheFaceWithItsOwnAlpha)
{
    CPixMap glyph(IMAGE_MODE_RGBA, 2, 2);
    FillOpaque(glyph, {10, 10, 10});
    glyph.Sample(0, 0, 0)[0] = 0; // a clear pixel lets the face show
    const auto unchecked = BuildButtonImage(10, 10, false, &glyph);
    // Face from (2, 2), 6 x 6: the glyph at (4, 4).
    EXPECT_EQ(At(*unchecked, 4, 4).alpha, 0);
    EXPECT_EQ(At(*unchecked, 5, 4).alpha, 255);
    EXPECT_EQ(At(*unchecked, 5, 5).grey, 10);
    EXPECT_EQ(At(*unchecked, 6, 6).alpha, 0);
    const auto checked = BuildButtonImage(10, 10, true, &glyph);
    EXPECT_EQ(At(*checked, 4, 4).grey, 223);
    EXPECT_EQ(At(*checked, 5, 5).grey, 10);
}

TEST(ButtonRules, TinyAndEmptyButtonsStayInsideTheirPicture)
{
    CPixMap glyph(IMAGE_MODE_RGBA, 12, 12);
    FillOpaque(glyph, {1, 2, 3});
    for (int size : {0, 1, 2, 3, 4, 5}) {
        for (bool checked : {false, true}) {
            const auto image = BuildButtonImage(size, size, checked, &glyph);
            EXPECT_EQ(image->width, size);
        }
    }
}

TEST(IconRules, GlyphIsCentredButNeverLeftOfOrAboveTheCorner)
{
    const struct
    {
        int cw, ch, gw, gh;
        CPoint offset;
    } cases[] = {{20, 20, 16, 16, CPoint(2, 2)},
                 {21, 17, 16, 16, CPoint(2, 0)},
                 {10, 30, 16, 16, CPoint(0, 7)},
                 {8, 8, 16, 16, CPoint(0, 0)}};
    for (const auto& c : cases) {
        const CPoint got = CentredOffset(c.cw, c.ch, c.gw, c.gh);
        EXPECT_EQ(got.x, c.offset.x) << c.cw << "x" << c.ch;
        EXPECT_EQ(got.y, c.offset.y) << c.cw << "x" << c.ch;
    }
}

TEST(ColorRules, SwatchIsASunkenFrameAroundTheColour)
{
    DisplayBuffer swatch;
    BuildColorSwatch(swatch, 8, 7, CColor(200, 100, 50));
    const ControlRgb k{0, 0, 0}, W{255, 255, 255}, S{128, 128, 128}, L{223, 223, 223}, C{200, 100, 50};
    // Column 3 from top to bottom and row 3 from left to right.
    const ControlRgb column[7] = {W, L, C, C, C, S, k};
    const ControlRgb row[8] = {W, L, C, C, C, C, L, k};
    for (int y = 0; y < 7; ++y)
        EXPECT_EQ(swatch.Get(3, y), column[y]) << "row " << y;
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(swatch.Get(x, 3), row[x]) << "column " << x;
    for (int size : {0, 1, 2, 3})
        BuildColorSwatch(swatch, size, size, CColor(1, 2, 3));
}

// The controls under the display, driven by the mouse as wx delivers it.
using ButtonControls = ControlHost;

TEST_F(ButtonControls, ClickTogglesAndNotifiesSetCheckDoesNeither)
{
    auto* button = Make<CButtonControl>(22, 22);
    button->Init(3);
    EXPECT_FALSE(button->GetCheck());
    ASSERT_NE(button->Picture(false), nullptr);
    // The bold glyph is drawn on both faces.
    EXPECT_EQ(At(*button->Picture(true), 8, 8).grey, 32);
    EXPECT_EQ(At(*button->Picture(false), 8, 8).grey, 32);

    button->SetCheck(true);
    EXPECT_TRUE(button->GetCheck());
    EXPECT_TRUE(m_received.empty());

    const struct
    {
        bool enabled;
        bool checkedAfter;
        size_t notifications;
    } clicks[] = {{true, false, 1}, {true, true, 2}, {false, true, 2}, {true, false, 3}};
    for (const auto& click : clicks) {
        button->Enable(click.enabled);
        Press(button, 5, 5);
        Release(button, 5, 5);
        EXPECT_EQ(button->GetCheck(), click.checkedAfter);
        EXPECT_EQ(m_received.size(), click.notifications);
    }
    for (const Notification& n : m_received)
        EXPECT_EQ(n, (Notification{7100, BUTTON_NOTIFY_CLICKED}));
}

TEST_F(ButtonControls, IconLargerThanItsControlIsDrawnFromTheCorner)
{
    const struct
    {
        int size;
        int glyph;
        CPoint offset;
    } cases[] = {{24, 0, CPoint(4, 4)}, {10, 1, CPoint(0, 0)}, {16, 77, CPoint(0, 0)}};
    for (const auto& c : cases) {
        auto* icon = Make<CIconControl>(c.size, c.size);
        icon->Init(c.glyph);
        ASSERT_NE(icon->Glyph(), nullptr) << c.glyph;
        EXPECT_EQ(icon->Offset().x, c.offset.x) << c.glyph;
        EXPECT_EQ(icon->Offset().y, c.offset.y) << c.glyph;
        // A press does nothing: icons are not clickable.
        Press(icon, 3, 3);
        Release(icon, 3, 3);
    }
    EXPECT_TRUE(m_received.empty());
}

using ScriptedColorControl = ScriptedColors<CColorControl>;

TEST_F(ButtonControls, ColourWellTakesTheDialogsChoiceOnlyOnOk)
{
    auto* well = Make<ScriptedColorControl>(30, 20);
    well->Init(nullptr);
    EXPECT_EQ(well->GetColor().GetCOLORREF(), 0ul) << "black at first";
    const CColor blue(0, 0, 255);
    well->Init(&blue);
    EXPECT_EQ(well->Swatch().Get(5, 5), (ControlRgb{0, 0, 255}));

    well->SetColor(CColor(10, 20, 30));
    EXPECT_TRUE(m_received.empty()) << "SetColor notifies nothing";

    const struct
    {
        bool enabled, ok;
        unsigned long choice;
        unsigned long colourAfter;
        size_t asked, notifications;
    } clicks[] = {
        {true, false, 0x00ff00, 0x1e140a, 1, 0}, // cancelled: unchanged
        {true, true, 0x3399cc, 0x3399cc, 2, 1},  // OK: the choice, notified
        {false, true, 0x000000, 0x3399cc, 2, 1}, // disabled: no dialog
        {true, true, 0x3399cc, 0x3399cc, 3, 2},  // the same colour chosen again still notifies
    };
    for (const auto& c : clicks) {
        well->Enable(c.enabled);
        well->answer = c.ok;
        well->choice = c.choice;
        Press(well, 4, 4);
        Release(well, 4, 4);
        EXPECT_EQ(well->GetColor().GetCOLORREF(), c.colourAfter);
        EXPECT_EQ(well->asked.size(), c.asked);
        EXPECT_EQ(m_received.size(), c.notifications);
    }
    EXPECT_EQ(well->asked.front(), 0x1e140aul) << "the dialog opens on the well's colour";
    EXPECT_EQ(well->Swatch().Get(5, 5), (ControlRgb{0xcc, 0x99, 0x33}));
    for (const Notification& n : m_received)
        EXPECT_EQ(n, (Notification{7100, COLOR_NOTIFY_CHANGED}));
}

} // namespace
