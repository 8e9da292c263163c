#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "image/image.h"
#include "platform/io/decoders.h"
#include "platform/io/packed_dib.h"
#include "platform/win/little_endian.h"

namespace detail {

namespace {

// One colour channel of a packed pixel: where its bits lie and how to widen them to 8 bits.
struct Channel
{
    uint32_t mask = 0;
    int shift = 0;
    uint32_t maximum = 0;

    explicit Channel(uint32_t m = 0) : mask(m)
    {
        if (mask) {
            shift = std::countr_zero(mask);
            maximum = mask >> shift;
        }
    }
    unsigned char Get(uint32_t pixel, unsigned char absent) const
    {
        if (!maximum)
            return absent;
        return static_cast<unsigned char>((uint64_t((pixel & mask) >> shift) * 255 + maximum / 2) / maximum);
    }
};

// Rows are mostly read one after the other; a seek, even to where the file stands, drops stdio's buffer and
// would read each row again from the kernel.
bool ReadAt(FILE* file, int64_t offset, void* buffer, size_t count)
{
    if (ftello(file) != static_cast<off_t>(offset) && fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0)
        return false;
    return fread(buffer, 1, count, file) == count;
}

} // namespace

std::unique_ptr<CImage> LoadBmp(FILE* file, unsigned flags, IOError* error)
{
    *error = IO_INVALID_FILE;
    struct stat st;
    if (fstat(fileno(file), &st) != 0)
        return nullptr;
    const int64_t fileSize = st.st_size;

    // File header (14 bytes) and the size of the info header that follows it.
    unsigned char head[18];
    if (!ReadAt(file, 0, head, sizeof head))
        return nullptr;
    const int64_t pixelOffset = LoadLE32(head + 10);
    const uint32_t infoSize = LoadLE32(head + 14);

    if (infoSize != kCoreHeaderSize && !(infoSize >= kInfoHeaderSize && infoSize <= 1024))
        return nullptr;
    // The header up to the alpha mask, the last field read from the longer ones.
    unsigned char header[56] = {};
    if (!ReadAt(file, 14, header, std::min<size_t>(infoSize, sizeof header)))
        return nullptr;
    const BITMAPINFOHEADER info = DecodeDIBHeader(header, infoSize);
    int64_t width = info.biWidth, height = info.biHeight;
    const int bits = info.biBitCount;
    const uint32_t compression = info.biCompression, colorsUsed = info.biClrUsed;
    double dpi = 96.0;
    if ((flags & IO_LOAD_DPI) && info.biXPelsPerMeter > 0)
        dpi = info.biXPelsPerMeter * 0.0254;

    uint32_t masks[4] = {0, 0, 0, 0};
    bool haveMasks = false;
    // The Windows headers that carry the channel masks themselves; others of these sizes (OS/2) hold other fields.
    const bool maskedHeader = infoSize == 52 || infoSize == 56 || infoSize == 108 || infoSize == 124;
    if (maskedHeader) {
        for (int i = 0; i < (infoSize >= 56 ? 4 : 3); ++i)
            masks[i] = LoadLE32(header + kInfoHeaderSize + 4 * i);
        haveMasks = true;
    } else if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
        // The masks of a short header follow it.
        unsigned char extra[16];
        int count = compression == BI_ALPHABITFIELDS ? 4 : 3;
        if (!ReadAt(file, 14 + int64_t(infoSize), extra, size_t(count) * 4))
            return nullptr;
        for (int i = 0; i < count; ++i)
            masks[i] = LoadLE32(extra + 4 * i);
        haveMasks = true;
    }

    // A negative height stores the rows top down.
    bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (!SizeAcceptable(width, height))
        return nullptr;

    bool packed = bits == 16 || bits == 32;
    bool paletted = bits == 1 || bits == 4 || bits == 8;
    if (!packed && !paletted && bits != 24)
        return nullptr;
    if (compression != BI_RGB && !(packed && (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS)))
        return nullptr;

