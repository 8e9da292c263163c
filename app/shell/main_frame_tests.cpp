#include "app/shell/main_frame.h"

#include "app/objects/page_object_fake.h"
#include "app/objects/text_editing_test_support.h"
#include "app/shell/main_toolbar.h"
#include "app/shell/orvel_app.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_test_support.h"
#include "app/shell/tools_bar.h"
#include "app/site/page_item.h"
#include "platform/gui/window_picture.h"
#include "platform/text/face_list.h"
#include "platform/win/key_store.h"
#include "testing/test_output.h"
#include "testing/window_manager.h"

#include <filesystem>
#include <fstream>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/statusbr.h>

namespace {

// The main window as a person sees it, with a site open: test-output/main_window.png.
TEST_F(ShellTest, MainWindowPicture)
{
    CKeyStore store(StorePath());
    CStoredPlacement placement;
    placement.normal = CRect(0, 0, 1000, 700);
    SaveWindowPlacement(store, placement);
    ASSERT_TRUE(store.Save());
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Contact", "Home", "About us"}));
    Settle();
    frame->UpdateStatusPanes();
    Settle();

    EXPECT_EQ(frame->GetTitle(), "Tallowmere Pelorin - bakery.kst");
    wxMenuBar* menus = frame->GetMenuBar();
    ASSERT_NE(menus, nullptr);
    EXPECT_EQ(menus->GetMenuCount(), 6u);
    EXPECT_EQ(menus->GetMenuLabelText(0), "File");
    EXPECT_EQ(menus->GetMenuLabelText(5), "Help");

    COOBmpToolBar* toolbar = frame->GetMainToolBar();
    ASSERT_EQ(toolbar->GetButtonCount(), 8);
    const std::pair<int, const char*> labels[] = {{ID_FILE_NEW, "New"},        {ID_FILE_OPEN, "Open"},
                                                  {ID_SHOW_PAGE, "Show Page"}, {ID_TEST, "Test"},
                                                  {ID_SEND, "Send"},           {ID_HELP_FINDER, "Help"}};
    for (auto [id, label] : labels)
        EXPECT_EQ(toolbar->FindById(id)->GetLabel(), label) << id;
    for (int id : {ID_SHOW_PAGE, ID_TEST, ID_SEND})
        EXPECT_EQ(toolbar->FindById(id)->GetKind(), wxITEM_DROPDOWN) << id;
    EXPECT_EQ(toolbar->FindById(ID_FILE_OPEN)->GetKind(), wxITEM_NORMAL);
    // Commands of parts still to come are disabled; those that work are not.
    EXPECT_TRUE(toolbar->GetToolEnabled(ID_FILE_OPEN));
    EXPECT_TRUE(toolbar->GetToolEnabled(ID_SHOW_PAGE));
    EXPECT_TRUE(toolbar->GetToolEnabled(ID_TEST));
    EXPECT_TRUE(toolbar->GetToolEnabled(ID_SEND));

    // The tools area docked at the left, beside the page windows.
    ASSERT_TRUE(frame->IsToolsBarShown());
    const wxRect tools = frame->GetToolsBar()->GetScreenRect();
    const wxRect pages = frame->GetClientWindow()->GetScreenRect();
    EXPECT_LE(tools.GetRight(), pages.GetLeft());
    EXPECT_GT(tools.GetHeight(), pages.GetHeight() / 2);

    // The front page's window is open; the panes count the pages and time the download.
    EXPECT_EQ(frame->GetPageWindows().Count(), 1);
    ASSERT_NE(frame->GetPageWindows().GetActivePage(), nullptr);
    EXPECT_EQ(frame->GetPageWindows().GetActivePage()->GetName(), "Home");
    wxStatusBar* status = frame->GetStatusBar();
    ASSERT_EQ(status->GetFieldsCount(), 5);
    EXPECT_EQ(status->GetStatusText(1), "Image : ");
    EXPECT_EQ(status->GetStatusText(3), "Pages: 3");
    EXPECT_EQ(status->GetStatusText(4), "0 sec. / 0 sec.");

    const std::string file = (TestOutputFolder() / "main_window.png").string();
    ASSERT_TRUE(SaveWindowPicture(frame, file));
    wxImage picture;
    ASSERT_TRUE(picture.LoadFile(file, wxBITMAP_TYPE_PNG));
    EXPECT_EQ(picture.GetSize(), frame->GetSize());
    // The Open button's folder is drawn in its yellow (not the mask's cyan) somewhere in the button.
    const wxRect bar = toolbar->GetScreenRect();
    bool yellow = false, cyan = false;
    for (int y = bar.GetTop(); y < bar.GetBottom(); ++y)
        for (int x = bar.GetLeft(); x < bar.GetLeft() + 200 && x < picture.GetWidth(); ++x) {
            const wxPoint at(x - frame->GetScreenPosition().x, y - frame->GetScreenPosition().y);
            const int r = picture.GetRed(at.x, at.y), g = picture.GetGreen(at.x, at.y), b = picture.GetBlue(at.x, at.y);
            yellow |= r > 200 && g > 150 && b < 120;
            cyan |= r < 40 && g > 220 && b > 220;
        }
    EXPECT_TRUE(yellow) << "the Open button's picture";
    EXPECT_FALSE(cyan) << "the mask colour shows";
}

TEST_F(ShellTest, LabelsOffShrinkTheButtons)
{
    Start();
    COOBmpToolBar* toolbar = frame->GetMainToolBar();
    const int withLabels = toolbar->GetSize().GetHeight();
    frame->ShowButtonTexts(false);
    Settle();
    const int without = toolbar->GetSize().GetHeight();
    EXPECT_LT(without, withLabels);
    EXPECT_GE(without, 32);
    EXPECT_FALSE(toolbar->GetTextMode());
    frame->ShowButtonTexts(true);
    Settle();
    EXPECT_EQ(toolbar->GetSize().GetHeight(), withLabels);
}

TEST_F(ShellTest, ClosingWritesTheSettingsAndTheNextStartRestoresThem)
{
    Start();
    frame->SetSize(wxRect(40, 30, 900, 650));
    frame->ShowStatusBar(false);
    frame->ShowToolsBar(false);
    frame->GetSettings().m_defaultPageWidth = 812;
    Settle();
    Close();

    CKeyStore store(StorePath());
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.GetProfileInt(kSettingsSection, "Main left", -1), 40u);
    EXPECT_EQ(store.GetProfileInt(kSettingsSection, "Main right", -1), 940u);
    EXPECT_EQ(store.GetProfileInt(kSettingsSection, "Default page width", -1), 812u);
    EXPECT_EQ(store.GetProfileInt(kSettingsSection, "Toolbox color", -1), 0x008000u);

