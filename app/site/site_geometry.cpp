#include "app/site/site_geometry.h"

#include <cmath>

namespace {

// Far beyond any page (30000 pixels at most) yet well inside int.
constexpr double kLimit = 1e9;

double Guard(double v)
{
    if (std::isnan(v))
        return 0.0;
    return v < -kLimit ? -kLimit : v > kLimit ? kLimit : v;
}

} // namespace

void RotatePoint(double angle, double& x, double& y, const DPOINT& centre)
{
    const double c = std::cos(angle), s = std::sin(angle);
    const double dx = x - centre.x, dy = y - centre.y;
    x = dx * c - dy * s + centre.x;
    y = dy * c + dx * s + centre.y;
}

DPOINT RotatePoint(double angle, DPOINT point, const DPOINT& centre)
{
    RotatePoint(angle, point.x, point.y, centre);
    return point;
}

int TruncateToInt(double v)
{
    return static_cast<int>(std::trunc(Guard(v)));
}
