#include "platform/ftp/ftp.h"

#include "platform/ftp/curl_library.h"

#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/win/path.h"

namespace {

constexpr const char* kMask = "********";

bool IsSafeText(const std::string& text)
{
    return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

// A host name or address as it may stand in a URL: nothing that would end the host part or start a command.
bool IsSafeHost(const std::string& host)
{
    if (host.empty())
        return false;
    for (unsigned char c : host) {
        if (c <= ' ' || c == 0x7F || std::strchr("/@?#\\", c))
            return false;
    }
    return true;
}

bool IsPort(int port)
{
    return port >= 1 && port <= 65535;
}

std::string HostForUrl(const std::string& host)
{
    return host.find(':') != std::string::npos && host.front() != '[' ? "[" + host + "]" : host;
}

std::vector<std::string> SplitComponents(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

size_t Discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

size_t AppendToString(char* data, size_t size, size_t count, void* target)
{
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

// A download's local file and how much more of it the caller takes.
struct DownloadTarget
{
    std::FILE* file = nullptr;
    long long room = -1;
    bool overflowed = false;
};

size_t WriteToFile(char* data, size_t size, size_t count, void* target)
{
    DownloadTarget& download = *static_cast<DownloadTarget*>(target);
    const size_t bytes = size * count;
    if (download.room >= 0) {
        if (static_cast<unsigned long long>(download.room) < bytes) {
            download.overflowed = true;
            return 0;
        }
        download.room -= static_cast<long long>(bytes);
    }
    return std::fwrite(data, 1, bytes, download.file);
}

size_t ReadFromFile(char* data, size_t size, size_t count, void* file)
{
    std::FILE* f = static_cast<std::FILE*>(file);
    const size_t read = std::fread(data, size, count, f);
    return std::ferror(f) ? CURL_READFUNC_ABORT : read * size;
}

// What a failed request means for the caller, by libcurl's result.
int ErrorCodeOf(CURLcode result)
{
    switch (result) {
    case CURLE_ABORTED_BY_CALLBACK:
        return CFtp::errorCancelled;
    case CURLE_OPERATION_TIMEDOUT:
        return CFtp::errorTimedOut;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return CFtp::errorConnectionClosed;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_PROXY:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
        return CFtp::errorNetwork;
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
        return CFtp::errorNotFound;
    case CURLE_READ_ERROR:
    case CURLE_WRITE_ERROR:
        return CFtp::errorLocalFile;
    default:
        return CFtp::errorRefused;
    }
}

struct LocalFile
{
    std::FILE* file = nullptr;
    ~LocalFile()
    {
        if (file)
            std::fclose(file);
    }
};

} // namespace

// The request handle and the multi handle that runs it. The multi handle keeps the logged-in connection between
// requests, so every call after the first reuses it.
struct CFtp::Curl
{
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    char errorText[CURL_ERROR_SIZE] = {};
    curl_slist* commands = nullptr;
    // The sockets libcurl holds open for this connection, so that DisconnectOnly can cut them between requests
    // too, when libcurl no longer names its socket.
    std::vector<curl_socket_t> sockets;

    // libcurl's functions; null when it cannot be loaded (loadError says why), and then there are no handles.
    const CurlLibrary* lib = nullptr;
    std::string loadError;

    Curl()
    {
        lib = LoadCurlLibrary(&loadError);
        multi = lib ? lib->multi_init() : nullptr;
        easy = multi ? lib->easy_init() : nullptr;
    }
    ~Curl()
    {
        if (easy)
            lib->easy_cleanup(easy);
        if (multi)
            lib->multi_cleanup(multi);
        if (lib)
            lib->slist_free_all(commands);
    }

    CURLcode Run()
    {
        if (lib->multi_add_handle(multi, easy) != CURLM_OK)
            return CURLE_OUT_OF_MEMORY;
        CURLcode result = CURLE_OK;
        for (int running = 1; running;) {
            if (lib->multi_perform(multi, &running) != CURLM_OK) {
                result = CURLE_OUT_OF_MEMORY;
                break;
            }
            // Never wait long for a timer: between the reply to EPSV and the connect of the data channel libcurl
            // sometimes has nothing to wait on and would otherwise sleep its full second.
            long wait = 0;
            lib->multi_timeout(multi, &wait);
            if (running && wait != 0)
                lib->multi_poll(multi, nullptr, 0, wait < 0 || wait > kLongestWait ? kLongestWait : wait, nullptr);
        }
        int left = 0;
        while (CURLMsg* message = lib->multi_info_read(multi, &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
                result = message->data.result;
        }
        lib->multi_remove_handle(multi, easy);
        return result;
    }

    static constexpr long kLongestWait = 10;
};

struct CFtpCallbacks
{
    static curl_socket_t OpenSocket(void* data, curlsocktype, curl_sockaddr* address)
    {
        const curl_socket_t fd = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
        if (fd != CURL_SOCKET_BAD)
            static_cast<CFtp::Curl*>(data)->sockets.push_back(fd);
        return fd;
    }

    static int CloseSocket(void* data, curl_socket_t fd)
    {
        auto& sockets = static_cast<CFtp::Curl*>(data)->sockets;
        sockets.erase(std::remove(sockets.begin(), sockets.end(), fd), sockets.end());
        return ::close(fd);
    }

    static int XferInfo(void* data, curl_off_t, curl_off_t dlNow, curl_off_t, curl_off_t ulNow)
    {
        CFtp& ftp = *static_cast<CFtp*>(data);
        if (ftp.m_dropped || (ftp.m_cancelled && *ftp.m_cancelled))
            return 1;
        const long long now = dlNow + ulNow;
        long long step = now - ftp.m_lastBytes;
        ftp.m_lastBytes = now;
        if (step < 0)
            step = 0;
        if (ftp.m_progress && ftp.m_progress(static_cast<int>(std::min<long long>(step, INT_MAX))) == 0) {
            if (ftp.m_cancelled)
                *ftp.m_cancelled = true;
            return 1;
        }
        // The callback may have dropped the connection.
        return ftp.m_dropped ? 1 : 0;
    }

    static int Debug(CURL*, curl_infotype type, char* data, size_t size, void* self)
    {
        if (type != CURLINFO_HEADER_IN && type != CURLINFO_HEADER_OUT)
            return 0;
        CFtp& ftp = *static_cast<CFtp*>(self);
        ftp.m_partialLine.append(data, size);
        size_t end;
        while ((end = ftp.m_partialLine.find('\n')) != std::string::npos) {
            std::string line = ftp.m_partialLine.substr(0, end);
            ftp.m_partialLine.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (type == CURLINFO_HEADER_IN)
                ftp.m_lastReply = line;
            ftp.Log((type == CURLINFO_HEADER_IN ? "< " : "> ") + line);
        }
        return 0;
    }
};

CFtp::CFtp(bool& serverNotFound, bool& loginFailed, bool& cancelled, const std::string& host, int port,
           const std::string& user, const std::string& password, bool passive, ProgressCallback progress,
           LogCallback log)
    : m_curl(std::make_unique<Curl>()), m_host(host), m_port(port), m_password(password),
      m_progress(std::move(progress)), m_log(std::move(log))
{
    Open(serverNotFound, loginFailed, cancelled, user, passive, nullptr);
}

CFtp::CFtp(bool& serverNotFound, bool& loginFailed, bool& cancelled, const std::string& host, int port,
           const std::string& user, const std::string& password, bool passive, const std::string& proxyHost,
           int proxyPort, const std::string& proxyUser, const std::string& proxyPassword, ProxyType proxyType,
           ProgressCallback progress, LogCallback log)
    : m_curl(std::make_unique<Curl>()), m_host(host), m_port(port), m_password(password),
      m_proxyPassword(proxyPassword), m_progress(std::move(progress)), m_log(std::move(log))
{
    const Proxy proxy{proxyHost, proxyPort, proxyUser, proxyType};
    Open(serverNotFound, loginFailed, cancelled, user, passive, &proxy);
}

CFtp::~CFtp()
{
    // The goodbye to the server is no longer the caller's business, and must not reach members already gone.
    m_log = nullptr;
    DestroyLogFile();
    m_curl.reset();
}

void CFtp::Open(bool& serverNotFound, bool& loginFailed, bool& cancelled, const std::string& user, bool passive,
                const Proxy* proxy)
{
    CURL* easy = m_curl->easy;
    const bool usable = IsSafeHost(m_host) && IsPort(m_port) && IsSafeText(user) && IsSafeText(m_password) &&
                        (!proxy || (IsSafeHost(proxy->host) && IsPort(proxy->port) && IsSafeText(proxy->user) &&
                                    IsSafeText(m_proxyPassword) && (proxy->type == SOCKS4 || proxy->type == SOCKS5)));
    if (!easy || !usable) {
        m_strError = easy           ? "The server, the proxy, a port, a user or a password cannot be used."
                     : !m_curl->lib ? m_curl->loadError + "."
                                    : "Out of memory.";
        throw CFtpException(m_strError);
    }
    m_curl->lib->easy_setopt(easy, CURLOPT_ERRORBUFFER, m_curl->errorText);
    m_curl->lib->easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "ftp");
    m_curl->lib->easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    if (!user.empty()) {
        m_curl->lib->easy_setopt(easy, CURLOPT_USERNAME, user.c_str());
        m_curl->lib->easy_setopt(easy, CURLOPT_PASSWORD, m_password.c_str());
    }
    // One CWD to the full path of each new folder; none while the folder stays the same.
    m_curl->lib->easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    if (!passive)
        m_curl->lib->easy_setopt(easy, CURLOPT_FTPPORT, "-");
    if (proxy) {
        m_curl->lib->easy_setopt(easy, CURLOPT_PROXYTYPE,
                                 static_cast<long>(proxy->type == SOCKS4 ? CURLPROXY_SOCKS4 : CURLPROXY_SOCKS5));
        m_curl->lib->easy_setopt(easy, CURLOPT_PROXY, HostForUrl(proxy->host).c_str());
        m_curl->lib->easy_setopt(easy, CURLOPT_PROXYPORT, static_cast<long>(proxy->port));
        if (!proxy->user.empty()) {
            m_curl->lib->easy_setopt(easy, CURLOPT_PROXYUSERNAME, proxy->user.c_str());
            m_curl->lib->easy_setopt(easy, CURLOPT_PROXYPASSWORD, m_proxyPassword.c_str());
        }
    } else {
        // A proxy named by the environment must not reroute a destination the user set up without one.
        m_curl->lib->easy_setopt(easy, CURLOPT_PROXY, "");
    }
    m_curl->lib->easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, 30L);
    m_curl->lib->easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, 60L);
    m_curl->lib->easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    m_curl->lib->easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, 60L);
    m_curl->lib->easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    m_curl->lib->easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &CFtpCallbacks::XferInfo);
    m_curl->lib->easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    m_curl->lib->easy_setopt(easy, CURLOPT_VERBOSE, 1L);
    m_curl->lib->easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &CFtpCallbacks::Debug);
    m_curl->lib->easy_setopt(easy, CURLOPT_DEBUGDATA, this);
    m_curl->lib->easy_setopt(easy, CURLOPT_OPENSOCKETFUNCTION, &CFtpCallbacks::OpenSocket);
    m_curl->lib->easy_setopt(easy, CURLOPT_OPENSOCKETDATA, m_curl.get());
    m_curl->lib->easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, &CFtpCallbacks::CloseSocket);
    m_curl->lib->easy_setopt(easy, CURLOPT_CLOSESOCKETDATA, m_curl.get());

    // An empty path: log in and learn the folder the server put us in, nothing more.
    ResetRequest("ftp://" + HostForUrl(m_host) + ":" + std::to_string(m_port) + "/");
    m_curl->lib->easy_setopt(easy, CURLOPT_NOBODY, 1L);
    m_cancelled = &cancelled;
    const bool connected = !cancelled && Perform();
    m_cancelled = nullptr;
    if (!connected) {
        if (cancelled)
            m_strError = "Cancelled.";
        serverNotFound = !cancelled && m_lastResult == CURLE_COULDNT_RESOLVE_HOST;
        loginFailed = !cancelled && m_lastResult == CURLE_LOGIN_DENIED;
        throw CFtpException(m_strError);
    }
    char* entry = nullptr;
    m_curl->lib->easy_getinfo(easy, CURLINFO_FTP_ENTRY_PATH, &entry);
    m_strCwd = Resolve(entry && entry[0] == '/' ? entry : "/");
}

