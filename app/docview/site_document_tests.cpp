#include "app/docview/site_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/model/app_settings.h"
#include "app/objects/circle_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_editing_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_services_fake.h"
#include "app/site/website.h"
#include "testing/scratch_folder.h"

namespace {

// The dialogs answer from a script and every call is recorded.
class FakeHost : public NullDocumentHost
{
public:
    SaveChangesAnswer AskSaveChanges() override
    {
        ++questions;
        return answer;
    }
    bool PromptSaveSiteFile(const std::string& suggestion, std::string& path) override
    {
        suggestions.push_back(suggestion);
        if (chosen.empty())
            return false;
        path = chosen.front();
        chosen.erase(chosen.begin());
        return true;
    }
    void ShowChangesNotSaved() override { ++notSavedNotices; }
    void ShowSaveError() override { ++saveErrors; }
    void ShowOpenError(const std::string&) override { ++openErrors; }
    void AddToRecentFiles(const std::string& path) override { recent.push_back(path); }
    void SaveChangedPages(CWebsite&) override { ++trackerSaves; }
    void WriteLocalWebsite(CWebsite&, const std::string& basePath) override { localCopies.push_back(basePath); }
    void CloseAllDocuments() override { ++closedAll; }
    bool RunRemoveFilesDialog(CWebsite&, std::vector<int>& checks) override
    {
        if (!removeOk)
            return false;
        checks = removeChecks;
        return true;
    }
    std::vector<PageView*> GetViews() override { return views; }
    std::string GetDocumentsFolder() override { return documents; }
    bool RunPageDefaultsDialog(CWebsite&) override
    {
        ++pageDefaultsRuns;
        return pageDefaultsOk;
    }

    SaveChangesAnswer answer = SaveChangesAnswer::yes;
    int questions = 0;
    std::vector<std::string> chosen;
    std::vector<std::string> suggestions;
    int notSavedNotices = 0, saveErrors = 0, openErrors = 0, trackerSaves = 0, closedAll = 0;
    std::vector<std::string> recent;
    std::vector<std::string> localCopies;
    bool removeOk = true;
    std::vector<int> removeChecks;
    std::vector<PageView*> views;
    int pageDefaultsRuns = 0;
    bool pageDefaultsOk = false;
    std::string documents;
};

class AppSettingsServices : public SiteServicesFake
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }
    CAppSettings settings;
};

class DocumentTest : public ::testing::Test
{
protected:
    DocumentTest() : doc(host)
    {
        services.settings.m_kstPath = folder.Path();
        doc.AttachSite(MakeSite());
    }

    static std::unique_ptr<CWebsite> MakeSite(const std::string& path = {})
    {
        CFillStyle background;
        background.SetColor(CColor(230, 240, 250));
        auto site = std::make_unique<CWebsite>(path, "Club", background, false, 400, 300, 0, CColor(0, 0, 255),
                                               CColor(128, 0, 128));
        CSitePage* front =
            site->AddPage(std::make_unique<CSitePage>(site.get(), "index", "Home", site->GetNewPageSettings()));
        front->AddObject(std::make_unique<CRectangleObject>(100, 80, SIZE{120, 60}, 0.2));
        front->AddObject(std::make_unique<CCircleObject>(250, 150, SIZE{90, 90}, 0.0));
        site->SetHomePage(front);
        site->AddPage(std::make_unique<CSitePage>(site.get(), "about", "About", site->GetNewPageSettings()));
        site->SetModified();
        return site;
    }

    CWebsite& Site() { return *doc.GetSite(); }

    // The files in the scratch folder, by name.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::string Bytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    static std::vector<BYTE> Saved(CWebsite& site)
    {
        CMemFile file;
        EXPECT_TRUE(site.Write(file, false, {}, {}));
        return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
    }

    AppSettingsServices services;
    ScratchFolder folder;
    FakeHost host;
    COrvelDoc doc;
};

