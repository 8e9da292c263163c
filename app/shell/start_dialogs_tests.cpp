// What a person meets first: a new site started from a theme.

#include "app/dialogs/themes_test_support.h"
#include "app/model/link_info.h"
#include "app/shell/orvel_app.h"
#include "app/shell/shell_test_support.h"
#include "app/site/page_item.h"
#include "platform/gui/window_picture.h"
#include "testing/test_output.h"

#include "app/dialogs/themes_dlg.h"
#include "app/dialogs/tips_dlg.h"
#include "app/dialogs/welcome_dlg.h"
#include "app/shell/program_services.h"
#include "platform/resources/resource_folder.h"

#include <wx/listbox.h>
#include <wx/timer.h>

namespace {

template <class Dialog> Dialog* ShownDialog()
{
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<Dialog*>(window); dialog && dialog->IsShown())
            return dialog;
    return nullptr;
}

void Press(wxWindow* dialog, int id)
{
    wxWindow* button = dialog->FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent press(wxEVT_BUTTON, id);
    press.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(press);
}

void Pick(wxWindow* dialog, int id, int row)
{
    auto* list = dynamic_cast<wxListBox*>(dialog->FindWindow(id));
    ASSERT_NE(list, nullptr) << id;
    list->SetSelection(row);
    wxCommandEvent pick(wxEVT_LISTBOX, id);
    pick.SetEventObject(list);
    pick.SetInt(row);
    list->GetEventHandler()->ProcessEvent(pick);
}

// The program as it starts, with its own services and dialogs and the themes beside it: with no site on the
// command line the welcome dialog comes up; New Website From Theme there opens the themes browser, and the theme
// chosen in it opens as a new site that was never saved.
TEST(ProgramStart, WelcomeThenNewFromThemeOpensTheChosenThemeAsANewSite)
{
    ScratchFolder scratch;
    setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (scratch / "data").c_str(), 1);
    ASSERT_TRUE(LoadXrcResources());
    CSettingsEnvironment environment;
    environment.documentsFolder = scratch / "Documents/";
    environment.programFolder = GetResourceFolder().parent_path().string() + "/";
    environment.screenWidth = 1280;
    environment.screenHeight = 1024;
    CProgramServices services;
    InstallProgramServices(&services);

    // The dialogs are answered as they come up, each after its picture.
    std::vector<std::string> seen;
    std::string chosenTheme;
    bool busy = false;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (busy)
            return;
        busy = true;
        if (auto* welcome = ShownDialog<CWelcomeDLG>()) {
            seen.push_back("welcome");
            Settle();
            EXPECT_TRUE(SaveWindowPicture(welcome, (TestOutputFolder() / "program_start_welcome.png").string()));
            Press(welcome, 1667);
        } else if (auto* themes = ShownDialog<CThemesDLG>()) {
            seen.push_back("themes");
            // The last category's last theme, picked in the lists as a click does.
            const size_t categories = themes->GetCategories().size();
            ASSERT_GE(categories, 2u);
            const CThemeCategory& category = themes->GetCategories().back();
            const size_t last = category.m_ThemePaths.size() - 1;
            Pick(themes, 1220, static_cast<int>(categories - 1));
            Pick(themes, 1221, static_cast<int>(last));
            chosenTheme = category.m_ThemePaths[last];
            Settle();
            EXPECT_TRUE(SaveWindowPicture(themes, (TestOutputFolder() / "program_start_themes.png").string()));
            Press(themes, wxID_OK);
        } else if (auto* tips = ShownDialog<CTipsDLG>()) {
            seen.push_back("tips");
            tips->EndModal(wxID_CANCEL);
        }
        busy = false;
    });
    timer.Start(200);
    CMainFrame* frame = StartMainWindow(services, environment, scratch / "settings.keys", {});
    timer.Stop();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(seen, (std::vector<std::string>{"welcome", "themes", "tips"}));

    CWebsite* site = frame->GetCurrentSite();
    ASSERT_NE(site, nullptr);
    EXPECT_TRUE(site->GetPath().empty());
    EXPECT_FALSE(site->IsSaved());
    CWebsite theme(chosenTheme);
    {
        CFile file(chosenTheme, CFile::modeRead);
        ASSERT_TRUE(theme.LoadFile(file));
    }
    EXPECT_EQ(site->GetPageCount(), theme.GetPageCount());
    EXPECT_EQ(site->GetName(), theme.GetName());
    EXPECT_EQ(frame->GetTitle(), "Tallowmere Pelorin - Untitled*");
    EXPECT_GE(frame->GetPageWindows().Count(), 1);
    Settle();
    EXPECT_TRUE(SaveWindowPicture(frame, (TestOutputFolder() / "program_start_new_site_from_theme.png").string()));

    // Marked saved, the window closes without asking about the new site.
    site->MarkSaved();
    frame->Close();
    Settle();
    InstallProgramServices(nullptr);
}

