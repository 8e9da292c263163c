// A built page as a browser shows it, against the same page as the designer draws it. The browser lays out the
// HTML text with its own text engine, so text differs a little in its edges; everything else is pictures the
// builder composed from the designer's own drawing and should match closely. Writes built_page_browser.png,
// built_page_designer.png and built_page_difference.png (differences amplified) into the test output folder.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/build/browser_comparison_test_support.h"
#include "app/build/build_test_support.h"
#include "testing/scratch_folder.h"

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

    const BrowserComparison comparison = CompareBuiltPageInBrowser(site, page, folder.Path(), "built_page");
    ASSERT_TRUE(comparison.error.empty()) << comparison.error;
    const double meanDifference = comparison.meanDifference, farShare = comparison.farShare;
    RecordProperty("mean_difference", std::to_string(meanDifference));
    RecordProperty("share_of_pixels_off_by_more_than_48", std::to_string(farShare));
    std::printf("mean difference %.3f per channel, %.3f%% of pixels off by more than 48\n", meanDifference,
                100 * farShare);
    EXPECT_LT(meanDifference, 2.0);
    EXPECT_LT(farShare, 0.02);
}

} // namespace
