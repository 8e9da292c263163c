#include "platform/win/file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "testing/scratch_folder.h"

namespace {

// A fresh folder per test, removed afterwards.
class CFileTest : public ::testing::Test
{
protected:
    ScratchFolder m_folder;
    const std::string m_dir = m_folder.Path();
};

// Runs f and returns the cause of the file exception it throws, or -1 when it throws none.
template <class F> int CauseOf(F&& f)
{
    try {
        f();
    } catch (const CFileException& e) {
        return e.m_cause;
    }
    return -1;
}

std::string ReadAll(CFile& f)
{
    std::string s(static_cast<size_t>(f.GetLength()), '\0');
    f.SeekToBegin();
    EXPECT_EQ(f.Read(s.data(), static_cast<UINT>(s.size())), s.size());
    return s;
}

} // namespace

TEST_F(CFileTest, WriteReadSeekRoundTrip)
{
    const std::string path = m_dir + "site.kst";
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        f.Write("abcdefgh", 8);
        f.Flush();
        f.Close();
        EXPECT_FALSE(f.IsOpen());
    }
    CFile f(path, CFile::modeReadWrite);
    EXPECT_EQ(f.GetFilePath(), path);
    EXPECT_EQ(f.GetLength(), 8u);

    char buf[4] = {};
    EXPECT_EQ(f.Read(buf, 4), 4u);
    EXPECT_EQ(std::string(buf, 4), "abcd");
    // The optional-record pattern: read a tag, step back over it.
    EXPECT_EQ(f.Seek(-4, CFile::current), 0u);
    EXPECT_EQ(f.Seek(-2, CFile::end), 6u);
    f.Write("XYZ", 3);
    EXPECT_EQ(f.GetPosition(), 9u);
    EXPECT_EQ(ReadAll(f), "abcdefXYZ");

    f.SetLength(3);
    EXPECT_EQ(ReadAll(f), "abc");
    f.Close();

    // modeNoTruncate keeps the bytes; modeCreate alone empties the file.
    CFile keep(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead);
    EXPECT_EQ(keep.GetLength(), 3u);
    CFile empty(path, CFile::modeCreate | CFile::modeReadWrite);
    EXPECT_EQ(empty.GetLength(), 0u);
}

TEST_F(CFileTest, ShortReadOnlyAtEnd)
{
    const std::string path = m_dir + "short.bin";
    std::vector<char> data(100000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        f.Write(data.data(), static_cast<UINT>(data.size()));
    }
    CFile f(path, CFile::modeRead);
    std::vector<char> buf(data.size() + 50);
    EXPECT_EQ(f.Read(buf.data(), 60000), 60000u);
    EXPECT_EQ(f.Read(buf.data() + 60000, 50000), 40000u);
    EXPECT_EQ(f.Read(buf.data(), 10), 0u);
    EXPECT_EQ(std::memcmp(buf.data(), data.data(), data.size()), 0);
}

TEST_F(CFileTest, OpenFailureFillsException)
{
    {
        CFile f;
        std::string blocker = m_dir + "plain";
        ASSERT_TRUE(f.Open(blocker, CFile::modeCreate | CFile::modeWrite));
    }
    struct Case
    {
        std::string path;
        UINT flags;
        int cause;
        int osError;
    } cases[] = {
        {m_dir + "missing.kst", CFile::modeRead, CFileException::fileNotFound, ENOENT},
        {m_dir + "nofolder/x.kst", CFile::modeCreate | CFile::modeWrite, CFileException::fileNotFound, ENOENT},
        {m_dir + "plain/x.kst", CFile::modeRead, CFileException::badPath, ENOTDIR},
        {m_dir, CFile::modeRead, CFileException::accessDenied, EISDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CFile f;
        CFileException e;
        EXPECT_FALSE(f.Open(c.path, c.flags, &e));
        EXPECT_FALSE(f.IsOpen());
        EXPECT_EQ(e.m_cause, c.cause);
        EXPECT_EQ(e.m_lOsError, c.osError);
        EXPECT_EQ(e.m_strFileName, c.path);
    }

    try {
        CFile f(m_dir + "missing.kst", CFile::modeRead);
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e.m_strFileName, m_dir + "missing.kst");
    }
}

TEST_F(CFileTest, BadSeekAndUseWhenClosedThrow)
{
    CFile f(m_dir + "seek.bin", CFile::modeCreate | CFile::modeReadWrite);
    f.Write("0123456789", 10);
    f.Seek(2, CFile::begin);
    EXPECT_EQ(CauseOf([&] { f.Seek(-1, CFile::begin); }), CFileException::badSeek);
    EXPECT_EQ(CauseOf([&] { f.Seek(-3, CFile::current); }), CFileException::badSeek);
    EXPECT_EQ(CauseOf([&] { f.Seek(-11, CFile::end); }), CFileException::badSeek);
    EXPECT_EQ(f.GetPosition(), 2u);
    // Past the end is a valid position; reading there gives nothing.
    EXPECT_EQ(f.Seek(5, CFile::end), 15u);
    char c;
    EXPECT_EQ(f.Read(&c, 1), 0u);

    CFile closed;
    EXPECT_EQ(CauseOf([&] { closed.Read(&c, 1); }), CFileException::invalidFile);
    EXPECT_EQ(CauseOf([&] { closed.Write(&c, 1); }), CFileException::invalidFile);
}

