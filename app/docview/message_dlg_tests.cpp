#include "app/docview/message_dlg.h"

#include "app/docview/common_windows.h"
#include "app/docview/document_dialogs.h"
#include "app/docview/window_test_support.h"
#include "platform/gui/xrc_resources.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/statbmp.h>
#include <wx/timer.h>

namespace {

// The x of each shown button of the dialog, by id.
std::map<int, int> ButtonPlaces(wxWindow* dialog)
{
    std::map<int, int> places;
    for (wxWindow* child : dialog->GetChildren())
        if (auto* button = dynamic_cast<wxButton*>(child); button && button->IsShown())
            places[button->GetId()] = button->GetScreenPosition().x;
    return places;
}

// Shows the dialog modally over a frame; while it is up, its picture is written under name, its buttons and
// place are checked, and the button pressed is answer.
struct ModalRun
{
    std::map<int, int> places;
    wxRect dialogRect;
    bool iconShown = false;
    // The id of the window that holds the keyboard, which Return presses when it is a button.
    int focused = wxID_NONE;
};

template <class Show> int RunModal(wxFrame* parent, const std::string& name, int answer, ModalRun& run, Show show)
{
    // Once the modal loop has shown and painted the dialog.
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        wxWindow* dialog = wxGetActiveWindow();
        for (wxWindow* window : wxTopLevelWindows)
            if (window != parent && window->IsShown())
                dialog = window;
        ASSERT_NE(dialog, nullptr);
        Settle();
        if (!name.empty())
            SaveWindowScreenshot(dialog, name);
        run.places = ButtonPlaces(dialog);
        run.dialogRect = dialog->GetScreenRect();
        wxWindow* focus = wxWindow::FindFocus();
        run.focused = focus ? focus->GetId() : wxID_NONE;
        auto* icon = dynamic_cast<wxStaticBitmap*>(dialog->FindWindow(CMessageDlg::IDC_ICON));
        run.iconShown = icon && icon->GetBitmap().IsOk() && icon->GetSize().x >= 32;
        wxCommandEvent press(wxEVT_BUTTON, answer);
        press.SetEventObject(dialog->FindWindow(answer));
        dialog->FindWindow(answer)->GetEventHandler()->ProcessEvent(press);
    });
    timer.StartOnce(300);
    return show();
}

class MessageDialogs : public ::testing::Test
{
protected:
    MessageDialogs()
    {
        EXPECT_TRUE(LoadXrcResources());
        parent = new wxFrame(nullptr, wxID_ANY, "Pelorin", wxPoint(200, 100), wxSize(900, 700));
        parent->Show();
        Settle();
    }
    ~MessageDialogs() override
    {
        parent->Destroy();
        Settle();
    }

    // The dialog stands over the middle of its parent, with its buttons in a row at its right edge.
    void ExpectDesktopShape(const ModalRun& run, std::vector<int> order)
    {
        EXPECT_TRUE(run.iconShown);
        const wxRect frame = parent->GetScreenRect();
        EXPECT_NEAR(run.dialogRect.GetX() + run.dialogRect.GetWidth() / 2, frame.GetX() + frame.GetWidth() / 2, 2);
        EXPECT_NEAR(run.dialogRect.GetY() + run.dialogRect.GetHeight() / 2, frame.GetY() + frame.GetHeight() / 2, 2);
        ASSERT_EQ(run.places.size(), order.size());
        for (size_t i = 1; i < order.size(); ++i)
            EXPECT_LT(run.places.at(order[i - 1]), run.places.at(order[i])) << i;
        EXPECT_GT(run.places.at(order.back()), run.dialogRect.GetX() + run.dialogRect.GetWidth() / 2);
    }

    wxFrame* parent = nullptr;
};

TEST_F(MessageDialogs, AQuestionHasItsIconAndTheAnswersAtTheRight)
{
    ModalRun run;
    const int answer = RunModal(parent, "message_question.png", wxID_NO, run, [&] {
        return CMessageDlg(parent, "Pelorin", "Only one website can be open at a time. Close the open one?", wxYES_NO,
                           MessageIcon::question)
            .ShowModal();
    });
    EXPECT_EQ(answer, wxID_NO);
    ExpectDesktopShape(run, {wxID_NO, wxID_YES});
    EXPECT_EQ(run.focused, wxID_YES);

    const int yes = RunModal(parent, "", wxID_YES, run, [&] {
        return CMessageDlg(parent, "Pelorin", "Close?", wxYES_NO, MessageIcon::question).ShowModal();
    });
    EXPECT_EQ(yes, wxID_YES);
}

TEST_F(MessageDialogs, TheDocumentsQuestionAndNoticesShareTheShape)
{
    ModalRun run;
    const SaveChangesAnswer no = [&] {
        SaveChangesAnswer result = SaveChangesAnswer::cancel;
        RunModal(parent, "save_changes_question.png", wxID_NO, run, [&] {
            result = AskSaveChangesDialog(parent);
            return 0;
        });
        return result;
    }();
    EXPECT_EQ(no, SaveChangesAnswer::no);
    ExpectDesktopShape(run, {wxID_NO, wxID_CANCEL, wxID_YES});
    // In the desktop's order, with the keyboard on Yes, so that Return saves.
    EXPECT_EQ(run.focused, wxID_YES);

    RunModal(parent, "", wxID_OK, run, [&] {
        ShowDocumentNotice(parent, kSaveErrorNotice);
        return 0;
    });
    ExpectDesktopShape(run, {wxID_OK});
    EXPECT_EQ(run.focused, wxID_OK);

    // Only one site at a time: Yes closes the open one, and Return gives Yes.
    RunModal(parent, "", wxID_CANCEL, run, [&] { return CCloseSiteDLG(parent).ShowModal(); });
    ExpectDesktopShape(run, {wxID_CANCEL, wxID_OK});
    EXPECT_EQ(run.focused, wxID_OK);
}

TEST_F(MessageDialogs, ALongMessageWrapsAtAReadersLine)
{
    ModalRun run;
    RunModal(parent, "message_notice.png", wxID_OK, run, [&] {
        return CMessageDlg(parent, "Pelorin",
                           "The file /home/ann/Sites/bakery.kst could not be opened. It is not a website file "
                           "that Pelorin can read.",
                           wxOK, MessageIcon::warning)
            .ShowModal();
    });
    ExpectDesktopShape(run, {wxID_OK});
    EXPECT_LT(run.dialogRect.GetWidth(), 560);
}

} // namespace
