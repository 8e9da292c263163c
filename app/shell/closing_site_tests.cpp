// Closing a changed site as the user does, under a window manager, with the program's own question answered by the
// keyboard and the mouse: Return saves the changes, No throws them away and leaves the inspector palette where it
// stood, for the next site and the next start. The question, like every message, carries a close box as its only title
// bar button.

#include "app/objects/rectangle_object.h"
#include "app/palettes/prop_frames.h"
#include "app/shell/logic/tools_bar_logic.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_test_support.h"
#include "app/shell/window_buttons_test_support.h"
#include "platform/gui/window_picture.h"
#include "testing/test_output.h"
#include "testing/window_manager.h"

#include <wx/button.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace {

class ClosingSiteTest : public ShellTest
{
protected:
    ~ClosingSiteTest() override
    {
        if (frame && frame->GetCurrentSite())
            frame->GetCurrentSite()->MarkSaved();
        Close();
        programSeams.reset();
    }

    // The main window with its palettes, answered by the program's own services, no first-use hint in the way, and
    // a site of one page open, saved in the scratch folder (opened as it stands, so that the desktop's list of
    // recent files is left alone).
    void StartWithSite()
    {
        auto site = MakeSite({"Home"});
        site->SetPath(SitePath());
        ASSERT_TRUE(SaveSiteFile(*site, SitePath()));
        Start();
        program.SetMainFrame(frame);
        programSeams.emplace(program);
        for (int tool = 1; tool <= 11; ++tool)
            if (bool* hint = ToolHintFlag(frame->GetSettings(), tool))
                *hint = false;
        frame->CreatePalettes();
        Settle();
        frame->GetOpenSite().OpenSite(std::move(site));
        ASSERT_TRUE(SettleUntil([&] { return frame->IsActive() && Palettes()->IsAnyPropSheetVisible(); }));
    }

    std::string SitePath() const { return scratch / "bakery.kst"; }
    CPropSheetManager* Palettes() const { return frame->GetPalettes().GetManager(); }
    wxWindow* ShownPalette() const
    {
        return dynamic_cast<wxWindow*>(Palettes()->GetPropFrame(Palettes()->GetCurrentIndex()));
    }

    // A rectangle added to the page, which the site has to save.
    void ChangeTheSite()
    {
        CWebsite* site = frame->GetCurrentSite();
        site->GetPage(0)->AddObject(std::make_unique<CRectangleObject>(40, 40, SIZE{80, 60}, 0.0));
        site->SetModified();
    }

    // How many objects the site file on disk holds; -1 when it cannot be read.
    long SavedObjectCount() const
    {
        bool failed = false;
        SiteFileSummary summary;
        ReadSiteThumbnail(SitePath(), failed, &summary);
        return failed ? -1 : summary.objectCount;
    }

    // Runs File > Close; once its question holds the keyboard, answer gets it (and may inject the user's input).
    // The question's picture goes to test-output under name.
    void CloseAnswering(const std::string& name, const std::function<void(wxDialog&)>& answer)
    {
        bool answered = false;
        wxTimer poll;
        poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            wxDialog* question = ModalDialog<wxDialog>();
            if (answered || !question || !question->IsActive()) {
                if (!answered)
                    poll.StartOnce(50);
                return;
            }
            answered = true;
            Settle();
            SaveScreenPicture(question->GetScreenRect(), (TestOutputFolder() / name).string());
            answer(*question);
        });
        poll.StartOnce(50);
        wxCommandEvent close(wxEVT_MENU, ID_FILE_CLOSE);
        frame->ProcessWindowEvent(close);
        poll.Stop();
        EXPECT_TRUE(answered) << "the question came";
    }

    CProgramServices program;
    std::optional<SeamsInstalled<CProgramServices>> programSeams;
};

// Return on the question whether to save saves: the rectangle added is in the site file.
TEST_F(ClosingSiteTest, ReturnOnTheQuestionSavesTheChanges)
{
    ScopedWindowManager manager;
    ASSERT_TRUE(manager.IsReady());
    StartWithSite();
    ChangeTheSite();
    int focused = wxID_NONE;
    std::string buttons;
    CloseAnswering("close_question.png", [&](wxDialog& question) {
        buttons = WindowButtons(&question);
        if (wxWindow* holder = wxWindow::FindFocus())
            focused = holder->GetId();
        wxUIActionSimulator().Char(WXK_RETURN);
    });
    ASSERT_TRUE(SettleUntil([&] { return frame->GetCurrentSite() == nullptr; }));
    EXPECT_EQ(focused, wxID_YES) << "the keyboard is on Yes";
    EXPECT_EQ(buttons, "close");
    EXPECT_EQ(SavedObjectCount(), 1) << "the change was saved";
}

