// Whole builds of the showcase site, compared byte for byte with the pages kept beside this file: online (as
// published) and offline (as previewed), directly from the model and from the site file saved and read back.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/build/build_test_support.h"
#include "app/build/linked_files.h"
#include "app/build/site_builder.h"
#include "app/objects/page_object.h"
#include "app/site/object_frame.h"
#include "platform/win/file.h"
#include "platform/win/path.h"
#include "testing/golden_file.h"
#include "testing/scratch_folder.h"

namespace {

using namespace build_testing;

SiteBuildOptions OptionsFor(const std::string& folder, bool offline)
{
    SiteBuildOptions options;
    options.offline = offline ? 1 : 0;
    options.siteFolder = folder;
    options.filesFolder = folder + "files/";
    options.fillOutside = 1;
    options.outsideColor = CColor(255, 255, 255);
    return options;
}

// The names in a folder, folders marked with a trailing '/', one a line.
std::string Listing(const std::string& folder)
{
    std::string listing;
    for (const FolderEntry& entry : ListFolder(folder))
        listing += entry.name + (entry.isFolder ? "/" : "") + "\n";
    return listing;
}

// Where a page's state could change through a build: selection, z-order, flags.
struct PageState
{
    std::vector<const CPageItem*> order;
    std::vector<bool> selected;
    bool saved;
    bool changed;
    bool operator==(const PageState&) const = default;
};

PageState StateOf(const CSitePage& page)
{
    PageState state{{}, {}, page.IsSaved(), page.IsChangedSinceUpload()};
    for (int i = 0; i < page.GetItemCount(); ++i) {
        state.order.push_back(page.GetItem(i));
        state.selected.push_back(page.IsItemSelected(i));
    }
    return state;
}

class SiteBuildTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MakeShowcaseSite(site, folder / "pictures");
        GetLinkedFiles().clear();
    }

    ScratchFolder folder;
    CWebsite site{"/sites/showcase.kst"};
};

TEST_F(SiteBuildTest, TheShowcaseSiteBuildsToTheKeptPages)
{
    for (const bool offline : {false, true}) {
        const std::string kind = offline ? "offline" : "online";
        const std::string out = folder / (kind + "/");
        SiteBuildResult result;
        CSiteBuilder builder(OptionsFor(out, offline));
        builder.BuildWebsite(result, &site, offline ? buildForPreview : buildForPublish);
        ASSERT_EQ(result.code, buildDone) << result.message;
        for (const char* page : {"index.html", "about.html", "contact.html"})
            ExpectGoldenFile("app/build/testdata/showcase_" + kind + "/" + page, ReadFileBytes(out + page));
        ExpectGoldenFile("app/build/testdata/showcase_" + kind + "/files.txt", Listing(out + "files/"));
    }
}

// A link that goes on past a paragraph's end is one anchor around the line break.
TEST(SiteBuild, ALinkAcrossAParagraphEndIsOneAnchor)
{
    ScratchFolder folder;
    CWebsite site("/sites/links.kst");
    NewPageSettings settings;
    settings.width = 400;
    settings.height = 200;
    CSitePage* page = site.AddPage(std::make_unique<CSitePage>(&site, "index", "Links", settings));
    page->SetFrontPage(true);
    TextFormat web;
    web.link = Link(CLinkInfo::kindUrl, "www.a.com");
    page->AddObject(MakeText(150, 60, 200, {{"ab\ncd", web}}));
    page->RenderDirtyObjects();

    SiteBuildResult result;
    CSiteBuilder builder(OptionsFor(folder / "out/", false));
    builder.BuildWebsite(result, &site, buildForPublish);
    ASSERT_EQ(result.code, buildDone) << result.message;
    const std::string built = ReadFileBytes(folder / "out/index.html");
    EXPECT_NE(built.find("<a href=\"http://www.a.com\">ab<br>\r\ncd<br>\r\n</a>"), std::string::npos);
    ExpectGoldenFile("app/build/testdata/linked_paragraphs.html", built);
}

