#pragma once

// A rectangle, its corners square or rounded.

#include <memory>

#include "app/objects/path_object.h"

class CRectangleObject : public CPathObject
{
public:
    // The largest corner value: the radius is then two thirds of the shorter side.
    static constexpr int kMaxCorner = 100;

    CRectangleObject(double x, double y, const SIZE& size, double rotation);
    // What the object factory makes before Load: at (0, 0), 2 x 2, unturned.
    static std::unique_ptr<CPageObject> Create();

    int GetKind() const override { return objectRectangle; }

    // 0 or less is square; 1 to 100 the radius in percent of two thirds of the shorter side. The outline takes
    // it at its next rebuild.
    void SetCorner(int value) override { corner = value; }
    int GetCorner() const override { return corner; }
    // The corner radius in pixels the outline uses for a corner value and size.
    static int CornerRadius(int corner, int width, int height);

    // An animated picture is shown as it is: no style, other picture, mouse-over twin or button text may change
    // it, and neither it nor a PNG picture (whose transparency would be lost) is turned.
    bool CanTakeStyle() const override { return !HasAnimatedFill(); }
    bool CanHavePictureFill() const override { return !HasAnimatedFill(); }
    bool CanHaveMouseOver() const override { return !HasAnimatedFill(); }
    bool CanHaveButtonText() const override { return !HasAnimatedFill(); }
    bool CanRotate() const override;

    void Save(CFile& file) const override;
    void Load(CFile& file, int major, int minor) override;
    std::unique_ptr<CPageObject> Clone() const override;
    std::unique_ptr<CPageObject> Duplicate() const override;

protected:
    void BuildOutline() override;
    bool CentresFillContent() const override { return false; }

private:
    int corner = 0;
};
