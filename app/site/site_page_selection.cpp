// The page's selection and user groups: both are frames in the page's frame list, and every selected or grouped
// item points to the one frame it is in. Whenever an item leaves a frame, or a frame goes, the items' pointers
// are cleared with it, so that no item (not even one that undo or cut keeps alive) names a deleted frame.

#include <algorithm>

#include "app/model/services.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

CObjectFrame* CSitePage::GetGroupAt(int i) const
{
    return i >= 0 && i < GetGroupCount() ? m_groups[i].get() : nullptr;
}

bool CSitePage::HasSelection() const
{
    return std::any_of(m_groups.begin(), m_groups.end(), [](const auto& frame) { return frame->IsSelected(); });
}

int CSitePage::GetSelectedItemCount() const
{
    int count = 0;
    for (const auto& frame : m_groups)
        if (frame->IsSelected())
            count += frame->GetItemCount();
    return count;
}

CObjectFrame* CSitePage::GetSingleSelectedFrame() const
{
    CObjectFrame* single = nullptr;
    for (const auto& frame : m_groups) {
        if (!frame->IsSelected())
            continue;
        if (single)
            return nullptr;
        single = frame.get();
    }
    return single;
}

CPageItem* CSitePage::GetSingleSelectedItem() const
{
    const CObjectFrame* frame = GetSingleSelectedFrame();
    return frame && frame->GetItemCount() == 1 ? frame->GetItem(0) : nullptr;
}

CObjectFrame* CSitePage::GetSelectedGroup() const
{
    CObjectFrame* frame = GetSingleSelectedFrame();
    return frame && frame->IsGroup() ? frame : nullptr;
}

bool CSitePage::IsSingleUserGroupSelected() const
{
    return GetSelectedGroup() != nullptr;
}

bool CSitePage::CanCreateGroup() const
{
    const int selected = static_cast<int>(
        std::count_if(m_groups.begin(), m_groups.end(), [](const auto& frame) { return frame->IsSelected(); }));
    if (selected >= 2)
        return true;
    const CObjectFrame* frame = GetSingleSelectedFrame();
    return frame && frame->GetItemCount() > 1 && !frame->IsGroup();
}

bool CSitePage::IsItemSelected(int i) const
{
    const CPageItem* item = GetItem(i);
    return item && IsPageItemSelected(item);
}

bool CSitePage::IsPageItemSelected(const CPageItem* item) const
{
    return item->GetGroup() && item->GetGroup()->IsSelected();
}

bool CSitePage::IsItemGrouped(int i) const
{
    return GetItemGroup(i) != nullptr;
}

CObjectFrame* CSitePage::GetItemGroup(int i) const
{
    const CPageItem* item = GetItem(i);
    return item ? item->GetGroup() : nullptr;
}

void CSitePage::DeleteGroup(CObjectFrame* frame)
{
    frame->ReleaseItems();
    std::erase_if(m_groups, [frame](const auto& owned) { return owned.get() == frame; });
}

void CSitePage::LeaveFrame(CPageItem* item)
{
    if (CObjectFrame* frame = item->GetGroup()) {
        if (frame->GetItemCount() <= 1)
            DeleteGroup(frame);
        else
            frame->RemoveItem(item);
    }
    item->SetGroup(nullptr);
}

void CSitePage::ClearSelection()
{
    std::vector<CObjectFrame*> selectionFrames;
    for (const auto& frame : m_groups) {
        if (frame->IsGroup())
            frame->SetSelected(false);
        else
            selectionFrames.push_back(frame.get());
    }
    for (CObjectFrame* frame : selectionFrames)
        DeleteGroup(frame);
    SetModified();
}

CObjectFrame* CSitePage::SelectItem(CPageItem* item)
{
    ClearSelection();
    // A member of a user group is selected with its group: an item is in one frame at a time.
    if (CObjectFrame* group = item->GetGroup()) {
        group->SetSelected(true);
        return group;
    }
    m_groups.push_back(std::make_unique<CObjectFrame>(item));
    return m_groups.back().get();
}

CObjectFrame* CSitePage::SelectItemAt(int i)
{
    SetModified();
    CPageItem* item = GetItem(i);
    return item ? SelectItem(item) : nullptr;
}

