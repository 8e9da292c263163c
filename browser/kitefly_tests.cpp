#include "browser/browser_test_support.h"
#include "browser/kitefly.h"
#include "browser/kitefly_state.h"
#include "testing/test_output.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

using namespace std::string_literals;

using namespace kitefly;
using namespace kitefly::test;

namespace {

// The exported functions over a library whose manager was built from this test's settings.
class Exports : public LibraryTest
{
protected:
    Exports() { detail::ReloadBrowserManager(); }
    ~Exports() override
    {
        while (Kitefly_IsOpen())
            Kitefly_Close();
        detail::SetHeap({}, {});
        detail::ReloadBrowserManager();
    }
};

TEST_F(Exports, TheLibraryStaysOpenUntilEveryInitIsClosed)
{
    EXPECT_EQ(Kitefly_IsOpen(), 0);
    EXPECT_EQ(Kitefly_Init(), 1);
    EXPECT_EQ(Kitefly_Init(), 1);
    EXPECT_EQ(Kitefly_Close(), 1);
    EXPECT_NE(Kitefly_IsOpen(), 0);
    EXPECT_EQ(Kitefly_Close(), 1);
    EXPECT_EQ(Kitefly_IsOpen(), 0);

    EXPECT_EQ(Kitefly_Close(), 1) << "a close without an open is ignored";
    EXPECT_EQ(detail::OpenCount(), 0);
    EXPECT_EQ(Kitefly_Init(), 1);
    EXPECT_NE(Kitefly_IsOpen(), 0) << "and the next open really opens";
    EXPECT_TRUE(asserts.empty());
}

TEST_F(Exports, AFailedFirstStartIsUndoneAndTriedAgain)
{
    detail::SetHeap([](std::size_t) { return static_cast<void*>(nullptr); }, {});
    EXPECT_EQ(Kitefly_Init(), 0);
    EXPECT_EQ(Kitefly_IsOpen(), 0);
    detail::SetHeap({}, {});
    EXPECT_EQ(Kitefly_Init(), 1);
    EXPECT_NE(Kitefly_IsOpen(), 0);
}

TEST_F(Exports, CallsOnAClosedLibraryOpenIt)
{
    EXPECT_EQ(Kitefly_OpenURL("a.htm", 0), 0) << "no browser installed or running";
    EXPECT_NE(Kitefly_IsOpen(), 0);
    Kitefly_Close();
    char* urls = reinterpret_cast<char*>(&urls);
    EXPECT_EQ(Kitefly_GetBrowserURLs(&urls), 0);
    EXPECT_EQ(urls, nullptr);
    EXPECT_NE(Kitefly_IsOpen(), 0);
    Kitefly_Close();
    EXPECT_EQ(Kitefly_Activate(5), 0);
    EXPECT_NE(Kitefly_IsOpen(), 0);
}

TEST_F(Exports, AHostThatNeverClosesIsToldWhenTheLibraryGoes)
{
    ASSERT_EQ(Kitefly_Init(), 1);
    const int beeps = BeepCount();
    detail::ProcessDetach();
    detail::ProcessAttach();
    EXPECT_EQ(BeepCount(), beeps + 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Kitefly_Close has not been called!");
    EXPECT_EQ(boxes[0].caption, "Kitefly error");
    EXPECT_EQ(Kitefly_IsOpen(), 0);

    detail::ProcessDetach();
    detail::ProcessAttach();
    EXPECT_EQ(boxes.size(), 1u) << "a closed library goes quietly";
}

TEST_F(Exports, TheAddressListHoldsTitleAndAddressOfEachWindowThatAnswers)
{
    FakeBrowserServer ie("IExplore");
    ie.Answers("WWW_ListWindows", [](const std::string&) {
        return DdeServer::Reply{WordsReply({11, 12, 13, 0}), DMLERR_NO_ERROR};
    });
    ie.Answers("WWW_GetWindowInfo", [](const std::string& item) {
        if (item == "11")
            return DdeServer::Reply{"\"a.htm\",\"A\"", DMLERR_NO_ERROR};
        if (item == "13")
            return DdeServer::Reply{"\"http://c/\",\"Page C\"", DMLERR_NO_ERROR};
        return DdeServer::Reply{std::nullopt, DMLERR_NOTPROCESSED};
    });
    char* urls = nullptr;
    ASSERT_EQ(Kitefly_GetBrowserURLs(&urls), 1);
    ASSERT_NE(urls, nullptr);
    const std::string expected = "A\0a.htm\0Page C\0http://c/\0\0"s;
    EXPECT_EQ(std::string(urls, expected.size()), expected);
    EXPECT_EQ(boxes.size(), 1u) << "the window that did not answer is reported and left out";

    ie.Answers("WWW_ListWindows", [](const std::string&) {
        return DdeServer::Reply{WordsReply({13}), DMLERR_NO_ERROR};
    });
    char* next = nullptr;
    ASSERT_EQ(Kitefly_GetBrowserURLs(&next), 1);
    EXPECT_EQ(std::string(next, 18), "Page C\0http://c/\0\0"s);

    ie.Leave();
    EXPECT_EQ(Kitefly_GetBrowserURLs(&next), 0);
    EXPECT_EQ(next, nullptr) << "the last block was freed, not handed out again";
}

TEST_F(Exports, OpenAndActivateGoToTheRunningBrowser)
{
    FakeBrowserServer netscape("Netscape");
    netscape.Answers("WWW_GetWindowInfo");
    netscape.Answers("WWW_OpenURL");
    netscape.Answers("WWW_Activate");
    EXPECT_EQ(Kitefly_OpenURL("a.htm", 0xFFFFFFFC), 1) << "bits other than 0 and 1 are ignored";
    EXPECT_EQ(Kitefly_OpenURL("a.htm", KITEFLY_OPEN_BIT0 | KITEFLY_OPEN_NEW_WINDOW), 1);
    EXPECT_EQ(Kitefly_Activate(77), 1);
    std::vector<std::string> items;
    for (const auto& [topic, item] : netscape.requests)
        if (topic != "WWW_GetWindowInfo")
            items.push_back(topic + " " + item);
    EXPECT_EQ(items, (std::vector<std::string>{"WWW_OpenURL \"a.htm\",,-1,0", "WWW_OpenURL \"a.htm\",,0,1",
                                               "WWW_Activate 4294967295,0"}));
}

TEST_F(Exports, TheNewWindowFlagStartsInternetExplorer)
{
    Setting("IExplore", Recorder());
    detail::ReloadBrowserManager();
    FakeBrowserServer ie("IExplore");
    ie.Answers("WWW_GetWindowInfo");
    ie.Answers("WWW_OpenURL");
    EXPECT_EQ(Kitefly_OpenURL("new.htm", KITEFLY_OPEN_NEW_WINDOW), 1);
    EXPECT_EQ(Recorded(), "[new.htm]\n");
}

TEST_F(Exports, PreparePropSheetFillsThePageRecord)
{
    KITEFLY_PROPSHEETPAGE page;
    std::memset(&page, 0x5A, sizeof page);
    uint32_t* const refParent = page.pcRefParent;
    ASSERT_EQ(Kitefly_PreparePropSheet(&page), 1);
    EXPECT_NE(Kitefly_IsOpen(), 0);
    EXPECT_EQ(page.dwSize, sizeof page);
    EXPECT_EQ(page.dwFlags, 0u);
    EXPECT_EQ(page.hInstance, LibraryModule());
    EXPECT_NE(page.hInstance, nullptr);
    EXPECT_EQ(page.pszTemplate, 1543u);
    EXPECT_EQ(page.hIcon, nullptr);
    EXPECT_EQ(page.pszTitle, nullptr);
    EXPECT_EQ(page.pfnDlgProc, &Kitefly_PropSheetDlgProc);
    EXPECT_EQ(page.lParam, 0);
    EXPECT_EQ(page.pfnCallback, nullptr);
    EXPECT_EQ(page.pcRefParent, refParent) << "what the record holds beyond is the host's";
}

TEST_F(Exports, TheHostStartsTheBrowserWithTheAddressAsOneArgument)
{
    Setting("Opera", Recorder());
    // GTK keeps caches to the end of the process; the window tests look for leaks of ours in the sheet.
    const std::string command = "ASAN_OPTIONS=detect_leaks=0 XDG_CONFIG_HOME='" + Folder("") +
                                "' " KITEFLY_HOST " open 'http://example.com/a page.htm?q=1&r=\"2\"' 2>'" +
                                Folder("stderr") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(Recorded(), "[http://example.com/a page.htm?q=1&r=\"2\"]\n");
    EXPECT_EQ(ReadFile(Folder("stderr")), "");
}

TEST_F(Exports, TheHostSaysWhenNoBrowserCanBeStarted)
{
    const std::string command =
        "XDG_CONFIG_HOME='" + Folder("") + "' " KITEFLY_HOST " open a.htm 2>'" + Folder("stderr") + "'";
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadFile(Folder("stderr")), "kitefly_host: no web browser could be found or started for a.htm\n");
}

TEST_F(Exports, TheHostListsNoWindowsWhenNoBrowserRuns)
{
    const std::string command =
        "XDG_CONFIG_HOME='" + Folder("") + "' " KITEFLY_HOST " windows >'" + Folder("stdout") + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadFile(Folder("stdout")), "no browser windows\n");
}

TEST_F(Exports, TheHostShowsTheSettingsSheet)
{
    Setting("IExplore", Recorder());
    WritePrivateProfileString("Browser", "Preferred", "0", "Kitefly.ini");
    const std::string picture = (TestOutputFolder() / "kitefly_settings_sheet.png").string();
    std::remove(picture.c_str());
    // GTK keeps caches to the end of the process; the window tests look for leaks of ours in the sheet.
    const std::string command = "ASAN_OPTIONS=detect_leaks=0 XDG_CONFIG_HOME='" + Folder("") +
                                "' " WITH_DISPLAY " " KITEFLY_HOST " settings --picture '" + picture + "' 2>'" +
                                Folder("stderr") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(picture));
    EXPECT_EQ(ReadFile(Folder("stderr")), "") << "no GTK warnings";
}

} // namespace