TEST(SitePaths, ConvertedSitesCarryV6InTheirName)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/sites/club.kst", "/sites/club-v6.kst"},         {"/sites/club", "/sites/club-v6"},
        {"/sites/Club.KST", "/sites/Club-v6.kst"},         {"/sites/club-v6.kst", "/sites/club-v6.kst"},
        {"/sites-v6/club.kst", "/sites-v6/club.kst"}, // a folder with the mark counts as converted
        {"/sites/club.kst.bak", "/sites/club.kst.bak-v6"},
    };
    for (const auto& [path, converted] : cases)
        EXPECT_EQ(ConvertedSitePath(path), converted) << path;
    EXPECT_EQ(WithSiteExtension("/s/club-v6"), "/s/club-v6.kst");
    EXPECT_EQ(WithSiteExtension("/s/club.KST"), "/s/club.KST");
    EXPECT_EQ(WithoutSiteExtension("/s/club-v6.kst"), "/s/club-v6");
    EXPECT_EQ(WithoutSiteExtension("/s/club"), "/s/club");
}

TEST_F(DocumentTest, SaveWritesTheConvertedNameAndKeepsItsExtension)
{
    for (const std::string name : {"club.kst", "club"}) {
        Site().SetPath(folder / name);
        Site().SetModified();
        doc.OnFileSave();
        EXPECT_EQ(Site().GetPath(), folder / "club-v6.kst") << name;
        EXPECT_TRUE(Site().IsSaved());
        // Nothing but the site file is left: no temporary file.
        EXPECT_EQ(Files(), std::vector<std::string>{"club-v6.kst"});
    }
    // Saving again writes the same file.
    Site().SetModified();
    doc.OnFileSave();
    EXPECT_EQ(Site().GetPath(), folder / "club-v6.kst");
    EXPECT_EQ(Files(), std::vector<std::string>{"club-v6.kst"});
    EXPECT_EQ(host.localCopies.back(), folder / "club-v6");
    EXPECT_EQ(host.saveErrors, 0);
    EXPECT_EQ(host.trackerSaves, 3);
    EXPECT_TRUE(host.recent.empty()); // the path was never new
}

TEST_F(DocumentTest, SaveOfANewSiteAsksWhereAndRemembersTheFolder)
{
    host.chosen = {folder / "new"};
    doc.OnFileSave();
    EXPECT_EQ(host.suggestions, std::vector<std::string>{folder / "Club"});
    EXPECT_EQ(Site().GetPath(), folder / "new-v6.kst");
    EXPECT_EQ(host.recent, std::vector<std::string>{folder / "new-v6.kst"});
    EXPECT_EQ(services.settings.m_kstPath, folder.Path());

    // Cancelling the dialog writes nothing.
    COrvelDoc other(host);
    other.AttachSite(MakeSite());
    other.OnFileSave();
    EXPECT_EQ(Files(), std::vector<std::string>{"new-v6.kst"});
    EXPECT_FALSE(other.GetSite()->IsSaved());
}

TEST_F(DocumentTest, SaveAsThenOpenGivesTheSameSite)
{
    host.chosen = {folder / "copy.kst"};
    doc.OnFileSaveAs();
    EXPECT_EQ(Site().GetPath(), folder / "copy-v6.kst");
    EXPECT_TRUE(Site().IsSaved());
    // A site never saved is offered under its name; without a documents folder, in the folder of site files.
    EXPECT_EQ(host.suggestions, std::vector<std::string>{folder / "Club"});

    COrvelDoc opened(host);
    ASSERT_TRUE(opened.OnOpenDocument(folder / "copy-v6.kst"));
    CWebsite& site = *opened.GetSite();
    ASSERT_EQ(site.GetPageCount(), 2);
    EXPECT_EQ(site.GetPage(0)->GetItemCount(), 2);
    EXPECT_EQ(site.GetCurrentPage(), site.GetPage(0));
    EXPECT_EQ(Saved(site), Saved(Site()));

    EXPECT_FALSE(opened.OnOpenDocument(folder / "missing.kst"));
    std::ofstream(folder / "junk.kst") << "not a site";
    EXPECT_FALSE(opened.OnOpenDocument(folder / "junk.kst"));
    EXPECT_EQ(host.openErrors, 2);
}

