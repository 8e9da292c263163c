#pragma once

// The two image computations behind the shadow, bevel and glow: the spread image (an object's silhouette with a
// margin, blurred) that each effect keeps, and the grey light shading that turns a bevel's spread image into a
// lit edge.

#include <memory>

#include "image/image.h"

// A new coverage image (mode 0x800001FE, 96 dpi) of the source's alpha, centred in a margin of m pixels in each
// direction, blurred with sigma radius. m is ceil(6 * radius) made even, so the blur has room to fade out. A
// source without alpha counts as opaque. Null when the source has no pixels, the radius is negative or not a
// number, or the image or the blur's work memory cannot be had.
std::unique_ptr<CImage> BuildSpreadImage(const CImage& source, double radius);

// The light on one pixel of a coverage map, 0..1, from the slope of its four neighbours (right minus left,
// below minus above) against the light vector (lx, ly), y pointing down. A flat spot gets 0.5. pixel points at
// the pixel's alpha byte; pixelStep and rowStep are in bytes; the neighbours must exist.
double BevelShadeValue(const unsigned char* pixel, int pixelStep, int rowStep, double lx, double ly);

// Writes the grey of the light into the red, green and blue bytes of each of width x height four-byte pixels
// (alpha, red, green, blue) from their alpha bytes; direction 0 lights a raised edge, 1 a sunk one, any other
// value writes nothing. Reads one pixel beyond each side, so the caller passes the interior of a tile with a
// one-pixel border.
void ShadeBevelTile(unsigned char* first, int pixelStep, int rowStep, int width, int height, double lx, double ly,
                    int direction);
