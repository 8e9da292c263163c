#include "app/docview/mouse_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/docview/view_hit_test.h"
#include "app/model/app_settings.h"
#include "app/model/fill_info.h"
#include "app/model/fill_style.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "app/objects/page_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/io/gif_io.h"
#include "platform/resources/string_table.h"
#include "platform/win/path.h"

namespace {

// Undo record kinds.
constexpr UndoKind kUndoAdded = UndoKind::objectsAdded;
constexpr UndoKind kUndoGeometry = UndoKind::geometry;
constexpr UndoKind kUndoText = UndoKind::textBody;
constexpr UndoKind kUndoGroup = UndoKind::grouping;

// Refresh codes for the palettes.
constexpr int kSelectionChanged = 10011;
constexpr int kPlacing = 10012;
constexpr int kTextTurned = 10015;
constexpr int kGestureEnded = 10018;

// The Object page's buttons that edit an HTML object's code and a Flash object's movie.
constexpr int kEditHtmlCommand = 1558;
constexpr int kFlashCommand = 1606;

constexpr int kPictureNotLoaded = 300;
constexpr int kPictureInvalid = 294;
constexpr int kPictureNoMemory = 295;

constexpr int kToolTextKind = 3;
constexpr int kHtmlKind = 5;

CRect InflatedBy(CRect rect, int by)
{
    rect.InflateRect(by, by);
    return rect;
}

bool OnPage(const CPoint& pt, const CSitePage& page)
{
    return pt.x >= 0 && pt.y >= 0 && pt.x < page.GetWidth() && pt.y < page.GetHeight();
}

std::vector<int> Guides(const CSitePage& page, bool horizontal)
{
    std::vector<int> guides;
    for (int i = 0; i < page.GetGuideCount(horizontal); ++i)
        guides.push_back(page.GetGuide(horizontal, i));
    return guides;
}

template <typename F> void ForSelectedGroups(const CSitePage& page, F&& f)
{
    for (int i = 0; i < page.GetGroupCount(); ++i)
        if (CObjectFrame* group = page.GetGroupAt(i); group->IsSelected())
            f(*group);
}

// A strip one pixel across along a guide line, long enough for any page.
CRect GuideStrip(bool horizontal, int position)
{
    constexpr int kLength = 32000;
    return horizontal ? CRect(-kLength, position, kLength, position + 1)
                      : CRect(position, -kLength, position + 1, kLength);
}

} // namespace

CMouseTools::CMouseTools(CSitePage& page, MouseToolHost& host)
    : m_page(page), m_host(host), m_hitMap(IMAGE_MODE_RGBA, 4, 4)
{
    if (const CAppSettings* settings = GetAppSettings())
        m_nDefaultTextHeight = TextHeightForPointSize(settings->m_nTextFontSize);
}

void CMouseTools::ResetDragState()
{
    m_bDragging = m_bRotating = m_bResizeTop = m_bResizeLeft = m_bResizeRight = m_bResizeBottom = false;
    m_bCreating = m_bMoving = m_bResizeStarted = m_bMovePending = false;
    m_bRubberBand = m_bPictureBand = m_bHtmlBand = false;
    m_bTextFrameResize = m_bGuideDrag = m_bCreatedByBand = m_bTextBand = false;
}

bool CMouseTools::GetBand(CRect& band) const
{
    if (!m_bRubberBand && !m_bPictureBand && !m_bHtmlBand)
        return false;
    band = m_bRubberBand ? m_rubberBandRect : m_bPictureBand ? m_pictureBandRect : m_htmlBandRect;
    band.NormalizeRect();
    return true;
}

void CMouseTools::RecordUndo(UndoKind kind)
{
    if (CUndoManager* undo = m_page.GetUndoManager())
        undo->RecordUndo(kind);
}

CRect CMouseTools::SelectionArea() const
{
    CRect area;
    ForSelectedGroups(m_page, [&](const CObjectFrame& group) {
        if (group.IsGroup()) {
            area.UnionRect(area, group.GetUpdateRect(true));
            return;
        }
        for (int j = 0; j < group.GetItemCount(); ++j)
            area.UnionRect(area, InflatedBy(group.GetItem(j)->GetFullRect(), 3));
    });
    return area;
}

void CMouseTools::InvalidateItem(const CPageItem& item)
{
    m_host.InvalidatePageRect(InflatedBy(item.GetFullRect(), 3), false);
}

// ---- Press ----