// A site without a file (one made from a theme keeps the theme's name) is first offered a place in the documents
// folder under its own name, whichever of Save, Save As or the question before closing asks where; the folder the
// settings keep for site files may be the program's own theme folder.
TEST_F(DocumentTest, ASiteWithoutAFileIsOfferedItsNameInTheDocumentsFolder)
{
    host.documents = "/home/ann/Papers/";
    const struct
    {
        std::string name, offered;
    } cases[] = {
        {"Corner Shop", "/home/ann/Papers/Corner Shop"},
        {"Caf\xE9 / Bar", "/home/ann/Papers/Caf\xC3\xA9 - Bar"}, // Windows-1252 in the site, UTF-8 on disk
        {"", "/home/ann/Papers/Untitled"},
        {"..", "/home/ann/Papers/Untitled"},
    };
    for (const auto& c : cases) {
        Site().SetName(c.name);
        host.suggestions.clear();
        doc.OnFileSaveAs();
        doc.OnFileSave();
        EXPECT_FALSE(doc.SaveModifiedBeforeClose(CloseReason::closing));
        EXPECT_EQ(host.suggestions, std::vector<std::string>(3, c.offered)) << c.name;
    }
    EXPECT_FALSE(Site().IsSaved());
}

int FailingRename(const char*, const char*)
{
    errno = EIO;
    return -1;
}

TEST_F(DocumentTest, AnInterruptedSaveLeavesTheOldFileAndNoTemporaryFile)
{
    const std::string path = folder / "club-v6.kst";
    Site().SetPath(path);
    doc.OnFileSave();
    const std::string before = Bytes(path);
    ASSERT_FALSE(before.empty());

    Site().GetPage(0)->AddObject(std::make_unique<CRectangleObject>(20, 20, SIZE{10, 10}, 0.0));
    doc.SetRenameFunction(&FailingRename);
    doc.OnFileSave(); // the user cancels the offer of another place
    EXPECT_EQ(Bytes(path), before);
    EXPECT_EQ(Files(), std::vector<std::string>{"club-v6.kst"});
    EXPECT_EQ(host.notSavedNotices, 1);
    EXPECT_EQ(host.suggestions, std::vector<std::string>{path});
    EXPECT_EQ(host.saveErrors, 1);
    EXPECT_FALSE(Site().IsSaved());
    EXPECT_EQ(Site().GetPath(), path);
}

TEST_F(DocumentTest, AFailedSaveMayGoToAnotherPlace)
{
    std::filesystem::create_directory(folder / "other");
    Site().SetPath("/nonexistent-folder/club.kst");
    host.chosen = {folder / "other/club"};
    doc.OnFileSave();
    EXPECT_EQ(host.notSavedNotices, 1);
    EXPECT_EQ(host.saveErrors, 0);
    // The site follows the file that was written, not the one it could not write.
    EXPECT_EQ(Site().GetPath(), folder / "other/club.kst");
    EXPECT_TRUE(std::filesystem::exists(folder / "other/club.kst"));
    EXPECT_TRUE(Site().IsSaved());
}

TEST_F(DocumentTest, AFailedSaveAsKeepsTheSitesPath)
{
    Site().SetPath(folder / "club-v6.kst");
    host.chosen = {"/nonexistent-folder/copy.kst"};
    doc.OnFileSaveAs();
    ASSERT_FALSE(host.suggestions.empty());
    EXPECT_EQ(host.suggestions[0], folder / "club-v6.kst") << "the dialog starts at the site";
    EXPECT_EQ(host.saveErrors, 1);
    EXPECT_EQ(Site().GetPath(), folder / "club-v6.kst");
    EXPECT_FALSE(Site().IsSaved());
}

TEST_F(DocumentTest, TheCloseQuestionsThreeAnswers)
{
    struct Case
    {
        SaveChangesAnswer answer;
        bool proceeds, written;
    };
    const Case cases[] = {
        {SaveChangesAnswer::yes, true, true},
        {SaveChangesAnswer::no, true, false},
        {SaveChangesAnswer::cancel, false, false},
    };
    for (const Case& c : cases) {
        const std::string path = folder / "club.kst";
        std::filesystem::remove(path);
        Site().SetPath(path);
        Site().SetModified();
        host.answer = c.answer;
        EXPECT_EQ(doc.CanCloseFrame(1), c.proceeds);
        EXPECT_EQ(std::filesystem::exists(path), c.written);
        EXPECT_EQ(Site().IsSaved(), c.written);
    }
    EXPECT_EQ(host.questions, 3);

    // A saved site, or one window of two, closes without a question.
    EXPECT_TRUE(doc.CanCloseFrame(2));
    Site().MarkSaved();
    EXPECT_TRUE(doc.CanCloseFrame(1));
    EXPECT_EQ(host.questions, 3);
}

