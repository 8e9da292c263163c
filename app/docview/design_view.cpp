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

#include <cmath>
#include <map>
#include <memory>

#include "app/docview/message_dlg.h"
#include "app/docview/view_geometry.h"
#include "app/docview/view_hit_test.h"
#include "app/model/fill_info.h"
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
constexpr unsigned kAnimatedGifMarker = 489;

const wxColour kSurround(190, 190, 190);
const wxColour kSelectionColour(0, 128, 255);
const wxColour kMouseOverColour(64, 192, 64);
const wxColour kGuideColour(144, 131, 255);
const wxColour kTextFrameColour(255, 64, 0);

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

int RoundHalfUpToInt(double v)
{
    return static_cast<int>(std::floor(v + 0.5));
}

// The marker of an animated GIF picture, 12 x 12; null when its bitmap is missing.
const wxBitmap* AnimatedGifMarker()
{
    static const wxBitmap marker = [] {
        wxImage image;
        const wxString file = wxString::FromUTF8(GetBitmapResourcePath(kAnimatedGifMarker).string());
        if (!wxFileExists(file) || !image.LoadFile(file, wxBITMAP_TYPE_PNG))
            return wxBitmap();
        if (image.GetWidth() != 12 || image.GetHeight() != 12)
            image.Rescale(12, 12);
        return wxBitmap(image);
    }();
    return marker.IsOk() ? &marker : nullptr;
}

// The frame through handles 0, 2, 7, 5 and the eight 5 x 5 squares; with the animated-GIF marker hanging from the
// top-right handle under the squares when asked.
void DrawHandles(wxDC& dc, const DPOINT* handles, const CPoint& offset, const wxColour& squares,
                 bool animated = false)
{
    wxPoint points[8];
    for (int i = 0; i < 8; ++i)
        points[i] = wxPoint(RoundHalfUpToInt(handles[i].x) + offset.x, RoundHalfUpToInt(handles[i].y) + offset.y);
    const wxPoint outline[] = {points[0], points[2], points[7], points[5], points[0]};
    dc.SetPen(wxPen(kSelectionColour, 1));
    dc.DrawLines(5, outline);
    if (const wxBitmap* marker = animated ? AnimatedGifMarker() : nullptr)
        dc.DrawBitmap(*marker, points[2].x - 11, points[2].y);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(squares));
    for (const wxPoint& p : points)
        dc.DrawRectangle(p.x - 2, p.y - 2, 5, 5);
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

