#include "browser/browser.h"

#include "browser/easydde.h"
#include "browser/memory.h"
#include "browser/profile.h"
#include "browser/report.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace kitefly {

namespace {

constexpr const char* kFile = "browser";
constexpr const char* kSettingsFile = "Kitefly.ini";
constexpr const char* kSection = "Browser";
constexpr const char* kKindKeys[kBrowserKinds] = {"IExplore", "Netscape", "Opera"};
constexpr const char* kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
constexpr const char* kHtmlCommand = "htmlfile\\shell\\open\\command";

// Copies the whole text or nothing: a text that does not fit leaves the buffer empty and answers false.
bool CopyBounded(char* target, std::size_t size, const std::string& text)
{
    if (text.size() >= size) {
        target[0] = '\0';
        return false;
    }
    std::memcpy(target, text.c_str(), text.size() + 1);
    return true;
}

bool AppendBounded(char* target, std::size_t size, const std::string& text)
{
    const std::size_t length = std::strlen(target);
    if (length + text.size() >= size)
        return false;
    std::memcpy(target + length, text.c_str(), text.size() + 1);
    return true;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The settings file as the call under way read it; null outside such a call.
thread_local const ProfileSection* g_pSettings = nullptr;

// Reads the settings file once for a call that looks up several of its keys (the manager detects all three kinds
// and reads the choice): a file of many lines is read once, not once a key.
class SettingsRead
{
public:
    SettingsRead() : m_settings(kSection, kSettingsFile), m_pOuter(g_pSettings) { g_pSettings = &m_settings; }
    ~SettingsRead() { g_pSettings = m_pOuter; }
    SettingsRead(const SettingsRead&) = delete;
    SettingsRead& operator=(const SettingsRead&) = delete;

    const ProfileSection& Settings() const { return m_settings; }

private:
    ProfileSection m_settings;
    const ProfileSection* m_pOuter;
};

std::string Setting(const char* key)
{
    if (g_pSettings)
        return g_pSettings->GetString(key, "", kProfileTextLimit);
    return GetPrivateProfileString(kSection, key, "", kProfileTextLimit, kSettingsFile);
}

// The registry value as the path; found when it names an existing file.
bool RegistryPath(RegistryRoot root, const std::string& key, const std::string& name, char* path)
{
    const std::optional<std::string> value = ReadRegistryValue(root, key, name);
    if (!value || !CopyBounded(path, kPathSize, *value))
        return false;
    return FileExists(path);
}

std::string WithSeparator(std::string folder)
{
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    return folder;
}

// Reads a window-id reply's 4-byte words.
std::vector<std::uint32_t> Words(const std::string& reply)
{
    std::vector<std::uint32_t> words(reply.size() / 4);
    if (!words.empty())
        std::memcpy(words.data(), reply.data(), words.size() * 4);
    return words;
}

std::string Decimal(std::uint32_t value, const char* suffix = "")
{
    char text[32];
    std::snprintf(text, sizeof text, "%lu%s", static_cast<unsigned long>(value), suffix);
    return text;
}

} // namespace

namespace detail {

std::optional<std::string> FillTemplate(const char* message, const std::string& address, bool bit0, bool bit1)
{
    std::string item;
    for (const char* p = message; *p; ++p) {
        if (*p != '%') {
            item += *p;
            continue;
        }
        switch (p[1]) {
        case '1':
            item += address;
            ++p;
            break;
        case '2':
            item += bit0 ? "1" : "0";
            ++p;
            break;
        case '3':
            item += bit1 ? "0" : "-1";
            ++p;
            break;
        default:
            KF_ASSERT(false, "FALSE", kFile);
            item += '%';
            break;
        }
    }
    if (item.size() >= kTextSize)
        return std::nullopt;
    return item;
}

std::vector<std::uint32_t> ParseWindowIds(const std::string& reply, bool mayBeCounted)
{
    std::vector<std::uint32_t> words = Words(reply);
    const std::size_t n = words.size();
    std::size_t first = 0;
    if (mayBeCounted && n > 1 && n == std::size_t{words[0]} + 1 && words[n - 1] != 0)
        first = 1;
    std::vector<std::uint32_t> ids;
    for (std::size_t i = first; i < n && words[i] != 0; ++i)
        ids.push_back(words[i]);
    return ids;
}

bool ReadQuotedString(const char*& pos, const char* end, std::string& target)
{
    target.clear();
    const char* p = pos;
    while (p < end && *p != '"')
        ++p;
    if (p == end) {
        pos = end;
        return false;
    }
    ++p;
    while (p < end && *p != '"') {
        if (*p == '\\' && ++p == end)
            break;
        if (target.size() < kWindowText - 1)
            target += *p;
        ++p;
    }
    const bool closed = p < end;
    pos = closed ? p + 1 : p;
    return closed;
}

std::vector<std::string> SplitCommand(const std::string& stored)
{
    std::string command = stored;
    for (const std::string suffix : {" -nohome", " /nowin"})
        if (command.size() > suffix.size() && command.ends_with(suffix))
            command.resize(command.size() - suffix.size());
    // A program path with blanks in it names the program alone.
    if (FileExists(command))
        return {command};
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (char c : command) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    std::erase_if(words, [](const std::string& w) { return w == "-nohome" || w == "/nowin"; });
    return words;
}

bool StartProgram(const std::vector<std::string>& argv)
{
    if (argv.empty() || argv[0].empty())
        return false;
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // A child of our own starts the program and leaves at once, so the program never becomes our zombie.
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        pid_t program;
        const int error = ::posix_spawnp(&program, args[0], nullptr, nullptr, args.data(), environ);
        ::_exit(error == 0 ? 0 : 127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace detail

CWindowList::CWindowList(const std::uint32_t* ids, std::size_t limit)
{
    int count = 0;
    while (ids && static_cast<std::size_t>(count) < limit && ids[count] != 0)
        ++count;
    if (count == 0)
        return;
    void* block = nullptr;
    if (!MemAlloc(static_cast<std::size_t>(count) * sizeof(std::uint32_t), &block))
        return;
    m_pIds = static_cast<std::uint32_t*>(block);
    std::memcpy(m_pIds, ids, static_cast<std::size_t>(count) * sizeof(std::uint32_t));
    m_nCount = count;
}

CWindowList::~CWindowList()
{
    if (m_pIds) {
        void* block = m_pIds;
        MemFree(&block);
    }
}

CBrowser::CBrowser() : Path{}, UseDDE(0), DDEMsg{}, AppName{}, Topic{} {}

void CBrowser::SetConstants(const char* message, const char* appName, const char* topic)
{
    UseDDE = 1;
    CopyBounded(DDEMsg, sizeof DDEMsg, message);
    CopyBounded(AppName, sizeof AppName, appName);
    CopyBounded(Topic, sizeof Topic, topic);
}

int CBrowser::Detect()
{
    return 0;
}

int CBrowser::IsInstalled()
{
    return FileExists(Path) ? 1 : 0;
}

int CBrowser::PrepareURL(std::string& /*address*/)
{
    return 1;
}

int CBrowser::IsRunning()
{
    HCONV conversation = DdeClientOpen(AppName, "WWW_GetWindowInfo", false);
    if (!conversation)
        return 0;
    DdeClientClose(conversation);
    return 1;
}

int CBrowser::Launch(const char* address)
{
    if (!address || std::strlen(address) > kMaxAddress)
        return 0;
    std::string url = address;
    PrepareURL(url);
    std::vector<std::string> argv = detail::SplitCommand(Path);
    if (argv.empty())
        return 0;
    argv.push_back(url);
    return detail::StartProgram(argv) ? 1 : 0;
}

int CBrowser::OpenURL(const char* address, bool bit0, bool bit1)
{
    if (!address || std::strlen(address) > kMaxAddress)
        return 0;
    if (!UseDDE)
        return Launch(address);
    HCONV conversation = DdeClientOpen(AppName, Topic, false);
    if (!conversation)
        return Launch(address);
    std::string url = address;
    PrepareURL(url);
    const std::optional<std::string> item = detail::FillTemplate(DDEMsg, url, bit0, bit1);
    if (!item) {
        DdeClientClose(conversation);
        return 0;
    }
    const bool answered = DdeClientRequest(conversation, item->c_str(), CF_TEXT).has_value();
    DdeClientClose(conversation);
    // A browser that did not take the address gets it on its command line instead.
    return answered ? 1 : Launch(address);
}

std::unique_ptr<CWindowList> CBrowser::ListWindows()
{
    std::optional<std::string> reply;
    if (HCONV conversation = DdeClientOpen(AppName, "WWW_ListWindows", true)) {
        reply = DdeClientRequest(conversation, "WWW_ListWindows", CF_TEXT);
        DdeClientClose(conversation);
    }
    const std::vector<std::uint32_t> ids = detail::ParseWindowIds(reply.value_or(""), ListMayBeCounted());
    return std::make_unique<CWindowList>(ids.data(), ids.size());
}

int CBrowser::GetWindowInfo(std::uint32_t window, std::string* address, std::string* title)
{
    if (!address || !title)
        return 0;
    HCONV conversation = DdeClientOpen(AppName, "WWW_GetWindowInfo", true);
    if (!conversation)
        return 0;
    int result = 0;
    if (std::optional<std::string> reply = DdeClientRequest(conversation, Decimal(window).c_str(), CF_TEXT)) {
        const char* pos = reply->c_str();
        const char* end = pos + std::strlen(pos);
        detail::ReadQuotedString(pos, end, *address);
        while (pos < end && *pos != ',')
            ++pos;
        if (pos < end)
            ++pos;
        detail::ReadQuotedString(pos, end, *title);
        result = 1;
    }
    DdeClientClose(conversation);
    return result;
}

int CBrowser::Activate(std::uint32_t window)
{
    if (HCONV conversation = DdeClientOpen(AppName, "WWW_Activate", false)) {
        DdeClientRequest(conversation, Decimal(window, ",0").c_str(), CF_TEXT);
        DdeClientClose(conversation);
        return 1;
    }
    return detail::StartProgram(detail::SplitCommand(Path)) ? 1 : 0;
}

CIExploreBrowser::CIExploreBrowser()
{
    SetConstants("\"%1\",,%3,%2,,,,", "IExplore", "WWW_OpenURL");
}

int CIExploreBrowser::Detect()
{
    const std::string setting = Setting("IExplore");
    if (!setting.empty() && CopyBounded(Path, sizeof Path, setting) && FileExists(Path))
        return 1;
    if (RegistryPath(RegistryRoot::LocalMachine, std::string(kAppPaths) + "IExplore.exe", "", Path))
        return AppendBounded(Path, sizeof Path, " -nohome") ? 1 : 0;
    Path[0] = '\0';
    if (const auto command = ReadRegistryValue(RegistryRoot::ClassesRoot, kHtmlCommand, "")) {
        if (CopyBounded(Path, sizeof Path, *command) && Lower(Path).find("iexplore.exe") != std::string::npos)
            return 1;
    }
    CopyBounded(Path, sizeof Path, "c:\\IExplore\\IExplore.exe");
    bool found = FileExists(Path);
    if (!found) {
        if (const auto command = ReadRegistryValue(RegistryRoot::ClassesRoot, kHtmlCommand, "")) {
            CopyBounded(Path, sizeof Path, command->substr(0, command->find(' ')));
            found = FileExists(Path);
        }
    }
    if (!AppendBounded(Path, sizeof Path, " -nohome"))
        return 0;
    return found ? 1 : 0;
}

int CIExploreBrowser::OpenURL(const char* address, bool bit0, bool bit1)
{
    if (bit1)
        return Launch(address);
    return CBrowser::OpenURL(address, bit0, bit1);
}

CNetscapeBrowser::CNetscapeBrowser()
{
    SetConstants("\"%1\",,%3,%2", "Netscape", "WWW_OpenURL");
}

int CNetscapeBrowser::Detect()
{
    bool found = false;
    const std::string setting = Setting("Netscape");
    if (!setting.empty())
        found = CopyBounded(Path, sizeof Path, setting) && FileExists(Path);
    if (!found)
        found = RegistryPath(RegistryRoot::LocalMachine, std::string(kAppPaths) + "Netscape.exe", "", Path);
    if (!found) {
        if (const auto folder = ReadRegistryValue(RegistryRoot::CurrentUser,
                                                  "Software\\Netscape\\Netscape Navigator\\Main", "Install Directory"))
            found = CopyBounded(Path, sizeof Path, WithSeparator(*folder) + "program/netscape.exe") && FileExists(Path);
    }
    if (!found) {
        const std::string ini = GetProfileString("Netscape", "ini", "", kProfileTextLimit);
        if (!ini.empty()) {
            const std::string cache = GetPrivateProfileString("Cache", "Cache Dir", "", kProfileTextLimit, ini);
            if (!cache.empty()) {
                std::error_code error;
                const std::filesystem::path full =
                    std::filesystem::absolute(WithSeparator(cache) + "../netscape.exe", error).lexically_normal();
                found = !error && CopyBounded(Path, sizeof Path, full.string()) && FileExists(Path);
            }
        }
    }
    return found ? 1 : 0;
}

COperaBrowser::COperaBrowser()
{
    SetConstants("\"%1\",,%3,%2,,,,", "IExplore", "WWW_OpenURL");
}

int COperaBrowser::Detect()
{
    const std::string setting = Setting("Opera");
    if (!setting.empty() && FileExists(setting) && CopyBounded(Path, sizeof Path, setting))
        return 1;
    for (const auto& [section, key] : {std::pair{"USER PREFS", "OPERA DIRECTORY"}, std::pair{"INSTALL", "MAINDIR"}}) {
        const std::string folder = GetPrivateProfileString(section, key, "", kProfileTextLimit, "opera.ini");
        if (folder.empty())
            continue;
        if (!CopyBounded(Path, sizeof Path, WithSeparator(folder) + "opera.exe"))
            return 0;
        const bool found = FileExists(Path);
        if (!AppendBounded(Path, sizeof Path, " /nowin"))
            return 0;
        if (found)
            return 1;
    }
    return 0;
}

std::unique_ptr<CBrowser> CreateBrowser(int kind)
{
    switch (kind) {
    case kInternetExplorer:
        return std::make_unique<CIExploreBrowser>();
    case kNetscape:
        return std::make_unique<CNetscapeBrowser>();
    case kOpera:
        return std::make_unique<COperaBrowser>();
    default:
        KF_ASSERT(false, "FALSE", kFile);
        return nullptr;
    }
}

std::string GetBrowserPath(int kind)
{
    std::unique_ptr<CBrowser> browser = CreateBrowser(kind);
    if (!browser || !browser->Detect())
        return {};
    return browser->Path;
}

CBrowserManager::CBrowserManager()
{
    const SettingsRead read;
    int first = -1;
    for (int kind = 0; kind < kBrowserKinds; ++kind) {
        m_fInstalled[kind] = CreateBrowser(kind)->Detect();
        if (m_fInstalled[kind] && first < 0)
            first = kind;
    }
    m_preferred = read.Settings().GetInt("Preferred", 0);
    if (m_preferred < 0 || m_preferred >= kBrowserKinds || !m_fInstalled[m_preferred])
        m_preferred = first;
}

CBrowserManager::~CBrowserManager() = default;

CBrowser* CBrowserManager::GetBrowser()
{
    if (m_browser && m_browser->IsRunning())
        return m_browser.get();
    m_browser.reset();
    for (int kind = 0; kind < kBrowserKinds; ++kind) {
        std::unique_ptr<CBrowser> browser = CreateBrowser(kind);
        if (browser->IsRunning()) {
            // Its program path lets a new window, or a browser that stops answering, be started.
            browser->Detect();
            m_browser = std::move(browser);
            return m_browser.get();
        }
    }
    if (m_preferred < 0)
        return nullptr;
    m_browser = CreateBrowser(m_preferred);
    const int fInstalled = m_browser->Detect();
    KF_ASSERT(fInstalled, "fInstalled", kFile);
    return m_browser.get();
}

void CBrowserManager::SetPreferred(int kind)
{
    WritePrivateProfileInt(kSection, "Preferred", kind, kSettingsFile);
    m_preferred = kind;
}

int CBrowserManager::IsInstalled(int kind) const
{
    if (kind < 0 || kind >= kBrowserKinds) {
        KF_ASSERT(false, "FALSE", kFile);
        return 0;
    }
    return m_fInstalled[kind];
}

void CBrowserManager::SetBrowserPath(int kind, const char* path)
{
    if (kind >= 0 && kind < kBrowserKinds)
        WritePrivateProfileString(kSection, kKindKeys[kind], path ? path : "", kSettingsFile);
    const SettingsRead read;
    for (int k = 0; k < kBrowserKinds; ++k)
        m_fInstalled[k] = CreateBrowser(k)->Detect();
}

} // namespace kitefly
