// A user's way from a new site to its pages on a server, on the real main window against the loopback FTP server:
// the site is made and drawn with injected events, the Internet setup and the connection test are answered by
// script, Send builds under its progress window and publishes, a second Send sends only what changed, a cancelled
// Send leaves the server's record alone, and the site is previewed and printed in the program's own windows. Every
// window on the way is written as a picture into test-output/shell/.

#include <algorithm>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <set>
#include <wx/checkbox.h>
#include <wx/gauge.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/toolbar.h>

#include "app/dialogs/new_site_dlg.h"
#include "app/docview/design_view.h"
#include "app/docview/mouse_tools.h"
#include "app/palettes/fill_page_logic.h"
#include "app/publish/server_files.h"
#include "app/publish/site_upload.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/preview_dlg.h"
#include "app/shell/program_services.h"
#include "app/shell/publish_menu.h"
#include "app/shell/shell_test_support.h"
#include "app/site/page_item.h"
#include "platform/gui/window_picture.h"
#include "testing/ftp_test_servers.h"
#include "testing/golden_file.h"
#include "testing/scoped_env.h"
#include "testing/test_output.h"

namespace {

namespace fs = std::filesystem;
using ftp_test::FtpServer;
using ftp_test::TheFtpServer;
using ftp_test::TheThrottledFtpServer;

void Picture(wxWindow* window, const std::string& name)
{
    window->Raise();
    window->Refresh();
    window->Update();
    for (int i = 0; i < 3; ++i)
        Settle();
    const fs::path folder = TestOutputFolder() / "shell";
    fs::create_directories(folder);
    EXPECT_TRUE(SaveWindowPicture(window, (folder / (name + ".png")).string())) << name;
}

// The innermost modal dialog now shown.
wxDialog* InnermostModal()
{
    wxDialog* found = nullptr;
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal() && dialog->IsShown())
            found = dialog;
    return found;
}

// Answers the modal windows that a command opens, one after the other: each step waits until the innermost modal
// window is the one of its template and then acts on it. The steps are run from timers, a fresh one for each look,
// so that an action that opens another modal window does not hold up the looks that follow inside it.
class ModalScript
{
public:
    struct Step
    {
        std::string window; // the template's name
        std::function<void(wxDialog&)> act;
    };

    explicit ModalScript(std::vector<Step> steps) : m_steps(std::move(steps)) { Schedule(); }
    ~ModalScript()
    {
        for (auto& timer : m_timers)
            timer->Stop();
    }
    bool Done() const { return m_next == m_steps.size() && m_running == 0; }

private:
    void Schedule()
    {
        if (m_next >= m_steps.size())
            return;
        // A timer whose handler has returned is taken again.
        wxTimer* timer = nullptr;
        for (size_t i = 0; i < m_timers.size() && !timer; ++i)
            if (!m_busy[i] && !m_timers[i]->IsRunning())
                timer = m_timers[i].get();
        if (!timer) {
            m_timers.push_back(std::make_unique<wxTimer>());
            m_busy.push_back(false);
            const size_t index = m_timers.size() - 1;
            m_timers.back()->Bind(wxEVT_TIMER, [this, index](wxTimerEvent&) { Tick(index); });
            timer = m_timers.back().get();
        }
        timer->StartOnce(30);
    }

    void Tick(size_t timer)
    {
        m_busy[timer] = true;
        wxDialog* dialog = InnermostModal();
        if (m_next < m_steps.size() && dialog && dialog->GetName() == m_steps[m_next].window) {
            const size_t step = m_next++;
            ++m_running;
            Schedule();
            m_steps[step].act(*dialog);
            --m_running;
        } else {
            Schedule();
        }
        m_busy[timer] = false;
    }

    std::vector<Step> m_steps;
    size_t m_next = 0;
    int m_running = 0;
    std::vector<std::unique_ptr<wxTimer>> m_timers;
    std::vector<bool> m_busy;
};

void Type(wxDialog& dialog, int id, const std::string& text)
{
    auto* edit = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->SetValue(wxString::FromUTF8(text));
}

