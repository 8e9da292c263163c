#include "app/shell/logic/preview_size.h"

#include <gtest/gtest.h>

namespace {

TEST(PreviewSize, PageWithItsChromeHeldBetweenTheLeastSizeAndTheScreen)
{
    const CSize chrome(40, 120);
    const CSize screen(1280, 1024);
    const struct
    {
        CSize page;
        CSize expected;
    } cases[] = {
        {CSize(800, 600), CSize(840, 720)},   // fits
        {CSize(2000, 600), CSize(1255, 720)}, // wider than the screen: 25 pixels less
        {CSize(800, 3000), CSize(840, 999)},  // taller than the screen
        {CSize(100, 50), CSize(360, 300)},    // never below the least size
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreviewWindowSize(c.page, chrome, screen), c.expected) << c.page.cx << "x" << c.page.cy;
}

} // namespace
