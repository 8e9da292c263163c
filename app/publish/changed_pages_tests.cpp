#include "app/publish/changed_pages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/model/fill_info.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_object.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/win/little_endian.h"
#include "platform/win/log.h"
#include "testing/scratch_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Append32(Bytes& bytes, uint32_t value)
{
    uint8_t le[4];
    StoreLE32(le, value);
    bytes.insert(bytes.end(), le, le + 4);
}

// The tracker's file: the path's length as stored, the path, the count as stored and the indices.
Bytes TrackerFile(uint32_t storedLength, const std::string& path, uint32_t storedCount,
                  const std::vector<uint32_t>& indices)
{
    Bytes bytes;
    Append32(bytes, storedLength);
    bytes.insert(bytes.end(), path.begin(), path.end());
    Append32(bytes, storedCount);
    for (uint32_t index : indices)
        Append32(bytes, index);
    return bytes;
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class CurrentSite : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    explicit CurrentSite(CWebsite* site) : m_site(site) {}
    CWebsite* GetCurrentSite() override { return m_site; }

private:
    CWebsite* m_site;
    SeamsInstalled<CurrentSite> m_installed{*this};
};

class ChangedPagesTest : public ::testing::Test
{
protected:
    void AddPages(int count)
    {
        for (int i = 0; i < count; ++i)
            site.AddPage(std::make_unique<CSitePage>(&site, "p", "p"));
    }
    std::vector<bool> Flags() const
    {
        std::vector<bool> flags;
        for (int i = 0; i < site.GetPageCount(); ++i)
            flags.push_back(site.GetPage(i)->IsChangedSinceUpload());
        return flags;
    }
    // A tracker that has loaded a list belonging to the site.
    CChangedPages Tracking(const std::vector<uint32_t>& indices)
    {
        WriteBytes(file, TrackerFile(static_cast<uint32_t>(site.GetPath().size()), site.GetPath(),
                                     static_cast<uint32_t>(indices.size()), indices));
        CChangedPages tracker(file);
        tracker.ApplyToSite(site);
        return tracker;
    }

    ScratchFolder folder;
    std::string file = folder / "ftpfile.dat";
    CWebsite site{"/sites/a.kst"};
    CurrentSite current{&site};
};

TEST_F(ChangedPagesTest, LoadAcceptsOnlyFilesWhoseLengthsAgreeWithTheirBytes)
{
    const std::string longest(CChangedPages::kMaxSitePathLength, 'p');
    const std::string tooLong(CChangedPages::kMaxSitePathLength + 1, 'p');
    const std::vector<uint32_t> most(CChangedPages::kMaxPageIndices, 1);
    std::vector<uint32_t> tooMany = most;
    tooMany.push_back(2);
    struct Case
    {
        const char* what;
        Bytes bytes;
        bool accepted;
    };
    const Case cases[] = {
        {"empty path and list", TrackerFile(0, "", 0, {}), true},
        {"longest path", TrackerFile(20048, longest, 2, {4, 1}), true},
        {"path one byte too long", TrackerFile(20049, tooLong, 0, {}), false},
        {"negative path length", TrackerFile(0xFFFFFFFF, "", 0, {}), false},
        {"path cut short", TrackerFile(10, "abc", 0, {}), false},
        {"count beyond the indices", TrackerFile(3, "abc", 3, {1, 2}), false},
        {"indices beyond the count", TrackerFile(3, "abc", 1, {1, 2}), false},
        {"huge count", TrackerFile(3, "abc", 0x7FFFFFFF, {1}), false},
        {"most indices", TrackerFile(3, "abc", static_cast<uint32_t>(most.size()), most), true},
        {"one index too many", TrackerFile(3, "abc", static_cast<uint32_t>(tooMany.size()), tooMany), false},
        {"negative count", TrackerFile(3, "abc", 0xFFFFFFFF, {}), false},
        {"no count", Bytes{3, 0, 0, 0, 'a', 'b', 'c'}, false},
        {"empty file", Bytes{}, false},
    };
    for (const Case& c : cases) {
        WriteBytes(file, c.bytes);
        CChangedPages tracker(file);
        tracker.AddPageIndex(9);
        EXPECT_EQ(tracker.Load(), c.accepted) << c.what;
        if (c.accepted)
            continue;
        EXPECT_EQ(tracker.GetSitePath(), "") << c.what;
        EXPECT_EQ(tracker.GetPageIndices(), std::vector<UINT>{9}) << c.what;
    }
    WriteBytes(file, TrackerFile(20048, longest, 2, {4, 1}));
    CChangedPages tracker(file);
    ASSERT_TRUE(tracker.Load());
    EXPECT_EQ(tracker.GetSitePath(), longest);
    EXPECT_EQ(tracker.GetPageIndices(), (std::vector<UINT>{4, 1}));
}

TEST_F(ChangedPagesTest, SaveWritesTheSitesChangedPagesAndLoadReadsThemBack)
{
    AddPages(3);
    CChangedPages tracker = Tracking({2});
    site.GetPage(0)->SetChangedSinceUpload(true);
    ASSERT_TRUE(tracker.Save());
    EXPECT_EQ(ReadBytes(file), TrackerFile(12, "/sites/a.kst", 2, {2, 0}));

    CChangedPages again(file);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetSitePath(), "/sites/a.kst");
    EXPECT_EQ(again.GetPageIndices(), (std::vector<UINT>{2, 0}));
}

