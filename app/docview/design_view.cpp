#include "app/docview/design_view.h"

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/filefn.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/rawbmp.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <map>
#include <memory>

#include "app/docview/message_dlg.h"
#include "app/docview/view_geometry.h"
#include "app/docview/view_hit_test.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/page_object.h"
#include "app/objects/text_object.h"
#include "app/site/edit_commands.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/gui/text_bytes.h"
#include "platform/gui/xrc_resources.h"
#include "platform/resources/resource_folder.h"
#include "platform/resources/string_table.h"

namespace {

constexpr const char* kContextMenu = "328";

const wxColour kSurround(190, 190, 190);

// A text of the table for a window (the table holds Windows-1252).
wxString WindowText(unsigned id)
{
    return wxString(ResourceText(id).c_str(), wxConvISO8859_1);
}

// The off-screen bitmap a paint composes its area in: the area's size, kept while paints ask for that size again
// (a caret's blink does). Once it could not be made, views paint nothing more.
struct OffscreenBuffer
{
    wxBitmap bitmap;
    bool failed = false;

    bool Ensure(const wxSize& area)
    {
        if (failed)
            return false;
        if (bitmap.IsOk() && bitmap.GetSize() == area)
            return true;
        bitmap = wxBitmap(area.x, area.y, 24);
        failed = !bitmap.IsOk();
        if (failed)
            CMessageDlg(nullptr, wxString(), BytesToWx(ResourceText(IDS_NO_RESOURCES)), wxOK, MessageIcon::error)
                .ShowModal();
        return !failed;
    }
};

// Moves the view's pixels (blue, green, red) into a bitmap of their size.
bool CopyToBitmap(const ViewPixels& pixels, wxBitmap& bitmap)
{
    wxNativePixelData data(bitmap);
    if (!data)
        return false;
    wxNativePixelData::Iterator row(data);
    for (int y = 0; y < pixels.height; ++y) {
        wxNativePixelData::Iterator p = row;
        const BYTE* from = pixels.Row(y);
        for (int x = 0; x < pixels.width; ++x, ++p, from += 3) {
            p.Red() = from[2];
            p.Green() = from[1];
            p.Blue() = from[0];
        }
        row.OffsetY(data, 1);
    }
    return true;
}

OffscreenBuffer& Offscreen()
{
    static OffscreenBuffer buffer;
    return buffer;
}

} // namespace

wxPoint ViewCursorHotSpot(int id)
{
    // The arrow and the eyedropper point with their tips, the others with their middles.
    if (id == kCursorArrow)
        return wxPoint(2, 2);
    if (id == kCursorEyedropper)
        return wxPoint(2, 29);
    return wxPoint(15, 15);
}

const wxCursor& ViewCursor(int id)
{
    static std::map<int, wxCursor> cursors;
    auto found = cursors.find(id);
    if (found != cursors.end())
        return found->second;
    // Magenta is transparent; a bitmap that is missing gives the toolkit's arrow.
    wxCursor cursor(wxCURSOR_ARROW);
    wxImage image;
    const wxString file = wxString::FromUTF8(GetBitmapResourcePath(static_cast<unsigned>(id)).string());
    if (wxFileExists(file) && image.LoadFile(file, wxBITMAP_TYPE_PNG)) {
        image.SetMaskColour(255, 0, 255);
        const wxPoint hotSpot = ViewCursorHotSpot(id);
        image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_X, hotSpot.x);
        image.SetOption(wxIMAGE_OPTION_CUR_HOTSPOT_Y, hotSpot.y);
        cursor = wxCursor(image);
    }
    return cursors.emplace(id, cursor).first->second;
}


