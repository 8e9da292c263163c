// The main of every test program that opens windows: wx is started once for the whole run (on the display
// scripts/with_display.sh provides), and a wx assertion fails the test that raised it instead of opening a dialog.
// So does every wx log message of warning level or above and every GLib, GDK or GTK warning or critical: the
// program shows the former to the user in a message box and prints the latter on its standard error stream, so
// neither may come out of anything a test drives. A few messages come from the machine the tests run on rather
// than from anything of ours; they are listed below and let through.

#include <glib.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// Messages of the test machine, by the domain that logs them and a piece of their text.
struct MachineMessage
{
    const char* domain;
    const char* text;
};

const MachineMessage kMachineMessages[] = {
    // Where the accessibility bridge is installed it looks for its bus, which the virtual display of a test lacks:
    // there is no desktop session around the tests.
    {"dbind", "Couldn't connect to accessibility bus"},
};

bool IsMachineMessage(const char* domain, const char* text)
{
    for (const MachineMessage& known : kMachineMessages)
        if (domain && std::strcmp(domain, known.domain) == 0 && text && std::strstr(text, known.text))
            return true;
    return false;
}

// A message raised outside any test (while wx starts or ends) fails the whole program.
std::atomic<bool> g_bFailedOutsideTests{false};

void ReportMessage(const std::string& what)
{
    if (::testing::UnitTest::GetInstance()->current_test_info()) {
        ADD_FAILURE() << what;
        return;
    }
    std::fprintf(stderr, "message outside any test: %s\n", what.c_str());
    g_bFailedOutsideTests = true;
}

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "wx assertion in " << func.utf8_str() << ": " << cond.utf8_str() << " " << msg.utf8_str();
}

// Prints every message as the plain stderr target does, and fails the test on warnings, errors and worse.
class FailingLog : public wxLog
{
protected:
    void DoLogTextAtLevel(wxLogLevel level, const wxString& text) override
    {
        std::fprintf(stderr, "%s\n", static_cast<const char*>(text.utf8_str()));
        if (level <= wxLOG_Warning)
            ReportMessage("wx log message: " + std::string(text.utf8_str()));
    }
};

// Everything GLib and the libraries on it log (g_warning, g_critical, g_return_if_fail and the like) ends here,
// whether it was logged with structured fields or not. It is still written as GLib would write it.
GLogWriterOutput WriteToolkitMessage(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer)
{
    if (level & (G_LOG_LEVEL_ERROR | G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) {
        const char* domain = nullptr;
        const char* text = nullptr;
        for (gsize i = 0; i < count; ++i) {
            if (std::strcmp(fields[i].key, "GLIB_DOMAIN") == 0)
                domain = static_cast<const char*>(fields[i].value);
            else if (std::strcmp(fields[i].key, "MESSAGE") == 0)
                text = static_cast<const char*>(fields[i].value);
        }
        if (!IsMachineMessage(domain, text))
            ReportMessage(std::string(domain ? domain : "(no domain)") +
                          (level & G_LOG_LEVEL_CRITICAL ? " critical: " : " warning: ") + (text ? text : ""));
    }
    return g_log_writer_default(level, fields, count, nullptr);
}

// The tests run on a display of their own with no desktop session around them: what GTK and GLib would set up for
// one (the accessibility bridge and its bus, the desktop's settings store and virtual file systems over the session
// bus) only costs each test program its start, and may start helper daemons. A setting of the caller's own stays.
void StayOutOfTheDesktopSession()
{
    setenv("NO_AT_BRIDGE", "1", 0);
    setenv("GSETTINGS_BACKEND", "memory", 0);
    setenv("GIO_USE_VFS", "local", 0);
}

// GLib reads the user's data, configuration and cache folders once and keeps them for the rest of the process, and
// GTK writes there (the recently used files among others). A test that points them at its scratch folder would have
// GTK go on writing into that folder after the test removed it, under the tests that follow in the same program. So
// the program gives GLib folders of its own, kept until it ends; tests still set the variables for the program's own
// code, which reads them each time.
class ToolkitFolders
{
public:
    ToolkitFolders()
    {
        std::string pattern = std::string(getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp") + "/pelorin-toolkit-XXXXXX";
        if (!mkdtemp(pattern.data()))
            return;
        m_root = pattern;
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            setenv(name, (m_root / name).c_str(), 1);
        g_get_user_data_dir();
        g_get_user_config_dir();
        g_get_user_cache_dir();
    }
    ~ToolkitFolders()
    {
        std::error_code ignored;
        if (!m_root.empty())
            std::filesystem::remove_all(m_root, ignored);
    }
    ToolkitFolders(const ToolkitFolders&) = delete;
    ToolkitFolders& operator=(const ToolkitFolders&) = delete;

private:
    std::filesystem::path m_root;
};

} // namespace

// GTK's text layout holds fontconfig objects until the process ends, so fontconfig must not be shut down at exit,
// as the program itself tells the text library. The reference is weak: a test program without the text library
// has nothing to tell.
void KeepFontconfigAtExit() __attribute__((weak));

// GTK and the libraries under it keep caches until the process ends. Their stacks through these uninstrumented
// libraries are too short to name more than the library, so the library is what is named. Nothing of ours or of wx
// is listed: a window or object our code fails to free is still reported.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:libgio-2.0.so\n"
           "leak:libdbus-1.so\n"
           "leak:libgtk-3.so\n"
           "leak:libgdk-3.so\n"
           "leak:libpango-1.0.so\n"
           "leak:libpangoft2-1.0.so\n"
           "leak:libharfbuzz.so\n"
           // The web view's engine keeps its own allocations until the process ends.
           "leak:libjavascriptcoregtk-4.0.so\n"
           "leak:libwebkit2gtk-4.0.so\n";
}

// The web view module and the browser engine under it are loaded while the program runs, so their thread-local
// storage is allocated dynamically, and the leak checker's walk of such blocks crashes on this C library's layout.
// Nothing of ours keeps memory only there.
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    StayOutOfTheDesktopSession();
    const ToolkitFolders toolkitFolders;
    // Before GTK starts, so that what it says while it starts is seen too.
    g_log_set_writer_func(WriteToolkitMessage, nullptr, nullptr);
    wxSetAssertHandler(FailOnAssert);
    // Without an application object of the GUI kind wx would start as a console program.
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "wx could not start: is there a display?\n");
        return 1;
    }
    // After wx started, which puts its message box target in place.
    delete wxLog::SetActiveTarget(new FailingLog());
    // Tests save what they show as PNG pictures.
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    if (KeepFontconfigAtExit)
        KeepFontconfigAtExit();
    int result = RUN_ALL_TESTS();
    wxEntryCleanup();
    if (g_bFailedOutsideTests)
        result = 1;
    return result;
}
