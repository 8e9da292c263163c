#pragma once

// Whole-block pixel helpers over the strided kernels and the colour converters, for callers outside the library:
// solid fills of maps, raw buffers and new images, and grey pictures widened to RGB.

#include <memory>

#include "image/image.h"

// Sets the first count samples of every pixel of a width x height block of 8-bit samples to values[0 .. count - 1]
// and leaves the pixel's other samples alone. first points at sample 0 of the top-left pixel; pixelStep and
// rowStep count bytes. Nothing happens for an empty block or a count below 1.
void FillPixelSamples(unsigned char* first, int pixelStep, int rowStep, const unsigned char* values, int count,
                      int width, int height);

// The same for samples firstPlane .. firstPlane + count - 1 of the map's pixels (as far as its present width and
// height reach), in either layout. False, with nothing written, for a map of other than 8-bit samples, a map
// without buffers, or planes the map does not have.
bool FillMapSamples(CPixMap& map, int firstPlane, const unsigned char* values, int count);

// An image of the colour's mode in which every pixel has the colour's samples. Null for a mode of other than 8-bit
// samples, or when the image cannot be had.
std::unique_ptr<CImage> MakeSolidImage(const CColor& colour, int width, int height, double dpi = 96.0);

// The pixel exchange copies colour only between images of one colour model. A grey picture (with or without
// alpha) comes back as an RGB one (with the same alpha), each grey in all three colour samples as the grey
// converter widens it; any other picture comes back as it is. Null when the widened copy cannot be had.
std::unique_ptr<CImage> WidenGreyToRgb(std::unique_ptr<CImage> image);
