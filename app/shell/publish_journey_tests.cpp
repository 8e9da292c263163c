// A user's way from a new site to its pages on a server, on the real main window against the loopback FTP server:
// the site is made and drawn with injected events, the Internet setup and the connection test are answered by
// script, Send builds under its progress window and publishes, a second Send sends only what changed, and the site
// is previewed and printed in the program's own windows.

#include "app/shell/publish_journey_test_support.h"

#include "app/model/link_info.h"

namespace publish_journey {

TEST_F(PublishJourneyTest, NewSiteSetUpTestedSentChangedSentAgainPreviewedAndPrinted)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    StartProgram();

    // File > New.
    CommandWithScript(ID_FILE_NEW, {{"273", [](wxDialog& dialog) {
                                         Type(dialog, 1002, "Journey");
                                         Type(dialog, 1007, "start");
                                         Type(dialog, 1003, "400");
                                         Type(dialog, 1004, "300");
                                         Click(dialog, 1131);
                                         Click(dialog, wxID_OK);
                                     }}});
    CWebsite* site = frame->GetCurrentSite();
    ASSERT_NE(site, nullptr);
    CSitePage* page = frame->GetPageWindows().GetActivePage();
    ASSERT_NE(page, nullptr);

    // A rectangle and a text typed into.
    DrawRectangle(CColor(200, 30, 30));
    GetToolsAndInspector().SetToolsBarTool(kMouseToolText);
    Drag(View(), CPoint(60, 180), CPoint(260, 180));
    ASSERT_TRUE(page->IsEditingInPlace());
    // While the text is being edited, neither Send nor the Internet setup can start.
    for (int id : {int(ID_SEND), int(ID_INTERNET_SETUP), int(ID_FILE_PRINT)}) {
        wxUpdateUIEvent update(id);
        ASSERT_TRUE(frame->GetCommands().Update(update));
        EXPECT_FALSE(update.GetEnabled()) << id;
    }
    TypeInto(View(), "Welcome");
    View()->EndTextEditing();
    ASSERT_EQ(page->GetItemCount(), 2);

    // A site never saved is not sent: the prompt to save it first, answered Cancel, ends the Send.
    Command(ID_SEND);
    EXPECT_EQ(program.notices, std::vector<int>{dialogSaveBeforeSend});
    program.notices.clear();
    fs::create_directories(scratch / "Sites");
    ASSERT_TRUE(frame->GetOpenSite().GetDocument().OnSaveDocument(scratch / "Sites/journey.kst"));

