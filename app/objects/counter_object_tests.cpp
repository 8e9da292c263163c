#include "app/objects/counter_object.h"

#include <gtest/gtest.h>

#include "app/model/link_info.h"
#include "app/objects/placed_object_test_support.h"

namespace {

class CounterTest : public ::testing::Test
{
protected:
    InstalledSettings services;
};

// The stored counter behind its tag, with an inactive link (which takes no bytes).
std::vector<BYTE> CounterRecord(int style, double cx, double cy, int number)
{
    return Concat({LE32(kCounterObjectTag), LE32(static_cast<uint32_t>(style)), LE64(cx), LE64(cy),
                   LE32(static_cast<uint32_t>(number)), LE32(0), LE32(0), LE32(85), LE32(30)});
}

TEST_F(CounterTest, EachStyleShowsItsPictureAtItsSize)
{
    struct Case
    {
        int style;
        SIZE size;
        POINT frame, panel, digit;
        Rgba frameColour, panelColour, digitColour;
    };
    // The points: a corner of the frame, the hollow middle of the first digit (a 0), and its top bar.
    const Case cases[] = {
        {0, {85, 30}, {0, 0}, {8, 15}, {8, 6}, {255, 90, 90, 90}, {255, 250, 250, 250}, {255, 20, 20, 20}},
        {1, {85, 30}, {0, 0}, {8, 15}, {8, 6}, {255, 10, 16, 40}, {255, 20, 32, 80}, {255, 255, 255, 255}},
        {2, {75, 20}, {74, 19}, {5, 10}, {5, 3}, {255, 100, 100, 100}, {255, 200, 200, 200}, {255, 200, 20, 20}},
        {3, {85, 30}, {84, 0}, {8, 15}, {8, 6}, {255, 60, 60, 60}, {255, 0, 0, 0}, {255, 40, 230, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        CCounterObject counter(c.style, POINT{200, 100});
        SIZE size;
        counter.GetSize(size);
        EXPECT_EQ(size.cx, c.size.cx);
        EXPECT_EQ(size.cy, c.size.cy);
        ASSERT_NE(counter.GetImage(), nullptr);
        EXPECT_FALSE(counter.IsDirty());
        const CImage& image = *counter.GetImage();
        EXPECT_EQ(PixelOf(image, c.frame.x, c.frame.y), c.frameColour);
        EXPECT_EQ(PixelOf(image, c.panel.x, c.panel.y), c.panelColour);
        EXPECT_EQ(PixelOf(image, c.digit.x, c.digit.y), c.digitColour);

        // GetPixels hands out the same picture at the object's own coordinates.
        CPixMap map(IMAGE_MODE_RGBA, 1, 1);
        counter.GetPixels(c.digit.x, c.digit.y, map);
        const BYTE* p = map.Sample(0, 0, 0);
        EXPECT_EQ((Rgba{p[0], p[1], p[2], p[3]}), c.digitColour);
    }
}

TEST_F(CounterTest, PlacementRoundsTheTopLeftAndCentresOnWholePixels)
{
    CCounterObject placed(0, POINT{100, 100});
    EXPECT_EQ(BoundsOf(placed), (Box{58, 85, 143, 115}));
    DPOINT centre;
    placed.GetCenter(centre);
    EXPECT_DOUBLE_EQ(centre.x, 100.5);
    EXPECT_DOUBLE_EQ(centre.y, 100.0);

    // From a centre of doubles the odd width moves it half a pixel left, which lands on the same place.
    CCounterObject fromCentre(0, 100.5, 100.0);
    EXPECT_EQ(BoundsOf(fromCentre), (Box{58, 85, 143, 115}));

    // Handles sit on the pixel grid, the last column and row inside.
    const DPOINT* h = placed.GetHandlePoints();
    EXPECT_DOUBLE_EQ(h[0].x, 58);
    EXPECT_DOUBLE_EQ(h[1].x, 100);
    EXPECT_DOUBLE_EQ(h[2].x, 142);
    EXPECT_DOUBLE_EQ(h[3].y, 99);
    EXPECT_DOUBLE_EQ(h[7].y, 114);
    RECT paint;
    EXPECT_EQ(BoxOf(placed.GetPaintRect(paint)), (Box{55, 82, 145, 117}));

    placed.MoveBy(-8, 5);
    EXPECT_EQ(BoundsOf(placed), (Box{50, 90, 135, 120}));
    placed.SetCenter(DPOINT{-10.5, 0.0});
    // Truncated toward zero: -53 and -15.
    EXPECT_EQ(BoundsOf(placed), (Box{-53, -15, 32, 15}));
}

TEST_F(CounterTest, NewStyleKeepsTheTopLeftAndSameStyleRendersNothing)
{
    CCounterObject counter(2, POINT{100, 100});
    const Box before = BoundsOf(counter);
    EXPECT_EQ(before[2] - before[0], 75);

    const CImage* image = counter.GetImage();
    counter.SetStyle(2);
    EXPECT_EQ(counter.GetImage(), image);

    counter.SetStyle(0);
    EXPECT_EQ(BoundsOf(counter), (Box{before[0], before[1], before[0] + 85, before[1] + 30}));
    DPOINT centre;
    counter.GetCenter(centre);
    EXPECT_DOUBLE_EQ(centre.x, before[0] + 42.5);
    EXPECT_DOUBLE_EQ(centre.y, before[1] + 15.0);
}

TEST_F(CounterTest, CountersNeverShareANumber)
{
    services.settings.counterId = 7;
    CCounterObject placed(0, POINT{10, 10});
    EXPECT_EQ(placed.GetCounterNumber(), 7);
    CCounterObject second(1, POINT{10, 10});
    EXPECT_EQ(second.GetCounterNumber(), 8);
    EXPECT_EQ(services.settings.counterId, 9);

    // A counter read from a file keeps its number, and new counters are numbered past it.
    auto loaded = LoadBytes(CounterRecord(0, 50, 50, 40));
    EXPECT_EQ(static_cast<CCounterObject&>(*loaded).GetCounterNumber(), 40);
    CCounterObject after(0, 60.0, 60.0);
    EXPECT_EQ(after.GetCounterNumber(), 41);

    // A lower stored number does not send the count back.
    LoadBytes(CounterRecord(0, 50, 50, 3));
    EXPECT_EQ(CCounterObject(0, POINT{0, 0}).GetCounterNumber(), 43);

    // A clone is a new counter with a number of its own.
    auto clone = after.Clone();
    EXPECT_NE(static_cast<CCounterObject&>(*clone).GetCounterNumber(), after.GetCounterNumber());
}

TEST(CounterWithoutSettings, StillNumbersEachCounterAfresh)
{
    CCounterObject first(0, POINT{0, 0});
    CCounterObject second(0, POINT{0, 0});
    EXPECT_NE(first.GetCounterNumber(), second.GetCounterNumber());
}

TEST_F(CounterTest, SavedAndReadBackWithEveryField)
{
    CCounterObject counter(2, POINT{300, 120});
    CLinkInfo& link = *counter.GetCounterLink();
    link.SetActive(true);
    link.SetKind(CLinkInfo::kindPage);
    link.SetPage(3);
    counter.MoveBy(4, -2);

    auto loaded = SaveAndReload(counter);
    ASSERT_EQ(loaded->GetKind(), objectCounter);
    auto& back = static_cast<CCounterObject&>(*loaded);
    EXPECT_EQ(back.GetStyle(), 2);
    EXPECT_EQ(back.GetCounterNumber(), counter.GetCounterNumber());
    DPOINT a, b;
    EXPECT_DOUBLE_EQ(back.GetCenter(a).x, counter.GetCenter(b).x);
    EXPECT_DOUBLE_EQ(a.y, b.y);
    EXPECT_EQ(BoundsOf(back), BoundsOf(counter));
    ASSERT_NE(back.GetCounterLink(), nullptr);
    EXPECT_EQ(*back.GetCounterLink(), link);
    EXPECT_FALSE(back.IsDirty());
    ASSERT_NE(back.GetImage(), nullptr);
    EXPECT_EQ(back.GetImage()->Width(), 75);
}

TEST_F(CounterTest, StoredStyleOutsideTheFourIsRefused)
{
    for (int style : {-1, 4, 1000}) {
        SCOPED_TRACE(style);
        EXPECT_TRUE(RaisesBadData([&] { LoadBytes(CounterRecord(style, 50, 50, 1)); }));
    }
    for (int style : {0, 3})
        EXPECT_NO_THROW(LoadBytes(CounterRecord(style, 50, 50, 1)));
}

TEST_F(CounterTest, StoredBoundsFollowThePictureNotTheFile)
{
    // Bounds in the file that disagree with the picture's size: the picture decides.
    auto bytes = CounterRecord(2, 100.0, 50.0, 1);
    auto loaded = LoadBytes(bytes);
    EXPECT_EQ(BoundsOf(*loaded), (Box{62, 40, 137, 60}));
}

TEST_F(CounterTest, CanDoNothingButMove)
{
    CCounterObject counter(0, POINT{50, 50});
    EXPECT_FALSE(counter.CanTakeStyle() || counter.CanHavePictureFill() || counter.HasFill() ||
                 counter.CanHaveMouseOver() || counter.CanHaveButtonText() || counter.CanHaveAltText() ||
                 counter.CanResize() || counter.CanRotate());
    EXPECT_EQ(counter.GetLink(), nullptr);
    EXPECT_EQ(counter.GetFill(), nullptr);
    EXPECT_EQ(counter.Duplicate(), nullptr);
    counter.SetSize(10, 10);
    SIZE size;
    EXPECT_EQ(counter.GetSize(size).cx, 85);
    EXPECT_EQ(counter.GetDownloadSize(1.0), 1500);
    EXPECT_EQ(counter.GetDownloadSize(1000.0), 1500);
}

TEST_F(CounterTest, CloneHasNoLinkAndCopyFromExchangesStyleAndCentre)
{
    CCounterObject counter(1, POINT{100, 100});
    counter.GetCounterLink()->SetActive(true);
    auto clone = counter.Clone();
    auto& copy = static_cast<CCounterObject&>(*clone);
    EXPECT_EQ(copy.GetCounterLink(), nullptr);
    EXPECT_EQ(copy.GetStyle(), 1);
    // A clone without a link still saves and reads back.
    EXPECT_NE(SaveAndReload(copy), nullptr);

    CCounterObject other(2, POINT{300, 40});
    DPOINT before, otherBefore;
    counter.GetCenter(before);
    other.GetCenter(otherBefore);
    counter.CopyFrom(other);
    EXPECT_EQ(counter.GetStyle(), 2);
    EXPECT_EQ(other.GetStyle(), 1);
    DPOINT now;
    EXPECT_DOUBLE_EQ(counter.GetCenter(now).x, otherBefore.x);
    EXPECT_DOUBLE_EQ(other.GetCenter(now).x, before.x);
    EXPECT_DOUBLE_EQ(now.y, before.y);
}

TEST_F(CounterTest, PageLinksFollowDeletedPages)
{
    CCounterObject counter(0, POINT{50, 50});
    CLinkInfo& link = *counter.GetCounterLink();
    link.SetActive(true);
    link.SetKind(CLinkInfo::kindPage);
    link.SetPage(4);
    counter.OnPageDeleted(1);
    EXPECT_EQ(link.GetPage(), 3);
    counter.ClampPageLinks(2);
    EXPECT_EQ(link.GetPage(), 1);
    counter.ResetPageLinks();
    EXPECT_EQ(link.GetPage(), 0);
}

} // namespace
