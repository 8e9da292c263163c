#include "app/site/object_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <vector>

#include "app/model/record_stream.h"
#include "app/objects/circle_object.h"
#include "app/site/page_item.h"
#include "app/site/site_object_fake.h"
#include "app/site/site_services_fake.h"

namespace {

constexpr double kPi = std::numbers::pi;

DPOINT CentreOf(const CPageItem& item)
{
    DPOINT c;
    return item.GetCurrentObject()->GetCenter(c);
}

SIZE SizeOf(const CPageItem& item)
{
    SIZE s;
    return item.GetCurrentObject()->GetSize(s);
}

void ExpectPoint(const DPOINT& actual, double x, double y)
{
    EXPECT_NEAR(actual.x, x, 1e-9);
    EXPECT_NEAR(actual.y, y, 1e-9);
}

// Items of fake rectangles kept alive beside the frames under test, as a page keeps its items.
class ObjectFrameTest : public testing::Test
{
protected:
    SiteServicesFake services;
    std::vector<std::unique_ptr<CPageItem>> items;

    CPageItem* Item(double x, double y, int w, int h, double rotation = 0.0)
    {
        items.push_back(std::make_unique<CPageItem>(MakeFake(objectRectangle, x, y, w, h, rotation), nullptr));
        return items.back().get();
    }

