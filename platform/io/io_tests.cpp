#include "platform/io/io.h"

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
#include "platform/io/gif_io.h"
#include "platform/io/jpeg_io.h"
#include "platform/io/short_scan_test_support.h"
#include "platform/win/file.h"

namespace {

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

Loaded Load(const std::string& path, unsigned flags = IO_LOAD_DEFAULT)
{
    Loaded result;
    result.error = IOError(-1);
    result.image.reset(CIO::LoadImageA(path, flags, &result.error));
    return result;
}

// The samples of one pixel, alpha first where there is one.
Bytes PixelAt(const CImage& image, int x, int y)
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
void WritePng(const std::string& path, int width, int height, int colorType, const Bytes& rows, bool interlace = false,
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

void WriteGif(const std::string& path, int width, int height, const Bytes& palette, const std::vector<GifFrame>& frames)
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

void Put16(Bytes& b, unsigned v)
{
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back((v >> (8 * i)) & 0xFF);
}

// A BMP with a 40-byte header (or a 108-byte one when masks are given), rows as stored, already padded.
Bytes MakeBmp(int width, int height, int bits, const Bytes& storedRows, const Bytes& bgrxPalette = {},
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

void PutBig32(Bytes& b, uint32_t v)
{
    for (int i = 3; i >= 0; --i)
        b.push_back((v >> (8 * i)) & 0xFF);
}

// A PNG that is nothing but its signature and a header chunk claiming the given size, 8-bit RGB.
Bytes PngHeaderOnly(uint32_t width, uint32_t height, bool interlaced = false)
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

std::unique_ptr<CPixMap> GradientMap(int width, int height)
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

void ExpectClose(const Bytes& actual, const Bytes& expected, int tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "sample " << i;
}

// ---- Loading

TEST_F(PictureFolder, PngWithAlphaRoundTripsThroughSavePng)
{
    auto image = MakeImage(IMAGE_MODE_RGBA, 5, 3, [](int x, int y) {
        return Bytes{static_cast<unsigned char>(x * 60), static_cast<unsigned char>(10 + x), 20,
                     static_cast<unsigned char>(y * 100)};
    });
    ASSERT_TRUE(CIO::SavePNG(Path("alpha.png"), *image));
    Loaded loaded = Load(Path("alpha.png"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.error, IO_OK);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGBA);
    EXPECT_EQ(loaded.image->Width(), 5);
    EXPECT_EQ(loaded.image->Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(PixelAt(*loaded.image, x, y), PixelAt(*image, x, y)) << x << "," << y;
}

TEST_F(PictureFolder, PalettePngTransparentEntryBecomesAlpha)
{
    // 2 x 2, entries red (opaque), green (transparent), blue.
    WritePng(Path("pal.png"), 2, 2, PNG_COLOR_TYPE_PALETTE, {0, 1, 2, 0}, false, {255, 0, 0, 0, 255, 0, 0, 0, 255},
             {255, 0});
    Loaded loaded = Load(Path("pal.png"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGBA);
    EXPECT_EQ(PixelAt(*loaded.image, 0, 0), (Bytes{255, 255, 0, 0}));
    EXPECT_EQ(PixelAt(*loaded.image, 1, 0), (Bytes{0, 0, 255, 0}));
    EXPECT_EQ(PixelAt(*loaded.image, 0, 1), (Bytes{255, 0, 0, 255}));

    // Without the alpha bit the picture is opaque and keeps its stored colours.
    Loaded opaque = Load(Path("pal.png"), IO_LOAD_RGB);
    ASSERT_TRUE(opaque.image);
    EXPECT_EQ(opaque.image->GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(PixelAt(*opaque.image, 1, 0), (Bytes{0, 255, 0}));
}

TEST_F(PictureFolder, LoadFlagsChooseModeAndResolution)
{
    WritePng(Path("grey.png"), 3, 1, PNG_COLOR_TYPE_GRAY, {0, 100, 255});
    struct Case
    {
        unsigned flags;
        IMAGE_MODE mode;
        Bytes middle;
        double dpi;
    } cases[] = {
        {IO_LOAD_DEFAULT, IMAGE_MODE_RGB, {100, 100, 100}, 300.0},
        {IO_LOAD_RGB | IO_LOAD_ALPHA, IMAGE_MODE_RGB, {100, 100, 100}, 96.0},
        {IO_LOAD_ALPHA | IO_LOAD_DPI, IMAGE_MODE_GREY, {100}, 300.0},
    };
    for (const Case& c : cases) {
        Loaded loaded = Load(Path("grey.png"), c.flags);
        ASSERT_TRUE(loaded.image) << c.flags;
        EXPECT_EQ(loaded.image->GetMode(), c.mode) << c.flags;
        EXPECT_EQ(PixelAt(*loaded.image, 1, 0), c.middle) << c.flags;
        EXPECT_NEAR(loaded.image->GetDpi(), c.dpi, 0.1) << c.flags;
    }
}

TEST_F(PictureFolder, InterlacedPngLoadsEveryRow)
{
    const int w = 9, h = 11;
    Bytes rows;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows.insert(rows.end(), {static_cast<unsigned char>(x * 20), static_cast<unsigned char>(y * 20), 7});
    WritePng(Path("interlaced.png"), w, h, PNG_COLOR_TYPE_RGB, rows, true);
    Loaded loaded = Load(Path("interlaced.png"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(PixelAt(*loaded.image, x, y),
                      (Bytes{rows.begin() + (y * w + x) * 3, rows.begin() + (y * w + x) * 3 + 3}));
}

TEST_F(PictureFolder, JpegLoadsAsRgbCloseToItsSource)
{
    // Taller than one band of rows, so that bands meet inside the picture.
    auto map = GradientMap(70, 150);
    CMemFile mem;
    IOError error = IOError(-1);
    ASSERT_TRUE(CJpegIO::Save(mem, *map, 90, &error, ""));
    EXPECT_EQ(error, IO_OK);
    Bytes bytes(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength());
    Loaded loaded = Load(WriteBytes("photo.dat", bytes)); // found by content, not by name
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(loaded.image->Width(), 70);
    EXPECT_EQ(loaded.image->Height(), 150);
    for (auto [x, y] : {std::pair{0, 0}, {69, 0}, {35, 64}, {10, 149}, {69, 149}})
        ExpectClose(PixelAt(*loaded.image, x, y), {*map->Sample(x, y, 0), *map->Sample(x, y, 1), 128}, 8);
}

// The first band's rows are copied into the picture, the later ones decoded into it in place, several at a time:
// every pixel must be the library's own, for a width whose rows are padded and for one whose rows are not.
TEST_F(PictureFolder, JpegPixelsAreTheLibrarysAcrossBandsAndPaddedRows)
{
    for (const auto [width, height, quality] : {std::tuple{70, 301, 75}, {64, 200, 100}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        CMemFile mem;
        ASSERT_TRUE(CJpegIO::Save(mem, *GradientMap(width, height), quality, nullptr, ""));
        Bytes bytes(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength());
        Loaded loaded = Load(WriteBytes("bands.jpg", bytes));
        ASSERT_TRUE(loaded.image);

        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        Bytes row(static_cast<size_t>(width) * 3);
        int differing = 0;
        while (info.output_scanline < info.output_height) {
            const int y = static_cast<int>(info.output_scanline);
            JSAMPROW target = row.data();
            jpeg_read_scanlines(&info, &target, 1);
            for (int x = 0; x < width; ++x)
                differing += PixelAt(*loaded.image, x, y) != Bytes(row.begin() + x * 3, row.begin() + x * 3 + 3);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(PictureFolder, GifFirstFrameWithTransparency)
{
    // Screen 4 x 3; the first frame covers it, index 1 transparent; a second frame must not show.
    Bytes palette = {10, 20, 30, 200, 0, 0, 0, 0, 200, 255, 255, 255};
    Bytes first = {0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 0, 0};
    WriteGif(Path("anim.gif"), 4, 3, palette, {{0, 0, 4, 3, first, 1}, {0, 0, 4, 3, Bytes(12, 3)}});
    Loaded loaded = Load(Path("anim.gif"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGBA);
    EXPECT_EQ(loaded.image->Width(), 4);
    EXPECT_EQ(loaded.image->Height(), 3);
    EXPECT_EQ(PixelAt(*loaded.image, 0, 0), (Bytes{255, 10, 20, 30}));
    EXPECT_EQ(PixelAt(*loaded.image, 1, 0)[0], 0);
    EXPECT_EQ(PixelAt(*loaded.image, 2, 0), (Bytes{255, 0, 0, 200}));
    EXPECT_EQ(PixelAt(*loaded.image, 0, 1), (Bytes{255, 255, 255, 255}));

    EXPECT_TRUE(CGifIO::IsAnimated(Path("anim.gif")));
}

TEST_F(PictureFolder, GifSingleFrameInterlacedAndOffset)
{
    // An opaque interlaced frame of 3 x 10 at (1, 0) on a 4 x 10 screen: column 0 lies outside the frame.
    Bytes palette = {0, 0, 0, 255, 255, 255};
    Bytes indices;
    for (int y = 0; y < 10; ++y)
        indices.insert(indices.end(), 3, static_cast<unsigned char>(y % 2));
    GifFrame frame{1, 0, 3, 10, indices};
    frame.interlace = true;
    WriteGif(Path("still.gif"), 4, 10, palette, {frame});
    Loaded loaded = Load(Path("still.gif"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGBA);
    for (int y = 0; y < 10; ++y) {
        unsigned char v = y % 2 ? 255 : 0;
        EXPECT_EQ(PixelAt(*loaded.image, 2, y), (Bytes{255, v, v, v})) << y;
        EXPECT_EQ(PixelAt(*loaded.image, 0, y)[0], 0) << y;
    }
    EXPECT_FALSE(CGifIO::IsAnimated(Path("still.gif")));
}

TEST_F(PictureFolder, BmpVariants)
{
    // 3 x 2, 24 bits, bottom-up: the first stored row is the picture's bottom row. Rows padded to 12 bytes.
    Bytes rgb24 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
    Loaded a = Load(WriteBytes("a.bmp", MakeBmp(3, 2, 24, rgb24)));
    ASSERT_TRUE(a.image);
    EXPECT_EQ(a.image->GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(PixelAt(*a.image, 0, 1), (Bytes{3, 2, 1}));
    EXPECT_EQ(PixelAt(*a.image, 2, 0), (Bytes{18, 17, 16}));

    // 8 bits with a palette, top-down (negative height).
    Bytes palette = {0, 0, 255, 0, 0, 255, 0, 0};
    Loaded b = Load(WriteBytes("b.bmp", MakeBmp(2, -2, 8, {0, 1, 0, 0, 1, 1, 0, 0}, palette)));
    ASSERT_TRUE(b.image);
    EXPECT_EQ(b.image->Width(), 2);
    EXPECT_EQ(b.image->Height(), 2);
    EXPECT_EQ(PixelAt(*b.image, 0, 0), (Bytes{255, 0, 0}));
    EXPECT_EQ(PixelAt(*b.image, 1, 0), (Bytes{0, 255, 0}));
    EXPECT_EQ(PixelAt(*b.image, 0, 1), (Bytes{0, 255, 0}));

    // 32 bits with an alpha mask: one pixel, blue 1, green 2, red 3, alpha 128.
    Loaded c = Load(
        WriteBytes("c.bmp", MakeBmp(1, 1, 32, {1, 2, 3, 128}, {}, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000})));
    ASSERT_TRUE(c.image);
    EXPECT_EQ(c.image->GetMode(), IMAGE_MODE_RGBA);
    EXPECT_EQ(PixelAt(*c.image, 0, 0), (Bytes{128, 3, 2, 1}));

    // A 12-byte core header: 16-bit sizes, three bytes a palette entry. 3 x 2 at 1 bit, rows padded to 4 bytes.
    Bytes core = {'B', 'M'};
    Put32(core, 14 + 12 + 6 + 8);
    Put32(core, 0);
    Put32(core, 14 + 12 + 6);
    Put32(core, 12);
    for (unsigned field : {3, 2, 1, 1}) // width, height, planes, bit count
        Put16(core, field);
    core.insert(core.end(), {0, 0, 255, 255, 0, 0});         // red, blue
    core.insert(core.end(), {0xA0, 0, 0, 0, 0x40, 0, 0, 0}); // bottom row 1 0 1, top row 0 1 0
    Loaded d = Load(WriteBytes("d.bmp", core));
    ASSERT_TRUE(d.image);
    EXPECT_EQ(d.image->Width(), 3);
    EXPECT_EQ(d.image->Height(), 2);
    EXPECT_EQ(PixelAt(*d.image, 0, 0), (Bytes{255, 0, 0}));
    EXPECT_EQ(PixelAt(*d.image, 1, 0), (Bytes{0, 0, 255}));
    EXPECT_EQ(PixelAt(*d.image, 0, 1), (Bytes{0, 0, 255}));
    EXPECT_EQ(PixelAt(*d.image, 2, 1), (Bytes{0, 0, 255}));
    EXPECT_EQ(PixelAt(*d.image, 1, 1), (Bytes{255, 0, 0}));
}

// ---- Failures

TEST_F(PictureFolder, MissingFileAndMissingFolder)
{
    EXPECT_EQ(Load(Path("none.png")).error, IO_FILE_NOT_FOUND);
    EXPECT_EQ(Load(Path("nofolder/none.png")).error, IO_FOLDER_NOT_FOUND);
    WriteBytes("plain", {1});
    EXPECT_EQ(Load(Path("plain/none.png")).error, IO_FOLDER_NOT_FOUND);
    EXPECT_EQ(Load("").error, IO_FILE_NOT_FOUND);
    EXPECT_EQ(Load(m_dir.string()).error, IO_INVALID_FILE);
}

TEST_F(PictureFolder, DamagedOrOversizedPicturesAreInvalid)
{
    auto image = MakeImage(IMAGE_MODE_RGB, 40, 40, [](int x, int y) {
        return Bytes{static_cast<unsigned char>(x), static_cast<unsigned char>(y), 0};
    });
    ASSERT_TRUE(CIO::SavePNG(Path("good.png"), *image));
    Bytes png = ReadBytes(Path("good.png"));
    CMemFile mem;
    ASSERT_TRUE(CJpegIO::Save(mem, *GradientMap(40, 40), 75, nullptr, ""));
    Bytes jpeg(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength());
    Bytes palette = {0, 0, 0, 255, 255, 255};
    WriteGif(Path("good.gif"), 40, 40, palette, {{0, 0, 40, 40, Bytes(1600, 1)}});
    Bytes gif = ReadBytes(Path("good.gif"));
    Bytes bmp = MakeBmp(4, 4, 24, Bytes(48, 9));

    auto half = [](const Bytes& b) { return Bytes(b.begin(), b.begin() + b.size() / 2); };
    Bytes hugeBmp = MakeBmp(30001, 1, 24, {});
    Bytes hugeGif = gif;
    hugeGif[6] = hugeGif[7] = hugeGif[8] = hugeGif[9] = 0x4E; // screen 20046 x 20046

    struct Case
    {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"garbage", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}},
        {"half png", half(png)},
        {"half jpeg", half(jpeg)},
        {"half gif", half(gif)},
        {"half bmp", half(bmp)},
        {"png signature only", Bytes(png.begin(), png.begin() + 8)},
        {"png 40000 wide", PngHeaderOnly(40000, 1)},
        {"png 20000 x 20000", PngHeaderOnly(20000, 20000)},
        {"bmp 30001 wide", hugeBmp},
        {"gif screen 20046 square", hugeGif},
        {"bmp compressed",
         [&] {
             Bytes b = bmp;
             b[30] = 1;
             return b;
         }()},
    };
    for (const Case& c : cases) {
        Loaded loaded = Load(WriteBytes("bad", c.bytes));
        EXPECT_FALSE(loaded.image) << c.name;
        EXPECT_EQ(loaded.error, IO_INVALID_FILE) << c.name;
    }
}

TEST_F(PictureFolder, IsAnimatedIsFalseForOtherFiles)
{
    EXPECT_FALSE(CGifIO::IsAnimated(Path("none.gif")));
    EXPECT_FALSE(CGifIO::IsAnimated(WriteBytes("x.gif", {'G', 'I', 'F', '8', '9', 'a', 1})));
    EXPECT_FALSE(CGifIO::IsAnimated(WriteBytes("y.png", PngHeaderOnly(1, 1))));
}

// ---- Hostile files: refusing one costs in proportion to the file, not to what its header claims

// What loading a file cost, measured in a child process so that the test's own memory does not count. Both
// figures are the load's own whatever the machine is doing: the address space counts a block as soon as it is
// allocated, even where the pages stay untouched, so it shows a picture-sized buffer in every build; the resident
// memory shows what was actually written.
struct LoadCost
{
    IOError error = IOError(-1);
    bool loaded = false;
    long peakAddressRiseKb = 0; // how far the peak address space rose during the load
    long peakRiseKb = 0;        // how far the peak resident memory rose during the load
};

// The peak address space of this process so far (VmPeak), or -1.
long PeakAddressSpaceKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmPeak:", 0) == 0)
            return std::strtol(line.c_str() + 7, nullptr, 10);
    return -1;
}

LoadCost MeasureLoad(const std::string& path)
{
    LoadCost cost;
    int ends[2];
    if (pipe(ends) != 0)
        return cost;
    pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        // A fork starts with the parent's present figures as its peaks, so the rises are the load's alone.
        rusage before{}, after{};
        const long addressBefore = PeakAddressSpaceKb();
        getrusage(RUSAGE_SELF, &before);
        std::unique_ptr<CImage> image(CIO::LoadImageA(path, IO_LOAD_DEFAULT, &cost.error));
        getrusage(RUSAGE_SELF, &after);
        const long addressAfter = PeakAddressSpaceKb();
        cost.loaded = image != nullptr;
        cost.peakRiseKb = after.ru_maxrss - before.ru_maxrss;
        cost.peakAddressRiseKb = addressBefore < 0 || addressAfter < 0 ? -1 : addressAfter - addressBefore;
        bool sent = write(ends[1], &cost, sizeof cost) == ssize_t(sizeof cost);
        _exit(sent ? 0 : 1);
    }
    close(ends[1]);
    bool received = child > 0 && read(ends[0], &cost, sizeof cost) == ssize_t(sizeof cost);
    close(ends[0]);
    int status = 0;
    if (child > 0)
        waitpid(child, &status, 0);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        cost = LoadCost{};
    return cost;
}

// A 1 x 1 PNG whose next chunk claims length bytes of data, of which the file holds only a few.
Bytes PngWithHugeChunk(const char* type, uint32_t length)
{
    Bytes b = PngHeaderOnly(1, 1);
    PutBig32(b, length);
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), {'k', 'e', 'y', 0, 0, 'a', 'b', 'c'});
    return b;
}

// A PNG of the claimed size whose pixel data stops two bytes into its first data chunk.
Bytes PngPixelsCutShort(uint32_t width, uint32_t height, bool interlaced = false)
{
    Bytes b = PngHeaderOnly(width, height, interlaced);
    PutBig32(b, 1000);
    b.insert(b.end(), {'I', 'D', 'A', 'T', 0x78, 0x9C});
    return b;
}

// A baseline JPEG stream of the claimed size cut off where its pixel data should begin.
Bytes JpegHeaderOnly(uint16_t width, uint16_t height)
{
    CMemFile mem;
    EXPECT_TRUE(CJpegIO::Save(mem, *GradientMap(16, 16), 75, nullptr, ""));
    Bytes b(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength());
    for (size_t i = 2; i + 9 < b.size(); i += 2 + (b[i + 2] << 8 | b[i + 3])) {
        EXPECT_EQ(b[i], 0xFF);
        if (b[i + 1] == 0xC0) { // frame header: length, precision, height, width
            b[i + 5] = height >> 8, b[i + 6] = height & 0xFF;
            b[i + 7] = width >> 8, b[i + 8] = width & 0xFF;
        } else if (b[i + 1] == 0xDA) { // scan header, after which the entropy-coded data follows
            b.resize(i + 2 + (b[i + 2] << 8 | b[i + 3]));
            return b;
        }
    }
    ADD_FAILURE() << "no scan header";
    return b;
}

// A GIF whose screen and first frame claim the given size, cut off where the frame's pixel data should begin.
Bytes GifHeaderOnly(uint16_t width, uint16_t height)
{
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, width);
    Put16(b, height);
    b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255}); // a global table of two colours
    b.push_back(',');
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, width);
    Put16(b, height);
    b.insert(b.end(), {0, 2}); // no local table, not interlaced; the minimum code size
    return b;
}

TEST_F(PictureFolder, HostileFilesAreRefusedCheaply)
{
    // Far below the hundreds of megabytes the headers claim (300 MB for 10000 x 10000 RGB), far above the few
    // megabytes a refusal takes with the sanitizers' own bookkeeping.
    constexpr long kMaxRiseKb = 64 * 1024;
    struct Case
    {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"png text chunk of 2 GB", PngWithHugeChunk("tEXt", 0x7FFFFFFF)},
        {"png text chunk of 1 GB", PngWithHugeChunk("tEXt", 0x40000000)},
        {"png compressed text chunk of 1.5 GB", PngWithHugeChunk("zTXt", 0x60000000)},
        {"png international text chunk of 1.5 GB", PngWithHugeChunk("iTXt", 0x60000000)},
        {"png colour profile chunk of 1.5 GB", PngWithHugeChunk("iCCP", 0x60000000)},
        {"png suggested palette chunk of 1.5 GB", PngWithHugeChunk("sPLT", 0x60000000)},
        {"png exif chunk of 1.5 GB", PngWithHugeChunk("eXIf", 0x60000000)},
        {"png private chunk of 1.5 GB", PngWithHugeChunk("prVt", 0x60000000)},
        {"png 10000 x 10000 without pixels", PngPixelsCutShort(10000, 10000)},
        {"interlaced png 10000 x 10000 without pixels", PngPixelsCutShort(10000, 10000, true)},
        {"jpeg 10000 x 10000 without pixels", JpegHeaderOnly(10000, 10000)},
        {"gif 10000 x 10000 without pixels", GifHeaderOnly(10000, 10000)},
    };
    for (const Case& c : cases) {
        LoadCost cost = MeasureLoad(WriteBytes("hostile", c.bytes));
        EXPECT_FALSE(cost.loaded) << c.name;
        EXPECT_EQ(cost.error, IO_INVALID_FILE) << c.name;
        EXPECT_GE(cost.peakAddressRiseKb, 0) << c.name;
        EXPECT_LT(cost.peakAddressRiseKb, kMaxRiseKb) << c.name << ": " << c.bytes.size() << " bytes";
        EXPECT_LT(cost.peakRiseKb, kMaxRiseKb) << c.name << ": " << c.bytes.size() << " bytes";
    }

    // The measures do see memory a picture really takes: 3000 x 3000 grey comes back as 27 MB of RGB.
    WritePng(Path("large.png"), 3000, 3000, PNG_COLOR_TYPE_GRAY, Bytes(3000 * 3000, 77));
    LoadCost large = MeasureLoad(Path("large.png"));
    EXPECT_TRUE(large.loaded);
    EXPECT_GT(large.peakRiseKb, 26 * 1024);
    EXPECT_GT(large.peakAddressRiseKb, 26 * 1024);
}

// ---- JPEG streams inside other files

// Rows of three-byte pixels, and of four-byte pixels with a byte to skip, go to the codec as they stand; a planar
// map is gathered row by row. All three must give the same stream for the same colours.
TEST(JpegStream, RowsReadInPlaceGiveTheSameStreamAsGatheredRows)
{
    const int width = 37, height = 23;
    auto packed = GradientMap(width, height);
    CPixMap planar(IMAGE_MODE_RGB, width, height, false);
    CPixMap padded(IMAGE_MODE_RGB, width, height, true);
    std::vector<unsigned char> fourBytes(size_t(width) * height * 4, 0xEE);
    padded.plane[0].data = fourBytes.data();
    padded.plane[0].pixelStep = 4;
    padded.plane[0].rowStep = width * 4;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int p = 0; p < 3; ++p)
                *planar.Sample(x, y, p) = *padded.Sample(x, y, p) = *packed->Sample(x, y, p);

    auto save = [](const CPixMap& map) {
        CMemFile mem;
        EXPECT_TRUE(CJpegIO::Save(mem, map, 75, nullptr, "same"));
        return Bytes(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength());
    };
    const Bytes gathered = save(planar);
    ASSERT_FALSE(gathered.empty());
    EXPECT_EQ(save(*packed), gathered);
    EXPECT_EQ(save(padded), gathered);
}

TEST(JpegStream, SaveThenLoadLeavesFileAfterTheStream)
{
    auto map = GradientMap(131, 134);
    CMemFile file(1024);
    const char prefix[] = "HEAD";
    file.Write(prefix, 4);
    IOError error = IOError(-1);
    ASSERT_TRUE(CJpegIO::Save(file, *map, 40, &error, "front page"));
    EXPECT_EQ(error, IO_OK);
    ULONGLONG end = file.GetPosition();
    file.Write("TAIL", 4);

    file.Seek(4, CFile::begin);
    std::string comment;
    std::unique_ptr<CImage> image(CJpegIO::Load(file, &error, &comment));
    ASSERT_TRUE(image);
    EXPECT_EQ(error, IO_OK);
    EXPECT_EQ(image->GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(image->Width(), 131);
    EXPECT_EQ(image->Height(), 134);
    EXPECT_EQ(comment, "front page");
    EXPECT_EQ(file.GetPosition(), end);
    for (auto [x, y] : {std::pair{0, 0}, {130, 0}, {65, 67}, {130, 133}})
        ExpectClose(PixelAt(*image, x, y), {*map->Sample(x, y, 0), *map->Sample(x, y, 1), 128}, 16);

    // Lower quality gives a smaller stream.
    CMemFile low, high;
    ASSERT_TRUE(CJpegIO::Save(low, *map, 10, nullptr, ""));
    ASSERT_TRUE(CJpegIO::Save(high, *map, 95, nullptr, ""));
    EXPECT_LT(low.GetLength(), high.GetLength());
}

TEST(JpegStream, BadStreamsAndMapsFailCleanly)
{
    auto map = GradientMap(30, 20);
    CMemFile good;
    ASSERT_TRUE(CJpegIO::Save(good, *map, 40, nullptr, ""));
    ULONGLONG length = good.GetLength();

    std::vector<Bytes> streams = {
        {},
        Bytes(500, 0xAB),
        Bytes(good.GetBuffer(), good.GetBuffer() + length / 2),
        Bytes(good.GetBuffer(), good.GetBuffer() + 4),
    };
    for (size_t i = 0; i < streams.size(); ++i) {
        Bytes& bytes = streams[i];
        CMemFile file(bytes.data(), UINT(bytes.size()));
        IOError error = IO_OK;
        std::string comment = "kept";
        std::unique_ptr<CImage> image(CJpegIO::Load(file, &error, &comment));
        EXPECT_FALSE(image) << i;
        EXPECT_EQ(error, IO_INVALID_FILE) << i;
        EXPECT_LE(file.GetPosition(), bytes.size()) << i;
    }

    CPixMap rgba(IMAGE_MODE_RGBA, 4, 4, true);
    CMemFile out;
    IOError error = IO_OK;
    EXPECT_FALSE(CJpegIO::Save(out, rgba, 40, &error, ""));
    EXPECT_EQ(error, IO_INVALID_FILE);
    EXPECT_EQ(out.GetLength(), 0u);
}

// A file whose reads fail after the first one, as a disk going away would.
class FailingFile : public CMemFile
{
public:
    FailingFile(BYTE* data, UINT size) : CMemFile(data, size) {}
    UINT Read(void* buffer, UINT count) override
    {
        if (m_reads++ > 0)
            AfxThrowFileException(CFileException::hardIO);
        return CMemFile::Read(buffer, count);
    }

private:
    int m_reads = 0;
};

TEST(JpegStream, FailingReadOfTheFileRaisesItsException)
{
    // Noise, so that the stream needs more than one read.
    CPixMap noise(IMAGE_MODE_RGB, 64, 64, true);
    uint32_t seed = 1;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            for (int p = 0; p < 3; ++p)
                *noise.Sample(x, y, p) = static_cast<unsigned char>((seed = seed * 1103515245u + 12345u) >> 24);
    CMemFile good;
    ASSERT_TRUE(CJpegIO::Save(good, noise, 90, nullptr, ""));
    ASSERT_GT(good.GetLength(), 4096u);
    Bytes bytes(good.GetBuffer(), good.GetBuffer() + good.GetLength());
    FailingFile file(bytes.data(), UINT(bytes.size()));
    IOError error = IO_OK;
    try {
        std::unique_ptr<CImage> image(CJpegIO::Load(file, &error, nullptr));
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::hardIO);
    }
}

// ---- Scans that stop before their rows

// A 64 x 48 gradient written by the library itself, progressive or with a restart marker every MCU row: streams
// whose scans end at markers as a matter of course.
Bytes LibraryJpeg(bool progressive, int restartRows)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* data = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &data, &size);
    const auto map = GradientMap(64, 48);
    info.image_width = 64;
    info.image_height = 48;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (progressive)
        jpeg_simple_progression(&info);
    info.restart_in_rows = restartRows;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = map->plane[0].data + ptrdiff_t(info.next_scanline) * map->plane[0].rowStep;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(data, data + size);
    free(data);
    return bytes;
}