std::string CFtp::Resolve(const std::string& name) const
{
    std::vector<std::string> parts;
    if (name.empty() || name.front() != '/')
        parts = SplitComponents(m_strCwd);
    for (std::string& part : SplitComponents(name)) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(std::move(part));
    }
    std::string path;
    for (const std::string& part : parts)
        path += "/" + part;
    return path.empty() ? "/" : path;
}

// "%2F" makes the path absolute rather than relative to the login folder; every component is escaped, so a name
// can hold "%", "#" or "?" and still be the name it is.
std::string CFtp::UrlOf(const std::string& path, bool folder) const
{
    std::string url = "ftp://" + HostForUrl(m_host) + ":" + std::to_string(m_port) + "/%2F";
    bool first = true;
    for (const std::string& part : SplitComponents(path)) {
        char* escaped = m_curl->lib->easy_escape(m_curl->easy, part.data(), static_cast<int>(part.size()));
        if (!first)
            url += "/";
        url += escaped ? escaped : "";
        m_curl->lib->free(escaped);
        first = false;
    }
    if (folder && !first)
        url += "/";
    return url;
}

void CFtp::ResetRequest(const std::string& url)
{
    CURL* easy = m_curl->easy;
    m_curl->lib->easy_setopt(easy, CURLOPT_URL, url.c_str());
    m_curl->lib->easy_setopt(easy, CURLOPT_NOBODY, 0L);
    m_curl->lib->easy_setopt(easy, CURLOPT_UPLOAD, 0L);
    m_curl->lib->easy_setopt(easy, CURLOPT_DIRLISTONLY, 0L);
    m_curl->lib->easy_setopt(easy, CURLOPT_POSTQUOTE, nullptr);
    m_curl->lib->easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Discard);
    m_curl->lib->easy_setopt(easy, CURLOPT_WRITEDATA, nullptr);
    m_curl->lib->easy_setopt(easy, CURLOPT_READFUNCTION, &ReadFromFile);
    m_curl->lib->easy_setopt(easy, CURLOPT_READDATA, nullptr);
    m_curl->lib->easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(-1));
    m_curl->lib->easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(0));
    m_curl->lib->slist_free_all(m_curl->commands);
    m_curl->commands = nullptr;
}

