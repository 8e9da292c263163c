#pragma once

#include "platform/win/win_types.h"

#include <vector>

// How overlapping parts of an outline are filled. The program fills everything with the even-odd rule, so that an
// inner contour drawn in the same direction as the outer one still cuts a hole.
enum FILL_RULE
{
    FILL_RULE_EVEN_ODD = 0,
    FILL_RULE_WINDING = 1,
};

// A vector outline in page coordinates made of straight and cubic Bezier segments, rasterised into 8-bit coverage.
// Several subpaths may be open or closed; an open one is filled as if closed.
class CPath
{
public:
    CPath() = default;
    ~CPath() = default;

    void Clear();

    // The builders ignore the results; false means the point was not finite and the outline is unchanged.
    bool MoveTo(double x, double y);
    // Without a current point this starts a subpath, as a MoveTo would.
    bool LineTo(double x, double y);
    bool CurveTo(double x1, double y1, double x2, double y2, double x3, double y3);
    // A straight edge back to the start of the current subpath; the next segment starts there.
    bool Close();

    // The whole pixels that Rasterize can give coverage to: a pixel (i, j) spans [i, i + 1) x [j, j + 1), so the
    // box runs from the floor of the outline's least coordinates to the ceiling of its greatest. Tight for curves
    // too (their extremes, not their control points). Empty (all 0) when the outline has no segment.
    CRect GetBoundingBox() const;

    // Writes the coverage (0 outside, 255 inside) of every pixel of area into buffer: the first byte is the area's
    // top-left pixel, neighbouring pixels pixelStep bytes apart, rows rowPitch bytes apart. Every addressed byte of
    // the area is written, covered or not. quality 1 gives hard edges, 2 to 15 fast 4 x 4 anti-aliasing and 16 or
    // more the finest. An empty area writes nothing and succeeds. False, with nothing written, for a null buffer,
    // a step below 1, rows that overlap, a quality below 1 or an unknown rule; false also when the rasteriser
    // fails (out of memory), which may leave the area partly written.
    bool Rasterize(const CRect& area, unsigned char* buffer, int pixelStep, int rowPitch, FILL_RULE rule,
                   int quality) const;

private:
    enum class Op : unsigned char
    {
        Move,
        Line,
        Curve,
        Close
    };
    struct Point
    {
        double x;
        double y;
    };

    std::vector<Op> m_ops;
    // Move and Line take one point, Curve three, Close none.
    std::vector<Point> m_points;
    bool m_hasCurrent = false;
    Point m_current{0, 0};
    Point m_subpathStart{0, 0};
    // Extent of every segment added so far, kept as the outline grows.
    bool m_hasExtent = false;
    double m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0;

    void AddToExtent(double x, double y);
};
