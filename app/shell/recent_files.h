#pragma once

// The last site files opened, newest first (at most four; theme files never enter it), as the store keeps them
// and as the File menu shows them above Exit.

#include <string>
#include <vector>
#include <wx/filehistory.h>

class CKeyStore;
class wxMenuBar;
class wxMenuItem;

inline constexpr const char* kRecentFilesSection = "Recent File List";

class CRecentFiles
{
public:
    void Load(CKeyStore& store);
    void Save(CKeyStore& store) const;

    // Adds the file as the newest and shows the list again in the menus given by ShowIn.
    void Add(const std::string& path);
    // Takes the file at position out of the list, as when it went away.
    void Remove(size_t position);
    std::vector<std::string> Get() const;
    // The file at position; empty when there is none.
    std::string At(size_t position) const;

    // The File menu of menus shows the list from now on.
    void ShowIn(wxMenuBar* menus);

private:
    void Show();

    wxFileHistory m_history{4};
    wxMenuBar* m_menus = nullptr;
    wxMenuItem* m_separator = nullptr;
};
