// Moving 256 x 256 tiles between an image and a pixel map, against a plain memcpy of the same bytes.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "image/image.h"
#include "image/tiles.h"

namespace {

constexpr int kImageSide = 1024;

// The baseline: a tile's bytes copied in one piece, taken in turn from the sixteen tiles' worth of bytes
// of an image of the same size, so that both sides touch the same amount of memory.
void BM_MemcpyTileBytes(benchmark::State& state)
{
    const size_t bytes = size_t(kImageTileSize) * kImageTileSize * 4;
    std::vector<unsigned char> src(size_t(kImageSide) * kImageSide * 4, 1), dst(bytes);
    int i = 0;
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data() + (i++ % 16) * bytes, bytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

void BM_GetBufTile(benchmark::State& state)
{
    CImage image(IMAGE_MODE_RGBA, kImageSide, kImageSide, 96.0);
    CPixMap map(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    int i = 0;
    for (auto _ : state) {
        int x = (i % 4) * kImageTileSize, y = ((i / 4) % 4) * kImageTileSize;
        image.GetBuf(x, y, map, MASK_NONE, 1);
        benchmark::DoNotOptimize(map.plane[0].data);
        ++i;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kImageTileSize * kImageTileSize * 4);
}

void BM_SetBufTile(benchmark::State& state)
{
    CImage image(IMAGE_MODE_RGBA, kImageSide, kImageSide, 96.0);
    CPixMap map(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    int i = 0;
    for (auto _ : state) {
        int x = (i % 4) * kImageTileSize, y = ((i / 4) % 4) * kImageTileSize;
        image.SetBuf(x, y, map, MASK_NONE, 1);
        benchmark::DoNotOptimize(image.GetData());
        ++i;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kImageTileSize * kImageTileSize * 4);
}

// A tile that straddles the image's corner, with the outside repeated from the edges.
void BM_GetBufEdgeRepeatTile(benchmark::State& state)
{
    CImage image(IMAGE_MODE_RGBA, kImageSide, kImageSide, 96.0);
    CPixMap map(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    for (auto _ : state) {
        image.GetBuf(kImageSide - kImageTileSize / 2, kImageSide - kImageTileSize / 2, map, MASK_EDGE_REPEAT, 1);
        benchmark::DoNotOptimize(map.plane[0].data);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kImageTileSize * kImageTileSize * 4);
}

// An RGB image into an RGB-with-alpha map: each pixel's three bytes spread to four, with alpha 255.
void BM_GetBufRgbIntoRgbaTile(benchmark::State& state)
{
    CImage image(IMAGE_MODE_RGB, kImageSide, kImageSide, 96.0);
    CPixMap map(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    for (auto _ : state) {
        image.GetBuf(kImageTileSize, kImageTileSize, map, MASK_NONE, 1);
        benchmark::DoNotOptimize(map.plane[0].data);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kImageTileSize * kImageTileSize * 4);
}

} // namespace

BENCHMARK(BM_MemcpyTileBytes);
BENCHMARK(BM_GetBufTile);
BENCHMARK(BM_SetBufTile);
BENCHMARK(BM_GetBufEdgeRepeatTile);
BENCHMARK(BM_GetBufRgbIntoRgbaTile);