bool CFtp::Perform()
{
    m_curl->errorText[0] = '\0';
    m_lastReply.clear();
    m_partialLine.clear();
    m_lastBytes = 0;
    m_busy = true;
    const CURLcode result = m_curl->Run();
    m_busy = false;
    m_lastResult = result;
    if (m_dropped) {
        Drop();
        Fail(errorCancelled, "The connection was dropped.");
        return false;
    }
    if (result == CURLE_OK)
        return true;
    std::string text = m_curl->errorText[0] ? m_curl->errorText : m_curl->lib->easy_strerror(result);
    if (!m_lastReply.empty() && (m_lastReply[0] == '4' || m_lastReply[0] == '5'))
        text += " (" + m_lastReply + ")";
    Fail(ErrorCodeOf(result), text);
    return false;
}

void CFtp::Fail(int code, const std::string& text)
{
    m_nError = code;
    m_strError = text;
    Log("! " + text);
}

void CFtp::Log(const std::string& line)
{
    if (!m_log && !m_logFile)
        return;
    std::string text = line.compare(0, 7, "> PASS ") == 0 ? std::string("> PASS ") + kMask : line;
    for (const std::string* secret : {&m_password, &m_proxyPassword}) {
        if (secret->empty())
            continue;
        for (size_t at = text.find(*secret); at != std::string::npos; at = text.find(*secret, at + 8))
            text.replace(at, secret->size(), kMask);
    }
    if (m_logFile) {
        std::fputs((text + "\r\n").c_str(), m_logFile);
        // A line a call logs on failure goes out at once, with the conversation before it.
        if (text.compare(0, 2, "! ") == 0)
            std::fflush(m_logFile);
    }
    if (m_log)
        m_log(text);
}

