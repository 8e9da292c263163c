// New Website and Add Page driven through the main window's commands, their dialogs answered by injected events.

#include "app/dialogs/background_outside_dlg.h"
#include "app/dialogs/header_html_dlg.h"
#include "app/dialogs/new_page_dlg.h"
#include "app/dialogs/new_site_dlg.h"
#include "app/dialogs/page_defaults_dlg.h"
#include "app/dialogs/page_texts_dlg.h"
#include "app/model/seams_test_support.h"
#include "app/palettes/page_info_page.h"
#include "app/palettes/prop_frames.h"
#include "app/shell/logic/frame_texts.h"
#include "app/shell/orvel_app.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_test_support.h"
#include "platform/gui/window_picture.h"
#include "platform/resources/string_table.h"
#include "testing/golden_file.h"
#include "testing/test_output.h"

#include <fstream>
#include <iterator>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

namespace {

void Type(wxDialog* dialog, int id, const char* text)
{
    auto* field = dynamic_cast<wxTextCtrl*>(dialog->FindWindow(id));
    ASSERT_NE(field, nullptr) << id;
    field->SetValue(text);
}

void ClickIn(wxDialog* dialog, int id)
{
    wxWindow* control = dialog->FindWindow(id);
    if (auto* radio = dynamic_cast<wxRadioButton*>(control)) {
        radio->SetValue(true);
        wxCommandEvent click(wxEVT_RADIOBUTTON, id);
        click.SetEventObject(radio);
        click.SetInt(1);
        dialog->ProcessWindowEvent(click);
        return;
    }
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(control);
    dialog->ProcessWindowEvent(click);
}

void RunSiteCommand(CMainFrame* frame, int id)
{
    wxCommandEvent command(wxEVT_MENU, id);
    frame->ProcessWindowEvent(command);
    Settle();
}

// The recording services, with the frame's settings for the dialogs that read them.
class SiteCommandServices : public RecordingServices
{
public:
    using RecordingServices::RecordingServices;
    CAppSettings* GetAppSettings() override { return GetTheMainFrame() ? &GetTheMainFrame()->GetSettings() : nullptr; }
    CSitePage* GetCurrentPage() override { return GetTheMainFrame() ? GetTheMainFrame()->GetPageWindows().GetActivePage() : nullptr; }
};

class SiteCommandsTest : public ShellTest
{
protected:
    SiteCommandsTest() : commandServices(frame) {}
    ~SiteCommandsTest() override { Close(); }

