#pragma once

// Bitmaps of the resource folder, named by id, loaded into caller-side pixel maps the way the controls and the
// program draw with them. A bitmap file is a PNG; its transparency is ignored, since a picture that needs a shape
// comes with a grey mask bitmap of its own.

#include "image/image.h"

#include <cstdint>
#include <vector>

// A bitmap as the display hands it out: bitsPerPixel 32, each pixel the bytes blue, green, red and one unused,
// rows without padding. (The 16-bit layout of old displays does not occur: the probes report a 32-bit display.)
struct DeviceBitmap
{
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<uint8_t> bits;
};

// False when the resource folder holds no readable picture for id.
bool LoadDeviceBitmap(unsigned id, DeviceBitmap& bitmap);

// The loaders below write a bitmap into the top-left corner of *map. With allocate the map is first replaced by an
// interleaved map of the bitmap's size; without it the map must already be interleaved, of the loader's mode and
// at least the bitmap's size. Each returns false, leaving the map as it was, when the bitmap cannot be loaded or
// the map does not fit it.

// Mode 3: the map's three bytes get the device's blue, green and red.
bool LoadBitmapRGB(unsigned id, CPixMap* map, bool allocate);

// Mode 0x80000003 (alpha first): the device's blue, green and red go to bytes 1 to 3 and the alpha byte is kept;
// with alphaOnly the device's first byte goes to the alpha byte and the colour is kept, so that a grey bitmap
// serves as the mask of a colour bitmap loaded before it.
bool LoadBitmapRGBA(unsigned id, CPixMap* map, bool allocate, bool alphaOnly);

// The program's loader: LoadBitmapRGB, with red first instead of blue when rgbOrder is set.
bool LoadProgramBitmap(unsigned id, CPixMap* map, bool allocate, bool rgbOrder);

// The program's display probe, bitmap 421: true only on a display of 16 bits per pixel, which does not occur here.
bool Is16BitDisplay();

// The 16-bit pixel layout read from the probe bitmap: false, with the outputs unchanged, unless the display has 16
// bits per pixel.
bool Get16BitPixelLayout(uint16_t& redMask, uint16_t& greenMask, uint16_t& blueMask, int& redShift, int& greenShift,
                         int& blueShift, uint16_t& redBits, uint16_t& greenBits, uint16_t& blueBits);
