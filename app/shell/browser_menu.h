#pragma once

// The Settings menu's browser submenu (the built-in preview, the desktop's browser, the browsers the user added
// and the commands that add and remove them) and the companion-tool launcher of the Tools menu and tools bar.

#include <string>
#include <vector>

#include "app/shell/command_ids.h"

class CCommandTable;
class CRunState;
class wxWindow;

// The chooser of Add New Browser: asks for files until one may join the browser list (telling why each
// other may not) or the user cancels.
class CExeFileDialog
{
public:
    explicit CExeFileDialog(const std::vector<std::string>& browsers) : m_browsers(browsers) {}
    // True, with the path set, when a file was chosen.
    bool DoModal();
    const std::string& GetPath() const { return m_strPath; }

private:
    const std::vector<std::string>& m_browsers;
    std::string m_strPath;
};

// The title of the file chooser of Add New Browser.
std::string AddBrowserChooserTitle();

// Starts companion tool k (12 to 17); as none is installed here, offers its download page. Other numbers do
// nothing.
void LaunchCompanionTool(int tool);

// The tools bar's companion tools reach the launcher through the window's events.
void BindCompanionToolEvents(wxWindow& window);

// Adds the browser submenu's and the companion tools' commands to the table.
void AddBrowserCommands(CCommandTable& table, CRunState& run);
