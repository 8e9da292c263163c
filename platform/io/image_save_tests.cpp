// Saving images by the file name's extension: each format read back, and the failures that leave nothing behind.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "image/image.h"
#include "platform/io/io.h"
#include "testing/scratch_folder.h"

namespace {

// Smooth ramps and a hard edge, so that lossy formats show their error and lossless ones must match exactly.
CImage TestPicture(IMAGE_MODE mode, int w, int h)
{
    CImage image(mode, w, h);
    const int planes = image.GetPlanes();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = image.GetData() + y * image.GetStride() + x * planes;
            const unsigned char rgb[3] = {static_cast<unsigned char>(x * 255 / (w - 1)),
                                          static_cast<unsigned char>(y * 255 / (h - 1)),
                                          static_cast<unsigned char>(x < w / 2 ? 40 : 220)};
            if (planes == 1)
                p[0] = rgb[0];
            else if (planes == 3)
                std::copy(rgb, rgb + 3, p);
            else {
                p[0] = 128;
                std::copy(rgb, rgb + 3, p + 1);
            }
        }
    return image;
}

struct SampleErrors
{
    int worst = 0;
    double mean = 0;
};

// How far the loaded image's samples lie from the RGB picture's.
SampleErrors Errors(const CImage& expected, const CImage& loaded)
{
    SampleErrors errors;
    long total = 0;
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            for (int c = 0; c < 3; ++c) {
                const int a = expected.GetData()[y * expected.GetStride() + x * 3 + c];
                const int b = loaded.GetData()[y * loaded.GetStride() + x * loaded.GetPlanes() + c +
                                               (loaded.GetPlanes() == 4 ? 1 : 0)];
                errors.worst = std::max(errors.worst, std::abs(a - b));
                total += std::abs(a - b);
            }
    errors.mean = double(total) / (expected.Width() * expected.Height() * 3);
    return errors;
}

TEST(SaveImage, EachFormatLoadsBackAsSaved)
{
    struct Case
    {
        const char* name;
        double meanTolerance; // 0: every sample exact
    };
    // GIF holds 256 colours of a picture with more; JPEG loses a little even at 98, most at the hard edge.
    const Case cases[] = {{"a.png", 0}, {"a.PNG", 0}, {"a.bmp", 0}, {"a.gif", 8}, {"a.jpg", 3}, {"a.JPEG", 3}};
    ScratchFolder folder;
    const CImage picture = TestPicture(IMAGE_MODE_RGB, 37, 21); // odd width: BMP rows are padded
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(CIO::SaveImage(folder / c.name, picture, 8, 98));
        IOError error = IO_OK;
        std::unique_ptr<CImage> loaded(CIO::LoadImageA(folder / c.name, IO_LOAD_DEFAULT, &error));
        ASSERT_TRUE(loaded) << error;
        EXPECT_EQ(loaded->Width(), 37);
        EXPECT_EQ(loaded->Height(), 21);
        const SampleErrors errors = Errors(picture, *loaded);
        if (c.meanTolerance == 0) {
            EXPECT_EQ(errors.worst, 0);
        }
        EXPECT_LE(errors.mean, c.meanTolerance);
    }
}

TEST(SaveImage, AlphaAndGreyPicturesAreWrittenAsTheirColours)
{
    ScratchFolder folder;
    const CImage rgba = TestPicture(IMAGE_MODE_RGBA, 16, 16);
    const CImage rgb = TestPicture(IMAGE_MODE_RGB, 16, 16);
    ASSERT_TRUE(CIO::SaveImage(folder / "a.bmp", rgba, 8, 98));
    std::unique_ptr<CImage> loaded(CIO::LoadImageA(folder / "a.bmp", IO_LOAD_DEFAULT, nullptr));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(Errors(rgb, *loaded).worst, 0);

    ASSERT_TRUE(CIO::SaveImage(folder / "g.jpg", TestPicture(IMAGE_MODE_GREY, 16, 16), 8, 98));
    loaded.reset(CIO::LoadImageA(folder / "g.jpg", IO_LOAD_DEFAULT, nullptr));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Width(), 16);
}

TEST(SaveImage, FailuresLeaveNoFileBehind)
{
    ScratchFolder folder;
    const CImage picture = TestPicture(IMAGE_MODE_RGB, 8, 8);
    for (const char* name : {"a.tif", "noextension", "a.jpg.txt"}) {
        EXPECT_FALSE(CIO::SaveImage(folder / name, picture, 8, 98)) << name;
        EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    }
    EXPECT_FALSE(CIO::SaveImage(folder / "empty.jpg", CImage(), 8, 98));
    EXPECT_FALSE(std::filesystem::exists(folder / "empty.jpg"));
    EXPECT_FALSE(CIO::SaveImage(folder / "missing/a.gif", picture, 8, 98));

    // A folder of the same name is neither written nor removed.
    for (const char* name : {"dir.jpg", "dir.gif", "dir.bmp", "dir.png"}) {
        std::filesystem::create_directory(folder / name);
        EXPECT_FALSE(CIO::SaveImage(folder / name, picture, 8, 98)) << name;
        EXPECT_TRUE(std::filesystem::is_directory(folder / name)) << name;
    }
}

} // namespace
