#include "app/objects/page_object.h"

#include <gtest/gtest.h>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/string_attr.h"
#include "app/objects/page_object_fake.h"

namespace {

TEST(PageObject, StartsEmptyAndDirtyWithoutImage)
{
    FakePageObject object;
    RECT rect{1, 2, 3, 4};
    EXPECT_TRUE(CRect(object.GetBounds(rect)).IsRectNull());
    EXPECT_EQ(object.IsDirty(), 1);
    EXPECT_EQ(object.GetImage(), nullptr);
    EXPECT_EQ(object.GetOffsetX(), 0);
    EXPECT_EQ(object.GetOffsetY(), 0);
}

TEST(PageObject, RootAnswersForClassesThatDoNotOverride)
{
    FakePageObject object;
    EXPECT_FALSE(object.CanTakeStyle());
    EXPECT_FALSE(object.CanHavePictureFill());
    EXPECT_FALSE(object.HasFill());
    EXPECT_FALSE(object.CanHaveMouseOver());
    EXPECT_FALSE(object.CanHaveButtonText());
    EXPECT_FALSE(object.CanHaveAltText());
    EXPECT_FALSE(object.CanResize());
    EXPECT_FALSE(object.CanRotate());
    EXPECT_EQ(object.GetShapeCode(), 3);
    EXPECT_EQ(object.GetCorner(), 0);
    object.SetCorner(5);
    EXPECT_EQ(object.GetCorner(), 0);
    EXPECT_EQ(object.GetRotation(), 0.0);
    EXPECT_EQ(object.Duplicate(), nullptr);

    SIZE size{};
    EXPECT_EQ(CSize(object.GetMinSize(size)), CSize(1, 1));
    EXPECT_EQ(CSize(object.GetMaxSize(size)), CSize(2000, 2000));

    // Sizing and turning are not the root's business.
    object.PlaceAt(CRect(0, 0, 10, 20), 0);
    object.SetSize(50, 60);
    object.SetSize(SIZE{70, 80});
    object.SetRotation(1.0);
    EXPECT_EQ(CSize(object.GetSize(size)), CSize(10, 20));
    EXPECT_EQ(object.GetRotation(), 0.0);
    EXPECT_EQ(object.IsDirty(), 0);

    CPixMap scratch(IMAGE_MODE_RGBA, 4, 4);
    EXPECT_TRUE(object.RenderImage(scratch));

    object.SetDirty();
    EXPECT_EQ(object.IsDirty(), 1);
}

TEST(PageObject, HasNoRecordsAndFreesWhatItIsGiven)
{
    FakePageObject object;
    EXPECT_EQ(object.GetFill(), nullptr);
    EXPECT_EQ(object.GetEffects(), nullptr);
    EXPECT_EQ(object.GetLink(), nullptr);
    EXPECT_EQ(object.GetAltText(), nullptr);

    // The records are taken and dropped (the leak checker sees to it), and nothing comes back.
    EXPECT_EQ(object.SetFill(std::make_unique<CFillInfo>()), nullptr);
    EXPECT_EQ(object.SetEffects(std::make_unique<CEffectSettings>()), nullptr);
    EXPECT_EQ(object.SetLink(std::make_unique<CLinkInfo>()), nullptr);
    EXPECT_EQ(object.SetAltText(std::make_unique<CStringAttr>("alt")), nullptr);
    EXPECT_EQ(object.GetFill(), nullptr);
    EXPECT_EQ(object.GetAltText(), nullptr);
}

// A mouse-over twin is shifted by the change of offset; its cached image stays as it is.
TEST(PageObject, OffsetSettersMoveBoundsAndHandlesByTheDifference)
{
    for (BYTE dirtyFlag : {BYTE(0), BYTE(1)}) {
        SCOPED_TRACE(int(dirtyFlag));
        FakePageObject object;
        object.GiveImage(std::make_unique<CImage>(IMAGE_MODE_RGBA, 10, 20));
        const CImage* image = object.GetImage();
        object.PlaceAt(CRect(100, 200, 110, 220), dirtyFlag);
        object.SetOffsetX(2);
        object.SetOffsetY(-4);

        RECT before{};
        object.GetBounds(before);
        DPOINT handlesBefore[CPageObject::kHandleCount];
        std::copy_n(object.GetHandlePoints(), CPageObject::kHandleCount, handlesBefore);

        object.SetOffsetX(5);
        object.SetOffsetY(-1);

        RECT after{};
        object.GetBounds(after);
        EXPECT_EQ(CRect(after), CRect(before.left + 3, before.top + 3, before.right + 3, before.bottom + 3));
        for (int i = 0; i < CPageObject::kHandleCount; ++i) {
            EXPECT_EQ(object.GetHandlePoints()[i].x, handlesBefore[i].x + 3) << i;
            EXPECT_EQ(object.GetHandlePoints()[i].y, handlesBefore[i].y + 3) << i;
        }
        EXPECT_EQ(object.GetOffsetX(), 5);
        EXPECT_EQ(object.GetOffsetY(), -1);
        EXPECT_EQ(object.IsDirty(), dirtyFlag);
        EXPECT_EQ(object.GetImage(), image);
    }
}

} // namespace
