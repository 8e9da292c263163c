#include "platform/gui/display.h"

#include <gtest/gtest.h>
#include <vector>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

namespace {

// A buffer of w x h pixels in display order whose pixel (x, y) has blue 10x, green 20y and red 7, with the given
// pixel step and rows padded to rowStep bytes.
std::vector<unsigned char> Buffer(int w, int h, int pixelStep, int rowStep)
{
    std::vector<unsigned char> bytes(static_cast<size_t>(rowStep) * h, 0xEE);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &bytes[static_cast<size_t>(y) * rowStep + static_cast<size_t>(x) * pixelStep];
            p[0] = static_cast<unsigned char>(10 * x);
            p[1] = static_cast<unsigned char>(20 * y);
            p[2] = 7;
        }
    }
    return bytes;
}

TEST(Display, BufferBecomesRedGreenBlueImage)
{
    struct Case
    {
        const char* name;
        int pixelStep;
        int rowStep;
        int width;       // pixels drawn per row
        int bufferWidth; // pixels stored per row
    };
    const Case cases[] = {
        {"three bytes, rows padded to four", 3, 12, 3, 3},
        {"four bytes per pixel", 4, 12, 3, 3},
        {"part of a wider buffer", 3, 16, 2, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<unsigned char> bytes = Buffer(c.bufferWidth, 2, c.pixelStep, c.rowStep);
        wxImage image;
        ASSERT_TRUE(CDisplay::BufferToImage(image, c.width, 2, bytes.data(), c.pixelStep, c.rowStep, c.bufferWidth,
                                            IMAGE_MODE_RGB, nullptr));
        ASSERT_EQ(image.GetWidth(), c.width);
        ASSERT_EQ(image.GetHeight(), 2);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < c.width; ++x) {
                EXPECT_EQ(image.GetRed(x, y), 7);
                EXPECT_EQ(image.GetGreen(x, y), 20 * y);
                EXPECT_EQ(image.GetBlue(x, y), 10 * x);
            }
        }
    }
}

TEST(Display, RefusesWhatItCannotDraw)
{
    const std::vector<unsigned char> bytes = Buffer(4, 4, 4, 16);
    const CLut palette;
    struct Case
    {
        const char* name;
        const unsigned char* buffer;
        int width, height, pixelStep, rowStep, bufferWidth;
        IMAGE_MODE mode;
        const CLut* palette;
    };
    const Case cases[] = {
        {"alpha mode with three-byte pixels", bytes.data(), 4, 4, 3, 16, 4, IMAGE_MODE_RGBA, nullptr},
        {"grey mode", bytes.data(), 4, 4, 4, 16, 4, IMAGE_MODE_GREY, nullptr},
        {"a palette", bytes.data(), 4, 4, 4, 16, 4, IMAGE_MODE_RGB, &palette},
        {"no buffer", nullptr, 4, 4, 4, 16, 4, IMAGE_MODE_RGB, nullptr},
        {"no width", bytes.data(), 0, 4, 4, 16, 4, IMAGE_MODE_RGB, nullptr},
        {"negative height", bytes.data(), 4, -1, 4, 16, 4, IMAGE_MODE_RGB, nullptr},
        {"wider than the buffer", bytes.data(), 5, 4, 3, 16, 4, IMAGE_MODE_RGB, nullptr},
        {"rows too short", bytes.data(), 4, 4, 4, 15, 4, IMAGE_MODE_RGB, nullptr},
        {"two-byte pixels", bytes.data(), 4, 4, 2, 16, 4, IMAGE_MODE_RGB, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        wxImage image(1, 1);
        EXPECT_FALSE(CDisplay::BufferToImage(image, c.width, c.height, c.buffer, c.pixelStep, c.rowStep, c.bufferWidth,
                                             c.mode, c.palette));
        EXPECT_EQ(image.GetWidth(), 1);
        wxBitmap target(8, 8, 24);
        wxMemoryDC dc(target);
        EXPECT_FALSE(CDisplay::BltBuf(dc, 0, 0, c.width, c.height, c.buffer, c.pixelStep, c.rowStep, c.bufferWidth,
                                      c.mode, c.palette));
    }
}

TEST(Display, DrawsAtThePlaceGiven)
{
    wxBitmap target(10, 10, 24);
    {
        wxMemoryDC dc(target);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        const std::vector<unsigned char> bytes = Buffer(3, 2, 3, 12);
        ASSERT_TRUE(CDisplay::BltBuf(dc, 4, 5, 3, 2, bytes.data(), 3, 12, 3, IMAGE_MODE_RGB, nullptr));
    }
    const wxImage drawn = target.ConvertToImage();
    EXPECT_EQ(drawn.GetRed(3, 5), 255) << "left of the buffer stays white";
    EXPECT_EQ(drawn.GetRed(4, 5), 7);
    EXPECT_EQ(drawn.GetBlue(6, 6), 20);
    EXPECT_EQ(drawn.GetGreen(6, 6), 20);
    EXPECT_EQ(drawn.GetRed(6, 7), 255) << "below the buffer stays white";
}

TEST(Display, AlphaPixelsBlendOverWhatIsThere)
{
    // alpha, blue, green, red: clear, half red, opaque blue
    const unsigned char bytes[12] = {0, 9, 9, 9, 128, 0, 0, 255, 255, 255, 0, 0};
    wxImage image;
    ASSERT_TRUE(CDisplay::BufferToImage(image, 3, 1, bytes, 4, 12, 3, IMAGE_MODE_RGBA, nullptr));
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(image.GetAlpha(0, 0), 0);
    EXPECT_EQ(image.GetAlpha(1, 0), 128);
    EXPECT_EQ(image.GetRed(1, 0), 255);
    EXPECT_EQ(image.GetBlue(2, 0), 255);

    wxBitmap target(3, 1, 24);
    {
        wxMemoryDC dc(target);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        ASSERT_TRUE(CDisplay::BltBuf(dc, 0, 0, 3, 1, bytes, 4, 12, 3, IMAGE_MODE_RGBA, nullptr));
    }
    const wxImage drawn = target.ConvertToImage();
    EXPECT_EQ(drawn.GetGreen(0, 0), 255) << "clear pixel leaves the white";
    EXPECT_NEAR(drawn.GetGreen(1, 0), 127, 2) << "half red over white";
    EXPECT_EQ(drawn.GetRed(1, 0), 255);
    EXPECT_EQ(drawn.GetRed(2, 0), 0) << "opaque blue";
}

} // namespace
