#include "app/site/object_frame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/site/page_item.h"

namespace {

constexpr int kFramesChanged = 10012;
constexpr int kTextResized = 10015;
constexpr double kPi = std::numbers::pi;
constexpr DPOINT kOrigin{0.0, 0.0};

enum Handle
{
    topLeft = 0,
    topCentre = 1,
    topRight = 2,
    middleLeft = 3,
    middleRight = 4,
    bottomLeft = 5,
    bottomCentre = 6,
    bottomRight = 7,
};

// Whole eighths of a turn, each taking the angles up to halfway to the next.
double SnapToEighths(double angle)
{
    for (int k = 0; k < 8; ++k)
        if (angle < (2 * k + 1) * kPi / 8)
            return k * kPi / 4;
    return 0.0;
}

bool IsFinite(const DPOINT& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

DPOINT ReadPoint(CFile& file)
{
    DPOINT p;
    p.x = ReadDouble(file);
    p.y = ReadDouble(file);
    if (!IsFinite(p))
        ThrowBadRecord();
    return p;
}

void WritePoint(CFile& file, const DPOINT& p)
{
    WriteDouble(file, p.x);
    WriteDouble(file, p.y);
}

} // namespace

CObjectFrame::CObjectFrame() = default;

CObjectFrame::CObjectFrame(CPageItem* item)
{
    AddItem(item);
}

CObjectFrame::~CObjectFrame() = default;

std::unique_ptr<CObjectFrame> CObjectFrame::Clone() const
{
    auto copy = std::make_unique<CObjectFrame>();
    copy->m_items = m_items;
    copy->m_rect = m_rect;
    copy->m_canResize = m_canResize;
    copy->m_canRotate = m_canRotate;
    copy->m_group = m_group;
    copy->m_selected = m_selected;
    copy->m_angle = m_angle;
    copy->m_center = m_center;
    copy->m_size = m_size;
    std::copy(std::begin(m_handles), std::end(m_handles), copy->m_handles);
    return copy;
}

void CObjectFrame::AddItem(CPageItem* item)
{
    const CPageObject* object = item->GetCurrentObject();
    m_rect.UnionRect(m_rect, item->GetRect());
    // The first member alone decides what the frame can do.
    const bool first = m_items.empty();
    m_items.push_back(item);
    item->SetGroup(this);
    ComputeSizeAndCenter();
    m_canResize = (first || m_canResize) && object->CanResize();
    m_canRotate = (first || m_canRotate) && object->CanRotate();
    ComputeHandles();
}

void CObjectFrame::RemoveItem(CPageItem* item)
{
    const auto found = std::find(m_items.begin(), m_items.end(), item);
    if (found != m_items.end())
        RemoveItemAt(static_cast<int>(found - m_items.begin()));
}

void CObjectFrame::RemoveItemAt(int i)
{
    if (i < 0 || i >= GetItemCount())
        return;
    CPageItem* item = m_items[i];
    // Drag data lines up with the members, so it loses the same entry.
    if (m_relativeSizes.size() == m_items.size()) {
        m_relativeSizes.erase(m_relativeSizes.begin() + i);
        m_relativePositions.erase(m_relativePositions.begin() + i);
        m_startAngles.erase(m_startAngles.begin() + i);
    }
    m_items.erase(m_items.begin() + i);
    if (item->GetGroup() == this)
        item->SetGroup(nullptr);

    m_rect.SetRectEmpty();
    m_canResize = m_canRotate = true;
    for (const CPageItem* member : m_items) {
        m_rect.UnionRect(m_rect, member->GetRect());
        m_canResize = m_canResize && member->GetCurrentObject()->CanResize();
        m_canRotate = m_canRotate && member->GetCurrentObject()->CanRotate();
    }
    ComputeSizeAndCenter();
    ComputeHandles();
}

void CObjectFrame::AttachItem(CPageItem* item)
{
    m_items.push_back(item);
    item->SetGroup(this);
}

CPageItem* CObjectFrame::GetItem(int i) const
{
    return i >= 0 && i < GetItemCount() ? m_items[i] : nullptr;
}

void CObjectFrame::ReleaseItems()
{
    for (CPageItem* item : m_items)
        if (item->GetGroup() == this)
            item->SetGroup(nullptr);
}

void CObjectFrame::SetGroup(bool group)
{
    m_group = group;
    if (!group) {
        m_angle = 0.0;
        ComputeSizeAndCenter();
        ComputeHandles();
    }
}

CRect CObjectFrame::GetUpdateRect(bool withRotation) const
{
    if (!withRotation)
        return m_rect;
    double minX = m_handles[topLeft].x, maxX = minX, minY = m_handles[topLeft].y, maxY = minY;
    for (int i : {topRight, bottomLeft, bottomRight}) {
        minX = std::min(minX, m_handles[i].x);
        maxX = std::max(maxX, m_handles[i].x);
        minY = std::min(minY, m_handles[i].y);
        maxY = std::max(maxY, m_handles[i].y);
    }
    CRect corners(TruncateToInt(std::floor(minX)), TruncateToInt(std::floor(minY)), TruncateToInt(std::ceil(maxX)),
                  TruncateToInt(std::ceil(maxY)));
    CRect update;
    update.UnionRect(m_rect, corners);
    update.InflateRect(5, 5);
    return update;
}

void CObjectFrame::RecalcBounds()
{
    m_rect.SetRectEmpty();
    for (const CPageItem* member : m_items)
        m_rect.UnionRect(m_rect, member->GetRect());
    ComputeSizeAndCenter();
    ComputeHandles();
}

void CObjectFrame::ComputeHandles()
{
    const double left = m_center.x - m_size.cx / 2.0, right = m_center.x + m_size.cx / 2.0;
    const double top = m_center.y - m_size.cy / 2.0, bottom = m_center.y + m_size.cy / 2.0;
    const double midX = (left + right) / 2, midY = (top + bottom) / 2;
    const DPOINT upright[kHandleCount] = {{left, top},   {midX, top},    {right, top},   {left, midY},
                                          {right, midY}, {left, bottom}, {midX, bottom}, {right, bottom}};
    for (int i = 0; i < kHandleCount; ++i)
        m_handles[i] = RotatePoint(-m_angle, upright[i], m_center);
}

void CObjectFrame::ComputeSizeAndCenter()
{
    if (m_items.empty())
        return;
    // Every member's handles taken into the frame's upright coordinates.
    double minX = 65536.0, minY = 65536.0, maxX = -65536.0, maxY = -65536.0;
    for (const CPageItem* member : m_items) {
        const DPOINT* handles = member->GetCurrentObject()->GetHandlePoints();
        for (int i = 0; i < kHandleCount; ++i) {
            const DPOINT p = RotatePoint(m_angle, handles[i], kOrigin);
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    }
    const double left = std::floor(minX), right = std::ceil(maxX), top = std::floor(minY), bottom = std::ceil(maxY);
    m_size = SIZE{TruncateToInt(right - left), TruncateToInt(bottom - top)};
    m_center = RotatePoint(-m_angle, DPOINT{(left + right) / 2, (top + bottom) / 2}, kOrigin);
}

void CObjectFrame::MoveBy(int dx, int dy)
{
    for (CPageItem* member : m_items)
        member->Offset(dx, dy);
    m_center.x += dx;
    m_center.y += dy;
    m_rect.OffsetRect(dx, dy);
    for (DPOINT& handle : m_handles) {
        handle.x += dx;
        handle.y += dy;
    }
}

void CObjectFrame::Offset(POINT from, POINT to)
{
    MoveBy(to.x - from.x, to.y - from.y);
}

void CObjectFrame::BeginDrag(void (CPageObject::*begin)(), bool& flag)
{
    for (CPageItem* member : m_items)
        (member->GetCurrentObject()->*begin)();
    flag = true;
}

// The members finish their gesture first (which may render them again and move their bounds), then the frame fits
// itself to them.
void CObjectFrame::EndDrag(void (CPageObject::*end)(), bool& flag)
{
    m_rect.SetRectEmpty();
    for (CPageItem* member : m_items) {
        (member->GetCurrentObject()->*end)();
        m_rect.UnionRect(m_rect, member->GetRect());
    }
    flag = false;
    ComputeSizeAndCenter();
    ComputeHandles();
}

void CObjectFrame::BeginTransform()
{
    BeginDrag(&CPageObject::BeginTransform, m_transforming);
}

void CObjectFrame::EndTransform()
{
    EndDrag(&CPageObject::EndTransform, m_transforming);
}

void CObjectFrame::BeginResize()
{
    BeginDrag(&CPageObject::BeginResize, m_resizing);
}

void CObjectFrame::EndResize()
{
    EndDrag(&CPageObject::EndResize, m_resizing);
}

void CObjectFrame::BeginRotate()
{
    BeginDrag(&CPageObject::BeginRotate, m_rotating);
}

void CObjectFrame::EndRotate()
{
    EndDrag(&CPageObject::EndRotate, m_rotating);
}

void CObjectFrame::RecordDragData()
{
    m_startSize = m_size;
    m_relativeSizes.clear();
    m_relativePositions.clear();
    m_startAngles.clear();
    const double w = m_size.cx, h = m_size.cy;
    const DPOINT p0 = m_handles[topLeft];
    for (const CPageItem* member : m_items) {
        const CPageObject* object = member->GetCurrentObject();
        SIZE size;
        object->GetSize(size);
        DPOINT centre;
        object->GetCenter(centre);
        const DPOINT upright = RotatePoint(m_angle, centre, p0);
        m_relativeSizes.push_back(DPOINT{w > 0 ? size.cx / w : 0.0, h > 0 ? size.cy / h : 0.0});
        m_relativePositions.push_back(
            DPOINT{w > 0 ? (upright.x - p0.x) / w : 0.0, h > 0 ? (upright.y - p0.y) / h : 0.0});
        m_startAngles.push_back(object->GetRotation());
    }
}

void CObjectFrame::PlaceMembers(bool turn)
{
    const DPOINT p0 = m_handles[topLeft], p2 = m_handles[topRight], p5 = m_handles[bottomLeft];
    const size_t count = std::min(m_items.size(), m_relativePositions.size());
    for (size_t i = 0; i < count; ++i) {
        const DPOINT uv = m_relativePositions[i];
        m_items[i]->SetCenter(DPOINT{p0.x + (p2.x - p0.x) * uv.x + (p5.x - p0.x) * uv.y,
                                     p0.y + (p2.y - p0.y) * uv.x + (p5.y - p0.y) * uv.y});
        CPageObject* object = m_items[i]->GetCurrentObject();
        if (turn) {
            object->SetRotation(m_angle - m_startAngle + m_startAngles[i]);
        } else {
            object->SetSize(std::max(RoundHalfUp(m_size.cx * m_relativeSizes[i].x), 1),
                            std::max(RoundHalfUp(m_size.cy * m_relativeSizes[i].y), 1));
        }
    }
}

void CObjectFrame::ResizeByHandle(POINT point, bool ctrl, bool shift, bool& top, bool& left, bool& right, bool& bottom,
                                  bool& shiftBefore)
{
    int handle = -1;
    if (top)
        handle = topCentre;
    if (left)
        handle = middleLeft;
    if (right)
        handle = middleRight;
    if (bottom)
        handle = bottomCentre;
    if (handle < 0 || m_items.empty())
        return;

    if (m_items.size() == 1) {
        CPageItem* item = m_items.front();
        const bool crossed = item->ResizeByHandle(handle, point, ctrl, shift, !shiftBefore);
        shiftBefore = shift;
        const CPageObject* object = item->GetCurrentObject();
        m_rect = item->GetRect();
        object->GetCenter(m_center);
        object->GetSize(m_size);
        ComputeHandles();
        if (object->GetKind() == objectText)
            NotifyInspector(kTextResized);
        if (crossed) {
            std::swap(top, bottom);
            std::swap(left, right);
        }
        return;
    }

    const bool vertical = handle == topCentre || handle == bottomCentre;
    const int startDragged = vertical ? m_startSize.cy : m_startSize.cx;
    const int startOther = vertical ? m_startSize.cx : m_startSize.cy;
    // Without the sizes of a drag start there are no proportions to keep.
    if (startDragged <= 0 || startOther <= 0)
        return;
    static constexpr int kOpposite[] = {-1, bottomCentre, -1, middleRight, middleLeft, -1, topCentre, -1};
    const DPOINT anchor = m_handles[kOpposite[handle]];
    const DPOINT p = RotatePoint(m_angle, DPOINT{double(point.x), double(point.y)}, anchor);
    const double reach = handle == topCentre      ? anchor.y - p.y
                         : handle == bottomCentre ? p.y - anchor.y
                         : handle == middleLeft   ? anchor.x - p.x
                                                  : p.x - anchor.x;
    int dragged = std::max(RoundHalfUp(reach), 1);
    int other = RoundHalfUp(double(dragged) * startOther / startDragged);
    if (other < 1) {
        other = 1;
        dragged = RoundHalfUp(double(startDragged) / startOther);
    }
    m_size = vertical ? SIZE{other, dragged} : SIZE{dragged, other};
    DPOINT centre = anchor;
    switch (handle) {
    case topCentre:
        centre.y -= dragged / 2.0;
        break;
    case bottomCentre:
        centre.y += dragged / 2.0;
        break;
    case middleLeft:
        centre.x -= dragged / 2.0;
        break;
    default:
        centre.x += dragged / 2.0;
        break;
    }
    m_center = RotatePoint(-m_angle, centre, anchor);
    ComputeHandles();
    PlaceMembers(false);
    ComputeHandles();
    NotifyInspector(kFramesChanged);
}

void CObjectFrame::RotateToPoint(POINT point, double startMouseAngle, double startFrameAngle, bool snap)
{
    double a = std::atan2(point.y - m_center.y, point.x - m_center.x);
    if (a < 0)
        a += 2 * kPi;
    double angle = startMouseAngle - a + startFrameAngle;
    if (angle < 0)
        angle += 2 * kPi;
    if (angle > 2 * kPi)
        angle -= 2 * kPi;
    if (snap)
        angle = SnapToEighths(angle);
    m_angle = angle;
    m_startAngle = startFrameAngle;
    ComputeHandles();
    PlaceMembers(true);
    NotifyInspector(kFramesChanged);
}

void CObjectFrame::Save(CFile& file) const
{
    WriteInt32(file, m_rect.left);
    WriteInt32(file, m_rect.top);
    WriteInt32(file, m_rect.right);
    WriteInt32(file, m_rect.bottom);
    WriteFlag(file, m_canResize);
    WriteFlag(file, m_canRotate);
    WriteFlag(file, m_group);
    WriteFlag(file, m_selected);
    WriteDouble(file, m_angle);
    WritePoint(file, m_center);
    WriteInt32(file, m_size.cx);
    WriteInt32(file, m_size.cy);
    for (const DPOINT& handle : m_handles)
        WritePoint(file, handle);
}

std::unique_ptr<CObjectFrame> CObjectFrame::Load(CFile& file, int major, int minor)
{
    (void)major, (void)minor;
    try {
        auto frame = std::make_unique<CObjectFrame>();
        frame->m_rect.left = ReadInt32(file);
        frame->m_rect.top = ReadInt32(file);
        frame->m_rect.right = ReadInt32(file);
        frame->m_rect.bottom = ReadInt32(file);
        frame->m_canResize = ReadFlag(file);
        frame->m_canRotate = ReadFlag(file);
        frame->m_group = ReadFlag(file);
        frame->m_selected = ReadFlag(file);
        frame->m_angle = ReadDouble(file);
        if (!std::isfinite(frame->m_angle))
            ThrowBadRecord();
        frame->m_center = ReadPoint(file);
        frame->m_size.cx = ReadInt32(file);
        frame->m_size.cy = ReadInt32(file);
        for (DPOINT& handle : frame->m_handles)
            handle = ReadPoint(file);
        return frame;
    } catch (const CFileException&) {
        return nullptr;
    }
}