bool CFtp::Begin(const std::string& name)
{
    m_nError = errorNone;
    if (m_dropped || !m_curl) {
        Fail(errorCancelled, "The connection was dropped.");
        return false;
    }
    if (name.empty() || !IsSafeText(name)) {
        Fail(errorBadName, "The remote name cannot be sent to the server.");
        return false;
    }
    return true;
}

long CFtp::Command(const std::string& command)
{
    // The command goes after a request that only enters the current folder; "*" keeps a refusal from closing the
    // connection, so the answer is read from the reply code.
    ResetRequest(UrlOf(m_strCwd, true));
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_NOBODY, 1L);
    m_curl->commands = m_curl->lib->slist_append(nullptr, ("*" + command).c_str());
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_POSTQUOTE, m_curl->commands);
    if (!Perform())
        return 0;
    long reply = 0;
    m_curl->lib->easy_getinfo(m_curl->easy, CURLINFO_RESPONSE_CODE, &reply);
    return reply;
}

bool CFtp::FolderExists(const std::string& path)
{
    ResetRequest(UrlOf(path, true));
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_NOBODY, 1L);
    return Perform();
}

bool CFtp::chdir(const std::string& name)
{
    if (!Begin(name))
        return false;
    const std::string path = Resolve(name);
    if (!FolderExists(path))
        return false;
    m_strCwd = path;
    return true;
}

