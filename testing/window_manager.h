#pragma once

// A window manager (openbox) on the test's own display for as long as the object lives, for the tests of what
// only a window manager decides: which window holds the keyboard, which buttons a window's title bar carries,
// where a new window goes. Without one, the private display gives the keyboard to the window under the pointer.
// GTK keeps what it found out about a window manager for a while, so a case that starts one runs in a process of
// its own: name it in pelorin_lone_tests() (cmake/Pelorin.cmake).

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "testing/scratch_folder.h"

extern char** environ;

class ScopedWindowManager
{
public:
    ScopedWindowManager()
    {
        // The cases after this one in the same process would see a window manager that is not there.
        EXPECT_EQ(::testing::UnitTest::GetInstance()->test_to_run_count(), 1)
            << "a case that starts a window manager runs alone: name it in pelorin_lone_tests()";
        // Openbox runs its start-up command once it manages the screen; the file that command writes tells so.
        const std::string ready = m_folder / "ready";
        const std::string log = m_folder / "openbox.log";
        std::vector<std::string> arguments{"openbox", "--sm-disable", "--startup", "touch " + ready};
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        // The limit only guards against a manager that never comes up.
        for (int i = 0; m_pid != 0 && i < 3000 && !std::filesystem::exists(ready); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        m_ready = m_pid != 0 && std::filesystem::exists(ready);
    }
    ~ScopedWindowManager()
    {
        if (m_pid == 0)
            return;
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
    ScopedWindowManager(const ScopedWindowManager&) = delete;
    ScopedWindowManager& operator=(const ScopedWindowManager&) = delete;

    // Whether the manager runs and manages the display.
    bool IsReady() const { return m_ready; }

private:
    ScratchFolder m_folder;
    pid_t m_pid = 0;
    bool m_ready = false;
};
