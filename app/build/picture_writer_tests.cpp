#include "app/build/picture_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "image/image.h"
#include "platform/io/io.h"
#include "platform/win/win_types.h"
#include "testing/scratch_folder.h"

namespace {

std::unique_ptr<CImage> Solid(BYTE grey)
{
    auto image = std::make_unique<CImage>(IMAGE_MODE_RGB, 64, 48);
    CPixMap map(IMAGE_MODE_RGB, 64, 48);
    for (int y = 0; y < 48; ++y)
        std::fill_n(map.Sample(0, y, 0), 64 * 3, grey);
    image->SetBuf(0, 0, map);
    return image;
}

BYTE GreyOf(const std::string& path)
{
    IOError error = IO_OK;
    std::unique_ptr<CImage> image(CIO::LoadImageA(path, IO_LOAD_RGB, &error));
    EXPECT_TRUE(image) << path;
    if (!image)
        return 0;
    CPixMap map(IMAGE_MODE_RGB, 1, 1);
    image->GetBuf(10, 10, map);
    return map.Sample(0, 0, 0)[0];
}

TEST(PictureWriter, TheLastPictureAskedForAPathStays)
{
    ScratchFolder folder;
    CPictureWriter writer(3);
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 8; ++i)
            writer.Save(folder / ("p" + std::to_string(i) + ".png"), Solid(static_cast<BYTE>(10 * round + i)), "page");
    }
    writer.WaitFor(folder / "p3.png");
    EXPECT_EQ(GreyOf(folder / "p3.png"), 193);
    ASSERT_TRUE(writer.WaitAll());
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(GreyOf(folder / ("p" + std::to_string(i) + ".png")), 190 + i);
}

TEST(PictureWriter, TheFirstFailureAskedForIsReportedWithItsContext)
{
    ScratchFolder folder;
    std::filesystem::create_directory(folder / "taken.png");
    std::filesystem::create_directory(folder / "also.png");
    CPictureWriter writer(2);
    writer.Save(folder / "fine.png", Solid(1), "first");
    writer.Save(folder / "taken.png", Solid(2), "second");
    writer.Save(folder / "also.png", Solid(3), "third");
    writer.Save(folder / "unknown.xyz", Solid(4), "fourth");
    std::string path, context;
    EXPECT_FALSE(writer.WaitAll(&path, &context));
    EXPECT_EQ(path, folder / "taken.png");
    EXPECT_EQ(context, "second");
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / "fine.png"));
    // Failures are reported once.
    EXPECT_TRUE(writer.WaitAll());
}

} // namespace
