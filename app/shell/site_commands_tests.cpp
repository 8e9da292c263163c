// New Website and Add Page driven through the main window's commands, their dialogs answered by injected events.

#include "app/dialogs/new_page_dlg.h"
#include "app/dialogs/new_site_dlg.h"
#include "app/shell/logic/frame_texts.h"
#include "app/shell/orvel_app.h"
#include "app/shell/shell_test_support.h"
#include "platform/gui/window_picture.h"
#include "platform/resources/string_table.h"
#include "testing/test_output.h"

#include <fstream>
#include <iterator>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

namespace {

// The dialog that is running modally now, of the given class.
template <class Dialog> Dialog* ModalDialog()
{
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<Dialog*>(window); dialog && dialog->IsModal())
            return dialog;
    return nullptr;
}

void Type(wxDialog* dialog, int id, const char* text)
{
    auto* field = dynamic_cast<wxTextCtrl*>(dialog->FindWindow(id));
    ASSERT_NE(field, nullptr) << id;
    field->SetValue(text);
}

void Click(wxDialog* dialog, int id)
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

void RunCommand(CMainFrame* frame, int id)
{
    wxCommandEvent command(wxEVT_MENU, id);
    frame->ProcessWindowEvent(command);
    Settle();
}

std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The recording services, with the frame's settings for the dialogs that read them.
class SiteCommandServices : public RecordingServices
{
public:
    using RecordingServices::RecordingServices;
    CAppSettings* GetAppSettings() override { return GetTheMainFrame() ? &GetTheMainFrame()->GetSettings() : nullptr; }
};

class SiteCommandsTest : public ShellTest
{
protected:
    SiteCommandsTest() : commandServices(frame) { SetCoreServices(&commandServices); }
    ~SiteCommandsTest() override
    {
        Close();
        SetCoreServices(nullptr);
    }

    SiteCommandServices commandServices;
};

TEST_F(SiteCommandsTest, NewWebsiteOpensItsFrontPageAndSavesAFileThatOpensEqual)
{
    Start();
    bool answered = false;
    frame->CallAfter([&] {
        wxDialog* dialog = ModalDialog<CNewSiteDLG>();
        ASSERT_NE(dialog, nullptr);
        Type(dialog, 1002, "Bakery");
        Type(dialog, 1007, "start");
        Type(dialog, 1003, "400");
        Type(dialog, 1004, "300");
        Click(dialog, 1131);
        Click(dialog, wxID_OK);
        answered = true;
    });
    RunCommand(frame, ID_FILE_NEW);
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
    EXPECT_EQ(frame->GetActivePage(), page);
    EXPECT_EQ(frame->GetSettings().m_nDefaultPageWidth, 400);
    Settle();
    EXPECT_TRUE(SaveWindowPicture(frame, (TestOutputFolder() / "main_window_new_site.png").string()));

    const std::string first = scratch / "bakery.kst";
    ASSERT_TRUE(SaveSiteFile(*site, first));
    ASSERT_NE(OpenDocumentFile(*frame, first), nullptr);
    ASSERT_EQ(frame->GetCurrentSite()->GetPageCount(), 1);
    const std::string second = scratch / "again.kst";
    ASSERT_TRUE(SaveSiteFile(*frame->GetCurrentSite(), second));
    EXPECT_EQ(FileBytes(first), FileBytes(second));
}

TEST_F(SiteCommandsTest, NewWebsiteKeepsTheOpenSiteWhenTheUserSaysNoOrCancels)
{
    Start();
    frame->OpenSite(MakeSite({"Home", "News"}));
    CWebsite* open = frame->GetCurrentSite();
    commandServices.answer = false;
    RunCommand(frame, ID_FILE_NEW);
    EXPECT_EQ(frame->GetCurrentSite(), open);

    // Yes closes the saved site; Cancel in the dialog then leaves no site.
    commandServices.answer = true;
    frame->CallAfter([&] { Click(ModalDialog<CNewSiteDLG>(), wxID_CANCEL); });
    RunCommand(frame, ID_FILE_NEW);
    EXPECT_EQ(frame->GetCurrentSite(), nullptr);
}

TEST_F(SiteCommandsTest, AddPageRefusesATakenIdAndShowsTheNewPage)
{
    Start();
    frame->OpenSite(MakeSite({"Home", "News"}));
    CWebsite* site = frame->GetCurrentSite();
    site->SetName("Bakery");
    bool answered = false;
    frame->CallAfter([&] {
        wxDialog* dialog = ModalDialog<CNewPageDLG>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dynamic_cast<wxTextCtrl*>(dialog->FindWindow(1023))->GetValue(), "Bakery");
        // Another page's ID, in other case and with a blank, stays in the field with the message.
        Type(dialog, 1022, "ne ws");
        Click(dialog, wxID_OK);
        EXPECT_TRUE(dialog->IsModal());
        Type(dialog, 1022, "menu");
        Type(dialog, 1023, "Our menu");
        Click(dialog, wxID_OK);
        answered = true;
    });
    RunCommand(frame, ID_ADD_PAGE);
    ASSERT_TRUE(answered);
    EXPECT_EQ(commandServices.messages,
              (std::vector<std::string>{"Illegal characters were removed from the Page ID", ResourceText(3023)}));
    ASSERT_EQ(site->GetPageCount(), 3);
    CSitePage* added = site->GetPage(2);
    EXPECT_EQ(added->GetName(), "menu");
    EXPECT_EQ(added->GetTitle(), "Our menu");
    EXPECT_EQ(frame->GetActivePage(), added);
    EXPECT_EQ(frame->CountPageWindows(), 2);
    EXPECT_TRUE(added->IsChangedSinceUpload());
    EXPECT_FALSE(site->IsSaved());

    // At the limit of page windows the notice shows and no page is added.
    std::vector<std::string> names;
    for (int i = 0; i < kMaxPageWindows; ++i)
        names.push_back("page" + std::to_string(i));
    frame->OpenSite(MakeSite(names));
    for (int i = 0; i < kMaxPageWindows; ++i)
        frame->OpenPageWindow(i);
    commandServices.messages.clear();
    RunCommand(frame, ID_ADD_PAGE);
    EXPECT_EQ(commandServices.messages, (std::vector<std::string>{"notice 410"}));
    EXPECT_EQ(frame->GetCurrentSite()->GetPageCount(), kMaxPageWindows);
}

} // namespace
