// What the design view draws over the page in client coordinates: the selection's frames and handles with the
// animated-GIF marker, the in-place text's edit frame, the tools' bands and the guides.

#include "app/docview/design_view.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/filefn.h>
#include <wx/image.h>

#include <cmath>

#include "app/model/fill_info.h"
#include "app/objects/page_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/resources/resource_folder.h"

namespace {

constexpr unsigned kAnimatedGifMarker = 489;

const wxColour kSelectionColour(0, 128, 255);
const wxColour kMouseOverColour(64, 192, 64);
const wxColour kGuideColour(144, 131, 255);
const wxColour kTextFrameColour(255, 64, 0);

int RoundHalfUpToInt(double v)
{
    return static_cast<int>(std::floor(v + 0.5));
}

// The marker of an animated GIF picture, 12 x 12; null when its bitmap is missing.
const wxBitmap* AnimatedGifMarker()
{
    static const wxBitmap marker = [] {
        wxImage image;
        const wxString file = wxString::FromUTF8(GetBitmapResourcePath(kAnimatedGifMarker).string());
        if (!wxFileExists(file) || !image.LoadFile(file, wxBITMAP_TYPE_PNG))
            return wxBitmap();
        if (image.GetWidth() != 12 || image.GetHeight() != 12)
            image.Rescale(12, 12);
        return wxBitmap(image);
    }();
    return marker.IsOk() ? &marker : nullptr;
}

// The frame through handles 0, 2, 7, 5 and the eight 5 x 5 squares; with the animated-GIF marker hanging from the
// top-right handle under the squares when asked.
void DrawHandles(wxDC& dc, const DPOINT* handles, const CPoint& offset, const wxColour& squares,
                 bool animated = false)
{
    wxPoint points[8];
    for (int i = 0; i < 8; ++i)
        points[i] = wxPoint(RoundHalfUpToInt(handles[i].x) + offset.x, RoundHalfUpToInt(handles[i].y) + offset.y);
    const wxPoint outline[] = {points[0], points[2], points[7], points[5], points[0]};
    dc.SetPen(wxPen(kSelectionColour, 1));
    dc.DrawLines(5, outline);
    if (const wxBitmap* marker = animated ? AnimatedGifMarker() : nullptr)
        dc.DrawBitmap(*marker, points[2].x - 11, points[2].y);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(squares));
    for (const wxPoint& p : points)
        dc.DrawRectangle(p.x - 2, p.y - 2, 5, 5);
}

} // namespace

