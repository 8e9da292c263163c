// Starting programs with their arguments as they stand, and the recorder tests put in their place.

#include "platform/win/program_launch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>

#include "testing/scoped_env.h"
#include "testing/scratch_folder.h"

namespace {

// The file the script writes once it has run; empty until then (the wait guards a hang, it measures nothing).
std::string WaitForFile(const std::string& path)
{
    for (int i = 0; i < 2000 && !std::filesystem::exists(path + ".done"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ProgramLaunch, ArgumentsReachTheProgramAsTheyStand)
{
    ScratchFolder scratch;
    const std::string script = scratch / "record.sh";
    const std::string out = scratch / "args.txt";
    {
        std::ofstream file(script);
        file << "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\" >> '" << out << "'; done\ntouch '" << out
             << ".done'\n";
    }
    chmod(script.c_str(), 0755);
    ASSERT_TRUE(StartProgram({script, "file:///tmp/a b.html", "$(touch x); rm -rf y", "*"}));
    EXPECT_EQ(WaitForFile(out), "[file:///tmp/a b.html]\n[$(touch x); rm -rf y]\n[*]\n");
    EXPECT_FALSE(std::filesystem::exists("x"));

    EXPECT_FALSE(StartProgram({}));
    EXPECT_FALSE(StartProgram({scratch / "missing"}));
}

TEST(ProgramLaunch, TheDefaultHandlerGetsTheAddressAsOneArgument)
{
    std::vector<std::vector<std::string>> started;
    const ProgramStarter before = SetProgramStarter([&](const std::vector<std::string>& arguments) {
        started.push_back(arguments);
        return true;
    });
    EXPECT_TRUE(OpenWithDefaultHandler("https://example.org/a page?x=1&y=2"));
    EXPECT_FALSE(OpenWithDefaultHandler(""));
    SetProgramStarter(before);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0], (std::vector<std::string>{"xdg-open", "https://example.org/a page?x=1&y=2"}));
}

// A handler that starts but finds nothing to show the address with ends with a failure, and the caller hears of it.
TEST(ProgramLaunch, AHandlerThatEndsWithAFailureIsReported)
{
    ScratchFolder scratch;
    {
        // xdg-open's own answer when no program is set up for the address.
        std::ofstream file(scratch / "xdg-open");
        file << "#!/bin/sh\nexit 3\n";
    }
    chmod((scratch / "xdg-open").c_str(), 0755);
    std::atomic<bool> failed{false};
    {
        const ScopedEnv path("PATH", (scratch.Path() + ":" + (getenv("PATH") ? getenv("PATH") : "")).c_str());
        ASSERT_TRUE(OpenWithDefaultHandler("/tmp/guide.html", [&] { failed = true; }));
    }
    for (int i = 0; i < 2000 && !failed; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(failed);
}

} // namespace
