// Building a site of 20 pages with 40 objects a page (shapes with colour, gradient and picture fills, effects,
// HTML text and text drawn as pictures, counters) from a model whose objects have not been drawn yet, as after
// opening a site file. Beside the whole run: drawing the objects alone, and encoding the run's pictures alone, so
// that the shares of rendering, encoding and writing HTML can be read off.
//
// The runs build into a folder in memory (tmpfs) when the machine has one, so that they time the build and not the
// disk: each run writes its 520 files over the last run's, and ext4 makes a file cut short on opening wait for the
// writing-out it started when that file was last closed. The same build into the temporary folder, where the
// previews build, is timed beside it.

#include <benchmark/benchmark.h>

#include <linux/magic.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/vfs.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/build/build_test_support.h"
#include "app/build/site_builder.h"
#include "platform/win/path.h"
#include "platform/win/task_pool.h"
#include "testing/scratch_folder.h"

namespace {

using namespace build_testing;
using Clock = std::chrono::steady_clock;

constexpr int kPages = 20;
constexpr int kObjectsPerPage = 40;

std::unique_ptr<CWebsite> MakeSite(const std::filesystem::path& pictures)
{
    // Each benchmark has a scratch folder of its own.
    if (!std::filesystem::exists(pictures / "photo.jpg")) {
        std::filesystem::create_directories(pictures);
        WritePicture(pictures, "photo.jpg", 160, 120, CColor(200, 120, 60), CColor(90, 60, 160));
    }
    const std::string photo = (pictures / "photo.jpg").string();
    auto site = std::make_unique<CWebsite>("/bench/site.kst");
    NewPageSettings settings;
    settings.width = 800;
    settings.height = 1000;
    settings.background.SetColor(CColor(248, 246, 240));
    for (int p = 0; p < kPages; ++p) {
        CSitePage* page = site->AddPage(
            std::make_unique<CSitePage>(site.get(), "page" + std::to_string(p), "Page", settings));
        for (int i = 0; i < kObjectsPerPage; ++i) {
            // An 8 x 5 grid of cells 100 x 200.
            const double x = 50 + 100 * (i % 8), y = 100 + 200 * (i / 8);
            const CColor colour(static_cast<BYTE>(40 + 5 * i), static_cast<BYTE>(200 - 3 * i), static_cast<BYTE>(90 + p));
            switch (i % 8) {
            case 0:
                page->AddObject(Coloured(std::make_unique<CRectangleObject>(x, y, SIZE{80, 60}, 0.0), colour));
                break;
            case 1: {
                auto circle = std::make_unique<CCircleObject>(x, y, SIZE{80, 80}, 0.0);
                circle->GetFill()->SetGradient(Gradient(1 + i % 3, 45));
                page->AddObject(std::move(circle));
                break;
            }
            case 2: {
                auto polygon = Coloured(std::make_unique<CPolygonObject>(x, y, SIZE{80, 80}, 0.2, 6), colour);
                polygon->SetEffects(Effects(true, false, false));
                page->AddObject(std::move(polygon));
                break;
            }
            case 3:
                page->AddObject(PictureRectangle(x, y, 90, 70, photo));
                break;
            case 4:
                page->AddObject(MakeText(x, y, 90, {{"Plain words here", TextFormat()}}));
                break;
            case 5: {
                auto text = MakeText(x, y, 90, {{"Glowing", TextFormat()}});
                text->SetEffects(Effects(false, false, true));
                page->AddObject(std::move(text));
                break;
            }
            case 6: {
                auto star = Coloured(std::make_unique<CPolygonObject>(x, y, SIZE{80, 80}, 0.3, 18), colour);
                star->SetEffects(Effects(false, true, false));
                page->AddObject(std::move(star));
                break;
            }
            default:
                page->AddObject(std::make_unique<CCounterObject>(0, POINT{static_cast<LONG>(x), static_cast<LONG>(y)}));
                break;
            }
        }
    }
    return site;
}

// Times the phases the run reports.
class PhaseClock : public BuildProgress
{
public:
    void SetPhase(const std::string&) override
    {
        const auto now = Clock::now();
        if (++m_phase == 3)
            m_picturesStart = now;
        if (m_phase == 4)
            m_writingStart = now;
    }
    double PicturesSeconds() const { return std::chrono::duration<double>(m_writingStart - m_picturesStart).count(); }
    Clock::time_point WritingStart() const { return m_writingStart; }

private:
    int m_phase = 0;
    Clock::time_point m_picturesStart;
    Clock::time_point m_writingStart;
};

SiteBuildOptions Options(const std::string& folder)
{
    SiteBuildOptions options;
    options.offline = 1;
    options.siteFolder = folder;
    options.filesFolder = folder + "files/";
    return options;
}

// Keeps the process (and the threads it starts meanwhile) on the one core it runs on, for the one-core figure.
// A thread keeps the affinity it started with, so the shared task pool is started before the pinning: made
// during the one-core run, its helpers would stay on that core for every later run and the eight-thread figure
// would measure seven helpers sharing one core.
class OneCore
{
public:
    explicit OneCore(bool pin)
    {
        if (!pin)
            return;
        CTaskPool::Shared();
        if (sched_getaffinity(0, sizeof(m_before), &m_before) != 0)
            return;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(sched_getcpu(), &one);
        m_pinned = sched_setaffinity(0, sizeof(one), &one) == 0;
    }
    ~OneCore()
    {
        if (m_pinned)
            sched_setaffinity(0, sizeof(m_before), &m_before);
    }

private:
    cpu_set_t m_before;
    bool m_pinned = false;
};

// A fresh folder in memory (/dev/shm, when it is a tmpfs) or else in the temporary folder, removed afterwards.
class BuildFolder
{
public:
    explicit BuildFolder(bool inMemory)
    {
        struct statfs shm;
        m_inMemory = inMemory && statfs("/dev/shm", &shm) == 0 && shm.f_type == TMPFS_MAGIC;
        if (m_inMemory) {
            std::string pattern = "/dev/shm/pelorin-bench-XXXXXX";
            m_inMemory = mkdtemp(pattern.data()) != nullptr;
            m_path = pattern + "/";
        }
    }
    ~BuildFolder()
    {
        std::error_code ignored;
        if (m_inMemory)
            std::filesystem::remove_all(m_path, ignored);
    }
    bool InMemory() const { return m_inMemory; }
    std::string operator/(const std::string& name) const { return m_inMemory ? m_path + name : m_disk / name; }

private:
    bool m_inMemory = false;
    std::string m_path;
    ScratchFolder m_disk;
};

// Argument: the build's threads. 1 runs pinned to one core (the writer thread shares it), as a build on a
// one-core machine; the others may use every core. Processor time is the process's, all threads together.
void BuildSiteFromCleanModel(benchmark::State& state, bool inMemory)
{
    const BuildFolder folder(inMemory);
    const unsigned threads = static_cast<unsigned>(state.range(0));
    const OneCore pinned(threads == 1);
    SiteBuildOptions options = Options(folder / "out/");
    options.threads = threads;
    double pictures = 0, writing = 0, total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto site = MakeSite(folder / "pictures");
        state.ResumeTiming();
        PhaseClock clock;
        SiteBuildResult result;
        const auto start = Clock::now();
        CSiteBuilder(options).BuildWebsite(result, site.get(), buildForPreview, &clock);
        const auto end = Clock::now();
        if (result.code != buildDone)
            state.SkipWithError(result.message.c_str());
        total += std::chrono::duration<double>(end - start).count();
        pictures += clock.PicturesSeconds();
        writing += std::chrono::duration<double>(end - clock.WritingStart()).count();
        state.PauseTiming();
        site.reset();
        state.ResumeTiming();
    }
    state.counters["ms_per_page"] = 1000 * total / (double(state.iterations()) * kPages);
    state.counters["pictures_share"] = pictures / total;
    state.counters["html_share"] = writing / total;
    state.counters["in_memory"] = folder.InMemory();
}

