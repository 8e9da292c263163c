#pragma once

// The Edit and Object menus' page commands (Undo, Redo, Cut, Copy, Paste, Delete, Select All, Copy and Paste
// Background, Create/Remove Group, the z-order commands) and the design view's guide and grid commands, as the main
// frame takes them from its menus, the view's context menu and the toolbar. The rules and the work are the
// model's (the clipboard's in clipboard_commands.h); this gives each command number its entry in the table.

#include "app/shell/command_ids.h"

class CCommandTable;
struct CShellContext;

// Adds these commands and the clipboard's to the table; they act on the active page window's view.
void AddEditCommands(CCommandTable& table, const CShellContext& context);
