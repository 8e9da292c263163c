#include "app/objects/path_object.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/record_stream.h"
#include "app/model/string_attr.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/object_factory.h"
#include "app/objects/outline_stream.h"
#include "app/objects/rectangle_object.h"
#include "image/tiles.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Argb
{
    int a, r, g, b;
};

Argb PixelAt(const CImage& image, int x, int y)
{
    const unsigned char* p = image.GetData() + static_cast<ptrdiff_t>(y) * image.GetStride() + 4 * x;
    return Argb{p[0], p[1], p[2], p[3]};
}

CRect BoundsOf(const CPageObject& object)
{
    RECT r;
    return CRect(object.GetBounds(r));
}

// The page's render buffer.
struct Scratch
{
    CPixMap map{IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize};
};

std::unique_ptr<CFillInfo> ColourFill(int r, int g, int b)
{
    auto fill = std::make_unique<CFillInfo>();
    fill->SetColor(CColor(r, g, b));
    return fill;
}

// Red at the left edge running to blue at the right.
std::unique_ptr<CFillInfo> RedToBlueFill()
{
    CGradientInfo gradient;
    GRADIENTCOLORS colours;
    colours.start = CColor(255, 0, 0);
    colours.end = CColor(0, 0, 255);
    gradient.SetGradientColors(colours);
    gradient.angle = 0;
    auto fill = std::make_unique<CFillInfo>();
    fill->SetGradient(gradient);
    return fill;
}

} // namespace

