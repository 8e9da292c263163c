#include "app/site/page_item.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>
#include <string>

#include "app/model/fill_info.h"
#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/model/text_style.h"
#include "app/objects/object_factory.h"
#include "app/objects/path_object.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"

namespace {

constexpr int kItemFramesChanged = 10012;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// How close an angle must come to a right angle to count as one.
constexpr double kRightAngleSlack = 0.0001;

bool IsKeptOnTopKind(const CPageObject& object)
{
    return object.GetKind() == objectCounter || object.GetKind() == objectForm;
}

// Even sizes centre on a pixel edge (a fraction of exactly 0.5 goes down), odd ones on a pixel's middle.
double SnapCoordinate(double v, int size)
{
    if (size % 2 == 0)
        return std::ceil(v - 0.5);
    return std::floor(v) + 0.5;
}

} // namespace

CPageItem::CPageItem(std::unique_ptr<CPageObject> object, CPixMap* renderBuffer)
    : m_pObject(std::move(object)), m_pRenderBuffer(renderBuffer)
{
    m_pObject->UpdateHandles();
    m_pObject->SetItem(this);
}

CPageItem::~CPageItem() = default;

CPageObject* CPageItem::GetCurrentObject() const
{
    return m_bMouseOverShown && m_pMouseOverObject ? m_pMouseOverObject.get() : m_pObject.get();
}

bool CPageItem::IsSelected() const
{
    return m_pGroup && m_pGroup->IsSelected();
}

void CPageItem::SetMouseOverObject(std::unique_ptr<CPageObject> object)
{
    if (m_pMouseOverObject)
        m_pMouseOverObject->SetItem(nullptr);
    m_pMouseOverObject = std::move(object);
    if (m_pMouseOverObject)
        m_pMouseOverObject->SetItem(this);
    m_bHasMouseOver = m_bMouseOverShown = m_bSameText = m_pMouseOverObject != nullptr;
}

std::unique_ptr<CPageObject> CPageItem::RemoveMouseOverObject()
{
    m_bHasMouseOver = m_bMouseOverShown = m_bSameText = false;
    if (m_pMouseOverObject)
        m_pMouseOverObject->SetItem(nullptr);
    return std::move(m_pMouseOverObject);
}

void CPageItem::SetSameText(bool same)
{
    m_bSameText = same;
    GetCurrentObject()->SetDirty();
}

void CPageItem::CopyTextToOtherState()
{
    CPageObject* shown = GetCurrentObject();
    CPageObject* other = shown == m_pObject.get() ? m_pMouseOverObject.get() : m_pObject.get();
    const auto* fromText = dynamic_cast<const CTextObject*>(shown);
    auto* toText = dynamic_cast<CTextObject*>(other);
    const auto* from = dynamic_cast<const CPathObject*>(shown);
    auto* to = dynamic_cast<CPathObject*>(other);
    if (fromText && toText) {
        // The twin's old body goes with the returned pointer.
        toText->SetTextBody(fromText->GetTextBody()->Clone());
    } else if (from && to && from->GetTextStyle() && to->GetTextStyle()) {
        to->GetTextStyle()->m_strText = from->GetTextStyle()->m_strText;
        to->SetDirty();
    }
    shown->SetDirty();
}

void CPageItem::CopyTextToMouseOverTwin(const CPageObject& edited)
{
    // The item copies from the object it shows; the text comes from the object whose editing just ended.
    if (m_bHasMouseOver && m_bSameText && GetCurrentObject() == &edited)
        CopyTextToOtherState();
}

int CPageItem::GetMouseOverOffsetX() const
{
    return m_pMouseOverObject ? m_pMouseOverObject->GetOffsetX() : 0;
}

int CPageItem::GetMouseOverOffsetY() const
{
    return m_pMouseOverObject ? m_pMouseOverObject->GetOffsetY() : 0;
}

void CPageItem::SetMouseOverOffsetX(int x)
{
    if (m_pMouseOverObject)
        m_pMouseOverObject->SetOffsetX(x);
}

