#include "app/docview/view_caret.h"

#include <algorithm>

ViewCaret::Areas ViewCaret::DrawnArea() const
{
    return IsDrawn() ? Areas{GetRect()} : Areas{};
}

ViewCaret::Areas ViewCaret::SetHeight(int height)
{
    height = std::max(0, height);
    if (height == m_height)
        return {};
    Areas areas = DrawnArea();
    m_height = height;
    for (const CRect& area : DrawnArea())
        areas.push_back(area);
    return areas;
}

ViewCaret::Areas ViewCaret::MoveTo(const CPoint& client)
{
    Areas areas = DrawnArea();
    m_pos = client;
    m_shown = true;
    // A caret that moves stays in sight while the user types.
    m_on = true;
    for (const CRect& area : DrawnArea())
        areas.push_back(area);
    return areas;
}

ViewCaret::Areas ViewCaret::Hide()
{
    Areas areas = DrawnArea();
    m_shown = false;
    return areas;
}

ViewCaret::Areas ViewCaret::SetFocus(bool focused)
{
    if (focused == m_focused)
        return {};
    Areas areas = DrawnArea();
    m_focused = focused;
    m_on = true;
    for (const CRect& area : DrawnArea())
        areas.push_back(area);
    return areas;
}

ViewCaret::Areas ViewCaret::Blink()
{
    if (!Blinks())
        return {};
    m_on = !m_on;
    return {GetRect()};
}

void ViewCaret::Draw(ViewPixels& pixels, const CRect& clip) const
{
    CRect part;
    if (!IsDrawn() || !part.IntersectRect(GetRect(), clip))
        return;
    for (int y = part.top; y < part.bottom; ++y) {
        BYTE* p = pixels.Row(y - clip.top) + static_cast<size_t>(part.left - clip.left) * 3;
        p[0] = static_cast<BYTE>(~p[0]);
        p[1] = static_cast<BYTE>(~p[1]);
        p[2] = static_cast<BYTE>(~p[2]);
    }
}