void Click(wxDialog& dialog, int id)
{
    wxWindow* button = dialog.FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    ASSERT_TRUE(button->IsEnabled()) << id;
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

std::vector<std::string> Lines(wxDialog& dialog, int id)
{
    std::vector<std::string> lines;
    if (auto* list = dynamic_cast<wxListBox*>(dialog.FindWindow(id)))
        for (unsigned i = 0; i < list->GetCount(); ++i)
            lines.push_back(list->GetString(i).utf8_string());
    return lines;
}

// Lets the web view load its page and paint it; the address it shows then.
std::string LoadedAddress(CWebView* view)
{
    for (int i = 0; i < 600 && (view->IsBusy() || view->GetCurrentAddress().empty()); ++i)
        Settle();
    // The web view's own process paints the page a little after it reports it loaded.
    for (int i = 0; i < 20; ++i)
        Settle();
    return view->GetCurrentAddress();
}

void SendMouse(COrvelView* view, wxEventType type, CPoint pt)
{
    const CPoint origin = view->GetPageOrigin(), scroll = view->GetScrollPosition();
    wxMouseEvent event(type);
    event.SetEventObject(view);
    event.SetId(view->GetId());
    event.m_x = pt.x + origin.x - scroll.x;
    event.m_y = pt.y + origin.y - scroll.y;
    event.m_leftDown = type != wxEVT_LEFT_UP;
    view->GetEventHandler()->ProcessEvent(event);
}

void Drag(COrvelView* view, CPoint from, CPoint to)
{
    SendMouse(view, wxEVT_LEFT_DOWN, from);
    SendMouse(view, wxEVT_MOTION, CPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
    SendMouse(view, wxEVT_MOTION, to);
    SendMouse(view, wxEVT_LEFT_UP, to);
}

void TypeInto(COrvelView* view, const std::string& text)
{
    for (char c : text) {
        wxKeyEvent typed(wxEVT_CHAR);
        typed.SetEventObject(view);
        typed.m_keyCode = c;
        typed.m_uniChar = static_cast<wxChar>(c);
        view->GetEventHandler()->ProcessEvent(typed);
    }
}

// The files below a folder by their path inside it, with their times of last change.
std::map<std::string, time_t> FilesBelow(const std::string& folder)
{
    std::map<std::string, time_t> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) {
            struct stat info
            {
            };
            stat(entry.path().c_str(), &info);
            files[fs::relative(entry.path(), folder).string()] = info.st_mtime;
        }
    return files;
}

// Makes every file below the folder look long unchanged, so that a file sent later shows by its time.
void AgeFiles(const std::string& folder)
{
    for (const auto& [path, time] : FilesBelow(folder)) {
        const utimbuf old{1000000, 1000000};
        utime((folder + path).c_str(), &old);
    }
}

// The program's own windows, with the publisher's notices recorded (and, for the ones listed, shown); the build's
// progress window and the connecting notice are pictured the first time they stand, and Cancel of the upload's
// progress window is pressed at its first update when asked.
class JourneyServices : public CProgramServices
{
public:
    DialogAnswer ShowPublishDialog(int id) override
    {
        notices.push_back(id);
        if (shownNotices.count(id))
            return CProgramServices::ShowPublishDialog(id);
        return DialogAnswer::cancel;
    }
    void ShowBuildErrorDialog(const std::string& pageName, const std::string& message) override
    {
        buildErrors.push_back(pageName + ": " + message);
    }
    std::shared_ptr<BuildProgress> ShowBuildProgress() override
    {
        std::shared_ptr<BuildProgress> progress = CProgramServices::ShowBuildProgress();
        ++builds;
        for (wxWindow* window : wxTopLevelWindows)
            if (window->GetName() == "374" && window->IsShown()) {
                buildWindowShown = true;
                mainWindowEnabledDuringBuild = GetTheMainFrame()->IsEnabled();
                if (picture.erase(374))
                    Picture(window, "374_build_progress");
                if (cancelBuild) {
                    wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
                    window->ProcessWindowEvent(click);
                }
            }
        return progress;
    }
    void ShowConnectingNotice(bool show) override
    {
        CProgramServices::ShowConnectingNotice(show);
        for (wxWindow* window : wxTopLevelWindows)
            if (show && window->GetName() == "5003" && window->IsShown()) {
                connectingShown = true;
                if (picture.erase(5003))
                    Picture(window, "5003_connecting");
            }
    }
    // The program keeps each upload phase's status line on screen a moment for whoever watches; the pause is kept,
    // made short, as nobody watches a test.
    static constexpr int kPhasePauseMs = 20;
    void UpdateUploadProgress(int pauseMs) override
    {
        CProgramServices::UpdateUploadProgress(std::min(pauseMs, kPhasePauseMs));
        for (wxWindow* window : wxTopLevelWindows)
            if (window->GetName() == "408" && window->IsShown()) {
                uploadWindowShown = true;
                if (cancelUpload) {
                    cancelUpload = false;
                    wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
                    window->ProcessWindowEvent(click);
                }
            }
    }

    std::vector<int> notices;
    std::set<int> shownNotices;
    std::vector<std::string> buildErrors;
    // The windows to picture: a picture taken while a publishing command runs leaves the virtual display unpainted
    // for the rest of the process, so each test takes at most one, its last.
    std::set<int> picture;
    int builds = 0;
    bool buildWindowShown = false;
    bool mainWindowEnabledDuringBuild = true;
    bool uploadWindowShown = false;
    bool connectingShown = false;
    bool cancelUpload = false;
    bool cancelBuild = false;
};

class PublishJourneyTest : public ShellTest
{
protected:
    // The staging folder of the builds is private to the test.
    PublishJourneyTest() : runtime("XDG_RUNTIME_DIR", (scratch / "run").c_str())
    {
        fs::create_directories(scratch / "run");
    }
    void TearDown() override
    {
        UseRecordingServices();
        Close();
    }
    void StartProgram()
    {
        Start();
        program.SetMainFrame(frame);
        InstallProgramServices(&program);
    }
    // Runs a menu command and what it left for the event loop.
    void Command(int id)
    {
        wxCommandEvent command(wxEVT_MENU, id);
        frame->ProcessWindowEvent(command);
        Settle();
    }
    // Runs a command whose modal windows the steps answer; every step must have run.
    void CommandWithScript(int id, std::vector<ModalScript::Step> steps)
    {
        ModalScript script(std::move(steps));
        Command(id);
        for (int i = 0; i < 2000 && !script.Done(); ++i)
            Settle();
        EXPECT_TRUE(script.Done()) << "command " << id;
    }
    // Runs a command that is to open no modal window; one that opens all the same is closed, so that the test goes
    // on to say so.
    bool CommandOpenedAWindow(int id)
    {
        bool opened = false;
        wxTimer guard;
        guard.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            if (wxDialog* dialog = InnermostModal()) {
                opened = true;
                dialog->EndModal(wxID_CANCEL);
            }
        });
        guard.Start(100);
        Command(id);
        guard.Stop();
        return opened;
    }
    COrvelView* View() { return frame->GetActivePageWindow()->GetView(); }
    // A saved site with a red rectangle on its front page, the destination set to the loopback server's folder www.
    void OpenDrawnSite(const std::string& www, const std::string& password = FtpServer::kPassword)
    {
        StartProgram();
        CAppSettings& settings = frame->GetSettings();
        settings.m_strFtpServer = "127.0.0.1";
        settings.m_nFtpPort = TheFtpServer().Port();
        settings.m_strFtpUser = FtpServer::kUser;
        settings.m_strFtpPassword = password;
        settings.m_bFtpPassive = true;
        settings.m_strFtpFolder = "/" + www + "/";
        auto site = std::make_unique<CWebsite>(scratch / "Sites/bakery.kst");
        site->AddPage(std::make_unique<CSitePage>(site.get(), "Home", "Home"));
        fs::create_directories(scratch / "Sites");
        frame->OpenSite(std::move(site));
        Settle();
        DrawRectangle(CColor(200, 30, 30));
        ASSERT_TRUE(frame->GetDocument().OnSaveDocument(scratch / "Sites/bakery.kst"));
    }
    void DrawRectangle(CColor color)
    {
        GetToolsAndInspector().SetToolsBarColor(color);
        GetToolsAndInspector().SetToolsBarTool(kMouseToolRectangle);
        Drag(View(), CPoint(40, 40), CPoint(160, 120));
        Settle();
    }
    // Gives the page's first item, the rectangle, another colour through the Fill palette's colour well.
    void RecolourRectangle(CColor color)
    {
        CSitePage* page = frame->GetActivePage();
        page->ClearSelection();
        page->SelectItem(page->GetItem(0));
        ASSERT_TRUE(FillOnColorChanged(color));
        Settle();
    }
    std::string Www(const std::string& www) { return TheFtpServer().Home() + www + "/"; }

    struct WebPageShown
    {
        std::string address;
        bool backEnabled = true;
        bool forwardEnabled = true;
        bool printEnabled = false;
    };
    // Runs the command that shows the built site in the window of the template and closes the window once its web
    // view has loaded the page, with its picture as the test's last.
    WebPageShown ShowBuiltSite(int command, const std::string& window, const std::string& pictureName)
    {
        WebPageShown shown;
        CommandWithScript(command, {{window, [&](wxDialog& dialog) {
                                         auto* page = dynamic_cast<CWebPageDLG*>(&dialog);
                                         ASSERT_NE(page, nullptr);
                                         shown.address = LoadedAddress(page->GetWebView());
                                         dialog.UpdateWindowUI();
                                         const bool preview = window == "130";
                                         shown.backEnabled = dialog.FindWindow(preview ? 1001 : 1530)->IsEnabled();
                                         shown.forwardEnabled = dialog.FindWindow(preview ? 1002 : 1534)->IsEnabled();
                                         shown.printEnabled = !preview && dialog.FindWindow(1540)->IsEnabled();
                                         Picture(&dialog, pictureName);
                                         dialog.EndModal(wxID_OK);
                                     }}});
        return shown;
    }

    ScopedEnv runtime;
    JourneyServices program;
};

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
    CSitePage* page = frame->GetActivePage();
    ASSERT_NE(page, nullptr);

    // A rectangle and a text typed into.
    DrawRectangle(CColor(200, 30, 30));
    GetToolsAndInspector().SetToolsBarTool(kMouseToolText);
    Drag(View(), CPoint(60, 180), CPoint(260, 180));
    ASSERT_TRUE(page->IsEditingInPlace());
    // While the text is being edited, neither Send nor the Internet setup can start.
    for (int id : {int(ID_SEND), int(ID_INTERNET_SETUP), int(ID_FILE_PRINT)}) {
        wxUpdateUIEvent update(id);
        ASSERT_TRUE(UpdatePublishCommand(*frame, update));
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
    ASSERT_TRUE(frame->GetDocument().OnSaveDocument(scratch / "Sites/journey.kst"));

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
    EXPECT_EQ(frame->GetSettings().m_nFtpPort, TheFtpServer().Port());

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
    frame->GetSettings().m_nUseBuiltInBrowser = -1;
    const WebPageShown shown = ShowBuiltSite(ID_PREVIEW_WEBSITE, "130", "130_journey_preview");
    EXPECT_NE(shown.address.find("qbx_tmpdir/index.html"), std::string::npos) << shown.address;
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
    EXPECT_FALSE(shown.backEnabled);
    EXPECT_FALSE(shown.forwardEnabled);
    EXPECT_TRUE(shown.printEnabled);
}

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
    frame->GetSettings().m_nUseBuiltInBrowser = -1;
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
    frame->GetSettings().m_nUseBuiltInBrowser = -1;
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
    for (int i = 0; i < 2000 && !script.Done(); ++i)
        Settle();
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
    frame->GetSettings().m_nFtpPort = TheThrottledFtpServer().Port();

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

} // namespace
