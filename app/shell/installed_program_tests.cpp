// The installed program as a user starts it from the desktop, with no file and with a site file, under a window
// manager and without one: it prints nothing at all on its standard error stream, each dialog of the start stands
// above the main window, and the program ends when its windows are closed as the window manager closes them.
// The test talks to the program only through the display: it finds the windows, closes them and takes pictures.

#include "platform/gui/window_picture.h"
#include "testing/scratch_folder.h"
#include "testing/test_output.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>
#include <wx/gdicmn.h>

// Last: its macros (None, Status, Bool) would clash with names in the headers above.
#include <X11/Xlib.h>

extern char** environ;
// The libraries under the toolkit that keep caches until the process ends, as the test programs' main names them.
extern "C" const char* __lsan_default_suppressions();

namespace {

// Guards against a program or window manager that hangs; a normal run stays far below them.
constexpr auto kWindowLimit = std::chrono::seconds(120);
constexpr auto kPoll = std::chrono::milliseconds(100);

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A program started with the given environment, its output and error streams into files.
class Process
{
public:
    Process(const std::vector<std::string>& command, const std::vector<std::string>& environment,
            const std::string& output, const std::string& errors)
    {
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&files, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<char*> argv, envp;
        for (const std::string& word : command)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        for (const std::string& entry : environment)
            envp.push_back(const_cast<char*>(entry.c_str()));
        envp.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &files, nullptr, argv.data(), envp.data()) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&files);
    }
    ~Process()
    {
        if (Running()) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t Pid() const { return m_pid; }
    bool Running()
    {
        if (m_pid <= 0 || m_status)
            return false;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_status = status;
            return false;
        }
        return true;
    }
    // The exit status once the program ended by itself within the limit; nothing when it did not.
    std::optional<int> WaitForExit()
    {
        const auto deadline = std::chrono::steady_clock::now() + kWindowLimit;
        while (Running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(kPoll);
        if (!m_status || !WIFEXITED(*m_status))
            return std::nullopt;
        return WEXITSTATUS(*m_status);
    }
    // The processor time the program has used so far, in clock ticks.
    long long ProcessorTime() const
    {
        const std::string stat = ReadAll("/proc/" + std::to_string(m_pid) + "/stat");
        const size_t end = stat.rfind(')');
        if (end == std::string::npos)
            return -1;
        // After the name: state, then 10 more fields up to utime and stime (fields 14 and 15).
        std::vector<std::string> fields;
        std::string field;
        for (size_t i = end + 2; i <= stat.size(); ++i) {
            if (i == stat.size() || stat[i] == ' ') {
                fields.push_back(field);
                field.clear();
            } else {
                field += stat[i];
            }
        }
        return fields.size() > 12 ? std::stoll(fields[11]) + std::stoll(fields[12]) : -1;
    }

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

struct ClientWindow
{
    Window id = 0;
    std::string title;
};

// The test's own connection to the display the program shows its windows on. The program's windows come and go
// while the test looks at them, so an error about a window that went is no error of the test; errors on the
// toolkit's own connection still go to the toolkit's handler.
class DisplayConnection
{
public:
    DisplayConnection() : m_display(XOpenDisplay(nullptr))
    {
        s_pDisplay = m_display;
        s_previousHandler = XSetErrorHandler(&DisplayConnection::OnError);
    }
    ~DisplayConnection()
    {
        XSetErrorHandler(s_previousHandler);
        s_pDisplay = nullptr;
        if (m_display)
            XCloseDisplay(m_display);
    }
    DisplayConnection(const DisplayConnection&) = delete;
    DisplayConnection& operator=(const DisplayConnection&) = delete;

    bool IsOpen() const { return m_display != nullptr; }

    // A running window manager names a window of its own on the root, which names itself in turn; the root keeps
    // the name after the manager is gone.
    bool HasWindowManager()
    {
        const std::vector<Window> check = WindowsOf(DefaultRootWindow(m_display), "_NET_SUPPORTING_WM_CHECK");
        if (check.empty())
            return false;
        const std::vector<Window> itself = WindowsOf(check[0], "_NET_SUPPORTING_WM_CHECK");
        return !itself.empty() && itself[0] == check[0];
    }

    // The program's windows on the screen, the lowest first.
    std::vector<ClientWindow> ShownWindows(pid_t pid)
    {
        const Window root = DefaultRootWindow(m_display);
        std::vector<Window> stack;
        if (HasWindowManager()) {
            stack = WindowsOf(root, "_NET_CLIENT_LIST_STACKING");
        } else {
            Window rootReturn = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            if (XQueryTree(m_display, root, &rootReturn, &parent, &children, &count)) {
                stack.assign(children, children + count);
                XFree(children);
            }
        }
        std::vector<ClientWindow> shown;
        for (Window window : stack) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(m_display, window, &attributes) || attributes.map_state != IsViewable)
                continue;
            const std::vector<unsigned long> owner = Cardinals(window, "_NET_WM_PID");
            if (owner.empty() || static_cast<pid_t>(owner[0]) != pid)
                continue;
            char* name = nullptr;
            ClientWindow client{window, {}};
            if (XFetchName(m_display, window, &name) && name) {
                client.title = name;
                XFree(name);
            }
            shown.push_back(client);
        }
        return shown;
    }

    // Asks the window to close, as the window manager's close button does.
    void Close(Window window)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_display, window, False, NoEventMask, &event);
        XFlush(m_display);
    }

    wxRect Whole()
    {
        const int screen = DefaultScreen(m_display);
        return wxRect(0, 0, DisplayWidth(m_display, screen), DisplayHeight(m_display, screen));
    }

    wxRect Frame(Window window)
    {
        XWindowAttributes attributes;
        Window child = 0;
        int x = 0, y = 0;
        if (!XGetWindowAttributes(m_display, window, &attributes) ||
            !XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &x, &y, &child))
            return wxRect();
        return wxRect(x, y, attributes.width, attributes.height);
    }

