#include "app/model/fill_style.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/model/fill_style_test_support.h"
#include "app/model/fill_test_support.h"

namespace {

COLORREF PictureColor(int x, int y)
{
    return RGB(static_cast<BYTE>(x), static_cast<BYTE>(y), static_cast<BYTE>(x + y));
}

// A page buffer of 4-byte pixels (alpha, red, green, blue), filled with a value no fill paints.
struct PageBuffer
{
    PageBuffer(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 4, 0x11) {}
    int Stride() const { return width * 4; }
    BYTE Alpha(int x, int y) const { return bytes[(static_cast<size_t>(y) * width + x) * 4]; }
    COLORREF Color(int x, int y) const
    {
        const BYTE* p = &bytes[(static_cast<size_t>(y) * width + x) * 4];
        return RGB(p[1], p[2], p[3]);
    }
    bool AllOpaque() const
    {
        for (size_t i = 0; i < bytes.size(); i += 4)
            if (bytes[i] != 255)
                return false;
        return true;
    }
    int width;
    int height;
    std::vector<BYTE> bytes;
};

PageBuffer RenderInto(const CFillStyle& style, const RECT& rect, CPixMap& scratch, int pageWidth = 800,
                      int pageHeight = 600)
{
    PageBuffer buffer(rect.right - rect.left, rect.bottom - rect.top);
    style.Render(rect, buffer.bytes.data(), buffer.Stride(), scratch, pageWidth, pageHeight);
    return buffer;
}

} // namespace

TEST_F(FillStyleTest, ColourAndPicturesNotYetLoadedPaintTheColour)
{
    CPixMap scratch(IMAGE_MODE_RGBA, 16, 16);
    CFillStyle style;
    style.SetColor(CColor(10, 20, 30));
    for (int pass = 0; pass < 2; ++pass) {
        const PageBuffer out = RenderInto(style, RECT{5, 5, 15, 12}, scratch);
        EXPECT_TRUE(out.AllOpaque());
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x)
                ASSERT_EQ(out.Color(x, y), RGB(10, 20, 30));
        style.SetImageFile(SavePicture("p.png"));
    }
}

TEST_F(FillStyleTest, TiledPictureRepeatsFromThePageOrigin)
{
    CFillStyle style;
    style.SetImageFile(SavePicture("tile.png", 64, 64));
    ASSERT_TRUE(style.LoadFillImage());
    // A work map smaller than the spans makes the copy go in pieces.
    CPixMap scratch(IMAGE_MODE_RGBA, 16, 16);
    const PageBuffer out = RenderInto(style, RECT{100, 100, 200, 200}, scratch);

    EXPECT_EQ(out.Color(0, 0), PictureColor(36, 36));
    EXPECT_EQ(out.Color(28, 28), PictureColor(0, 0));
    EXPECT_TRUE(out.AllOpaque());
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            ASSERT_EQ(out.Color(x, y), PictureColor((100 + x) % 64, (100 + y) % 64)) << x << "," << y;
    EXPECT_EQ(scratch.width, 16);
    EXPECT_EQ(scratch.height, 16);
}

TEST_F(FillStyleTest, PlacedPictureLiesAtItsGridPosition)
{
    const std::string path = SavePicture("placed.png", 100, 50);
    struct Case
    {
        int position;
        RECT rect;
        POINT topLeft; // where the picture's top left lies in the buffer
    };
    const Case cases[] = {
        {6, {0, 0, 800, 600}, {0, 550}},     {4, {0, 0, 800, 600}, {350, 275}},
        {8, {0, 0, 800, 600}, {700, 550}},   {4, {360, 280, 380, 290}, {-10, -5}}, // a rectangle inside the picture
        {9, {300, 200, 500, 400}, {50, 75}},                                       // out of the grid: centred
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        CFillStyle style;
        style.SetImageFile(path);
        style.SetImagePosition(c.position);
        ASSERT_TRUE(style.LoadFillImage());
        CPixMap scratch(IMAGE_MODE_RGBA, 256, 256);
        const PageBuffer out = RenderInto(style, c.rect, scratch);
        EXPECT_TRUE(out.AllOpaque());
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) {
                const int px = x - c.topLeft.x, py = y - c.topLeft.y;
                const bool inside = px >= 0 && px < 100 && py >= 0 && py < 50;
                ASSERT_EQ(out.Color(x, y), inside ? PictureColor(px, py) : RGB(255, 255, 255)) << x << "," << y;
            }
    }

    // A rectangle the picture does not reach is left white.
    CFillStyle style;
    style.SetImageFile(path);
    style.SetImagePosition(0);
    ASSERT_TRUE(style.LoadFillImage());
    CPixMap scratch(IMAGE_MODE_RGBA, 256, 256);
    const PageBuffer out = RenderInto(style, RECT{100, 50, 110, 60}, scratch);
    EXPECT_EQ(out.Color(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(out.Color(9, 9), RGB(255, 255, 255));
}

TEST_F(FillStyleTest, GradientStripRepeatsAcrossOrDownThePage)
{
    const CGradientInfo blackToWhite = BlackToWhite();
    for (bool horizontal : {true, false}) {
        SCOPED_TRACE(horizontal ? "across" : "up");
        CFillStyle style;
        style.SetWidth(200);
        style.SetHeight(100);
        style.SetGradient(&blackToWhite);
        style.SetGradientHorizontal(horizontal);
        ASSERT_TRUE(style.LoadFillImage());
        const CImage& strip = *style.GetImage();
        ASSERT_EQ(strip.Width(), horizontal ? 200 : 1);
        ASSERT_EQ(strip.Height(), horizontal ? 1 : 100);
        // The start colour lies at the left, or at the bottom.
        EXPECT_LT(GetRValue(ColorAt(strip, 0, strip.Height() - 1)), 10);
        EXPECT_GT(GetRValue(ColorAt(strip, strip.Width() - 1, 0)), 245);
        EXPECT_EQ(style.EstimateImageBytes(4.13), horizontal ? 48 : 24);

        // A work map of the wrong form is not written to; the style uses its own.
        CPixMap rgbaScratch(IMAGE_MODE_RGBA, 16, 16);
        CPixMap rgbScratch(IMAGE_MODE_RGB, 8, 8);
        for (CPixMap* scratch : {&rgbaScratch, &rgbScratch}) {
            const PageBuffer out = RenderInto(style, RECT{50, 10, 150, 60}, *scratch, 200, 100);
            EXPECT_TRUE(out.AllOpaque());
            for (int y = 0; y < out.height; ++y)
                for (int x = 0; x < out.width; ++x)
                    ASSERT_EQ(out.Color(x, y), horizontal ? ColorAt(strip, 50 + x, 0) : ColorAt(strip, 0, 10 + y))
                        << x << "," << y;
        }
        EXPECT_EQ(rgbScratch.width, 8);
    }
}