// A 16 x 16 picture's stream whose frame claims width x height, with only scanBytes of its scan data.
Bytes GradientWithShortScan(uint16_t width, uint16_t height, size_t scanBytes)
{
    CMemFile mem;
    EXPECT_TRUE(CJpegIO::Save(mem, *GradientMap(16, 16), 75, nullptr, ""));
    return JpegWithShortScan(Bytes(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength()), width, height, scanBytes);
}

TEST_F(PictureFolder, AScanThatStopsBeforeItsRowsIsRefusedBeforeThePictureIsMade)
{
    // Made whole, either picture would take 300 MB; refused at the first missing row, it takes almost nothing.
    constexpr long kMaxRiseKb = 64 * 1024;
    for (size_t scanBytes : {size_t(0), size_t(6)}) {
        const Bytes bytes = GradientWithShortScan(10000, 9999, scanBytes);
        ASSERT_FALSE(bytes.empty());
        LoadCost cost = MeasureLoad(WriteBytes("short-scan.jpg", bytes));
        EXPECT_FALSE(cost.loaded) << scanBytes;
        EXPECT_EQ(cost.error, IO_INVALID_FILE) << scanBytes;
        EXPECT_LT(cost.peakRiseKb, kMaxRiseKb) << scanBytes << ": " << bytes.size() << " bytes";

        Bytes copy = bytes;
        CMemFile stream(copy.data(), UINT(copy.size()));
        IOError error = IO_OK;
        std::unique_ptr<CImage> image(CJpegIO::Load(stream, &error, nullptr));
        EXPECT_FALSE(image) << scanBytes;
        EXPECT_EQ(error, IO_INVALID_FILE) << scanBytes;
    }
    // A progressive frame keeps the whole picture's coefficients while its scans come in; its first scan stops.
    const Bytes progressive = JpegWithShortScan(LibraryJpeg(true, 0), 10000, 9999, 6);
    ASSERT_FALSE(progressive.empty());
    LoadCost cost = MeasureLoad(WriteBytes("short-progressive.jpg", progressive));
    EXPECT_FALSE(cost.loaded);
    EXPECT_LT(cost.peakRiseKb, kMaxRiseKb);
    // The same stream with its whole scan is a picture.
    Loaded whole = Load(WriteBytes("whole.jpg", GradientWithShortScan(16, 16, SIZE_MAX)));
    ASSERT_TRUE(whole.image);
    EXPECT_EQ(whole.image->Width(), 16);
}

