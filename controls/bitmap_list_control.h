#pragma once

// CBitmapListControl: a strip of square thumbnails (pictures or colour swatches) in one or more rows, with a
// scroll area at either end and a selection. Holding the mouse on the left scroll area moves the strip left (to
// later items), on the right one back towards the first item. Notifies 4033 when a click changes the selection
// and 4034 when the mouse button is released.

#include "controls/owner_drawn_control.h"

#include <memory>
#include <vector>
#include <wx/timer.h>

constexpr UINT BITMAP_LIST_NOTIFY_SELECTED = 4033;
constexpr UINT BITMAP_LIST_NOTIFY_RELEASED = 4034;

class CBitmapListControl : public COwnerDrawnControl
{
public:
    CBitmapListControl();
    ~CBitmapListControl() override;

    // scrollWidth: the width of each scroll area; value: kept for the owner, it has no effect here; rows: rows of
    // thumbnails (below 1 counts as 1); step: pixels the strip moves per scroll tick. Lays the control out for its
    // client size: thumbnails as tall as fit the rows between the edges.
    void Init(int scrollWidth, int value, int rows, int step);

    // A picture item, scaled to the thumbnail size; false, with nothing added, when the image cannot be scaled.
    bool Add(const CImage* image);
    // A colour-swatch item (COLORREF: red in the low byte).
    void Add(unsigned long colorref);
    // Removes an item (nothing for an index out of range); the selection follows the items after it and is lost
    // with the item itself.
    void Remove(int index);
    // No repaint, no notification.
    void Select(int index) { m_selected = index; }
    int GetSelected() const { return m_selected; }
    // Rebuilds the strip from the items and repaints.
    void Update() override;

    int GetCount() const { return static_cast<int>(m_items.size()); }
    int GetThumbSize() const { return m_thumb; }
    int GetOffset() const { return m_offset; }
    int GetMaxOffset() const;
    int GetHover() const { return m_hover; }
    CRect LeftScrollArea() const { return m_leftArea; }
    CRect RightScrollArea() const { return m_rightArea; }
    CRect ListArea() const { return m_list; }
    const DisplayBuffer& Strip() const { return m_strip; }
    // The item under a point of the list, -1 where there is none.
    int ItemAt(const CPoint& point) const;

protected:
    bool PressStartsDrag(const CPoint& point) override;
    void DragStarted(const CPoint& point) override;
    void DragEnded(const CPoint& point, bool captureLost) override;
    void Paint(wxDC& dc) override;

private:
    struct Item
    {
        std::unique_ptr<DisplayBuffer> picture; // null for a colour item
        unsigned long colorref = 0;
    };

    void ScrollTick();
    void OnMove(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);

    int m_scrollWidth = 0;
    int m_value = 0;
    int m_edgeX = 2;
    int m_edgeY = 2;
    int m_rows = 1;
    int m_step = 1;
    int m_offset = 0;
    int m_selected = -1;
    int m_thumb = 0;
    int m_hover = -1;
    int m_scrolling = 0; // +1 while the left area is held, -1 for the right one
    std::vector<Item> m_items;
    CRect m_leftArea, m_rightArea, m_list;
    DisplayBuffer m_strip;
    wxTimer m_timer;
};

namespace detail {

// The layout of a list of rows in a client area (edges as the system gives them): the list height and thumbnail
// size, and the three areas. Rows below 1 count as 1; a client too small leaves empty areas.
struct BitmapListLayout
{
    int listHeight = 0;
    int thumb = 0;
    CRect left, right, list;
};
BitmapListLayout LayOutBitmapList(int clientWidth, int clientHeight, int edgeX, int edgeY, int scrollWidth, int rows);

// The item under (x, y) of a list at (listLeft, listTop) scrolled by offset, with thumbnails of size thumb in rows;
// -1 when it is not below count or the point lies before the list.
int BitmapListItemAt(int x, int y, int listLeft, int listTop, int offset, int thumb, int rows, int count);

// The largest offset: where the last column of thumbnails reaches the list's right end.
int BitmapListMaxOffset(int count, int rows, int thumb, int listWidth);

} // namespace detail
