// The page's z-order commands and the whole-list exchanges the undo history makes. Kept-on-top items (counters,
// forms, pictures kept as their file) form the tail of the list, and no command moves another item into that run
// or one of them out of it.

#include <algorithm>

#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

std::vector<std::unique_ptr<CPageItem>> CSitePage::ExchangeItems(std::vector<std::unique_ptr<CPageItem>> items)
{
    for (const auto& item : items)
        item->SetRenderBuffer(m_renderBuffer.get());
    std::swap(m_items, items);
    return items;
}

std::vector<std::unique_ptr<CObjectFrame>> CSitePage::ExchangeGroups(std::vector<std::unique_ptr<CObjectFrame>> groups)
{
    std::swap(m_groups, groups);
    return groups;
}

CSitePage::ZOrderStats CSitePage::CollectZOrderStats() const
{
    ZOrderStats stats;
    const int count = GetItemCount();
    stats.lowestOnTop = stats.lowestNormal = stats.lowestSelectedOnTop = stats.lowestSelectedNormal = count;
    for (int i = 0; i < count; ++i) {
        const CPageItem& item = *m_items[i];
        const bool selected = IsPageItemSelected(&item);
        if (item.IsKeptOnTop()) {
            ++stats.allOnTop;
            stats.highestOnTop = std::max(stats.highestOnTop, i);
            stats.lowestOnTop = std::min(stats.lowestOnTop, i);
            if (selected) {
                ++stats.selectedOnTop;
                stats.highestSelectedOnTop = std::max(stats.highestSelectedOnTop, i);
                stats.lowestSelectedOnTop = std::min(stats.lowestSelectedOnTop, i);
            }
        } else {
            ++stats.allNormal;
            stats.highestNormal = std::max(stats.highestNormal, i);
            stats.lowestNormal = std::min(stats.lowestNormal, i);
            if (selected) {
                ++stats.selectedNormal;
                stats.highestSelectedNormal = std::max(stats.highestSelectedNormal, i);
                stats.lowestSelectedNormal = std::min(stats.lowestSelectedNormal, i);
            }
        }
    }
    return stats;
}

namespace {

// Nothing can move when, in each class, no item or every item is selected.
bool NothingToReorder(const CSitePage::ZOrderStats& stats)
{
    const bool onTopFixed = stats.selectedOnTop == 0 || stats.selectedOnTop == stats.allOnTop;
    const bool normalFixed = stats.selectedNormal == 0 || stats.selectedNormal == stats.allNormal;
    return onTopFixed && normalFixed;
}

} // namespace

bool CSitePage::CanBringForward() const
{
    const ZOrderStats stats = CollectZOrderStats();
    if (NothingToReorder(stats))
        return false;
    return (stats.selectedNormal > 0 && stats.lowestSelectedNormal < stats.highestNormal) ||
           (stats.selectedOnTop > 0 && stats.lowestSelectedOnTop < stats.highestOnTop);
}

bool CSitePage::CanSendBackward() const
{
    const ZOrderStats stats = CollectZOrderStats();
    if (NothingToReorder(stats))
        return false;
    return (stats.selectedNormal > 0 && stats.highestSelectedNormal > stats.lowestNormal) ||
           (stats.selectedOnTop > 0 && stats.highestSelectedOnTop > stats.lowestOnTop);
}

int CSitePage::GetTopRunStart() const
{
    int start = GetItemCount();
    while (start > 0 && m_items[start - 1]->IsKeptOnTop())
        --start;
    return start;
}

// Bring to Front and Send to Back come down to the same reordering: within each class the selected items go to
// one end in their own order, and the kept-on-top class stays above the other.
void CSitePage::BringToFront()
{
    auto rank = [this](const std::unique_ptr<CPageItem>& item) {
        return (item->IsKeptOnTop() ? 2 : 0) + (IsPageItemSelected(item.get()) ? 1 : 0);
    };
    std::stable_sort(m_items.begin(), m_items.end(), [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
    SetModified();
}

void CSitePage::SendToBack()
{
    auto rank = [this](const std::unique_ptr<CPageItem>& item) {
        return (item->IsKeptOnTop() ? 2 : 0) + (IsPageItemSelected(item.get()) ? 0 : 1);
    };
    std::stable_sort(m_items.begin(), m_items.end(), [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
    SetModified();
}

// One pass upward: a selected item changes places with the unselected one above it of its own class, and that
// pair is done.
void CSitePage::BringForward()
{
    for (int i = 0; i + 1 < GetItemCount();) {
        CPageItem& item = *m_items[i];
        CPageItem& above = *m_items[i + 1];
        if (IsPageItemSelected(&item) && !IsPageItemSelected(&above) && item.IsKeptOnTop() == above.IsKeptOnTop()) {
            std::swap(m_items[i], m_items[i + 1]);
            i += 2;
        } else {
            ++i;
        }
    }
    SetModified();
}

void CSitePage::SendBackward()
{
    for (int i = GetItemCount() - 1; i >= 1;) {
        CPageItem& item = *m_items[i];
        CPageItem& below = *m_items[i - 1];
        if (IsPageItemSelected(&item) && !IsPageItemSelected(&below) && item.IsKeptOnTop() == below.IsKeptOnTop()) {
            std::swap(m_items[i], m_items[i - 1]);
            i -= 2;
        } else {
            --i;
        }
    }
    SetModified();
}
