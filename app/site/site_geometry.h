#pragma once

// The small geometry that items and frames share: turning a point about a centre and placing doubles on the
// pixel grid.

#include "app/objects/text_measure.h"
#include "platform/transform/rotate_scale.h"

// Turns (x, y) about centre by angle radians, in place:
//     x' = dx cos a - dy sin a + cx,  y' = dy cos a + dx sin a + cy.
// Objects draw themselves turned by minus their rotation, so turning by plus the rotation takes a point back
// into the object's own upright frame.
void RotatePoint(double angle, double& x, double& y, const DPOINT& centre);
DPOINT RotatePoint(double angle, DPOINT point, const DPOINT& centre);

// Truncation toward zero onto the pixel grid. Values beyond what an int can hold, and NaN, are first brought to
// the nearest of +-1e9 and 0, so that a degenerate drag never converts an infinity. (Half-up rounding is the
// objects' RoundHalfUp.)
int TruncateToInt(double v);
