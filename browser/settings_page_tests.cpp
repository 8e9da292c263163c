#include "browser/browser_test_support.h"
#include "browser/kitefly.h"
#include "browser/settings_page.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/propdlg.h>
#include <wx/radiobut.h>
#include <wx/timer.h>

#include <filesystem>

using namespace kitefly;
using namespace kitefly::test;

namespace {

class SettingsPage : public ClientTest
{
protected:
    SettingsPage()
    {
        std::filesystem::create_directories(Folder("opera"));
        WriteFile(Folder("opera/opera.exe"), "", true);
        WriteFile(Folder("netscape"), "", true);
        WritePrivateProfileString("INSTALL", "MAINDIR", Folder("opera"), "opera.ini");
        WritePrivateProfileString("Browser", "Preferred", "0", "Kitefly.ini");
        detail::ReloadBrowserManager();
        Kitefly_PreparePropSheet(&m_record);
        detail::SetFindFileHandler([this](const FindRequest& request) {
            requests.push_back(request);
            return chosen;
        });
    }
    ~SettingsPage() override
    {
        detail::SetFindFileHandler({});
        while (Kitefly_IsOpen())
            Kitefly_Close();
        detail::ReloadBrowserManager();
    }

    wxRadioButton* Radio(wxWindow* page, int id) { return wxDynamicCast(page->FindWindow(id), wxRadioButton); }
    void Click(wxWindow* page, int id)
    {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(page->FindWindow(id));
        page->FindWindow(id)->ProcessWindowEvent(click);
    }
    // Shows the sheet; `inside` runs on its page while it is shown, then the button of `end` closes the sheet.
    void RunSheet(std::function<void(wxWindow* page)> inside, int end)
    {
        wxTheApp->CallAfter([=, this] {
            for (wxWindow* window : wxTopLevelWindows) {
                auto* sheet = wxDynamicCast(window, wxPropertySheetDialog);
                if (!sheet || sheet->GetTitle() != "Browser Settings")
                    continue;
                wxBookCtrlBase* book = sheet->GetBookCtrl();
                if (book->GetPageCount() == 1) {
                    sheetTitle = book->GetPageText(0);
                    inside(book->GetPage(0));
                }
                wxCommandEvent button(wxEVT_BUTTON, end);
                sheet->ProcessWindowEvent(button);
            }
        });
        EXPECT_EQ(Kitefly_InvokePropSheet(nullptr), 0);
    }

    KITEFLY_PROPSHEETPAGE m_record{};
    std::vector<FindRequest> requests;
    std::optional<std::string> chosen;
    wxString sheetTitle;
};

TEST_F(SettingsPage, OnlyInstalledBrowsersCanBeChosen)
{
    wxFrame frame(nullptr, wxID_ANY, "host");
    auto* page = static_cast<wxWindow*>(CreateBrowserPage(&frame, m_record));
    EXPECT_FALSE(Radio(page, 1064)->IsEnabled());
    EXPECT_FALSE(Radio(page, 1065)->IsEnabled());
    EXPECT_TRUE(Radio(page, 1066)->IsEnabled());
    EXPECT_TRUE(Radio(page, 1066)->GetValue()) << "Opera was made the preferred kind";
    EXPECT_EQ(Radio(page, 1064)->GetLabel(), "Microsoft Internet Explorer");
}

TEST_F(SettingsPage, FindLocatesABrowserAndMakesItSelectable)
{
    wxFrame frame(nullptr, wxID_ANY, "host");
    auto* page = static_cast<wxWindow*>(CreateBrowserPage(&frame, m_record));
    Click(page, 1002);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Locate Netscape Navigator");
    EXPECT_EQ(requests[0].filterIndex, 1);
    EXPECT_FALSE(Radio(page, 1065)->IsEnabled()) << "cancelled: nothing changes";

    chosen = Folder("netscape");
    Click(page, 1002);
    EXPECT_TRUE(Radio(page, 1065)->IsEnabled());
    EXPECT_EQ(GetPrivateProfileString("Browser", "Netscape", "", 260, "Kitefly.ini"), Folder("netscape"));

    Click(page, 1003);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].title, "Locate Opera");
    EXPECT_EQ(requests[2].file, Folder("opera/opera.exe")) << "without the switch";
    EXPECT_EQ(requests[2].folder, Folder("opera/"));
}

TEST_F(SettingsPage, OkSavesTheChoiceAndCancelKeepsOnlyTheFoundPath)
{
    chosen = Folder("netscape");
    RunSheet(
        [this](wxWindow* page) {
            Click(page, 1002);
            Radio(page, 1065)->SetValue(true);
        },
        wxID_CANCEL);
    EXPECT_EQ(sheetTitle, "Web Browser");
    EXPECT_EQ(GetPrivateProfileString("Browser", "Netscape", "", 260, "Kitefly.ini"), Folder("netscape"));
    EXPECT_EQ(GetPrivateProfileString("Browser", "Preferred", "", 260, "Kitefly.ini"), "0");

    RunSheet([this](wxWindow* page) { Radio(page, 1065)->SetValue(true); }, wxID_OK);
    EXPECT_EQ(GetPrivateProfileString("Browser", "Preferred", "", 260, "Kitefly.ini"), "1");
}

} // namespace
