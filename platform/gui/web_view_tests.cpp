#include "platform/gui/web_view.h"

#include "testing/gui_settle.h"
#include "testing/scratch_folder.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

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
        module->create(frame, address, {[&loaded](const std::string& shown) { loaded.push_back(shown); }, {}}));
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

// The status text is the address of the link under the pointer, told as the pointer goes onto the link and off it.
TEST(WebViewModule, TheStatusTextIsTheLinkUnderThePointer)
{
    const WebViewModule* module = LoadWebViewModule();
    if (!module)
        GTEST_SKIP() << "no web view here";
    ScratchFolder folder;
    std::ofstream(folder / "page.html")
        << "<html><body style='margin:0'><a href='other%20page.html' style='position:absolute; left:0; top:0; "
           "width:200px; height:100px; display:block'>Other</a></body></html>";
    const std::string address = wxFileName::FileNameToURL(wxString::FromUTF8(folder / "page.html")).utf8_string();
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Web view", wxPoint(20, 20), wxSize(400, 300));
    bool loaded = false;
    std::vector<std::string> status;
    std::unique_ptr<CWebView> view(module->create(frame, address,
                                                  {[&loaded](const std::string&) { loaded = true; },
                                                   [&status](const std::string& text) { status.push_back(text); }}));
    ASSERT_NE(view, nullptr);
    frame->Show();
    ASSERT_TRUE(SettleUntil([&] { return loaded && !view->IsBusy(); }));
    EXPECT_TRUE(status.empty()) << status.front();

    const wxRect area = view->GetWindow()->GetScreenRect();
    wxUIActionSimulator mouse;
    mouse.MouseMove(area.GetPosition() + wxPoint(300, 200));
    Settle();
    mouse.MouseMove(area.GetPosition() + wxPoint(100, 50));
    const std::string link = "file://" + folder / "other%20page.html";
    EXPECT_TRUE(SettleUntil([&] { return !status.empty() && status.back() == link; }))
        << (status.empty() ? std::string("nothing told") : status.back());
    mouse.MouseMove(area.GetPosition() + wxPoint(300, 200));
    EXPECT_TRUE(SettleUntil([&] { return status.size() >= 2 && status.back().empty(); }));
    EXPECT_EQ(status, (std::vector<std::string>{link, ""})) << "told once each";
    view.reset();
    frame->Destroy();
    Settle();
}

} // namespace
