#pragma once

// The Edit menu's Undo, Redo, Delete, Select All and Create/Remove Group as they act on the page of the current
// view, with the rules that enable them. The main frame's command and update handlers call these; with no view
// (or a view without a page) every command is disabled and does nothing.

class CSitePage;
class PageView;

struct EditGroupUpdate
{
    bool enabled = false;
    // The string the item shows while enabled, making a group (IDS_CREATE_GROUP) or ending the selected one
    // (IDS_REMOVE_GROUP); else 0 (the item keeps its text).
    unsigned textId = 0;
};

bool IsEditUndoEnabled();
bool IsEditRedoEnabled();
// Delete acts on the page of the view it is given, the active page window's.
bool IsEditDeleteEnabled(PageView* view);
bool IsEditSelectAllEnabled();
EditGroupUpdate GetEditGroupUpdate();

void OnEditUndo();
void OnEditRedo();
// While the insert-HTML dialog is open Delete removes its selected file instead; during an in-place text edit it
// removes the selected characters, or the one after the caret. Otherwise the selected items leave the page, kept by
// the undo step recorded for them.
void OnEditDelete(PageView* view);
// The model side of Delete, also used when an edited text is left empty.
void DeleteSelectionWithUndo(CSitePage& page);
// Selects every item of the page, or every character of the text edited in place.
void OnEditSelectAll();
// Makes the selection one user group, or ends the selected user group; in-place text edits are committed first.
void OnEditGroup();

// Object > Arrange: the z-order of the selection, outside text editing.
enum class ArrangeCommand
{
    bringToFront,
    sendToBack,
    bringForward,
    sendBackward,
};

bool IsArrangeEnabled(ArrangeCommand command);
void OnArrange(ArrangeCommand command);
