#include "image/kernels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

using namespace detail;

namespace {

using CopyKernel = void (*)(uint8_t*, int, int, const uint8_t*, int, int, int, int);

// Little-endian sample access by hand, independent of the kernels' own memcpy path.
uint64_t ReadLe(const uint8_t* p, int bytes)
{
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<uint64_t>(p[i]) << (8 * i);
    return v;
}

void WriteLe(uint8_t* p, int bytes, uint64_t v)
{
    for (int i = 0; i < bytes; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

struct CopyCase
{
    const char* name;
    CopyKernel kernel;
    int srcBytes;
    int dstBytes;
};

uint64_t ConvertSample(const CopyCase& k, uint64_t v)
{
    if (k.srcBytes == 1 && k.dstBytes == 2)
        return v * 257;
    if (k.srcBytes == 2 && k.dstBytes == 1)
        return v >> 8;
    return v;
}

std::vector<uint8_t> Pattern(size_t n, unsigned seed)
{
    std::vector<uint8_t> v(n);
    uint32_t x = seed * 2654435761u + 1;
    for (auto& b : v) {
        x = x * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(x >> 24);
    }
    return v;
}

struct Steps
{
    int dstPixelStep;
    int srcPixelStep;
};

// Both packed (the word-wise path), and the strided paths on either side.
const Steps kSteps[] = {{1, 1}, {2, 1}, {1, 3}, {4, 2}};
// Rows whose byte length leaves 0 to 3 bytes after the last whole word, for every sample size.
const int kSamplesPerRow[] = {0, 1, 2, 3, 4, 5, 6, 7, 13};
const int kRows[] = {0, 1, 3};

} // namespace

TEST(Kernels, CopiesMatchReferenceLoop)
{
    const CopyCase kernels[] = {
        {"Copy8To8", Copy8To8, 1, 1},     {"Copy8To16", Copy8To16, 1, 2},   {"Copy16To8", Copy16To8, 2, 1},
        {"Copy16To16", Copy16To16, 2, 2}, {"Copy32To32", Copy32To32, 4, 4}, {"Copy64To64", Copy64To64, 8, 8},
    };
    unsigned seed = 0;
    for (const CopyCase& k : kernels)
        for (const Steps& st : kSteps)
            for (int n : kSamplesPerRow)
                for (int rows : kRows) {
                    SCOPED_TRACE(testing::Message() << k.name << " steps " << st.dstPixelStep << "/" << st.srcPixelStep
                                                    << " n " << n << " rows " << rows);
                    // Row steps with a few bytes of slack that must stay untouched; buffers start off alignment.
                    const int srcRow = n * st.srcPixelStep * k.srcBytes + 3;
                    const int dstRow = n * st.dstPixelStep * k.dstBytes + 5;
                    const int rowsAlloc = rows == 0 ? 1 : rows;
                    std::vector<uint8_t> src = Pattern(1 + srcRow * rowsAlloc, ++seed);
                    std::vector<uint8_t> dst = Pattern(3 + dstRow * rowsAlloc, ++seed);
                    std::vector<uint8_t> expected = dst;
                    for (int y = 0; y < rows; ++y)
                        for (int x = 0; x < n; ++x) {
                            const uint64_t v =
                                ReadLe(&src[1 + y * srcRow + x * st.srcPixelStep * k.srcBytes], k.srcBytes);
                            WriteLe(&expected[3 + y * dstRow + x * st.dstPixelStep * k.dstBytes], k.dstBytes,
                                    ConvertSample(k, v));
                        }
                    k.kernel(dst.data() + 3, st.dstPixelStep, dstRow, src.data() + 1, st.srcPixelStep, srcRow, n, rows);
                    ASSERT_EQ(dst, expected);
                }
}

TEST(Kernels, WideningAndNarrowingKeepTheHighByte)
{
    const uint8_t bytes[] = {0x00, 0x01, 0x80, 0xFF};
    uint16_t wide[4] = {};
    Copy8To16(reinterpret_cast<uint8_t*>(wide), 1, 8, bytes, 1, 4, 4, 1);
    EXPECT_EQ(wide[0], 0x0000);
    EXPECT_EQ(wide[1], 0x0101);
    EXPECT_EQ(wide[2], 0x8080);
    EXPECT_EQ(wide[3], 0xFFFF);

    const uint16_t samples[] = {0x12FF, 0xAB00, 0x00FF, 0xFFFF};
    uint8_t narrow[4] = {};
    Copy16To8(narrow, 1, 4, reinterpret_cast<const uint8_t*>(samples), 1, 8, 4, 1);
    EXPECT_EQ(narrow[0], 0x12);
    EXPECT_EQ(narrow[1], 0xAB);
    EXPECT_EQ(narrow[2], 0x00);
    EXPECT_EQ(narrow[3], 0xFF);
}

TEST(Kernels, FillsMatchReferenceLoop)
{
    struct FillCase
    {
        const char* name;
        int bytes;
        uint64_t value;
    };
    const FillCase fills[] = {
        {"Fill8", 1, 0xA5}, {"Fill16", 2, 0xBEEF}, {"Fill32", 4, 0x01234567}, {"Fill64", 8, 0x0123456789ABCDEFull}};
    unsigned seed = 100;
    for (const FillCase& f : fills)
        for (int step : {1, 2, 3})
            for (int n : kSamplesPerRow)
                for (int rows : kRows) {
                    SCOPED_TRACE(testing::Message() << f.name << " step " << step << " n " << n << " rows " << rows);
                    const int rowStep = n * step * f.bytes + 3;
                    std::vector<uint8_t> dst = Pattern(1 + rowStep * (rows == 0 ? 1 : rows), ++seed);
                    std::vector<uint8_t> expected = dst;
                    for (int y = 0; y < rows; ++y)
                        for (int x = 0; x < n; ++x)
                            WriteLe(&expected[1 + y * rowStep + x * step * f.bytes], f.bytes, f.value);
                    uint8_t* d = dst.data() + 1;
                    switch (f.bytes) {
                    case 1:
                        Fill8(d, step, rowStep, static_cast<uint8_t>(f.value), n, rows);
                        break;
                    case 2:
                        Fill16(d, step, rowStep, static_cast<uint16_t>(f.value), n, rows);
                        break;
                    case 4:
                        Fill32(d, step, rowStep, static_cast<uint32_t>(f.value), n, rows);
                        break;
                    default:
                        Fill64(d, step, rowStep, f.value, n, rows);
                        break;
                    }
                    ASSERT_EQ(dst, expected);
                }
}

TEST(Kernels, PixelFillsMatchReferenceLoop)
{
    const uint8_t values[4] = {0x11, 0x22, 0x33, 0x44};
    unsigned seed = 300;
    for (int samples = 1; samples <= 4; ++samples)
        for (int step = samples; step <= samples + 2; ++step)
            for (int n : kSamplesPerRow)
                for (int rows : kRows) {
                    SCOPED_TRACE(testing::Message()
                                 << samples << " samples, step " << step << " n " << n << " rows " << rows);
                    const int rowStep = n * step + 3;
                    std::vector<uint8_t> dst = Pattern(1 + rowStep * (rows == 0 ? 1 : rows), ++seed);
                    std::vector<uint8_t> expected = dst;
                    for (int y = 0; y < rows; ++y)
                        for (int x = 0; x < n; ++x)
                            for (int s = 0; s < samples; ++s)
                                expected[1 + y * rowStep + x * step + s] = values[s];
                    FillPixels8(dst.data() + 1, step, rowStep, values, samples, n, rows);
                    ASSERT_EQ(dst, expected);
                }
}

TEST(Kernels, CopyBytesCopiesExactlyN)
{
    for (size_t n = 0; n <= 9; ++n) {
        std::vector<uint8_t> src = Pattern(12, static_cast<unsigned>(n));
        std::vector<uint8_t> dst = Pattern(12, static_cast<unsigned>(n + 50));
        std::vector<uint8_t> expected = dst;
        for (size_t i = 0; i < n; ++i)
            expected[1 + i] = src[3 + i];
        CopyBytes(dst.data() + 1, src.data() + 3, n);
        ASSERT_EQ(dst, expected) << "n " << n;
    }
}

TEST(Kernels, ZeroCountsNeedNoBuffer)
{
    // Callers with an empty rectangle may hand over null pointers.
    CopyBytes(nullptr, nullptr, 0);
    Copy8To8(nullptr, 1, 0, nullptr, 1, 0, 0, 5);
    Copy32To32(nullptr, 1, 0, nullptr, 1, 0, 5, 0);
    Copy8To16(nullptr, 2, 0, nullptr, 1, 0, 0, 0);
    Fill8(nullptr, 1, 0, 7, 0, 3);
    Fill64(nullptr, 1, 0, 7, 3, 0);

    // With real buffers, a count of 0 (or less) in either direction writes nothing.
    std::vector<uint8_t> dst(64, 0xA5);
    const std::vector<uint8_t> src = Pattern(64, 9);
    const std::vector<uint8_t> before = dst;
    CopyBytes(dst.data(), src.data(), 0);
    for (auto [samples, rows] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-1, 2}, std::pair{2, -1}}) {
        Copy8To8(dst.data(), 1, 8, src.data(), 1, 8, samples, rows);
        Copy8To16(dst.data(), 2, 16, src.data(), 1, 8, samples, rows);
        Copy32To32(dst.data(), 1, 16, src.data(), 1, 16, samples, rows);
        Fill8(dst.data(), 1, 8, 7, samples, rows);
        Fill64(dst.data(), 1, 16, 7, samples, rows);
    }
    EXPECT_EQ(dst, before);
}

// Each build against the obvious loop, for rows of every length up to a few vector widths, in buffers of
// exactly the row's size (so that AddressSanitizer sees a read or write past either end).
TEST(Kernels, RgbToOpaqueRgbaMatchesReferenceLoopInEveryBuild)
{
    for (const ProcessorBuild<RgbToOpaqueRgbaRow>& build : RgbToOpaqueRgbaBuilds()) {
        for (int pixels = 0; pixels <= 41; ++pixels) {
            const std::vector<uint8_t> src = Pattern(static_cast<size_t>(pixels) * 3, pixels + 1);
            std::vector<uint8_t> dst(static_cast<size_t>(pixels) * 4, 7), expected(dst.size());
            for (int i = 0; i < pixels; ++i) {
                expected[i * 4] = 255;
                for (int c = 0; c < 3; ++c)
                    expected[i * 4 + 1 + c] = src[i * 3 + c];
            }
            build.routine(dst.data(), src.data(), pixels);
            ASSERT_EQ(dst, expected) << build.name << ", " << pixels << " pixels";
        }
    }
}
