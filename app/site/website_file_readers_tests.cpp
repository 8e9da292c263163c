#include "app/site/website.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/record_stream.h"
#include "app/model/restore_on_exit.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/object_factory.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_file_test_support.h"
#include "app/site/website_file_test_support.h"
#include "app/site/site_services_fake.h"
#include "testing/scratch_folder.h"

namespace {

using namespace site_file_test;

// ---------------------------------------------------------------------------------------------------------------
// The light readers

TEST_F(SiteFileTest, LightReadersFindTheThumbnailAndTheThemeTexts)
{
    auto site = MakeSite();
    const std::string themePath = WriteFile("blue.kth", Saved(*site, true, "Business", "Blue"));
    const std::string sitePath = WriteFile("shop.kst", Saved(*site));

    bool failed = false;
    std::unique_ptr<CPixMap> thumbnail = ReadSiteThumbnail(themePath, failed);
    ASSERT_TRUE(thumbnail);
    EXPECT_FALSE(failed);
    EXPECT_EQ(thumbnail->mode, IMAGE_MODE_RGB);
    EXPECT_EQ(thumbnail->width, 159);
    EXPECT_EQ(thumbnail->height, 200);
    thumbnail = ReadSiteThumbnail(sitePath, failed);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->width, 131);
    EXPECT_EQ(thumbnail->height, 134);
    // The page (640 x 480) fills the width; above and below it the preview is white.
    const CColor top(*thumbnail, 65, 2), middle(*thumbnail, 2, 67);
    EXPECT_EQ(top, CColor(255, 255, 255));
    EXPECT_LT(std::abs(middle.GetColor()[2] - 240), 12);

    std::string category, name;
    ASSERT_TRUE(ReadSiteFileInfo(themePath, category, name));
    EXPECT_EQ(category, "Business");
    EXPECT_EQ(name, "Blue");

    // An old file's raw thumbnail comes back as stored, without its row padding.
    SiteFields old;
    old.major = 1;
    old.minor = 7;
    old.raw = {2, 3, 7};
    thumbnail = ReadSiteThumbnail(WriteFile("old.kst", SiteFile(old).data), failed);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->width, 2);
    EXPECT_EQ(thumbnail->height, 3);
    EXPECT_EQ(*thumbnail->Sample(1, 2, 2), 50);

    // Neither asks the user about converting, even for a file the reader would convert.
    SiteFields v510;
    v510.minor = 10;
    v510.theme = 1;
    const std::string converted = WriteFile("v510.kth", SiteFile(v510).data);
    EXPECT_TRUE(ReadSiteThumbnail(converted, failed));
    EXPECT_TRUE(ReadSiteFileInfo(converted, category, name));
    EXPECT_EQ(name, "Blue");
    EXPECT_TRUE(services.questions.empty());
}

