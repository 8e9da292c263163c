#include "app/shell/logic/idle_rendering.h"

#include "app/objects/page_object_fake.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

#include <gtest/gtest.h>

namespace {

// An object that needs rendering until it is rendered, and can be told to fail.
class DirtyObject : public FakePageObject
{
public:
    explicit DirtyObject(int kind) : FakePageObject(kind) { dirty = 1; }
    bool UpdateImage(CPixMap&) override
    {
        ++renders;
        if (fail)
            return false;
        dirty = 0;
        return true;
    }
    int renders = 0;
    bool fail = false;
};

struct Pages
{
    Pages() : site("/sites/a.kst")
    {
        for (const char* name : {"one", "two"})
            site.AddPage(std::make_unique<CSitePage>(&site, name, name));
    }
    DirtyObject* Add(int page, int kind)
    {
        auto object = std::make_unique<DirtyObject>(kind);
        DirtyObject* raw = object.get();
        CSitePage* p = site.GetPage(page);
        p->InsertItem(std::make_unique<CPageItem>(std::move(object), p->GetRenderBuffer()));
        return raw;
    }
    std::vector<CSitePage*> All() { return {site.GetPage(0), site.GetPage(1)}; }
    CWebsite site;
};

TEST(IdleRendering, OnePieceAtATimeInPageAndZOrder)
{
    Pages pages;
    DirtyObject* first = pages.Add(0, objectRectangle);
    DirtyObject* second = pages.Add(0, objectCircle);
    DirtyObject* third = pages.Add(1, objectPolygon);

    // Each page's background first (a new page's colour is made current once), then its objects.
    const std::vector<DirtyObject*> objects = {first, second, third};
    const struct
    {
        int page;
        int rendered; // index into objects, -1 for the background
    } steps[] = {{0, -1}, {0, 0}, {0, 1}, {1, -1}, {1, 2}};
    int total = 0;
    for (const auto& step : steps) {
        CSitePage* page = nullptr;
        ASSERT_EQ(RenderNextPiece(pages.All(), &page), IdleWork::done);
        EXPECT_EQ(page, pages.site.GetPage(step.page));
        total += step.rendered >= 0;
        EXPECT_EQ(first->renders + second->renders + third->renders, total);
        if (step.rendered >= 0) {
            EXPECT_EQ(objects[step.rendered]->renders, 1);
        }
        EXPECT_FALSE(pages.site.GetPage(step.page)->GetBackground()->NeedsRender());
    }
    EXPECT_EQ(RenderNextPiece(pages.All()), IdleWork::none);
    EXPECT_EQ(RenderNextPiece({}), IdleWork::none);
}

TEST(IdleRendering, NothingWhileTextIsEditedAndAFailureStops)
{
    Pages pages;
    DirtyObject* text = pages.Add(0, objectText);
    DirtyObject* behind = pages.Add(0, objectRectangle);
    CSitePage* page = pages.site.GetPage(0);
    page->GetBackground()->LoadFillImage();
    text->UpdateImage(*page->GetRenderBuffer());
    page->SetEditedObject(text);
    page->SetEditingInPlace(true);
    EXPECT_EQ(RenderNextPiece(pages.All()), IdleWork::editingText);
    EXPECT_EQ(behind->renders, 0);

    page->SetEditingInPlace(false);
    behind->fail = true;
    EXPECT_EQ(RenderNextPiece(pages.All()), IdleWork::failed);
    EXPECT_EQ(behind->renders, 1);
}

// A page that other threads read (a build composing its pictures) is passed over until they are done.
TEST(IdleRendering, APageReadElsewhereIsPassedOver)
{
    Pages pages;
    DirtyObject* read = pages.Add(0, objectRectangle);
    DirtyObject* other = pages.Add(1, objectRectangle);
    CSitePage* page = pages.site.GetPage(0);
    page->BeginReadElsewhere();
    CSitePage* touched = nullptr;
    while (RenderNextPiece(pages.All(), &touched) == IdleWork::done)
        EXPECT_NE(touched, page);
    EXPECT_EQ(read->renders, 0);
    EXPECT_EQ(other->renders, 1);
    page->EndReadElsewhere();
    while (RenderNextPiece(pages.All()) == IdleWork::done) {
    }
    EXPECT_EQ(read->renders, 1);
}

} // namespace
