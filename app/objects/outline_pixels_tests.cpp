#include "app/objects/outline_pixels.h"

#include <gtest/gtest.h>

namespace {

using detail::CropToVisible;

// A w x h alpha-first RGB image, clear but for the box, whose pixels tell their position in their colour.
std::unique_ptr<CImage> ImageShowing(int w, int h, const CRect& box)
{
    auto image = std::make_unique<CImage>(IMAGE_MODE_RGBA, w, h, 120.0);
    CPixMap map(IMAGE_MODE_RGBA, w, h);
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            unsigned char* p = map.Sample(x, y, 0);
            p[0] = static_cast<unsigned char>(1 + (x + y) % 255);
            p[1] = static_cast<unsigned char>(x);
            p[2] = static_cast<unsigned char>(y);
            p[3] = 7;
        }
    }
    EXPECT_TRUE(image->SetBuf(0, 0, map));
    return image;
}

TEST(CropToVisible, KeepsTheBoxOfShowingPixelsAndMovesTheBoundsWithIt)
{
    struct Case
    {
        const char* name;
        int w, h;
        CRect shows;
        CRect expectedBox; // in the image's pixels
    };
    const Case cases[] = {
        {"inner box", 30, 20, CRect(4, 3, 11, 9), CRect(4, 3, 11, 9)},
        {"box over several scratch tiles", 40, 40, CRect(2, 5, 37, 33), CRect(2, 5, 37, 33)},
        {"single pixel", 9, 9, CRect(8, 0, 9, 1), CRect(8, 0, 9, 1)},
        {"every edge shows", 12, 10, CRect(0, 0, 12, 10), CRect(0, 0, 12, 10)},
        {"nothing shows", 12, 10, CRect(), CRect(0, 0, 12, 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A scratch map smaller than most crops, so that the copy takes several tiles.
        CPixMap scratch(IMAGE_MODE_RGBA, 8, 6);
        std::unique_ptr<CImage> image = ImageShowing(c.w, c.h, c.shows);
        CRect bounds(100, 200, 100 + c.w, 200 + c.h);
        ASSERT_TRUE(CropToVisible(scratch, image, bounds));
        EXPECT_EQ(bounds, CRect(100 + c.expectedBox.left, 200 + c.expectedBox.top, 100 + c.expectedBox.right,
                                200 + c.expectedBox.bottom));
        ASSERT_EQ(image->Width(), c.expectedBox.Width());
        ASSERT_EQ(image->Height(), c.expectedBox.Height());
        EXPECT_EQ(image->GetDpi(), 120.0);
        EXPECT_EQ(scratch.width, 8);
        EXPECT_EQ(scratch.height, 6);

        const std::unique_ptr<CImage> original = ImageShowing(c.w, c.h, c.shows);
        CPixMap got(IMAGE_MODE_RGBA, image->Width(), image->Height());
        CPixMap want(IMAGE_MODE_RGBA, image->Width(), image->Height());
        ASSERT_TRUE(image->GetBuf(0, 0, got));
        ASSERT_TRUE(original->GetBuf(c.expectedBox.left, c.expectedBox.top, want));
        for (int y = 0; y < got.height; ++y)
            for (int x = 0; x < got.width; ++x)
                for (int p = 0; p < 4; ++p)
                    EXPECT_EQ(*got.Sample(x, y, p), *want.Sample(x, y, p)) << x << "," << y << " sample " << p;
    }
}

} // namespace
