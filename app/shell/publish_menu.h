#pragma once

// The publishing commands of the menus and the toolbar (Send, Upload, Internet setup, Test Connections, removing the
// site from the Internet, the previews) as the main frame routes them. The work is the publisher's; the upload runs
// from the event loop once the menu has closed, with the main window disabled under its progress window.

#include "app/shell/command_ids.h"

class CMainFrame;
class wxUpdateUIEvent;

// Builds the site for a preview and shows the page (the front page for the site) in the browser of the settings:
// the built-in window, the standard browser or one of those added. False when nothing was shown.
bool PreviewWebsite(CMainFrame& frame, bool currentPage);

// Builds the whole site for a browser and shows its front page in the print window, whose Print prints it. False
// when nothing was shown.
bool PrintWebsite(CMainFrame& frame);

// Carries out the command; false when it is none of these.
bool HandlePublishCommand(CMainFrame& frame, int id);
// Enables the command's item, with its text where it changes; false when it is none of these.
bool UpdatePublishCommand(CMainFrame& frame, wxUpdateUIEvent& event);
