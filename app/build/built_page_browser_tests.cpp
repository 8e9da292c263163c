// A built page as a browser shows it, against the same page as the designer draws it. The browser lays out the
// HTML text with its own text engine, so text differs a little in its edges; everything else is pictures the
// builder composed from the designer's own drawing and should match closely. Writes built_page_browser.png,
// built_page_designer.png and built_page_difference.png (differences amplified) into the test output folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/build/build_test_support.h"
#include "app/build/site_builder.h"
#include "app/site/page_picture_test_support.h"
#include "platform/io/io.h"
#include "testing/headless_browser.h"
#include "testing/scratch_folder.h"
#include "testing/test_output.h"

namespace {

using namespace build_testing;

TEST(BuiltPageInBrowser, LooksLikeThePageInTheDesigner)
{
    ScratchFolder folder;
    CWebsite site("/sites/showcase.kst");
    MakeShowcaseSite(site, folder / "pictures");
    // The designer shows HTML code as a placeholder and a counter as its digits; the browser runs the code and
    // the offline page shows the counter's picture, so the HTML object stays out of the comparison.
    CSitePage& page = *site.GetPage(0);
    for (int i = page.GetItemCount() - 1; i >= 0; --i)
        if (page.GetItem(i)->GetCurrentObject()->GetKind() == objectHtml)
            page.RemoveItem(page.GetItem(i));

    SiteBuildOptions options;
    options.offline = 1;
    options.siteFolder = folder / "out/";
    options.filesFolder = folder / "out/files/";
    SiteBuildResult result;
    CSiteBuilder(options).BuildWebsite(result, &site, buildForPreview);
    ASSERT_EQ(result.code, buildDone) << result.message;

    const auto output = TestOutputFolder();
    const std::string shot = (output / "built_page_browser.png").string();
    std::string log;
    ASSERT_TRUE(ScreenshotInChromium(folder / "out/index.html", page.GetWidth(), page.GetHeight(), shot, &log))
        << log;
    IOError error = IO_OK;
    std::unique_ptr<CImage> browser(CIO::LoadImageA(shot, IO_LOAD_RGB, &error));
    ASSERT_TRUE(browser) << error;
    ASSERT_EQ(browser->Width(), page.GetWidth());
    ASSERT_EQ(browser->Height(), page.GetHeight());
    page.RenderDirtyObjects();
    const std::unique_ptr<CImage> designer = DrawWholePage(page);
    ASSERT_TRUE(CIO::SavePNG((output / "built_page_designer.png").string(), *designer));

    const int width = page.GetWidth(), height = page.GetHeight();
    CPixMap a(IMAGE_MODE_RGB, width, height), b(IMAGE_MODE_RGB, width, height), diff(IMAGE_MODE_RGB, width, height);
    ASSERT_TRUE(browser->GetBuf(0, 0, a));
    ASSERT_TRUE(designer->GetBuf(0, 0, b));
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
    CIO::SavePNG((output / "built_page_difference.png").string(), difference);

    const double meanDifference = total / (3.0 * width * height);
    const double farShare = double(far) / (double(width) * height);
    RecordProperty("mean_difference", std::to_string(meanDifference));
    RecordProperty("share_of_pixels_off_by_more_than_48", std::to_string(farShare));
    std::printf("mean difference %.3f per channel, %.3f%% of pixels off by more than 48\n", meanDifference,
                100 * farShare);
    EXPECT_LT(meanDifference, 2.0);
    EXPECT_LT(farShare, 0.02);
}

} // namespace