    Start();
    EXPECT_EQ(frame->GetRect(), wxRect(40, 30, 900, 650));
    EXPECT_EQ(frame->GetSettings().m_defaultPageWidth, 812);
    EXPECT_FALSE(frame->IsStatusBarShown());
    EXPECT_FALSE(frame->GetStatusBar()->IsShown());
    // A stored state that hid the tools area is overridden: it always shows at start.
    EXPECT_TRUE(frame->IsToolsBarShown());
}

TEST_F(ShellTest, AStoredPlacementIsBroughtInsideTheScreen)
{
    struct Case
    {
        CRect stored;
        wxRect expected;
    };
    const Case cases[] = {
        {CRect(-50, -20, 700, 500), wxRect(0, 0, 700, 500)},
        {CRect(100, 100, 5000, 4000), wxRect(100, 100, 1180, 924)},
        {CRect(300, 200, 250, 100), wxRect(300, 200, 1, 1)},
    };
    for (const Case& c : cases) {
        CKeyStore store(StorePath());
        CStoredPlacement placement;
        placement.normal = c.stored;
        SaveWindowPlacement(store, placement);
        ASSERT_TRUE(store.Save());
        Start();
        const wxRect rect = frame->GetRect();
        EXPECT_EQ(rect.GetTopLeft(), c.expected.GetTopLeft()) << c.stored.left << "," << c.stored.top;
        // GTK gives a window the least size its bars need; the stored size is what the window asked for.
        EXPECT_GE(rect.GetWidth(), c.expected.GetWidth());
        EXPECT_LE(rect.GetRight(), environment.screenWidth);
        Close();
    }
}