void CPageItem::SetMouseOverOffsetY(int y)
{
    if (m_pMouseOverObject)
        m_pMouseOverObject->SetOffsetY(y);
}

CRect CPageItem::GetRect() const
{
    RECT rect;
    return GetCurrentObject()->GetBounds(rect);
}

CRect CPageItem::GetPaintRect() const
{
    RECT rect;
    return GetCurrentObject()->GetPaintRect(rect);
}

CRect CPageItem::GetFullRect() const
{
    CRect full;
    full.UnionRect(GetRect(), GetPaintRect());
    return full;
}

void CPageItem::Offset(int dx, int dy)
{
    m_pObject->MoveBy(dx, dy);
    if (m_pMouseOverObject)
        m_pMouseOverObject->MoveBy(dx, dy);
}

void CPageItem::SetCenter(const DPOINT& center)
{
    m_pObject->SetCenter(center);
    if (m_pMouseOverObject)
        m_pMouseOverObject->SetCenter(center);
}

bool CPageItem::UpdateImage()
{
    if (!m_pRenderBuffer)
        return false;
    if (!m_pObject->UpdateImage(*m_pRenderBuffer))
        return false;
    if (m_pMouseOverObject && !m_pMouseOverObject->UpdateImage(*m_pRenderBuffer))
        return false;
    if (m_pGroup)
        m_pGroup->RecalcBounds();
    return true;
}

bool CPageItem::CanRenderElsewhere() const
{
    return m_pRenderBuffer && m_pObject->CanRenderElsewhere() &&
           (!m_pMouseOverObject || m_pMouseOverObject->CanRenderElsewhere());
}

CPageItem::Prepared CPageItem::PrepareImage()
{
    Prepared prepared;
    prepared.main = m_pObject->PrepareImage();
    // As in UpdateImage, the twin is not touched when the main object fails.
    prepared.twin = prepared.main && m_pMouseOverObject && m_pMouseOverObject->PrepareImage();
    return prepared;
}

bool CPageItem::NeedsImageUpdate() const
{
    return m_pObject->NeedsImageUpdate() || (m_pMouseOverObject && m_pMouseOverObject->NeedsImageUpdate());
}

int CPageItem::RenderPreparedImage(const Prepared& prepared, CPixMap& scratch)
{
    if (!prepared.main)
        return CPageObject::renderFailed;
    const int main = m_pObject->RenderPreparedImage(scratch);
    if (main != CPageObject::renderDone || !m_pMouseOverObject)
        return main;
    return prepared.twin ? m_pMouseOverObject->RenderPreparedImage(scratch) : CPageObject::renderFailed;
}

void CPageItem::FinishPreparedImage(bool rendered)
{
    if (rendered && m_pGroup)
        m_pGroup->RecalcBounds();
}

void CPageItem::FreeCaches()
{
    m_pObject->FreeCaches();
    if (m_pMouseOverObject)
        m_pMouseOverObject->FreeCaches();
}

int CPageItem::GetDownloadSize(double divisor) const
{
    return m_pObject->GetDownloadSize(divisor) +
           (m_pMouseOverObject ? m_pMouseOverObject->GetDownloadSize(divisor) : 0);
}

void CPageItem::OnPageDeleted(int page)
{
    m_pObject->OnPageDeleted(page);
    if (m_pMouseOverObject)
        m_pMouseOverObject->OnPageDeleted(page);
}

void CPageItem::ClampPageLinks(int count)
{
    m_pObject->ClampPageLinks(count);
    if (m_pMouseOverObject)
        m_pMouseOverObject->ClampPageLinks(count);
}

void CPageItem::ResetPageLinks()
{
    m_pObject->ResetPageLinks();
    if (m_pMouseOverObject)
        m_pMouseOverObject->ResetPageLinks();
}

