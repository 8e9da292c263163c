// Where the main window's site-file dialogs start, and what the keyboard does in them.

#include "app/docview/file_preview_dlg.h"
#include "app/shell/orvel_app.h"
#include "app/shell/shell_test_support.h"
#include "platform/gui/window_picture.h"
#include "testing/test_output.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtk/gtk.h>
#include <vector>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {

// Whether the toolkit's file chooser, which Save As shows, is up.
bool FileChooserShown()
{
    GList* windows = gtk_window_list_toplevels();
    bool shown = false;
    for (GList* window = windows; window; window = window->next)
        shown = shown || (GTK_IS_FILE_CHOOSER_DIALOG(window->data) && gtk_widget_get_visible(GTK_WIDGET(window->data)));
    g_list_free(windows);
    return shown;
}

// Runs Save As and, once its dialog stands, takes its picture and presses Enter in it. Without a window manager the
// keys go to the window under the pointer.
void SaveAsWithEnter(CMainFrame& frame, const std::string& picture)
{
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (!FileChooserShown())
            return;
        timer.Stop();
        Settle();
        SaveScreenPicture(wxRect(wxPoint(0, 0), wxGetDisplaySize()),
                          wxString::FromUTF8((TestOutputFolder() / picture).string()));
        const wxRect area = frame.GetScreenRect();
        wxUIActionSimulator keyboard;
        keyboard.MouseMove(area.GetX() + area.GetWidth() / 2, area.GetY() + area.GetHeight() / 2);
        keyboard.Char(WXK_RETURN);
    });
    timer.Start(20);
    wxCommandEvent saveAs(wxEVT_MENU, ID_FILE_SAVE_AS);
    frame.GetEventHandler()->ProcessEvent(saveAs);
    Settle();
}

// Save As starts at the open site's own file, and Enter in the name field saves there: test-output/save_as.png.
TEST_F(ShellTest, SaveAsOffersTheSitesOwnFileAndEnterSavesIt)
{
    std::filesystem::create_directories(scratch / "Sites");
    const std::string path = scratch / "Sites/bakery-v6.kst";
    ASSERT_TRUE(SaveSiteFile(*MakeSite({"Home", "About us"}), path));
    // The file chooser keeps its own settings; without a desktop session they stay in memory.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    Start();
    ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(path), nullptr);
    Settle();
    frame->GetCurrentSite()->SetModified();

    // Enter takes the name; the file is there already, so the program asks (once the name has its extension)
    // whether to replace it, and the answer is yes.
    SaveAsWithEnter(*frame, "save_as.png");

    EXPECT_TRUE(frame->GetCurrentSite()->IsSaved());
    EXPECT_EQ(frame->GetCurrentSite()->GetPath(), path);
    EXPECT_EQ(frame->GetTitle(), "Tallowmere Pelorin - bakery-v6.kst");
    EXPECT_EQ(services.messages,
              std::vector<std::string>{"A file named \"bakery-v6.kst\" already exists. Do you want to replace it?"});
}

// A site made from a theme has no file yet: Save As offers its name in the documents folder, not the theme's folder
// (the program's own), and Enter saves it there: test-output/save_as_theme_site.png.
TEST_F(ShellTest, SaveAsOfASiteFromAThemeStartsInTheDocumentsFolderWithItsName)
{
    std::filesystem::create_directories(scratch / "Themes");
    std::filesystem::create_directories(scratch / "Documents");
    auto theme = MakeSite({"Home"});
    theme->SetName("Corner Shop");
    ASSERT_TRUE(SaveSiteFile(*theme, scratch / "Themes/corner.kth"));
    setenv("GSETTINGS_BACKEND", "memory", 1);
    Start();
    ASSERT_NE(frame->GetOpenSite().NewSiteFromTheme(scratch / "Themes/corner.kth"), nullptr);
    Settle();
    ASSERT_EQ(frame->GetCurrentSite()->GetPath(), "");

    SaveAsWithEnter(*frame, "save_as_theme_site.png");

    EXPECT_TRUE(frame->GetCurrentSite()->IsSaved());
    EXPECT_EQ(frame->GetCurrentSite()->GetPath(), scratch / "Documents/Corner Shop-v6.kst");
    EXPECT_TRUE(std::filesystem::exists(scratch / "Documents/Corner Shop-v6.kst"));
    // Nothing was written beside the theme.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch / "Themes"), {}), 1);
}

