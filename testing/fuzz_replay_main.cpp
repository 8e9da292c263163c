// Replays stored fuzz inputs through a target's LLVMFuzzerTestOneInput without libFuzzer, so that the normal test
// run (any compiler, with the sanitizers) keeps every seed and every input that once crashed, hung or blew up
// memory working. An input also fails when it takes too long or raises the peak memory too far: a reader must
// refuse a hostile file cheaply, not merely survive it.
//
//   <target>_replay <file or folder>...     replays the files (a folder's regular files in name order)
//   <target>_replay --write-seeds <folder>   writes the target's seeds

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "testing/fuzz_target.h"

namespace {

constexpr double kMaxSeconds = 5.0;
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

// False when the input ran too long or took too much memory; a crash ends the program with the file named above it.
bool Replay(const std::filesystem::path& input)
{
    std::ifstream in(input, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::printf("replay %s (%zu bytes)\n", input.c_str(), bytes.size());
    std::fflush(stdout);

    const long peakBefore = PeakKiB();
    const auto start = std::chrono::steady_clock::now();
    // Empty inputs are handed over as libFuzzer does, with a pointer that must not be read.
    LLVMFuzzerTestOneInput(bytes.empty() ? reinterpret_cast<const uint8_t*>("") : bytes.data(), bytes.size());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long growthKiB = PeakKiB() - peakBefore;

    bool ok = true;
    if (seconds > kMaxSeconds) {
        std::fprintf(stderr, "FAIL %s: took %.1f s (at most %.0f s)\n", input.c_str(), seconds, kMaxSeconds);
        ok = false;
    }
    if (growthKiB > kMaxPeakGrowthKiB) {
        std::fprintf(stderr, "FAIL %s: raised peak memory by %ld MB (at most %ld MB)\n", input.c_str(),
                     growthKiB / 1024, kMaxPeakGrowthKiB / 1024);
        ok = false;
    }
    return ok;
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
