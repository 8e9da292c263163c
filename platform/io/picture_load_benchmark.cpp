// Loading pictures from files, beside the codec libraries used directly on the same files: a 2000 x 2000 JPEG at
// quality 75 and 90 against libjpeg-turbo decoding it into one buffer of rows, and a 2000 x 2000 GIF of 256 colours
// against giflib decoding its frame and turning the indices into colours. The ratio is what the loader adds. Each
// load before the first timed one checks that the loader's pixels are the library's.

#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <jpeglib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "image/image.h"
#include "platform/io/io.h"

namespace {

constexpr int kSide = 2000;

// A picture with detail in it, so the codecs do real work: gradients crossed by a coarse pattern.
std::vector<unsigned char> MakeRgb()
{
    std::vector<unsigned char> rgb(static_cast<size_t>(kSide) * kSide * 3);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            unsigned char* p = &rgb[(static_cast<size_t>(y) * kSide + x) * 3];
            p[0] = static_cast<unsigned char>(x * 255 / kSide);
            p[1] = static_cast<unsigned char>(((x / 16 + y / 16) % 2) * 120 + y * 100 / kSide);
            p[2] = static_cast<unsigned char>((x ^ y) & 0xFF);
        }
    return rgb;
}

std::string TempPath(const char* name)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/pelorin-load-" + std::to_string(getpid()) + "-" + name;
}

bool WriteJpeg(const std::string& path, int quality)
{
    const std::vector<unsigned char> rgb = MakeRgb();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = kSide;
    info.image_height = kSide;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(&rgb[static_cast<size_t>(info.next_scanline) * kSide * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

bool WriteGif(const std::string& path)
{
    std::vector<GifColorType> colours(256);
    for (int i = 0; i < 256; ++i)
        colours[static_cast<size_t>(i)] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                                           static_cast<GifByteType>((i * 7) & 0xFF)};
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (!gif)
        return false;
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    bool ok = EGifPutScreenDesc(gif, kSide, kSide, 8, 0, map) != GIF_ERROR &&
              EGifPutImageDesc(gif, 0, 0, kSide, kSide, false, nullptr) != GIF_ERROR;
    std::vector<GifPixelType> row(kSide);
    for (int y = 0; ok && y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x)
            row[static_cast<size_t>(x)] = static_cast<GifPixelType>((x / 8 + y / 8 + (x * y) % 5) & 0xFF);
        ok = EGifPutLine(gif, row.data(), kSide) != GIF_ERROR;
    }
    GifFreeMapObject(map);
    return EGifCloseFile(gif, &error) != GIF_ERROR && ok;
}

// The library alone: the rows of the file in one buffer.
std::vector<unsigned char> LibjpegLoad(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return {};
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const size_t stride = static_cast<size_t>(info.output_width) * 3;
    std::vector<unsigned char> pixels(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return pixels;
}

std::vector<unsigned char> GiflibLoad(const std::string& path)
{
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif)
        return {};
    std::vector<unsigned char> pixels;
    GifRecordType record;
    while (DGifGetRecordType(gif, &record) != GIF_ERROR && record != TERMINATE_RECORD_TYPE) {
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
                break;
            while (block && DGifGetExtensionNext(gif, &block) != GIF_ERROR) {
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) == GIF_ERROR)
            break;
        const int w = gif->Image.Width, h = gif->Image.Height;
        const ColorMapObject* colours = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
        std::vector<GifPixelType> indices(static_cast<size_t>(w) * h);
        bool ok = true;
        for (int y = 0; ok && y < h; ++y)
            ok = DGifGetLine(gif, &indices[static_cast<size_t>(y) * w], w) != GIF_ERROR;
        if (!ok)
            break;
        pixels.resize(indices.size() * 3);
        unsigned char* out = pixels.data();
        for (const GifPixelType index : indices) {
            const GifColorType& c = colours->Colors[index];
            *out++ = c.Red;
            *out++ = c.Green;
            *out++ = c.Blue;
        }
        break;
    }
    DGifCloseFile(gif, &error);
    return pixels;
}

