#include "app/objects/polygon_object.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/record_stream.h"
#include "app/model/stream_test_support.h"
#include "app/model/string_attr.h"
#include "app/model/text_style.h"
#include "app/objects/object_factory.h"
#include "app/objects/outline_stream.h"

namespace {

constexpr DWORD kSentinel = 0x5eadbeef;

std::vector<BYTE> Saved(const CPageObject& object)
{
    CMemFile file;
    object.Save(file);
    return FileBytes(file);
}

CRect PolygonBoundsOf(const CPageObject& object)
{
    RECT rect;
    return CRect(object.GetBounds(rect));
}

// Loads bytes through the factory and checks that the object took all of them and no more.
std::unique_ptr<CPageObject> LoadThroughFactory(const std::vector<BYTE>& bytes, int major, int minor)
{
    auto file = FileOf(Concat({bytes, LE32(kSentinel)}));
    std::unique_ptr<CPageObject> object = CreatePageObjectFromArchive(*file, major, minor);
    EXPECT_EQ(ReadUInt32(*file), kSentinel);
    return object;
}

TEST(PolygonObject, EveryShapeCodeRoundTripsThroughTheFactory)
{
    for (int code = 0; code <= 25; ++code) {
        SCOPED_TRACE(code);
        CPolygonObject polygon(120.5, 80.25, SIZE{150, 90}, 0.4, code);
        polygon.GetFill()->SetColor(CColor(10, 200, 30));
        polygon.GetLink()->SetPage(2);
        polygon.GetAltText()->SetString("shape");
        polygon.SetOffsetX(7);
        polygon.SetOffsetY(-3);
        const std::vector<BYTE> bytes = Saved(polygon);

        const std::unique_ptr<CPageObject> loaded =
            LoadThroughFactory(bytes, kCurrentMajorVersion, kCurrentMinorVersion);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->GetKind(), objectPolygon);
        // The factory makes a triangle; the stored code replaces it.
        EXPECT_EQ(loaded->GetShapeCode(), code);
        EXPECT_EQ(PolygonBoundsOf(*loaded), PolygonBoundsOf(polygon));
        EXPECT_EQ(Saved(*loaded), bytes);
    }
}

// A polygon as an older program wrote it: the head has not changed, the records have grown over the versions.
std::vector<BYTE> OldPolygon(const OutlineHead& head, int major, int minor)
{
    CMemFile file;
    WriteUInt32(file, kPolygonObjectTag);
    WriteOutlineHead(file, objectPolygon, head);
    WriteUInt32(file, CFillInfo::kTag);
    WriteInt32(file, CFillInfo::FILL_COLOR);
    WriteColor(file, CColor(200, 100, 50));
    if (IsVersionAtLeast(major, minor, 1, 5))
        WriteFlag(file, false);
    // No effects: the record is optional.
    WriteUInt32(file, CLinkInfo::kTag);
    WriteInt32(file, CLinkInfo::kindPage);
    WriteFlag(file, true);
    WriteInt32(file, 4);
    WriteCountedString(file, "");
    WriteCountedString(file, "");
    if ((major == 1 && minor >= 6) || major >= 5)
        WriteCountedString(file, "");
    if (major >= 5)
        WriteInt32(file, 2);
    // No button text and no alternate text, which files from 1.5 and 1.6 on may hold.
    return FileBytes(file);
}

