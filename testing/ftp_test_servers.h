#pragma once

// Real servers on loopback for the tests of the FTP client and what uses it: Debian's pyftpdlib as the FTP server,
// microsocks as a SOCKS5 proxy and dante as a SOCKS4 proxy. Each is started the first time a test of the program
// asks for it and stopped when the program ends. The servers that can bind port 0 do, and the port is the one the
// system reports their process listening on, so that no other test's server can be reached in its place. When one
// cannot run here, Error() says why and the test skips.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <dirent.h>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "testing/scratch_folder.h"

extern char** environ;

namespace ftp_test {

inline sockaddr_in LoopbackAddress(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

inline bool LoopbackPortFree(int port)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = LoopbackAddress(port);
    const bool free = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return free;
}

// A port nobody listens on at the moment it is asked for, for a server that cannot bind port 0 itself. It is drawn at
// random from below the range the system hands out itself (for a bind to port 0, as the other servers and every
// passive data connection make, and for outgoing connections). A server of another test drawing the same number can
// still take it first; ServerProcess::Start then sees that its own server is not the one listening.
inline int FreeLoopbackPort()
{
    int systemLow = 32768;
    std::ifstream("/proc/sys/net/ipv4/ip_local_port_range") >> systemLow;
    const int low = 10000, high = std::max(low + 1000, systemLow) - 1;
    static std::minstd_rand random(std::random_device{}());
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const int port = std::uniform_int_distribution<int>(low, high)(random);
        if (LoopbackPortFree(port))
            return port;
    }
    return 0;
}

// A loopback port that refuses connections for as long as the object lives: bound, so that nothing else can take
// it, and never listened on.
class ClosedPort
{
public:
    ClosedPort() : m_fd(socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address = LoopbackAddress(0);
        socklen_t size = sizeof address;
        if (bind(m_fd, reinterpret_cast<const sockaddr*>(&address), size) == 0 &&
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            m_port = ntohs(address.sin_port);
    }
    ClosedPort(const ClosedPort&) = delete;
    ClosedPort& operator=(const ClosedPort&) = delete;
    ~ClosedPort() { close(m_fd); }

    int Port() const { return m_port; }

private:
    int m_fd;
    int m_port = 0;
};

// The TCP port a process listens on, as the system reports it (the sockets among its open files that are listening,
// in /proc/net/tcp); 0 while it listens on none.
inline int ListeningPort(pid_t pid)
{
    std::set<std::string> sockets;
    const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
    if (DIR* folder = opendir(fds.c_str())) {
        while (const dirent* entry = readdir(folder)) {
            char target[64] = {};
            const std::string link = fds + "/" + entry->d_name;
            const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
            const std::string text(target, length > 0 ? static_cast<size_t>(length) : 0);
            if (text.rfind("socket:[", 0) == 0 && text.back() == ']')
                sockets.insert(text.substr(8, text.size() - 9));
        }
        closedir(folder);
    }
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);
    while (std::getline(table, line)) {
        // sl local_address rem_address st tx_queue:rx_queue tr:tm->when retrnsmt uid timeout inode
        std::istringstream fields(line);
        std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
        fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >> timeout >> inode;
        const size_t colon = local.find(':');
        if (state == "0A" && colon != std::string::npos && sockets.count(inode))
            return static_cast<int>(std::stoul(local.substr(colon + 1), nullptr, 16));
    }
    return 0;
}

// A program of the system running beside the tests, listening on a port of loopback; stopped with the object.
class ServerProcess
{
public:
    ServerProcess() = default;
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    ~ServerProcess() { Stop(); }

    // Starts the program that argvFor gives for a port and waits until the program itself listens. A program that
    // binds port 0 (bindsPortZero) is given 0 and its port is the one it got. One that cannot is given a port drawn
    // free, and is started again on another when it ends at once or another test's server listens there first.
    // False with Error() set when it does not come to listen.
    bool Start(const std::function<std::vector<std::string>(int port)>& argvFor, const std::string& logPath,
               bool bindsPortZero)
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            const int port = bindsPortZero ? 0 : FreeLoopbackPort();
            if (!bindsPortZero && port == 0) {
                m_error = "no free port on loopback";
                break;
            }
            if (StartOn(argvFor(port), port, logPath) || !m_endedAtOnce)
                break;
        }
        return m_port != 0;
    }

    void Stop()
    {
        if (m_pid > 0) {
            kill(-m_pid, SIGTERM);
            while (waitpid(-m_pid, nullptr, 0) > 0 || errno == EINTR) {
            }
        }
        m_pid = -1;
    }

    int Port() const { return m_port; }
    const std::string& Error() const { return m_error; }

