// Every dialog of the library on a display, answered by script, each written as a picture into
// test-output/dialogs/ for a person to look at.

#include "app/dialogs/about_dlg.h"
#include "app/dialogs/background_outside_dlg.h"
#include "app/dialogs/dialogs_test_support.h"
#include "app/dialogs/header_html_dlg.h"
#include "app/dialogs/help_dialogs.h"
#include "app/dialogs/hint_dialogs.h"
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
#include <wx/hyperlink.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

namespace {

class SettingsServices : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    DialogAnswer ShowNotice(int id) override
    {
        notices.push_back(id);
        return noticeAnswer;
    }
    CAppSettings settings;
    std::vector<std::string> messages;
    std::vector<int> notices;
    DialogAnswer noticeAnswer = DialogAnswer::cancel;
};

void PressEscape(wxDialog& dialog)
{
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = WXK_ESCAPE;
    key.SetEventObject(&dialog);
    dialog.ProcessWindowEvent(key);
}

void Tick(wxDialog& dialog, wxCheckBox* box, bool value)
{
    ASSERT_NE(box, nullptr);
    box->SetValue(value);
    wxCommandEvent click(wxEVT_CHECKBOX, box->GetId());
    click.SetEventObject(box);
    click.SetInt(value ? 1 : 0);
    dialog.ProcessWindowEvent(click);
}

// Every label, box and button of the window shows whole: inside its parent, and at least as large as it needs.
void ExpectNothingClipped(wxWindow& window, const std::string& name)
{
    for (wxWindow* child : window.GetChildren()) {
        if (!child->IsShown())
            continue;
        const bool labelled = dynamic_cast<wxStaticText*>(child) || dynamic_cast<wxCheckBox*>(child) ||
                              dynamic_cast<wxButton*>(child) || dynamic_cast<wxHyperlinkCtrl*>(child);
        if (labelled) {
            EXPECT_TRUE(window.GetClientRect().Contains(child->GetRect())) << name << " " << child->GetLabel();
            EXPECT_GE(child->GetSize().GetWidth(), child->GetBestSize().GetWidth()) << name << " " << child->GetLabel();
            EXPECT_GE(child->GetSize().GetHeight(), child->GetBestSize().GetHeight())
                << name << " " << child->GetLabel();
        }
        ExpectNothingClipped(*child, name);
    }
}

class DialogsGallery : public DialogOwnerTest<SettingsServices>
{
protected:
    void SetUp() override
    {
        DialogOwnerTest::SetUp();
        services.settings.m_dialogCenter = CPoint(640, 512);
    }

    // Shows the dialog as it opens and writes its picture under name (when given), then runs it modally while
    // answer, called from inside its loop, answers it.
    int Run(wxDialog& dialog, const std::string& name, const std::function<void()>& answer)
    {
        if (!name.empty()) {
            dialog.Show();
            for (int i = 0; i < 3; ++i)
                Settle();
            ExpectNothingClipped(dialog, name);
            SaveDialogPicture(dialog, name);
            dialog.Hide();
            Settle();
        }
        bool answered = false;
        dialog.CallAfter([&] {
            answer();
            answered = true;
        });
        const int result = dialog.ShowModal();
        EXPECT_TRUE(answered) << name;
        return result;
    }
};

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
    EXPECT_FALSE(services.settings.m_bShowTransparentShapeWarning);
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
    services.settings.m_bShowCounterToolHelp = false;
    services.settings.m_bShowFormularToolHelp = false;
    services.settings.m_bShowDailyTips = false;
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
    EXPECT_TRUE(services.settings.m_bShowCounterToolHelp);
    EXPECT_TRUE(services.settings.m_bShowFormularToolHelp);
    EXPECT_TRUE(services.settings.m_bShowDailyTips);
    EXPECT_FALSE(services.settings.m_bShowTransparentShapeWarning);
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
    EXPECT_FALSE(services.settings.m_bShowDailyTips);

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
    auto* link = dynamic_cast<wxHyperlinkCtrl*>(feedback.FindWindow(1565));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetURL(), GetMakerHomePage() + "/Comments.htm");
    EXPECT_EQ(Run(feedback, "467", [&] { Click(feedback, wxID_OK); }), wxID_OK);
}

