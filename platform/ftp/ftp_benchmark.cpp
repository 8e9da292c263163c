// Putting a site's worth of files to the loopback server: 500 small files of 4 KB over one connection, one 20 MB
// file, and, as the peer, small files each over a connection of its own. The small files' time less what their
// bytes cost at the large file's rate is the per-file overhead; the peer shows what reusing the connection saves.

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

#include "platform/ftp/ftp.h"
#include "testing/ftp_test_servers.h"
#include "testing/scratch_folder.h"

namespace {

constexpr int kSmallFiles = 500;
constexpr int kSmallSize = 4 << 10;
constexpr int kLargeSize = 20 << 20;
// Fewer files for the peer: each costs a log-in.
constexpr int kPeerFiles = 50;

std::unique_ptr<CFtp> Connect()
{
    bool serverNotFound = false, loginFailed = false, cancelled = false;
    return std::make_unique<CFtp>(serverNotFound, loginFailed, cancelled, "127.0.0.1", ftp_test::TheFtpServer().Port(),
                                  ftp_test::FtpServer::kUser, ftp_test::FtpServer::kPassword, true);
}

std::string MakeFile(const ScratchFolder& folder, const std::string& name, int size)
{
    std::string bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 31 + i / 4096);
    std::ofstream(folder / name, std::ios::binary) << bytes;
    return folder / name;
}

void Report(benchmark::State& state, int files, long long bytes)
{
    state.counters["files_per_s"] = benchmark::Counter(files, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["us_per_file"] =
        benchmark::Counter(files / 1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetBytesProcessed(state.iterations() * bytes);
}

void PutSmallFilesOverOneConnection(benchmark::State& state)
{
    if (!ftp_test::TheFtpServer().Running()) {
        state.SkipWithError(ftp_test::TheFtpServer().Error().c_str());
        return;
    }
    ScratchFolder local;
    const std::string file = MakeFile(local, "small.bin", kSmallSize);
    auto ftp = Connect();
    ftp->mkdir("small");
    ftp->chdir("small");
    for (auto _ : state) {
        for (int i = 0; i < kSmallFiles; ++i) {
            if (!ftp->put(file, "f" + std::to_string(i) + ".html", false))
                state.SkipWithError("put failed");
        }
    }
    Report(state, kSmallFiles, static_cast<long long>(kSmallFiles) * kSmallSize);
}
BENCHMARK(PutSmallFilesOverOneConnection)->Unit(benchmark::kMillisecond)->UseRealTime();

void PutLargeFile(benchmark::State& state)
{
    if (!ftp_test::TheFtpServer().Running()) {
        state.SkipWithError(ftp_test::TheFtpServer().Error().c_str());
        return;
    }
    ScratchFolder local;
    const std::string file = MakeFile(local, "large.bin", kLargeSize);
    auto ftp = Connect();
    for (auto _ : state) {
        if (!ftp->put(file, "large.bin", false))
            state.SkipWithError("put failed");
    }
    Report(state, 1, kLargeSize);
}
BENCHMARK(PutLargeFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void PutSmallFilesEachOverANewConnection(benchmark::State& state)
{
    if (!ftp_test::TheFtpServer().Running()) {
        state.SkipWithError(ftp_test::TheFtpServer().Error().c_str());
        return;
    }
    ScratchFolder local;
    const std::string file = MakeFile(local, "small.bin", kSmallSize);
    for (auto _ : state) {
        for (int i = 0; i < kPeerFiles; ++i) {
            auto ftp = Connect();
            if (!ftp->put(file, "p" + std::to_string(i) + ".html", false))
                state.SkipWithError("put failed");
        }
    }
    Report(state, kPeerFiles, static_cast<long long>(kPeerFiles) * kSmallSize);
}
BENCHMARK(PutSmallFilesEachOverANewConnection)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
