#include "platform/ftp/ftp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

#include "testing/ftp_test_servers.h"
#include "testing/scratch_folder.h"

namespace fs = std::filesystem;
using ftp_test::FtpServer;
using ftp_test::TheFtpServer;

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::set<std::string> EntriesOf(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// Each test works in a folder of its own under the server's home, so tests of one program never meet.
class FtpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!TheFtpServer().Running())
            GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
        m_name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : m_name)
            if (c == '/')
                c = '_';
        fs::create_directories(Remote(""));
    }

    // The local path of a name inside the test's folder on the server.
    std::string Remote(const std::string& name) const { return TheFtpServer().Home() + m_name + "/" + name; }

    std::unique_ptr<CFtp> Connect(bool passive = true, CFtp::ProgressCallback progress = {})
    {
        bool serverNotFound = false, loginFailed = false, cancelled = false;
        auto ftp = std::make_unique<CFtp>(serverNotFound, loginFailed, cancelled, "127.0.0.1", TheFtpServer().Port(),
                                          FtpServer::kUser, FtpServer::kPassword, passive, std::move(progress),
                                          [this](const std::string& line) { m_log.push_back(line); });
        EXPECT_TRUE(ftp->chdir(m_name));
        return ftp;
    }

    std::string m_name;
    std::vector<std::string> m_log;
    ScratchFolder m_local;
};

TEST_F(FtpTest, LogsInAtTheHomeFolder)
{
    bool serverNotFound = false, loginFailed = false, cancelled = false;
    CFtp ftp(serverNotFound, loginFailed, cancelled, "127.0.0.1", TheFtpServer().Port(), FtpServer::kUser,
             FtpServer::kPassword, true);
    EXPECT_EQ(ftp.m_strCwd, "/");
    EXPECT_FALSE(serverNotFound || loginFailed || cancelled);
}