void CPageItem::ResizeByDrag(POINT anchor, POINT pointer, bool square)
{
    if (IsKeptOnTopKind(*m_pObject)) {
        SetCenter(DPOINT{double(pointer.x), double(pointer.y)});
        return;
    }
    int dx = pointer.x == anchor.x ? 1 : pointer.x - anchor.x;
    int dy = pointer.y == anchor.y ? 1 : pointer.y - anchor.y;
    if (square) {
        const int side = std::min(std::abs(dx), std::abs(dy));
        dx = dx < 0 ? -side : side;
        dy = dy < 0 ? -side : side;
    }
    SetCenter(DPOINT{anchor.x + dx / 2.0, anchor.y + dy / 2.0});
    GetCurrentObject()->SetSize(std::abs(dx), std::abs(dy));
    NotifyInspector(kItemFramesChanged);
}

bool CPageItem::ResizeByHandle(int handle, POINT pointer, bool square, bool proportional, bool firstStep)
{
    // For each edge handle: the handle opposite it, and the ends of the edge that stays where it is.
    struct Edge
    {
        int handle, opposite, from, to;
        bool vertical;
    };
    static constexpr Edge kEdges[] = {{1, 6, 5, 7, true}, {3, 4, 7, 2, false}, {4, 3, 0, 5, false}, {6, 1, 2, 0, true}};
    const Edge* edge =
        std::find_if(std::begin(kEdges), std::end(kEdges), [&](const Edge& e) { return e.handle == handle; });
    if (edge == std::end(kEdges))
        return false;

    CPageObject* object = GetCurrentObject();
    SIZE size;
    object->GetSize(size);
    if (firstStep)
        m_dAspect = size.cy != 0 ? double(size.cx) / size.cy : 1.0;

    const DPOINT* handles = object->GetHandlePoints();
    const DPOINT a = handles[edge->from], b = handles[edge->to], opposite = handles[edge->opposite];
    const double length = std::hypot(b.y - a.y, a.x - b.x);
    if (!(length > 0.0))
        return false;
    // The normal of the fixed edge, pointing toward the dragged handle.
    const double nx = (b.y - a.y) / length, ny = (a.x - b.x) / length;
    const double projection = (pointer.x - opposite.x) * nx + (pointer.y - opposite.y) * ny;
    // A text being edited in place never turns over: dragged across the opposite edge it shrinks to its least size.
    const auto* text = dynamic_cast<const CTextObject*>(object);
    const bool editedText = text && text->IsEditing();
    const bool crossed = projection < 0 && !editedText;

    const int extent = projection < 0 && editedText ? 1 : std::max(RoundHalfUp(std::abs(projection)), 1);
    int width = size.cx, height = size.cy;
    (edge->vertical ? height : width) = extent;
    if (square)
        (edge->vertical ? width : height) = extent;
    if (proportional) {
        if (edge->vertical)
            width = TruncateToInt(height * m_dAspect);
        else
            height = m_dAspect != 0.0 ? TruncateToInt(width / m_dAspect) : height;
    }
    SIZE limit;
    object->GetMaxSize(limit);
    width = std::min<int>(width, limit.cx);
    height = std::min<int>(height, limit.cy);
    object->GetMinSize(limit);
    width = std::max<int>(width, limit.cx);
    height = std::max<int>(height, limit.cy);

    const double half = (edge->vertical ? height : width) / 2.0 * (crossed ? -1.0 : 1.0);
    DPOINT centre{opposite.x + nx * half, opposite.y + ny * half};
    if (object == m_pMouseOverObject.get()) {
        // The handles lie where the twin is shown; the centre both objects share is the main object's.
        centre.x -= object->GetOffsetX();
        centre.y -= object->GetOffsetY();
    }
    SetCenter(centre);
    object->SetSize(width, height);
    NotifyInspector(kItemFramesChanged);
    return crossed;
}

void CPageItem::RotateByHandle(POINT pointer, double startAngle, double startRotation, BYTE snap)
{
    GetCurrentObject()->RotateByHandle(pointer, startAngle, startRotation, snap);
    NotifyInspector(kItemFramesChanged);
}

