#include "app/build/page_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/build/linked_files.h"
#include "app/build/site_builder.h"
#include "app/model/string_attr.h"
#include "app/objects/circle_object.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "testing/golden_file.h"
#include "testing/scratch_folder.h"

namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kBlueish = 0x00C08040; // red 0x40, green 0x80, blue 0xC0

// A site of three pages (the first the front page), and page records filled the way the image step fills them.
class PageWriterTest : public ::testing::Test
{
protected:
    PageWriterTest() : site(folder / "site.pel")
    {
        home = AddPage("index", true);
        about = AddPage("About", false);
        shop = AddPage("Shop", false);
    }
    ~PageWriterTest() override { GetLinkedFiles().clear(); }

    CSitePage* AddPage(const std::string& name, bool front, int doctype = 0)
    {
        NewPageSettings settings;
        settings.width = 640;
        settings.height = 480;
        settings.doctype = doctype;
        CSitePage* page = site.AddPage(std::make_unique<CSitePage>(&site, name, "", settings));
        page->SetFrontPage(front);
        return page;
    }

    SiteBuildOptions Options(int offline = 0) const
    {
        SiteBuildOptions options;
        options.offline = offline;
        options.siteFolder = folder.Path();
        options.filesFolder = folder / "files/";
        options.outsideColor = CColor(0x11, 0x22, 0x33);
        return options;
    }

    static CPageBuildRecord Record(CSitePage* page)
    {
        CPageBuildRecord record;
        record.page = page;
        record.name = page->IsFrontPage() ? "index.html" : page->GetName();
        record.fileName = page->IsFrontPage() ? "index.html" : page->GetName() + ".html";
        record.outsideColor = CColor(0x11, 0x22, 0x33);
        record.backgroundColor = 0x00F0E0D0;
        record.linkColor = 0x00FF0000;
        record.visitedColor = 0x00800080;
        return record;
    }

    // An object record for a new item of the page, at the place and size its picture has.
    static CObjectBuildRecord& AddObject(CPageBuildRecord& record, std::unique_ptr<CPageObject> object, int left,
                                         int top, int width, int height)
    {
        auto added = std::make_unique<CObjectBuildRecord>();
        added->item = record.page->AddObject(std::move(object));
        added->left = left;
        added->top = top;
        added->width = width;
        added->height = height;
        added->zIndex = static_cast<int>(record.objects.size());
        return *record.objects.emplace_back(std::move(added));
    }

    static CObjectBuildRecord& AddPicture(CPageBuildRecord& record, std::unique_ptr<CPageObject> object,
                                          const std::string& url, int left, int top)
    {
        CObjectBuildRecord& added = AddObject(record, std::move(object), left, top, 40, 30);
        added.imageUrl = url;
        return added;
    }

    // A text object written as HTML text: its paragraphs as given, each laid out as one line unless lineEnds names
    // the indices that end lines.
    static CObjectBuildRecord& AddText(CPageBuildRecord& record, const std::vector<std::string>& paragraphs,
                                       int alignment, const std::vector<std::vector<int>>& lineEnds = {})
    {
        CObjectBuildRecord& added =
            AddObject(record, std::make_unique<CTextObject>(100, 100, SIZE{200, 60}, 0.0), 12, 34, 200, 60);
        added.asHtmlText = 1;
        CTextBody* body = static_cast<CTextObject*>(added.item->GetCurrentObject())->GetTextBody();
        body->m_alignment = alignment;
        body->m_paragraphs.clear();
        for (size_t i = 0; i < paragraphs.size(); ++i) {
            CTextParagraph& paragraph = body->m_paragraphs.emplace_back();
            for (char ch : paragraphs[i]) {
                CTextChar c;
                c.m_ch = static_cast<BYTE>(ch);
                paragraph.m_chars.push_back(c);
            }
            int start = 0;
            const std::vector<int> ends =
                i < lineEnds.size() ? lineEnds[i] : std::vector<int>{static_cast<int>(paragraphs[i].size()) - 1};
            for (int end : ends) {
                paragraph.m_lines.push_back(paragraphs[i].empty() ? -1 : start);
                paragraph.m_lines.push_back(end);
                start = end + 1;
            }
        }
        return added;
    }

    static TextLinkRun Run(int kind, int firstChar, int lastChar, int target = 0)
    {
        TextLinkRun run;
        run.link.SetKind(kind);
        run.link.SetActive(true);
        run.link.SetTarget(target);
        run.firstChar = firstChar;
        run.lastChar = lastChar;
        return run;
    }