private:
    // Port 0: the program binds a port the system chooses.
    bool StartOn(const std::vector<std::string>& argv, int port, const std::string& logPath)
    {
        m_endedAtOnce = false;
        if (access(argv[0].c_str(), X_OK) != 0) {
            m_error = argv[0] + " is not installed (scripts/deps.sh installs it)";
            return false;
        }
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        // A group of its own, and this process as the reaper of its orphans, so that a server that forks helpers
        // (dante) goes away whole.
        prctl(PR_SET_CHILD_SUBREAPER, 1);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        const int spawned = posix_spawn(&m_pid, args[0], &actions, &attributes, args.data(), environ);
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            m_pid = -1;
            m_error = argv[0] + " could not be started";
            return false;
        }
        // A guard against a server that never listens, far beyond the second or so a start takes on a busy machine.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        int listening = 0;
        while ((listening = ListeningPort(m_pid)) == 0) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                Stop();
                m_error = argv[0] + " ended at once; its output is in " + logPath;
                m_endedAtOnce = true;
                return false;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                Stop();
                m_error = argv[0] + " did not listen on a port; its output is in " + logPath;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (port != 0 && listening != port) {
            Stop();
            m_error = argv[0] + " listens on " + std::to_string(listening) + ", not on " + std::to_string(port);
            m_endedAtOnce = true;
            return false;
        }
        m_port = listening;
        return true;
    }

    pid_t m_pid = -1;
    int m_port = 0;
    bool m_endedAtOnce = false;
    std::string m_error;
};

// The FTP server: one user with write access to a scratch home folder. A throttled server reads what is sent to it
// at kThrottledBytesPerSecond, so that an upload of a few files stays under way for many seconds; it may be given
// the home folder of another server, so that what an upload at full speed left there is what a throttled one finds.
class FtpServer
{
public:
    static constexpr const char* kUser = "pelorin";
    static constexpr const char* kPassword = "Secr3t-pw";
    static constexpr int kThrottledBytesPerSecond = 256;

    enum class Speed
    {
        full,
        throttled
    };

    explicit FtpServer(Speed speed = Speed::full, const std::string& home = {})
        : m_strHome(home.empty() ? m_ownHome.Path() : home)
    {
        m_process.Start(
            [this, speed](int port) {
                if (speed == Speed::throttled)
                    return std::vector<std::string>{
                        "/usr/bin/python3", "-c",  kThrottledServer, std::to_string(port),
                        m_strHome,          kUser, kPassword,        std::to_string(kThrottledBytesPerSecond)};
                return std::vector<std::string>{
                    "/usr/bin/python3", "-m", "pyftpdlib", "-i", "127.0.0.1", "-p", std::to_string(port), "-w", "-d",
                    m_strHome,          "-u", kUser,       "-P", kPassword};
            },
            m_logs / "pyftpdlib.log", true);
    }

    bool Running() const { return m_process.Port() != 0; }
    const std::string& Error() const { return m_process.Error(); }
    int Port() const { return m_process.Port(); }
    // The folder the user logs into, ending with '/'.
    const std::string& Home() const { return m_strHome; }

private:
    // pyftpdlib's own command line knows no throttling: the same server, its data channels reading at the limit.
    // Arguments: port, home folder, user, password, bytes per second.
    static constexpr const char* kThrottledServer = R"(
import sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer
port, home, user, password, limit = sys.argv[1:]
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, home, perm="elradfmwMT")
ThrottledDTPHandler.read_limit = int(limit)
FTPHandler.authorizer = authorizer
FTPHandler.dtp_handler = ThrottledDTPHandler
FTPServer(("127.0.0.1", int(port)), FTPHandler).serve_forever()
)";

    ScratchFolder m_ownHome;
    ScratchFolder m_logs;
    std::string m_strHome;
    ServerProcess m_process;
};

// A SOCKS proxy on loopback: microsocks for SOCKS5, dante for SOCKS4.
class SocksProxy
{
public:
    explicit SocksProxy(int version)
    {
        if (version == 5) {
            m_process.Start(
                [](int port) {
                    return std::vector<std::string>{"/usr/bin/microsocks", "-i", "127.0.0.1", "-p",
                                                    std::to_string(port)};
                },
                m_folder / "microsocks.log", true);
            return;
        }
        // dante takes no port 0.
        m_process.Start([this](int port) { return DanteFor(port); }, m_folder / "danted.log", false);
    }

    bool Running() const { return m_process.Port() != 0; }
    const std::string& Error() const { return m_process.Error(); }
    int Port() const { return m_process.Port(); }

private:
    // Writes dante's configuration for the port and gives its command line.
    std::vector<std::string> DanteFor(int port)
    {
        const std::string config = m_folder / "danted.conf";
        std::ofstream(config) << "logoutput: stderr\n"
                              << "internal: 127.0.0.1 port = " << port << "\n"
                              << "external: 127.0.0.1\n"
                              << "clientmethod: none\n"
                              << "socksmethod: none\n"
                              << (geteuid() == 0 ? "user.privileged: root\nuser.unprivileged: nobody\n" : "")
                              << "client pass { from: 127.0.0.0/8 to: 127.0.0.0/8 }\n"
                              << "socks pass { from: 127.0.0.0/8 to: 127.0.0.0/8 }\n";
        return {"/usr/sbin/danted", "-f", config, "-p", m_folder / "danted.pid"};
    }

    ScratchFolder m_folder;
    ServerProcess m_process;
};

// The servers of this test program, each started on first use.
inline FtpServer& TheFtpServer()
{
    static FtpServer server;
    return server;
}

// A throttled server on the home folder of TheFtpServer().
inline FtpServer& TheThrottledFtpServer()
{
    static FtpServer server(FtpServer::Speed::throttled, TheFtpServer().Home());
    return server;
}

inline SocksProxy& TheSocksProxy(int version)
{
    if (version == 4) {
        static SocksProxy socks4(4);
        return socks4;
    }
    static SocksProxy socks5(5);
    return socks5;
}

} // namespace ftp_test
