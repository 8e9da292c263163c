#include "app/site/guide_commands.h"

#include <algorithm>
#include <vector>

#include "app/model/undo_manager.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

namespace {

// The rectangle's centre across the guides: y for horizontal guides, x for vertical ones.
int CentreAcross(const CRect& rect, bool horizontal)
{
    return horizontal ? (rect.top + rect.bottom) / 2 : (rect.left + rect.right) / 2;
}

int SizeAcross(const CRect& rect, bool horizontal)
{
    return horizontal ? rect.Height() : rect.Width();
}

void MoveAcross(CPageItem& item, bool horizontal, int distance)
{
    horizontal ? item.Offset(0, distance) : item.Offset(distance, 0);
}

bool AnySelectedUserGroup(const CSitePage& page)
{
    for (int g = 0; g < page.GetGroupCount(); ++g)
        if (page.GetGroupAt(g)->IsSelected() && page.GetGroupAt(g)->IsGroup())
            return true;
    return false;
}

// The items of the selected frames (or of the frames that are no user group), frame by frame.
template <typename Visit> void ForEachFrameItem(const CSitePage& page, bool selectedOnly, Visit visit)
{
    for (int g = 0; g < page.GetGroupCount(); ++g) {
        CObjectFrame* frame = page.GetGroupAt(g);
        if (selectedOnly ? !frame->IsSelected() : frame->IsGroup())
            continue;
        for (int i = 0; i < frame->GetItemCount(); ++i)
            visit(*frame->GetItem(i));
    }
}

// The index of the first band g[i] <= centre < g[i + 1], or -1.
int FindBand(const CSitePage& page, bool horizontal, int centre)
{
    for (int i = 0; i + 1 < page.GetGuideCount(horizontal); ++i)
        if (page.GetGuide(horizontal, i) <= centre && centre < page.GetGuide(horizontal, i + 1))
            return i;
    return -1;
}

void RecalcSelectedFrames(CSitePage& page)
{
    for (int g = 0; g < page.GetGroupCount(); ++g)
        if (page.GetGroupAt(g)->IsSelected())
            page.GetGroupAt(g)->RecalcBounds();
}

} // namespace

bool CanInsertGuide(const CSitePage& page, bool horizontal)
{
    return page.GetGuideCount(horizontal) < CSitePage::kMaxGuides;
}

int InsertGuide(CSitePage& page, bool horizontal, std::optional<CPoint> point)
{
    if (!CanInsertGuide(page, horizontal))
        return -1;
    const int extent = horizontal ? page.GetHeight() : page.GetWidth();
    int position = extent / 2;
    if (point) {
        const int wanted = horizontal ? point->y : point->x;
        position = wanted < 1 ? 0 : std::min(wanted, extent);
    }
    page.AddGuide(horizontal, position);
    page.SetGuidesHidden(false);
    page.SetModified();
    return position;
}

void ToggleGuidesHidden(CSitePage& page)
{
    page.SetGuidesHidden(!page.AreGuidesHidden());
    page.SetModified();
}

bool CanRemoveGuides(const CSitePage& page)
{
    return page.GetGuideCount(true) > 0 || page.GetGuideCount(false) > 0;
}

void RemoveGuides(CSitePage& page)
{
    page.RemoveAllGuides();
    page.SetGridMode(0);
    page.SetModified();
}

void SetGrid(CSitePage& page, int mode)
{
    page.SetGridMode(mode);
    page.MakeGridGuides(mode);
    page.SetModified();
}

bool CanSpaceEvenly(const CSitePage& page, bool horizontal)
{
    return !page.IsEditingInPlace() && page.GetGuideCount(horizontal) >= 2 && page.HasSelection() &&
           !AnySelectedUserGroup(page);
}

void SpaceEvenly(CSitePage& page, bool horizontal)
{
    page.GetUndoManager()->RecordUndo(UndoKind::geometry);
    for (int band = 0; band + 1 < page.GetGuideCount(horizontal); ++band) {
        const int first = page.GetGuide(horizontal, band);
        const int second = page.GetGuide(horizontal, band + 1);
        std::vector<CPageItem*> items;
        ForEachFrameItem(page, true, [&](CPageItem& item) {
            const int centre = CentreAcross(item.GetRect(), horizontal);
            if (first <= centre && centre < second)
                items.push_back(&item);
        });
        if (items.size() == 1) {
            DPOINT centre{};
            items[0]->GetCurrentObject()->GetCenter(centre);
            const int objectCentre = static_cast<int>(horizontal ? centre.y : centre.x);
            MoveAcross(*items[0], horizontal, (first + second) / 2 - objectCentre);
            continue;
        }
        if (items.size() < 2)
            continue;
        std::stable_sort(items.begin(), items.end(), [horizontal](const CPageItem* a, const CPageItem* b) {
            return CentreAcross(a->GetRect(), horizontal) < CentreAcross(b->GetRect(), horizontal);
        });
        const double last = static_cast<double>(items.size() - 1);
        for (size_t k = 0; k < items.size(); ++k) {
            const CRect rect = items[k]->GetRect();
            const int size = SizeAcross(rect, horizontal);
            const int free = (second - first) - size;
            const int wanted = free > 0 ? static_cast<int>(first + (k * 100.0 / last) * free * 0.01 + size * 0.5)
                                        : (first + second) / 2;
            MoveAcross(*items[k], horizontal, wanted - CentreAcross(rect, horizontal));
        }
    }
    RecalcSelectedFrames(page);
    page.SetModified();
}

bool CanCenterBetweenGuides(const CSitePage& page)
{
    if (page.IsEditingInPlace() || AnySelectedUserGroup(page))
        return false;
    bool found = false;
    ForEachFrameItem(page, false, [&](CPageItem& item) {
        const CRect rect = item.GetRect();
        found = found || FindBand(page, true, CentreAcross(rect, true)) >= 0 ||
                FindBand(page, false, CentreAcross(rect, false)) >= 0;
    });
    return found;
}

void CenterBetweenGuides(CSitePage& page)
{
    page.GetUndoManager()->RecordUndo(UndoKind::geometry);
    CObjectFrame* firstPlaced = nullptr;
    ForEachFrameItem(page, false, [&](CPageItem& item) {
        for (bool horizontal : {true, false}) {
            const CRect rect = item.GetRect();
            const int band = FindBand(page, horizontal, CentreAcross(rect, horizontal));
            if (band < 0)
                continue;
            const int first = page.GetGuide(horizontal, band);
            const int second = page.GetGuide(horizontal, band + 1);
            const int start = horizontal ? rect.top : rect.left;
            MoveAcross(item, horizontal, first + ((second - first) - SizeAcross(rect, horizontal)) / 2 - start);
            if (!firstPlaced)
                firstPlaced = item.GetGroup();
        }
    });
    if (firstPlaced)
        firstPlaced->RecalcBounds();
    page.SetModified();
}