    // Writes the page and gives back its bytes.
    std::string Write(CPageBuildRecord& record, CSiteBuilder& builder, const SiteBuildOptions& options)
    {
        BuildProgress progress;
        EXPECT_TRUE(WritePage(record, builder, progress, options)) << builder.GetFailure();
        return ReadFileBytes(options.siteFolder + record.fileName);
    }

    std::string Write(CPageBuildRecord& record, int offline = 0)
    {
        CSiteBuilder builder(Options(offline));
        return Write(record, builder, Options(offline));
    }

    // A builder that has run over the site as it stands, so that it knows the pages' file names.
    std::unique_ptr<CSiteBuilder> BuilderWithPages(int offline = 0)
    {
        auto builder = std::make_unique<CSiteBuilder>(Options(offline));
        SiteBuildResult result;
        builder->BuildWebsite(result, &site, offline ? buildForPreview : buildForPublish);
        EXPECT_EQ(result.code, buildDone) << result.message;
        return builder;
    }

    ScratchFolder folder;
    CWebsite site;
    CSitePage* home = nullptr;
    CSitePage* about = nullptr;
    CSitePage* shop = nullptr;
};

TEST_F(PageWriterTest, WritesAPageWithoutObjects)
{
    CPageBuildRecord record = Record(home);
    ExpectGoldenFile("app/build/testdata/empty_page.html", Write(record));
}

// A centred page with every text of its head, and the pictures of objects with and without alternate text, links
// and mouse-over pictures.
TEST_F(PageWriterTest, WritesPicturesOfACentredPage)
{
    CSitePage* page = AddPage("Pictures", false, 1);
    page->SetCentered(true);
    page->SetTitle("Our pictures");
    page->SetKeywords("pictures, photos");
    page->SetDescription("The pictures we took");
    page->SetHeaderHtml("<script src=\"menu.js\"></script>\r\n<link rel=\"icon\" href=\"icon.png\">");
    page->SetOnloadCode("startMenu()");
    page->SetAnalyticsCode("<script>count();</script>");
    CPageBuildRecord record = Record(page);
    record.fillOutside = 0;

    auto logo = std::make_unique<CRectangleObject>(50, 50, SIZE{40, 30}, 0.0);
    logo->SetAltText(std::make_unique<CStringAttr>("Our logo"));
    CObjectBuildRecord& linked = AddPicture(record, std::move(logo), "files/IMG_0.jpg", 30, 35);
    linked.hasLink = 1;
    linked.linkUrl = "About.html";
    linked.linkTarget = 3;
    AddPicture(record, std::make_unique<CCircleObject>(150, 50, SIZE{40, 30}, 0.0), "files/IMG_1.jpg", 130, 35);
    // A text written as a picture without advanced text cannot carry an alternate text.
    AddPicture(record, std::make_unique<CTextObject>(250, 50, SIZE{40, 30}, 0.0), "files/IMG_2.jpg", 230, 35);
    CObjectBuildRecord& mailButton =
        AddPicture(record, std::make_unique<CRectangleObject>(50, 150, SIZE{40, 30}, 0.0), "files/IMG_3.jpg", 30, 135);
    mailButton.hasMouseOverImage = 1;
    mailButton.mouseOverUrl = "files/mo_IMG_3.jpg";
    mailButton.hasLink = 1;
    mailButton.linkUrl = "mailto:me@example.com";
    CObjectBuildRecord& hover = AddPicture(record, std::make_unique<CRectangleObject>(150, 150, SIZE{40, 30}, 0.0),
                                           "files/IMG_5.gif", 130, 135);
    hover.hasMouseOverImage = 1;
    hover.mouseOverUrl = "files/mo_IMG_5.jpg";

    ExpectGoldenFile("app/build/testdata/centred_pictures.html", Write(record));
}

