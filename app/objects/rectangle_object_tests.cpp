#include "app/objects/rectangle_object.h"

#include <gtest/gtest.h>

#include <climits>

#include "app/model/fill_info.h"

namespace {

unsigned char AlphaAt(const CImage& image, int x, int y)
{
    return image.GetData()[static_cast<ptrdiff_t>(y) * image.GetStride() + 4 * x];
}

} // namespace

TEST(RectangleObject, CornerRadiusIsAShareOfTwoThirdsOfTheShorterSide)
{
    struct Case
    {
        int corner, width, height, radius;
    };
    const Case cases[] = {
        {50, 90, 60, 20}, {100, 30, 30, 20},  {0, 30, 30, 0},
        {-5, 30, 30, 0},  {1, 90, 60, 0},     {3, 90, 60, 1},
        {50, 10, 200, 3}, {1000, 90, 60, 40}, {INT_MAX, 2000, 2000, 1333},
        {100, 0, 0, 0},
        // Sides that three does not divide: two thirds of 100 is 66.67, cut to 66; of 11, 7.33 cut to 7.
        {100, 100, 100, 66}, {100, 11, 200, 7}, {100, 200, 10, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CRectangleObject::CornerRadius(c.corner, c.width, c.height), c.radius)
            << c.corner << " on " << c.width << " x " << c.height;
}

TEST(RectangleObject, CornerTakesEffectAtTheNextRebuild)
{
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    CRectangleObject object(20, 20, SIZE{30, 30}, 0.0);
    object.SetCorner(100);
    EXPECT_EQ(object.GetCorner(), 100);
    ASSERT_TRUE(object.UpdateImage(scratch));
    EXPECT_EQ(AlphaAt(*object.GetImage(), 0, 0), 255) << "still square";

    // Corners of radius 20 on a side of 30 overlap; the outline is built as it is and renders.
    object.SetCenter(DPOINT{20.5, 20});
    ASSERT_TRUE(object.UpdateImage(scratch));
    EXPECT_EQ(AlphaAt(*object.GetImage(), 0, 0), 0);
    EXPECT_EQ(AlphaAt(*object.GetImage(), 15, 15), 255);
    EXPECT_EQ(object.GetImage()->Width(), 31);
}

TEST(RectangleObject, AnimatedAndPngPicturesLimitWhatTheRectangleOffers)
{
    struct Case
    {
        const char* picture; // null: a colour fill
        bool animated;
        bool others, rotate;
    };
    const Case cases[] = {
        {nullptr, false, true, true},
        {"/pics/photo.jpg", false, true, true},
        {"/pics/logo.png", false, true, false},
        {"/pics/LOGO.PNG", false, true, false},
        {"/pics/a.png.jpg", false, true, false},
        {"/pics/spin.gif", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture ? c.picture : "colour");
        CRectangleObject object(0, 0, SIZE{10, 10}, 0.0);
        if (c.picture) {
            auto fill = std::make_unique<CFillInfo>();
            fill->SetImageFile(c.picture);
            fill->SetAnimated(c.animated);
            object.SetFill(std::move(fill));
        }
        EXPECT_EQ(object.CanTakeStyle(), c.others);
        EXPECT_EQ(object.CanHavePictureFill(), c.others);
        EXPECT_EQ(object.CanHaveMouseOver(), c.others);
        EXPECT_EQ(object.CanHaveButtonText(), c.others);
        EXPECT_EQ(object.CanRotate(), c.rotate);
        EXPECT_TRUE(object.HasFill());
        EXPECT_TRUE(object.CanHaveAltText());
        EXPECT_TRUE(object.CanResize());
    }
}
