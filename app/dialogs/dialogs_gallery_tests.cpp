// The notices, hints, tips, About and the picture questions of the library on a display, answered by script, each
// written as a picture into test-output/dialogs/ for a person to look at.


#include "app/dialogs/about_dlg.h"
#include "app/dialogs/background_outside_dlg.h"
#include "app/dialogs/dialogs_gallery_support.h"
#include "app/dialogs/header_html_dlg.h"
#include "app/dialogs/help_dialogs.h"
#include "app/dialogs/hint_dialogs.h"
#include "app/dialogs/link_controls.h"
#include "app/dialogs/new_page_dlg.h"
#include "app/dialogs/new_site_dlg.h"
#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/notice_table.h"
#include "app/dialogs/page_defaults_dlg.h"
#include "app/dialogs/page_texts_dlg.h"
#include "app/dialogs/tips_dlg.h"
#include "controls/gradient_control.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "platform/win/program_launch.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

#include <functional>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>


using namespace dialogs_gallery;

namespace {

// Every row of the table shows its own text in a window that holds it whole; its buttons answer as the row says.
class NoticePicture : public DialogsGallery, public ::testing::WithParamInterface<int>
{
};

TEST_P(NoticePicture, ShowsItsTextWholeAndAnswers)
{
    const NoticeRow& row = *FindNotice(GetParam());
    const std::string caller = row.id == kNoticeDontShowAgain ? ResourceText(IDS_PNG_EFFECTS_NOTICE) : std::string();
    CNoticeTableDLG dialog(row, owner, caller);
    ASSERT_TRUE(dialog.IsOk());
    if (row.id == kNoticeBuildError)
        dialog.SetDetails("Contact", "The form's receiver address is empty.");
    auto* text = dynamic_cast<wxStaticText*>(dialog.FindWindow(1551));
    ASSERT_NE(text, nullptr);
    const std::string expected = caller.empty() ? ResourceText(static_cast<unsigned>(row.id)) : caller;
    ASSERT_FALSE(expected.empty()) << "string " << row.id;
    wxString shown = text->GetLabel();
    shown.Replace("\n", " ");
    EXPECT_EQ(shown, BytesToWx(expected));
    EXPECT_EQ(dialog.FindWindow(wxID_CANCEL)->IsShown(), row.buttons != NoticeButtons::ok);
    const int result = Run(dialog, std::to_string(row.id), [&] {
        // Every label fits the window.
        const wxRect inside = dialog.GetClientRect();
        for (int id : {1551, 1187, 1188, 1550, int(wxID_OK), int(wxID_CANCEL)}) {
            wxWindow* control = dialog.FindWindow(id);
            if (control && control->IsShown()) {
                EXPECT_TRUE(inside.Contains(control->GetRect())) << "control " << id;
            }
        }
        // Return gives the default answer: the keyboard is on it, not on Cancel or No before it in the row.
        EXPECT_EQ(wxWindow::FindFocus(), dialog.FindWindow(wxID_OK));
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
}

std::vector<int> AllNotices()
{
    size_t count = 0;
    const NoticeRow* rows = GetNoticeRows(count);
    std::vector<int> ids;
    for (size_t i = 0; i < count; ++i)
        ids.push_back(rows[i].id);
    return ids;
}

INSTANTIATE_TEST_SUITE_P(Table, NoticePicture, ::testing::ValuesIn(AllNotices()));

TEST_F(DialogsGallery, RememberedCentreIsStoredOnOkNotOnEscape)
{
    const NoticeRow& row = *FindNotice(kNoticeSiteOpenError);
    {
        CNoticeTableDLG dialog(row, owner);
        Run(dialog, "", [&] {
            // It opened on the remembered centre.
            const wxRect at = dialog.GetRect();
            EXPECT_NEAR(at.GetLeft() + at.GetWidth() / 2, 640, 1);
            EXPECT_NEAR(at.GetTop() + at.GetHeight() / 2, 512, 1);
            dialog.Move(200, 150);
            Settle();
            PressEscape(dialog);
        });
        EXPECT_EQ(services.settings.m_dialogCenter, CPoint(640, 512));
    }
    CNoticeTableDLG dialog(row, owner);
    wxRect moved;
    const int result = Run(dialog, "", [&] {
        dialog.Move(200, 150);
        Settle();
        moved = dialog.GetRect();
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(services.settings.m_dialogCenter,
              CPoint(moved.GetLeft() + (moved.GetWidth()) / 2, moved.GetTop() + moved.GetHeight() / 2));
    EXPECT_NE(services.settings.m_dialogCenter, CPoint(640, 512));

    // The next remembered-centre notice opens there.
    CNoticeTableDLG next(*FindNotice(kNoticeInvalidPicture), owner);
    Run(next, "", [&] {
        const wxRect at = next.GetRect();
        EXPECT_NEAR(at.GetLeft() + at.GetWidth() / 2, services.settings.m_dialogCenter.x, 1);
        Click(next, wxID_OK);
    });
}

TEST_F(DialogsGallery, TransparencyWarningGoesOffAtAnyClickOfItsBox)
{
    CNoticeTableDLG dialog(*FindNotice(kNoticePngTransparency), owner);
    Run(dialog, "", [&] {
        auto* box = dynamic_cast<wxCheckBox*>(dialog.FindWindow(1550));
        Tick(dialog, box, true);
        Tick(dialog, box, false);
        PressEscape(dialog);
    });
    EXPECT_FALSE(services.settings.m_showTransparentShapeWarning);
}

class HintPicture : public DialogsGallery, public ::testing::WithParamInterface<int>
{
};

TEST_P(HintPicture, OnlyOkWithTheBoxTickedSwitchesItOff)
{
    const HintRow& hint = *FindHint(GetParam());
    CToolHintDLG dialog(hint, owner);
    ASSERT_TRUE(dialog.IsOk());
    EXPECT_EQ(dialog.FindWindow(wxID_CANCEL)->IsShown(), hint.hasCancel);
    // OK with the box clear keeps the hint on.
    Run(dialog, "hint_" + std::to_string(hint.id), [&] { Click(dialog, wxID_OK); });
    EXPECT_TRUE(IsHintOn(services.settings, hint));
    // Escape with the box ticked keeps it too.
    Run(dialog, "", [&] {
        Tick(dialog, dialog.GetCheckBox(), true);
        PressEscape(dialog);
    });
    EXPECT_TRUE(IsHintOn(services.settings, hint));
    // OK with the box ticked clears it, and then it no longer shows.
    Run(dialog, "", [&] {
        EXPECT_FALSE(dialog.GetCheckBox()->GetValue()) << "the box starts clear";
        Tick(dialog, dialog.GetCheckBox(), true);
        Click(dialog, wxID_OK);
    });
    EXPECT_FALSE(IsHintOn(services.settings, hint));
    EXPECT_EQ(RunHintWhenOn(hint.id, owner), IDOK);
}

std::vector<int> AllHints()
{
    size_t count = 0;
    const HintRow* rows = GetHintRows(count);
    std::vector<int> ids;
    for (size_t i = 0; i < count; ++i)
        ids.push_back(rows[i].id);
    return ids;
}

INSTANTIATE_TEST_SUITE_P(Table, HintPicture, ::testing::ValuesIn(AllHints()));

TEST_F(DialogsGallery, HelpDialogsShowEveryFlagAndWriteThemOnOkOnly)
{
    services.settings.m_showCounterToolHelp = false;
    services.settings.m_showFormularToolHelp = false;
    services.settings.m_showDailyTips = false;
    {
        CHelpDialogsDLG dialog(owner);
        ASSERT_TRUE(dialog.IsOk());
        const std::vector<wxCheckBox*> boxes = dialog.GetBoxes();
        const std::vector<bool> flags = ReadHelpDialogFlags(services.settings);
        ASSERT_EQ(boxes.size(), flags.size());
        for (size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_TRUE(boxes[i]->IsShown()) << boxes[i]->GetId();
            EXPECT_EQ(boxes[i]->GetValue(), flags[i]) << boxes[i]->GetId();
            EXPECT_TRUE(dialog.GetClientRect().Contains(boxes[i]->GetRect())) << boxes[i]->GetId();
        }
        Run(dialog, "486", [&] {
            for (wxCheckBox* box : boxes)
                box->SetValue(!box->GetValue());
            Click(dialog, wxID_CANCEL);
        });
        EXPECT_EQ(ReadHelpDialogFlags(services.settings), flags) << "Cancel changes nothing";
    }
    CHelpDialogsDLG dialog(owner);
    Run(dialog, "", [&] {
        for (wxCheckBox* box : dialog.GetBoxes())
            box->SetValue(true);
        dialog.GetBoxes()[3]->SetValue(false);
        Click(dialog, wxID_OK);
    });
    EXPECT_TRUE(services.settings.m_showCounterToolHelp);
    EXPECT_TRUE(services.settings.m_showFormularToolHelp);
    EXPECT_TRUE(services.settings.m_showDailyTips);
    EXPECT_FALSE(services.settings.m_showTransparentShapeWarning);
}

// Next and Previous step around the list; Escape and the window manager's close end the dialog as OK does.
TEST_F(DialogsGallery, TipsStepAroundEscapeShowsThePreviousTipAndCloseEndsThem)
{
    CTipsDLG dialog(owner, 19);
    ASSERT_TRUE(dialog.IsOk());
    const int result = Run(dialog, "5044", [&] {
        Click(dialog, 3);
        EXPECT_EQ(dialog.GetTips().GetIndex(), 0);
        Click(dialog, 2);
        EXPECT_EQ(dialog.GetTips().GetIndex(), 19);
        PressEscape(dialog);
        EXPECT_EQ(dialog.GetTips().GetIndex(), 18);
        EXPECT_TRUE(dialog.IsModal()) << "Escape shows the previous tip and leaves the tips open";
        dynamic_cast<wxCheckBox*>(dialog.FindWindow(1645))->SetValue(true);
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_FALSE(services.settings.m_showDailyTips);

    CTipsDLG closed(owner, 3);
    EXPECT_EQ(Run(closed, "", [&] { closed.Close(); }), wxID_OK);
    EXPECT_EQ(closed.GetTips().GetIndex(), 3);
}

TEST_F(DialogsGallery, About)
{
    CAboutDLG about(owner);
    ASSERT_TRUE(about.IsOk());
    EXPECT_EQ(Run(about, "5045", [&] { Click(about, wxID_OK); }), wxID_OK);
}

TEST_F(DialogsGallery, FeedbackLinksToTheCommentsPage)
{
    CFeedbackDLG feedback(owner);
    ASSERT_TRUE(feedback.IsOk());
    auto* link = dynamic_cast<CHyperLink*>(feedback.FindWindow(1565));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetURL(), GetMakerHomePage() + "/Comments.htm");
    EXPECT_EQ(Run(feedback, "467", [&] { Click(feedback, wxID_OK); }), wxID_OK);
}

// The link opens the comments page through the program's starter of other programs (a recorder here), by a click
// and, focused from the keyboard, by the space bar; the dialog stays open until Close.
TEST_F(DialogsGallery, FeedbackLinkOpensByMouseAndByKeyboard)
{
    std::vector<std::vector<std::string>> started;
    const ProgramStarter before = SetProgramStarter([&](const std::vector<std::string>& arguments) {
        started.push_back(arguments);
        return true;
    });
    CFeedbackDLG feedback(owner);
    ASSERT_TRUE(feedback.IsOk());
    auto* link = dynamic_cast<CHyperLink*>(feedback.FindWindow(1565));
    ASSERT_NE(link, nullptr);
    const std::vector<std::string> opened = {"xdg-open", GetMakerHomePage() + "/Comments.htm"};
    const int result = Run(feedback, "", [&] {
        for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
            wxMouseEvent press(type);
            press.SetEventObject(link);
            link->GetEventHandler()->ProcessEvent(press);
        }
        EXPECT_EQ(started, (std::vector<std::vector<std::string>>{opened}));
        EXPECT_TRUE(link->GetState().visited);
        EXPECT_TRUE(feedback.IsShown());

        // In the Tab order, and focused as Tab focuses it.
        EXPECT_TRUE(link->CanAcceptFocusFromKeyboard());
        feedback.FindWindow(wxID_OK)->SetFocus();
        link->SetFocus();
        wxWindow* focused = wxWindow::FindFocus();
        EXPECT_EQ(focused, link);
        if (focused) {
            wxKeyEvent space(wxEVT_KEY_DOWN);
            space.m_keyCode = WXK_SPACE;
            space.SetEventObject(focused);
            focused->GetEventHandler()->ProcessEvent(space);
        }
        EXPECT_EQ(started.size(), 2u);
        Click(feedback, wxID_OK);
    });
    SetProgramStarter(before);
    EXPECT_EQ(result, wxID_OK);
}

TEST_F(DialogsGallery, UpgradeNoticeLinksToTheUpgradePage)
{
    CUpgradeDLG upgrade(owner);
    ASSERT_TRUE(upgrade.IsOk());
    auto* link = dynamic_cast<CHyperLink*>(upgrade.FindWindow(1565));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetURL(), GetMakerHomePage() + "/upgrade");
    EXPECT_EQ(Run(upgrade, "548", [&] { Click(upgrade, wxID_OK); }), wxID_OK);
}

TEST_F(DialogsGallery, MissingDocumentBrowseEndsWithTheFlagWhetherOrNotAFileWasChosen)
{
    for (const std::string& chosen : {std::string(), std::string("/home/ann/prices.pdf")}) {
        CMissingDocumentDLG dialog(owner, "/home/ann/old/prices.pdf");
        ASSERT_TRUE(dialog.IsOk());
        dialog.m_chooseFile = [&](std::string& path) {
            path = chosen;
            return !chosen.empty();
        };
        EXPECT_EQ(dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1549))->GetValue(), "/home/ann/old/prices.pdf");
        const int result = Run(dialog, chosen.empty() ? "498" : "", [&] { Click(dialog, 130); });
        EXPECT_EQ(result, wxID_CANCEL);
        EXPECT_TRUE(dialog.m_browsed);
        EXPECT_EQ(dialog.m_replacementPath, chosen);
    }
    CMissingDocumentDLG dialog(owner, "/home/ann/old/prices.pdf");
    EXPECT_EQ(Run(dialog, "", [&] { Click(dialog, wxID_OK); }), wxID_OK);
    EXPECT_FALSE(dialog.m_browsed);
}

} // namespace

#include "app/dialogs/picture_dialogs.h"
#include "controls/button_controls.h"
#include "platform/gui/control_notify.h"

namespace {

class FillPicturePicture : public DialogsGallery, public ::testing::WithParamInterface<int>
{
};

// Try again is remembered: the next dialog of the same number opens with the solid colour unticked and OK disabled,
// until a colour is picked; OK then hands back that colour and stores the dialog's centre.
TEST_P(FillPicturePicture, TryAgainOrASolidColour)
{
    FillPictureLastChoice(GetParam()) = false;
    FillPictureDialog data;
    data.m_strPath = "/home/ann/Pictures/gone.jpg";
    data.m_color = CColor(200, 30, 30);
    {
        CFillPictureDLG dialog(GetParam(), owner, data);
        ASSERT_TRUE(dialog.IsOk());
        EXPECT_TRUE(dialog.GetSolidBox()->GetValue());
        EXPECT_EQ(dialog.GetColorControl()->GetColor(), data.m_color);
        EXPECT_EQ(Run(dialog, std::to_string(GetParam()), [&] { Click(dialog, 1211); }), wxID_OK);
        EXPECT_TRUE(data.m_tryAgain);
        EXPECT_EQ(services.settings.m_dialogCenter, CPoint(640, 512)) << "Try again stores no centre";
    }
    CFillPictureDLG dialog(GetParam(), owner, data);
    EXPECT_FALSE(dialog.GetSolidBox()->GetValue());
    EXPECT_FALSE(dialog.FindWindow(wxID_OK)->IsEnabled());
    const int result = Run(dialog, "", [&] {
        dialog.Move(100, 120);
        dialog.GetColorControl()->SetColor(CColor(0, 128, 0));
        CControlNotifyEvent changed(EVT_CONTROL_NOTIFY, dialog.GetColorControl()->GetId(), COLOR_NOTIFY_CHANGED);
        dialog.ProcessWindowEvent(changed);
        EXPECT_TRUE(dialog.GetSolidBox()->GetValue());
        EXPECT_TRUE(dialog.FindWindow(wxID_OK)->IsEnabled());
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_FALSE(data.m_tryAgain);
    EXPECT_EQ(data.m_color, CColor(0, 128, 0));
    EXPECT_NE(services.settings.m_dialogCenter, CPoint(640, 512));
}

INSTANTIATE_TEST_SUITE_P(MissingAndInvalid, FillPicturePicture, ::testing::Values(417, 418));

TEST_F(DialogsGallery, PictureTooLargeFitsWithOrWithoutItsAspect)
{
    CPictureTooLargeDLG dialog(owner);
    ASSERT_TRUE(dialog.IsOk());
    auto* fit = dynamic_cast<wxCheckBox*>(dialog.FindWindow(1529));
    auto* keep = dynamic_cast<wxCheckBox*>(dialog.FindWindow(1533));
    ASSERT_TRUE(fit && keep);
    EXPECT_TRUE(fit->GetValue() && keep->GetValue() && keep->IsEnabled());
    const int result = Run(dialog, "494", [&] {
        Tick(dialog, fit, false);
        EXPECT_FALSE(keep->GetValue());
        EXPECT_FALSE(keep->IsEnabled());
        Tick(dialog, fit, true);
        EXPECT_FALSE(keep->GetValue());
        EXPECT_TRUE(keep->IsEnabled());
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_TRUE(dialog.GetChoice().fit);
    EXPECT_FALSE(dialog.GetChoice().keepAspect);
}

} // namespace
