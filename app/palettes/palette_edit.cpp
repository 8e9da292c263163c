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
    CoreServices& services = GetCoreServices();
    COrvelView* view = GetCurrentView();
    CRect before;
    services.GetSelectionRect(view, before);
    change();
    page.RenderDirtyObjects();
    CRect after;
    services.GetSelectionRect(view, after);
    CRect both;
    both.UnionRect(before, after);
    if (view && !both.IsRectEmpty())
        services.InvalidateViewRect(view, both, true);
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
    if (COrvelView* view = GetCurrentView())
        GetCoreServices().InvalidateView(view, true);
    return true;
}

bool IsViewEditingText()
{
    COrvelView* view = GetCurrentView();
    const CSitePage* page = view ? GetCoreServices().GetViewPage(view) : nullptr;
    return page && page->IsEditingInPlace();
}
