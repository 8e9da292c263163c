#include "app/docview/mouse_tools.h"

#include <cstdio>

#include "app/docview/view_hit_test.h"
#include "app/model/app_settings.h"
#include "app/model/fill_style.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/page_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/resources/string_table.h"

namespace {

constexpr int kToolTextKind = 3;
constexpr int kHtmlKind = 5;
// The Object page's button that edits an HTML object's code.
constexpr int kEditHtml = 1558;

} // namespace

// ---- What the gestures share ----

namespace mouse_gestures {

CRect InflatedBy(CRect rect, int by)
{
    rect.InflateRect(by, by);
    return rect;
}

GestureContext::GestureContext(CSitePage& page_, MouseToolHost& host_)
    : page(page_), host(host_), hitMap(IMAGE_MODE_RGBA, 4, 4)
{
}

void GestureContext::EachSelectedGroup(const std::function<void(CObjectFrame&)>& f) const
{
    for (int i = 0; i < page.GetGroupCount(); ++i)
        if (CObjectFrame* group = page.GetGroupAt(i); group->IsSelected())
            f(*group);
}

CRect GestureContext::SelectionArea() const
{
    CRect area;
    EachSelectedGroup([&](const CObjectFrame& group) {
        if (group.IsGroup()) {
            area.UnionRect(area, group.GetUpdateRect(true));
            return;
        }
        for (int j = 0; j < group.GetItemCount(); ++j)
            area.UnionRect(area, InflatedBy(group.GetItem(j)->GetFullRect(), 3));
    });
    return area;
}

void GestureContext::InvalidateItem(const CPageItem& item)
{
    host.InvalidatePageRect(InflatedBy(item.GetFullRect(), 3), false);
}

void GestureContext::RecordUndo(UndoKind kind)
{
    if (CUndoManager* undo = page.GetUndoManager())
        undo->RecordUndo(kind);
}

bool GestureContext::OnPage(const CPoint& pt) const
{
    return pt.x >= 0 && pt.y >= 0 && pt.x < page.GetWidth() && pt.y < page.GetHeight();
}

CPoint GestureContext::ClampToPage(const CPoint& pt) const
{
    return ::ClampToPage(pt, CSize(page.GetWidth(), page.GetHeight()));
}

void GestureContext::DragBand(CRect& band, const CPoint& pt)
{
    CRect before = band;
    before.NormalizeRect();
    band.right = pt.x;
    band.bottom = pt.y;
    CRect after = band;
    after.NormalizeRect();
    // The band's outline is drawn one pixel past its right and bottom edges.
    before.UnionRect(InflatedBy(before, 1), InflatedBy(after, 1));
    host.InvalidatePageRect(before, false);
}

void GestureContext::BeginDragRelease()
{
    GetToolsAndInspector().SetToolsBarTool(kMouseToolArrow);
    page.UnfreezeSelectedObjects();
}

void GestureContext::EndGesture()
{
    ResetGesture();
    page.RenderDirtyObjects();
    NotifyInspector(kGestureEnded);
    host.LetMouseGo();
    host.InvalidateAll(true);
}

void GestureContext::AbandonGesture()
{
    page.UnfreezeSelectedObjects();
    ResetGesture();
    page.RenderDirtyObjects();
    host.InvalidateAll(true);
}

void GestureContext::EndFrames(void (CObjectFrame::*end)())
{
    EachSelectedGroup([end](CObjectFrame& group) { (group.*end)(); });
}

void NoGesture::Release(GestureContext&)
{
    NotifyInspector(kGestureEnded);
}

void NoGesture::Abandon(GestureContext&) {}

} // namespace mouse_gestures

// ---- The tools ----

CMouseTools::CMouseTools(CSitePage& page, MouseToolHost& host) : m_context(page, host)
{
    if (const CAppSettings* settings = GetAppSettings())
        m_context.defaultTextHeight = TextHeightForPointSize(settings->m_textFontSize);
}

void CMouseTools::ResetDragState()
{
    m_context.ResetGesture();
}

bool CMouseTools::IsDragging() const
{
    return std::visit([](const auto& gesture) { return gesture.kDragging; }, m_context.gesture);
}

bool CMouseTools::IsTextBand() const
{
    return std::holds_alternative<mouse_gestures::TextBand>(m_context.gesture);
}

const CRect& CMouseTools::GetTextBandRect() const
{
    static const CRect none;
    const auto* band = std::get_if<mouse_gestures::TextBand>(&m_context.gesture);
    return band ? band->band : none;
}

bool CMouseTools::IsTextFrameResize() const
{
    return std::holds_alternative<mouse_gestures::TextFrameDrag>(m_context.gesture);
}

bool CMouseTools::IsTextFrameResizeSideways() const
{
    const auto* drag = std::get_if<mouse_gestures::TextFrameDrag>(&m_context.gesture);
    return drag && (drag->left || drag->right);
}

bool CMouseTools::IsGuideDrag() const
{
    return std::holds_alternative<mouse_gestures::GuideDrag>(m_context.gesture);
}

bool CMouseTools::IsGuideHorizontal() const
{
    const auto* drag = std::get_if<mouse_gestures::GuideDrag>(&m_context.gesture);
    return drag && drag->horizontal;
}