// The background block and the body rule's background for every kind of background, each picture position, and
// the fill around the page on and off; one golden file holds them all, each case under its name.
TEST_F(PageWriterTest, WritesEveryBackground)
{
    struct Case
    {
        std::string name;
        int kind;
        BYTE tiled;
        int position;
        BYTE fillOutside;
        bool centred;
    };
    std::vector<Case> cases = {
        {"colour, filled around", 0, 0, 4, 1, false},
        {"colour, outside colour around", 0, 0, 4, 0, false},
        {"colour, outside colour around, centred", 0, 0, 4, 0, true},
        {"tiled picture, filled around", 1, 1, 4, 1, false},
        {"tiled picture, outside colour around", 1, 1, 4, 0, false},
        {"placed picture, filled around", 1, 0, 4, 1, false},
        {"placed picture at 9, out of range", 1, 0, 9, 0, false},
        {"placed picture at -1, out of range", 1, 0, -1, 0, false},
        {"gradient, filled around", 2, 1, 4, 1, false},
        {"gradient, outside colour around", 2, 1, 4, 0, false},
        {"unknown kind, filled around", 7, 0, 4, 1, false},
        {"unknown kind, outside colour around", 7, 0, 4, 0, false},
    };
    for (int position = 0; position <= 8; ++position)
        cases.push_back({"placed picture at " + std::to_string(position), 1, 0, position, 0, false});

    std::string golden;
    for (const Case& c : cases) {
        home->SetCentered(c.centred);
        CPageBuildRecord record = Record(home);
        record.backgroundKind = c.kind;
        record.backgroundUrl = "files/back.jpg";
        record.tiled = c.tiled;
        record.imagePosition = c.position;
        record.fillOutside = c.fillOutside;
        const std::string page = Write(record);
        const std::string ruleStart = " width: 100%;\r\n";
        const size_t rule = page.find(ruleStart) + ruleStart.size();
        const size_t body = page.find("<body");
        golden += "== " + c.name + "\r\n";
        golden += page.substr(rule, page.find("\r\na:link") - rule);
        golden += page.substr(body, page.find("\r\n</body>") - body);
    }
    ExpectGoldenFile("app/build/testdata/backgrounds.txt", golden);
}

// HTML text: style changes inside and outside links, links of every kind, adjacent links, a link across a style
// change, laid-out line ends, characters that HTML reserves, an empty text between two others.
TEST_F(PageWriterTest, WritesHtmlTextWithStylesAndLinks)
{
    GetLinkedFiles() = {{"/home/u/price list.pdf", "price_list.pdf"}};
    std::unique_ptr<CSiteBuilder> builder = BuilderWithPages();
    CPageBuildRecord record = Record(shop);
    record.textStyles = {
        {0, "Arial", 12, 0, 0, 0, 0},
        {0, "Times New Roman", 14, 1, 1, 1, kRed},
        {0, "Courier New", 10, 0, 1, 0, kBlueish},
    };

    // "Home" links to the front page, "About" (with the blank before it) to another page, right after it; the
    // first line ends after the blank.
    CObjectBuildRecord& links = AddText(record, {"Home About", "mail web doc"}, 0, {{4, 9}, {11}});
    links.linkRuns = {Run(CLinkInfo::kindPage, 0, 3, 1), Run(CLinkInfo::kindPage, 4, 9),
                      Run(CLinkInfo::kindEmail, 10, 13, 3), Run(CLinkInfo::kindUrl, 15, 17, 3),
                      Run(CLinkInfo::kindFile, 19, 21)};
    links.linkRuns[1].link.SetPage(1);
    links.linkRuns[2].link.SetEmail("shop@example.com");
    links.linkRuns[3].link.SetUrl("www.example.com/a?b=1&c=2");
    links.linkRuns[4].link.SetFile("/home/u/price list.pdf");
    AddText(record, {""}, 1);
    AddText(record, {"a&b<c>\"d\" caf\xE9"}, 2);
    // The second style starts inside the first link, the third at the second paragraph, inside no link; the first
    // style comes back inside the web link.
    record.textStyleRuns = {{0, 0}, {2, 1}, {10, 2}, {16, 0}, {0, 1}};

    ExpectGoldenFile("app/build/testdata/html_text.html", Write(record, *builder, Options()));
    EXPECT_EQ(links.linkRuns[3].link.GetUrl(), "http://www.example.com/a?b=1&c=2");
}

// HTML and form objects are written as their code in both builds; a counter is an empty block online and its
// picture offline.
TEST_F(PageWriterTest, WritesCodeObjectsOnlineAndOffline)
{
    for (int offline : {0, 1}) {
        SCOPED_TRACE(offline);
        CSitePage* page = AddPage(offline ? "Offline" : "Online", false);
        page->SetHeaderHtml("<meta name=\"author\" content=\"me\">");
        page->SetOnloadCode("pageStart()");
        CPageBuildRecord record = Record(page);

        auto html = std::make_unique<CHtmlObject>(POINT{20, 40}, 300, 80);
        html->SetHtmlCode("<iframe src=\"http://video.example/1\"></iframe>");
        html->SetHeaderHtml("<script src=\"video.js\"></script>");
        html->SetOnloadCode("videoStart()");
        AddObject(record, std::move(html), 0, 0, 0, 0);
        auto quiet = std::make_unique<CHtmlObject>(POINT{20, 140}, 100, 20);
        quiet->SetHtmlCode("<b>Welcome</b>");
        AddObject(record, std::move(quiet), 0, 0, 0, 0);
        AddObject(record, std::make_unique<CFormObject>("me@example.com", 200.0, 300.0), 0, 0, 0, 0);
        CObjectBuildRecord& counter =
            AddObject(record, std::make_unique<CCounterObject>(0, 500.0, 400.0), 460, 390, 80, 20);
        if (offline)
            counter.imageUrl = "files/IMG_0.jpg";

        ExpectGoldenFile(offline ? "app/build/testdata/code_objects_offline.html"
                                 : "app/build/testdata/code_objects_online.html",
                         Write(record, offline));
    }
}