TEST_F(DialogsGallery, UpgradeNoticeLinksToTheUpgradePage)
{
    CUpgradeDLG upgrade(owner);
    ASSERT_TRUE(upgrade.IsOk());
    auto* link = dynamic_cast<wxHyperlinkCtrl*>(upgrade.FindWindow(1565));
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
        EXPECT_TRUE(dialog.m_bBrowsed);
        EXPECT_EQ(dialog.m_strReplacementPath, chosen);
    }
    CMissingDocumentDLG dialog(owner, "/home/ann/old/prices.pdf");
    EXPECT_EQ(Run(dialog, "", [&] { Click(dialog, wxID_OK); }), wxID_OK);
    EXPECT_FALSE(dialog.m_bBrowsed);
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
        EXPECT_TRUE(data.m_bTryAgain);
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
    EXPECT_FALSE(data.m_bTryAgain);
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

// The fields are typed into as a user does; OK refuses an emptied name and closes once the fields are sound.
TEST_F(DialogsGallery, NewSiteTakesTheTypedFieldsAndChecksThemOnOk)
{
    services.settings.m_nDefaultPageWidth = 500;
    services.settings.m_nDefaultPageHeight = 500;
    CNewSiteDLG dialog(owner);
    ASSERT_TRUE(dialog.IsOk());
    auto field = [&](int id) { return dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id)); };
    ASSERT_TRUE(field(1002) && field(1007) && field(1003) && field(1004));
    EXPECT_EQ(field(1002)->GetValue(), "My Homepage");
    EXPECT_EQ(field(1003)->GetValue(), "500");
    auto* sizes = dynamic_cast<wxComboBox*>(dialog.FindWindow(1005));
    ASSERT_NE(sizes, nullptr);
    const int result = Run(dialog, "273", [&] {
        field(1002)->SetValue("");
        Click(dialog, wxID_OK);
        EXPECT_TRUE(dialog.IsModal()) << "an empty name is refused";
        EXPECT_EQ(services.messages, (std::vector<std::string>{"Name can't be empty"}));
        field(1002)->SetValue("Bakery");
        field(1007)->SetValue("my page.html");
        field(1003)->SetValue("5000");
        EXPECT_EQ(field(1003)->GetValue(), "5000");
        // The size list drops down with this size first, then the presets; the second preset is chosen.
        wxCommandEvent drop(wxEVT_COMBOBOX_DROPDOWN, 1005);
        drop.SetEventObject(sizes);
        dialog.ProcessWindowEvent(drop);
        ASSERT_EQ(sizes->GetCount(), 4u);
        EXPECT_EQ(sizes->GetString(0), "2000 x 500");
        sizes->SetSelection(2);
        wxCommandEvent chosen(wxEVT_COMBOBOX, 1005);
        chosen.SetEventObject(sizes);
        chosen.SetInt(2);
        dialog.ProcessWindowEvent(chosen);
        EXPECT_EQ(field(1003)->GetValue(), "640");
        EXPECT_EQ(field(1004)->GetValue(), "480");
        // A gradient chosen in the band while the background is a colour makes it a gradient.
        ASSERT_TRUE(dynamic_cast<wxRadioButton*>(dialog.FindWindow(1128))->GetValue());
        CControlNotifyEvent band(EVT_CONTROL_NOTIFY, 1137, GRADIENT_NOTIFY_CHANGED);
        dialog.ProcessWindowEvent(band);
        EXPECT_TRUE(dynamic_cast<wxRadioButton*>(dialog.FindWindow(1131))->GetValue());
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    const NewSiteValues& values = dialog.GetValues();
    EXPECT_EQ(values.m_Background.GetKind(), 2);
    EXPECT_EQ(values.m_strName, "Bakery");
    EXPECT_EQ(values.m_strPageId, "mypagehtml");
    EXPECT_EQ(values.m_nWidth, 640);
    EXPECT_EQ(values.m_nHeight, 480);
    EXPECT_EQ(services.messages.back(), "Illegal characters were removed from the Page ID");
    EXPECT_EQ(services.settings.m_nDefaultPageWidth, 640);
}

// The page ID is cleaned and then checked: one another page has stays in the field with the message.
TEST_F(DialogsGallery, NewPageRefusesATakenIdOnceCleanedAndNamesThePageToCopy)
{
    NewPageSetup setup;
    setup.pageNames = {"Zeta", "alpha", "Beta"};
    setup.homeIndex = 2;
    setup.proposedId = "Page4";
    setup.proposedTitle = "Bakery";
    setup.isFree = [](const std::string& id) { return id != "alpha"; };
    CNewPageDLG dialog(owner, setup);
    ASSERT_TRUE(dialog.IsOk());
    auto* id = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1022));
    auto* pages = dynamic_cast<wxComboBox*>(dialog.FindWindow(1638));
    ASSERT_TRUE(id && pages);
    EXPECT_EQ(id->GetValue(), "Page4");
    ASSERT_EQ(pages->GetCount(), 3u);
    EXPECT_EQ(pages->GetString(1), "Beta (front page)");
    const int result = Run(dialog, "219", [&] {
        id->SetValue("al-pha");
        Click(dialog, wxID_OK);
        EXPECT_TRUE(dialog.IsModal());
        EXPECT_EQ(id->GetValue(), "alpha");
        id->SetValue("my page-1.htm");
        Tick(dialog, dynamic_cast<wxCheckBox*>(dialog.FindWindow(1637)), true);
        pages->SetSelection(1);
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(services.messages, (std::vector<std::string>{"Illegal characters were removed from the Page ID",
                                                           "The Page ID is not unique. Please choose another name.",
                                                           "Illegal characters were removed from the Page ID"}));
    EXPECT_EQ(dialog.GetValues().m_strPageId, "mypage1htm");
    EXPECT_EQ(dialog.GetValues().m_strTitle, "Bakery");
    EXPECT_EQ(dialog.GetValues().m_nDuplicate, 1);
    EXPECT_EQ(dialog.GetValues().m_strSourceName, "Beta");
    EXPECT_EQ(services.settings.m_dialogCenter, CPoint(640, 512)) << "a copy stores no centre";
}

TEST_F(DialogsGallery, MetaTagsHandBackTheTextsAndWhereTheyGo)
{
    CMetaTagsDLG dialog(owner, "bread, cake", "");
    ASSERT_TRUE(dialog.IsOk());
    auto* keywords = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1554));
    ASSERT_NE(keywords, nullptr);
    EXPECT_EQ(keywords->GetValue(), "bread, cake");
    const int result = Run(dialog, "5028", [&] {
        dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1576))->SetValue("Fresh bread every day");
        Click(dialog, 33667 - 32768);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog.GetApplied(), MetaTagsApplied::currentPage);
    EXPECT_EQ(dialog.GetKeywords(), "bread, cake");
    EXPECT_EQ(dialog.GetDescription(), "Fresh bread every day");
}