TEST(PolygonObject, ReadsOlderFilesByTheirVersion)
{
    OutlineHead head;
    head.width = 200;
    head.height = 100;
    head.rotation = 0.25;
    head.center = {300.5, 200};
    head.shapeCode = shapeFivePointedStar;
    head.bounds = CRect(1, 2, 3, 4); // stale: the outline is built again on loading
    head.offsetX = -100;
    head.offsetY = 100;

    CPolygonObject expected(300.5, 200, SIZE{200, 100}, 0.25, shapeFivePointedStar);
    expected.SetOffsetX(-100);
    expected.SetOffsetY(100);

    const struct
    {
        int major, minor;
    } versions[] = {{1, 4}, {1, 5}, {1, 6}, {1, 8}, {5, 9}, {kCurrentMajorVersion, kCurrentMinorVersion}};
    for (const auto& v : versions) {
        SCOPED_TRACE(testing::Message() << v.major << "." << v.minor);
        const std::unique_ptr<CPageObject> loaded =
            LoadThroughFactory(OldPolygon(head, v.major, v.minor), v.major, v.minor);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->GetShapeCode(), shapeFivePointedStar);
        SIZE size;
        loaded->GetSize(size);
        EXPECT_EQ(size.cx, 100); // a star is as wide as it is high
        EXPECT_EQ(size.cy, 100);
        DPOINT center;
        loaded->GetCenter(center);
        EXPECT_EQ(center.x, 300.5);
        EXPECT_EQ(loaded->GetRotation(), 0.25);
        EXPECT_EQ(loaded->GetOffsetX(), -100);
        EXPECT_EQ(loaded->GetOffsetY(), 100);
        EXPECT_EQ(PolygonBoundsOf(*loaded), PolygonBoundsOf(expected));
        EXPECT_EQ(loaded->GetFill()->GetColor().GetCOLORREF(), RGB(200, 100, 50));
        EXPECT_EQ(loaded->GetLink()->GetKind(), CLinkInfo::kindPage);
        EXPECT_EQ(loaded->GetLink()->GetPage(), 4);
        EXPECT_EQ(loaded->GetLink()->GetTarget(), v.major >= 5 ? 2 : 0);
        EXPECT_TRUE(loaded->IsDirty());
    }
}

TEST(PolygonObject, AStoredCodeWithoutAnOutlineLeavesTheObjectEmpty)
{
    OutlineHead head;
    head.width = 80;
    head.height = 60;
    head.center = {500, 400};
    head.shapeCode = 25;
    const std::unique_ptr<CPageObject> loaded = LoadThroughFactory(OldPolygon(head, 5, 15), 5, 15);
    ASSERT_TRUE(loaded);
    // Not the triangle the factory made at the origin.
    EXPECT_TRUE(static_cast<CPolygonObject&>(*loaded).GetOutline().GetBoundingBox().IsRectEmpty());
    EXPECT_TRUE(PolygonBoundsOf(*loaded).IsRectEmpty());

    // A new size builds nothing either, and rendering an empty object gives no image and no failure.
    loaded->SetSize(90, 90);
    EXPECT_TRUE(PolygonBoundsOf(*loaded).IsRectEmpty());
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    EXPECT_TRUE(loaded->UpdateImage(scratch));
    EXPECT_EQ(loaded->GetImage(), nullptr);
}

TEST(PolygonObject, StarsBecomeSquareAndKeepTheirShapeThroughResizing)
{
    CPolygonObject star(100, 100, SIZE{200, 100}, 0, shapeDavidStar);
    SIZE size;
    EXPECT_EQ(star.GetSize(size).cx, 100);
    EXPECT_EQ(PolygonBoundsOf(star), CRect(50, 50, 150, 150));
    // The handles frame the square, not the size asked for.
    EXPECT_EQ(star.GetHandlePoints()[0].x, 50);
    EXPECT_EQ(star.GetHandlePoints()[7].x, 150);

    star.SetSize(300, 60);
    EXPECT_EQ(star.GetSize(size).cx, 60);
    EXPECT_EQ(size.cy, 60);
    EXPECT_EQ(star.GetShapeCode(), shapeDavidStar);

    CPolygonObject arrow(100, 100, SIZE{200, 100}, 0, shapeArrow);
    EXPECT_EQ(arrow.GetSize(size).cx, 200);
    EXPECT_EQ(PolygonBoundsOf(arrow), CRect(0, 66, 200, 134));
}

