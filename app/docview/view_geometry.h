#pragma once

// The arithmetic of the design view, apart from any window: where the page sits in the client area, how client
// points map to page points under scrolling, the scroll steps, and how the area to paint splits into the grey
// surround and the page, in the tiles the page is drawn through.

#include <functional>
#include <vector>

#include "platform/win/win_types.h"

// The client offset of the page's top-left corner: half the spare width and height when the client area is larger
// than the page, else 0.
CPoint GetPageOrigin(const CSize& client, const CSize& page);

// page point = client point - page origin + scroll position.
CPoint ClientToPage(const CPoint& client, const CPoint& origin, const CPoint& scroll);
CPoint PageToClient(const CPoint& page, const CPoint& origin, const CPoint& scroll);

// A page rectangle in client coordinates, 3 pixels larger on every side (room for the handles).
CRect PageRectToClient(const CRect& page, const CPoint& origin, const CPoint& scroll);

// The part of the page the client area shows: from the scroll position, right and bottom limited to the page.
CRect GetVisiblePageRect(const CPoint& scroll, const CSize& client, const CSize& page);

struct ScrollSizes
{
    CSize total; // the page size
    CSize page;  // one screen: the page size limited to the client size
    CSize line;  // a tenth of the page size
};
ScrollSizes ComputeScrollSizes(const CSize& page, const CSize& client);

// The scroll position brought within 0 .. page size - client size on each axis.
CPoint ClampScrollPosition(const CPoint& scroll, const CSize& client, const CSize& page);

// The parts of an area (page coordinates) that lie outside a page of the given size: above, below, left and right
// of it, in that order; left and right are limited to the page's rows. Empty parts are left out.
std::vector<CRect> SurroundParts(const CRect& area, const CSize& page);

// Calls draw for each tile of at most tileSize x tileSize pixels of rect, row by row, left to right in a row.
void ForEachTile(const CRect& rect, int tileSize, const std::function<void(const CRect&)>& draw);
