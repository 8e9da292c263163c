// Publishing a small site to a real FTP server on loopback, with the user's answers scripted.

#include "app/publish/site_upload.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/build/linked_files.h"
#include "app/model/app_settings.h"
#include "app/model/file_pair.h"
#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/objects/rectangle_object.h"
#include "app/publish/changed_pages.h"
#include "app/publish/publish_host.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "image/image.h"
#include "platform/io/io.h"
#include "testing/ftp_test_servers.h"
#include "testing/scoped_env.h"
#include "testing/scratch_folder.h"

namespace fs = std::filesystem;
using ftp_test::FtpServer;
using ftp_test::TheFtpServer;

namespace {

// A picture of smooth bands, or of noise, which compresses as little as a photograph does.
void WritePicture(const std::string& path, int width, int height, bool noise = false)
{
    unsigned seed = 7;
    fs::create_directories(fs::path(path).parent_path());
    CImage image(IMAGE_MODE_RGB, width, height);
    CPixMap map(IMAGE_MODE_RGB, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE* p = map.Sample(x, y, 0);
            p[0] = static_cast<BYTE>(x * 7);
            p[1] = static_cast<BYTE>(y * 5);
            p[2] = static_cast<BYTE>(x ^ y);
            if (noise)
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<BYTE>((seed = seed * 1103515245u + 12345u) >> 16);
        }
    image.SetBuf(0, 0, map);
    ASSERT_TRUE(CIO::SavePNG(path, image));
}

// The program around the upload: its settings, the current site, the tracker, and scripted dialogs.
class ScriptedProgram : public NullCoreServices,
                        public NullMessages,
                        public NullCurrentState,
                        public NullModelDialogs,
                        public NullPublishHost
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }
    CWebsite* GetCurrentSite() override { return site; }
    CChangedPages* GetChangedPages() override { return tracker; }
    DialogAnswer ShowPublishDialog(int id) override
    {
        dialogs.push_back(id);
        return DialogAnswer::ok;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& caption, const std::string&) override
    {
        questions.push_back(caption);
        return answerYes;
    }
    DialogAnswer ShowMissingDocumentDialog(MissingDocumentDialog& dialog) override
    {
        missing.push_back(dialog.m_missingPath);
        return DialogAnswer::ok;
    }

    CAppSettings settings;
    CWebsite* site = nullptr;
    CChangedPages* tracker = nullptr;
    bool answerYes = false;
    std::vector<int> dialogs;
    std::vector<std::string> questions;
    std::vector<std::string> missing;
    std::vector<std::string> messages;

private:
    SeamsInstalled<ScriptedProgram> m_installed{*this};
};

class SiteUploadTest : public ::testing::Test
{
protected:
    // The server's home is a scratch folder: it must be made before a test moves the temporary folder.
    static void SetUpTestSuite() { TheFtpServer(); }

    void SetUp() override
    {
        if (!TheFtpServer().Running())
            GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        www = "www-" + name;
        program.settings.m_ftpServer = "127.0.0.1";
        program.settings.m_ftpPort = TheFtpServer().Port();
        program.settings.m_ftpUser = FtpServer::kUser;
        program.settings.m_ftpPassword = FtpServer::kPassword;
        program.settings.m_ftpPassive = true;
        program.settings.m_ftpFolder = "/" + www + "/";
        program.site = &site;
        program.tracker = &tracker;
        GetLinkedFiles().clear();

        // A front page with a colour rectangle, a PNG picture and a document link; a second page with another
        // rectangle; a page named "error", whose file the server never gets.
        site.SetPath(folder / "sites/shop.kst");
        WritePicture(logo, 40, 30);
        fs::create_directories(folder / "docs");
        std::ofstream(document) << "price list";
        CSitePage* home = AddPage("home");
        site.SetHomePage(home);
        home->AddObject(std::make_unique<CRectangleObject>(60, 60, SIZE{80, 40}, 0.0));
        auto picture = std::make_unique<CRectangleObject>(200, 60, SIZE{40, 30}, 0.0);
        picture->GetFill()->SetImageFile(logo);
        CLinkInfo link;
        link.SetKind(CLinkInfo::kindFile);
        link.SetActive(true);
        link.SetFile(document);
        picture->SetLink(std::make_unique<CLinkInfo>(link));
        home->AddObject(std::move(picture));
        about = AddPage("about");
        about->AddObject(std::make_unique<CRectangleObject>(100, 100, SIZE{60, 60}, 0.0));
        AddPage("error");
        fs::create_directories(folder / "sites");
        ASSERT_TRUE(SaveSiteFile(site, site.GetPath()));
    }

