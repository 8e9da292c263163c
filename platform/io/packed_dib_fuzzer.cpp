// The packed DIB reader: header, colour table and the place of the pixels, each checked against the block.

#include <cstdlib>
#include <vector>

#include "image/image.h"
#include "platform/io/packed_dib.h"
#include "testing/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly the input's size, so that the sanitizer catches any read past the block.
    const std::vector<BYTE> block(data, data + size);
    const BYTE* dib = block.data();
    BITMAPINFOHEADER header;
    ReadDIBHeader(dib, block.size(), header);
    const int colours = DIBNumColors(dib, block.size());
    const int64_t tableBytes = DIBPaletteSize(dib, block.size());
    if ((colours < 0) != (tableBytes < 0))
        std::abort();
    if (const BYTE* bits = FindDIBBits(dib, block.size()); bits && (bits < dib || bits > dib + block.size()))
        std::abort();
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    CPixMap map(IMAGE_MODE_RGB, 6, 4, true);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            for (int p = 0; p < 3; ++p)
                *map.Sample(x, y, p) = static_cast<unsigned char>(x * 40 + y * 60 + p * 70);
    const struct
    {
        const char* name;
        int bits;
        DWORD compression;
    } seeds[] = {{"mono.dib", 1, BI_RGB},  {"four.dib", 4, BI_RGB},  {"rle4.dib", 4, BI_RLE4},
                 {"eight.dib", 8, BI_RGB}, {"rle8.dib", 8, BI_RLE8}, {"rgb.dib", 24, BI_RGB}};
    for (const auto& seed : seeds)
        WriteFuzzSeed(folder, seed.name, BitmapToDIB(map, seed.bits, seed.compression));
    // A core header (12 bytes): 2 x 2 at 1 bit with its three-byte colour table.
    WriteFuzzSeed(folder, "core.dib",
                  {12, 0, 0, 0, 2, 0, 2, 0, 1, 0, 1, 0, 0, 0, 0, 255, 255, 255, 0x40, 0, 0, 0, 0x80, 0, 0, 0});
}
