#include "app/build/site_builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "app/build/repaint_test_support.h"
#include "app/objects/rectangle_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "testing/scratch_folder.h"

namespace {

// Records what the run reports and asks to stop at the given poll (1 = the first), never when 0.
class RecordingProgress : public BuildProgress
{
public:
    explicit RecordingProgress(int cancelAtPoll = 0) : m_cancelAtPoll(cancelAtPoll) {}

    void SetPhase(const std::string& text) override { phases.push_back(text); }
    void SetStep(int step) override
    {
        this->step = step;
        steps.push_back(step);
    }
    void StepIt() override { position += step; }
    void SetPos(int pos) override
    {
        position = pos;
        positions.push_back(pos);
    }
    bool IsCancelRequested() override { return ++polls == m_cancelAtPoll; }

    std::vector<std::string> phases;
    std::vector<int> steps;
    std::vector<int> positions;
    int step = 0;
    int position = 0;
    int polls = 0;

private:
    int m_cancelAtPoll;
};

class SiteBuilderTest : public ::testing::Test
{
protected:
    CSitePage* AddPage(const std::string& name)
    {
        auto page = std::make_unique<CSitePage>(&site, name, name);
        return site.AddPage(std::move(page));
    }
    static CPageItem* AddRectangle(CSitePage* page, double x, double y, int width, int height)
    {
        return page->AddObject(std::make_unique<CRectangleObject>(x, y, SIZE{width, height}, 0.0));
    }
    SiteBuildOptions Options(const std::string& siteFolder) const
    {
        SiteBuildOptions options;
        options.offline = 1;
        options.siteFolder = siteFolder;
        options.filesFolder = siteFolder + "files/";
        return options;
    }

    ScratchFolder folder;
    CWebsite site{"/sites/a.kst"};
};

TEST_F(SiteBuilderTest, StepsArePageSharesRoundedHalfUpAndTheBarEndsJustShortOfTheTop)
{
    for (const char* name : {"a", "b", "c"})
        AddPage(name);
    CSiteBuilder builder(Options(folder / "out/"));
    RecordingProgress progress;
    SiteBuildResult result;
    builder.BuildWebsite(result, &site, buildForPreview, &progress);
    ASSERT_EQ(result.code, buildDone) << result.message;
    // 100000 / 3 and 700000 / 3, rounded half up.
    EXPECT_EQ(progress.steps, (std::vector<int>{33333, 33333, 233333, 33333}));
    EXPECT_EQ(progress.positions, (std::vector<int>{100000, 200000, 900000, kBuildProgressEnd - 1}));
    EXPECT_EQ(progress.polls, 9); // after each page of the check, the pictures and the writing

    // One page: the whole share in one step.
    CWebsite one("/sites/one.kst");
    one.AddPage(std::make_unique<CSitePage>(&one, "only", "only"));
    RecordingProgress single;
    CSiteBuilder(Options(folder / "one/")).BuildWebsite(result, &one, buildForPreview, &single);
    EXPECT_EQ(single.steps, (std::vector<int>{100000, 100000, 700000, 100000}));
}

TEST_F(SiteBuilderTest, CancelStopsEachPhaseWithCodeThree)
{
    AddPage("a");
    AddPage("b");
    // Polls: 1-2 after the check of each page, 3-4 after each page's pictures, 5-6 after each page file.
    for (int poll : {1, 2, 3, 5, 6}) {
        CSiteBuilder builder(Options(folder / ("cancel" + std::to_string(poll) + "/")));
        RecordingProgress progress(poll);
        SiteBuildResult result;
        builder.BuildWebsite(result, &site, buildForPreview, &progress);
        EXPECT_EQ(result.code, buildCancelled) << "poll " << poll;
        EXPECT_EQ(progress.polls, poll);
        EXPECT_TRUE(result.pageName.empty());
        // The records stay for the caller to read.
        EXPECT_EQ(builder.GetPageRecords().size(), 2u);
    }
}

TEST_F(SiteBuilderTest, OutputFoldersAreMadeOneLevelDeepOrTheRunEndsWithCodeFive)
{
    AddPage("a");
    SiteBuildResult result;
    CSiteBuilder(Options(folder / "new/")).BuildWebsite(result, &site, buildForPreview);
    EXPECT_EQ(result.code, buildDone) << result.message;
    EXPECT_TRUE(std::filesystem::is_directory(folder / "new/files"));

    const std::string deep = folder / "missing/parent/";
    CSiteBuilder(Options(deep)).BuildWebsite(result, &site, buildForPreview);
    EXPECT_EQ(result.code, buildFolderFailed);
    EXPECT_NE(result.message.find(deep), std::string::npos) << result.message;
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));

    // A file where the files folder belongs.
    std::filesystem::create_directories(folder / "clash");
    std::ofstream(folder / "clash/files") << "x";
    CSiteBuilder(Options(folder / "clash/")).BuildWebsite(result, &site, buildForPreview);
    EXPECT_EQ(result.code, buildFolderFailed);
}

