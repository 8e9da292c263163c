#include "app/shell/notice_dlg.h"

#include "app/shell/shell_test_support.h"
#include "platform/gui/window_picture.h"
#include "platform/resources/string_table.h"
#include "testing/test_output.h"

#include <wx/checkbox.h>
#include <wx/stattext.h>

namespace {

// The notice as a person sees it: test-output/notice_dialog.png.
TEST(NoticeDialog, ShowsItsTextAndReturnsTheCheckBox)
{
    ASSERT_TRUE(LoadXrcResources());
    for (bool tick : {false, true}) {
        auto* dialog = new CNoticeDlg(5046, nullptr);
        ASSERT_TRUE(dialog->IsOk());
        auto* text = dynamic_cast<wxStaticText*>(dialog->FindWindow(CNoticeDlg::IDC_TEXT));
        auto* check = dynamic_cast<wxCheckBox*>(dialog->FindWindow(CNoticeDlg::IDC_DONT_SHOW));
        ASSERT_NE(text, nullptr);
        ASSERT_NE(check, nullptr);
        std::string expected;
        ASSERT_TRUE(LoadResourceString(5046, expected));
        EXPECT_EQ(text->GetLabelText().substr(0, 20), wxString(expected.substr(0, 20)));
        EXPECT_FALSE(check->GetValue()) << "the check box starts cleared";
        EXPECT_EQ(dialog->GetTitle(), "Pelorin");
        if (!tick) {
            dialog->SetPosition(wxPoint(0, 0));
            dialog->Show();
            Settle();
            dialog->Update();
            Settle();
            ASSERT_TRUE(SaveWindowPicture(dialog, (TestOutputFolder() / "notice_dialog.png").string()));
        }
        check->SetValue(tick);
        ASSERT_TRUE(dialog->TransferDataFromWindow());
        EXPECT_EQ(dialog->m_nDontShowAgain, tick ? 1 : 0);
        dialog->Destroy();
        Settle();
    }
}

} // namespace
