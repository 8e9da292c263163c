#include "platform/gui/web_view.h"

#include "testing/gui_settle.h"
#include "testing/scratch_folder.h"

#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <wx/filename.h>
#include <wx/frame.h>

namespace {

using ::testing::HasSubstr;

// Puts the loader back on the module beside the test program however a test ends.
struct ModuleBesideTheProgram
{
    ~ModuleBesideTheProgram() { SetWebViewModulePath({}); }
};

// A file that is not the web view module is refused with a cause naming it, and nothing of it is called.
TEST(WebViewModule, AFileThatIsNotTheModuleIsRefusedWithItsCause)
{
    const ModuleBesideTheProgram restore;
    ScratchFolder folder;
    std::ofstream(folder / "text.so") << "not a shared object";
    struct Case
    {
        const char* name;
        std::filesystem::path path;
        bool present;
    };
    const Case cases[] = {
        {"missing", folder / "missing.so", false},
        {"not a shared object", folder / "text.so", true},
        {"a library without the entry", PELORIN_LIBRARY_WITHOUT_ENTRY, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetWebViewModulePath(c.path);
        EXPECT_EQ(IsWebViewModulePresent(), c.present);
        std::string cause;
        EXPECT_EQ(LoadWebViewModule(&cause), nullptr);
        EXPECT_THAT(cause, HasSubstr(c.path.filename().string()));
    }
}

// The module beside the program makes a web view that shows the page and reports each page it loads.
TEST(WebViewModule, TheModuleBesideTheProgramShowsAPageAndReportsItLoaded)
{
    EXPECT_TRUE(IsWebViewModulePresent()) << GetWebViewModulePath();
    std::string cause;
    const WebViewModule* module = LoadWebViewModule(&cause);
    if (!module && cause.find("cannot be made here") != std::string::npos)
        GTEST_SKIP() << cause;
    ASSERT_NE(module, nullptr) << cause;
    EXPECT_EQ(LoadWebViewModule(), module) << "loaded once";

    ScratchFolder folder;
    std::ofstream(folder / "page.html") << "<html><body><p>A page</p></body></html>";
    const std::string address = wxFileName::FileNameToURL(wxString::FromUTF8(folder / "page.html")).utf8_string();
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Web view");
    std::vector<std::string> loaded;
    std::unique_ptr<CWebView> view(
        module->create(frame, address, [&loaded](const std::string& shown) { loaded.push_back(shown); }));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetWindow()->GetParent(), frame);
    frame->Show();
    SettleUntil([&] { return !loaded.empty() && !view->IsBusy(); });
    ASSERT_FALSE(loaded.empty());
    EXPECT_EQ(loaded.back(), address);
    EXPECT_EQ(view->GetCurrentAddress(), address);
    EXPECT_FALSE(view->CanGoBack());
    EXPECT_FALSE(view->CanGoForward());
    view.reset();
    frame->Destroy();
    Settle();
}

} // namespace
