#include "app/docview/view_hit_test.h"

#include <cmath>
#include <numbers>

#include "app/objects/page_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_geometry.h"
#include "app/site/site_page.h"

namespace {

constexpr int kTextKind = 3;

bool HitBox(const DPOINT* handles, int i, const CPoint& pt, int before, int after)
{
    if (!handles || i < 0 || i >= CObjectFrame::kHandleCount)
        return false;
    const int x = TruncateToInt(handles[i].x), y = TruncateToInt(handles[i].y);
    return CRect(x - before, y - before, x + after, y + after).PtInRect(pt);
}

bool AnyOpaque(const CPixMap& map)
{
    for (int j = 0; j < map.height; ++j)
        for (int i = 0; i < map.width; ++i)
            if (*map.Sample(i, j, 0) != 0)
                return true;
    return false;
}

// Copies the block of the object's image whose top-left corner is at page point (x, y) into the map's corner.
bool HasOpaquePixel(CPageObject& object, int x, int y, int size, CPixMap& map)
{
    if (map.width < size || map.height < size)
        return false;
    RECT bounds;
    object.GetBounds(bounds);
    const int fullWidth = map.width, fullHeight = map.height;
    map.width = map.height = size;
    object.GetPixels(x - bounds.left, y - bounds.top, map);
    const bool opaque = AnyOpaque(map);
    map.width = fullWidth;
    map.height = fullHeight;
    return opaque;
}

CRect Inflated(CRect rect, int by)
{
    rect.InflateRect(by, by);
    return rect;
}

// The resize and rotate handles of one selected object or user group.
bool ChooseHandleCursor(const DPOINT* handles, bool canResize, bool canRotate, const CPoint& pt, CursorChoice& choice)
{
    for (int i : {1, 3, 4, 6})
        if (HitHandle(handles, i, pt) && canResize) {
            choice = {GetSizingCursor(handles, i), kPromptResize};
            return true;
        }
    for (int i : {0, 2, 5, 7})
        if (HitHandle(handles, i, pt) && canRotate) {
            choice = {kCursorRotate, kPromptRotate};
            return true;
        }
    return false;
}

CursorChoice ChooseTextToolCursor(const CSitePage& page, const CPoint& pt, const CursorContext& context)
{
    if (!page.IsEditingInPlace())
        return {kCursorText, HitTestTextObject(page, pt) >= 0 ? kPromptEditText : kPromptNone};
    if (context.textFrameResize)
        return {context.textFrameResizeSideways ? kCursorSizeWE : kCursorMove, kPromptNone};
    if (const CPageObject* edited = page.GetEditedObject()) {
        const DPOINT* handles = edited->GetHandlePoints();
        if (HitTextHandle(handles, 1, pt) || HitTextHandle(handles, 6, pt))
            return {kCursorMove, kPromptMoveText};
        if (HitTextHandle(handles, 3, pt) || HitTextHandle(handles, 4, pt))
            return {kCursorSizeWE, kPromptTextWidth};
    }
    if (HitTestTextObject(page, pt) >= 0)
        return {kCursorText, kPromptNone};
    return {};
}

} // namespace

bool HitHandle(const DPOINT* handles, int i, const CPoint& pt)
{
    return HitBox(handles, i, pt, 2, 3);
}

bool HitTextHandle(const DPOINT* handles, int i, const CPoint& pt)
{
    return HitBox(handles, i, pt, 6, 6);
}

int GetSizingCursor(const DPOINT* handles, int i)
{
    // The edge each middle handle sits on, as a vector between two of the corners.
    int from = 0, to = 0;
    switch (i) {
    case 1:
        from = 2, to = 0;
        break;
    case 3:
        from = 0, to = 5;
        break;
    case 4:
        from = 7, to = 2;
        break;
    case 6:
        from = 5, to = 7;
        break;
    default:
        break;
    }
    double a = 0.0;
    if (handles && from != to) {
        a = std::atan2(handles[to].y - handles[from].y, handles[to].x - handles[from].x);
        if (a < 0.0)
            a += 2.0 * std::numbers::pi;
    }
    static constexpr int kSectors[] = {kCursorSizeNS, kCursorSizeNESW, kCursorSizeWE, kCursorSizeNWSE,
                                       kCursorSizeNS, kCursorSizeNESW, kCursorSizeWE, kCursorSizeNWSE};
    // Sector k spans ((2k - 1) pi / 8, (2k + 1) pi / 8); the last half sector belongs to the first.
    const int sector = static_cast<int>(std::floor((a + std::numbers::pi / 8) / (std::numbers::pi / 4)));
    return kSectors[sector % 8];
}

