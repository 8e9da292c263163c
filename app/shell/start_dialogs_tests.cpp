// What a person meets first: a new site started from a theme.

#include "app/dialogs/themes_test_support.h"
#include "app/model/link_info.h"
#include "app/shell/orvel_app.h"
#include "app/shell/shell_test_support.h"
#include "app/site/page_item.h"
#include "platform/gui/window_picture.h"
#include "testing/test_output.h"

namespace {

void RunCommand(CMainFrame& frame, int id)
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
    RunCommand(*frame, ID_FILE_NEW_FROM_THEME);
    EXPECT_EQ(services.messages, std::vector<std::string>{"themes"});
    EXPECT_EQ(frame->GetCurrentSite(), nullptr);

    services.themePath = theme;
    RunCommand(*frame, ID_FILE_NEW_FROM_THEME);
    CWebsite* site = frame->GetCurrentSite();
    ASSERT_NE(site, nullptr);
    EXPECT_TRUE(site->GetPath().empty());
    EXPECT_FALSE(site->IsSaved());
    ASSERT_EQ(site->GetPageCount(), 1);
    EXPECT_EQ(site->GetPage(0)->GetItem(0)->GetObject(false)->GetLink()->GetUrl(), "http:");
    EXPECT_EQ(frame->CountPageWindows(), 1);
    EXPECT_EQ(frame->GetTitle(), "Tallowmere Pelorin - Untitled*");
    EXPECT_TRUE(frame->GetRecentFiles().empty());
    EXPECT_EQ(frame->GetSettings().m_strKstPath, scratch / "Themes/Business/");
    Settle();
    EXPECT_TRUE(SaveWindowPicture(frame, (TestOutputFolder() / "new_site_from_theme.png").string()));

    // With a site open the user is asked first; No keeps it.
    services.answer = false;
    services.messages.clear();
    RunCommand(*frame, ID_FILE_NEW_FROM_THEME);
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
    frame->GetSettings().m_bShowStartUpDialog = true;
    services.welcomeDontShow = true;
    frame->RunWelcomeDialog();
    EXPECT_TRUE(frame->GetSettings().m_bShowStartUpDialog);
    EXPECT_EQ(services.messages, std::vector<std::string>{"welcome"});

    services.messages.clear();
    services.welcomeResult = IDOK;
    services.welcomeStart = 3;
    services.themePath = theme;
    frame->RunWelcomeDialog();
    EXPECT_FALSE(frame->GetSettings().m_bShowStartUpDialog);
    EXPECT_EQ(services.messages, (std::vector<std::string>{"welcome", "themes"}));
    ASSERT_NE(frame->GetCurrentSite(), nullptr);
    EXPECT_TRUE(frame->GetCurrentSite()->GetPath().empty());
}

} // namespace
