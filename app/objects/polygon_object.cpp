#include "app/objects/polygon_object.h"

#include "app/objects/object_factory.h"

CPolygonObject::CPolygonObject(double x, double y, const SIZE& size, double rotation)
    : CPolygonObject(x, y, size, rotation, shapeTriangle)
{
}

CPolygonObject::CPolygonObject(double x, double y, const SIZE& size, double rotation, int shapeCode)
    : CPathObject(x, y, size, rotation, shapeCode)
{
    dirty = 1;
    BuildOutline();
    UpdateHandles();
}

std::unique_ptr<CPageObject> CPolygonObject::Create()
{
    return std::make_unique<CPolygonObject>(0.0, 0.0, SIZE{2, 2}, 0.0);
}

void CPolygonObject::BuildOutline()
{
    ShapeGeometry geometry{DPOINT{centreX, centreY}, width, height, rotation};
    if (!BuildShapeOutline(shapeCode, geometry, outline))
        return;
    width = geometry.width;
    FinishOutline();
}

void CPolygonObject::Save(CFile& file) const
{
    SaveOutlineObject(file, kPolygonObjectTag);
}

void CPolygonObject::Load(CFile& file, int major, int minor)
{
    // The outline of the triangle the object was made as belongs to no stored shape: a stored code without an
    // outline must leave the object empty, not show that triangle at the origin.
    outline.Clear();
    LoadOutlineObject(file, major, minor);
    if (shapeCode < kFirstShapeCode || shapeCode > kLastShapeCode)
        FinishOutline();
}

std::unique_ptr<CPageObject> CPolygonObject::Clone() const
{
    auto clone = std::make_unique<CPolygonObject>(centreX, centreY, SIZE{width, height}, rotation);
    CopySnapshotInto(*clone);
    return clone;
}

std::unique_ptr<CPageObject> CPolygonObject::Duplicate() const
{
    auto copy = std::make_unique<CPolygonObject>(centreX, centreY, SIZE{width, height}, rotation, shapeCode);
    CopyAllInto(*copy);
    return copy;
}