TEST_F(ShellTest, PageWindowsStopAtTheLimit)
{
    Start();
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i)
        names.push_back("page" + std::to_string(i));
    frame->GetOpenSite().OpenSite(MakeSite(names));
    for (int i = 0; i < 30 && frame->GetPageWindows().Count() < kMaxPageWindows; ++i)
        frame->GetPageWindows().Open(i);
    ASSERT_EQ(frame->GetPageWindows().Count(), kMaxPageWindows);
    const int lastOpen = 25;
    services.messages.clear();

    // From the Show Page list: the notice, and nothing opens.
    EXPECT_EQ(frame->GetPageWindows().Open(lastOpen + 1), nullptr);
    EXPECT_EQ(frame->GetPageWindows().Count(), kMaxPageWindows);
    ASSERT_EQ(services.messages.size(), 1u);
    // A page already open comes forward without a new window.
    ASSERT_NE(frame->GetPageWindows().Open(3), nullptr);
    EXPECT_EQ(frame->GetPageWindows().Count(), kMaxPageWindows);

    // By name: the first window makes room.
    COrvelFrame* opened = frame->GetPageWindows().ShowPageByName("PAGE27");
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->GetPage()->GetName(), "page27");
    EXPECT_EQ(frame->GetPageWindows().Count(), kMaxPageWindows);
    EXPECT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(frame->GetCurrentSite()->GetCurrentPage(), opened->GetPage());
    Settle();
}

TEST_F(ShellTest, ShowPageListOpensThePageItNames)
{
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Start (front page)", "Start", "menu"}));
    ASSERT_EQ(frame->GetCurrentSite()->GetHomePage()->GetName(), "Start");
    wxMenu* menu = frame->BuildPageMenu();
    ASSERT_EQ(menu->GetMenuItemCount(), 3u);
    EXPECT_EQ(menu->FindItemByPosition(0)->GetItemLabelText(), "menu");
    EXPECT_EQ(menu->FindItemByPosition(1)->GetItemLabelText(), "Start (front page)");
    EXPECT_EQ(menu->FindItemByPosition(2)->GetItemLabelText(), "Start (front page)");
    // Both entries read alike; each opens its own page.
    for (int position : {1, 2}) {
        wxCommandEvent choose(wxEVT_MENU, kFirstPageCommand + position);
        frame->GetEventHandler()->ProcessEvent(choose);
        const int index = frame->GetPageWindows().GetPageList()[position].pageIndex;
        EXPECT_EQ(frame->GetPageWindows().GetActive()->GetPage(), frame->GetCurrentSite()->GetPage(index)) << position;
    }
    EXPECT_EQ(frame->GetPageWindows().Count(), 2);
}

TEST_F(ShellTest, TitleFollowsTheSiteAndDropsAreChecked)
{
    Start();
    EXPECT_EQ(frame->GetTitle(), "Tallowmere Pelorin");
    frame->GetOpenSite().OpenSite(MakeSite({"Home"}));
    frame->GetCurrentSite()->SetModified();
    frame->GetCurrentSite()->SetPath("");
    frame->UpdateTitle();
    EXPECT_EQ(frame->GetTitle(), "Tallowmere Pelorin - Untitled*");

    services.messages.clear();
    frame->GetOpenSite().DropFiles({"/sites/a.KST"});
    frame->GetOpenSite().DropFiles({"/sites/a.kst", "/sites/b.kst"});
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_NE(services.messages[0].find(".kst"), std::string::npos);
    EXPECT_NE(services.messages[1].find("one"), std::string::npos);
    frame->GetOpenSite().CloseSite();
    EXPECT_EQ(frame->GetTitle(), "Tallowmere Pelorin");
    EXPECT_EQ(frame->GetPageWindows().Count(), 0);
}

} // namespace

