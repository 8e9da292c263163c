// Publishing from the program's menu to the loopback FTP server: Send runs from the event loop with the main window
// disabled under the progress window, and the server ends up holding the site.

#include "app/shell/publish_menu.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <wx/dialog.h>
#include <wx/menu.h>

#include "app/dialogs/internet_setup.h"
#include "app/dialogs/site_folder_dlg.h"
#include "app/dialogs/site_folder_tree.h"
#include "app/objects/rectangle_object.h"
#include "app/publish/site_upload.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_test_support.h"
#include "platform/gui/window_picture.h"
#include "testing/ftp_test_servers.h"
#include "testing/test_output.h"

namespace {

namespace fs = std::filesystem;
using ftp_test::FtpServer;
using ftp_test::TheFtpServer;

wxDialog* ProgressWindow()
{
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsShown() && dialog->FindWindow(1184))
            return dialog;
    return nullptr;
}

// The program's own services, with the publisher's notices recorded in place of shown; while the upload runs it
// checks that the main window is disabled and takes the progress window's picture once.
class PublishingServices : public CProgramServices
{
public:
    DialogAnswer ShowPublishDialog(int id) override
    {
        dialogs.push_back(id);
        return DialogAnswer::cancel;
    }
    // The program keeps each upload phase's status line on screen a moment for whoever watches; the pause is kept,
    // made short, as nobody watches a test.
    static constexpr int kPhasePauseMs = 20;
    void UpdateUploadProgress(int pauseMs) override
    {
        CProgramServices::UpdateUploadProgress(std::min(pauseMs, kPhasePauseMs));
        ++updates;
        if (GetTheMainFrame() && GetTheMainFrame()->IsEnabled())
            mainWindowEnabledDuringUpload = true;
        if (cancel && ProgressWindow()) {
            cancel = false;
            wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
            ProgressWindow()->ProcessWindowEvent(click);
        }
        if (picture && ProgressWindow()) {
            picture = false;
            const fs::path folder = TestOutputFolder() / "shell";
            fs::create_directories(folder);
            for (int i = 0; i < 3; ++i)
                Settle();
            pictureTaken = SaveWindowPicture(ProgressWindow(), (folder / "408_send.png").string());
        }
    }
    std::vector<int> dialogs;
    int updates = 0;
    bool mainWindowEnabledDuringUpload = false;
    bool picture = true;
    bool pictureTaken = false;
    bool cancel = false;
};

class PublishMenuTest : public ShellTest
{
protected:
    PublishingServices program;
    std::optional<SeamsInstalled<PublishingServices>> programSeams;

    void TearDown() override
    {
        programSeams.reset();
        Close();
    }

    void Open(const std::string& www)
    {
        Start();
        program.SetMainFrame(frame);
        programSeams.emplace(program);
        CAppSettings& settings = frame->GetSettings();
        settings.m_ftpServer = "127.0.0.1";
        settings.m_ftpPort = TheFtpServer().Port();
        settings.m_ftpUser = FtpServer::kUser;
        settings.m_ftpPassword = FtpServer::kPassword;
        settings.m_ftpPassive = true;
        settings.m_ftpFolder = "/" + www + "/";
        auto site = std::make_unique<CWebsite>(scratch / "Sites/bakery.kst");
        site->AddPage(std::make_unique<CSitePage>(site.get(), "Home", "Home"));
        site->GetPage(0)->AddObject(std::make_unique<CRectangleObject>(80, 100, SIZE{80, 60}, 0.0));
        fs::create_directories(scratch / "Sites");
        ASSERT_TRUE(SaveSiteFile(*site, site->GetPath()));
        site->MarkSaved();
        frame->GetOpenSite().OpenSite(std::move(site));
        Settle();
    }
    void Command(int id)
    {
        wxCommandEvent command(wxEVT_MENU, id);
        frame->ProcessWindowEvent(command);
    }
};

TEST_F(PublishMenuTest, SendPublishesTheSiteUnderTheProgressWindow)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    Open("www-send");
    Command(ID_SEND);
    // The upload waits for the event loop.
    EXPECT_EQ(program.updates, 0);
    Settle();
    EXPECT_GT(program.updates, 0);
    EXPECT_FALSE(program.mainWindowEnabledDuringUpload);
    EXPECT_TRUE(program.pictureTaken);
    EXPECT_EQ(program.dialogs, std::vector<int>{dialogPublished});
    const std::string www = TheFtpServer().Home() + "www-send/";
    EXPECT_TRUE(fs::exists(www + "index.html"));
    EXPECT_TRUE(fs::exists(www + "db.qbx_bakery.php"));
    EXPECT_TRUE(fs::exists(www + "Backups"));
    // The progress window went with the upload, and the main window takes input again.
    EXPECT_EQ(ProgressWindow(), nullptr);
    EXPECT_TRUE(frame->IsEnabled());
}