    CSitePage* AddPage(const std::string& name) { return site.AddPage(std::make_unique<CSitePage>(&site, name, name)); }
    UploadReport Publish(bool reupload = false)
    {
        for (int i = 0; i < site.GetPageCount(); ++i)
            site.GetPage(i)->RenderDirtyObjects();
        CSiteUpload upload(site, tracker);
        return upload.Run(reupload);
    }
    std::string Remote(const std::string& path) const { return TheFtpServer().Home() + www + "/" + path; }
    // The files below the WWW folder, by path.
    std::vector<std::string> ServerTree() const
    {
        std::vector<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(Remote("")))
            files.push_back(fs::relative(entry.path(), Remote("")).string() + (entry.is_directory() ? "/" : ""));
        std::sort(files.begin(), files.end());
        return files;
    }
    static std::vector<std::string> Sorted(std::vector<std::string> list)
    {
        std::sort(list.begin(), list.end());
        return list;
    }

    ScratchFolder folder;
    ScratchFolder temporary;
    ScopedEnv runtime{"XDG_RUNTIME_DIR", nullptr};
    ScopedEnv tmpdir{"TMPDIR", temporary.Path().c_str()};
    std::string www;
    const std::string logo = folder / "pictures/logo.png";
    const std::string document = folder / "docs/price.pdf";
    CWebsite site{""};
    CSitePage* about = nullptr;
    CChangedPages tracker{folder / "ftpfile.dat"};
    ScriptedProgram program;
};

TEST_F(SiteUploadTest, TheFirstPublishSendsEverythingAndLeavesTheRecordAndABackup)
{
    // A start page of another name would hide the site's own.
    fs::create_directories(Remote(""));
    std::ofstream(Remote("index.htm")) << "old";
    const UploadReport report = Publish();
    ASSERT_TRUE(report.published);
    EXPECT_EQ(report.removed, std::vector<std::string>{"index.htm"});
    EXPECT_FALSE(report.again);
    EXPECT_EQ(program.dialogs, std::vector<int>{dialogPublished});

    std::vector<std::string> tree = ServerTree();
    ASSERT_EQ(tree.size(), 11u) << ::testing::PrintToString(tree);

    EXPECT_EQ(tree[0], "Backups/");
    EXPECT_EQ(tree[1].rfind("Backups/shop.[", 0), 0u) << tree[1];
    EXPECT_EQ(std::vector<std::string>(tree.begin() + 2, tree.end()),
              (std::vector<std::string>{"about.html", "db.qbx_shop.php", "files/", "files/Download/",
                                        "files/Download/price.pdf", "files/IMG_0.jpg", "files/IMG_2.jpg",
                                        "files/logo.png", "index.html"}))
        << ::testing::PrintToString(tree);
    // The record: the guard line, then every file with its size and hash.
    std::ifstream record(Remote("db.qbx_shop.php"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(record)), {});
    EXPECT_EQ(text.rfind("<?php exit(); ?>\r\n", 0), 0u);
    // "error.html" is recorded though never sent, without a hash of what nobody sees.
    const size_t error = text.find("error.html\t");
    ASSERT_NE(error, std::string::npos);
    const std::string errorLine = text.substr(error, text.find('\r', error) - error);
    EXPECT_EQ(std::count(errorLine.begin(), errorLine.end(), '\t'), 1) << errorLine;
    EXPECT_NE(text.find(document + "\t10\t" + FileContentHash(document) + "\r\n"), std::string::npos);
    EXPECT_EQ(report.sent.front(), "index.html");
    EXPECT_EQ(std::count(report.sent.begin(), report.sent.end(), "error.html"), 0);
    // The tracker now belongs to the site, and no page counts as changed.
    EXPECT_TRUE(tracker.IsSameSite());
    EXPECT_FALSE(site.GetPage(0)->IsChangedSinceUpload());
}

