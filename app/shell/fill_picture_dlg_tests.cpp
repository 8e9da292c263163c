#include "app/shell/fill_picture_dlg.h"

#include "app/shell/shell_test_support.h"
#include "controls/button_controls.h"
#include "platform/gui/control_notify.h"
#include "platform/gui/window_picture.h"
#include "testing/test_output.h"

#include <functional>
#include <wx/checkbox.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

namespace {

// Runs the dialog modally; once it is up, look sees it and then presses a button.
int RunModal(CFillPictureDLG& dialog, const std::function<void()>& look, int press)
{
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        look();
        wxCommandEvent click(wxEVT_BUTTON, press);
        click.SetEventObject(dialog.FindWindow(press));
        dialog.FindWindow(press)->GetEventHandler()->ProcessEvent(click);
    });
    timer.StartOnce(300);
    return dialog.ShowModal();
}

// The missing-picture dialog as a person sees it: test-output/fill_missing_dialog.png.
TEST(FillPictureDialog, TryAgainIsRememberedAndAColourAllowsOk)
{
    ASSERT_TRUE(LoadXrcResources());
    CFillPictureDLG::ResetRememberedChoices();
    const std::string path = "/home/ann/Sites/pictures/sky.png";
    {
        CFillPictureDLG dialog(CFillPictureDLG::Kind::missing, path, CColor(200, 30, 30), nullptr);
        ASSERT_TRUE(dialog.IsReady());
        const int answer = RunModal(
            dialog,
            [&] {
                Settle();
                EXPECT_EQ(dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1213))->GetValue(), path);
                EXPECT_TRUE(dynamic_cast<wxCheckBox*>(dialog.FindWindow(1212))->GetValue());
                EXPECT_TRUE(dialog.FindWindow(wxID_OK)->IsEnabled());
                SaveWindowPicture(&dialog, (TestOutputFolder() / "fill_missing_dialog.png").string());
            },
            1211);
        EXPECT_EQ(answer, wxID_OK);
        EXPECT_TRUE(dialog.m_bTryAgain);
    }
    {
        // After Try Again the twin opens with the box clear and OK waiting; picking a colour ticks the box.
        CFillPictureDLG dialog(CFillPictureDLG::Kind::missing, path, CColor(200, 30, 30), nullptr);
        const int answer = RunModal(
            dialog,
            [&] {
                EXPECT_FALSE(dynamic_cast<wxCheckBox*>(dialog.FindWindow(1212))->GetValue());
                EXPECT_FALSE(dialog.FindWindow(wxID_OK)->IsEnabled());
                auto* well = dynamic_cast<CColorControl*>(dialog.FindWindow(1217));
                ASSERT_NE(well, nullptr);
                well->SetColor(CColor(0, 128, 0));
                SendControlNotify(well, COLOR_NOTIFY_CHANGED);
                EXPECT_TRUE(dynamic_cast<wxCheckBox*>(dialog.FindWindow(1212))->GetValue());
                EXPECT_TRUE(dialog.FindWindow(wxID_OK)->IsEnabled());
            },
            wxID_OK);
        EXPECT_EQ(answer, wxID_OK);
        EXPECT_FALSE(dialog.m_bTryAgain);
        EXPECT_EQ(dialog.m_color.GetCOLORREF(), CColor(0, 128, 0).GetCOLORREF());
    }
    {
        // The other twin keeps its own memory; Cancel leaves the colour as it was.
        CFillPictureDLG dialog(CFillPictureDLG::Kind::invalid, path, CColor(200, 30, 30), nullptr);
        const int answer = RunModal(
            dialog, [&] { EXPECT_TRUE(dynamic_cast<wxCheckBox*>(dialog.FindWindow(1216))->GetValue()); }, wxID_CANCEL);
        EXPECT_EQ(answer, wxID_CANCEL);
        EXPECT_EQ(dialog.m_color.GetCOLORREF(), CColor(200, 30, 30).GetCOLORREF());
    }
}

} // namespace