namespace {

// The program's answers follow the main frame: its site, the page of the active window, the item of an object.
TEST_F(ShellTest, ProgramServicesAnswerFromTheMainFrame)
{
    Start();
    CProgramServices program;
    program.SetMainFrame(frame);
    EXPECT_EQ(program.GetCurrentSite(), nullptr);
    EXPECT_EQ(program.GetCurrentPage(), nullptr);
    EXPECT_EQ(program.GetSitePageCount(), -1);
    EXPECT_EQ(program.GetAppSettings(), &frame->GetSettings());
    CColor color;
    ASSERT_TRUE(program.GetToolsBarColor(color));
    EXPECT_EQ(color.GetCOLORREF(), 0x008000u);

    frame->GetOpenSite().OpenSite(MakeSite({"Contact", "Home"}));
    CWebsite* site = frame->GetCurrentSite();
    EXPECT_EQ(program.GetCurrentSite(), site);
    EXPECT_EQ(program.GetCurrentPage(), site->GetPage(1));
    EXPECT_EQ(program.GetSitePageCount(), 2);
    EXPECT_EQ(program.GetCurrentObject(), nullptr);

    CSitePage* contact = site->GetPage(0);
    auto main = std::make_unique<FakePageObject>(objectRectangle);
    auto twin = std::make_unique<FakePageObject>(objectRectangle);
    const CPageObject* mainObject = main.get();
    const CPageObject* twinObject = twin.get();
    CPageItem* item = contact->InsertItem(std::make_unique<CPageItem>(std::move(main), contact->GetRenderBuffer()));
    item->SetMouseOverObject(std::move(twin));
    EXPECT_EQ(program.FindItemForObject(mainObject), item);
    EXPECT_EQ(program.FindItemForObject(twinObject), item);
    const FakePageObject stranger(objectRectangle);
    EXPECT_EQ(program.FindItemForObject(&stranger), nullptr);

    // The page of the window the user turns to, and its one selected item's object.
    frame->GetPageWindows().Open(0);
    contact->SelectItemAt(0);
    EXPECT_EQ(program.GetCurrentPage(), contact);
    EXPECT_EQ(program.GetCurrentObject(), item->GetCurrentObject());
}

} // namespace

namespace {

// A text learns of its item's mouse-over twin from the item: the twin makes it a picture rather than plain text,
// and the text edited last goes to the twin while the item shows the same text in both.
TEST_F(ShellTest, TextsAskTheirPageItemsAboutTheirTwins)
{
    using text_editing_testing::MakeText;
    using text_editing_testing::Paragraphs;
    // GTK's fonts still hold fontconfig when the tests end; the program keeps it at exit for them too.
    KeepFontconfigAtExit();
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Home"}));
    CSitePage* home = frame->GetCurrentSite()->GetPage(0);
    CProgramServices program;
    program.SetMainFrame(frame);
    const SeamsInstalled programSeams(program);

    std::unique_ptr<CTextObject> made = MakeText(200, {"Hello"});
    CTextObject* main = made.get();
    CPageItem* item = home->AddObject(std::move(made));
    EXPECT_TRUE(main->IsPlainObject());
    made = MakeText(200, {"Over"});
    CTextObject* twin = made.get();
    item->SetMouseOverObject(std::move(made));
    EXPECT_EQ(main->GetItem(), item);
    EXPECT_EQ(twin->GetItem(), item);
    EXPECT_TRUE(item->HasMouseOverTwin());
    EXPECT_FALSE(main->IsPlainObject());
    EXPECT_FALSE(twin->IsPlainObject());

    // The twin is shown and edited; with the same text the main object takes its text, without it nothing moves.
    ASSERT_TRUE(twin->EndEdit(nullptr, false));
    EXPECT_EQ(Paragraphs(*main), std::vector<std::string>{"Over"});
    item->SetSameText(false);
    twin->SetTextBody(MakeText(200, {"Away"})->GetTextBody()->Clone());
    ASSERT_TRUE(twin->EndEdit(nullptr, false));
    EXPECT_EQ(Paragraphs(*main), std::vector<std::string>{"Over"});

    std::unique_ptr<CPageObject> removed = item->RemoveMouseOverObject();
    EXPECT_TRUE(main->IsPlainObject());
    EXPECT_EQ(removed->GetItem(), nullptr);
}

} // namespace

