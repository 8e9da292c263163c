#include "app/shell/edit_menu.h"

#include <optional>
#include <wx/event.h>

#include "app/docview/design_view.h"
#include "app/model/services.h"
#include "app/shell/clipboard_commands.h"
#include "app/shell/command_ids.h"
#include "app/shell/main_frame.h"
#include "app/shell/orvel_frame.h"
#include "app/site/edit_commands.h"
#include "app/site/guide_commands.h"
#include "app/site/site_page.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

std::optional<ArrangeCommand> ArrangeOf(int id)
{
    switch (id) {
    case ID_BRING_TO_FRONT:
        return ArrangeCommand::bringToFront;
    case ID_SEND_TO_BACK:
        return ArrangeCommand::sendToBack;
    case ID_BRING_FORWARD:
        return ArrangeCommand::bringForward;
    case ID_SEND_BACKWARD:
        return ArrangeCommand::sendBackward;
    default:
        return std::nullopt;
    }
}

int GridModeOf(int id)
{
    return id == ID_GRID_1X ? 1 : id == ID_GRID_2X ? 2 : id == ID_GRID_4X ? 4 : 0;
}

bool IsGuideCommand(int id)
{
    return (id >= ID_SPACE_HORIZONTALLY && id <= ID_GRID_4X) || id == ID_INSERT_HORIZONTAL_GUIDE ||
           id == ID_INSERT_VERTICAL_GUIDE || id == ID_HIDE_GUIDES || id == ID_REMOVE_GUIDES;
}

COrvelView* ActiveView(CMainFrame& frame)
{
    const COrvelFrame* window = frame.GetActivePageWindow();
    return window ? window->GetView() : nullptr;
}

// The guide commands act on the active view's page. Every one of them uses up the point the context menu was
// opened at; the two insert commands put their guide there.
void RunGuideCommand(COrvelView& view, int id)
{
    CSitePage& page = *view.GetPage();
    std::optional<CPoint> point;
    if (view.TakeContextMenuShown())
        point = view.GetContextPoint();
    const CRect before = view.GetSelectionRect();
    switch (id) {
    case ID_INSERT_HORIZONTAL_GUIDE:
    case ID_INSERT_VERTICAL_GUIDE:
        InsertGuide(page, id == ID_INSERT_HORIZONTAL_GUIDE, point);
        break;
    case ID_HIDE_GUIDES:
        ToggleGuidesHidden(page);
        break;
    case ID_REMOVE_GUIDES:
        RemoveGuides(page);
        break;
    case ID_GRID_1X:
    case ID_GRID_2X:
    case ID_GRID_4X:
        SetGrid(page, GridModeOf(id));
        break;
    case ID_SPACE_HORIZONTALLY:
    case ID_SPACE_VERTICALLY:
    case ID_CENTER_BETWEEN_GUIDES: {
        GetCoreServices().EndAllTextEditing();
        const bool horizontal = id == ID_SPACE_HORIZONTALLY;
        if (id == ID_CENTER_BETWEEN_GUIDES ? !CanCenterBetweenGuides(page) : !CanSpaceEvenly(page, horizontal))
            return;
        id == ID_CENTER_BETWEEN_GUIDES ? CenterBetweenGuides(page) : SpaceEvenly(page, horizontal);
        page.RenderDirtyObjects();
        CRect changed;
        changed.UnionRect(before, view.GetSelectionRect());
        view.RefreshRect(wxRect(changed.left, changed.top, changed.Width(), changed.Height()), true);
        return;
    }
    default:
        return;
    }
    view.InvalidateView(true);
}

} // namespace

bool HandleEditCommand(CMainFrame& frame, int id)
{
    if (HandleClipboardCommand(ActiveView(frame), id))
        return true;
    if (const std::optional<ArrangeCommand> arrange = ArrangeOf(id)) {
        OnArrange(*arrange);
        return true;
    }
    if (IsGuideCommand(id)) {
        if (COrvelView* view = ActiveView(frame))
            RunGuideCommand(*view, id);
        return true;
    }
    switch (id) {
    case ID_EDIT_UNDO:
        OnEditUndo();
        return true;
    case ID_EDIT_REDO:
        OnEditRedo();
        return true;
    case ID_EDIT_DELETE:
        OnEditDelete();
        return true;
    case ID_EDIT_SELECT_ALL:
        OnEditSelectAll();
        return true;
    case ID_EDIT_GROUP:
        OnEditGroup();
        return true;
    default:
        return false;
    }
}

bool UpdateEditCommand(CMainFrame& frame, wxUpdateUIEvent& event)
{
    if (UpdateClipboardCommand(ActiveView(frame), event))
        return true;
    const int id = event.GetId();
    if (const std::optional<ArrangeCommand> arrange = ArrangeOf(id)) {
        event.Enable(IsArrangeEnabled(*arrange));
        return true;
    }
    if (IsGuideCommand(id)) {
        const COrvelView* view = ActiveView(frame);
        const CSitePage* page = view ? view->GetPage() : nullptr;
        if (!page) {
            event.Enable(false);
            return true;
        }
        switch (id) {
        case ID_INSERT_HORIZONTAL_GUIDE:
        case ID_INSERT_VERTICAL_GUIDE:
            event.Enable(CanInsertGuide(*page, id == ID_INSERT_HORIZONTAL_GUIDE));
            break;
        case ID_HIDE_GUIDES:
            event.Enable(true);
            event.SetText(BytesToWx(ResourceText(page->AreGuidesHidden() ? IDS_SHOW_GUIDES : IDS_HIDE_GUIDES)));
            break;
        case ID_REMOVE_GUIDES:
            event.Enable(CanRemoveGuides(*page));
            break;
        case ID_SPACE_HORIZONTALLY:
        case ID_SPACE_VERTICALLY:
            event.Enable(CanSpaceEvenly(*page, id == ID_SPACE_HORIZONTALLY));
            break;
        case ID_CENTER_BETWEEN_GUIDES:
            event.Enable(CanCenterBetweenGuides(*page));
            break;
        default: // the grid densities
            event.Enable(true);
            event.Check(page->GetGridMode() == GridModeOf(id));
            break;
        }
        return true;
    }
    switch (id) {
    case ID_EDIT_UNDO:
        event.Enable(IsEditUndoEnabled());
        return true;
    case ID_EDIT_REDO:
        event.Enable(IsEditRedoEnabled());
        return true;
    case ID_EDIT_DELETE:
        event.Enable(IsEditDeleteEnabled());
        return true;
    case ID_EDIT_SELECT_ALL:
        event.Enable(IsEditSelectAllEnabled());
        return true;
    case ID_EDIT_GROUP: {
        const EditGroupUpdate update = GetEditGroupUpdate();
        event.Enable(update.enabled);
        if (update.textId != 0)
            event.SetText(BytesToWx(ResourceText(static_cast<unsigned>(update.textId))));
        return true;
    }
    default:
        return false;
    }
}