void RunStartCommand(CMainFrame& frame, int id)
{
    wxCommandEvent command(wxEVT_MENU, id);
    frame.GetEventHandler()->ProcessEvent(command);
}

TEST_F(ShellTest, NewFromThemeOpensTheThemesPagesAsANewUnsavedSite)
{
    const std::string theme = scratch / "Themes/Business/harbour.kth";
    ASSERT_TRUE(WriteTestTheme(theme, "Business", "Harbour"));
    // The theme's block links to the maker's address; the new site must not keep it unless it is in use.
    {
        CWebsite site(theme);
        CFile file(theme, CFile::modeRead);
        ASSERT_TRUE(site.LoadFile(file));
        CLinkInfo link;
        link.SetKind(CLinkInfo::kindUrl);
        link.SetUrl("http://themes.example/harbour");
        site.GetPage(0)->GetItem(0)->GetObject(false)->SetLink(link.Clone());
        CFile out(theme, CFile::modeCreate | CFile::modeWrite);
        ASSERT_TRUE(site.Save(out, true, "Business", "Harbour"));
    }
    Start();

    // Cancelled: nothing opens.
    RunStartCommand(*frame, ID_FILE_NEW_FROM_THEME);
    EXPECT_EQ(services.messages, std::vector<std::string>{"themes"});
    EXPECT_EQ(frame->GetCurrentSite(), nullptr);

    services.themePath = theme;
    RunStartCommand(*frame, ID_FILE_NEW_FROM_THEME);
    CWebsite* site = frame->GetCurrentSite();
    ASSERT_NE(site, nullptr);
    EXPECT_TRUE(site->GetPath().empty());
    EXPECT_FALSE(site->IsSaved());
    ASSERT_EQ(site->GetPageCount(), 1);
    EXPECT_EQ(site->GetPage(0)->GetItem(0)->GetObject(false)->GetLink()->GetUrl(), "http:");
    EXPECT_EQ(frame->GetPageWindows().Count(), 1);
    EXPECT_EQ(frame->GetTitle(), "Tallowmere Pelorin - Untitled*");
    EXPECT_TRUE(frame->GetRun().GetRecentFiles().Get().empty());
    EXPECT_EQ(frame->GetSettings().m_kstPath, scratch / "Themes/Business/");
    Settle();
    EXPECT_TRUE(SaveWindowPicture(frame, (TestOutputFolder() / "new_site_from_theme.png").string()));

    // With a site open the user is asked first; No keeps it.
    services.answer = false;
    services.messages.clear();
    RunStartCommand(*frame, ID_FILE_NEW_FROM_THEME);
    EXPECT_EQ(frame->GetCurrentSite(), site);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_NE(services.messages[0], "themes");
}

// Cancel leaves the show-at-start setting as it was, whatever the box says; a choice writes it and begins.
TEST_F(ShellTest, WelcomeCancelKeepsItsSettingAndAChoiceBegins)
{
    const std::string theme = scratch / "Themes/Hobby/garden.kth";
    ASSERT_TRUE(WriteTestTheme(theme, "Hobby", "Garden"));
    Start();
    frame->GetSettings().m_showStartUpDialog = true;
    services.welcomeDontShow = true;
    frame->GetOpenSite().RunWelcomeDialog();
    EXPECT_TRUE(frame->GetSettings().m_showStartUpDialog);
    EXPECT_EQ(services.messages, std::vector<std::string>{"welcome"});

    services.messages.clear();
    services.welcomeResult = DialogAnswer::ok;
    services.welcomeStart = 3;
    services.themePath = theme;
    frame->GetOpenSite().RunWelcomeDialog();
    EXPECT_FALSE(frame->GetSettings().m_showStartUpDialog);
    EXPECT_EQ(services.messages, (std::vector<std::string>{"welcome", "themes"}));
    ASSERT_NE(frame->GetCurrentSite(), nullptr);
    EXPECT_TRUE(frame->GetCurrentSite()->GetPath().empty());
}

} // namespace