void CMouseTools::OnLButtonDown(const MouseInput& input)
{
    const int tool = GetToolsAndInspector().GetToolsBarTool();
    const CPoint& pt = input.pt;
    if (tool == kMouseToolArrow && !m_page.AreGuidesHidden()) {
        for (bool horizontal : {true, false}) {
            const int guide = HitTestGuide(m_page, pt.x, pt.y, horizontal);
            if (guide >= 0) {
                m_bGuideDrag = true;
                m_bGuideHorizontal = horizontal;
                m_nGuideIndex = guide;
                m_host.HoldMouse();
                return;
            }
        }
    }
    if (tool == kMouseToolArrow)
        PressArrow(input);
    if (!OnPage(pt, m_page))
        return;
    switch (tool) {
    case kMouseToolText:
        PressText(input);
        break;
    case kMouseToolShape:
    case kMouseToolCircle:
    case kMouseToolRectangle:
        PressCreate(input, tool);
        break;
    case kMouseToolPicture:
    case kMouseToolHtml:
    case kMouseToolFlash:
        PressBand(input, tool);
        break;
    case kMouseToolCounter:
    case kMouseToolForm:
        PressPlaced(input, tool);
        break;
    case kMouseToolEyedropper:
        PressEyedropper(pt);
        break;
    default:
        break;
    }
}

bool CMouseTools::PressHandles(const MouseInput& input, int hit)
{
    const CPoint& pt = input.pt;
    CPageItem* single = m_page.GetSingleSelectedItem();
    CPageObject* object = single ? single->GetCurrentObject() : nullptr;
    HandleChoice choice;
    if (object && (object->CanResize() || object->CanRotate()))
        choice = ChooseHandle(object->GetHandlePoints(), pt, object->CanResize(), object->CanRotate());
    // With Shift or Ctrl held a press beside the objects only takes a single object's handle.
    if ((input.shift || input.ctrl) && hit < 0 && choice.action == HandleAction::None)
        return true;

    CObjectFrame* frame = nullptr;
    if (choice.action != HandleAction::None) {
        if (!OnPage(pt, m_page))
            return false;
        frame = single->GetGroup();
        m_dRotationAtPress = object->GetRotation();
        m_dStartAngle = PointAngle(HandleCentre(object->GetHandlePoints()), pt);
    } else if (CObjectFrame* group = m_page.GetSelectedGroup()) {
        choice = ChooseHandle(group->GetHandles(), pt, group->CanResize(), group->CanRotate());
        if (choice.action == HandleAction::None)
            return false;
        frame = group;
        m_dRotationAtPress = group->GetAngle();
        m_dStartAngle = PointAngle(group->GetCenter(), pt);
        group->RecordDragData();
    } else {
        return false;
    }
    if (!frame)
        return false;

    RecordUndo(kUndoGeometry);
    m_page.FreezeSelectedObjects();
    if (choice.action == HandleAction::Resize) {
        m_bResizeTop = choice.top;
        m_bResizeLeft = choice.left;
        m_bResizeRight = choice.right;
        m_bResizeBottom = choice.bottom;
        m_bResizeStarted = false;
        frame->BeginResize();
    } else {
        m_bRotating = true;
        frame->BeginRotate();
        if (frame->IsGroup())
            m_host.SetStatusText(ResourceText(IDS_ROTATE_KEYS_PROMPT));
    }
    m_pressPoint = m_lastPoint = pt;
    m_bDragging = true;
    m_host.HoldMouse();
    NotifyInspector(kPlacing);
    return true;
}

void CMouseTools::PressArrow(const MouseInput& input)
{
    const CPoint& pt = input.pt;
    const int hit = HitTestItem(m_page, pt, true, m_hitMap);
    if (PressHandles(input, hit))
        return;

    if (hit < 0) {
        // A Ctrl-click or Shift-click beside the objects leaves the selection alone.
        if (input.shift || input.ctrl)
            return;
        m_rubberBandRect = CRect(pt.x, pt.y, pt.x, pt.y);
        m_bRubberBand = m_bDragging = true;
        m_host.HoldMouse();
        m_host.InvalidatePageRect(SelectionArea(), false);
        m_page.ClearSelection();
        NotifyInspector(kSelectionChanged);
        return;
    }

    CPageItem* item = m_page.GetItem(hit);
    CObjectFrame* own = item->GetGroup();
    const bool inUserGroup = own && own->IsGroup();
    if (input.shift) {
        if (inUserGroup)
            own->SetSelected(true);
        else
            m_page.AddItemToSelection(hit);
        m_host.InvalidatePageRect(SelectionArea(), false);
        return;
    }
    if (input.ctrl) {
        if (inUserGroup) {
            m_host.InvalidatePageRect(own->GetUpdateRect(true), false);
            own->SetSelected(false);
        } else if (own) {
            InvalidateItem(*item);
            m_page.RemoveItemFromGroup(item);
        }
        return;
    }

    if (!item->IsSelected()) {
        m_host.InvalidatePageRect(SelectionArea(), false);
        m_page.SelectItem(item);
        m_host.InvalidatePageRect(SelectionArea(), false);
        m_bMovePending = true;
    }
    m_bMoving = m_bDragging = m_bCreatedByBand = true;
    m_pressPoint = m_previousPoint = m_lastPoint = pt;
    m_page.FreezeSelectedObjects();
    ForSelectedGroups(m_page, [](CObjectFrame& group) { group.BeginTransform(); });
    m_host.SetMoveCursor();
    m_host.HoldMouse();
    if (!m_bMovePending)
        RecordUndo(kUndoGeometry);
    NotifyInspector(kSelectionChanged);
}