// The open dialog's preview learns the name, the counts and the last upload from the header alone.
TEST_F(SiteFileTest, ThumbnailReaderTellsNameCountsAndTheLastUpload)
{
    auto site = MakeSite();
    site->GetPage(1)->AddObject(std::make_unique<CRectangleObject>(10, 10, SIZE{20, 20}, 0.0));
    bool failed = true;
    SiteFileSummary summary;
    ASSERT_TRUE(ReadSiteThumbnail(WriteFile("new.kst", Saved(*site)), failed, &summary));
    EXPECT_FALSE(failed);
    EXPECT_EQ(summary.name, "Shop");
    EXPECT_EQ(summary.pageCount, 2);
    EXPECT_EQ(summary.objectCount, 3);
    EXPECT_EQ(summary.sentYear, -1); // a new site's values have all bits set

    struct Case
    {
        std::array<uint16_t, 5> stored;
        std::array<int, 5> read; // year, month, day, hour, minute
    };
    const Case cases[] = {
        {{2026, 8, 10, 12, 45}, {2026, 8, 10, 12, 45}}, {{1999, 1, 1, 0, 0}, {1999, 1, 1, 0, 0}},
        {{2026, 13, 10, 12, 45}, {-1, 0, 0, 0, 0}},     {{2026, 0, 10, 12, 45}, {-1, 0, 0, 0, 0}},
        {{2026, 8, 10, 24, 0}, {-1, 0, 0, 0, 0}},       {{65535, 8, 10, 12, 45}, {-1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < CWebsite::kReservedValueCount; ++i)
            site->SetReservedValue(i, c.stored[static_cast<size_t>(i)]);
        ASSERT_TRUE(ReadSiteThumbnail(WriteFile("sent.kst", Saved(*site)), failed, &summary));
        const std::array<int, 5> read = {summary.sentYear, summary.sentMonth, summary.sentDay, summary.sentHour,
                                         summary.sentMinute};
        EXPECT_EQ(read, c.read) << c.stored[0] << "-" << c.stored[1] << " " << c.stored[3];
    }

    // A file that is no site leaves the summary as it was.
    summary.name = "kept";
    EXPECT_FALSE(ReadSiteThumbnail(WriteFile("picture.kst", SmallJpeg().data), failed, &summary));
    EXPECT_TRUE(failed);
    EXPECT_EQ(summary.name, "kept");
}

TEST_F(SiteFileTest, LightReadersRefuseCutAndForeignFiles)
{
    auto site = MakeSite();
    const std::vector<BYTE> theme = Saved(*site, true, "Business", "Blue");
    struct Case
    {
        const char* what;
        size_t length;
        bool thumbnail;
        bool info;
    };
    // The offsets are found from the file: the texts are "Business" and "Blue" right after the JPEG stream.
    const std::string needle = std::string("\x08") + "Business" + "\x04" + "Blue";
    const auto found = std::search(theme.begin(), theme.end(), needle.begin(), needle.end());
    ASSERT_NE(found, theme.end());
    const size_t jpegEnd = static_cast<size_t>(found - theme.begin());
    const Case cases[] = {
        {"cut in the signature", 5, false, false},
        {"cut in the header", 40, false, false},
        {"cut in the thumbnail", jpegEnd - 10, false, false},
        {"cut after the thumbnail", jpegEnd, true, false},
        {"cut in the theme name", jpegEnd + needle.size() - 1, true, false},
        {"cut after the theme texts", jpegEnd + needle.size(), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path =
            WriteFile("cut.kth", std::vector<BYTE>(theme.begin(), theme.begin() + static_cast<ptrdiff_t>(c.length)));
        bool failed = false;
        EXPECT_EQ(ReadSiteThumbnail(path, failed) != nullptr, c.thumbnail);
        EXPECT_EQ(failed, !c.thumbnail);
        std::string category = "old", name = "old";
        EXPECT_EQ(ReadSiteFileInfo(path, category, name), c.info);
    }

    // A thumbnail length beyond the file is refused.
    SiteFields lying;
    lying.theme = 1;
    lying.jpegLength = 0xFFFFFFF0;
    const std::string lyingPath = WriteFile("lying.kth", SiteFile(lying).data);
    bool failed = false;
    EXPECT_FALSE(ReadSiteThumbnail(lyingPath, failed));
    EXPECT_TRUE(failed);
    std::string category, name;
    EXPECT_FALSE(ReadSiteFileInfo(lyingPath, category, name));

    const std::string picture = WriteFile("picture.kst", SmallJpeg().data);
    EXPECT_FALSE(ReadSiteThumbnail(picture, failed));
    EXPECT_TRUE(failed);
    EXPECT_FALSE(ReadSiteFileInfo(picture, category, name));

    EXPECT_FALSE(ReadSiteThumbnail(folder / "missing.kst", failed));
    EXPECT_TRUE(failed);
    EXPECT_FALSE(ReadSiteFileInfo(folder / "missing.kst", category, name));
}

} // namespace
