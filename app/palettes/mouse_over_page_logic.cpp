#include "app/palettes/mouse_over_page_logic.h"

#include <algorithm>
#include <cstdlib>

#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/page_object.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

namespace {

// The first-use hint shown before a twin is made.
constexpr int kMouseOverHint = 5029;

CPageItem* SelectedItem()
{
    CSitePage* page = GetCurrentPage();
    return page ? page->GetSingleSelectedItem() : nullptr;
}

void RecordStep(UndoKind kind)
{
    if (CSitePage* page = GetCurrentPage())
        if (CUndoManager* undo = page->GetUndoManager())
            undo->RecordUndo(kind);
}

// Runs change between taking the selection's rectangle and repainting it united with the new one.
template <class Change> void RepaintAround(Change change)
{
    PageView* view = GetCurrentView();
    CRect before;
    if (view)
        before = view->GetSelectionRect();
    change();
    CRect after;
    if (view)
        after = view->GetSelectionRect();
    CRect both;
    both.UnionRect(before, after);
    if (view)
        view->InvalidateViewRect(both, true);
}

void ShowItem(MouseOverPageState& state, const CPageItem* item)
{
    if (!item || !item->HasMouseOver()) {
        state.shown = -1;
        return;
    }
    state.sameText = item->IsSameText();
    state.offsetX = std::to_string(item->GetMouseOverOffsetX());
    state.offsetY = std::to_string(item->GetMouseOverOffsetY());
    state.shown = item->IsMouseOverShown() ? 1 : 0;
}

void Enable(MouseOverPageState& state, bool canCreate, bool mayEditOffsets, const CPageItem* item)
{
    const bool twin = item && item->HasMouseOver();
    const bool twinShown = twin && item->IsMouseOverShown();
    state.create = canCreate && !twin;
    state.remove = canCreate && twin;
    state.sameTextOn = twin;
    state.offsets = twin && twinShown && mayEditOffsets;
}

} // namespace

MouseOverPageState ReadMouseOverPage()
{
    MouseOverPageState state;
    const CPageObject* object = GetCurrentObject();
    if (!object || !object->CanHaveMouseOver())
        return state;
    const CPageItem* item = SelectedItem();
    const auto* text = dynamic_cast<const CTextObject*>(object);
    if (!text) {
        ShowItem(state, item);
        Enable(state, true, true, item);
    } else if (text->IsEditing()) {
        // Shown only, with 0 for the offsets of an item without a twin.
        ShowItem(state, item);
        if (!item || !item->HasMouseOver())
            state.offsetX = state.offsetY = "0";
    } else {
        ShowItem(state, item);
        Enable(state, text->AllowsAdvancedText(), false, item);
    }
    return state;
}

void MouseOverCreate()
{
    CPageItem* item = SelectedItem();
    CPageObject* object = item ? item->GetCurrentObject() : nullptr;
    if (!object)
        return;
    const CAppSettings* settings = GetAppSettings();
    if (settings && settings->m_showMouseoverHelp)
        GetMessages().ShowHintDialog(kMouseOverHint);
    std::unique_ptr<CPageObject> twin = object->Duplicate();
    if (!twin)
        return;
    // The history keeps the item as it was before the step, so that undoing it takes the twin away again.
    RecordStep(UndoKind::mouseOverCreated);
    item->SetMouseOverObject(std::move(twin));
    if (PageView* view = GetCurrentView())
        view->InvalidateView(true);
}

void MouseOverRemove()
{
    CPageItem* item = SelectedItem();
    if (!item || !item->HasMouseOver())
        return;
    RecordStep(UndoKind::mouseOverRemoved);
    RepaintAround([&] {
        if (CPageObject* twin = item->GetObject(true))
            twin->FreeCaches();
        item->RemoveMouseOverObject();
    });
}

void MouseOverShow(bool twin)
{
    CPageItem* item = SelectedItem();
    if (!item || !item->HasMouseOver())
        return;
    RepaintAround([&] {
        RecordStep(UndoKind::mouseOverSettings);
        item->SetMouseOverShown(twin);
    });
}

void MouseOverSameText(bool same)
{
    CPageItem* item = SelectedItem();
    if (!item || !item->HasMouseOver())
        return;
    RepaintAround([&] {
        const bool text = item->GetCurrentObject() && item->GetCurrentObject()->GetKind() == objectText;
        RecordStep(text ? UndoKind::textBody : UndoKind::mouseOverSettings);
        item->SetSameText(same);
        if (item->IsSameText())
            item->CopyTextToOtherState();
    });
}

void MouseOverOffset(bool horizontal, const std::string& text)
{
    CPageItem* item = SelectedItem();
    if (!item || !item->HasMouseOver())
        return;
    // As atoi reads it, without its overflow: long digit runs are kept within the range too.
    const long value = std::clamp(std::strtol(text.c_str(), nullptr, 10), -100L, 100L);
    const int offset = static_cast<int>(value);
    if (offset == (horizontal ? item->GetMouseOverOffsetX() : item->GetMouseOverOffsetY()))
        return;
    RepaintAround([&] {
        RecordStep(UndoKind::mouseOverSettings);
        if (horizontal)
            item->SetMouseOverOffsetX(offset);
        else
            item->SetMouseOverOffsetY(offset);
    });
}