private:
    static int OnError(Display* display, XErrorEvent* error)
    {
        if (display == s_pDisplay || !s_previousHandler)
            return 0;
        return s_previousHandler(display, error);
    }
    static inline Display* s_pDisplay = nullptr;
    static inline XErrorHandler s_previousHandler = nullptr;

    std::vector<unsigned long> Cardinals(Window window, const char* property)
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned long> values;
        if (XGetWindowProperty(m_display, window, XInternAtom(m_display, property, False), 0, 4096, False,
                               AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
            data) {
            if (format == 32)
                values.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
            XFree(data);
        }
        return values;
    }
    std::vector<Window> WindowsOf(Window window, const char* property)
    {
        const std::vector<unsigned long> values = Cardinals(window, property);
        return std::vector<Window>(values.begin(), values.end());
    }

    Display* m_display;
};

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides)
{
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        bool replaced = false;
        for (const std::string& override : overrides)
            replaced |= text.compare(0, override.find('=') + 1, override, 0, override.find('=') + 1) == 0;
        if (!replaced)
            environment.push_back(text);
    }
    environment.insert(environment.end(), overrides.begin(), overrides.end());
    return environment;
}

struct StartCase
{
    const char* name;
    bool windowManager;
    bool siteFile;
};

// Test names and failures show the case by its name.
void PrintTo(const StartCase& start, std::ostream* out)
{
    *out << start.name;
}