    // Two 50 x 100 members side by side: a 200 x 100 frame from (100, 100) to (300, 200).
    std::unique_ptr<CObjectFrame> Pair()
    {
        auto frame = std::make_unique<CObjectFrame>(Item(125, 150, 50, 100));
        frame->AddItem(Item(275, 150, 50, 100));
        return frame;
    }
};

TEST_F(ObjectFrameTest, HandlesOfAFrameAroundOneObject)
{
    CPageItem* item = Item(200, 100, 100, 50);
    CObjectFrame frame(item);
    EXPECT_EQ(item->GetGroup(), &frame);
    EXPECT_TRUE(frame.IsSelected());
    EXPECT_FALSE(frame.IsGroup());
    EXPECT_EQ(frame.GetRect(), CRect(150, 75, 250, 125));
    const DPOINT expected[] = {{150, 75},  {200, 75},  {250, 75},  {150, 100},
                               {250, 100}, {150, 125}, {200, 125}, {250, 125}};
    for (int i = 0; i < CObjectFrame::kHandleCount; ++i) {
        SCOPED_TRACE(i);
        ExpectPoint(frame.GetHandles()[i], expected[i].x, expected[i].y);
    }
    EXPECT_TRUE(frame.CanResize());
    EXPECT_TRUE(frame.CanRotate());

    CObjectFrame empty;
    EXPECT_TRUE(empty.GetRect().IsRectEmpty());
    EXPECT_TRUE(empty.IsSelected());
    EXPECT_FALSE(empty.CanResize());
}

TEST_F(ObjectFrameTest, MembersJoinAndLeave)
{
    std::unique_ptr<CObjectFrame> frame = Pair();
    EXPECT_EQ(frame->GetItemCount(), 2);
    EXPECT_EQ(frame->GetRect(), CRect(100, 100, 300, 200));
    EXPECT_EQ(frame->GetSize().cx, 200);
    ExpectPoint(frame->GetCenter(), 200, 150);

    CPageItem* second = frame->GetItem(1);
    frame->RemoveItem(second);
    EXPECT_EQ(second->GetGroup(), nullptr);
    EXPECT_EQ(frame->GetItemCount(), 1);
    EXPECT_EQ(frame->GetRect(), CRect(100, 100, 150, 200));
    ExpectPoint(frame->GetCenter(), 125, 150);
    EXPECT_EQ(frame->GetItem(1), nullptr);
    frame->RemoveItemAt(5); // out of range: nothing happens
    EXPECT_EQ(frame->GetItemCount(), 1);

    // The clone shares the members and geometry, not the drag state.
    frame->BeginResize();
    std::unique_ptr<CObjectFrame> clone = frame->Clone();
    EXPECT_EQ(clone->GetItem(0), frame->GetItem(0));
    EXPECT_EQ(clone->GetRect(), frame->GetRect());
    EXPECT_FALSE(clone->IsResizing());
    frame->EndResize();
}

TEST_F(ObjectFrameTest, EndingAGroupStraightensItAgain)
{
    std::unique_ptr<CObjectFrame> frame = Pair();
    frame->SetGroup(true);
    frame->RecordDragData();
    // Pointer straight right of the centre; the start mouse angle turns the frame by a twelfth.
    frame->RotateToPoint(POINT{300, 150}, kPi / 6, 0.0, false);
    EXPECT_NEAR(frame->GetAngle(), kPi / 6, 1e-12);
    frame->SetGroup(false);
    EXPECT_EQ(frame->GetAngle(), 0.0);
    // Fitted upright around the turned members again: wider than before.
    EXPECT_GT(frame->GetSize().cy, 100);
    const DPOINT* handles = frame->GetHandles();
    EXPECT_DOUBLE_EQ(handles[0].y, handles[2].y);
    EXPECT_DOUBLE_EQ(handles[2].x - handles[0].x, frame->GetSize().cx);
}

TEST_F(ObjectFrameTest, SeveralMembersScaleUniformlyFromEachHandle)
{
    struct Case
    {
        const char* name;
        bool top, left, right, bottom;
        POINT pointer;
        SIZE size;
        DPOINT centre;
    };
    const Case cases[] = {
        {"top up by 50", true, false, false, false, {200, 50}, {300, 150}, {200, 125}},
        {"top below the bottom edge", true, false, false, false, {200, 260}, {2, 1}, {200, 199.5}},
        {"bottom down by 100", false, false, false, true, {170, 300}, {400, 200}, {200, 200}},
        {"left out by 100", false, true, false, false, {0, 0}, {300, 150}, {150, 150}},
        {"right in by 100", false, false, true, false, {200, 10}, {100, 50}, {150, 150}},
        // Later flags win: bottom over top.
        {"top and bottom flags", true, false, false, true, {170, 300}, {400, 200}, {200, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CObjectFrame> frame = Pair();
        frame->RecordDragData();
        bool top = c.top, left = c.left, right = c.right, bottom = c.bottom, shiftBefore = false;
        frame->ResizeByHandle(c.pointer, false, false, top, left, right, bottom, shiftBefore);
        EXPECT_EQ(frame->GetSize().cx, c.size.cx);
        EXPECT_EQ(frame->GetSize().cy, c.size.cy);
        ExpectPoint(frame->GetCenter(), c.centre.x, c.centre.y);
        // The members keep their places and shares: a quarter of the width each, at the ends.
        const DPOINT* h = frame->GetHandles();
        const double w = c.size.cx;
        ExpectPoint(CentreOf(*frame->GetItem(0)), h[0].x + w / 8, (h[0].y + h[5].y) / 2);
        ExpectPoint(CentreOf(*frame->GetItem(1)), h[0].x + w * 7 / 8, (h[0].y + h[5].y) / 2);
        EXPECT_EQ(SizeOf(*frame->GetItem(0)).cx, std::max(RoundHalfUp(w / 4), 1));
        EXPECT_EQ(SizeOf(*frame->GetItem(0)).cy, c.size.cy);
    }
}

TEST_F(ObjectFrameTest, ASingleMemberIsResizedByItsItem)
{
    CPageItem* item = Item(200, 100, 100, 50);
    CObjectFrame frame(item);
    bool top = false, left = false, right = true, bottom = false, shiftBefore = false;
    // Ctrl makes a square.
    frame.ResizeByHandle(POINT{290, 100}, true, false, top, left, right, bottom, shiftBefore);
    EXPECT_EQ(SizeOf(*item).cx, 140);
    EXPECT_EQ(SizeOf(*item).cy, 140);
    EXPECT_FALSE(shiftBefore);
    EXPECT_EQ(frame.GetRect(), item->GetRect());
    EXPECT_EQ(frame.GetSize().cx, 140);
    ExpectPoint(frame.GetCenter(), 220, 100);

    // Shift keeps the ratio of the step it was first held at (1 here), however the drag goes on.
    frame.ResizeByHandle(POINT{330, 100}, false, true, top, left, right, bottom, shiftBefore);
    EXPECT_TRUE(shiftBefore);
    EXPECT_EQ(SizeOf(*item).cx, 180);
    EXPECT_EQ(SizeOf(*item).cy, 180);

    // Across the opposite side the side flags swap, so the next step drags the left edge.
    frame.ResizeByHandle(POINT{100, 100}, false, true, top, left, right, bottom, shiftBefore);
    EXPECT_TRUE(left);
    EXPECT_FALSE(right);
    EXPECT_EQ(SizeOf(*item).cx, 50);
    EXPECT_EQ(SizeOf(*item).cy, 50);
    EXPECT_EQ(frame.GetRect(), CRect(100, 75, 150, 125));
}

TEST_F(ObjectFrameTest, RotationSnapsToEighths)
{
    struct Case
    {
        double computed, snapped;
    };
    const Case cases[] = {{0.40, kPi / 4}, {0.39, 0.0}, {1.20, kPi / 2}, {5.90, 0.0}, {5.80, 7 * kPi / 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.computed);
        std::unique_ptr<CObjectFrame> frame = Pair();
        frame->RecordDragData();
        // With the pointer straight right of the centre its angle is 0, so the start mouse angle is the result.
        frame->RotateToPoint(POINT{400, 150}, c.computed, 0.0, true);
        EXPECT_NEAR(frame->GetAngle(), c.snapped, 1e-12);
    }
}

TEST_F(ObjectFrameTest, AGroupTurnsAboutItsCentre)
{
    std::unique_ptr<CObjectFrame> frame = Pair();
    frame->GetItem(1)->GetCurrentObject()->SetRotation(0.1);
    frame->RecordDragData();
    frame->BeginRotate();
    frame->RotateToPoint(POINT{300, 150}, kPi / 2, 0.0, false);
    ExpectPoint(frame->GetCenter(), 200, 150);
    // Turned a quarter (by minus the angle on the page, as objects turn): left member below, right one above.
    ExpectPoint(CentreOf(*frame->GetItem(0)), 200, 225);
    ExpectPoint(CentreOf(*frame->GetItem(1)), 200, 75);
    EXPECT_NEAR(frame->GetItem(0)->GetCurrentObject()->GetRotation(), kPi / 2, 1e-12);
    EXPECT_NEAR(frame->GetItem(1)->GetCurrentObject()->GetRotation(), kPi / 2 + 0.1, 1e-12);
    EXPECT_EQ(services.codes.back(), 10012);
    frame->EndRotate();
    EXPECT_FALSE(frame->IsRotating());
    EXPECT_NEAR(frame->GetAngle(), kPi / 2, 1e-12);
    // Upright in its own coordinates the frame holds the members as they were (the right one turned a little).
    EXPECT_GE(frame->GetSize().cx, 200);
    EXPECT_GE(frame->GetSize().cy, 100);
}

TEST_F(ObjectFrameTest, EndingADragEndsItForEveryMember)
{
    items.push_back(std::make_unique<CPageItem>(std::make_unique<CCircleObject>(50, 50, SIZE{20, 20}, 0.0), nullptr));
    items.push_back(std::make_unique<CPageItem>(std::make_unique<CCircleObject>(90, 50, SIZE{20, 20}, 0.0), nullptr));
    CObjectFrame frame(items[0].get());
    frame.AddItem(items[1].get());
    const auto circle = [&](int i) { return static_cast<const CCircleObject*>(items[i]->GetCurrentObject()); };
    frame.BeginRotate();
    frame.BeginTransform();
    EXPECT_TRUE(circle(0)->IsRotating() && circle(1)->IsRotating() && circle(1)->IsMoving());
    frame.EndRotate();
    EXPECT_FALSE(circle(0)->IsRotating() || circle(1)->IsRotating());
    EXPECT_TRUE(circle(1)->IsMoving());
    frame.EndTransform();
    EXPECT_FALSE(circle(1)->IsMoving());
}

TEST_F(ObjectFrameTest, MovingCarriesMembersAndGeometry)
{
    std::unique_ptr<CObjectFrame> frame = Pair();
    const DPOINT before = frame->GetHandles()[7];
    frame->Offset(POINT{10, 10}, POINT{15, 7});
    EXPECT_EQ(frame->GetRect(), CRect(105, 97, 305, 197));
    ExpectPoint(frame->GetCenter(), 205, 147);
    ExpectPoint(frame->GetHandles()[7], before.x + 5, before.y - 3);
    EXPECT_EQ(frame->GetItem(1)->GetRect(), CRect(255, 97, 305, 197));
}

TEST_F(ObjectFrameTest, UpdateRectTakesInTheTurnedCorners)
{
    CObjectFrame frame(Item(200, 100, 100, 50));
    EXPECT_EQ(frame.GetUpdateRect(false), frame.GetRect());
    EXPECT_EQ(frame.GetUpdateRect(true), CRect(145, 70, 255, 130));
}

TEST_F(ObjectFrameTest, StreamFormRoundTripsAndRefusesDamage)
{
    std::unique_ptr<CObjectFrame> frame = Pair();
    frame->SetGroup(true);
    frame->RecordDragData();
    frame->RotateToPoint(POINT{300, 150}, 0.3, 0.0, false);
    frame->SetSelected(false);
    CMemFile file;
    frame->Save(file);
    ASSERT_EQ(file.GetLength(), static_cast<ULONGLONG>(CObjectFrame::kStreamSize));
    file.SeekToBegin();
    std::unique_ptr<CObjectFrame> read = CObjectFrame::Load(file, 5, 15);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->GetItemCount(), 0);
    EXPECT_EQ(read->GetRect(), frame->GetRect());
    EXPECT_EQ(read->CanResize(), frame->CanResize());
    EXPECT_EQ(read->CanRotate(), frame->CanRotate());
    EXPECT_TRUE(read->IsGroup());
    EXPECT_FALSE(read->IsSelected());
    EXPECT_EQ(read->GetAngle(), frame->GetAngle());
    EXPECT_EQ(read->GetCenter().x, frame->GetCenter().x);
    EXPECT_EQ(read->GetSize().cx, frame->GetSize().cx);
    EXPECT_EQ(read->GetSize().cy, frame->GetSize().cy);
    for (int i = 0; i < CObjectFrame::kHandleCount; ++i) {
        EXPECT_EQ(read->GetHandles()[i].x, frame->GetHandles()[i].x);
        EXPECT_EQ(read->GetHandles()[i].y, frame->GetHandles()[i].y);
    }

    // Cut short, or holding a number that is no number.
    std::vector<BYTE> bytes(file.GetBuffer(), file.GetBuffer() + file.GetLength());
    CMemFile cut(bytes.data(), CObjectFrame::kStreamSize - 1);
    EXPECT_FALSE(CObjectFrame::Load(cut, 5, 15));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(bytes.data() + 20, &nan, sizeof nan);
    CMemFile damaged(bytes.data(), CObjectFrame::kStreamSize);
    EXPECT_FALSE(CObjectFrame::Load(damaged, 5, 15));
}

} // namespace