bool COrvelView::FramesMeet(const CRect& clip) const
{
    CRect band;
    if (m_tools->IsTextBand() || m_tools->IsDragging() || m_tools->GetBand(band))
        return true;
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    CRect near = clip;
    if (m_pPage->IsEditingInPlace()) {
        // The edit frame's sides, with the marks and arrows that reach up to 6 pixels off them; inside and
        // outside the frame it draws nothing.
        const CPageObject* edited = m_pPage->GetEditedObject();
        if (edited && IsActive()) {
            const DPOINT* handles = edited->GetHandlePoints();
            const auto at = [&](int i) {
                return CPoint(static_cast<int>(handles[i].x) + origin.x - scroll.x,
                              static_cast<int>(handles[i].y) + origin.y - scroll.y);
            };
            const int corners[] = {0, 2, 7, 5, 0};
            for (int i = 0; i < 4; ++i) {
                const CPoint a = at(corners[i]), b = at(corners[i + 1]);
                CRect side(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
                side.InflateRect(8, 8);
                if (near.IntersectRect(side, clip))
                    return true;
            }
        }
    } else if (IsActive()) {
        CRect selection = GetSelectionRect();
        // The handles' squares reach two pixels past the frame.
        selection.InflateRect(3, 3);
        if (near.IntersectRect(selection, clip))
            return true;
    }
    if (m_pPage->AreGuidesHidden())
        return false;
    for (int i = 0; i < m_pPage->GetGuideCount(true); ++i) {
        const int y = m_pPage->GetGuide(true, i) + origin.y - scroll.y;
        if (y >= clip.top - 2 && y <= clip.bottom + 1)
            return true;
    }
    for (int i = 0; i < m_pPage->GetGuideCount(false); ++i) {
        const int x = m_pPage->GetGuide(false, i) + origin.x - scroll.x;
        if (x >= clip.left - 2 && x <= clip.right + 1)
            return true;
    }
    return false;
}

void COrvelView::DrawFrames(wxDC& memory, const CRect& clip)
{
    if (m_pPage->IsEditingInPlace() && IsActive())
        DrawTextEditFrame(memory);
    if (m_tools->IsTextBand()) {
        const CRect band = PageRectToClient(m_tools->GetTextBandRect());
        memory.SetPen(wxPen(kTextFrameColour, 1));
        memory.SetBrush(*wxTRANSPARENT_BRUSH);
        memory.DrawRectangle(band.left + 3, band.top + 3, band.Width() - 6, band.Height() - 6);
    }
    if (IsActive() && !m_tools->IsDragging() && !m_tools->IsTextBand() && !m_pPage->IsEditingInPlace())
        DrawSelection(memory);
    DrawBand(memory);
    if (!m_pPage->AreGuidesHidden())
        DrawGuides(memory, clip);
}

void COrvelView::DrawSelection(wxDC& dc) const
{
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    const CPoint offset(origin.x - scroll.x, origin.y - scroll.y);
    for (int i = 0; i < m_pPage->GetGroupCount(); ++i) {
        const CObjectFrame* group = m_pPage->GetGroupAt(i);
        if (!group->IsSelected())
            continue;
        if (group->IsGroup()) {
            DrawHandles(dc, group->GetHandles(), offset, kSelectionColour);
            continue;
        }
        for (int j = 0; j < group->GetItemCount(); ++j) {
            const CPageItem* item = group->GetItem(j);
            const CPageObject* object = item->GetCurrentObject();
            const CFillInfo* fill = object->GetFill();
            DrawHandles(dc, object->GetHandlePoints(), offset,
                        item->HasMouseOver() ? kMouseOverColour : kSelectionColour, fill && fill->IsAnimated());
        }
    }
}

void COrvelView::DrawGuides(wxDC& dc, const CRect& clip) const
{
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    dc.SetPen(wxPen(kGuideColour, 1));
    // The lines reach a pixel past the area each way: a line's end pixel is only partly covered, and a guide
    // repainted in pieces would show each piece's first pixel paler.
    for (int i = 0; i < m_pPage->GetGuideCount(true); ++i) {
        const int y = m_pPage->GetGuide(true, i) + origin.y - scroll.y;
        dc.DrawLine(clip.left - 1, y, clip.right + 1, y);
    }
    for (int i = 0; i < m_pPage->GetGuideCount(false); ++i) {
        const int x = m_pPage->GetGuide(false, i) + origin.x - scroll.x;
        dc.DrawLine(x, clip.top - 1, x, clip.bottom + 1);
    }
}

void COrvelView::DrawTextEditFrame(wxDC& dc) const
{
    const CPageObject* edited = m_pPage->GetEditedObject();
    if (!edited)
        return;
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    const DPOINT* handles = edited->GetHandlePoints();
    wxPoint p[8];
    for (int i = 0; i < 8; ++i)
        p[i] = wxPoint(static_cast<int>(handles[i].x) + origin.x - scroll.x,
                       static_cast<int>(handles[i].y) + origin.y - scroll.y);
    const wxPoint outline[] = {p[0], p[2], p[7], p[5], p[0]};
    dc.SetPen(wxPen(kTextFrameColour, 1));
    dc.DrawLines(5, outline);
    // Arrows at the sides that change the width, pointing outwards: columns of 5, 3 and 1 pixels.
    for (int side : {-1, 1}) {
        const wxPoint at = side < 0 ? p[3] : p[4];
        for (int step = 1; step <= 3; ++step)
            dc.DrawLine(at.x + side * step, at.y - (3 - step), at.x + side * step, at.y + (3 - step) + 1);
    }
    // Move marks above and below: two 4-pixel bars 2 pixels apart, joined at both ends, and a tick to the handle.
    for (int side : {-1, 1}) {
        const wxPoint at = side < 0 ? p[1] : p[6];
        const int near = at.y + side * 3, far = at.y + side * 6;
        dc.DrawLine(at.x - 2, near, at.x + 2, near);
        dc.DrawLine(at.x - 2, far, at.x + 2, far);
        dc.DrawPoint(at.x - 2, (near + far) / 2);
        dc.DrawPoint(at.x + 1, (near + far) / 2);
        dc.DrawLine(at.x, at.y + side, at.x, at.y + side * 3);
    }
}

// The band of the rubber band, picture and HTML tools: a dotted black line over a white one, so that it shows on
// any page and leaves nothing behind when the area under it is painted again.
void COrvelView::DrawBand(wxDC& dc) const
{
    CRect band;
    if (!m_tools->GetBand(band))
        return;
    const CPoint origin = GetPageOrigin(), scroll = GetScrollPosition();
    band.OffsetRect(origin.x - scroll.x, origin.y - scroll.y);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(*wxWHITE, 1));
    dc.DrawRectangle(band.left, band.top, band.Width() + 1, band.Height() + 1);
    dc.SetPen(wxPen(*wxBLACK, 1, wxPENSTYLE_SHORT_DASH));
    dc.DrawRectangle(band.left, band.top, band.Width() + 1, band.Height() + 1);
}