void CMouseTools::PressCreate(const MouseInput& input, int tool)
{
    GetToolsAndInspector().ShowObjectInspector();
    m_host.TakeFocus();
    m_host.InvalidatePageRect(SelectionArea(), false);
    m_page.ClearSelection();
    const int shapeKind = tool == kMouseToolShape ? GetToolsAndInspector().GetToolsBarShapeKind() : 0;
    CPageItem* item = m_page.CreateObject(POINT{input.pt.x, input.pt.y}, shapeKind);
    if (!item)
        return;
    m_bCreating = m_bDragging = m_bCreatedByBand = true;
    m_pressPoint = m_lastPoint = input.pt;
    m_page.FreezeSelectedObjects();
    item->GetCurrentObject()->BeginPlace();
    GetToolsAndInspector().ResetShapesPalette();
    m_host.HoldMouse();
    NotifyInspector(kSelectionChanged);
}

void CMouseTools::PressPlaced(const MouseInput& input, int tool)
{
    GetToolsAndInspector().ShowObjectInspector();
    const CRect before = SelectionArea();
    const POINT at{input.pt.x, input.pt.y};
    std::unique_ptr<CPageObject> object;
    if (tool == kMouseToolCounter)
        object = std::make_unique<CCounterObject>(0, at);
    else
        object = std::make_unique<CFormObject>(std::string(), at);
    CPageItem* item = m_page.AddObject(std::move(object));
    m_page.SelectItem(item);
    CRect area = SelectionArea();
    area.UnionRect(area, before);
    m_host.InvalidatePageRect(area, true);
    m_host.SetMoveCursor();
    m_bCreating = m_bDragging = true;
    m_bCreatedByBand = false;
    m_pressPoint = m_lastPoint = input.pt;
    m_page.FreezeSelectedObjects();
    item->GetCurrentObject()->BeginPlace();
    NotifyInspector(kPlacing);
    m_host.HoldMouse();
}

void CMouseTools::PressBand(const MouseInput& input, int tool)
{
    const CRect band(input.pt.x, input.pt.y, input.pt.x, input.pt.y);
    if (tool == kMouseToolPicture) {
        m_bPictureBand = true;
        m_pictureBandRect = band;
    } else {
        m_bHtmlBand = true;
        m_htmlBandRect = band;
        m_bHtmlFrame = tool == kMouseToolHtml;
        m_bFlashFrame = tool == kMouseToolFlash;
    }
    m_bDragging = true;
    m_host.HoldMouse();
    m_host.InvalidatePageRect(SelectionArea(), false);
    m_page.ClearSelection();
    NotifyInspector(kSelectionChanged);
}

