#include "app/model/fill_style.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/model/fill_style_test_support.h"
#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/model/stream_test_support.h"

namespace {

std::vector<BYTE> WrittenStyle(const CFillStyle& style)
{
    CMemFile file;
    style.Write(file);
    return FileBytes(file);
}

// Reads a style from the bytes, which must be used up exactly.
CFillStyle ReadStyleBack(const std::vector<BYTE>& bytes, int minor = kCurrentMinorVersion)
{
    auto file = FileOf(bytes);
    CFillStyle style;
    style.Read(*file, kCurrentMajorVersion, minor);
    EXPECT_EQ(file->GetPosition(), bytes.size());
    return style;
}

std::vector<BYTE> Header(int kind, int width, int height)
{
    return Concat({LE32(CFillStyle::kTag), LE32(static_cast<uint32_t>(kind)), LE32(static_cast<uint32_t>(width)),
                   LE32(static_cast<uint32_t>(height))});
}

} // namespace

TEST_F(FillStyleTest, DefaultsAndCopies)
{
    CFillStyle style;
    EXPECT_EQ(style.GetKind(), CFillStyle::FILL_COLOR);
    EXPECT_EQ(style.GetColor().GetCOLORREF(), RGB(255, 255, 255));
    EXPECT_TRUE(style.IsTile());
    EXPECT_EQ(style.GetImagePosition(), -1);
    EXPECT_TRUE(style.IsGradientHorizontal());
    EXPECT_EQ(style.GetGradient().predefined, 0);
    EXPECT_EQ(style.GetWidth(), -1);
    EXPECT_EQ(style.GetHeight(), -1);
    EXPECT_TRUE(style.NeedsRender());

    style.SetImageFileAndImage(Path("a.png"), Picture(2, 2));
    EXPECT_FALSE(style.NeedsRender());
    auto copy = style.Clone();
    EXPECT_EQ(copy->GetImage(), nullptr) << "the image is a cache the copy makes again";
    EXPECT_TRUE(copy->NeedsRender());
    EXPECT_EQ(copy->GetImageFile(), Path("a.png"));
    EXPECT_NE(*copy, style) << "the image itself takes part in equality";
    style.InvalidateImage();
    EXPECT_EQ(*copy, style);

    CFillStyle assigned;
    assigned = style;
    EXPECT_EQ(assigned, style);
    const CFillStyle& alias = assigned;
    assigned = alias;
    EXPECT_EQ(assigned.GetImageFile(), Path("a.png"));
}

TEST_F(FillStyleTest, RoundTripOfEveryKind)
{
    fake.sitePath = Path("site.kst");
    GRADIENTCOLORS custom = BlackToWhite();
    custom.AddStop(0.25, CColor(200, 0, 0), CColor(0, 0, 200));

    CFillStyle colour;
    colour.SetColor(CColor(12, 34, 56));
    CFillStyle tiled;
    tiled.SetImageFile(Path("pics/tile.png"));
    CFillStyle placed;
    placed.SetImageFile("/elsewhere/placed.png");
    placed.SetImagePosition(6);
    CFillStyle gradient;
    gradient.SetGradient(&custom);
    gradient.SetGradientHorizontal(false);
    for (CFillStyle* style : {&colour, &tiled, &placed, &gradient}) {
        style->SetWidth(2000);
        style->SetHeight(30000);
        EXPECT_EQ(ReadStyleBack(WrittenStyle(*style)), *style);
    }

    EXPECT_EQ(WrittenStyle(colour), Concat({Header(0, 2000, 30000), {12, 34, 56}}));
    // Pictures beside the site are stored relative to it and come back whole.
    EXPECT_EQ(WrittenStyle(tiled), Concat({Header(1, 2000, 30000), Counted("pics/tile.png"), {1}, LE32(0xFFFFFFFF)}));
    EXPECT_EQ(WrittenStyle(placed), Concat({Header(1, 2000, 30000), Counted("/elsewhere/placed.png"), {0}, LE32(6)}));
}

TEST_F(FillStyleTest, OlderFilesHoldNoPositionAndReadAsCentred)
{
    SetOpeningSitePath(Path("old.kst"));
    const std::vector<BYTE> bytes = Concat({Header(1, 800, 600), Counted("a.gif"), {0}});
    const CFillStyle style = ReadStyleBack(bytes, 11);
    EXPECT_EQ(style.GetImagePosition(), 4);
    EXPECT_FALSE(style.IsTile());
    EXPECT_EQ(style.GetImageFile(), Path("a.gif"));
    EXPECT_TRUE(style.NeedsRender());

    const CFillStyle current = ReadStyleBack(Concat({bytes, LE32(2)}), 12);
    EXPECT_EQ(current.GetImagePosition(), 2);
}

