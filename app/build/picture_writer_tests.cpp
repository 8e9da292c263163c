#include "app/build/picture_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <memory>

#include "image/image.h"
#include "platform/io/io.h"
#include "platform/win/task_pool.h"
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
    CTaskPool pool(3);
    CPictureWriter writer(pool);
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
    CTaskPool pool(2);
    CPictureWriter writer(pool);
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

TEST(PictureWriter, ABatchHoldsNoPictureBackFromWhoeverWaitsOrLooks)
{
    ScratchFolder folder;
    CTaskPool pool(4);
    CPictureWriter writer(pool);
    {
        CPictureWriter::Batch outer(writer);
        // With every thread asleep, a picture asked for in a batch is still taken while the batch is open: the
        // maker here is waited on by nothing the writer sees.
        std::promise<void> made;
        std::future<void> seen = made.get_future();
        writer.Save(
            folder / "early.png",
            [&made] {
                made.set_value();
                return Solid(5);
            },
            "page", 1);
        seen.wait();
        {
            CPictureWriter::Batch inner(writer);
            writer.Save(folder / "a.png", Solid(1), "page");
            writer.Save(folder / "a.png", Solid(2), "page");
            writer.Save(folder / "b.png", [] { return Solid(3); }, "page", 7);
            writer.WaitFor(folder / "a.png");
            EXPECT_EQ(GreyOf(folder / "a.png"), 2);
            writer.WaitForGroup(7);
            EXPECT_EQ(GreyOf(folder / "b.png"), 3);
            writer.Save(folder / "c.png", Solid(4), "page");
        }
        writer.Save(folder / "d.png", Solid(6), "page");
    }
    ASSERT_TRUE(writer.WaitAll());
    EXPECT_EQ(GreyOf(folder / "early.png"), 5);
    EXPECT_EQ(GreyOf(folder / "c.png"), 4);
    EXPECT_EQ(GreyOf(folder / "d.png"), 6);
}

} // namespace
