#pragma once

// The web browsers the library knows: how each kind is found on the machine, started with an address and reached
// while it runs over the conversation bus; and the manager that picks the browser for every request.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kitefly {

enum BrowserKind : int
{
    kInternetExplorer = 0,
    kNetscape = 1,
    kOpera = 2,
    kBrowserKinds = 3,
};

constexpr std::size_t kPathSize = 260;   // a program path and its fixed argument, with the NUL
constexpr std::size_t kTextSize = 255;   // the templates, names and items, with the NUL
constexpr std::size_t kMaxAddress = 255; // the longest address handed to a browser
constexpr std::size_t kWindowText = 256; // an address or title read from a browser, with the NUL
constexpr std::uint32_t kLastActiveWindow = 0xFFFFFFFF;

// The window ids of a browser, in a block of the library's memory manager.
class CWindowList
{
public:
    // The ids before the first 0, reading at most `limit` of them.
    CWindowList(const std::uint32_t* ids, std::size_t limit);
    ~CWindowList();
    CWindowList(const CWindowList&) = delete;
    CWindowList& operator=(const CWindowList&) = delete;

    int GetCount() const { return m_nCount; }
    std::uint32_t GetAt(int index) const { return m_pIds[index]; }

private:
    int m_nCount = 0;
    std::uint32_t* m_pIds = nullptr;
};

class CBrowser
{
public:
    CBrowser();
    virtual ~CBrowser() = default;

    virtual int Detect();
    int IsInstalled();
    virtual int PrepareURL(std::string& address);
    int IsRunning();
    virtual int OpenURL(const char* address, bool bit0, bool bit1);
    int Launch(const char* address);
    virtual std::unique_ptr<CWindowList> ListWindows();
    int GetWindowInfo(std::uint32_t window, std::string* address, std::string* title);
    int Activate(std::uint32_t window);

    char Path[kPathSize];
    int UseDDE;
    char DDEMsg[kTextSize];
    char AppName[kTextSize];
    char Topic[kTextSize];

protected:
    void SetConstants(const char* message, const char* appName, const char* topic);
    // Whether the reply to the window list may begin with a count of the ids that follow.
    virtual bool ListMayBeCounted() const { return true; }
};

class CIExploreBrowser : public CBrowser
{
public:
    CIExploreBrowser();
    int Detect() override;
    int OpenURL(const char* address, bool bit0, bool bit1) override;
};

class CNetscapeBrowser : public CBrowser
{
public:
    CNetscapeBrowser();
    int Detect() override;

protected:
    bool ListMayBeCounted() const override { return false; }
};

class COperaBrowser : public CBrowser
{
public:
    COperaBrowser();
    int Detect() override;
};

std::unique_ptr<CBrowser> CreateBrowser(int kind);
// The path detection finds for the kind (with any fixed argument), or an empty text.
std::string GetBrowserPath(int kind);

class CBrowserManager
{
public:
    // Detects the three kinds and reads the preferred one from the settings file.
    CBrowserManager();
    ~CBrowserManager();
    CBrowserManager(const CBrowserManager&) = delete;
    CBrowserManager& operator=(const CBrowserManager&) = delete;

    // A running browser first (the one in use, then by kind), else the preferred kind; null when there is none.
    CBrowser* GetBrowser();
    int GetPreferred() const { return m_preferred; }
    void SetPreferred(int kind);
    int IsInstalled(int kind) const;
    void SetBrowserPath(int kind, const char* path);

private:
    std::unique_ptr<CBrowser> m_browser;
    int m_fInstalled[kBrowserKinds] = {0, 0, 0};
    int m_preferred = -1;
};

// The library's one manager, built when the library is loaded.
CBrowserManager& TheBrowserManager();

namespace detail {
// The item of the open-address request: the template with %1 the address, %2 bit 0 and %3 bit 1; nothing when it
// would not fit the item buffer.
std::optional<std::string> FillTemplate(const char* message, const std::string& address, bool bit0, bool bit1);
// The window ids of a list reply (4-byte words), in list order.
std::vector<std::uint32_t> ParseWindowIds(const std::string& reply, bool mayBeCounted);
// Reads a double-quoted string at `pos` (a backslash makes the next character literal; at most 255 characters are
// kept) and moves `pos` past it; false when there was no string or it was not closed.
bool ReadQuotedString(const char*& pos, const char* end, std::string& target);
// The argument vector of a stored command, without the switches that only the desktop platform's browsers take:
// the program alone when the command names an existing file, else blank-separated words, double quotes grouping.
std::vector<std::string> SplitCommand(const std::string& command);
// Starts the program of argv[0] (searched in PATH) without waiting for it; false when it could not be started.
bool StartProgram(const std::vector<std::string>& argv);
// Builds the library's manager again, as loading the library does.
void ReloadBrowserManager();
} // namespace detail

} // namespace kitefly
