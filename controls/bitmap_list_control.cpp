#include "controls/bitmap_list_control.h"

#include "platform/transform/rotate_scale.h"

#include <algorithm>
#include <wx/dc.h>
#include <wx/settings.h>

namespace {

constexpr ControlRgb kListWhite{255, 255, 255};
constexpr ControlRgb kListShadow{128, 128, 128};
constexpr ControlRgb kFace{223, 223, 223};
constexpr ControlRgb kArrow{48, 48, 48};
constexpr ControlRgb kHover{128, 128, 128};
constexpr ControlRgb kSelection{0, 84, 166};
constexpr int kScrollInterval = 60; // milliseconds between scroll steps while an area is held

bool Inside(const CRect& rect, const CPoint& point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

// A one-pixel frame of w x h at (x, y).
void Frame(DisplayBuffer& buffer, int x, int y, int w, int h, ControlRgb topLeft, ControlRgb bottomRight)
{
    buffer.FillRect(x, y + h - 1, w, 1, bottomRight);
    buffer.FillRect(x + w - 1, y, 1, h, bottomRight);
    buffer.FillRect(x, y, w - 1, 1, topLeft);
    buffer.FillRect(x, y, 1, h - 1, topLeft);
}

// A scroll area: a button face, sunken while held, with a solid triangle pointing the way the strip moves.
void DrawScrollArea(DisplayBuffer& area, bool pointsLeft, bool held)
{
    const int w = area.Width(), h = area.Height();
    area.Fill(kFace);
    if (held)
        Frame(area, 0, 0, w, h, kListShadow, kListWhite);
    else
        Frame(area, 0, 0, w, h, kListWhite, kListShadow);
    const int half = std::max(std::min(w / 2 - 2, h / 4), 1);
    const int tipX = (w - half) / 2 + (held ? 1 : 0) + (pointsLeft ? 0 : half - 1);
    const int midY = h / 2 + (held ? 1 : 0);
    for (int i = 0; i < half; ++i) {
        const int x = pointsLeft ? tipX + i : tipX - i;
        area.FillRect(x, midY - i, 1, 2 * i + 1, kArrow);
    }
}

} // namespace

namespace detail {

BitmapListLayout LayOutBitmapList(int clientWidth, int clientHeight, int edgeX, int edgeY, int scrollWidth, int rows)
{
    rows = std::max(rows, 1);
    BitmapListLayout layout;
    const int usable = clientHeight - 2 * edgeY - rows + 1;
    if (usable < rows)
        return layout;
    layout.listHeight = rows * (usable / rows + 1) - 1;
    layout.thumb = std::max(layout.listHeight / rows - 2, 0);
    const int bottom = edgeY + layout.listHeight;
    layout.left = CRect(edgeX, edgeY, edgeX + scrollWidth, bottom);
    layout.right = CRect(clientWidth - edgeX - scrollWidth, edgeY, clientWidth - edgeX, bottom);
    layout.list = CRect(layout.left.right + 1, edgeY, std::max(layout.right.left - 1, layout.left.right + 1), bottom);
    return layout;
}

int BitmapListItemAt(int x, int y, int listLeft, int listTop, int offset, int thumb, int rows, int count)
{
    const int cell = thumb + 3;
    rows = std::max(rows, 1);
    if (thumb < 1 || x < listLeft || y < listTop)
        return -1;
    const int row = (y - listTop) / cell;
    // Below the last row the formula would run on into the next column's items.
    if (row >= rows)
        return -1;
    const int index = row + (offset + x - listLeft) / cell * rows;
    return index < count ? index : -1;
}

int BitmapListMaxOffset(int count, int rows, int thumb, int listWidth)
{
    rows = std::max(rows, 1);
    const int columns = (count + rows - 1) / rows;
    return std::max(columns * (thumb + 3) - 1 - listWidth, 0);
}

} // namespace detail

CBitmapListControl::CBitmapListControl()
{
    m_timer.SetOwner(this);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { ScrollTick(); });
    Bind(wxEVT_MOTION, &CBitmapListControl::OnMove, this);
    Bind(wxEVT_LEAVE_WINDOW, &CBitmapListControl::OnLeave, this);
}

