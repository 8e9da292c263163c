// Saving a 2000 x 2000 picture as a JPEG stream at quality 75, beside libjpeg-turbo writing the same rows with
// nothing around it: the ratio is what the stand-in adds to the codec.

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "image/image.h"
#include "platform/io/jpeg_io.h"
#include "platform/win/file.h"

namespace {

constexpr int kSide = 2000;
constexpr int kQuality = 75;

// A picture with some detail in it, so the codec does real work: gradients crossed by a coarse pattern.
std::unique_ptr<CPixMap> MakePicture(bool interleaved)
{
    auto map = std::make_unique<CPixMap>(IMAGE_MODE_RGB, kSide, kSide, interleaved);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            *map->Sample(x, y, 0) = static_cast<unsigned char>(x * 255 / kSide);
            *map->Sample(x, y, 1) = static_cast<unsigned char>(((x / 16 + y / 16) % 2) * 120 + y * 100 / kSide);
            *map->Sample(x, y, 2) = static_cast<unsigned char>((x ^ y) & 0xFF);
        }
    return map;
}

void ReportPerMegapixel(benchmark::State& state)
{
    state.counters["per_MP"] = benchmark::Counter(kSide * double(kSide) / 1e6,
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}

void SaveThroughStandIn(benchmark::State& state, bool interleaved)
{
    const auto map = MakePicture(interleaved);
    for (auto _ : state) {
        CMemFile file;
        if (!CJpegIO::Save(file, *map, kQuality, nullptr, "")) {
            state.SkipWithError("the save failed");
            return;
        }
        benchmark::DoNotOptimize(file.GetLength());
    }
    ReportPerMegapixel(state);
}

void BM_JpegSave(benchmark::State& state)
{
    SaveThroughStandIn(state, true);
}
BENCHMARK(BM_JpegSave)->Unit(benchmark::kMillisecond);

// A planar map, whose rows are gathered before the codec sees them.
void BM_JpegSavePlanarMap(benchmark::State& state)
{
    SaveThroughStandIn(state, false);
}
BENCHMARK(BM_JpegSavePlanarMap)->Unit(benchmark::kMillisecond);

void BM_LibjpegTurboSave(benchmark::State& state)
{
    const auto map = MakePicture(true);
    for (auto _ : state) {
        jpeg_compress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        unsigned char* data = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&info, &data, &size);
        info.image_width = kSide;
        info.image_height = kSide;
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, kQuality, TRUE);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = map->plane[0].data + static_cast<ptrdiff_t>(info.next_scanline) * map->plane[0].rowStep;
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        benchmark::DoNotOptimize(size);
        std::free(data);
    }
    ReportPerMegapixel(state);
}
BENCHMARK(BM_LibjpegTurboSave)->Unit(benchmark::kMillisecond);

} // namespace
