#include "app/palettes/prop_frames.h"
#include "app/shell/main_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_test_support.h"
#include "platform/gui/window_picture.h"
#include "platform/resources/string_ids.h"
#include "platform/win/key_store.h"
#include "testing/test_output.h"

namespace {

void RunPaletteCommand(CMainFrame* frame, int id)
{
    wxCommandEvent command(wxEVT_MENU, id);
    frame->ProcessWindowEvent(command);
    Settle();
}

CPalettePage* ActivePage(CMainFrame* frame)
{
    CPropSheetManager* manager = frame->GetPalettes().GetManager();
    auto* shown = dynamic_cast<CPropFrame*>(manager->GetPropFrame(manager->GetCurrentIndex()));
    return shown ? shown->GetSheet()->GetActivePage() : nullptr;
}

// The palette of the last run comes back where it stood, the commands show, hide and pick palettes, the refresh codes
// reach the page on screen, and closing stores the palette and its place.
TEST_F(ShellTest, InspectorPalettesFollowTheCommandsAndOutliveTheRun)
{
    {
        CKeyStore store(StorePath());
        store.WriteProfileInt(kSettingsSection, "Inspector current", 3);
        store.WriteProfileInt(kSettingsSection, "Inspector left", 200);
        store.WriteProfileInt(kSettingsSection, "Inspector top", 180);
        ASSERT_TRUE(store.Save());
    }
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Home"}));
    frame->CreatePalettes();
    Settle();
    CPropSheetManager* manager = frame->GetPalettes().GetManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->GetCurrentIndex(), kFillPropSheet);
    wxWindow* fill = dynamic_cast<CPropFrame*>(manager->GetPropFrame(kFillPropSheet));
    ASSERT_NE(fill, nullptr);
    EXPECT_TRUE(fill->IsShown());
    EXPECT_EQ(fill->GetPosition(), wxPoint(200, 180));
    EXPECT_EQ(fill->GetSize().GetHeight(), 200);
    EXPECT_GE(fill->GetSize().GetWidth(), 255) << "the table's width, or wider where the controls need it";
    EXPECT_TRUE(frame->GetPalettes().GetFlags()[kFillPropSheet]);

    // View > Inspector hides and shows the same palette.
    RunPaletteCommand(frame, ID_VIEW_INSPECTOR);
    EXPECT_FALSE(manager->IsAnyPropSheetVisible());
    // A palette chosen in the Tools menu while the palettes are hidden shows, checked alone.
    RunPaletteCommand(frame, ID_EFFECTS_INSPECTOR);
    EXPECT_EQ(manager->GetCurrentIndex(), kEffectsPropSheet);
    EXPECT_TRUE(manager->GetPropFrame(kEffectsPropSheet)->IsFrameVisible());
    EXPECT_FALSE(fill->IsShown());
    for (int index = 0; index < kPropSheetCount; ++index)
        EXPECT_EQ(frame->GetPalettes().GetFlags()[static_cast<size_t>(index)], index == kEffectsPropSheet);

    // The core's NotifyInspector reaches the page on screen.
    CProgramServices program;
    program.SetMainFrame(frame);
    SeamsInstalled programSeams(program);
    CPalettePage* page = ActivePage(frame);
    ASSERT_NE(page, nullptr);
    const int fills = page->GetFillCount();
    NotifyInspector(kRefreshSelection);
    NotifyInspector(kRefreshTextCaret); // not one the Effects page listens to
    EXPECT_EQ(page->GetFillCount(), fills + 1);
    // The view asks for the Object palette after it made an object.
    GetToolsAndInspector().ShowObjectInspector();
    EXPECT_EQ(manager->GetCurrentIndex(), kObjectPropSheet);
    EXPECT_TRUE(frame->GetPalettes().GetFlags()[kObjectPropSheet]);
    programSeams.PutBack();

    // The view's menu picks the Link palette; the place is the one the first palette had.
    RunPaletteCommand(frame, ID_POPUP_LINK_INSPECTOR);
    EXPECT_EQ(manager->GetCurrentIndex(), kLinkPropSheet);
    EXPECT_EQ(manager->GetPropFrame(kLinkPropSheet)->GetNormalRect().TopLeft(), CPoint(200, 180));
    Close();