TEST(PolygonObject, CloneIsATriangleAndDuplicateKeepsShapeAndRecords)
{
    CPolygonObject bubble(60.5, 40, SIZE{110, 70}, 1.2, shapeSpeechBubble);
    bubble.GetFill()->SetColor(CColor(1, 2, 3));
    bubble.GetAltText()->SetString("speech");
    bubble.SetOffsetX(12);

    const std::unique_ptr<CPageObject> clone = bubble.Clone();
    EXPECT_EQ(clone->GetShapeCode(), shapeTriangle);
    EXPECT_EQ(clone->GetRotation(), 1.2);
    EXPECT_EQ(clone->GetFill(), nullptr);
    ASSERT_NE(clone->GetAltText(), nullptr);
    EXPECT_EQ(clone->GetAltText()->GetString(), "speech");

    const std::unique_ptr<CPageObject> copy = bubble.Duplicate();
    EXPECT_EQ(copy->GetShapeCode(), shapeSpeechBubble);
    EXPECT_NE(copy->GetFill(), bubble.GetFill());
    EXPECT_EQ(Saved(*copy), Saved(bubble));
}

TEST(PolygonObject, AnAnimatedPictureCanOnlyBeResized)
{
    CPolygonObject polygon(50, 50, SIZE{80, 60}, 0, shapeHexagon);
    const auto capabilities = [&] {
        return std::vector<bool>{polygon.CanTakeStyle(),      polygon.CanHavePictureFill(), polygon.CanHaveMouseOver(),
                                 polygon.CanHaveButtonText(), polygon.CanRotate(),          polygon.CanResize()};
    };
    EXPECT_EQ(capabilities(), std::vector<bool>(6, true));
    polygon.GetFill()->SetAnimated(true);
    EXPECT_EQ(capabilities(), (std::vector<bool>{false, false, false, false, false, true}));
}

// An object that takes no style draws none of the effects its record switches on.
TEST(PolygonObject, AnAnimatedPictureShowsNoEffects)
{
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    CPolygonObject polygon(50, 50, SIZE{80, 60}, 0, shapeHexagon);
    ASSERT_TRUE(polygon.UpdateImage(scratch));
    const CRect plain = PolygonBoundsOf(polygon);

    auto effects = std::make_unique<CEffectSettings>();
    effects->m_shadow = true;
    effects->m_glow = true;
    polygon.SetEffects(std::move(effects));
    polygon.GetFill()->SetAnimated(true);
    ASSERT_TRUE(polygon.UpdateImage(scratch));
    EXPECT_EQ(PolygonBoundsOf(polygon), plain);
    EXPECT_EQ(polygon.GetEffects()->m_shadowCache.m_pImage, nullptr);
    EXPECT_EQ(polygon.GetEffects()->m_glowCache.m_pImage, nullptr);

    // Without the animated picture the same record widens the object.
    polygon.GetFill()->SetAnimated(false);
    polygon.SetDirty();
    ASSERT_TRUE(polygon.UpdateImage(scratch));
    EXPECT_GT(PolygonBoundsOf(polygon).Width(), plain.Width());
}

// Alpha of the object's rendered image at a pixel of its image.
int PolygonAlphaAt(const CImage& image, int x, int y)
{
    return image.GetData()[static_cast<size_t>(y) * image.GetStride() + static_cast<size_t>(x) * 4];
}

TEST(PolygonObject, RenderedImageKeepsTheEvenOddHolesOpen)
{
    const struct
    {
        int code;
        int hollowX, hollowY; // image pixels that must stay clear
        int solidX, solidY;   // and pixels that must be covered
    } cases[] = {
        {shapeFrame, 75, 75, 5, 75},
        {shapeDavidStar, 75, 75, 75, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        CPolygonObject polygon(75, 75, SIZE{150, 150}, 0, c.code);
        polygon.GetFill()->SetColor(CColor(250, 20, 10));
        // A scratch map smaller than the image, so that the outline is drawn over several tiles.
        CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
        ASSERT_TRUE(polygon.UpdateImage(scratch));
        const CImage* image = polygon.GetImage();
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(image->Width(), 150);
        EXPECT_EQ(PolygonAlphaAt(*image, c.hollowX, c.hollowY), 0);
        EXPECT_EQ(PolygonAlphaAt(*image, c.solidX, c.solidY), 255);
        const unsigned char* pixel = image->GetData() + c.solidY * image->GetStride() + c.solidX * 4;
        EXPECT_EQ(pixel[1], 250);
        EXPECT_EQ(pixel[2], 20);
        EXPECT_EQ(pixel[3], 10);
    }
}

} // namespace
