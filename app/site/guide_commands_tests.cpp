// Guides and grid on a page, and lining the selected objects up between guides.

#include <gtest/gtest.h>

#include <vector>

#include "app/objects/rectangle_object.h"
#include "app/site/guide_commands.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"

namespace {

class Guides : public testing::Test
{
protected:
    SiteServicesFake services;
    CSitePage page{nullptr, "p", "P"}; // 740 x 600

    CPageItem* AddBox(int left, int top, int width, int height)
    {
        return page.AddObject(
            std::make_unique<CRectangleObject>(left + width / 2.0, top + height / 2.0, SIZE{width, height}, 0.0));
    }
    std::vector<int> List(bool horizontal) const
    {
        std::vector<int> list;
        for (int i = 0; i < page.GetGuideCount(horizontal); ++i)
            list.push_back(page.GetGuide(horizontal, i));
        return list;
    }
};

TEST_F(Guides, InsertTakesThePointOfTheContextMenuOrTheMiddle)
{
    struct Case
    {
        std::optional<CPoint> point;
        int horizontal, vertical;
    };
    const std::vector<Case> cases = {
        {std::nullopt, 300, 370},
        {CPoint(100, 250), 250, 100},
        {CPoint(900, 700), 600, 740},
        {CPoint(-5, 0), 0, 0},
    };
    for (const Case& c : cases) {
        page.RemoveAllGuides();
        page.SetGuidesHidden(true);
        EXPECT_EQ(InsertGuide(page, true, c.point), c.horizontal);
        EXPECT_FALSE(page.AreGuidesHidden());
        EXPECT_EQ(InsertGuide(page, false, c.point), c.vertical);
        EXPECT_EQ(List(true), std::vector<int>{c.horizontal});
        EXPECT_EQ(List(false), std::vector<int>{c.vertical});
    }
}

TEST_F(Guides, AFullListTakesNoMoreAndTheOtherStillDoes)
{
    for (int i = 0; i < CSitePage::kMaxGuides; ++i)
        page.AddGuide(true, i);
    EXPECT_FALSE(CanInsertGuide(page, true));
    EXPECT_EQ(InsertGuide(page, true, std::nullopt), -1);
    EXPECT_EQ(page.GetGuideCount(true), CSitePage::kMaxGuides);
    EXPECT_TRUE(CanInsertGuide(page, false));
}

TEST_F(Guides, GridModesAndRemoval)
{
    EXPECT_FALSE(CanRemoveGuides(page));
    for (int mode : kGridModes) {
        SetGrid(page, mode);
        const int step = 10 * mode;
        EXPECT_EQ(page.GetGridMode(), mode);
        // Both lists run across the larger side of the page.
        EXPECT_EQ(page.GetGuideCount(true), (740 + step - 1) / step) << mode;
        EXPECT_EQ(page.GetGuide(true, 1), step);
        EXPECT_EQ(page.GetGuide(false, 2), 2 * step);
    }
    EXPECT_TRUE(CanRemoveGuides(page));
    RemoveGuides(page);
    EXPECT_EQ(page.GetGridMode(), 0);
    EXPECT_FALSE(CanRemoveGuides(page));

    ToggleGuidesHidden(page);
    EXPECT_TRUE(page.AreGuidesHidden());
    ToggleGuidesHidden(page);
    EXPECT_FALSE(page.AreGuidesHidden());
}

TEST_F(Guides, SpaceEvenlySpreadsThreeObjectsFromGuideToGuide)
{
    services.realUndo = true;
    CSitePage spaced(nullptr, "s", "S");
    auto box = [&](int top, int height) {
        return spaced.AddObject(std::make_unique<CRectangleObject>(100.0, top + height / 2.0, SIZE{20, height}, 0.0));
    };
    CPageItem* a = box(110, 10);
    CPageItem* b = box(130, 20);
    CPageItem* c = box(160, 30);
    for (CPageItem* item : {c, a, b})
        spaced.AddToSelection(item);
    EXPECT_FALSE(CanSpaceEvenly(spaced, true));
    spaced.AddGuide(true, 100);
    spaced.AddGuide(true, 200);
    EXPECT_TRUE(CanSpaceEvenly(spaced, true));
    EXPECT_FALSE(CanSpaceEvenly(spaced, false));

    SpaceEvenly(spaced, true);
    EXPECT_EQ(a->GetRect().top, 100);
    EXPECT_EQ((b->GetRect().top + b->GetRect().bottom) / 2, 150);
    EXPECT_EQ(c->GetRect().bottom, 200);
    EXPECT_EQ(a->GetRect().left, 90);

    spaced.GetUndoManager()->Undo();
    EXPECT_EQ(a->GetRect().top, 110);
    EXPECT_EQ(c->GetRect().top, 160);
}

TEST_F(Guides, ATallObjectAndASingleObjectAreCentredOnTheGap)
{
    CPageItem* tall = AddBox(100, 90, 20, 140);
    page.AddGuide(true, 100);
    page.AddGuide(true, 200);
    page.AddToSelection(tall);
    SpaceEvenly(page, true);
    EXPECT_EQ(tall->GetRect().top, 80);

    page.AddGuide(false, 300);
    page.AddGuide(false, 400);
    CPageItem* wide = AddBox(310, 300, 40, 20);
    page.SelectItem(wide);
    EXPECT_TRUE(CanCenterBetweenGuides(page));
    CenterBetweenGuides(page);
    EXPECT_EQ(wide->GetRect().left, 330);
    // Its centre (310) lies in no band of the horizontal guides: it keeps its height.
    EXPECT_EQ(wide->GetRect().top, 300);
}

TEST_F(Guides, UserGroupsAndTextEditingDisableLiningUp)
{
    CPageItem* a = AddBox(100, 120, 20, 20);
    CPageItem* b = AddBox(200, 150, 20, 20);
    page.AddGuide(true, 100);
    page.AddGuide(true, 200);
    page.SelectItem(a);
    page.AddToSelection(b);
    EXPECT_TRUE(CanSpaceEvenly(page, true));
    EXPECT_TRUE(CanCenterBetweenGuides(page));
    page.SetEditingInPlace(true);
    EXPECT_FALSE(CanSpaceEvenly(page, true));
    EXPECT_FALSE(CanCenterBetweenGuides(page));
    page.SetEditingInPlace(false);
    page.CreateGroup();
    EXPECT_FALSE(CanSpaceEvenly(page, true));
    EXPECT_FALSE(CanCenterBetweenGuides(page));

    // Guides out of order make a band that holds nothing.
    page.Ungroup();
    page.RemoveAllGuides();
    page.AddGuide(true, 200);
    page.AddGuide(true, 100);
    SpaceEvenly(page, true);
    EXPECT_EQ(a->GetRect().top, 120);
    EXPECT_EQ(b->GetRect().top, 150);
}

} // namespace
