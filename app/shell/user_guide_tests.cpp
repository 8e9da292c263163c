// Help opens the user guide that stands beside the program, and says so when it cannot.

#include "app/shell/help_commands.h"
#include "app/shell/shell_test_support.h"
#include "testing/scoped_env.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <wx/menu.h>

namespace {

TEST(UserGuide, StandsBesideTheProgramAndCoversItsWindowsAndMenus)
{
    const std::filesystem::path guide = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "Help.html";
    std::ifstream in(guide);
    ASSERT_TRUE(in) << guide;
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    for (const char* part :
         {"<title>Pelorin User Guide</title>", "The main window", "Page windows", "File menu", "Edit menu",
          "Object menu", "Tools menu", "Settings menu", "Help menu", "Save Website As", "Missing pictures"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}

TEST_F(ShellTest, HelpReadsAsAFinishedMenuAndTellsWhenTheGuideIsMissing)
{
    Start();
    const wxMenuItem* item = frame->GetMenuBar()->FindItem(ID_HELP_FINDER);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetItemLabel(), "&User Guide\tF1");
    // The scratch program folder holds no guide.
    EXPECT_EQ(GetUserGuidePath(frame->GetRun().GetEnvironment()), scratch / "Help.html");
    wxCommandEvent help(wxEVT_MENU, ID_HELP_FINDER);
    frame->GetEventHandler()->ProcessEvent(help);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_NE(services.messages[0].find("Help.html is missing"), std::string::npos) << services.messages[0];
}

// With the guide in place but no browser set up, the desktop's handler starts and ends with a failure: F1 says so
// in a message rather than doing nothing.
TEST_F(ShellTest, HelpSaysSoWhenNoBrowserShowsTheGuide)
{
    std::ofstream(scratch / "Help.html") << "<title>Pelorin User Guide</title>";
    std::filesystem::create_directories(scratch / "bin");
    {
        std::ofstream handler(scratch / "bin/xdg-open");
        handler << "#!/bin/sh\nexit 3\n";
    }
    std::filesystem::permissions(scratch / "bin/xdg-open", std::filesystem::perms::owner_all);
    Start();
    {
        const ScopedEnv path("PATH", (scratch / "bin:" + (getenv("PATH") ? getenv("PATH") : "")).c_str());
        wxCommandEvent help(wxEVT_MENU, ID_HELP_FINDER);
        frame->GetEventHandler()->ProcessEvent(help);
    }
    EXPECT_TRUE(SettleUntil([&] { return !services.messages.empty(); }));
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_NE(services.messages[0].find("Help.html could not be opened"), std::string::npos) << services.messages[0];
}

} // namespace
