#include "controls/slider_control.h"

#include "controls/control_test_support.h"
#include "platform/resources/resource_folder.h"
#include "testing/scratch_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/imagpng.h>

namespace {

using detail::ClampSliderRange;
using detail::SliderThumbLeft;
using detail::SliderValueAt;

TEST(SliderRules, RangeIsKeptWithinTwoAnd65536)
{
    const std::pair<int, int> cases[] = {{-5, 2},    {0, 2},         {1, 2},         {2, 2},         {3, 3},
                                         {101, 101}, {65535, 65535}, {65536, 65536}, {100000, 65536}};
    for (const auto& [given, kept] : cases)
        EXPECT_EQ(ClampSliderRange(given), kept) << given;
}

TEST(SliderRules, MouseXIsSpreadOverTheGroove)
{
    const struct
    {
        const char* name;
        int x, start, end, range, value;
    } cases[] = {
        {"left of the groove", 0, 5, 195, 101, 0},
        {"groove start", 5, 5, 195, 101, 0},
        {"middle", 100, 5, 195, 101, 50},
        {"last groove pixel", 194, 5, 195, 101, 100},
        {"right of the groove", 400, 5, 195, 101, 100},
        {"truncated toward the start", 6, 5, 195, 101, 0},
        {"a groove of one pixel", 10, 10, 11, 101, 0},
        {"a groove of no pixels", 10, 10, 10, 101, 0},
        {"a groove turned inside out", 10, 12, 8, 101, 0},
        {"large range on a wide groove", 40004, 5, 40005, 65536, 65535},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SliderValueAt(c.x, c.start, c.end, c.range), c.value) << c.name;
}

TEST(SliderRules, ThumbLeftEdgeFollowsTheValue)
{
    const struct
    {
        int value, range, left, right, thumb, edge;
    } cases[] = {{0, 101, 0, 200, 11, 0},
                 {100, 101, 0, 200, 11, 189},
                 {50, 101, 0, 200, 11, 94},
                 {1, 2, 3, 50, 11, 39},
                 {65535, 65536, 0, 40000, 11, 39989}};
    for (const auto& c : cases)
        EXPECT_EQ(SliderThumbLeft(c.value, c.range, c.left, c.right, c.thumb), c.edge) << c.value;
}

TEST(SliderRules, GrooveIsSunken)
{
    DisplayBuffer groove;
    detail::DrawSliderGroove(groove, 7);
    const int W = 255, S = 128, L = 223, B = 0;
    const int expected[4][7] = {
        {S, S, S, S, S, S, W},
        {S, B, B, B, B, L, W},
        {S, L, L, L, L, L, W},
        {W, W, W, W, W, W, W},
    };
    ASSERT_EQ(groove.Width(), 7);
    ASSERT_EQ(groove.Height(), 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 7; ++x) {
            const int grey = expected[y][x];
            EXPECT_EQ(groove.Get(x, y), (ControlRgb{uint8_t(grey), uint8_t(grey), uint8_t(grey)})) << x << ", " << y;
        }
    }
    for (int length : {0, 1, 2, 3}) {
        detail::DrawSliderGroove(groove, length); // short grooves draw what fits, nothing outside
        EXPECT_EQ(groove.Width(), length);
    }
}

using SliderControl = ControlHost;

// The thumb of the resource folder is 11 x 19 pixels.
TEST_F(SliderControl, InitKeepsRangeAndValueTogether)
{
    const struct
    {
        int range, value, keptRange, keptValue;
    } cases[] = {
        {101, 0, 101, 0}, {101, 100, 101, 100}, {101, 101, 101, 100},          {101, -5, 101, 0},
        {1, 5, 2, 1},     {0, 0, 2, 0},         {100000, 70000, 65536, 65535},
    };
    for (const auto& c : cases) {
        auto* slider = Make<CSliderControl>(200, 22);
        slider->Init(c.range, c.value, false, false);
        EXPECT_EQ(slider->GetRange(), c.keptRange) << c.range << ", " << c.value;
        EXPECT_EQ(slider->GetValue(), c.keptValue) << c.range << ", " << c.value;
        slider->SetValue(c.range, c.value, true);
        EXPECT_EQ(slider->GetRange(), c.keptRange) << "SetValue " << c.range << ", " << c.value;
        EXPECT_EQ(slider->GetValue(), c.keptValue) << "SetValue " << c.range << ", " << c.value;
    }
}

TEST_F(SliderControl, SetValueClampsAndSendsNothing)
{
    auto* slider = Make<CSliderControl>(200, 22);
    slider->Init(101, 0, false, false);
    const std::pair<int, int> cases[] = {{-5, 0}, {42, 42}, {100, 100}, {103, 100}};
    for (const auto& [given, kept] : cases) {
        slider->SetValue(given, true);
        EXPECT_EQ(slider->GetValue(), kept) << given;
    }
    EXPECT_TRUE(m_received.empty());
}