TEST_F(SiteUploadTest, TheNextPublishSendsThePagesAndTheChangedPictureOnly)
{
    ASSERT_TRUE(Publish().published);
    WritePicture(logo, 80, 60);
    site.GetPage(0)->GetItem(1)->GetCurrentObject()->GetFill()->SetImageFile(logo);
    program.answerYes = false;
    const UploadReport second = Publish();
    ASSERT_TRUE(second.published);
    const std::vector<std::string> expected = {"index.html", "about.html", "files/logo.png", "db.qbx_shop.php"};
    ASSERT_EQ(second.sent.size(), expected.size() + 1) << ::testing::PrintToString(second.sent);
    EXPECT_EQ(std::vector<std::string>(second.sent.begin(), second.sent.end() - 1), expected);
    EXPECT_EQ(second.sent.back().rfind("Backups/shop.[", 0), 0u);
    EXPECT_EQ(fs::file_size(Remote("files/logo.png")), fs::file_size(logo));
    // The transfer log agrees: one STOR a file sent.
    std::ifstream log(TransferLogPath(), std::ios::binary);
    const std::string conversation((std::istreambuf_iterator<char>(log)), {});
    size_t stores = 0;
    for (size_t at = conversation.find("STOR "); at != std::string::npos; at = conversation.find("STOR ", at + 1))
        ++stores;
    EXPECT_EQ(stores, second.sent.size()) << conversation;
    // "error.html" was recorded by the first run only, so it is the one name offered for deletion.
    EXPECT_EQ(program.questions, std::vector<std::string>{"Deleted Objects Notification"});
    // The answer was No: nothing went from the server.
    EXPECT_TRUE(second.removed.empty()) << ::testing::PrintToString(second.removed);
}

TEST_F(SiteUploadTest, EveryPublishRemovesTheOldStartPages)
{
    ASSERT_TRUE(Publish().published);
    // Put there by another program between two runs: a server may serve any of them in place of "index.html".
    for (const char* name : {"index.htm", "default.html", "default.htm"})
        std::ofstream(Remote(name)) << "other";
    program.answerYes = false;
    const UploadReport second = Publish();
    ASSERT_TRUE(second.published);
    EXPECT_EQ(second.removed, (std::vector<std::string>{"index.htm", "default.html", "default.htm"}));
    for (const char* name : {"index.htm", "default.html", "default.htm"})
        EXPECT_FALSE(fs::exists(Remote(name))) << name;
    EXPECT_TRUE(fs::exists(Remote("index.html")));
}

TEST_F(SiteUploadTest, ADeletedObjectsFileLeavesTheServerWhenTheUserAgrees)
{
    ASSERT_TRUE(Publish().published);
    ASSERT_TRUE(fs::exists(Remote("files/IMG_2.jpg")));
    about->RemoveItem(about->GetItem(0));
    program.answerYes = true;
    const UploadReport second = Publish();
    ASSERT_TRUE(second.published);
    EXPECT_NE(std::find(second.removed.begin(), second.removed.end(), "files/IMG_2.jpg"), second.removed.end());
    EXPECT_FALSE(fs::exists(Remote("files/IMG_2.jpg")));
    // What the site still shows stays.
    EXPECT_TRUE(fs::exists(Remote("files/IMG_0.jpg")));
    EXPECT_TRUE(fs::exists(Remote("files/logo.png")));
    EXPECT_TRUE(fs::exists(Remote("about.html")));
}

TEST_F(SiteUploadTest, AReuploadSendsEverythingAgain)
{
    const UploadReport first = Publish();
    ASSERT_TRUE(first.published);
    const UploadReport again = Publish(true);
    ASSERT_TRUE(again.published);
    EXPECT_EQ(Sorted(std::vector<std::string>(again.sent.begin(), again.sent.end() - 1)),
              Sorted(std::vector<std::string>(first.sent.begin(), first.sent.end() - 1)));
    EXPECT_TRUE(program.questions.empty());
}

TEST_F(SiteUploadTest, AMissingLinkedDocumentStopsBeforeConnecting)
{
    fs::remove(document);
    const UploadReport report = Publish();
    EXPECT_FALSE(report.published);
    EXPECT_EQ(program.missing, std::vector<std::string>{document});
    EXPECT_TRUE(report.sent.empty());
    EXPECT_FALSE(fs::exists(Remote("")));
}

TEST_F(SiteUploadTest, ANeverSavedSiteOffersSaveAsAndAnIncompleteSetupStops)
{
    site.SetPath("");
    EXPECT_FALSE(Publish().published);
    EXPECT_EQ(program.dialogs, std::vector<int>{dialogSaveBeforeSend});

    site.SetPath(folder / "sites/shop.kst");
    program.dialogs.clear();
    program.settings.m_ftpPassword.clear();
    EXPECT_FALSE(IsInternetSetupComplete());
    // The setup dialog answers as cancelled headless, so the run stops after the prompt.
    EXPECT_FALSE(Publish().published);
    EXPECT_EQ(program.dialogs, std::vector<int>{dialogSetupIncomplete});
}

