// Escape, pressed on the keyboard while a dialog runs, ends every dialog of the library as its Cancel or Close does:
// never a step inside the dialog, never its OK where OK changes something.

#include "app/dialogs/about_dlg.h"
#include "app/dialogs/background_outside_dlg.h"
#include "app/dialogs/dialogs_test_support.h"
#include "app/dialogs/download_offer_dlg.h"
#include "app/dialogs/header_html_dlg.h"
#include "app/dialogs/help_dialogs.h"
#include "app/dialogs/hint_dialogs.h"
#include "app/dialogs/hint_table.h"
#include "app/dialogs/insert_html_dlg.h"
#include "app/dialogs/internet_setup_dlg.h"
#include "app/dialogs/new_page_dlg.h"
#include "app/dialogs/new_site_dlg.h"
#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/notice_table.h"
#include "app/dialogs/page_defaults_dlg.h"
#include "app/dialogs/page_texts_dlg.h"
#include "app/dialogs/picture_dialogs.h"
#include "app/dialogs/site_folder_dlg.h"
#include "app/dialogs/themes_dlg.h"
#include "app/dialogs/tips_dlg.h"
#include "app/dialogs/welcome_dlg.h"
#include "app/model/app_settings.h"
#include "app/site/website.h"
#include "testing/scratch_folder.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <wx/uiaction.h>

namespace {

class EscapeServices : public NullCoreServices, public NullMessages, public NullCurrentState, public NullModelDialogs
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    CAppSettings settings;
    std::vector<std::string> messages;
};

// What a dialog the table makes must keep alive while it runs.
struct Held
{
    CWebsite site{"/sites/bakery.kst"};
    std::vector<std::string> files;
    FillPictureDialog fill;
    ScratchFolder scratch;
};

struct EscapeCase
{
    const char* name;
    std::function<wxDialog*(wxWindow* owner, Held& held)> make;
    // What ShowModal answers once Escape ended the dialog: its Cancel, or its Close where that is its OK.
    int answer;
};

const EscapeCase kCases[] = {
    {"notice", [](wxWindow* o, Held&) { return new CNoticeTableDLG(*FindNotice(kNoticeSiteOpenError), o); },
     wxID_CANCEL},
    {"question", [](wxWindow* o, Held&) { return new CNoticeTableDLG(*FindNotice(kNoticeDeletePage), o); },
     wxID_CANCEL},
    {"hint",
     [](wxWindow* o, Held&) {
         size_t count = 0;
         return new CToolHintDLG(GetHintRows(count)[0], o);
     },
     wxID_CANCEL},
    {"help dialogs", [](wxWindow* o, Held&) { return new CHelpDialogsDLG(o); }, wxID_CANCEL},
    {"about", [](wxWindow* o, Held&) { return new CAboutDLG(o); }, wxID_OK},
    {"feedback", [](wxWindow* o, Held&) { return new CFeedbackDLG(o); }, wxID_OK},
    {"upgrade", [](wxWindow* o, Held&) { return new CUpgradeDLG(o); }, wxID_OK},
    {"missing document", [](wxWindow* o, Held&) { return new CMissingDocumentDLG(o, "/home/ann/old/prices.pdf"); },
     wxID_OK},
    {"missing fill picture", [](wxWindow* o, Held& h) { return new CFillPictureDLG(417, o, h.fill); }, wxID_CANCEL},
    {"invalid fill picture", [](wxWindow* o, Held& h) { return new CFillPictureDLG(418, o, h.fill); }, wxID_CANCEL},
    {"picture too large", [](wxWindow* o, Held&) { return new CPictureTooLargeDLG(o); }, wxID_CANCEL},
    {"new site", [](wxWindow* o, Held&) { return new CNewSiteDLG(o); }, wxID_CANCEL},
    {"new page",
     [](wxWindow* o, Held&) {
         NewPageSetup setup;
         setup.pageNames = {"Home"};
         setup.homeIndex = 0;
         setup.proposedId = "Page2";
         setup.isFree = [](const std::string&) { return true; };
         return new CNewPageDLG(o, setup);
     },
     wxID_CANCEL},
    {"meta tags", [](wxWindow* o, Held&) { return new CMetaTagsDLG(o, "bread", ""); }, wxID_CANCEL},
    {"analytics", [](wxWindow* o, Held&) { return new CAnalyticsDLG(o, ""); }, wxID_CANCEL},
    {"doctype", [](wxWindow* o, Held&) { return new CDoctypeDLG(o); }, wxID_CANCEL},
    {"header html", [](wxWindow* o, Held&) { return new CHeaderHtmlDLG(o, "", ""); }, wxID_CANCEL},
    {"background beyond the page",
     [](wxWindow* o, Held&) { return new CBackgroundOutsideDLG(o, BackgroundOutsideChoice()); }, wxID_CANCEL},
    {"page defaults", [](wxWindow* o, Held& h) { return new CPageDefaultsDLG(o, h.site); }, wxID_CANCEL},
    {"welcome", [](wxWindow* o, Held&) { return new CWelcomeDLG(o); }, wxID_CANCEL},
    // An empty themes folder: without one the browser gives a notice instead of opening.
    {"themes",
     [](wxWindow* o, Held& h) {
         std::filesystem::create_directories(h.scratch / "Themes");
         return new CThemesDLG(o, h.scratch / "Themes/");
     },
     wxID_CANCEL},
    {"insert html", [](wxWindow* o, Held&) { return new CInsertHtmlDLG(o, HtmlObjectTexts()); }, wxID_CANCEL},
    {"download offer", [](wxWindow* o, Held&) { return new CDownloadOfferDialog(1, o); }, wxID_CANCEL},
    {"save profile", [](wxWindow* o, Held&) { return new CSaveProfileDLG(o); }, wxID_CANCEL},
    {"advanced ftp settings", [](wxWindow* o, Held&) { return new CAdvancedFtpSettingsDLG(o, CFtpProfile()); },
     wxID_CANCEL},
    {"delete profile", [](wxWindow* o, Held&) { return new CSetupQuestionDLG(o, 541); }, wxID_CANCEL},
    {"invalid names", [](wxWindow* o, Held&) { return new CSetupQuestionDLG(o, 5018); }, wxID_CANCEL},
    {"site map", [](wxWindow* o, Held&) { return new CSiteMapDLG({}, {}, o); }, wxID_CANCEL},
    {"add files", [](wxWindow* o, Held& h) { return new CAddFilesDLG(h.files, {}, {}, o); }, wxID_CANCEL},
    {"add files from xml", [](wxWindow* o, Held& h) { return new CAddFilesFromXmlDLG(h.files, {}, {}, o); },
     wxID_CANCEL},
};

