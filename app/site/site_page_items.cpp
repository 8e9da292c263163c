// The page's item list: making, adding, removing, finding and reordering items, keeping the items that stay on
// top at the tail.

#include <algorithm>

#include "app/model/services.h"
#include "app/objects/circle_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

namespace {

enum Tool
{
    toolText = 2,
    toolShapes = 3,
    toolCircle = 4,
    toolRectangle = 10,
};

enum ShapeKind
{
    shapeRectangle = 1,
    shapeCircle = 2,
    firstPolygonShape = 3,
};

// The object a drawing tool starts at a point, 1 x 1 until the drag sizes it; null when the tool makes none.
std::unique_ptr<CPageObject> MakeToolObject(int tool, int shapeKind, double x, double y)
{
    constexpr SIZE one{1, 1};
    if (tool == toolText)
        return std::make_unique<CTextObject>(x, y, one, 0.0);
    if (tool == toolShapes) {
        if (shapeKind == shapeRectangle)
            return std::make_unique<CRectangleObject>(x, y, one, 0.0);
        if (shapeKind == shapeCircle)
            return std::make_unique<CCircleObject>(x, y, one, 0.0);
        if (shapeKind >= firstPolygonShape)
            return std::make_unique<CPolygonObject>(x, y, one, 0.0, shapeKind);
        return nullptr;
    }
    if (tool == toolCircle)
        return std::make_unique<CCircleObject>(x, y, one, 0.0);
    if (tool == toolRectangle)
        return std::make_unique<CRectangleObject>(x, y, one, 0.0);
    return nullptr;
}

} // namespace

CPageItem* CSitePage::GetItem(int i) const
{
    return i >= 0 && i < GetItemCount() ? m_items[i].get() : nullptr;
}

int CSitePage::FindIndex(const CPageItem* item) const
{
    for (int i = 0; i < GetItemCount(); ++i)
        if (m_items[i].get() == item)
            return i;
    return -1;
}

int CSitePage::InsertionIndex(const CPageItem& item) const
{
    int index = GetItemCount();
    if (item.IsKeptOnTop())
        return index;
    while (index > 0 && m_items[index - 1]->IsKeptOnTop())
        --index;
    return index;
}

void CSitePage::PlaceItem(std::unique_ptr<CPageItem> item)
{
    item->SetRenderBuffer(m_renderBuffer.get());
    const int index = InsertionIndex(*item);
    m_items.insert(m_items.begin() + index, std::move(item));
}

CPageItem* CSitePage::CreateObject(POINT point, int shapeKind)
{
    std::unique_ptr<CPageObject> object =
        MakeToolObject(GetToolsAndInspector().GetToolsBarTool(), shapeKind, point.x - 0.5, point.y - 0.5);
    if (!object)
        return nullptr;
    auto item = std::make_unique<CPageItem>(std::move(object), m_renderBuffer.get());
    CPageItem* created = item.get();
    PlaceItem(std::move(item));
    SelectItem(created);
    if (PageView* view = GetCurrentView())
        view->InvalidateSelection();
    SetModified();
    return created;
}

CPageItem* CSitePage::AddObject(std::unique_ptr<CPageObject> object)
{
    auto item = std::make_unique<CPageItem>(std::move(object), m_renderBuffer.get());
    CPageItem* added = item.get();
    PlaceItem(std::move(item));
    NotifyInspector(kItemsChanged);
    if (PageView* view = GetCurrentView())
        view->InvalidateSelection();
    SetModified();
    return added;
}

CPageItem* CSitePage::InsertItem(std::unique_ptr<CPageItem> item)
{
    SetModified();
    CPageItem* inserted = item.get();
    PlaceItem(std::move(item));
    return inserted;
}

std::unique_ptr<CPageItem> CSitePage::RemoveItem(CPageItem* item)
{
    const int index = FindIndex(item);
    if (index < 0)
        return nullptr;
    PageView* view = GetCurrentView();
    CRect selection;
    if (view)
        selection = view->GetSelectionRect();
    LeaveFrame(item);
    std::unique_ptr<CPageItem> removed = std::move(m_items[index]);
    m_items.erase(m_items.begin() + index);
    SetModified();
    NotifyInspector(kItemsChanged);
    if (view)
        view->InvalidateViewRect(selection, true);
    return removed;
}

CPageItem* CSitePage::FindItem(const CPageObject* object) const
{
    for (const auto& item : m_items)
        if (item->GetCurrentObject() == object)
            return item.get();
    return nullptr;
}

std::unique_ptr<CPageItem> CSitePage::SetItemAt(int index, std::unique_ptr<CPageItem> item)
{
    item->SetRenderBuffer(m_renderBuffer.get());
    if (index < 0 || index >= GetItemCount()) {
        m_items.push_back(std::move(item));
        return nullptr;
    }
    std::swap(m_items[index], item);
    return item;
}

int CSitePage::IndexOfItem(const CPageItem* item) const
{
    return std::max(FindIndex(item), 0);
}

void CSitePage::MoveItem(CPageItem* item, int index)
{
    const int from = FindIndex(item);
    if (from < 0)
        return;
    std::unique_ptr<CPageItem> moving = std::move(m_items[from]);
    m_items.erase(m_items.begin() + from);
    // The kept-on-top run starts at the first kept item of the tail.
    int run = GetItemCount();
    while (run > 0 && m_items[run - 1]->IsKeptOnTop())
        --run;
    int to = std::clamp(index, 0, GetItemCount());
    to = moving->IsKeptOnTop() ? std::max(to, run) : std::min(to, run);
    m_items.insert(m_items.begin() + to, std::move(moving));
}

void CSitePage::NotifyPageDeleted(int page)
{
    for (const auto& item : m_items)
        item->OnPageDeleted(page);
}

void CSitePage::ReleaseCachedImages()
{
    m_background->InvalidateImage();
    for (const auto& item : m_items)
        item->FreeCaches();
}