void CPageItem::SnapToPixels()
{
    CPageObject* object = GetCurrentObject();
    double angle = std::fmod(object->GetRotation(), kTwoPi);
    if (angle < 0)
        angle += kTwoPi;
    // Just short of a full turn is no turn.
    if (kTwoPi - angle < kRightAngleSlack)
        angle -= kTwoPi;
    SIZE size;
    object->GetSize(size);
    DPOINT centre;
    object->GetCenter(centre);
    const auto near = [&](double target) { return std::abs(angle - target) < kRightAngleSlack; };
    constexpr double pi = std::numbers::pi;
    if (near(0.0) || near(pi)) {
        object->SetRotation(near(0.0) ? 0.0 : pi);
        SetCenter(DPOINT{SnapCoordinate(centre.x, size.cx), SnapCoordinate(centre.y, size.cy)});
    } else if (near(pi / 2) || near(1.5 * pi)) {
        object->SetRotation(near(pi / 2) ? 0.5 * pi : 1.5 * pi);
        SetCenter(DPOINT{SnapCoordinate(centre.x, size.cy), SnapCoordinate(centre.y, size.cx)});
    }
    // A rounded rectangle is never drawn exactly square to the grid.
    if (object->GetKind() == objectRectangle && object->GetCorner() > 0)
        object->SetRotation(angle + 0.000001);
    if (m_pGroup)
        m_pGroup->RecalcBounds();
}

bool CPageItem::IsKeptOnTop() const
{
    if (IsKeptOnTopKind(*m_pObject))
        return true;
    // Text without advanced text is written as HTML text, which covers any picture as well.
    if (const auto* text = dynamic_cast<const CTextObject*>(m_pObject.get()))
        return !text->AllowsAdvancedText();
    // A picture kept as its file (an animated GIF) is placed as an image element over the page's picture.
    if (m_pObject->GetKind() == objectRectangle) {
        const CFillInfo* fill = m_pObject->GetFill();
        return fill && fill->IsAnimated();
    }
    return false;
}

bool CPageItem::IsGifPicture() const
{
    if (m_pObject->GetKind() != objectRectangle)
        return false;
    const CFillInfo* fill = m_pObject->GetFill();
    if (!fill || !fill->IsAnimated() || fill->GetKind() != CFillInfo::FILL_TEXTURE)
        return false;
    std::string extension = GetFileExtension(fill->GetImageFile());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".gif";
}

bool CPageItem::Save(CFile& file) const
{
    try {
        WriteUInt32(file, kTag);
        WriteFlag(file, m_bHasMouseOver);
        WriteFlag(file, m_bMouseOverShown);
        WriteFlag(file, m_bSameText);
        m_pObject->Save(file);
        if (m_pMouseOverObject)
            m_pMouseOverObject->Save(file);
    } catch (const CFileException&) {
        return false;
    }
    return true;
}

std::unique_ptr<CPageItem> CPageItem::Load(CFile& file, CPixMap* renderBuffer, int major, int minor)
{
    // Every object read is held by its owner from the moment it exists, so any way out frees both.
    try {
        if (ReadUInt32(file) != kTag)
            return nullptr;
        const bool hasMouseOver = ReadFlag(file);
        const bool mouseOverShown = ReadFlag(file);
        const bool storedSameText = ReadFlag(file);
        const bool sameText = major == 1 && minor < 6 ? true : storedSameText;
        std::unique_ptr<CPageObject> object = CreatePageObjectFromArchive(file, major, minor);
        if (!object)
            return nullptr;
        std::unique_ptr<CPageObject> twin;
        if (hasMouseOver) {
            twin = CreatePageObjectFromArchive(file, major, minor);
            if (!twin || twin->GetKind() != object->GetKind())
                return nullptr;
            // These files hold no advanced-text flag, and a text with a mouse-over twin is never plain text.
            if (major == 1 && (minor == 0 || minor == 3))
                for (CPageObject* read : {object.get(), twin.get()})
                    if (auto* text = dynamic_cast<CTextObject*>(read))
                        text->GetTextBody()->m_allowAdvanced = 1;
        }
        auto item = std::make_unique<CPageItem>(std::move(object), renderBuffer);
        if (twin)
            item->SetMouseOverObject(std::move(twin));
        item->m_bMouseOverShown = mouseOverShown;
        item->m_bSameText = sameText;
        return item;
    } catch (const CFileException&) {
        return nullptr;
    }
}