// What the user typed cannot end an attribute or the title early; the head code, analytics and HTML code stay as
// typed.
TEST_F(PageWriterTest, EscapesTypedTextInAttributesAndTheTitle)
{
    std::unique_ptr<CSiteBuilder> builder = BuilderWithPages();
    const std::string hostile = "\"><script>alert('&')</script>";
    CSitePage* page = AddPage("Hostile", false);
    page->SetTitle("Tom & " + hostile);
    page->SetKeywords("keys" + hostile);
    page->SetDescription("about" + hostile);
    page->SetOnloadCode("go(\"a<b\")");
    page->SetHeaderHtml("<script>var raw = \"<kept> & 'kept'\";</script>");
    page->SetAnalyticsCode("<script>track(\"&\")</script>");
    CPageBuildRecord record = Record(page);
    record.fileName = "it's \"mine\" & <yours>.html";

    auto picture = std::make_unique<CRectangleObject>(50, 50, SIZE{40, 30}, 0.0);
    picture->SetAltText(std::make_unique<CStringAttr>("alt" + hostile));
    CObjectBuildRecord& linked = AddPicture(record, std::move(picture), "files/a\"b<c>&.jpg", 30, 35);
    linked.hasLink = 1;
    linked.linkUrl = "http://x.example/?a=1&b=\"2\"<>";
    CObjectBuildRecord& hover = AddPicture(record, std::make_unique<CRectangleObject>(150, 50, SIZE{40, 30}, 0.0),
                                           "files/it's\\\".jpg", 130, 35);
    hover.hasMouseOverImage = 1;
    hover.mouseOverUrl = "files/mo_it's<&>.jpg";
    auto html = std::make_unique<CHtmlObject>(POINT{20, 140}, 100, 20);
    html->SetHtmlCode("<b>\"raw\" & bold</b>");
    html->SetOnloadCode("init(\"a&b\")");
    AddObject(record, std::move(html), 0, 0, 0, 0);
    CObjectBuildRecord& text = AddText(record, {"web"}, 0);
    text.linkRuns = {Run(CLinkInfo::kindUrl, 0, 2)};
    text.linkRuns[0].link.SetUrl("www.x.example/?q=\"<>\"&r");
    record.textStyles = {{0, "Arial", 12, 0, 0, 0, 0}};
    record.textStyleRuns = {{0, 0}};

    ExpectGoldenFile("app/build/testdata/hostile_strings.html", Write(record, *builder, Options()));
}

TEST_F(PageWriterTest, EachPageDeclaresItsOwnDoctype)
{
    const std::string transitional = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
                                     "\"http://www.w3.org/TR/html4/loose.dtd\">\r\n";
    const std::string strict =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" \"http://www.w3.org/TR/html4/strict.dtd\">\r\n";
    CSiteBuilder builder(Options());
    for (int doctype : {1, 0, 2}) {
        SCOPED_TRACE(doctype);
        home->SetDoctype(doctype);
        CPageBuildRecord record = Record(home);
        const std::string page = Write(record, builder, Options());
        EXPECT_EQ(page.substr(0, page.find('\n') + 1), doctype == 0 ? transitional : strict);
    }
}

