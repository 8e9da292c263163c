// What the program's own services do when the publisher turns back to the user: the object a build stopped at is
// shown selected on its page, Save As opens for a site never saved, and the transfer log opens in the desktop's
// editor. Every dialog is the program's real one, answered by script before it shows.

#include "app/shell/program_services.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <string>
#include <vector>
#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>
#include <wx/timer.h>

#include "app/docview/message_dlg.h"
#include "app/model/link_info.h"
#include "app/model/undo_manager.h"
#include "app/objects/rectangle_object.h"
#include "app/publish/server_files.h"
#include "app/publish/site_upload.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/publish_menu.h"
#include "app/shell/shell_test_support.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "platform/gui/window_picture.h"
#include "platform/resources/resource_folder.h"
#include "platform/win/program_launch.h"
#include "testing/ftp_test_servers.h"
#include "testing/scoped_env.h"
#include "testing/test_output.h"

#include <wx/cursor.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include "app/docview/design_view.h"
#include "app/docview/mouse_tools.h"
#include "app/docview/view_events_test_support.h"
#include "app/docview/view_hit_test.h"
#include "app/model/fill_info.h"
#include "image/image.h"

namespace {

namespace fs = std::filesystem;
using ftp_test::FtpServer;
using ftp_test::TheFtpServer;

// Answers every modal dialog before it shows: the script gets the dialog and gives the code it ends with. What was
// asked is recorded by the dialog's template name ("message" for a message box) and its text, unwrapped, after a
// colon; a file chooser as "file chooser".
class DialogScript : public wxModalDialogHook
{
public:
    using Answer = std::function<int(wxDialog&)>;
    explicit DialogScript(Answer answer) : m_answer(std::move(answer)) { Register(); }

    std::vector<std::string> asked;

protected:
    int Enter(wxDialog* dialog) override
    {
        // A dialog left to show (the toolkit's file chooser) passes the hook twice on its way to the screen; it is
        // answered once.
        if (std::find(m_open.begin(), m_open.end(), dialog) != m_open.end())
            return wxID_NONE;
        if (dynamic_cast<wxFileDialog*>(dialog)) {
            asked.push_back("file chooser");
        } else {
            std::string name = dynamic_cast<CMessageDlg*>(dialog) ? "message" : dialog->GetName().utf8_string();
            if (const wxWindow* text = dialog->FindWindow(CMessageDlg::IDC_TEXT)) {
                wxString shown = text->GetLabel();
                shown.Replace("\n", " ");
                name += ": " + shown.utf8_string();
            }
            asked.push_back(name);
        }
        const int answer = m_answer(*dialog);
        if (answer == wxID_NONE)
            m_open.push_back(dialog);
        return answer;
    }
    void Exit(wxDialog* dialog) override { std::erase(m_open, dialog); }

private:
    Answer m_answer;
    std::vector<wxDialog*> m_open;
};

// Ends the dialog with code once its modal loop runs.
void EndOnceModal(wxDialog& dialog, int code)
{
    dialog.CallAfter([&dialog, code] {
        if (dialog.IsModal())
            dialog.EndModal(code);
        else
            EndOnceModal(dialog, code);
    });
}

class ProgramServicesTest : public ShellTest
{
protected:
    CProgramServices program;
    std::optional<SeamsInstalled<CProgramServices>> programSeams;

