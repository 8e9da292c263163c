#pragma once

// The external browsers the user previews pages in: each is a program file or a desktop entry, kept in the main
// window's list by its path. A desktop entry gives the browser its name (its Name key) and the command that starts
// it (its Exec key); a plain program is named by its file. Nothing is run to learn either. The list's rules live
// here: which files may join it, and how the preview choice follows it when browsers are removed.

#include <string>
#include <vector>

class CBrowserEntry
{
public:
    // Takes the browser from a program file or desktop entry; false, with nothing changed, when the file is neither
    // (a desktop entry needs a Name and an Exec key, a program the right to be run).
    bool SetFromFile(const std::string& path);
    // The path in its full form (links resolved) equals the stored one.
    bool IsSamePath(const std::string& path) const;
    // The name and version as menus and lists show it; either may be missing.
    std::string GetLabel() const;
    const std::string& GetPath() const { return m_strPath; }
    const std::string& GetDescription() const { return m_description; }
    const std::string& GetVersion() const { return m_version; }
    // The program and its arguments that open the address in this browser: the program file with the address
    // after it, or the desktop entry's command with the address in place of its file or address field (after it
    // when it has none). The address stays one argument whatever it holds.
    std::vector<std::string> GetCommand(const std::string& address) const;

private:
    std::string m_strPath;
    std::string m_description;
    std::string m_version;
    // The desktop entry's command, split into arguments; empty for a program file.
    std::vector<std::string> m_exec;
};

// The full form of a path: absolute, with links resolved; the path itself when it cannot be resolved.
std::string GetLongPath(const std::string& path);

// Why a chosen file cannot join the browser list: 0 when it can, 7001 when it is no program or desktop entry,
// 7002 when the list holds it already.
int CheckNewBrowser(const std::string& path, const std::vector<std::string>& browsers);

// Removes the selected browsers (one flag per browser) and answers the preview choice that follows: the built-in
// preview (-1) when the chosen browser went, one less for every removed browser before it, else unchanged.
int RemoveBrowsers(std::vector<std::string>& browsers, const std::vector<bool>& selected, int choice);

// The preview choice as it can be used with this many browsers: -1 the built-in preview, 0 the desktop's browser,
// n the n-th browser; a choice naming no browser falls back to the built-in preview.
int UsablePreviewChoice(int choice, size_t browserCount);

enum class PreviewStart
{
    builtIn, // the caller shows the built-in preview
    started,
    failed,
};
// Opens the address with the chosen preview browser (the desktop's browser for 0). The caller shows the built-in
// preview itself.
PreviewStart StartPreviewBrowser(int choice, const std::vector<std::string>& browsers, const std::string& address);
