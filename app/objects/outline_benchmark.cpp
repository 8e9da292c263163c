#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/gradient_info.h"
#include "app/model/text_style.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/shape_outline.h"
#include "image/tiles.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

std::unique_ptr<CFillInfo> Gradient()
{
    CGradientInfo gradient;
    GRADIENTCOLORS colours;
    colours.start = CColor(255, 0, 0);
    colours.end = CColor(0, 0, 255);
    gradient.SetGradientColors(colours);
    gradient.angle = 30;
    auto fill = std::make_unique<CFillInfo>();
    fill->SetGradient(gradient);
    return fill;
}

// A 400 x 300 rectangle with a gradient fill, from dirty to its final image: the gradient is rendered at the
// object's size, then the outline rasterised tile by tile through the page's tile-sized buffer.
void BM_RenderGradientRectangle(benchmark::State& state)
{
    CPixMap scratch(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    CRectangleObject object(300.0, 200.0, SIZE{kWidth, kHeight}, 0.0);
    object.SetFill(Gradient());
    for (auto _ : state) {
        object.GetFill()->SetRenderAgain();
        object.SetDirty();
        if (!object.UpdateImage(scratch))
            state.SkipWithError("render failed");
        benchmark::DoNotOptimize(object.GetImage());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(kWidth) * kHeight * 4);
}
BENCHMARK(BM_RenderGradientRectangle);

// The same rectangle in a solid colour: the tile walk and the rasterising without the gradient.
void BM_RenderColourRectangle(benchmark::State& state)
{
    CPixMap scratch(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    CRectangleObject object(300.0, 200.0, SIZE{kWidth, kHeight}, 0.0);
    for (auto _ : state) {
        object.SetDirty();
        if (!object.UpdateImage(scratch))
            state.SkipWithError("render failed");
        benchmark::DoNotOptimize(object.GetImage());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(kWidth) * kHeight * 4);
}
BENCHMARK(BM_RenderColourRectangle);

// Seconds per megapixel of the object's size (shown with an SI prefix: "m" is milliseconds).
void ReportPerMegapixel(benchmark::State& state, int width, int height)
{
    state.counters["per_MP"] = benchmark::Counter(
        double(width) * height / 1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The full pipeline: a turned five-pointed star (the star makes itself square) with a gradient fill, button text,
// drop shadow, bevel and glow, from dirty to its final image, at the size given by the arguments. The effect caches
// are rebuilt each time, as after a resize or turn. The cost per pixel should not grow with the size.
void BM_RenderStarWithEverything(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    CPixMap scratch(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    CPolygonObject star(300.0, 200.0, SIZE{width, height}, 0.4, shapeFivePointedStar);
    star.SetFill(Gradient());
    auto text = std::make_unique<CTextStyle>();
    text->m_strText = "Pelorin";
    text->m_nSize = 24;
    text->m_bBold = true;
    star.SetTextStyle(std::move(text));
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_shadow = true;
    effects->m_bevel = true;
    effects->m_glow = true;
    star.SetEffects(std::move(effects));
    for (auto _ : state) {
        star.GetFill()->SetRenderAgain();
        star.GetEffects()->m_rebuild = true;
        star.SetDirty();
        if (!star.UpdateImage(scratch))
            state.SkipWithError("render failed");
        benchmark::DoNotOptimize(star.GetImage());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(width) * height * 4);
    ReportPerMegapixel(state, width, height);
}
BENCHMARK(BM_RenderStarWithEverything)
    ->Args({200, 150})
    ->Args({400, 300})
    ->Args({800, 600})
    ->Args({1600, 1200})
    ->Unit(benchmark::kMillisecond);

// Baseline: copying the finished image's bytes once.
void BM_CopyImageBytes(benchmark::State& state)
{
    std::vector<unsigned char> from(size_t(kWidth) * kHeight * 4, 7), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(from.size()));
}
BENCHMARK(BM_CopyImageBytes);

} // namespace
