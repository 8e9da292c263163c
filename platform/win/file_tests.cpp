#include "platform/win/file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <new>
#include <random>
#include <string>
#include <sys/stat.h>
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

    // Bytes still waiting when the object goes are written all the same.
    {
        CFile tail(m_dir + "tail.kst", CFile::modeCreate | CFile::modeWrite);
        tail.Write("tail", 4);
    }
    {
        CFile tail(m_dir + "tail.kst", CFile::modeRead);
        EXPECT_EQ(ReadAll(tail), "tail");
    }

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

// Bytes wait in the file's window, so a full disk is reported by the call that writes them back.
TEST_F(CFileTest, FullDiskIsReportedByTheCallThatWritesBack)
{
    const std::vector<char> large(CFile::kWindowBytes, 'x');
    struct Case
    {
        const char* name;
        std::function<void(CFile&)> write;
    } cases[] = {
        {"a write as large as the window", [&](CFile& f) { f.Write(large.data(), static_cast<UINT>(large.size())); }},
        {"small writes beyond the window",
         [](CFile& f) {
             for (size_t i = 0; i <= CFile::kWindowBytes / 4; ++i)
                 f.Write("four", 4);
         }},
        {"a small write, then Flush",
         [](CFile& f) {
             f.Write("four", 4);
             f.Flush();
         }},
        {"a small write, then Close",
         [](CFile& f) {
             f.Write("four", 4);
             f.Close();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFile f;
        if (!f.Open("/dev/full", CFile::modeWrite))
            GTEST_SKIP() << "no /dev/full";
        try {
            c.write(f);
            ADD_FAILURE() << "no exception";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.m_cause, CFileException::diskFull);
            EXPECT_EQ(e.m_lOsError, ENOSPC);
            EXPECT_EQ(e.m_strFileName, "/dev/full");
        }
        // The bytes that failed are gone: closing afterwards reports nothing more.
        if (f.IsOpen()) {
            EXPECT_NO_THROW(f.Close());
        }
        EXPECT_FALSE(f.IsOpen());
    }
}

// The disk file against a memory file, through a long run of mixed calls: reads and writes of a few bytes and of
// more than a window, seeks back into the window and past the end, cuts and extensions, lengths and positions,
// flushes. Every answer and, at the end, every byte must agree.
TEST_F(CFileTest, BufferedFileAgreesWithAMemoryFile)
{
    const std::string path = m_dir + "mixed.bin";
    CFile disk(path, CFile::modeCreate | CFile::modeReadWrite);
    CMemFile memory;
    std::mt19937 random(20261211);
    const auto below = [&](size_t n) { return n == 0 ? size_t(0) : static_cast<size_t>(random() % n); };
    const size_t window = CFile::kWindowBytes;
    const auto size = [&] {
        switch (random() % 8) {
        case 0:
            return window + below(window);
        case 1:
            return below(window);
        default:
            return below(17);
        }
    };
    std::vector<BYTE> bytes(3 * window), fromDisk(3 * window), fromMemory(3 * window);
    LONGLONG lastWrite = 0;
    for (int step = 0; step < 6000; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const ULONGLONG length = memory.GetLength();
        switch (random() % 12) {
        case 0:
        case 1:
        case 2:
        case 3: {
            const size_t n = size();
            for (size_t i = 0; i < n; ++i)
                bytes[i] = static_cast<BYTE>(random());
            lastWrite = static_cast<LONGLONG>(memory.GetPosition());
            disk.Write(bytes.data(), static_cast<UINT>(n));
            memory.Write(bytes.data(), static_cast<UINT>(n));
            break;
        }
        case 4:
        case 5:
        case 6: {
            const size_t n = size();
            const UINT got = disk.Read(fromDisk.data(), static_cast<UINT>(n));
            ASSERT_EQ(got, memory.Read(fromMemory.data(), static_cast<UINT>(n)));
            ASSERT_EQ(std::memcmp(fromDisk.data(), fromMemory.data(), got), 0);
            break;
        }
        case 7:
        case 8: {
            // A step back over a record just read, as the optional records do, back to where the last write
            // began, to anywhere in the file or a little beyond, or back from the end.
            const LONGLONG back = -static_cast<LONGLONG>(below(20));
            const LONGLONG to = static_cast<LONGLONG>(below(static_cast<size_t>(length) + 100));
            const unsigned kind = random() % 4;
            const UINT from = kind == 0 ? CFile::current : kind == 3 ? CFile::end : CFile::begin;
            const LONGLONG offset = kind == 0 ? back : kind == 1 ? lastWrite : kind == 2 ? to : back - 3;
            const int cause = CauseOf([&] { disk.Seek(offset, from); });
            ASSERT_EQ(cause, CauseOf([&] { memory.Seek(offset, from); }));
            break;
        }
        case 9:
            if (random() % 4 == 0) {
                const ULONGLONG cut = random() % 2 ? below(static_cast<size_t>(length) + 1) : length + below(window);
                disk.SetLength(cut);
                memory.SetLength(cut);
            }
            break;
        case 10:
            if (random() % 50 == 0)
                disk.Flush();
            break;
        default:
            // Large enough files are cut back now and then, so that the run keeps crossing windows.
            if (length > 4 * window) {
                disk.SetLength(window / 2);
                memory.SetLength(window / 2);
            }
            break;
        }
        ASSERT_EQ(disk.GetPosition(), memory.GetPosition());
        ASSERT_EQ(disk.GetLength(), memory.GetLength());
    }
    const std::string expected(reinterpret_cast<const char*>(memory.GetBuffer()),
                               static_cast<size_t>(memory.GetLength()));
    EXPECT_EQ(ReadAll(disk), expected);
    disk.Close();
    CFile reopened(path, CFile::modeRead);
    EXPECT_EQ(ReadAll(reopened), expected);
}

// Records are read and written a few bytes at a time, with a length asked and a step back before many of them; the
// kernel must see whole windows only.
TEST_F(CFileTest, SmallPiecesReachTheKernelAWindowAtATime)
{
    const std::string path = m_dir + "records.bin";
    const size_t records = 100000;
    const ULONGLONG bytes = records * 6;
    const unsigned long long windows = bytes / CFile::kWindowBytes + 1;

    unsigned long long before = FileKernelCalls();
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        for (size_t i = 0; i < records; ++i) {
            const uint32_t value = static_cast<uint32_t>(i);
            f.Write(&value, 4);
            f.Write("ab", 2);
            EXPECT_EQ(f.GetPosition(), 6 * (i + 1));
        }
        EXPECT_EQ(f.GetLength(), bytes);
        f.Close();
    }
    const unsigned long long written = FileKernelCalls() - before;
    // Opening is two calls, asking for the length after the writes and closing one each.
    EXPECT_LE(written, windows + 4) << written << " calls";

    before = FileKernelCalls();
    {
        CFile f(path, CFile::modeRead);
        for (size_t i = 0; i < records; ++i) {
            ASSERT_LE(f.GetPosition(), f.GetLength());
            char tag[2];
            ASSERT_EQ(f.Read(tag, 2), 2u);
            f.Seek(-2, CFile::current);
            uint32_t value = 0;
            ASSERT_EQ(f.Read(&value, 4), 4u);
            ASSERT_EQ(value, i);
            ASSERT_EQ(f.Read(tag, 2), 2u);
        }
        char more;
        EXPECT_EQ(f.Read(&more, 1), 0u);
    }
    // A read that comes back empty ends the file; a length asked after each read comes from the kernel once.
    const unsigned long long read = FileKernelCalls() - before;
    EXPECT_LE(read, 2 * windows + 4) << read << " calls";
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

// ---------------------------------------------------------------------------------------------------------------
// Safe saving

namespace {

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const std::string kNewText(5000, 'n');

bool WriteNewText(CFile& file)
{
    file.Write(kNewText.data(), static_cast<UINT>(kNewText.size()));
    return true;
}

// What the rename step saw: the new file must be complete and beside the target when it is put in place.
std::string g_renamedFrom;
std::string g_renamedText;

int FailingRename(const char* from, const char*)
{
    g_renamedFrom = from;
    g_renamedText = FileText(from);
    errno = EXDEV;
    return -1;
}

} // namespace

TEST_F(CFileTest, SafeSaveReplacesTheFileKeepingItsPermissions)
{
    const std::string path = m_dir + "site.kst";
    WriteText(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

    CFileException error;
    ASSERT_TRUE(SaveFileSafely(path, WriteNewText, &error));
    EXPECT_EQ(FileText(path), kNewText);
    EXPECT_EQ(FolderNames(m_dir), std::vector<std::string>{"site.kst"});
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A new file gets the permissions the umask leaves, not the private ones of a temporary file.
    const mode_t mask = ::umask(022);
    const std::string fresh = m_dir + "new.kst";
    EXPECT_TRUE(SaveFileSafely(fresh, WriteNewText));
    ::umask(mask);
    ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST_F(CFileTest, SafeSaveThroughALinkReplacesTheLinkedFile)
{
    std::filesystem::create_directory(m_dir + "real");
    const std::string real = m_dir + "real/site.kst";
    WriteText(real, "old");
    std::filesystem::create_symlink(real, m_dir + "link.kst");

    ASSERT_TRUE(SaveFileSafely(m_dir + "link.kst", WriteNewText));
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir + "link.kst"));
    EXPECT_EQ(FileText(real), kNewText);
    EXPECT_EQ(FolderNames(m_dir + "real"), std::vector<std::string>{"site.kst"});
}

TEST_F(CFileTest, FailedSafeSaveLeavesTheOldFileAndNoTemporaryFile)
{
    struct Case
    {
        const char* name;
        std::function<bool(CFile&)> write;
        RenameFunction rename;
        int cause;
    };
    const Case cases[] = {
        {"writer gives up half way",
         [](CFile& f) {
             f.Write("partial", 7);
             return false;
         },
         &std::rename, CFileException::generic},
        {"writer raises the file exception",
         [](CFile& f) -> bool {
             f.Write("partial", 7);
             AfxThrowFileException(CFileException::diskFull, ENOSPC);
         },
         &std::rename, CFileException::diskFull},
        {"rename fails after the file is written", WriteNewText, FailingRename, CFileException::generic},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool oldExists : {true, false}) {
            const std::string path = m_dir + "site.kst";
            std::filesystem::remove(path);
            if (oldExists)
                WriteText(path, "old");
            g_renamedFrom.clear();

            CFileException error;
            EXPECT_FALSE(SaveFileSafely(path, c.write, &error, c.rename));
            EXPECT_EQ(error.m_cause, c.cause);
            EXPECT_EQ(error.m_strFileName.empty(), c.cause == CFileException::diskFull);
            if (oldExists) {
                EXPECT_EQ(FileText(path), "old");
                EXPECT_EQ(FolderNames(m_dir), std::vector<std::string>{"site.kst"});
            } else {
                EXPECT_TRUE(FolderNames(m_dir).empty());
            }
        }
    }
    // The rename was asked to put a complete file from the target's own folder in place.
    EXPECT_EQ(g_renamedFrom.substr(0, m_dir.size()), m_dir);
    EXPECT_EQ(g_renamedFrom.find('/', m_dir.size()), std::string::npos);
    EXPECT_EQ(g_renamedText, kNewText);
}

TEST_F(CFileTest, SafeSaveCleansUpBeforeOtherExceptionsPassThrough)
{
    const std::string path = m_dir + "site.kst";
    WriteText(path, "old");
    EXPECT_THROW(SaveFileSafely(path, [](CFile&) -> bool { throw std::bad_alloc(); }), std::bad_alloc);
    EXPECT_EQ(FileText(path), "old");
    EXPECT_EQ(FolderNames(m_dir), std::vector<std::string>{"site.kst"});
}

TEST_F(CFileTest, SafeSaveIntoAMissingFolderIsReported)
{
    CFileException error;
    EXPECT_FALSE(SaveFileSafely(m_dir + "missing/site.kst", WriteNewText, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_strFileName, m_dir + "missing/site.kst");
    EXPECT_TRUE(FolderNames(m_dir).empty());
}
