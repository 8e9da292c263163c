// What the Object palette reads when the selection changes on a page of 200 objects: the page's contents (sections,
// boxes) and the shape's label style. The peer is the selection change alone, which the palette's reading follows
// on every step of a drag.

#include <benchmark/benchmark.h>

#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/palettes/object_button_text.h"
#include "app/palettes/object_page_logic.h"
#include "app/site/bench_page_test_support.h"
#include "app/site/page_item.h"

namespace {

constexpr int kObjects = 200;

class BenchServices : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    CSitePage* GetCurrentPage() override { return page; }
    CPageObject* GetCurrentObject() override
    {
        CPageItem* item = page ? page->GetSingleSelectedItem() : nullptr;
        return item ? item->GetCurrentObject() : nullptr;
    }
    CSitePage* page = nullptr;

private:
    SeamsInstalled<BenchServices> m_installed{*this};
};

void SelectOnly(benchmark::State& state)
{
    BenchServices services;
    auto page = bench_page::MakePage(kObjects);
    services.page = page.get();
    int i = 0;
    for (auto _ : state) {
        page->SelectItemAt(i++ % kObjects);
        benchmark::DoNotOptimize(services.GetCurrentObject());
    }
}
BENCHMARK(SelectOnly)->Unit(benchmark::kMicrosecond);

void SelectAndReadPalette(benchmark::State& state)
{
    BenchServices services;
    auto page = bench_page::MakePage(kObjects);
    services.page = page.get();
    int i = 0;
    for (auto _ : state) {
        page->SelectItemAt(i++ % kObjects);
        benchmark::DoNotOptimize(ReadObjectPage());
        benchmark::DoNotOptimize(ReadButtonText());
    }
}
BENCHMARK(SelectAndReadPalette)->Unit(benchmark::kMicrosecond);

} // namespace
