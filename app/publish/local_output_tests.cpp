#include "app/publish/local_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/build/linked_files.h"
#include "app/model/file_pair.h"
#include "app/model/link_info.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"
#include "app/publish/linked_documents.h"
#include "app/publish/publish_host.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "testing/headless_browser.h"
#include "testing/scoped_env.h"
#include "testing/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Write(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

CLinkInfo DocumentLink(const std::string& path)
{
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindFile);
    link.SetActive(true);
    link.SetFile(path);
    return link;
}

// Answers the dialogs as a script says and records what was shown.
class ScriptedDialogs : public NullCoreServices,
                        public NullCurrentState,
                        public NullModelDialogs,
                        public NullPublishHost
{
public:
    explicit ScriptedDialogs(CWebsite* site) : m_site(site) {}

    CWebsite* GetCurrentSite() override { return m_site; }
    // Browse with the file the script gives (an empty one for a cancelled search), or OK without one.
    DialogAnswer ShowMissingDocumentDialog(MissingDocumentDialog& dialog) override
    {
        missing.push_back(dialog.m_missingPath);
        if (!browse)
            return DialogAnswer::ok;
        dialog.m_browsed = true;
        dialog.m_replacementPath = replacement;
        return DialogAnswer::cancel;
    }
    void SetSiteModified() override { ++modified; }
    void ShowBuildErrorDialog(const std::string& pageName, const std::string& message) override
    {
        buildErrors.push_back(pageName + ": " + message);
    }
    void ShowItemOnPage(CSitePage* page, CPageItem* item) override { shown.emplace_back(page, item); }

    bool browse = false;
    std::string replacement;
    int modified = 0;
    std::vector<std::string> missing;
    std::vector<std::string> buildErrors;
    std::vector<std::pair<CSitePage*, CPageItem*>> shown;

private:
    CWebsite* m_site;
    SeamsInstalled<ScriptedDialogs> m_installed{*this};
};

class LocalOutputTest : public ::testing::Test
{
protected:
    CSitePage* AddPage(const std::string& name) { return site.AddPage(std::make_unique<CSitePage>(&site, name, name)); }
    CPageItem* AddLinkedRectangle(CSitePage* page, double x, const std::string& document)
    {
        auto rectangle = std::make_unique<CRectangleObject>(x, 50, SIZE{40, 30}, 0.0);
        rectangle->SetLink(std::make_unique<CLinkInfo>(DocumentLink(document)));
        return page->AddObject(std::move(rectangle));
    }
    // A plain text object whose characters link two documents, the first in two runs.
    CPageItem* AddLinkedText(CSitePage* page, const std::string& first, const std::string& second)
    {
        auto text = std::make_unique<CTextObject>(200, 200, SIZE{200, 40}, 0.0);
        CTextBody& body = *text->GetTextBody();
        body.m_paragraphs.assign(1, CTextParagraph());
        for (const auto& [c, path] :
             std::vector<std::pair<char, std::string>>{{'a', first}, {'b', first}, {'c', second}, {'d', first}})
            body.m_paragraphs[0].m_chars.push_back(
                MakeTextChar(static_cast<BYTE>(c), 0, 12, false, false, false, 0, DocumentLink(path)));
        return page->AddObject(std::move(text));
    }

    ScratchFolder folder;
    CWebsite site{""};
    ScriptedDialogs dialogs{&site};
};

TEST(LocalOutputFolder, SitsBesideTheSiteFileNamedAfterItsTitle)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/s/shop.kst", "/s/shop_website/"},
        {"/s/.kst", "/s/website/"},
        {"shop.kst", "./shop_website/"},
        {"C:\\s\\shop.kst", "C:\\s\\shop_website\\"},
    };
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(LocalOutputFolder(path), folder) << path;
}

TEST_F(LocalOutputTest, CopyingIntoAFolderTreeMakesTheFoldersAndNeverLeavesTheBase)
{
    const std::string source = folder / "source.txt";
    Write(source, "content");
    const std::string base = folder / "base/";
    fs::create_directories(base);
    EXPECT_TRUE(CopyIntoFolderTree(source, base, "/a/b/copy.txt"));
    EXPECT_EQ(Read(base + "a/b/copy.txt"), "content");
    EXPECT_TRUE(CopyIntoFolderTree(source, base, "c\\copy.txt"));
    EXPECT_EQ(Read(base + "c/copy.txt"), "content");
    for (const char* hostile : {"../out.txt", "a/../../out.txt", "C:\\out.txt", "", "/"})
        EXPECT_FALSE(CopyIntoFolderTree(source, base, hostile)) << hostile;
    EXPECT_FALSE(fs::exists(folder / "out.txt"));
    EXPECT_FALSE(CopyIntoFolderTree(folder / "missing.txt", base, "x.txt"));
}

