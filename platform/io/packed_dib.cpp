#include "platform/io/packed_dib.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "image/image.h"
#include "platform/win/little_endian.h"

namespace {

// Blocks beyond this many bytes are refused: their sizes no longer fit the header's fields.
constexpr int64_t kMaxBlock = std::numeric_limits<int32_t>::max();

int ColorsForBitCount(int bits)
{
    switch (bits) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

// The header size at the start of the block, 0 when it holds no whole header of a known kind.
DWORD HeaderSize(const BYTE* dib, size_t size)
{
    if (!dib || size < 4)
        return 0;
    const DWORD headerSize = LoadLE32(dib);
    if ((headerSize != kInfoHeaderSize && headerSize != kCoreHeaderSize) || size < headerSize)
        return 0;
    return headerSize;
}

struct PaletteEntry
{
    BYTE r, g, b;
};

// The colours a depth is drawn with when no palette is given.
std::vector<PaletteEntry> StandardPalette(int bits)
{
    if (bits == 1)
        return {{0, 0, 0}, {255, 255, 255}};
    if (bits == 4)
        return {{0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
                {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
                {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
    const CLut system(LUT_SYSTEM);
    std::vector<PaletteEntry> entries;
    for (int i = 0; i < system.GetColors(); ++i)
        entries.push_back({system[i].red, system[i].green, system[i].blue});
    return entries;
}

BYTE NearestEntry(const std::vector<PaletteEntry>& palette, BYTE r, BYTE g, BYTE b)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (size_t i = 0; i < palette.size() && bestDistance > 0; ++i) {
        const int dr = palette[i].r - r, dg = palette[i].g - g, db = palette[i].b - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return static_cast<BYTE>(best);
}

// Runs of one index, at most 255 long; each row closed by an end of line, the last by the end of the bitmap.
void EncodeRunRow(const std::vector<BYTE>& indices, bool fourBits, bool last, std::vector<BYTE>& out)
{
    const size_t w = indices.size();
    for (size_t i = 0; i < w;) {
        size_t run = 1;
        while (i + run < w && run < 255 && indices[i + run] == indices[i])
            ++run;
        out.push_back(static_cast<BYTE>(run));
        out.push_back(fourBits ? static_cast<BYTE>((indices[i] << 4) | indices[i]) : indices[i]);
        i += run;
    }
    out.push_back(0);
    out.push_back(last ? 1 : 0);
}

} // namespace

BITMAPINFOHEADER DecodeDIBHeader(const BYTE* p, DWORD headerSize)
{
    BITMAPINFOHEADER h;
    h.biSize = headerSize;
    if (headerSize == kCoreHeaderSize) {
        h.biWidth = LoadLE16(p + 4);
        h.biHeight = LoadLE16(p + 6);
        h.biPlanes = LoadLE16(p + 8);
        h.biBitCount = LoadLE16(p + 10);
        return h;
    }
    h.biWidth = static_cast<LONG>(LoadLE32(p + 4));
    h.biHeight = static_cast<LONG>(LoadLE32(p + 8));
    h.biPlanes = LoadLE16(p + 12);
    h.biBitCount = LoadLE16(p + 14);
    h.biCompression = LoadLE32(p + 16);
    h.biSizeImage = LoadLE32(p + 20);
    h.biXPelsPerMeter = static_cast<LONG>(LoadLE32(p + 24));
    h.biYPelsPerMeter = static_cast<LONG>(LoadLE32(p + 28));
    h.biClrUsed = LoadLE32(p + 32);
    h.biClrImportant = LoadLE32(p + 36);
    return h;
}

void WriteDIBHeader(const BITMAPINFOHEADER& h, BYTE* out)
{
    StoreLE32(out + 0, h.biSize);
    StoreLE32(out + 4, static_cast<DWORD>(h.biWidth));
    StoreLE32(out + 8, static_cast<DWORD>(h.biHeight));
    StoreLE16(out + 12, h.biPlanes);
    StoreLE16(out + 14, h.biBitCount);
    StoreLE32(out + 16, h.biCompression);
    StoreLE32(out + 20, h.biSizeImage);
    StoreLE32(out + 24, static_cast<DWORD>(h.biXPelsPerMeter));
    StoreLE32(out + 28, static_cast<DWORD>(h.biYPelsPerMeter));
    StoreLE32(out + 32, h.biClrUsed);
    StoreLE32(out + 36, h.biClrImportant);
}

bool ReadDIBHeader(const BYTE* dib, size_t size, BITMAPINFOHEADER& h)
{
    if (HeaderSize(dib, size) != kInfoHeaderSize)
        return false;
    h = DecodeDIBHeader(dib, kInfoHeaderSize);
    return true;
}

int DIBNumColors(const BYTE* dib, size_t size)
{
    const DWORD headerSize = HeaderSize(dib, size);
    if (headerSize == 0)
        return -1;
    const BITMAPINFOHEADER h = DecodeDIBHeader(dib, headerSize);
    if (h.biClrUsed != 0)
        return static_cast<int>(std::min<DWORD>(h.biClrUsed, std::numeric_limits<int>::max()));
    return ColorsForBitCount(h.biBitCount);
}

int64_t DIBPaletteSize(const BYTE* dib, size_t size)
{
    const int colors = DIBNumColors(dib, size);
    if (colors < 0)
        return -1;
    return static_cast<int64_t>(colors) * (HeaderSize(dib, size) == kInfoHeaderSize ? 4 : 3);
}

const BYTE* FindDIBBits(const BYTE* dib, size_t size)
{
    const int64_t palette = DIBPaletteSize(dib, size);
    if (palette < 0)
        return nullptr;
    const int64_t offset = HeaderSize(dib, size) + palette;
    if (static_cast<uint64_t>(offset) > size)
        return nullptr;
    return dib + offset;
}

std::vector<BYTE> AllocateDIB(const BITMAPINFOHEADER& header)
{
    if (header.biSize != kInfoHeaderSize)
        return {};
    BITMAPINFOHEADER h = header;
    const int64_t colors = h.biClrUsed != 0 ? h.biClrUsed : ColorsForBitCount(h.biBitCount);
    const int64_t tableBytes = colors * 4;
    if (h.biSizeImage == 0) {
        const int64_t height = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
        const int64_t rowBytes = DIBRowBytes(std::max<int64_t>(h.biWidth, 0), h.biBitCount);
        if (rowBytes > 0 && height > kMaxBlock / rowBytes)
            return {};
        h.biSizeImage = static_cast<DWORD>(height * rowBytes);
    }
    const int64_t total = int64_t(kInfoHeaderSize) + tableBytes + h.biSizeImage;
    if (total > kMaxBlock)
        return {};
    std::vector<BYTE> block;
    try {
        block.assign(static_cast<size_t>(total), 0);
    } catch (const std::bad_alloc&) {
        return {};
    }
    WriteDIBHeader(h, block.data());
    return block;
}

std::vector<BYTE> BitmapToDIB(const CPixMap& bitmap, int bits, DWORD compression, const CLut* palette)
{
    if (bits == 0 && compression == BI_RLE8)
        bits = 8;
    else if (bits == 0 && compression == BI_RLE4)
        bits = 4;
    const bool accepted =
        (bits == 1 && compression == BI_RGB) || (bits == 4 && (compression == BI_RGB || compression == BI_RLE4)) ||
        (bits == 8 && (compression == BI_RGB || compression == BI_RLE8)) || (bits == 24 && compression == BI_RGB);
    const bool rgb = bitmap.mode == IMAGE_MODE_RGB || bitmap.mode == IMAGE_MODE_RGBA;
    if (!accepted || !rgb || !bitmap.interleaved || bitmap.bitsPerPlane != 8 || !bitmap.IsValid() || bitmap.width < 1 ||
        bitmap.height < 1)
        return {};
    const int first = bitmap.mode == IMAGE_MODE_RGBA ? 1 : 0;
    const int w = bitmap.width, h = bitmap.height;

    BITMAPINFOHEADER header;
    header.biWidth = w;
    header.biHeight = compression == BI_RGB ? -h : h;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biCompression = compression;

    std::vector<PaletteEntry> colours;
    if (bits <= 8) {
        if (palette) {
            for (int i = 0; i < palette->GetColors(); ++i)
                colours.push_back({(*palette)[i].red, (*palette)[i].green, (*palette)[i].blue});
        } else {
            colours = StandardPalette(bits);
        }
        colours.resize(std::min<size_t>(colours.size(), static_cast<size_t>(ColorsForBitCount(bits))));
        if (colours.empty())
            colours.push_back({0, 0, 0});
    }
    auto indexRow = [&](int y, std::vector<BYTE>& indices) {
        indices.resize(static_cast<size_t>(w));
        for (int x = 0; x < w; ++x)
            indices[x] = NearestEntry(colours, *bitmap.Sample(x, y, first), *bitmap.Sample(x, y, first + 1),
                                      *bitmap.Sample(x, y, first + 2));
    };

    std::vector<BYTE> encoded;
    if (compression != BI_RGB) {
        try {
            std::vector<BYTE> indices;
            for (int y = h - 1; y >= 0; --y) {
                indexRow(y, indices);
                EncodeRunRow(indices, compression == BI_RLE4, y == 0, encoded);
            }
        } catch (const std::bad_alloc&) {
            return {};
        }
        if (static_cast<int64_t>(encoded.size()) > kMaxBlock)
            return {};
        header.biSizeImage = static_cast<DWORD>(encoded.size());
    }

    std::vector<BYTE> block = AllocateDIB(header);
    if (block.empty())
        return {};
    BYTE* table = block.data() + kInfoHeaderSize;
    for (size_t i = 0; i < colours.size(); ++i) {
        table[4 * i + 0] = colours[i].b;
        table[4 * i + 1] = colours[i].g;
        table[4 * i + 2] = colours[i].r;
    }
    BYTE* pixels = const_cast<BYTE*>(FindDIBBits(block.data(), block.size()));
    if (!pixels)
        return {};
    if (compression != BI_RGB) {
        std::memcpy(pixels, encoded.data(), encoded.size());
        return block;
    }

    const int64_t rowBytes = DIBRowBytes(w, bits);
    std::vector<BYTE> indices;
    for (int y = 0; y < h; ++y) {
        BYTE* row = pixels + y * rowBytes;
        if (bits == 24) {
            for (int x = 0; x < w; ++x) {
                row[3 * x + 0] = *bitmap.Sample(x, y, first + 2);
                row[3 * x + 1] = *bitmap.Sample(x, y, first + 1);
                row[3 * x + 2] = *bitmap.Sample(x, y, first);
            }
            continue;
        }
        indexRow(y, indices);
        for (int x = 0; x < w; ++x) {
            const int bit = x * bits;
            const int shift = 8 - bits - bit % 8;
            row[bit / 8] = static_cast<BYTE>(row[bit / 8] | (indices[x] << shift));
        }
    }
    return block;
}
