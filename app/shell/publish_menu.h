#pragma once

// The publishing commands of the menus and the toolbar (Send, Upload, Internet setup, Test Connections, removing the
// site from the Internet) as the main frame routes them. The work is the publisher's; the upload runs from the event
// loop once the menu has closed, with the main window disabled under its progress window.

#include "app/shell/command_ids.h"

class CMainFrame;
class wxUpdateUIEvent;

enum PublishCommand
{
    ID_UPLOAD = WxCommandId(32968),
    ID_INTERNET_SETUP = WxCommandId(32859),
    ID_TEST_CONNECTIONS = WxCommandId(32967),
    ID_REMOVE_WEBSITE = WxCommandId(32863),
};

// Carries out the command; false when it is none of these.
bool HandlePublishCommand(CMainFrame& frame, int id);
// Enables the command's item, with its text where it changes; false when it is none of these.
bool UpdatePublishCommand(CMainFrame& frame, wxUpdateUIEvent& event);
