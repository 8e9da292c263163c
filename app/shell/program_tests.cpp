// The program as a user starts it: what happens before any window exists.

#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::filesystem::path Program()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "pelorin";
}

struct Outcome
{
    int status = -1;
    std::string output;
};

// Runs a shell command line, its standard error joined to its output.
Outcome RunProgramLine(const std::string& command)
{
    Outcome run;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Without a display, so the utility mode cannot have shown a window.
TEST(Program, CryptTwiceGivesBackTheOriginalWithoutAWindow)
{
    ScratchFolder scratch;
    std::string original;
    for (int i = 0; i < 40000; ++i)
        original += static_cast<char>((i * 31) % 256);
    std::ofstream(scratch / "page.bin", std::ios::binary) << original;

    const std::string program = "env -u DISPLAY -u WAYLAND_DISPLAY " + Program().string() + " crypt ";
    Outcome once = RunProgramLine(program + scratch / "page.bin" + " " + scratch / "once.bin");
    ASSERT_EQ(once.status, 0) << once.output;
    Outcome twice = RunProgramLine(program + scratch / "once.bin" + " " + scratch / "twice.bin");
    ASSERT_EQ(twice.status, 0) << twice.output;
    EXPECT_NE(ReadAll(scratch / "once.bin"), original.substr(0, 32768));
    EXPECT_EQ(ReadAll(scratch / "twice.bin"), original.substr(0, 32768));

    Outcome ontoItself = RunProgramLine(program + scratch / "page.bin" + " " + scratch / "page.bin");
    EXPECT_NE(ontoItself.status, 0);
    EXPECT_NE(ontoItself.output.find("input"), std::string::npos) << ontoItself.output;
    EXPECT_EQ(ReadAll(scratch / "page.bin"), original);
}

// A copy of the program with no resource folder beside it ends at once, saying why, with a display at hand.
TEST(Program, WithoutItsResourceFolderEndsWithAMessage)
{
    ScratchFolder scratch;
    const std::filesystem::path copy = scratch / "pelorin";
    std::filesystem::copy_file(Program(), copy);
    const Outcome run = RunProgramLine("timeout 60 " + copy.string());
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("resource folder " + scratch / "resources" + " is missing"), std::string::npos)
        << run.output;
}

} // namespace
