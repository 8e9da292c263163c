#pragma once

// The stream form that circle, rectangle and polygon objects share behind their class tag: a head of geometry,
// then five records. Kept apart from the classes so that all three read and check it the same way.

#include "app/objects/page_object.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

class CFillInfo;
class CEffectSettings;
class CLinkInfo;
class CTextStyle;
class CStringAttr;

struct OutlineHead
{
    int width = 0;
    int height = 0;
    double rotation = 0.0;
    DPOINT center = {0.0, 0.0};
    // Polygons only.
    int shapeCode = 3;
    CRect bounds;
    int offsetX = 0;
    int offsetY = 0;
    // Rectangles only; 0 is square corners.
    int corner = 0;
};

// The head without the class tag. The kind (a PageObjectKind) decides whether the polygon's shape code and the
// rectangle's corner value are present; the corner is always written. A head the reader would refuse (see
// IsStoredHead) raises the file exception before any of it is written.
void WriteOutlineHead(CFile& file, int kind, const OutlineHead& head);
// Files of minor version 9 and below hold no corner value; it then stays 0. A negative size, an offset outside
// -100..100, or a rotation or centre that is not a finite number (a centre outside the range that 32-bit page
// bounds can hold) raises the file exception.
OutlineHead ReadOutlineHead(CFile& file, int kind, int major, int minor);
// Whether the reader takes the head; the writers refuse to write any other.
bool IsStoredHead(const OutlineHead& head);

// How far from the page a stored object's centre may lie. The classes turn the centre into 32-bit page bounds and
// add sizes and margins to them; a centre this far out leaves room for all of that, and lies thousands of pages
// beyond any page a site can have.
constexpr double kMaxStoredCoordinate = 1 << 24;
bool IsStoredCoordinate(double value);

// The records behind the head, in their stored order: fill, effects, link, button text, alternate text. Reading
// fills the records the object already owns and hands the file's version on to each.
void WriteOutlineRecords(CFile& file, const CFillInfo& fill, const CEffectSettings& effects, const CLinkInfo& link,
                         const CTextStyle& textStyle, const CStringAttr& altText);
void ReadOutlineRecords(CFile& file, int major, int minor, CFillInfo& fill, CEffectSettings& effects, CLinkInfo& link,
                        CTextStyle& textStyle, CStringAttr& altText);
