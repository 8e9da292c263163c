// The Object and Tools menu commands as the user meets them: Align on three selected rectangles is one undo step,
// Scale According to Picture Fill follows the picture, and the tool items pick the tools bar's tool.

#include "app/shell/browser_menu.h"

#include <sys/stat.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "app/dialogs/download_offer_dlg.h"
#include "app/docview/design_view.h"
#include "app/model/app_settings.h"
#include "app/model/browser_entry.h"
#include "app/model/fill_info.h"
#include "app/model/undo_manager.h"
#include "app/objects/rectangle_object.h"
#include "app/shell/main_toolbar.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/publish_menu.h"
#include "app/shell/shell_test_support.h"
#include "app/shell/tools_bar.h"
#include "app/site/page_item.h"
#include "image/image.h"
#include "platform/gui/text_bytes.h"
#include "platform/gui/window_picture.h"
#include "platform/resources/string_table.h"
#include "platform/win/program_launch.h"
#include "testing/test_output.h"

#include <wx/clipbrd.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

namespace {

class ScriptedServices : public CProgramServices
{
public:
    bool ChooseBrowserFile(std::string& path) override
    {
        if (files.empty())
            return false;
        path = files.front();
        files.pop_front();
        return true;
    }
    bool ChooseBrowsersToRemove(const std::vector<std::string>& labels, std::vector<bool>& selected) override
    {
        removalLabels = labels;
        selected = removal;
        return true;
    }
    bool ShowDownloadOffer(int offer) override
    {
        offers.push_back(offer);
        return true;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string&, const std::string& text) override
    {
        messages.push_back(text);
        return true;
    }
    void Beep() override {}