TEST(PathObject, HandlesFollowCentreSizeRotationAndOffsets)
{
    struct Case
    {
        double rotation;
        int offsetX, offsetY;
        int handle;
        DPOINT expected;
    };
    // A 20 x 10 object at (100, 50).
    const Case cases[] = {
        {0.0, 0, 0, 0, {90, 45}},      {0.0, 0, 0, 4, {110, 50}},    {0.0, 0, 0, 7, {110, 55}},
        {0.0, 3, -4, 6, {103, 51}},    {kPi / 2, 0, 0, 0, {95, 60}}, {kPi / 2, 0, 0, 1, {95, 50}},
        {kPi / 2, 0, 0, 7, {105, 40}}, {kPi, 0, 0, 0, {110, 55}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rotation " << c.rotation << " handle " << c.handle);
        CRectangleObject object(100, 50, SIZE{20, 10}, c.rotation);
        object.SetOffsetX(c.offsetX);
        object.SetOffsetY(c.offsetY);
        object.UpdateHandles();
        EXPECT_NEAR(object.GetHandlePoints()[c.handle].x, c.expected.x, 1e-9);
        EXPECT_NEAR(object.GetHandlePoints()[c.handle].y, c.expected.y, 1e-9);
    }
}

TEST(PathObject, PaintRectIsTheCornerHandlesGrownByThree)
{
    CCircleObject object(100, 100, SIZE{10, 10}, 0.0);
    RECT rect;
    EXPECT_EQ(CRect(object.GetPaintRect(rect)), CRect(92, 92, 108, 108));
    // Turned by 45 degrees the corners reach 5 * sqrt(2) from the centre.
    object.SetRotation(kPi / 4);
    EXPECT_EQ(CRect(object.GetPaintRect(rect)), CRect(89, 89, 111, 111));
}

TEST(PathObject, RotationByHandleWithAndWithoutSnap)
{
    struct Case
    {
        double computed; // startAngle - pointer angle + startRotation, before wrapping
        BYTE snap;
        double expected;
    };
    const Case cases[] = {
        {0.5, 1, kPi / 4},      {1.0, 1, kPi / 4}, {1.3, 1, kPi / 2},
        {6.0, 1, 0.0},          {3.2, 1, kPi},     {0.3, 1, 0.0},
        {5.6, 1, 7 * kPi / 4},  {0.5, 0, 0.5},     {-0.5, 0, 2 * kPi - 0.5},
        {-0.5, 1, 7 * kPi / 4}, {-0.2, 1, 0.0},    {2 * kPi + 0.25, 0, 0.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.computed << " snap " << int(c.snap));
        CCircleObject object(40, 30, SIZE{10, 10}, 0.0);
        object.SetOffsetX(5);
        // The pointer straight right of the centre on the page: its angle is 0.
        object.RotateByHandle(POINT{80, 30}, c.computed - 0.125, 0.125, c.snap);
        EXPECT_NEAR(object.GetRotation(), c.expected, 1e-12);
    }
    // A pointer below the centre lies at a quarter turn (the page's y runs down).
    CCircleObject object(0, 0, SIZE{10, 10}, 0.0);
    object.RotateByHandle(POINT{0, 10}, kPi, 0.0, 0);
    EXPECT_NEAR(object.GetRotation(), kPi / 2, 1e-12);
}

TEST(PathObject, ResizeAndTurnRebuildTheOutlineAndRenderAgain)
{
    Scratch scratch;
    CRectangleObject object(100, 100, SIZE{20, 10}, 0.0);
    ASSERT_TRUE(object.UpdateImage(scratch.map));
    EXPECT_EQ(BoundsOf(object), CRect(90, 95, 110, 105));

    object.SetSize(20, 10);
    object.SetRotation(0.0);
    EXPECT_FALSE(object.IsDirty()) << "an unchanged size or rotation changes nothing";

    object.SetSize(SIZE{40, 30});
    EXPECT_TRUE(object.IsDirty());
    EXPECT_TRUE(object.GetFill()->NeedsRender());
    EXPECT_EQ(BoundsOf(object), CRect(80, 85, 120, 115));
    EXPECT_NEAR(object.GetHandlePoints()[7].x, 120, 1e-9);
    ASSERT_TRUE(object.UpdateImage(scratch.map));
    EXPECT_EQ(object.GetImage()->Width(), 40);

    object.SetRotation(kPi / 2);
    EXPECT_TRUE(object.IsDirty());
    EXPECT_EQ(BoundsOf(object), CRect(85, 80, 115, 120));
    // A size dragged past the opposite handle stays empty rather than turning inside out.
    object.SetSize(-5, 10);
    SIZE size;
    EXPECT_EQ(object.GetSize(size).cx, 0);
}

TEST(PathObject, WholePixelMovesKeepTheImageOthersRenderAgain)
{
    struct Case
    {
        DPOINT by;
        bool whole;
        int shiftX, shiftY;
    };
    const Case cases[] = {
        {{3.0, -2.0}, true, 3, -2}, {{0.0, 0.0}, true, 0, 0},  {{-7.00004, 12.99996}, true, -7, 13},
        {{0.5, 0.0}, false, 0, 0},  {{0.5, 0.5}, false, 0, 0}, {{-0.25, -0.25}, false, 0, 0},
        {{2.0, 1.75}, false, 0, 0}, {{1.9, 0.9}, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.by.x << ", " << c.by.y);
        Scratch scratch;
        CCircleObject object(50.25, 40.5, SIZE{21, 15}, 0.3);
        ASSERT_TRUE(object.UpdateImage(scratch.map));
        const CImage* image = object.GetImage();
        const CRect before = BoundsOf(object);
        const DPOINT handle = object.GetHandlePoints()[0];

        object.SetCenter(DPOINT{50.25 + c.by.x, 40.5 + c.by.y});
        DPOINT centre;
        EXPECT_DOUBLE_EQ(object.GetCenter(centre).x, 50.25 + c.by.x);
        if (c.whole) {
            EXPECT_FALSE(object.IsDirty());
            EXPECT_EQ(object.GetImage(), image);
            EXPECT_EQ(BoundsOf(object), CRect(before.left + c.shiftX, before.top + c.shiftY, before.right + c.shiftX,
                                              before.bottom + c.shiftY));
            EXPECT_EQ(object.GetPendingShiftX(), c.shiftX);
            EXPECT_EQ(object.GetPendingShiftY(), c.shiftY);
            EXPECT_NEAR(object.GetHandlePoints()[0].x, handle.x + c.shiftX, 1e-9);
        } else {
            EXPECT_TRUE(object.IsDirty());
            EXPECT_EQ(object.GetPendingShiftX(), 0);
            EXPECT_NEAR(object.GetHandlePoints()[0].x, handle.x + c.by.x, 1e-9);
            EXPECT_NEAR(object.GetHandlePoints()[0].y, handle.y + c.by.y, 1e-9);
        }
    }
}

TEST(PathObject, WholePixelShiftsLandWhereARebuildWouldPutThem)
{
    Scratch scratch;
    CCircleObject moved(50, 40, SIZE{21, 15}, 0.3);
    ASSERT_TRUE(moved.UpdateImage(scratch.map));
    moved.MoveBy(4, -3);
    moved.SetCenter(DPOINT{56, 37});
    EXPECT_FALSE(moved.IsDirty());
    EXPECT_EQ(moved.GetPendingShiftX(), 6);

    CCircleObject built(56, 37, SIZE{21, 15}, 0.3);
    EXPECT_EQ(BoundsOf(moved), BoundsOf(built));
    for (int i = 0; i < CPageObject::kHandleCount; ++i) {
        EXPECT_NEAR(moved.GetHandlePoints()[i].x, built.GetHandlePoints()[i].x, 1e-9);
        EXPECT_NEAR(moved.GetHandlePoints()[i].y, built.GetHandlePoints()[i].y, 1e-9);
    }
    // A render places the kept outline with the pending shift.
    moved.SetDirty();
    ASSERT_TRUE(moved.UpdateImage(scratch.map));
    EXPECT_EQ(BoundsOf(moved), BoundsOf(built));
}

TEST(PathObject, CopyFromTwiceRestoresBothObjects)
{
    CRectangleObject object(10, 20, SIZE{30, 40}, 0.5);
    object.GetTextStyle()->m_strText = "Go";
    object.GetAltText()->SetString("door");
    CTextStyle* style = object.GetTextStyle();
    auto snapshot = object.Clone();
    EXPECT_EQ(snapshot->GetFill(), nullptr);
    EXPECT_EQ(snapshot->GetEffects(), nullptr);
    EXPECT_EQ(snapshot->GetLink(), nullptr);

    object.SetCenter(DPOINT{70.5, 80});
    object.SetSize(5, 6);
    object.SetRotation(1.5);
    object.GetTextStyle()->m_strText = "Stop";

    object.CopyFrom(*snapshot);
    DPOINT centre;
    SIZE size;
    EXPECT_EQ(object.GetCenter(centre).x, 10);
    EXPECT_EQ(object.GetSize(size).cx, 30);
    EXPECT_EQ(object.GetRotation(), 0.5);
    EXPECT_EQ(object.GetTextStyle()->m_strText, "Go");
    EXPECT_EQ(snapshot->GetRotation(), 1.5);

    object.CopyFrom(*snapshot);
    EXPECT_EQ(object.GetCenter(centre).x, 70.5);
    EXPECT_EQ(object.GetSize(size).cy, 6);
    EXPECT_EQ(object.GetRotation(), 1.5);
    EXPECT_EQ(object.GetTextStyle(), style) << "records are exchanged, not copied";
    EXPECT_EQ(object.GetAltText()->GetString(), "door");
    EXPECT_EQ(snapshot->GetRotation(), 0.5);
    EXPECT_NE(object.GetFill(), nullptr);
}

TEST(PathObject, SameRectangleNeedsAnUnturnedRectangleWithEqualLook)
{
    CRectangleObject a(10, 10, SIZE{30, 20}, 0.0), b(300, 90, SIZE{30, 20}, 0.0);
    EXPECT_TRUE(a.IsSameRectangle(b));
    b.GetTextStyle()->m_strText = "Home";
    EXPECT_FALSE(a.IsSameRectangle(b));
    a.GetTextStyle()->m_strText = "Home";
    EXPECT_TRUE(a.IsSameRectangle(b));
    b.SetFill(ColourFill(1, 2, 3));
    EXPECT_FALSE(a.IsSameRectangle(b));
    a.SetFill(ColourFill(1, 2, 3));
    a.SetRotation(0.1);
    EXPECT_FALSE(a.IsSameRectangle(b));
    CCircleObject c(10, 10, SIZE{30, 20}, 0.0), d(10, 10, SIZE{30, 20}, 0.0);
    EXPECT_FALSE(c.IsSameRectangle(d));
}

TEST(PathObject, RecordSettersMarkWhatMustBeMadeAgain)
{
    Scratch scratch;
    CCircleObject object(50, 50, SIZE{20, 20}, 0.0);
    ASSERT_TRUE(object.UpdateImage(scratch.map));
    auto old = object.SetFill(ColourFill(0, 255, 0));
    EXPECT_NE(old, nullptr);
    EXPECT_TRUE(object.IsDirty());
    ASSERT_TRUE(object.UpdateImage(scratch.map));

    auto effects = std::make_unique<CEffectSettings>();
    effects->m_glowCache.m_softness = 50;
    object.SetEffects(std::move(effects));
    EXPECT_TRUE(object.IsDirty());
    EXPECT_EQ(object.GetEffects()->m_glowCache.m_softness, -1);
    ASSERT_TRUE(object.UpdateImage(scratch.map));

    object.SetTextStyle(object.GetTextStyle()->Clone());
    EXPECT_TRUE(object.GetFill()->NeedsRender());

    object.FreeCaches();
    EXPECT_TRUE(object.IsDirty());
    EXPECT_EQ(object.GetImage(), nullptr);
}

TEST(PathObject, PreviewWhileDirtyIsASilhouetteThatStaysVisible)
{
    struct Case
    {
        CColor fill;
        const CColor* background;
        Argb expected;
    };
    const CColor white(255, 255, 255), dark(10, 20, 200);
    const Case cases[] = {
        {CColor(200, 0, 0), nullptr, {255, 200, 0, 0}},
        {CColor(200, 0, 0), &white, {255, 200, 0, 0}},
        {CColor(250, 245, 255), &white, {255, 240, 240, 240}},
        {CColor(0, 10, 190), &dark, {255, 25, 35, 185}},
    };
    for (const Case& c : cases) {
        CRectangleObject object(20, 20, SIZE{10, 10}, 0.0);
        auto fill = std::make_unique<CFillInfo>();
        fill->SetColor(c.fill);
        object.SetFill(std::move(fill));
        ASSERT_TRUE(object.IsDirty());
        CPixMap map(IMAGE_MODE_RGBA, 12, 12);
        object.GetPixels(-1, -1, map, c.background);
        const unsigned char* inside = map.Sample(5, 5, 0);
        EXPECT_EQ(inside[0], 255);
        EXPECT_EQ(inside[1], c.expected.r);
        EXPECT_EQ(inside[2], c.expected.g);
        EXPECT_EQ(inside[3], c.expected.b);
        EXPECT_EQ(*map.Sample(0, 0, 0), 0) << "the map starts one pixel before the outline";
    }
}

TEST(PathObject, PreviewOfACleanObjectCopiesItsImage)
{
    Scratch scratch;
    CRectangleObject object(20, 20, SIZE{10, 10}, 0.0);
    object.SetFill(ColourFill(0, 0, 255));
    ASSERT_TRUE(object.UpdateImage(scratch.map));
    CPixMap map(IMAGE_MODE_RGBA, 4, 4);
    object.GetPixels(8, 8, map);
    EXPECT_EQ(*map.Sample(1, 1, 0), 255);
    EXPECT_EQ(*map.Sample(1, 1, 3), 255);
    EXPECT_EQ(*map.Sample(2, 2, 0), 0) << "outside the image";
}

// Renders at chosen pixels: inside, outside, at the rounded corners, and the direction the fill runs when turned.
TEST(PathObject, RendersCircleAndRoundedRectangleWithSolidAndGradientFills)
{
    struct Probe
    {
        int x, y;
        int minAlpha, maxAlpha;
        // -1: any.
        int r, b;
    };
    struct Case
    {
        const char* name;
        bool circle;
        double rotation;
        bool gradient;
        CRect bounds;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"solid circle",
         true,
         0.0,
         false,
         CRect(30, 35, 70, 65),
         {{20, 15, 255, 255, 200, 0}, {0, 0, 0, 0, -1, -1}, {39, 29, 0, 0, -1, -1}, {0, 15, 1, 255, 200, 0}}},
        {"gradient circle",
         true,
         0.0,
         true,
         CRect(30, 35, 70, 65),
         {{2, 15, 255, 255, 220, 15}, {37, 15, 255, 255, 15, 220}, {20, 15, 255, 255, -1, -1}}},
        // Turned by a quarter the circle stands 30 wide and 40 high; the gradient's left end goes down.
        {"turned gradient circle",
         true,
         kPi / 2,
         true,
         CRect(35, 30, 65, 70),
         {{15, 37, 255, 255, 220, 15}, {15, 2, 255, 255, 15, 220}, {0, 0, 0, 0, -1, -1}}},
        // 90 x 60 with corner 50: radius 20.
        {"solid rounded rectangle",
         false,
         0.0,
         false,
         CRect(55, 70, 145, 130),
         {{1, 1, 0, 0, -1, -1}, {88, 58, 0, 0, -1, -1}, {45, 0, 255, 255, 200, 0}, {0, 30, 255, 255, 200, 0}}},
        {"gradient rounded rectangle",
         false,
         0.0,
         true,
         CRect(55, 70, 145, 130),
         {{1, 30, 255, 255, 240, 10}, {88, 30, 255, 255, 10, 240}, {1, 1, 0, 0, -1, -1}}},
        {"turned gradient rounded rectangle",
         false,
         kPi / 2,
         true,
         CRect(70, 55, 130, 145),
         {{30, 88, 255, 255, 240, 15}, {30, 1, 255, 255, 15, 240}, {1, 1, 0, 0, -1, -1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scratch scratch;
        // A small scratch map makes the render walk several tiles.
        CPixMap tiles(IMAGE_MODE_RGBA, 16, 8);
        std::unique_ptr<CPathObject> object;
        if (c.circle) {
            object = std::make_unique<CCircleObject>(50, 50, SIZE{40, 30}, c.rotation);
        } else {
            object = std::make_unique<CRectangleObject>(100, 100, SIZE{90, 60}, c.rotation);
            // The corner value takes effect at the next rebuild of the outline.
            object->SetCorner(50);
            object->SetSize(0, 0);
            object->SetSize(90, 60);
        }
        object->SetFill(c.gradient ? RedToBlueFill() : ColourFill(200, 0, 0));
        ASSERT_TRUE(object->UpdateImage(tiles));
        EXPECT_FALSE(object->IsDirty());
        EXPECT_EQ(BoundsOf(*object), c.bounds);
        const CImage& image = *object->GetImage();
        ASSERT_EQ(image.Width(), c.bounds.Width());
        ASSERT_EQ(image.Height(), c.bounds.Height());
        EXPECT_EQ(image.GetMode(), IMAGE_MODE_RGBA);
        for (const Probe& p : c.probes) {
            SCOPED_TRACE(testing::Message() << "pixel " << p.x << ", " << p.y);
            const Argb px = PixelAt(image, p.x, p.y);
            EXPECT_GE(px.a, p.minAlpha);
            EXPECT_LE(px.a, p.maxAlpha);
            if (p.r >= 0 && c.gradient) {
                // The gradient's ends: red at least p.r, or blue at least p.b.
                if (p.r > p.b)
                    EXPECT_GE(px.r, p.r);
                else
                    EXPECT_GE(px.b, p.b);
            } else if (p.r >= 0) {
                EXPECT_EQ(px.r, p.r);
                EXPECT_EQ(px.b, p.b);
            }
        }
        // The whole image agrees with a render through one big tile.
        auto again = object->Duplicate();
        ASSERT_TRUE(again->UpdateImage(scratch.map));
        const CImage& whole = *again->GetImage();
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                ASSERT_EQ(std::memcmp(image.GetData() + y * image.GetStride() + 4 * x,
                                      whole.GetData() + y * whole.GetStride() + 4 * x, 4),
                          0)
                    << x << ", " << y;
    }
}

TEST(PathObject, TurnedObjectsCoverTheBoxOfTheirTurnedCorners)
{
    Scratch scratch;
    CRectangleObject object(100, 100, SIZE{40, 20}, kPi / 4);
    object.SetFill(RedToBlueFill());
    ASSERT_TRUE(object.UpdateImage(scratch.map));
    // 60 / sqrt(2) = 42.43 about the centre: from 78.79 to 121.21.
    EXPECT_EQ(BoundsOf(object), CRect(78, 78, 122, 122));
    const CImage& image = *object.GetImage();
    EXPECT_EQ(PixelAt(image, 22, 22).a, 255);
    EXPECT_EQ(PixelAt(image, 1, 1).a, 0);
    EXPECT_EQ(PixelAt(image, 42, 42).a, 0);
}

TEST(PathObject, EffectsWidenTheImageWhichIsThenCroppedToWhatShows)
{
    Scratch scratch;
    CCircleObject plain(100, 100, SIZE{40, 40}, 0.0);
    ASSERT_TRUE(plain.UpdateImage(scratch.map));
    EXPECT_EQ(BoundsOf(plain), CRect(80, 80, 120, 120));

    CCircleObject shadowed(100, 100, SIZE{40, 40}, 0.0);
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_shadow = true;
    effects->m_shadowOffset = 6;
    effects->m_shadowSoftness = 4;
    shadowed.SetEffects(std::move(effects));
    ASSERT_TRUE(shadowed.UpdateImage(scratch.map));
    const CRect bounds = BoundsOf(shadowed);
    EXPECT_GT(bounds.Width() * bounds.Height(), 40 * 40);
    EXPECT_TRUE(bounds.left < 80 || bounds.right > 120);
    EXPECT_TRUE(bounds.top < 80 || bounds.bottom > 120);
    const CImage& image = *shadowed.GetImage();
    ASSERT_EQ(image.Width(), bounds.Width());
    // Cropped: each outermost row and column shows something.
    auto rowShows = [&](int y) {
        for (int x = 0; x < image.Width(); ++x)
            if (PixelAt(image, x, y).a)
                return true;
        return false;
    };
    auto columnShows = [&](int x) {
        for (int y = 0; y < image.Height(); ++y)
            if (PixelAt(image, x, y).a)
                return true;
        return false;
    };
    EXPECT_TRUE(rowShows(0));
    EXPECT_TRUE(rowShows(image.Height() - 1));
    EXPECT_TRUE(columnShows(0));
    EXPECT_TRUE(columnShows(image.Width() - 1));
}

TEST(PathObject, RenderFailsCleanlyWithoutAUsableScratchOrFillPicture)
{
    CPixMap grey(IMAGE_MODE_GREY, 16, 16);
    CCircleObject object(50, 50, SIZE{20, 20}, 0.0);
    EXPECT_FALSE(object.RenderImage(grey));
    EXPECT_TRUE(object.IsDirty());

    // A gradient fill whose picture was never made.
    Scratch scratch;
    object.SetFill(RedToBlueFill());
    EXPECT_FALSE(object.RenderImage(scratch.map));
    EXPECT_TRUE(object.IsDirty());
    EXPECT_TRUE(object.UpdateImage(scratch.map));
}

TEST(PathObject, CircleAndRectangleComeBackThroughTheFactory)
{
    struct Case
    {
        const char* name;
        bool circle;
        int corner;
        int minor;
        // Written as files before the corner value were: without it.
        bool oldForm;
        int expectedCorner;
    };
    const Case cases[] = {
        {"circle", true, 0, kCurrentMinorVersion, false, 0},
        {"rounded rectangle", false, 35, kCurrentMinorVersion, false, 35},
        {"square rectangle", false, 0, kCurrentMinorVersion, false, 0},
        {"rectangle of minor version 10", false, 35, 10, false, 35},
        {"rectangle of minor version 9", false, 35, 9, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CPathObject> original;
        if (c.circle)
            original = std::make_unique<CCircleObject>(120.5, -7.25, SIZE{40, 30}, 0.25);
        else
            original = std::make_unique<CRectangleObject>(120.5, -7.25, SIZE{40, 30}, 0.0);
        // Turning rebuilds the outline with the corner.
        original->SetCorner(c.corner);
        original->SetRotation(0.25);
        original->SetOffsetX(-3);
        original->SetOffsetY(4);
        original->SetFill(ColourFill(1, 2, 3));
        auto effects = std::make_unique<CEffectSettings>();
        effects->m_glow = true;
        effects->m_glowSoftness = 7;
        original->SetEffects(std::move(effects));
        original->GetLink()->SetKind(CLinkInfo::kindUrl);
        original->GetLink()->SetUrl("http://example.com/");
        original->GetLink()->SetActive(true);
        original->GetTextStyle()->m_strText = "Go";
        original->GetAltText()->SetString("door");

        CMemFile file;
        if (c.oldForm) {
            // The head as a circle writes it is the rectangle's head without the corner.
            WriteUInt32(file, kRectangleObjectTag);
            OutlineHead head;
            head.width = 40;
            head.height = 30;
            head.rotation = 0.25;
            head.center = DPOINT{120.5, -7.25};
            head.offsetX = -3;
            head.offsetY = 4;
            WriteOutlineHead(file, objectCircle, head);
            WriteOutlineRecords(file, *original->GetFill(), *original->GetEffects(), *original->GetLink(),
                                *original->GetTextStyle(), *original->GetAltText());
        } else {
            original->Save(file);
        }
        file.SeekToBegin();
        auto read = CreatePageObjectFromArchive(file, kCurrentMajorVersion, c.minor);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(file.GetPosition(), file.GetLength());
        auto* object = dynamic_cast<CPathObject*>(read.get());
        ASSERT_NE(object, nullptr);

        EXPECT_EQ(object->GetKind(), original->GetKind());
        DPOINT centre;
        SIZE size;
        object->GetCenter(centre);
        EXPECT_EQ(centre.x, 120.5);
        EXPECT_EQ(centre.y, -7.25);
        EXPECT_EQ(object->GetSize(size).cx, 40);
        EXPECT_EQ(object->GetSize(size).cy, 30);
        EXPECT_EQ(object->GetRotation(), 0.25);
        EXPECT_EQ(object->GetCorner(), c.expectedCorner);
        EXPECT_EQ(object->GetOffsetX(), -3);
        EXPECT_EQ(object->GetOffsetY(), 4);
        EXPECT_TRUE(object->IsDirty());
        EXPECT_EQ(*object->GetFill(), *original->GetFill());
        EXPECT_EQ(*object->GetEffects(), *original->GetEffects());
        EXPECT_EQ(*object->GetLink(), *original->GetLink());
        EXPECT_EQ(*object->GetTextStyle(), *original->GetTextStyle());
        EXPECT_EQ(*object->GetAltText(), *original->GetAltText());
        if (c.expectedCorner == c.corner) {
            EXPECT_EQ(BoundsOf(*object), BoundsOf(*original));
            for (int i = 0; i < CPageObject::kHandleCount; ++i)
                EXPECT_NEAR(object->GetHandlePoints()[i].x, original->GetHandlePoints()[i].x, 1e-9);
        }
    }
}

TEST(PathObject, DuplicateCopiesEveryRecordAndTheOffsets)
{
    CRectangleObject original(30, 40, SIZE{20, 10}, 0.0);
    original.SetCorner(40);
    original.SetRotation(0.7);
    original.SetOffsetX(5);
    original.SetFill(ColourFill(9, 8, 7));
    original.GetAltText()->SetString("alt");
    auto copy = original.Duplicate();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetCorner(), 40);
    EXPECT_EQ(copy->GetOffsetX(), 5);
    EXPECT_NE(copy->GetFill(), original.GetFill());
    EXPECT_EQ(*copy->GetFill(), *original.GetFill());
    EXPECT_EQ(copy->GetAltText()->GetString(), "alt");
    EXPECT_EQ(BoundsOf(*copy), BoundsOf(original));
    EXPECT_EQ(original.Clone()->GetCorner(), 40);
}

TEST(PathObject, AnObjectTooLargeToDrawFailsToRenderWithoutHarm)
{
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    CCircleObject object(1e9, -1e9, SIZE{INT_MAX, INT_MAX}, 0.7);
    object.SetFill(RedToBlueFill());
    EXPECT_FALSE(object.UpdateImage(scratch));
    EXPECT_TRUE(object.IsDirty());
    RECT rect;
    object.GetPaintRect(rect);
    EXPECT_GE(object.GetDownloadSize(1.0), 0);
}

TEST(PathObject, ButtonTextTurnsWithTheShape)
{
    struct Case
    {
        double rotation;
        // Where the left-aligned text ends up: the image's left, bottom or right part.
        enum
        {
            left,
            bottom,
            right
        } side;
    };
    const Case cases[] = {{0.0, Case::left}, {kPi / 2, Case::bottom}, {kPi, Case::right}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rotation);
        Scratch scratch;
        CRectangleObject object(100, 100, SIZE{120, 40}, c.rotation);
        object.SetFill(ColourFill(0, 0, 0));
        object.GetTextStyle()->m_strText = "MMMM";
        object.GetTextStyle()->m_color = CColor(255, 255, 255);
        object.GetTextStyle()->m_alignment = CTextStyle::alignLeft;
        object.GetTextStyle()->m_shadow = false;
        ASSERT_TRUE(object.UpdateImage(scratch.map));
        const CImage& image = *object.GetImage();
        // The share of the text's light that falls into each half of the image.
        int64_t first = 0, second = 0;
        const bool vertical = c.side == Case::bottom;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) {
                const int light = PixelAt(image, x, y).g;
                const bool inFirst = vertical ? y < image.Height() / 2 : x < image.Width() / 2;
                (inFirst ? first : second) += light;
            }
        ASSERT_GT(first + second, 0) << "no text drawn";
        if (c.side == Case::left)
            EXPECT_GT(first, 4 * second);
        else
            EXPECT_GT(second, 4 * first);
    }
}
