// The program. Two things happen before the toolkit starts, since neither needs a display: the utility mode,
//     pelorin crypt <input> <output>
// which scrambles a file and ends, and the check that the resource folder is there.

#include "app/shell/logic/command_line.h"
#include "app/shell/orvel_app.h"
#include "platform/text/face_list.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

wxIMPLEMENT_APP_NO_MAIN(COrvelApp);

#if defined(__SANITIZE_ADDRESS__)
// In a sanitizer build: the previews' web view module is loaded while the program runs, and the leak checker's walk
// of the browser engine's dynamically allocated thread-local blocks crashes on this C library's layout.
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}
#endif

int main(int argc, char** argv)
{
    const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.kind == CommandLine::crypt) {
        std::string error;
        if (!RunCryptMode(line.cryptInput, line.cryptOutput, &error)) {
            std::fprintf(stderr, "pelorin crypt: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }

    std::string error;
    if (!CheckResourceFolder(&error)) {
        std::fprintf(stderr, "pelorin: cannot start: %s\n", error.c_str());
        return 1;
    }
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!display || !*display) && (!wayland || !*wayland)) {
        std::fprintf(stderr, "pelorin: there is no display to show the window on (DISPLAY is not set)\n");
        return 1;
    }
    // The palettes and dialogs are put where they stood last, which Wayland does not let a program do: on a Wayland
    // desktop the program runs through XWayland, unless the user chose a backend.
    setenv("GDK_BACKEND", "x11", 0);
    // The toolkit's font caches hold on to fontconfig until the process is gone.
    KeepFontconfigAtExit();
    return wxEntry(argc, argv);
}
