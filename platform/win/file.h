#pragma once

// Byte streams with the interface the records and the site file are written against: a disk file over POSIX
// descriptors and a growable memory file. Errors raise CFileException.

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "platform/win/win_types.h"

class CFileException
{
public:
    enum
    {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    explicit CFileException(int cause = none, long osError = -1, std::string fileName = {})
        : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName))
    {
    }

    // The cause that an errno value stands for.
    static int OsErrorToException(int err);

    int m_cause;
    long m_lOsError;
    std::string m_strFileName;
};

[[noreturn]] void AfxThrowFileException(int cause, long osError = -1, const std::string& fileName = {});

// A disk file. The records read and write a few bytes at a time, so the file goes to the kernel in large pieces: a
// window of the file's bytes around the position is kept, read ahead in one call and written back in one call when
// the position leaves it, on Flush and on Close. Reads see the bytes written before them, and the length and the
// position count the bytes still waiting in the window. A write that fails when the window is written back is
// reported by the call that wrote it back (Write, Read, SetLength, Flush or Close) and those bytes are lost;
// Abort and the destructor write the window back as well but say nothing when that fails.
class CFile
{
public:
    enum OpenFlags : UINT
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition
    {
        begin = 0,
        current = 1,
        end = 2,
    };

    // The size of the window: a read or write of at least this many bytes goes to the kernel directly.
    static constexpr size_t kWindowBytes = 64 * 1024;

    CFile();
    // Opens the file or throws CFileException.
    CFile(const std::string& path, UINT openFlags);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();

    // False, with the cause in *error when given, when the file cannot be opened.
    virtual BOOL Open(const std::string& path, UINT openFlags, CFileException* error = nullptr);
    virtual void Close();
    // Closes without throwing.
    virtual void Abort();

    // Reads up to count bytes and returns how many were read: fewer only at the end of the file.
    virtual UINT Read(void* buffer, UINT count);
    // Writes all count bytes or throws.
    virtual void Write(const void* buffer, UINT count);
    // Moves the position and returns the new one; a position before the start throws (badSeek).
    virtual ULONGLONG Seek(LONGLONG offset, UINT from);
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    // Cuts or extends the file (new bytes read as zero); the position stays where it was.
    virtual void SetLength(ULONGLONG length);
    // Writes the waiting bytes and puts the file on disk.
    virtual void Flush();

    ULONGLONG SeekToEnd() { return Seek(0, end); }
    void SeekToBegin() { Seek(0, begin); }
    const std::string& GetFilePath() const { return m_strFileName; }
    bool IsOpen() const { return m_fd >= 0; }

protected:
    int m_fd = -1;
    std::string m_strFileName;

private:
    bool InWindow(ULONGLONG position) const;
    // Writes the window's changed bytes to the file; on failure they are dropped with the window and it throws.
    void WriteBack();
    // Forgets the window and its position in the file, keeping the memory for the next one.
    void ForgetWindow();
    // The kernel's calls at a position of the file: the descriptor's offset is moved only when it is elsewhere.
    size_t ReadAt(ULONGLONG position, BYTE* buffer, size_t count);
    void WriteAt(ULONGLONG position, const BYTE* buffer, size_t count);
    void MoveDescriptorTo(ULONGLONG position);
    // Closes the descriptor and forgets everything about the file; the error of close, or 0.
    int Release();

    std::unique_ptr<BYTE[]> m_window;
    ULONGLONG m_position = 0;
    // The window holds the file's bytes from m_windowStart on, m_windowFill of them; those from m_dirtyBegin to
    // m_dirtyEnd are newer than the file's.
    ULONGLONG m_windowStart = 0;
    size_t m_windowFill = 0;
    size_t m_dirtyBegin = 0;
    size_t m_dirtyEnd = 0;
    // Where the descriptor's own offset stands; kUnknownOffset after a call that failed.
    static constexpr ULONGLONG kUnknownOffset = ~0ULL;
    ULONGLONG m_descriptorOffset = 0;
    // The length the kernel gave last, until the next call that reads or writes.
    mutable ULONGLONG m_kernelLength = 0;
    mutable bool m_kernelLengthKnown = false;
};

// The calls to the kernel this thread's disk files and safe saves have made so far (opening, reading, writing,
// seeking, asking for a length, truncating, flushing, renaming, closing): what the tests and benchmarks set beside
// the bytes moved.
unsigned long long FileKernelCalls();

// A file in memory that grows in steps of the given size; its bytes belong to it unless it was attached to a
// caller's buffer. Running out of room (no grow step, or no memory) throws diskFull. It has no path: Open fails.
class CMemFile : public CFile
{
public:
    explicit CMemFile(UINT growBytes = 1024);
    // Works on the caller's buffer, whose size bytes are the file's contents; with growBytes 0 it cannot grow beyond
    // size. The buffer stays the caller's: growing copies the bytes to a buffer of the file's own.
    CMemFile(BYTE* buffer, UINT size, UINT growBytes = 0);
    ~CMemFile() override;

    BOOL Open(const std::string& path, UINT openFlags, CFileException* error = nullptr) override;
    void Close() override;
    void Abort() override;
    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    ULONGLONG Seek(LONGLONG offset, UINT from) override;
    ULONGLONG GetPosition() const override { return m_position; }
    ULONGLONG GetLength() const override { return m_fileSize; }
    void SetLength(ULONGLONG length) override;
    void Flush() override {}

    void Attach(BYTE* buffer, UINT size, UINT growBytes = 0);
    // Hands the buffer to the caller (who frees it with delete[] when it was the file's own) and empties the file.
    BYTE* Detach();
    const BYTE* GetBuffer() const { return m_buffer; }

private:
    void GrowFile(ULONGLONG newSize);
    void Free();

    UINT m_growBytes;
    BYTE* m_buffer = nullptr;
    ULONGLONG m_bufferSize = 0;
    ULONGLONG m_fileSize = 0;
    ULONGLONG m_position = 0;
    bool m_autoDelete = true;
};

// The step of SaveFileSafely that puts the new file in place; std::rename unless a test needs it to fail.
using RenameFunction = int (*)(const char* from, const char* to);

// Saves a file the user cares about so that it is never left half written, whatever happens meanwhile: write
// puts the bytes into a new file beside path (so that the rename stays within one file system), which goes to
// disk and is then renamed over path; the folder goes to disk last. A symbolic link at path keeps pointing at the
// saved file. The new file takes the old one's permissions, or the usual ones of a new file.
// False, with the cause in *error when given, when any step fails or write returns false (generic cause): the new
// file is removed and whatever was at path stays as it was. Only a failure to flush the folder comes after the
// rename; the file is then complete but the error is still reported. An exception other than CFileException from
// write passes through, after the same cleanup.
bool SaveFileSafely(const std::string& path, const std::function<bool(CFile&)>& write, CFileException* error = nullptr,
                    RenameFunction rename = &std::rename);
