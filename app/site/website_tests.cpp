#include "app/site/website.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/model/link_info.h"
#include "app/objects/html_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_object_fake.h"
#include "app/site/site_services_fake.h"
#include "testing/scratch_folder.h"

namespace {

class WebsiteTest : public ::testing::Test
{
protected:
    // A saved site with pages named Page0, Page1 ...; the first is the front page.
    CSitePage* AddPage(const std::string& name)
    {
        auto page = std::make_unique<CSitePage>(&site, name, name + " title", site.GetNewPageSettings());
        page->SetFrontPage(site.GetPageCount() == 0);
        return site.AddPage(std::move(page));
    }

    // A rectangle on the page whose link is of the kind, on or off, to page target.
    CRectangleObject* AddLinkedRectangle(CSitePage* page, int kind, bool active, int target)
    {
        auto rectangle = std::make_unique<CRectangleObject>(50, 50, SIZE{20, 20}, 0.0);
        auto link = std::make_unique<CLinkInfo>();
        link->SetKind(kind);
        link->SetActive(active);
        link->SetPage(target);
        rectangle->SetLink(std::move(link));
        CRectangleObject* result = rectangle.get();
        page->AddObject(std::move(rectangle));
        return result;
    }

    // A plain text object of two characters, both carrying the same link.
    CTextObject* AddLinkedText(CSitePage* page, const CLinkInfo& link)
    {
        auto text = std::make_unique<CTextObject>(200, 100, SIZE{80, 30}, 0.0);
        for (char c : std::string("ab"))
            text->GetTextBody()->m_paragraphs[0].m_chars.push_back(
                MakeTextChar(static_cast<BYTE>(c), 0, 12, false, false, false, 0, link));
        CTextObject* result = text.get();
        page->AddObject(std::move(text));
        return result;
    }

