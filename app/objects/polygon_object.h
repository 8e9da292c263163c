#pragma once

// The outline object whose shape is chosen by a shape code (a ShapeKind): a regular polygon, or one of the
// special outlines of the Shapes palette (arrow, stars, tab, speech bubble, straight line, frame).

#include <memory>

#include "app/objects/path_object.h"
#include "app/objects/shape_outline.h"

class CPolygonObject : public CPathObject
{
public:
    // A triangle.
    CPolygonObject(double x, double y, const SIZE& size, double rotation);
    // The shape never changes afterwards; another shape is another object. A code without an outline (below 1,
    // above 20) leaves the object empty. The stars and the David star make the width equal to the height.
    CPolygonObject(double x, double y, const SIZE& size, double rotation, int shapeCode);
    // What the object factory makes before Load: a triangle at (0, 0), 2 x 2, unturned.
    static std::unique_ptr<CPageObject> Create();

    int GetKind() const override { return objectPolygon; }

    // An animated picture is shown as it is: no style, other picture, mouse-over twin or button text may change
    // it, and it is not turned. It can still be resized.
    bool CanTakeStyle() const override { return !HasAnimatedFill(); }
    bool CanHavePictureFill() const override { return !HasAnimatedFill(); }
    bool CanHaveMouseOver() const override { return !HasAnimatedFill(); }
    bool CanHaveButtonText() const override { return !HasAnimatedFill(); }
    bool CanRotate() const override { return !HasAnimatedFill(); }

    void Save(CFile& file) const override;
    // Reads the stored shape code, not the triangle the object was made as.
    void Load(CFile& file, int major, int minor) override;
    // An undo snapshot holds geometry only, so it is made as a triangle.
    std::unique_ptr<CPageObject> Clone() const override;
    std::unique_ptr<CPageObject> Duplicate() const override;

protected:
    // A code without an outline keeps the outline and bounds there are.
    void BuildOutline() override;
};
