#pragma once

// What the shell's owners and commands ask of the main window beyond being the window their dialogs stand over:
// its title, its palettes and its tools bar. The main frame answers.

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

protected:
    ~CShellWindow() = default;
};