TEST_F(SiteBuildTest, TheSameSiteBuildsToTheSameBytesAgainAndFromItsFile)
{
    SiteBuildResult result;
    CSiteBuilder(OptionsFor(folder / "first/", false)).BuildWebsite(result, &site, buildForPublish);
    ASSERT_EQ(result.code, buildDone) << result.message;
    CSiteBuilder(OptionsFor(folder / "second/", false)).BuildWebsite(result, &site, buildForPublish);
    ASSERT_EQ(result.code, buildDone) << result.message;

    const std::string file = folder / "showcase.kst";
    ASSERT_TRUE(SaveSiteFile(site, file));
    CWebsite reopened(file);
    CFile in;
    ASSERT_TRUE(in.Open(file, CFile::modeRead));
    ASSERT_TRUE(reopened.LoadFile(in));
    for (int i = 0; i < reopened.GetPageCount(); ++i)
        reopened.GetPage(i)->RenderDirtyObjects();
    CSiteBuilder(OptionsFor(folder / "reopened/", false)).BuildWebsite(result, &reopened, buildForPublish);
    ASSERT_EQ(result.code, buildDone) << result.message;

    for (const char* page : {"index.html", "about.html", "contact.html"}) {
        const std::string first = ReadFileBytes(folder / "first/" + page);
        EXPECT_FALSE(first.empty());
        EXPECT_EQ(first, ReadFileBytes(folder / "second/" + page)) << page;
        EXPECT_EQ(first, ReadFileBytes(folder / "reopened/" + page)) << page;
    }
    EXPECT_EQ(Listing(folder / "first/files/"), Listing(folder / "reopened/files/"));
}

TEST_F(SiteBuildTest, BuildingLeavesThePagesAsTheUserLeftThem)
{
    CSitePage* welcome = site.GetPage(0);
    welcome->SelectItem(welcome->GetItem(2));
    welcome->AddToSelection(welcome->GetItem(0));
    site.MarkSaved();
    site.GetPage(1)->SetChangedSinceUpload(false);
    std::vector<PageState> before;
    for (int i = 0; i < site.GetPageCount(); ++i)
        before.push_back(StateOf(*site.GetPage(i)));

    SiteBuildResult result;
    CSiteBuilder(OptionsFor(folder / "out/", true)).BuildWebsite(result, &site, buildForPreview);
    ASSERT_EQ(result.code, buildDone) << result.message;
    for (int i = 0; i < site.GetPageCount(); ++i)
        EXPECT_EQ(StateOf(*site.GetPage(i)), before[i]) << "page " << i;
    EXPECT_TRUE(site.IsSaved());
}

TEST_F(SiteBuildTest, APageThatCannotBeWrittenFailsTheBuildNamingTheFile)
{
    const std::string out = folder / "out/";
    std::filesystem::create_directories(out + "about.html"); // a folder where the page belongs
    SiteBuildResult result;
    CSiteBuilder(OptionsFor(out, true)).BuildWebsite(result, &site, buildForPreview);
    EXPECT_EQ(result.code, buildWriteFailed);
    EXPECT_EQ(result.pageName, "about");
    EXPECT_NE(result.message.find("about.html"), std::string::npos) << result.message;
}

} // namespace

namespace {

// Every file under folder by its path inside it, with its bytes.
std::map<std::string, std::string> FilesUnder(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), folder).string()] = ReadFileBytes(entry.path().string());
    return files;
}

