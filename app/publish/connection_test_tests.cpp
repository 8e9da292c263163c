#include "app/publish/connection_test.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <optional>

#include "app/model/app_settings.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "testing/ftp_test_servers.h"
#include "testing/scoped_env.h"
#include "testing/scratch_folder.h"

namespace fs = std::filesystem;
using ftp_test::FtpServer;
using ftp_test::TheFtpServer;

namespace {

const std::string kSteps[] = {
    "Testing Server and Logon...", "Testing Folder Creation...", "Testing Uploads...",
    "Testing Downloads...",        "Testing File Deletion...",   "Testing Folder Deletion...",
};

std::vector<std::string> PassedLines()
{
    std::vector<std::string> lines;
    for (const std::string& step : kSteps)
        lines.push_back(step + " OK");
    lines.insert(lines.end(), {"", "--------------", "", "Done: No errors were found."});
    return lines;
}

// Everything named like the test folder or file anywhere below `root`.
std::vector<std::string> TestLeftovers(const std::string& root)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = entry.path().filename().string();
        if (name == CConnectionTest::kTestFolder || name == CConnectionTest::kTestFile)
            found.push_back(entry.path().string());
    }
    return found;
}

class ConnectionTestTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!TheFtpServer().Running())
            GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
        // The local test file goes into the private temporary folder, here one of the test's own.
        m_runtimeDir.emplace("XDG_RUNTIME_DIR", m_temp.Path().c_str());
        m_name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(TheFtpServer().Home() + m_name);
    }
    void TearDown() override { m_runtimeDir.reset(); }

    CFtpProfile Profile(const std::string& wwwFolder) const
    {
        CFtpProfile profile;
        profile.m_strName = "loopback";
        profile.m_strServer = "127.0.0.1";
        profile.m_nPort = TheFtpServer().Port();
        profile.m_strUser = FtpServer::kUser;
        profile.m_strPassword = FtpServer::kPassword;
        profile.m_bPassive = true;
        profile.m_strWwwFolder = wwwFolder;
        return profile;
    }

    std::string ServerFolder() const { return TheFtpServer().Home() + m_name; }

    ScratchFolder m_temp;
    std::string m_name;
    std::optional<ScopedEnv> m_runtimeDir;
};

TEST_F(ConnectionTestTest, PassesAllSixStepsAndLeavesNoTestFolderOrFile)
{
    struct Case
    {
        std::string wwwFolder;
        std::string madeFolder; // what the walk must have entered or made, below the test's folder
        int proxyType;
    } cases[] = {
        {m_name, "", 0},
        {"/" + m_name + "//a/b/", "a/b", 0},
        {m_name + "\\c\\\\d", "c/d", 0},
        {m_name + "/through-socks5", "through-socks5", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wwwFolder);
        CFtpProfile profile = Profile(c.wwwFolder);
        if (c.proxyType != 0) {
            ftp_test::SocksProxy& proxy = ftp_test::TheSocksProxy(5);
            if (!proxy.Running())
                GTEST_SKIP() << "no SOCKS5 proxy: " << proxy.Error();
            profile.m_nProxyType = c.proxyType;
            profile.m_strProxyServer = "127.0.0.1";
            profile.m_nProxyPort = proxy.Port();
        }
        const CFtpProfileArray profiles = {profile};
        CConnectionTest test(&profiles);
        ASSERT_TRUE(test.CanTest());
        ASSERT_EQ(test.GetSelectedProfile(), 0);
        int changes = 0;
        bool runningAtLastChange = true;
        test.OnChange = [&] {
            ++changes;
            runningAtLastChange = test.IsRunning();
        };
        test.RunTest();

        EXPECT_EQ(test.GetStepLines(), PassedLines());
        EXPECT_EQ(test.GetProgress(), CConnectionTest::kStepCount);
        EXPECT_FALSE(test.IsRunning());
        EXPECT_GT(changes, 6);
        EXPECT_FALSE(runningAtLastChange) << "the dialog learns that the run ended";
        EXPECT_TRUE(fs::is_directory(ServerFolder() + "/" + c.madeFolder));
        // In this test's own folder: the server's home is the process's, and a cancelled run of another test may
        // leave its test folder in its own.
        EXPECT_EQ(TestLeftovers(ServerFolder()), std::vector<std::string>());

        std::ifstream local(CConnectionTest::LocalTestFilePath(), std::ios::binary);
        std::string downloaded(std::istreambuf_iterator<char>(local), {});
        EXPECT_EQ(downloaded.size(), 512u);
        EXPECT_EQ(downloaded.substr(0, 8), "QBX-QBX-");

        ASSERT_FALSE(test.GetLogLines().empty());
        for (const std::string& line : test.GetLogLines()) {
            EXPECT_EQ(line.find(FtpServer::kPassword), std::string::npos) << line;
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        }
    }
}

