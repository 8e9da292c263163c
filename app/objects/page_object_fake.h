#pragma once

// A page object for tests: it implements only what the root leaves to each class, so the root's own answers show.
// Its geometry is its bounds: the centre and size are read from them, the handles sit on their edges, and moves
// and new centres are ignored. Tests set the root's fields directly.

#include <memory>

#include "app/objects/page_object.h"

class FakePageObject : public CPageObject
{
public:
    explicit FakePageObject(int kind = objectCounter) : kind(kind) { UpdateHandles(); }

    void GiveImage(std::unique_ptr<CImage> newImage) { image = std::move(newImage); }
    void PlaceAt(const CRect& rect, BYTE dirtyFlag)
    {
        bounds = rect;
        dirty = dirtyFlag;
        UpdateHandles();
    }
    void SetBoundsAndOffsets(const CRect& rect, int x, int y)
    {
        bounds = rect;
        offsetX = x;
        offsetY = y;
    }

    DPOINT& GetCenter(DPOINT& center) const override
    {
        center = {(bounds.left + bounds.right) / 2.0, (bounds.top + bounds.bottom) / 2.0};
        return center;
    }
    void SetCenter(const DPOINT&) override {}
    void MoveBy(int, int) override {}
    SIZE& GetSize(SIZE& size) const override
    {
        size = bounds.Size();
        return size;
    }
    void GetPixels(int, int, CPixMap&, const CColor*) override {}
    RECT& GetPaintRect(RECT& rect) const override
    {
        rect = bounds;
        return rect;
    }
    bool UpdateImage(CPixMap&) override { return true; }
    void OnPageDeleted(int) override {}
    void ClampPageLinks(int) override {}
    void ResetPageLinks() override {}
    // The corners and edge middles of the bounds, row by row.
    void UpdateHandles() override
    {
        const double xs[] = {double(bounds.left), (bounds.left + bounds.right) / 2.0, double(bounds.right)};
        const double ys[] = {double(bounds.top), (bounds.top + bounds.bottom) / 2.0, double(bounds.bottom)};
        int n = 0;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                if (row != 1 || col != 1)
                    handles[n++] = {xs[col], ys[row]};
    }
    int GetKind() const override { return kind; }
    int GetDownloadSize(double) const override { return 0; }
    void Save(CFile&) const override {}
    void Load(CFile&, int, int) override {}
    std::unique_ptr<CPageObject> Clone() const override { return std::make_unique<FakePageObject>(kind); }
    void CopyFrom(CPageObject&) override {}

private:
    int kind;
};
