// Drawing a 1000 x 2000 page the way the design view does (tiles of the render buffer), with its objects' images
// up to date, and with some objects to render again first. The baselines: copying the page's bytes once, and
// drawing the background alone.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "app/site/bench_page_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/win/task_pool.h"

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

// Draws the page inside area through tiles into the page-sized buffer.
void DrawArea(CSitePage& page, const CRect& area, std::vector<BYTE>& buffer)
{
    constexpr int tile = CSitePage::kRenderBufferSize;
    for (int y = area.top; y < area.bottom; y += tile)
        for (int x = area.left; x < area.right; x += tile)
            page.Draw(RECT{x, y, std::min(x + tile, static_cast<int>(area.right)),
                           std::min(y + tile, static_cast<int>(area.bottom))},
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
BENCHMARK(BM_DrawPageWithDirtyObjects)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The cells of a grid of cell x cell pixels that rects reach, as rectangles that do not overlap: runs of reached
// cells along each row of cells, a run joining the one above it when they span the same columns. Cells of the
// drawing's tile size: thinner parts cost more than the pixels they save, since each tile draws every object it
// meets through calls of its own.
std::vector<CRect> DisjointParts(const std::vector<CRect>& rects, int cell = CSitePage::kRenderBufferSize)
{
    const int columns = (kWidth + cell - 1) / cell, rows = (kHeight + cell - 1) / cell;
    std::vector<char> reached(static_cast<size_t>(columns) * rows, 0);
    for (const CRect& r : rects)
        for (int y = std::max(0, static_cast<int>(r.top) / cell); y < rows && y * cell < r.bottom; ++y)
            for (int x = std::max(0, static_cast<int>(r.left) / cell); x < columns && x * cell < r.right; ++x)
                reached[static_cast<size_t>(y) * columns + x] = 1;
    std::vector<CRect> parts;
    std::vector<size_t> above; // the parts that end at the row above, by their place in parts
    for (int y = 0; y < rows; ++y) {
        std::vector<size_t> here;
        for (int x = 0; x < columns;) {
            if (!reached[static_cast<size_t>(y) * columns + x]) {
                ++x;
                continue;
            }
            int end = x;
            while (end < columns && reached[static_cast<size_t>(y) * columns + end])
                ++end;
            const CRect run(x * cell, y * cell, std::min(end * cell, kWidth), std::min((y + 1) * cell, kHeight));
            const auto joined = std::find_if(above.begin(), above.end(), [&](size_t k) {
                return parts[k].left == run.left && parts[k].right == run.right;
            });
            if (joined != above.end()) {
                parts[*joined].bottom = run.bottom;
                here.push_back(*joined);
            } else {
                here.push_back(parts.size());
                parts.push_back(run);
            }
            x = end;
        }
        above = here;
    }
    return parts;
}

// The repaint after an edit of 80 of 800 objects: the changed objects render again and the page is drawn again
// where they reach, as the view does with its update region. Argument 0 does it the page's earlier way: renders on
// the calling thread alone and the whole page drawn tile after tile (the view painted the update region's bounding
// box, here the whole page). 1: the renders spread over the cores, the page drawn again only inside the changed
// rectangles, its tiles spread over the cores too. 2: as 1, but the whole page drawn. Processor time is the
// process's, all threads together.
void BM_RepaintChangedObjects(benchmark::State& state)
{
    constexpr int objects = 800;
    std::unique_ptr<CSitePage> page = MakePage(objects);
    std::vector<BYTE> buffer(static_cast<size_t>(kWidth) * kHeight * 4);
    CTaskPool alone(0);
    const bool before = state.range(0) == 0, everywhere = state.range(0) == 2;
    const auto store = [&](const CRect& tile, const BYTE* pixels, int stride) {
        for (int y = 0; y < tile.Height(); ++y)
            std::memcpy(buffer.data() + ((static_cast<size_t>(tile.top) + y) * kWidth + tile.left) * 4,
                        pixels + static_cast<size_t>(y) * stride, static_cast<size_t>(tile.Width()) * 4);
    };
    std::vector<CRect> changed;
    double parts = 0;
    for (auto _ : state) {
        changed.clear();
        for (int i = 0; i < objects; i += 10) {
            CPageItem* item = page->GetItem(i);
            item->GetCurrentObject()->SetDirty();
            changed.push_back(item->GetRect());
        }
        page->RenderDirtyObjects(before ? &alone : nullptr);
        if (before) {
            DrawPage(*page, buffer);
        } else if (everywhere) {
            page->DrawAreas({CRect(0, 0, kWidth, kHeight)}, true, false, store);
        } else {
            // Where each object was and where it is now (its effects may have grown it).
            for (size_t k = 0; k < changed.size(); ++k) {
                changed[k].UnionRect(changed[k], page->GetItem(static_cast<int>(k) * 10)->GetRect());
                changed[k].IntersectRect(changed[k], CRect(0, 0, kWidth, kHeight));
            }
            const std::vector<CRect> areas = DisjointParts(changed);
            parts = static_cast<double>(areas.size());
            page->DrawAreas(areas, true, false, store);
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["dirty"] = objects / 10.0;
    state.counters["parts"] = parts;
}
BENCHMARK(BM_RepaintChangedObjects)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace
