// The built-in preview on a display.

#include "app/shell/preview_dlg.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <wx/filename.h>
#include <wx/uiaction.h>
#include <wx/webview.h>

#include "app/shell/shell_test_support.h"
#include "platform/gui/window_picture.h"
#include "testing/test_output.h"

namespace {

// Lets the web view work until it has loaded the file; false when it never does.
bool WaitForPage(wxWebView* view, const wxString& file)
{
    for (int i = 0; i < 600; ++i) {
        Settle();
        if (!view->IsBusy() && view->GetCurrentURL().EndsWith(file))
            return true;
    }
    return false;
}

// A fresh window has nowhere to go back or forward to, whatever windows came before it.
TEST(PreviewWindow, ShowsTheBuiltPageWithBackAndForwardDisabled)
{
    ASSERT_TRUE(LoadXrcResources());
    if (!IsPreviewAvailable())
        GTEST_SKIP() << "no web view here";
    ScratchFolder folder;
    std::ofstream(folder / "index.html") << "<html><body><p>Front page</p><a href='about.html'>About</a></body></html>";
    std::ofstream(folder / "about.html") << "<html><body><p>About us</p></body></html>";

    auto* preview = new CPreviewDLG(nullptr, folder / "index.html", CSize(600, 400));
    ASSERT_TRUE(preview->IsOk());
    preview->Show();
    wxWebView* view = preview->GetWebView();
    ASSERT_TRUE(WaitForPage(view, "index.html"));
    EXPECT_FALSE(preview->FindWindow(1001)->IsEnabled());
    EXPECT_FALSE(preview->FindWindow(1002)->IsEnabled());

    const std::filesystem::path out = TestOutputFolder() / "shell";
    std::filesystem::create_directories(out);
    EXPECT_TRUE(SaveWindowPicture(preview, (out / "130_preview.png").string()));
    preview->Destroy();
    Settle();
}

// The grip in the bottom-right corner resizes the window as its corner would.
TEST(PreviewWindow, TheSizeGripInTheCornerResizesTheWindow)
{
    ASSERT_TRUE(LoadXrcResources());
    if (!IsPreviewAvailable())
        GTEST_SKIP() << "no web view here";
    ScratchFolder folder;
    std::ofstream(folder / "index.html") << "<html><body><p>Front page</p></body></html>";
    auto* preview = new CPreviewDLG(nullptr, folder / "index.html", CSize(600, 400));
    ASSERT_TRUE(preview->IsOk());
    preview->Show();
    ASSERT_TRUE(WaitForPage(preview->GetWebView(), "index.html"));
    wxWindow* grip = preview->FindWindow("59936");
    ASSERT_NE(grip, nullptr);
    const wxRect corner = grip->GetScreenRect();
    const wxRect client(preview->ClientToScreen(wxPoint(0, 0)), preview->GetClientSize());
    EXPECT_NEAR(corner.GetRight(), client.GetRight(), 1);
    EXPECT_NEAR(corner.GetBottom(), client.GetBottom(), 1);

    const wxSize before = preview->GetSize();
    wxUIActionSimulator mouse;
    const wxPoint start(corner.GetX() + corner.GetWidth() / 2, corner.GetY() + corner.GetHeight() / 2);
    mouse.MouseMove(start);
    Settle();
    mouse.MouseDown();
    Settle();
    mouse.MouseMove(start + wxPoint(60, 40));
    Settle();
    mouse.MouseUp();
    Settle();
    EXPECT_EQ(preview->GetSize(), before + wxSize(60, 40));
    preview->Destroy();
    Settle();
}

} // namespace