    CKeyStore store(StorePath());
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.GetProfileInt(kSettingsSection, "Inspector current", -1), 2u);
    EXPECT_EQ(store.GetProfileInt(kSettingsSection, "Inspector left", -1), 200u);
    EXPECT_EQ(store.GetProfileInt(kSettingsSection, "Inspector top", -1), 180u);
}

// The main window with a page and the Object palette beside it, as the screen shows both:
// test-output/main_window_palette.png.
TEST_F(ShellTest, MainWindowWithAPalettePicture)
{
    {
        CKeyStore store(StorePath());
        CStoredPlacement placement;
        placement.normal = CRect(0, 0, 980, 700);
        SaveWindowPlacement(store, placement);
        store.WriteProfileInt(kSettingsSection, "Inspector current", 1);
        store.WriteProfileInt(kSettingsSection, "Inspector left", 990);
        store.WriteProfileInt(kSettingsSection, "Inspector top", 140);
        ASSERT_TRUE(store.Save());
    }
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Contact", "Home"}));
    frame->CreatePalettes();
    Settle();
    auto* palette = dynamic_cast<CPropFrame*>(frame->GetPalettes().GetManager()->GetPropFrame(kObjectPropSheet));
    ASSERT_NE(palette, nullptr);
    ASSERT_TRUE(palette->IsShown());
    palette->Refresh();
    palette->Update();
    Settle();
    const wxRect both = frame->GetScreenRect().Union(palette->GetScreenRect());
    EXPECT_GE(palette->GetScreenRect().GetLeft(), frame->GetScreenRect().GetRight()) << "beside, not over, the page";
    EXPECT_TRUE(SaveScreenPicture(both, (TestOutputFolder() / "main_window_palette.png").string()));
}

} // namespace

#include "app/dialogs/hint_dialogs.h"
#include "app/dialogs/notice_dialogs.h"

#include <wx/checkbox.h>

namespace {

void ClickButton(wxDialog* dialog, int id)
{
    wxCommandEvent click(wxEVT_BUTTON, id);
    dialog->ProcessWindowEvent(click);
}

// The menu's dialogs and the core's notices are the dialogs library's windows, writing the main frame's settings.
TEST_F(ShellTest, DialogsOfTheMenusAndTheCoreWriteTheSettings)
{
    Start();
    CProgramServices program;
    program.SetMainFrame(frame);
    const SeamsInstalled programSeams(program);

    bool answered = false;
    frame->CallAfter([&] {
        auto* dialog = ModalDialog<CHelpDialogsDLG>();
        ASSERT_NE(dialog, nullptr);
        dialog->GetBoxes()[0]->SetValue(false); // tips of the day
        ClickButton(dialog, wxID_OK);
        answered = true;
    });
    RunPaletteCommand(frame, ID_HELP_DIALOGS);
    EXPECT_TRUE(answered);
    EXPECT_FALSE(frame->GetSettings().m_showDailyTips);

    // The core's do-not-show-again notice hands back its box.
    frame->CallAfter([&] {
        auto* dialog = ModalDialog<CNoticeTableDLG>();
        ASSERT_NE(dialog, nullptr);
        dynamic_cast<wxCheckBox*>(dialog->FindWindow(1550))->SetValue(true);
        ClickButton(dialog, wxID_OK);
    });
    bool dontShowAgain = false;
    EXPECT_EQ(GetMessages().ShowNoticeDialog(IDS_PNG_EFFECTS_NOTICE, dontShowAgain), DialogAnswer::ok);
    EXPECT_TRUE(dontShowAgain);

    // Deleting a page is asked over the main window; No keeps it.
    frame->CallAfter([&] {
        auto* dialog = ModalDialog<CNoticeTableDLG>();
        ASSERT_NE(dialog, nullptr);
        dialog->EndModal(wxID_CANCEL);
    });
    EXPECT_EQ(GetModelDialogs().ShowDeletePageDialog(), DialogAnswer::cancel);
}

} // namespace