    SiteCommandServices commandServices;
    SeamsInstalled<SiteCommandServices> commandSeams{commandServices};
};

TEST_F(SiteCommandsTest, NewWebsiteOpensItsFrontPageAndSavesAFileThatOpensEqual)
{
    Start();
    // The program's own answers, so that the palette's edits reach the page windows.
    CProgramServices program;
    program.SetMainFrame(frame);
    SeamsInstalled programSeams(program);
    bool answered = false;
    frame->CallAfter([&] {
        wxDialog* dialog = ModalDialog<CNewSiteDLG>();
        ASSERT_NE(dialog, nullptr);
        Type(dialog, 1002, "Bakery");
        Type(dialog, 1007, "start");
        Type(dialog, 1003, "400");
        Type(dialog, 1004, "300");
        ClickIn(dialog, 1131);
        ClickIn(dialog, wxID_OK);
        answered = true;
    });
    RunSiteCommand(frame, ID_FILE_NEW);
    ASSERT_TRUE(answered);
    CWebsite* site = frame->GetCurrentSite();
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(site->GetName(), "Bakery");
    ASSERT_EQ(site->GetPageCount(), 1);
    CSitePage* page = site->GetPage(0);
    EXPECT_EQ(page->GetName(), "start");
    EXPECT_EQ(page->GetTitle(), "Bakery");
    EXPECT_EQ(site->GetHomePage(), page);
    EXPECT_EQ(page->GetWidth(), 400);
    EXPECT_EQ(page->GetHeight(), 300);
    EXPECT_EQ(page->GetBackground()->GetKind(), 2);
    EXPECT_TRUE(page->IsChangedSinceUpload());
    // Never saved: closing asks.
    EXPECT_FALSE(site->IsSaved());
    EXPECT_EQ(frame->GetPageWindows().GetActivePage(), page);
    EXPECT_EQ(frame->GetSettings().m_defaultPageWidth, 400);

    // Two more pages, as the dialog proposes them.
    for (int i = 0; i < 2; ++i) {
        frame->CallAfter([] { ClickIn(ModalDialog<CNewPageDLG>(), wxID_OK); });
        RunSiteCommand(frame, ID_ADD_PAGE);
    }
    ASSERT_EQ(site->GetPageCount(), 3);
    CSitePage* second = site->GetPage(1);
    EXPECT_EQ(second->GetTitle(), "Bakery");
    EXPECT_EQ(second->GetWidth(), 400);

    // The second page's title and background, changed on the Page palette.
    frame->CreatePalettes();
    frame->GetPageWindows().Open(1);
    RunSiteCommand(frame, ID_PAGE_INSPECTOR);
    CPropSheetManager* manager = frame->GetPalettes().GetManager();
    auto* palette = dynamic_cast<CPropFrame*>(manager->GetPropFrame(kPagePropSheet));
    ASSERT_NE(palette, nullptr);
    auto* pageInfo = dynamic_cast<CPageInfoPage*>(palette->GetSheet()->GetActivePage());
    ASSERT_NE(pageInfo, nullptr);
    auto* title = dynamic_cast<wxTextCtrl*>(pageInfo->FindWindow(1024));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->GetValue(), "Bakery");
    title->ChangeValue("Our menu");
    wxFocusEvent left(wxEVT_KILL_FOCUS, 1024);
    left.SetEventObject(title);
    title->ProcessWindowEvent(left);
    auto* colour = dynamic_cast<wxRadioButton*>(pageInfo->FindWindow(1063));
    ASSERT_NE(colour, nullptr);
    colour->SetValue(true);
    wxCommandEvent click(wxEVT_RADIOBUTTON, 1063);
    click.SetEventObject(colour);
    click.SetInt(1);
    colour->ProcessWindowEvent(click);
    Settle();
    EXPECT_EQ(second->GetTitle(), "Our menu");
    EXPECT_EQ(second->GetBackground()->GetKind(), 0);
    // A new ID titles the page's window.
    auto* id = dynamic_cast<wxTextCtrl*>(pageInfo->FindWindow(1026));
    id->ChangeValue("menu");
    wxFocusEvent idLeft(wxEVT_KILL_FOCUS, 1026);
    idLeft.SetEventObject(id);
    id->ProcessWindowEvent(idLeft);
    EXPECT_EQ(second->GetName(), "menu");
    EXPECT_EQ(frame->GetPageWindows().GetActive()->GetTitle(), "menu");
    EXPECT_EQ(site->GetPage(2)->GetBackground()->GetKind(), 2);
    EXPECT_TRUE(SaveWindowPicture(frame, (TestOutputFolder() / "main_window_new_site.png").string()));

    programSeams.PutBack();

    const std::string first = scratch / "bakery.kst";
    ASSERT_TRUE(SaveSiteFile(*site, first));
    ASSERT_NE(frame->GetOpenSite().OpenDocumentFile(first), nullptr);
    ASSERT_EQ(frame->GetCurrentSite()->GetPageCount(), 3);
    EXPECT_EQ(frame->GetCurrentSite()->GetPage(1)->GetTitle(), "Our menu");
    const std::string again = scratch / "again.kst";
    ASSERT_TRUE(SaveSiteFile(*frame->GetCurrentSite(), again));
    EXPECT_EQ(ReadFileBytes(first), ReadFileBytes(again));
}

TEST_F(SiteCommandsTest, NewWebsiteKeepsTheOpenSiteWhenTheUserSaysNoOrCancels)
{
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Home", "News"}));
    CWebsite* open = frame->GetCurrentSite();
    commandServices.answer = false;
    RunSiteCommand(frame, ID_FILE_NEW);
    EXPECT_EQ(frame->GetCurrentSite(), open);

    // Yes closes the saved site; Cancel in the dialog then leaves no site.
    commandServices.answer = true;
    frame->CallAfter([&] { ClickIn(ModalDialog<CNewSiteDLG>(), wxID_CANCEL); });
    RunSiteCommand(frame, ID_FILE_NEW);
    EXPECT_EQ(frame->GetCurrentSite(), nullptr);
}

