#pragma once

// Packed device-independent bitmaps: a bitmap info header, its colour table and the pixel rows in one block of
// bytes, the form pictures take on the clipboard. Everything here works on the bytes, little-endian, and checks
// every size against the block it reads.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/win/win_types.h"

class CPixMap;
class CLut;

// The 40-byte header of a packed DIB.
struct BITMAPINFOHEADER
{
    DWORD biSize = 40;
    LONG biWidth = 0;
    // Negative for rows stored from the top down.
    LONG biHeight = 0;
    WORD biPlanes = 1;
    WORD biBitCount = 0;
    DWORD biCompression = 0;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};

// Compression codes of the header. The bit-field codes say that channel masks give the places of red, green, blue
// (and alpha) in 16- and 32-bit pixels.
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;
constexpr DWORD BI_ALPHABITFIELDS = 6;

// The header of a core bitmap (12 bytes), which older programs put on the clipboard.
constexpr DWORD kCoreHeaderSize = 12;
constexpr DWORD kInfoHeaderSize = 40;

// The header at p, headerSize bytes long (12, or 40 and more; the caller has checked that they are there). A core
// header gives its size, planes and bit count in the info header's fields, the rest staying 0; a longer header,
// as BMP files carry, gives the 40 bytes it starts with, which are laid out as an info header.
BITMAPINFOHEADER DecodeDIBHeader(const BYTE* p, DWORD headerSize);

// Bytes of one stored row of pixels: every row is padded to whole 4-byte words.
constexpr int64_t DIBRowBytes(int64_t width, int bits)
{
    return ((bits * width + 31) / 32) * 4;
}

// Entries of the colour table that follows the header at the start of the block: biClrUsed when set, else 2, 16
// or 256 by the bit count (none above 8 bits). -1 when the block holds no whole header of 40 or 12 bytes.
int DIBNumColors(const BYTE* dib, size_t size);
// The colour table's size in bytes (4 bytes an entry after an info header, 3 after a core header); -1 as above.
int64_t DIBPaletteSize(const BYTE* dib, size_t size);
// The first byte of the pixel rows, which follow header and colour table; null when those run past the block.
const BYTE* FindDIBBits(const BYTE* dib, size_t size);

// The header as its 40 bytes.
void WriteDIBHeader(const BITMAPINFOHEADER& header, BYTE* out);
// The header from the start of a block; false when the block is shorter than 40 bytes or starts with no info header.
bool ReadDIBHeader(const BYTE* dib, size_t size, BITMAPINFOHEADER& header);

// A zeroed block for the header (copied in), its colour table and its pixels. When biSizeImage is 0 it is set to
// |height| x ((bit count x width + 31) / 32) x 4. Empty when the sizes make no sense or memory runs short.
std::vector<BYTE> AllocateDIB(const BITMAPINFOHEADER& header);

// The pixels of an RGB or RGBA pixel map (8 bits a sample) as a packed DIB of the given depth and compression:
// 1 bit, 4 bits (plain or RLE4), 8 bits (plain or RLE8) or 24 bits (plain); bit count 0 with RLE8 or RLE4 takes
// the depth from the compression. Plain rows run from the top down (negative height). Compressed rows run from the
// bottom up, the only order in which run-length DIBs are valid. Depths of 8 bits and less map each pixel to the
// nearest colour of the palette (or of the standard palette of that depth) and carry it as the colour table.
// Empty for any other combination, an empty map, or when memory runs short.
std::vector<BYTE> BitmapToDIB(const CPixMap& bitmap, int bits, DWORD compression, const CLut* palette = nullptr);
