// The page windows' tabs close as document tabs do: by their close button, a middle click or Ctrl+W; the site's
// last window still asks about unsaved changes first.

#include "app/shell/page_tabs.h"

#include "app/shell/orvel_frame.h"
#include "app/shell/shell_test_support.h"
#include "platform/gui/window_picture.h"
#include "testing/test_output.h"

#include <wx/image.h>
#include <wx/uiaction.h>

namespace {

wxPoint Middle(const wxRect& rect)
{
    return wxPoint(rect.GetX() + rect.GetWidth() / 2, rect.GetY() + rect.GetHeight() / 2);
}

// test-output/page_tabs.png shows the tabs with their close buttons.
TEST_F(ShellTest, PageTabsCloseByTheirButtonAMiddleClickAndCtrlW)
{
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Home", "About us", "Contact"}));
    for (int page : {0, 2})
        frame->GetPageWindows().Open(page);
    Settle();
    ASSERT_EQ(frame->GetPageWindows().Count(), 3);
    COrvelFrame* about = frame->GetPageWindows().GetWindows()[0];
    COrvelFrame* home = frame->GetPageWindows().GetWindows()[1];
    const wxRect tab = GetPageTabScreenRect(about);
    const wxRect button = GetPageTabCloseButtonScreenRect(about);
    ASSERT_FALSE(tab.IsEmpty());
    ASSERT_FALSE(button.IsEmpty());
    EXPECT_TRUE(tab.Contains(button)) << "the button stands in its tab";
    const wxRect pages = frame->GetClientWindow()->GetScreenRect();
    SaveScreenPicture(wxRect(pages.GetX(), pages.GetY(), std::min(pages.GetWidth(), 600), tab.GetHeight() + 24),
                      wxString::FromUTF8((TestOutputFolder() / "page_tabs.png").string()));

    wxUIActionSimulator mouse;
    mouse.MouseMove(Middle(button));
    Settle();
    mouse.MouseClick();
    Settle();
    ASSERT_EQ(frame->GetPageWindows().Count(), 2);
    EXPECT_EQ(frame->GetPageWindows().GetWindows()[0], home);

    mouse.MouseMove(Middle(GetPageTabScreenRect(home)));
    Settle();
    mouse.MouseClick(wxMOUSE_BTN_MIDDLE);
    Settle();
    ASSERT_EQ(frame->GetPageWindows().Count(), 1);

    // The last window of a changed site asks first: Cancel keeps it, No lets it go with the site.
    frame->GetCurrentSite()->SetModified();
    services.answer = false;
    services.messages.clear();
    mouse.MouseMove(Middle(frame->GetClientWindow()->GetScreenRect()));
    Settle();
    mouse.Char('w', wxMOD_CONTROL);
    Settle();
    EXPECT_EQ(services.messages, std::vector<std::string>{"save changes?"});
    EXPECT_EQ(frame->GetPageWindows().Count(), 1);
    services.answer = true;
    mouse.Char('w', wxMOD_CONTROL);
    Settle();
    EXPECT_EQ(frame->GetPageWindows().Count(), 0);
    EXPECT_EQ(frame->GetCurrentSite(), nullptr);
}

// A new name keeps the tab's close button.
TEST_F(ShellTest, ARenamedPageKeepsItsTabsCloseButton)
{
    Start();
    frame->GetOpenSite().OpenSite(MakeSite({"Home"}));
    Settle();
    COrvelFrame* window = frame->GetPageWindows().GetActive();
    ASSERT_NE(window, nullptr);
    window->SetTitle("Welcome");
    Settle();
    EXPECT_EQ(window->GetTitle(), "Welcome");
    EXPECT_FALSE(GetPageTabCloseButtonScreenRect(window).IsEmpty());
}

} // namespace

namespace {

// The colour the screen shows in the middle of the tab area.
wxColour WorkAreaColour(CMainFrame* frame)
{
    const wxPoint middle = Middle(frame->GetClientWindow()->GetScreenRect());
    const wxImage image = ScreenPicture(wxRect(middle, wxSize(1, 1)));
    if (!image.IsOk())
        return wxColour();
    return wxColour(image.GetRed(0, 0), image.GetGreen(0, 0), image.GetBlue(0, 0));
}

TEST_F(ShellTest, TheEmptyWorkAreaLooksTheSameBeforeAndAfterASite)
{
    Start();
    frame->Refresh();
    Settle();
    const wxColour atStart = WorkAreaColour(frame);
    ASSERT_TRUE(atStart.IsOk());
    frame->GetOpenSite().OpenSite(MakeSite({"Home", "About us"}));
    Settle();
    wxCommandEvent close(wxEVT_MENU, ID_FILE_CLOSE);
    frame->GetEventHandler()->ProcessEvent(close);
    Settle();
    ASSERT_EQ(frame->GetCurrentSite(), nullptr);
    frame->Refresh();
    Settle();
    EXPECT_EQ(WorkAreaColour(frame).GetAsString(wxC2S_HTML_SYNTAX), atStart.GetAsString(wxC2S_HTML_SYNTAX));
}

} // namespace
