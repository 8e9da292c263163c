#pragma once

// What the shell's tests share: a main frame made on a scratch settings store, services that record the messages
// instead of showing them, a small site, file choosers answered by script, and clicks of the real mouse.

#include "app/model/app_settings.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/objects/rectangle_object.h"
#include "app/shell/main_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_dialogs.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/gui/xrc_resources.h"
#include "testing/gui_settle.h"
#include "testing/scratch_folder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <wx/app.h>
#include <wx/eventfilter.h>
#include <wx/toplevel.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

// Answers the file chooser of every files dialog of the given class with paths, set as the dialog shows, before
// its Browse can run.
template <class Dialog> class ChooserScript : public wxEventFilter
{
public:
    explicit ChooserScript(std::vector<std::string> paths) : m_paths(std::move(paths))
    {
        wxEvtHandler::AddFilter(this);
    }
    ~ChooserScript() override { wxEvtHandler::RemoveFilter(this); }
    int FilterEvent(wxEvent& event) override
    {
        if (event.GetEventType() == wxEVT_SHOW)
            if (auto* dialog = dynamic_cast<Dialog*>(event.GetEventObject()))
                dialog->m_chooseFiles = [this](std::vector<std::string>& paths) {
                    ++asked;
                    paths = m_paths;
                    return true;
                };
        return Event_Skip;
    }
    int asked = 0;

private:
    std::vector<std::string> m_paths;
};

// A press of the left button in the middle of the window, as the user's mouse gives it.
inline void ClickOnScreen(wxWindow* window)
{
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->IsShownOnScreen());
    const wxRect area = window->GetScreenRect();
    wxUIActionSimulator mouse;
    mouse.MouseMove(area.GetX() + area.GetWidth() / 2, area.GetY() + area.GetHeight() / 2);
    Settle();
    mouse.MouseClick();
    Settle();
}

// The dialog that is running modally now, of the given class.
template <class Dialog> Dialog* ModalDialog()
{
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<Dialog*>(window); dialog && dialog->IsModal())
            return dialog;
    return nullptr;
}

class RecordingServices : public NullCoreServices,
                          public NullMessages,
                          public NullCurrentState,
                          public NullModelDialogs,
                          public NullShellDialogs
{
public:
    explicit RecordingServices(CMainFrame*& frame) : m_frame(frame) {}
    CMainFrame* GetTheMainFrame() const { return m_frame; }
    CWebsite* GetCurrentSite() override { return m_frame ? m_frame->GetCurrentSite() : nullptr; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowInfoMessage(const std::string& text) override { messages.push_back(text); }
    DialogAnswer ShowNotice(int id) override
    {
        messages.push_back("notice " + std::to_string(id));
        return DialogAnswer::ok;
    }
    bool AskYesNo(const std::string&, const std::string& text) override
    {
        messages.push_back(text);
        return answer;
    }
    // Unsaved changes are dropped when the answer is yes, kept (and the window with them) when it is no.
    YesNoCancel ShowSaveChangesDialog() override
    {
        messages.push_back("save changes?");
        return answer ? YesNoCancel::no : YesNoCancel::cancel;
    }

    // The themes browser answers with themePath, or cancels while it is empty.
    DialogAnswer ShowThemesDialog(std::string& path) override
    {
        messages.push_back("themes");
        path = themePath;
        return themePath.empty() ? DialogAnswer::cancel : DialogAnswer::ok;
    }

    // The welcome dialog answers with welcomeResult, welcomeStart and welcomeDontShow.
    DialogAnswer ShowWelcomeDialog(int& start, bool& dontShowAgain) override
    {
        messages.push_back("welcome");
        start = welcomeStart;
        dontShowAgain = welcomeDontShow;
        return welcomeResult;
    }

    std::vector<std::string> messages;
    bool answer = true;
    std::string themePath;
    DialogAnswer welcomeResult = DialogAnswer::cancel;
    int welcomeStart = 0;
    bool welcomeDontShow = false;

private:
    CMainFrame*& m_frame;
};

class ShellTest : public ::testing::Test
{
protected:
    ShellTest() : services(frame)
    {
        // Whatever the frame reads or writes beside its store stays in the scratch folder.
        setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (scratch / "data").c_str(), 1);
        EXPECT_TRUE(LoadXrcResources());
        environment.documentsFolder = scratch / "Documents/";
        environment.programFolder = scratch.Path();
        environment.screenWidth = 1280;
        environment.screenHeight = 1024;
    }
    ~ShellTest() override { Close(); }

    std::string StorePath() const { return scratch / "settings.keys"; }

    CMainFrame* Start()
    {
        frame = new CMainFrame(environment, StorePath());
        EXPECT_TRUE(frame->Create());
        frame->Show();
        Settle();
        return frame;
    }
    // Closes the main window as the user does, and lets it go.
    void Close()
    {
        if (!frame)
            return;
        frame->Close();
        frame = nullptr;
        Settle();
    }

    // A saved site of the given pages, the second one its front page.
    static std::unique_ptr<CWebsite> MakeSite(const std::vector<std::string>& names)
    {
        auto site = std::make_unique<CWebsite>("/home/ann/Sites/bakery.kst");
        for (const std::string& name : names)
            site->AddPage(std::make_unique<CSitePage>(site.get(), name, name));
        if (site->GetPageCount() > 1)
            site->SetHomePage(site->GetPage(1));
        site->MarkSaved();
        return site;
    }

    // A saved site of one page, "Home", holding 80 by 60 rectangles at the given places.
    static std::unique_ptr<CWebsite> MakeRectanglesSite(const std::vector<CPoint>& places)
    {
        auto site = std::make_unique<CWebsite>("/home/ann/Sites/bakery.kst");
        CSitePage* page = site->AddPage(std::make_unique<CSitePage>(site.get(), "Home", "Home"));
        for (const CPoint& place : places)
            page->AddObject(std::make_unique<CRectangleObject>(place.x, place.y, SIZE{80, 60}, 0.0));
        site->MarkSaved();
        return site;
    }

    ScratchFolder scratch;
    CSettingsEnvironment environment;
    CMainFrame* frame = nullptr;
    RecordingServices services;
    // The recording services answer every seam they can for the whole test; services a test installs over them
    // give the seams back to them when their scope ends.
    SeamsInstalled<RecordingServices> installed{services};
};

// A shell test whose main window the program's own services answer (or services made from them for the test).
// The recording services come back before the window closes: they answer the question about unsaved changes.
template <class Program> class ProgramShellTest : public ShellTest
{
protected:
    Program program;
    std::optional<SeamsInstalled<Program>> programSeams;

    void StartProgram()
    {
        Start();
        program.SetMainFrame(frame);
        programSeams.emplace(program);
    }
    void TearDown() override
    {
        programSeams.reset();
        Close();
    }
};