TEST_F(LocalOutputTest, MissingDocumentsStopAtTheFirstAndListTheOthersUnderUniqueNames)
{
    const std::string a = folder / "a/price.pdf", b = folder / "b/Price.pdf", c = folder / "c/notes.txt";
    Write(a, "a");
    Write(b, "b");
    CSitePage* first = AddPage("first");
    CSitePage* second = AddPage("second");
    AddLinkedRectangle(first, 50, a);
    AddLinkedText(first, b, a);
    AddLinkedRectangle(second, 50, b);
    CPageItem* missingItem = AddLinkedRectangle(second, 150, c);

    EXPECT_EQ(DocumentLinksOf(*first->GetItem(1)->GetCurrentObject()), (std::vector<std::string>{b, a, b}));
    MissingDocument missing = FindMissingFile(site);
    EXPECT_EQ(missing.path, c);
    EXPECT_EQ(missing.page, 1);
    EXPECT_EQ(missing.item, 1);
    ASSERT_EQ(GetLinkedFiles().size(), 2u);
    EXPECT_EQ(FindLinkedFile(a)->targetName, "price.pdf");
    EXPECT_EQ(FindLinkedFile(b)->targetName, "Price0.pdf");
    EXPECT_EQ(CollectLinkedFiles(site), (std::vector<std::string>{a, b}));
    // One page only.
    EXPECT_TRUE(FindMissingFile(site, 0).path.empty());

    // The command stops and the user sees the object.
    EXPECT_FALSE(CheckLinkedDocuments(site));
    EXPECT_EQ(dialogs.missing, std::vector<std::string>{c});
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], std::make_pair(second, missingItem));
}

TEST_F(LocalOutputTest, BrowsingForAMissingDocumentRelinksItUnlessTheSearchWasCancelled)
{
    const std::string a = folder / "a/price.pdf", gone = folder / "old/notes.txt", found = folder / "new/notes.txt";
    Write(a, "a");
    Write(found, "n");
    CSitePage* page = AddPage("first");
    CPageItem* rectangle = AddLinkedRectangle(page, 50, gone);
    CPageItem* text = AddLinkedText(page, gone, a);

    // A cancelled search changes no link.
    dialogs.browse = true;
    EXPECT_FALSE(CheckLinkedDocuments(site));
    EXPECT_EQ(DocumentLinksOf(*rectangle->GetCurrentObject()), std::vector<std::string>{gone});
    EXPECT_EQ(DocumentLinksOf(*text->GetCurrentObject()), (std::vector<std::string>{gone, a, gone}));
    EXPECT_EQ(dialogs.modified, 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], std::make_pair(page, rectangle));

    // A file found replaces every link to the missing one, in objects and in text.
    dialogs.replacement = found;
    EXPECT_FALSE(CheckLinkedDocuments(site));
    EXPECT_EQ(DocumentLinksOf(*rectangle->GetCurrentObject()), std::vector<std::string>{found});
    EXPECT_EQ(DocumentLinksOf(*text->GetCurrentObject()), (std::vector<std::string>{found, a, found}));
    EXPECT_EQ(dialogs.modified, 1);
    EXPECT_TRUE(CheckLinkedDocuments(site));
}

TEST_F(LocalOutputTest, TheLocalCopyWorksOnItsOwn)
{
    const std::string sitePath = folder / "sites/shop.kst";
    site.SetPath(sitePath);
    const std::string a = folder / "a/price.pdf", b = folder / "b/price.pdf", extra = folder / "extra/style.css";
    Write(a, "first");
    Write(b, "second");
    Write(extra, "body {}");
    site.AppendFilePair(std::make_unique<CFilePair>(extra, "/css/style.css"));
    CSitePage* home = AddPage("home");
    site.SetHomePage(home);
    AddLinkedRectangle(home, 50, a);
    AddLinkedRectangle(home, 150, b);
    for (int i = 0; i < site.GetPageCount(); ++i)
        site.GetPage(i)->RenderDirtyObjects();
    // A stale front page left by an earlier copy must not come back under the other names.
    Write(folder / "sites/shop_website/default.htm", "stale");

    const LocalOutputResult result = WriteLocalWebsite(site, sitePath);
    ASSERT_TRUE(result.written) << result.message;
    EXPECT_TRUE(result.message.empty()) << result.message;
    const std::string out = folder / "sites/shop_website/";
    EXPECT_EQ(result.folder, out);
    const std::string index = Read(out + "index.html");
    ASSERT_FALSE(index.empty());
    for (const char* name : {"default.htm", "default.html", "index.htm"})
        EXPECT_EQ(Read(out + name), index) << name;
    EXPECT_EQ(Read(out + "css/style.css"), "body {}");
    EXPECT_EQ(Read(out + "files/Download/price.pdf"), "first");
    EXPECT_EQ(Read(out + "files/Download/price0.pdf"), "second");
    EXPECT_NE(index.find("href=\"files/Download/price.pdf\""), std::string::npos);
    EXPECT_NE(index.find("href=\"files/Download/price0.pdf\""), std::string::npos);
    EXPECT_TRUE(dialogs.buildErrors.empty());
}