COrvelView::COrvelView(wxWindow* parent, CSitePage* page)
    : wxScrolledCanvas(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxHSCROLL | wxVSCROLL | wxWANTS_CHARS),
      m_pPage(page), m_hitMap(IMAGE_MODE_RGBA, CSitePage::kRenderBufferSize, CSitePage::kRenderBufferSize)
{
    // The paint covers the whole client area, so nothing is erased first.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // Scrolling moves by pixels; the line step is the view's own.
    SetScrollRate(1, 1);
    UpdateScrollSizes();
    Bind(wxEVT_PAINT, &COrvelView::OnPaint, this);
    Bind(wxEVT_SIZE, &COrvelView::OnSize, this);
    Bind(wxEVT_SET_CURSOR, &COrvelView::OnSetCursor, this);
    Bind(wxEVT_CONTEXT_MENU, &COrvelView::OnContextMenu, this);
    Bind(wxEVT_SCROLLWIN_LINEUP, &COrvelView::OnScrollLine, this);
    Bind(wxEVT_SCROLLWIN_LINEDOWN, &COrvelView::OnScrollLine, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &COrvelView::OnCaptureLost, this);
    Bind(wxEVT_LEFT_DOWN, &COrvelView::OnLButtonDown, this);
    Bind(wxEVT_MOTION, &COrvelView::OnMouseMove, this);
    Bind(wxEVT_LEFT_UP, &COrvelView::OnLButtonUp, this);
    Bind(wxEVT_LEFT_DCLICK, &COrvelView::OnLButtonDblClk, this);
    Bind(wxEVT_CHAR, &COrvelView::OnChar, this);
    Bind(wxEVT_KEY_DOWN, &COrvelView::OnKeyDown, this);
    Bind(wxEVT_KEY_UP, &COrvelView::OnKeyUp, this);
    Bind(wxEVT_SET_FOCUS, &COrvelView::OnFocusChange, this);
    Bind(wxEVT_KILL_FOCUS, &COrvelView::OnFocusChange, this);
    m_caretTimer.SetOwner(this);
    Bind(wxEVT_TIMER, &COrvelView::OnCaretTimer, this, m_caretTimer.GetId());
    TakeDroppedFiles();
    MouseToolHost& host = *this;
    m_tools = std::make_unique<CMouseTools>(*m_pPage, host);
}

COrvelView::~COrvelView()
{
    m_pPage->ReleaseCachedImages();
}

CPoint COrvelView::GetPageOrigin() const
{
    const wxSize client = GetClientSize();
    return ::GetPageOrigin(CSize(client.x, client.y), CSize(m_pPage->GetWidth(), m_pPage->GetHeight()));
}

CPoint COrvelView::GetScrollPosition() const
{
    const wxPoint start = GetViewStart();
    return CPoint(start.x, start.y);
}

CPoint COrvelView::ClientToPage(const CPoint& client) const
{
    return ::ClientToPage(client, GetPageOrigin(), GetScrollPosition());
}

CRect COrvelView::PageRectToClient(const CRect& page) const
{
    return ::PageRectToClient(page, GetPageOrigin(), GetScrollPosition());
}

CRect COrvelView::GetItemClientRect(const CPageItem& item) const
{
    return PageRectToClient(item.GetFullRect());
}

CRect COrvelView::GetSelectionRect() const
{
    CRect selection;
    for (int i = 0; i < m_pPage->GetGroupCount(); ++i) {
        const CObjectFrame* group = m_pPage->GetGroupAt(i);
        if (!group->IsSelected())
            continue;
        if (group->IsGroup()) {
            selection.UnionRect(selection, group->GetUpdateRect(true));
            continue;
        }
        for (int j = 0; j < group->GetItemCount(); ++j)
            selection.UnionRect(selection, group->GetItem(j)->GetFullRect());
    }
    if (selection.IsRectEmpty())
        return CRect();
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    selection.OffsetRect(origin.x - scroll.x, origin.y - scroll.y);
    return selection;
}

CRect COrvelView::GetVisiblePageRect() const
{
    const wxSize client = GetClientSize();
    return ::GetVisiblePageRect(GetScrollPosition(), CSize(client.x, client.y),
                                CSize(m_pPage->GetWidth(), m_pPage->GetHeight()));
}

void COrvelView::UpdateScrollSizes()
{
    SetVirtualSize(m_pPage->GetWidth(), m_pPage->GetHeight());
}

void COrvelView::InvalidateSelection()
{
    const CRect selection = GetSelectionRect();
    if (!selection.IsRectEmpty())
        RefreshRect(wxRect(selection.left, selection.top, selection.Width(), selection.Height()), false);
}

void COrvelView::InvalidateView(bool erase)
{
    Refresh(erase);
}

CSize COrvelView::GetPageSize() const
{
    return m_pPage ? CSize(m_pPage->GetWidth(), m_pPage->GetHeight()) : CSize(0, 0);
}

void COrvelView::ScrollToPosition(const CPoint& position)
{
    Scroll(position.x, position.y);
}

CRect COrvelView::GetViewClientRect() const
{
    const wxSize size = GetClientSize();
    return CRect(0, 0, size.x, size.y);
}

void COrvelView::InvalidateViewRect(const CRect& client, bool erase)
{
    if (!erase)
        RefreshClientRect(client);
    else
        RefreshRect(wxRect(client.left, client.top, client.Width(), client.Height()), erase);
}

void COrvelView::ResetDragState()
{
    m_tools->ResetDragState();
}

