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
#include "app/site/website_file_test_support.h"
#include "app/site/site_services_fake.h"
#include "testing/scratch_folder.h"

namespace {

using namespace site_file_test;

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

} // namespace
