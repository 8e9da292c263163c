#include "app/shell/logic/status_panes.h"

#include "app/model/fill_info.h"
#include "app/model/fill_style.h"
#include "app/objects/page_object_fake.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

#include <gtest/gtest.h>

namespace {

// An object with a download size, a picture fill and a centre of its own.
class PaneObject : public FakePageObject
{
public:
    PaneObject(int kind, int bytes, DPOINT center = {}) : FakePageObject(kind), m_bytes(bytes), m_center(center) {}

    int GetDownloadSize(double) const override { return m_bytes; }
    CFillInfo* GetFill() const override { return const_cast<CFillInfo*>(&m_fill); }
    DPOINT& GetCenter(DPOINT& center) const override
    {
        center = m_center;
        return center;
    }
    CFillInfo m_fill;

private:
    int m_bytes;
    DPOINT m_center;
};

class FakeSite
{
public:
    FakeSite() : site("/sites/shop.kst") {}

    CSitePage* AddPage(const std::string& name) { return site.AddPage(std::make_unique<CSitePage>(&site, name, name)); }
    PaneObject* AddObject(CSitePage* page, int kind, int bytes, DPOINT center = {})
    {
        auto object = std::make_unique<PaneObject>(kind, bytes, center);
        PaneObject* raw = object.get();
        page->InsertItem(std::make_unique<CPageItem>(std::move(object), page->GetRenderBuffer()));
        return raw;
    }