TEST_F(SiteBuilderTest, ReadOnlyFilesLeftByAnEarlierBuildBecomeWritable)
{
    AddPage("a");
    const std::string files = folder / "out/files/";
    std::filesystem::create_directories(files + "sub");
    std::ofstream(files + "old.jpg") << "x";
    ::chmod((files + "old.jpg").c_str(), 0444);
    ::chmod((files + "sub").c_str(), 0555);
    SiteBuildResult result;
    CSiteBuilder(Options(folder / "out/")).BuildWebsite(result, &site, buildForPreview);
    struct stat st;
    ASSERT_EQ(::stat((files + "old.jpg").c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
    ASSERT_EQ(::stat((files + "sub").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0555u);
    ::chmod((files + "sub").c_str(), 0755);
}

TEST_F(SiteBuilderTest, OnlyItemsReachingOntoThePageGetRecordsAndTheHomePageIsIndex)
{
    CSitePage* home = AddPage("start");
    CSitePage* other = AddPage("about");
    site.SetHomePage(home);
    CPageItem* inside = AddRectangle(home, 50, 50, 20, 20);
    AddRectangle(home, -100, 50, 20, 20);                      // wholly left of the page
    CPageItem* edge = AddRectangle(home, home->GetWidth(), 50, 20, 20); // half on the page
    (void)other;

    CSiteBuilder builder(Options(folder / "out/"));
    SiteBuildResult result;
    builder.BuildWebsite(result, &site, buildForPreview);
    const auto& records = builder.GetPageRecords();
    ASSERT_EQ(records.size(), 2u);
    ASSERT_EQ(records[0]->objects.size(), 2u);
    EXPECT_EQ(records[0]->objects[0]->item, inside);
    EXPECT_EQ(records[0]->objects[1]->item, edge);
    EXPECT_EQ(records[0]->name, "index.html");
    EXPECT_EQ(records[0]->fileName, "index.html");
    EXPECT_EQ(records[1]->name, "about");
    EXPECT_EQ(records[1]->fileName, "about.html");
    EXPECT_EQ(builder.FindPageFileName("about"), "about.html");
    EXPECT_EQ(builder.FindPageFileName("nowhere"), "");
}

TEST_F(SiteBuilderTest, ACoveredMouseOverItemStopsTheRunWithCodeOne)
{
    CSitePage* page = AddPage("gallery");
    CPageItem* below = AddRectangle(page, 30, 30, 20, 20);
    CPageItem* hover = AddRectangle(page, 100, 100, 40, 40);
    hover->SetMouseOverObject(std::make_unique<CRectangleObject>(100, 100, SIZE{40, 40}, 0.0));
    hover->SetMouseOverShown(false);
    (void)below;

    // Covering only what lies below it passes.
    SiteBuildResult result;
    CSiteBuilder(Options(folder / "ok/")).BuildWebsite(result, &site, buildForPreview);
    EXPECT_EQ(result.code, buildDone) << result.message;

    AddRectangle(page, 120, 120, 40, 40);
    CSiteBuilder builder(Options(folder / "covered/"));
    builder.BuildWebsite(result, &site, buildForPreview);
    EXPECT_EQ(result.code, buildMouseOverCovered);
    EXPECT_EQ(result.pageName, "gallery");
    EXPECT_EQ(result.item, hover);
    EXPECT_FALSE(result.message.empty());
    // Nothing was written: the check comes before the folders.
    EXPECT_FALSE(std::filesystem::exists(folder / "covered"));
}

TEST_F(SiteBuilderTest, NoSiteBuildsNothing)
{
    CSiteBuilder builder(Options(folder / "out/"));
    SiteBuildResult result;
    result.code = buildWriteFailed;
    builder.BuildWebsite(result, nullptr, buildForPublish);
    EXPECT_EQ(result.code, buildDone);
    EXPECT_TRUE(builder.GetPageRecords().empty());
}

} // namespace

namespace {

TEST_F(SiteBuilderTest, WithoutAMarkedHomePageTheFirstPageIsIndexAndOnlyOnePageEverIs)
{
    // A site read from a file may mark no page, or more than one, as its home page.
    AddPage("first");
    CSitePage* second = AddPage("second");
    CSitePage* third = AddPage("third");
    for (const bool markTwo : {false, true}) {
        if (markTwo) {
            second->SetFrontPage(true);
            third->SetFrontPage(true);
        }
        CSiteBuilder builder(Options(folder / (markTwo ? "two/" : "none/")));
        SiteBuildResult result;
        builder.BuildWebsite(result, &site, buildForPreview);
        ASSERT_EQ(result.code, buildDone) << result.message;
        std::vector<std::string> files;
        for (const auto& record : builder.GetPageRecords())
            files.push_back(record->fileName);
        EXPECT_EQ(files, markTwo ? (std::vector<std::string>{"first.html", "index.html", "third.html"})
                                 : (std::vector<std::string>{"index.html", "second.html", "third.html"}));
    }
}

} // namespace

namespace {

// While the pool composes a page's pictures, what this thread does between the steps (the progress window yields,
// and the view repaints the page it shows) renders nothing of that page. An object whose effects failed for want of
// memory stays dirty; once memory is back, a repaint would render it again and change the image and bounds the
// pool's threads are reading. The repaint draws it as it stands instead, and it renders once the build is over.
TEST_F(SiteBuilderTest, APageWhosePicturesAreBeingComposedIsDrawnAsItStands)
{
    CSitePage* page = AddPage("a");
    site.SetHomePage(page);
    for (int i = 0; i < 12; ++i)
        AddRectangle(page, 40 + 50 * i, 60, 40, 30);
    render_testing::FailingGlow failing = render_testing::RectangleWhoseGlowFails(200, 200);
    CPageItem* item = page->AddObject(std::move(failing.object));
    page->RenderDirtyObjects();
    ASSERT_TRUE(item->NeedsImageUpdate()) << "the effects were meant to fail";

    render_testing::RepaintingProgress progress(*item, *failing.effects, [page] {
        page->RenderDirtyObjects();
        page->DrawAreas({CRect(0, 0, page->GetWidth(), page->GetHeight())}, true, false,
                        [](const CRect&, const BYTE*, int) {});
    });
    SiteBuildOptions options = Options(folder / "out/");
    options.threads = 4;
    SiteBuildResult result;
    CSiteBuilder(options).BuildWebsite(result, &site, buildForPreview, &progress);
    EXPECT_EQ(result.code, buildDone) << result.message;
    ASSERT_GT(progress.repaints, 0);
    EXPECT_EQ(progress.rendered, 0) << "the page was rendered while its pictures were being composed";

    page->RenderDirtyObjects();
    EXPECT_FALSE(item->NeedsImageUpdate()) << "after the build the page renders again";
}

TEST_F(SiteBuilderTest, PageNamesThatCannotNameTheirOwnFileStopTheBuildBeforeAnythingIsWritten)
{
    // Names no page gets in the program, as a damaged or foreign site file may carry them.
    const std::vector<std::vector<std::string>> sites = {
        {"home", "../escaped"}, {"home", "sub/page"}, {"home", ".."}, {"home", ""}, {"home", "About", "about"}};
    for (const auto& names : sites) {
        CWebsite hostile("/sites/hostile.kst");
        for (const std::string& name : names)
            hostile.AddPage(std::make_unique<CSitePage>(&hostile, name, name));
        hostile.SetHomePage(hostile.GetPage(0));
        const std::string out = folder / "out/";
        SiteBuildResult result;
        CSiteBuilder(Options(out)).BuildWebsite(result, &hostile, buildForPreview);
        EXPECT_EQ(result.code, buildWriteFailed) << names.back();
        EXPECT_EQ(result.pageName, names.back());
        EXPECT_FALSE(std::filesystem::exists(out)) << names.back();
        EXPECT_FALSE(std::filesystem::exists(folder / "escaped.html"));
    }
}

} // namespace