// Test names and failures show the case by its name.
void PrintTo(const EscapeCase& start, std::ostream* out)
{
    *out << start.name;
}

class EscapeKey : public DialogOwnerTest<EscapeServices>, public ::testing::WithParamInterface<EscapeCase>
{
};

class EscapeKeyTips : public DialogOwnerTest<EscapeServices>
{
};

TEST_P(EscapeKey, EndsTheDialogAsItsCancelOrCloseDoes)
{
    Held held;
    std::unique_ptr<wxDialog> dialog(GetParam().make(owner, held));
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->GetParent(), owner) << "a dialog stands over the window it was opened from";
    bool pressed = false;
    bool ended = false;
    dialog->CallAfter([&] {
        SettleUntil([&] { return dialog->IsShownOnScreen(); });
        ASSERT_TRUE(dialog->IsShownOnScreen());
        // The display has no window manager: the keyboard goes to the window under the pointer.
        wxUIActionSimulator keys;
        const wxRect area = dialog->GetScreenRect();
        keys.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + 4);
        Settle();
        keys.Char(WXK_ESCAPE);
        pressed = true;
        SettleUntil([&] { return !dialog->IsModal(); });
        ended = !dialog->IsModal();
        // A dialog Escape did not end is ended here, so that the test goes on to say so.
        if (!ended)
            dialog->EndModal(wxID_ABORT);
    });
    const int answer = dialog->ShowModal();
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(ended) << "Escape left the dialog open";
    EXPECT_EQ(answer, GetParam().answer);
}

// Tip of the Day is the one dialog Escape does not end: it shows the previous tip, as its Previous button does,
// and only OK (or the window manager's close) ends it.
TEST_F(EscapeKeyTips, ShowsThePreviousTipAndOnlyOkEndsTheTips)
{
    CTipsDLG dialog(owner, 4);
    ASSERT_TRUE(dialog.IsOk());
    EXPECT_EQ(dialog.GetParent(), owner);
    int before = -1, afterEscape = -1;
    bool openAfterEscape = false;
    dialog.CallAfter([&] {
        SettleUntil([&] { return dialog.IsShownOnScreen(); });
        ASSERT_TRUE(dialog.IsShownOnScreen());
        wxUIActionSimulator keys;
        const wxRect area = dialog.GetScreenRect();
        keys.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + 4);
        Settle();
        before = dialog.GetTips().GetIndex();
        keys.Char(WXK_ESCAPE);
        for (int i = 0; i < 20; ++i)
            Settle();
        afterEscape = dialog.GetTips().GetIndex();
        openAfterEscape = dialog.IsModal();
        dialog.Close();
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_TRUE(openAfterEscape) << "Escape ended the tips";
    EXPECT_NE(afterEscape, before) << "Escape showed no other tip";
}

INSTANTIATE_TEST_SUITE_P(EveryDialog, EscapeKey, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<EscapeCase>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == ' ')
                                     c = '_';
                             return name;
                         });

} // namespace