// File > Open with a site open: a chosen file that is no site is refused before anything is closed, and the site
// stays open with its page window.
TEST_F(ShellTest, OpeningAFileThatIsNoSiteKeepsTheOpenSite)
{
    std::filesystem::create_directories(scratch / "Sites");
    const std::string path = scratch / "Sites/bakery.kst";
    ASSERT_TRUE(SaveSiteFile(*MakeSite({"Home", "About us"}), path));
    std::ofstream(scratch / "Sites/broken.kst") << "these bytes are no website";
    setenv("GSETTINGS_BACKEND", "memory", 1);
    Start();
    CWebsite* open = frame->GetOpenSite().OpenDocumentFile(path);
    ASSERT_NE(open, nullptr);
    Settle();
    services.messages.clear();

    const std::string broken = scratch / "Sites/broken.kst";
    bool chose = false;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        CFilePreviewDLG* dialog = ModalDialog<CFilePreviewDLG>();
        if (!dialog) {
            timer.StartOnce(100);
            return;
        }
        dialog->GetFileCtrl()->SetPath(wxString::FromUTF8(broken));
        SettleUntil([&] { return dialog->GetFileCtrl()->GetPath().utf8_string() == broken; });
        chose = dialog->GetFileCtrl()->GetPath().utf8_string() == broken;
        wxWindow* ok = dialog->FindWindow(wxID_OK);
        wxCommandEvent press(wxEVT_BUTTON, wxID_OK);
        press.SetEventObject(ok);
        ok->GetEventHandler()->ProcessEvent(press);
        if (dialog->IsModal())
            dialog->EndModal(wxID_CANCEL);
    });
    timer.StartOnce(300);
    wxCommandEvent command(wxEVT_MENU, ID_FILE_OPEN);
    frame->GetEventHandler()->ProcessEvent(command);
    Settle();

    EXPECT_TRUE(chose);
    ASSERT_EQ(services.messages.size(), 1u) << "no question to close the site, only why the file did not open";
    EXPECT_NE(services.messages[0].find("broken.kst"), std::string::npos) << services.messages[0];
    EXPECT_EQ(frame->GetCurrentSite(), open);
    EXPECT_EQ(frame->GetCurrentSite()->GetPath(), path);
    EXPECT_EQ(frame->GetPageWindows().Count(), 1);
}

// Whichever way a site was opened, the next Open starts in its folder.
TEST_F(ShellTest, OpeningASiteMakesItsFolderTheOneOpenStartsIn)
{
    std::filesystem::create_directories(scratch / "Sites/Club");
    const std::string path = scratch / "Sites/Club/club.kst";
    ASSERT_TRUE(SaveSiteFile(*MakeSite({"Home"}), path));
    Start();
    // As from the recent files or a drop, which name the file without a dialog.
    frame->GetOpenSite().DropFiles({path});
    ASSERT_NE(frame->GetCurrentSite(), nullptr);
    EXPECT_EQ(frame->GetSettings().m_kstPath, scratch / "Sites/Club/");
}

} // namespace

namespace {

// Every recent file of the File menu reads alike: its number as its mnemonic, then its full path. They stand
// above Exit, set apart by a separator on each side, and Exit stays the last item.
TEST_F(ShellTest, EveryRecentFileHasItsNumberAsMnemonic)
{
    Start();
    auto site = MakeSite({"Home"});
    for (const char* name : {"a&b.kst", "bakery.kst", "club.kst"}) {
        ASSERT_TRUE(SaveSiteFile(*site, scratch / name));
        ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(scratch / name), nullptr);
    }
    std::filesystem::create_directories(scratch / "Other");
    ASSERT_TRUE(SaveSiteFile(*site, scratch / "Other/dance.kst"));
    ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(scratch / "Other/dance.kst"), nullptr);
    Close();
    Start();
    wxMenu* file = frame->GetMenuBar()->GetMenu(0);
    for (int i = 0; i < 4; ++i) {
        const wxMenuItem* item = file->FindItem(wxID_FILE1 + i);
        ASSERT_NE(item, nullptr) << i;
        EXPECT_TRUE(item->GetItemLabel().StartsWith(wxString::Format("&%d %s", i + 1, scratch.Path())))
            << item->GetItemLabel();
    }
    const auto order = [&] {
        std::vector<int> ids;
        for (const wxMenuItem* item : file->GetMenuItems())
            ids.push_back(item->IsSeparator() ? 0 : item->GetId());
        return std::vector<int>(ids.end() - std::min<size_t>(ids.size(), 7), ids.end());
    };
    EXPECT_EQ(order(), (std::vector<int>{0, wxID_FILE1, wxID_FILE1 + 1, wxID_FILE1 + 2, wxID_FILE1 + 3, 0,
                                         ID_APP_EXIT}));

    // A recent file that is gone leaves the list when chosen; the menu closes up above Exit.
    std::filesystem::remove(scratch / "bakery.kst");
    wxCommandEvent chosen(wxEVT_MENU, wxID_FILE1 + 2);
    frame->GetEventHandler()->ProcessEvent(chosen);
    ASSERT_EQ(frame->GetOpenSite().GetRecentFiles().Get().size(), 3u);
    EXPECT_EQ(file->FindItem(wxID_FILE1 + 3), nullptr);
    EXPECT_EQ(order(),
              (std::vector<int>{ID_PRINT_SETUP, 0, wxID_FILE1, wxID_FILE1 + 1, wxID_FILE1 + 2, 0, ID_APP_EXIT}));
}

} // namespace
