#pragma once

// What the counter, HTML and form objects share: each is a fixed picture of whole pixels placed about a centre, with
// its handles on the pixel grid or on its box, and a stored centre that must fit the page's 32-bit bounds.

#include <memory>

#include "app/objects/page_object.h"
#include "image/image.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

// v rounded to the nearest whole number, halves away from zero's floor: t when v - t < 0.5, else t + 1, t being v
// truncated toward zero.
int RoundPlacement(double v);

// The bounds of a width x height picture whose centre is (cx, cy): the top-left rounded (RoundPlacement) or
// truncated toward zero.
CRect PlaceAboutCentre(double cx, double cy, int width, int height, bool round);

// Handles on the pixel grid of the bounds, the last column and row inside.
void GridHandles(const CRect& bounds, DPOINT* handles);
// The box of the four corner handles, floor of the smallest and ceiling of the largest coordinate, grown by 3
// pixels on every side.
RECT CornerHandlesPaintRect(const DPOINT* handles);

// Copies the image at (x, y) into the map; without an image the map becomes wholly transparent, so that nothing
// left over in it is drawn.
void CopyImageOrClear(const CImage* image, int x, int y, CPixMap& map);

// An opaque map of mode 0x80000003 from a resource bitmap (which holds blue, green, red); false when the bitmap
// cannot be loaded or the map cannot be allocated (the answer is then null).
std::unique_ptr<CPixMap> LoadOpaqueBitmap(unsigned id);

// Reads a centre of two doubles; a value that is not a number or lies so far out that bounds about it could not be
// held in 32 bits raises the file exception.
DPOINT ReadPlacedCentre(CFile& file);
// Whether ReadPlacedCentre takes the centre; the writers refuse to write any other.
bool IsPlacedCentre(const DPOINT& centre);
void WriteRect(CFile& file, const RECT& rect);
RECT ReadRect(CFile& file);

// The geometry the three share: a centre and the picture's size in whole pixels; a move shifts the bounds, a new
// centre places them again about it.
class CPlacedObject : public CPageObject
{
public:
    DPOINT& GetCenter(DPOINT& center) const override;
    void SetCenter(const DPOINT& center) override;
    void MoveBy(int dx, int dy) override;
    SIZE& GetSize(SIZE& size) const override;
    // The cached picture, or transparency when there is none.
    void GetPixels(int x, int y, CPixMap& map, const CColor* background = nullptr) override;
    RECT& GetPaintRect(RECT& rect) const override;
    // On the pixel grid of the bounds.
    void UpdateHandles() override;

protected:
    CPlacedObject(DPOINT centre = {0.0, 0.0}, int width = 0, int height = 0)
        : centre(centre), width(width), height(height)
    {
    }

    // Places the picture's bounds about (cx, cy), the top-left rounded, and takes their centre and handles.
    void PlaceAt(double cx, double cy);
    // The same about the object's own centre, moved half a pixel up and left along an odd side first, so that an
    // object read or made at a centre keeps the top-left it had.
    void PlaceAboutOwnCentre();

    DPOINT centre = {0.0, 0.0};
    int width = 0;
    int height = 0;
};
