#pragma once

// The Object menu's commands on the selected objects of the active page window (lining them up, scaling an object
// to its picture fill, removing its mouse-over effect) and the Tools menu's items that pick a tool on the tools
// bar. The work is the model's and the tools bar's.

class CCommandTable;
struct CShellContext;

// Adds these commands to the table.
void AddObjectCommands(CCommandTable& table, const CShellContext& context);
