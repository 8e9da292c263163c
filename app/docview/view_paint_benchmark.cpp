// The design view's drawing of a 1000 x 2000 page with 200 objects in a 1000 x 800 client area, through the path
// the paint handler takes (the page composed tile by tile into the view's buffer): after one object changed, for
// the rectangle the change invalidates and for the whole client area, and after scrolling by one screen. The
// baseline copies a client area's bytes once.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "app/docview/view_geometry.h"
#include "app/docview/view_paint.h"
#include "app/site/bench_page_test_support.h"
#include "app/site/page_item.h"

namespace {

const CSize kClient(1000, 800);

void BM_CopyClientBytes(benchmark::State& state)
{
    std::vector<BYTE> from(static_cast<size_t>(kClient.cx) * kClient.cy * 3, 1), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_CopyClientBytes)->Unit(benchmark::kMillisecond);

// Argument 0 paints what the change invalidates (the object's rectangle with room for its handles), 1 the whole
// client area. The changed object is another one each time, among those the client shows.
void BM_RedrawAfterOneObjectChange(benchmark::State& state)
{
    std::unique_ptr<CSitePage> page = bench_page::MakePage(200);
    const CSize pageSize(page->GetWidth(), page->GetHeight());
    const ViewPlacement placement{GetPageOrigin(kClient, pageSize), CPoint(0, 0)};
    std::vector<CPageItem*> shown;
    for (int i = 0; i < page->GetItemCount(); ++i)
        if (page->GetItem(i)->GetRect().bottom < kClient.cy)
            shown.push_back(page->GetItem(i));
    ViewPixels pixels;
    size_t next = 0;
    for (auto _ : state) {
        CPageItem* item = shown[next++ % shown.size()];
        item->GetCurrentObject()->SetDirty();
        CRect clip = CRect(CPoint(0, 0), kClient);
        if (state.range(0) == 0)
            clip.IntersectRect(PageRectToClient(item->GetFullRect(), placement.origin, placement.scroll), clip);
        PaintPageArea(*page, clip, placement, pixels);
        benchmark::DoNotOptimize(pixels.bytes.data());
    }
}
BENCHMARK(BM_RedrawAfterOneObjectChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ScrollOneScreen(benchmark::State& state)
{
    std::unique_ptr<CSitePage> page = bench_page::MakePage(200);
    const CSize pageSize(page->GetWidth(), page->GetHeight());
    ViewPixels pixels;
    int screen = 0;
    for (auto _ : state) {
        const CPoint scroll = ClampScrollPosition(CPoint(0, (screen++ % 3) * kClient.cy), kClient, pageSize);
        PaintPageArea(*page, CRect(CPoint(0, 0), kClient), {GetPageOrigin(kClient, pageSize), scroll}, pixels);
        benchmark::DoNotOptimize(pixels.bytes.data());
    }
}
BENCHMARK(BM_ScrollOneScreen)->Unit(benchmark::kMillisecond);

} // namespace