TEST_F(DocumentTest, ClosingANeverSavedSiteAsksWhereToSaveIt)
{
    host.chosen = {folder / "untitled"};
    EXPECT_TRUE(doc.SaveModifiedBeforeClose(CloseReason::closing));
    EXPECT_EQ(Site().GetPath(), folder / "untitled.kst");
    EXPECT_EQ(host.recent, std::vector<std::string>{folder / "untitled.kst"});
    EXPECT_EQ(host.trackerSaves, 1);

    // Replacing the site suggests the site's name and leaves the recent files and the tracker alone.
    COrvelDoc other(host);
    other.AttachSite(MakeSite());
    EXPECT_FALSE(other.SaveModifiedBeforeClose(CloseReason::replacing));
    EXPECT_EQ(host.suggestions.back(), folder / "Club");
    EXPECT_EQ(host.recent.size(), 1u);
    EXPECT_EQ(host.trackerSaves, 1);
}

TEST_F(DocumentTest, CloseWebsite)
{
    host.answer = SaveChangesAnswer::cancel;
    doc.OnFileClose();
    EXPECT_EQ(host.closedAll, 0);
    host.answer = SaveChangesAnswer::no;
    doc.OnFileClose();
    EXPECT_EQ(host.closedAll, 1);
    EXPECT_EQ(services.codes.back(), CSitePage::kCommandDone);
}

TEST_F(DocumentTest, AnEmptyTextEditedInPlaceIsRemovedBeforeASave)
{
    CSitePage* page = Site().GetPage(0);
    CPageItem* item = page->AddObject(text_editing_testing::MakeText(100, {""}));
    page->SelectItem(item);
    page->SetEditedObject(item->GetCurrentObject());
    page->SetEditingInPlace(true);
    services.ShowPage(page);
    host.views = {services.View()};

    Site().SetPath(folder / "club.kst");
    doc.OnFileSave();
    EXPECT_EQ(page->GetItemCount(), 2);
    // Its going is a step of the page's history, which keeps the item.
    EXPECT_EQ(static_cast<RecordingUndoManager*>(page->GetUndoManager())->recorded, std::vector<int>{1});
    EXPECT_FALSE(page->IsEditingInPlace());
    EXPECT_EQ(services.erasedViews, 1);

    COrvelDoc opened(host);
    ASSERT_TRUE(opened.OnOpenDocument(folder / "club-v6.kst"));
    EXPECT_EQ(opened.GetSite()->GetPage(0)->GetItemCount(), 2);
}

TEST_F(DocumentTest, IncludedFilesOfAnOldSiteMoveBesideTheSavedFile)
{
    Site().AppendFilePair(std::make_unique<CFilePair>("C:\\old\\a.gif", "/img/a.gif"));
    Site().SetOldVersionMarker(CWebsite::kIncludedFilesRebased);
    Site().SetPath(folder / "club.kst");
    doc.OnFileSave();
    EXPECT_EQ(Site().GetFilePair(0)->m_strSource, folder / "club-v6_website/img/a.gif");
    EXPECT_EQ(Site().GetOldVersionMarker(), CWebsite::kIncludedFilesRebuilt);
    // The converted site was written at once.
    COrvelDoc opened(host);
    ASSERT_TRUE(opened.OnOpenDocument(folder / "club-v6.kst"));
    EXPECT_EQ(opened.GetSite()->GetFilePair(0)->m_strSource, folder / "club-v6_website/img/a.gif");
}

