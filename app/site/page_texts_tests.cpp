#include "app/site/page_texts.h"

#include "app/site/site_page.h"
#include "app/site/website.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<CWebsite> ThreePages()
{
    auto site = std::make_unique<CWebsite>("/home/ann/bakery.kst");
    for (const char* name : {"home", "news", "menu"}) {
        CSitePage* page = site->AddPage(std::make_unique<CSitePage>(site.get(), name, name));
        page->SetKeywords("bread");
        page->SetDescription("A bakery");
    }
    site->MarkSaved();
    for (int i = 0; i < 3; ++i)
        site->GetPage(i)->SetChangedSinceUpload(false);
    return site;
}

TEST(PageTexts, MetaTagsGoToTheCurrentPageOrToEveryPage)
{
    auto site = ThreePages();
    CSitePage* news = site->GetPage(1);
    ApplyMetaTags(*site, news, "cake, tart", "Cakes", false);
    EXPECT_EQ(news->GetKeywords(), "cake, tart");
    EXPECT_EQ(news->GetDescription(), "Cakes");
    EXPECT_EQ(site->GetPage(0)->GetKeywords(), "bread");
    EXPECT_EQ(site->GetPage(2)->GetDescription(), "A bakery");
    EXPECT_TRUE(news->IsChangedSinceUpload());
    EXPECT_FALSE(site->GetPage(2)->IsChangedSinceUpload());
    EXPECT_FALSE(site->IsSaved());

    // Every page's pair is overwritten, with empty texts too; a page already equal does not count as changed.
    site->GetPage(2)->SetKeywords("");
    site->GetPage(2)->SetDescription("");
    site->MarkSaved();
    ApplyMetaTags(*site, news, "", "", true);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(site->GetPage(i)->GetKeywords(), "") << i;
        EXPECT_EQ(site->GetPage(i)->GetDescription(), "") << i;
    }
    EXPECT_TRUE(site->GetPage(0)->IsChangedSinceUpload());
    EXPECT_FALSE(site->GetPage(2)->IsChangedSinceUpload());
    EXPECT_TRUE(site->GetPage(2)->IsSaved());
}

TEST(PageTexts, AnalyticsCodeGoesToEveryPage)
{
    auto site = ThreePages();
    ApplyAnalyticsCode(*site, "<script>track()</script>");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(site->GetPage(i)->GetAnalyticsCode(), "<script>track()</script>");
        EXPECT_TRUE(site->GetPage(i)->IsChangedSinceUpload());
    }
    EXPECT_FALSE(site->IsSaved());
    ApplyAnalyticsCode(*site, "");
    EXPECT_EQ(site->GetPage(1)->GetAnalyticsCode(), "");
}

TEST(PageTexts, HeaderHtmlAndOnloadCodeMarkThePageEvenUnchanged)
{
    auto site = ThreePages();
    CSitePage* page = site->GetPage(0);
    page->SetHeaderHtml("<style>p{}</style>");
    site->MarkSaved();
    ApplyHeaderHtml(*page, page->GetHeaderHtml(), "start()");
    EXPECT_EQ(page->GetHeaderHtml(), "<style>p{}</style>");
    EXPECT_EQ(page->GetOnloadCode(), "start()");
    EXPECT_FALSE(page->IsSaved());
    EXPECT_TRUE(page->IsChangedSinceUpload());
    EXPECT_FALSE(site->GetPage(1)->IsChangedSinceUpload());
}

} // namespace
