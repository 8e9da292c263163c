#pragma once

// The publishing commands of the menus and the toolbar (Send, Upload, Internet setup, Test Connections, removing the
// site from the Internet, the previews, Print and Print Setup). The work is the publisher's; the upload runs from
// the event loop once the menu has closed, with the main window disabled under its progress window.

#include "app/shell/command_ids.h"

class CCommandTable;
struct CShellContext;

// Builds the site for a preview and shows the page (the front page for the site) in the browser of the settings:
// the built-in window, the standard browser or one of those added. False when nothing was shown.
bool PreviewWebsite(const CShellContext& context, bool currentPage);

// Builds the whole site for a browser and shows its front page in the print window, whose Print prints it. False
// when nothing was shown.
bool PrintWebsite(const CShellContext& context);

// Adds these commands to the table.
void AddPublishCommands(CCommandTable& table, const CShellContext& context);