void CMouseTools::PressText(const MouseInput& input)
{
    const CPoint& pt = input.pt;
    m_lastPoint = pt;
    const int hit = HitTestTextObject(m_page, pt);
    if (hit < 0) {
        if (m_page.IsEditingInPlace()) {
            GetToolsAndInspector().ShowObjectInspector();
            m_host.EndTextEditing();
            NotifyInspector(kSelectionChanged);
            GetToolsAndInspector().SetToolsBarTool(kMouseToolArrow);
            m_host.InvalidateAll(true);
            return;
        }
        m_bTextBand = m_bDragging = true;
        m_page.ClearSelection();
        m_pressPoint = pt;
        m_host.HoldMouse();
        m_textBandRect = TextBandAt(pt, m_nDefaultTextHeight);
        m_host.InvalidateAll(false);
        return;
    }

    CPageItem* item = m_page.GetItem(hit);
    auto* text = dynamic_cast<CTextObject*>(item->GetCurrentObject());
    if (!text)
        return;
    if (CObjectFrame* own = item->GetGroup(); own && own->IsGroup()) {
        // Editing one text of a user group takes the group apart into a plain selection.
        m_page.ClearSelection();
        own->SetSelected(true);
        RecordUndo(kUndoGroup);
        own->SetGroup(false);
    }
    const bool alreadyEdited = m_page.IsEditingInPlace() && m_page.GetEditedObject() == text;
    if (alreadyEdited) {
        // The edited text's frame handles: top and bottom move it, left and right change its width.
        const DPOINT* handles = text->GetHandlePoints();
        for (int i = 0; i < CObjectFrame::kHandleCount; ++i)
            if (HitTextHandle(handles, i, pt)) {
                m_bTextFrameResize = true;
                m_bResizeTop = i == 1;
                m_bResizeLeft = i == 3;
                m_bResizeRight = i == 4;
                m_bResizeBottom = i == 6;
                m_host.HoldMouse();
                return;
            }
    } else {
        GetToolsAndInspector().ShowObjectInspector();
        if (m_page.IsEditingInPlace())
            m_host.EndTextEditing();
        const int index = m_page.IndexOfItem(item);
        m_page.SetEditedObject(text);
        m_page.SetEditingInPlace(true);
        text->BeginEdit();
        RecordUndo(kUndoText);
        m_page.SelectItemAt(index);
        NotifyInspector(kSelectionChanged);
    }
    // The caret goes to the character under the point; Shift extends the selection to it, else a new one starts.
    const bool extend = alreadyEdited && input.shift;
    if (!extend)
        text->GetTextBody()->m_bSelectionEmpty = 1;
    SetCaretAt(*text, pt, extend);
    m_host.InvalidateAll(false);
}

void CMouseTools::SetCaretAt(CTextObject& text, const CPoint& pt, bool extend)
{
    // Text coordinates start at the object's top-left corner.
    DPOINT centre;
    text.GetCenter(centre);
    SIZE size;
    text.GetSize(size);
    text.SetCaretFromPoint(pt.x - static_cast<int>(std::floor(centre.x - size.cx / 2.0)),
                           pt.y - static_cast<int>(std::floor(centre.y - size.cy / 2.0)), extend);
    // The view's caret follows.
    text.UpdateCaret(text.GetTextBody()->m_nCaretPara, text.GetTextBody()->m_nCaretIndex);
}

void CMouseTools::DragText(const MouseInput& input, const CPoint& pt)
{
    auto* text = dynamic_cast<CTextObject*>(m_page.GetEditedObject());
    CPageItem* item = text ? m_page.FindItem(text) : nullptr;
    if (!item)
        return;
    if (!m_bTextFrameResize) {
        if (input.leftDown) {
            SetCaretAt(*text, pt, true);
            m_host.InvalidatePageRect(InflatedBy(item->GetFullRect(), 6), false);
        }
        return;
    }
    const CRect before = InflatedBy(item->GetFullRect(), 8);
    if (m_bResizeTop || m_bResizeBottom) {
        item->Offset(pt.x - m_lastPoint.x, pt.y - m_lastPoint.y);
    } else if (m_bResizeLeft || m_bResizeRight) {
        // Dragged across the other side, the sides change roles.
        if (item->ResizeByHandle(m_bResizeLeft ? 3 : 4, POINT{pt.x, pt.y}, false, false, false))
            std::swap(m_bResizeLeft, m_bResizeRight);
    }
    text->UpdateHandles();
    if (CObjectFrame* frame = item->GetGroup())
        frame->RecalcBounds();
    const CTextBody& body = *text->GetTextBody();
    text->UpdateCaret(body.m_nCaretPara, body.m_nCaretIndex);
    CRect area = InflatedBy(item->GetFullRect(), 8);
    area.UnionRect(area, before);
    m_host.InvalidatePageRect(area, false);
}

CColor CMouseTools::ReadColorAt(const CPoint& pt)
{
    // What the page's background shows at the point.
    BYTE pixel[4] = {0, 255, 255, 255};
    if (CFillStyle* background = m_page.GetBackground(); background && m_page.GetRenderBuffer())
        background->Render(RECT{pt.x, pt.y, pt.x + 1, pt.y + 1}, pixel, 4, *m_page.GetRenderBuffer(), m_page.GetWidth(),
                           m_page.GetHeight());
    const CColor under(pixel[1], pixel[2], pixel[3]);
    const int hit = HitTestItem(m_page, pt, false, m_hitMap);
    if (hit < 0)
        return under;
    CPageObject* object = m_page.GetItem(hit)->GetCurrentObject();
    RECT bounds;
    object->GetBounds(bounds);
    const int fullWidth = m_hitMap.width, fullHeight = m_hitMap.height;
    m_hitMap.width = m_hitMap.height = 1;
    object->GetPixels(pt.x - bounds.left, pt.y - bounds.top, m_hitMap);
    const CColor color = EyedropperColor(m_hitMap.Sample(0, 0, 0), under);
    m_hitMap.width = fullWidth;
    m_hitMap.height = fullHeight;
    return color;
}

