#include "app/site/align_commands.h"

#include <algorithm>
#include <cmath>

#include "app/model/fill_info.h"
#include "app/model/undo_manager.h"
#include "app/objects/page_object.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "image/image.h"

namespace {

// Visits each selected frame.
template <typename Visit> void ForEachSelectedFrame(const CSitePage& page, Visit visit)
{
    for (int g = 0; g < page.GetGroupCount(); ++g)
        if (CObjectFrame* frame = page.GetGroupAt(g); frame->IsSelected())
            visit(*frame);
}

bool IsLowSide(AlignMode mode)
{
    return mode == AlignMode::left || mode == AlignMode::top;
}

int EdgeOf(const CRect& rect, AlignMode mode)
{
    switch (mode) {
    case AlignMode::left:
        return rect.left;
    case AlignMode::right:
        return rect.right;
    case AlignMode::top:
        return rect.top;
    case AlignMode::bottom:
        return rect.bottom;
    }
    return 0;
}

// The distance that brings the rectangle's edge onto the reference; 0 when it is there or beyond.
CPoint MoveOnto(const CRect& rect, AlignMode mode, int reference)
{
    const int edge = EdgeOf(rect, mode);
    const bool inside = IsLowSide(mode) ? edge > reference : edge < reference;
    if (!inside)
        return CPoint(0, 0);
    const int distance = reference - edge;
    return mode == AlignMode::left || mode == AlignMode::right ? CPoint(distance, 0) : CPoint(0, distance);
}

CPageItem* SingleSelectedItem(const CSitePage& page)
{
    return page.GetSelectedItemCount() == 1 ? page.GetSingleSelectedItem() : nullptr;
}

const CImage* FillPicture(CPageObject& object)
{
    CFillInfo* fill = object.GetFill();
    if (!fill)
        return nullptr;
    if (!fill->GetImage()) {
        SIZE size{};
        object.GetSize(size);
        fill->UpdateImage(size);
    }
    const CImage* picture = fill->GetImage();
    return picture && picture->Width() > 0 && picture->Height() > 0 ? picture : nullptr;
}

// At most the maximum, then at least the minimum.
int Limit(int value, LONG minimum, LONG maximum)
{
    return std::max<int>(std::min<int>(value, maximum), minimum);
}

} // namespace

bool CanAlign(const CSitePage& page)
{
    return page.GetSelectedItemCount() > 1;
}

int AlignReference(const CSitePage& page, AlignMode mode)
{
    const bool low = IsLowSide(mode);
    const bool across = mode == AlignMode::left || mode == AlignMode::right;
    const int limit = low ? 0 : (across ? page.GetWidth() : page.GetHeight()) - 1;
    int reference = low ? 10000 : -10000;
    ForEachSelectedFrame(page, [&](CObjectFrame& frame) {
        for (int i = 0; i < frame.GetItemCount(); ++i) {
            const int edge = EdgeOf(frame.GetItem(i)->GetRect(), mode);
            reference = low ? std::min(reference, edge) : std::max(reference, edge);
        }
    });
    if (reference == (low ? 10000 : -10000))
        return reference;
    return low ? std::max(reference, limit) : std::min(reference, limit);
}

void Align(CSitePage& page, AlignMode mode)
{
    page.GetUndoManager()->RecordUndo(UndoKind::geometry);
    const int reference = AlignReference(page, mode);
    ForEachSelectedFrame(page, [&](CObjectFrame& frame) {
        if (frame.IsGroup()) {
            const CPoint by = MoveOnto(frame.GetRect(), mode, reference);
            if (by.x != 0 || by.y != 0)
                frame.MoveBy(by.x, by.y);
            return;
        }
        for (int i = 0; i < frame.GetItemCount(); ++i) {
            CPageItem& item = *frame.GetItem(i);
            const CPoint by = MoveOnto(item.GetRect(), mode, reference);
            if (by.x != 0 || by.y != 0)
                item.Offset(by.x, by.y);
        }
        frame.RecalcBounds();
    });
    page.SetModified();
}

bool CanScaleToPictureFill(const CSitePage& page)
{
    const CPageItem* item = SingleSelectedItem(page);
    CPageObject* object = item ? item->GetCurrentObject() : nullptr;
    if (!object || !object->CanResize() || !object->CanHavePictureFill())
        return false;
    const CFillInfo* fill = object->GetFill();
    if (!fill || (fill->GetKind() != CFillInfo::FILL_TEXTURE && fill->GetKind() != CFillInfo::FILL_PICTURE))
        return false;
    const auto* text = dynamic_cast<const CTextObject*>(object);
    return !(text && text->IsEditing());
}

bool ScaleToPictureFill(CSitePage& page)
{
    if (!CanScaleToPictureFill(page))
        return false;
    CPageItem& item = *SingleSelectedItem(page);
    CPageObject& object = *item.GetCurrentObject();
    const CImage* picture = FillPicture(object);
    if (!picture)
        return false;
    page.GetUndoManager()->RecordUndo(UndoKind::geometry);
    const double w = picture->Width();
    const double h = picture->Height();
    SIZE size{}, minimum{}, maximum{};
    object.GetSize(size);
    object.GetMinSize(minimum);
    object.GetMaxSize(maximum);
    const double rx = size.cx / w;
    const double ry = size.cy / h;
    SIZE scaled = size;
    if (rx > ry)
        scaled.cy = Limit(RoundHalfUp(h * rx), minimum.cy, maximum.cy);
    else if (rx < ry)
        scaled.cx = Limit(RoundHalfUp(w * ry), minimum.cx, maximum.cx);
    if (scaled.cx == size.cx && scaled.cy == size.cy)
        return false;
    object.SetSize(scaled);
    if (CObjectFrame* frame = item.GetGroup())
        frame->RecalcBounds();
    page.SetModified();
    return true;
}
