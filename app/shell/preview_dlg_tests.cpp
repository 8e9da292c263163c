// The built-in preview on a display.

#include "app/shell/preview_dlg.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <wx/filename.h>
#include <wx/uiaction.h>

#include "app/shell/shell_test_support.h"
#include "platform/gui/web_view.h"
#include "platform/gui/window_picture.h"
#include "platform/resources/string_table.h"
#include "testing/test_output.h"

namespace {

// Lets the web view work until it has loaded the file; false when it never does.
bool WaitForPage(CWebView* view, const std::string& file)
{
    return SettleUntil([&] { return !view->IsBusy() && view->GetCurrentAddress().ends_with(file); });
}

// Whether a shared object whose file name holds part is mapped into this process.
bool Loaded(const std::string& part)
{
    std::ifstream maps("/proc/self/maps");
    const std::string text{std::istreambuf_iterator<char>(maps), {}};
    return text.find(part) != std::string::npos;
}

// The main window starts without the browser engine; the first preview loads the web view module, and with it the
// engine.
TEST_F(ShellTest, TheWebViewIsLoadedWithTheFirstPreviewAndNotBefore)
{
    if (Loaded("libpelorin_web_view"))
        GTEST_SKIP() << "an earlier test of this process showed a preview";
    Start();
    EXPECT_FALSE(Loaded("webkit")) << "the main window loaded the browser engine";
    EXPECT_FALSE(Loaded("webview")) << "the main window loaded the toolkit's web view";
    if (!IsPreviewAvailable())
        GTEST_SKIP() << "no web view here";
    ScratchFolder folder;
    std::ofstream(folder / "index.html") << "<html><body><p>Front page</p></body></html>";
    auto* preview = new CPreviewDLG(frame, folder / "index.html", CSize(600, 400));
    ASSERT_TRUE(preview->IsOk());
    EXPECT_TRUE(Loaded("libpelorin_web_view"));
    EXPECT_TRUE(Loaded("webkit"));
    preview->Destroy();
    Settle();
}

// Without a web view module the preview and print windows say what is missing and are not shown.
TEST_F(ShellTest, WithoutTheWebViewModuleThePreviewSaysSo)
{
    if (Loaded("libpelorin_web_view"))
        GTEST_SKIP() << "an earlier test of this process loaded the web view module";
    ScratchFolder folder;
    std::ofstream(folder / "index.html") << "<html><body><p>Front page</p></body></html>";
    SetWebViewModulePath(folder / "libpelorin_web_view.so");
    {
        CPreviewDLG preview(nullptr, folder / "index.html", CSize(600, 400));
        EXPECT_FALSE(preview.IsOk());
        CPrintSiteDLG print(nullptr, folder / "index.html", CSize(600, 400));
        EXPECT_FALSE(print.IsOk());
    }
    SetWebViewModulePath({});
    EXPECT_EQ(services.messages, std::vector<std::string>(2, ResourceText(IDS_NEEDS_WEB_VIEW)));
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
    CWebView* view = preview->GetWebView();
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
