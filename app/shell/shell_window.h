#pragma once

// What the shell's owners and commands ask of the main window beyond being the window their dialogs stand over:
// its title, its palettes, its tools bar and its file dialog for sites. The main frame answers.

#include <string>

#include "platform/win/win_types.h"

class CToolsBar;

class CShellWindow
{
public:
    // The window's title names the open site; the page windows' titles their pages.
    virtual void UpdateTitle() = 0;
    // Passes a refresh code to the page of the current palette.
    virtual void NotifyInspector(UINT code) = 0;
    virtual CToolsBar* GetToolsBar() const = 0;
    // The file dialog for site or theme files (opening or saving) over the window, starting at path; true for OK
    // with the chosen path.
    virtual bool PromptSiteFile(std::string& path, bool open, bool theme) = 0;

protected:
    ~CShellWindow() = default;
};
