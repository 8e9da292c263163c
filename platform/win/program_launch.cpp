#include "platform/win/program_launch.h"

#include <spawn.h>
#include <sys/wait.h>

#include <mutex>
#include <thread>
#include <utility>

extern char** environ;

namespace {

std::mutex g_starterLock;
ProgramStarter g_starter;

bool SpawnDetached(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    // The child runs on its own; a waiting thread collects its end so that no finished process lingers.
    std::thread([child] {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

} // namespace

bool StartProgram(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || arguments[0].empty())
        return false;
    ProgramStarter starter;
    {
        const std::lock_guard<std::mutex> lock(g_starterLock);
        starter = g_starter;
    }
    return starter ? starter(arguments) : SpawnDetached(arguments);
}

bool OpenWithDefaultHandler(const std::string& address)
{
    if (address.empty())
        return false;
    return StartProgram({"xdg-open", address});
}

ProgramStarter SetProgramStarter(ProgramStarter starter)
{
    const std::lock_guard<std::mutex> lock(g_starterLock);
    return std::exchange(g_starter, std::move(starter));
}
