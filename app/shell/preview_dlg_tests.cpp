// The built-in preview on a display.

#include "app/shell/preview_dlg.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <wx/filename.h>
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

} // namespace