    std::deque<std::string> files;
    std::vector<bool> removal;
    std::vector<std::string> removalLabels;
    std::vector<int> offers;
    std::vector<std::string> messages;
};

class BrowserMenuTest : public ProgramShellTest<ScriptedServices>
{
protected:
    void SetUp() override { StartProgram(); }
    void Command(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        frame->GetEventHandler()->ProcessEvent(event);
    }
    wxMenu* BrowserMenu()
    {
        wxMenuItem* item = frame->GetMenuBar()->FindItem(ID_ADD_BROWSER);
        wxMenu* menu = item ? item->GetMenu() : nullptr;
        if (menu)
            menu->UpdateUI(frame);
        return menu;
    }
    // A script that writes each argument it gets on a line of its own into out.
    std::string RecordingScript(const std::string& name, const std::string& out)
    {
        const std::string script = scratch / name;
        std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" << out
                              << "'; done\ntouch '" << out << ".done'\n";
        chmod(script.c_str(), 0755);
        return script;
    }
    static std::string WaitForRecord(const std::string& out)
    {
        // Guards a hang only; the script ends at once.
        for (int i = 0; i < 2000 && !std::filesystem::exists(out + ".done"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream in(out);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(BrowserMenuTest, AnAddedBrowserIsOfferedAndPreviewsThePage)
{
    const std::string out = scratch / "arguments.txt";
    const std::string script = RecordingScript("record.sh", out);
    const std::string entry = scratch / "recorder.desktop";
    std::ofstream(entry) << "[Desktop Entry]\nType=Application\nName=Recording Browser\nExec=\"" << script
                         << "\" --new-tab %u\n";

    wxMenu* menu = BrowserMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->FindItem(ID_FIRST_BROWSER)->GetItemLabelText(), "Browsers");
    EXPECT_FALSE(menu->FindItem(ID_FIRST_BROWSER)->IsEnabled());
    EXPECT_FALSE(menu->FindItem(ID_REMOVE_BROWSER)->IsEnabled());
    EXPECT_TRUE(menu->FindItem(ID_USE_BUILT_IN_BROWSER)->IsChecked());

    program.files = {entry};
    Command(ID_ADD_BROWSER);
    ASSERT_EQ(program.messages.size(), 1u);
    EXPECT_NE(program.messages[0].find("'" + entry + "'"), std::string::npos) << program.messages[0];
    // The same browser again is refused and the chooser asked once more; a text file is no browser.
    program.files = {entry, scratch / "arguments.txt", script};
    std::ofstream(out) << "";
    Command(ID_ADD_BROWSER);
    std::filesystem::remove(out);
    ASSERT_EQ(program.messages.size(), 4u);
    EXPECT_EQ(program.messages[1], ResourceText(IDS_BROWSER_ALREADY_LISTED));
    EXPECT_EQ(program.messages[2], ResourceText(IDS_NOT_A_PROGRAM));
    EXPECT_EQ(frame->GetRun().EditBrowserPaths(), (std::vector<std::string>{GetLongPath(entry), GetLongPath(script)}));

    menu = BrowserMenu();
    EXPECT_EQ(menu->FindItem(ID_FIRST_BROWSER)->GetItemLabelText(), "Recording Browser");
    ASSERT_NE(menu->FindItem(ID_FIRST_BROWSER + 1), nullptr);
    EXPECT_EQ(menu->FindItem(ID_FIRST_BROWSER + 1)->GetItemLabelText(), "record.sh");
    EXPECT_EQ(menu->FindItem(ID_FIRST_BROWSER + 2), nullptr);
    Command(ID_FIRST_BROWSER);
    menu = BrowserMenu();
    EXPECT_TRUE(menu->FindItem(ID_FIRST_BROWSER)->IsChecked());
    EXPECT_FALSE(menu->FindItem(ID_USE_BUILT_IN_BROWSER)->IsChecked());
    EXPECT_FALSE(menu->FindItem(ID_USE_STANDARD_BROWSER)->IsChecked());

    const std::string address = "file://" + scratch / "bakery_website/Our Cakes.html";
    EXPECT_EQ(
        StartPreviewBrowser(frame->GetSettings().m_useBuiltInBrowser, frame->GetRun().EditBrowserPaths(), address),
        PreviewStart::started);
    EXPECT_EQ(WaitForRecord(out), "--new-tab\n" + address + "\n");
}

// The preview commands build the site and hand the page's address to the chosen browser as one argument.
TEST_F(BrowserMenuTest, PreviewsOpenThePageInTheChosenBrowser)
{
    const std::string out = scratch / "arguments.txt";
    frame->GetRun().EditBrowserPaths() = {GetLongPath(RecordingScript("record.sh", out))};
    frame->GetOpenSite().OpenSite(MakeSite({"Our Cakes", "Home"}));
    Settle();
    CSitePage* cakes = frame->GetCurrentSite()->GetPage(0);
    ASSERT_NE(frame->GetPageWindows().Open(0), nullptr);
    Settle();
    ASSERT_EQ(frame->GetPageWindows().GetActivePage(), cakes);

    Command(ID_FIRST_BROWSER);
    Command(ID_PREVIEW_CURRENT_PAGE);
    Settle();
    std::string recorded = WaitForRecord(out);
    ASSERT_FALSE(recorded.empty());
    ASSERT_EQ(recorded.back(), '\n');
    recorded.pop_back();
    EXPECT_EQ(recorded.find('\n'), std::string::npos) << "one argument: " << recorded;
    EXPECT_EQ(recorded.rfind("file://", 0), 0u) << recorded;
    const std::string shown = PathFromWx(wxFileName::URLToFileName(BytesToWx(recorded)).GetFullPath());
    EXPECT_TRUE(std::filesystem::exists(shown)) << shown;
    EXPECT_NE(std::filesystem::path(shown).filename(), "index.html") << "the current page, not the front page";

    // The whole site opens at its front page; the desktop's browser gets the same kind of address.
    std::vector<std::vector<std::string>> started;
    const ProgramStarter before = SetProgramStarter([&](const std::vector<std::string>& arguments) {
        started.push_back(arguments);
        return arguments[0] == "xdg-open";
    });
    Command(ID_USE_STANDARD_BROWSER);
    Command(ID_PREVIEW_WEBSITE);
    Settle();
    ASSERT_EQ(started.size(), 1u);
    ASSERT_EQ(started[0].size(), 2u);
    EXPECT_EQ(started[0][0], "xdg-open");
    EXPECT_EQ(
        std::filesystem::path(PathFromWx(wxFileName::URLToFileName(BytesToWx(started[0][1])).GetFullPath())).filename(),
        "index.html");
    // A browser that does not start is reported.
    Command(ID_FIRST_BROWSER);
    Command(ID_TEST);
    Settle();
    SetProgramStarter(before);
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(program.messages, std::vector<std::string>{ResourceText(IDS_BROWSER_NOT_STARTED)});

    // Nothing is previewed while a text is being edited.
    auto enabled = [&](int id) {
        wxMenuItem* item = frame->GetMenuBar()->FindItem(id);
        item->GetMenu()->UpdateUI(frame);
        return item->IsEnabled();
    };
    EXPECT_TRUE(enabled(ID_PREVIEW_WEBSITE));
    cakes->SetEditingInPlace(true);
    for (int id : {int(ID_TEST), int(ID_PREVIEW_WEBSITE), int(ID_PREVIEW_CURRENT_PAGE)})
        EXPECT_FALSE(enabled(id)) << id;
    cakes->SetEditingInPlace(false);
}

TEST_F(BrowserMenuTest, RemovingBrowsersShiftsTheChoice)
{
    const std::string a = RecordingScript("a.sh", scratch / "a.txt");
    const std::string b = RecordingScript("b.sh", scratch / "b.txt");
    const std::string c = RecordingScript("c.sh", scratch / "c.txt");
    frame->GetRun().EditBrowserPaths() = {GetLongPath(a), GetLongPath(b), GetLongPath(c)};
    Command(ID_FIRST_BROWSER + 2);
    EXPECT_EQ(frame->GetSettings().m_useBuiltInBrowser, 3);

    program.removal = {true, false, false};
    Command(ID_REMOVE_BROWSER);
    EXPECT_EQ(program.removalLabels, (std::vector<std::string>{"a.sh", "b.sh", "c.sh"}));
    EXPECT_EQ(frame->GetRun().EditBrowserPaths(), (std::vector<std::string>{GetLongPath(b), GetLongPath(c)}));
    EXPECT_EQ(frame->GetSettings().m_useBuiltInBrowser, 2) << "still c";
    wxMenu* menu = BrowserMenu();
    EXPECT_EQ(menu->FindItem(ID_FIRST_BROWSER)->GetItemLabelText(), "b.sh");
    EXPECT_TRUE(menu->FindItem(ID_FIRST_BROWSER + 1)->IsChecked());
    EXPECT_EQ(menu->FindItem(ID_FIRST_BROWSER + 2), nullptr);

    program.removal = {false, true};
    Command(ID_REMOVE_BROWSER);
    EXPECT_EQ(frame->GetSettings().m_useBuiltInBrowser, -1) << "the chosen browser went";
    EXPECT_TRUE(BrowserMenu()->FindItem(ID_USE_BUILT_IN_BROWSER)->IsChecked());

    // A choice beyond the list (as an older settings file may hold) shows and previews as the built-in one.
    frame->GetSettings().m_useBuiltInBrowser = 5;
    EXPECT_TRUE(BrowserMenu()->FindItem(ID_USE_BUILT_IN_BROWSER)->IsChecked());
    EXPECT_EQ(StartPreviewBrowser(5, frame->GetRun().EditBrowserPaths(), "file:///x.html"), PreviewStart::builtIn);

    frame->GetRun().EditBrowserPaths().assign(kMaxBrowsers, GetLongPath(a));
    EXPECT_FALSE(BrowserMenu()->FindItem(ID_ADD_BROWSER)->IsEnabled());
}

TEST_F(BrowserMenuTest, CompanionToolsOfferTheirDownload)
{
    std::vector<std::vector<std::string>> started;
    const ProgramStarter before = SetProgramStarter([&](const std::vector<std::string>& arguments) {
        started.push_back(arguments);
        return true;
    });
    for (int tool : {11, 13, 17, 18}) {
        wxCommandEvent launch(EVT_LAUNCH_COMPANION_TOOL);
        launch.SetInt(tool);
        frame->GetEventHandler()->ProcessEvent(launch);
    }
    Command(ID_FONT_STUDIO);
    SetProgramStarter(before);
    EXPECT_EQ(program.offers, (std::vector<int>{1, 5, 0}));
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[0].size(), 2u);
    EXPECT_EQ(started[0][0], "xdg-open");
    EXPECT_NE(started[0][1].find("button-maker"), std::string::npos);

    // The offer as the user sees it.
    CDownloadOfferDialog offer(1, frame);
    ASSERT_TRUE(offer.IsOk());
    EXPECT_EQ(offer.GetTitle(), ResourceText(IDS_BUTTON_MAKER));
    offer.Show();
    Settle();
    const std::filesystem::path folder = TestOutputFolder() / "shell";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(SaveWindowPicture(&offer, (folder / "download_offer.png").string()));
    offer.Hide();
}

} // namespace
