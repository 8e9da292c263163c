#pragma once

// A circle or ellipse filling its box.

#include <memory>

#include "app/objects/path_object.h"

class CCircleObject : public CPathObject
{
public:
    CCircleObject(double x, double y, const SIZE& size, double rotation);
    // What the object factory makes before Load: at (0, 0), 2 x 2, unturned.
    static std::unique_ptr<CPageObject> Create();

    int GetKind() const override { return objectCircle; }
    bool CanHaveButtonText() const override { return true; }

    void Save(CFile& file) const override;
    void Load(CFile& file, int major, int minor) override;
    std::unique_ptr<CPageObject> Clone() const override;
    std::unique_ptr<CPageObject> Duplicate() const override;

protected:
    void BuildOutline() override;
};