    SiteServicesFake services;
    CWebsite site{"/sites/mine.kst"};
};

TEST_F(WebsiteTest, NewSiteStartsSavedWithCurrentVersionAndWhiteColours)
{
    CWebsite fresh("", "My site", CFillStyle(), true, 800, 1200, 1, CColor(1, 2, 3), CColor(4, 5, 6));
    EXPECT_TRUE(fresh.IsSaved());
    EXPECT_EQ(fresh.GetFileMajor(), 5);
    EXPECT_EQ(fresh.GetFileMinor(), 15);
    EXPECT_EQ(fresh.GetCustomColor(15), RGB(255, 255, 255));
    EXPECT_EQ(fresh.GetReservedValue(4), 65535);
    EXPECT_EQ(fresh.GetPageCount(), 0);
    EXPECT_EQ(fresh.GetCurrentPage(), nullptr);
    const NewPageSettings settings = fresh.GetNewPageSettings();
    EXPECT_TRUE(settings.centered);
    EXPECT_EQ(settings.width, 800);
    EXPECT_EQ(settings.height, 1200);
    EXPECT_EQ(settings.doctype, 1);

    EXPECT_EQ(site.GetPageWidth(), 740);
    EXPECT_EQ(site.GetPageHeight(), 600);
    EXPECT_EQ(site.GetLinkColor().GetCOLORREF(), RGB(0, 0, 255));
    EXPECT_EQ(site.GetVisitedLinkColor().GetCOLORREF(), RGB(128, 0, 128));
}

TEST_F(WebsiteTest, NamesLongerThanTheFileHoldsAreCut)
{
    site.SetName(std::string(2000, 'n'));
    EXPECT_EQ(site.GetName().size(), size_t(CWebsite::kMaxNameLength));
    site.SetText(2, std::string(30000, 't'));
    EXPECT_EQ(site.GetText(2).size(), size_t(kMaxStringLength));
}

TEST_F(WebsiteTest, NewPageNamesSkipTakenNamesAndIncludedPageFiles)
{
    for (int i = 0; i < 3; ++i)
        AddPage("Page" + std::to_string(i));
    EXPECT_EQ(site.MakeNewPageName(), "Page3");
    site.AppendFilePair(std::make_unique<CFilePair>("/x/p.html", "/PAGE3.HTML"));
    EXPECT_EQ(site.MakeNewPageName(), "Page4");

    EXPECT_FALSE(site.IsPageNameFree("page1"));
    EXPECT_EQ(site.FindPageByName("PAGE2"), site.GetPage(2));
    EXPECT_EQ(site.FindPageByName("Page9"), nullptr);
}

TEST_F(WebsiteTest, AddingAPageMakesItCurrentAndHomePageIsUnique)
{
    CSitePage* first = AddPage("a");
    CSitePage* second = AddPage("b");
    EXPECT_EQ(site.GetCurrentPage(), second);
    EXPECT_EQ(site.GetHomePage(), first);

    site.MarkSaved();
    site.SetHomePage(second);
    EXPECT_EQ(site.GetHomePage(), second);
    EXPECT_FALSE(first->IsFrontPage());
    EXPECT_FALSE(first->IsSaved());
    EXPECT_FALSE(site.IsSaved());
}

TEST_F(WebsiteTest, SavedStateCoversTheSiteAndEveryPage)
{
    AddPage("a");
    CSitePage* page = AddPage("b");
    site.MarkSaved();
    EXPECT_TRUE(site.IsSaved());

    const int titles = services.titleUpdates;
    page->SetTitle("changed");
    EXPECT_FALSE(page->IsSaved());
    EXPECT_FALSE(site.IsSaved());
    EXPECT_GT(services.titleUpdates, titles);
}

TEST_F(WebsiteTest, DeletingAPageCountsTheActiveLinksToItAndMovesLaterLinksDown)
{
    CSitePage* front = AddPage("home");
    CSitePage* doomed = AddPage("doomed");
    CSitePage* last = AddPage("last");
    AddLinkedRectangle(front, CLinkInfo::kindPage, true, 1);
    AddLinkedRectangle(last, CLinkInfo::kindPage, true, 1);
    AddLinkedRectangle(last, CLinkInfo::kindPage, false, 1);
    AddLinkedRectangle(last, CLinkInfo::kindUrl, true, 1);
    CRectangleObject* toLast = AddLinkedRectangle(front, CLinkInfo::kindPage, true, 2);
    CLinkInfo toDoomed;
    toDoomed.SetKind(CLinkInfo::kindPage);
    toDoomed.SetActive(true);
    toDoomed.SetPage(1);
    // A text counts once, however many of its characters carry the link.
    AddLinkedText(front, toDoomed);
    services.pageAfterClose = last;

    ASSERT_TRUE(site.DeletePage(doomed));
    EXPECT_EQ(services.messages,
              std::vector<std::string>{"There are 3 links to this page on your site. They will also be removed."});
    EXPECT_EQ(site.GetPageCount(), 2);
    EXPECT_EQ(site.GetCurrentPage(), last);
    EXPECT_FALSE(front->GetItem(0)->GetCurrentObject()->GetLink()->IsActive());
    EXPECT_EQ(toLast->GetLink()->GetPage(), 1);
    EXPECT_EQ(services.codes.back(), CSitePage::kCommandDone);
    EXPECT_FALSE(site.IsSaved());
}

TEST_F(WebsiteTest, DeletePageMessagesByLinkCount)
{
    struct Case
    {
        int links;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {0, {}},
        {1, {"There is 1 link to this page on your site. It will also be removed."}},
    };
    for (const Case& c : cases) {
        services.messages.clear();
        CWebsite other("/s.kst");
        auto front = std::make_unique<CSitePage>(&other, "a", "a");
        front->SetFrontPage(true);
        CSitePage* home = other.AddPage(std::move(front));
        CSitePage* doomed = other.AddPage(std::make_unique<CSitePage>(&other, "b", "b"));
        for (int i = 0; i < c.links; ++i)
            AddLinkedRectangle(home, CLinkInfo::kindPage, true, 1);
        ASSERT_TRUE(other.DeletePage(doomed));
        EXPECT_EQ(services.messages, c.messages) << c.links;
    }
}

TEST_F(WebsiteTest, DeletingTheFrontPageMakesTheFirstPageTheFrontPage)
{
    CSitePage* front = AddPage("home");
    CSitePage* next = AddPage("next");
    AddPage("third");
    ASSERT_TRUE(site.DeletePage(front));
    EXPECT_EQ(site.GetHomePage(), next);
    EXPECT_EQ(site.GetPage(0), next);
    EXPECT_EQ(site.GetCurrentPage(), nullptr);
}

TEST_F(WebsiteTest, DeclinedDeletionChangesNothing)
{
    AddPage("home");
    CSitePage* doomed = AddPage("doomed");
    site.MarkSaved();
    services.deletePageAnswer = DialogAnswer::cancel;
    EXPECT_FALSE(site.DeletePage(doomed));
    EXPECT_EQ(site.GetPageCount(), 2);
    EXPECT_EQ(services.closedWindows, 0);
    EXPECT_TRUE(site.IsSaved());
}

TEST_F(WebsiteTest, ReservedNamesNeedAPathAndSkipTheFrontPageAndEmptyNames)
{
    AddPage("home");
    AddPage("about");
    AddPage("");
    CWebsite unsaved("");
    unsaved.BuildReservedFileNames();
    EXPECT_TRUE(unsaved.GetReservedNames().empty());

    site.BuildReservedFileNames();
    EXPECT_EQ(site.GetReservedNames(), (std::vector<std::string>{"files", "default.htm", "default.html", "index.htm",
                                                                 "index.html", "about.html"}));
}

class RebaseTest : public WebsiteTest
{
protected:
    void Touch(const std::string& path)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << "x";
    }