TEST_F(PublishMenuTest, CancelEndsTheRunWithoutANoticeAndLeavesNoRecord)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    Open("www-cancel");
    program.picture = false;
    program.cancel = true;
    Command(ID_SEND);
    Settle();
    EXPECT_GT(program.updates, 0);
    EXPECT_EQ(program.dialogs, std::vector<int>{});
    EXPECT_FALSE(fs::exists(TheFtpServer().Home() + "www-cancel/db.qbx_bakery.php"));
    EXPECT_EQ(ProgressWindow(), nullptr);
    EXPECT_TRUE(frame->IsEnabled());
}

TEST_F(PublishMenuTest, UploadEntryNamesTheMatchingProfile)
{
    Open("www-entry");
    wxMenu menu;
    menu.Append(ID_UPLOAD, "-");
    wxUpdateUIEvent update(ID_UPLOAD);
    update.SetEventObject(&menu);
    ASSERT_TRUE(frame->GetCommands().Update(update));
    EXPECT_EQ(update.GetText(), "Upload");
    EXPECT_FALSE(update.GetEnabled());

    CInternetSetup destination;
    destination.Load(frame->GetSettings());
    CFtpProfile profile = destination.Fields();
    profile.m_strName = "Loopback";
    frame->GetSettings().SetFtpProfiles({profile});
    wxUpdateUIEvent again(ID_UPLOAD);
    ASSERT_TRUE(frame->GetCommands().Update(again));
    EXPECT_EQ(again.GetText(), "Upload to Loopback");
    EXPECT_TRUE(again.GetEnabled());
}

} // namespace

namespace {

std::string FileText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Works the Add Files dialog with the mouse and the keyboard: Browse, New Folder named "docs", Add All.
void PlaceTwoFilesInANewFolder(CAddFilesDLG& dialog)
{
    ASSERT_TRUE(SettleUntil([&] { return dialog.IsShownOnScreen(); }));
    ClickOnScreen(dialog.FindWindow(1631));
    ASSERT_TRUE(SettleUntil([&] { return dialog.GetListed().size() == 2; }));
    CSiteFolderTree& tree = *dialog.GetTree();
    ASSERT_EQ(tree.GetSelection(), tree.GetRootItem());
    ClickOnScreen(dialog.FindWindow(1622));
    ASSERT_TRUE(SettleUntil([&] { return tree.GetEditControl() != nullptr; }));
    wxUIActionSimulator keyboard;
    keyboard.Text("docs");
    keyboard.Char(WXK_RETURN);
    ASSERT_TRUE(SettleUntil([&] {
        const CSiteNode* node = tree.GetItemNode(tree.GetSelection());
        return node && node->GetName() == "docs" && !tree.GetEditControl();
    }));
    ClickOnScreen(dialog.FindWindow(1536));
    ASSERT_TRUE(SettleUntil([&] { return dialog.GetPlacedCount() == 2; }));
}

// Two files added into a new folder with the mouse and the keyboard are built and published with the site, at their
// remote paths on the server.
TEST_F(PublishMenuTest, FilesAddedIntoANewFolderArePublishedThere)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    Open("www-files");
    program.picture = false;
    for (const char* name : {"a.txt", "b.pdf"})
        std::ofstream(scratch / name) << "the text of " << name;
    ChooserScript<CAddFilesDLG> chooser({scratch / "a.txt", scratch / "b.pdf"});
    bool placed = false;
    bool closed = false;
    frame->CallAfter([&] {
        CAddFilesDLG* dialog = nullptr;
        for (wxWindow* window : wxTopLevelWindows)
            if (auto* found = dynamic_cast<CAddFilesDLG*>(window); found && found->IsModal())
                dialog = found;
        ASSERT_NE(dialog, nullptr);
        PlaceTwoFilesInANewFolder(*dialog);
        placed = !::testing::Test::HasFatalFailure();
        if (placed)
            ClickOnScreen(dialog->FindWindow(wxID_OK));
        closed = SettleUntil([&] { return !dialog->IsModal(); });
        // Never left waiting for a click that went astray.
        if (!closed)
            dialog->EndModal(wxID_CANCEL);
    });
    Command(ID_ADD_FILES);
    ASSERT_TRUE(placed);
    ASSERT_TRUE(closed);
    EXPECT_EQ(chooser.asked, 1);
    CWebsite& site = *frame->GetCurrentSite();
    ASSERT_EQ(site.GetFilePairCount(), 2);

    Command(ID_SEND);
    ASSERT_TRUE(SettleUntil([&] { return !program.dialogs.empty(); }));
    EXPECT_EQ(program.dialogs, std::vector<int>{dialogPublished});
    const fs::path www = fs::path(TheFtpServer().Home()) / "www-files";
    EXPECT_TRUE(fs::exists(www / "index.html"));
    EXPECT_EQ(FileText(www / "docs/a.txt"), "the text of a.txt");
    EXPECT_EQ(FileText(www / "docs/b.pdf"), "the text of b.pdf");
}

} // namespace
