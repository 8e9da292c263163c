#pragma once

// The application object: the start-up checks and sequence, and ending. The utility mode and the check of the
// resource folder run before it exists (main.cpp), since they need no display.

#include <memory>
#include <string>
#include <vector>
#include <wx/app.h>

class CMainFrame;
class CProgramServices;
struct CSettingsEnvironment;

class COrvelApp : public wxApp
{
public:
    COrvelApp();
    ~COrvelApp() override;

    // The start-up sequence; false ends the program before any window shows.
    bool OnInit() override;
    int OnExit() override;

    // Counts the rounds without input; input starts the count again.
    int FilterEvent(wxEvent& event) override;

    CMainFrame* GetMainFrame() const;

private:
    // Renders what the page windows show, one piece per round, once the user has left the program alone for a
    // while.
    void OnIdle(wxIdleEvent& event);

    std::unique_ptr<CProgramServices> m_services;
    long m_idleRounds = 0;
    bool m_idleWorkBlocked = false;
};

// Whether the resource folder beside the program holds what the program cannot start without: its string table.
// False, with the reason in *error, when not.
bool CheckResourceFolder(std::string* error);

// What the settings' defaults depend on: the documents folder, the program's folder and the screen.
CSettingsEnvironment MakeSettingsEnvironment();

// The start-up sequence once the checks have passed: the main window on its settings store, answered by
// services, shown; then the file named on the command line (once the window stands), or else the welcome dialog
// when the settings ask for it; the tips when asked for; and the palettes. Null when the window's menus or toolbar
// cannot be made.
CMainFrame* StartMainWindow(CProgramServices& services, const CSettingsEnvironment& environment,
                            const std::string& storePath, const std::vector<std::string>& arguments);