CBitmapListControl::~CBitmapListControl()
{
    m_timer.Stop();
}

void CBitmapListControl::Init(int scrollWidth, int value, int rows, int step)
{
    m_scrollWidth = std::max(scrollWidth, 0);
    m_value = value;
    m_rows = std::max(rows, 1);
    m_step = step;
    // GTK has no edge metric and answers -1.
    m_edgeX = std::max(wxSystemSettings::GetMetric(wxSYS_EDGE_X, this), 2);
    m_edgeY = std::max(wxSystemSettings::GetMetric(wxSYS_EDGE_Y, this), 2);
    const CSize client = ClientSize();
    const detail::BitmapListLayout layout =
        detail::LayOutBitmapList(client.cx, client.cy, m_edgeX, m_edgeY, m_scrollWidth, m_rows);
    m_thumb = layout.thumb;
    m_leftArea = layout.left;
    m_rightArea = layout.right;
    m_list = layout.list;
    Update();
}

bool CBitmapListControl::Add(const CImage* image)
{
    if (!image || image->IsEmpty() || m_thumb < 1)
        return false;
    const CColor white(255, 255, 255);
    const std::unique_ptr<CImage> scaled = CRotateScale(*image).Transform(m_thumb, m_thumb, 0.0, nullptr, &white);
    if (!scaled)
        return false;
    const bool grey = scaled->GetMode() == IMAGE_MODE_GREY;
    CPixMap map(grey ? IMAGE_MODE_GREY : IMAGE_MODE_RGB, m_thumb, m_thumb);
    if (!scaled->GetBuf(0, 0, map))
        return false;
    auto picture = std::make_unique<DisplayBuffer>(m_thumb, m_thumb);
    for (int y = 0; y < m_thumb; ++y) {
        for (int x = 0; x < m_thumb; ++x) {
            const unsigned char* s = map.Sample(x, y, 0);
            const ControlRgb c = grey ? ControlRgb{s[0], s[0], s[0]} : ControlRgb{s[0], s[1], s[2]};
            picture->FillRect(x, y, 1, 1, c);
        }
    }
    m_items.push_back({std::move(picture), 0});
    return true;
}

void CBitmapListControl::Add(unsigned long colorref)
{
    m_items.push_back({nullptr, colorref});
}

void CBitmapListControl::Remove(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    m_items.erase(m_items.begin() + index);
    if (m_selected == index)
        m_selected = -1;
    else if (m_selected > index)
        --m_selected;
    if (m_hover >= GetCount())
        m_hover = -1;
}

int CBitmapListControl::GetMaxOffset() const
{
    return detail::BitmapListMaxOffset(GetCount(), m_rows, m_thumb, m_list.Width());
}

void CBitmapListControl::Update()
{
    const int cell = m_thumb + 3;
    const int columns = (GetCount() + m_rows - 1) / m_rows;
    m_strip.Resize(std::max(m_list.Width(), columns * cell), std::max(m_list.Height(), 0));
    m_strip.Fill(kListWhite);
    for (int i = 0; i < GetCount(); ++i) {
        const int x = i / m_rows * cell + 1, y = i % m_rows * cell + 1;
        const Item& item = m_items[i];
        if (item.picture)
            m_strip.Paste(*item.picture, x, y);
        else
            m_strip.FillRect(x, y, m_thumb, m_thumb,
                             {static_cast<uint8_t>(item.colorref & 0xff), static_cast<uint8_t>(item.colorref >> 8),
                              static_cast<uint8_t>(item.colorref >> 16)});
    }
    m_offset = std::min(m_offset, GetMaxOffset());
    Refresh(false);
    wxWindow::Update();
}

