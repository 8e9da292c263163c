#include "platform/resources/bitmap_resources.h"

#include "platform/io/io.h"
#include "platform/resources/resource_folder.h"
#include "testing/scratch_folder.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// A resource folder of its own holding small bitmaps, written as PNG files the way the build writes them.
class BitmapFolder : public ::testing::Test
{
protected:
    BitmapFolder()
    {
        std::filesystem::create_directories(m_folder / "bitmaps");
        SetResourceFolder(m_folder.Path());
    }
    ~BitmapFolder() override { SetResourceFolder({}); }

    // A picture whose pixel (x, y) has red 10 + x, green 100 + y and blue 200 + x + y.
    void WriteBitmap(unsigned id, int width, int height)
    {
        CImage picture(IMAGE_MODE_RGB, width, height);
        for (int y = 0; y < height; ++y) {
            unsigned char* row = picture.GetData() + static_cast<size_t>(y) * picture.GetStride();
            for (int x = 0; x < width; ++x) {
                row[3 * x] = static_cast<unsigned char>(10 + x);
                row[3 * x + 1] = static_cast<unsigned char>(100 + y);
                row[3 * x + 2] = static_cast<unsigned char>(200 + x + y);
            }
        }
        ASSERT_TRUE(CIO::SavePNG(GetBitmapResourcePath(id).string(), picture));
    }

    static std::array<int, 4> Pixel(const CPixMap& map, int x, int y)
    {
        std::array<int, 4> bytes{};
        for (int i = 0; i < map.planes; ++i)
            bytes[i] = *map.Sample(x, y, i);
        return bytes;
    }

    ScratchFolder m_folder;
};

TEST_F(BitmapFolder, RgbLoadersGiveDeviceOrderOrRedFirst)
{
    WriteBitmap(7000, 3, 2);
    struct Case
    {
        const char* name;
        bool rgbOrder;
        bool program;
        std::array<int, 4> pixel21; // pixel (2, 1)
    };
    const Case cases[] = {
        {"library loader", false, false, {203, 101, 12, 0}},
        {"program loader, device order", false, true, {203, 101, 12, 0}},
        {"program loader, red first", true, true, {12, 101, 203, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPixMap map(IMAGE_MODE_GREY, 1, 1);
        ASSERT_TRUE(c.program ? LoadProgramBitmap(7000, &map, true, c.rgbOrder) : LoadBitmapRGB(7000, &map, true));
        EXPECT_EQ(map.mode, IMAGE_MODE_RGB);
        EXPECT_EQ(map.width, 3);
        EXPECT_EQ(map.height, 2);
        EXPECT_TRUE(map.interleaved);
        EXPECT_EQ(Pixel(map, 2, 1), c.pixel21);
    }
}

TEST_F(BitmapFolder, RgbaLoaderFillsColourThenMaskFromAGreyBitmap)
{
    WriteBitmap(7000, 2, 2);
    CImage grey(IMAGE_MODE_GREY, 2, 2);
    grey.GetData()[0] = 0;
    grey.GetData()[1] = 77;
    grey.GetData()[grey.GetStride()] = 128;
    grey.GetData()[grey.GetStride() + 1] = 255;
    ASSERT_TRUE(CIO::SavePNG(GetBitmapResourcePath(7001).string(), grey));

    CPixMap map(IMAGE_MODE_RGB, 1, 1);
    ASSERT_TRUE(LoadBitmapRGBA(7000, &map, true, false));
    ASSERT_EQ(map.mode, IMAGE_MODE_RGBA);
    *map.Sample(1, 0, 0) = 9; // the colour load keeps whatever alpha is there
    ASSERT_TRUE(LoadBitmapRGBA(7000, &map, false, false));
    EXPECT_EQ(Pixel(map, 1, 0), (std::array<int, 4>{9, 201, 100, 11}));
    ASSERT_TRUE(LoadBitmapRGBA(7001, &map, false, true));
    EXPECT_EQ(Pixel(map, 1, 0), (std::array<int, 4>{77, 201, 100, 11}));
    EXPECT_EQ(Pixel(map, 0, 1), (std::array<int, 4>{128, 201, 101, 10}));
    EXPECT_EQ(Pixel(map, 1, 1), (std::array<int, 4>{255, 202, 101, 11}));
}

TEST_F(BitmapFolder, FailedLoadsLeaveTheMapAsItWas)
{
    WriteBitmap(7000, 4, 4);
    std::ofstream(GetBitmapResourcePath(7002)) << "not a picture";
    struct Case
    {
        const char* name;
        unsigned id;
        IMAGE_MODE mapMode;
        int mapSide;
        bool allocate;
        bool rgba;
    };
    const Case cases[] = {
        {"missing id", 7999, IMAGE_MODE_RGB, 2, true, false},
        {"missing id, RGBA", 7999, IMAGE_MODE_RGBA, 2, true, true},
        {"damaged file", 7002, IMAGE_MODE_RGB, 2, true, false},
        {"map smaller than the bitmap", 7000, IMAGE_MODE_RGB, 3, false, false},
        {"map smaller than the bitmap, RGBA", 7000, IMAGE_MODE_RGBA, 3, false, true},
        {"map of another mode", 7000, IMAGE_MODE_RGBA, 8, false, false},
        {"RGB map for the RGBA loader", 7000, IMAGE_MODE_RGB, 8, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPixMap map(c.mapMode, c.mapSide, c.mapSide);
        const unsigned char* before = map.plane[0].data;
        std::memset(map.plane[0].data, 0x5A, map.bufferSize[0]);
        const bool loaded =
            c.rgba ? LoadBitmapRGBA(c.id, &map, c.allocate, false) : LoadProgramBitmap(c.id, &map, c.allocate, false);
        EXPECT_FALSE(loaded);
        EXPECT_EQ(map.plane[0].data, before);
        EXPECT_EQ(map.width, c.mapSide);
        for (int i = 0; i < map.bufferSize[0]; ++i)
            ASSERT_EQ(map.buffer[0][i], 0x5A) << "byte " << i;
    }
    EXPECT_FALSE(LoadBitmapRGB(7000, nullptr, true));
}

TEST_F(BitmapFolder, TheDisplayIsNeverSixteenBits)
{
    uint16_t masks[3] = {1, 2, 3}, bits[3] = {4, 5, 6};
    int shifts[3] = {7, 8, 9};
    for (bool probePresent : {false, true}) {
        SCOPED_TRACE(probePresent ? "probe bitmap present" : "no probe bitmap");
        if (probePresent)
            WriteBitmap(421, 1, 3);
        EXPECT_FALSE(Is16BitDisplay());
        EXPECT_FALSE(Get16BitPixelLayout(masks[0], masks[1], masks[2], shifts[0], shifts[1], shifts[2], bits[0],
                                         bits[1], bits[2]));
        EXPECT_EQ(masks[0], 1);
        EXPECT_EQ(shifts[2], 9);
        EXPECT_EQ(bits[1], 5);
    }
}

} // namespace
