// Saving and opening a site of 50 pages with 2000 objects between them, in memory and, for saving, through the
// safe save onto disk. The baseline: copying the file's bytes once.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/objects/circle_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/page_item.h"
#include "app/site/website.h"

namespace {

constexpr int kPages = 50;
constexpr int kObjectsPerPage = 40;

// Circles, rectangles and polygons in turn, scattered over 800 x 1200 pages, every tenth with a shadow and every
// fifth with a mouse-over twin.
std::unique_ptr<CWebsite> MakeSite()
{
    CFillStyle background;
    background.SetColor(CColor(240, 240, 230));
    auto site =
        std::make_unique<CWebsite>("", "Bench", background, true, 800, 1200, 0, CColor(0, 0, 255), CColor(128, 0, 128));
    unsigned seed = 12345;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(range));
    };
    for (int p = 0; p < kPages; ++p) {
        CSitePage* page = site->AddPage(std::make_unique<CSitePage>(
            site.get(), "page" + std::to_string(p), "Page " + std::to_string(p), site->GetNewPageSettings()));
        page->SetHeaderHtml("<meta name=\"description\" content=\"A page of the benchmark site\">");
        for (int i = 0; i < kObjectsPerPage; ++i) {
            const double x = 60 + next(680), y = 60 + next(1080);
            const SIZE size{40 + next(120), 40 + next(120)};
            const auto make = [&]() -> std::unique_ptr<CPathObject> {
                switch (i % 3) {
                case 0:
                    return std::make_unique<CCircleObject>(x, y, size, 0.0);
                case 1:
                    return std::make_unique<CRectangleObject>(x, y, size, 0.0);
                default:
                    return std::make_unique<CPolygonObject>(x, y, size, 0.0, 3 + i % 18);
                }
            };
            std::unique_ptr<CPathObject> object = make();
            object->GetFill()->SetColor(CColor(static_cast<BYTE>(next(256)), static_cast<BYTE>(next(256)), 120));
            if (i % 10 == 0) {
                auto effects = std::make_unique<CEffectSettings>();
                effects->m_shadow = true;
                object->SetEffects(std::move(effects));
            }
            CPageItem* item = page->AddObject(std::move(object));
            if (i % 5 == 0)
                item->SetMouseOverObject(make());
        }
    }
    site->SetHomePage(site->GetPage(0));
    return site;
}

std::vector<BYTE> SavedBytes(CWebsite& site)
{
    CMemFile file;
    site.Save(file);
    return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

void BM_CopyFileBytes(benchmark::State& state)
{
    auto site = MakeSite();
    const std::vector<BYTE> bytes = SavedBytes(*site);
    std::vector<BYTE> copy(bytes.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_CopyFileBytes)->Unit(benchmark::kMillisecond);

// The site as saved a moment ago: the front page hands out the thumbnail it drew last time.
void BM_SaveSite(benchmark::State& state)
{
    auto site = MakeSite();
    size_t size = 0;
    for (auto _ : state) {
        CMemFile file(1 << 20);
        if (!site->Save(file))
            state.SkipWithError("save failed");
        size = static_cast<size_t>(file.GetLength());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.counters["file_KB"] = static_cast<double>(size) / 1024;
}
BENCHMARK(BM_SaveSite)->Unit(benchmark::kMillisecond);

// After an edit of the front page its thumbnail is drawn again (from the objects' kept images) for every save.
void BM_SaveSiteAfterEdit(benchmark::State& state)
{
    auto site = MakeSite();
    size_t size = 0;
    for (auto _ : state) {
        site->GetPage(0)->SetModified();
        CMemFile file(1 << 20);
        if (!site->Save(file))
            state.SkipWithError("save failed");
        size = static_cast<size_t>(file.GetLength());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
}
BENCHMARK(BM_SaveSiteAfterEdit)->Unit(benchmark::kMillisecond);

// The same through a temporary file, its flush to disk and the rename.
void BM_SaveSiteFile(benchmark::State& state)
{
    auto site = MakeSite();
    std::string folder = (std::filesystem::temp_directory_path() / "pelorin-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::string path = folder + "/bench.kst";
    for (auto _ : state)
        if (!SaveSiteFile(*site, path))
            state.SkipWithError("save failed");
    state.SetBytesProcessed(
        static_cast<int64_t>(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path))));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveSiteFile)->Unit(benchmark::kMillisecond);

void BM_OpenSite(benchmark::State& state)
{
    auto site = MakeSite();
    std::vector<BYTE> bytes = SavedBytes(*site);
    for (auto _ : state) {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CWebsite opened("/bench/bench.kst");
        if (!opened.LoadFile(file) || opened.GetPageCount() != kPages)
            state.SkipWithError("open failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_OpenSite)->Unit(benchmark::kMillisecond);

} // namespace