namespace {

// The changed-pages list of the last run is read when the window is made, and marks the pages of its site when
// that site is opened.
TEST_F(ShellTest, TheLastRunsChangedPagesAreRead)
{
    // The tracker's file: the site's path and the indices of its changed pages, little-endian counts first.
    const std::string path = scratch / "bakery.kst";
    ASSERT_TRUE(SaveSiteFile(*MakeSite({"Home", "About"}), path));
    std::string bytes;
    auto le32 = [&bytes](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>(v >> (8 * i) & 0xFF);
    };
    le32(static_cast<uint32_t>(path.size()));
    bytes += path;
    le32(1);
    le32(0);
    ASSERT_EQ(CChangedPages().GetFilePath(), scratch / "data/Pelorin/ftpfile.dat");
    std::filesystem::create_directories(scratch / "data/Pelorin");
    std::ofstream(scratch / "data/Pelorin/ftpfile.dat", std::ios::binary) << bytes;

    Start();
    EXPECT_EQ(frame->GetRun().GetChangedPages().GetSitePath(), path);
    EXPECT_EQ(frame->GetRun().GetChangedPages().GetPageIndices(), std::vector<UINT>{0});

    CWebsite* site = frame->GetOpenSite().OpenDocumentFile(path);
    ASSERT_NE(site, nullptr);
    EXPECT_TRUE(frame->GetRun().GetChangedPages().IsSameSite());
    EXPECT_TRUE(site->GetPage(0)->IsChangedSinceUpload());
    EXPECT_FALSE(site->GetPage(1)->IsChangedSinceUpload());
}

} // namespace

namespace {

// Sites opened from files join the recent files, themes do not; the list outlives the run.
TEST_F(ShellTest, OpenedSitesJoinTheRecentFiles)
{
    Start();
    auto site = MakeSite({"Home", "About"});
    for (const char* name : {"bakery.kst", "corner.kth", "BIG.KTH"})
        ASSERT_TRUE(SaveSiteFile(*site, scratch / name));
    std::ofstream(scratch / "broken.kst") << "not a site";

    ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(scratch / "bakery.kst"), nullptr);
    EXPECT_EQ(frame->GetPageWindows().Count(), 1);
    EXPECT_EQ(frame->GetPageWindows().GetActivePage()->GetName(), "About");
    EXPECT_EQ(frame->GetTitle(), "Tallowmere Pelorin - bakery.kst");
    // Another file while a site is open: the user is asked first; No keeps the open site.
    services.answer = false;
    EXPECT_EQ(frame->GetOpenSite().OpenDocumentFile(scratch / "corner.kth"), nullptr);
    EXPECT_EQ(frame->GetCurrentSite()->GetPath(), scratch / "bakery.kst");
    services.answer = true;
    ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(scratch / "corner.kth"), nullptr);
    ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(scratch / "BIG.KTH"), nullptr);
    // A file that is no site is refused before the open site is closed for it: the user is told why and keeps
    // the site, without being asked to close it.
    services.messages.clear();
    CWebsite* open = frame->GetCurrentSite();
    EXPECT_EQ(frame->GetOpenSite().OpenDocumentFile(scratch / "broken.kst"), nullptr);
    ASSERT_EQ(services.messages.size(), 1u) << "told why the file did not open, and nothing else";
    EXPECT_NE(services.messages[0].find("broken.kst"), std::string::npos) << services.messages[0];
    EXPECT_EQ(frame->GetCurrentSite(), open);
    EXPECT_EQ(frame->GetPageWindows().Count(), 1);
    EXPECT_EQ(frame->GetRun().GetRecentFiles().Get(), std::vector<std::string>{scratch / "bakery.kst"});
    Close();

    Start();
    EXPECT_EQ(frame->GetRun().GetRecentFiles().Get(), std::vector<std::string>{scratch / "bakery.kst"});
}

} // namespace

