#pragma once

// Comparing what a test produced with a file kept in the source tree, byte for byte. A run with
// PELORIN_UPDATE_GOLDEN=1 writes the produced bytes into the source tree instead (look at the diff before
// committing it). On a difference the test fails, names the first differing line and leaves the produced bytes
// beside the test pictures as <name>.actual.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "testing/test_output.h"

// The bytes of a file; empty when it cannot be read.
inline std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// relativePath is from the source root, e.g. "app/build/testdata/empty_page.html".
inline void ExpectGoldenFile(const std::string& relativePath, const std::string& actual)
{
    const std::filesystem::path golden = std::filesystem::path(PELORIN_SOURCE_DIR) / relativePath;
    if (const char* update = std::getenv("PELORIN_UPDATE_GOLDEN"); update && std::string(update) == "1") {
        std::filesystem::create_directories(golden.parent_path());
        std::ofstream(golden, std::ios::binary | std::ios::trunc) << actual;
        return;
    }
    const std::string expected = ReadFileBytes(golden);
    if (expected == actual)
        return;
    const std::filesystem::path saved = TestOutputFolder() / (golden.filename().string() + ".actual");
    std::ofstream(saved, std::ios::binary | std::ios::trunc) << actual;
    size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    const size_t lineStart = expected.rfind('\n', at == 0 ? 0 : at - 1);
    const size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
    const int line = 1 + static_cast<int>(std::count(expected.begin(), expected.begin() + static_cast<long>(from), '\n'));
    ADD_FAILURE() << relativePath << " differs from the produced bytes (saved as " << saved.string() << ") at line "
                  << line << ":\n  expected: " << expected.substr(from, expected.find('\n', from) - from)
                  << "\n  produced: " << actual.substr(from, actual.find('\n', from) - from)
                  << (expected.empty() ? "\n  (the golden file is missing or empty)" : "");
}
