#include "app/site/website.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/record_stream.h"
#include "app/model/restore_on_exit.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/object_factory.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_file_test_support.h"
#include "app/site/site_services_fake.h"
#include "testing/scratch_folder.h"

namespace {

using namespace site_file_test;

// ---------------------------------------------------------------------------------------------------------------
// Fixture

class SiteFileTest : public ::testing::Test
{
protected:
    // Opens the bytes as the document does: into a site made for the file.
    bool Open(const std::vector<BYTE>& bytes)
    {
        opened = std::make_unique<CWebsite>("/sites/opened.kst");
        std::vector<BYTE> copy = bytes;
        CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
        return opened->LoadFile(file);
    }
    bool Open(const SiteFields& fields) { return Open(SiteFile(fields).data); }

    std::vector<BYTE> Saved(CWebsite& site, bool theme = false, const std::string& category = {},
                            const std::string& name = {})
    {
        CMemFile file;
        EXPECT_TRUE(site.Save(file, theme, category, name));
        return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
    }

    std::string WriteFile(const std::string& name, const std::vector<BYTE>& bytes)
    {
        const std::string path = folder / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // A new site with a front page and one more page.
    std::unique_ptr<CWebsite> MakeSite()
    {
        auto site = std::make_unique<CWebsite>("", "Shop", Background(640, 480, CColor(250, 250, 240)), false, 640, 480,
                                               0, CColor(0, 0, 255), CColor(128, 0, 128));
        for (const char* name : {"index", "about"}) {
            auto page =
                std::make_unique<CSitePage>(site.get(), name, std::string(name) + " title", site->GetNewPageSettings());
            page->AddObject(std::make_unique<CRectangleObject>(40, 40, SIZE{120, 80}, 0.0));
            site->AddPage(std::move(page));
        }
        site->SetHomePage(site->GetPage(0));
        return site;
    }

    SiteServicesFake services;
    RestoreOnExit<OutsidePageBackground> outside{GetOutsidePageBackground(), OutsidePageBackground()};
    ScratchFolder folder;
    std::unique_ptr<CWebsite> opened;
};

// ---------------------------------------------------------------------------------------------------------------
// Round trip

std::vector<BYTE> PageBytes(CSitePage& page)
{
    CMemFile file;
    EXPECT_TRUE(page.Save(file));
    return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

std::unique_ptr<CEffectSettings> MakeEffects()
{
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_bShadow = true;
    effects->m_bGlow = true;
    return effects;
}

TEST_F(SiteFileTest, ASavedSiteOpensEqualInEveryField)
{
    CWebsite site("", "Corner Shop", Background(900, 1400, CColor(10, 20, 30)), true, 900, 1400, 1, CColor(1, 2, 3),
                  CColor(4, 5, 6));
    site.AppendFilePair(std::make_unique<CFilePair>("/home/u/a.pdf", "/files/a.pdf"));
    site.AppendFilePair(std::make_unique<CFilePair>("C:\\old\\b.zip", "/b.zip"));
    site.AddPublishedFile("index.html"); // not in the file: the server list is the publisher's own
    for (int i = 0; i < 16; ++i)
        site.SetCustomColor(i, RGB(i, 2 * i, 3 * i));
    site.SetText(0, "first");
    site.SetText(1, std::string(kMaxStringLength, 'x'));
    site.SetText(2, "third");

    // Three pages: every object kind, a twin, button text with effects, a user group, guides and page texts.
    for (int p = 0; p < 3; ++p) {
        auto owned = std::make_unique<CSitePage>(&site, "page" + std::to_string(p), "Title " + std::to_string(p),
                                                 site.GetNewPageSettings());
        CSitePage* page = site.AddPage(std::move(owned));
        page->SetHeaderHtml("<meta name=\"p\" content=\"" + std::to_string(p) + "\">");
        page->SetOnloadCode("start();");
        page->SetUsedFiles({"script.js"});
        page->SetKeywords("shop, corner");
        page->SetDescription("A shop");
        page->SetAnalyticsCode("<script>track()</script>");
        page->AddGuide(true, 100 + p);
        page->AddGuide(false, 50);
        CPageItem* circle = page->AddObject(std::make_unique<CCircleObject>(100, 120, SIZE{80, 60}, 0.0));
        auto button = std::make_unique<CRectangleObject>(300, 100, SIZE{160, 60}, 0.2);
        auto label = std::make_unique<CTextStyle>(*button->GetTextStyle());
        label->m_strText = "Buy";
        button->SetTextStyle(std::move(label));
        button->SetEffects(MakeEffects());
        CPageItem* rectangle = page->AddObject(std::move(button));
        rectangle->SetMouseOverObject(std::make_unique<CRectangleObject>(300, 100, SIZE{160, 60}, 0.2));
        page->AddObject(std::make_unique<CPolygonObject>(500, 400, SIZE{90, 90}, 0.5, 18));
        page->SelectItem(circle);
        page->AddToSelection(rectangle);
        ASSERT_TRUE(page->CreateGroup());
    }
    site.SetHomePage(site.GetPage(1));
    GetOutsidePageBackground() = {1, CColor(9, 8, 7)};

    const std::vector<BYTE> bytes = Saved(site);
    EXPECT_TRUE(site.IsSaved());
    GetOutsidePageBackground() = OutsidePageBackground();
    ASSERT_TRUE(Open(bytes));
    CWebsite& back = *opened;
    EXPECT_TRUE(back.IsSaved());
    // Saved again as it was opened, the file comes back byte for byte, thumbnail included.
    EXPECT_EQ(Saved(back), bytes);

    EXPECT_EQ(back.GetName(), "Corner Shop");
    ASSERT_EQ(back.GetFilePairCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(back.GetFilePair(i)->m_strSource, site.GetFilePair(i)->m_strSource);
        EXPECT_EQ(back.GetFilePair(i)->m_strTarget, site.GetFilePair(i)->m_strTarget);
    }
    EXPECT_TRUE(back.GetPublishedFiles().empty());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(back.GetCustomColor(i), site.GetCustomColor(i));
    EXPECT_TRUE(back.IsCentered());
    EXPECT_EQ(back.GetPageWidth(), 900);
    EXPECT_EQ(back.GetPageHeight(), 1400);
    EXPECT_EQ(back.GetDefaultBackground(), site.GetDefaultBackground());
    EXPECT_EQ(back.GetLinkColor(), CColor(1, 2, 3));
    EXPECT_EQ(back.GetVisitedLinkColor(), CColor(4, 5, 6));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(back.GetText(i), site.GetText(i));
    EXPECT_EQ(back.GetDoctype(), 1);
    EXPECT_EQ(GetOutsidePageBackground().m_bEnabled, 1);
    EXPECT_EQ(GetOutsidePageBackground().m_color, CColor(9, 8, 7));
    EXPECT_EQ(back.GetFileMajor(), 5);
    EXPECT_EQ(back.GetFileMinor(), 15);

    ASSERT_EQ(back.GetPageCount(), 3);
    EXPECT_EQ(back.GetHomePage(), back.GetPage(1));
    EXPECT_EQ(back.GetCurrentPage(), back.GetPage(1));
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p);
        CSitePage& page = *back.GetPage(p);
        EXPECT_EQ(page.GetSite(), &back);
        EXPECT_EQ(page.GetName(), site.GetPage(p)->GetName());
        EXPECT_EQ(page.GetItemCount(), 3);
        EXPECT_EQ(page.GetGroupCount(), 1);
        EXPECT_EQ(page.GetDoctype(), 1);
        // The record of every page, objects and groups included, comes back byte for byte.
        // Objects store the bounds their effects reach once drawn, so both pages are drawn first.
        page.RenderDirtyObjects();
        site.GetPage(p)->RenderDirtyObjects();
        EXPECT_EQ(PageBytes(page), PageBytes(*site.GetPage(p)));
    }
}

TEST_F(SiteFileTest, WritersCutWhatReadersWouldRefuse)
{
    auto site = MakeSite();
    site->GetPage(0)->SetTitle(std::string(1500, 't'));
    const std::vector<BYTE> bytes = Saved(*site, true, std::string(300, 'c'), std::string(256, 'n'));
    const std::string path = WriteFile("long.kth", bytes);

    ASSERT_TRUE(Open(bytes));
    // The front-page title in the header is cut; the page's own record keeps the whole title.
    EXPECT_EQ(opened->GetPage(0)->GetTitle(), std::string(1500, 't'));
    std::string category, name;
    ASSERT_TRUE(ReadSiteFileInfo(path, category, name));
    EXPECT_EQ(category, std::string(255, 'c'));
    EXPECT_EQ(name, std::string(255, 'n'));
}

// The first text object of a page.
CTextObject* FirstText(CSitePage& page)
{
    for (int i = 0; i < page.GetItemCount(); ++i)
        if (auto* text = dynamic_cast<CTextObject*>(page.GetItem(i)->GetObject(false)))
            return text;
    return nullptr;
}

TEST_F(SiteFileTest, ATextLaidOutAgainOpensOnlyWhereItsSiteSavesAndOpensAgain)
{
    // Opening lays a text out again: its box shrinks to the text keeping the top edge, and the centre moves by half
    // of what the box lost. The site's own writer makes the file; the text's stored box height is then changed.
    for (int pageIndex : {1, 0}) {
        SCOPED_TRACE(pageIndex);
        auto site = MakeSite();
        site->GetPage(pageIndex)->AddObject(TypedText(100.0, 60.0, "Tall"));
        const std::vector<BYTE> bytes = Saved(*site);
        const BYTE tag[4] = {kTextObjectTag & 0xFF, kTextObjectTag >> 8 & 0xFF, kTextObjectTag >> 16 & 0xFF,
                             kTextObjectTag >> 24};
        const auto at = std::search(bytes.begin(), bytes.end(), std::begin(tag), std::end(tag));
        ASSERT_NE(at, bytes.end());
        ASSERT_EQ(std::search(at + 1, bytes.end(), std::begin(tag), std::end(tag)), bytes.end());
        // The tag, the size, the rotation, the centre, the bounds, the alignment and the box's width come first.
        const size_t boxHeight = size_t(at - bytes.begin()) + 60;
        const auto withBoxHeight = [&](uint32_t height) {
            std::vector<BYTE> changed = bytes;
            for (int i = 0; i < 4; ++i)
                changed[boxHeight + i] = static_cast<BYTE>(height >> (8 * i));
            return changed;
        };

        // 2^26 pixels high would put the centre near y = -2^25, where no reader takes it: the file is refused.
        EXPECT_FALSE(Open(withBoxHeight(1u << 26)));
        // At the largest box the centre moves far, yet the site opens, saves, and opens again the same.
        ASSERT_TRUE(Open(withBoxHeight(1000000)));
        DPOINT centre;
        FirstText(*opened->GetPage(pageIndex))->GetCenter(centre);
        EXPECT_LT(centre.y, -400000);
        const std::vector<BYTE> again = Saved(*opened);
        ASSERT_TRUE(Open(again));
        DPOINT centreAgain;
        FirstText(*opened->GetPage(pageIndex))->GetCenter(centreAgain);
        EXPECT_EQ(centreAgain.y, centre.y);
    }
}

TEST_F(SiteFileTest, ASiteWithoutPagesIsNotWritten)
{
    CWebsite empty("", "Empty", CFillStyle(), false, 740, 600, 0, CColor(0, 0, 255), CColor(128, 0, 128));
    CMemFile file;
    EXPECT_FALSE(empty.Save(file));
    EXPECT_EQ(file.GetLength(), 0u);
}

// ---------------------------------------------------------------------------------------------------------------
// The header's rules and the bounds of every count

TEST_F(SiteFileTest, HeaderRulesAndBounds)
{
    const auto pages = [](int n) {
        std::vector<Bytes> records(n, PageRecord(5, 15, {"p"}));
        records[0] = PageRecord(5, 15, {"home", true});
        return records;
    };
    struct Case
    {
        const char* what;
        std::function<void(SiteFields&)> change;
        bool opens;
    };
    const Case cases[] = {
        {"the file as written", [](SiteFields&) {}, true},
        {"first signature byte", [](SiteFields& s) { s.signatureA[0] = 'b'; }, false},
        {"signature A without its NUL", [](SiteFields& s) { s.signatureA[7] = ' '; }, false},
        {"signature B without its NUL", [](SiteFields& s) { s.signatureB[5] = 'X'; }, false},
        {"name of 1023 bytes", [](SiteFields& s) { s.name = std::string(1023, 'n'); }, true},
        {"name of 1024 bytes", [](SiteFields& s) { s.name = std::string(1024, 'n'); }, false},
        {"front-page title of 1024 bytes", [](SiteFields& s) { s.frontTitle = std::string(1024, 't'); }, false},
        {"width 9", [](SiteFields& s) { s.width = 9; }, false},
        {"width 10", [](SiteFields& s) { s.width = 10; }, true},
        {"width 2000", [](SiteFields& s) { s.width = 2000; }, true},
        {"width 2001", [](SiteFields& s) { s.width = 2001; }, false},
        {"height 9", [](SiteFields& s) { s.height = 9; }, false},
        {"height 10", [](SiteFields& s) { s.height = 10; }, true},
        {"height 30000", [](SiteFields& s) { s.height = 30000; }, true},
        {"height 30001", [](SiteFields& s) { s.height = 30001; }, false},
        {"page count 0", [](SiteFields& s) { s.pageCount = 0; }, false},
        {"page count 5001", [&](SiteFields& s) { s.pages = pages(5001); }, false},
        {"more pages counted than stored", [](SiteFields& s) { s.pageCount = 2; }, false},
        {"a page record with a wrong tag",
         [](SiteFields& s) {
             s.pages = {PageRecord(5, 15, {"p", true, 740, 600, 7})};
         },
         false},
        {"a page of width 2001",
         [](SiteFields& s) {
             s.pages = {PageRecord(5, 15, {"p", true, 2001})};
         },
         false},
        {"text of 20048 bytes", [](SiteFields& s) { s.texts[0] = std::string(20048, 't'); }, true},
        {"text of 20049 bytes", [](SiteFields& s) { s.texts[1] = std::string(20049, 't'); }, false},
        {"included file of 20048 bytes",
         [](SiteFields& s) {
             s.pairs = {{std::string(20048, 's'), "/s"}};
         },
         true},
        {"included file of 20049 bytes",
         [](SiteFields& s) {
             s.pairs = {{"/s", std::string(20049, 's')}};
         },
         false},
        {"a theme's texts", [](SiteFields& s) { s.theme = 1; }, true},
        // The reader passes the thumbnail by; only the light readers decode it.
        {"a thumbnail that is no JPEG", [](SiteFields& s) { s.jpeg = Bytes().Raw(std::string(10, 'j')); }, true},
        {"a JPEG length beyond the file", [](SiteFields& s) { s.jpegLength = 0x7FFFFFF0; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SiteFields fields;
        c.change(fields);
        EXPECT_EQ(Open(fields), c.opens);
    }

    // Counts and lengths that promise more than the file holds are refused before anything is made of them.
    const auto at = [](const SiteFields& fields, size_t offset, int64_t value) {
        Bytes b = SiteFile(fields);
        for (int i = 0; i < 4; ++i)
            b.data[offset + i] = static_cast<BYTE>(value >> (8 * i));
        return b.data;
    };
    SiteFields current;
    const size_t listCount = 8 + 6 + 2 + 2 + 2 + current.name.size();
    EXPECT_FALSE(Open(at(current, listCount, 0x7FFFFFFF))) << "pair count";
    EXPECT_FALSE(Open(at(current, listCount + 4, -1))) << "negative path length";
    SiteFields v52;
    v52.minor = 2;
    EXPECT_FALSE(Open(at(v52, listCount, 0x40000000))) << "source-path count";
    EXPECT_FALSE(Open(at(v52, listCount + 4 + 4 + v52.oldSources[0].size(), 0x40000000))) << "published count";
    EXPECT_FALSE(Open(at(v52, listCount + 4 + 4 + v52.oldSources[0].size() + 4, 20049))) << "published name";
    EXPECT_FALSE(Open(at(v52, listCount + 4 + 4 + v52.oldSources[0].size() + 4, -2))) << "negative published name";

    // A theme file that ends inside its name.
    SiteFields theme;
    theme.theme = 1;
    std::vector<BYTE> bytes = SiteFile(theme).data;
    const std::string name = "\x04"
                             "Blue";
    const auto found = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
    ASSERT_NE(found, bytes.end());
    bytes.erase(found + 3, bytes.end());
    EXPECT_FALSE(Open(bytes));
}

TEST_F(SiteFileTest, FiveThousandPagesOpen)
{
    SiteFields fields;
    fields.pages.assign(5000, PageRecord(5, 15, {"p"}));
    fields.pages[0] = PageRecord(5, 15, {"home", true});
    ASSERT_TRUE(Open(fields));
    EXPECT_EQ(opened->GetPageCount(), 5000);
}

TEST_F(SiteFileTest, TheEndOfTheFileMayBeMissing)
{
    struct Case
    {
        const char* what;
        std::optional<uint32_t> doctype;
        int tailBytes;
        int expectedDoctype;
        BYTE enabled;
        CColor color;
    };
    const Case cases[] = {
        {"everything", 1, 4, 1, 1, CColor(10, 20, 30)},
        {"a DOCTYPE out of range", 2, 4, 0, 1, CColor(10, 20, 30)},
        {"no tail", 1, 0, 1, 0, CColor(255, 255, 255)},
        {"a colour cut short", 1, 3, 1, 1, CColor(255, 255, 255)},
        {"no DOCTYPE either", std::nullopt, 0, 0, 0, CColor(255, 255, 255)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GetOutsidePageBackground() = {1, CColor(1, 1, 1)};
        SiteFields fields;
        fields.doctype = c.doctype;
        fields.tailBytes = c.tailBytes;
        ASSERT_TRUE(Open(fields));
        EXPECT_EQ(opened->GetDoctype(), c.expectedDoctype);
        EXPECT_EQ(opened->GetPage(0)->GetDoctype(), c.expectedDoctype);
        EXPECT_EQ(GetOutsidePageBackground().m_bEnabled, c.enabled);
        EXPECT_EQ(GetOutsidePageBackground().m_color, c.color);
    }
}

TEST_F(SiteFileTest, AFileWithoutAFrontPageOpensWithItsFirstPageAsFrontPageAndSaves)
{
    SiteFields fields;
    fields.pages = {PageRecord(5, 15, {"first"}), PageRecord(5, 15, {"second"})};
    ASSERT_TRUE(Open(fields));
    EXPECT_EQ(opened->GetHomePage(), opened->GetPage(0));
    EXPECT_EQ(opened->GetCurrentPage(), opened->GetPage(0));
    EXPECT_FALSE(opened->GetPage(1)->IsFrontPage());

    const std::vector<BYTE> bytes = Saved(*opened);
    ASSERT_TRUE(Open(bytes));
    EXPECT_EQ(opened->GetHomePage()->GetName(), "first");
}

TEST_F(SiteFileTest, ARefusedPageLeavesThePagesBeforeItWithTheSite)
{
    // One record the page reader refuses, one whose reader throws half way; neither page is left behind.
    const PageFields bad[] = {{"narrow", false, 9}, {std::string(20049, 'n')}};
    for (const PageFields& page : bad) {
        SiteFields fields;
        fields.pages = {PageRecord(5, 15, {"home", true}), PageRecord(5, 15, page)};
        EXPECT_FALSE(Open(fields));
        ASSERT_EQ(opened->GetPageCount(), 1);
        EXPECT_EQ(opened->GetPage(0)->GetName(), "home");
        EXPECT_FALSE(opened->IsLoading());
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Older versions

TEST_F(SiteFileTest, OlderVersionsAreConverted)
{
    enum Lists
    {
        none,
        sourcePaths,
        sourcePathsAndPublished,
        pairs,
    };
    struct Case
    {
        int major, minor;
        bool notice;
        bool text1, text2, text3;
        bool centered, customColors;
        Lists lists;
    };
    const Case cases[] = {
        {1, 0, false, false, false, false, false, false, none},
        {1, 6, false, true, false, false, false, false, none},
        {1, 7, false, true, true, false, false, false, none},
        {1, 8, false, true, true, false, false, false, none},
        {4, 2, false, true, true, false, false, false, none},
        {5, 0, true, true, true, false, true, false, none},
        {5, 1, true, true, true, false, true, false, sourcePaths},
        {5, 2, true, true, true, false, true, false, sourcePathsAndPublished},
        {5, 3, true, true, true, false, true, false, pairs},
        {5, 5, true, true, true, false, true, true, pairs},
        {5, 10, true, true, true, false, true, true, pairs},
        {5, 13, true, true, true, false, true, true, pairs},
        {5, 14, true, true, true, true, true, true, pairs},
        {5, 15, false, true, true, true, true, true, pairs},
        {6, 0, false, true, true, false, true, true, pairs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor));
        SiteFields fields;
        fields.major = c.major;
        fields.minor = c.minor;
        services.questions.clear();
        ASSERT_TRUE(Open(fields));
        EXPECT_EQ(services.questions.size(), c.notice ? 1u : 0u);
        EXPECT_EQ(opened->GetFileMajor(), c.major);
        EXPECT_EQ(opened->GetFileMinor(), c.minor);
        EXPECT_EQ(opened->GetText(0), c.text1 ? "one" : "");
        EXPECT_EQ(opened->GetText(1), c.text2 ? "two" : "");
        EXPECT_EQ(opened->GetText(2), c.text3 ? "three" : "");
        EXPECT_EQ(opened->IsCentered(), c.centered);
        EXPECT_EQ(opened->GetCustomColor(3), c.customColors ? 0x030303u : RGB(255, 255, 255));
        EXPECT_EQ(opened->GetPublishedFiles(), c.lists == sourcePathsAndPublished
                                                   ? std::vector<std::string>{"index.html"}
                                                   : std::vector<std::string>{});
        const std::string expectedPair = c.lists == pairs  ? "/home/u/logo.gif > /img/logo.gif"
                                         : c.lists == none ? ""
                                                           : "C:\\web\\logo.gif > /logo.gif";
        std::string pair;
        if (opened->GetFilePairCount() > 0)
            pair = opened->GetFilePair(0)->m_strSource + " > " + opened->GetFilePair(0)->m_strTarget;
        EXPECT_EQ(pair, expectedPair);
        ASSERT_EQ(opened->GetPageCount(), 1);
        EXPECT_EQ(opened->GetPage(0)->GetHeaderHtml(), c.major > 1 || c.minor >= 6 ? "<meta>" : "");
        EXPECT_EQ(opened->GetPage(0)->GetWidth(), 740);
    }
}

TEST_F(SiteFileTest, TheConversionNoticeCanBeDeclined)
{
    SiteFields fields;
    fields.minor = 10;
    services.answerYes = false;
    EXPECT_FALSE(Open(fields));
    ASSERT_EQ(services.questions.size(), 1u);
    EXPECT_EQ(services.questions[0],
              "Notification|Opening this Website will convert it so it is compatible with version 6.0.\n\nOnce the "
              "conversion is complete, your new Website will be saved in the same location \nbut will be appended "
              "with ''-v6'' (e.g. yourwebsite-v6.kst). \n\nYou can delete the old file or keep it as a backup.\n\nDo "
              "you want to continue?");
    EXPECT_EQ(opened->GetPageCount(), 0);
}

TEST_F(SiteFileTest, OldSourcePathsWithTheSameFileNameKeepTheFirst)
{
    SiteFields fields;
    fields.minor = 1;
    fields.oldSources = {"C:\\web\\Logo.gif", "/home/u/other/logo.GIF", "docs/readme.txt"};
    ASSERT_TRUE(Open(fields));
    ASSERT_EQ(opened->GetFilePairCount(), 2);
    EXPECT_EQ(opened->GetFilePair(0)->m_strSource, "C:\\web\\Logo.gif");
    EXPECT_EQ(opened->GetFilePair(0)->m_strTarget, "/Logo.gif");
    EXPECT_EQ(opened->GetFilePair(1)->m_strTarget, "/readme.txt");
    EXPECT_EQ(services.beeps, 1);
    EXPECT_EQ(services.infoMessages,
              std::vector<std::string>{"$$Some of the previously included files could not be added to the site\n"
                                       "because of a conflict between their remote path names.\nTry adding the "
                                       "files again by placing them on different remote folders."});

    // Without a clash nothing is said.
    services.beeps = 0;
    services.infoMessages.clear();
    fields.oldSources.pop_back();
    fields.oldSources[1] = "/home/u/other/logo2.gif";
    ASSERT_TRUE(Open(fields));
    EXPECT_EQ(opened->GetFilePairCount(), 2);
    EXPECT_EQ(services.beeps, 0);
    EXPECT_TRUE(services.infoMessages.empty());
}

TEST_F(SiteFileTest, OldRawThumbnailRowsAreBounded)
{
    struct Case
    {
        const char* what;
        std::array<int64_t, 3> raw;
        std::optional<int64_t> stored;
        bool opens;
    };
    const Case cases[] = {
        {"rows padded beyond three bytes a pixel", {2, 2, 8}, std::nullopt, true},
        {"rows of exactly three bytes a pixel", {3, 1, 9}, std::nullopt, true},
        {"rows shorter than three bytes a pixel", {3, 1, 8}, std::nullopt, false},
        {"no thumbnail", {0, 0, 0}, std::nullopt, true},
        {"rows beyond the file", {2, 60000, 8}, 16, false},
        {"a row length beyond the file", {1, 1, 0xFFFFFFF0}, 16, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SiteFields fields;
        fields.major = 1;
        fields.minor = 5;
        fields.raw = c.raw;
        fields.rawStored = c.stored;
        EXPECT_EQ(Open(fields), c.opens);
    }
}

// ---------------------------------------------------------------------------------------------------------------
// The light readers

TEST_F(SiteFileTest, LightReadersFindTheThumbnailAndTheThemeTexts)
{
    auto site = MakeSite();
    const std::string themePath = WriteFile("blue.kth", Saved(*site, true, "Business", "Blue"));
    const std::string sitePath = WriteFile("shop.kst", Saved(*site));

    bool failed = false;
    std::unique_ptr<CPixMap> thumbnail = ReadSiteThumbnail(themePath, failed);
    ASSERT_TRUE(thumbnail);
    EXPECT_FALSE(failed);
    EXPECT_EQ(thumbnail->mode, IMAGE_MODE_RGB);
    EXPECT_EQ(thumbnail->width, 159);
    EXPECT_EQ(thumbnail->height, 200);
    thumbnail = ReadSiteThumbnail(sitePath, failed);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->width, 131);
    EXPECT_EQ(thumbnail->height, 134);
    // The page (640 x 480) fills the width; above and below it the preview is white.
    const CColor top(*thumbnail, 65, 2), middle(*thumbnail, 2, 67);
    EXPECT_EQ(top, CColor(255, 255, 255));
    EXPECT_LT(std::abs(middle.GetColor()[2] - 240), 12);

    std::string category, name;
    ASSERT_TRUE(ReadSiteFileInfo(themePath, category, name));
    EXPECT_EQ(category, "Business");
    EXPECT_EQ(name, "Blue");

    // An old file's raw thumbnail comes back as stored, without its row padding.
    SiteFields old;
    old.major = 1;
    old.minor = 7;
    old.raw = {2, 3, 7};
    thumbnail = ReadSiteThumbnail(WriteFile("old.kst", SiteFile(old).data), failed);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->width, 2);
    EXPECT_EQ(thumbnail->height, 3);
    EXPECT_EQ(*thumbnail->Sample(1, 2, 2), 50);

    // Neither asks the user about converting, even for a file the reader would convert.
    SiteFields v510;
    v510.minor = 10;
    v510.theme = 1;
    const std::string converted = WriteFile("v510.kth", SiteFile(v510).data);
    EXPECT_TRUE(ReadSiteThumbnail(converted, failed));
    EXPECT_TRUE(ReadSiteFileInfo(converted, category, name));
    EXPECT_EQ(name, "Blue");
    EXPECT_TRUE(services.questions.empty());
}

// The open dialog's preview learns the name, the counts and the last upload from the header alone.
TEST_F(SiteFileTest, ThumbnailReaderTellsNameCountsAndTheLastUpload)
{
    auto site = MakeSite();
    site->GetPage(1)->AddObject(std::make_unique<CRectangleObject>(10, 10, SIZE{20, 20}, 0.0));
    bool failed = true;
    SiteFileSummary summary;
    ASSERT_TRUE(ReadSiteThumbnail(WriteFile("new.kst", Saved(*site)), failed, &summary));
    EXPECT_FALSE(failed);
    EXPECT_EQ(summary.name, "Shop");
    EXPECT_EQ(summary.pageCount, 2);
    EXPECT_EQ(summary.objectCount, 3);
    EXPECT_EQ(summary.sentYear, -1); // a new site's values have all bits set

    struct Case
    {
        std::array<uint16_t, 5> stored;
        std::array<int, 5> read; // year, month, day, hour, minute
    };
    const Case cases[] = {
        {{2026, 8, 10, 12, 45}, {2026, 8, 10, 12, 45}}, {{1999, 1, 1, 0, 0}, {1999, 1, 1, 0, 0}},
        {{2026, 13, 10, 12, 45}, {-1, 0, 0, 0, 0}},     {{2026, 0, 10, 12, 45}, {-1, 0, 0, 0, 0}},
        {{2026, 8, 10, 24, 0}, {-1, 0, 0, 0, 0}},       {{65535, 8, 10, 12, 45}, {-1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < CWebsite::kReservedValueCount; ++i)
            site->SetReservedValue(i, c.stored[static_cast<size_t>(i)]);
        ASSERT_TRUE(ReadSiteThumbnail(WriteFile("sent.kst", Saved(*site)), failed, &summary));
        const std::array<int, 5> read = {summary.sentYear, summary.sentMonth, summary.sentDay, summary.sentHour,
                                         summary.sentMinute};
        EXPECT_EQ(read, c.read) << c.stored[0] << "-" << c.stored[1] << " " << c.stored[3];
    }

    // A file that is no site leaves the summary as it was.
    summary.name = "kept";
    EXPECT_FALSE(ReadSiteThumbnail(WriteFile("picture.kst", SmallJpeg().data), failed, &summary));
    EXPECT_TRUE(failed);
    EXPECT_EQ(summary.name, "kept");
}

TEST_F(SiteFileTest, LightReadersRefuseCutAndForeignFiles)
{
    auto site = MakeSite();
    const std::vector<BYTE> theme = Saved(*site, true, "Business", "Blue");
    struct Case
    {
        const char* what;
        size_t length;
        bool thumbnail;
        bool info;
    };
    // The offsets are found from the file: the texts are "Business" and "Blue" right after the JPEG stream.
    const std::string needle = std::string("\x08") + "Business" + "\x04" + "Blue";
    const auto found = std::search(theme.begin(), theme.end(), needle.begin(), needle.end());
    ASSERT_NE(found, theme.end());
    const size_t jpegEnd = static_cast<size_t>(found - theme.begin());
    const Case cases[] = {
        {"cut in the signature", 5, false, false},
        {"cut in the header", 40, false, false},
        {"cut in the thumbnail", jpegEnd - 10, false, false},
        {"cut after the thumbnail", jpegEnd, true, false},
        {"cut in the theme name", jpegEnd + needle.size() - 1, true, false},
        {"cut after the theme texts", jpegEnd + needle.size(), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path =
            WriteFile("cut.kth", std::vector<BYTE>(theme.begin(), theme.begin() + static_cast<ptrdiff_t>(c.length)));
        bool failed = false;
        EXPECT_EQ(ReadSiteThumbnail(path, failed) != nullptr, c.thumbnail);
        EXPECT_EQ(failed, !c.thumbnail);
        std::string category = "old", name = "old";
        EXPECT_EQ(ReadSiteFileInfo(path, category, name), c.info);
    }

    // A thumbnail length beyond the file is refused.
    SiteFields lying;
    lying.theme = 1;
    lying.jpegLength = 0xFFFFFFF0;
    const std::string lyingPath = WriteFile("lying.kth", SiteFile(lying).data);
    bool failed = false;
    EXPECT_FALSE(ReadSiteThumbnail(lyingPath, failed));
    EXPECT_TRUE(failed);
    std::string category, name;
    EXPECT_FALSE(ReadSiteFileInfo(lyingPath, category, name));

    const std::string picture = WriteFile("picture.kst", SmallJpeg().data);
    EXPECT_FALSE(ReadSiteThumbnail(picture, failed));
    EXPECT_TRUE(failed);
    EXPECT_FALSE(ReadSiteFileInfo(picture, category, name));

    EXPECT_FALSE(ReadSiteThumbnail(folder / "missing.kst", failed));
    EXPECT_TRUE(failed);
    EXPECT_FALSE(ReadSiteFileInfo(folder / "missing.kst", category, name));
}

// ---------------------------------------------------------------------------------------------------------------
// Saving into a file

std::vector<BYTE> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

int FailingRename(const char*, const char*)
{
    errno = EIO;
    return -1;
}

TEST_F(SiteFileTest, AnInterruptedSaveLeavesTheOldFileAndTheSiteUnsaved)
{
    auto site = MakeSite();
    const std::string path = folder / "shop.kst";
    ASSERT_TRUE(SaveSiteFile(*site, path));
    EXPECT_TRUE(site->IsSaved());
    const std::vector<BYTE> before = FileBytes(path);

    site->SetName("Renamed");
    site->GetPage(1)->SetTitle("changed");
    CFileException error;
    EXPECT_FALSE(SaveSiteFile(*site, path, &error, FailingRename));
    EXPECT_EQ(error.m_cause, CFileException::hardIO);
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
    EXPECT_FALSE(site->IsSaved());
    EXPECT_TRUE(site->GetPage(0)->IsSaved());
    EXPECT_FALSE(site->GetPage(1)->IsSaved());
    EXPECT_FALSE(site->IsSaving());

    ASSERT_TRUE(SaveSiteFile(*site, path));
    EXPECT_TRUE(site->IsSaved());
    ASSERT_TRUE(Open(FileBytes(path)));
    EXPECT_EQ(opened->GetName(), "Renamed");
}

} // namespace
