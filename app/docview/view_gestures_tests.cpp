#include "app/docview/view_gestures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

TEST(ViewGestures, MoveStartsAtThreePixelsAlongEitherAxis)
{
    const CPoint press(100, 100);
    struct Case
    {
        CPoint to;
        bool moves;
    };
    const Case cases[] = {{{102, 100}, false}, {{102, 102}, false}, {{98, 98}, false},  {{103, 100}, true},
                          {{100, 97}, true},   {{97, 101}, true},   {{100, 100}, false}};
    for (const Case& c : cases)
        EXPECT_EQ(PassesMoveThreshold(press, c.to), c.moves) << c.to.x << ", " << c.to.y;
}

TEST(ViewGestures, MovedEdgesLieBesideTheGuides)
{
    // An object 50 x 40 at (100, 100); right and bottom exclusive.
    const std::vector<CRect> rects = {CRect(100, 100, 150, 140)};
    struct Case
    {
        CPoint delta;
        std::vector<int> horizontal, vertical;
        CPoint snapped;
    };
    const Case cases[] = {
        // The moved top is 3 pixels from the guide at 90: the top goes to 91, one below the line.
        {{0, -13}, {90}, {}, {0, -9}},
        {{0, -7}, {90}, {}, {0, -9}},
        // 4 pixels away: no snap.
        {{0, -14}, {90}, {}, {0, -14}},
        // The bottom near a guide ends on it: the object's last row is just above the line.
        {{0, 7}, {150}, {}, {0, 10}},
        // The top wins over the bottom; the first matching guide wins.
        {{0, 0}, {102, 141}, {}, {0, 3}},
        // Left and right against the vertical guides.
        {{-2, 0}, {}, {97}, {-2, 0}},
        {{5, 0}, {}, {156}, {6, 0}},
        {{0, 0}, {}, {}, {0, 0}},
    };
    for (const Case& c : cases) {
        const CPoint got = SnapMoveToGuides(rects, c.delta, c.horizontal, c.vertical);
        EXPECT_EQ(got.x, c.snapped.x) << c.delta.x << ", " << c.delta.y;
        EXPECT_EQ(got.y, c.snapped.y) << c.delta.x << ", " << c.delta.y;
    }
    // Several items adjust the displacement in turn: the second sees the first's snap.
    const std::vector<CRect> two = {CRect(100, 100, 150, 140), CRect(100, 200, 150, 240)};
    EXPECT_EQ(SnapMoveToGuides(two, CPoint(0, 0), {102, 204}, {}).y, 5);
}

TEST(ViewGestures, GuidesStickToThePageEdgesAndGoWhenDraggedOff)
{
    struct Case
    {
        int position, clamped;
        bool removed;
    };
    // On a page 300 wide.
    const Case cases[] = {{1, 0, false},     {-2, 0, false},    {2, 0, false},     {-3, -3, true},   {3, 3, false},
                          {297, 299, false}, {302, 299, false}, {296, 296, false}, {303, 303, true}, {150, 150, false}};
    for (const Case& c : cases) {
        const int clamped = ClampGuidePosition(c.position, 300);
        EXPECT_EQ(clamped, c.clamped) << c.position;
        EXPECT_EQ(IsGuideOffPage(clamped, 300), c.removed) << c.position;
    }
}

TEST(ViewGestures, EdgeHandlesResizeAndCornersRotate)
{
    // A 100 x 50 object at (10, 20).
    const DPOINT handles[8] = {{10, 20}, {60, 20}, {110, 20}, {10, 45}, {110, 45}, {10, 70}, {60, 70}, {110, 70}};
    struct Case
    {
        CPoint pt;
        bool canResize, canRotate;
        HandleAction action;
        int handle;
    };
    const Case cases[] = {
        {{60, 20}, true, true, HandleAction::Resize, 1},  {{8, 45}, true, true, HandleAction::Resize, 3},
        {{112, 47}, true, true, HandleAction::Resize, 4}, {{60, 72}, true, true, HandleAction::Resize, 6},
        {{10, 20}, true, true, HandleAction::Rotate, 0},  {{112, 72}, true, true, HandleAction::Rotate, 7},
        {{60, 20}, false, true, HandleAction::None, -1},  {{10, 20}, true, false, HandleAction::None, -1},
        {{60, 23}, true, true, HandleAction::None, -1},   {{50, 40}, true, true, HandleAction::None, -1},
    };
    for (const Case& c : cases) {
        const HandleChoice choice = ChooseHandle(handles, c.pt, c.canResize, c.canRotate);
        EXPECT_EQ(choice.action, c.action) << c.pt.x << ", " << c.pt.y;
        EXPECT_EQ(choice.handle, c.handle) << c.pt.x << ", " << c.pt.y;
    }
    const HandleChoice left = ChooseHandle(handles, CPoint(10, 45), true, true);
    EXPECT_TRUE(left.left);
    EXPECT_FALSE(left.top || left.right || left.bottom);

    const DPOINT centre = HandleCentre(handles);
    EXPECT_DOUBLE_EQ(centre.x, 60);
    EXPECT_DOUBLE_EQ(centre.y, 45);
    EXPECT_DOUBLE_EQ(PointAngle(centre, CPoint(70, 45)), 0.0);
    EXPECT_DOUBLE_EQ(PointAngle(centre, CPoint(60, 35)), 1.5 * std::numbers::pi);
}