// No, clicked with the mouse, closes the site without saving; the palette that goes with the site keeps its
// place, comes back there with the next site, and the program ended with it hidden gives the next start that
// place.
TEST_F(ClosingSiteTest, NoLeavesThePaletteWhereItStood)
{
    ScopedWindowManager manager;
    ASSERT_TRUE(manager.IsReady());
    StartWithSite();
    wxWindow* palette = ShownPalette();
    ASSERT_NE(palette, nullptr);
    const wxPoint place(700, 420);
    palette->Move(place);
    const auto near = [](const wxPoint& a, const wxPoint& b) {
        return std::abs(a.x - b.x) <= 2 && std::abs(a.y - b.y) <= 2;
    };
    ASSERT_TRUE(SettleUntil([&] { return near(palette->GetPosition(), place); }));
    ChangeTheSite();

    CloseAnswering("close_question_no.png", [&](wxDialog& question) {
        wxWindow* no = question.FindWindow(wxID_NO);
        ASSERT_NE(no, nullptr);
        const wxRect button = no->GetScreenRect();
        wxUIActionSimulator input;
        input.MouseMove(button.GetX() + button.GetWidth() / 2, button.GetY() + button.GetHeight() / 2);
        Settle();
        input.MouseClick();
    });
    ASSERT_TRUE(SettleUntil([&] { return frame->GetCurrentSite() == nullptr; }));
    ASSERT_TRUE(SettleUntil([&] { return !Palettes()->IsAnyPropSheetVisible(); }));
    EXPECT_EQ(SavedObjectCount(), 0) << "nothing was saved";

    CInspectorState state;
    ASSERT_TRUE(Palettes()->GetState(state));
    EXPECT_TRUE(near(wxPoint(state.left, state.top), place)) << state.left << ", " << state.top;

    // The next site brings the palette back where it stood.
    frame->GetOpenSite().OpenSite(MakeSite({"Home"}));
    ASSERT_TRUE(SettleUntil([&] { return Palettes()->IsAnyPropSheetVisible(); }));
    Settle();
    EXPECT_TRUE(near(ShownPalette()->GetPosition(), place))
        << ShownPalette()->GetPosition().x << ", " << ShownPalette()->GetPosition().y;

    // Closed again, this time without changes, and the program ended: the next start shows it there.
    wxCommandEvent close(wxEVT_MENU, ID_FILE_CLOSE);
    frame->ProcessWindowEvent(close);
    ASSERT_TRUE(SettleUntil([&] { return !Palettes()->IsAnyPropSheetVisible(); }));
    programSeams.reset();
    Close();
    Start();
    program.SetMainFrame(frame);
    programSeams.emplace(program);
    frame->CreatePalettes();
    frame->GetOpenSite().OpenSite(MakeSite({"Home"}));
    ASSERT_TRUE(SettleUntil([&] { return Palettes()->IsAnyPropSheetVisible(); }));
    Settle();
    EXPECT_TRUE(near(ShownPalette()->GetPosition(), place))
        << ShownPalette()->GetPosition().x << ", " << ShownPalette()->GetPosition().y;
}

// A message of the program's own services, over the main window: its title bar carries a close box only, and
// Return closes it.
TEST_F(ClosingSiteTest, AMessageCarriesACloseBoxOnly)
{
    ScopedWindowManager manager;
    ASSERT_TRUE(manager.IsReady());
    StartWithSite();
    std::string buttons;
    bool shown = false;
    wxTimer poll;
    poll.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        wxDialog* message = ModalDialog<wxDialog>();
        if (!message || !message->IsActive()) {
            poll.StartOnce(50);
            return;
        }
        shown = true;
        Settle();
        buttons = WindowButtons(message);
        SaveScreenPicture(message->GetScreenRect().Inflate(0, 30),
                          (TestOutputFolder() / "message_title_bar.png").string());
        wxUIActionSimulator().Char(WXK_RETURN);
    });
    poll.StartOnce(50);
    GetMessages().ShowMessage("The user guide could not be opened.");
    poll.Stop();
    ASSERT_TRUE(shown);
    EXPECT_EQ(buttons, "close");
}

} // namespace
