#pragma once

// Where tests put the pictures a person should look at. Under CTest that is $PELORIN_TEST_OUTPUT;
// run by hand, test-output/ in the build folder (the executables live in its bin/), so that a run from the
// checkout leaves no files there.

#include <cstdlib>
#include <filesystem>
#include <system_error>

inline std::filesystem::path TestOutputFolder()
{
    std::filesystem::path folder;
    if (const char* env = std::getenv("PELORIN_TEST_OUTPUT"); env && *env) {
        folder = env;
    } else {
        std::error_code error;
        const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
        folder = (error ? std::filesystem::current_path() : exe.parent_path().parent_path()) / "test-output";
    }
    std::filesystem::create_directories(folder);
    return folder;
}