// The invitation in the empty box is a hint: Save at once hands back no code.
TEST_F(DialogsGallery, AnalyticsHintIsNoCode)
{
    CAnalyticsDLG dialog(owner, "");
    ASSERT_TRUE(dialog.IsOk());
    auto* code = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1671));
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->GetValue(), "");
    EXPECT_EQ(code->GetHint(), kAnalyticsHint);
    wxWindow* hint = dialog.FindWindow("analytics_hint");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->IsShown());
    EXPECT_EQ(Run(dialog, "5047",
                  [&] {
                      code->SetValue("<script>");
                      EXPECT_FALSE(hint->IsShown());
                      code->SetValue("");
                      Click(dialog, 33666 - 32768);
                  }),
              wxID_OK);
    EXPECT_EQ(dialog.GetCode(), "");
}

TEST_F(DialogsGallery, DoctypeOpensOnTheSettingAndStoresTheChoiceOnOk)
{
    services.settings.m_nDefaultDoctype = 7;
    CDoctypeDLG dialog(owner);
    ASSERT_TRUE(dialog.IsOk());
    auto* list = dynamic_cast<wxChoice*>(dialog.FindWindow(316));
    auto* line = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(317));
    ASSERT_TRUE(list && line);
    EXPECT_EQ(list->GetSelection(), 0);
    EXPECT_NE(line->GetValue().Find("Transitional"), wxNOT_FOUND);
    const int result = Run(dialog, "315", [&] {
        list->SetSelection(1);
        wxCommandEvent chosen(wxEVT_CHOICE, 316);
        chosen.SetEventObject(list);
        chosen.SetInt(1);
        dialog.ProcessWindowEvent(chosen);
        EXPECT_NE(line->GetValue().Find("strict.dtd"), wxNOT_FOUND);
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog.GetDoctype(), 1);
    EXPECT_EQ(services.settings.m_nDefaultDoctype, 1);
}