TEST_F(FillStyleTest, PageSizeLimits)
{
    struct Case
    {
        int width, height;
        bool reads;
    };
    const Case cases[] = {{2000, 30000, true}, {10, 10, true},      {2001, 600, false}, {800, 9, false},
                          {9, 600, false},     {800, 30001, false}, {-1, -1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const std::vector<BYTE> bytes = Concat({Header(0, c.width, c.height), {1, 2, 3}});
        if (c.reads) {
            const CFillStyle style = ReadStyleBack(bytes);
            EXPECT_EQ(style.GetWidth(), c.width);
            EXPECT_EQ(style.GetHeight(), c.height);
        } else {
            EXPECT_TRUE(RaisesBadData([&] { ReadStyleBack(bytes); }));
        }
    }
}

TEST_F(FillStyleTest, DamagedRecordsRaiseAndLeaveTheStyleAsItWas)
{
    CFillStyle tiled;
    tiled.SetImageFile("/a/b.png");
    tiled.SetWidth(100);
    tiled.SetHeight(100);
    CFillStyle gradient;
    gradient.SetGradient(nullptr);
    gradient.SetWidth(100);
    gradient.SetHeight(100);

    std::vector<std::vector<BYTE>> damaged = {
        Concat({LE32(0xB8629B78), LE32(0), LE32(100), LE32(100), {1, 2, 3}}),
        Concat({Header(3, 100, 100), {1, 2, 3}}),
        Concat({Header(-1, 100, 100), {1, 2, 3}}),
        Concat({Header(1, 100, 100), LE32(0x7FFFFFFF), {'a'}}),
    };
    // Every record cut anywhere short of its end.
    for (const CFillStyle* style : {&tiled, &gradient}) {
        const std::vector<BYTE> whole = WrittenStyle(*style);
        for (size_t n = 0; n < whole.size(); ++n)
            damaged.emplace_back(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(n));
    }
    for (const auto& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        CFillStyle target;
        target.SetColor(CColor(9, 8, 7));
        const CFillStyle before = target;
        auto file = FileOf(bytes);
        EXPECT_TRUE(RaisesBadData([&] { target.Read(*file, 5, 15); }));
        EXPECT_EQ(target, before);
    }
}

TEST_F(FillStyleTest, WritesOnlyWhatReadsBack)
{
    // A style never sized, or of a kind no file holds, must not make the whole site file unreadable.
    CFillStyle unsized;
    unsized.SetColor(CColor(1, 2, 3));
    EXPECT_EQ(WrittenStyle(unsized), Concat({Header(0, 10, 10), {1, 2, 3}}));
    CFillStyle huge;
    huge.SetWidth(5000);
    huge.SetHeight(40000);
    huge.SetKind(7);
    EXPECT_EQ(ReadStyleBack(WrittenStyle(huge)).GetHeight(), kMaxPageHeight);
    EXPECT_EQ(ReadStyleBack(WrittenStyle(huge)).GetKind(), CFillStyle::FILL_COLOR);
}

TEST(FillStyle, SetImagePositionKeepsToTheGrid)
{
    const std::pair<int, int> cases[] = {{0, 0}, {8, 8}, {3, 3}, {9, 4}, {-1, 4}, {100, 4}};
    for (const auto& [given, stored] : cases) {
        CFillStyle style;
        ASSERT_TRUE(style.IsTile());
        style.SetImagePosition(given);
        EXPECT_EQ(style.GetImagePosition(), stored) << given;
        EXPECT_FALSE(style.IsTile());
    }
}

TEST_F(FillStyleTest, TogglingFlagsNeverDropsAPendingRender)
{
    const std::string picture = SavePicture("pics/p.png");
    struct Case
    {
        const char* name;
        std::function<void(CFillStyle&)> prepare;
        std::function<void(CFillStyle&)> toggle;
        bool renderAgain;
    };
    const auto renderedGradient = [](CFillStyle& s) {
        s.SetGradient(nullptr);
        ASSERT_TRUE(s.LoadFillImage());
    };
    const auto pendingGradient = [](CFillStyle& s) { s.SetGradient(nullptr); };
    const auto loadedPicture = [&](CFillStyle& s) {
        s.SetImageFile(picture);
        ASSERT_TRUE(s.LoadFillImage());
    };
    const auto pendingPicture = [&](CFillStyle& s) { s.SetImageFile(picture); };
    const auto tile = [](CFillStyle& s) { s.SetTile(!s.IsTile()); };
    const auto direction = [](CFillStyle& s) { s.SetGradientHorizontal(!s.IsGradientHorizontal()); };
    const Case cases[] = {
        {"tile of a rendered gradient", renderedGradient, tile, false},
        {"direction of a rendered gradient", renderedGradient, direction, true},
        {"tile of a loaded picture", loadedPicture, tile, true},
        {"direction of a loaded picture", loadedPicture, direction, false},
        {"tile of a pending gradient", pendingGradient, tile, true},
        {"direction of a pending picture", pendingPicture, direction, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFillStyle style;
        style.SetWidth(40);
        style.SetHeight(30);
        c.prepare(style);
        c.toggle(style);
        EXPECT_EQ(style.NeedsRender(), c.renderAgain);
        // Whatever was toggled, the background can still be made and drawn as it is meant.
        EXPECT_TRUE(style.LoadFillImage());
        EXPECT_NE(style.GetImage(), nullptr);
    }

    CFillStyle style;
    style.SetGradient(nullptr);
    EXPECT_FALSE(style.LoadFillImage()) << "a strip needs the page's size";
    style.SetWidth(40);
    style.SetHeight(30);
    style.SetGradientHorizontal(false);
    EXPECT_EQ(style.GetGradient().angle, 90);
    style.SetGradientHorizontal(true);
    EXPECT_EQ(style.GetGradient().angle, 0);
    ASSERT_TRUE(style.LoadFillImage());
    style.SetGradientHorizontal(true);
    style.SetTile(true);
    EXPECT_FALSE(style.NeedsRender()) << "setting a flag to its own value changes nothing";
}
