#pragma once

// One logged-in FTP connection: the calls the publisher, the connection test and the site removal make, each
// answering true or false with an error code and text, a progress callback that can cancel, and a log of the
// conversation with no password in it. Everything runs on the caller's thread; the callbacks are where a GUI keeps
// its windows alive while a call runs.

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// Thrown by the constructor when no logged-in connection could be made. The reason is in the flags the caller
// passed (none set: a general failure) and in CFtp::m_strError.
class CFtpException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class CFtp
{
public:
    enum ProxyType
    {
        SOCKS4 = 0,
        SOCKS5 = 1,
    };

    // The values of m_nError. 1, 2 and 8 all mean the connection is gone.
    enum
    {
        errorNone = 0,
        errorConnectionClosed = 1,
        errorTimedOut = 2,
        errorRefused = 3,
        errorLocalFile = 4,
        errorCancelled = 5,
        errorNotFound = 6,
        errorBadName = 7,
        errorNetwork = 8,
        // A download was longer than the caller's limit.
        errorTooLarge = 9,
    };

    // Gets the bytes moved since its last call (0 while only commands are exchanged); answering 0 cancels the call.
    using ProgressCallback = std::function<int(int)>;
    // Gets one line of the conversation, passwords masked.
    using LogCallback = std::function<void(const std::string&)>;

    // Connects and logs in, passive or active. `cancelled` is read while the connection is made (a Cancel button
    // may set it); the constructor sets it too when the progress callback answers 0. On failure the flags tell why
    // and CFtpException is thrown.
    CFtp(bool& serverNotFound, bool& loginFailed, bool& cancelled, const std::string& host, int port,
         const std::string& user, const std::string& password, bool passive, ProgressCallback progress = {},
         LogCallback log = {});
    // The same through a SOCKS proxy.
    CFtp(bool& serverNotFound, bool& loginFailed, bool& cancelled, const std::string& host, int port,
         const std::string& user, const std::string& password, bool passive, const std::string& proxyHost,
         int proxyPort, const std::string& proxyUser, const std::string& proxyPassword, ProxyType proxyType,
         ProgressCallback progress = {}, LogCallback log = {});
    ~CFtp();
    CFtp(const CFtp&) = delete;
    CFtp& operator=(const CFtp&) = delete;

    // The error code of the last failed call; callers may set it.
    int m_nError = errorNone;

    // The remote folder the calls work in, an absolute path without a trailing "/" (the root is "/"). A copy of it
    // given to chdir returns there.
    std::string m_strCwd;

    // The text of the last error of any connection, or of a constructor that threw; may be empty.
    static inline std::string m_strError;

    // Names are relative to m_strCwd unless they start with "/"; ".." is the parent. mkdir of a folder that
    // already exists succeeds. A name holding CR, LF or NUL is refused before anything is sent.
    bool chdir(const std::string& name);
    bool mkdir(const std::string& name);
    bool rmdir(const std::string& name);
    bool remove(const std::string& name);

    // Upload into, or download from, the current remote folder. Transfers are always binary; the flag marks the
    // publisher's own files and changes nothing in the transfer. A failed get leaves the local file as it was. A
    // get with maxBytes of 0 or more stops as soon as the file proves longer and fails with errorTooLarge, so a
    // server cannot fill the disk with a file that can only be a fraction of that size.
    bool put(const std::string& localPath, const std::string& remoteName, bool flag);
    bool get(const std::string& localPath, const std::string& remoteName, bool flag, long long maxBytes = -1);

    // Deletes every entry of the current remote folder whose name is not in `keep` (exact match). Goes on past an
    // entry that cannot be deleted and answers false at the end when any could not.
    bool mdel_excludefiles(const std::vector<std::string>* keep);

    // Starts writing the log into "FTP.log" in `folder` (replacing it), lines ending in CR LF; stops it. The lines
    // reach the file in large pieces: when a failure is logged, when the buffer is full and when the log stops.
    bool InitLogFile(const std::string& folder);
    void DestroyLogFile();

    // Drops the connection at once, without a goodbye to the server. Called from inside a callback, it makes the
    // running call fail as cancelled; every later call fails as cancelled too.
    void DisconnectOnly();

private:
    struct Curl;
    struct Proxy
    {
        std::string host;
        int port;
        std::string user;
        ProxyType type;
    };

    // Sets the connection up (through the proxy when there is one), connects and logs in; throws on failure.
    void Open(bool& serverNotFound, bool& loginFailed, bool& cancelled, const std::string& user, bool passive,
              const Proxy* proxy);
    // Runs the request set up on the handle; false with m_nError and m_strError set on failure.
    bool Perform();
    // Checks that a call may run and that its name is safe to send; starts the call's error state.
    bool Begin(const std::string& name);
    // Sends one command after entering m_strCwd and returns the server's reply code (0 when the request failed).
    long Command(const std::string& command);
    bool FolderExists(const std::string& path);
    // rmdir and remove: one command on a name, a 550 reply meaning it is not there.
    bool RemoveEntry(const char* verb, const std::string& name, const std::string& failure);
    // The absolute, normalised path a name stands for from m_strCwd.
    std::string Resolve(const std::string& name) const;
    std::string UrlOf(const std::string& path, bool folder) const;
    void ResetRequest(const std::string& url);
    void Fail(int code, const std::string& text);
    void Log(const std::string& line);
    void Drop();

    // libcurl's callbacks, which reach the members below.
    friend struct CFtpCallbacks;

    std::unique_ptr<Curl> m_curl;
    std::string m_host;
    int m_port = 21;
    std::string m_password;
    std::string m_proxyPassword;
    ProgressCallback m_progress;
    LogCallback m_log;
    std::FILE* m_logFile = nullptr;
    std::unique_ptr<char[]> m_logBuffer;

    // Set while the constructor runs: the caller's cancel flag.
    bool* m_cancelled = nullptr;
    bool m_busy = false;
    bool m_dropped = false;
    // libcurl's result of the last request.
    int m_lastResult = 0;
    long long m_lastBytes = 0;
    // The last line the server answered with during the running call, added to error texts.
    std::string m_lastReply;
    std::string m_partialLine;
};