TEST_F(SiteUploadTest, AWrongPasswordIsReportedAsALoginFailure)
{
    program.settings.m_ftpPassword = "wrong";
    EXPECT_FALSE(Publish().published);
    EXPECT_EQ(program.dialogs, std::vector<int>{dialogLoginFailed});
}

TEST_F(SiteUploadTest, RemovingThePublishedSiteEmptiesPagesAndFiles)
{
    ASSERT_TRUE(Publish().published);
    program.dialogs.clear();
    EXPECT_TRUE(RemovePublishedWebsite(site, tracker));
    EXPECT_EQ(program.dialogs, (std::vector<int>{dialogDeleteSiteFiles, dialogSiteDeleted}));
    const std::vector<std::string> tree = ServerTree();
    ASSERT_EQ(tree.size(), 3u) << ::testing::PrintToString(tree);
    EXPECT_EQ(tree[0], "Backups/");
    EXPECT_EQ(tree[2], "db.qbx_shop.php");
    EXPECT_FALSE(tracker.IsSameSite());

    // A site whose folder is not on the server is gone already.
    program.dialogs.clear();
    program.settings.m_ftpFolder = "/never-published";
    EXPECT_FALSE(RemovePublishedWebsite(site, tracker));
    EXPECT_EQ(program.dialogs, (std::vector<int>{dialogDeleteSiteFiles, dialogSiteDeleted}));
}

} // namespace

namespace {

// The figure the README gives: on a 20-page site where one picture changed, how many bytes the second publish
// sends for each byte that changed.
TEST_F(SiteUploadTest, ASecondPublishSendsLittleMoreThanWhatChanged)
{
    while (site.GetPageCount() < 20) {
        CSitePage* page = AddPage("page" + std::to_string(site.GetPageCount()));
        for (int i = 0; i < 6; ++i)
            page->AddObject(std::make_unique<CRectangleObject>(60 + 100 * i, 80, SIZE{80, 60 + 10 * i}, 0.1 * i));
    }
    ASSERT_TRUE(SaveSiteFile(site, site.GetPath()));
    const UploadReport first = Publish();
    ASSERT_TRUE(first.published);
    WritePicture(logo, 400, 300, true);
    site.GetPage(0)->GetItem(1)->GetCurrentObject()->GetFill()->SetImageFile(logo);
    const UploadReport second = Publish();
    ASSERT_TRUE(second.published);
    // Every page, the one picture, the record and the backup.
    EXPECT_EQ(second.sent.size(), 19u + 1 + 1 + 1) << ::testing::PrintToString(second.sent);
    EXPECT_EQ(std::count(second.sent.begin(), second.sent.end(), "files/logo.png"), 1);
    const double ratio = double(second.bytesSent) / double(fs::file_size(logo));
    RecordProperty("first_publish_bytes", std::to_string(first.bytesSent));
    RecordProperty("second_publish_bytes", std::to_string(second.bytesSent));
    std::printf("first publish %lld bytes, second %lld bytes for a changed picture of %lld bytes: %.2f sent per "
                "changed byte\n",
                first.bytesSent, second.bytesSent, static_cast<long long>(fs::file_size(logo)), ratio);
    // The commands of the second publish, from its transfer log, for each file it sent.
    std::ifstream log(TransferLogPath(), std::ios::binary);
    int commands = 0, folderChanges = 0, deletions = 0;
    for (std::string line; std::getline(log, line);) {
        if (line.rfind("> ", 0) != 0)
            continue;
        ++commands;
        folderChanges += line.rfind("> CWD ", 0) == 0;
        deletions += line.rfind("> DELE ", 0) == 0;
    }
    RecordProperty("second_publish_commands", commands);
    std::printf("second publish: %d commands for %zu files (%.2f per file), %d CWD, %d DELE\n", commands,
                second.sent.size(), double(commands) / double(second.sent.size()), folderChanges, deletions);
}

} // namespace

