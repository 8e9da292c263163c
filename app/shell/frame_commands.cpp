#include "app/shell/frame_commands.h"

#include <array>
#include <optional>
#include <wx/cmndata.h>
#include <wx/event.h>
#include <wx/printdlg.h>

#include "app/dialogs/about_dlg.h"
#include "app/docview/design_view.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/page_object.h"
#include "app/publish/changed_pages.h"
#include "app/shell/browser_menu.h"
#include "app/shell/main_frame.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/tools_bar.h"
#include "app/site/align_commands.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"
#include "platform/win/program_launch.h"

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

bool IsToolItem(int id)
{
    return id >= ID_FIRST_TOOL_ITEM && id <= ID_LAST_TOOL_ITEM;
}

int ToolOfItem(int id)
{
    return id - ID_FIRST_TOOL_ITEM + 1;
}

COrvelView* ActiveViewOf(const CMainFrame& frame)
{
    const COrvelFrame* window = frame.GetActivePageWindow();
    return window ? window->GetView() : nullptr;
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

// Delete Page works on the active page window's page; the site keeps at least the page of one other window.
bool CanDeletePage(const CMainFrame& frame)
{
    return frame.GetCurrentSite() && frame.CountPageWindows() >= 2 && frame.GetActivePage();
}

void DeleteCurrentPage(CMainFrame& frame)
{
    if (!CanDeletePage(frame))
        return;
    GetCoreServices().EndAllTextEditing();
    CWebsite& site = *frame.GetCurrentSite();
    if (site.DeletePage(frame.GetActivePage()))
        CChangedPages::MarkAllPagesChanged(site);
}

// The paper and margins the program prints with, kept for the run.
wxPageSetupDialogData& PageSetupData()
{
    static wxPageSetupDialogData data;
    return data;
}

} // namespace

void BindFrameEvents(CMainFrame& frame)
{
    frame.Bind(EVT_LAUNCH_COMPANION_TOOL, [](wxCommandEvent& event) { LaunchCompanionTool(event.GetInt()); });
}

bool HandleFrameCommand(CMainFrame& frame, int id)
{
    if (HandleBrowserCommand(frame, id))
        return true;
    if (const std::optional<AlignMode> mode = AlignModeOf(id)) {
        COrvelView* view = ActiveViewOf(frame);
        if (view && view->GetPage() && CanAlign(*view->GetPage()))
            ChangeSelection(*view, false, [&](CSitePage& page) {
                Align(page, *mode);
                return true;
            });
        return true;
    }
    if (id == ID_SCALE_TO_PICTURE_FILL) {
        COrvelView* view = ActiveViewOf(frame);
        if (view && view->GetPage() && CanScaleToPictureFill(*view->GetPage())) {
            GetCoreServices().EndAllTextEditing();
            ChangeSelection(*view, true, [](CSitePage& page) { return ScaleToPictureFill(page); });
        }
        return true;
    }
    if (id == ID_REMOVE_MOUSEOVER) {
        COrvelView* view = ActiveViewOf(frame);
        if (view && view->GetPage() && MouseOverToRemove(*view->GetPage())) {
            ChangeSelection(*view, true, [](CSitePage& page) {
                CPageItem* item = MouseOverToRemove(page);
                page.GetUndoManager()->RecordUndo(UndoKind::mouseOverRemoved);
                // The undo step keeps its own copy of the effect.
                if (std::unique_ptr<CPageObject> twin = item->RemoveMouseOverObject())
                    twin->FreeCaches();
                item->GetCurrentObject()->SetDirty();
                page.SetModified();
                return true;
            });
            frame.NotifyInspector(CSitePage::kCommandDone);
        }
        return true;
    }
    if (id == ID_HELP_SUPPORT || id == ID_MORE_SOFTWARE) {
        OpenWithDefaultHandler(GetMakerHomePage() + (id == ID_HELP_SUPPORT ? "/support" : "/software"));
        return true;
    }
    if (id == ID_DELETE_PAGE) {
        // The page's window closes on the way: not while its own events are being handled.
        if (CanDeletePage(frame))
            frame.CallAfter([&frame] { DeleteCurrentPage(frame); });
        return true;
    }
    if (id == ID_PRINT_SETUP) {
        wxPageSetupDialog dialog(&frame, &PageSetupData());
        if (dialog.ShowModal() == wxID_OK)
            PageSetupData() = dialog.GetPageSetupDialogData();
        return true;
    }
    if (id == ID_UPGRADE_NOTICE) {
        CUpgradeDLG notice(&frame);
        if (notice.IsOk())
            notice.ShowModal();
        return true;
    }
    if (IsToolItem(id)) {
        if (CToolsBar* tools = frame.GetToolsBar())
            tools->SetTool(ToolOfItem(id));
        return true;
    }
    return false;
}

bool UpdateFrameCommand(CMainFrame& frame, wxUpdateUIEvent& event)
{
    if (UpdateBrowserCommand(frame, event))
        return true;
    const int id = event.GetId();
    const CSitePage* page = frame.GetCurrentSite() ? frame.GetActivePage() : nullptr;
    if (AlignModeOf(id)) {
        event.Enable(page && CanAlign(*page));
        return true;
    }
    if (id == ID_SCALE_TO_PICTURE_FILL) {
        event.Enable(page && CanScaleToPictureFill(*page));
        return true;
    }
    if (id == ID_REMOVE_MOUSEOVER) {
        event.Enable(page && MouseOverToRemove(*page));
        return true;
    }
    if (id == ID_HELP_SUPPORT || id == ID_MORE_SOFTWARE || id == ID_PRINT_SETUP || id == ID_UPGRADE_NOTICE) {
        event.Enable(true);
        return true;
    }
    if (id == ID_DELETE_PAGE) {
        event.Enable(CanDeletePage(frame));
        return true;
    }
    if (IsToolItem(id)) {
        const CToolsBar* tools = frame.GetToolsBar();
        const size_t entry = static_cast<size_t>(ToolOfItem(id) - 1);
        event.SetText("&" + BytesToWx(ResourceText(kToolNameIds[entry])));
        event.Enable(tools != nullptr);
        event.Check(tools && tools->GetTool() == ToolOfItem(id));
        return true;
    }
    return false;
}

// The program's own answer: the page window goes, and the window that comes forward names the current page.
CSitePage* CProgramServices::CloseActivePageWindow()
{
    COrvelFrame* window = m_pFrame ? m_pFrame->GetActivePageWindow() : nullptr;
    if (!window)
        return nullptr;
    delete window;
    COrvelFrame* next = m_pFrame->GetActivePageWindow();
    if (!next && !m_pFrame->GetPageWindows().empty())
        next = m_pFrame->GetPageWindows().front();
    if (!next)
        return nullptr;
    next->Activate();
    return next->GetPage();
}
