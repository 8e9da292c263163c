// Putting a site's worth of files to the loopback server: 500 small files of 4 KB over one connection and one 20 MB
// file, each beside its peer, plain libcurl putting the same files over one reused handle with nothing around it;
// and small files each over a connection of its own, which shows what reusing the connection saves. The small
// files' time less what their bytes cost at the large file's rate is the per-file overhead.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstdio>

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

bool ServerRuns(benchmark::State& state)
{
    if (!ftp_test::TheFtpServer().Running())
        state.SkipWithError(ftp_test::TheFtpServer().Error().c_str());
    return ftp_test::TheFtpServer().Running();
}

// Built by appending: g++ 12 warns falsely about "f" + std::to_string(i) at -O2.
std::string PageName(const char* prefix, int i)
{
    std::string name = prefix;
    name += std::to_string(i);
    name += ".html";
    return name;
}

void Report(benchmark::State& state, int files, long long bytes)
{
    state.counters["files_per_s"] = benchmark::Counter(files, benchmark::Counter::kIsIterationInvariantRate);
    // Seconds per file, shown with its SI prefix ("738u" is 738 microseconds).
    state.counters["time_per_file"] =
        benchmark::Counter(files, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetBytesProcessed(state.iterations() * bytes);
}

void PutSmallFilesOverOneConnection(benchmark::State& state)
{
    if (!ServerRuns(state))
        return;
    ScratchFolder local;
    const std::string file = MakeFile(local, "small.bin", kSmallSize);
    auto ftp = Connect();
    ftp->mkdir("small");
    ftp->chdir("small");
    for (auto _ : state) {
        for (int i = 0; i < kSmallFiles; ++i) {
            if (!ftp->put(file, PageName("f", i), false))
                state.SkipWithError("put failed");
        }
    }
    Report(state, kSmallFiles, static_cast<long long>(kSmallFiles) * kSmallSize);
}
BENCHMARK(PutSmallFilesOverOneConnection)->Unit(benchmark::kMillisecond)->UseRealTime();

void PutLargeFile(benchmark::State& state)
{
    if (!ServerRuns(state))
        return;
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
    if (!ServerRuns(state))
        return;
    ScratchFolder local;
    const std::string file = MakeFile(local, "small.bin", kSmallSize);
    for (auto _ : state) {
        for (int i = 0; i < kPeerFiles; ++i) {
            auto ftp = Connect();
            if (!ftp->put(file, PageName("p", i), false))
                state.SkipWithError("put failed");
        }
    }
    Report(state, kPeerFiles, static_cast<long long>(kPeerFiles) * kSmallSize);
}
BENCHMARK(PutSmallFilesEachOverANewConnection)->Unit(benchmark::kMillisecond)->UseRealTime();

// The peer: one easy handle, one request per file, the same full-path URLs.
void PutWithPlainLibcurl(benchmark::State& state, int files, int size)
{
    if (!ServerRuns(state))
        return;
    ScratchFolder local;
    const std::string path = MakeFile(local, "peer.bin", size);
    const std::string base = "ftp://127.0.0.1:" + std::to_string(ftp_test::TheFtpServer().Port()) + "/%2F";
    CURL* easy = curl_easy_init();
    curl_easy_setopt(easy, CURLOPT_USERNAME, ftp_test::FtpServer::kUser);
    curl_easy_setopt(easy, CURLOPT_PASSWORD, ftp_test::FtpServer::kPassword);
    curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    curl_easy_setopt(easy, CURLOPT_FTP_CREATE_MISSING_DIRS, 1L);
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    for (auto _ : state) {
        for (int i = 0; i < files; ++i) {
            std::FILE* file = std::fopen(path.c_str(), "rb");
            const std::string url = base + PageName("peer/c", i);
            curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
            curl_easy_setopt(easy, CURLOPT_READDATA, file);
            if (curl_easy_perform(easy) != CURLE_OK)
                state.SkipWithError("put failed");
            std::fclose(file);
        }
    }
    curl_easy_cleanup(easy);
    Report(state, files, static_cast<long long>(files) * size);
}

void PeerPutSmallFiles(benchmark::State& state)
{
    PutWithPlainLibcurl(state, kSmallFiles, kSmallSize);
}
BENCHMARK(PeerPutSmallFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

void PeerPutLargeFile(benchmark::State& state)
{
    PutWithPlainLibcurl(state, 1, kLargeSize);
}
BENCHMARK(PeerPutLargeFile)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