void CMouseTools::PressEyedropper(const CPoint& pt)
{
    GetToolsAndInspector().SetToolsBarColor(ReadColorAt(pt));
}

std::string CMouseTools::EyedropperText(const CPoint& pt)
{
    const CColor color = ReadColorAt(pt);
    const unsigned char* rgb = color.GetColor();
    char values[40];
    std::snprintf(values, sizeof values, "   (%3d,%3d,%3d)", rgb[0], rgb[1], rgb[2]);
    return ResourceText(IDS_EYEDROPPER_PROMPT) + values;
}

// ---- Moves ----

void CMouseTools::OnMouseMove(const MouseInput& input)
{
    if (GetToolsAndInspector().GetToolsBarTool() == kMouseToolEyedropper) {
        if (OnPage(input.pt, m_page))
            m_host.SetStatusText(EyedropperText(input.pt));
        return;
    }
    if (!m_bDragging && !m_bGuideDrag && !m_page.IsEditingInPlace())
        return;
    if (m_bGuideDrag) {
        DragGuide(input);
        return;
    }
    if (m_bMoving) {
        DragMove(input);
        return;
    }
    if (m_bRubberBand) {
        DragRubberBand(input);
        return;
    }
    // The other gestures never reach beyond the page.
    const CPoint pt = ClampToPage(input.pt, CSize(m_page.GetWidth(), m_page.GetHeight()));
    if (m_page.IsEditingInPlace() && !m_bDragging) {
        DragText(input, pt);
        m_lastPoint = pt;
        return;
    }
    CPageItem* single = m_page.GetSingleSelectedItem();
    if (m_bResizeTop || m_bResizeLeft || m_bResizeRight || m_bResizeBottom) {
        CObjectFrame* frame = m_page.GetSingleSelectedFrame();
        if (!frame)
            return;
        const CRect before = frame->GetUpdateRect(true);
        m_host.SetStatusText(ResourceText(IDS_RESIZE_KEYS_PROMPT));
        frame->ResizeByHandle(POINT{pt.x, pt.y}, input.ctrl, input.shift, m_bResizeTop, m_bResizeLeft, m_bResizeRight,
                              m_bResizeBottom, m_bResizeStarted);
        CRect area = frame->GetUpdateRect(true);
        area.UnionRect(area, before);
        m_host.InvalidatePageRect(area, false);
    } else if (m_bRotating) {
        CObjectFrame* frame = m_page.GetSingleSelectedFrame();
        if (!frame)
            return;
        const CRect before = frame->GetUpdateRect(true);
        if (single && !frame->IsGroup()) {
            single->RotateByHandle(POINT{pt.x, pt.y}, m_dStartAngle, m_dRotationAtPress, input.ctrl ? 1 : 0);
            frame->RecalcBounds();
            if (single->GetCurrentObject()->GetKind() == kToolTextKind)
                NotifyInspector(kTextTurned);
        } else {
            frame->RotateToPoint(POINT{pt.x, pt.y}, m_dStartAngle, m_dRotationAtPress, input.ctrl);
        }
        CRect area = frame->GetUpdateRect(true);
        area.UnionRect(area, before);
        m_host.InvalidatePageRect(area, false);
    } else if (m_bCreating) {
        if (!single)
            return;
        const CRect before = InflatedBy(single->GetFullRect(), 3);
        single->ResizeByDrag(POINT{m_pressPoint.x, m_pressPoint.y}, POINT{pt.x, pt.y}, input.ctrl);
        if (CObjectFrame* frame = single->GetGroup())
            frame->RecalcBounds();
        m_bCreatedByBand = false;
        CRect area = InflatedBy(single->GetFullRect(), 3);
        area.UnionRect(area, before);
        m_host.InvalidatePageRect(area, false);
    } else if (m_bPictureBand) {
        DragBand(m_pictureBandRect, pt);
    } else if (m_bHtmlBand) {
        DragBand(m_htmlBandRect, pt);
    } else if (m_bTextBand) {
        // The band keeps the height of one line; only its right edge follows.
        m_textBandRect.right = pt.x;
        m_host.InvalidateAll(false);
    }
    m_lastPoint = pt;
}

