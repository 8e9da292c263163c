#include "platform/win/key_store.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "testing/scratch_folder.h"

namespace {

class KeyStoreTest : public ::testing::Test
{
protected:
    ScratchFolder m_folder;
    const std::string m_path = m_folder / "Pelorin/settings.keys";
};

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

mode_t ModeOf(const std::string& path)
{
    struct stat st
    {
    };
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

int RenameFailingWithEio(const char*, const char*)
{
    errno = EIO;
    return -1;
}

TEST_F(KeyStoreTest, MissingFileGivesAnEmptyStoreAndEveryDefault)
{
    CKeyStore store(m_path);
    ASSERT_TRUE(store.Load());
    EXPECT_EQ(store.GetProfileInt("Settings", "Default page width", 740), 740u);
    EXPECT_EQ(static_cast<int>(store.GetProfileInt("Settings", "Use Built In Browser", -1)), -1);
    EXPECT_EQ(store.GetProfileString("Settings", "Default font", "Arial"), "Arial");
    std::vector<BYTE> data = {7};
    EXPECT_FALSE(store.GetProfileBinary("Settings", "FTP profiles", &data));
    EXPECT_EQ(data, std::vector<BYTE>{7});
    EXPECT_FALSE(store.HasSection("Settings"));
}

TEST_F(KeyStoreTest, ValuesOfEachTypeComeBackFromTheFile)
{
    const int ints[] = {0, 1, -1, INT_MIN, INT_MAX, 0x00FF0000};
    const std::string strings[] = {"", "Arial", std::string("a\0b", 3), "C:\\Caf\xE9\\\x80\xFF"};
    const std::vector<BYTE> blocks[] = {{}, {0, 0}, {1, 2, 3, 0, 255}, std::vector<BYTE>(70000, 0xA5)};

    CKeyStore store(m_path);
    for (size_t i = 0; i < std::size(ints); ++i)
        ASSERT_TRUE(store.WriteProfileInt("Settings", "int " + std::to_string(i), ints[i]));
    for (size_t i = 0; i < std::size(strings); ++i)
        ASSERT_TRUE(store.WriteProfileString("Browser-01", "string " + std::to_string(i), strings[i]));
    for (size_t i = 0; i < std::size(blocks); ++i)
        ASSERT_TRUE(store.WriteProfileBinary("Browsers\\Sub", "block " + std::to_string(i), blocks[i].data(),
                                             blocks[i].size()));
    ASSERT_TRUE(store.Save());

    CKeyStore again(m_path);
    ASSERT_TRUE(again.Load());
    for (size_t i = 0; i < std::size(ints); ++i)
        EXPECT_EQ(again.GetProfileInt("Settings", "int " + std::to_string(i), 12345), static_cast<UINT>(ints[i]));
    for (size_t i = 0; i < std::size(strings); ++i)
        EXPECT_EQ(again.GetProfileString("Browser-01", "string " + std::to_string(i), "?"), strings[i]);
    for (size_t i = 0; i < std::size(blocks); ++i) {
        std::vector<BYTE> data;
        EXPECT_TRUE(again.GetProfileBinary("Browsers\\Sub", "block " + std::to_string(i), &data));
        EXPECT_EQ(data, blocks[i]) << i;
    }
}

TEST_F(KeyStoreTest, AValueReadsOnlyAsItsOwnTypeAndAWriteReplacesTheType)
{
    CKeyStore store(m_path);
    store.WriteProfileString("Settings", "Count", "3");
    EXPECT_EQ(store.GetProfileInt("Settings", "Count", 9), 9u);
    EXPECT_FALSE(store.GetProfileBinary("Settings", "Count", nullptr));
    store.WriteProfileInt("Settings", "Count", 3);
    EXPECT_EQ(store.GetProfileInt("Settings", "Count", 9), 3u);
    EXPECT_EQ(store.GetProfileString("Settings", "Count", "none"), "none");
    // Names are kept apart exactly: another section or value name is another value.
    EXPECT_EQ(store.GetProfileInt("Setting", "Count", 9), 9u);
    EXPECT_EQ(store.GetProfileInt("Settings", "Count ", 9), 9u);
    EXPECT_FALSE(store.WriteProfileInt("", "Count", 1));
}

TEST_F(KeyStoreTest, DeletingAValueOrATreeLeavesTheRestAndSurvivesTheFile)
{
    CKeyStore store(m_path);
    store.WriteProfileInt("Browsers", "Count", 2);
    store.WriteProfileString("Browsers\\Old", "Path", "/usr/bin/a");
    store.WriteProfileString("Browsers\\Old\\Deeper", "Path", "/usr/bin/b");
    store.WriteProfileString("Browser-01", "Path", "/usr/bin/c");
    store.WriteProfileString("Browsers2", "Path", "/usr/bin/d");
    store.WriteProfileInt("Settings", "CounterID", 4);
    store.WriteProfileInt("Settings", "Default DOCTYPE", 1);

    EXPECT_TRUE(store.DeleteValue("Settings", "CounterID"));
    EXPECT_FALSE(store.DeleteValue("Settings", "CounterID"));
    EXPECT_FALSE(store.DeleteValue("Nowhere", "CounterID"));
    EXPECT_TRUE(store.DeleteTree("Browsers"));
    EXPECT_FALSE(store.DeleteTree("Browsers"));
    EXPECT_FALSE(store.DeleteTree(""));
    ASSERT_TRUE(store.Save());

    CKeyStore again(m_path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetProfileInt("Settings", "CounterID", -5), static_cast<UINT>(-5));
    EXPECT_EQ(again.GetProfileInt("Settings", "Default DOCTYPE", 0), 1u);
    EXPECT_EQ(again.GetProfileInt("Browsers", "Count", 0), 0u);
    for (const char* gone : {"Browsers", "Browsers\\Old", "Browsers\\Old\\Deeper"})
        EXPECT_FALSE(again.HasSection(gone)) << gone;
    // Siblings whose names merely start the same way are other keys.
    EXPECT_EQ(again.GetProfileString("Browser-01", "Path"), "/usr/bin/c");
    EXPECT_EQ(again.GetProfileString("Browsers2", "Path"), "/usr/bin/d");
    // Deleting only a key's sub-keys works too.
    store.WriteProfileString("A\\B", "x", "1");
    EXPECT_TRUE(store.DeleteTree("A"));
    EXPECT_FALSE(store.HasSection("A\\B"));
}

TEST_F(KeyStoreTest, FileAndFolderAreTheUsersAlone)
{
    CKeyStore store(m_path);
    store.WriteProfileString("Settings", "FTP password", "secret");
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(ModeOf(m_folder / "Pelorin"), 0700u);
    EXPECT_EQ(ModeOf(m_path), 0600u);

    // A folder or file someone opened up is closed again on the next save.
    ASSERT_EQ(::chmod((m_folder / "Pelorin").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(m_path.c_str(), 0644), 0);
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(ModeOf(m_folder / "Pelorin"), 0700u);
    EXPECT_EQ(ModeOf(m_path), 0600u);

    // Missing folders above are made as well.
    CKeyStore deep(m_folder / "a/b/Pelorin/settings.keys");
    ASSERT_TRUE(deep.Save());
    EXPECT_EQ(ModeOf(m_folder / "a/b/Pelorin"), 0700u);
}

TEST_F(KeyStoreTest, DefaultFileIsInTheSettingsFolder)
{
    const std::string path = CKeyStore::DefaultPath();
    EXPECT_EQ(path.substr(path.size() - std::string("/Pelorin/settings.keys").size()), "/Pelorin/settings.keys");

    // Without a settings folder there is no file: the defaults hold and nothing is written anywhere else.
    CKeyStore nowhere("");
    EXPECT_TRUE(nowhere.Load());
    nowhere.WriteProfileInt("Settings", "Value", 1);
    CFileException error;
    EXPECT_FALSE(nowhere.Save(&error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
}

TEST_F(KeyStoreTest, AWriteCutShortLeavesThePreviousSettings)
{
    CKeyStore store(m_path);
    store.WriteProfileInt("Settings", "Default page width", 900);
    ASSERT_TRUE(store.Save());
    const std::vector<uint8_t> saved = FileBytes(m_path);

    // The new file never takes the old one's place: its rename fails.
    store.WriteProfileInt("Settings", "Default page width", 1000);
    CFileException error;
    ASSERT_FALSE(SaveFileSafely(
        m_path,
        [&](CFile& file) {
            const std::vector<uint8_t> bytes = store.Serialize();
            file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
            return true;
        },
        &error, &RenameFailingWithEio));
    EXPECT_EQ(FileBytes(m_path), saved);

    // A half-written temporary left beside the file by a crash is not read.
    const std::vector<uint8_t> full = store.Serialize();
    WriteBytes(m_folder / "Pelorin/.settings.keys.abcdefgh.tmp",
               std::vector<uint8_t>(full.begin(), full.begin() + full.size() / 2));

    CKeyStore again(m_path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetProfileInt("Settings", "Default page width", 740), 900u);
}

TEST_F(KeyStoreTest, TheFileFormatStaysAsStored)
{
    CKeyStore store(m_path);
    store.WriteProfileInt("S", "i", 0x01020304);
    store.WriteProfileString("S", "s", "ab");
    store.WriteProfileBinary("S\\T", "", nullptr, 0);
    const std::vector<uint8_t> expected = {
        'P', 'K', 'S', '1', 2,   0,    0,   0,                       // two keys
        1,   0,   0,   0,   'S', 2,    0,   0, 0,                    // "S", two values
        1,   0,   0,   0,   'i', 4,    4,   0, 0, 0, 4,   3,   2, 1, // DWORD
        1,   0,   0,   0,   's', 1,    2,   0, 0, 0, 'a', 'b',       // string
        3,   0,   0,   0,   'S', '\\', 'T', 1, 0, 0, 0,              // "S\T", one value
        0,   0,   0,   0,   3,   0,    0,   0, 0,                    // empty name, empty block
    };
    EXPECT_EQ(store.Serialize(), expected);
}

// A valid file with the given bytes replaced or appended.
std::vector<uint8_t> Patched(std::vector<uint8_t> bytes, size_t at, std::vector<uint8_t> with)
{
    if (bytes.size() < at + with.size())
        bytes.resize(at + with.size());
    std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
}

TEST_F(KeyStoreTest, ABrokenFileIsRefusedWholeAndLeavesTheStoreEmpty)
{
    CKeyStore writer(m_path);
    writer.WriteProfileInt("S", "i", 7);
    const std::vector<uint8_t> good = writer.Serialize(); // key "S" at 8, value "i" at 17, type at 22, length at 23
    ASSERT_EQ(good.size(), 31u);

    const struct
    {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty file", {}},
        {"wrong magic", Patched(good, 0, {'P', 'K', 'S', '2'})},
        {"byte after the end", Patched(good, 31, {0})},
        {"key count too large", Patched(good, 4, {2, 0, 0, 0})},
        {"key count beyond any file", Patched(good, 4, {0xFF, 0xFF, 0xFF, 0xFF})},
        {"key name past the end", Patched(good, 8, {0xFF, 0xFF, 0xFF, 0x7F})},
        {"empty key name", {'P', 'K', 'S', '1', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"value count beyond the bytes", Patched(good, 13, {0, 0, 0, 1})},
        {"unknown type", Patched(good, 22, {2})},
        {"DWORD of three bytes", Patched(good, 23, {3})},
        {"data length past the end", Patched(good, 23, {5})},
        {"a key twice", {'P', 'K', 'S', '1', 2, 0, 0, 0, 1, 0, 0, 0, 'S', 0, 0, 0, 0, 1, 0, 0, 0, 'S', 0, 0, 0, 0}},
        {"a value twice", {'P', 'K', 'S', '1', 1, 0, 0, 0, 1, 0, 0, 0, 'S', 2, 0, 0, 0, 0,
                           0,   0,   0,   1,   0, 0, 0, 0, 0, 0, 0, 0, 1,   0, 0, 0, 0}},
    };
    ASSERT_EQ(::mkdir((m_folder / "Pelorin").c_str(), 0700), 0);
    for (const auto& c : cases) {
        WriteBytes(m_path, c.bytes);
        CKeyStore store(m_path);
        store.WriteProfileInt("Old", "x", 1);
        CFileException error;
        EXPECT_FALSE(store.Load(&error)) << c.what;
        EXPECT_EQ(error.m_cause, CFileException::invalidFile) << c.what;
        EXPECT_FALSE(store.HasSection("S")) << c.what;
        EXPECT_FALSE(store.HasSection("Old")) << c.what;
    }
    // A file cut anywhere is refused.
    for (size_t cut = 0; cut < good.size(); ++cut) {
        CKeyStore store(m_path);
        EXPECT_FALSE(store.Parse(good.data(), cut)) << cut;
    }
    CKeyStore store(m_path);
    EXPECT_TRUE(store.Parse(good.data(), good.size()));
    EXPECT_EQ(store.GetProfileInt("S", "i", 0), 7u);
}

} // namespace
