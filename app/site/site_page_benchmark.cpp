// Drawing a 1000 x 2000 page the way the design view does (tiles of the render buffer), with its objects' images
// up to date, and with some objects to render again first. The baselines: copying the page's bytes once, and
// drawing the background alone.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "app/site/bench_page_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

namespace {

using bench_page::kHeight;
using bench_page::kWidth;
using bench_page::MakePage;

void DrawPage(CSitePage& page, std::vector<BYTE>& buffer)
{
    constexpr int tile = CSitePage::kRenderBufferSize;
    for (int y = 0; y < kHeight; y += tile)
        for (int x = 0; x < kWidth; x += tile)
            page.Draw(RECT{x, y, std::min(x + tile, kWidth), std::min(y + tile, kHeight)},
                      buffer.data() + (static_cast<size_t>(y) * kWidth + x) * 4, kWidth * 4, true, false, false);
}

void BM_CopyPageBytes(benchmark::State& state)
{
    std::vector<BYTE> from(static_cast<size_t>(kWidth) * kHeight * 4, 1), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_CopyPageBytes)->Unit(benchmark::kMillisecond);

void BM_DrawCleanPage(benchmark::State& state)
{
    std::unique_ptr<CSitePage> page = MakePage(static_cast<int>(state.range(0)));
    std::vector<BYTE> buffer(static_cast<size_t>(kWidth) * kHeight * 4);
    for (auto _ : state) {
        DrawPage(*page, buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["objects"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_DrawCleanPage)->Arg(0)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);

// Every tenth object (20 of 200) renders again before the page is drawn, as after an edit of a selection.
void BM_DrawPageWithDirtyObjects(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    std::unique_ptr<CSitePage> page = MakePage(objects);
    std::vector<BYTE> buffer(static_cast<size_t>(kWidth) * kHeight * 4);
    for (auto _ : state) {
        for (int i = 0; i < objects; i += 10)
            page->GetItem(i)->GetCurrentObject()->SetDirty();
        page->RenderDirtyObjects();
        DrawPage(*page, buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["dirty"] = objects / 10.0;
}
BENCHMARK(BM_DrawPageWithDirtyObjects)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);

} // namespace
