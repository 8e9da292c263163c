#include "app/docview/common_windows.h"

#include <gtest/gtest.h>
#include <wx/app.h>

#include "app/docview/document_dialogs.h"
#include "app/docview/window_test_support.h"
#include "app/model/app_settings.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/model/file_pair.h"
#include "app/site/website.h"

namespace {

struct Buttons
{
    bool ok, checkAll, clearAll;
    bool operator==(const Buttons&) const = default;
};

Buttons Enabled(wxDialog& dialog)
{
    return {dialog.FindWindow(wxID_OK)->IsEnabled(), dialog.FindWindow(1536)->IsEnabled(),
            dialog.FindWindow(1537)->IsEnabled()};
}

void Click(wxDialog& dialog, int id)
{
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(dialog.FindWindow(id));
    dialog.FindWindow(id)->GetEventHandler()->ProcessEvent(event);
}

// The user ticks or unticks item i.
void Toggle(wxCheckListBox* list, int i)
{
    list->Check(i, !list->IsChecked(i));
    wxCommandEvent event(wxEVT_CHECKLISTBOX, list->GetId());
    event.SetInt(i);
    event.SetEventObject(list);
    list->GetEventHandler()->ProcessEvent(event);
}

TEST(RemoveIncludedFiles, ChecksDecideTheButtonsAndTheResult)
{
    CWebsite site("/sites/club.kst");
    for (const char* name : {"logo.gif", "prices.pdf", "map.png"})
        site.AppendFilePair(std::make_unique<CFilePair>(std::string("/home/u/files/") + name, std::string("/") + name));
    CRemoveIncludedFilesDLG dialog(site, nullptr);
    ASSERT_TRUE(dialog.IsReady());
    wxCheckListBox* list = dialog.GetList();
    ASSERT_EQ(list->GetCount(), 3u);
    EXPECT_EQ(list->GetString(1), "/home/u/files/prices.pdf");
    EXPECT_EQ(list->GetSelection(), 0);
    EXPECT_EQ(Enabled(dialog), (Buttons{false, true, false}));

    Toggle(list, 1);
    EXPECT_EQ(Enabled(dialog), (Buttons{true, true, true}));
    dialog.Move(0, 0);
    dialog.Show();
    Settle();
    SaveWindowScreenshot(&dialog, "remove_included_files.png");

    Click(dialog, 1536);
    EXPECT_TRUE(list->IsChecked(0) && list->IsChecked(2));
    EXPECT_EQ(Enabled(dialog), (Buttons{true, false, true}));
    Toggle(list, 0);
    EXPECT_EQ(dialog.GetStates(), (std::vector<int>{0, 1, 1}));
    Click(dialog, 1537);
    EXPECT_FALSE(list->IsChecked(1));
    EXPECT_EQ(Enabled(dialog), (Buttons{false, true, false}));
    dialog.Hide();
}

TEST(CommonWindows, BrowserRemovalCloseSitePromptAndWizardSheet)
{
    CRemoveBrowserDLG browsers(nullptr, {"Firefox 128", "Chromium 120"});
    ASSERT_TRUE(browsers.IsReady());
    EXPECT_EQ(browsers.GetTitle(), "Remove Browser");

    CCloseSiteDLG prompt(nullptr);
    ASSERT_TRUE(prompt.IsReady());
    prompt.Move(0, 0);
    prompt.Show();
    Settle();
    SaveWindowScreenshot(&prompt, "close_site_prompt.png");
    prompt.Hide();

    CWizardSheet sheet("Place files", nullptr);
    auto* page = new CPropertyPageExt(sheet, 9999);
    sheet.AddPage(page, "First");
    EXPECT_EQ(page->GetSheet(), &sheet);
    EXPECT_TRUE(page->IsInitialized());
    // Until the wizard allows it, the sheet neither shows nor runs.
    EXPECT_FALSE(sheet.Show());
    EXPECT_FALSE(sheet.IsShown());
    EXPECT_EQ(sheet.DoModal(), wxID_CANCEL);
}

// Yes and No store where the prompt stood as the remembered dialog centre; Cancel answers without storing it.
TEST(SaveChangesPrompt, AnswersAndRemembersWhereItStood)
{
    class Services : public NullCoreServices, public NullCurrentState, public NullModelDialogs
    {
    public:
        CAppSettings* GetAppSettings() override { return &settings; }
        CAppSettings settings;
    } services;
    const SeamsInstalled installed(services);
    struct Case
    {
        int button;
        SaveChangesAnswer answer;
        bool stored;
    };
    const Case cases[] = {
        {wxID_YES, SaveChangesAnswer::yes, true},
        {wxID_NO, SaveChangesAnswer::no, true},
        {wxID_CANCEL, SaveChangesAnswer::cancel, false},
    };
    for (const Case& c : cases) {
        services.settings.m_dialogCenter = CPoint(-1, -1);
        wxTheApp->CallAfter([c] {
            for (wxWindow* window : wxTopLevelWindows)
                if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal()) {
                    dialog->Move(100, 80);
                    if (c.button == wxID_CANCEL) {
                        dialog->EndModal(wxID_CANCEL);
                        return;
                    }
                    Click(*dialog, c.button);
                }
        });
        EXPECT_EQ(AskSaveChangesDialog(nullptr), c.answer) << c.button;
        EXPECT_EQ(services.settings.m_dialogCenter != CPoint(-1, -1), c.stored) << c.button;
        if (c.stored) {
            EXPECT_GT(services.settings.m_dialogCenter.x, 100);
            EXPECT_GT(services.settings.m_dialogCenter.y, 80);
        }
    }
}

} // namespace
