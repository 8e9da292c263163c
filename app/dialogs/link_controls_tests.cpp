// The dialogs' link texts: their colours by state, opening their address through the desktop's handler (recorded
// here), and what the user is told when nothing can open it.

#include "app/dialogs/link_controls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "platform/gui/window_picture.h"
#include "platform/win/program_launch.h"
#include "testing/test_output.h"
#include "testing/gui_settle.h"

namespace {

class MessageServices : public NullCoreServices, public NullMessages, public NullCurrentState, public NullModelDialogs
{
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Beep() override { ++beeps; }
    std::vector<std::string> messages;
    int beeps = 0;
};

TEST(LinkRules, ColourFollowsTheFirstStateThatApplies)
{
    const wxColour link(0, 0, 255), visited(128, 0, 128), hover(255, 0, 0);
    struct Case
    {
        HyperLinkState state;
        wxColour colour;
    };
    const std::vector<Case> cases = {
        {{false, false, false, kLinkDefaultStyle}, link},
        {{false, true, false, kLinkDefaultStyle}, link}, // hovering changes nothing without the hover style
        {{false, true, true, kLinkDefaultStyle | kLinkUseHover}, hover},
        {{true, false, true, kLinkDefaultStyle}, link}, // active wins over visited
        {{true, false, true, kLinkDefaultStyle | kLinkNoActiveColour}, visited},
        {{false, false, true, kLinkDefaultStyle}, visited},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetHyperLinkColour(c.state), c.colour);
    EXPECT_EQ(GetLinkOpenFailureText(2), "The specified file was not found.");
    EXPECT_EQ(GetLinkOpenFailureText(99), "Unknown Error (99) occurred.");
}

class LinkControls : public ::testing::Test
{
protected:
    LinkControls()
    {
        before = SetProgramStarter([this](const std::vector<std::string>& arguments) {
            started.push_back(arguments);
            return starts;
        });
        frame = new wxFrame(nullptr, wxID_ANY, "Links");
        panel = new wxPanel(frame);
    }
    ~LinkControls() override
    {
        SetProgramStarter(before);
        installed.PutBack();
        frame->Destroy();
        Settle();
    }
    static void Send(wxWindow* window, wxEventType type)
    {
        wxMouseEvent event(type);
        event.SetEventObject(window);
        window->GetEventHandler()->ProcessEvent(event);
    }

    MessageServices services;
    ProgramStarter before;
    std::vector<std::vector<std::string>> started;
    bool starts = true;
    wxFrame* frame = nullptr;
    wxPanel* panel = nullptr;
    SeamsInstalled<MessageServices> installed{services};
};

TEST_F(LinkControls, AHyperLinkOpensItsAddressOnReleaseAndBySpace)
{
    auto* link = new CHyperLink(panel, wxID_ANY, "", "https://www.example.org/comments?a=1&b=2");
    EXPECT_EQ(link->GetLabel(), "https://www.example.org/comments?a=1&b=2") << "the address stands as the text";
    EXPECT_EQ(link->GetToolTipText(), "https://www.example.org/comments?a=1&b=2");
    Send(link, wxEVT_LEFT_DOWN);
    EXPECT_TRUE(started.empty()) << "the default style opens on release";
    Send(link, wxEVT_LEFT_UP);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (std::vector<std::string>{"xdg-open", "https://www.example.org/comments?a=1&b=2"}));
    EXPECT_TRUE(link->GetState().visited);

    wxKeyEvent space(wxEVT_KEY_DOWN);
    space.m_keyCode = WXK_SPACE;
    link->GetEventHandler()->ProcessEvent(space);
    EXPECT_EQ(started.size(), 2u);

    auto* named = new CHyperLink(panel, wxID_ANY, "Comments page", "");
    EXPECT_EQ(named->GetURL(), "Comments page") << "an empty address takes the text";
}

TEST_F(LinkControls, ALinkNothingOpensIsReportedAndStaysUnvisited)
{
    starts = false;
    auto* link = new CHyperLink(panel, wxID_ANY, "Support", "https://www.example.org/support");
    EXPECT_FALSE(link->GotoURL());
    EXPECT_FALSE(link->GetState().visited);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].rfind("Can't open link:\n\n", 0), 0u);
    EXPECT_EQ(services.beeps, 1);

    auto* plain = new CStaticLink(panel, wxID_ANY, "Help", "https://www.example.org/help");
    Send(plain, wxEVT_LEFT_UP);
    EXPECT_FALSE(plain->IsVisited());
    EXPECT_EQ(services.beeps, 2) << "a plain link only beeps";
    EXPECT_EQ(services.messages.size(), 1u);
    starts = true;
    Send(plain, wxEVT_LEFT_UP);
    EXPECT_TRUE(plain->IsVisited());
    EXPECT_EQ(started.back(), (std::vector<std::string>{"xdg-open", "https://www.example.org/help"}));
}

TEST_F(LinkControls, ThePicture)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* text = new CTransparentStatic(panel, wxID_ANY, "Read more about Pelorin on the web:");
    text->SetLinkLook(false);
    sizer->Add(text, 0, wxALL, 8);
    sizer->Add(new CHyperLink(panel, wxID_ANY, "Comments page", "https://www.example.org/comments"), 0,
               wxLEFT | wxRIGHT | wxBOTTOM, 8);
    auto* visited = new CHyperLink(panel, wxID_ANY, "Visited page", "https://www.example.org/visited");
    visited->SetVisited(true);
    sizer->Add(visited, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);
    sizer->Add(new CStaticLink(panel, wxID_ANY, "Support", "https://www.example.org/support"), 0,
               wxLEFT | wxRIGHT | wxBOTTOM, 8);
    panel->SetSizer(sizer);
    sizer->SetSizeHints(frame);
    frame->Show();
    Settle();
    const std::filesystem::path folder = TestOutputFolder() / "dialogs";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(SaveWindowPicture(panel, (folder / "link_controls.png").string()));
}

} // namespace
