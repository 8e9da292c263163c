// The browser manager over a settings file of many lines: building it detects the three kinds and reads the
// choice, with the file read once. It reports its time per line beside reading the file's lines once.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "browser/browser.h"
#include "browser/profile.h"

namespace {

// A configuration folder of its own holding Kitefly.ini with a section of n lines before the browser's.
class SettingsFile
{
public:
    explicit SettingsFile(int n)
        : m_folder(std::filesystem::temp_directory_path() / ("pelorin-kitefly-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_folder / "Kitefly");
        ::setenv("XDG_CONFIG_HOME", m_folder.c_str(), 1);
        m_path = kitefly::ProfileFilePath("Kitefly.ini");
        std::ofstream file(m_path, std::ios::binary | std::ios::trunc);
        file << "[Recent]\r\n";
        for (int i = 0; i < n; ++i)
            file << "File" << i << "=/home/ann/site" << i << ".kst\r\n";
        file << "[Browser]\r\nOpera=/nowhere/opera\r\nPreferred=2\r\n";
    }
    ~SettingsFile()
    {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    const std::string& Path() const { return m_path; }

private:
    std::filesystem::path m_folder;
    std::string m_path;
};

void PerLine(benchmark::State& state, int n)
{
    state.counters["per_line"] =
        benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ManagerReadsTheSettings(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const SettingsFile settings(n);
    for (auto _ : state) {
        kitefly::CBrowserManager manager;
        benchmark::DoNotOptimize(manager.GetPreferred());
    }
    PerLine(state, n);
}
BENCHMARK(BM_ManagerReadsTheSettings)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_ReadTheLinesOnce(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const SettingsFile settings(n);
    for (auto _ : state) {
        std::ifstream in(settings.Path(), std::ios::binary);
        std::string line;
        size_t lines = 0;
        while (std::getline(in, line))
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    PerLine(state, n);
}
BENCHMARK(BM_ReadTheLinesOnce)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

} // namespace
