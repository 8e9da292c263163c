#pragma once

#include <cstdint>

#include "image/image.h"

namespace detail {

// Converts one mode's samples to and from the common form: 8-bit RGB rows, or three 16-bit RGB samples
// (little-endian, red first, bytes 0 to 5) for a single colour. Stateless; one instance per converter kind.
class ColorConverter
{
public:
    virtual ~ColorConverter() = default;

    // Row operations: pixel steps count samples of that side's sample size, row steps count bytes.
    virtual void RowToCommon(const uint8_t* src, int srcPixelStep, int srcRowStep, uint8_t* dst, int dstPixelStep,
                             int dstRowStep, int pixelsPerRow, int rows) const = 0;
    // In place: the colour's samples into 16-bit RGB in bytes 0 to 5.
    virtual void PixelToCommon(uint8_t* color) const = 0;
    virtual void RowFromCommon(const uint8_t* src, int srcPixelStep, int srcRowStep, uint8_t* dst, int dstPixelStep,
                               int dstRowStep, int pixelsPerRow, int rows) const = 0;
    // In place: 16-bit RGB in bytes 0 to 5 into the mode's samples.
    virtual void PixelFromCommon(uint8_t* color) const = 0;
};

// The converter of a mode, chosen by the whole 32-bit value: modes 1, 3, 5, 6, 10 and 256 have their own,
// every other value (the alpha modes among them) gets the pass-through converter.
const ColorConverter& GetConverter(IMAGE_MODE mode);

} // namespace detail
