#include "app/docview/file_preview.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/docview/file_preview_test_support.h"
#include "app/site/site_services_fake.h"
#include "testing/scratch_folder.h"

namespace {

// A selection walks through a site, the same site again, a foreign file, a folder and a missing file; the panel
// says what each one is. Switching between sites again and again keeps only the thumbnail shown (the leak check
// of the sanitizer build sees any other).
TEST(FilePreview, EachSelectionShowsWhatTheFileIs)
{
    SiteServicesFake services;
    ScratchFolder folder;
    const std::string shop = folder / "shop.kst";
    const std::string club = folder / "club.kst";
    const std::string foreign = folder / "page.kst";
    ASSERT_TRUE(WritePreviewSite(shop, "Corner Shop", {2026, 8, 10, 12, 45}));
    ASSERT_TRUE(WritePreviewSite(club, "Chess Club"));
    WriteForeignFile(foreign);
    std::filesystem::create_directory(folder / "old.kst");

    CFilePreview preview;
    EXPECT_TRUE(preview.TakeFirstOpening());
    EXPECT_FALSE(preview.TakeFirstOpening());

    ASSERT_TRUE(preview.Select(shop));
    ASSERT_TRUE(preview.HasSite());
    FilePreviewTexts texts = MakeFilePreviewTexts(preview);
    EXPECT_EQ(texts.name, "Corner Shop");
    EXPECT_EQ(texts.pages, "2");
    EXPECT_EQ(texts.objects, "3");
    EXPECT_EQ(texts.sent, "10. August 12:45");
    EXPECT_FALSE(texts.cannotRead);
    ASSERT_NE(preview.GetThumbnail(), nullptr);

    // The file shown already is not read again, even when it has gone meanwhile.
    const std::string copy = folder / "copy.kst";
    std::filesystem::copy_file(shop, copy);
    ASSERT_TRUE(preview.Select(copy));
    std::filesystem::remove(copy);
    EXPECT_TRUE(preview.Select(copy));
    EXPECT_EQ(preview.GetSummary().name, "Corner Shop");

    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(preview.Select(i % 2 ? club : shop));
    EXPECT_EQ(MakeFilePreviewTexts(preview).sent, "Never");
    EXPECT_EQ(MakeFilePreviewTexts(preview).name, "Chess Club");

    struct Case
    {
        std::string path;
        bool repaint;
        bool cannotRead;
    };
    const Case cases[] = {
        {foreign, true, true},
        {folder / "old.kst", true, false},
        {std::string(), true, false},
        {folder / "missing.kst", false, false},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(preview.Select(shop));
        SCOPED_TRACE(c.path);
        EXPECT_EQ(preview.Select(c.path), c.repaint);
        EXPECT_FALSE(preview.HasSite());
        texts = MakeFilePreviewTexts(preview);
        EXPECT_EQ(texts.cannotRead, c.cannotRead);
        EXPECT_EQ(texts.name + texts.pages + texts.objects + texts.sent, "");
        EXPECT_EQ(preview.ComposeBox(4, 3), std::vector<unsigned char>(4 * 3 * 3, 255));
    }
}

TEST(FilePreview, DatesShowDayMonthNameAndTwoDigitTime)
{
    struct Case
    {
        int year, month, day, hour, minute;
        const char* shown;
    };
    const Case cases[] = {
        {2026, 8, 10, 12, 45, "10. August 12:45"},
        {2027, 1, 5, 9, 3, "5. January 09:03"},
        {2025, 12, 31, 0, 0, "31. December 00:00"},
        {-1, 0, 0, 0, 0, "Never"},
        {2026, 13, 1, 0, 0, "Never"},
    };
    for (const Case& c : cases) {
        SiteFileSummary summary;
        summary.sentYear = c.year;
        summary.sentMonth = c.month;
        summary.sentDay = c.day;
        summary.sentHour = c.hour;
        summary.sentMinute = c.minute;
        EXPECT_EQ(FormatSentDate(summary), c.shown);
    }
}

// A thumbnail whose pixel (x, y) is (x, y, 7).
std::unique_ptr<CPixMap> Gradient(int width, int height)
{
    auto map = std::make_unique<CPixMap>(IMAGE_MODE_RGB, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            *map->Sample(x, y, 0) = static_cast<unsigned char>(x);
            *map->Sample(x, y, 1) = static_cast<unsigned char>(y);
            *map->Sample(x, y, 2) = 7;
        }
    return map;
}

// A smaller thumbnail stands centred on grey; a larger one shows its central part; none leaves the box white.
TEST(FilePreview, TheBoxCentresOrCropsTheThumbnail)
{
    struct Case
    {
        int tw, th;  // thumbnail
        int w, h;    // box
        int x, y;    // a box pixel
        int r, g, b; // its colour
    };
    const Case cases[] = {
        {4, 2, 10, 8, 3, 3, 0, 0, 7},       // the thumbnail's top-left corner at ((10-4)/2, (8-2)/2)
        {4, 2, 10, 8, 6, 4, 3, 1, 7},       // its bottom-right corner
        {4, 2, 10, 8, 2, 3, 190, 190, 190}, // grey left of it
        {4, 2, 10, 8, 3, 5, 190, 190, 190}, // and below it
        {30, 20, 10, 8, 0, 0, 10, 6, 7},    // cropped: the box starts at ((30-10)/2, (20-8)/2)
        {30, 20, 10, 8, 9, 7, 19, 13, 7},
        {30, 4, 10, 8, 0, 2, 10, 0, 7}, // wider and lower: cropped across, centred down
    };
    for (const Case& c : cases) {
        const auto thumbnail = Gradient(c.tw, c.th);
        const std::vector<unsigned char> box = ComposePreviewBox(thumbnail.get(), c.w, c.h);
        ASSERT_EQ(box.size(), static_cast<size_t>(c.w * c.h * 3));
        const size_t at = (static_cast<size_t>(c.y) * c.w + c.x) * 3;
        EXPECT_EQ((std::array<int, 3>{box[at], box[at + 1], box[at + 2]}), (std::array<int, 3>{c.r, c.g, c.b}))
            << c.tw << "x" << c.th << " at " << c.x << "," << c.y;
    }
    EXPECT_EQ(ComposePreviewBox(nullptr, 2, 2), std::vector<unsigned char>(12, 255));
}

} // namespace
