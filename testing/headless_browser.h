#pragma once

// A screenshot of a local web page taken by headless Chromium (Debian's chromium package, which scripts/deps.sh
// installs), and the page as Chromium holds it once its scripts ran. One browser process per call, with a profile
// of its own, so that tests running side by side never share one.

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

// The page at htmlPath as headless Chromium holds it once its scripts ran, written out as HTML. Its scripts may read
// local files (as a page opened from this computer links them), so that a test page can tell whether an address
// the browser makes of a link leads to a file. Empty, with the browser's output in *log, when Chromium gives none.
inline std::string PageAfterScriptsInChromium(const std::string& htmlPath, std::string* log = nullptr)
{
    ScratchFolder profile;
    const std::string page = profile / "page.html", output = profile / "browser.log";
    const std::string command = "timeout 120 chromium --headless --no-sandbox --disable-gpu --no-first-run "
                                "--allow-file-access-from-files --user-data-dir='" +
                                profile.Path() + "profile' --dump-dom 'file://" + htmlPath + "' >'" + page + "' 2>'" +
                                output + "'";
    const int status = std::system(command.c_str());
    if (log) {
        std::ifstream in(output);
        *log = std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::ifstream in(page);
    const std::string dom(std::istreambuf_iterator<char>(in), {});
    return status == 0 ? dom : std::string();
}
