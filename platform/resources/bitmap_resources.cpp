#include "platform/resources/bitmap_resources.h"

#include "platform/io/io.h"
#include "platform/resources/resource_folder.h"

#include <memory>

namespace {

constexpr unsigned kProgramProbeBitmap = 421;

bool MapFits(const CPixMap& map, IMAGE_MODE mode, const DeviceBitmap& bitmap)
{
    return map.IsValid() && map.interleaved && map.mode == mode && map.bitsPerPlane == 8 && map.width >= bitmap.width &&
           map.height >= bitmap.height;
}

// Loads the bitmap and readies the map for it (replaced when allocate is set); the map is touched only once the
// bitmap is in hand.
bool LoadInto(unsigned id, CPixMap* map, bool allocate, IMAGE_MODE mode, DeviceBitmap& bitmap)
{
    if (!map || !LoadDeviceBitmap(id, bitmap))
        return false;
    if (allocate) {
        std::destroy_at(map);
        std::construct_at(map, mode, bitmap.width, bitmap.height);
    }
    return MapFits(*map, mode, bitmap);
}

// Calls put(map pixel, device pixel) for every pixel of the bitmap.
template <class Put> void ForEachPixel(const DeviceBitmap& bitmap, CPixMap& map, Put put)
{
    const uint8_t* source = bitmap.bits.data();
    for (int y = 0; y < bitmap.height; ++y) {
        unsigned char* target = map.Sample(0, y, 0);
        for (int x = 0; x < bitmap.width; ++x, source += 4, target += map.plane[0].pixelStep)
            put(target, source);
    }
}

} // namespace

bool LoadDeviceBitmap(unsigned id, DeviceBitmap& bitmap)
{
    IOError error = IO_OK;
    const std::unique_ptr<CImage> picture(CIO::LoadImageA(GetBitmapResourcePath(id).string(), IO_LOAD_RGB, &error));
    if (!picture || picture->GetMode() != IMAGE_MODE_RGB)
        return false;
    DeviceBitmap loaded;
    loaded.width = picture->Width();
    loaded.height = picture->Height();
    loaded.bitsPerPixel = 32;
    loaded.bits.resize(static_cast<size_t>(loaded.width) * loaded.height * 4);
    uint8_t* target = loaded.bits.data();
    for (int y = 0; y < loaded.height; ++y) {
        const unsigned char* source = picture->GetData() + static_cast<size_t>(y) * picture->GetStride();
        for (int x = 0; x < loaded.width; ++x, source += 3, target += 4) {
            target[0] = source[2];
            target[1] = source[1];
            target[2] = source[0];
            target[3] = 0;
        }
    }
    bitmap = std::move(loaded);
    return true;
}

bool LoadBitmapRGB(unsigned id, CPixMap* map, bool allocate)
{
    return LoadProgramBitmap(id, map, allocate, false);
}

bool LoadBitmapRGBA(unsigned id, CPixMap* map, bool allocate, bool alphaOnly)
{
    DeviceBitmap bitmap;
    if (!LoadInto(id, map, allocate, IMAGE_MODE_RGBA, bitmap))
        return false;
    if (alphaOnly) {
        ForEachPixel(bitmap, *map, [](unsigned char* to, const uint8_t* from) { to[0] = from[0]; });
    } else {
        ForEachPixel(bitmap, *map, [](unsigned char* to, const uint8_t* from) {
            to[1] = from[0];
            to[2] = from[1];
            to[3] = from[2];
        });
    }
    return true;
}

bool LoadProgramBitmap(unsigned id, CPixMap* map, bool allocate, bool rgbOrder)
{
    DeviceBitmap bitmap;
    if (!LoadInto(id, map, allocate, IMAGE_MODE_RGB, bitmap))
        return false;
    const int first = rgbOrder ? 2 : 0;
    ForEachPixel(bitmap, *map, [first](unsigned char* to, const uint8_t* from) {
        to[0] = from[first];
        to[1] = from[1];
        to[2] = from[2 - first];
    });
    return true;
}

bool Is16BitDisplay()
{
    DeviceBitmap probe;
    return LoadDeviceBitmap(kProgramProbeBitmap, probe) && probe.bitsPerPixel == 16;
}

bool Get16BitPixelLayout(uint16_t&, uint16_t&, uint16_t&, int&, int&, int&, uint16_t&, uint16_t&, uint16_t&)
{
    // Bitmaps come out of the loader at 32 bits per pixel on every display here, so there is no 16-bit layout to
    // read.
    return false;
}