    void TearDown() override
    {
        programSeams.reset();
        Close();
    }
    // The main window with the program's services, before the site is made, so that its pages keep a history.
    void Begin()
    {
        Start();
        program.SetMainFrame(frame);
        programSeams.emplace(program);
    }
    CWebsite* Open(std::unique_ptr<CWebsite> site)
    {
        frame->GetOpenSite().OpenSite(std::move(site));
        Settle();
        return frame->GetCurrentSite();
    }
    void Command(int id)
    {
        wxCommandEvent command(wxEVT_MENU, id);
        frame->ProcessWindowEvent(command);
        Settle();
    }
};

CPageItem* AddRectangle(CSitePage* page, double x, double y)
{
    return page->AddObject(std::make_unique<CRectangleObject>(x, y, SIZE{60, 40}, 0.0));
}

// Print stops at a mouse-over object that another covers: its page opens with it selected before the error shows,
// the user group it was in is taken apart, and one Undo puts the group back.
TEST_F(ProgramServicesTest, ABuildErrorFromPrintShowsTheObjectSelectedOnItsPage)
{
    Begin();
    auto made = MakeSite({"Home", "Front", "Gallery"});
    CSitePage* gallery = made->GetPage(2);
    CPageItem* hover = AddRectangle(gallery, 100, 100);
    hover->SetMouseOverObject(std::make_unique<CRectangleObject>(100, 100, SIZE{60, 40}, 0.0));
    CPageItem* partner = AddRectangle(gallery, 300, 100);
    AddRectangle(gallery, 130, 120);
    gallery->SelectItem(hover);
    gallery->AddToSelection(partner);
    CObjectFrame* group = gallery->CreateGroup();
    ASSERT_NE(group, nullptr);
    gallery->ClearSelection();
    CWebsite* site = Open(std::move(made));
    ASSERT_NE(site, nullptr);
    ASSERT_NE(frame->GetPageWindows().GetActivePage(), gallery);

    bool selectedBehindTheError = false;
    DialogScript script([&](wxDialog& dialog) {
        if (dialog.GetName() == "notice")
            selectedBehindTheError = frame->GetPageWindows().GetActivePage() == gallery && gallery->GetSingleSelectedItem() == hover;
        return wxID_OK;
    });
    Command(ID_FILE_PRINT);
    Settle();

    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_EQ(script.asked[0].rfind("notice: The website cannot be built correctly", 0), 0u) << script.asked[0];
    EXPECT_TRUE(selectedBehindTheError);
    EXPECT_EQ(frame->GetPageWindows().GetActivePage(), gallery);
    EXPECT_EQ(gallery->GetSingleSelectedItem(), hover);
    ASSERT_NE(hover->GetGroup(), nullptr);
    EXPECT_FALSE(hover->GetGroup()->IsGroup()) << "the user group is taken apart";
    EXPECT_FALSE(gallery->IsPageItemSelected(partner));

    ASSERT_TRUE(gallery->GetUndoManager()->CanUndo());
    gallery->GetUndoManager()->Undo();
    ASSERT_NE(hover->GetGroup(), nullptr);
    EXPECT_TRUE(hover->GetGroup()->IsGroup());
    EXPECT_EQ(hover->GetGroup(), partner->GetGroup());
    EXPECT_FALSE(gallery->GetUndoManager()->CanUndo()) << "one step";
}

// Preview stops at a linked document that is gone: after the missing-document dialog the object linking it is
// shown selected on its page.
TEST_F(ProgramServicesTest, AMissingLinkedDocumentFromPreviewShowsTheObjectLinkingIt)
{
    Begin();
    auto made = MakeSite({"Home", "Prices"});
    CSitePage* prices = made->GetPage(1);
    AddRectangle(prices, 40, 40);
    CPageItem* linking = AddRectangle(prices, 200, 40);
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindFile);
    link.SetActive(true);
    link.SetFile(scratch / "gone/prices.pdf");
    linking->GetCurrentObject()->SetLink(std::make_unique<CLinkInfo>(link));
    CWebsite* site = Open(std::move(made));
    ASSERT_NE(site, nullptr);
    frame->GetPageWindows().Open(0);
    Settle();
    ASSERT_NE(frame->GetPageWindows().GetActivePage(), prices);

    DialogScript script([](wxDialog&) { return wxID_OK; });
    Command(ID_PREVIEW_WEBSITE);
    Settle();

    ASSERT_EQ(script.asked.size(), 1u);
    EXPECT_EQ(script.asked[0].rfind("498", 0), 0u) << script.asked[0];
    EXPECT_EQ(frame->GetPageWindows().GetActivePage(), prices);
    EXPECT_EQ(prices->GetSingleSelectedItem(), linking);
    EXPECT_TRUE(prices->GetUndoManager()->CanUndo()) << "the selection is a step of the history";
}

