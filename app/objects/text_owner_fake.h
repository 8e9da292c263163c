#pragma once

// A text body owner for tests: its geometry lives in plain fields and every flag can be set.

#include "app/objects/text_body.h"
#include "platform/win/win_types.h"

class FakeTextOwner : public TextBodyOwner
{
public:
    void MarkTextObjectDirty() override {}
    void GetTextObjectCenter(double& x, double& y) const override
    {
        x = cx;
        y = cy;
    }
    void SetTextObjectCenter(double x, double y) override
    {
        cx = x;
        cy = y;
    }
    SIZE GetTextObjectSize() const override { return size; }
    void GetTextObjectScale(double& x, double& y) const override
    {
        x = sx;
        y = sy;
    }
    void SetTextObjectSize(int w, int h) override { size = SIZE{w, h}; }
    bool IsTextObjectEditing() const override { return editing; }
    void SetTextObjectBounds(const RECT& r) override { bounds = r; }
    bool IsTextObjectPlain() const override { return plain; }
    bool IsTextObjectLinked() const override { return linked; }

    double cx = 0.0, cy = 0.0, sx = 1.0, sy = 1.0;
    SIZE size{0, 0};
    bool editing = false;
    bool plain = true;
    bool linked = false;
    CRect bounds;
};