bool COrvelView::TakeContextMenuShown()
{
    const bool shown = m_contextMenuShown;
    m_contextMenuShown = false;
    return shown;
}

bool COrvelView::IsActive() const
{
    return GetCurrentView() == this;
}

void COrvelView::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    const wxRect box = GetUpdateRegion().GetBox();
    if (box.IsEmpty())
        return;
    if (m_firstPaint && m_pPage->GetItemCount() > 0) {
        // Rendering a page's objects the first time takes a while; say so meanwhile.
        wxBusyCursor wait;
        dc.SetBackground(wxBrush(kSurround));
        dc.Clear();
        dc.DrawText(WindowText(IDS_LOADING_PAGE), 10, 10);
        m_pPage->RenderDirtyObjects();
    }
    m_firstPaint = false;
    PaintArea(dc, CRect(box.GetLeft(), box.GetTop(), box.GetRight() + 1, box.GetBottom() + 1));
}

void COrvelView::PaintArea(wxDC& dc, const CRect& clip)
{
    if (clip.IsRectEmpty() || !Offscreen().Ensure(wxSize(clip.Width(), clip.Height())))
        return;
    ViewBufferReady = 1;
    const EditedTilePainter edited = EditedTextPainter();
    PaintPageArea(*m_pPage, clip, {GetPageOrigin(), GetScrollPosition()}, m_pixels, edited ? &edited : nullptr);
    m_caret.Draw(m_pixels, clip);

    wxBitmap& bitmap = Offscreen().bitmap;
    if (!CopyToBitmap(m_pixels, bitmap))
        return;
    // Frames and guides are drawn in client coordinates over the page, and only where they meet the area.
    if (FramesMeet(clip)) {
        wxMemoryDC memory(bitmap);
        memory.SetDeviceOrigin(-clip.left, -clip.top);
        memory.SetClippingRegion(clip.left, clip.top, clip.Width(), clip.Height());
        DrawFrames(memory, clip);
    }
    dc.DrawBitmap(bitmap, clip.left, clip.top);
}

void COrvelView::OnSize(wxSizeEvent& event)
{
    UpdateScrollSizes();
    Refresh(false);
    event.Skip();
}

void COrvelView::OnScrollLine(wxScrollWinEvent& event)
{
    const wxSize client = GetClientSize();
    const ScrollSizes sizes =
        ComputeScrollSizes(CSize(m_pPage->GetWidth(), m_pPage->GetHeight()), CSize(client.x, client.y));
    const bool horizontal = event.GetOrientation() == wxHORIZONTAL;
    const int step =
        (horizontal ? sizes.line.cx : sizes.line.cy) * (event.GetEventType() == wxEVT_SCROLLWIN_LINEUP ? -1 : 1);
    CPoint scroll = GetScrollPosition();
    (horizontal ? scroll.x : scroll.y) += step;
    scroll = ClampScrollPosition(scroll, CSize(client.x, client.y), sizes.total);
    Scroll(scroll.x, scroll.y);
}

void COrvelView::SetStatusText(int prompt)
{
    if (auto* frame = wxDynamicCast(wxGetTopLevelParent(this), wxFrame); frame && frame->GetStatusBar())
        frame->SetStatusText(prompt == kPromptNone ? wxString() : WindowText(static_cast<unsigned>(prompt)), 0);
}

void COrvelView::OnSetCursor(wxSetCursorEvent& event)
{
    CursorContext context;
    context.tool = GetToolsAndInspector().GetToolsBarTool();
    context.isCurrentView = IsActive();
    context.dragging = m_tools->IsDragging();
    context.textFrameResize = m_tools->IsTextFrameResize();
    context.textFrameResizeSideways = m_tools->IsTextFrameResizeSideways();
    const CursorChoice choice =
        ChooseCursor(*m_pPage, ClientToPage(CPoint(event.GetX(), event.GetY())), context, m_hitMap);
    SetStatusText(choice.prompt);
    if (choice.keep)
        event.SetCursor(GetCursor());
    else if (choice.cursor != kCursorDefault)
        event.SetCursor(ViewCursor(choice.cursor));
    else
        event.Skip();
}

