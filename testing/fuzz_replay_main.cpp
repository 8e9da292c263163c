// Replays stored fuzz inputs through a target's LLVMFuzzerTestOneInput without libFuzzer, so that the normal test
// run (any compiler, with the sanitizers) keeps every seed and every input that once crashed, hung or blew up
// memory working. Each input runs in a child process of its own. An input also fails when it raises the peak memory
// too far: a reader must refuse a hostile file cheaply, not merely survive it. Its time decides nothing, as it
// depends on what else the machine is doing; only a child that runs for minutes is stopped, as hung. The time of
// each input is printed for whoever looks for slow ones.
//
//   <target>_replay <file or folder>...     replays the files (a folder's regular files in name order)
//   <target>_replay --write-seeds <folder>   writes the target's seeds

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "testing/fuzz_target.h"

namespace {

// Past this a child is stopped as hung: a guard against a loop that never ends, far beyond what any input takes
// on a busy machine in the sanitizer build, so that load never trips it.
constexpr unsigned kHangSeconds = 120;
// The child's exit status when it has said itself what went wrong.
constexpr int kReportedExit = 3;
constexpr long kMaxPeakGrowthKiB = 256L * 1024;

long PeakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& path)
{
    std::vector<std::filesystem::path> inputs;
    if (std::filesystem::is_directory(path)) {
        for (const auto& entry : std::filesystem::directory_iterator(path))
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        std::sort(inputs.begin(), inputs.end());
    } else if (std::filesystem::is_regular_file(path)) {
        inputs.push_back(path);
    }
    return inputs;
}

// Runs one input in a child process, so that its peak memory is its own and a crash or hang names the file and
// still lets the other inputs run. The child reports its memory through its exit status.
bool Replay(const std::filesystem::path& input)
{
    std::ifstream in(input, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::printf("replay %s (%zu bytes)\n", input.c_str(), bytes.size());
    std::fflush(stdout);
    std::fflush(stderr);

    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return false;
    }
    if (child == 0) {
        // A fork starts with the parent's present memory as its peak, so the growth below is this input's alone.
        alarm(kHangSeconds);
        const long peakBefore = PeakKiB();
        const auto start = std::chrono::steady_clock::now();
        // Empty inputs are handed over as libFuzzer does, with a pointer that must not be read.
        LLVMFuzzerTestOneInput(bytes.empty() ? reinterpret_cast<const uint8_t*>("") : bytes.data(), bytes.size());
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const long growthKiB = PeakKiB() - peakBefore;
        std::printf("  %.2f s\n", seconds);
        std::fflush(stdout);
        int status = 0;
        if (growthKiB > kMaxPeakGrowthKiB) {
            std::fprintf(stderr, "FAIL %s: raised peak memory by %ld MB (at most %ld MB)\n", input.c_str(),
                         growthKiB / 1024, kMaxPeakGrowthKiB / 1024);
            status = kReportedExit;
        }
        // exit, not _exit: the leak check runs at exit.
        std::exit(status);
    }

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        std::fprintf(stderr, "FAIL %s: %s\n", input.c_str(),
                     WTERMSIG(status) == SIGALRM ? "hung" : strsignal(WTERMSIG(status)));
        return false;
    }
    if (WEXITSTATUS(status) == kReportedExit)
        return false;
    if (WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "FAIL %s: exit status %d\n", input.c_str(), WEXITSTATUS(status));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write-seeds") == 0) {
        std::filesystem::create_directories(argv[2]);
        WriteFuzzSeeds(argv[2]);
        return 0;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <file or folder>... | --write-seeds <folder>\n", argv[0]);
        return 2;
    }
    int failures = 0;
    size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::vector<std::filesystem::path> inputs = InputsOf(argv[i]);
        // A corpus that went missing would make the run pass without checking anything.
        if (inputs.empty()) {
            std::fprintf(stderr, "FAIL %s: no inputs there\n", argv[i]);
            ++failures;
        }
        for (const auto& input : inputs) {
            failures += Replay(input) ? 0 : 1;
            ++replayed;
        }
    }
    std::printf("%zu inputs replayed, %d failed\n", replayed, failures);
    return failures == 0 ? 0 : 1;
}