bool CFtp::mkdir(const std::string& name)
{
    if (!Begin(name))
        return false;
    const std::string path = Resolve(name);
    const long reply = Command("MKD " + path);
    if (reply == 0)
        return false;
    if (reply < 400)
        return true;
    const std::string refusal = m_lastReply;
    // The publisher makes every folder it needs without asking first: one that is already there is a success.
    if (FolderExists(path))
        return true;
    if (m_nError == errorNotFound)
        Fail(errorRefused, "The folder could not be created (" + refusal + ")");
    return false;
}

bool CFtp::rmdir(const std::string& name)
{
    return RemoveEntry("RMD", name, "The folder could not be removed");
}

bool CFtp::remove(const std::string& name)
{
    return RemoveEntry("DELE", name, "The file could not be deleted");
}

bool CFtp::RemoveEntry(const char* verb, const std::string& name, const std::string& failure)
{
    if (!Begin(name))
        return false;
    const long reply = Command(std::string(verb) + " " + Resolve(name));
    if (reply >= 400) {
        const int code = reply == 550 ? errorNotFound : reply == 421 ? errorConnectionClosed : errorRefused;
        Fail(code, failure + " (" + m_lastReply + ")");
    }
    return reply != 0 && reply < 400;
}

bool CFtp::put(const std::string& localPath, const std::string& remoteName, bool)
{
    if (!Begin(remoteName))
        return false;
    LocalFile local;
    local.file = std::fopen(localPath.c_str(), "rb");
    if (!local.file || std::fseek(local.file, 0, SEEK_END) != 0) {
        Fail(errorLocalFile, "The file " + localPath + " cannot be read.");
        return false;
    }
    const long size = std::ftell(local.file);
    std::rewind(local.file);
    ResetRequest(UrlOf(Resolve(remoteName), false));
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_UPLOAD, 1L);
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_READDATA, local.file);
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    return Perform();
}