void CMouseTools::DragBand(CRect& band, const CPoint& pt)
{
    CRect before = band;
    before.NormalizeRect();
    band.right = pt.x;
    band.bottom = pt.y;
    CRect after = band;
    after.NormalizeRect();
    // The band's outline is drawn one pixel past its right and bottom edges.
    before.UnionRect(InflatedBy(before, 1), InflatedBy(after, 1));
    m_host.InvalidatePageRect(before, false);
}

void CMouseTools::DragMove(const MouseInput& input)
{
    const CPoint& pt = input.pt;
    AutoScroll scroll;
    if (ComputeAutoScroll(pt, m_host.GetVisiblePageRect(), m_host.GetClientExtent(),
                          CSize(m_page.GetWidth(), m_page.GetHeight()), scroll)) {
        m_host.ScrollTo(scroll.scroll, scroll.pointer);
        return;
    }
    if (m_bMovePending) {
        if (!PassesMoveThreshold(m_pressPoint, pt))
            return;
        m_bMovePending = false;
        RecordUndo(kUndoGeometry);
    }
    std::vector<CRect> rects;
    for (int i = 0; i < m_page.GetItemCount(); ++i)
        if (m_page.GetItem(i)->IsSelected())
            rects.push_back(m_page.GetItem(i)->GetRect());
    const CPoint delta = SnapMoveToGuides(rects, CPoint(pt.x - m_previousPoint.x, pt.y - m_previousPoint.y),
                                          Guides(m_page, true), Guides(m_page, false));
    if (delta.x == 0 && delta.y == 0)
        return;
    ForSelectedGroups(m_page, [&](CObjectFrame& group) {
        CRect area = group.GetUpdateRect(true);
        group.MoveBy(delta.x, delta.y);
        for (int j = 0; j < group.GetItemCount(); ++j)
            area.UnionRect(area, InflatedBy(group.GetItem(j)->GetFullRect(), 3));
        area.UnionRect(area, group.GetUpdateRect(true));
        m_host.InvalidatePageRect(area, false);
    });
    m_previousPoint.x += delta.x;
    m_previousPoint.y += delta.y;
    m_lastPoint = pt;
    m_bCreatedByBand = false;
}

void CMouseTools::DragGuide(const MouseInput& input)
{
    const bool horizontal = m_bGuideHorizontal;
    if (m_nGuideIndex < 0 || m_nGuideIndex >= m_page.GetGuideCount(horizontal))
        return;
    const int old = m_page.GetGuide(horizontal, m_nGuideIndex);
    const int position =
        ClampGuidePosition(horizontal ? input.pt.y : input.pt.x, horizontal ? m_page.GetHeight() : m_page.GetWidth());
    if (position == old)
        return;
    m_page.SetGuide(horizontal, m_nGuideIndex, position);
    m_host.InvalidatePageRect(GuideStrip(horizontal, old), true);
    m_host.InvalidatePageRect(GuideStrip(horizontal, position), true);
}

void CMouseTools::DragRubberBand(const MouseInput& input)
{
    DragBand(m_rubberBandRect, input.pt);
    CRect band = m_rubberBandRect;
    band.NormalizeRect();
    std::vector<CObjectFrame*> touchedGroups;
    for (int i = 0; i < m_page.GetItemCount(); ++i) {
        CPageItem* item = m_page.GetItem(i);
        const bool inside = BandMeetsOutline(band, item->GetCurrentObject()->GetHandlePoints());
        CObjectFrame* own = item->GetGroup();
        if (own && own->IsGroup()) {
            // A user group is in as soon as one member is.
            if (std::find(touchedGroups.begin(), touchedGroups.end(), own) == touchedGroups.end()) {
                touchedGroups.push_back(own);
                own->SetSelected(false);
            }
            if (inside && !own->IsSelected()) {
                own->SetSelected(true);
                m_host.InvalidatePageRect(own->GetUpdateRect(true), false);
            }
            continue;
        }
        if (inside && !item->IsSelected()) {
            m_page.AddToSelection(item);
            InvalidateItem(*item);
        } else if (!inside && own) {
            InvalidateItem(*item);
            m_page.RemoveItemFromGroup(item);
        }
    }
    for (CObjectFrame* group : touchedGroups)
        if (!group->IsSelected())
            m_host.InvalidatePageRect(group->GetUpdateRect(true), false);
}

// ---- Release ----

