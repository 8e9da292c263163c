// Where the main window's site-file dialogs start, and what the keyboard does in them.

#include "app/dialogs/welcome.h"
#include "app/docview/file_preview_dlg.h"
#include "app/model/file_pair.h"
#include "app/model/link_info.h"
#include "app/shell/orvel_app.h"
#include "app/shell/shell_test_support.h"
#include "app/site/page_item.h"
#include "platform/gui/window_picture.h"
#include "testing/test_output.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtk/gtk.h>
#include <vector>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/dnd.h>
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

// Answers the open dialog for site files as the user does: once it stands, the file is picked and OK pressed.
class SiteFileDialogAnswer : public wxEventFilter
{
public:
    explicit SiteFileDialogAnswer(std::string path) : m_path(std::move(path)) { wxEvtHandler::AddFilter(this); }
    ~SiteFileDialogAnswer() override { wxEvtHandler::RemoveFilter(this); }
    SiteFileDialogAnswer(const SiteFileDialogAnswer&) = delete;
    SiteFileDialogAnswer& operator=(const SiteFileDialogAnswer&) = delete;

    int FilterEvent(wxEvent& event) override
    {
        if (event.GetEventType() == wxEVT_SHOW)
            if (auto* dialog = dynamic_cast<CFilePreviewDLG*>(event.GetEventObject());
                dialog && static_cast<wxShowEvent&>(event).IsShown())
                dialog->CallAfter([this, dialog] { Answer(*dialog); });
        return Event_Skip;
    }

    // Whether the dialog came and took the file.
    bool chose = false;

private:
    void Answer(CFilePreviewDLG& dialog)
    {
        dialog.GetFileCtrl()->SetPath(wxString::FromUTF8(m_path));
        SettleUntil([&] { return dialog.GetFileCtrl()->GetPath().utf8_string() == m_path; });
        chose = dialog.GetFileCtrl()->GetPath().utf8_string() == m_path;
        wxWindow* ok = dialog.FindWindow(wxID_OK);
        wxCommandEvent press(wxEVT_BUTTON, wxID_OK);
        press.SetEventObject(ok);
        ok->GetEventHandler()->ProcessEvent(press);
        // Should OK have refused the file, the test fails rather than waits for ever.
        if (dialog.IsModal())
            dialog.EndModal(wxID_CANCEL);
    }

    std::string m_path;
};

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
    SiteFileDialogAnswer answer(broken);
    wxCommandEvent command(wxEVT_MENU, ID_FILE_OPEN);
    frame->GetEventHandler()->ProcessEvent(command);
    Settle();

    EXPECT_TRUE(answer.chose);
    ASSERT_EQ(services.messages.size(), 1u) << "no question to close the site, only why the file did not open";
    EXPECT_NE(services.messages[0].find("broken.kst"), std::string::npos) << services.messages[0];
    EXPECT_EQ(frame->GetCurrentSite(), open);
    EXPECT_EQ(frame->GetCurrentSite()->GetPath(), path);
    EXPECT_EQ(frame->GetPageWindows().Count(), 1);
}

// The program, with what it asks at start answered by script: the welcome dialog with the way to begin given, tips
// of the day switched off, and messages recorded, so that a failure is seen rather than waited on.
class ScriptedStart : public CProgramServices
{
public:
    DialogAnswer ShowWelcomeDialog(int& start, bool&) override
    {
        start = welcomeStart;
        return welcomeStart == WelcomeChoice::none ? DialogAnswer::cancel : DialogAnswer::ok;
    }
    DialogAnswer ShowTipsDialog() override { return DialogAnswer::cancel; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    int welcomeStart = WelcomeChoice::none;
    std::vector<std::string> messages;
};

// A site saved while its companion folder stood in Old, then moved with that folder to New.
class MovedSiteTest : public ProgramShellTest<ScriptedStart>
{
protected:
    MovedSiteTest()
    {
        setenv("GSETTINGS_BACKEND", "memory", 1);
        auto site = MakeSite({"Home"});
        site->AppendFilePair(std::make_unique<CFilePair>(scratch / "Old/club_website/pics/a.gif", "/pics/a.gif"));
        CPageItem* box = site->GetPage(0)->AddObject(std::make_unique<CRectangleObject>(10, 10, SIZE{80, 60}, 0.0));
        CLinkInfo link;
        link.SetKind(CLinkInfo::kindFile);
        link.SetActive(true);
        link.SetFile(scratch / "Old/club_website/files/Download/menu.txt");
        box->GetCurrentObject()->SetLink(link.Clone());
        std::filesystem::create_directories(scratch / "New/club_website/pics");
        std::filesystem::create_directories(scratch / "New/club_website/files/Download");
        std::ofstream(scratch / "New/club_website/pics/a.gif") << "GIF89a";
        std::ofstream(scratch / "New/club_website/files/Download/menu.txt") << "soup";
        EXPECT_TRUE(SaveSiteFile(*site, moved));
    }