void BM_BuildSiteFromCleanModel(benchmark::State& state)
{
    BuildSiteFromCleanModel(state, true);
}
BENCHMARK(BM_BuildSiteFromCleanModel)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The same build into the temporary folder, on whatever file system holds it.
void BM_BuildSiteIntoTempFolder(benchmark::State& state)
{
    BuildSiteFromCleanModel(state, false);
}
BENCHMARK(BM_BuildSiteIntoTempFolder)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// Drawing every object of a model just opened: the rendering inside the run.
void BM_RenderObjectsFromCleanModel(benchmark::State& state)
{
    ScratchFolder folder;
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto site = MakeSite(folder / "pictures");
        state.ResumeTiming();
        const auto start = Clock::now();
        for (int i = 0; i < site->GetPageCount(); ++i)
            site->GetPage(i)->RenderDirtyObjects();
        total += std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        site.reset();
        state.ResumeTiming();
    }
    state.counters["ms_per_page"] = 1000 * total / (double(state.iterations()) * kPages);
}
BENCHMARK(BM_RenderObjectsFromCleanModel)->Unit(benchmark::kMillisecond)->UseRealTime();

// Drawing the objects as the run does, four pages together on a pool. Argument: the pool's helpers; 0 is the
// reference, every object on the calling thread.
void BM_RenderObjectsOnPool(benchmark::State& state)
{
    ScratchFolder folder;
    CTaskPool& pool = CTaskPool::WithHelpers(static_cast<unsigned>(state.range(0)));
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto site = MakeSite(folder / "pictures");
        state.ResumeTiming();
        const auto start = Clock::now();
        for (int i = 0; i < site->GetPageCount(); i += 4) {
            std::vector<CSitePage*> pages;
            for (int k = i; k < std::min(site->GetPageCount(), i + 4); ++k)
                pages.push_back(site->GetPage(k));
            CSitePage::RenderDirtyObjects(pages.data(), pages.size(), &pool);
        }
        total += std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        site.reset();
        state.ResumeTiming();
    }
    state.counters["ms_per_page"] = 1000 * total / (double(state.iterations()) * kPages);
}
BENCHMARK(BM_RenderObjectsOnPool)
    ->Arg(0)
    ->Arg(1)
    ->Arg(3)
    ->Arg(7)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// Encoding again every picture one run wrote, in its own format: the encoding inside the run.
void BM_EncodeTheRunsPictures(benchmark::State& state)
{
    ScratchFolder folder;
    auto site = MakeSite(folder / "pictures");
    SiteBuildResult result;
    CSiteBuilder(Options(folder / "out/")).BuildWebsite(result, site.get(), buildForPreview);
    std::vector<std::pair<std::string, std::unique_ptr<CImage>>> pictures;
    for (const FolderEntry& entry : ListFolder(folder / "out/files/")) {
        IOError error;
        std::unique_ptr<CImage> image(CIO::LoadImageA(folder / ("out/files/" + entry.name), IO_LOAD_RGB, &error));
        if (image)
            pictures.emplace_back(folder / ("again_" + entry.name), std::move(image));
    }
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (const auto& [path, image] : pictures)
            CIO::SaveImage(path, *image, 8, 98);
        total += std::chrono::duration<double>(Clock::now() - start).count();
    }
    state.counters["pictures"] = double(pictures.size());
    state.counters["ms_per_page"] = 1000 * total / (double(state.iterations()) * kPages);
}
BENCHMARK(BM_EncodeTheRunsPictures)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
