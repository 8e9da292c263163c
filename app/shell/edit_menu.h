#pragma once

// The Edit and Object menus' page commands (Undo, Redo, Cut, Copy, Paste, Delete, Select All, Copy and Paste
// Background, Create/Remove Group, the z-order commands) and the design view's guide and grid commands, as the main
// frame routes them from its menus, the view's context menu and the toolbar. The rules and the work are the
// model's (the clipboard's in clipboard_commands.h); this maps command numbers to them.

#include "app/shell/command_ids.h"

class CMainFrame;
class wxUpdateUIEvent;

// Carries out the command; false when it is none of these.
bool HandleEditCommand(CMainFrame& frame, int id);
// Enables the command's item, with its text and check where they change; false when it is none of these.
bool UpdateEditCommand(CMainFrame& frame, wxUpdateUIEvent& event);
