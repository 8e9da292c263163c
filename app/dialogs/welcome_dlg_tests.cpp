// The welcome dialog on a display: each way to begin closes it with OK and says which it was, with the box's state;
// Escape cancels.

#include "app/dialogs/welcome_dlg.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/utils.h>

#include "platform/gui/window_picture.h"
#include "platform/gui/xrc_resources.h"
#include "testing/test_output.h"
#include "testing/gui_settle.h"

namespace {

class WelcomeDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadXrcResources());
        owner = new wxFrame(nullptr, wxID_ANY, "Pelorin", wxPoint(100, 100), wxSize(900, 700));
        owner->Show();
        Settle();
    }
    void TearDown() override
    {
        owner->Destroy();
        Settle();
    }

    // Runs the dialog, ticking the box as told and then pressing the control id inside its loop.
    int Run(CWelcomeDLG& dialog, int id, bool tick)
    {
        dialog.CallAfter([&dialog, id, tick] {
            auto* box = dynamic_cast<wxCheckBox*>(dialog.FindWindow(1169));
            box->SetValue(tick);
            if (id == wxID_CANCEL) {
                wxKeyEvent key(wxEVT_CHAR_HOOK);
                key.m_keyCode = WXK_ESCAPE;
                key.SetEventObject(&dialog);
                dialog.ProcessWindowEvent(key);
                return;
            }
            wxCommandEvent click(wxEVT_BUTTON, id);
            click.SetEventObject(dialog.FindWindow(id));
            dialog.ProcessWindowEvent(click);
        });
        return dialog.ShowModal();
    }

    wxFrame* owner = nullptr;
};

TEST_F(WelcomeDialog, EachChoiceEndsWithOkAndEscapeCancels)
{
    {
        CWelcomeDLG dialog(owner);
        ASSERT_TRUE(dialog.IsOk());
        dialog.CentreOnParent();
        dialog.Show();
        for (int i = 0; i < 3; ++i)
            Settle();
        EXPECT_TRUE(SaveWindowPicture(&dialog, (TestOutputFolder() / "welcome.png").string()));
        dialog.Hide();
        Settle();
    }
    struct Case
    {
        int id;
        bool tick;
        int result;
        WelcomeChoice::Start start;
    };
    const Case cases[] = {
        {1665, false, wxID_OK, WelcomeChoice::newSite},        {1666, true, wxID_OK, WelcomeChoice::openSite},
        {1667, false, wxID_OK, WelcomeChoice::siteFromTheme},  {wxID_OK, true, wxID_OK, WelcomeChoice::none},
        {wxID_CANCEL, true, wxID_CANCEL, WelcomeChoice::none},
    };
    for (const Case& c : cases) {
        CWelcomeDLG dialog(owner);
        EXPECT_EQ(Run(dialog, c.id, c.tick), c.result) << c.id;
        EXPECT_EQ(dialog.GetChoice().start, c.start) << c.id;
        EXPECT_EQ(dialog.GetChoice().dontShowAgain, c.tick) << c.id;
    }
}

} // namespace
