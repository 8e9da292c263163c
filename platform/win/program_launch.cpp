#include "platform/win/program_launch.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <mutex>
#include <thread>
#include <utility>

extern char** environ;

namespace {

std::mutex g_starterLock;
ProgramStarter g_starter;

bool SpawnDetached(const std::vector<std::string>& arguments, std::function<void()> failedLater)
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
    std::thread([child, failedLater = std::move(failedLater)] {
        int status = 0;
        pid_t ended = 0;
        while ((ended = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
        }
        if (failedLater && ended == child && !(WIFEXITED(status) && WEXITSTATUS(status) == 0))
            failedLater();
    }).detach();
    return true;
}

bool Start(const std::vector<std::string>& arguments, std::function<void()> failedLater)
{
    if (arguments.empty() || arguments[0].empty())
        return false;
    ProgramStarter starter;
    {
        const std::lock_guard<std::mutex> lock(g_starterLock);
        starter = g_starter;
    }
    return starter ? starter(arguments) : SpawnDetached(arguments, std::move(failedLater));
}

} // namespace

bool StartProgram(const std::vector<std::string>& arguments)
{
    return Start(arguments, {});
}

bool OpenWithDefaultHandler(const std::string& address)
{
    return OpenWithDefaultHandler(address, {});
}

bool OpenWithDefaultHandler(const std::string& address, std::function<void()> failedLater)
{
    if (address.empty())
        return false;
    return Start({"xdg-open", address}, std::move(failedLater));
}

ProgramStarter SetProgramStarter(ProgramStarter starter)
{
    const std::lock_guard<std::mutex> lock(g_starterLock);
    return std::exchange(g_starter, std::move(starter));
}
