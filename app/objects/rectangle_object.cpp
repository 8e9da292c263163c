#include "app/objects/rectangle_object.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/model/fill_info.h"
#include "app/objects/object_factory.h"
#include "platform/win/codepage1252.h"

CRectangleObject::CRectangleObject(double x, double y, const SIZE& size, double rotation)
    : CPathObject(x, y, size, rotation)
{
    dirty = 1;
    BuildOutline();
    UpdateHandles();
}

std::unique_ptr<CPageObject> CRectangleObject::Create()
{
    return std::make_unique<CRectangleObject>(0.0, 0.0, SIZE{2, 2}, 0.0);
}

int CRectangleObject::CornerRadius(int corner, int width, int height)
{
    if (corner < 1)
        return 0;
    // Values beyond the palette's range, as a damaged file may hold, act as the largest.
    const int64_t percent = std::min(corner, kMaxCorner);
    // Two thirds of each side are taken in real numbers and only then cut to whole pixels: a side of 100 gives 66,
    // not 100 - 33.
    const auto twoThirds = [](int side) { return static_cast<int64_t>(side - side / 3.0); };
    const int64_t a = twoThirds(width), b = twoThirds(height);
    return static_cast<int>(percent * std::min(a, b) / 100);
}

void CRectangleObject::BuildOutline()
{
    const double left = centreX - width / 2.0, top = centreY - height / 2.0;
    const double right = left + width, bottom = top + height;
    outline.Clear();
    auto moveTo = [&](double x, double y) {
        const DPOINT p = Turn(x, y);
        outline.MoveTo(p.x, p.y);
    };
    auto lineTo = [&](double x, double y) {
        const DPOINT p = Turn(x, y);
        outline.LineTo(p.x, p.y);
    };
    // Both control points on the corner give a corner tighter than a circular arc.
    auto cornerTo = [&](double cx, double cy, double x, double y) {
        const DPOINT c = Turn(cx, cy), p = Turn(x, y);
        outline.CurveTo(c.x, c.y, c.x, c.y, p.x, p.y);
    };

    const int r = CornerRadius(corner, width, height);
    if (corner < 1) {
        moveTo(left, top);
        lineTo(right, top);
        lineTo(right, bottom);
        lineTo(left, bottom);
    } else {
        moveTo(left + r, top);
        lineTo(right - r, top);
        cornerTo(right, top, right, top + r);
        lineTo(right, bottom - r);
        cornerTo(right, bottom, right - r, bottom);
        lineTo(left + r, bottom);
        cornerTo(left, bottom, left, bottom - r);
        lineTo(left, top + r);
        cornerTo(left, top, left + r, top);
    }
    outline.Close();
    FinishOutline();
}

bool CRectangleObject::CanRotate() const
{
    if (HasAnimatedFill())
        return false;
    if (!fill || fill->GetKind() != CFillInfo::FILL_TEXTURE)
        return true;
    return LowerCase1252(fill->GetImageFile()).find(".png") == std::string::npos;
}

void CRectangleObject::Save(CFile& file) const
{
    SaveOutlineObject(file, kRectangleObjectTag);
}

void CRectangleObject::Load(CFile& file, int major, int minor)
{
    // Files without a corner value have square corners.
    corner = 0;
    LoadOutlineObject(file, major, minor);
}

std::unique_ptr<CPageObject> CRectangleObject::Clone() const
{
    auto clone = std::make_unique<CRectangleObject>(centreX, centreY, SIZE{width, height}, rotation);
    clone->corner = corner;
    clone->BuildOutline();
    clone->UpdateHandles();
    CopySnapshotInto(*clone);
    return clone;
}

std::unique_ptr<CPageObject> CRectangleObject::Duplicate() const
{
    auto copy = std::make_unique<CRectangleObject>(centreX, centreY, SIZE{width, height}, rotation);
    copy->corner = corner;
    copy->BuildOutline();
    copy->UpdateHandles();
    CopyAllInto(*copy);
    return copy;
}
