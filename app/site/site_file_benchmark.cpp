// Saving and opening a site of 50 pages of 40 mixed objects: in memory, and through files on disk as the program
// does it (the safe save; the file opened and read by the site), each beside the other in the same loop. The
// baselines: copying the file's bytes once, and the safe save of bytes made already (what its fsyncs and the
// rename cost). The counters read_calls and write_calls are the kernel's own counts of the process's reads and
// writes (/proc/self/io) for one open or save.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/site/mixed_site_test_support.h"
#include "app/site/website.h"
#include "platform/win/file.h"
#include "testing/scratch_folder.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The kernel's counts of this process's read and write calls so far.
struct KernelCounts
{
    long long reads = 0;
    long long writes = 0;

    static KernelCounts Now()
    {
        KernelCounts counts;
        std::ifstream io("/proc/self/io");
        std::string key;
        long long value;
        while (io >> key >> value) {
            if (key == "syscr:")
                counts.reads = value;
            else if (key == "syscw:")
                counts.writes = value;
        }
        return counts;
    }
    KernelCounts operator-(const KernelCounts& other) const { return {reads - other.reads, writes - other.writes}; }
};

// Times the step on disk of an iteration, which is the iteration's time, and counts its calls outside the time;
// the calls a snapshot of the counts makes itself are taken off.
void TimeDiskStep(benchmark::State& state, const std::function<bool()>& step, const char* failure, double& total,
                  KernelCounts& calls)
{
    static const KernelCounts own = [] {
        const KernelCounts start = KernelCounts::Now();
        return KernelCounts::Now() - start;
    }();
    const KernelCounts before = KernelCounts::Now();
    const auto start = Clock::now();
    const bool done = step();
    const double seconds = SecondsSince(start);
    calls = KernelCounts::Now() - before - own;
    if (!done)
        state.SkipWithError(failure);
    total += seconds;
    state.SetIterationTime(seconds);
}

std::vector<BYTE> SavedBytes(CWebsite& site)
{
    CMemFile file;
    site.Save(file);
    return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

bool OpenFromMemory(std::vector<BYTE>& bytes)
{
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CWebsite opened("/bench/bench.kst");
    return opened.LoadFile(file) && opened.GetPageCount() == mixed_site::kPages;
}

// As the program opens a site file.
bool OpenFromDisk(const std::string& path)
{
    CWebsite opened(path);
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    return opened.LoadFile(file) && opened.GetPageCount() == mixed_site::kPages;
}

void BM_CopyFileBytes(benchmark::State& state)
{
    auto site = mixed_site::MakeSite();
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
    auto site = mixed_site::MakeSite();
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
    auto site = mixed_site::MakeSite();
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

// Each iteration saves the site into memory, through the safe save onto disk, and the bytes it made already
// through the safe save in one write (its fsyncs and rename); the time of the iteration is the disk save's.
// excess_ms is what the disk save costs beyond the other two.
void BM_SafeSaveAgainstMemory(benchmark::State& state)
{
    ScratchFolder folder;
    const std::string path = folder / "bench.kst";
    const std::string ready = folder / "ready.kst";
    auto site = mixed_site::MakeSite(path);
    const std::vector<BYTE> bytes = SavedBytes(*site);
    const auto writeReady = [&](CFile& file) {
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        return true;
    };
    double memory = 0, disk = 0, fsyncs = 0;
    KernelCounts calls;
    for (auto _ : state) {
        auto start = Clock::now();
        {
            CMemFile file(1 << 20);
            if (!site->Save(file))
                state.SkipWithError("save failed");
        }
        memory += SecondsSince(start);

        start = Clock::now();
        if (!SaveFileSafely(ready, writeReady))
            state.SkipWithError("safe save of the bytes failed");
        fsyncs += SecondsSince(start);

        TimeDiskStep(
            state, [&] { return SaveSiteFile(*site, path); }, "safe save failed", disk, calls);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["memory_ms"] = 1000 * memory / n;
    state.counters["fsyncs_ms"] = 1000 * fsyncs / n;
    state.counters["disk_ms"] = 1000 * disk / n;
    state.counters["excess_ms"] = 1000 * (disk - memory - fsyncs) / n;
    state.counters["write_calls"] = static_cast<double>(calls.writes);
    state.counters["file_KB"] = static_cast<double>(bytes.size()) / 1024;
}
BENCHMARK(BM_SafeSaveAgainstMemory)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_OpenSite(benchmark::State& state)
{
    auto site = mixed_site::MakeSite();
    std::vector<BYTE> bytes = SavedBytes(*site);
    for (auto _ : state)
        if (!OpenFromMemory(bytes))
            state.SkipWithError("open failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_OpenSite)->Unit(benchmark::kMillisecond);

// Each iteration opens the site from its bytes in memory and from its file on disk (in the page cache, as after a
// save); the time of the iteration is the disk open's, disk_over_memory the ratio of the two.
void BM_OpenSiteDiskAgainstMemory(benchmark::State& state)
{
    ScratchFolder folder;
    const std::string path = folder / "bench.kst";
    auto site = mixed_site::MakeSite(path);
    if (!SaveSiteFile(*site, path)) {
        state.SkipWithError("save failed");
        return;
    }
    std::vector<BYTE> bytes = SavedBytes(*site);
    double memory = 0, disk = 0;
    KernelCounts calls;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!OpenFromMemory(bytes))
            state.SkipWithError("open from memory failed");
        memory += SecondsSince(start);

        TimeDiskStep(
            state, [&] { return OpenFromDisk(path); }, "open from disk failed", disk, calls);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["memory_ms"] = 1000 * memory / n;
    state.counters["disk_ms"] = 1000 * disk / n;
    state.counters["disk_over_memory"] = disk / memory;
    state.counters["read_calls"] = static_cast<double>(calls.reads);
    state.counters["file_KB"] = static_cast<double>(bytes.size()) / 1024;
}
BENCHMARK(BM_OpenSiteDiskAgainstMemory)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace
