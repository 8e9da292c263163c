#pragma once

// What the tests of a user's way to the server share: the real main window with its site made and drawn by
// injected events, the modal windows answered by script, the program's services with the publisher's notices
// recorded, and the loopback FTP servers. Every window on the way is written as a picture into test-output/shell/.

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

#include "app/dialogs/dialogs_test_support.h"
#include "app/dialogs/new_site_dlg.h"
#include "app/docview/design_view.h"
#include "app/docview/mouse_tools.h"
#include "app/docview/view_events_test_support.h"
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

namespace publish_journey {

namespace fs = std::filesystem;
using ftp_test::FtpServer;
using ftp_test::TheFtpServer;
using ftp_test::TheThrottledFtpServer;

inline void Picture(wxWindow* window, const std::string& name)
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
inline wxDialog* InnermostModal()
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

inline void Type(wxDialog& dialog, int id, const std::string& text)
{
    auto* edit = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->SetValue(wxString::FromUTF8(text));
}

inline std::vector<std::string> Lines(wxDialog& dialog, int id)
{
    std::vector<std::string> lines;
    if (auto* list = dynamic_cast<wxListBox*>(dialog.FindWindow(id)))
        for (unsigned i = 0; i < list->GetCount(); ++i)
            lines.push_back(list->GetString(i).utf8_string());
    return lines;
}

// The status line of the preview or print window, blanks trimmed.
inline std::string StatusLine(wxDialog& dialog, bool preview)
{
    const wxWindow* line = dialog.FindWindow(preview ? 1200 : 1544);
    return line ? line->GetLabel().Strip(wxString::both).utf8_string() : std::string("(no status line)");
}

// Lets the web view load its page and paint it; the address it shows then.
inline std::string LoadedAddress(CWebView* view)
{
    SettleUntil([&] { return !view->IsBusy() && !view->GetCurrentAddress().empty(); });
    // The web view's own process paints the page a little after it reports it loaded.
    for (int i = 0; i < 20; ++i)
        Settle();
    return view->GetCurrentAddress();
}

inline void Drag(COrvelView* view, CPoint from, CPoint to)
{
    SendMouse(view, wxEVT_LEFT_DOWN, from);
    SendMouse(view, wxEVT_MOTION, CPoint((from.x + to.x) / 2, (from.y + to.y) / 2));
    SendMouse(view, wxEVT_MOTION, to);
    SendMouse(view, wxEVT_LEFT_UP, to);
}

inline void TypeInto(COrvelView* view, const std::string& text)
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
inline std::map<std::string, time_t> FilesBelow(const std::string& folder)
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
inline void AgeFiles(const std::string& folder)
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
        programSeams.reset();
        Close();
    }
    void StartProgram()
    {
        Start();
        program.SetMainFrame(frame);
        programSeams.emplace(program);
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
        SettleUntil([&] { return script.Done(); });
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
    COrvelView* View() { return frame->GetPageWindows().GetActive()->GetView(); }
    // A saved site with a red rectangle on its front page, the destination set to the loopback server's folder www.
    void OpenDrawnSite(const std::string& www, const std::string& password = FtpServer::kPassword)
    {
        StartProgram();
        CAppSettings& settings = frame->GetSettings();
        settings.m_ftpServer = "127.0.0.1";
        settings.m_ftpPort = TheFtpServer().Port();
        settings.m_ftpUser = FtpServer::kUser;
        settings.m_ftpPassword = password;
        settings.m_ftpPassive = true;
        settings.m_ftpFolder = "/" + www + "/";
        auto site = std::make_unique<CWebsite>(scratch / "Sites/bakery.kst");
        site->AddPage(std::make_unique<CSitePage>(site.get(), "Home", "Home"));
        fs::create_directories(scratch / "Sites");
        frame->GetOpenSite().OpenSite(std::move(site));
        Settle();
        DrawRectangle(CColor(200, 30, 30));
        ASSERT_TRUE(frame->GetOpenSite().GetDocument().OnSaveDocument(scratch / "Sites/bakery.kst"));
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
        CSitePage* page = frame->GetPageWindows().GetActivePage();
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
        // The status line, blanks trimmed.
        std::string status;
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
                                         shown.status = StatusLine(dialog, preview);
                                         Picture(&dialog, pictureName);
                                         dialog.EndModal(wxID_OK);
                                     }}});
        return shown;
    }

    ScopedEnv runtime;
    JourneyServices program;
    std::optional<SeamsInstalled<JourneyServices>> programSeams;
};

} // namespace publish_journey
