#include "app/dialogs/help_dialogs.h"
#include "app/dialogs/hint_table.h"
#include "app/dialogs/notice_table.h"
#include "app/dialogs/tips.h"

#include <gtest/gtest.h>
#include <set>

namespace {

TEST(NoticeTable, RowsAreUniqueAndPlacementsAsTheNoticesNeed)
{
    size_t count = 0;
    const NoticeRow* rows = GetNoticeRows(count);
    std::set<int> ids;
    for (size_t i = 0; i < count; ++i)
        EXPECT_TRUE(ids.insert(rows[i].id).second) << rows[i].id;
    EXPECT_EQ(FindNotice(kNoticeDeletePage)->placement, NoticePlacement::mainWindow);
    EXPECT_EQ(FindNotice(kNoticeDeletePage)->buttons, NoticeButtons::yesNo);
    EXPECT_EQ(FindNotice(kNoticeServerAccessDenied)->placement, NoticePlacement::desktop);
    EXPECT_EQ(FindNotice(kNoticeSiteOpenError)->placement, NoticePlacement::rememberedCentre);
    EXPECT_EQ(FindNotice(kNoticeNoMemoryForFill)->placement, NoticePlacement::owner);
    EXPECT_EQ(FindNotice(kNoticePngTransparency)->check, NoticeCheck::transparencyWarning);
    EXPECT_EQ(FindNotice(12345), nullptr);
}

TEST(NoticeTable, RememberedCentreRoundTrips)
{
    const CSize size(300, 121);
    const CPoint topLeft = TopLeftForCentre(CPoint(500, 400), size);
    EXPECT_EQ(topLeft, CPoint(350, 340));
    EXPECT_EQ(CentreOf(CRect(topLeft, size)), CPoint(500, 400));
}

TEST(HintTable, OkWithTheBoxTickedIsTheOnlyWayAHintGoesOff)
{
    size_t count = 0;
    const HintRow* rows = GetHintRows(count);
    ASSERT_EQ(count, 11u);
    for (size_t i = 0; i < count; ++i) {
        const HintRow& hint = rows[i];
        struct Case
        {
            int result;
            bool ticked;
            bool on;
        };
        for (const Case c : {Case{IDOK, false, true}, Case{IDCANCEL, true, true}, Case{IDOK, true, false}}) {
            CAppSettings settings;
            ASSERT_TRUE(IsHintOn(settings, hint));
            ApplyHintAnswer(settings, hint, c.result, c.ticked);
            EXPECT_EQ(IsHintOn(settings, hint), c.on) << hint.id << " " << c.result << " " << c.ticked;
            // No other flag moves.
            settings.*hint.flag = true;
            EXPECT_EQ(ReadHelpDialogFlags(settings), ReadHelpDialogFlags(CAppSettings())) << hint.id;
        }
    }
    EXPECT_EQ(FindToolHint(8)->id, kCounterToolHint);
    EXPECT_EQ(FindToolHint(4), nullptr);
    EXPECT_EQ(FindToolHint(0), nullptr);
    EXPECT_TRUE(FindHint(kAdvancedTextHint)->hasCancel);
}

TEST(HelpDialogs, EveryFlagRoundTripsAndEveryHintCanBeSwitchedOnAgain)
{
    const size_t count = GetHelpDialogBoxes().size();
    for (size_t i = 0; i < count; ++i) {
        // One box off, the others on, and the reverse.
        for (bool value : {false, true}) {
            std::vector<bool> boxes(count, !value);
            boxes[i] = value;
            CAppSettings settings;
            WriteHelpDialogFlags(settings, boxes);
            EXPECT_EQ(ReadHelpDialogFlags(settings), boxes) << i;
        }
    }
    // Every hint's flag has its box, the counter's and the form tool's among them.
    size_t hints = 0;
    const HintRow* rows = GetHintRows(hints);
    for (size_t h = 0; h < hints; ++h) {
        CAppSettings settings;
        settings.*rows[h].flag = false;
        WriteHelpDialogFlags(settings, std::vector<bool>(count, true));
        EXPECT_TRUE(IsHintOn(settings, rows[h])) << rows[h].id;
    }
    // A list of the wrong length changes nothing.
    CAppSettings settings;
    WriteHelpDialogFlags(settings, std::vector<bool>(3, false));
    EXPECT_TRUE(settings.m_showDailyTips);
}

TEST(Tips, StepWithWrapAround)
{
    CTipsList tips(19);
    ASSERT_EQ(tips.GetCount(), 20);
    EXPECT_EQ(tips.GetIndex(), 19);
    tips.Next();
    EXPECT_EQ(tips.GetIndex(), 0);
    tips.Previous();
    EXPECT_EQ(tips.GetIndex(), 19);
    EXPECT_EQ(CTipsList(45).GetIndex(), 5);
    std::set<std::string> texts;
    for (int i = 0; i < tips.GetCount(); ++i, tips.Next())
        texts.insert(tips.GetTip());
    EXPECT_EQ(texts.size(), 20u);
}

} // namespace