int CMouseTools::GetGuideIndex() const
{
    const auto* drag = std::get_if<mouse_gestures::GuideDrag>(&m_context.gesture);
    return drag ? drag->index : -1;
}

bool CMouseTools::GetBand(CRect& band) const
{
    if (const auto* rubber = std::get_if<mouse_gestures::RubberBand>(&m_context.gesture))
        band = rubber->band;
    else if (const auto* object = std::get_if<mouse_gestures::ObjectBand>(&m_context.gesture))
        band = object->band;
    else
        return false;
    band.NormalizeRect();
    return true;
}

void CMouseTools::OnLButtonDown(const MouseInput& input)
{
    const int tool = GetToolsAndInspector().GetToolsBarTool();
    if (tool == kMouseToolArrow) {
        if (mouse_gestures::GuideDrag::Press(m_context, input.pt))
            return;
        mouse_gestures::PressArrow(m_context, input);
    }
    if (!m_context.OnPage(input.pt))
        return;
    switch (tool) {
    case kMouseToolText:
        mouse_gestures::PressText(m_context, input);
        break;
    case kMouseToolShape:
    case kMouseToolCircle:
    case kMouseToolRectangle:
        mouse_gestures::CreateDrag::PressShape(m_context, input, tool);
        break;
    case kMouseToolPicture:
    case kMouseToolHtml:
    case kMouseToolFlash:
        mouse_gestures::ObjectBand::Press(m_context, input, tool);
        break;
    case kMouseToolCounter:
    case kMouseToolForm:
        mouse_gestures::CreateDrag::PressPlaced(m_context, input, tool);
        break;
    case kMouseToolEyedropper:
        GetToolsAndInspector().SetToolsBarColor(ReadColorAt(input.pt));
        break;
    default:
        break;
    }
}

void CMouseTools::OnMouseMove(const MouseInput& input)
{
    if (GetToolsAndInspector().GetToolsBarTool() == kMouseToolEyedropper) {
        if (m_context.OnPage(input.pt))
            m_context.host.SetStatusText(EyedropperText(input.pt));
        return;
    }
    // A drag never ends the gesture it runs, so it works on the state in place.
    std::visit([&](auto& gesture) { gesture.Drag(m_context, input); }, m_context.gesture);
}

void CMouseTools::OnLButtonUp(const MouseInput&)
{
    m_context.host.SetStatusText(std::string());
    // A release ends its gesture, and with it the state it works from: it works on a copy.
    mouse_gestures::MouseGesture ending = m_context.gesture;
    if (!std::holds_alternative<mouse_gestures::GuideDrag>(ending) && m_context.page.IsEditingInPlace()) {
        mouse_gestures::ReleaseInTextEditing(m_context);
        return;
    }
    std::visit([&](auto& gesture) { gesture.Release(m_context); }, ending);
}

void CMouseTools::OnLButtonDblClk(const MouseInput& input)
{
    if (GetToolsAndInspector().GetToolsBarTool() != kMouseToolArrow)
        return;
    const int hit = HitTestItem(m_context.page, input.pt, true, m_context.hitMap);
    if (hit < 0)
        return;
    const int kind = m_context.page.GetItem(hit)->GetCurrentObject()->GetKind();
    if (kind == kToolTextKind) {
        GetToolsAndInspector().SetToolsBarTool(kMouseToolText);
        mouse_gestures::PressText(m_context, input);
    } else if (kind == kHtmlKind) {
        GetToolsAndInspector().ShowObjectInspector();
        GetToolsAndInspector().SendObjectPageCommand(kEditHtml, false);
    }
}

void CMouseTools::OnCaptureLost()
{
    mouse_gestures::MouseGesture ending = m_context.gesture;
    std::visit([&](auto& gesture) { gesture.Abandon(m_context); }, ending);
}

// ---- The eyedropper ----

CColor CMouseTools::ReadColorAt(const CPoint& pt)
{
    CSitePage& page = m_context.page;
    CPixMap& map = m_context.hitMap;
    // What the page's background shows at the point.
    BYTE pixel[4] = {0, 255, 255, 255};
    if (CFillStyle* background = page.GetBackground(); background && page.GetRenderBuffer())
        background->Render(RECT{pt.x, pt.y, pt.x + 1, pt.y + 1}, pixel, 4, *page.GetRenderBuffer(), page.GetWidth(),
                           page.GetHeight());
    const CColor under(pixel[1], pixel[2], pixel[3]);
    const int hit = HitTestItem(page, pt, false, map);
    if (hit < 0)
        return under;
    CPageObject* object = page.GetItem(hit)->GetCurrentObject();
    RECT bounds;
    object->GetBounds(bounds);
    const int fullWidth = map.width, fullHeight = map.height;
    map.width = map.height = 1;
    object->GetPixels(pt.x - bounds.left, pt.y - bounds.top, map);
    const CColor color = EyedropperColor(map.Sample(0, 0, 0), under);
    map.width = fullWidth;
    map.height = fullHeight;
    return color;
}

std::string CMouseTools::EyedropperText(const CPoint& pt)
{
    const CColor color = ReadColorAt(pt);
    const unsigned char* rgb = color.GetColor();
    char values[40];
    std::snprintf(values, sizeof values, "   (%3d,%3d,%3d)", rgb[0], rgb[1], rgb[2]);
    return ResourceText(IDS_EYEDROPPER_PROMPT) + values;
}
