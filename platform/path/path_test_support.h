#pragma once

// Outlines the path tests and the benchmark both draw.

#include "platform/path/path.h"

// A closed ellipse of four cubic quarters, starting and ending at its rightmost point.
inline void AddEllipse(CPath& path, double cx, double cy, double rx, double ry)
{
    // Control-point distance of a cubic quarter ellipse, as a share of the radius.
    constexpr double kKappa = 0.5522847498;
    const double kx = rx * kKappa, ky = ry * kKappa;
    path.MoveTo(cx + rx, cy);
    path.CurveTo(cx + rx, cy + ky, cx + kx, cy + ry, cx, cy + ry);
    path.CurveTo(cx - kx, cy + ry, cx - rx, cy + ky, cx - rx, cy);
    path.CurveTo(cx - rx, cy - ky, cx - kx, cy - ry, cx, cy - ry);
    path.CurveTo(cx + kx, cy - ry, cx + rx, cy - ky, cx + rx, cy);
    path.Close();
}