TEST_F(FtpTest, FailedConnectionsSetTheirFlags)
{
    const int port = TheFtpServer().Port();
    const ftp_test::ClosedPort closed;
    const int closedPort = closed.Port();
    struct Case
    {
        const char* what;
        std::string host;
        int port;
        std::string password;
        bool cancelFirst, serverNotFound, loginFailed;
    } cases[] = {
        {"wrong password", "127.0.0.1", port, "wrong", false, false, true},
        {"closed port", "127.0.0.1", closedPort, FtpServer::kPassword, false, false, false},
        {"unknown host", "no-such-host.invalid", port, FtpServer::kPassword, false, true, false},
        {"port out of range", "127.0.0.1", 70000, FtpServer::kPassword, false, false, false},
        {"port 0", "127.0.0.1", 0, FtpServer::kPassword, false, false, false},
        {"host with a path", "127.0.0.1/x", port, FtpServer::kPassword, false, false, false},
        {"password with a line break", "127.0.0.1", port, "a\r\nDELE x", false, false, false},
        {"cancelled before it starts", "127.0.0.1", port, FtpServer::kPassword, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool serverNotFound = false, loginFailed = false, cancelled = c.cancelFirst;
        EXPECT_THROW(CFtp(serverNotFound, loginFailed, cancelled, c.host, c.port, FtpServer::kUser, c.password, true),
                     CFtpException);
        EXPECT_EQ(serverNotFound, c.serverNotFound);
        EXPECT_EQ(loginFailed, c.loginFailed);
        EXPECT_EQ(cancelled, c.cancelFirst);
    }
}

TEST_F(FtpTest, FoldersAreEnteredMadeAndRemoved)
{
    auto ftp = Connect();
    const std::string base = ftp->m_strCwd;
    EXPECT_EQ(base, "/" + m_name);

    EXPECT_TRUE(ftp->mkdir("made"));
    EXPECT_TRUE(fs::is_directory(Remote("made")));
    EXPECT_TRUE(ftp->mkdir("made")) << "a folder that is already there counts as made";

    EXPECT_TRUE(ftp->chdir("made"));
    EXPECT_EQ(ftp->m_strCwd, base + "/made");
    EXPECT_TRUE(ftp->mkdir("inner"));
    EXPECT_TRUE(fs::is_directory(Remote("made/inner")));

    EXPECT_FALSE(ftp->chdir("missing"));
    EXPECT_EQ(ftp->m_nError, CFtp::errorNotFound);
    EXPECT_EQ(ftp->m_strCwd, base + "/made") << "a failed chdir stays where it was";

    EXPECT_TRUE(ftp->chdir(".."));
    EXPECT_EQ(ftp->m_strCwd, base);
    EXPECT_TRUE(ftp->chdir("made/inner"));
    EXPECT_TRUE(ftp->chdir(base)) << "a saved m_strCwd returns there";
    EXPECT_EQ(ftp->m_strCwd, base);

    EXPECT_FALSE(ftp->rmdir("made")) << "not empty";
    EXPECT_TRUE(ftp->rmdir("made/inner"));
    EXPECT_TRUE(ftp->rmdir("made"));
    EXPECT_FALSE(fs::exists(Remote("made")));
    EXPECT_FALSE(ftp->rmdir("made"));
    EXPECT_EQ(ftp->m_nError, CFtp::errorNotFound);
}

TEST_F(FtpTest, FilesGoUpComeBackAndAreRemoved)
{
    auto ftp = Connect();
    std::string bytes;
    for (int i = 0; i < 100000; ++i)
        bytes.push_back(static_cast<char>(i * 7 + i / 251));
    WriteAll(m_local / "up.bin", bytes);

    // Names that a URL would take apart must arrive as they are.
    for (const std::string name : {"page.html", "a b%20c#d?e.gif"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(ftp->put(m_local / "up.bin", name, false));
        EXPECT_EQ(ReadAll(Remote(name)), bytes);
        ASSERT_TRUE(ftp->get(m_local / "down.bin", name, true));
        EXPECT_EQ(ReadAll(m_local / "down.bin"), bytes);
        EXPECT_TRUE(ftp->remove(name));
        EXPECT_FALSE(fs::exists(Remote(name)));
    }

    EXPECT_FALSE(ftp->remove("page.html"));
    EXPECT_EQ(ftp->m_nError, CFtp::errorNotFound);

    WriteAll(m_local / "kept.txt", "old");
    EXPECT_FALSE(ftp->get(m_local / "kept.txt", "missing.txt", false));
    EXPECT_EQ(ftp->m_nError, CFtp::errorNotFound);
    EXPECT_EQ(ReadAll(m_local / "kept.txt"), "old") << "a failed download leaves the local file alone";
    EXPECT_EQ(EntriesOf(m_local.Path()), (std::set<std::string>{"up.bin", "down.bin", "kept.txt"}));

    EXPECT_FALSE(ftp->put(m_local / "no-such-file", "x.txt", false));
    EXPECT_EQ(ftp->m_nError, CFtp::errorLocalFile);
    EXPECT_FALSE(fs::exists(Remote("x.txt")));
}

TEST_F(FtpTest, ADownloadLongerThanItsLimitStopsAndLeavesTheLocalFileAlone)
{
    auto ftp = Connect();
    const std::string bytes(300000, 'x');
    WriteAll(Remote("big.txt"), bytes);
    WriteAll(m_local / "kept.txt", "old");
    for (const long long limit : {0LL, 1000LL, 299999LL}) {
        SCOPED_TRACE(limit);
        EXPECT_FALSE(ftp->get(m_local / "kept.txt", "big.txt", true, limit));
        EXPECT_EQ(ftp->m_nError, CFtp::errorTooLarge);
        EXPECT_EQ(ReadAll(m_local / "kept.txt"), "old");
        // The connection goes on working.
        EXPECT_TRUE(ftp->mkdir("sub"));
    }
    ASSERT_TRUE(ftp->get(m_local / "kept.txt", "big.txt", true, 300000));
    EXPECT_EQ(ReadAll(m_local / "kept.txt"), bytes);
    EXPECT_EQ(EntriesOf(m_local.Path()), std::set<std::string>{"kept.txt"});
    EXPECT_TRUE(fs::is_directory(Remote("sub")));
}

TEST_F(FtpTest, NamesWithLineBreaksOrNulAreRefusedBeforeAnythingIsSent)
{
    auto ftp = Connect();
    WriteAll(m_local / "f.txt", "x");
    const std::function<bool(CFtp&, const std::string&)> calls[] = {
        [](CFtp& f, const std::string& n) { return f.chdir(n); },
        [](CFtp& f, const std::string& n) { return f.mkdir(n); },
        [](CFtp& f, const std::string& n) { return f.rmdir(n); },
        [](CFtp& f, const std::string& n) { return f.remove(n); },
        [this](CFtp& f, const std::string& n) { return f.put(m_local / "f.txt", n, false); },
        [this](CFtp& f, const std::string& n) { return f.get(m_local / "g.txt", n, false); },
    };
    for (const std::string& name :
         {std::string("a\r\nDELE f.txt"), std::string("a\nb"), std::string("a\0b", 3), std::string()}) {
        for (const auto& call : calls) {
            m_log.clear();
            EXPECT_FALSE(call(*ftp, name));
            EXPECT_EQ(ftp->m_nError, CFtp::errorBadName);
            for (const std::string& line : m_log)
                EXPECT_NE(line.substr(0, 2), "> ") << line;
        }
    }
    EXPECT_TRUE(EntriesOf(Remote("")).empty());
}

TEST_F(FtpTest, DeleteAllButKeepsTheListedEntries)
{
    auto ftp = Connect();
    for (const char* name : {"a.html", "b.gif", "c d.jpg"})
        WriteAll(Remote(name), "x");
    fs::create_directories(Remote("Download"));
    WriteAll(Remote("Download/file.zip"), "z");

    const std::vector<std::string> keep = {"Download", "..", "."};
    EXPECT_TRUE(ftp->mdel_excludefiles(&keep));
    EXPECT_EQ(EntriesOf(Remote("")), std::set<std::string>{"Download"});

    ASSERT_TRUE(ftp->chdir("Download"));
    const std::vector<std::string> none;
    EXPECT_TRUE(ftp->mdel_excludefiles(&none));
    EXPECT_TRUE(EntriesOf(Remote("Download")).empty());
    EXPECT_TRUE(ftp->mdel_excludefiles(&none)) << "an empty folder";

    // A folder it cannot delete, or a listed name that cannot be sent, does not stop it deleting the rest.
    ASSERT_TRUE(ftp->chdir(".."));
    WriteAll(Remote("e.txt"), "x");
    WriteAll(Remote("carriage\rreturn"), "x");
    EXPECT_FALSE(ftp->mdel_excludefiles(&none));
    EXPECT_EQ(EntriesOf(Remote("")), (std::set<std::string>{"Download", "carriage\rreturn"}));
}

TEST_F(FtpTest, ProgressReportsEveryByteAndItsZeroCancels)
{
    const std::string bytes(3 << 20, 'p');
    WriteAll(m_local / "big.bin", bytes);
    long long total = 0;
    auto ftp = Connect(true, [&](int step) {
        total += step;
        return 1;
    });
    ASSERT_TRUE(ftp->put(m_local / "big.bin", "big.bin", false));
    EXPECT_EQ(total, static_cast<long long>(bytes.size()));
    total = 0;
    ASSERT_TRUE(ftp->get(m_local / "back.bin", "big.bin", false));
    EXPECT_EQ(total, static_cast<long long>(bytes.size()));

    auto cancelling = Connect(true, [](int step) { return step > 0 ? 0 : 1; });
    EXPECT_FALSE(cancelling->put(m_local / "big.bin", "cancelled.bin", false));
    EXPECT_EQ(cancelling->m_nError, CFtp::errorCancelled);
}

TEST_F(FtpTest, DisconnectOnlyFailsTheRunningCallAndLaterOnes)
{
    WriteAll(m_local / "big.bin", std::string(3 << 20, 'd'));
    CFtp* self = nullptr;
    int calls = 0;
    auto ftp = Connect(true, [&](int) {
        if (self && ++calls == 2)
            self->DisconnectOnly();
        return 1;
    });
    self = ftp.get();
    EXPECT_FALSE(ftp->put(m_local / "big.bin", "big.bin", false));
    EXPECT_EQ(ftp->m_nError, CFtp::errorCancelled);
    EXPECT_FALSE(ftp->chdir(".."));
    EXPECT_EQ(ftp->m_nError, CFtp::errorCancelled);
    ftp->DisconnectOnly(); // a second drop changes nothing

    // Between calls it drops the connection too.
    auto idle = Connect();
    idle->DisconnectOnly();
    EXPECT_FALSE(idle->mkdir("after-the-drop"));
    EXPECT_EQ(idle->m_nError, CFtp::errorCancelled);
    EXPECT_FALSE(fs::exists(Remote("after-the-drop")));
}

TEST_F(FtpTest, ActiveModeTransfers)
{
    auto ftp = Connect(false);
    WriteAll(m_local / "f.txt", "active");
    ASSERT_TRUE(ftp->put(m_local / "f.txt", "f.txt", false));
    ASSERT_TRUE(ftp->get(m_local / "g.txt", "f.txt", false));
    EXPECT_EQ(ReadAll(m_local / "g.txt"), "active");
}

class FtpProxyTest : public FtpTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(FtpProxyTest, TransfersGoThroughTheProxy)
{
    const int version = GetParam();
    ftp_test::SocksProxy& proxy = ftp_test::TheSocksProxy(version);
    if (!proxy.Running())
        GTEST_SKIP() << "no SOCKS" << version << " proxy: " << proxy.Error();
    bool serverNotFound = false, loginFailed = false, cancelled = false;
    CFtp ftp(serverNotFound, loginFailed, cancelled, "127.0.0.1", TheFtpServer().Port(), FtpServer::kUser,
             FtpServer::kPassword, true, "127.0.0.1", proxy.Port(), "proxyuser", "Pr0xy-pw",
             version == 4 ? CFtp::SOCKS4 : CFtp::SOCKS5, CFtp::ProgressCallback(),
             [this](const std::string& line) { m_log.push_back(line); });
    ASSERT_TRUE(ftp.chdir(m_name));
    EXPECT_TRUE(ftp.mkdir("y-Pr0xy-pw"));
    for (const std::string& line : m_log)
        EXPECT_EQ(line.find("Pr0xy-pw"), std::string::npos) << line;
    WriteAll(m_local / "f.txt", "through the proxy");
    ASSERT_TRUE(ftp.put(m_local / "f.txt", "f.txt", false));
    EXPECT_EQ(ReadAll(Remote("f.txt")), "through the proxy");
    ASSERT_TRUE(ftp.get(m_local / "g.txt", "f.txt", false));
    EXPECT_EQ(ReadAll(m_local / "g.txt"), "through the proxy");

    // A proxy nobody listens on is a general failure.
    const ftp_test::ClosedPort closed;
    EXPECT_THROW(CFtp(serverNotFound, loginFailed, cancelled, "127.0.0.1", TheFtpServer().Port(), FtpServer::kUser,
                      FtpServer::kPassword, true, "127.0.0.1", closed.Port(), "", "", CFtp::SOCKS5),
                 CFtpException);
    EXPECT_FALSE(serverNotFound || loginFailed || cancelled);
}

INSTANTIATE_TEST_SUITE_P(Socks, FtpProxyTest, ::testing::Values(4, 5),
                         [](const auto& info) { return "Socks" + std::to_string(info.param); });

TEST_F(FtpTest, LogsHoldNoPassword)
{
    // A folder named after the password shows the masking of lines other than the log-in.
    bool serverNotFound = false, loginFailed = false, cancelled = false;
    {
        auto ftp = std::make_unique<CFtp>(serverNotFound, loginFailed, cancelled, "127.0.0.1", TheFtpServer().Port(),
                                          FtpServer::kUser, FtpServer::kPassword, true, CFtp::ProgressCallback(),
                                          [this](const std::string& line) { m_log.push_back(line); });
        ASSERT_TRUE(ftp->InitLogFile(m_local.Path()));
        ASSERT_TRUE(ftp->chdir(m_name));
        EXPECT_TRUE(ftp->mkdir(std::string("x-") + FtpServer::kPassword));
        ftp->DestroyLogFile();
        EXPECT_TRUE(ftp->mkdir("after-the-log"));
    }
    EXPECT_NE(std::find(m_log.begin(), m_log.end(), "> PASS ********"), m_log.end());

    const std::string file = ReadAll(m_local / "FTP.log");
    EXPECT_NE(file.find("> CWD /" + m_name + "\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("x-********"), std::string::npos) << file;
    EXPECT_EQ(file.find("after-the-log"), std::string::npos) << "the log stops when it is destroyed";
    for (const std::string& text : {file, [this] {
                                        std::string all;
                                        for (const std::string& line : m_log)
                                            all += line + "\n";
                                        return all;
                                    }()}) {
        EXPECT_EQ(text.find(FtpServer::kPassword), std::string::npos) << text;
    }
}

} // namespace
