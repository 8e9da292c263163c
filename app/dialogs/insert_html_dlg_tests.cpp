#include "app/dialogs/insert_html_dlg.h"

#include "platform/gui/window_picture.h"
#include "platform/gui/xrc_resources.h"
#include "testing/test_output.h"
#include "testing/gui_settle.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/notebook.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

namespace {

// The dialog opens on the object's texts, one tab each, and hands back what was typed with the used files as they
// came; its picture: test-output/insert_html_dialog.png.
TEST(InsertHtmlDialog, EditsTheThreeCodesAndTheName)
{
    ASSERT_TRUE(LoadXrcResources());
    auto* owner = new wxFrame(nullptr, wxID_ANY, "Pelorin", wxPoint(0, 0), wxSize(800, 600));
    owner->Show();
    HtmlObjectTexts texts{
        "Banner", "<object width=\"320\" height=\"240\"></object>", "<meta name=\"x\">", "start();", {"movie.swf"}};
    {
        CInsertHtmlDLG dialog(owner, texts);
        ASSERT_TRUE(dialog.IsOk());
        auto* tabs = dynamic_cast<wxNotebook*>(dialog.FindWindow(1595));
        ASSERT_NE(tabs, nullptr);
        ASSERT_EQ(tabs->GetPageCount(), 3u);
        EXPECT_EQ(tabs->GetPageText(0), "Body HTML");
        EXPECT_EQ(tabs->GetPageText(1), "Header HTML");
        EXPECT_EQ(tabs->GetPageText(2), "Onload Events");
        auto* body = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1548));
        ASSERT_NE(body, nullptr);
        EXPECT_EQ(body->GetValue(), wxString(texts.m_htmlCode));

        tabs->SetSelection(1);
        auto* header = dynamic_cast<wxTextCtrl*>(dialog.FindWindow("header"));
        ASSERT_NE(header, nullptr);
        header->ChangeValue(wxString::FromUTF8("<title>Caf\xC3\xA9 \xE2\x98\x95</title>"));
        dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1550))->ChangeValue("Movie");
        const HtmlObjectTexts edited = dialog.GetTexts();
        EXPECT_EQ(edited.m_strName, "Movie");
        EXPECT_EQ(edited.m_headerHtml, "<title>Caf\xE9 ?</title>") << "Windows-1252, the cup unknown to it";
        EXPECT_EQ(edited.m_htmlCode, texts.m_htmlCode);
        EXPECT_EQ(edited.m_onloadCode, "start();");
        EXPECT_EQ(edited.m_usedFiles, texts.m_usedFiles);

        tabs->SetSelection(0);
        dialog.Show();
        for (int i = 0; i < 3; ++i)
            Settle();
        EXPECT_TRUE(SaveWindowPicture(&dialog, (TestOutputFolder() / "insert_html_dialog.png").string()));
        dialog.Hide();
    }
    owner->Destroy();
    Settle();
}

} // namespace