    Channel red, green, blue, alphaChannel;
    if (packed) {
        if (compression == BI_RGB) {
            // Without masks the channels have their fixed places; the fourth byte of a 32-bit pixel carries
            // alpha only where a long header names it.
            red = Channel(bits == 16 ? 0x7C00 : 0xFF0000);
            green = Channel(bits == 16 ? 0x03E0 : 0xFF00);
            blue = Channel(bits == 16 ? 0x001F : 0xFF);
            if (bits == 32 && maskedHeader && infoSize >= 56)
                alphaChannel = Channel(masks[3]);
        } else {
            if (!haveMasks)
                return nullptr;
            red = Channel(masks[0]);
            green = Channel(masks[1]);
            blue = Channel(masks[2]);
            alphaChannel = Channel(masks[3]);
        }
        if (bits == 16 && ((red.mask | green.mask | blue.mask | alphaChannel.mask) >> 16) != 0)
            return nullptr;
    }

    std::vector<unsigned char> palette; // red, green, blue per entry
    if (paletted) {
        int64_t count = colorsUsed ? colorsUsed : (int64_t(1) << bits);
        if (count > 256)
            return nullptr;
        int entrySize = infoSize == kCoreHeaderSize ? 3 : 4;
        std::vector<unsigned char> raw(size_t(count) * entrySize);
        if (!ReadAt(file, 14 + int64_t(infoSize), raw.data(), raw.size()))
            return nullptr;
        palette.resize(size_t(count) * 3);
        for (int64_t i = 0; i < count; ++i) {
            palette[size_t(i) * 3] = raw[size_t(i) * entrySize + 2];
            palette[size_t(i) * 3 + 1] = raw[size_t(i) * entrySize + 1];
            palette[size_t(i) * 3 + 2] = raw[size_t(i) * entrySize];
        }
    }

    const int64_t stride = DIBRowBytes(width, bits);
    if (pixelOffset < 14 + int64_t(infoSize) || pixelOffset + stride * height > fileSize)
        return nullptr;

    bool alpha = (flags & IO_LOAD_ALPHA) && alphaChannel.mask != 0;
    ImageRows rows;
    if (!rows.Start(alpha ? IMAGE_MODE_RGBA : IMAGE_MODE_RGB, int(width), int(height), dpi, error))
        return nullptr;
    // The rows are read a block of about the file's buffer at a time; a picture stored bottom up is read from the
    // end of the file, block by block, so that no byte is read twice.
    const int64_t blockRows = std::max<int64_t>(1, int64_t(kPictureFileBuffer) / stride);
    std::vector<unsigned char> block;
    int64_t blockFirst = 0, blockCount = 0;
    const size_t paletteCount = palette.size() / 3;
    for (int64_t y = 0; y < height; ++y) {
        const int64_t stored = topDown ? y : height - 1 - y;
        if (stored < blockFirst || stored >= blockFirst + blockCount) {
            blockCount = std::min(blockRows, topDown ? height - stored : stored + 1);
            blockFirst = topDown ? stored : stored - blockCount + 1;
            block.resize(static_cast<size_t>(blockCount * stride));
            if (!ReadAt(file, pixelOffset + blockFirst * stride, block.data(), block.size())) {
                *error = IO_INVALID_FILE;
                return nullptr;
            }
        }
        const unsigned char* line = block.data() + static_cast<size_t>((stored - blockFirst) * stride);
        unsigned char* out = rows.NextRow();
        for (int64_t x = 0; x < width; ++x) {
            unsigned char r, g, b, a = 255;
            if (paletted) {
                int64_t bit = x * bits;
                unsigned index = (line[size_t(bit / 8)] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index < paletteCount) {
                    r = palette[index * 3];
                    g = palette[index * 3 + 1];
                    b = palette[index * 3 + 2];
                } else {
                    r = g = b = 0;
                }
            } else if (bits == 24) {
                const unsigned char* p = &line[size_t(x) * 3];
                b = p[0];
                g = p[1];
                r = p[2];
            } else {
                uint32_t pixel = bits == 16 ? LoadLE16(&line[size_t(x) * 2]) : LoadLE32(&line[size_t(x) * 4]);
                r = red.Get(pixel, 0);
                g = green.Get(pixel, 0);
                b = blue.Get(pixel, 0);
                a = alphaChannel.Get(pixel, 255);
            }
            if (alpha)
                *out++ = a;
            *out++ = r;
            *out++ = g;
            *out++ = b;
        }
    }
    return rows.Finish(error);
}

} // namespace detail
