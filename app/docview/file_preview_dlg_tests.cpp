// The open dialog on a display: choosing a site file shows its picture, name, counts and last upload below the
// chooser; a file that is no site shows the cannot-read text; OK gives the chosen path.

#include "app/docview/file_preview_dlg.h"

#include "app/docview/document_dialogs.h"
#include "app/docview/file_preview_test_support.h"
#include "app/site/site_services_fake.h"
#include "platform/gui/window_picture.h"
#include "platform/gui/xrc_resources.h"
#include "testing/gui_settle.h"
#include "testing/scratch_folder.h"
#include "testing/test_output.h"

#include <gtest/gtest.h>
#include <wx/display.h>
#include <wx/filectrl.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::string Label(wxWindow* dialog, int id)
{
    auto* text = dynamic_cast<wxStaticText*>(dialog->FindWindow(id));
    return text ? text->GetLabel().utf8_string() : "(none)";
}

// Selects path in the chooser as a click does and waits until the chooser reports it as chosen and the panel has
// followed (the chooser loads folders in the background).
void Choose(CFilePreviewDLG& dialog, const std::string& path, const std::string& expectedName)
{
    dialog.GetFileCtrl()->SetPath(wxString::FromUTF8(path));
    for (int i = 0; i < 200; ++i) {
        if (dialog.GetFileCtrl()->GetPath().utf8_string() == path && Label(&dialog, 1202) == expectedName)
            break;
        Settle();
    }
}

TEST(FilePreviewDialog, OpenShowsTheChosenSitesPreviewAndGivesItsPath)
{
    SiteServicesFake services;
    ASSERT_TRUE(LoadXrcResources());
    // The file chooser keeps its own settings; without a desktop session they stay in memory.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    ScratchFolder folder;
    const std::string shop = folder / "shop.kst";
    const std::string foreign = folder / "page.kst";
    ASSERT_TRUE(WritePreviewSite(shop, "Corner Shop", {2026, 8, 10, 12, 45}));
    WriteForeignFile(foreign);

    auto* parent = new wxFrame(nullptr, wxID_ANY, "Pelorin", wxPoint(40, 40), wxSize(500, 400));
    parent->Show();
    Settle();

    {
        CFilePreviewDLG dialog(parent, "Open", folder / "", "", "Pelorin Homepage (*.kst)|*.kst");
        ASSERT_TRUE(dialog.IsOk());
        dialog.Show();
        Settle();
        // The run's first open dialog stands at the centre of the screen.
        const wxRect at = dialog.GetScreenRect();
        const wxRect screen = wxDisplay(0u).GetGeometry();
        EXPECT_NEAR(at.GetX() + at.GetWidth() / 2, screen.GetWidth() / 2, 2);
        EXPECT_NEAR(at.GetY() + at.GetHeight() / 2, screen.GetHeight() / 2, 2);

        Choose(dialog, foreign, "");
        SettleUntil([&] { return dialog.FindWindow(1207)->IsShown(); });
        EXPECT_TRUE(dialog.FindWindow(1207)->IsShown());
        EXPECT_EQ(Label(&dialog, 1202), "");
        Settle();
        EXPECT_TRUE(SaveWindowPicture(&dialog, (TestOutputFolder() / "open_dialog_not_a_site.png").string()));

        Choose(dialog, shop, "Corner Shop");
        EXPECT_EQ(Label(&dialog, 1202), "Corner Shop");
        EXPECT_EQ(Label(&dialog, 1203), "2");
        EXPECT_EQ(Label(&dialog, 1205), "3");
        EXPECT_EQ(Label(&dialog, 1206), "10. August 12:45");
        EXPECT_FALSE(dialog.FindWindow(1207)->IsShown());
        Settle();
        EXPECT_TRUE(SaveWindowPicture(&dialog, (TestOutputFolder() / "open_dialog_preview.png").string()));
        dialog.Hide();
        Settle();
    }

    // The program's Open prompt is this dialog; OK gives the chosen file.
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        CFilePreviewDLG* dialog = nullptr;
        for (wxWindow* window : wxTopLevelWindows)
            if (auto* found = dynamic_cast<CFilePreviewDLG*>(window); found && found->IsModal())
                dialog = found;
        if (!dialog)
            return;
        timer.Stop();
        Choose(*dialog, shop, "Corner Shop");
        wxCommandEvent press(wxEVT_BUTTON, wxID_OK);
        press.SetEventObject(dialog->FindWindow(wxID_OK));
        dialog->FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(press);
        // Should OK have refused, the test fails rather than waits for ever.
        if (dialog->IsModal() && dialog->IsShown()) {
            ADD_FAILURE() << "OK did not take " << dialog->GetFileCtrl()->GetPath().utf8_string();
            dialog->EndModal(wxID_CANCEL);
        }
    });
    timer.Start(20);
    std::string path = folder / "";
    EXPECT_TRUE(PromptSiteFileDialog(parent, path, true, false));
    EXPECT_EQ(path, shop);

    parent->Destroy();
    Settle();
}

} // namespace
