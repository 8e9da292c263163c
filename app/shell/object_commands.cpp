#include "app/shell/object_commands.h"

#include <array>
#include <optional>
#include <wx/event.h>

#include "app/docview/design_view.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/page_object.h"
#include "app/shell/command_ids.h"
#include "app/shell/command_table.h"
#include "app/shell/open_site.h"
#include "app/shell/page_windows.h"
#include "app/shell/shell_window.h"
#include "app/shell/tools_bar.h"
#include "app/site/align_commands.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

// The names of the tools 1 to 8 (arrow, text, shape, circle, picture, HTML, Flash, eyedropper).
constexpr std::array<unsigned, 8> kToolNameIds = {IDS_ARROW_TOOL,   IDS_TEXT_TOOL, IDS_SHAPE_TOOL, IDS_CIRCLE_TOOL,
                                                  IDS_PICTURE_TOOL, IDS_HTML_TOOL, IDS_FLASH_TOOL, IDS_EYEDROPPER_TOOL};

std::optional<AlignMode> AlignModeOf(int id)
{
    switch (id) {
    case ID_ALIGN_LEFT:
        return AlignMode::left;
    case ID_ALIGN_RIGHT:
        return AlignMode::right;
    case ID_ALIGN_TOP:
        return AlignMode::top;
    case ID_ALIGN_BOTTOM:
        return AlignMode::bottom;
    default:
        return std::nullopt;
    }
}

int ToolOfItem(int id)
{
    return id - ID_FIRST_TOOL_ITEM + 1;
}

// Runs a change of the view's page and paints again what the selection covered before and after it.
template <typename Change> void ChangeSelection(COrvelView& view, bool erase, Change change)
{
    CSitePage& page = *view.GetPage();
    const CRect before = view.GetSelectionRect();
    if (!change(page))
        return;
    page.RenderDirtyObjects();
    CRect changed;
    changed.UnionRect(before, view.GetSelectionRect());
    view.RefreshRect(wxRect(changed.left, changed.top, changed.Width(), changed.Height()), erase);
}

// The one selected item whose mouse-over effect can be removed, outside text editing; null when there is none.
CPageItem* MouseOverToRemove(const CSitePage& page)
{
    CPageItem* item = page.GetSelectedItemCount() == 1 ? page.GetSingleSelectedItem() : nullptr;
    if (!item || page.IsEditingInPlace() || !item->HasMouseOver())
        return nullptr;
    const CPageObject* object = item->GetObject(false);
    return object && object->CanHaveMouseOver() ? item : nullptr;
}

} // namespace

void AddObjectCommands(CCommandTable& table, const CShellContext& context)
{
    CPageWindows& pages = context.pages;
    // The selection commands act on the active view's page, and only while a site is open.
    const auto page = [&context]() -> const CSitePage* {
        return context.site.GetSite() ? context.pages.GetActivePage() : nullptr;
    };
    for (int id : {ID_ALIGN_LEFT, ID_ALIGN_RIGHT, ID_ALIGN_TOP, ID_ALIGN_BOTTOM}) {
        const AlignMode mode = *AlignModeOf(id);
        table.Add(
            id,
            [&pages, mode](int) {
                COrvelView* view = pages.GetActiveView();
                if (view && view->GetPage() && CanAlign(*view->GetPage()))
                    ChangeSelection(*view, false, [&](CSitePage& changed) {
                        Align(changed, mode);
                        return true;
                    });
            },
            EnableWhen([page] { return page() && CanAlign(*page()); }));
    }
    table.Add(
        ID_SCALE_TO_PICTURE_FILL,
        [&context](int) {
            COrvelView* view = context.pages.GetActiveView();
            if (view && view->GetPage() && CanScaleToPictureFill(*view->GetPage())) {
                context.site.GetDocument().CommitPendingTextEdits();
                ChangeSelection(*view, true, [](CSitePage& changed) { return ScaleToPictureFill(changed); });
            }
        },
        EnableWhen([page] { return page() && CanScaleToPictureFill(*page()); }));
    table.Add(
        ID_REMOVE_MOUSEOVER,
        [&context](int) {
            COrvelView* view = context.pages.GetActiveView();
            if (!view || !view->GetPage() || !MouseOverToRemove(*view->GetPage()))
                return;
            ChangeSelection(*view, true, [](CSitePage& changed) {
                CPageItem* item = MouseOverToRemove(changed);
                changed.GetUndoManager()->RecordUndo(UndoKind::mouseOverRemoved);
                // The undo step keeps its own copy of the effect.
                if (std::unique_ptr<CPageObject> twin = item->RemoveMouseOverObject())
                    twin->FreeCaches();
                item->GetCurrentObject()->SetDirty();
                changed.SetModified();
                return true;
            });
            context.shell.NotifyInspector(CSitePage::kCommandDone);
        },
        EnableWhen([page] { return page() && MouseOverToRemove(*page()); }));
    CShellWindow& shell = context.shell;
    table.Add(
        ID_FIRST_TOOL_ITEM, ID_LAST_TOOL_ITEM,
        [&shell](int id) {
            if (CToolsBar* tools = shell.GetToolsBar())
                tools->SetTool(ToolOfItem(id));
        },
        [&shell](wxUpdateUIEvent& event) {
            const int id = event.GetId();
            const CToolsBar* tools = shell.GetToolsBar();
            const size_t entry = static_cast<size_t>(ToolOfItem(id) - 1);
            event.SetText("&" + BytesToWx(ResourceText(kToolNameIds[entry])));
            event.Enable(tools != nullptr);
            event.Check(tools && tools->GetTool() == ToolOfItem(id));
        });
}
