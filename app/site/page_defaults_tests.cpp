#include "app/site/page_defaults.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/model/link_info.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"
#include "app/site/website.h"

namespace {

class PageDefaultsTest : public ::testing::Test
{
protected:
    // Three saved pages, uploaded; the first is the front page. Each holds a linked text and a plain one, all
    // drawn already.
    PageDefaultsTest()
    {
        CLinkInfo link;
        link.SetKind(CLinkInfo::kindUrl);
        link.SetUrl("http://example.com");
        link.SetActive(true);
        for (const char* name : {"home", "news", "menu"}) {
            auto page = std::make_unique<CSitePage>(&site, name, name, site.GetNewPageSettings());
            page->SetFrontPage(site.GetPageCount() == 0);
            CSitePage* added = site.AddPage(std::move(page));
            linked.push_back(AddText(*added, link));
            plain.push_back(AddText(*added, CLinkInfo()));
            added->RenderDirtyObjects();
            added->SetChangedSinceUpload(false);
        }
        site.MarkSaved();
        defaults = ReadPageDefaults(site);
    }

    static CTextObject* AddText(CSitePage& page, const CLinkInfo& link)
    {
        auto text = std::make_unique<CTextObject>(200, 100, SIZE{80, 30}, 0.0);
        for (char c : std::string("ab"))
            text->GetTextBody()->m_paragraphs[0].m_chars.push_back(
                MakeTextChar(static_cast<BYTE>(c), 0, 12, false, false, false, 0, link));
        CTextObject* result = text.get();
        page.AddObject(std::move(text));
        return result;
    }

    std::vector<int> Recorded(int page) const
    {
        return static_cast<RecordingUndoManager*>(site.GetPage(page)->GetUndoManager())->recorded;
    }

    SiteServicesFake services;
    CWebsite site{"/sites/bakery.kst"};
    std::vector<CTextObject*> linked;
    std::vector<CTextObject*> plain;
    PageDefaults defaults;
};

TEST_F(PageDefaultsTest, OnePageTakesTheSettingsAndKeepsItsOwnPicturePlacement)
{
    CSitePage& news = *site.GetPage(1);
    news.GetBackground()->SetImagePosition(2);
    defaults.width = 500;
    defaults.height = 900;
    defaults.centered = true;
    defaults.doctype = 1;
    defaults.background.SetGradientHorizontal(false);
    defaults.background.SetColor(CColor(10, 20, 30));
    ApplyPageDefaults(site, news, defaults);

    EXPECT_EQ(news.GetWidth(), 500);
    EXPECT_EQ(news.GetHeight(), 900);
    EXPECT_TRUE(news.IsCentered());
    EXPECT_EQ(news.GetDoctype(), 1);
    const CFillStyle& background = *news.GetBackground();
    EXPECT_EQ(background.GetKind(), 0);
    EXPECT_EQ(background.GetColor(), CColor(10, 20, 30));
    EXPECT_FALSE(background.IsGradientHorizontal());
    EXPECT_EQ(background.GetImagePosition(), 2);
    EXPECT_FALSE(background.IsTile());
    EXPECT_EQ(background.GetWidth(), 500);
    EXPECT_EQ(Recorded(1), std::vector<int>{static_cast<int>(UndoKind::pageSettings)});
    EXPECT_TRUE(news.IsChangedSinceUpload());
    EXPECT_FALSE(site.IsSaved());

    // The other pages and the site's own defaults stay; the link colours did not change, so no text is redrawn.
    for (int i : {0, 2}) {
        EXPECT_EQ(site.GetPage(i)->GetWidth(), 740) << i;
        EXPECT_TRUE(site.GetPage(i)->IsSaved()) << i;
        EXPECT_FALSE(site.GetPage(i)->IsChangedSinceUpload()) << i;
        EXPECT_TRUE(Recorded(i).empty()) << i;
    }
    EXPECT_EQ(site.GetPageWidth(), 740);
    for (const CTextObject* text : linked)
        EXPECT_FALSE(text->IsDirty());
}

TEST_F(PageDefaultsTest, NewLinkColoursRedrawTheLinkedTextsOfEveryPage)
{
    defaults.linkColor = CColor(200, 0, 0);
    ApplyPageDefaults(site, *site.GetPage(2), defaults);
    EXPECT_EQ(site.GetLinkColor(), CColor(200, 0, 0));
    EXPECT_EQ(site.GetVisitedLinkColor(), CColor(128, 0, 128));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(linked[i]->IsDirty()) << i;
        EXPECT_FALSE(plain[i]->IsDirty()) << i;
        // The built page shows the new colour: it goes up again.
        EXPECT_TRUE(site.GetPage(i)->IsChangedSinceUpload()) << i;
    }
    // Only the target page has a step to undo.
    EXPECT_TRUE(Recorded(0).empty());
    EXPECT_EQ(Recorded(2).size(), 1u);
}

TEST_F(PageDefaultsTest, TransferGivesEveryPageTheSettingsAndTheSiteTheFrontPagesOnes)
{
    site.GetPage(0)->GetBackground()->SetImagePosition(5);
    defaults.width = 400;
    defaults.height = 600;
    defaults.doctype = 1;
    defaults.centered = true;
    defaults.background.SetGradient(nullptr);
    defaults.visitedLinkColor = CColor(0, 128, 0);
    TransferPageDefaults(site, defaults);

    for (int i = 0; i < 3; ++i) {
        const CSitePage& page = *site.GetPage(i);
        EXPECT_EQ(page.GetWidth(), 400) << i;
        EXPECT_EQ(page.GetHeight(), 600) << i;
        EXPECT_EQ(page.GetDoctype(), 1) << i;
        EXPECT_TRUE(page.IsCentered()) << i;
        EXPECT_EQ(page.GetBackground()->GetKind(), 2) << i;
        EXPECT_EQ(Recorded(i), std::vector<int>{static_cast<int>(UndoKind::pageSettings)}) << i;
        EXPECT_TRUE(page.IsChangedSinceUpload()) << i;
        EXPECT_TRUE(linked[i]->IsDirty()) << i;
        EXPECT_FALSE(plain[i]->IsDirty()) << i;
    }
    EXPECT_EQ(site.GetVisitedLinkColor(), CColor(0, 128, 0));
    const NewPageSettings next = site.GetNewPageSettings();
    EXPECT_EQ(next.width, 400);
    EXPECT_EQ(next.height, 600);
    EXPECT_EQ(next.doctype, 1);
    EXPECT_TRUE(next.centered);
    EXPECT_EQ(next.background.GetKind(), 2);
    EXPECT_EQ(next.background.GetImagePosition(), 5) << "the front page's new background";
}

} // namespace
