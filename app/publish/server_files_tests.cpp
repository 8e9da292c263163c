#include "app/publish/server_files.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <filesystem>
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
    const std::string hash(64, 'c');
    const std::vector<CServerRecordEntry> entries = {
        {"/tmp/qbx_tmpdir/index.html", 1234, hash},
        {"/home/me/files/big.zip", 3000000000LL, {}}, // beyond 32 bits, kept whole; no hash known
        {"/home/me/files/a\tb.gif", 7, hash},         // cannot be read back as itself: left out
        {"/a\n/b", 5, {}},                            // would split its line: left out
    };
    ASSERT_TRUE(WriteServerRecord(path, entries));
    EXPECT_EQ(ReadText(path), "<?php exit(); ?>\r\n"
                              "/tmp/qbx_tmpdir/index.html\t1234\t" +
                                  hash +
                                  "\r\n"
                                  "/home/me/files/big.zip\t3000000000\r\n");
    EXPECT_EQ(ReadServerRecord(path), (std::vector<CServerRecordEntry>{entries[0], entries[1]}));
}

TEST(ServerFiles, TheHashIsTheFilesSha256)
{
    ScratchFolder folder;
    const struct
    {
        std::string bytes;
        const char* hash;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        WriteText(folder / "f", c.bytes);
        EXPECT_EQ(FileContentHash(folder / "f"), c.hash) << c.bytes.size();
    }
    EXPECT_EQ(FileContentHash(folder / "missing"), "");
}

TEST(ServerFiles, ARecordBeyondWhatASiteHoldsIsRefusedWithoutBeingRead)
{
    ScratchFolder folder;
    const std::string path = folder / "r.log";
    bool refused = false;

    // 64 MB of empty lines: refused by its size alone.
    {
        std::ofstream out(path, std::ios::binary);
        const std::string lines(1 << 20, '\n');
        for (int i = 0; i < 64; ++i)
            out << lines;
    }
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_TRUE(ReadServerRecord(path, &refused).empty());
    EXPECT_TRUE(refused);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024) << "kilobytes taken to refuse it";

    // Within the bytes, but more lines than any site has files.
    WriteText(path, "guard\r\n" + std::string(kMaxServerRecordEntries + 1, '\n'));
    EXPECT_TRUE(ReadServerRecord(path, &refused).empty());
    EXPECT_TRUE(refused);
    WriteText(path, "guard\r\n" + std::string(kMaxServerRecordEntries, '\n'));
    EXPECT_EQ(ReadServerRecord(path, &refused).size(), kMaxServerRecordEntries);
    EXPECT_FALSE(refused);

    // The writer never leaves a record its reader refuses: beyond the bound it keeps the guard line alone.
    std::vector<CServerRecordEntry> many(kMaxServerRecordEntries + 1, CServerRecordEntry{"/a", 1, {}});
    ASSERT_TRUE(WriteServerRecord(path, many));
    EXPECT_EQ(ReadText(path), "<?php exit(); ?>\r\n");
    EXPECT_TRUE(ReadServerRecord(path, &refused).empty());
    EXPECT_FALSE(refused);
}

TEST(ServerFiles, ReadingToleratesAnyFirstLineLinesWithoutTabsAndPlainLineFeeds)
{
    ScratchFolder folder;
    const std::string path = folder / "r.log";
    const std::string hash(64, '0');
    // A third field that is no hash is ignored, as is anything after the hash.
    WriteText(path, "anything at all\n/a\t12\n42 no tab\r\n/b\tx\n/c\t-3\n/d\t4\tnot-a-hash\n/e\t5\t" + hash +
                        "\n/f\t6\t" + hash + "\tmore");
    EXPECT_EQ(ReadServerRecord(path), (std::vector<CServerRecordEntry>{{"/a", 12, {}},
                                                                       {"", 42, {}},
                                                                       {"/b", 0, {}},
                                                                       {"/c", -3, {}},
                                                                       {"/d", 4, {}},
                                                                       {"/e", 5, hash},
                                                                       {"/f", 6, {}}}));
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

void AppendUint32(Bytes& bytes, uint32_t value)
{
    uint8_t le[4];
    StoreLE32(le, value);
    bytes.insert(bytes.end(), le, le + 4);
}

Bytes LegacyList(uint32_t count, const std::vector<std::string>& names)
{
    Bytes bytes;
    AppendUint32(bytes, count);
    for (const std::string& name : names) {
        AppendUint32(bytes, static_cast<uint32_t>(name.size()));
        bytes.insert(bytes.end(), name.begin(), name.end());
    }
    return bytes;
}

TEST(ServerFiles, TheLegacyListIsBoundedAndKeepsRemovalsInsideTheSite)
{
    const std::string longest(kMaxLegacyNameLength, 'n');
    Bytes oversized = LegacyList(2, {"a.html"});
    AppendUint32(oversized, kMaxLegacyNameLength + 1);
    oversized.resize(oversized.size() + kMaxLegacyNameLength + 1, 'n');
    Bytes cutShort = LegacyList(2, {"a.html"});
    AppendUint32(cutShort, 50);
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

TEST(ServerFiles, ALegacyListBeyondWhatASiteHoldsIsRefused)
{
    ScratchFolder folder;
    const std::string path = folder / "qbx.uploaded";
    const auto write = [&](const Bytes& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    };
    bool refused = false;
    // One-byte names, one more than any site's files.
    write(LegacyList(kMaxLegacyEntries + 1, std::vector<std::string>(kMaxLegacyEntries + 1, "a")));
    EXPECT_TRUE(ReadLegacyUploadList(path, &refused).empty());
    EXPECT_TRUE(refused);
    write(LegacyList(kMaxLegacyEntries, std::vector<std::string>(kMaxLegacyEntries, "a")));
    EXPECT_EQ(ReadLegacyUploadList(path, &refused).size(), kMaxLegacyEntries);
    EXPECT_FALSE(refused);
    // 64 MB: refused by its size before anything is read.
    std::filesystem::resize_file(path, 64 << 20);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    EXPECT_TRUE(ReadLegacyUploadList(path, &refused).empty());
    EXPECT_TRUE(refused);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 16 * 1024) << "kilobytes taken to refuse it";
}

} // namespace
