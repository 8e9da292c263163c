#pragma once

// What the window tests of the dialogs share: letting the display catch up, a button clicked as the user does, a
// dialog's picture, and the frame that owns the dialogs while the test's services answer the core.

#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/utils.h>

#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "platform/gui/window_picture.h"
#include "platform/gui/xrc_resources.h"
#include "testing/gui_settle.h"
#include "testing/test_output.h"

// The button must be there and enabled, as for a user.
inline void Click(wxWindow& window, int id)
{
    wxWindow* button = window.FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    ASSERT_TRUE(button->IsEnabled()) << id;
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

// The window's picture, once the display has caught up, as dialogs/<name>.png in the test output folder.
inline void SaveDialogPicture(wxWindow& window, const std::string& name)
{
    for (int i = 0; i < 3; ++i)
        Settle();
    const std::filesystem::path folder = TestOutputFolder() / "dialogs";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(SaveWindowPicture(&window, (folder / (name + ".png")).string())) << name;
}

// A shown frame that owns the dialogs, with services answering the core's questions for the test.
template <class Services> class DialogOwnerTest : public ::testing::Test
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
        installed.PutBack();
        if (owner)
            owner->Destroy();
        Settle();
    }

    Services services;
    SeamsInstalled<Services> installed{services};
    wxFrame* owner = nullptr;
};