std::unique_ptr<CImage> LoaderLoad(const std::string& path)
{
    IOError error = IO_OK;
    return std::unique_ptr<CImage>(CIO::LoadImageA(path, IO_LOAD_DEFAULT, &error));
}

bool SamePixels(const CImage& image, const std::vector<unsigned char>& rgb)
{
    if (image.GetMode() != IMAGE_MODE_RGB || image.Width() != kSide || image.Height() != kSide ||
        rgb.size() != static_cast<size_t>(kSide) * kSide * 3)
        return false;
    CPixMap map(IMAGE_MODE_RGB, kSide, kSide, true);
    if (!image.GetBuf(0, 0, map))
        return false;
    for (int y = 0; y < kSide; ++y)
        if (std::memcmp(map.plane[0].data + static_cast<ptrdiff_t>(y) * map.plane[0].rowStep,
                        &rgb[static_cast<size_t>(y) * kSide * 3], static_cast<size_t>(kSide) * 3) != 0)
            return false;
    return true;
}

struct Files
{
    Files()
    {
        ready = WriteJpeg(jpeg75, 75) && WriteJpeg(jpeg90, 90) && WriteGif(gif);
        if (!ready)
            return;
        for (const std::string* path : {&jpeg75, &jpeg90, &gif}) {
            const auto image = LoaderLoad(*path);
            const auto direct = path == &gif ? GiflibLoad(*path) : LibjpegLoad(*path);
            same = same && image && SamePixels(*image, direct);
        }
    }
    ~Files()
    {
        std::remove(jpeg75.c_str());
        std::remove(jpeg90.c_str());
        std::remove(gif.c_str());
    }
    std::string jpeg75 = TempPath("75.jpg");
    std::string jpeg90 = TempPath("90.jpg");
    std::string gif = TempPath("256.gif");
    bool ready = false;
    bool same = true;
};

const Files& TheFiles()
{
    static const Files files;
    return files;
}

template <class Load> void Run(benchmark::State& state, const std::string& path, Load load)
{
    if (!TheFiles().ready || !TheFiles().same) {
        state.SkipWithError(TheFiles().ready ? "the loader's pixels differ from the library's" : "no files");
        return;
    }
    for (auto _ : state) {
        auto result = load(path);
        benchmark::DoNotOptimize(result);
    }
}

void BM_LoadJpeg75(benchmark::State& state)
{
    Run(state, TheFiles().jpeg75, LoaderLoad);
}
BENCHMARK(BM_LoadJpeg75)->Unit(benchmark::kMillisecond);

void BM_LibjpegTurboLoad75(benchmark::State& state)
{
    Run(state, TheFiles().jpeg75, LibjpegLoad);
}
BENCHMARK(BM_LibjpegTurboLoad75)->Unit(benchmark::kMillisecond);

void BM_LoadJpeg90(benchmark::State& state)
{
    Run(state, TheFiles().jpeg90, LoaderLoad);
}
BENCHMARK(BM_LoadJpeg90)->Unit(benchmark::kMillisecond);

void BM_LibjpegTurboLoad90(benchmark::State& state)
{
    Run(state, TheFiles().jpeg90, LibjpegLoad);
}
BENCHMARK(BM_LibjpegTurboLoad90)->Unit(benchmark::kMillisecond);

void BM_LoadGif(benchmark::State& state)
{
    Run(state, TheFiles().gif, LoaderLoad);
}
BENCHMARK(BM_LoadGif)->Unit(benchmark::kMillisecond);

void BM_GiflibLoad(benchmark::State& state)
{
    Run(state, TheFiles().gif, GiflibLoad);
}
BENCHMARK(BM_GiflibLoad)->Unit(benchmark::kMillisecond);

} // namespace