    CWebsite site;
};

TEST(StatusPanes, EveryPaneIsEmptyWithoutASite)
{
    EXPECT_EQ(FormatLoadTimePane(nullptr, nullptr, "sec."), "");
    EXPECT_EQ(FormatPageCountPane(nullptr, "Pages: "), "");
    EXPECT_EQ(FormatImageInfoPane(nullptr, nullptr, "Image : "), "");
    EXPECT_EQ(FormatPositionPane(nullptr, nullptr), "");
}

TEST(StatusPanes, PageCountFollowsTheLabel)
{
    FakeSite fake;
    EXPECT_EQ(FormatPageCountPane(&fake.site, "Pages: "), "Pages: 0");
    for (int i = 0; i < 12; ++i)
        fake.AddPage("p" + std::to_string(i));
    EXPECT_EQ(FormatPageCountPane(&fake.site, "Pages: "), "Pages: 12");
}

TEST(StatusPanes, DownloadCountsPagesItemsAndPictures)
{
    FakeSite fake;
    CSitePage* empty = fake.AddPage("empty");
    // One empty page with a colour background: 200 bytes, which is 0 seconds both ways.
    EXPECT_EQ(GetSiteDownloadBytes(fake.site, empty).total, 200);
    EXPECT_EQ(FormatLoadTimePane(&fake.site, empty, "sec."), "0 sec. / 0 sec.");

    // A page with a picture background of 413 x 100 pixels (10000 bytes at the estimate's factor) and two items.
    CSitePage* full = fake.AddPage("full");
    auto background = std::make_unique<CFillStyle>();
    background->SetImageFileAndImage("/pictures/sky.png", std::make_unique<CImage>(IMAGE_MODE_RGB, 413, 100));
    full->SetBackground(std::move(background));
    fake.AddObject(full, objectRectangle, 20000);
    fake.AddObject(full, objectText, 7000);
    const SiteDownloadBytes bytes = GetSiteDownloadBytes(fake.site, full);
    EXPECT_EQ(bytes.page, 10000 + 200 + 20000 + 200 + 7000 + 200);
    EXPECT_EQ(bytes.total, bytes.page + 200);
    EXPECT_EQ(GetSiteDownloadBytes(fake.site, nullptr).page, 0);
    // The whole site first, the current page second: 37800 bytes at 3741 a second is 10 seconds, 37600 also 10.
    EXPECT_EQ(FormatLoadTimePane(&fake.site, full, "sec."), "10 sec. / 10 sec.");
    EXPECT_EQ(FormatLoadTimePane(&fake.site, empty, "sec."), "10 sec. / 0 sec.");
}

TEST(StatusPanes, DownloadOfAHugeSiteDoesNotWrapAround)
{
    FakeSite fake;
    for (int i = 0; i < 3; ++i)
        fake.AddObject(fake.AddPage("p" + std::to_string(i)), objectPolygon, 2000000000);
    const SiteDownloadBytes bytes = GetSiteDownloadBytes(fake.site, nullptr);
    EXPECT_EQ(bytes.total, 3 * (2000000000LL + 400));
    EXPECT_EQ(DownloadSeconds(bytes.total), static_cast<long long>(bytes.total * 0.00026730725364987323));
}

TEST(StatusPanes, ImageInfoNamesThePictureOfOutlineObjectsOnly)
{
    FakeSite fake;
    CSitePage* page = fake.AddPage("home");
    struct Case
    {
        int kind;
        std::string picture;
        std::string expected;
    };
    const Case cases[] = {
        {objectCircle, "/pictures/sun.png", "Image : sun.png"},
        {objectRectangle, "C:\\old\\brick.jpg", "Image : brick.jpg"},
        {objectPolygon, "/pictures/sea.gif", "Image : sea.gif"},
        {objectPolygon, "", "Image : "},
        {objectText, "/pictures/sun.png", "Image : "},
        {objectHtml, "/pictures/sun.png", "Image : "},
    };
    for (const Case& c : cases) {
        PaneObject* object = fake.AddObject(page, c.kind, 0);
        object->m_fill.SetImageFile(c.picture);
        EXPECT_EQ(FormatImageInfoPane(&fake.site, object, "Image : "), c.expected) << c.kind << " " << c.picture;
    }
    EXPECT_EQ(FormatImageInfoPane(&fake.site, nullptr, "Image : "), "Image : ");
}

TEST(StatusPanes, CoordinatesRoundHalvesUpAndTruncateNegatives)
{
    const std::pair<double, int> cases[] = {{10.0, 10}, {10.49, 10}, {10.5, 11}, {10.99, 11},
                                            {-3.2, -3}, {-3.5, -3},  {-3.9, -3}, {0.5, 1}};
    for (auto [v, expected] : cases)
        EXPECT_EQ(RoundPaneCoordinate(v), expected) << v;
}

TEST(StatusPanes, PositionOfItemGroupSelectionAndGuide)
{
    FakeSite fake;
    CSitePage* page = fake.AddPage("home");
    fake.AddObject(page, objectRectangle, 0, {100.5, 40.2});
    fake.AddObject(page, objectCircle, 0, {301.0, 80.0});
    EXPECT_EQ(FormatPositionPane(&fake.site, page), "") << "nothing selected";

    page->SelectItemAt(0);
    EXPECT_EQ(FormatPositionPane(&fake.site, page), "x: 101  y:40") << "one item: its object's centre";

    page->AddItemToSelection(1);
    CObjectFrame* frame = page->GetSingleSelectedFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_FALSE(frame->IsGroup());
    const CRect rect = frame->GetRect();
    EXPECT_EQ(FormatPositionPane(&fake.site, page), "x: " + std::to_string((rect.left + rect.right) / 2) +
                                                        "  y: " + std::to_string((rect.top + rect.bottom) / 2))
        << "a selection of two items: the middle of its rectangle";

    page->AddGuide(true, 120);
    page->AddGuide(false, 64);
    EXPECT_EQ(FormatPositionPane(&fake.site, page, {true, true, 0}), "y: 120");
    EXPECT_EQ(FormatPositionPane(&fake.site, page, {true, false, 0}), "x: 64");
    EXPECT_EQ(FormatPositionPane(&fake.site, page, {true, false, 3}), "") << "a guide index past the list";

    ASSERT_TRUE(page->CanCreateGroup());
    CObjectFrame* group = page->CreateGroup();
    ASSERT_TRUE(group->IsGroup());
    const DPOINT center = group->GetCenter();
    EXPECT_EQ(FormatPositionPane(&fake.site, page), "x: " + std::to_string(RoundPaneCoordinate(center.x)) +
                                                        "  y:" + std::to_string(RoundPaneCoordinate(center.y)))
        << "a user group: its centre";
}

} // namespace