TEST_F(CFileTest, FullDiskThrowsDiskFull)
{
    CFile f;
    if (!f.Open("/dev/full", CFile::modeWrite))
        GTEST_SKIP() << "no /dev/full";
    std::vector<char> data(4096, 'x');
    try {
        f.Write(data.data(), static_cast<UINT>(data.size()));
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_lOsError, ENOSPC);
    }
}

TEST(CMemFileTest, GrowsAcrossStepsAndKeepsBytes)
{
    CMemFile f(16);
    std::string expected;
    for (int i = 0; i < 10; ++i) {
        std::string chunk(7, static_cast<char>('a' + i));
        f.Write(chunk.data(), 7);
        expected += chunk;
    }
    EXPECT_EQ(f.GetLength(), expected.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(f.GetBuffer()), expected.size()), expected);

    // A write whose source is the file's own buffer, while the buffer has to grow under it.
    f.SeekToEnd();
    f.Write(f.GetBuffer(), static_cast<UINT>(expected.size()));
    expected += expected;
    EXPECT_EQ(ReadAll(f), expected);

    f.Seek(-3, CFile::end);
    char buf[8];
    EXPECT_EQ(f.Read(buf, 8), 3u);
    EXPECT_EQ(f.Read(buf, 8), 0u);
}

TEST(CMemFileTest, SeekPastEndAndSetLengthZeroFill)
{
    CMemFile f(4);
    f.Write("ab", 2);
    EXPECT_EQ(f.Seek(3, CFile::current), 5u);
    char c;
    EXPECT_EQ(f.Read(&c, 1), 0u);
    EXPECT_EQ(f.GetLength(), 2u);
    f.Write("z", 1);
    EXPECT_EQ(ReadAll(f), std::string("ab\0\0\0z", 6));

    f.SetLength(1);
    f.SetLength(4);
    EXPECT_EQ(ReadAll(f), std::string("a\0\0\0", 4));

    EXPECT_EQ(CauseOf([&] { f.Seek(-1, CFile::begin); }), CFileException::badSeek);
    EXPECT_EQ(CauseOf([&] { f.Seek(-5, CFile::end); }), CFileException::badSeek);
    f.Seek(INT64_MAX, CFile::begin);
    EXPECT_EQ(CauseOf([&] { f.Seek(1, CFile::current); }), CFileException::badSeek);
    // A write so far out cannot be held; it must fail, not wrap around to the start of the buffer.
    EXPECT_EQ(CauseOf([&] { f.Write("x", 1); }), CFileException::diskFull);
    EXPECT_EQ(f.GetLength(), 4u);
}

TEST(CMemFileTest, AttachedBufferStaysTheCallers)
{
    BYTE caller[6] = {'s', 't', 'o', 'r', 'e', 'd'};
    {
        CMemFile f(caller, sizeof caller);
        char buf[8];
        EXPECT_EQ(f.Read(buf, 8), 6u);
        EXPECT_EQ(std::string(buf, 6), "stored");
        f.Seek(4, CFile::begin);
        f.Write("ED", 2);
        EXPECT_EQ(CauseOf([&] { f.Write("!", 1); }), CFileException::diskFull);
        EXPECT_EQ(CauseOf([&] { f.SetLength(7); }), CFileException::diskFull);
        EXPECT_EQ(f.GetLength(), 6u);
    } // the file must not free the caller's array
    EXPECT_EQ(std::string(reinterpret_cast<char*>(caller), 6), "storED");

    // With a grow step the bytes move to the file's own buffer and the caller's array is left alone.
    CMemFile g(caller, sizeof caller, 8);
    g.SeekToEnd();
    g.Write("++", 2);
    EXPECT_NE(g.GetBuffer(), caller);
    EXPECT_EQ(ReadAll(g), "storED++");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(caller), 6), "storED");
}

TEST(CMemFileTest, DetachHandsOverBufferAndEmptiesFile)
{
    CMemFile f;
    f.Write("payload", 7);
    BYTE* buffer = f.Detach();
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 7), "payload");
    delete[] buffer;
    EXPECT_EQ(f.GetLength(), 0u);
    EXPECT_EQ(f.GetPosition(), 0u);
    EXPECT_EQ(f.GetBuffer(), nullptr);
    // Still usable afterwards, with a buffer of its own.
    f.Write("x", 1);
    EXPECT_EQ(f.GetLength(), 1u);
}
