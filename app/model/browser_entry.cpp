#include "app/model/browser_entry.h"

#include <unistd.h>

#include <filesystem>

#include "app/model/file_version_info.h"
#include "platform/win/program_launch.h"

namespace {

constexpr const char* kDesktopEntryExtension = ".desktop";

bool IsDesktopEntryPath(const std::string& path)
{
    return std::filesystem::path(path).extension() == kDesktopEntryExtension;
}

// Splits a command line as desktop entries write it: blanks part the arguments, double quotes hold blanks, and a
// backslash inside quotes takes the next character as it is.
std::vector<std::string> SplitExec(const std::string& exec)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"')
                quoted = false;
            else if (c == '\\' && i + 1 < exec.size())
                current += exec[++i];
            else
                current += c;
        } else if (c == '"') {
            quoted = inArgument = true;
        } else if (c == ' ' || c == '\t') {
            if (inArgument)
                arguments.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(current);
    return arguments;
}

bool IsFileOrAddressField(char code)
{
    return code == 'f' || code == 'F' || code == 'u' || code == 'U';
}

} // namespace

std::string GetLongPath(const std::string& path)
{
    std::error_code error;
    const std::filesystem::path full = std::filesystem::canonical(path, error);
    return error ? path : full.string();
}

bool CBrowserEntry::SetFromFile(const std::string& path)
{
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error))
        return false;
    if (IsDesktopEntryPath(path)) {
        CFileVersionInfo info;
        if (!info.Load(path))
            return false;
        std::vector<std::string> exec = SplitExec(info.GetCommandLine());
        if (exec.empty())
            return false;
        m_strPath = GetLongPath(path);
        // A desktop entry's Version key is that of the entry's format, not the browser's: the name stands alone.
        m_description = info.GetString(CFileVersionInfo::fileDescription);
        m_version.clear();
        m_exec = std::move(exec);
        return true;
    }
    if (access(path.c_str(), X_OK) != 0)
        return false;
    m_strPath = GetLongPath(path);
    m_description = std::filesystem::path(m_strPath).filename().string();
    m_version.clear();
    m_exec.clear();
    return true;
}

bool CBrowserEntry::IsSamePath(const std::string& path) const
{
    return !m_strPath.empty() && GetLongPath(path) == m_strPath;
}

std::string CBrowserEntry::GetLabel() const
{
    if (m_version.empty() || m_description.empty())
        return m_description + m_version;
    return m_description + " " + m_version;
}

std::vector<std::string> CBrowserEntry::GetCommand(const std::string& address) const
{
    if (m_strPath.empty())
        return {};
    if (m_exec.empty())
        return {m_strPath, address};
    std::vector<std::string> command;
    bool placed = false;
    for (const std::string& argument : m_exec) {
        // A field alone is the address as one argument; fields inside an argument are replaced in its text.
        if (argument.size() == 2 && argument[0] == '%' && IsFileOrAddressField(argument[1])) {
            if (!placed)
                command.push_back(address);
            placed = true;
            continue;
        }
        std::string text;
        bool dropped = false;
        for (size_t i = 0; i < argument.size(); ++i) {
            if (argument[i] != '%' || i + 1 == argument.size()) {
                text += argument[i];
                continue;
            }
            const char code = argument[++i];
            if (code == '%') {
                text += '%';
            } else if (IsFileOrAddressField(code) && !placed) {
                text += address;
                placed = true;
            } else {
                dropped = true; // the icon, name and location fields mean nothing here
            }
        }
        if (!text.empty() || !dropped)
            command.push_back(text);
    }
    if (!placed)
        command.push_back(address);
    return command;
}

int CheckNewBrowser(const std::string& path, const std::vector<std::string>& browsers)
{
    CBrowserEntry entry;
    if (!entry.SetFromFile(path))
        return 7001;
    for (const std::string& known : browsers)
        if (entry.IsSamePath(known) || GetLongPath(known) == entry.GetPath())
            return 7002;
    return 0;
}

int RemoveBrowsers(std::vector<std::string>& browsers, const std::vector<bool>& selected, int choice)
{
    for (size_t i = std::min(browsers.size(), selected.size()); i-- > 0;) {
        if (!selected[i])
            continue;
        const int number = static_cast<int>(i) + 1;
        if (choice == number)
            choice = -1;
        else if (choice > number)
            --choice;
        browsers.erase(browsers.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return choice;
}

int UsablePreviewChoice(int choice, size_t browserCount)
{
    if (choice < -1 || (choice > 0 && static_cast<size_t>(choice) > browserCount))
        return -1;
    return choice;
}

PreviewStart StartPreviewBrowser(int choice, const std::vector<std::string>& browsers, const std::string& address)
{
    choice = UsablePreviewChoice(choice, browsers.size());
    if (choice < 0)
        return PreviewStart::builtIn;
    if (choice == 0)
        return OpenWithDefaultHandler(address) ? PreviewStart::started : PreviewStart::failed;
    CBrowserEntry entry;
    if (!entry.SetFromFile(browsers[static_cast<size_t>(choice) - 1]))
        return PreviewStart::failed;
    return StartProgram(entry.GetCommand(address)) ? PreviewStart::started : PreviewStart::failed;
}
