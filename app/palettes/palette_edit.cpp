#include "app/palettes/palette_edit.h"

#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/site/site_page.h"

namespace {

void RecordUndo(CSitePage& page, UndoKind kind)
{
    if (CUndoManager* undo = page.GetUndoManager())
        undo->RecordUndo(kind);
}

} // namespace

CPageObject* GetPaletteObject()
{
    return GetCurrentPage() ? GetCurrentObject() : nullptr;
}

void ApplySelectionEdit(CSitePage& page, UndoKind undoKind, const std::function<void()>& change)
{
    RecordUndo(page, undoKind);
    PageView* view = GetCurrentView();
    CRect before;
    if (view)
        before = view->GetSelectionRect();
    change();
    page.RenderDirtyObjects();
    CRect after;
    if (view)
        after = view->GetSelectionRect();
    CRect both;
    both.UnionRect(before, after);
    if (view && !both.IsRectEmpty())
        view->InvalidateViewRect(both, true);
}

bool ApplyObjectEdit(UndoKind undoKind, const std::function<bool(const CPageObject&)>& unchanged,
                     const std::function<void(CPageObject&)>& change)
{
    CSitePage* page = GetCurrentPage();
    CPageObject* object = GetPaletteObject();
    if (!page || !object || unchanged(*object))
        return false;
    ApplySelectionEdit(*page, undoKind, [&] { change(*object); });
    return true;
}

bool ApplyPageEdit(UndoKind undoKind, const std::function<bool(const CSitePage&)>& unchanged,
                   const std::function<void(CSitePage&)>& change)
{
    CSitePage* page = GetCurrentPage();
    if (!page || unchanged(*page))
        return false;
    RecordUndo(*page, undoKind);
    change(*page);
    page->RenderDirtyObjects();
    if (PageView* view = GetCurrentView())
        view->InvalidateView(true);
    return true;
}

bool IsViewEditingText()
{
    PageView* view = GetCurrentView();
    const CSitePage* page = view ? view->GetPage() : nullptr;
    return page && page->IsEditingInPlace();
}