void CMouseTools::OnLButtonUp(const MouseInput& input)
{
    (void)input;
    m_host.SetStatusText(std::string());
    if (m_bGuideDrag) {
        ReleaseGuide();
        return;
    }
    if (m_page.IsEditingInPlace()) {
        NotifyInspector(kSelectionChanged);
        ResetDragState();
        m_host.LetMouseGo();
        NotifyInspector(kGestureEnded);
        return;
    }
    if (m_bTextBand) {
        ReleaseTextBand();
        return;
    }
    if (!m_bDragging) {
        NotifyInspector(kGestureEnded);
        return;
    }

    GetToolsAndInspector().SetToolsBarTool(kMouseToolArrow);
    m_page.UnfreezeSelectedObjects();
    if (m_bCreatedByBand && m_bCreating) {
        // A click without a drag leaves no object behind.
        if (CPageItem* item = m_page.GetSingleSelectedItem()) {
            m_host.InvalidatePageRect(InflatedBy(item->GetFullRect(), 3), true);
            m_page.RemoveItem(item);
        }
        ResetDragState();
        m_host.LetMouseGo();
        m_host.InvalidateAll(true);
        return;
    }
    if (m_bCreating) {
        if (CPageItem* item = m_page.GetSingleSelectedItem()) {
            item->GetCurrentObject()->EndPlace();
            if (CObjectFrame* frame = item->GetGroup())
                frame->RecalcBounds();
            RecordUndo(kUndoAdded);
        }
    } else if (m_bPictureBand) {
        ReleasePictureBand();
        return;
    } else if (m_bHtmlBand) {
        ReleaseHtmlBand();
    } else if (m_bMoving || m_bRotating || m_bResizeTop || m_bResizeLeft || m_bResizeRight || m_bResizeBottom) {
        const bool moving = m_bMoving, rotating = m_bRotating;
        ForSelectedGroups(m_page, [&](CObjectFrame& group) {
            if (moving)
                group.EndTransform();
            else if (rotating)
                group.EndRotate();
            else
                group.EndResize();
        });
        if (CPageItem* single = m_page.GetSingleSelectedItem()) {
            const int kind = single->GetCurrentObject()->GetKind();
            if (kind == objectCircle || kind == objectRectangle || kind == objectPolygon)
                single->SnapToPixels();
        }
    }
    EndGesture();
}

void CMouseTools::EndGesture()
{
    ResetDragState();
    m_page.RenderDirtyObjects();
    NotifyInspector(kGestureEnded);
    m_host.LetMouseGo();
    m_host.InvalidateAll(true);
}

void CMouseTools::ReleaseGuide()
{
    const bool horizontal = m_bGuideHorizontal;
    if (m_nGuideIndex >= 0 && m_nGuideIndex < m_page.GetGuideCount(horizontal)) {
        const int position = m_page.GetGuide(horizontal, m_nGuideIndex);
        if (IsGuideOffPage(position, horizontal ? m_page.GetHeight() : m_page.GetWidth())) {
            m_page.RemoveGuide(horizontal, m_nGuideIndex);
            m_host.InvalidatePageRect(GuideStrip(horizontal, position), true);
        }
    }
    m_page.SortGuides();
    ResetDragState();
    m_host.LetMouseGo();
    NotifyInspector(kGestureEnded);
}

void CMouseTools::ReleaseHtmlBand()
{
    const CRect rect = HtmlObjectRect(m_htmlBandRect);
    GetToolsAndInspector().ShowObjectInspector();
    CRect area = SelectionArea();
    m_page.ClearSelection();
    CPageItem* item =
        m_page.AddObject(std::make_unique<CHtmlObject>(POINT{rect.left, rect.top}, rect.Width(), rect.Height()));
    m_page.SelectItem(item);
    area.UnionRect(area, SelectionArea());
    m_host.InvalidatePageRect(area, true);
    RecordUndo(kUndoAdded);
    GetToolsAndInspector().SendObjectPageCommand(m_bFlashFrame ? kFlashCommand : kEditHtmlCommand, true);
    m_bHtmlFrame = m_bFlashFrame = false;
}

