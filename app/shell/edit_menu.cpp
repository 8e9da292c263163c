#include "app/shell/edit_menu.h"

#include <optional>
#include <tuple>
#include <wx/event.h>

#include "app/docview/design_view.h"
#include "app/docview/site_document.h"
#include "app/shell/clipboard_commands.h"
#include "app/shell/command_ids.h"
#include "app/shell/command_table.h"
#include "app/shell/open_site.h"
#include "app/shell/page_windows.h"
#include "app/shell/program_services.h"
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

// The guide commands act on the active view's page. Every one of them uses up the point the context menu was
// opened at; the two insert commands put their guide there. Spacing and centring commit the document's text edits
// first.
void RunGuideCommand(COrvelDoc& document, COrvelView& view, int id)
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
        document.CommitPendingTextEdits();
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

// How a guide command looks over the active view's page; every one is off without a page.
void UpdateGuideCommand(const COrvelView* view, wxUpdateUIEvent& event)
{
    const CSitePage* page = view ? view->GetPage() : nullptr;
    if (!page) {
        event.Enable(false);
        return;
    }
    const int id = event.GetId();
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
}

} // namespace

void AddEditCommands(CCommandTable& table, const CShellContext& context)
{
    CPageWindows& pages = context.pages;
    CShellWindow& shell = context.shell;
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_COPY_BACKGROUND, ID_PASTE_BACKGROUND})
        table.Add(
            id,
            [&shell, &pages](int command) {
                if (!RunInsertHtmlEditCommand(command))
                    HandleClipboardCommand(shell, pages.GetActiveView(), command);
            },
            [&pages](wxUpdateUIEvent& event) {
                if (!UpdateInsertHtmlEditCommand(event))
                    UpdateClipboardCommand(pages.GetActiveView(), event);
            });
    for (int id : {ID_BRING_TO_FRONT, ID_SEND_TO_BACK, ID_BRING_FORWARD, ID_SEND_BACKWARD}) {
        const ArrangeCommand arrange = *ArrangeOf(id);
        table.Add(
            id, [&pages, arrange](int) { OnArrange(pages.GetActiveView(), arrange); },
            EnableWhen([&pages, arrange] { return IsArrangeEnabled(pages.GetActiveView(), arrange); }));
    }
    COpenSite& site = context.site;
    const auto runGuide = [&pages, &site](int id) {
        if (COrvelView* view = pages.GetActiveView())
            RunGuideCommand(site.GetDocument(), *view, id);
    };
    const auto updateGuide = [&pages](wxUpdateUIEvent& event) { UpdateGuideCommand(pages.GetActiveView(), event); };
    for (int id : {ID_INSERT_HORIZONTAL_GUIDE, ID_INSERT_VERTICAL_GUIDE, ID_HIDE_GUIDES, ID_REMOVE_GUIDES})
        table.Add(id, runGuide, updateGuide);
    table.Add(ID_SPACE_HORIZONTALLY, ID_GRID_4X, runGuide, updateGuide);
    // Undo, Redo, Delete and Select All act on the active page window's view and are enabled by what it holds.
    using ViewRun = void (*)(PageView*);
    using ViewEnabled = bool (*)(PageView*);
    for (auto [id, run, enabled] : {std::tuple<int, ViewRun, ViewEnabled>{ID_EDIT_UNDO, OnEditUndo, IsEditUndoEnabled},
                                    {ID_EDIT_REDO, OnEditRedo, IsEditRedoEnabled},
                                    {ID_EDIT_DELETE, OnEditDelete, IsEditDeleteEnabled},
                                    {ID_EDIT_SELECT_ALL, OnEditSelectAll, IsEditSelectAllEnabled}})
        table.Add(
            id, [&pages, run = run](int) { run(pages.GetActiveView()); },
            EnableWhen([&pages, enabled = enabled] { return enabled(pages.GetActiveView()); }));
    table.Add(
        ID_EDIT_GROUP, [&pages](int) { OnEditGroup(pages.GetActiveView()); },
        [&pages](wxUpdateUIEvent& event) {
            const EditGroupUpdate update = GetEditGroupUpdate(pages.GetActiveView());
            event.Enable(update.enabled);
            if (update.textId != 0)
                event.SetText(BytesToWx(ResourceText(update.textId)));
        });
}
