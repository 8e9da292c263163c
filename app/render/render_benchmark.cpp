// The blur and the blend on a 2000 x 2000 image with alpha, beside a plain copy of the same image through
// the pixel exchange in 256 x 256 tiles, the way every pixel operation of the program moves its pixels.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "app/render/compositing.h"
#include "app/render/gaussian_blur.h"
#include "image/image.h"
#include "image/tiles.h"

namespace {

constexpr int kSide = 2000;
constexpr double kMegapixels = double(kSide) * kSide / 1e6;

CImage MakeImage(unsigned seed)
{
    CImage image(IMAGE_MODE_RGBA, kSide, kSide);
    CPixMap map(IMAGE_MODE_RGBA, kSide, kSide);
    std::mt19937 rng(seed);
    for (int i = 0; i < map.bufferSize[0]; ++i)
        map.buffer[0][i] = static_cast<unsigned char>(rng());
    image.SetBuf(0, 0, map);
    return image;
}

void ReportPerMegapixel(benchmark::State& state)
{
    // Seconds per megapixel (shown with an SI prefix: "m" is milliseconds).
    state.counters["per_MP"] =
        benchmark::Counter(kMegapixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The baseline: every tile read out and written back unchanged.
void BM_CopyThroughTiles(benchmark::State& state)
{
    CImage image = MakeImage(1);
    CPixMap tile(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    for (auto _ : state) {
        ForEachTile(tile, kSide, kSide, [&](int x, int y) {
            image.GetBuf(x, y, tile);
            image.SetBuf(x, y, tile);
            return true;
        });
        benchmark::DoNotOptimize(image.GetData());
        benchmark::ClobberMemory();
    }
    ReportPerMegapixel(state);
}

// Each run starts from the same pixels, restored outside the timing.
void BM_GaussianBlur(benchmark::State& state)
{
    const CImage original = MakeImage(2);
    CImage image = original;
    const double sigma = static_cast<double>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        image = original;
        state.ResumeTiming();
        if (!GaussianBlur(&image, sigma, nullptr))
            state.SkipWithError("blur failed");
        benchmark::DoNotOptimize(image.GetData());
        benchmark::ClobberMemory();
    }
    ReportPerMegapixel(state);
}

// Lays source over image tile by tile through the pixel exchange, once in each timed iteration.
void BlendThroughTiles(benchmark::State& state, CImage& image, const CImage& source)
{
    CPixMap tile(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    CPixMap sourceTile(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    for (auto _ : state) {
        ForEachTile(tile, kSide, kSide, [&](int x, int y) {
            sourceTile.width = tile.width;
            sourceTile.height = tile.height;
            image.GetBuf(x, y, tile);
            source.GetBuf(x, y, sourceTile);
            BlendAlpha(tile.plane[0].data, 4, tile.plane[0].rowStep, sourceTile.plane[0].data, 4,
                       sourceTile.plane[0].rowStep, tile.width, tile.height);
            image.SetBuf(x, y, tile);
            return true;
        });
        benchmark::DoNotOptimize(image.GetData());
        benchmark::ClobberMemory();
    }
    ReportPerMegapixel(state);
}

// A second image with random alpha (the costly case: few fully clear or opaque pixels) laid over the first,
// tile by tile.
void BM_BlendAlpha(benchmark::State& state)
{
    CImage image = MakeImage(3);
    const CImage source = MakeImage(4);
    BlendThroughTiles(state, image, source);
}

// What a page draw does with a typical object image: opaque inside, clear outside, a soft edge between (a
// large disc with a 3-pixel ramp), laid over the page image.
void BM_BlendAlphaObjectImage(benchmark::State& state)
{
    CImage image = MakeImage(7);
    CImage source(IMAGE_MODE_RGBA, kSide, kSide);
    {
        CPixMap map(IMAGE_MODE_RGBA, kSide, kSide);
        const double c = kSide / 2.0, r = kSide * 0.45;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const double d = std::hypot(x + 0.5 - c, y + 0.5 - c);
                const double cover = std::clamp((r - d) / 3.0 + 0.5, 0.0, 1.0);
                unsigned char* p = map.Sample(x, y, 0);
                p[0] = static_cast<unsigned char>(cover * 255.0 + 0.5);
                p[1] = 200, p[2] = 40, p[3] = 90;
            }
        source.SetBuf(0, 0, map);
    }
    BlendThroughTiles(state, image, source);
}

// The blend alone, on one pair of tiles that stays in cache: what the arithmetic costs without the exchange.
void BM_BlendAlphaTileInCache(benchmark::State& state)
{
    const CImage image = MakeImage(5), source = MakeImage(6);
    CPixMap tile(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    CPixMap sourceTile(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    image.GetBuf(0, 0, tile);
    source.GetBuf(0, 0, sourceTile);
    for (auto _ : state) {
        BlendAlpha(tile.plane[0].data, 4, tile.plane[0].rowStep, sourceTile.plane[0].data, 4,
                   sourceTile.plane[0].rowStep, kImageTileSize, kImageTileSize);
        benchmark::ClobberMemory();
    }
    state.counters["per_MP"] =
        benchmark::Counter(kImageTileSize * kImageTileSize / 1e6,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_CopyThroughTiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GaussianBlur)->Arg(2)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlendAlpha)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlendAlphaObjectImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlendAlphaTileInCache)->Unit(benchmark::kMicrosecond);