class InstalledProgram : public ::testing::TestWithParam<StartCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(screen.IsOpen());
        const std::filesystem::path build = std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
        const std::string install = std::string(PELORIN_CMAKE_COMMAND) + " --install " + build.string() +
                                    " --prefix " + scratch / "prefix" + " > " + scratch / "install.txt" + " 2>&1";
        ASSERT_EQ(std::system(install.c_str()), 0) << ReadAll(scratch / "install.txt");
        program = scratch / "prefix/bin/pelorin";
        ASSERT_TRUE(std::filesystem::exists(program));
        // The previews' web view module, loaded from beside the program the first time a page is shown.
        ASSERT_TRUE(std::filesystem::exists(scratch / "prefix/lib/pelorin/libpelorin_web_view.so"));
        // A user's first start: settings, caches and documents of their own, none from an earlier run.
        home = scratch / "home";
        for (const char* folder : {"", "/.config", "/.cache", "/.local/share", "/Documents"})
            std::filesystem::create_directories(home + folder);
        // A sanitizer build's program reports, as it ends, what it did not free; what the toolkit's libraries keep
        // is theirs, as in every test program.
        std::ofstream(scratch / "leaks.supp") << __lsan_default_suppressions();
        environment = EnvironmentWith({"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/.config",
                                       "XDG_CACHE_HOME=" + home + "/.cache",
                                       "XDG_DATA_HOME=" + home + "/.local/share",
                                       "LSAN_OPTIONS=print_suppressions=0:suppressions=" + scratch / "leaks.supp"});
        if (GetParam().windowManager) {
            windowManager = std::make_unique<Process>(std::vector<std::string>{"/usr/bin/openbox"}, environment,
                                                      scratch / "openbox.out", scratch / "openbox.err");
            ASSERT_TRUE(WaitFor([&] { return screen.HasWindowManager(); })) << ReadAll(scratch / "openbox.err");
        }
    }

    bool WaitFor(const std::function<bool()>& condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + kWindowLimit;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(kPoll);
        }
        return true;
    }

    // The shown window whose title starts with the text, once it is there.
    std::optional<ClientWindow> WaitForWindow(Process& process, const std::string& title)
    {
        std::optional<ClientWindow> found;
        WaitFor([&] {
            for (const ClientWindow& window : screen.ShownWindows(process.Pid()))
                if (window.title.rfind(title, 0) == 0)
                    found = window;
            return found || !process.Running();
        });
        return found;
    }

    // Waits until the program has used no processor time for a second: it has drawn what it shows and waits for
    // the user. Waiting ends at the limit all the same, since a program that keeps busy is no failure of this test.
    void WaitUntilIdle(Process& process)
    {
        long long last = -1;
        int quiet = 0;
        WaitFor([&] {
            const long long now = process.ProcessorTime();
            quiet = now == last ? quiet + 1 : 0;
            last = now;
            return quiet >= 10 || !process.Running();
        });
    }

    // The dialog is on the screen above the program's main window; its picture goes into the test output.
    void ExpectAboveMainWindow(Process& process, const ClientWindow& dialog, const std::string& picture)
    {
        const std::vector<ClientWindow> shown = screen.ShownWindows(process.Pid());
        int mainAt = -1, dialogAt = -1;
        for (size_t i = 0; i < shown.size(); ++i) {
            if (shown[i].title.rfind("Tallowmere Pelorin", 0) == 0)
                mainAt = static_cast<int>(i);
            if (shown[i].id == dialog.id)
                dialogAt = static_cast<int>(i);
        }
        EXPECT_GE(mainAt, 0) << "the main window is on the screen";
        EXPECT_GT(dialogAt, mainAt) << dialog.title << " stands above the main window";
        // Nothing else, such as the message box in which wx shows what it logged.
        std::vector<std::string> titles;
        for (const ClientWindow& window : shown)
            titles.push_back(window.title);
        EXPECT_EQ(shown.size(), 2u) << ::testing::PrintToString(titles);
        // The dialog alone, and the whole screen with the main window under it.
        const std::filesystem::path folder = TestOutputFolder() / "program";
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(
            SaveScreenPicture(screen.Frame(dialog.id), wxString::FromUTF8((folder / (picture + ".png")).string())));
        EXPECT_TRUE(SaveScreenPicture(screen.Whole(),
                                      wxString::FromUTF8((folder / (picture + "_screen.png")).string())));
    }

    DisplayConnection screen;
    ScratchFolder scratch;
    std::string program;
    std::string home;
    std::vector<std::string> environment;
    std::unique_ptr<Process> windowManager;
};