// The preview is built to be shown from this computer: its pages link documents where they lie, by file addresses
// a browser opens whatever the documents' names hold (blanks, "#", letters beyond ASCII), where the published
// site's "files/Download/" is not there. Headless Chromium follows each link of the built page to the document.
TEST_F(LocalOutputTest, ThePreviewLinksDocumentsWhereTheyLieAndABrowserOpensThem)
{
    const ScopedEnv runtime("XDG_RUNTIME_DIR", (folder / "run").c_str());
    fs::create_directories(folder / "run");
    const std::string price = folder / "Docs/Price list #1 caf\xC3\xA9.txt", menu = folder / "Docs/menu.txt";
    Write(price, "the price list");
    Write(menu, "the menu");
    CSitePage* home = AddPage("home");
    site.SetHomePage(home);
    AddLinkedRectangle(home, 50, price);
    AddLinkedText(home, menu, price);
    for (int i = 0; i < site.GetPageCount(); ++i)
        site.GetPage(i)->RenderDirtyObjects();

    const std::string shown = BuildSitePreview(site, nullptr);
    ASSERT_FALSE(shown.empty()) << (dialogs.buildErrors.empty() ? "" : dialogs.buildErrors[0]);
    EXPECT_TRUE(dialogs.buildErrors.empty());
    const std::string page = Read(shown);
    const std::string priceAddress = "file://" + folder / "Docs/Price%20list%20%231%20caf%C3%A9.txt";
    EXPECT_NE(page.find("href=\"" + priceAddress + "\""), std::string::npos) << page;
    EXPECT_EQ(page.find("files/Download"), std::string::npos) << page;

    // A page beside the built one, so that its links lead where the built page's do, reads what each leads to.
    const std::string probe = fs::path(shown).parent_path() / "probe.html";
    Write(probe, page + R"(<script>
for (const link of document.querySelectorAll('a[href]')) {
    let text = 'nothing';
    try {
        const request = new XMLHttpRequest();
        request.open('GET', link.href, false);
        request.send();
        text = request.responseText;
    } catch (error) {}
    const line = document.createElement('p');
    line.className = 'probe';
    line.textContent = '[' + text + ']';
    document.body.appendChild(line);
}
</script>)");
    std::string log;
    const std::string read = PageAfterScriptsInChromium(probe, &log);
    ASSERT_FALSE(read.empty()) << log;
    std::vector<std::string> reached;
    for (size_t at = read.find("<p class=\"probe\">["); at != std::string::npos;
         at = read.find("<p class=\"probe\">[", at + 1)) {
        const size_t start = read.find('[', at) + 1;
        reached.push_back(read.substr(start, read.find(']', start) - start));
    }
    // The rectangle's link, then the text's links in their order.
    EXPECT_EQ(reached.size(), 4u) << read;
    for (const std::string& text : reached)
        EXPECT_TRUE(text == "the price list" || text == "the menu") << text;
    EXPECT_EQ(std::count(reached.begin(), reached.end(), "the menu"), 2) << read;
}

TEST_F(LocalOutputTest, ABuildErrorIsShownWithTheItemAndNothingIsCopied)
{
    const std::string sitePath = folder / "shop.kst";
    CSitePage* page = AddPage("gallery");
    CPageItem* hover = page->AddObject(std::make_unique<CRectangleObject>(100, 100, SIZE{40, 40}, 0.0));
    hover->SetMouseOverObject(std::make_unique<CRectangleObject>(100, 100, SIZE{40, 40}, 0.0));
    page->AddObject(std::make_unique<CRectangleObject>(110, 110, SIZE{40, 40}, 0.0));

    const LocalOutputResult result = WriteLocalWebsite(site, sitePath);
    EXPECT_FALSE(result.written);
    ASSERT_EQ(dialogs.buildErrors.size(), 1u);
    EXPECT_EQ(dialogs.buildErrors[0].rfind("gallery: ", 0), 0u) << dialogs.buildErrors[0];
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], std::make_pair(page, hover));
    EXPECT_FALSE(fs::exists(folder / "shop_website/index.htm"));
}

} // namespace
