#pragma once

// The Edit menu's Undo, Redo, Delete, Select All and Create/Remove Group as they act on the page of the view they
// are given (the active page window's), with the rules that enable them. The main frame's command and update
// handlers call these; with no view (or a view without a page) every command is disabled and does nothing.

class CSitePage;
class PageView;

struct EditGroupUpdate
{
    bool enabled = false;
    // The string the item shows while enabled, making a group (IDS_CREATE_GROUP) or ending the selected one
    // (IDS_REMOVE_GROUP); else 0 (the item keeps its text).
    unsigned textId = 0;
};

bool IsEditUndoEnabled(PageView* view);
bool IsEditRedoEnabled(PageView* view);
bool IsEditDeleteEnabled(PageView* view);
bool IsEditSelectAllEnabled(PageView* view);
EditGroupUpdate GetEditGroupUpdate(PageView* view);

void OnEditUndo(PageView* view);
void OnEditRedo(PageView* view);
// While the insert-HTML dialog is open Delete removes its selected file instead; during an in-place text edit it
// removes the selected characters, or the one after the caret. Otherwise the selected items leave the page, kept by
// the undo step recorded for them.
void OnEditDelete(PageView* view);
// The model side of Delete, also used when an edited text is left empty.
void DeleteSelectionWithUndo(CSitePage& page);
// Selects every item of the page, or every character of the text edited in place.
void OnEditSelectAll(PageView* view);
// Makes the selection one user group, or ends the selected user group; in-place text edits are committed first.
void OnEditGroup(PageView* view);

// Object > Arrange: the z-order of the selection on the view's page, outside text editing.
enum class ArrangeCommand
{
    bringToFront,
    sendToBack,
    bringForward,
    sendBackward,
};

bool IsArrangeEnabled(PageView* view, ArrangeCommand command);
void OnArrange(PageView* view, ArrangeCommand command);
