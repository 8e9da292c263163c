#include "platform/io/packed_dib.h"

#include <cstring>

#include <gtest/gtest.h>

#include "image/image.h"

namespace {

// A map whose pixel (x, y) shows the colour f(x, y).
template <class F> void Paint(CPixMap& map, F f)
{
    const int first = map.mode == IMAGE_MODE_RGBA ? 1 : 0;
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) {
            const COLORREF c = f(x, y);
            if (first)
                *map.Sample(x, y, 0) = 255;
            *map.Sample(x, y, first) = GetRValue(c);
            *map.Sample(x, y, first + 1) = GetGValue(c);
            *map.Sample(x, y, first + 2) = GetBValue(c);
        }
}

COLORREF TableColour(const std::vector<BYTE>& dib, int index)
{
    const BYTE* entry = dib.data() + 40 + 4 * index;
    return RGB(entry[2], entry[1], entry[0]);
}

// Expands run-length rows (runs, end of line, end of bitmap) into rows of indices, bottom row first.
std::vector<std::vector<BYTE>> DecodeRuns(const BYTE* p, const BYTE* end, bool fourBits)
{
    std::vector<std::vector<BYTE>> rows(1);
    while (p + 1 < end) {
        const BYTE count = p[0], value = p[1];
        p += 2;
        if (count == 0 && value == 1)
            return rows;
        if (count == 0 && value == 0) {
            rows.emplace_back();
            continue;
        }
        EXPECT_NE(count, 0) << "only runs are written";
        for (int i = 0; i < count; ++i)
            rows.back().push_back(fourBits ? (i % 2 ? value & 0x0F : value >> 4) : value);
    }
    ADD_FAILURE() << "no end of bitmap";
    return rows;
}

} // namespace

TEST(PackedDib, TwentyFourBitsBecomeTopDownRowsPaddedToFourBytes)
{
    CPixMap map(IMAGE_MODE_RGBA, 3, 2);
    Paint(map, [](int x, int y) { return RGB(10 * x, 100 + y, 200 + x + y); });
    const std::vector<BYTE> dib = BitmapToDIB(map, 24, BI_RGB);
    ASSERT_EQ(dib.size(), 40u + 2 * 12);

    BITMAPINFOHEADER h;
    ASSERT_TRUE(ReadDIBHeader(dib.data(), dib.size(), h));
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 3);
    EXPECT_EQ(h.biHeight, -2);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression, BI_RGB);
    EXPECT_EQ(h.biSizeImage, 24u);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(DIBNumColors(dib.data(), dib.size()), 0);
    const BYTE* bits = FindDIBBits(dib.data(), dib.size());
    ASSERT_EQ(bits, dib.data() + 40);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const BYTE* p = bits + 12 * y + 3 * x;
            EXPECT_EQ(RGB(p[2], p[1], p[0]), RGB(10 * x, 100 + y, 200 + x + y)) << x << "," << y;
        }
}

TEST(PackedDib, PaletteDepthsRoundTripThroughTheirColourTable)
{
    CLut palette;
    palette[0] = LutColor{0, 0, 0};
    palette[1] = LutColor{255, 0, 0};
    palette[2] = LutColor{0, 0, 255};
    palette[3] = LutColor{250, 250, 250};
    auto colourAt = [](int x, int y) {
        const COLORREF colours[] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(250, 250, 250)};
        return colours[(x / 3 + y) % 4];
    };
    struct Case
    {
        int bits;
        DWORD compression;
        bool withPalette;
        int tableEntries;
    };
    const Case cases[] = {{8, BI_RGB, true, 256},  {4, BI_RGB, true, 16},  {8, BI_RLE8, true, 256},
                          {0, BI_RLE8, true, 256}, {4, BI_RLE4, true, 16}, {0, BI_RLE4, true, 16},
                          {1, BI_RGB, false, 2},   {4, BI_RGB, false, 16}, {8, BI_RGB, false, 256}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << "/" << c.compression << "/" << c.withPalette);
        const int w = 13, h = 5;
        CPixMap map(IMAGE_MODE_RGB, w, h);
        Paint(map, colourAt);
        const std::vector<BYTE> dib = BitmapToDIB(map, c.bits, c.compression, c.withPalette ? &palette : nullptr);
        ASSERT_FALSE(dib.empty());
        BITMAPINFOHEADER hd;
        ASSERT_TRUE(ReadDIBHeader(dib.data(), dib.size(), hd));
        const int bits = hd.biBitCount;
        EXPECT_EQ(bits, c.bits ? c.bits : (c.compression == BI_RLE8 ? 8 : 4));
        EXPECT_EQ(DIBNumColors(dib.data(), dib.size()), c.tableEntries);
        const BYTE* pixels = FindDIBBits(dib.data(), dib.size());
        ASSERT_EQ(pixels, dib.data() + 40 + 4 * c.tableEntries);
        EXPECT_EQ(dib.size(), 40u + 4 * c.tableEntries + hd.biSizeImage);

        // Rows of indices from the top.
        std::vector<std::vector<BYTE>> rows;
        if (c.compression == BI_RGB) {
            EXPECT_EQ(hd.biHeight, -h);
            const int rowBytes = (bits * w + 31) / 32 * 4;
            EXPECT_EQ(hd.biSizeImage, static_cast<DWORD>(rowBytes * h));
            for (int y = 0; y < h; ++y) {
                rows.emplace_back();
                for (int x = 0; x < w; ++x) {
                    const int bit = x * bits;
                    rows.back().push_back((pixels[y * rowBytes + bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1));
                }
            }
        } else {
            // Run-length rows are stored from the bottom up.
            EXPECT_EQ(hd.biHeight, h);
            rows = DecodeRuns(pixels, dib.data() + dib.size(), bits == 4);
            std::reverse(rows.begin(), rows.end());
        }
        ASSERT_EQ(rows.size(), static_cast<size_t>(h));
        for (int y = 0; y < h; ++y) {
            ASSERT_EQ(rows[y].size(), static_cast<size_t>(w));
            for (int x = 0; x < w; ++x) {
                COLORREF expected = colourAt(x, y);
                if (c.bits == 1)
                    expected = GetRValue(expected) + GetGValue(expected) + GetBValue(expected) > 384
                                   ? RGB(255, 255, 255)
                                   : RGB(0, 0, 0);
                else if (!c.withPalette && expected == RGB(250, 250, 250))
                    expected = RGB(255, 255, 255);
                ASSERT_EQ(TableColour(dib, rows[y][x]), expected) << x << "," << y;
            }
        }
    }
}

