#pragma once

// A screenshot of a local web page taken by headless Chromium (Debian's chromium package, which scripts/deps.sh
// installs). One browser process per call, with a profile of its own, so that tests running side by side never
// share one.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "testing/scratch_folder.h"

// Writes a PNG of width x height pixels of the page at htmlPath (device scale 1, no scroll bars) to pngPath.
// False, with the browser's output in *log, when no picture came out.
inline bool ScreenshotInChromium(const std::string& htmlPath, int width, int height, const std::string& pngPath,
                                 std::string* log = nullptr)
{
    ScratchFolder profile;
    const std::string output = profile / "browser.log";
    std::filesystem::remove(pngPath);
    const std::string command =
        "timeout 120 chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run "
        "--force-device-scale-factor=1 --user-data-dir='" + profile.Path() + "profile' --window-size=" +
        std::to_string(width) + "," + std::to_string(height) + " --screenshot='" + pngPath + "' 'file://" +
        htmlPath + "' >'" + output + "' 2>&1";
    const int status = std::system(command.c_str());
    if (log) {
        std::ifstream in(output);
        *log = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return status == 0 && std::filesystem::exists(pngPath);
}