namespace {

// The site lives while one of its windows is open: closing the last one asks about unsaved changes (Cancel keeps
// the window) and then closes the site.
TEST_F(ShellTest, ClosingTheLastPageWindowAsksAndClosesTheSite)
{
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Home", "About"}));
    frame->GetPageWindows().Open(0);
    ASSERT_EQ(frame->GetPageWindows().Count(), 2);
    frame->GetCurrentSite()->SetModified();

    // Another window stays open: nothing is asked.
    frame->GetPageWindows().GetWindows()[0]->Close();
    Settle();
    EXPECT_EQ(frame->GetPageWindows().Count(), 1);
    EXPECT_TRUE(services.messages.empty());
    ASSERT_NE(frame->GetCurrentSite(), nullptr);

    services.answer = false; // Cancel
    frame->GetPageWindows().GetWindows()[0]->Close();
    Settle();
    EXPECT_EQ(services.messages, std::vector<std::string>{"save changes?"});
    EXPECT_EQ(frame->GetPageWindows().Count(), 1);
    ASSERT_NE(frame->GetCurrentSite(), nullptr);

    services.answer = true; // No: the changes go with the site
    frame->GetPageWindows().GetWindows()[0]->Close();
    Settle();
    EXPECT_EQ(frame->GetPageWindows().Count(), 0);
    EXPECT_EQ(frame->GetCurrentSite(), nullptr);

    // Closing the main window asks once, however many page windows are open.
    frame->GetOpenSite().OpenSite(MakeSite({"Home", "About"}));
    frame->GetPageWindows().Open(0);
    frame->GetCurrentSite()->SetModified();
    services.messages.clear();
    Close();
    EXPECT_EQ(services.messages, std::vector<std::string>{"save changes?"});
}

// The empty area where the page windows stand is the window's grey at start and again once the site has closed;
// the pictures show it: test-output/main_window_empty_at_start.png, main_window_empty_after_close.png.
TEST_F(ShellTest, TheEmptyPageAreaIsTheSameGreyAfterTheSiteCloses)
{
    ScopedWindowManager manager;
    ASSERT_TRUE(manager.IsReady());
    Start();
    wxWindow* area = frame->GetClientWindow();
    ASSERT_NE(area, nullptr);
    // The colour in the middle of the area, as the screen shows it.
    const auto middleColour = [&](const std::string& name) {
        Settle();
        const std::string file = (TestOutputFolder() / name).string();
        EXPECT_TRUE(SaveScreenPicture(area->GetScreenRect(), file));
        wxImage picture;
        EXPECT_TRUE(picture.LoadFile(file, wxBITMAP_TYPE_PNG));
        if (!picture.IsOk())
            return wxColour();
        return wxColour(picture.GetRed(picture.GetWidth() / 2, picture.GetHeight() / 2),
                        picture.GetGreen(picture.GetWidth() / 2, picture.GetHeight() / 2),
                        picture.GetBlue(picture.GetWidth() / 2, picture.GetHeight() / 2));
    };
    const wxColour atStart = middleColour("main_window_empty_at_start.png");
    EXPECT_LT(atStart.Red(), 250) << "grey, not white";

    frame->GetOpenSite().OpenSite(MakeSite({"Home", "About us"}));
    frame->GetPageWindows().Open(0);
    Settle();
    wxCommandEvent close(wxEVT_MENU, ID_FILE_CLOSE);
    frame->ProcessWindowEvent(close);
    ASSERT_EQ(frame->GetCurrentSite(), nullptr);
    EXPECT_EQ(middleColour("main_window_empty_after_close.png"), atStart);
}

} // namespace
