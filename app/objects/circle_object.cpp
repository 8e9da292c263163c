#include "app/objects/circle_object.h"

#include "app/objects/object_factory.h"

namespace {

// Places each of the four quarter curves' control points this far (as a share of the box) from the ends, which
// makes the curves hug a true quarter ellipse.
constexpr double kCurveReach = 0.276142374;

} // namespace

CCircleObject::CCircleObject(double x, double y, const SIZE& size, double rotation) : CPathObject(x, y, size, rotation)
{
    dirty = 1;
    BuildOutline();
    UpdateHandles();
}

std::unique_ptr<CPageObject> CCircleObject::Create()
{
    return std::make_unique<CCircleObject>(0.0, 0.0, SIZE{2, 2}, 0.0);
}

void CCircleObject::BuildOutline()
{
    // A hair smaller than the box, so that an edge on a pixel boundary does not spill into the next pixel.
    const double w = width - 0.01, h = height - 0.01;
    const double kw = kCurveReach * w, kh = kCurveReach * h;
    const double left = centreX - w / 2, top = centreY - h / 2;
    auto at = [&](double x, double y) { return Turn(left + x, top + y); };

    outline.Clear();
    const DPOINT start = at(0, h / 2);
    outline.MoveTo(start.x, start.y);
    const DPOINT curves[4][3] = {
        {at(0, h / 2 - kh), at(w / 2 - kw, 0), at(w / 2, 0)},
        {at(w / 2 + kw, 0), at(w, h / 2 - kh), at(w, h / 2)},
        {at(w, h / 2 + kh), at(w / 2 + kw, h), at(w / 2, h)},
        {at(w / 2 - kw, h), at(0, h / 2 + kh), at(0, h / 2)},
    };
    for (const auto& c : curves)
        outline.CurveTo(c[0].x, c[0].y, c[1].x, c[1].y, c[2].x, c[2].y);
    outline.Close();
    FinishOutline();
}

void CCircleObject::Save(CFile& file) const
{
    SaveOutlineObject(file, kCircleObjectTag);
}

void CCircleObject::Load(CFile& file, int major, int minor)
{
    LoadOutlineObject(file, major, minor);
}

std::unique_ptr<CPageObject> CCircleObject::Clone() const
{
    auto clone = std::make_unique<CCircleObject>(centreX, centreY, SIZE{width, height}, rotation);
    CopySnapshotInto(*clone);
    return clone;
}

std::unique_ptr<CPageObject> CCircleObject::Duplicate() const
{
    auto copy = std::make_unique<CCircleObject>(centreX, centreY, SIZE{width, height}, rotation);
    CopyAllInto(*copy);
    return copy;
}
