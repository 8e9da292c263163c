#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/model/fill_info.h"
#include "app/model/gradient_info.h"
#include "app/objects/rectangle_object.h"

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
// object's size, then the outline rasterised tile by tile through the page's 256 x 256 buffer.
void BM_RenderGradientRectangle(benchmark::State& state)
{
    CPixMap scratch(IMAGE_MODE_RGBA, 256, 256);
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
    CPixMap scratch(IMAGE_MODE_RGBA, 256, 256);
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
