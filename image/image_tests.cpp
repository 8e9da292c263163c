#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "image/image.h"

namespace {

struct ModeCase
{
    uint32_t mode;
    int bits;
    int planes;
};

TEST(ImageMode, BitsAndPlanesFollowTheModeTable)
{
    const ModeCase cases[] = {
        {1, 8, 1},          {2, 8, 1},          {3, 8, 3},           {5, 8, 3},          {6, 8, 3},
        {10, 16, 1},        {11, 16, 3},        {256, 8, 3},         {384, 8, 0},        {385, 16, 0},
        {386, 32, 0},       {387, 64, 0},       {510, 8, 0},         {511, 16, 0},       {0x80000001, 8, 2},
        {0x80000002, 8, 2}, {0x80000003, 8, 4}, {0x8000000B, 16, 4}, {0x80000100, 8, 4}, {0x80000180, 0, 0},
        {0x80000183, 0, 0}, {0x800001FE, 8, 1}, {0x800001FF, 16, 1}, {0, 0, 0},          {4, 0, 0},
        {257, 0, 0},        {0x7FFFFFFF, 0, 0},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode 0x" << std::hex << c.mode);
        IMAGE_MODE mode = static_cast<IMAGE_MODE>(c.mode);
        EXPECT_EQ(ModeBitsPerPlane(mode), c.bits);
        EXPECT_EQ(ModePlanes(mode), c.planes);
    }
}

TEST(Image, StrideRoundsEachRowUpToFourBytes)
{
    CImage rgb(IMAGE_MODE_RGB, 5, 2, 96.0);
    EXPECT_EQ(rgb.GetStride(), 16);
    EXPECT_EQ(rgb.GetDataSize(), 32u);
    EXPECT_EQ(rgb.GetPlanes(), 3);

    CImage rgba(IMAGE_MODE_RGBA, 5, 2, 96.0);
    EXPECT_EQ(rgba.GetStride(), 20);
    EXPECT_EQ(rgba.GetPlanes(), 4);
    EXPECT_TRUE(rgba.HasAlpha());

    CImage grey(IMAGE_MODE_GREY, 1, 3, 72.0);
    EXPECT_EQ(grey.GetStride(), 4);
    EXPECT_EQ(grey.GetDpi(), 72.0);

    CImage free(IMAGE_MODE_PLANES16, 3, 1, 5);
    EXPECT_EQ(free.GetPlanes(), 5);
    EXPECT_EQ(free.GetStride(), 32); // 3 * 16 * 5 / 8 = 30, rounded up
}

TEST(Image, DefaultsAndZeroBitModes)
{
    CImage none;
    EXPECT_EQ(none.GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(none.Width(), 0);
    EXPECT_EQ(none.GetPlanes(), 3);
    EXPECT_EQ(none.GetDpi(), 96.0);
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(none.GetMaskColor(), CColor(255, 255, 255));
    EXPECT_EQ(none.GetLut().GetColors(), 0);

    CImage undefined(static_cast<IMAGE_MODE>(0x80000180), 10, 10, 96.0);
    EXPECT_EQ(undefined.GetBitsPerPlane(), 0);
    EXPECT_EQ(undefined.GetStride(), 0);
    EXPECT_FALSE(undefined.IsEmpty()); // a buffer of 0 bytes
}

TEST(Image, FailedAllocationLeavesAnEmptyImageWithItsSize)
{
    CImage huge(IMAGE_MODE_RGBA, 1 << 20, 1 << 20, 96.0);
    EXPECT_TRUE(huge.IsEmpty());
    EXPECT_EQ(huge.Width(), 1 << 20);
    EXPECT_EQ(huge.Height(), 1 << 20);
    EXPECT_EQ(huge.GetPlanes(), 4);

    CImage negative(IMAGE_MODE_RGB, -3, 4, 96.0);
    EXPECT_TRUE(negative.IsEmpty());

    // Sizes whose byte count does not fit in 64 bits are refused, not wrapped round to a small buffer.
    CImage widest(IMAGE_MODE_PLANES64, INT_MAX, INT_MAX, INT_MAX);
    EXPECT_TRUE(widest.IsEmpty());
    CPixMap map(IMAGE_MODE_PLANES64, INT_MAX, INT_MAX, true, INT_MAX);
    EXPECT_FALSE(map.IsValid());
}

TEST(Image, CopyHasNoPngInfoAssignmentKeepsTheTargets)
{
    auto* infoA = reinterpret_cast<png_info_struct*>(0x1000);
    auto* infoB = reinterpret_cast<png_info_struct*>(0x2000);
    CImage source(IMAGE_MODE_GREY, 4, 4, infoA);
    EXPECT_EQ(source.GetPNGInfo(), infoA);
    CPixMap map(IMAGE_MODE_GREY, 4, 4);
    for (int i = 0; i < 4 * 4; ++i)
        map.plane[0].data[(i / 4) * map.plane[0].rowStep + i % 4] = static_cast<unsigned char>(i);
    ASSERT_TRUE(source.SetBuf(0, 0, map));
    source.SetMaskColor(CColor(1, 2, 3));

    CImage copy(source);
    EXPECT_EQ(copy.GetPNGInfo(), nullptr);
    EXPECT_NE(copy.GetData(), source.GetData());
    EXPECT_EQ(std::memcmp(copy.GetData(), source.GetData(), source.GetDataSize()), 0);
    EXPECT_EQ(copy.GetMaskColor(), CColor(1, 2, 3));

    CImage target(IMAGE_MODE_RGB, 1, 1, infoB);
    target = source;
    EXPECT_EQ(target.GetPNGInfo(), infoB);
    EXPECT_EQ(target.GetMode(), IMAGE_MODE_GREY);
    EXPECT_EQ(target.Width(), 4);
    EXPECT_EQ(std::memcmp(target.GetData(), source.GetData(), source.GetDataSize()), 0);

    const CImage& same = target;
    target = same; // self-assignment changes nothing
    EXPECT_EQ(target.Width(), 4);
}

TEST(Image, CopyingAnEmptyImageCopiesNoBytes)
{
    CImage empty(IMAGE_MODE_RGB, 1 << 20, 1 << 20, 96.0);
    ASSERT_TRUE(empty.IsEmpty());
    CImage copy(empty);
    EXPECT_TRUE(copy.IsEmpty());
    EXPECT_EQ(copy.Width(), 1 << 20);

    CImage target(IMAGE_MODE_RGB, 2, 2, 96.0);
    target = empty;
    EXPECT_TRUE(target.IsEmpty());
}

TEST(Image, ConvertRefusesEveryMode)
{
    CImage image(IMAGE_MODE_RGB, 2, 2, 96.0);
    const unsigned char* before = image.GetData();
    for (uint32_t mode : {1u, 3u, 0x80000003u, 256u, 0u})
        EXPECT_FALSE(image.Convert(static_cast<IMAGE_MODE>(mode)));
    EXPECT_EQ(image.GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(image.GetData(), before);
}

// An RGB image whose pixel (x, y) has the samples x, y and x + y, so that every moved pixel shows where it came
// from; its rows end in padding.
CImage NumberedRgb(int w, int h)
{
    CImage image(IMAGE_MODE_RGB, w, h, 96.0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = image.GetData() + y * image.GetStride() + x * 3;
            p[0] = static_cast<unsigned char>(x);
            p[1] = static_cast<unsigned char>(y);
            p[2] = static_cast<unsigned char>(x + y);
        }
    return image;
}

TEST(Image, ForOverwriteClearsOnlyTheRowPadding)
{
    // 5 RGB pixels are 15 bytes of a 16-byte row; the padding byte must be 0 as in a cleared image.
    CImage image(IMAGE_MODE_RGB, 5, 3, 72.0, CImage::ForOverwrite{});
    ASSERT_FALSE(image.IsEmpty());
    EXPECT_EQ(image.GetDpi(), 72.0);
    EXPECT_EQ(image.GetStride(), 16);
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(image.GetData()[y * 16 + 15], 0) << "row " << y;

    CImage refused(IMAGE_MODE_RGBA, INT_MAX, INT_MAX, 96.0, CImage::ForOverwrite{});
    EXPECT_TRUE(refused.IsEmpty());
}

TEST(Image, CropInPlaceKeepsTheBoxsPixelsAtTheStartOfTheBuffer)
{
    struct Case
    {
        const char* name;
        int x, y, w, h;
        bool cropped;
    };
    const Case cases[] = {
        {"inner box, rows move over their own source", 2, 1, 3, 4, true},
        {"whole image", 0, 0, 7, 6, true},
        {"one pixel at the far corner", 6, 5, 1, 1, true},
        {"reaching past the right edge", 5, 0, 3, 2, false},
        {"reaching past the bottom", 0, 4, 2, 3, false},
        {"negative corner", -1, 0, 2, 2, false},
        {"empty box", 1, 1, 0, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CImage image = NumberedRgb(7, 6);
        const unsigned char* buffer = image.GetData();
        ASSERT_EQ(image.CropInPlace(c.x, c.y, c.w, c.h), c.cropped);
        EXPECT_EQ(image.GetData(), buffer);
        if (!c.cropped) {
            EXPECT_EQ(image.Width(), 7);
            EXPECT_EQ(image.Height(), 6);
            EXPECT_EQ(std::memcmp(image.GetData(), NumberedRgb(7, 6).GetData(), image.GetDataSize()), 0);
            continue;
        }
        ASSERT_EQ(image.Width(), c.w);
        ASSERT_EQ(image.Height(), c.h);
        const int stride = image.GetStride();
        for (int y = 0; y < c.h; ++y) {
            for (int x = 0; x < c.w; ++x) {
                const unsigned char* p = image.GetData() + y * stride + x * 3;
                EXPECT_EQ(p[0], c.x + x);
                EXPECT_EQ(p[1], c.y + y);
                EXPECT_EQ(p[2], c.x + x + c.y + y);
            }
            for (int pad = c.w * 3; pad < stride; ++pad)
                EXPECT_EQ(image.GetData()[y * stride + pad], 0) << "row " << y;
        }
    }
}

TEST(Image, CropInPlaceLeavesABorrowedBufferAlone)
{
    CImage image(IMAGE_MODE_GREY, 4, 1, 96.0);
    unsigned char borrowed[4] = {9, 8, 7, 6};
    image.SetData(auto_array<unsigned char>(borrowed, false));
    EXPECT_FALSE(image.CropInPlace(1, 0, 2, 1));
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(borrowed[0], 9);
}

TEST(Image, SetDataMovesOwnership)
{
    CImage image(IMAGE_MODE_GREY, 4, 1, 96.0);
    unsigned char* own = const_cast<unsigned char*>(image.GetData());
    ASSERT_TRUE(image.OwnsData());

    // The same buffer wrapped without ownership: the image still owns it.
    image.SetData(auto_array<unsigned char>(own, false));
    EXPECT_EQ(image.GetData(), own);
    EXPECT_TRUE(image.OwnsData());

    // A borrowed buffer: the image uses it and frees nothing.
    unsigned char borrowed[4] = {9, 8, 7, 6};
    image.SetData(auto_array<unsigned char>(borrowed, false));
    EXPECT_EQ(image.GetData(), borrowed);
    EXPECT_FALSE(image.OwnsData());

    // Ownership handed over by the caller.
    auto_array<unsigned char> handed(new unsigned char[4]{1, 2, 3, 4});
    unsigned char* raw = handed.get();
    image.SetData(handed);
    EXPECT_EQ(image.GetData(), raw);
    EXPECT_TRUE(image.OwnsData());
    EXPECT_FALSE(handed.owns());

    // The same owned buffer handed back with ownership keeps it owned once.
    image.SetData(auto_array<unsigned char>(raw, true));
    EXPECT_TRUE(image.OwnsData());
}

TEST(AutoArray, CopyHandsTheBufferOver)
{
    auto_array<unsigned char> a(new unsigned char[3]);
    auto_array<unsigned char> b(a);
    EXPECT_EQ(a.get(), b.get());
    EXPECT_FALSE(a.owns());
    EXPECT_TRUE(b.owns());

    auto_array<unsigned char> c(new unsigned char[2]);
    c = b; // c frees its own buffer and takes b's
    EXPECT_EQ(c.get(), a.get());
    EXPECT_TRUE(c.owns());
    EXPECT_FALSE(b.owns());
}

} // namespace