    ScratchFolder scratch;
    const std::string folder = scratch.Path();
};

TEST_F(RebaseTest, IncludedFilesFromElsewhereMoveUnderTheCompanionFolder)
{
    site.AppendFilePair(std::make_unique<CFilePair>("C:\\Old\\pics\\a.gif", "/pics/a.gif"));
    site.AppendFilePair(std::make_unique<CFilePair>("/home/old/b.css", "/b.css"));
    CSitePage* page = AddPage("home");
    CRectangleObject* document = AddLinkedRectangle(page, CLinkInfo::kindFile, true, 0);
    document->GetLink()->SetFile("C:\\Docs\\report.pdf");
    CRectangleObject* off = AddLinkedRectangle(page, CLinkInfo::kindFile, false, 0);
    off->GetLink()->SetFile("C:\\Docs\\old.pdf");
    CLinkInfo textDocument;
    textDocument.SetKind(CLinkInfo::kindFile);
    textDocument.SetActive(true);
    textDocument.SetFile("D:\\Texts\\notes.txt");
    CTextObject* text = AddLinkedText(page, textDocument);
    site.MarkSaved();

    site.RebaseFilePaths(folder, "mine.kst");
    EXPECT_EQ(site.GetOldVersionMarker(), CWebsite::kIncludedFilesRebased);
    EXPECT_EQ(site.GetFilePair(0)->m_strSource, folder + "mine_website/pics/a.gif");
    EXPECT_EQ(site.GetFilePair(1)->m_strSource, folder + "mine_website/b.css");
    EXPECT_EQ(document->GetLink()->GetFile(), folder + "mine_website/files/Download/report.pdf");
    EXPECT_EQ(off->GetLink()->GetFile(), "C:\\Docs\\old.pdf");
    for (const CTextChar& ch : text->GetTextBody()->m_paragraphs[0].m_chars)
        EXPECT_EQ(ch.m_link.GetFile(), folder + "mine_website/files/Download/notes.txt");
    EXPECT_FALSE(site.IsSaved());
}

TEST_F(RebaseTest, FilesAlreadyInTheOpenedFolderStay)
{
    site.AppendFilePair(std::make_unique<CFilePair>("C:\\Old\\a.gif", "/a.gif"));
    site.AppendFilePair(std::make_unique<CFilePair>(folder + "mine_website/b.gif", "/b.gif"));
    site.RebaseFilePaths(folder, "mine.kst");
    EXPECT_EQ(site.GetFilePair(0)->m_strSource, "C:\\Old\\a.gif");
    EXPECT_NE(site.GetOldVersionMarker(), CWebsite::kIncludedFilesRebased);
}

// A site opened where it was saved is as it was on disk: it is not marked changed, and without included files it
// is not marked for their rebuild either (which would save it twice).
TEST_F(RebaseTest, ASiteOpenedWhereItWasSavedStaysUnchanged)
{
    CRectangleObject* document = AddLinkedRectangle(AddPage("home"), CLinkInfo::kindFile, true, 0);
    document->GetLink()->SetFile(folder + "mine_website/files/Download/report.pdf");
    site.MarkSaved();
    site.RebaseFilePaths(folder, "mine.kst");
    EXPECT_TRUE(site.IsSaved());
    EXPECT_NE(site.GetOldVersionMarker(), CWebsite::kIncludedFilesRebased);

    site.AppendFilePair(std::make_unique<CFilePair>(folder + "mine_website/a.gif", "/a.gif"));
    site.RebaseFilePaths(folder, "mine.kst");
    EXPECT_TRUE(site.IsSaved());
    EXPECT_NE(site.GetOldVersionMarker(), CWebsite::kIncludedFilesRebased);
}

