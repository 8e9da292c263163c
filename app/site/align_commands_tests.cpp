// Lining the selected objects up on an edge, and fitting an object to its picture fill.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/model/fill_info.h"
#include "app/objects/rectangle_object.h"
#include "app/site/align_commands.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"
#include "image/image.h"

namespace {

class Aligning : public testing::Test
{
protected:
    SiteServicesFake services;
    bool realUndo = services.realUndo = true; // before the page takes its undo history
    CSitePage page{nullptr, "p", "P"};        // 740 x 600

    CPageItem* AddBox(int left, int top, int width, int height)
    {
        return page.AddObject(
            std::make_unique<CRectangleObject>(left + width / 2.0, top + height / 2.0, SIZE{width, height}, 0.0));
    }
    static CPoint TopLeft(const CPageItem* item) { return item->GetRect().TopLeft(); }
};

TEST_F(Aligning, ThreeObjectsMeetOnEachEdgeAsOneUndoStep)
{
    struct Case
    {
        AlignMode mode;
        int reference;
        std::vector<CPoint> topLefts;
    };
    // Boxes: (100,50) 40x20, (200,120) 60x30, (150,300) 20x80.
    const std::vector<Case> cases = {
        {AlignMode::left, 100, {{100, 50}, {100, 120}, {100, 300}}},
        {AlignMode::right, 260, {{220, 50}, {200, 120}, {240, 300}}},
        {AlignMode::top, 50, {{100, 50}, {200, 50}, {150, 50}}},
        {AlignMode::bottom, 380, {{100, 360}, {200, 350}, {150, 300}}},
    };
    for (const Case& c : cases) {
        CPageItem* a = AddBox(100, 50, 40, 20);
        CPageItem* b = AddBox(200, 120, 60, 30);
        CPageItem* d = AddBox(150, 300, 20, 80);
        page.ClearSelection();
        EXPECT_FALSE(CanAlign(page));
        page.AddToSelection(a);
        EXPECT_FALSE(CanAlign(page)) << "one object has nothing to line up with";
        page.AddToSelection(b);
        page.AddToSelection(d);
        ASSERT_TRUE(CanAlign(page));
        EXPECT_EQ(AlignReference(page, c.mode), c.reference);

        Align(page, c.mode);
        EXPECT_EQ(TopLeft(a), c.topLefts[0]);
        EXPECT_EQ(TopLeft(b), c.topLefts[1]);
        EXPECT_EQ(TopLeft(d), c.topLefts[2]);
        EXPECT_TRUE(page.GetSelectedGroup() == nullptr || page.GetSelectedGroup()->GetRect().Width() > 0);

        page.GetUndoManager()->Undo();
        ASSERT_EQ(page.GetItemCount(), 3);
        EXPECT_EQ(TopLeft(page.GetItem(0)), CPoint(100, 50));
        EXPECT_EQ(TopLeft(page.GetItem(1)), CPoint(200, 120));
        EXPECT_EQ(TopLeft(page.GetItem(2)), CPoint(150, 300));
        page.ClearSelection();
        page.SelectAll();
        page.RemoveSelection();
    }
}

TEST_F(Aligning, ThePageEdgesHoldTheReferenceAndObjectsBeyondStay)
{
    CPageItem* outside = AddBox(-5, 10, 20, 20);
    CPageItem* inside = AddBox(300, 40, 20, 20);
    CPageItem* low = AddBox(200, 590, 20, 30);
    for (CPageItem* item : {outside, inside, low})
        page.AddToSelection(item);
    Align(page, AlignMode::left);
    EXPECT_EQ(TopLeft(outside).x, -5);
    EXPECT_EQ(TopLeft(inside).x, 0);
    EXPECT_EQ(TopLeft(low).x, 0);

    EXPECT_EQ(AlignReference(page, AlignMode::bottom), 599);
    Align(page, AlignMode::bottom);
    EXPECT_EQ(inside->GetRect().bottom, 599);
    EXPECT_EQ(low->GetRect().bottom, 620) << "an object reaching past the edge stays";

    page.ClearSelection();
    EXPECT_EQ(AlignReference(page, AlignMode::left), 10000);
    EXPECT_EQ(AlignReference(page, AlignMode::right), -10000);
}

TEST_F(Aligning, AUserGroupMovesAsAWhole)
{
    CPageItem* a = AddBox(10, 10, 20, 20);
    CPageItem* b = AddBox(50, 40, 20, 20);
    page.AddToSelection(a);
    page.AddToSelection(b);
    page.CreateGroup();
    page.ClearSelection();
    CPageItem* far = AddBox(300, 100, 40, 40);
    page.AddToSelection(a);
    page.AddToSelection(far);
    ASSERT_TRUE(a->GetGroup()->IsGroup());
    Align(page, AlignMode::right);
    EXPECT_EQ(b->GetRect().right, 340) << "the group's right edge meets the reference";
    EXPECT_EQ(b->GetRect().left - a->GetRect().left, 40) << "the group keeps its shape";
    EXPECT_EQ(far->GetRect().right, 340);
}

std::unique_ptr<CImage> Picture(int width, int height)
{
    return std::make_unique<CImage>(IMAGE_MODE_RGB, width, height);
}

TEST_F(Aligning, ScalingFollowsThePictureFillsProportions)
{
    struct Case
    {
        SIZE before, after;
    };
    // A 200 x 100 picture.
    const std::vector<Case> cases = {
        {{100, 100}, {200, 100}},  {{300, 100}, {300, 150}},    {{400, 200}, {400, 200}},
        {{1900, 10}, {1900, 950}}, {{100, 1500}, {2000, 1500}},
    };
    for (const Case& c : cases) {
        CPageItem* item = AddBox(10, 10, c.before.cx, c.before.cy);
        page.SelectItem(item);
        EXPECT_FALSE(CanScaleToPictureFill(page)) << "a colour fill has no picture";
        auto fill = std::make_unique<CFillInfo>();
        fill->SetPicture(Picture(200, 100));
        item->GetCurrentObject()->SetFill(std::move(fill));
        ASSERT_TRUE(CanScaleToPictureFill(page));

        EXPECT_EQ(ScaleToPictureFill(page), c.before.cx != c.after.cx || c.before.cy != c.after.cy);
        SIZE size{};
        item->GetCurrentObject()->GetSize(size);
        EXPECT_EQ(size.cx, c.after.cx);
        EXPECT_EQ(size.cy, c.after.cy);
        page.SelectAll();
        page.RemoveSelection();
    }
}

TEST_F(Aligning, ScalingNeedsOneObjectWithALoadablePicture)
{
    CPageItem* a = AddBox(10, 10, 100, 100);
    CPageItem* b = AddBox(200, 10, 100, 100);
    for (CPageItem* item : {a, b}) {
        auto fill = std::make_unique<CFillInfo>();
        fill->SetImageFile("/nonexistent/picture.png");
        item->GetCurrentObject()->SetFill(std::move(fill));
    }
    page.AddToSelection(a);
    page.AddToSelection(b);
    EXPECT_FALSE(CanScaleToPictureFill(page));
    page.SelectItem(a);
    ASSERT_TRUE(CanScaleToPictureFill(page));
    EXPECT_FALSE(ScaleToPictureFill(page)) << "a picture that cannot be loaded changes nothing";
    SIZE size{};
    a->GetCurrentObject()->GetSize(size);
    EXPECT_EQ(size.cx, 100);
    EXPECT_EQ(size.cy, 100);
}

} // namespace