bool CFtp::get(const std::string& localPath, const std::string& remoteName, bool, long long maxBytes)
{
    if (!Begin(remoteName))
        return false;
    // Into a file of its own beside the target, so that a broken download never replaces what was there.
    std::string temporary = localPath + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    LocalFile local;
    local.file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (!local.file) {
        if (fd >= 0) {
            ::close(fd);
            ::unlink(temporary.c_str());
        }
        Fail(errorLocalFile, "The file " + localPath + " cannot be written.");
        return false;
    }
    ResetRequest(UrlOf(Resolve(remoteName), false));
    DownloadTarget target{local.file, maxBytes < 0 ? -1 : maxBytes};
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_WRITEFUNCTION, &WriteToFile);
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_WRITEDATA, &target);
    // A size the server announces is checked before any byte comes.
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_MAXFILESIZE_LARGE,
                             static_cast<curl_off_t>(maxBytes < 0 ? 0 : maxBytes));
    bool ok = Perform();
    if (!ok && (target.overflowed || m_lastResult == CURLE_FILESIZE_EXCEEDED))
        Fail(errorTooLarge, remoteName + " is larger than " + std::to_string(maxBytes) + " bytes.");
    const bool closed = std::fclose(local.file) == 0;
    local.file = nullptr;
    if (ok && (!closed || std::rename(temporary.c_str(), localPath.c_str()) != 0)) {
        Fail(errorLocalFile, "The file " + localPath + " cannot be written.");
        ok = false;
    }
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

bool CFtp::mdel_excludefiles(const std::vector<std::string>* keep)
{
    if (!Begin("."))
        return false;
    std::string listing;
    ResetRequest(UrlOf(m_strCwd, true));
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_DIRLISTONLY, 1L);
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_WRITEFUNCTION, &AppendToString);
    m_curl->lib->easy_setopt(m_curl->easy, CURLOPT_WRITEDATA, &listing);
    if (!Perform())
        return false;
    bool all = true;
    int failure = errorNone;
    size_t start = 0;
    while (start < listing.size()) {
        size_t end = listing.find('\n', start);
        if (end == std::string::npos)
            end = listing.size();
        std::string name = listing.substr(start, end - start);
        start = end + 1;
        if (!name.empty() && name.back() == '\r')
            name.pop_back();
        // Some servers list an entry by its path; the folder itself and its parent are never deleted.
        name = name.substr(name.rfind('/') + 1);
        if (name.empty() || name == "." || name == "..")
            continue;
        if (keep && std::find(keep->begin(), keep->end(), name) != keep->end())
            continue;
        if (!remove(name)) {
            all = false;
            // A name the server cannot take, or a file gone meanwhile, does not stop the rest; a lost connection does.
            if (m_nError == errorConnectionClosed || m_nError == errorTimedOut || m_nError == errorNetwork ||
                m_nError == errorCancelled)
                return false;
            failure = m_nError;
        }
    }
    m_nError = all ? errorNone : failure;
    return all;
}

bool CFtp::InitLogFile(const std::string& folder)
{
    DestroyLogFile();
    m_logFile = std::fopen(JoinPath(folder, "FTP.log").c_str(), "wb");
    if (!m_logFile)
        return false;
    // A line a command is a few dozen bytes; stdio's own buffer would still write the log a page at a time.
    constexpr size_t kLogBuffer = 64 * 1024;
    if (!m_logBuffer)
        m_logBuffer = std::make_unique_for_overwrite<char[]>(kLogBuffer);
    std::setvbuf(m_logFile, m_logBuffer.get(), _IOFBF, kLogBuffer);
    return true;
}

void CFtp::DestroyLogFile()
{
    if (m_logFile)
        std::fclose(m_logFile);
    m_logFile = nullptr;
}

void CFtp::DisconnectOnly()
{
    if (m_dropped || !m_curl)
        return;
    m_dropped = true;
    Log("! The connection was dropped.");
    // Shutting the sockets down makes a running call fail at once, and spares the goodbye on cleanup, which a
    // server that stopped answering would otherwise make wait.
    for (curl_socket_t socket : m_curl->sockets)
        ::shutdown(socket, SHUT_RDWR);
    if (!m_busy)
        Drop();
}

void CFtp::Drop()
{
    m_curl.reset();
}
