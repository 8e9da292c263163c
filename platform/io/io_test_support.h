#pragma once

// What the picture loading tests share: a fresh folder per test, loading with its error, pixels as samples, and
// fixture files written straight on the libraries, so that the reader is not checked against itself.

#include <gif_lib.h>
#include <gtest/gtest.h>
// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <png.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "image/image.h"
#include "platform/io/io.h"
#include "platform/io/gif_io.h"
#include "platform/io/jpeg_io.h"
#include "platform/io/short_scan_test_support.h"
#include "platform/win/file.h"

namespace io_testing {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

// A fresh folder for the fixtures of one test, removed afterwards.
class PictureFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* base = getenv("PELORIN_TEST_OUTPUT");
        fs::path root = base ? fs::path(base) : fs::temp_directory_path();
        fs::create_directories(root);
        std::string pattern = (root / "io-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    std::string WriteBytes(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream out(Path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return Path(name);
    }

    static Bytes ReadBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    fs::path m_dir;
};

struct Loaded
{
    std::unique_ptr<CImage> image;
    IOError error = IO_OK;
};

inline Loaded Load(const std::string& path, unsigned flags = IO_LOAD_DEFAULT)
{
    Loaded result;
    result.error = IOError(-1);
    result.image.reset(CIO::LoadImageA(path, flags, &result.error));
    return result;
}

// The samples of one pixel, alpha first where there is one.
inline Bytes PixelAt(const CImage& image, int x, int y)
{
    int planes = ModePlanes(image.GetMode());
    const unsigned char* p = image.GetData() + size_t(image.GetStride()) * y + size_t(x) * planes;
    return Bytes(p, p + planes);
}

// An image of the mode whose pixel (x, y) has the samples fill(x, y).
template <class Fill> std::unique_ptr<CImage> MakeImage(IMAGE_MODE mode, int width, int height, Fill fill)
{
    auto image = std::make_unique<CImage>(mode, width, height, 96.0);
    CPixMap map(mode, width, height, true);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Bytes samples = fill(x, y);
            for (size_t p = 0; p < samples.size(); ++p)
                *map.Sample(x, y, int(p)) = samples[p];
        }
    image->SetBuf(0, 0, map);
    return image;
}

// ---- Fixture writers, straight on the libraries so that the reader is not checked against itself.

// Writes a PNG of the colour type; rows hold the samples in libpng's order (alpha last).
inline void WritePng(const std::string& path, int width, int height, int colorType, const Bytes& rows, bool interlace = false,
              const Bytes& palette = {}, const Bytes& paletteAlpha = {})
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, colorType, interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) {
        std::vector<png_color> entries;
        for (size_t i = 0; i + 2 < palette.size(); i += 3)
            entries.push_back({palette[i], palette[i + 1], palette[i + 2]});
        png_set_PLTE(png, info, entries.data(), int(entries.size()));
    }
    if (!paletteAlpha.empty())
        png_set_tRNS(png, info, paletteAlpha.data(), int(paletteAlpha.size()), nullptr);
    png_set_pHYs(png, info, 11811, 11811, PNG_RESOLUTION_METER); // 300 dpi
    png_write_info(png, info);
    size_t rowBytes = rows.size() / height;
    std::vector<png_bytep> pointers;
    for (int y = 0; y < height; ++y)
        pointers.push_back(const_cast<png_bytep>(rows.data() + rowBytes * y));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    fclose(file);
}

struct GifFrame
{
    int left, top, width, height;
    Bytes indices;
    int transparent = NO_TRANSPARENT_COLOR;
    bool interlace = false;
};

inline void WriteGif(const std::string& path, int width, int height, const Bytes& palette, const std::vector<GifFrame>& frames)
{
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    ASSERT_NE(gif, nullptr);
    ColorMapObject* map = GifMakeMapObject(int(palette.size() / 3), nullptr);
    for (int i = 0; i < map->ColorCount; ++i)
        map->Colors[i] = {palette[i * 3], palette[i * 3 + 1], palette[i * 3 + 2]};
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    for (const GifFrame& frame : frames) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = frame.transparent;
        GifByteType ext[4];
        size_t length = EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), ext);
        EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlace, nullptr);
        std::vector<int> order;
        if (frame.interlace) {
            const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = start[pass]; y < frame.height; y += step[pass])
                    order.push_back(y);
        } else {
            for (int y = 0; y < frame.height; ++y)
                order.push_back(y);
        }
        for (int y : order)
            EGifPutLine(gif, const_cast<GifPixelType*>(&frame.indices[size_t(y) * frame.width]), frame.width);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
}

inline void Put16(Bytes& b, unsigned v)
{
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
inline void Put32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back((v >> (8 * i)) & 0xFF);
}

// A BMP with a 40-byte header (or a 108-byte one when masks are given), rows as stored, already padded.
inline Bytes MakeBmp(int width, int height, int bits, const Bytes& storedRows, const Bytes& bgrxPalette = {},
              const std::vector<uint32_t>& masks = {})
{
    uint32_t infoSize = masks.empty() ? 40 : 108;
    uint32_t offset = 14 + infoSize + uint32_t(bgrxPalette.size());
    Bytes b = {'B', 'M'};
    Put32(b, offset + uint32_t(storedRows.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, infoSize);
    Put32(b, uint32_t(width));
    Put32(b, uint32_t(height));
    Put16(b, 1);
    Put16(b, unsigned(bits));
    Put32(b, masks.empty() ? 0 : 3);
    Put32(b, uint32_t(storedRows.size()));
    Put32(b, 3780); // 96 dpi
    Put32(b, 3780);
    Put32(b, uint32_t(bgrxPalette.size() / 4));
    Put32(b, 0);
    if (!masks.empty()) {
        for (uint32_t m : masks)
            Put32(b, m);
        b.resize(14 + infoSize, 0);
    }
    b.insert(b.end(), bgrxPalette.begin(), bgrxPalette.end());
    b.insert(b.end(), storedRows.begin(), storedRows.end());
    return b;
}

inline void PutBig32(Bytes& b, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        b.push_back((v >> (8 * i)) & 0xFF);
}

// A PNG that is nothing but its signature and a header chunk claiming the given size, 8-bit RGB.
inline Bytes PngHeaderOnly(uint32_t width, uint32_t height, bool interlaced = false)
{
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    Bytes chunk = {'I', 'H', 'D', 'R'};
    PutBig32(chunk, width);
    PutBig32(chunk, height);
    chunk.insert(chunk.end(), {8, 2, 0, 0, static_cast<unsigned char>(interlaced ? 1 : 0)});
    b.insert(b.end(), chunk.begin(), chunk.end());
    PutBig32(b, uint32_t(crc32(0, chunk.data(), uInt(chunk.size()))));
    return b;
}

inline std::unique_ptr<CPixMap> GradientMap(int width, int height)
{
    auto map = std::make_unique<CPixMap>(IMAGE_MODE_RGB, width, height, true);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            *map->Sample(x, y, 0) = static_cast<unsigned char>(x * 255 / (width - 1));
            *map->Sample(x, y, 1) = static_cast<unsigned char>(y * 255 / (height - 1));
            *map->Sample(x, y, 2) = 128;
        }
    return map;
}

inline void ExpectClose(const Bytes& actual, const Bytes& expected, int tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "sample " << i;
}

} // namespace io_testing