bool COrvelView::FramesMeet(const CRect& clip) const
{
    CRect band;
    if (m_tools->IsTextBand() || m_tools->IsDragging() || m_tools->GetBand(band))
        return true;
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    CRect near = clip;
    if (m_pPage->IsEditingInPlace()) {
        // The edit frame's sides, with the marks and arrows that reach up to 6 pixels off them; inside and
        // outside the frame it draws nothing.
        const CPageObject* edited = m_pPage->GetEditedObject();
        if (edited && IsActive()) {
            const DPOINT* handles = edited->GetHandlePoints();
            const auto at = [&](int i) {
                return CPoint(static_cast<int>(handles[i].x) + origin.x - scroll.x,
                              static_cast<int>(handles[i].y) + origin.y - scroll.y);
            };
            const int corners[] = {0, 2, 7, 5, 0};
            for (int i = 0; i < 4; ++i) {
                const CPoint a = at(corners[i]), b = at(corners[i + 1]);
                CRect side(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
                side.InflateRect(8, 8);
                if (near.IntersectRect(side, clip))
                    return true;
            }
        }
    } else if (IsActive()) {
        CRect selection = GetSelectionRect();
        // The handles' squares reach two pixels past the frame.
        selection.InflateRect(3, 3);
        if (near.IntersectRect(selection, clip))
            return true;
    }
    if (m_pPage->AreGuidesHidden())
        return false;
    for (int i = 0; i < m_pPage->GetGuideCount(true); ++i) {
        const int y = m_pPage->GetGuide(true, i) + origin.y - scroll.y;
        if (y >= clip.top - 2 && y <= clip.bottom + 1)
            return true;
    }
    for (int i = 0; i < m_pPage->GetGuideCount(false); ++i) {
        const int x = m_pPage->GetGuide(false, i) + origin.x - scroll.x;
        if (x >= clip.left - 2 && x <= clip.right + 1)
            return true;
    }
    return false;
}

void COrvelView::DrawFrames(wxDC& memory, const CRect& clip)
{
    if (m_pPage->IsEditingInPlace() && IsActive())
        DrawTextEditFrame(memory);
    if (m_tools->IsTextBand()) {
        const CRect band = PageRectToClient(m_tools->GetTextBandRect());
        memory.SetPen(wxPen(kTextFrameColour, 1));
        memory.SetBrush(*wxTRANSPARENT_BRUSH);
        memory.DrawRectangle(band.left + 3, band.top + 3, band.Width() - 6, band.Height() - 6);
    }
    if (IsActive() && !m_tools->IsDragging() && !m_tools->IsTextBand() && !m_pPage->IsEditingInPlace())
        DrawSelection(memory);
    DrawBand(memory);
    if (!m_pPage->AreGuidesHidden())
        DrawGuides(memory, clip);
}

void COrvelView::DrawSelection(wxDC& dc) const
{
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    const CPoint offset(origin.x - scroll.x, origin.y - scroll.y);
    for (int i = 0; i < m_pPage->GetGroupCount(); ++i) {
        const CObjectFrame* group = m_pPage->GetGroupAt(i);
        if (!group->IsSelected())
            continue;
        if (group->IsGroup()) {
            DrawHandles(dc, group->GetHandles(), offset, kSelectionColour);
            continue;
        }
        for (int j = 0; j < group->GetItemCount(); ++j) {
            const CPageItem* item = group->GetItem(j);
            const CPageObject* object = item->GetCurrentObject();
            const CFillInfo* fill = object->GetFill();
            DrawHandles(dc, object->GetHandlePoints(), offset,
                        item->HasMouseOver() ? kMouseOverColour : kSelectionColour, fill && fill->IsAnimated());
        }
    }
}

void COrvelView::DrawGuides(wxDC& dc, const CRect& clip) const
{
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    dc.SetPen(wxPen(kGuideColour, 1));
    // The lines reach a pixel past the area each way: a line's end pixel is only partly covered, and a guide
    // repainted in pieces would show each piece's first pixel paler.
    for (int i = 0; i < m_pPage->GetGuideCount(true); ++i) {
        const int y = m_pPage->GetGuide(true, i) + origin.y - scroll.y;
        dc.DrawLine(clip.left - 1, y, clip.right + 1, y);
    }
    for (int i = 0; i < m_pPage->GetGuideCount(false); ++i) {
        const int x = m_pPage->GetGuide(false, i) + origin.x - scroll.x;
        dc.DrawLine(x, clip.top - 1, x, clip.bottom + 1);
    }
}

void COrvelView::DrawTextEditFrame(wxDC& dc) const
{
    const CPageObject* edited = m_pPage->GetEditedObject();
    if (!edited)
        return;
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    const DPOINT* handles = edited->GetHandlePoints();
    wxPoint p[8];
    for (int i = 0; i < 8; ++i)
        p[i] = wxPoint(static_cast<int>(handles[i].x) + origin.x - scroll.x,
                       static_cast<int>(handles[i].y) + origin.y - scroll.y);
    const wxPoint outline[] = {p[0], p[2], p[7], p[5], p[0]};
    dc.SetPen(wxPen(kTextFrameColour, 1));
    dc.DrawLines(5, outline);
    // Arrows at the sides that change the width, pointing outwards: columns of 5, 3 and 1 pixels.
    for (int side : {-1, 1}) {
        const wxPoint at = side < 0 ? p[3] : p[4];
        for (int step = 1; step <= 3; ++step)
            dc.DrawLine(at.x + side * step, at.y - (3 - step), at.x + side * step, at.y + (3 - step) + 1);
    }
    // Move marks above and below: two 4-pixel bars 2 pixels apart, joined at both ends, and a tick to the handle.
    for (int side : {-1, 1}) {
        const wxPoint at = side < 0 ? p[1] : p[6];
        const int near = at.y + side * 3, far = at.y + side * 6;
        dc.DrawLine(at.x - 2, near, at.x + 2, near);
        dc.DrawLine(at.x - 2, far, at.x + 2, far);
        dc.DrawPoint(at.x - 2, (near + far) / 2);
        dc.DrawPoint(at.x + 1, (near + far) / 2);
        dc.DrawLine(at.x, at.y + side, at.x, at.y + side * 3);
    }
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

// The band of the rubber band, picture and HTML tools: a dotted black line over a white one, so that it shows on
// any page and leaves nothing behind when the area under it is painted again.
void COrvelView::DrawBand(wxDC& dc) const
{
    CRect band;
    if (!m_tools->GetBand(band))
        return;
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    band.OffsetRect(origin.x - scroll.x, origin.y - scroll.y);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(*wxWHITE, 1));
    dc.DrawRectangle(band.left, band.top, band.Width() + 1, band.Height() + 1);
    dc.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_SHORT_DASH));
    dc.DrawRectangle(band.left, band.top, band.Width() + 1, band.Height() + 1);
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
