#include "browser/browser_test_support.h"
#include "browser/settings.h"

#include <filesystem>
#include <fstream>

using namespace kitefly;
using namespace kitefly::test;

namespace {

constexpr const char* kAppPathsIE = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IExplore.exe";

TEST(FillTemplate, FillsTheArgumentsLeftToRight)
{
    const struct
    {
        const char* message;
        bool bit0, bit1;
        const char* item;
    } cases[] = {
        {"\"%1\",,%3,%2", false, false, "\"a.htm\",,-1,0"},
        {"\"%1\",,%3,%2,,,,", false, false, "\"a.htm\",,-1,0,,,,"},
        {"\"%1\",,%3,%2", true, true, "\"a.htm\",,0,1"},
        {"%1%%", false, false, "a.htm%%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(detail::FillTemplate(c.message, "a.htm", c.bit0, c.bit1), c.item) << c.message;
}

TEST_F(LibraryTest, APercentBeforeAnotherCharacterIsKeptAndReported)
{
    EXPECT_EQ(detail::FillTemplate("x%4y", "a", false, false), "x%4y");
    EXPECT_EQ(asserts, std::vector<std::string>{"FALSE"});
}

TEST_F(LibraryTest, OnlyTheThreeKindsCanBeCreated)
{
    EXPECT_STREQ(CreateBrowser(kNetscape)->DDEMsg, "\"%1\",,%3,%2");
    EXPECT_STREQ(CreateBrowser(kOpera)->AppName, "IExplore");
    EXPECT_EQ(CreateBrowser(3), nullptr);
    EXPECT_EQ(CreateBrowser(-1), nullptr);
    EXPECT_EQ(asserts, (std::vector<std::string>{"FALSE", "FALSE"}));
}

TEST(FillTemplate, AnItemTooLongForItsBufferIsRefusedNotCut)
{
    EXPECT_EQ(detail::FillTemplate("\"%1\"", std::string(252, 'a'), false, false)->size(), 254u);
    EXPECT_EQ(detail::FillTemplate("\"%1\"", std::string(253, 'a'), false, false), std::nullopt);
}

TEST(ParseWindowIds, ReadsBothReplyForms)
{
    const struct
    {
        std::vector<std::uint32_t> words;
        bool mayBeCounted;
        std::vector<std::uint32_t> ids;
    } cases[] = {
        {{2, 11, 12}, true, {11, 12}},     // a count, then the ids
        {{11, 12, 0}, true, {11, 12}},     // the ids, then a 0
        {{2, 11, 12}, false, {2, 11, 12}}, // Netscape's list is never counted
        {{3, 11, 12}, true, {3, 11, 12}},  // a first word that is no count
        {{1, 0}, true, {1}},               // a last 0 ends a list
        {{}, true, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(detail::ParseWindowIds(WordsReply(c.words), c.mayBeCounted), c.ids);
    EXPECT_EQ(detail::ParseWindowIds(WordsReply({11, 12}) + "\x05", true), (std::vector<std::uint32_t>{11, 12}))
        << "bytes short of a word are not read";
}

TEST(ReadQuotedString, ReadsUpToTheClosingQuote)
{
    const struct
    {
        std::string text;
        bool found;
        std::string target;
        std::size_t after; // where the position ends
    } cases[] = {
        {"\"a.htm\",\"A\"", true, "a.htm", 7},
        {"x \"say \\\"hi\\\"\" y", true, "say \"hi\"", 14},
        {"no quote", false, "", 8},
        {"\"open", false, "open", 5},
        {"\"end\\", false, "end", 5},
        {"\"" + std::string(300, 'z') + "\"", true, std::string(255, 'z'), 302},
    };
    for (const auto& c : cases) {
        const char* pos = c.text.c_str();
        std::string target = "old";
        EXPECT_EQ(detail::ReadQuotedString(pos, c.text.c_str() + c.text.size(), target), c.found) << c.text;
        EXPECT_EQ(target, c.target) << c.text;
        EXPECT_EQ(static_cast<std::size_t>(pos - c.text.c_str()), c.after) << c.text;
    }
}

TEST_F(LibraryTest, CommandsSplitWithoutTheDesktopSwitches)
{
    const std::string program = Folder("my browser");
    WriteFile(program, "", true);
    const struct
    {
        std::string command;
        std::vector<std::string> argv;
    } cases[] = {
        {"/usr/bin/ie -nohome", {"/usr/bin/ie"}},
        {"\"/opt/o p/opera\" /nowin", {"/opt/o p/opera"}},
        {"browser --private -nohome x", {"browser", "--private", "x"}},
        {program + " -nohome", {program}},
        {program, {program}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(detail::SplitCommand(c.command), c.argv) << c.command;
}

class Conversations : public ClientTest
{
protected:
    std::vector<std::string> Items(const FakeBrowserServer& server, const std::string& topic)
    {
        std::vector<std::string> items;
        for (const auto& [t, item] : server.requests)
            if (t == topic)
                items.push_back(item);
        return items;
    }
};

TEST_F(Conversations, EachKindSendsItsOwnOpenAddressItem)
{
    const struct
    {
        int kind;
        const char* service;
        std::uint32_t bit0;
        const char* item;
    } cases[] = {
        {kInternetExplorer, "IExplore", 0, "\"a.htm\",,-1,0,,,,"},
        {kNetscape, "Netscape", 0, "\"a.htm\",,-1,0"},
        {kNetscape, "Netscape", 1, "\"a.htm\",,-1,1"},
        {kOpera, "IExplore", 0, "\"a.htm\",,-1,0,,,,"},
    };
    for (const auto& c : cases) {
        FakeBrowserServer server(c.service);
        server.Answers("WWW_OpenURL");
        std::unique_ptr<CBrowser> browser = CreateBrowser(c.kind);
        EXPECT_EQ(browser->OpenURL("a.htm", c.bit0, false), 1);
        EXPECT_EQ(Items(server, "WWW_OpenURL"), std::vector<std::string>{c.item}) << c.kind;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Conversations, WindowsAreListedAndAskedForTheirAddressAndTitle)
{
    FakeBrowserServer server("IExplore");
    server.Answers("WWW_ListWindows", [](const std::string&) {
        return DdeServer::Reply{WordsReply({2, 11, 12}), DMLERR_NO_ERROR};
    });
    server.Answers("WWW_GetWindowInfo", [](const std::string& item) {
        return DdeServer::Reply{item == "11" ? "\"a.htm\",\"A\"" : "\"b.htm\" , \"The \\\"B\\\" page\"",
                                DMLERR_NO_ERROR};
    });
    std::unique_ptr<CBrowser> browser = CreateBrowser(kInternetExplorer);
    std::unique_ptr<CWindowList> windows = browser->ListWindows();
    ASSERT_EQ(windows->GetCount(), 2);
    EXPECT_EQ(windows->GetAt(0), 11u);
    EXPECT_EQ(windows->GetAt(1), 12u);
    EXPECT_EQ(Items(server, "WWW_ListWindows"), std::vector<std::string>{"WWW_ListWindows"});

    std::string address, title;
    ASSERT_EQ(browser->GetWindowInfo(11, &address, &title), 1);
    EXPECT_EQ(address, "a.htm");
    EXPECT_EQ(title, "A");
    ASSERT_EQ(browser->GetWindowInfo(12, &address, &title), 1);
    EXPECT_EQ(address, "b.htm");
    EXPECT_EQ(title, "The \"B\" page");
    EXPECT_EQ(Items(server, "WWW_GetWindowInfo"), (std::vector<std::string>{"11", "12"}));
    EXPECT_EQ(browser->GetWindowInfo(12, nullptr, &title), 0);
}

TEST_F(Conversations, ABrowserThatDoesNotAnswerHasNoWindows)
{
    std::unique_ptr<CBrowser> browser = CreateBrowser(kNetscape);
    EXPECT_EQ(browser->ListWindows()->GetCount(), 0);
    std::string address, title;
    EXPECT_EQ(browser->GetWindowInfo(1, &address, &title), 0);
    EXPECT_EQ(boxes.size(), 2u) << "both conversations report that they failed";
}

TEST_F(Conversations, ANewWindowStartsInternetExplorerEvenWhileItRuns)
{
    FakeBrowserServer server("IExplore");
    server.Answers("WWW_OpenURL");
    SeedRegistryValue(RegistryRoot::LocalMachine, kAppPathsIE, "", Recorder());
    std::unique_ptr<CBrowser> browser = CreateBrowser(kInternetExplorer);
    ASSERT_EQ(browser->Detect(), 1);
    EXPECT_EQ(browser->Path, Recorder() + " -nohome");
    EXPECT_EQ(browser->OpenURL("http://example.com/a b.htm?x=1&y=2", false, true), 1);
    EXPECT_EQ(Recorded(), "[http://example.com/a b.htm?x=1&y=2]\n") << "one argument, no desktop switch";
    EXPECT_TRUE(server.requests.empty());
}

TEST_F(Conversations, ARequestThatFailsStartsTheBrowserInstead)
{
    FakeBrowserServer server("Netscape");
    server.Answers("WWW_OpenURL", [](const std::string&) { return DdeServer::Reply{std::nullopt, DMLERR_BUSY}; });
    Setting("Netscape", Recorder());
    std::unique_ptr<CBrowser> browser = CreateBrowser(kNetscape);
    ASSERT_EQ(browser->Detect(), 1);
    EXPECT_EQ(browser->OpenURL("a.htm", false, false), 1);
    EXPECT_EQ(Recorded(), "[a.htm]\n");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, DdeErrorText(DMLERR_BUSY));
}

TEST_F(Conversations, AnAddressTooLongIsRefusedWithoutStartingAnything)
{
    Setting("Netscape", Recorder());
    std::unique_ptr<CBrowser> browser = CreateBrowser(kNetscape);
    ASSERT_EQ(browser->Detect(), 1);
    EXPECT_EQ(browser->OpenURL(std::string(256, 'a').c_str(), false, false), 0);
    EXPECT_EQ(browser->Launch(std::string(256, 'a').c_str()), 0);
    EXPECT_EQ(browser->OpenURL(std::string(255, 'a').c_str(), false, false), 1);
    EXPECT_EQ(Recorded(), "[" + std::string(255, 'a') + "]\n");
}

TEST_F(Conversations, ActivateAsksTheLastWindowOrStartsTheProgramAlone)
{
    FakeBrowserServer server("IExplore");
    server.Answers("WWW_Activate");
    std::unique_ptr<CBrowser> browser = CreateBrowser(kOpera);
    EXPECT_EQ(browser->Activate(kLastActiveWindow), 1);
    EXPECT_EQ(Items(server, "WWW_Activate"), std::vector<std::string>{"4294967295,0"});
    server.Leave();

    Setting("Opera", Recorder());
    ASSERT_EQ(browser->Detect(), 1);
    EXPECT_EQ(browser->Activate(kLastActiveWindow), 1);
    EXPECT_EQ(Recorded(), "");
    EXPECT_TRUE(RecorderStarted());
}

TEST_F(LibraryTest, DetectionReadsTheSeededStores)
{
    const std::string program = Folder("program");
    WriteFile(program, "", true);
    std::filesystem::create_directories(Folder("opera"));
    WriteFile(Folder("opera/opera.exe"), "", true);
    std::filesystem::create_directories(Folder("ns/program"));
    WriteFile(Folder("ns/program/netscape.exe"), "", true);
    std::filesystem::create_directories(Folder("nav/cache"));
    WriteFile(Folder("nav/netscape.exe"), "", true);

    // Internet Explorer: the settings value first, then App Paths, then the command of HTML files.
    EXPECT_EQ(GetBrowserPath(kInternetExplorer), "");
    SeedRegistryValue(RegistryRoot::ClassesRoot, "htmlfile\\shell\\open\\command", "",
                      "C:\\Program Files\\IEXPLORE.EXE -nohome");
    EXPECT_EQ(GetBrowserPath(kInternetExplorer), "C:\\Program Files\\IEXPLORE.EXE -nohome");
    SeedRegistryValue(RegistryRoot::LocalMachine, kAppPathsIE, "", program);
    EXPECT_EQ(GetBrowserPath(kInternetExplorer), program + " -nohome");
    Setting("IExplore", program);
    EXPECT_EQ(GetBrowserPath(kInternetExplorer), program);

    // Netscape: Navigator's install folder, then the cache folder of its own profile named in the system's.
    WritePrivateProfileString("Netscape", "ini", Folder("netscape.ini"), "win.ini");
    WritePrivateProfileString("Cache", "Cache Dir", Folder("nav/cache"), Folder("netscape.ini"));
    EXPECT_EQ(GetBrowserPath(kNetscape), Folder("nav/netscape.exe"));
    SeedRegistryValue(RegistryRoot::CurrentUser, "Software\\Netscape\\Netscape Navigator\\Main", "Install Directory",
                      Folder("ns"));
    EXPECT_EQ(GetBrowserPath(kNetscape), Folder("ns/program/netscape.exe"));

    // Opera: its folder from opera.ini, with or without a closing separator, and its switch.
    EXPECT_EQ(GetBrowserPath(kOpera), "");
    WritePrivateProfileString("INSTALL", "MAINDIR", Folder("opera"), "opera.ini");
    EXPECT_EQ(GetBrowserPath(kOpera), Folder("opera/opera.exe") + " /nowin");
    WritePrivateProfileString("USER PREFS", "OPERA DIRECTORY", Folder("nowhere/"), "opera.ini");
    EXPECT_EQ(GetBrowserPath(kOpera), Folder("opera/opera.exe") + " /nowin") << "a folder without Opera is passed";
    Setting("Opera", Folder("missing"));
    EXPECT_EQ(GetBrowserPath(kOpera), Folder("opera/opera.exe") + " /nowin");
}

class Manager : public ClientTest
{
protected:
    void InstallOpera()
    {
        std::filesystem::create_directories(Folder("opera"));
        WriteFile(Folder("opera/opera.exe"), "", true);
        WritePrivateProfileString("INSTALL", "MAINDIR", Folder("opera"), "opera.ini");
    }
};

TEST_F(Manager, APreferredKindThatIsNotInstalledGivesWayToTheFirstInstalled)
{
    InstallOpera();
    for (const char* preferred : {"0", "5", "-1", "text"}) {
        WritePrivateProfileString("Browser", "Preferred", preferred, "Kitefly.ini");
        CBrowserManager manager;
        EXPECT_EQ(manager.GetPreferred(), kOpera) << preferred;
        EXPECT_EQ(manager.IsInstalled(kInternetExplorer), 0);
        EXPECT_NE(manager.IsInstalled(kOpera), 0);
    }
    CBrowserManager manager;
    EXPECT_EQ(manager.IsInstalled(3), 0);
    EXPECT_EQ(asserts, std::vector<std::string>{"FALSE"});

    const std::array<RadioState, 3> states = PageRadioStates(manager);
    EXPECT_FALSE(states[0].checked || states[0].enabled || states[1].checked || states[1].enabled);
    EXPECT_TRUE(states[2].checked && states[2].enabled);
}

TEST_F(Manager, WithNothingInstalledOrRunningThereIsNoBrowser)
{
    CBrowserManager manager;
    EXPECT_EQ(manager.GetPreferred(), -1);
    EXPECT_EQ(manager.GetBrowser(), nullptr);
    const std::array<RadioState, 3> states = PageRadioStates(manager);
    for (const RadioState& state : states)
        EXPECT_FALSE(state.checked || state.enabled);
}

TEST_F(Manager, ARunningBrowserComesBeforeThePreferredOne)
{
    InstallOpera();
    CBrowserManager manager;
    ASSERT_EQ(manager.GetPreferred(), kOpera);
    {
        FakeBrowserServer netscape("Netscape");
        netscape.Answers("WWW_GetWindowInfo");
        CBrowser* browser = manager.GetBrowser();
        ASSERT_NE(browser, nullptr);
        EXPECT_STREQ(browser->AppName, "Netscape");
        EXPECT_EQ(manager.GetBrowser(), browser) << "the browser in use is kept while it runs";

        FakeBrowserServer ie("IExplore");
        ie.Answers("WWW_GetWindowInfo");
        EXPECT_EQ(manager.GetBrowser(), browser);
    }
    FakeBrowserServer ie("IExplore");
    ie.Answers("WWW_GetWindowInfo");
    CBrowser* browser = manager.GetBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(dynamic_cast<CIExploreBrowser*>(browser), browser) << "Internet Explorer is asked first";
    ie.Leave();
    browser = manager.GetBrowser();
    EXPECT_EQ(dynamic_cast<COperaBrowser*>(browser), browser) << "nothing runs: the preferred kind";
    EXPECT_EQ(browser->Path, Folder("opera/opera.exe") + " /nowin");
}

TEST_F(Manager, ABrowserFoundRunningKnowsItsProgramWhenItStopsAnswering)
{
    Setting("Netscape", Recorder());
    CBrowserManager manager;
    FakeBrowserServer netscape("Netscape");
    netscape.Answers("WWW_GetWindowInfo");
    CBrowser* browser = manager.GetBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->Path, Recorder());
    netscape.Leave();
    EXPECT_EQ(browser->OpenURL("a.htm", false, false), 1);
    EXPECT_EQ(Recorded(), "[a.htm]\n");
}

// A settings file of 2 x 10^5 lines is read once for the manager's three detections and its choice, not once a key.
TEST_F(Manager, TheSettingsFileIsReadOncePerCall)
{
    const std::string program = Folder("opera-program");
    WriteFile(program, "", true);
    WritePrivateProfileString("Browser", "Preferred", "2", "Kitefly.ini");
    const std::string path = ProfileFilePath("Kitefly.ini");
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << "[Recent]\r\n";
        for (int i = 0; i < 200000; ++i)
            file << "File" << i << "=/home/ann/site" << i << ".kst\r\n";
        file << "[Browser]\r\nOpera=" << program << "\r\nPreferred=2\r\n";
    }
    const std::size_t before = detail::ProfileReads(path);
    CBrowserManager manager;
    EXPECT_EQ(detail::ProfileReads(path) - before, 1u);
    EXPECT_NE(manager.IsInstalled(kOpera), 0);
    EXPECT_EQ(manager.GetPreferred(), kOpera);

    // Setting a path reads the file to write it and once more to detect the three kinds again.
    manager.SetBrowserPath(kNetscape, program.c_str());
    EXPECT_EQ(detail::ProfileReads(path) - before, 3u);
    EXPECT_NE(manager.IsInstalled(kNetscape), 0);
    EXPECT_EQ(GetPrivateProfileString("Recent", "File199999", "", 260, "Kitefly.ini"), "/home/ann/site199999.kst");
}

TEST_F(Manager, PathsAndTheChoiceGoToTheSettingsFile)
{
    CBrowserManager manager;
    EXPECT_EQ(manager.IsInstalled(kOpera), 0);
    const std::string program = Folder("opera-program");
    WriteFile(program, "", true);
    manager.SetBrowserPath(kOpera, program.c_str());
    EXPECT_NE(manager.IsInstalled(kOpera), 0) << "a path set by hand is detected at once";
    EXPECT_EQ(GetPrivateProfileString("Browser", "Opera", "", 260, "Kitefly.ini"), program);
    EXPECT_EQ(manager.GetPreferred(), -1) << "the choice is not made again";

    SavePageChoice(manager, {false, false, false});
    EXPECT_EQ(GetPrivateProfileString("Browser", "Preferred", "none", 260, "Kitefly.ini"), "none");
    SavePageChoice(manager, {false, true, true});
    EXPECT_EQ(manager.GetPreferred(), kNetscape);
    EXPECT_EQ(GetPrivateProfileString("Browser", "Preferred", "", 260, "Kitefly.ini"), "1");
}

TEST(FindStartFor, DropsTheArgumentsBehindTheProgram)
{
    const struct
    {
        std::string path;
        std::string file;
        std::string folder;
    } cases[] = {
        {"C:\\Program Files\\IExplore.EXE -nohome", "C:\\Program Files\\IExplore.EXE", "C:\\Program Files\\"},
        {"/opt/opera/opera.exe /nowin", "/opt/opera/opera.exe", "/opt/opera/"},
        {"/usr/bin/firefox", "/usr/bin/firefox", "/usr/bin/"},
        {".exe", ".exe", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const FindStart start = FindStartFor(c.path);
        EXPECT_EQ(start.file, c.file) << c.path;
        EXPECT_EQ(start.folder, c.folder) << c.path;
    }
}

} // namespace
