// The arrow tool's gestures: dragging guides, moving the selection, resizing and turning by the handles, and the
// rubber band.

#include <algorithm>
#include <vector>

#include "app/docview/mouse_gestures.h"
#include "app/docview/mouse_tools.h"
#include "app/docview/view_hit_test.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/page_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/resources/string_table.h"

namespace mouse_gestures {

namespace {

constexpr int kTurnedTextKind = 3;

std::vector<int> Guides(const CSitePage& page, bool horizontal)
{
    std::vector<int> guides;
    for (int i = 0; i < page.GetGuideCount(horizontal); ++i)
        guides.push_back(page.GetGuide(horizontal, i));
    return guides;
}

// A strip one pixel across along a guide line, long enough for any page.
CRect GuideStrip(bool horizontal, int position)
{
    constexpr int kLength = 32000;
    return horizontal ? CRect(-kLength, position, kLength, position + 1)
                      : CRect(position, -kLength, position + 1, kLength);
}

// Moves, resizes and rotations end alike once their frames are done: a single plain shape goes onto whole pixels.
void ReleaseFrames(GestureContext& context, void (CObjectFrame::*end)())
{
    context.BeginDragRelease();
    context.EndFrames(end);
    if (CPageItem* single = context.page.GetSingleSelectedItem()) {
        const int kind = single->GetCurrentObject()->GetKind();
        if (kind == objectCircle || kind == objectRectangle || kind == objectPolygon)
            single->SnapToPixels();
    }
    context.EndGesture();
}

// A handle drag changes the single selected frame (the point kept on the page); its old and new areas are
// repainted.
template <typename Change> void DragSelectedFrame(GestureContext& context, const MouseInput& input, Change&& change)
{
    const CPoint pt = context.ClampToPage(input.pt);
    CObjectFrame* frame = context.page.GetSingleSelectedFrame();
    if (!frame)
        return;
    const CRect before = frame->GetUpdateRect(true);
    change(*frame, pt);
    CRect area = frame->GetUpdateRect(true);
    area.UnionRect(area, before);
    context.host.InvalidatePageRect(area, false);
}

// A resize or rotation cut short leaves the single object to be rendered again.
void AbandonHandleDrag(GestureContext& context, void (CObjectFrame::*end)())
{
    if (CPageItem* single = context.page.GetSingleSelectedItem())
        single->GetCurrentObject()->SetDirty();
    context.EndFrames(end);
    context.AbandonGesture();
}

// The handles of the single selected object or user group under the point: a resize or rotation starts. True when
// the press is taken (also by Shift or Ctrl beside the objects, which leaves everything as it is).
bool PressHandles(GestureContext& context, const MouseInput& input, int hit)
{
    CSitePage& page = context.page;
    const CPoint& pt = input.pt;
    CPageItem* single = page.GetSingleSelectedItem();
    CPageObject* object = single ? single->GetCurrentObject() : nullptr;
    HandleChoice choice;
    if (object && (object->CanResize() || object->CanRotate()))
        choice = ChooseHandle(object->GetHandlePoints(), pt, object->CanResize(), object->CanRotate());
    // With Shift or Ctrl held a press beside the objects only takes a single object's handle.
    if ((input.shift || input.ctrl) && hit < 0 && choice.action == HandleAction::None)
        return true;

    CObjectFrame* frame = nullptr;
    double rotationAtPress = 0.0, startAngle = 0.0;
    if (choice.action != HandleAction::None) {
        if (!context.OnPage(pt))
            return false;
        frame = single->GetGroup();
        rotationAtPress = object->GetRotation();
        startAngle = PointAngle(HandleCentre(object->GetHandlePoints()), pt);
    } else if (CObjectFrame* group = page.GetSelectedGroup()) {
        choice = ChooseHandle(group->GetHandles(), pt, group->CanResize(), group->CanRotate());
        if (choice.action == HandleAction::None)
            return false;
        frame = group;
        rotationAtPress = group->GetAngle();
        startAngle = PointAngle(group->GetCenter(), pt);
        group->RecordDragData();
    }
    if (!frame)
        return false;

    context.RecordUndo(UndoKind::geometry);
    page.FreezeSelectedObjects();
    if (choice.action == HandleAction::Resize) {
        context.gesture = ResizeDrag{choice.top, choice.left, choice.right, choice.bottom, false};
        frame->BeginResize();
    } else {
        context.gesture = RotateDrag{startAngle, rotationAtPress};
        frame->BeginRotate();
        if (frame->IsGroup())
            context.host.SetStatusText(ResourceText(IDS_ROTATE_KEYS_PROMPT));
    }
    context.host.HoldMouse();
    NotifyInspector(kPlacing);
    return true;
}

// Empty space under the arrow: the selection goes and the rubber band opens.
void PressRubberBand(GestureContext& context, const CPoint& pt)
{
    context.gesture = RubberBand{CRect(pt.x, pt.y, pt.x, pt.y)};
    context.host.HoldMouse();
    context.host.InvalidatePageRect(context.SelectionArea(), false);
    context.page.ClearSelection();
    NotifyInspector(kSelectionChanged);
}

// An object under the arrow without Shift or Ctrl: it is selected when it was not, and the selection moves with
// the pointer. Its undo step is recorded at once when the object was selected already (a move may follow), else
// once the move passes its threshold.
void PressMove(GestureContext& context, CPageItem& item, const CPoint& pt)
{
    MoveDrag move{pt, pt, false};
    if (!item.IsSelected()) {
        context.host.InvalidatePageRect(context.SelectionArea(), false);
        context.page.SelectItem(&item);
        context.host.InvalidatePageRect(context.SelectionArea(), false);
        move.pending = true;
    }
    context.gesture = move;
    context.page.FreezeSelectedObjects();
    context.EachSelectedGroup([](CObjectFrame& group) { group.BeginTransform(); });
    context.host.SetMoveCursor();
    context.host.HoldMouse();
    if (!move.pending)
        context.RecordUndo(UndoKind::geometry);
    NotifyInspector(kSelectionChanged);
}

} // namespace

// ---- Guides ----

bool GuideDrag::Press(GestureContext& context, const CPoint& pt)
{
    if (context.page.AreGuidesHidden())
        return false;
    for (bool horizontal : {true, false}) {
        const int guide = HitTestGuide(context.page, pt.x, pt.y, horizontal);
        if (guide >= 0) {
            context.gesture = GuideDrag{horizontal, guide};
            context.host.HoldMouse();
            return true;
        }
    }
    return false;
}

void GuideDrag::Drag(GestureContext& context, const MouseInput& input)
{
    CSitePage& page = context.page;
    if (index < 0 || index >= page.GetGuideCount(horizontal))
        return;
    const int old = page.GetGuide(horizontal, index);
    const int position =
        ClampGuidePosition(horizontal ? input.pt.y : input.pt.x, horizontal ? page.GetHeight() : page.GetWidth());
    if (position == old)
        return;
    page.SetGuide(horizontal, index, position);
    context.host.InvalidatePageRect(GuideStrip(horizontal, old), true);
    context.host.InvalidatePageRect(GuideStrip(horizontal, position), true);
}

void GuideDrag::Release(GestureContext& context)
{
    CSitePage& page = context.page;
    if (index >= 0 && index < page.GetGuideCount(horizontal)) {
        const int position = page.GetGuide(horizontal, index);
        if (IsGuideOffPage(position, horizontal ? page.GetHeight() : page.GetWidth())) {
            page.RemoveGuide(horizontal, index);
            context.host.InvalidatePageRect(GuideStrip(horizontal, position), true);
        }
    }
    page.SortGuides();
    context.ResetGesture();
    context.host.LetMouseGo();
    NotifyInspector(kGestureEnded);
}

void GuideDrag::Abandon(GestureContext& context)
{
    context.AbandonGesture();
}

// ---- The arrow's press ----

void PressArrow(GestureContext& context, const MouseInput& input)
{
    CSitePage& page = context.page;
    const CPoint& pt = input.pt;
    const int hit = HitTestItem(page, pt, true, context.hitMap);
    if (PressHandles(context, input, hit))
        return;
    if (hit < 0) {
        // A Ctrl-click or Shift-click beside the objects leaves the selection alone.
        if (!input.shift && !input.ctrl)
            PressRubberBand(context, pt);
        return;
    }

    CPageItem* item = page.GetItem(hit);
    CObjectFrame* own = item->GetGroup();
    const bool inUserGroup = own && own->IsGroup();
    if (input.shift) {
        if (inUserGroup)
            own->SetSelected(true);
        else
            page.AddItemToSelection(hit);
        context.host.InvalidatePageRect(context.SelectionArea(), false);
    } else if (input.ctrl) {
        if (inUserGroup) {
            context.host.InvalidatePageRect(own->GetUpdateRect(true), false);
            own->SetSelected(false);
        } else if (own) {
            context.InvalidateItem(*item);
            page.RemoveItemFromGroup(item);
        }
    } else {
        PressMove(context, *item, pt);
    }
}

// ---- Moving ----

void MoveDrag::Drag(GestureContext& context, const MouseInput& input)
{
    CSitePage& page = context.page;
    const CPoint& pt = input.pt;
    AutoScroll scroll;
    if (ComputeAutoScroll(pt, context.host.GetVisiblePageRect(), context.host.GetClientExtent(),
                          CSize(page.GetWidth(), page.GetHeight()), scroll)) {
        context.host.ScrollTo(scroll.scroll, scroll.pointer);
        return;
    }
    if (pending) {
        if (!PassesMoveThreshold(pressPoint, pt))
            return;
        pending = false;
        context.RecordUndo(UndoKind::geometry);
    }
    std::vector<CRect> rects;
    for (int i = 0; i < page.GetItemCount(); ++i)
        if (page.GetItem(i)->IsSelected())
            rects.push_back(page.GetItem(i)->GetRect());
    const CPoint delta = SnapMoveToGuides(rects, CPoint(pt.x - previousPoint.x, pt.y - previousPoint.y),
                                          Guides(page, true), Guides(page, false));
    if (delta.x == 0 && delta.y == 0)
        return;
    context.EachSelectedGroup([&](CObjectFrame& group) {
        CRect area = group.GetUpdateRect(true);
        group.MoveBy(delta.x, delta.y);
        for (int j = 0; j < group.GetItemCount(); ++j)
            area.UnionRect(area, InflatedBy(group.GetItem(j)->GetFullRect(), 3));
        area.UnionRect(area, group.GetUpdateRect(true));
        context.host.InvalidatePageRect(area, false);
    });
    previousPoint.x += delta.x;
    previousPoint.y += delta.y;
}

void MoveDrag::Release(GestureContext& context)
{
    ReleaseFrames(context, &CObjectFrame::EndTransform);
}

void MoveDrag::Abandon(GestureContext& context)
{
    context.EndFrames(&CObjectFrame::EndTransform);
    context.AbandonGesture();
}

// ---- Resizing by an edge handle ----

void ResizeDrag::Drag(GestureContext& context, const MouseInput& input)
{
    DragSelectedFrame(context, input, [&](CObjectFrame& frame, const CPoint& pt) {
        context.host.SetStatusText(ResourceText(IDS_RESIZE_KEYS_PROMPT));
        frame.ResizeByHandle(POINT{pt.x, pt.y}, input.ctrl, input.shift, top, left, right, bottom, started);
    });
}

void ResizeDrag::Release(GestureContext& context)
{
    ReleaseFrames(context, &CObjectFrame::EndResize);
}

void ResizeDrag::Abandon(GestureContext& context)
{
    AbandonHandleDrag(context, &CObjectFrame::EndResize);
}

// ---- Turning by a corner handle ----

void RotateDrag::Drag(GestureContext& context, const MouseInput& input)
{
    DragSelectedFrame(context, input, [&](CObjectFrame& frame, const CPoint& pt) {
        CPageItem* single = context.page.GetSingleSelectedItem();
        if (single && !frame.IsGroup()) {
            single->RotateByHandle(POINT{pt.x, pt.y}, startAngle, rotationAtPress, input.ctrl ? 1 : 0);
            frame.RecalcBounds();
            if (single->GetCurrentObject()->GetKind() == kTurnedTextKind)
                NotifyInspector(kTextTurned);
        } else {
            frame.RotateToPoint(POINT{pt.x, pt.y}, startAngle, rotationAtPress, input.ctrl);
        }
    });
}

void RotateDrag::Release(GestureContext& context)
{
    ReleaseFrames(context, &CObjectFrame::EndRotate);
}

void RotateDrag::Abandon(GestureContext& context)
{
    AbandonHandleDrag(context, &CObjectFrame::EndRotate);
}

// ---- The rubber band ----

void RubberBand::Drag(GestureContext& context, const MouseInput& input)
{
    CSitePage& page = context.page;
    context.DragBand(band, input.pt);
    CRect normal = band;
    normal.NormalizeRect();
    std::vector<CObjectFrame*> touchedGroups;
    for (int i = 0; i < page.GetItemCount(); ++i) {
        CPageItem* item = page.GetItem(i);
        const bool inside = BandMeetsOutline(normal, item->GetCurrentObject()->GetHandlePoints());
        CObjectFrame* own = item->GetGroup();
        if (own && own->IsGroup()) {
            // A user group is in as soon as one member is.
            if (std::find(touchedGroups.begin(), touchedGroups.end(), own) == touchedGroups.end()) {
                touchedGroups.push_back(own);
                own->SetSelected(false);
            }
            if (inside && !own->IsSelected()) {
                own->SetSelected(true);
                context.host.InvalidatePageRect(own->GetUpdateRect(true), false);
            }
            continue;
        }
        if (inside && !item->IsSelected()) {
            page.AddToSelection(item);
            context.InvalidateItem(*item);
        } else if (!inside && own) {
            context.InvalidateItem(*item);
            page.RemoveItemFromGroup(item);
        }
    }
    for (CObjectFrame* group : touchedGroups)
        if (!group->IsSelected())
            context.host.InvalidatePageRect(group->GetUpdateRect(true), false);
}

void RubberBand::Release(GestureContext& context)
{
    context.BeginDragRelease();
    context.EndGesture();
}

void RubberBand::Abandon(GestureContext& context)
{
    context.AbandonGesture();
}

} // namespace mouse_gestures
