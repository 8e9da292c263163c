#include "controls/control_raster.h"

#include "platform/resources/resource_folder.h"
#include "testing/scratch_folder.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/imagpng.h>

namespace {

using Pixel = std::array<int, 4>; // alpha, then three colour bytes

TEST(BlendRowOver, CombinesAlphaAndColourByTheIntegerRule)
{
    struct Case
    {
        Pixel dst, src, expected;
    };
    const Case cases[] = {
        {{0, 10, 20, 30}, {0, 99, 99, 99}, {0, 10, 20, 30}},         // nothing over nothing: untouched
        {{200, 10, 20, 30}, {0, 99, 99, 99}, {200, 10, 20, 30}},     // clear source keeps the destination
        {{200, 10, 20, 30}, {255, 40, 50, 60}, {255, 40, 50, 60}},   // opaque source replaces it
        {{0, 10, 20, 30}, {128, 40, 50, 60}, {128, 40, 50, 60}},     // over clear: the source as it is
        {{128, 0, 100, 255}, {128, 255, 0, 0}, {192, 170, 33, 85}},  // A = 128 + 128 - 64
        {{255, 255, 255, 255}, {64, 0, 0, 0}, {255, 191, 191, 191}}, // a quarter of black over white
        {{255, 0, 0, 0}, {1, 255, 255, 255}, {255, 1, 1, 1}},        // faint white over black
    };
    for (const Case& c : cases) {
        unsigned char dst[4], src[4];
        for (int i = 0; i < 4; ++i) {
            dst[i] = static_cast<unsigned char>(c.dst[i]);
            src[i] = static_cast<unsigned char>(c.src[i]);
        }
        BlendRowOver(dst, 4, 4, src, 4, 4, 1, 1);
        EXPECT_EQ((Pixel{dst[0], dst[1], dst[2], dst[3]}), c.expected)
            << "dst alpha " << c.dst[0] << ", src alpha " << c.src[0];
    }
}

TEST(BlendRowOver, WalksTheStepsItIsGiven)
{
    // Destination pixels 8 bytes apart in rows of 20 bytes; source packed; only the addressed bytes change.
    std::array<unsigned char, 40> dst{};
    dst.fill(7);
    const std::array<unsigned char, 16> src = {255, 1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12};
    BlendRowOver(dst.data(), 8, 20, src.data(), 4, 8, 2, 2);
    const std::array<unsigned char, 40> expected = {255, 1, 2, 3, 7, 7, 7, 7, 255, 4,  5,  6,  7, 7, 7, 7, 7, 7, 7, 7,
                                                    255, 7, 8, 9, 7, 7, 7, 7, 255, 10, 11, 12, 7, 7, 7, 7, 7, 7, 7, 7};
    EXPECT_EQ(dst, expected);
}

TEST(DisplayBuffer, RowsArePaddedToFourBytes)
{
    const std::pair<int, int> widthToStride[] = {{0, 0}, {1, 4}, {3, 12}, {4, 12}, {5, 16}, {-3, 0}};
    for (const auto& [width, stride] : widthToStride) {
        DisplayBuffer buffer(width, 2);
        EXPECT_EQ(buffer.Stride(), stride) << "width " << width;
    }
}

TEST(DisplayBuffer, DrawingIsCutToTheBuffer)
{
    // Each placement reaches past an edge; the sanitizer run catches any write outside, the pixels show the cut.
    DisplayBuffer buffer(4, 3);
    buffer.Fill({1, 2, 3});
    buffer.FillRect(-2, -2, 4, 3, {9, 9, 9});
    buffer.FillRect(3, 2, 10, 10, {8, 8, 8});
    EXPECT_EQ(buffer.Get(0, 0), (ControlRgb{9, 9, 9}));
    EXPECT_EQ(buffer.Get(1, 0), (ControlRgb{9, 9, 9}));
    EXPECT_EQ(buffer.Get(2, 0), (ControlRgb{1, 2, 3}));
    EXPECT_EQ(buffer.Get(0, 1), (ControlRgb{1, 2, 3}));
    EXPECT_EQ(buffer.Get(3, 2), (ControlRgb{8, 8, 8}));
    EXPECT_EQ(buffer.Get(3, 1), (ControlRgb{1, 2, 3}));

    DisplayBuffer patch(3, 3);
    patch.Fill({50, 60, 70});
    buffer.Paste(patch, 2, -1);
    EXPECT_EQ(buffer.Get(3, 1), (ControlRgb{50, 60, 70}));
    EXPECT_EQ(buffer.Get(1, 1), (ControlRgb{1, 2, 3}));
    EXPECT_EQ(buffer.Get(2, 2), (ControlRgb{1, 2, 3}));

    CPixMap map(IMAGE_MODE_RGBA, 2, 2);
    FillOpaque(map, {200, 100, 0});
    buffer.CopyColour(map, -1, 2);
    EXPECT_EQ(buffer.Get(0, 2), (ControlRgb{200, 100, 0}));
    EXPECT_EQ(buffer.Get(1, 2), (ControlRgb{1, 2, 3}));
}

TEST(RgbaMap, HelpersStayInsideTheMap)
{
    CPixMap map(IMAGE_MODE_RGBA, 4, 3);
    FillOpaque(map, {1, 2, 3});
    ClearMap(map);
    EXPECT_EQ(*map.Sample(3, 2, 0), 0);
    FillMapRect(map, -2, -1, 3, 2, {10, 20, 30});
    EXPECT_EQ((Pixel{*map.Sample(0, 0, 0), *map.Sample(0, 0, 1), *map.Sample(0, 0, 2), *map.Sample(0, 0, 3)}),
              (Pixel{255, 30, 20, 10}));
    EXPECT_EQ(*map.Sample(1, 0, 0), 0);
    EXPECT_EQ(*map.Sample(0, 1, 0), 0);

    DisplayBuffer groove(3, 1);
    groove.Fill({7, 8, 9});
    PasteOpaque(map, groove, 2, 2);
    EXPECT_EQ((Pixel{*map.Sample(3, 2, 0), *map.Sample(3, 2, 1), *map.Sample(3, 2, 2), *map.Sample(3, 2, 3)}),
              (Pixel{255, 9, 8, 7}));
    EXPECT_EQ(*map.Sample(1, 2, 0), 0);

    CPixMap thumb(IMAGE_MODE_RGBA, 2, 2);
    FillOpaque(thumb, {100, 100, 100});
    *thumb.Sample(0, 1, 0) = 128;
    BlendMapOver(map, thumb, 3, 1);
    EXPECT_EQ(*map.Sample(3, 1, 1), 100);
    EXPECT_EQ(*map.Sample(2, 1, 0), 0);
    EXPECT_EQ(*map.Sample(3, 2, 0), 255) << "a faint pixel over an opaque one stays opaque";
    EXPECT_EQ(*map.Sample(3, 2, 1), (9 * 127 + 100 * 128) / 255);
}

TEST(KeyedGlyph, KeyColouredPixelsBecomeClearAndTheRestOpaque)
{
    ScratchFolder folder;
    std::filesystem::create_directories(folder / "bitmaps");
    SetResourceFolder(folder.Path());
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    wxImage key(1, 1);
    key.SetRGB(0, 0, 0, 255, 255);
    ASSERT_TRUE(key.SaveFile(folder / "bitmaps/6086.png", wxBITMAP_TYPE_PNG));
    wxImage glyph(3, 1);
    glyph.SetRGB(0, 0, 0, 255, 255); // the key
    glyph.SetRGB(1, 0, 0, 255, 254); // one step off the key
    glyph.SetRGB(2, 0, 30, 40, 50);
    ASSERT_TRUE(glyph.SaveFile(folder / "bitmaps/7300.png", wxBITMAP_TYPE_PNG));

    CPixMap map(IMAGE_MODE_RGB, 1, 1);
    ASSERT_TRUE(LoadKeyedGlyph(7300, &map));
    EXPECT_EQ(*map.Sample(0, 0, 0), 0);
    EXPECT_EQ(*map.Sample(1, 0, 0), 255);
    EXPECT_EQ(*map.Sample(2, 0, 0), 255);
    EXPECT_EQ(*map.Sample(2, 0, 1), 50) << "colour stays in display order";

    EXPECT_FALSE(LoadKeyedGlyph(7301, &map)) << "missing glyph";
    std::filesystem::remove(folder / "bitmaps/6086.png");
    EXPECT_FALSE(LoadKeyedGlyph(7300, &map)) << "missing key";
    SetResourceFolder({});
}

} // namespace
