#include "app/site/site_page.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/model/undo_manager.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_object_fake.h"
#include "app/site/site_services_fake.h"

namespace {

std::vector<int> Guides(const CSitePage& page, bool horizontal)
{
    std::vector<int> guides;
    for (int i = 0; i < page.GetGuideCount(horizontal); ++i)
        guides.push_back(page.GetGuide(horizontal, i));
    return guides;
}

std::vector<int> Steps(int step, int count)
{
    std::vector<int> positions;
    for (int i = 0; i < count; ++i)
        positions.push_back(i * step);
    return positions;
}

NewPageSettings Settings(int width, int height)
{
    NewPageSettings settings;
    settings.width = width;
    settings.height = height;
    settings.background.SetColor(CColor(10, 20, 30));
    settings.centered = true;
    settings.doctype = 1;
    return settings;
}

TEST(SitePage, ANewPageTakesTheSitesDefaults)
{
    SiteServicesFake services;
    CSitePage page(nullptr, "index", "Home", Settings(600, 400));
    EXPECT_EQ(page.GetName(), "index");
    EXPECT_EQ(page.GetTitle(), "Home");
    EXPECT_TRUE(page.GetHeaderHtml().empty());
    EXPECT_FALSE(page.IsSaved());
    EXPECT_EQ(page.GetGridMode(), 0);
    EXPECT_FALSE(page.AreGuidesHidden());
    EXPECT_EQ(page.GetFirstPageByte(), 1);
    EXPECT_TRUE(page.IsChangedSinceUpload());
    EXPECT_FALSE(page.IsFrontPage());
    EXPECT_TRUE(page.IsCentered());
    EXPECT_EQ(page.GetDoctype(), 1);
    EXPECT_EQ(page.GetBackground()->GetColor(), CColor(10, 20, 30));
    EXPECT_EQ(page.GetBackground()->GetWidth(), 600);
    EXPECT_EQ(page.GetBackground()->GetHeight(), 400);
    ASSERT_TRUE(page.GetUndoManager());
    EXPECT_EQ(page.GetUndoManager()->GetCapacity(), CSitePage::kUndoCapacity);
    EXPECT_EQ(page.GetUndoManager()->GetOwner(), &page);
    const CPixMap& buffer = *page.GetRenderBuffer();
    EXPECT_EQ(buffer.width, 256);
    EXPECT_EQ(buffer.height, 256);
    EXPECT_EQ(buffer.mode, IMAGE_MODE_RGBA);
    EXPECT_GT(services.siteModified, 0);
}

TEST(SitePage, ChangesMarkThePageAndTheSiteModified)
{
    SiteServicesFake services;
    CSitePage page(nullptr, "a", "A");
    page.SetSaved(true);
    const int before = services.siteModified;
    page.SetKeywords("k");
    EXPECT_FALSE(page.IsSaved());
    EXPECT_EQ(services.siteModified, before + 1);

    // The page info comes back at once (undo), the view's scroll sizes following it.
    services.ShowPage(&page);
    page.SetPageInfo("b", "B", "<meta>", 800, 900, 1);
    EXPECT_EQ(page.GetName(), "b");
    EXPECT_EQ(page.GetHeaderHtml(), "<meta>");
    EXPECT_EQ(page.GetHeight(), 900);
    EXPECT_EQ(page.GetBackground()->GetHeight(), 900);
    EXPECT_EQ(services.scrollUpdates, 1);

    auto background = std::make_unique<CFillStyle>();
    CFillStyle* newBackground = background.get();
    std::unique_ptr<CFillStyle> old = page.SetBackground(std::move(background));
    EXPECT_TRUE(old);
    EXPECT_EQ(page.GetBackground(), newBackground);
}

TEST(SitePage, GridModesLayGuidesBothWays)
{
    struct Case
    {
        int mode, width, height;
        std::vector<int> guides;
    };
    const Case cases[] = {
        {2, 600, 400, Steps(20, 30)},
        {1, 95, 40, Steps(10, 10)},
        {4, 100, 130, Steps(40, 4)},
        {3, 600, 400, {}},
        {0, 600, 400, {}},
        // The finest grid on a tall page stops at what a stored page may hold.
        {1, 600, 30000, Steps(10, CSitePage::kMaxGuides)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " on " << c.width << " x " << c.height);
        CSitePage page(nullptr, "p", "P", Settings(c.width, c.height));
        page.AddGuide(true, 5);
        page.MakeGridGuides(c.mode);
        EXPECT_EQ(Guides(page, true), c.guides);
        EXPECT_EQ(Guides(page, false), c.guides);
    }
}

TEST(SitePage, ResizingRebuildsOnlyAGrid)
{
    struct Case
    {
        const char* name;
        int gridMode, horizontal, vertical;
        std::vector<int> after;
    };
    const Case cases[] = {
        {"hand-placed guides, many", 0, 3, 12, {}},
        {"hand-placed guides, few", 0, 3, 10, {}},
        {"a grid", 4, 0, 0, Steps(40, 20)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSitePage page(nullptr, "p", "P", Settings(600, 400));
        for (int i = 0; i < c.horizontal; ++i)
            page.AddGuide(true, 7 * i);
        for (int i = 0; i < c.vertical; ++i)
            page.AddGuide(false, 9 * i);
        if (c.gridMode) {
            page.SetGridMode(c.gridMode);
            page.MakeGridGuides(c.gridMode);
        }
        const std::vector<int> horizontal = Guides(page, true), vertical = Guides(page, false);
        page.SetWidth(800);
        EXPECT_EQ(page.GetWidth(), 800);
        EXPECT_EQ(page.GetBackground()->GetWidth(), 800);
        if (c.gridMode) {
            EXPECT_EQ(Guides(page, true), c.after);
            EXPECT_EQ(Guides(page, false), c.after);
        } else {
            EXPECT_EQ(Guides(page, true), horizontal);
            EXPECT_EQ(Guides(page, false), vertical);
        }
        page.SetHeight(1000);
        EXPECT_EQ(page.GetBackground()->GetHeight(), 1000);
        EXPECT_EQ(page.GetGuideCount(true), c.gridMode ? 25 : c.horizontal);
    }
}

TEST(SitePage, GuideListsEditAndSort)
{
    CSitePage page(nullptr, "p", "P");
    for (int y : {30, 10, 20})
        page.AddGuide(true, y);
    page.AddGuide(false, 4);
    page.SortGuides();
    EXPECT_EQ(Guides(page, true), (std::vector<int>{10, 20, 30}));
    page.SetGuide(true, 0, 25);
    page.RemoveGuide(true, 1);
    EXPECT_EQ(Guides(page, true), (std::vector<int>{25, 30}));
    EXPECT_EQ(Guides(page, false), (std::vector<int>{4}));
    page.RemoveAllGuides();
    EXPECT_EQ(page.GetGuideCount(true) + page.GetGuideCount(false), 0);
}

TEST(SitePage, ACopySelectsEveryDuplicateInOneFrame)
{
    SiteServicesFake services;
    CSitePage source(nullptr, "a", "A", Settings(700, 500));
    source.SetHeaderHtml("<script src=x.js>");
    source.SetOnloadCode("go()");
    source.SetUsedFiles({"x.js"});
    source.AddGuide(true, 40);
    source.SetFrontPage(true);
    for (int i = 0; i < 3; ++i)
        source.AddToSelection(source.AddObject(MakeFake(objectRectangle, 50 + 60 * i, 50, 40, 40)));
    CPageItem* twinned = source.GetItem(1);
    twinned->SetMouseOverObject(MakeFake(objectRectangle, 110, 50, 40, 40));
    twinned->SetMouseOverShown(false);
    ASSERT_TRUE(source.CreateGroup());

    CSitePage copy(nullptr, "b", "B");
    copy.CopyFrom(source, "b", "B");
    EXPECT_EQ(copy.GetName(), "b");
    EXPECT_EQ(copy.GetHeaderHtml(), "<script src=x.js>");
    EXPECT_TRUE(copy.GetOnloadCode().empty());
    EXPECT_TRUE(copy.GetUsedFiles().empty());
    EXPECT_FALSE(copy.IsFrontPage());
    EXPECT_EQ(copy.GetWidth(), 700);
    EXPECT_EQ(copy.GetGuideCount(true), 1);
    EXPECT_NE(copy.GetBackground(), source.GetBackground());
    EXPECT_EQ(copy.GetBackground()->GetColor(), source.GetBackground()->GetColor());

    ASSERT_EQ(copy.GetItemCount(), 3);
    ASSERT_EQ(copy.GetGroupCount(), 1);
    const CObjectFrame* frame = copy.GetGroupAt(0);
    EXPECT_FALSE(frame->IsGroup());
    EXPECT_TRUE(frame->IsSelected());
    EXPECT_EQ(frame->GetItemCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(copy.GetItem(i)->GetCurrentObject(), source.GetItem(i)->GetCurrentObject());
        EXPECT_EQ(copy.GetItem(i)->GetRect(), source.GetItem(i)->GetRect());
        EXPECT_EQ(copy.GetItem(i)->GetGroup(), frame);
        EXPECT_EQ(copy.GetItem(i)->GetRenderBuffer(), copy.GetRenderBuffer());
    }
    EXPECT_TRUE(copy.GetItem(1)->HasMouseOver());
    EXPECT_FALSE(copy.GetItem(1)->IsMouseOverShown());
}

} // namespace