TEST(ViewGestures, BandsMakeObjectsOfAtLeastTheirSmallestSize)
{
    // 12 points are 16 pixels; the band opens one line plus 6 pixels high.
    const int height = TextHeightForPointSize(12);
    EXPECT_EQ(height, 16);
    EXPECT_EQ(TextBandAt(CPoint(50, 60), height), CRect(50, 60, 50, 82));

    // A 40-pixel band makes a text 100 wide; a wider one keeps its width; a band drawn leftwards is put in order.
    EXPECT_EQ(TextObjectRect(CRect(50, 60, 90, 82), height), CRect(50, 60, 150, 82));
    EXPECT_EQ(TextObjectRect(CRect(50, 60, 250, 82), height), CRect(50, 60, 250, 82));
    EXPECT_EQ(TextObjectRect(CRect(250, 60, 50, 82), height), CRect(50, 60, 250, 82));

    EXPECT_EQ(HtmlObjectRect(CRect(10, 10, 15, 15)), CRect(10, 10, 25, 25));
    EXPECT_EQ(HtmlObjectRect(CRect(40, 50, 10, 10)), CRect(10, 10, 40, 50));
    EXPECT_EQ(HtmlObjectRect(CRect(10, 10, 10, 10)), CRect(10, 10, 25, 25));
}

TEST(ViewGestures, PicturesTakeTheirOwnSizeFromASmallBandAndFitThePage)
{
    const CSize picture(200, 100);
    PicturePlacement small = PlacePicture(CRect(20, 30, 23, 33), picture);
    EXPECT_EQ(small.size, picture);
    EXPECT_DOUBLE_EQ(small.centre.x, 120);
    EXPECT_DOUBLE_EQ(small.centre.y, 80);
    PicturePlacement band = PlacePicture(CRect(20, 30, 60, 50), picture);
    EXPECT_EQ(band.size, CSize(40, 20));
    EXPECT_DOUBLE_EQ(band.centre.x, 40);
    EXPECT_DOUBLE_EQ(band.centre.y, 40);

    // A 1000 x 250 picture on a 401 x 300 page.
    const CSize page(401, 300);
    PicturePlacement large{DPOINT{600, 200}, CSize(1000, 250)};
    EXPECT_TRUE(IsLargerThanPage(large.size, page));
    EXPECT_FALSE(IsLargerThanPage(CSize(401, 300), page));
    const PicturePlacement limited = FitPictureToPage(large, page, false);
    EXPECT_EQ(limited.size, CSize(401, 250));
    EXPECT_DOUBLE_EQ(limited.centre.x, 200);
    EXPECT_DOUBLE_EQ(limited.centre.y, 200);
    const PicturePlacement kept = FitPictureToPage(large, page, true);
    EXPECT_EQ(kept.size, CSize(401, 100));
    EXPECT_DOUBLE_EQ(kept.centre.x, 200);
    EXPECT_DOUBLE_EQ(kept.centre.y, 150);
}

TEST(ViewGestures, RubberBandMeetsATurnedObjectOnlyThroughItsOutline)
{
    // A 100 x 100 square turned an eighth about (200, 200): a diamond reaching 70 pixels each way.
    DPOINT handles[8];
    const double r = 50 * std::sqrt(2.0);
    handles[0] = {200 - r, 200};
    handles[2] = {200, 200 - r};
    handles[7] = {200 + r, 200};
    handles[5] = {200, 200 + r};
    // The bounding box's corner holds nothing of the diamond.
    EXPECT_FALSE(BandMeetsOutline(CRect(131, 131, 160, 160), handles));
    EXPECT_TRUE(BandMeetsOutline(CRect(131, 131, 180, 180), handles));
    // Drawn from bottom right to top left, crossing one edge only.
    EXPECT_TRUE(BandMeetsOutline(CRect(300, 205, 260, 195), handles));
    // Wholly inside the diamond, and wholly around it.
    EXPECT_TRUE(BandMeetsOutline(CRect(195, 195, 205, 205), handles));
    EXPECT_TRUE(BandMeetsOutline(CRect(0, 0, 400, 400), handles));
    EXPECT_FALSE(BandMeetsOutline(CRect(300, 300, 350, 350), handles));
}

TEST(ViewGestures, EyedropperReadsTheBackgroundThroughTransparentPixels)
{
    const CColor background(10, 20, 30);
    const BYTE clear[4] = {0, 200, 100, 50};
    const BYTE opaque[4] = {255, 200, 100, 50};
    EXPECT_EQ(EyedropperColor(clear, background).GetCOLORREF(), background.GetCOLORREF());
    EXPECT_EQ(EyedropperColor(opaque, background).GetCOLORREF(), CColor(200, 100, 50).GetCOLORREF());
}

TEST(ViewGestures, ADragPastTheWindowScrollsToBringThePointToItsEdge)
{
    // A 1000 x 2000 page in a 400 x 300 window scrolled to (100, 200).
    const CSize page(1000, 2000), client(400, 300);
    const CRect visible(100, 200, 500, 500);
    AutoScroll scroll;
    EXPECT_FALSE(ComputeAutoScroll(CPoint(300, 300), visible, client, page, scroll));
    EXPECT_FALSE(ComputeAutoScroll(CPoint(-5, 300), visible, client, page, scroll));
    ASSERT_TRUE(ComputeAutoScroll(CPoint(520, 300), visible, client, page, scroll));
    EXPECT_EQ(scroll.scroll, CPoint(121, 200));
    EXPECT_EQ(scroll.pointer, CPoint(399, 100));
    ASSERT_TRUE(ComputeAutoScroll(CPoint(50, 150), visible, client, page, scroll));
    EXPECT_EQ(scroll.scroll, CPoint(50, 150));
    EXPECT_EQ(scroll.pointer, CPoint(0, 0));
}

} // namespace
