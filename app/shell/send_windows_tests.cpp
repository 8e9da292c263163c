// The windows that stand while Send works and the ways it ends early: the build's progress and the connecting
// notice, a file the build cannot write, Cancel in the build's and the upload's progress windows, a wrong password,
// and the Send button's menu.

#include "app/shell/publish_journey_test_support.h"

namespace publish_journey {

// The windows that stand while Send works, each pictured: the build's progress, and the notice while the connection
// is made.
TEST_F(PublishJourneyTest, SendShowsTheBuildProgressWindow)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    OpenDrawnSite("www-build-window");
    program.picture = {374};
    Command(ID_SEND);
    EXPECT_TRUE(program.buildWindowShown);
    EXPECT_EQ(program.notices, std::vector<int>{dialogPublished});
}

TEST_F(PublishJourneyTest, SendShowsTheConnectingNotice)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    OpenDrawnSite("www-connecting");
    program.picture = {5003};
    Command(ID_SEND);
    EXPECT_TRUE(program.connectingShown);
    EXPECT_EQ(program.notices, std::vector<int>{dialogPublished});
}

// A page or picture that cannot be written stops every command that builds, with the file named, before anything
// is shown, printed or sent.
TEST_F(PublishJourneyTest, AFileTheBuildCannotWriteStopsSendPreviewAndPrint)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    OpenDrawnSite("www-blocked");
    frame->GetSettings().m_useBuiltInBrowser = -1;
    // A folder where the front page's file goes.
    fs::create_directories(StagingFolder() + "index.html/taken");
    for (int command : {int(ID_SEND), int(ID_PREVIEW_WEBSITE), int(ID_PREVIEW_CURRENT_PAGE), int(ID_FILE_PRINT)}) {
        program.buildErrors.clear();
        program.notices.clear();
        EXPECT_FALSE(CommandOpenedAWindow(command)) << command;
        ASSERT_EQ(program.buildErrors.size(), 1u) << command;
        EXPECT_NE(program.buildErrors[0].find("index.html"), std::string::npos) << program.buildErrors[0];
        EXPECT_EQ(program.notices, std::vector<int>{}) << command;
    }
    EXPECT_FALSE(fs::exists(Www("www-blocked")));
}

// Cancel in the build's progress window ends Print and the preview without a word and without a window.
TEST_F(PublishJourneyTest, CancelInTheBuildWindowEndsPrintAndPreviewSilently)
{
    OpenDrawnSite("www-cancel-build");
    frame->GetSettings().m_useBuiltInBrowser = -1;
    program.cancelBuild = true;
    for (int command : {int(ID_FILE_PRINT), int(ID_PREVIEW_WEBSITE)}) {
        EXPECT_FALSE(CommandOpenedAWindow(command)) << command;
        EXPECT_TRUE(program.buildWindowShown) << command;
        EXPECT_EQ(program.buildErrors, std::vector<std::string>{}) << command;
        EXPECT_TRUE(frame->IsEnabled()) << command;
    }
    EXPECT_FALSE(fs::exists(StagingFolder() + "index.html")) << "the build stopped before writing pages";
}

// A wrong password ends Send with the login-failed notice; Cancel there leaves the setup closed.
TEST_F(PublishJourneyTest, AWrongPasswordShowsTheLoginFailedNotice)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    OpenDrawnSite("www-login", "not-the-password");
    program.picture.clear();
    program.shownNotices = {dialogLoginFailed};
    std::string text;
    ModalScript script({{"notice", [&](wxDialog& dialog) {
                             Picture(&dialog, "476_login_failed");
                             text = dynamic_cast<wxStaticText*>(dialog.FindWindow(1551))->GetLabel().utf8_string();
                             Click(dialog, wxID_CANCEL);
                         }}});
    Command(ID_SEND);
    SettleUntil([&] { return script.Done(); });
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(program.notices, std::vector<int>{dialogLoginFailed});
    EXPECT_NE(text.find("refused access"), std::string::npos) << text;
    EXPECT_FALSE(fs::exists(Www("www-login") + "index.html"));
}

// Cancel pressed in the progress window while a file creeps to a throttled server ends Send without a notice, leaves
// the record the last complete Send wrote and gives the main window back. The throttled server shares the home
// folder of the one at full speed, which took that Send.
TEST_F(PublishJourneyTest, CancelDuringASlowUploadLeavesTheRecordAlone)
{
    if (!TheFtpServer().Running() || !TheThrottledFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error() << TheThrottledFtpServer().Error();
    OpenDrawnSite("www-slow");
    Command(ID_SEND);
    ASSERT_EQ(program.notices, std::vector<int>{dialogPublished});
    const std::string recordPath = Www("www-slow") + "db.qbx_bakery.php";
    const std::string record = ReadFileBytes(recordPath);
    ASSERT_FALSE(record.empty());
    RecolourRectangle(CColor(30, 30, 200));
    program.notices.clear();
    frame->GetSettings().m_ftpPort = TheThrottledFtpServer().Port();

    // Send holds the test until it ends and pumps the event loop while it works, so the look at its progress window
    // is a timer's: once the window stands with a file's bytes under way, its Cancel button is clicked. The limit
    // on the looks only keeps a run that never gets there from hanging the test.
    bool underWay = false, clicked = false;
    int looks = 0;
    wxTimer watch;
    watch.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (clicked)
            return;
        wxDialog* progress = nullptr;
        for (wxWindow* window : wxTopLevelWindows)
            if (window->GetName() == "408" && window->IsShown())
                progress = dynamic_cast<wxDialog*>(window);
        auto* bar = progress ? dynamic_cast<wxGauge*>(progress->FindWindow(1184)) : nullptr;
        underWay = bar && bar->GetValue() > 0;
        if (underWay || (++looks > 20000 && progress)) {
            clicked = true;
            Click(*progress, wxID_CANCEL);
        }
    });
    watch.Start(20);
    Command(ID_SEND);
    watch.Stop();
    ASSERT_TRUE(clicked) << "the progress window never stood";
    EXPECT_TRUE(underWay) << "Cancel was pressed before any file was under way";
    EXPECT_EQ(program.notices, std::vector<int>{});
    EXPECT_EQ(ReadFileBytes(recordPath), record);
    Settle();
    for (wxWindow* window : wxTopLevelWindows)
        EXPECT_FALSE(window->GetName() == "408" && window->IsShown()) << "the progress window stayed";
    EXPECT_TRUE(frame->IsEnabled());
}

// The Send button's arrow opens the upload and setup entries, the upload entry named after the matching profile.
TEST_F(PublishJourneyTest, SendButtonMenuOffersUploadAndSetup)
{
    OpenDrawnSite("www-menu");
    wxMenu* menu = frame->GetToolBar()->FindById(ID_SEND)->GetDropdownMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->GetMenuItemCount(), 3u);
    EXPECT_EQ(menu->FindItemByPosition(0)->GetId(), ID_UPLOAD);
    EXPECT_TRUE(menu->FindItemByPosition(1)->IsSeparator());
    EXPECT_EQ(menu->FindItemByPosition(2)->GetId(), ID_INTERNET_SETUP);
    menu->UpdateUI(frame);
    EXPECT_EQ(menu->FindItemByPosition(0)->GetItemLabelText(), "Upload");
    EXPECT_FALSE(menu->FindItemByPosition(0)->IsEnabled());
    EXPECT_TRUE(menu->FindItemByPosition(2)->IsEnabled());
}

} // namespace publish_journey
