#pragma once

// The Help menu: the user guide in the desktop's browser, the maker's support and software pages, the About,
// Feedback and help-dialogs windows, and the upgrade notice.

#include <string>

class CCommandTable;
struct CSettingsEnvironment;
struct CShellContext;

// The user guide beside the program.
std::string GetUserGuidePath(const CSettingsEnvironment& environment);

// Adds these commands to the table.
void AddHelpCommands(CCommandTable& table, const CShellContext& context);
