// The text tool's gestures: a press that edits a text and places its caret, a drag that selects in it, the edited
// text's frame handles and the band that opens a new text.

#include <cmath>
#include <utility>

#include "app/docview/mouse_gestures.h"
#include "app/docview/mouse_tools.h"
#include "app/docview/view_hit_test.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

namespace mouse_gestures {

namespace {

// The text's caret to the character under a page point, the selection extended to it when asked.
void SetCaretAt(CTextObject& text, const CPoint& pt, bool extend)
{
    // Text coordinates start at the object's top-left corner.
    DPOINT centre;
    text.GetCenter(centre);
    SIZE size;
    text.GetSize(size);
    text.SetCaretFromPoint(pt.x - static_cast<int>(std::floor(centre.x - size.cx / 2.0)),
                           pt.y - static_cast<int>(std::floor(centre.y - size.cy / 2.0)), extend);
    // The view's caret follows.
    text.UpdateCaret(text.GetTextBody()->m_caretPara, text.GetTextBody()->m_caretIndex);
}

CTextObject* EditedText(const CSitePage& page, CPageItem*& item)
{
    auto* text = dynamic_cast<CTextObject*>(page.GetEditedObject());
    item = text ? page.FindItem(text) : nullptr;
    return item ? text : nullptr;
}

// A press on empty space ends the edit that runs, or opens the text band.
void PressBeside(GestureContext& context, const CPoint& pt)
{
    CSitePage& page = context.page;
    if (page.IsEditingInPlace()) {
        GetToolsAndInspector().ShowObjectInspector();
        context.host.EndTextEditing();
        NotifyInspector(kSelectionChanged);
        GetToolsAndInspector().SetToolsBarTool(kMouseToolArrow);
        context.host.InvalidateAll(true);
        return;
    }
    context.gesture = TextBand{TextBandAt(pt, context.defaultTextHeight), pt};
    page.ClearSelection();
    context.host.HoldMouse();
    context.host.InvalidateAll(false);
}

} // namespace

void PressText(GestureContext& context, const MouseInput& input)
{
    CSitePage& page = context.page;
    const CPoint& pt = input.pt;
    const int hit = HitTestTextObject(page, pt);
    if (hit < 0) {
        PressBeside(context, pt);
        return;
    }

    CPageItem* item = page.GetItem(hit);
    auto* text = dynamic_cast<CTextObject*>(item->GetCurrentObject());
    if (!text)
        return;
    if (CObjectFrame* own = item->GetGroup(); own && own->IsGroup()) {
        // Editing one text of a user group takes the group apart into a plain selection.
        page.ClearSelection();
        own->SetSelected(true);
        context.RecordUndo(UndoKind::grouping);
        own->SetGroup(false);
    }
    const bool alreadyEdited = page.IsEditingInPlace() && page.GetEditedObject() == text;
    if (alreadyEdited) {
        // The edited text's frame handles: top and bottom move it, left and right change its width.
        const DPOINT* handles = text->GetHandlePoints();
        for (int i = 0; i < CObjectFrame::kHandleCount; ++i)
            if (HitTextHandle(handles, i, pt)) {
                context.gesture = TextFrameDrag{i == 1, i == 3, i == 4, i == 6, pt};
                context.host.HoldMouse();
                return;
            }
    } else {
        GetToolsAndInspector().ShowObjectInspector();
        if (page.IsEditingInPlace())
            context.host.EndTextEditing();
        const int index = page.IndexOfItem(item);
        page.SetEditedObject(text);
        page.SetEditingInPlace(true);
        text->BeginEdit();
        context.RecordUndo(UndoKind::textBody);
        page.SelectItemAt(index);
        NotifyInspector(kSelectionChanged);
    }
    // The caret goes to the character under the point; Shift extends the selection to it, else a new one starts.
    const bool extend = alreadyEdited && input.shift;
    if (!extend)
        text->GetTextBody()->m_selectionEmpty = 1;
    SetCaretAt(*text, pt, extend);
    context.host.InvalidateAll(false);
}

void ReleaseInTextEditing(GestureContext& context)
{
    NotifyInspector(kSelectionChanged);
    context.ResetGesture();
    context.host.LetMouseGo();
    NotifyInspector(kGestureEnded);
}

// ---- Selecting in the edited text ----

void NoGesture::Drag(GestureContext& context, const MouseInput& input)
{
    if (!context.page.IsEditingInPlace() || !input.leftDown)
        return;
    CPageItem* item = nullptr;
    if (CTextObject* text = EditedText(context.page, item)) {
        SetCaretAt(*text, context.ClampToPage(input.pt), true);
        context.host.InvalidatePageRect(InflatedBy(item->GetFullRect(), 6), false);
    }
}

// ---- The edited text's frame ----

void TextFrameDrag::Drag(GestureContext& context, const MouseInput& input)
{
    if (!context.page.IsEditingInPlace())
        return;
    const CPoint pt = context.ClampToPage(input.pt);
    CPageItem* item = nullptr;
    CTextObject* text = EditedText(context.page, item);
    if (!text) {
        lastPoint = pt;
        return;
    }
    const CRect before = InflatedBy(item->GetFullRect(), 8);
    if (top || bottom) {
        item->Offset(pt.x - lastPoint.x, pt.y - lastPoint.y);
    } else if (left || right) {
        // Dragged across the other side, the sides change roles.
        if (item->ResizeByHandle(left ? 3 : 4, POINT{pt.x, pt.y}, false, false, false))
            std::swap(left, right);
    }
    text->UpdateHandles();
    if (CObjectFrame* frame = item->GetGroup())
        frame->RecalcBounds();
    const CTextBody& body = *text->GetTextBody();
    text->UpdateCaret(body.m_caretPara, body.m_caretIndex);
    CRect area = InflatedBy(item->GetFullRect(), 8);
    area.UnionRect(area, before);
    context.host.InvalidatePageRect(area, false);
    lastPoint = pt;
}

// The edit ended while the handle was held (from the keyboard): the frame lets the mouse go as an edit's release
// does.
void TextFrameDrag::Release(GestureContext& context)
{
    context.ResetGesture();
    context.host.LetMouseGo();
    NotifyInspector(kGestureEnded);
}

void TextFrameDrag::Abandon(GestureContext& context)
{
    context.ResetGesture();
}

// ---- The band of a new text ----

void TextBand::Drag(GestureContext& context, const MouseInput& input)
{
    const CPoint pt = context.ClampToPage(input.pt);
    // The band keeps the height of one line; only its right edge follows.
    band.right = pt.x;
    context.host.InvalidateAll(false);
    lastPoint = pt;
}

void TextBand::Release(GestureContext& context)
{
    CSitePage& page = context.page;
    const CRect rect = TextObjectRect(band, context.defaultTextHeight);
    CPageItem* item = page.CreateObject(POINT{lastPoint.x, lastPoint.y}, 0);
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
        page.SetEditedObject(text);
        page.SetEditingInPlace(true);
        text->BeginEdit();
        context.host.TakeFocus();
    }
    context.host.InvalidateAll(false);
    NotifyInspector(kSelectionChanged);
    context.ResetGesture();
    context.host.LetMouseGo();
}

void TextBand::Abandon(GestureContext& context)
{
    context.AbandonGesture();
}

} // namespace mouse_gestures