void COrvelView::OnContextMenu(wxContextMenuEvent& event)
{
    if (m_tools->IsDragging() || m_tools->IsTextBand() || m_tools->IsTextFrameResize() || m_tools->IsGuideDrag())
        return;
    // From the keyboard the menu opens where the mouse is.
    const wxPoint screen = event.GetPosition() == wxDefaultPosition ? wxGetMousePosition() : event.GetPosition();
    const wxPoint client = ScreenToClient(screen);
    m_contextPoint = ClientToPage(CPoint(client.x, client.y));
    if (m_contextPoint.x < 0 || m_contextPoint.y < 0 || m_contextPoint.x >= m_pPage->GetWidth() ||
        m_contextPoint.y >= m_pPage->GetHeight())
        return;
    if (!LoadXrcResources())
        return;
    std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu(kContextMenu));
    if (!menu)
        return;
    // The commands go to the main window, as those of its own menus do. A command chosen may be carried out
    // before the menu call returns, so the point is marked as the menu's first.
    m_contextMenuShown = true;
    wxWindow* owner = wxGetTopLevelParent(this);
    owner->PopupMenu(menu.get(), owner->ScreenToClient(screen));
}

void COrvelView::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    m_tools->OnCaptureLost();
    ResetDragState();
    m_pPage->RenderDirtyObjects();
    Refresh(true);
}

// ---- Mouse tools ----

MouseInput COrvelView::ToMouseInput(const wxMouseEvent& event) const
{
    MouseInput input;
    input.pt = ClientToPage(CPoint(event.GetX(), event.GetY()));
    input.shift = event.ShiftDown();
    input.ctrl = event.ControlDown();
    input.leftDown = event.LeftIsDown();
    return input;
}

void COrvelView::OnLButtonDown(wxMouseEvent& event)
{
    m_tools->OnLButtonDown(ToMouseInput(event));
    // The default handling gives the view the focus.
    event.Skip();
}

void COrvelView::OnMouseMove(wxMouseEvent& event)
{
    m_tools->OnMouseMove(ToMouseInput(event));
    event.Skip();
}

void COrvelView::OnLButtonUp(wxMouseEvent& event)
{
    m_tools->OnLButtonUp(ToMouseInput(event));
    event.Skip();
}

void COrvelView::OnLButtonDblClk(wxMouseEvent& event)
{
    m_tools->OnLButtonDblClk(ToMouseInput(event));
    event.Skip();
}

void COrvelView::HoldMouse()
{
    if (!HasCapture())
        wxWindow::CaptureMouse();
}

void COrvelView::LetMouseGo()
{
    if (HasCapture())
        wxWindow::ReleaseMouse();
}

void COrvelView::InvalidatePageRect(const CRect& rect, bool erase)
{
    if (rect.IsRectEmpty())
        return;
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    CRect client = rect;
    client.OffsetRect(origin.x - scroll.x, origin.y - scroll.y);
    const wxSize size = wxWindow::GetClientSize();
    if (!client.IntersectRect(client, CRect(0, 0, size.x, size.y)))
        return;
    RefreshRect(wxRect(client.left, client.top, client.Width(), client.Height()), erase);
}

void COrvelView::InvalidateAll(bool erase)
{
    Refresh(erase);
}

CSize COrvelView::GetClientExtent() const
{
    const wxSize size = wxWindow::GetClientSize();
    return CSize(size.x, size.y);
}

void COrvelView::ScrollTo(const CPoint& scroll, const CPoint& pointer)
{
    Scroll(scroll.x, scroll.y);
    // Where the display server refuses to move the pointer, the scrolling still follows the drag.
    WarpPointer(pointer.x, pointer.y);
    Refresh(false);
}

void COrvelView::SetStatusText(const std::string& text)
{
    if (auto* frame = wxDynamicCast(wxGetTopLevelParent(this), wxFrame); frame && frame->GetStatusBar())
        frame->SetStatusText(wxString(text.c_str(), wxConvISO8859_1), 0);
}

void COrvelView::SetMoveCursor()
{
    SetCursor(ViewCursor(kCursorMove));
}

void COrvelView::TakeFocus()
{
    SetFocus();
}

void COrvelView::EndTextEditing()
{
    auto* text = dynamic_cast<CTextObject*>(m_pPage->GetEditedObject());
    if (m_pPage->IsEditingInPlace() && text) {
        // Ending the edit takes the page out of in-place editing. A text left empty goes with its item as a step
        // of the history, so that no earlier step names an item that is gone.
        if (!text->EndEdit(this, true) && m_pPage->GetSingleSelectedItem())
            DeleteSelectionWithUndo(*m_pPage);
    } else {
        EndPageTextEditing();
    }
    Refresh(true);
}

void COrvelView::EndPageTextEditing()
{
    if (m_pPage) {
        m_pPage->SetEditingInPlace(false);
        m_pPage->SetEditedObject(nullptr);
    }
}

void COrvelView::RecordPageUndo(UndoKind kind)
{
    if (m_pPage)
        m_pPage->GetUndoManager()->RecordUndo(kind);
}