TEST(PackedDib, RefusesOtherDepthsAndCompressions)
{
    CPixMap map(IMAGE_MODE_RGB, 4, 4);
    Paint(map, [](int, int) { return RGB(1, 2, 3); });
    const std::pair<int, DWORD> refused[] = {{8, BI_RLE4}, {4, BI_RLE8}, {24, BI_RLE8}, {1, BI_RLE8},
                                             {16, BI_RGB}, {32, BI_RGB}, {0, BI_RGB},   {8, 3}};
    for (auto [bits, compression] : refused)
        EXPECT_TRUE(BitmapToDIB(map, bits, compression).empty()) << bits << "/" << compression;

    CPixMap grey(IMAGE_MODE_GREY, 4, 4);
    EXPECT_TRUE(BitmapToDIB(grey, 24, BI_RGB).empty());
    CPixMap none(IMAGE_MODE_RGB, 0, 4);
    EXPECT_TRUE(BitmapToDIB(none, 24, BI_RGB).empty());
}

TEST(PackedDib, HeaderHelpersCheckTheBlock)
{
    BITMAPINFOHEADER h;
    h.biWidth = 5;
    h.biHeight = -3;
    h.biBitCount = 8;
    std::vector<BYTE> dib = AllocateDIB(h);
    // 256 colours, rows of 8 bytes.
    ASSERT_EQ(dib.size(), 40u + 1024 + 24);
    BITMAPINFOHEADER read;
    ASSERT_TRUE(ReadDIBHeader(dib.data(), dib.size(), read));
    EXPECT_EQ(read.biSizeImage, 24u);
    EXPECT_EQ(DIBPaletteSize(dib.data(), dib.size()), 1024);

    // biClrUsed wins over the bit count.
    h.biClrUsed = 3;
    dib = AllocateDIB(h);
    EXPECT_EQ(DIBNumColors(dib.data(), dib.size()), 3);
    EXPECT_EQ(FindDIBBits(dib.data(), dib.size()), dib.data() + 52);

    // A colour table that runs past the block, or a block too short for its header, gives nothing.
    EXPECT_EQ(FindDIBBits(dib.data(), 51), nullptr);
    EXPECT_EQ(DIBNumColors(dib.data(), 39), -1);
    EXPECT_EQ(FindDIBBits(dib.data(), 39), nullptr);
    EXPECT_EQ(FindDIBBits(nullptr, 0), nullptr);
    BYTE odd[40] = {41};
    EXPECT_EQ(DIBNumColors(odd, sizeof odd), -1);

    // A core header: the count from its bit count, three bytes an entry.
    BYTE core[12 + 6] = {12, 0, 0, 0, 2, 0, 2, 0, 1, 0, 1, 0};
    EXPECT_EQ(DIBNumColors(core, sizeof core), 2);
    EXPECT_EQ(DIBPaletteSize(core, sizeof core), 6);
    EXPECT_EQ(FindDIBBits(core, sizeof core), core + 18);

    // Sizes beyond what the header's fields can hold are refused.
    BITMAPINFOHEADER huge;
    huge.biWidth = 0x7FFFFFFF;
    huge.biHeight = -0x7FFFFFFF;
    huge.biBitCount = 24;
    EXPECT_TRUE(AllocateDIB(huge).empty());
}
