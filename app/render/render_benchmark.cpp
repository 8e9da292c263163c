// The blur and the blend on a 2000 x 2000 image with alpha, beside a plain copy of the same image through
// the pixel exchange in 256 x 256 tiles, the way every pixel operation of the program moves its pixels. The
// blend runs beside pixman's OVER on the same pixels, through the same tiles.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
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

// A typical object image: opaque inside, clear outside, a soft edge between (a large disc with a 3-pixel ramp).
CImage MakeObjectImage()
{
    CImage image(IMAGE_MODE_RGBA, kSide, kSide);
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
    image.SetBuf(0, 0, map);
    return image;
}

// The same pixels as pixman takes them: colour premultiplied by alpha, in the byte order blue, green, red,
// alpha. The image keeps its mode, as the exchange moves the bytes without reading them.
CImage ForPixman(const CImage& image)
{
    CPixMap map(IMAGE_MODE_RGBA, kSide, kSide);
    image.GetBuf(0, 0, map);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            unsigned char* p = map.Sample(x, y, 0);
            const int a = p[0], r = p[1], g = p[2], b = p[3];
            p[0] = static_cast<unsigned char>((b * a + 127) / 255);
            p[1] = static_cast<unsigned char>((g * a + 127) / 255);
            p[2] = static_cast<unsigned char>((r * a + 127) / 255);
            p[3] = static_cast<unsigned char>(a);
        }
    CImage converted(IMAGE_MODE_RGBA, kSide, kSide);
    converted.SetBuf(0, 0, map);
    return converted;
}

void ReportPerMegapixel(benchmark::State& state, double megapixels = kMegapixels)
{
    // Seconds per megapixel (shown with an SI prefix: "m" is milliseconds).
    state.counters["per_MP"] =
        benchmark::Counter(megapixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
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

// A destination and a source tile, and the blend of the one over the other: BlendAlpha, or pixman's OVER on
// the same buffers (wrapped once).
class TilePair
{
public:
    explicit TilePair(bool pixman) : m_pixman(pixman), m_pixmanTile(Wrap(tile)), m_pixmanSource(Wrap(source)) {}

    void SetSize(int width, int height)
    {
        tile.width = source.width = width;
        tile.height = source.height = height;
    }

    void Blend()
    {
        if (m_pixman)
            pixman_image_composite32(PIXMAN_OP_OVER, m_pixmanSource.get(), nullptr, m_pixmanTile.get(), 0, 0, 0, 0, 0,
                                     0, tile.width, tile.height);
        else
            BlendAlpha(tile.plane[0].data, 4, tile.plane[0].rowStep, source.plane[0].data, 4, source.plane[0].rowStep,
                       tile.width, tile.height);
    }

    CPixMap tile{IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize};
    CPixMap source{IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize};

private:
    using PixmanImage = std::unique_ptr<pixman_image_t, decltype(&pixman_image_unref)>;

    static PixmanImage Wrap(CPixMap& map)
    {
        return PixmanImage(pixman_image_create_bits(PIXMAN_a8r8g8b8, map.width, map.height,
                                                    reinterpret_cast<uint32_t*>(map.plane[0].data),
                                                    map.plane[0].rowStep),
                           pixman_image_unref);
    }

    bool m_pixman;
    PixmanImage m_pixmanTile;
    PixmanImage m_pixmanSource;
};

// Lays source over image tile by tile through the pixel exchange, once in each timed iteration; with pixman
// set, through pixman's OVER on images made for it.
void BlendThroughTiles(benchmark::State& state, CImage& image, const CImage& source, bool pixman)
{
    TilePair tiles(pixman);
    for (auto _ : state) {
        for (int y = 0; y < kSide; y += kImageTileSize)
            for (int x = 0; x < kSide; x += kImageTileSize) {
                tiles.SetSize(std::min(kImageTileSize, kSide - x), std::min(kImageTileSize, kSide - y));
                image.GetBuf(x, y, tiles.tile);
                source.GetBuf(x, y, tiles.source);
                tiles.Blend();
                image.SetBuf(x, y, tiles.tile);
            }
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
    BlendThroughTiles(state, image, source, false);
}

void BM_PixmanOver(benchmark::State& state)
{
    CImage image = ForPixman(MakeImage(3));
    const CImage source = ForPixman(MakeImage(4));
    BlendThroughTiles(state, image, source, true);
}

// What a page draw does with a typical object image, laid over the page image.
void BM_BlendAlphaObjectImage(benchmark::State& state)
{
    CImage image = MakeImage(7);
    const CImage source = MakeObjectImage();
    BlendThroughTiles(state, image, source, false);
}

void BM_PixmanOverObjectImage(benchmark::State& state)
{
    CImage image = ForPixman(MakeImage(7));
    const CImage source = ForPixman(MakeObjectImage());
    BlendThroughTiles(state, image, source, true);
}

// The blend alone, on one pair of tiles that stays in cache: what the arithmetic costs without the exchange.
void BlendTileInCache(benchmark::State& state, const CImage& image, const CImage& source, bool pixman)
{
    TilePair tiles(pixman);
    image.GetBuf(0, 0, tiles.tile);
    source.GetBuf(0, 0, tiles.source);
    for (auto _ : state) {
        tiles.Blend();
        benchmark::ClobberMemory();
    }
    ReportPerMegapixel(state, kImageTileSize * kImageTileSize / 1e6);
}

void BM_BlendAlphaTileInCache(benchmark::State& state)
{
    BlendTileInCache(state, MakeImage(5), MakeImage(6), false);
}

void BM_PixmanOverTileInCache(benchmark::State& state)
{
    BlendTileInCache(state, ForPixman(MakeImage(5)), ForPixman(MakeImage(6)), true);
}

// Each build of BlendAlpha's row routine that this processor runs (AVX-512, AVX2, the SSE2 baseline), on the
// same tiles.
void BM_BlendAlphaRowBuildInCache(benchmark::State& state)
{
    const auto builds = detail::BlendAlphaRowBuilds();
    if (state.range(0) >= static_cast<int64_t>(builds.size())) {
        state.SkipWithError("this processor runs no such build");
        return;
    }
    const ProcessorBuild<detail::BlendAlphaRow>& build = builds[state.range(0)];
    TilePair tiles(false);
    MakeImage(5).GetBuf(0, 0, tiles.tile);
    MakeImage(6).GetBuf(0, 0, tiles.source);
    for (auto _ : state) {
        for (int y = 0; y < kImageTileSize; ++y)
            build.routine(tiles.tile.plane[0].data + y * tiles.tile.plane[0].rowStep,
                          tiles.source.plane[0].data + y * tiles.source.plane[0].rowStep, kImageTileSize);
        benchmark::ClobberMemory();
    }
    state.SetLabel(build.name);
    ReportPerMegapixel(state, kImageTileSize * kImageTileSize / 1e6);
}

} // namespace

BENCHMARK(BM_CopyThroughTiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GaussianBlur)->Arg(2)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlendAlpha)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PixmanOver)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlendAlphaObjectImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PixmanOverObjectImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlendAlphaTileInCache)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PixmanOverTileInCache)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlendAlphaRowBuildInCache)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
