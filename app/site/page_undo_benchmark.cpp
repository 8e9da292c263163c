// Undo on a busy page: recording and undoing the move of one object among 800, and the memory 500 such steps
// hold. The baselines: storing the whole page once (what a step that copied the page would cost at the least),
// and the bytes of that stored page.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "app/site/bench_page_test_support.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/page_undo_manager.h"
#include "app/site/site_page.h"

namespace {

// The bytes held by live allocations of this program.
std::atomic<long long> g_liveBytes{0};

} // namespace

void* operator new(std::size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    g_liveBytes += static_cast<long long>(malloc_usable_size(block));
    return block;
}

void operator delete(void* block) noexcept
{
    if (!block)
        return;
    g_liveBytes -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    operator delete(block);
}

namespace {

constexpr int kObjects = 800;

std::unique_ptr<CSitePage> MakeSelectedPage()
{
    std::unique_ptr<CSitePage> page = bench_page::MakePage(kObjects);
    page->SelectItem(page->GetItem(kObjects / 2));
    return page;
}

void BM_StorePage(benchmark::State& state)
{
    std::unique_ptr<CSitePage> page = MakeSelectedPage();
    for (auto _ : state) {
        CMemFile file;
        page->Save(file);
        benchmark::DoNotOptimize(file.GetLength());
    }
}
BENCHMARK(BM_StorePage)->Unit(benchmark::kMicrosecond);

void BM_RecordAndUndoOneMove(benchmark::State& state)
{
    std::unique_ptr<CSitePage> page = MakeSelectedPage();
    CPageUndoManager undo(page.get(), CSitePage::kUndoCapacity);
    CObjectFrame* frame = page->GetSingleSelectedFrame();
    for (auto _ : state) {
        undo.RecordUndo(UndoKind::geometry);
        frame->MoveBy(3, 2);
        undo.Undo();
        frame = page->GetSingleSelectedFrame();
    }
}
BENCHMARK(BM_RecordAndUndoOneMove)->Unit(benchmark::kMicrosecond);

// Bytes per step once the ring is full of one-object moves, against the bytes of the stored page.
void BM_MemoryOfFiveHundredMoves(benchmark::State& state)
{
    std::unique_ptr<CSitePage> page = MakeSelectedPage();
    CMemFile file;
    page->Save(file);
    const double pageBytes = static_cast<double>(file.GetLength());
    double perStep = 0;
    for (auto _ : state) {
        auto undo = std::make_unique<CPageUndoManager>(page.get(), CSitePage::kUndoCapacity);
        const long long before = g_liveBytes;
        for (int step = 0; step < CSitePage::kUndoCapacity; ++step) {
            undo->RecordUndo(UndoKind::geometry);
            page->GetSingleSelectedFrame()->MoveBy(1, 0);
        }
        perStep = static_cast<double>(g_liveBytes - before) / CSitePage::kUndoCapacity;
        state.PauseTiming();
        undo.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_step"] = perStep;
    state.counters["page_bytes"] = pageBytes;
}
BENCHMARK(BM_MemoryOfFiveHundredMoves)->Unit(benchmark::kMillisecond);

} // namespace
