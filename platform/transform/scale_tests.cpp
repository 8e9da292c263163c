#include "platform/transform/scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void FillMap(CPixMap& map, int (*fill)(int x, int y, int p))
{
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x)
            for (int p = 0; p < map.planes; ++p)
                *map.Sample(x, y, p) = static_cast<unsigned char>(fill(x, y, p));
}

// Copies part of a map into a new one, as fetching that part of an image would.
void CopyPart(const CPixMap& from, const CRect& part, CPixMap& to)
{
    for (int y = 0; y < part.Height(); ++y)
        for (int x = 0; x < part.Width(); ++x)
            for (int p = 0; p < from.planes; ++p)
                *to.Sample(x, y, p) = *from.Sample(part.left + x, part.top + y, p);
}

int Pattern(int x, int y, int p)
{
    if (p == 0)
        return 128 + ((x * 7 + y * 3) % 128);
    return (x * 37 + y * 91 + p * 53) % 256;
}

TEST(Scale, StripsJoinExactlyAsOneWholeScaling)
{
    const CSize sourceSize(97, 61);
    CPixMap source(IMAGE_MODE_RGBA, sourceSize.cx, sourceSize.cy);
    FillMap(source, Pattern);
    for (CSize targetSize : {CSize(40, 25), CSize(150, 90), CSize(12, 70)}) {
        SCOPED_TRACE(testing::Message() << targetSize.cx << "x" << targetSize.cy);
        CPixMap whole(IMAGE_MODE_RGBA, targetSize.cx, targetSize.cy);
        ASSERT_TRUE(CScale(sourceSize, targetSize, true).Transform(source, whole));

        CScale scale(sourceSize, targetSize, true);
        for (int top = 0; top < targetSize.cy; top += 9) {
            for (int left = 0; left < targetSize.cx; left += 16) {
                CRect targetPart(left, top, std::min<int>(left + 16, targetSize.cx),
                                 std::min<int>(top + 9, targetSize.cy));
                CRect sourcePart;
                scale.GetSrcRect(targetPart, sourcePart);
                ASSERT_FALSE(sourcePart.IsRectEmpty());
                ASSERT_GE(sourcePart.left, 0);
                ASSERT_LE(sourcePart.right, sourceSize.cx);
                CPixMap in(IMAGE_MODE_RGBA, sourcePart.Width(), sourcePart.Height());
                CopyPart(source, sourcePart, in);
                // A planar target works the same way as an interleaved one.
                CPixMap out(IMAGE_MODE_RGBA, 16, 9, false);
                ASSERT_TRUE(scale.Transform(in, out));
                for (int y = 0; y < targetPart.Height(); ++y)
                    for (int x = 0; x < targetPart.Width(); ++x)
                        for (int p = 0; p < 4; ++p)
                            ASSERT_EQ(*out.Sample(x, y, p), *whole.Sample(left + x, top + y, p))
                                << left + x << "," << top + y << " p" << p;
            }
        }
    }
}

TEST(Scale, KeepsAUniformImageUniform)
{
    CPixMap source(IMAGE_MODE_RGB, 64, 48);
    FillMap(source, [](int, int, int p) { return 30 + 100 * p; });
    for (CSize target : {CSize(128, 96), CSize(32, 24), CSize(7, 5)}) {
        CPixMap out(IMAGE_MODE_RGB, target.cx, target.cy);
        ASSERT_TRUE(CScale(CSize(64, 48), target, true).Transform(source, out));
        for (int y = 0; y < target.cy; ++y)
            for (int x = 0; x < target.cx; ++x)
                for (int p = 0; p < 3; ++p)
                    ASSERT_EQ(*out.Sample(x, y, p), 30 + 100 * p);
    }
}

TEST(Scale, RefusesMapsThatDoNotFit)
{
    CPixMap source(IMAGE_MODE_RGB, 20, 20);
    FillMap(source, Pattern);
    CPixMap small(IMAGE_MODE_RGB, 5, 5);
    FillMap(small, [](int, int, int) { return 0xCD; });
    CPixMap deep(IMAGE_MODE_RGB16, 10, 10);

    EXPECT_FALSE(CScale(CSize(20, 20), CSize(10, 10), true).Transform(source, small));
    EXPECT_FALSE(CScale(CSize(40, 40), CSize(5, 5), true).Transform(source, small)); // source map too small
    EXPECT_FALSE(CScale(CSize(20, 20), CSize(10, 10), true).Transform(source, deep));
    EXPECT_FALSE(CScale(CSize(0, 20), CSize(5, 5), true).Transform(source, small));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(*small.Sample(x, y, 0), 0xCD);
}

} // namespace
