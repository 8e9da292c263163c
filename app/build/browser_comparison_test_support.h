#pragma once

// A page built offline and shown in headless Chromium, against the same page as the designer draws it. Writes
// <name>_browser.png, <name>_designer.png and <name>_difference.png (differences amplified) into the test output
// folder, and answers how far the two pictures differ.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/build/site_builder.h"
#include "app/site/page_picture_test_support.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/io/io.h"
#include "testing/headless_browser.h"
#include "testing/test_output.h"

namespace build_testing {

struct BrowserComparison
{
    // Empty when both pictures were made; else what went wrong.
    std::string error;
    double meanDifference = 0; // levels per channel
    double farShare = 0;       // share of pixels off by more than 48 in some channel
};

// Builds the site offline into folder and compares its page file builtFile (the front page by default) with page.
inline BrowserComparison CompareBuiltPageInBrowser(CWebsite& site, CSitePage& page, const std::filesystem::path& folder,
                                                   const std::string& name, const std::string& builtFile = "index.html")
{
    BrowserComparison comparison;
    SiteBuildOptions options;
    options.offline = 1;
    options.siteFolder = (folder / "out/").string();
    options.filesFolder = (folder / "out/files/").string();
    SiteBuildResult result;
    CSiteBuilder(options).BuildWebsite(result, &site, buildForPreview);
    if (result.code != buildDone) {
        comparison.error = "build: " + result.message;
        return comparison;
    }
    const std::filesystem::path output = TestOutputFolder();
    const std::string shot = (output / (name + "_browser.png")).string();
    std::string log;
    if (!ScreenshotInChromium((folder / "out" / builtFile).string(), page.GetWidth(), page.GetHeight(), shot, &log)) {
        comparison.error = "browser: " + log;
        return comparison;
    }
    IOError error = IO_OK;
    std::unique_ptr<CImage> browser(CIO::LoadImageA(shot, IO_LOAD_RGB, &error));
    const int width = page.GetWidth(), height = page.GetHeight();
    if (!browser || browser->Width() != width || browser->Height() != height) {
        comparison.error = "the browser's picture is missing or of another size";
        return comparison;
    }
    page.RenderDirtyObjects();
    const std::unique_ptr<CImage> designer = DrawWholePage(page);
    CIO::SavePNG((output / (name + "_designer.png")).string(), *designer);

    CPixMap a(IMAGE_MODE_RGB, width, height), b(IMAGE_MODE_RGB, width, height), diff(IMAGE_MODE_RGB, width, height);
    if (!browser->GetBuf(0, 0, a) || !designer->GetBuf(0, 0, b)) {
        comparison.error = "the pictures' pixels could not be read";
        return comparison;
    }
    double total = 0;
    int64_t far = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int worst = 0;
            for (int c = 0; c < 3; ++c) {
                const int d = std::abs(a.Sample(x, y, 0)[c] - b.Sample(x, y, 0)[c]);
                total += d;
                worst = std::max(worst, d);
                diff.Sample(x, y, 0)[c] = static_cast<BYTE>(255 - std::min(255, d * 4));
            }
            far += worst > 48;
        }
    CImage difference(IMAGE_MODE_RGB, width, height);
    difference.SetBuf(0, 0, diff);
    CIO::SavePNG((output / (name + "_difference.png")).string(), difference);
    comparison.meanDifference = total / (3.0 * width * height);
    comparison.farShare = double(far) / (double(width) * height);
    return comparison;
}

} // namespace build_testing
