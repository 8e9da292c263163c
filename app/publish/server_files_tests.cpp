#include "app/publish/server_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/win/little_endian.h"
#include "testing/scratch_folder.h"

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

TEST(ServerFiles, NamesComeFromTheSiteFilesTitle)
{
    const std::string title = SiteTitle("/home/me/Sites/shop.kst");
    EXPECT_EQ(title, "shop");
    EXPECT_EQ(ServerRecordName(title), "db.qbx_shop.php");
    EXPECT_EQ(ServerRecordStagingPath(title), StagingFolder() + "shop.php");
    EXPECT_EQ(ServerRecordDownloadPath(title), StagingFolder().substr(0, StagingFolder().size() - 1) + "shop.log");
    EXPECT_EQ(TransferLogPath(), StagingFolder() + "FTP.log");
    EXPECT_TRUE(StagingFolder().ends_with("/qbx_tmpdir/"));
}

TEST(ServerFiles, TheRecordHasItsGuardLineAndCrLfAndReadsBack)
{
    ScratchFolder folder;
    const std::string path = folder / "shop.php";
    const std::vector<CServerRecordEntry> entries = {
        {"/tmp/qbx_tmpdir/index.html", 1234},
        {"/home/me/files/big.zip", 3000000000LL}, // beyond 32 bits, kept whole
        {"/home/me/files/a\tb.gif", 7},           // a tab in the name: the size is read from the first tab on
    };
    ASSERT_TRUE(WriteServerRecord(path, entries));
    EXPECT_EQ(ReadText(path), "<?php exit(); ?>\r\n"
                              "/tmp/qbx_tmpdir/index.html\t1234\r\n"
                              "/home/me/files/big.zip\t3000000000\r\n"
                              "/home/me/files/a\tb.gif\t7\r\n");
    const std::vector<CServerRecordEntry> back = ReadServerRecord(path);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0], entries[0]);
    EXPECT_EQ(back[1], entries[1]);
    EXPECT_EQ(back[2], (CServerRecordEntry{"/home/me/files/a", 0}));
}

TEST(ServerFiles, ARecordNameWithALineBreakIsLeftOutRatherThanSplittingTheLine)
{
    ScratchFolder folder;
    const std::string path = folder / "r.php";
    ASSERT_TRUE(WriteServerRecord(path, {{"/a\n/b", 5}, {"/c", 6}}));
    EXPECT_EQ(ReadServerRecord(path), (std::vector<CServerRecordEntry>{{"/c", 6}}));
}

TEST(ServerFiles, ReadingToleratesAnyFirstLineLinesWithoutTabsAndPlainLineFeeds)
{
    ScratchFolder folder;
    const std::string path = folder / "r.log";
    WriteText(path, "anything at all\n/a\t12\n42 no tab\r\n/b\tx\n/c\t-3");
    EXPECT_EQ(ReadServerRecord(path), (std::vector<CServerRecordEntry>{{"/a", 12}, {"", 42}, {"/b", 0}, {"/c", -3}}));
    EXPECT_TRUE(ReadServerRecord(folder / "missing").empty());
    WriteText(path, "");
    EXPECT_TRUE(ReadServerRecord(path).empty());
}

TEST(ServerFiles, TheBackupNameCarriesTheLongDateAndTimeWithoutColons)
{
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 3;
    when.tm_wday = 4;
    when.tm_hour = 7;
    when.tm_min = 5;
    when.tm_sec = 9;
    const std::string name = BackupName("shop", when);
    EXPECT_EQ(name, "shop.[Thursday, December 03, 2026 07;05;09].kst");
    EXPECT_EQ(name.find(':'), std::string::npos);
}

using Bytes = std::vector<uint8_t>;

void Append32(Bytes& bytes, uint32_t value)
{
    uint8_t le[4];
    StoreLE32(le, value);
    bytes.insert(bytes.end(), le, le + 4);
}

Bytes LegacyList(uint32_t count, const std::vector<std::string>& names)
{
    Bytes bytes;
    Append32(bytes, count);
    for (const std::string& name : names) {
        Append32(bytes, static_cast<uint32_t>(name.size()));
        bytes.insert(bytes.end(), name.begin(), name.end());
    }
    return bytes;
}

TEST(ServerFiles, TheLegacyListIsBoundedAndKeepsRemovalsInsideTheSite)
{
    const std::string longest(kMaxLegacyNameLength, 'n');
    Bytes oversized = LegacyList(2, {"a.html"});
    Append32(oversized, kMaxLegacyNameLength + 1);
    oversized.resize(oversized.size() + kMaxLegacyNameLength + 1, 'n');
    Bytes cutShort = LegacyList(2, {"a.html"});
    Append32(cutShort, 50);
    cutShort.push_back('x');
    struct Case
    {
        const char* what;
        Bytes bytes;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"plain", LegacyList(2, {"a.html", "files/b.gif"}), {"a.html", "files/b.gif"}},
        {"stops at the count", LegacyList(1, {"a.html", "b.html"}), {"a.html"}},
        {"count beyond the file", LegacyList(0xFFFFFFFF, {"a.html"}), {"a.html"}},
        {"longest name", LegacyList(1, {longest}), {longest}},
        {"name too long ends the list", oversized, {"a.html"}},
        {"short read ends the list", cutShort, {"a.html"}},
        {"unsafe names left out",
         LegacyList(8, {"../up.html", "files/../../x", "/etc/passwd", "\\root", "C:\\x", "", "ok/..x/y", "..\\z"}),
         {"ok/..x/y"}},
        {"only a count", LegacyList(3, {}), {}},
        {"empty file", Bytes{}, {}},
    };
    ScratchFolder folder;
    const std::string path = folder / "qbx.uploaded";
    for (const Case& c : cases) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(c.bytes.data()), c.bytes.size());
        EXPECT_EQ(ReadLegacyUploadList(path), c.names) << c.what;
    }
    EXPECT_TRUE(ReadLegacyUploadList(folder / "missing").empty());
}

} // namespace
