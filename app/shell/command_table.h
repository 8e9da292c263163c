#pragma once

// The commands of the main window's menus, its toolbar and the view's context menu as one table: for each command
// number, or a run of numbers, what it does and how its item looks. Each part of the shell adds its commands over
// the owners they act on; the main frame's command and update handlers look the number up.

#include <functional>
#include <vector>

class COpenSite;
class CPageWindows;
class CRunState;
class CShellWindow;
class wxMDIParentFrame;
class wxUpdateUIEvent;

// What the commands act on: the main window (the parent of their dialogs, and where work waits for the event
// loop), what they ask of it, what the run keeps (the settings, the browsers, the changed pages), the open site and
// the page windows.
struct CShellContext
{
    wxMDIParentFrame& window;
    CShellWindow& shell;
    CRunState& run;
    COpenSite& site;
    CPageWindows& pages;
};

class CCommandTable
{
public:
    using RunFunction = std::function<void(int id)>;
    using UpdateFunction = std::function<void(wxUpdateUIEvent& event)>;

    // The command id, or the commands first to last, do run and look as update says. A number already in the
    // table keeps what was added for it first.
    void Add(int id, RunFunction run, UpdateFunction update);
    void Add(int first, int last, RunFunction run, UpdateFunction update);

    // Carries out the command; false when the table does not know it.
    bool Run(int id) const;
    // Enables the command's item, with its text and check where they change; false when the table does not know
    // it.
    bool Update(wxUpdateUIEvent& event) const;

private:
    struct Entry
    {
        int first;
        int last;
        RunFunction run;
        UpdateFunction update;
    };
    const Entry* Find(int id) const;

    std::vector<Entry> m_entries;
};

// The update of a command that is enabled while enabled() says so, and of one that is always enabled.
CCommandTable::UpdateFunction EnableWhen(std::function<bool()> enabled);
CCommandTable::UpdateFunction AlwaysEnabled();