// Send on a site never saved asks to save it first; OK opens Save As, and the name chosen there is where the site
// goes.
TEST_F(ProgramServicesTest, SendingASiteNeverSavedOpensSaveAsOnOk)
{
    // The file chooser keeps its own settings; without a desktop session they stay in memory.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    Begin();
    auto made = std::make_unique<CWebsite>("");
    made->AddPage(std::make_unique<CSitePage>(made.get(), "Home", "Home"));
    CWebsite* site = Open(std::move(made));
    ASSERT_NE(site, nullptr);
    fs::create_directories(scratch / "Sites");
    const std::string chosen = scratch / "Sites/shop-v6.kst";

    std::string chooserTitle;
    long chooserStyle = 0;
    DialogScript script([&](wxDialog& dialog) {
        auto* chooser = dynamic_cast<wxFileDialog*>(&dialog);
        if (!chooser)
            return wxID_OK;
        // The toolkit's chooser hands back only what it holds on screen, so it shows with the name filled in and
        // is ended with OK once it is up.
        chooserTitle = chooser->GetTitle().utf8_string();
        chooserStyle = chooser->GetWindowStyle();
        chooser->SetPath(wxString::FromUTF8(chosen));
        EndOnceModal(*chooser, wxID_OK);
        return wxID_NONE;
    });
    Command(ID_SEND);
    Settle();

    ASSERT_EQ(script.asked.size(), 2u);
    EXPECT_NE(script.asked[0].find("must be saved before it is sent"), std::string::npos) << script.asked[0];
    EXPECT_EQ(script.asked[1], "file chooser");
    EXPECT_TRUE(chooserStyle & wxFD_SAVE) << chooserTitle;
    EXPECT_EQ(frame->GetCurrentSite()->GetPath(), chosen);
    EXPECT_TRUE(fs::exists(chosen));
}

// A picture band drawn with the Picture tool opens the picture chooser in the settings' image folder; where that
// folder is not there (at first it lies in the program's folder, where nothing installs one) the chooser opens in
// the user's pictures folder instead of wherever the program was started from.
TEST_F(ProgramServicesTest, ThePictureChooserOpensInTheImageFolderOrElseInThePicturesFolder)
{
    setenv("GSETTINGS_BACKEND", "memory", 1);
    const std::string home = scratch / "home";
    fs::create_directories(home + "/Photos");
    fs::create_directories(scratch / "config");
    std::ofstream(scratch / "config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Photos\"\n";
    const ScopedEnv homeVariable("HOME", home.c_str());
    Begin();
    Open(MakeSite({"Home"}));
    ASSERT_NE(frame->GetPageWindows().Open(0), nullptr);
    Settle();
    COrvelView* view = frame->GetPageWindows().GetActive()->GetView();
    CAppSettings& settings = frame->GetSettings();
    ASSERT_EQ(settings.m_imagePath, scratch / "Animations/") << "the folder the settings start with";
    ASSERT_FALSE(fs::exists(settings.m_imagePath));
    fs::create_directories(scratch / "Clip art");

    struct Case
    {
        std::string imageFolder;
        std::string opened;
    };
    const Case cases[] = {
        {scratch / "Animations/", home + "/Photos"},
        {scratch / "Clip art/", scratch / "Clip art"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.imageFolder);
        settings.m_imagePath = c.imageFolder;
        std::string shown;
        // The toolkit's chooser takes its folder in while it shows: the folder is read from the chooser on screen,
        // which is cancelled once it shows the one expected (or, against a hang, after many looks).
        wxFileDialog* chooser = nullptr;
        int looks = 0;
        wxTimer look;
        look.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            if (!chooser || !chooser->IsModal())
                return;
            gchar* folder = gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(chooser->GetHandle()));
            shown = folder ? folder : "";
            g_free(folder);
            if (shown == c.opened || ++looks > 1000) {
                look.Stop();
                chooser->EndModal(wxID_CANCEL);
            }
        });
        DialogScript script([&](wxDialog& dialog) {
            chooser = dynamic_cast<wxFileDialog*>(&dialog);
            if (!chooser)
                return wxID_CANCEL;
            look.Start(10);
            return wxID_NONE;
        });
        GetToolsAndInspector().SetToolsBarTool(kMouseToolPicture);
        SendMouse(view, wxEVT_LEFT_DOWN, CPoint(40, 40));
        SendMouse(view, wxEVT_MOTION, CPoint(100, 80));
        SendMouse(view, wxEVT_LEFT_UP, CPoint(160, 120));
        Settle();
        EXPECT_EQ(script.asked, std::vector<std::string>{"file chooser"});
        EXPECT_EQ(shown, c.opened);
        EXPECT_EQ(settings.m_imagePath, c.imageFolder) << "a cancelled choice changes no setting";
        EXPECT_EQ(frame->GetCurrentSite()->GetPage(0)->GetItemCount(), 0) << "and makes no picture";
    }
}

