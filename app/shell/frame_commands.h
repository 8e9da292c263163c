#pragma once

// The main frame's File, Object, Tools and Settings menu commands that have no place of their own: Print Setup,
// lining up the selection, scaling an object to its picture fill, deleting the current page, the tool items that
// pick a tool on the tools bar, the upgrade notice, and (through
// browser_menu.h) the browser submenu and the companion tools. The main frame sends every
// command it does not handle itself here (after the Edit commands); the work is the model's and the tools bar's.

#include "app/shell/command_ids.h"

class CMainFrame;
class wxUpdateUIEvent;

// Hands the frame the events of these commands that come other than as commands (the tools bar's companion tools).
void BindFrameEvents(CMainFrame& frame);
// Carries out the command; false when it is none of these.
bool HandleFrameCommand(CMainFrame& frame, int id);
// Enables the command's item, with its text and check where they change; false when it is none of these.
bool UpdateFrameCommand(CMainFrame& frame, wxUpdateUIEvent& event);