    // Internet setup: the server's address, its port in the advanced settings and a new profile saved; then the
    // connection test of Tools. Their pictures are the dialogs tests'; one taken here, inside the modal loop of a
    // window the script answers, would leave the virtual display unpainted from then on.
    const std::string password = FtpServer::kPassword;
    std::vector<std::string> steps, log;
    CommandWithScript(ID_INTERNET_SETUP, {
                                             {"407",
                                              [](wxDialog& dialog) {
                                                  Type(dialog, 1190, "127.0.0.1");
                                                  Type(dialog, 1191, FtpServer::kUser);
                                                  Type(dialog, 1193, FtpServer::kPassword);
                                                  Type(dialog, 1199, "/journey/");
                                                  Click(dialog, 1001);
                                              }},
                                             {"539",
                                              [](wxDialog& dialog) {
                                                  Type(dialog, 1002, std::to_string(TheFtpServer().Port()));
                                                  dynamic_cast<wxCheckBox*>(dialog.FindWindow(1501))->SetValue(true);
                                                  Click(dialog, wxID_OK);
                                              }},
                                             {"407", [](wxDialog& dialog) { Click(dialog, 1002); }},
                                             {"540",
                                              [](wxDialog& dialog) {
                                                  Type(dialog, 1000, "Loopback");
                                                  Click(dialog, wxID_OK);
                                              }},
                                             {"407", [](wxDialog& dialog) { Click(dialog, wxID_OK); }},
                                         });
    CommandWithScript(ID_TEST_CONNECTIONS, {{"584", [&](wxDialog& dialog) {
                                                 Click(dialog, 1236);
                                                 steps = Lines(dialog, 1542);
                                                 log = Lines(dialog, 1626);
                                                 Click(dialog, wxID_OK);
                                             }}});
    ASSERT_GE(steps.size(), 6u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(steps[i].substr(steps[i].size() - 2), "OK") << steps[i];
    EXPECT_EQ(steps.back(), "Done: No errors were found.");
    ASSERT_FALSE(log.empty());
    for (const std::string& line : log)
        EXPECT_EQ(line.find(password), std::string::npos) << line;
    CFtpProfileArray profiles;
    frame->GetSettings().GetFtpProfiles(&profiles);
    ASSERT_EQ(profiles.size(), 1u);
    EXPECT_EQ(profiles[0].m_strName, "Loopback");
    EXPECT_EQ(frame->GetSettings().m_ftpPort, TheFtpServer().Port());

    // Send: built under its progress window with the main window disabled, then sent.
    Command(ID_SEND);
    EXPECT_TRUE(program.buildWindowShown);
    EXPECT_FALSE(program.mainWindowEnabledDuringBuild);
    EXPECT_TRUE(program.uploadWindowShown);
    EXPECT_EQ(program.notices, std::vector<int>{dialogPublished});
    EXPECT_TRUE(program.buildErrors.empty());
    const std::string www = Www("journey");
    const std::map<std::string, time_t> first = FilesBelow(www);
    EXPECT_TRUE(first.count("index.html"));
    EXPECT_TRUE(first.count("db.qbx_journey.php"));
    int pictures = 0, backups = 0;
    for (const auto& [path, time] : first) {
        pictures += path.rfind("files/", 0) == 0 && path.find("/Download/") == std::string::npos;
        backups += path.rfind("Backups/", 0) == 0;
    }
    EXPECT_GE(pictures, 1) << "the rectangle's picture";
    EXPECT_EQ(backups, 1);

    // A new colour for the rectangle: the second Send sends the pages and the changed picture, no other picture.
    AgeFiles(www);
    RecolourRectangle(CColor(30, 30, 200));
    program.notices.clear();
    Command(ID_SEND);
    EXPECT_EQ(program.notices, std::vector<int>{dialogPublished});
    std::vector<std::string> sentPictures;
    for (const auto& [path, time] : FilesBelow(www))
        if (path.rfind("files/", 0) == 0 && time != 1000000)
            sentPictures.push_back(path);
    EXPECT_EQ(sentPictures.size(), 1u) << ::testing::PrintToString(sentPictures);
    EXPECT_NE(FilesBelow(www)["index.html"], 1000000);

    // Cancelled during the upload: no notice, and the server's record is the one the last complete Send left.
    const std::string record = ReadFileBytes(www + "db.qbx_journey.php");
    RecolourRectangle(CColor(30, 200, 30));
    program.notices.clear();
    program.cancelUpload = true;
    Command(ID_SEND);
    EXPECT_FALSE(program.cancelUpload) << "Cancel was pressed";
    EXPECT_EQ(program.notices, std::vector<int>{});
    EXPECT_EQ(ReadFileBytes(www + "db.qbx_journey.php"), record);
    EXPECT_TRUE(frame->IsEnabled());

    // Preview in the built-in window.
    if (!IsPreviewAvailable())
        GTEST_SKIP() << "no web view here";
    frame->GetSettings().m_useBuiltInBrowser = -1;
    const WebPageShown shown = ShowBuiltSite(ID_PREVIEW_WEBSITE, "130", "130_journey_preview");
    EXPECT_NE(shown.address.find("qbx_tmpdir/index.html"), std::string::npos) << shown.address;
    EXPECT_EQ(shown.status, "") << "the page says nothing while the pointer is on no link";
    EXPECT_FALSE(shown.backEnabled);
    EXPECT_FALSE(shown.forwardEnabled);
}

// Print builds the site under the build's progress window and shows the built front page in the print window, whose
// Back and Forward wait for the web view to have somewhere to go.
TEST_F(PublishJourneyTest, PrintShowsTheBuiltFrontPage)
{
    OpenDrawnSite("www-print");
    if (!IsPreviewAvailable())
        GTEST_SKIP() << "no web view here";
    const WebPageShown shown = ShowBuiltSite(ID_FILE_PRINT, "451", "451_print");
    EXPECT_EQ(program.builds, 1);
    EXPECT_TRUE(program.buildWindowShown);
    EXPECT_FALSE(program.mainWindowEnabledDuringBuild);
    EXPECT_NE(shown.address.find("qbx_tmpdir/index.html"), std::string::npos) << shown.address;
    EXPECT_EQ(shown.status, "") << "the page says nothing while the pointer is on no link";
    EXPECT_FALSE(shown.backEnabled);
    EXPECT_FALSE(shown.forwardEnabled);
    EXPECT_TRUE(shown.printEnabled);
}

// A rectangle that links a document: in the preview the status line shows the link's address while the pointer is
// on the rectangle, and a click opens the document where it lies on this computer.
TEST_F(PublishJourneyTest, InThePreviewTheStatusLineShowsTheLinkPointedAtAndTheLinkOpensTheDocument)
{
    OpenDrawnSite("www-preview-link");
    if (!IsPreviewAvailable())
        GTEST_SKIP() << "no web view here";
    const std::string document = scratch / "Docs/Price list #1.txt";
    fs::create_directories(scratch / "Docs");
    std::ofstream(document) << "Prices";
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindFile);
    link.SetActive(true);
    link.SetFile(document);
    frame->GetCurrentSite()->GetPage(0)->GetItem(0)->GetCurrentObject()->SetLink(std::make_unique<CLinkInfo>(link));
    frame->GetSettings().m_useBuiltInBrowser = -1;
    const std::string address = "file://" + scratch / "Docs/Price%20list%20%231.txt";

    std::string statusOffTheLink = "(not read)", statusOnTheLink = "(not read)", opened, statusOpened = "(not read)";
    CommandWithScript(ID_PREVIEW_WEBSITE,
                      {{"130", [&](wxDialog& dialog) {
                            CWebView* view = dynamic_cast<CWebPageDLG&>(dialog).GetWebView();
                            LoadedAddress(view);
                            // The rectangle stands from (40, 40) to (160, 120) on the page.
                            const wxPoint page = view->GetWindow()->GetScreenPosition();
                            wxUIActionSimulator mouse;
                            mouse.MouseMove(page + wxPoint(300, 300));
                            SettleUntil([&] { return StatusLine(dialog, true).empty(); });
                            statusOffTheLink = StatusLine(dialog, true);
                            mouse.MouseMove(page + wxPoint(100, 80));
                            SettleUntil([&] { return StatusLine(dialog, true) == address; });
                            statusOnTheLink = StatusLine(dialog, true);
                            Picture(&dialog, "130_preview_status_on_a_link");
                            mouse.MouseClick();
                            SettleUntil([&] { return view->GetCurrentAddress() == address && !view->IsBusy(); });
                            opened = view->GetCurrentAddress();
                            statusOpened = StatusLine(dialog, true);
                            dialog.EndModal(wxID_OK);
                        }}});
    EXPECT_EQ(statusOffTheLink, "");
    EXPECT_EQ(statusOnTheLink, address);
    EXPECT_EQ(opened, address) << "the document where it lies";
    EXPECT_EQ(statusOpened, "") << "the document has no links";
}

} // namespace publish_journey