TEST_F(SiteCommandsTest, AddPageRefusesATakenIdAndShowsTheNewPage)
{
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Home", "News"}));
    CWebsite* site = frame->GetCurrentSite();
    site->SetName("Bakery");
    bool answered = false;
    frame->CallAfter([&] {
        wxDialog* dialog = ModalDialog<CNewPageDLG>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dynamic_cast<wxTextCtrl*>(dialog->FindWindow(1023))->GetValue(), "Bakery");
        // Another page's ID, in other case and with a blank, stays in the field with the message.
        Type(dialog, 1022, "ne ws");
        ClickIn(dialog, wxID_OK);
        EXPECT_TRUE(dialog->IsModal());
        Type(dialog, 1022, "menu");
        Type(dialog, 1023, "Our menu");
        ClickIn(dialog, wxID_OK);
        answered = true;
    });
    RunSiteCommand(frame, ID_ADD_PAGE);
    ASSERT_TRUE(answered);
    EXPECT_EQ(commandServices.messages, (std::vector<std::string>{"Illegal characters were removed from the Page ID",
                                                                  ResourceText(IDS_PAGE_ID_TAKEN)}));
    ASSERT_EQ(site->GetPageCount(), 3);
    CSitePage* added = site->GetPage(2);
    EXPECT_EQ(added->GetName(), "menu");
    EXPECT_EQ(added->GetTitle(), "Our menu");
    EXPECT_EQ(frame->GetPageWindows().GetActivePage(), added);
    EXPECT_EQ(frame->GetPageWindows().Count(), 2);
    EXPECT_TRUE(added->IsChangedSinceUpload());
    EXPECT_FALSE(site->IsSaved());

    // At the limit of page windows the notice shows and no page is added.
    std::vector<std::string> names;
    for (int i = 0; i < kMaxPageWindows; ++i)
        names.push_back("page" + std::to_string(i));
    frame->GetOpenSite().OpenSite(MakeSite(names));
    for (int i = 0; i < kMaxPageWindows; ++i)
        frame->GetPageWindows().Open(i);
    commandServices.messages.clear();
    RunSiteCommand(frame, ID_ADD_PAGE);
    EXPECT_EQ(commandServices.messages, (std::vector<std::string>{"notice 410"}));
    EXPECT_EQ(frame->GetCurrentSite()->GetPageCount(), kMaxPageWindows);
}

TEST_F(SiteCommandsTest, KeywordsAnalyticsAndHeaderReachThePagesAndCountForTheUpload)
{
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Home", "News", "Menu"}));
    CWebsite* site = frame->GetCurrentSite();
    for (int i = 0; i < site->GetPageCount(); ++i)
        site->GetPage(i)->SetChangedSinceUpload(false);
    frame->CallAfter([] {
        wxDialog* dialog = ModalDialog<CMetaTagsDLG>();
        ASSERT_NE(dialog, nullptr);
        Type(dialog, 1554, "bread, cake");
        ClickIn(dialog, 33666 - 32768);
    });
    RunSiteCommand(frame, ID_EDIT_META_TAGS);
    for (int i = 0; i < site->GetPageCount(); ++i) {
        EXPECT_EQ(site->GetPage(i)->GetKeywords(), "bread, cake") << i;
        EXPECT_TRUE(site->GetPage(i)->IsChangedSinceUpload()) << i;
    }
    EXPECT_FALSE(site->IsSaved());

    // Save without typing stores no code.
    frame->CallAfter([] { ClickIn(ModalDialog<CAnalyticsDLG>(), 33666 - 32768); });
    RunSiteCommand(frame, ID_INSERT_ANALYTICS);
    for (int i = 0; i < site->GetPageCount(); ++i)
        EXPECT_EQ(site->GetPage(i)->GetAnalyticsCode(), "") << i;

    frame->CallAfter([] {
        wxDialog* dialog = ModalDialog<CHeaderHtmlDLG>();
        ASSERT_NE(dialog, nullptr);
        Type(dialog, 1557, "start()");
        ClickIn(dialog, wxID_OK);
    });
    RunSiteCommand(frame, ID_EDIT_HEADER);
    EXPECT_EQ(frame->GetPageWindows().GetActivePage()->GetOnloadCode(), "start()");

    // The background beyond the pages is a setting of the program.
    frame->GetSettings().m_repeatBackgroundFill = true;
    frame->CallAfter([] {
        wxDialog* dialog = ModalDialog<CBackgroundOutsideDLG>();
        ASSERT_NE(dialog, nullptr);
        ClickIn(dialog, 1170);
        ClickIn(dialog, wxID_OK);
    });
    RunSiteCommand(frame, ID_BACKGROUND_PREFERENCES);
    EXPECT_FALSE(frame->GetSettings().m_repeatBackgroundFill);
}