namespace {

std::vector<std::string> PairTargets(const CWebsite& site)
{
    std::vector<std::string> targets;
    for (int i = 0; i < site.GetFilePairCount(); ++i)
        targets.push_back(site.GetFilePair(i)->m_strTarget);
    return targets;
}

TEST_F(SiteUploadTest, AnUpdatedFlashListAddsTheFilesItNamesAndKeepsTheOthers)
{
    const std::string movie = folder / "flash/movie.xml";
    const std::string extra = folder / "extra/notes.txt";
    fs::create_directories(folder / "flash/pics");
    fs::create_directories(folder / "extra");
    std::ofstream(movie) << "<movie></movie>";
    std::ofstream(extra) << "notes";
    std::ofstream(folder / "flash/pics/a.jpg") << "jpeg";
    site.AppendFilePair(std::make_unique<CFilePair>(movie, "/movie.xml"));
    site.AppendFilePair(std::make_unique<CFilePair>(extra, "/notes.txt"));
    ASSERT_TRUE(Publish().published);

    // The list grows: one picture beside it, and names that would leave its folder.
    std::ofstream(movie) << "<movie><img src=\"pics/a.jpg\"/><img src=\"../evil.jpg\"/><img src=\"/etc/b.png\"/>"
                            "<img src=\"C:\\c.gif\"/></movie>";
    program.dialogs.clear();
    const UploadReport report = Publish();
    ASSERT_TRUE(report.published);
    EXPECT_TRUE(report.again);
    // The run asks to go again instead of telling that the site is published.
    EXPECT_TRUE(std::find(program.dialogs.begin(), program.dialogs.end(), dialogPublished) == program.dialogs.end());
    EXPECT_EQ(PairTargets(site), (std::vector<std::string>{"/movie.xml", "/notes.txt", "/pics/a.jpg"}));

    // The next run sends the new file into its folder.
    const UploadReport next = Publish();
    ASSERT_TRUE(next.published);
    EXPECT_FALSE(next.again);
    EXPECT_NE(std::find(next.sent.begin(), next.sent.end(), "pics/a.jpg"), next.sent.end());
    EXPECT_TRUE(fs::exists(Remote("pics/a.jpg")));
}

} // namespace

namespace {

TEST_F(SiteUploadTest, AnAdditionalFileNeverLeavesTheSitesFolderOnTheServer)
{
    const std::string extra = folder / "extra/notes.txt";
    fs::create_directories(folder / "extra");
    std::ofstream(extra) << "notes";
    site.AppendFilePair(std::make_unique<CFilePair>(extra, "/../outside/notes.txt"));
    const UploadReport report = Publish();
    EXPECT_FALSE(report.published);
    EXPECT_NE(std::find(program.dialogs.begin(), program.dialogs.end(), dialogUploadFailed), program.dialogs.end());
    EXPECT_FALSE(fs::exists(TheFtpServer().Home() + "outside"));
}

} // namespace

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A picture of one colour saved as GIF: its length does not depend on the colour.
void WriteOneColourGif(const std::string& path, BYTE red, BYTE green, BYTE blue)
{
    fs::create_directories(fs::path(path).parent_path());
    CImage image(IMAGE_MODE_RGB, 40, 30);
    CPixMap map(IMAGE_MODE_RGB, 40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            BYTE* p = map.Sample(x, y, 0);
            p[0] = red;
            p[1] = green;
            p[2] = blue;
        }
    image.SetBuf(0, 0, map);
    ASSERT_TRUE(CIO::SaveImage(path, image, 0, 90));
}

// The names the last run stored, from its transfer log.
std::vector<std::string> StoredNames()
{
    std::vector<std::string> names;
    std::istringstream log(ReadAll(TransferLogPath()));
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("> STOR ", 0) == 0)
            names.push_back(line.substr(7));
    }
    return names;
}

TEST_F(SiteUploadTest, AChangedPictureOfTheSameLengthReachesTheServerAndUnchangedFilesStayPut)
{
    const std::string dot = folder / "pictures/dot.gif";
    WriteOneColourGif(dot, 200, 0, 0);
    auto picture = std::make_unique<CRectangleObject>(300, 200, SIZE{40, 30}, 0.0);
    picture->GetFill()->SetImageFile(dot);
    about->AddObject(std::move(picture));
    ASSERT_TRUE(Publish().published);
    const std::string before = ReadAll(dot);
    ASSERT_EQ(ReadAll(Remote("files/dot.gif")), before);

    WriteOneColourGif(dot, 0, 0, 200);
    const std::string after = ReadAll(dot);
    ASSERT_EQ(after.size(), before.size());
    ASSERT_NE(after, before);
    const UploadReport second = Publish();
    ASSERT_TRUE(second.published);
    EXPECT_EQ(std::count(second.sent.begin(), second.sent.end(), "files/dot.gif"), 1)
        << ::testing::PrintToString(second.sent);
    EXPECT_EQ(ReadAll(Remote("files/dot.gif")), after);

    // Nothing changed: the pages go, as on every run, with the record and the backup; no other file.
    const UploadReport third = Publish();
    ASSERT_TRUE(third.published);
    const std::vector<std::string> stored = StoredNames();
    ASSERT_EQ(stored.size(), 4u) << ::testing::PrintToString(stored);
    EXPECT_EQ(std::vector<std::string>(stored.begin(), stored.begin() + 3),
              (std::vector<std::string>{"index.html", "about.html", "db.qbx_shop.php"}));
    EXPECT_EQ(stored[3].rfind("shop.[", 0), 0u) << stored[3];
}

