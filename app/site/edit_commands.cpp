#include "app/site/edit_commands.h"

#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/resources/string_ids.h"

namespace {

struct ViewPage
{
    PageView* view = nullptr;
    CSitePage* page = nullptr;

    explicit operator bool() const { return page != nullptr; }
};

ViewPage ViewPageOf(PageView* view)
{
    ViewPage current;
    current.view = view;
    if (current.view)
        current.page = current.view->GetPage();
    return current;
}

// The text object edited in place on the page, or null.
CTextObject* EditedText(const CSitePage& page)
{
    return page.IsEditingInPlace() ? dynamic_cast<CTextObject*>(page.GetEditedObject()) : nullptr;
}

CRect SelectionRect(PageView* view)
{
    CRect rect;
    rect = view->GetSelectionRect();
    return rect;
}

// Undo and Redo: the step is taken, the objects are brought up to date, and what changed is repainted. Every step
// but one of the page's settings comes back with its objects selected, so the selection before and after bounds
// the change (with room for the frames' handles); the page's settings bring a background of their own and may
// change all of it.
void TakeUndoStep(PageView* view, bool redo)
{
    const ViewPage current = ViewPageOf(view);
    if (!current)
        return;
    CUndoManager& manager = *current.page->GetUndoManager();
    if (redo ? !manager.CanRedo() : !manager.CanUndo())
        return;
    const CRect before = SelectionRect(current.view);
    const CFillStyle* background = current.page->GetBackground();
    redo ? manager.Redo() : manager.Undo();
    current.page->RenderDirtyObjects();
    if (current.page->GetBackground() != background) {
        current.view->InvalidateView(false);
    } else {
        constexpr int kHandleRoom = 8;
        CRect changed;
        changed.UnionRect(before, SelectionRect(current.view));
        if (!changed.IsRectEmpty()) {
            changed.InflateRect(kHandleRoom, kHandleRoom);
            current.view->InvalidateViewRect(changed, false);
        }
    }
    NotifyInspector(CSitePage::kCommandDone);
}

} // namespace

bool IsEditUndoEnabled(PageView* view)
{
    const ViewPage current = ViewPageOf(view);
    return current && !current.page->IsEditingInPlace() && current.page->GetUndoManager()->CanUndo();
}

bool IsEditRedoEnabled(PageView* view)
{
    const ViewPage current = ViewPageOf(view);
    return current && !current.page->IsEditingInPlace() && current.page->GetUndoManager()->CanRedo();
}

bool IsEditDeleteEnabled(PageView* view)
{
    if (GetModelDialogs().IsInsertHtmlDialogOpen())
        return true;
    const ViewPage current = ViewPageOf(view);
    return current && current.page->HasSelection();
}

bool IsEditSelectAllEnabled(PageView* view)
{
    return static_cast<bool>(ViewPageOf(view));
}

EditGroupUpdate GetEditGroupUpdate(PageView* view)
{
    const ViewPage current = ViewPageOf(view);
    if (!current)
        return {};
    if (current.page->CanCreateGroup())
        return {true, IDS_CREATE_GROUP};
    if (current.page->IsSingleUserGroupSelected())
        return {true, IDS_REMOVE_GROUP};
    return {};
}

void OnEditUndo(PageView* view)
{
    TakeUndoStep(view, false);
}

void OnEditRedo(PageView* view)
{
    TakeUndoStep(view, true);
}

void DeleteSelectionWithUndo(CSitePage& page)
{
    CUndoManager& manager = *page.GetUndoManager();
    manager.RecordUndo(UndoKind::objectsDeleted);
    std::vector<std::unique_ptr<CPageItem>> removed = page.RemoveSelection();
    manager.KeepRemovedItems(removed);
}

void OnEditDelete(PageView* view)
{
    if (GetModelDialogs().IsInsertHtmlDialogOpen()) {
        GetModelDialogs().RemoveInsertHtmlFile();
        return;
    }
    const ViewPage current = ViewPageOf(view);
    if (!current)
        return;
    // During an in-place edit Delete removes the selected characters, or the one after the caret.
    if (current.page->IsEditingInPlace()) {
        if (CTextObject* text = EditedText(*current.page)) {
            CTextBody& body = *text->GetTextBody();
            const int prevPara = body.m_caretPara, prevIndex = body.m_caretIndex;
            RECT dirty{};
            if (!body.m_selectionEmpty) {
                text->DeleteSelectedChars(dirty, true);
                body.m_selectionEmpty = 1;
            } else {
                text->DeleteChar(dirty, true, true);
            }
            text->UpdateCaret(prevPara, prevIndex);
            current.view->InvalidateEditRect(CRect(dirty));
        }
        return;
    }
    const CRect before = SelectionRect(current.view);
    DeleteSelectionWithUndo(*current.page);
    NotifyInspector(CSitePage::kCommandDone);
    current.view->InvalidateViewRect(before, true);
}

void OnEditSelectAll(PageView* view)
{
    const ViewPage current = ViewPageOf(view);
    if (!current)
        return;
    // During an in-place edit the text selects all its characters, not the page its items.
    if (current.page->IsEditingInPlace()) {
        if (CTextObject* text = EditedText(*current.page)) {
            const CTextBody& body = *text->GetTextBody();
            const int prevPara = body.m_caretPara, prevIndex = body.m_caretIndex;
            text->SelectAll();
            text->UpdateCaret(prevPara, prevIndex);
            RECT selected{};
            text->GetSelectionRect(selected);
            current.view->InvalidateEditRect(CRect(selected));
        }
    } else {
        current.page->SelectAll();
    }
    current.view->InvalidateViewRect(SelectionRect(current.view), true);
}

void OnEditGroup(PageView* view)
{
    GetCoreServices().EndAllTextEditing();
    const ViewPage current = ViewPageOf(view);
    if (!current)
        return;
    const CRect before = SelectionRect(current.view);
    CSitePage& page = *current.page;
    if (page.CanCreateGroup()) {
        page.GetUndoManager()->RecordUndo(UndoKind::grouping);
        page.CreateGroup();
        NotifyInspector(CSitePage::kCommandDone);
    } else if (page.IsSingleUserGroupSelected()) {
        page.GetUndoManager()->RecordUndo(UndoKind::grouping);
        page.Ungroup();
        NotifyInspector(CSitePage::kCommandDone);
    }
    CRect changed;
    changed.UnionRect(before, SelectionRect(current.view));
    current.view->InvalidateViewRect(changed, true);
}

bool IsArrangeEnabled(PageView* view, ArrangeCommand command)
{
    const ViewPage current = ViewPageOf(view);
    if (!current || current.page->IsEditingInPlace())
        return false;
    const bool forward = command == ArrangeCommand::bringToFront || command == ArrangeCommand::bringForward;
    return forward ? current.page->CanBringForward() : current.page->CanSendBackward();
}

void OnArrange(PageView* view, ArrangeCommand command)
{
    GetCoreServices().EndAllTextEditing();
    if (!IsArrangeEnabled(view, command))
        return;
    const ViewPage current = ViewPageOf(view);
    CSitePage& page = *current.page;
    page.GetUndoManager()->RecordUndo(UndoKind::zOrder);
    switch (command) {
    case ArrangeCommand::bringToFront: page.BringToFront(); break;
    case ArrangeCommand::sendToBack: page.SendToBack(); break;
    case ArrangeCommand::bringForward: page.BringForward(); break;
    case ArrangeCommand::sendBackward: page.SendBackward(); break;
    }
    page.SetModified();
    current.view->InvalidateSelection();
}