TEST_F(SiteCommandsTest, StandardSettingsForNewPagesTransferToEveryPageAndCountAsChanges)
{
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Home", "News", "Menu"}));
    CWebsite* site = frame->GetCurrentSite();
    for (int i = 0; i < site->GetPageCount(); ++i)
        site->GetPage(i)->SetChangedSinceUpload(false);
    wxMenu menu;
    menu.Append(ID_PAGE_DEFAULTS, "-");
    wxUpdateUIEvent update(ID_PAGE_DEFAULTS);
    update.SetEventObject(&menu);
    frame->ProcessWindowEvent(update);
    EXPECT_TRUE(update.GetEnabled());
    bool answered = false;
    frame->CallAfter([&] {
        wxDialog* dialog = ModalDialog<CPageDefaultsDLG>();
        ASSERT_NE(dialog, nullptr);
        Type(dialog, 1231, "900");
        ClickIn(dialog, 1227);
        answered = true;
    });
    RunSiteCommand(frame, ID_PAGE_DEFAULTS);
    ASSERT_TRUE(answered);
    EXPECT_EQ(commandServices.messages, std::vector<std::string>{"notice 5017"});
    for (int i = 0; i < site->GetPageCount(); ++i) {
        EXPECT_EQ(site->GetPage(i)->GetHeight(), 900) << i;
        EXPECT_TRUE(site->GetPage(i)->IsChangedSinceUpload()) << i;
    }
    EXPECT_EQ(site->GetPageHeight(), 900);
    EXPECT_EQ(frame->GetSettings().m_defaultPageHeight, 900);
    EXPECT_FALSE(site->IsSaved());
}

} // namespace

namespace {

class DeletePageAnswering : public CProgramServices
{
public:
    DialogAnswer ShowDeletePageDialog() override
    {
        ++asked;
        return DialogAnswer::ok;
    }
    int asked = 0;
};

using DeletePageTest = ProgramShellTest<DeletePageAnswering>;

TEST_F(DeletePageTest, TheActivePageGoesWithItsWindow)
{
    StartProgram();
    frame->GetOpenSite().OpenSite(MakeSite({"Cakes", "Home", "Bread"}));
    Settle();
    CWebsite* site = frame->GetCurrentSite();
    for (int i = 0; i < site->GetPageCount(); ++i)
        site->GetPage(i)->SetChangedSinceUpload(false);
    auto enabled = [&] {
        wxMenuItem* item = frame->GetMenuBar()->FindItem(ID_DELETE_PAGE);
        item->GetMenu()->UpdateUI(frame);
        return item->IsEnabled();
    };
    EXPECT_FALSE(enabled()) << "the site's only window";
    ASSERT_NE(frame->GetPageWindows().Open(0), nullptr);
    Settle();
    ASSERT_EQ(frame->GetPageWindows().GetActivePage(), site->GetPage(0));
    EXPECT_TRUE(enabled());

    wxCommandEvent command(wxEVT_MENU, ID_DELETE_PAGE);
    frame->GetEventHandler()->ProcessEvent(command);
    Settle();
    EXPECT_EQ(program.asked, 1);
    ASSERT_EQ(site->GetPageCount(), 2);
    EXPECT_EQ(site->GetPage(0)->GetName(), "Home");
    EXPECT_EQ(frame->GetPageWindows().Count(), 1);
    EXPECT_EQ(frame->GetPageWindows().GetActivePage(), site->GetPage(0));
    EXPECT_EQ(site->GetCurrentPage(), site->GetPage(0));
    for (int i = 0; i < site->GetPageCount(); ++i)
        EXPECT_TRUE(site->GetPage(i)->IsChangedSinceUpload()) << i;
    EXPECT_FALSE(enabled());
}

// The browser and download dialogs answered by script, every question recorded.

} // namespace