#include "app/dialogs/fill_dialogs.h"

namespace {

TEST(FillPictureChoice, TheNextDialogRemembersWhetherTheUserTriedAgain)
{
    bool last = false;
    {
        CFillPictureChoice first(last);
        EXPECT_TRUE(first.IsSolidTicked());
        EXPECT_TRUE(first.IsOkEnabled());
        first.OnTryAgain();
        EXPECT_TRUE(first.GetTryAgain());
    }
    CFillPictureChoice second(last);
    EXPECT_FALSE(second.IsSolidTicked()) << "after a Try again the box starts clear";
    EXPECT_FALSE(second.IsOkEnabled());
    EXPECT_TRUE(second.GetTryAgain());
    second.OnColorChanged();
    EXPECT_TRUE(second.IsSolidTicked());
    EXPECT_TRUE(second.IsOkEnabled());
    second.OnSolidClicked(false);
    EXPECT_FALSE(second.IsOkEnabled());
    second.OnSolidClicked(true);
    second.OnOK();
    EXPECT_FALSE(second.GetTryAgain());
    EXPECT_TRUE(CFillPictureChoice(last).IsSolidTicked());
    // The two dialogs remember apart.
    EXPECT_NE(&FillPictureLastChoice(417), &FillPictureLastChoice(418));
}

TEST(PictureTooLargeChoice, ClearingFitClearsAndDisablesKeepAspect)
{
    PictureTooLargeChoice choice;
    EXPECT_TRUE(choice.fit && choice.keepAspect && choice.keepAspectEnabled);
    choice.ClickFit(false);
    EXPECT_FALSE(choice.keepAspect);
    EXPECT_FALSE(choice.keepAspectEnabled);
    choice.ClickFit(true);
    EXPECT_FALSE(choice.keepAspect) << "ticking fit again leaves the aspect box clear";
    EXPECT_TRUE(choice.keepAspectEnabled);
    choice.ClickKeepAspect(true);
    EXPECT_TRUE(choice.keepAspect);
}

} // namespace

#include "app/dialogs/welcome.h"
#include "app/model/app_settings.h"

namespace {

// Only OK writes the box into the setting: Cancel leaves it as it was even with the box changed.
TEST(WelcomeRules, OnlyOkWritesTheShowAtStartSetting)
{
    struct Case
    {
        bool ok;
        bool dontShowAgain;
        bool before;
        bool after;
    };
    const Case cases[] = {
        {true, true, true, false},
        {true, false, false, true},
        {false, true, true, true},
        {false, false, false, false},
    };
    for (const Case& c : cases) {
        CAppSettings settings;
        settings.m_showStartUpDialog = c.before;
        WelcomeChoice choice;
        choice.start = WelcomeChoice::openSite;
        choice.dontShowAgain = c.dontShowAgain;
        ApplyWelcomeChoice(c.ok, choice, settings);
        EXPECT_EQ(settings.m_showStartUpDialog, c.after) << c.ok << c.dontShowAgain << c.before;
    }
}

} // namespace