TEST_F(PageWriterTest, ReportsAPageThatCannotBeWritten)
{
    std::filesystem::create_directory(folder / "index.html");
    struct Case
    {
        const char* what;
        std::string siteFolder;
    };
    const Case cases[] = {
        {"missing folder", folder / "missing/"},
        {"path is a folder", folder.Path()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SiteBuildOptions options = Options();
        options.siteFolder = c.siteFolder;
        CSiteBuilder builder(options);
        CPageBuildRecord record = Record(home);
        BuildProgress progress;
        EXPECT_FALSE(WritePage(record, builder, progress, options));
        const std::string path = c.siteFolder + "index.html";
        EXPECT_EQ(builder.GetFailure().substr(0, path.size() + 2), path + ": ");
        EXPECT_GT(builder.GetFailure().size(), path.size() + 2);
    }
}

TEST_F(PageWriterTest, ClassNamesCountOverTheBuildAndRestartWithTheNext)
{
    CPageBuildRecord first = Record(about);
    AddPicture(first, std::make_unique<CRectangleObject>(50, 50, SIZE{40, 30}, 0.0), "files/IMG_0.jpg", 30, 35);
    AddPicture(first, std::make_unique<CRectangleObject>(150, 50, SIZE{40, 30}, 0.0), "files/IMG_1.jpg", 130, 35);
    CPageBuildRecord second = Record(shop);
    AddPicture(second, std::make_unique<CRectangleObject>(50, 50, SIZE{40, 30}, 0.0), "files/IMG_2.jpg", 30, 35);

    auto names = [](const CPageBuildRecord& record) {
        std::vector<std::string> classNames;
        for (const auto& object : record.objects)
            classNames.push_back(object->className);
        return classNames;
    };
    CSiteBuilder builder(Options());
    Write(first, builder, Options());
    const std::string secondPage = Write(second, builder, Options());
    EXPECT_EQ(names(first), (std::vector<std::string>{"Object0", "Object1"}));
    EXPECT_EQ(names(second), (std::vector<std::string>{"Object2"}));
    EXPECT_NE(secondPage.find("<div class=\"Object2\"><img"), std::string::npos);

    CSiteBuilder next(Options());
    Write(second, next, Options());
    EXPECT_EQ(names(second), (std::vector<std::string>{"Object0"}));
}

TEST_F(PageWriterTest, TextLinkAddresses)
{
    GetLinkedFiles() = {{"/home/u/Price List.pdf", "price_list.pdf"}};
    struct Case
    {
        const char* what;
        int kind;
        int page;
        std::string text; // e-mail, URL or document path
        int offline;
        std::string href;
    };
    const Case cases[] = {
        {"front page", CLinkInfo::kindPage, 0, "", 0, "index.html"},
        {"other page", CLinkInfo::kindPage, 2, "", 0, "Shop.html"},
        {"page beyond the site", CLinkInfo::kindPage, 3, "", 0, ""},
        {"e-mail", CLinkInfo::kindEmail, 0, "me@example.com", 0, "mailto:me@example.com"},
        {"address repaired", CLinkInfo::kindUrl, 0, " htp://example.com ", 0, "http://example.com"},
        {"listed document online", CLinkInfo::kindFile, 0, "/home/u/price list.PDF", 0,
         "files/Download/price_list.pdf"},
        {"listed document offline", CLinkInfo::kindFile, 0, "/home/u/price list.PDF", 1,
         "file:///home/u/Price%20List.pdf"},
        {"unlisted document online", CLinkInfo::kindFile, 0, "/home/u/other.pdf", 0, "files/Download/"},
        {"unlisted document offline", CLinkInfo::kindFile, 0, "/home/u/other.pdf", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CSiteBuilder> builder = BuilderWithPages(c.offline);
        TextLinkRun run = Run(c.kind, 0, 0);
        run.link.SetPage(c.page);
        run.link.SetEmail(c.text);
        run.link.SetUrl(c.text);
        run.link.SetFile(c.text);
        EXPECT_EQ(TextLinkHref(*builder, run, *about), c.href);
    }
}

TEST_F(PageWriterTest, TextLinkTargets)
{
    struct Case
    {
        int kind;
        bool active;
        int target;
        std::string attribute;
    };
    const Case cases[] = {
        {CLinkInfo::kindUrl, true, 0, ""},
        {CLinkInfo::kindUrl, true, 1, "target=\"_self\" "},
        {CLinkInfo::kindPage, true, 2, "target=\"_top\" "},
        {CLinkInfo::kindFile, true, 3, "target=\"_blank\" "},
        {CLinkInfo::kindUrl, true, 4, "target=\"_parent\" "},
        {CLinkInfo::kindEmail, true, 3, ""},
        {CLinkInfo::kindUrl, false, 3, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        TextLinkRun run = Run(c.kind, 0, 0, c.target);
        run.link.SetActive(c.active);
        EXPECT_EQ(TextLinkTarget(run), c.attribute);
    }
    EXPECT_EQ(TargetAttribute(5), "");
    EXPECT_EQ(TargetAttribute(-1), "");
}

} // namespace
