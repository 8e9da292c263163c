#include "app/docview/view_geometry.h"

#include <algorithm>

CPoint GetPageOrigin(const CSize& client, const CSize& page)
{
    return CPoint(client.cx > page.cx ? (client.cx - page.cx) / 2 : 0,
                  client.cy > page.cy ? (client.cy - page.cy) / 2 : 0);
}

CPoint ClientToPage(const CPoint& client, const CPoint& origin, const CPoint& scroll)
{
    return CPoint(client.x - origin.x + scroll.x, client.y - origin.y + scroll.y);
}

CPoint PageToClient(const CPoint& page, const CPoint& origin, const CPoint& scroll)
{
    return CPoint(page.x + origin.x - scroll.x, page.y + origin.y - scroll.y);
}

CRect PageRectToClient(const CRect& page, const CPoint& origin, const CPoint& scroll)
{
    CRect client = page;
    client.OffsetRect(origin.x - scroll.x, origin.y - scroll.y);
    client.InflateRect(3, 3);
    return client;
}

CRect GetVisiblePageRect(const CPoint& scroll, const CSize& client, const CSize& page)
{
    return CRect(scroll.x, scroll.y, std::min(scroll.x + client.cx, page.cx), std::min(scroll.y + client.cy, page.cy));
}

ScrollSizes ComputeScrollSizes(const CSize& page, const CSize& client)
{
    return {page, CSize(std::min(page.cx, client.cx), std::min(page.cy, client.cy)), CSize(page.cx / 10, page.cy / 10)};
}

CPoint ClampScrollPosition(const CPoint& scroll, const CSize& client, const CSize& page)
{
    const auto clamp = [](int value, int limit) { return std::clamp(value, 0, std::max(0, limit)); };
    return CPoint(clamp(scroll.x, page.cx - client.cx), clamp(scroll.y, page.cy - client.cy));
}

std::vector<CRect> SurroundParts(const CRect& area, const CSize& page)
{
    const int rowsTop = std::max<int>(area.top, 0), rowsBottom = std::min<int>(area.bottom, page.cy);
    const CRect parts[] = {
        CRect(area.left, area.top, area.right, std::min<int>(area.bottom, 0)),
        CRect(area.left, std::max<int>(area.top, page.cy), area.right, area.bottom),
        CRect(area.left, rowsTop, std::min<int>(area.right, 0), rowsBottom),
        CRect(std::max<int>(area.left, page.cx), rowsTop, area.right, rowsBottom),
    };
    std::vector<CRect> result;
    for (const CRect& part : parts)
        if (!part.IsRectEmpty())
            result.push_back(part);
    return result;
}

void ForEachTile(const CRect& rect, int tileSize, const std::function<void(const CRect&)>& draw)
{
    if (tileSize <= 0)
        return;
    for (int y = rect.top; y < rect.bottom; y += tileSize)
        for (int x = rect.left; x < rect.right; x += tileSize)
            draw(CRect(x, y, std::min<int>(x + tileSize, rect.right), std::min<int>(y + tileSize, rect.bottom)));
}