TEST_F(SliderControl, LayoutPutsTheThumbAreaAtTopOrBottom)
{
    for (bool atTop : {false, true}) {
        auto* slider = Make<CSliderControl>(200, 30);
        slider->Init(101, 100, atTop, false);
        ASSERT_TRUE(slider->HasThumbArea());
        const int top = atTop ? 0 : 30 - 19;
        EXPECT_EQ(slider->ThumbRect().top, top);
        EXPECT_EQ(slider->ThumbRect().left, 189);
        EXPECT_EQ(slider->ThumbRect().Width(), 11);
        EXPECT_EQ(slider->GrooveStart(), 5);
        EXPECT_EQ(slider->GrooveEnd(), 195);
        EXPECT_EQ(slider->GrooveTop(), top + 4);
    }
}

TEST_F(SliderControl, DragReportsEveryMoveThenTheEnd)
{
    auto* slider = Make<CSliderControl>(200, 22, 7200);
    slider->Init(101, 0, false, false);
    Press(slider, 100, 10);
    EXPECT_TRUE(slider->InTracking());
    EXPECT_TRUE(slider->HasCapture());
    EXPECT_EQ(slider->GetValue(), 50);
    Drag(slider, 150, 0);
    EXPECT_EQ(slider->GetValue(), 76);
    Drag(slider, 150, 40); // the same value again still reports, and height does not matter
    Drag(slider, -30, 10);
    EXPECT_EQ(slider->GetValue(), 0);
    Release(slider, 500, 10);
    EXPECT_EQ(slider->GetValue(), 100) << "the release takes its own position";
    EXPECT_FALSE(slider->InTracking());
    EXPECT_FALSE(slider->HasCapture());
    EXPECT_EQ(Codes(), (std::vector<unsigned>{2029, 2029, 2029, 2029, 2030}));
    EXPECT_EQ(m_received.front().id, 7200);
}

TEST_F(SliderControl, ClickInTheGrooveSetsTheValue)
{
    const struct
    {
        const char* name;
        int x, value;
    } cases[] = {{"in the groove", 53, 25}, {"left of the groove", 0, 0}, {"right of the groove", 199, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_received.clear();
        auto* slider = Make<CSliderControl>(200, 22);
        slider->Init(101, 60, false, false);
        Press(slider, c.x, 12);
        Release(slider, c.x, 12);
        EXPECT_EQ(slider->GetValue(), c.value);
        EXPECT_EQ(Codes(), (std::vector<unsigned>{2029, 2030}));
    }
}

TEST_F(SliderControl, LostCaptureEndsTheDragWhereItWas)
{
    auto* slider = Make<CSliderControl>(200, 22);
    slider->Init(101, 0, false, false);
    Press(slider, 100, 10);
    LoseCapture(slider);
    LoseCapture(slider);
    Release(slider, 150, 10);
    EXPECT_FALSE(slider->InTracking());
    EXPECT_EQ(slider->GetValue(), 50);
    EXPECT_EQ(Codes(), (std::vector<unsigned>{2029, 2030}));
}

TEST_F(SliderControl, WithoutAThumbAreaTheMouseDoesNothing)
{
    const struct
    {
        const char* name;
        int width, height;
        bool enabled;
        bool thumbArea;
    } cases[] = {
        {"thumb wider than the control", 10, 40, true, false},
        {"thumb as wide as the control", 11, 40, true, false},
        {"thumb as high as the control", 200, 19, true, false},
        {"disabled", 200, 22, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* slider = Make<CSliderControl>(c.width, c.height);
        slider->Init(101, 30, false, false);
        slider->Enable(c.enabled);
        EXPECT_EQ(slider->HasThumbArea(), c.thumbArea);
        Press(slider, 2, 5);
        Drag(slider, 8, 5);
        Release(slider, 8, 5);
        EXPECT_FALSE(slider->InTracking());
        EXPECT_EQ(slider->GetValue(), 30);
        EXPECT_TRUE(m_received.empty());
    }
}

// A resource folder whose thumb is 10 pixels wide: on a control 11 pixels wide its groove is one pixel long.
TEST_F(SliderControl, OnePixelGrooveGivesValueZero)
{
    ScratchFolder folder;
    std::filesystem::create_directories(folder / "bitmaps");
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    wxImage thumb(10, 8);
    thumb.SetRGB(wxRect(0, 0, 10, 8), 255, 255, 255);
    ASSERT_TRUE(thumb.SaveFile(folder / "bitmaps/6088.png", wxBITMAP_TYPE_PNG));
    ASSERT_TRUE(thumb.SaveFile(folder / "bitmaps/6089.png", wxBITMAP_TYPE_PNG));
    SetResourceFolder(folder.Path());

    auto* slider = Make<CSliderControl>(11, 20);
    slider->Init(101, 40, false, false);
    SetResourceFolder({});
    ASSERT_TRUE(slider->HasThumbArea());
    EXPECT_EQ(slider->GrooveEnd() - slider->GrooveStart(), 1);
    Press(slider, 5, 15);
    Drag(slider, 9, 15);
    Release(slider, 9, 15);
    EXPECT_EQ(slider->GetValue(), 0);
    EXPECT_EQ(Codes(), (std::vector<unsigned>{2029, 2029, 2030}));
    slider->Update();
}

} // namespace