// Both tabs' texts come back on OK, whichever tab shows; the dialog grows but does not shrink below its first size.
TEST_F(DialogsGallery, HeaderHtmlHandsBackBothTexts)
{
    CHeaderHtmlDLG dialog(owner, "<meta name=\"robots\" content=\"all\">", "");
    ASSERT_TRUE(dialog.IsOk());
    const wxSize opened = dialog.GetSize();
    EXPECT_EQ(dialog.GetMinSize(), opened);
    auto* tabs = dynamic_cast<wxNotebook*>(dialog.FindWindow(1595));
    ASSERT_NE(tabs, nullptr);
    const int result = Run(dialog, "5030", [&] {
        dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1555))->SetValue("<style>p{}</style>");
        tabs->SetSelection(1);
        dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1557))->SetValue("start()");
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog.GetHeaderHtml(), "<style>p{}</style>");
    EXPECT_EQ(dialog.GetOnloadCode(), "start()");
}

// A colour chosen while the background continues switches to the solid colour.
TEST_F(DialogsGallery, BackgroundBeyondThePageTurnsSolidWhenAColourIsChosen)
{
    BackgroundOutsideChoice choice;
    choice.continueFill = true;
    CBackgroundOutsideDLG dialog(owner, choice);
    ASSERT_TRUE(dialog.IsOk());
    auto* well = dynamic_cast<CColorControl*>(dialog.FindWindow(1167));
    ASSERT_NE(well, nullptr);
    EXPECT_TRUE(dynamic_cast<wxRadioButton*>(dialog.FindWindow(1160))->GetValue());
    const int result = Run(dialog, "343", [&] {
        well->SetColor(CColor(0, 0, 128));
        CControlNotifyEvent changed(EVT_CONTROL_NOTIFY, 1167, COLOR_NOTIFY_CHANGED);
        dialog.ProcessWindowEvent(changed);
        EXPECT_TRUE(dynamic_cast<wxRadioButton*>(dialog.FindWindow(1170))->GetValue());
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_FALSE(dialog.GetChoice().continueFill);
    EXPECT_EQ(dialog.GetChoice().color, CColor(0, 0, 128));
}

namespace {

// OK wants a target page; the DOCTYPE button asks the DOCTYPE dialog; Transfer, once confirmed, reaches every page.
TEST_F(DialogsGallery, PageDefaultsGoToTheChosenPageOrEveryPage)
{
    CWebsite site("/sites/bakery.kst");
    for (const char* name : {"news", "About", "menu"})
        site.AddPage(std::make_unique<CSitePage>(&site, name, name, site.GetNewPageSettings()));
    site.SetHomePage(site.GetPage(0));
    site.GetPage(2)->SetWidth(500);
    site.MarkSaved();
    CPageDefaultsDLG dialog(owner, site);
    ASSERT_TRUE(dialog.IsOk());
    auto* pages = dynamic_cast<wxComboBox*>(dialog.FindWindow(1006));
    auto* width = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1229));
    auto* link = dynamic_cast<CColorControl*>(dialog.FindWindow(1247));
    ASSERT_TRUE(pages && width && link);
    EXPECT_EQ(width->GetValue(), "740");
    const int result = Run(dialog, "5016", [&] {
        Click(dialog, wxID_OK);
        EXPECT_TRUE(dialog.IsModal());
        EXPECT_EQ(services.messages, std::vector<std::string>{kNoTargetPageMessage});

        wxCommandEvent drop(wxEVT_COMBOBOX_DROPDOWN, 1006);
        drop.SetEventObject(pages);
        dialog.ProcessWindowEvent(drop);
        ASSERT_EQ(pages->GetCount(), 3u);
        EXPECT_EQ(pages->GetString(0), "About");
        pages->SetSelection(1);
        wxCommandEvent chosen(wxEVT_COMBOBOX, 1006);
        chosen.SetEventObject(pages);
        chosen.SetInt(1);
        dialog.ProcessWindowEvent(chosen);
        EXPECT_EQ(width->GetValue(), "500") << "the menu page's width";
        width->SetValue("5");

        // The DOCTYPE dialog, answered from inside its own loop.
        bool asked = false;
        dialog.CallAfter([&] {
            for (wxWindow* window : wxTopLevelWindows)
                if (auto* doctype = dynamic_cast<CDoctypeDLG*>(window); doctype && doctype->IsModal()) {
                    auto* list = dynamic_cast<wxChoice*>(doctype->FindWindow(316));
                    list->SetSelection(1);
                    Click(*doctype, wxID_OK);
                    asked = true;
                }
        });
        Click(dialog, 1252);
        EXPECT_TRUE(asked);

        auto* gradient = dynamic_cast<wxRadioButton*>(dialog.FindWindow(1239));
        ASSERT_NE(gradient, nullptr);
        gradient->SetValue(true);
        wxCommandEvent kind(wxEVT_RADIOBUTTON, 1239);
        kind.SetEventObject(gradient);
        kind.SetInt(1);
        dialog.ProcessWindowEvent(kind);
        EXPECT_TRUE(dynamic_cast<wxCheckBox*>(dialog.FindWindow(1244))->IsEnabled()) << "a gradient's direction";
        link->SetColor(CColor(200, 0, 0));
        CControlNotifyEvent changed(EVT_CONTROL_NOTIFY, 1247, COLOR_NOTIFY_CHANGED);
        dialog.ProcessWindowEvent(changed);
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    const CSitePage& menu = *site.GetPage(2);
    EXPECT_EQ(menu.GetWidth(), 10);
    EXPECT_EQ(menu.GetDoctype(), 1);
    EXPECT_EQ(menu.GetBackground()->GetKind(), 2);
    EXPECT_TRUE(menu.IsChangedSinceUpload());
    EXPECT_EQ(site.GetPage(0)->GetWidth(), 740);
    EXPECT_EQ(site.GetLinkColor(), CColor(200, 0, 0));
    EXPECT_EQ(services.settings.m_nDefaultPageWidth, 10);
    EXPECT_EQ(services.settings.m_nDefaultDoctype, 1);

    // Transfer asks first; confirmed, every page takes the dialog's values.
    services.noticeAnswer = DialogAnswer::ok;
    CPageDefaultsDLG transfer(owner, site);
    ASSERT_TRUE(transfer.IsOk());
    const int transferred = Run(transfer, "", [&] {
        dynamic_cast<wxTextCtrl*>(transfer.FindWindow(1229))->SetValue("620");
        Click(transfer, 1227);
    });
    EXPECT_EQ(transferred, wxID_OK);
    EXPECT_EQ(services.notices, std::vector<int>{kNoticeTransferSettings});
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(site.GetPage(i)->GetWidth(), 620) << i;
    EXPECT_EQ(site.GetPageWidth(), 620);
}

} // namespace

#include "platform/resources/resource_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/toolbar.h>

namespace {

// Every template of the resource folder builds without a word from wx's loader: an unknown style, class or
// property is logged as an error, which the program shows the user in a message box.
TEST_F(DialogsGallery, EveryTemplateOfTheResourceFolderLoadsWithoutAMessage)
{
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(GetResourceFolder())) {
        if (entry.path().extension() != ".xrc")
            continue;
        std::ifstream in(entry.path());
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        // The templates stand one level inside the resource element.
        static const std::regex kTemplate("\n  <object class=\"([^\"]+)\" name=\"([^\"]+)\"");
        for (auto match = std::sregex_iterator(text.begin(), text.end(), kTemplate); match != std::sregex_iterator();
             ++match) {
            const wxString kind = (*match)[1].str();
            const wxString name = (*match)[2].str();
            SCOPED_TRACE(entry.path().filename().string() + " " + std::string(name.utf8_str()));
            if (kind == "wxDialog") {
                wxDialog dialog;
                EXPECT_TRUE(wxXmlResource::Get()->LoadDialog(&dialog, owner, name));
            } else if (kind == "wxPanel") {
                wxPanel* panel = wxXmlResource::Get()->LoadPanel(owner, name);
                EXPECT_NE(panel, nullptr);
                delete panel;
            } else if (kind == "wxMenuBar") {
                delete wxXmlResource::Get()->LoadMenuBar(name);
            } else if (kind == "wxMenu") {
                delete wxXmlResource::Get()->LoadMenu(name);
            } else if (kind == "wxToolBar") {
                // A bar loaded into a frame becomes the frame's own bar.
                auto* frame = new wxFrame(owner, wxID_ANY, "bar");
                EXPECT_NE(wxXmlResource::Get()->LoadToolBar(frame, name), nullptr);
                frame->Destroy();
            } else {
                ADD_FAILURE() << "a template of a kind this test does not build: " << kind.utf8_str();
            }
            ++loaded;
        }
    }
    EXPECT_GT(loaded, 0) << "the resource folder holds the templates";
}

} // namespace
