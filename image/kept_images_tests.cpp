#include "image/kept_images.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Side of an RGBA image large enough to be kept.
constexpr int kSide = 300;

// Empties the calling thread's kept images, so that each test starts with none.
void ForgetKeptImages()
{
    for (int i = 0; i < kMaxKeptImages; ++i)
        KeepImage(std::make_unique<CImage>(IMAGE_MODE_COVERAGE, 1024, 1024));
    for (int i = 0; i < kMaxKeptImages; ++i)
        TakeImageForOverwrite(IMAGE_MODE_COVERAGE, 1024, 1024);
}

std::unique_ptr<CImage> Image(IMAGE_MODE mode, int w, int h)
{
    return std::make_unique<CImage>(mode, w, h, 96.0, CImage::ForOverwrite{});
}

} // namespace

TEST(KeptImages, AnImageLetGoComesBackForTheSameModeAndSizeWithTheStateOfANewOne)
{
    ForgetKeptImages();
    // RGB rows of an odd width have padding, which must come back clear.
    auto image = Image(IMAGE_MODE_RGB, kSide + 1, kSide);
    std::memset(image->GetData(), 0xAB, image->GetDataSize());
    image->SetDpi(300.0);
    image->SetMaskColor(CColor(1, 2, 3));
    const unsigned char* buffer = image->GetData();
    KeepImage(std::move(image));

    auto taken = TakeImageForOverwrite(IMAGE_MODE_RGB, kSide + 1, kSide, 72.0);
    ASSERT_TRUE(taken && !taken->IsEmpty());
    EXPECT_EQ(taken->GetData(), buffer);
    EXPECT_EQ(taken->GetDpi(), 72.0);
    EXPECT_TRUE(taken->GetMaskColor() == CColor());
    EXPECT_EQ(taken->GetPNGInfo(), nullptr);
    const int used = (kSide + 1) * 3, stride = taken->GetStride();
    ASSERT_LT(used, stride);
    for (int y = 0; y < kSide; ++y)
        for (int x = used; x < stride; ++x)
            ASSERT_EQ(taken->GetData()[y * stride + x], 0) << "row " << y;
    // It was handed out: a second request gets a new buffer.
    auto second = TakeImageForOverwrite(IMAGE_MODE_RGB, kSide + 1, kSide, 72.0);
    ASSERT_TRUE(second && !second->IsEmpty());
    EXPECT_NE(second->GetData(), buffer);
}

TEST(KeptImages, ARequestOfAnotherModeOrSizeGetsANewImage)
{
    struct Case
    {
        IMAGE_MODE mode;
        int w, h;
    };
    for (Case c : {Case{IMAGE_MODE_RGB, kSide, kSide}, Case{IMAGE_MODE_RGBA, kSide + 1, kSide},
                   Case{IMAGE_MODE_RGBA, kSide, kSide - 1}}) {
        ForgetKeptImages();
        auto image = Image(IMAGE_MODE_RGBA, kSide, kSide);
        const unsigned char* buffer = image->GetData();
        KeepImage(std::move(image));
        auto taken = TakeImageForOverwrite(c.mode, c.w, c.h);
        ASSERT_TRUE(taken && !taken->IsEmpty());
        EXPECT_NE(taken->GetData(), buffer) << "mode " << c.mode << ", " << c.w << " x " << c.h;
        EXPECT_EQ(taken->GetMode(), c.mode);
        EXPECT_EQ(taken->Width(), c.w);
        EXPECT_EQ(taken->Height(), c.h);
        // The kept one is still there for its own size.
        auto same = TakeImageForOverwrite(IMAGE_MODE_RGBA, kSide, kSide);
        EXPECT_EQ(same->GetData(), buffer);
    }
}

TEST(KeptImages, ABorrowedBufferIsNeverHandedOut)
{
    ForgetKeptImages();
    std::vector<unsigned char> borrowed(size_t(kSide) * kSide * 4);
    auto onBorrowed = std::make_unique<CImage>(IMAGE_MODE_RGBA, kSide, kSide);
    onBorrowed->SetData(auto_array<unsigned char>(borrowed.data(), false));
    KeepImage(std::move(onBorrowed));
    auto taken = TakeImageForOverwrite(IMAGE_MODE_RGBA, kSide, kSide);
    ASSERT_TRUE(taken && !taken->IsEmpty());
    EXPECT_NE(taken->GetData(), borrowed.data());
}

TEST(KeptImages, TheNewestImagesLetGoAreTheOnesKept)
{
    ForgetKeptImages();
    // One more image than are kept, each of its own height.
    std::vector<const unsigned char*> buffers;
    for (int i = 0; i <= kMaxKeptImages; ++i) {
        auto image = Image(IMAGE_MODE_RGBA, kSide, kSide + i);
        buffers.push_back(image->GetData());
        KeepImage(std::move(image));
    }
    std::vector<std::unique_ptr<CImage>> taken;
    for (int i = 1; i <= kMaxKeptImages; ++i) {
        taken.push_back(TakeImageForOverwrite(IMAGE_MODE_RGBA, kSide, kSide + i));
        EXPECT_EQ(taken.back()->GetData(), buffers[i]) << "image " << i;
    }
}
