#pragma once

// The raster routines the program's own drawing code uses beside its bitmap loaders: the image library's mode rules
// under the names the program calls them by, and a byte fill.

#include "image/image.h"

#include <cstddef>
#include <cstdint>

// Planes of a mode, the alpha plane included (0 for the free-plane modes 384 to 387).
inline int ImageModePlanes(IMAGE_MODE mode)
{
    return ModePlanes(mode);
}

// True for the free-plane modes 384 to 387, whose planes the creator counts.
inline bool IsFloatImageMode(IMAGE_MODE mode)
{
    return mode >= IMAGE_MODE_PLANES8 && mode <= IMAGE_MODE_PLANES64;
}

// count bytes of value from destination; nothing for a count of 0.
void FillBytes(unsigned char* destination, unsigned char value, size_t count);