TEST_F(RebaseTest, OlderFilesTryTheCompanionFolderWithTheExtensionFirst)
{
    // A companion folder named with ".kst" serves while files are found in it; at the first file missing there
    // the name drops ".kst" for that file and every later one. (A current site drops the first ".kst" of its
    // file name at once, so the file here has two.)
    CWebsite old("/x/old.kst");
    Touch(folder + "old.kst_website/a.gif");
    old.AppendFilePair(std::make_unique<CFilePair>("C:\\a.gif", "/a.gif"));
    old.AppendFilePair(std::make_unique<CFilePair>("C:\\b.gif", "/b.gif"));
    old.AppendFilePair(std::make_unique<CFilePair>("C:\\c.gif", "/c.gif"));
    old.RebaseFilePaths(folder, "old.kst.kst");
    EXPECT_EQ(old.GetFilePair(0)->m_strSource, folder + "old.kst_website/a.gif");
    EXPECT_EQ(old.GetFilePair(1)->m_strSource, folder + "old_website/b.gif");
    EXPECT_EQ(old.GetFilePair(2)->m_strSource, folder + "old_website/c.gif");
}

class FileListsTest : public WebsiteTest
{
protected:
    void Choose(std::vector<std::string> chosen, std::vector<FilePlacement> placements)
    {
        services.filesChosen = true;
        services.filesResult.m_chosen = std::move(chosen);
        services.filesResult.m_placements = std::move(placements);
    }

    std::vector<std::pair<std::string, std::string>> Pairs() const
    {
        std::vector<std::pair<std::string, std::string>> pairs;
        for (int i = 0; i < site.GetFilePairCount(); ++i)
            pairs.emplace_back(site.GetFilePair(i)->m_strSource, site.GetFilePair(i)->m_strTarget);
        return pairs;
    }
};

TEST_F(FileListsTest, ChosenFilesAreIncludedAtEveryNewPlace)
{
    site.AppendFilePair(std::make_unique<CFilePair>("/d/a.gif", "/a.gif"));
    Choose({"/d/a.gif", "/d/missing.gif"}, {{"/d/a.gif", "/d/a.gif", "/a.gif"},
                                            {"/d/a.gif", "/d/a.gif", "/pics/a.gif"},
                                            {"/d/a.gif", "/other/a.gif", "/x/a.gif"}});
    const std::pair<void (CWebsite::*)(), FilesDialogKind> commands[] = {
        {&CWebsite::OnAddFiles, kAddFilesDialog},
        {&CWebsite::OnAddFilesFromXml, kAddFilesFromXmlDialog},
        {&CWebsite::OnFilePlacementWizard, kFilePlacementWizard},
    };
    for (const auto& [command, kind] : commands) {
        (site.*command)();
        EXPECT_EQ(services.dialogKinds.back(), kind);
        // The known place is skipped, the new one taken once, the placement of another file ignored.
        EXPECT_EQ(Pairs(), (std::vector<std::pair<std::string, std::string>>{{"/d/a.gif", "/a.gif"},
                                                                             {"/d/a.gif", "/pics/a.gif"}}));
    }
    EXPECT_EQ(site.GetChosenFiles().size(), 2u);
    EXPECT_FALSE(site.IsSaved());
}

TEST_F(FileListsTest, LocalFilesDifferingInCaseAreTwoFiles)
{
    site.AppendFilePair(std::make_unique<CFilePair>("/d/Logo.gif", "/a/Logo.gif"));
    Choose({"/d/logo.gif"},
           {{"/d/logo.gif", "/d/logo.gif", "/A/logo.gif"}, {"/d/Logo.gif", "/d/Logo.gif", "/b/x.gif"}});
    site.OnAddFiles();
    // The remote place compares without case, the local file with it.
    EXPECT_EQ(Pairs(), (std::vector<std::pair<std::string, std::string>>{{"/d/Logo.gif", "/a/Logo.gif"},
                                                                         {"/d/logo.gif", "/A/logo.gif"}}));
}