int HitTestItem(const CSitePage& page, const CPoint& pt, bool precise, CPixMap& map)
{
    for (int i = page.GetItemCount() - 1; i >= 0; --i) {
        CPageObject* object = page.GetItem(i)->GetCurrentObject();
        if (!object || object->IsDirty() || !page.GetItem(i)->GetRect().PtInRect(pt))
            continue;
        const bool block = precise && object->GetKind() == kTextKind;
        if (block ? HasOpaquePixel(*object, pt.x - 1, pt.y - 1, 3, map) : HasOpaquePixel(*object, pt.x, pt.y, 1, map))
            return i;
    }
    return -1;
}

int HitTestTextObject(const CSitePage& page, const CPoint& pt)
{
    const bool editing = page.IsEditingInPlace();
    if (const CPageItem* edited = editing ? page.FindItem(page.GetEditedObject()) : nullptr)
        if (Inflated(edited->GetRect(), 6).PtInRect(pt))
            return page.IndexOfItem(edited);
    for (int i = page.GetItemCount() - 1; i >= 0; --i) {
        const CPageItem* item = page.GetItem(i);
        const CPageObject* object = item->GetCurrentObject();
        if (!object || (object->IsDirty() && !editing) || object->GetKind() != kTextKind)
            continue;
        if (Inflated(item->GetRect(), 6).PtInRect(pt))
            return i;
    }
    return -1;
}

int HitTestGuide(const CSitePage& page, int x, int y, bool horizontal)
{
    const int at = horizontal ? y : x;
    for (int i = 0; i < page.GetGuideCount(horizontal); ++i) {
        const int p = page.GetGuide(horizontal, i);
        if (p - 1 <= at && at <= p + 2)
            return i;
    }
    return -1;
}

CursorChoice ChooseCursor(const CSitePage& page, const CPoint& pt, const CursorContext& context, CPixMap& map)
{
    if (context.tool == kToolEyedropper)
        return {kCursorEyedropper, kPromptNone};
    if (context.tool == kToolText)
        return ChooseTextToolCursor(page, pt, context);
    if (context.tool != kToolArrow)
        return {};
    if (!page.AreGuidesHidden()) {
        if (HitTestGuide(page, pt.x, pt.y, true) >= 0)
            return {kCursorHorizontalGuide, kPromptNone};
        if (HitTestGuide(page, pt.x, pt.y, false) >= 0)
            return {kCursorVerticalGuide, kPromptNone};
    }
    const bool onPage = pt.x >= 0 && pt.y >= 0 && pt.x < page.GetWidth() && pt.y < page.GetHeight();
    if (!page.HasSelection() || !context.isCurrentView || context.dragging || !onPage)
        return {};

    CursorChoice choice;
    if (const CPageItem* item = page.GetSingleSelectedItem()) {
        const CPageObject* object = item->GetCurrentObject();
        if (object->IsDirty())
            return {kCursorDefault, kPromptNone, true};
        if (ChooseHandleCursor(object->GetHandlePoints(), object->CanResize(), object->CanRotate(), pt, choice))
            return choice;
    } else if (const CObjectFrame* group = page.GetSelectedGroup()) {
        if (ChooseHandleCursor(group->GetHandles(), group->CanResize(), group->CanRotate(), pt, choice))
            return choice;
    }
    const int hit = HitTestItem(page, pt, true, map);
    if (hit >= 0 && page.IsItemSelected(hit))
        return {kCursorMove, kPromptMove};
    return {kCursorArrow, kPromptNone};
}
