#include "app/objects/circle_object.h"

#include <gtest/gtest.h>

#include "app/model/fill_info.h"

TEST(CircleObject, ATinyCircleStaysInsideItsPixels)
{
    struct Case
    {
        DPOINT centre;
        CRect box;
    };
    // 0.99 x 0.99 about the centre.
    const Case cases[] = {
        {{10.5, 10.5}, CRect(10, 10, 11, 11)},
        {{10.0, 10.0}, CRect(9, 9, 11, 11)},
    };
    for (const Case& c : cases) {
        CCircleObject object(c.centre.x, c.centre.y, SIZE{1, 1}, 0.0);
        EXPECT_EQ(object.GetOutline().GetBoundingBox(), c.box);
    }
}

TEST(CircleObject, OffersEverything)
{
    CCircleObject object(0, 0, SIZE{10, 10}, 0.0);
    auto fill = std::make_unique<CFillInfo>();
    fill->SetImageFile("/pics/spin.png");
    fill->SetAnimated(true);
    object.SetFill(std::move(fill));
    EXPECT_EQ(object.GetKind(), objectCircle);
    EXPECT_EQ(object.GetCorner(), 0);
    for (bool answer : {object.CanTakeStyle(), object.CanHavePictureFill(), object.HasFill(), object.CanHaveMouseOver(),
                        object.CanHaveButtonText(), object.CanHaveAltText(), object.CanResize(), object.CanRotate()})
        EXPECT_TRUE(answer);
}