TEST_F(ChangedPagesTest, OpeningASiteMarksItsListedPagesOrAllWhenTheListIsNotItsOwn)
{
    AddPages(2);
    struct Case
    {
        const char* what;
        Bytes file;
        bool sameSite;
        std::vector<bool> flags;
        std::vector<UINT> listed;
    };
    const Case cases[] = {
        {"no file", {}, false, {true, true}, {}},
        {"another site", TrackerFile(12, "/sites/b.kst", 1, {0}), false, {true, true}, {}},
        {"own list", TrackerFile(12, "/sites/a.kst", 1, {1}), true, {false, true}, {1}},
        {"own list, index past the pages", TrackerFile(12, "/sites/a.kst", 2, {7, 0}), true, {true, false}, {7, 0}},
        {"more indices than pages", TrackerFile(12, "/sites/a.kst", 3, {0, 1, 1}), true, {true, true}, {}},
        {"path differs in case", TrackerFile(12, "/SITES/a.kst", 1, {1}), false, {true, true}, {}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(file);
        if (!c.file.empty())
            WriteBytes(file, c.file);
        site.GetPage(0)->SetChangedSinceUpload(false);
        site.GetPage(1)->SetChangedSinceUpload(false);
        CChangedPages tracker(file);
        tracker.ApplyToSite(site);
        EXPECT_EQ(tracker.IsSameSite(), c.sameSite) << c.what;
        EXPECT_EQ(Flags(), c.flags) << c.what;
        EXPECT_EQ(tracker.GetPageIndices(), c.listed) << c.what;
    }
}

TEST_F(ChangedPagesTest, ASiteNeverSavedHasEveryPageToUpload)
{
    CWebsite fresh("", "New", CFillStyle(), false, 740, 600, 0, CColor(0, 0, 255), CColor(128, 0, 128));
    fresh.AddPage(std::make_unique<CSitePage>(&fresh, "index", "index"));
    fresh.GetPage(0)->SetChangedSinceUpload(false);
    // With no file, and with a list kept for another site: a site without a path is never the tracker's own.
    for (bool withFile : {false, true}) {
        std::filesystem::remove(file);
        if (withFile)
            WriteBytes(file, TrackerFile(12, "/sites/a.kst", 1, {0}));
        CChangedPages tracker(file);
        tracker.ApplyToSite(fresh);
        EXPECT_FALSE(tracker.IsSameSite()) << withFile;
        EXPECT_TRUE(fresh.GetPage(0)->IsChangedSinceUpload()) << withFile;
        EXPECT_FALSE(tracker.Save()) << withFile;
    }
}

TEST_F(ChangedPagesTest, AnotherSitesListIsNeverOverwritten)
{
    AddPages(1);
    const Bytes other = TrackerFile(12, "/sites/b.kst", 1, {0});
    WriteBytes(file, other);
    CChangedPages tracker(file);
    tracker.ApplyToSite(site);
    EXPECT_FALSE(tracker.Save());
    EXPECT_EQ(ReadBytes(file), other);
}

TEST_F(ChangedPagesTest, CollectingListsPagesWithPictureFilesButNotPictureFilledText)
{
    AddPages(3);
    CChangedPages tracker = Tracking({});
    auto pictureFill = [] {
        auto fill = std::make_unique<CFillInfo>();
        fill->SetImageFile("/pictures/sky.png");
        return fill;
    };
    auto rectangle = std::make_unique<CRectangleObject>(10, 10, SIZE{20, 20}, 0.0);
    rectangle->SetFill(pictureFill());
    site.GetPage(1)->AddObject(std::move(rectangle));
    auto text = std::make_unique<CTextObject>(10, 10, SIZE{20, 20}, 0.0);
    text->SetFill(pictureFill());
    site.GetPage(2)->AddObject(std::move(text));
    site.GetPage(2)->AddObject(std::make_unique<CRectangleObject>(10, 10, SIZE{20, 20}, 0.0));

    tracker.AddPageIndex(0);
    tracker.CollectChangedPages(site);
    EXPECT_EQ(tracker.GetPageIndices(), (std::vector<UINT>{0, 1}));
    tracker.AddPageIndex(1);
    EXPECT_EQ(tracker.GetPageIndices(), (std::vector<UINT>{0, 1}));

    tracker.ClearAll();
    EXPECT_TRUE(tracker.GetPageIndices().empty());
    EXPECT_EQ(Flags(), (std::vector<bool>{false, false, false}));
}

TEST_F(ChangedPagesTest, WithoutADataFolderNothingIsReadOrWritten)
{
    AddPages(1);
    CChangedPages tracker{std::string()};
    tracker.ApplyToSite(site);
    EXPECT_FALSE(tracker.Load());
    EXPECT_FALSE(tracker.Save());
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST_F(ChangedPagesTest, AFailedWriteIsReportedWithoutThrowingAndKeepsWhatWasThere)
{
    AddPages(1);
    CChangedPages tracker = Tracking({0});
    // A folder where the file belongs cannot be replaced by it, whoever runs the test.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    WriteBytes(file + "/kept", {1});
    CFileException error;
    bool saved = true;
    std::vector<std::string> logged;
    const LogSink previous = SetLogSink([&](const std::string& line) { logged.push_back(line); });
    EXPECT_NO_THROW(saved = tracker.Save(&error));
    SetLogSink(previous);
    EXPECT_FALSE(saved);
    EXPECT_NE(error.m_cause, CFileException::none);
    EXPECT_EQ(ReadBytes(file + "/kept"), Bytes{1});
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find("pages changed since the last upload"), std::string::npos) << logged[0];
}

} // namespace