TEST_F(PictureFolder, ScansThatEndAtTheirMarkersStillLoad)
{
    for (const auto& [progressive, restartRows] : {std::pair{true, 0}, std::pair{false, 1}, std::pair{true, 1}}) {
        Loaded loaded = Load(WriteBytes("scans.jpg", LibraryJpeg(progressive, restartRows)));
        ASSERT_TRUE(loaded.image) << progressive << " " << restartRows;
        EXPECT_EQ(loaded.image->Width(), 64);
        EXPECT_EQ(loaded.image->Height(), 48);
    }
}

TEST_F(PictureFolder, AGifScreenOfLittleButBackgroundIsTheFirstFrame)
{
    // A 5369 x 16387 screen would be 352 MB of background around a frame of 5 x 3.
    const Bytes palette = {0, 0, 0, 255, 255, 255};
    const Bytes indices = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0};
    WriteGif(Path("screen.gif"), 5369, 16387, palette, {{0, 0, 5, 3, indices}});
    LoadCost cost = MeasureLoad(Path("screen.gif"));
    EXPECT_TRUE(cost.loaded);
    EXPECT_LT(cost.peakRiseKb, 64 * 1024);
    Loaded loaded = Load(Path("screen.gif"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->Width(), 5);
    EXPECT_EQ(loaded.image->Height(), 3);
    EXPECT_EQ(PixelAt(*loaded.image, 1, 0), (Bytes{255, 255, 255}));

    // A screen a little larger than its frame keeps its size, the rest showing the background.
    WriteGif(Path("margin.gif"), 300, 200, palette, {{10, 20, 5, 3, indices}});
    Loaded margin = Load(Path("margin.gif"));
    ASSERT_TRUE(margin.image);
    EXPECT_EQ(margin.image->Width(), 300);
    EXPECT_EQ(margin.image->Height(), 200);
}

} // namespace
