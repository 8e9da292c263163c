// Where the main window's site-file dialogs start, and what the keyboard does in them.

#include "app/shell/orvel_app.h"
#include "app/shell/shell_test_support.h"
#include "platform/gui/window_picture.h"
#include "testing/test_output.h"

#include <filesystem>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {

// Save As starts at the open site's own file, and Enter in the name field saves there: test-output/save_as.png.
TEST_F(ShellTest, SaveAsOffersTheSitesOwnFileAndEnterSavesIt)
{
    std::filesystem::create_directories(scratch / "Sites");
    const std::string path = scratch / "Sites/bakery-v6.kst";
    ASSERT_TRUE(SaveSiteFile(*MakeSite({"Home", "About us"}), path));
    // The file chooser keeps its own settings; without a desktop session they stay in memory.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    Start();
    ASSERT_NE(OpenDocumentFile(*frame, path), nullptr);
    Settle();
    frame->GetCurrentSite()->SetModified();

    // Without a window manager the keys go to the window under the pointer. Enter takes the name; the file is
    // there already, so the program asks (once the name has its extension) whether to replace it, and the answer
    // is yes.
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        SaveScreenPicture(wxRect(wxPoint(0, 0), wxGetDisplaySize()),
                          wxString::FromUTF8((TestOutputFolder() / "save_as.png").string()));
        const wxRect area = frame->GetScreenRect();
        wxUIActionSimulator keyboard;
        keyboard.MouseMove(area.GetX() + area.GetWidth() / 2, area.GetY() + area.GetHeight() / 2);
        keyboard.Char(WXK_RETURN);
    });
    timer.StartOnce(1500);
    wxCommandEvent saveAs(wxEVT_MENU, ID_FILE_SAVE_AS);
    frame->GetEventHandler()->ProcessEvent(saveAs);
    Settle();

    EXPECT_TRUE(frame->GetCurrentSite()->IsSaved());
    EXPECT_EQ(frame->GetCurrentSite()->GetPath(), path);
    EXPECT_EQ(frame->GetTitle(), "Tallowmere Pelorin - bakery-v6.kst");
    EXPECT_EQ(services.messages,
              std::vector<std::string>{"A file named \"bakery-v6.kst\" already exists. Do you want to replace it?"});
}

// Whichever way a site was opened, the next Open starts in its folder.
TEST_F(ShellTest, OpeningASiteMakesItsFolderTheOneOpenStartsIn)
{
    std::filesystem::create_directories(scratch / "Sites/Club");
    const std::string path = scratch / "Sites/Club/club.kst";
    ASSERT_TRUE(SaveSiteFile(*MakeSite({"Home"}), path));
    Start();
    // As from the recent files or a drop, which name the file without a dialog.
    frame->DropFiles({path});
    ASSERT_NE(frame->GetCurrentSite(), nullptr);
    EXPECT_EQ(frame->GetSettings().m_strKstPath, scratch / "Sites/Club/");
}

} // namespace

namespace {

// Every recent file of the File menu reads alike: its number as its mnemonic, then its full path.
TEST_F(ShellTest, EveryRecentFileHasItsNumberAsMnemonic)
{
    Start();
    auto site = MakeSite({"Home"});
    for (const char* name : {"a&b.kst", "bakery.kst", "club.kst"}) {
        ASSERT_TRUE(SaveSiteFile(*site, scratch / name));
        ASSERT_NE(OpenDocumentFile(*frame, scratch / name), nullptr);
    }
    std::filesystem::create_directories(scratch / "Other");
    ASSERT_TRUE(SaveSiteFile(*site, scratch / "Other/dance.kst"));
    ASSERT_NE(OpenDocumentFile(*frame, scratch / "Other/dance.kst"), nullptr);
    Close();
    Start();
    wxMenu* file = frame->GetMenuBar()->GetMenu(0);
    for (int i = 0; i < 4; ++i) {
        const wxMenuItem* item = file->FindItem(wxID_FILE1 + i);
        ASSERT_NE(item, nullptr) << i;
        EXPECT_TRUE(item->GetItemLabel().StartsWith(wxString::Format("&%d %s", i + 1, scratch.Path())))
            << item->GetItemLabel();
    }
}

} // namespace