TEST_F(DocumentTest, AddingAndRemovingIncludedFiles)
{
    services.filesChosen = true;
    services.filesResult.m_chosen = {"/d/a.gif", "/d/b.gif", "/d/c.gif"};
    services.filesResult.m_placements = {
        {"/d/a.gif", "/d/a.gif", "/a.gif"}, {"/d/b.gif", "/d/b.gif", "/b.gif"}, {"/d/c.gif", "/d/c.gif", "/c.gif"}};
    doc.OnAddFiles();
    ASSERT_EQ(Site().GetFilePairCount(), 3);
    EXPECT_TRUE(doc.CanRemoveFiles());

    host.removeChecks = {1, 0, 1};
    services.answerYes = false;
    doc.OnRemoveFiles();
    EXPECT_EQ(Site().GetFilePairCount(), 3);
    host.removeOk = false;
    services.answerYes = true;
    doc.OnRemoveFiles();
    EXPECT_EQ(Site().GetFilePairCount(), 3);

    host.removeOk = true;
    doc.OnRemoveFiles();
    ASSERT_EQ(Site().GetFilePairCount(), 1);
    EXPECT_EQ(Site().GetFilePair(0)->m_strSource, "/d/b.gif");
    EXPECT_EQ(services.beeps, 2);
    EXPECT_FALSE(Site().IsSaved());

    host.removeChecks = {1};
    doc.OnRemoveFiles();
    EXPECT_FALSE(doc.CanRemoveFiles());
}

TEST_F(DocumentTest, PageDefaultsNeedAPageNotInTextEditingAndOkMarksTheSiteChanged)
{
    Site().MarkSaved();
    Site().SetCurrentPage(nullptr);
    EXPECT_FALSE(doc.CanPageDefaults());
    Site().SetCurrentPage(Site().GetPage(1));
    Site().GetPage(1)->SetEditingInPlace(true);
    EXPECT_FALSE(doc.CanPageDefaults());
    doc.OnPageDefaults();
    EXPECT_EQ(host.pageDefaultsRuns, 0);

    Site().GetPage(1)->SetEditingInPlace(false);
    doc.OnPageDefaults();
    EXPECT_EQ(host.pageDefaultsRuns, 1);
    EXPECT_TRUE(Site().IsSaved()) << "cancelled";

    host.pageDefaultsOk = true;
    host.views = {services.View(), services.View()};
    doc.OnPageDefaults();
    EXPECT_FALSE(Site().IsSaved());
    EXPECT_EQ(services.erasedViews, 2);
}

TEST_F(DocumentTest, FrontPageFallsBackToTheFirstPage)
{
    EXPECT_EQ(GetFrontOrFirstPage(Site()), Site().GetPage(0));
    Site().GetPage(0)->SetFrontPage(false);
    Site().GetPage(1)->SetFrontPage(false);
    EXPECT_EQ(Site().GetHomePage(), nullptr);
    EXPECT_EQ(GetFrontOrFirstPage(Site()), Site().GetPage(0));
    CWebsite empty("/x.kst");
    EXPECT_EQ(GetFrontOrFirstPage(empty), nullptr);
}

TEST_F(DocumentTest, ShowPageEntriesSortWithoutCase)
{
    CWebsite site("/x.kst");
    for (const char* name : {"b", "A", "c"})
        site.AddPage(std::make_unique<CSitePage>(&site, name, name));
    site.SetHomePage(site.GetPage(2));
    std::vector<std::string> texts;
    for (const ShowPageEntry& entry : BuildShowPageEntries(site, " (front page)"))
        texts.push_back(entry.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"A", "b", "c (front page)"}));
}

TEST(PictureScale, TheRelativelyLongerSideKeepsItsLength)
{
    const SIZE picture{200, 100}, min{1, 1}, max{2000, 2000};
    const std::pair<SIZE, SIZE> cases[] = {
        {{100, 100}, {200, 100}},
        {{300, 100}, {300, 150}},
        {{400, 200}, {400, 200}},
    };
    for (const auto& [size, scaled] : cases) {
        const SIZE result = ScaleToPicture(size, picture, min, max);
        EXPECT_EQ(result.cx, scaled.cx);
        EXPECT_EQ(result.cy, scaled.cy);
    }
    EXPECT_EQ(ScaleToPicture({300, 100}, picture, min, {2000, 120}).cy, 120);
    EXPECT_EQ(ScaleToPicture({300, 100}, {0, 0}, min, max).cy, 100);
}

} // namespace