// An included file that is gone stops the upload when the user does not go on without it; Yes to the FTP log then
// hands the log to the desktop's editor.
TEST_F(ProgramServicesTest, YesToTheTransferLogOpensIt)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    Begin();
    fs::create_directories(scratch / "Sites");
    auto made = std::make_unique<CWebsite>(scratch / "Sites/bakery.kst");
    made->AddPage(std::make_unique<CSitePage>(made.get(), "Home", "Home"));
    AddRectangle(made->GetPage(0), 40, 40);
    made->AddFilePairs({scratch / "gone.zip"}, {"/gone.zip"});
    ASSERT_TRUE(SaveSiteFile(*made, made->GetPath()));
    made->MarkSaved();
    CAppSettings& settings = frame->GetSettings();
    settings.m_ftpServer = "127.0.0.1";
    settings.m_ftpPort = TheFtpServer().Port();
    settings.m_ftpUser = FtpServer::kUser;
    settings.m_ftpPassword = FtpServer::kPassword;
    settings.m_ftpPassive = true;
    settings.m_ftpFolder = "/www-log/";
    frame->GetOpenSite().OpenSite(std::move(made));
    Settle();

    std::vector<std::vector<std::string>> started;
    const ProgramStarter before = SetProgramStarter([&](const std::vector<std::string>& arguments) {
        started.push_back(arguments);
        return true;
    });
    // No to going on without the file, Yes to the log.
    DialogScript script([](wxDialog& dialog) {
        if (auto* message = dynamic_cast<CMessageDlg*>(&dialog)) {
            const wxWindow* text = message->FindWindow(CMessageDlg::IDC_TEXT);
            return text && text->GetLabel().Contains("FTP Log") ? wxID_YES : wxID_NO;
        }
        return wxID_OK;
    });
    Command(ID_SEND);
    ASSERT_TRUE(SettleUntil([&] { return !started.empty(); })) << ::testing::PrintToString(script.asked);
    SetProgramStarter(before);

    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (std::vector<std::string>{"xdg-open", TransferLogPath()}));
    EXPECT_TRUE(fs::exists(TransferLogPath()));
}

// The Object palette's three-way question goes through the program's own message dialog over the main window, and
// each of its buttons gives its answer, whether answered at once or from the dialog's own modal loop.
TEST_F(ProgramServicesTest, TheThreeWayQuestionIsTheProgramsMessageOverTheMainWindow)
{
    Begin();
    const struct
    {
        int button;
        YesNoCancel answer;
        bool fromLoop;
    } cases[] = {
        {wxID_YES, YesNoCancel::yes, false},
        {wxID_NO, YesNoCancel::no, false},
        {wxID_CANCEL, YesNoCancel::cancel, false},
        {wxID_NO, YesNoCancel::no, true},
    };
    for (const auto& row : cases) {
        wxWindow* parent = nullptr;
        DialogScript script([&](wxDialog& dialog) -> int {
            if (!dynamic_cast<CMessageDlg*>(&dialog))
                return wxID_CANCEL;
            parent = dialog.GetParent();
            if (!row.fromLoop)
                return row.button;
            EndOnceModal(dialog, row.button);
            return wxID_NONE;
        });
        EXPECT_EQ(program.AskYesNoCancel("Keep the file?"), row.answer) << row.button;
        EXPECT_EQ(script.asked, std::vector<std::string>{"message: Keep the file?"}) << row.button;
        EXPECT_EQ(parent, frame) << row.button;
    }
}