TEST_F(FileListsTest, WizardFitsTheSelectedHtmlObjectToTheProgram)
{
    struct Case
    {
        int width, height;
        bool marker;
        int fittedWidth, fittedHeight;
    };
    const Case cases[] = {{100, 100, false, 640, 480}, {800, 600, false, 800, 600}, {100, 100, true, 100, 100}};
    // The object's step goes to the page of the view it is shown in.
    services.ShowPage(AddPage("Page0"));
    for (const Case& c : cases) {
        CHtmlObject object(POINT{10, 10}, c.width, c.height);
        services.currentObject = &object;
        services.viewUndoKinds.clear();
        Choose({"/app/movie.xml"}, {{"/app/movie.xml", "/app/movie.xml", "/movie.xml"}});
        services.filesResult.m_flash = {
            true, "<object>", c.marker, c.marker ? 1 : 640, c.marker ? 1 : 480, {"/app/movie.xml"}};
        site.OnFilePlacementWizard();
        EXPECT_EQ(services.viewUndoKinds, std::vector<int>{static_cast<int>(UndoKind::geometry)});
        EXPECT_EQ(c.marker ? object.GetHeaderHtml() : object.GetHtmlCode(), "<object>");
        EXPECT_EQ(object.GetUsedFiles(), std::vector<std::string>{"/app/movie.xml"});
        RECT bounds;
        object.GetBounds(bounds);
        EXPECT_EQ(bounds.right - bounds.left, c.fittedWidth);
        EXPECT_EQ(bounds.bottom - bounds.top, c.fittedHeight);
    }
    services.currentObject = nullptr;
    EXPECT_EQ(Pairs(), (std::vector<std::pair<std::string, std::string>>{{"/app/movie.xml", "/movie.xml"}}));
}

TEST_F(FileListsTest, CancelledDialogLocksTheExistingFilesAndChangesNothingElse)
{
    AddPage("home");
    AddPage("about");
    site.AppendFilePair(std::make_unique<CFilePair>("/d/a.gif", "/a.gif"));
    site.MarkSaved();
    site.OnAddFiles();
    EXPECT_EQ(site.GetFilePairCount(), 1);
    EXPECT_EQ(site.GetFilePair(0)->m_dwFlags, 7u);
    EXPECT_EQ(services.reservedSeen.back(), "about.html");
    EXPECT_EQ(services.pairsSeen, 1u);
    EXPECT_TRUE(site.IsSaved());
}

TEST_F(FileListsTest, PublisherOperations)
{
    site.AppendFilePair(std::make_unique<CFilePair>("a", "x"));
    site.AddFilePairs({"a", "b"}, {"x", "y"});
    EXPECT_EQ(Pairs(), (std::vector<std::pair<std::string, std::string>>{{"a", "x"}, {"a", "x"}, {"b", "y"}}));
    EXPECT_EQ(site.GetFilePair(0)->m_dwFlags, 7u);
    EXPECT_EQ(site.GetFilePair(2)->m_dwFlags, 0u);

    site.SetFilePairs({"c"}, {"z", "ignored"});
    EXPECT_EQ(Pairs(), (std::vector<std::pair<std::string, std::string>>{{"c", "z"}}));

    site.MarkSaved();
    site.RemoveFilePairAt(1);
    site.RemoveFilePair("nothing");
    EXPECT_TRUE(site.IsSaved());
    site.RemoveFilePair("C");
    EXPECT_EQ(site.GetFilePairCount(), 0);
    EXPECT_FALSE(site.IsSaved());
}

TEST_F(FileListsTest, PublishedFilesIgnoreCase)
{
    site.AddPublishedFile("index.html");
    site.AddPublishedFile("pics/A.gif");
    site.AddPublishedFile("PICS/a.GIF");
    EXPECT_EQ(site.GetPublishedFiles().size(), 2u);
    EXPECT_EQ(site.FindPublishedFile("pics/a.gif"), 1);
    EXPECT_EQ(site.FindPublishedFile("none"), -1);
    site.RemovePublishedFile("INDEX.HTML");
    EXPECT_EQ(site.GetPublishedFiles(), std::vector<std::string>{"pics/A.gif"});
}

} // namespace