    // The program as it starts with these arguments; a site named there is open once the window stands.
    void StartWith(const std::vector<std::string>& arguments, int welcomeStart = WelcomeChoice::none)
    {
        program.welcomeStart = welcomeStart;
        programSeams.emplace(program);
        frame = StartMainWindow(program, environment, StorePath(), arguments);
        ASSERT_NE(frame, nullptr);
        SettleUntil([&] { return arguments.empty() || frame->GetCurrentSite(); });
    }

    const std::string moved = scratch / "New/club.kst";
};

// However the moved site is opened, its included files and linked documents are found in the folder it now stands
// beside.
TEST_F(MovedSiteTest, EveryWayOfOpeningASiteFollowsItsMove)
{
    struct Route
    {
        const char* name;
        std::function<void()> open;
    };
    const Route routes[] = {
        {"File > Open",
         [&] {
             StartWith({});
             SiteFileDialogAnswer answer(moved);
             wxCommandEvent command(wxEVT_MENU, ID_FILE_OPEN);
             frame->GetEventHandler()->ProcessEvent(command);
             EXPECT_TRUE(answer.chose);
         }},
        {"the recent files",
         [&] {
             StartWith({});
             frame->GetRun().GetRecentFiles().Add(moved);
             wxCommandEvent command(wxEVT_MENU, wxID_FILE1);
             frame->GetEventHandler()->ProcessEvent(command);
         }},
        {"a drop on the main window",
         [&] {
             StartWith({});
             auto* target = dynamic_cast<wxFileDropTarget*>(frame->GetDropTarget());
             ASSERT_NE(target, nullptr);
             wxArrayString names;
             names.Add(wxString::FromUTF8(moved));
             EXPECT_TRUE(target->OnDropFiles(20, 20, names));
         }},
        {"the command line", [&] { StartWith({moved}); }},
        {"the welcome dialog's Open Website",
         [&] {
             SiteFileDialogAnswer answer(moved);
             StartWith({}, WelcomeChoice::openSite);
             EXPECT_TRUE(answer.chose);
         }},
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        route.open();
        ASSERT_NE(frame, nullptr);
        CWebsite* site = frame->GetCurrentSite();
        ASSERT_NE(site, nullptr);
        EXPECT_EQ(site->GetPath(), moved);
        EXPECT_EQ(site->GetFilePair(0)->m_strSource, scratch / "New/club_website/pics/a.gif");
        const CPageObject* box = site->GetPage(0)->GetItem(0)->GetCurrentObject();
        EXPECT_EQ(box->GetLink()->GetFile(), scratch / "New/club_website/files/Download/menu.txt");
        EXPECT_FALSE(site->IsSaved()) << "the paths that moved are to be saved";
        EXPECT_TRUE(program.messages.empty());
        programSeams.reset();
        Close();
    }
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
    ASSERT_EQ(frame->GetRun().GetRecentFiles().Get().size(), 3u);
    EXPECT_EQ(file->FindItem(wxID_FILE1 + 3), nullptr);
    EXPECT_EQ(order(),
              (std::vector<int>{ID_PRINT_SETUP, 0, wxID_FILE1, wxID_FILE1 + 1, wxID_FILE1 + 2, 0, ID_APP_EXIT}));
}

} // namespace