int CBitmapListControl::ItemAt(const CPoint& point) const
{
    if (!Inside(m_list, point))
        return -1;
    return detail::BitmapListItemAt(point.x, point.y, m_list.left, m_list.top, m_offset, m_thumb, m_rows, GetCount());
}

void CBitmapListControl::ScrollTick()
{
    const int before = m_offset;
    if (m_scrolling > 0)
        m_offset = std::min(m_offset + m_step, GetMaxOffset());
    else if (m_scrolling < 0)
        m_offset = std::max(m_offset - m_step, 0);
    if (m_offset != before)
        Refresh(false);
}

bool CBitmapListControl::PressStartsDrag(const CPoint&)
{
    return true;
}

void CBitmapListControl::DragStarted(const CPoint& point)
{
    if (Inside(m_leftArea, point) || Inside(m_rightArea, point)) {
        m_scrolling = Inside(m_leftArea, point) ? 1 : -1;
        ScrollTick();
        m_timer.Start(kScrollInterval);
        Refresh(false);
        return;
    }
    if (!Inside(m_list, point))
        return;
    const int index = ItemAt(point);
    if (index != m_selected) {
        m_selected = index;
        Refresh(false);
        Notify(BITMAP_LIST_NOTIFY_SELECTED);
    }
}

void CBitmapListControl::DragEnded(const CPoint&, bool captureLost)
{
    m_timer.Stop();
    m_scrolling = 0;
    Refresh(false);
    if (!captureLost)
        Notify(BITMAP_LIST_NOTIFY_RELEASED);
}

void CBitmapListControl::OnMove(wxMouseEvent& event)
{
    event.Skip();
    const int hover = ItemAt(CPoint(event.GetX(), event.GetY()));
    if (hover != m_hover) {
        m_hover = hover;
        Refresh(false);
    }
}

void CBitmapListControl::OnLeave(wxMouseEvent& event)
{
    event.Skip();
    if (m_hover != -1) {
        m_hover = -1;
        Refresh(false);
    }
}

void CBitmapListControl::Paint(wxDC& dc)
{
    const CSize client = ClientSize();
    CPixMap canvas(IMAGE_MODE_RGBA, std::max<int>(client.cx, 1), std::max<int>(client.cy, 1));
    ClearMap(canvas);
    if (m_list.Width() > 0 && m_list.Height() > 0) {
        DisplayBuffer view(m_list.Width(), m_list.Height());
        view.Paste(m_strip, -m_offset, 0);
        const int cell = m_thumb + 3;
        auto frame = [&](int index, ControlRgb colour) {
            if (index < 0 || index >= GetCount())
                return;
            const int x = index / m_rows * cell - m_offset, y = index % m_rows * cell;
            Frame(view, x, y, m_thumb + 2, m_thumb + 2, colour, colour);
        };
        if (m_hover != m_selected)
            frame(m_hover, kHover);
        frame(m_selected, kSelection);
        PasteOpaque(canvas, view, m_list.left, m_list.top);
        // The list sits in a sunken well reaching over the one-pixel gaps beside it.
        const CRect well(m_list.left - 1, m_list.top - 1, m_list.right + 1, m_list.bottom + 1);
        FillMapRect(canvas, well.left, well.top, well.Width(), 1, kListShadow);
        FillMapRect(canvas, well.left, well.bottom - 1, well.Width(), 1, kListWhite);
    }
    for (const auto& [area, left] : {std::pair{m_leftArea, true}, std::pair{m_rightArea, false}}) {
        if (area.Width() <= 0 || area.Height() <= 0)
            continue;
        DisplayBuffer picture(area.Width(), area.Height());
        DrawScrollArea(picture, left, m_scrolling == (left ? 1 : -1));
        PasteOpaque(canvas, picture, area.left, area.top);
    }
    DrawMap(dc, canvas, 0, 0);
}