TEST_F(ConnectionTestTest, RefusedLoginStopsAtTheFirstStep)
{
    CFtpProfile profile = Profile(m_name);
    profile.m_strPassword = "wrong";
    const CFtpProfileArray profiles = {profile};
    CConnectionTest test(&profiles);
    test.RunTest();
    const auto& lines = test.GetStepLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], kSteps[0] + " ERROR");
    EXPECT_EQ(lines[4].rfind("Error: ", 0), 0u) << lines[4];
    EXPECT_NE(lines[4], "Error: A System or Unknown Error Occurred.") << "the server's reason is shown";
    EXPECT_EQ(test.GetProgress(), CConnectionTest::kStepCount);
}

TEST_F(ConnectionTestTest, CancelInEachStepStopsTheSequence)
{
    for (int step = 0; step < CConnectionTest::kStepCount; ++step) {
        SCOPED_TRACE(kSteps[step]);
        const CFtpProfileArray profiles = {Profile(m_name + "/cancel" + std::to_string(step))};
        CConnectionTest test(&profiles);
        // Cancel is pressed while a call of the step runs, which is when its conversation is logged.
        size_t logged = 0;
        test.OnChange = [&] {
            if (test.GetStepLines().size() == static_cast<size_t>(step + 1) && test.GetLogLines().size() > logged &&
                logged != 0)
                test.Cancel();
            logged = test.GetLogLines().size();
        };
        test.RunTest();
        const auto& lines = test.GetStepLines();
        ASSERT_EQ(lines.size(), static_cast<size_t>(step + 5));
        EXPECT_EQ(lines[step], kSteps[step] + (step < 2 ? " Cancelled" : " ERROR"));
        EXPECT_EQ(lines.back(), "Cancelled: Test Sequence Cancelled by User.");
    }
}

// A server that takes the connection and never says a word: the kernel completes the handshake, nobody accepts.
class SilentServer
{
public:
    SilentServer()
    {
        m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(m_fd, 8) == 0 &&
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { close(m_fd); }
    int Port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

TEST(ConnectionTest, CancelActsAtOnceAgainstAServerThatNeverGreets)
{
    SilentServer server;
    ASSERT_NE(server.Port(), 0);
    CFtpProfile profile;
    profile.m_strName = "silent";
    profile.m_strServer = "127.0.0.1";
    profile.m_nPort = server.Port();
    profile.m_strUser = "nobody";
    profile.m_strPassword = "pw";
    const CFtpProfileArray profiles = {profile};
    CConnectionTest test(&profiles);
    // The dialog's Cancel, pressed a second after Test; the dialog hears from the test only through OnChange.
    const auto start = std::chrono::steady_clock::now();
    test.OnChange = [&] {
        if (test.IsRunning() && std::chrono::steady_clock::now() - start > std::chrono::seconds(1))
            test.Cancel();
    };
    auto run = std::async(std::launch::async, [&] { test.RunTest(); });
    // The client gives up on its own after 30 s; the cancelled test must have ended well before.
    ASSERT_EQ(run.wait_for(std::chrono::seconds(20)), std::future_status::ready)
        << "Cancel did not reach the connection while the server was silent";
    EXPECT_EQ(test.GetStepLines(), (std::vector<std::string>{kSteps[0] + " Cancelled", "", "--------------", "",
                                                             "Cancelled: Test Sequence Cancelled by User."}));
}

TEST(ConnectionTest, NoProfilesLeaveNothingToTest)
{
    const CFtpProfileArray none;
    for (const CFtpProfileArray* profiles : {&none, static_cast<const CFtpProfileArray*>(nullptr)}) {
        CConnectionTest test(profiles);
        EXPECT_FALSE(test.CanTest());
        EXPECT_EQ(test.GetSelectedProfile(), -1);
        test.RunTest();
        EXPECT_TRUE(test.GetStepLines().empty());
    }
}

struct SettingsServices : NullCoreServices, NullCurrentState, NullModelDialogs
{
    CAppSettings* GetAppSettings() override { return &settings; }
    CAppSettings settings;
    SeamsInstalled<SettingsServices> installed{*this};
};

TEST(ConnectionTest, SelectsTheFirstProfileOfTheCurrentDestination)
{
    SettingsServices services;
    CAppSettings& s = services.settings;
    s.m_ftpServer = "ftp.example.org";
    s.m_ftpUser = "me";
    s.m_ftpPort = 21;
    // Proxy values count as empty while there is no proxy.
    s.m_ftpProxyServer = "ignored";

    CFtpProfile other;
    other.m_strName = "other";
    other.m_strServer = "elsewhere";
    CFtpProfile current;
    current.m_strServer = "ftp.example.org";
    current.m_strUser = "me";
    current.m_nPort = 21;
    CFtpProfile first = current, second = current;
    first.m_strName = "first";
    second.m_strName = "second";

    const struct
    {
        CFtpProfileArray profiles;
        int selected;
    } cases[] = {
        {{other, first, second}, 1},
        {{other}, 0},
        {{second, other}, 0},
    };
    for (const auto& c : cases) {
        CConnectionTest given(&c.profiles);
        EXPECT_EQ(given.GetSelectedProfile(), c.selected);
        s.SetFtpProfiles(c.profiles);
        CConnectionTest stored(nullptr);
        EXPECT_EQ(stored.GetProfiles().size(), c.profiles.size());
        EXPECT_EQ(stored.GetSelectedProfile(), c.selected);
    }
}

} // namespace
