#pragma once

// The Edit and Object menus' page commands (Undo, Redo, Cut, Copy, Paste, Delete, Select All, Copy and Paste
// Background, Create/Remove Group, the z-order commands) and the design view's guide and grid commands, as the main
// frame takes them from its menus, the view's context menu and the toolbar. The rules and the work are the
// model's (the clipboard's in clipboard_commands.h); this gives each command number its entry in the table.

#include "app/shell/command_ids.h"

class CCommandTable;
struct CShellContext;

// The commands, as wx numbers them.
enum EditCommand
{
    ID_EDIT_UNDO = WxCommandId(57643),
    ID_EDIT_REDO = WxCommandId(57644),
    ID_EDIT_DELETE = WxCommandId(32819),
    ID_EDIT_SELECT_ALL = WxCommandId(32818),
    ID_EDIT_GROUP = WxCommandId(32794),
    ID_BRING_TO_FRONT = WxCommandId(32790),
    ID_SEND_TO_BACK = WxCommandId(32791),
    ID_BRING_FORWARD = WxCommandId(32792),
    ID_SEND_BACKWARD = WxCommandId(32793),
    ID_INSERT_HORIZONTAL_GUIDE = WxCommandId(32838),
    ID_INSERT_VERTICAL_GUIDE = WxCommandId(32851),
    ID_HIDE_GUIDES = WxCommandId(32840),
    ID_REMOVE_GUIDES = WxCommandId(32841),
    ID_SPACE_HORIZONTALLY = WxCommandId(32842),
    ID_SPACE_VERTICALLY = WxCommandId(32843),
    ID_CENTER_BETWEEN_GUIDES = WxCommandId(32844),
    ID_GRID_1X = WxCommandId(32845),
    ID_GRID_2X = WxCommandId(32846),
    ID_GRID_4X = WxCommandId(32847),
};

// Adds these commands and the clipboard's to the table; they act on the active page window's view.
void AddEditCommands(CCommandTable& table, const CShellContext& context);