void CSitePage::AddToSelection(CPageItem* item)
{
    if (CObjectFrame* own = item->GetGroup()) {
        own->SetSelected(true);
        SetModified();
        return;
    }
    const auto open = std::find_if(m_groups.begin(), m_groups.end(),
                                   [](const auto& frame) { return frame->IsSelected() && !frame->IsGroup(); });
    if (open != m_groups.end())
        (*open)->AddItem(item);
    else
        m_groups.push_back(std::make_unique<CObjectFrame>(item));
    SetModified();
}

void CSitePage::AddItemToSelection(int i)
{
    SetModified();
    if (CPageItem* item = GetItem(i))
        AddToSelection(item);
}

std::vector<std::unique_ptr<CPageItem>> CSitePage::RemoveSelection()
{
    std::vector<std::unique_ptr<CPageItem>> removed;
    for (auto& item : m_items) {
        if (item->IsSelected()) {
            item->FreeCaches();
            removed.push_back(std::move(item));
        }
    }
    std::erase(m_items, nullptr);
    std::vector<CObjectFrame*> selected;
    for (const auto& frame : m_groups)
        if (frame->IsSelected())
            selected.push_back(frame.get());
    for (CObjectFrame* frame : selected)
        DeleteGroup(frame);
    return removed;
}

void CSitePage::RemoveItemFromGroup(CPageItem* item)
{
    LeaveFrame(item);
    SetModified();
}

void CSitePage::RemoveItemFromGroup(int i)
{
    if (CPageItem* item = GetItem(i))
        RemoveItemFromGroup(item);
}

void CSitePage::AddGroup(std::unique_ptr<CObjectFrame> frame)
{
    for (int i = 0; i < frame->GetItemCount(); ++i)
        frame->GetItem(i)->SetGroup(frame.get());
    m_groups.push_back(std::move(frame));
    SetModified();
}

std::unique_ptr<CObjectFrame> CSitePage::SetGroupAt(int i, std::unique_ptr<CObjectFrame> frame)
{
    std::unique_ptr<CObjectFrame> old;
    if (i >= 0 && i < GetGroupCount()) {
        old = std::move(m_groups[i]);
        old->ReleaseItems();
        m_groups[i] = std::move(frame);
    } else {
        m_groups.push_back(std::move(frame));
        i = GetGroupCount() - 1;
    }
    CObjectFrame* stored = m_groups[i].get();
    for (int m = 0; m < stored->GetItemCount(); ++m)
        stored->GetItem(m)->SetGroup(stored);
    SetModified();
    return old;
}

std::unique_ptr<CObjectFrame> CSitePage::RemoveGroup(CObjectFrame* frame)
{
    const auto found =
        std::find_if(m_groups.begin(), m_groups.end(), [frame](const auto& owned) { return owned.get() == frame; });
    if (found == m_groups.end())
        return nullptr;
    frame->ReleaseItems();
    std::unique_ptr<CObjectFrame> removed = std::move(*found);
    m_groups.erase(found);
    SetModified();
    return removed;
}

CObjectFrame* CSitePage::CreateGroup()
{
    std::unique_ptr<CObjectFrame> group;
    std::vector<CObjectFrame*> absorbed;
    for (const auto& frame : m_groups) {
        if (!frame->IsSelected())
            continue;
        for (int i = 0; i < frame->GetItemCount(); ++i) {
            CPageItem* member = frame->GetItem(i);
            if (group)
                group->AddItem(member);
            else
                group = std::make_unique<CObjectFrame>(member);
        }
        absorbed.push_back(frame.get());
    }
    for (CObjectFrame* frame : absorbed)
        DeleteGroup(frame);
    if (!group)
        return nullptr;
    group->SetGroup(true);
    m_groups.push_back(std::move(group));
    SetModified();
    if (PageView* view = GetCurrentView())
        view->InvalidateView(true);
    return m_groups.back().get();
}

void CSitePage::Ungroup()
{
    const auto found = std::find_if(m_groups.begin(), m_groups.end(),
                                    [](const auto& frame) { return frame->IsGroup() && frame->IsSelected(); });
    if (found != m_groups.end())
        (*found)->SetGroup(false);
    SetModified();
    if (PageView* view = GetCurrentView())
        view->InvalidateView(true);
}

void CSitePage::SelectAll()
{
    for (const auto& frame : m_groups)
        frame->SetSelected(true);
    for (int i = 0; i < GetItemCount(); ++i)
        if (!m_items[i]->GetGroup())
            AddItemToSelection(i);
}