void CMouseTools::ReleasePictureBand()
{
    const CRect band = m_pictureBandRect;
    ResetDragState();
    m_host.LetMouseGo();
    CAppSettings* settings = GetAppSettings();
    std::unique_ptr<CFillInfo> fill;
    for (;;) {
        std::string path = settings ? settings->GetImagePath() : std::string();
        if (!GetModelDialogs().GetPictureFileName(path)) {
            m_host.InvalidateAll(true);
            return;
        }
        fill = std::make_unique<CFillInfo>();
        fill->SetImageFile(path);
        const int result = fill->UpdateImage(SIZE{0, 0});
        if (result == 1 || result == 2) {
            GetModelDialogs().ShowPictureDialog(result == 1 ? kPictureNotLoaded : kPictureInvalid);
            continue;
        }
        if (result != 0 || !fill->GetImage()) {
            GetModelDialogs().ShowPictureDialog(kPictureNoMemory);
            m_host.InvalidateAll(true);
            return;
        }
        if (settings) {
            std::string drive, folder;
            SplitPath(path, &drive, &folder, nullptr, nullptr);
            settings->m_strImagePath = drive + folder;
        }
        if (path.find(".gif") != std::string::npos && CGifIO::IsAnimated(path))
            fill->SetAnimated(true);
        break;
    }
    const CImage& image = *fill->GetImage();
    const CSize pageSize(m_page.GetWidth(), m_page.GetHeight());
    PicturePlacement placement = PlacePicture(band, CSize(image.Width(), image.Height()));
    if (IsLargerThanPage(placement.size, pageSize)) {
        bool fit = false, keepAspect = false;
        if (GetModelDialogs().ShowPictureTooLargeDialog(fit, keepAspect) == DialogAnswer::ok && fit)
            placement = FitPictureToPage(placement, pageSize, keepAspect);
    }
    auto object = std::make_unique<CRectangleObject>(placement.centre.x, placement.centre.y,
                                                     SIZE{placement.size.cx, placement.size.cy}, 0.0);
    object->SetFill(std::move(fill));
    m_host.InvalidatePageRect(SelectionArea(), true);
    CPageItem* item = m_page.AddObject(std::move(object));
    m_page.SelectItem(item);
    GetToolsAndInspector().ShowObjectInspector();
    RecordUndo(kUndoAdded);
    m_page.RenderDirtyObjects();
    NotifyInspector(kGestureEnded);
    m_host.InvalidateAll(true);
}

void CMouseTools::ReleaseTextBand()
{
    const CRect rect = TextObjectRect(m_textBandRect, m_nDefaultTextHeight);
    CPageItem* item = m_page.CreateObject(POINT{m_lastPoint.x, m_lastPoint.y}, 0);
    if (auto* text = item ? dynamic_cast<CTextObject*>(item->GetCurrentObject()) : nullptr) {
        // The band is the text's box: the box the editor lays the text out in, and the object's own size.
        CTextBody& body = *text->GetTextBody();
        body.m_nWidth = rect.Width();
        body.m_nHeight = rect.Height();
        text->SetSize(rect.Width(), rect.Height());
        text->SetCenter(DPOINT{(rect.left + rect.right) / 2.0, (rect.top + rect.bottom) / 2.0});
        text->UpdateHandles();
        if (CObjectFrame* frame = item->GetGroup())
            frame->RecalcBounds();
        m_page.SetEditedObject(text);
        m_page.SetEditingInPlace(true);
        text->BeginEdit();
        m_host.TakeFocus();
    }
    m_host.InvalidateAll(false);
    NotifyInspector(kSelectionChanged);
    ResetDragState();
    m_host.LetMouseGo();
}

void CMouseTools::OnLButtonDblClk(const MouseInput& input)
{
    if (GetToolsAndInspector().GetToolsBarTool() != kMouseToolArrow)
        return;
    const int hit = HitTestItem(m_page, input.pt, true, m_hitMap);
    if (hit < 0)
        return;
    const int kind = m_page.GetItem(hit)->GetCurrentObject()->GetKind();
    if (kind == kToolTextKind) {
        GetToolsAndInspector().SetToolsBarTool(kMouseToolText);
        PressText(input);
    } else if (kind == kHtmlKind) {
        GetToolsAndInspector().ShowObjectInspector();
        GetToolsAndInspector().SendObjectPageCommand(kEditHtmlCommand, false);
    }
}

void CMouseTools::OnCaptureLost()
{
    if (!m_bDragging && !m_bGuideDrag)
        return;
    if (m_bRotating || m_bResizeTop || m_bResizeLeft || m_bResizeRight || m_bResizeBottom || m_bCreating)
        if (CPageItem* single = m_page.GetSingleSelectedItem())
            single->GetCurrentObject()->SetDirty();
    const bool moving = m_bMoving, rotating = m_bRotating,
               resizing = m_bResizeTop || m_bResizeLeft || m_bResizeRight || m_bResizeBottom;
    ForSelectedGroups(m_page, [&](CObjectFrame& group) {
        if (moving)
            group.EndTransform();
        else if (resizing)
            group.EndResize();
        else if (rotating)
            group.EndRotate();
    });
    m_page.UnfreezeSelectedObjects();
    ResetDragState();
    m_page.RenderDirtyObjects();
    m_host.InvalidateAll(true);
}
