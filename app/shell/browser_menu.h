#pragma once

// The Settings menu's browser submenu (the built-in preview, the desktop's browser, the browsers the user added
// and the commands that add and remove them) and the companion-tool launcher of the Tools menu and tools bar.

#include <string>
#include <vector>

#include "app/shell/command_ids.h"

class CCommandTable;
class COpenSite;
class wxWindow;

enum BrowserCommand
{
    ID_USE_BUILT_IN_BROWSER = WxCommandId(32877),
    ID_USE_STANDARD_BROWSER = WxCommandId(32878),
    ID_ADD_BROWSER = WxCommandId(32909),
    ID_REMOVE_BROWSER = WxCommandId(32910),
    // The first browser of the list; browser n has ID_FIRST_BROWSER + n - 1.
    ID_FIRST_BROWSER = WxCommandId(32911),
    ID_LAST_BROWSER = WxCommandId(32942),
    // The companion tools 12 to 17 of the Tools menu (32830 and 32831 name no tool).
    ID_FIRST_COMPANION_TOOL = WxCommandId(32830),
    ID_LAST_COMPANION_TOOL = WxCommandId(32837),
};

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
void AddBrowserCommands(CCommandTable& table, COpenSite& site);
