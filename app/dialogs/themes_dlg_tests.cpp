// The themes browser on a display over a Themes folder made by the test: what it lists and selects, the theme
// it returns, and the notice when there is no folder.

#include "app/dialogs/themes_dlg.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/listbox.h>
#include <wx/utils.h>

#include "app/dialogs/themes_test_support.h"
#include "platform/gui/window_picture.h"
#include "platform/gui/xrc_resources.h"
#include "testing/scratch_folder.h"
#include "testing/test_output.h"
#include "testing/gui_settle.h"

namespace {

void Select(wxDialog& dialog, int id, int index, wxEventType type = wxEVT_LISTBOX)
{
    auto* list = dynamic_cast<wxListBox*>(dialog.FindWindow(id));
    ASSERT_NE(list, nullptr);
    list->SetSelection(index);
    wxCommandEvent event(type, id);
    event.SetEventObject(list);
    event.SetInt(index);
    dialog.ProcessWindowEvent(event);
}

class ThemesBrowser : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadXrcResources());
        owner = new wxFrame(nullptr, wxID_ANY, "Pelorin", wxPoint(100, 100), wxSize(900, 700));
        owner->Show();
        themes = scratch / "Themes/";
        ASSERT_TRUE(WriteTestTheme(themes + "Business/harbour.kth", "Business", "Harbour", CColor(20, 60, 120)));
        ASSERT_TRUE(
            WriteTestTheme(themes + "Business/atrium.kth", "Business", "Atrium", CColor(150, 40, 30), 300, 600));
        ASSERT_TRUE(WriteTestTheme(themes + "Hobby/garden.kth", "Hobby", "Garden", CColor(40, 140, 60)));
        Settle();
    }
    void TearDown() override
    {
        owner->Destroy();
        Settle();
    }

    ScratchFolder scratch;
    std::string themes;
    wxFrame* owner = nullptr;
};

TEST_F(ThemesBrowser, ListsCategoriesSelectsFirstThemesAndReturnsTheDoubleClickedOne)
{
    CThemesDLG dialog(owner, themes);
    ASSERT_TRUE(dialog.IsOk());
    auto* categories = dynamic_cast<wxListBox*>(dialog.FindWindow(1220));
    auto* names = dynamic_cast<wxListBox*>(dialog.FindWindow(1221));
    ASSERT_TRUE(categories && names);
    ASSERT_EQ(categories->GetCount(), 2u);
    EXPECT_EQ(categories->GetString(0), "Business");
    EXPECT_EQ(categories->GetSelection(), 0);
    ASSERT_EQ(names->GetCount(), 2u);
    EXPECT_EQ(names->GetString(0), "Atrium");
    EXPECT_EQ(names->GetSelection(), 0);

    Select(dialog, 1221, 1);
    EXPECT_EQ(dialog.GetSelectedTheme(), 1);
    // Another category starts at its first theme.
    Select(dialog, 1220, 1);
    EXPECT_EQ(dialog.GetSelectedCategory(), 1);
    EXPECT_EQ(dialog.GetSelectedTheme(), 0);
    ASSERT_EQ(names->GetCount(), 1u);
    EXPECT_EQ(names->GetString(0), "Garden");
    Select(dialog, 1220, 0);
    EXPECT_EQ(names->GetSelection(), 0);

    dialog.CentreOnParent();
    dialog.Show();
    for (int i = 0; i < 3; ++i)
        Settle();
    EXPECT_TRUE(SaveWindowPicture(&dialog, (TestOutputFolder() / "themes_browser.png").string()));
    dialog.Hide();
    Settle();

    dialog.CallAfter([&] { Select(dialog, 1221, 1, wxEVT_LISTBOX_DCLICK); });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(dialog.GetChosenPath(), themes + "Business/harbour.kth");
}

// The themes the build makes beside the program, each with its picture.
TEST_F(ThemesBrowser, ShowsTheThemesThatComeWithTheProgram)
{
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    CThemesDLG dialog(owner, GetThemesFolder(program.string()));
    ASSERT_TRUE(dialog.IsOk());
    std::vector<std::string> names;
    for (const CThemeCategory& category : dialog.GetCategories())
        names.push_back(category.m_strName);
    EXPECT_EQ(names, (std::vector<std::string>{"Business", "Events", "Personal"}));
    Select(dialog, 1220, 2);
    Select(dialog, 1221, 1);
    dialog.CentreOnParent();
    dialog.Show();
    for (int i = 0; i < 3; ++i)
        Settle();
    EXPECT_TRUE(SaveWindowPicture(&dialog, (TestOutputFolder() / "themes_browser_program.png").string()));
}

TEST_F(ThemesBrowser, OkWithoutThemesReturnsNoPath)
{
    std::filesystem::create_directories(scratch / "Empty/Themes");
    CThemesDLG dialog(owner, scratch / "Empty/Themes/");
    ASSERT_TRUE(dialog.IsOk());
    dialog.CallAfter([&] {
        wxCommandEvent click(wxEVT_BUTTON, wxID_OK);
        dialog.ProcessWindowEvent(click);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
    EXPECT_TRUE(dialog.GetChosenPath().empty());
}

TEST_F(ThemesBrowser, WithoutFolderTheNoticeShowsAndTheBrowserCancels)
{
    CThemesDLG dialog(owner, scratch / "Missing/Themes/");
    ASSERT_TRUE(dialog.IsOk());
    bool noticeSeen = false;
    // The notice is modal on its own; it is answered from inside its loop.
    owner->CallAfter([&] {
        for (wxWindow* window : wxTopLevelWindows) {
            if (auto* notice = dynamic_cast<wxDialog*>(window); notice && notice != &dialog && notice->IsModal()) {
                noticeSeen = true;
                notice->EndModal(wxID_OK);
            }
        }
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_CANCEL);
    EXPECT_TRUE(noticeSeen);
    EXPECT_TRUE(dialog.GetChosenPath().empty());
}

} // namespace