// The showcase site with busy pages added whose objects are not rendered yet, so that the build renders them:
// shapes with every effect, pictures, texts drawn as pictures, mouse-over twins (uncovered, as the build wants)
// and shapes covering each other.
void MakeBusySite(CWebsite& site, const std::filesystem::path& pictures)
{
    MakeShowcaseSite(site, pictures);
    const std::string photo = (pictures / "photo.jpg").string();
    NewPageSettings settings;
    settings.width = 800;
    settings.height = 600;
    settings.background.SetColor(CColor(248, 246, 240));
    for (int p = 0; p < 6; ++p) {
        CSitePage* page =
            site.AddPage(std::make_unique<CSitePage>(&site, "busy" + std::to_string(p), "Busy", settings));
        for (int i = 0; i < 24; ++i) {
            const double x = 60 + 90 * (i % 8) + 7 * p, y = 80 + 170 * (i / 8) + (i % 3) * 25;
            const CColor colour(static_cast<BYTE>(40 + 9 * i), static_cast<BYTE>(200 - 5 * i), static_cast<BYTE>(30 * p));
            switch (i % 6) {
            case 0: {
                auto circle = std::make_unique<CCircleObject>(x, y, SIZE{100, 80}, 0.0);
                circle->GetFill()->SetGradient(Gradient(1 + i % 3, 30 * p));
                circle->SetEffects(Effects(true, false, i % 4 == 0));
                page->AddObject(std::move(circle));
                break;
            }
            case 1:
                page->AddObject(PictureRectangle(x, y, 90, 70, photo));
                break;
            case 2: {
                auto star = Coloured(std::make_unique<CPolygonObject>(x, y, SIZE{90, 90}, 0.2 * p, 5 + i), colour);
                star->SetEffects(Effects(i % 2 == 0, true, i % 3 == 0));
                page->AddObject(std::move(star));
                break;
            }
            case 3: {
                auto text = MakeText(x, y, 110, {{"Glowing " + std::to_string(i), TextFormat()}});
                text->GetTextBody()->m_allowAdvanced = 1;
                text->SetEffects(Effects(false, false, true));
                page->AddObject(std::move(text));
                break;
            }
            case 4: {
                auto button = Coloured(std::make_unique<CRectangleObject>(x, y, SIZE{100, 50}, 0.0), colour);
                CPageItem* item = page->AddObject(std::move(button));
                auto over = Coloured(std::make_unique<CRectangleObject>(x, y, SIZE{100, 50}, 0.0), CColor(10, 20, 30));
                over->SetEffects(Effects(false, true, false));
                item->SetMouseOverObject(std::move(over));
                item->SetMouseOverShown(false);
                break;
            }
            default:
                page->AddObject(Coloured(std::make_unique<CRectangleObject>(x + 55, y + 20, SIZE{120, 90}, 0.3), colour));
                break;
            }
        }
    }
}

} // namespace

// The pictures are drawn and written on several threads: the files and their bytes are those of a build on one.
TEST(SiteBuild, OnManyThreadsWritesTheBytesOfABuildOnOne)
{
    ScratchFolder folder;
    for (const bool offline : {false, true}) {
        std::map<std::string, std::string> first;
        for (const unsigned threads : {1u, 2u, 7u}) {
            CWebsite site("/sites/busy.kst");
            MakeBusySite(site, folder / "pictures");
            GetLinkedFiles().clear();
            SiteBuildOptions options =
                OptionsFor(folder / ((offline ? "offline" : "online") + std::to_string(threads) + "/"), offline);
            options.threads = threads;
            SiteBuildResult result;
            CSiteBuilder(options).BuildWebsite(result, &site, offline ? buildForPreview : buildForPublish);
            ASSERT_EQ(result.code, buildDone) << result.message;
            const std::map<std::string, std::string> files = FilesUnder(options.siteFolder);
            if (first.empty()) {
                first = files;
                EXPECT_GT(first.size(), 100u);
                continue;
            }
            ASSERT_EQ(files.size(), first.size()) << threads << " threads";
            for (const auto& [name, bytes] : first) {
                const auto found = files.find(name);
                ASSERT_NE(found, files.end()) << name << " with " << threads << " threads";
                EXPECT_TRUE(found->second == bytes) << name << " differs with " << threads << " threads";
            }
        }
    }
}