TEST_P(InstalledProgram, StartsAndEndsWithoutAWordOnStandardError)
{
    std::vector<std::string> command{program};
    if (GetParam().siteFile) {
        std::filesystem::copy_file(scratch / "prefix/lib/pelorin/Themes/Business/harbour.kth", scratch / "bakery.kst");
        command.push_back(scratch / "bakery.kst");
    }
    const std::string suffix = GetParam().windowManager ? "" : "_without_window_manager";
    Process pelorin(command, environment, scratch / "stdout.txt", scratch / "stderr.txt");
    ASSERT_GT(pelorin.Pid(), 0);

    // A first start without a file greets the user; with a file the site opens at once. Tip of the Day follows.
    if (!GetParam().siteFile) {
        const std::optional<ClientWindow> welcome = WaitForWindow(pelorin, "Welcome to Pelorin");
        ASSERT_TRUE(welcome) << ReadAll(scratch / "stderr.txt");
        WaitUntilIdle(pelorin);
        ExpectAboveMainWindow(pelorin, *welcome, "welcome" + suffix);
        screen.Close(welcome->id);
    }
    const std::optional<ClientWindow> tips = WaitForWindow(pelorin, "Tip of the Day");
    ASSERT_TRUE(tips) << ReadAll(scratch / "stderr.txt");
    WaitUntilIdle(pelorin);
    ExpectAboveMainWindow(pelorin, *tips,
                          std::string(GetParam().siteFile ? "tip_of_the_day_over_a_site" : "tip_of_the_day") + suffix);
    screen.Close(tips->id);

    // The main window, closed as the window manager closes it, ends the program.
    std::optional<ClientWindow> main;
    ASSERT_TRUE(WaitFor([&] {
        main.reset();
        for (const ClientWindow& window : screen.ShownWindows(pelorin.Pid()))
            if (window.title.rfind("Tip of the Day", 0) == 0)
                return false;
            else if (window.title.rfind("Tallowmere Pelorin", 0) == 0)
                main = window;
        return main.has_value();
    }));
    if (GetParam().siteFile)
        EXPECT_NE(main->title.find("bakery.kst"), std::string::npos) << main->title;
    WaitUntilIdle(pelorin);
    screen.Close(main->id);
    const std::optional<int> status = pelorin.WaitForExit();
    EXPECT_EQ(status, std::optional<int>(0));
    EXPECT_EQ(ReadAll(scratch / "stderr.txt"), "");
    EXPECT_EQ(ReadAll(scratch / "stdout.txt"), "");
}

INSTANTIATE_TEST_SUITE_P(Starts, InstalledProgram,
                         ::testing::Values(StartCase{"NoFile", true, false}, StartCase{"SiteFile", true, true},
                                           StartCase{"NoFileWithoutWindowManager", false, false},
                                           StartCase{"SiteFileWithoutWindowManager", false, true}),
                         [](const ::testing::TestParamInfo<StartCase>& info) { return info.param.name; });

// The program as installed by a user who removed (or never got) its web view module: it looks only for the module's
// file at start, without loading the browser engine, and says that the previews' web view is missing.
class InstalledProgramWithoutWebView : public InstalledProgram
{
};

TEST_P(InstalledProgramWithoutWebView, SaysTheWebViewIsMissingAndEnds)
{
    std::filesystem::remove(scratch / "prefix/lib/pelorin/libpelorin_web_view.so");
    Process pelorin({program}, environment, scratch / "stdout.txt", scratch / "stderr.txt");
    ASSERT_GT(pelorin.Pid(), 0);
    const std::optional<ClientWindow> message = WaitForWindow(pelorin, "Tallowmere Pelorin");
    ASSERT_TRUE(message) << ReadAll(scratch / "stderr.txt");
    WaitUntilIdle(pelorin);
    EXPECT_EQ(screen.ShownWindows(pelorin.Pid()).size(), 1u) << "the message alone, no main window";
    const std::filesystem::path folder = TestOutputFolder() / "program";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(SaveScreenPicture(screen.Frame(message->id),
                                  wxString::FromUTF8((folder / "no_web_view_module.png").string())));
    screen.Close(message->id);
    const std::optional<int> status = pelorin.WaitForExit();
    EXPECT_NE(status, std::optional<int>(0));
    EXPECT_NE(ReadAll(scratch / "stderr.txt").find("needs a web view to preview websites"), std::string::npos)
        << ReadAll(scratch / "stderr.txt");
}

INSTANTIATE_TEST_SUITE_P(Starts, InstalledProgramWithoutWebView, ::testing::Values(StartCase{"NoFile", true, false}),
                         [](const ::testing::TestParamInfo<StartCase>& info) { return info.param.name; });

} // namespace
