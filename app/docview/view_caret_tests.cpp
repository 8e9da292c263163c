#include "app/docview/view_caret.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ViewCaret FocusedCaretAt(const CPoint& at, int height)
{
    ViewCaret caret;
    caret.SetFocus(true);
    caret.SetHeight(height);
    caret.MoveTo(at);
    return caret;
}

std::string Describe(const ViewCaret::Areas& areas)
{
    std::string text;
    for (const CRect& r : areas)
        text += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                std::to_string(r.bottom) + ")";
    return text;
}

TEST(ViewCaret, EachChangeRepaintsTheOldAndTheNewBarOnly)
{
    struct Case
    {
        const char* what;
        ViewCaret::Areas (*change)(ViewCaret&);
        const char* repainted;
        bool drawnAfter;
    };
    const Case cases[] = {
        {"a move", [](ViewCaret& c) { return c.MoveTo(CPoint(40, 7)); }, "(10,20,11,36)(40,7,41,23)", true},
        {"a new height", [](ViewCaret& c) { return c.SetHeight(30); }, "(10,20,11,36)(10,20,11,50)", true},
        {"the same height", [](ViewCaret& c) { return c.SetHeight(16); }, "", true},
        {"hiding", [](ViewCaret& c) { return c.Hide(); }, "(10,20,11,36)", false},
        {"losing the focus", [](ViewCaret& c) { return c.SetFocus(false); }, "(10,20,11,36)", false},
        {"the focus it has", [](ViewCaret& c) { return c.SetFocus(true); }, "", true},
        {"a blink", [](ViewCaret& c) { return c.Blink(); }, "(10,20,11,36)", false},
    };
    for (const Case& c : cases) {
        ViewCaret caret = FocusedCaretAt(CPoint(10, 20), 16);
        EXPECT_EQ(Describe(c.change(caret)), c.repainted) << c.what;
        EXPECT_EQ(caret.IsDrawn(), c.drawnAfter) << c.what;
    }
}

TEST(ViewCaret, BlinksOnlyWhileShownInTheFocusedViewAndAMoveShowsItAgain)
{
    ViewCaret caret;
    // Nothing shows, or blinks, before the text places the caret.
    EXPECT_FALSE(caret.IsShown());
    EXPECT_TRUE(caret.Blink().empty());
    caret.SetHeight(12);
    caret.MoveTo(CPoint(3, 4));
    EXPECT_TRUE(caret.IsShown());
    // Without the focus the caret is placed but not drawn, and the timer has nothing to do.
    EXPECT_FALSE(caret.Blinks());
    EXPECT_FALSE(caret.IsDrawn());
    EXPECT_TRUE(caret.Blink().empty());
    EXPECT_EQ(Describe(caret.SetFocus(true)), "(3,4,4,16)");
    EXPECT_TRUE(caret.IsDrawn());
    caret.Blink();
    EXPECT_FALSE(caret.IsDrawn());
    caret.Blink();
    EXPECT_TRUE(caret.IsDrawn());
    caret.Blink();
    // Typing moves it, and it shows at once, with nothing to clear where it was hidden.
    EXPECT_EQ(Describe(caret.MoveTo(CPoint(9, 4))), "(9,4,10,16)");
    EXPECT_TRUE(caret.IsDrawn());
    // Focus that comes back finds the caret showing, whatever its blink was when it left.
    caret.Blink();
    caret.SetFocus(false);
    caret.SetFocus(true);
    EXPECT_TRUE(caret.IsDrawn());
    caret.Hide();
    EXPECT_FALSE(caret.Blinks());
    EXPECT_TRUE(caret.Blink().empty());
}

// A 6 x 5 patch of the client area from (100, 50), each pixel (blue, green, red) = (x, y, 200).
ViewPixels Patch()
{
    ViewPixels pixels;
    pixels.Resize(6, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            BYTE* p = pixels.Row(y) + x * 3;
            p[0] = static_cast<BYTE>(x), p[1] = static_cast<BYTE>(y), p[2] = 200;
        }
    return pixels;
}

TEST(ViewCaret, DrawsByInvertingTheColumnItCoversInsideTheClipOnly)
{
    const CRect clip(100, 50, 106, 55);
    struct Case
    {
        CPoint at;
        int height;
        bool focused;
        // The pixels of the patch inverted, as "x,y" pairs.
        std::vector<std::pair<int, int>> inverted;
    };
    const Case cases[] = {
        {CPoint(102, 51), 2, true, {{2, 1}, {2, 2}}},
        // Reaching past the clip's bottom and starting above its top.
        {CPoint(105, 53), 10, true, {{5, 3}, {5, 4}}},
        {CPoint(100, 40), 11, true, {{0, 0}}},
        // Left of, right of and below the clip, or without the focus: nothing.
        {CPoint(99, 50), 5, true, {}},
        {CPoint(106, 50), 5, true, {}},
        {CPoint(101, 55), 5, true, {}},
        {CPoint(102, 51), 2, false, {}},
    };
    for (const Case& c : cases) {
        ViewCaret caret;
        caret.SetFocus(c.focused);
        caret.SetHeight(c.height);
        caret.MoveTo(c.at);
        ViewPixels pixels = Patch();
        caret.Draw(pixels, clip);
        const ViewPixels plain = Patch();
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                bool expectInverted = false;
                for (const auto& [ix, iy] : c.inverted)
                    expectInverted |= ix == x && iy == y;
                for (int b = 0; b < 3; ++b) {
                    const BYTE want = expectInverted ? static_cast<BYTE>(~plain.Row(y)[x * 3 + b]) : plain.Row(y)[x * 3 + b];
                    EXPECT_EQ(pixels.Row(y)[x * 3 + b], want) << c.at.x << "," << c.at.y << " pixel " << x << "," << y;
                }
            }
    }
}

} // namespace