TEST_F(SiteUploadTest, ARecordOfTheOldFormStillLeadsToACorrectUpload)
{
    ASSERT_TRUE(Publish().published);
    // The record as a run that kept no hashes wrote it: name, tab, size.
    std::istringstream record(ReadAll(Remote("db.qbx_shop.php")));
    std::string oldForm;
    for (std::string line; std::getline(record, line);) {
        const size_t first = line.find('\t');
        const size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
        oldForm += (second == std::string::npos ? line : line.substr(0, second) + "\r") + "\n";
    }
    ASSERT_EQ(oldForm.find(FileContentHash(logo)), std::string::npos);
    std::ofstream(Remote("db.qbx_shop.php"), std::ios::binary | std::ios::trunc) << oldForm;

    WritePicture(logo, 80, 60);
    const UploadReport second = Publish();
    ASSERT_TRUE(second.published);
    EXPECT_EQ(std::vector<std::string>(second.sent.begin(), second.sent.end() - 1),
              (std::vector<std::string>{"index.html", "about.html", "files/logo.png", "db.qbx_shop.php"}));
    EXPECT_EQ(ReadAll(Remote("files/logo.png")), ReadAll(logo));
    // The new record holds the hashes again.
    EXPECT_NE(ReadAll(Remote("db.qbx_shop.php"))
                  .find("logo.png\t" + std::to_string(fs::file_size(logo)) + "\t" + FileContentHash(logo)),
              std::string::npos);
}

TEST_F(SiteUploadTest, ARecordLargerThanAnySitesIsRefusedAndEverythingIsSentAgain)
{
    const UploadReport first = Publish();
    ASSERT_TRUE(first.published);
    fs::resize_file(Remote("db.qbx_shop.php"), kMaxServerRecordBytes + 1);
    const UploadReport second = Publish();
    ASSERT_TRUE(second.published);
    ASSERT_EQ(program.messages.size(), 1u);
    EXPECT_NE(program.messages[0].find("db.qbx_shop.php"), std::string::npos) << program.messages[0];
    EXPECT_EQ(Sorted(std::vector<std::string>(second.sent.begin(), second.sent.end() - 1)),
              Sorted(std::vector<std::string>(first.sent.begin(), first.sent.end() - 1)));
    EXPECT_TRUE(program.questions.empty()) << "nothing is offered for deletion on a full upload";
    EXPECT_LT(fs::file_size(Remote("db.qbx_shop.php")), 4096u) << "the run replaced it";
}

} // namespace

namespace {

TEST_F(SiteUploadTest, RemovingThePublishedSiteFollowsTheOldUploadListOnlyWithinItsBound)
{
    for (const bool oversized : {false, true}) {
        SCOPED_TRACE(oversized);
        ASSERT_TRUE(Publish().published);
        program.messages.clear();
        fs::create_directories(Remote("old"));
        std::ofstream(Remote("old/page.html")) << "old";
        // One entry: "old/page.html".
        const std::string name = "old/page.html";
        std::string list = {1, 0, 0, 0, static_cast<char>(name.size()), 0, 0, 0};
        std::ofstream(Remote("qbx.uploaded"), std::ios::binary | std::ios::trunc) << list + name;
        if (oversized)
            fs::resize_file(Remote("qbx.uploaded"), kMaxLegacyListBytes + 1);

        EXPECT_TRUE(RemovePublishedWebsite(site, tracker));
        EXPECT_EQ(fs::exists(Remote("old/page.html")), oversized);
        EXPECT_EQ(fs::exists(Remote("qbx.uploaded")), oversized);
        EXPECT_EQ(program.messages.size(), oversized ? 1u : 0u);
        EXPECT_FALSE(fs::exists(Remote("index.html"))) << "the rest of the removal goes on";
    }
}

} // namespace