// A selected picture that is an animated GIF carries the marker at its top-right handle, and over each handle the
// view shows the program's own cursor for it: test-output/shell/animated_gif_marker.png and view_cursors.png, the
// latter with each cursor drawn where it points.
TEST_F(ProgramServicesTest, AnAnimatedGifShowsItsMarkerAndEachHandleItsOwnCursor)
{
    Begin();
    auto made = MakeSite({"Home"});
    CSitePage* home = made->GetPage(0);
    CPageItem* picture = home->AddObject(std::make_unique<CRectangleObject>(240, 170, SIZE{240, 160}, 0.0));
    {
        auto image = std::make_unique<CImage>(IMAGE_MODE_RGB, 60, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                unsigned char* p = image->GetData() + static_cast<size_t>(y) * image->GetStride() + 3 * x;
                p[0] = static_cast<unsigned char>(120 + 2 * x), p[1] = 200,
                p[2] = static_cast<unsigned char>(80 + 4 * y);
            }
        auto fill = std::make_unique<CFillInfo>();
        fill->SetPicture(std::move(image));
        fill->SetAnimated(true);
        picture->GetCurrentObject()->SetFill(std::move(fill));
    }
    home->SelectItem(picture);
    ASSERT_NE(Open(std::move(made)), nullptr);
    COrvelView* view = frame->GetPageWindows().GetActive()->GetView();
    ASSERT_NE(view, nullptr);
    view->Refresh();
    for (int i = 0; i < 5; ++i)
        Settle();

    const fs::path folder = TestOutputFolder() / "shell";
    fs::create_directories(folder);
    EXPECT_TRUE(SaveWindowPicture(view, wxString::FromUTF8((folder / "animated_gif_marker.png").string())));
    const CPoint origin = view->GetPageOrigin(), scroll = view->GetScrollPosition();
    const DPOINT* handles = picture->GetCurrentObject()->GetHandlePoints();
    auto client = [&](const DPOINT& p) {
        return wxPoint(static_cast<int>(std::floor(p.x + 0.5)) + origin.x - scroll.x,
                       static_cast<int>(std::floor(p.y + 0.5)) + origin.y - scroll.y);
    };
    const wxRect area = view->GetScreenRect();
    const wxImage shown = ScreenPicture(area);
    ASSERT_TRUE(shown.IsOk());
    // The marker's dark edge, from its top-right corner at the top-right handle leftwards, under the handle square.
    const wxPoint corner = client(handles[2]);
    for (const wxPoint& at : {wxPoint(corner.x - 6, corner.y + 3), wxPoint(corner.x - 11, corner.y + 8)})
        EXPECT_LT(shown.GetRed(at.x, at.y) + shown.GetGreen(at.x, at.y) + shown.GetBlue(at.x, at.y), 100)
            << at.x << "," << at.y;

    // Over each handle, then over the object's middle; an animated picture cannot be turned, so the corners show
    // the rotate cursor once it is a still one.
    picture->GetCurrentObject()->GetFill()->SetAnimated(false);
    struct Hit
    {
        wxPoint point;
        int cursor;
    };
    std::vector<Hit> hits;
    const int expected[8] = {kCursorRotate, kCursorSizeNS, kCursorRotate, kCursorSizeWE,
                             kCursorSizeWE, kCursorRotate, kCursorSizeNS, kCursorRotate};
    for (int i = 0; i < 8; ++i)
        hits.push_back({client(handles[i]), expected[i]});
    hits.push_back({client(DPOINT{240, 170}), kCursorMove});
    wxImage sheet = shown.Copy();
    for (const Hit& hit : hits) {
        wxSetCursorEvent event(hit.point.x, hit.point.y);
        event.SetEventObject(view);
        view->ProcessWindowEvent(event);
        ASSERT_TRUE(event.HasCursor()) << hit.cursor;
        EXPECT_TRUE(event.GetCursor().IsSameAs(ViewCursor(hit.cursor))) << hit.cursor;
        // The cursor as the program draws it, its hot spot on the point.
        wxImage drawn;
        ASSERT_TRUE(drawn.LoadFile(wxString::FromUTF8(GetBitmapResourcePath(hit.cursor).string()), wxBITMAP_TYPE_PNG))
            << hit.cursor;
        drawn.SetMaskColour(255, 0, 255);
        const wxPoint hot = ViewCursorHotSpot(hit.cursor);
        sheet.Paste(drawn, hit.point.x - hot.x, hit.point.y - hot.y, wxIMAGE_ALPHA_BLEND_COMPOSE);
    }
    EXPECT_TRUE(sheet.SaveFile(wxString::FromUTF8((folder / "view_cursors.png").string()), wxBITMAP_TYPE_PNG));
}

} // namespace
