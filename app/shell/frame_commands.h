#pragma once

// The main frame's File, Object, Tools and Settings menu commands that have no place of their own: Print Setup,
// lining up the selection, scaling an object to its picture fill, deleting the current page, the tool items that
// pick a tool on the tools bar, the upgrade notice, and (through
// browser_menu.h) the browser submenu and the companion tools. The main frame sends every
// command it does not handle itself here (after the Edit commands); the work is the model's and the tools bar's.

#include "app/shell/command_ids.h"

class CMainFrame;
class wxUpdateUIEvent;

enum FrameCommand
{
    ID_ALIGN_LEFT = WxCommandId(32884),
    ID_ALIGN_RIGHT = WxCommandId(32885),
    ID_ALIGN_TOP = WxCommandId(32886),
    ID_ALIGN_BOTTOM = WxCommandId(32887),
    ID_SCALE_TO_PICTURE_FILL = WxCommandId(32856),
    ID_REMOVE_MOUSEOVER = WxCommandId(32870),
    ID_HELP_SUPPORT = WxCommandId(32900),
    ID_MORE_SOFTWARE = WxCommandId(32946),
    ID_DELETE_PAGE = WxCommandId(32820),
    ID_PRINT_SETUP = WxCommandId(57606),
    // The upgrade notice; no menu holds it.
    ID_UPGRADE_NOTICE = WxCommandId(32815),
    // Seven tool items, the arrow (tool 1) to the Flash tool (tool 7).
    ID_FIRST_TOOL_ITEM = WxCommandId(32821),
    ID_LAST_TOOL_ITEM = WxCommandId(32827),
};

// Hands the frame the events of these commands that come other than as commands (the tools bar's companion tools).
void BindFrameEvents(CMainFrame& frame);
// Carries out the command; false when it is none of these.
bool HandleFrameCommand(CMainFrame& frame, int id);
// Enables the command's item, with its text and check where they change; false when it is none of these.
bool UpdateFrameCommand(CMainFrame& frame, wxUpdateUIEvent& event);
