// The window tests' main fails the test during which the toolkit complains (testing/gui_test_main.cpp). A menu
// taken down while the toolkit still puts it up is the complaint a test meets when it acts on a menu before the
// menu is on the screen: the toolkit then grabs the pointer for a window that is not shown.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include "testing/gui_settle.h"

namespace {

TEST(ToolkitComplaint, AMenuTakenDownWhileItOpensFailsTheTest)
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Menu", wxPoint(50, 50), wxSize(200, 150));
    frame->Show();
    Settle();
    wxMenu menu;
    menu.Append(wxID_HIGHEST + 1, "Item");
    bool opened = false;
    frame->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent&) {
        if (!opened)
            gtk_menu_popdown(GTK_MENU(menu.m_menu));
        opened = true;
    });
    EXPECT_NONFATAL_FAILURE(frame->PopupMenu(&menu, 10, 10), "has not been made visible");
    EXPECT_TRUE(opened);
    frame->Destroy();
    Settle();
}

} // namespace
