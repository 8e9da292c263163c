#pragma once

// The outlines of the shape tools, built from an object's centre, size and rotation. Pure geometry: the polygon
// object calls them after every change of geometry, and tests and previews call them without an object.

#include <array>
#include <vector>

#include "platform/path/path.h"
#include "platform/win/win_types.h"

// The shape codes the Shapes palette and the insert tool keep. 3 to 12 are regular polygons with that many
// corners; the palette offers 3 to 8.
enum ShapeKind : int
{
    shapeRectangle = 1,
    shapeCircle = 2,
    shapeTriangle = 3,
    shapeDiamond = 4, // a square standing on a corner, as every polygon starts straight up
    shapePentagon = 5,
    shapeHexagon = 6,
    shapeHeptagon = 7,
    shapeOctagon = 8,
    shapeDodecagon = 12,
    shapeArrow = 13,
    shapeDavidStar = 14, // two triangles whose overlap stays empty
    shapeTab = 15,
    shapeSpeechBubble = 16,
    shapeStraightLine = 17,
    shapeFivePointedStar = 18,
    shapeSixPointedStar = 19, // the David star's triangles as one outline, filled through
    shapeFrame = 20,
};

constexpr int kFirstShapeCode = shapeRectangle;
constexpr int kLastShapeCode = shapeFrame;

// What an outline is built from: the centre in page pixels, the unrotated size and the rotation in radians.
struct ShapeGeometry
{
    DPOINT center = {0.0, 0.0};
    int width = 0;
    int height = 0;
    double rotation = 0.0;
};

// True for the shapes that are square by nature; their builder makes the width equal to the height.
bool IsSquareShape(int shapeCode);

// Clears path and builds the outline of shapeCode into it, every point turned about the centre by minus the
// rotation. The stars give geometry the height as their width. A code outside kFirstShapeCode..kLastShapeCode
// builds nothing: path and geometry are left as they were and the answer is false.
bool BuildShapeOutline(int shapeCode, ShapeGeometry& geometry, CPath& path);

namespace detail {

// The corners of a regular polygon before they are turned, the first straight up, each on a whole pixel.
std::vector<DPOINT> RegularPolygonCorners(const ShapeGeometry& geometry, int corners);
// The five-pointed star's outline before it is turned: a tip, then the inner point after it, and so on.
std::array<DPOINT, 10> FivePointedStarPoints(const ShapeGeometry& geometry);

// Where the line through p1 and p2 meets the line through p3 and p4, kept within the box of the four points (the
// stars' chords always cross there). Lines that are parallel, or that a point pair does not define, have no
// crossing; the answer is then p1, so that a star too small to have an inside still gives finite points.
DPOINT IntersectLines(DPOINT p1, DPOINT p2, DPOINT p3, DPOINT p4);

} // namespace detail
