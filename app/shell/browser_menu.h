#pragma once

// The Settings menu's browser submenu (the built-in preview, the desktop's browser, the browsers the user added
// and the commands that add and remove them) and the companion-tool launcher of the Tools menu and tools bar.

#include <string>

#include "app/shell/command_ids.h"

class CMainFrame;
class wxUpdateUIEvent;

// The chooser of Add New Browser: asks for files until one may join the frame's browser list (telling why each
// other may not) or the user cancels.
class CExeFileDialog
{
public:
    explicit CExeFileDialog(CMainFrame& frame) : m_frame(frame) {}
    // True, with the path set, when a file was chosen.
    bool DoModal();
    const std::string& GetPath() const { return m_strPath; }

private:
    CMainFrame& m_frame;
    std::string m_strPath;
};

// Starts companion tool k (12 to 17); as none is installed here, offers its download page. Other numbers do
// nothing.
void LaunchCompanionTool(int tool);

bool HandleBrowserCommand(CMainFrame& frame, int id);
bool UpdateBrowserCommand(CMainFrame& frame, wxUpdateUIEvent& event);
