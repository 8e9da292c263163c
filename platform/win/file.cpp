#include "platform/win/file.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <new>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void ThrowErrno(int err, const std::string& fileName)
{
    AfxThrowFileException(CFileException::OsErrorToException(err), err, fileName);
}

} // namespace

int CFileException::OsErrorToException(int err)
{
    switch (err) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EBUSY:
    case ETXTBSY:
        return sharingViolation;
    case ENOLCK:
        return lockViolation;
    case ESPIPE:
    case EOVERFLOW:
        return badSeek;
    case EIO:
        return hardIO;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return diskFull;
    default:
        return generic;
    }
}

void AfxThrowFileException(int cause, long osError, const std::string& fileName)
{
    throw CFileException(cause, osError, fileName);
}

// ---------------------------------------------------------------------------------------------------------------
// CFile

namespace {

thread_local unsigned long long t_fileKernelCalls = 0;

// Every call this file makes to the kernel goes through here, so that it is counted.
template <class Call> auto CountedKernelCall(Call call)
{
    ++t_fileKernelCalls;
    return call();
}

int OpenRetryingInterrupts(const char* path, int flags, mode_t mode)
{
    int fd;
    do {
        fd = CountedKernelCall([&] { return ::open(path, flags, mode); });
    } while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

unsigned long long FileKernelCalls()
{
    return t_fileKernelCalls;
}

CFile::CFile() = default;

CFile::CFile(const std::string& path, UINT openFlags)
{
    CFileException error;
    if (!Open(path, openFlags, &error))
        throw error;
}

CFile::~CFile()
{
    CFile::Abort();
}

BOOL CFile::Open(const std::string& path, UINT openFlags, CFileException* error)
{
    auto fail = [&](int err) {
        if (error) {
            error->m_cause = CFileException::OsErrorToException(err);
            error->m_lOsError = err;
            error->m_strFileName = path;
        }
        return FALSE;
    };

    // A second Open on the same object would otherwise leak the first descriptor.
    Abort();

    int flags = O_CLOEXEC;
    switch (openFlags & 0x3) {
    case modeRead:
        flags |= O_RDONLY;
        break;
    case modeWrite:
        flags |= O_WRONLY;
        break;
    case modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        return fail(EINVAL);
    }
    if (openFlags & modeCreate) {
        flags |= O_CREAT;
        if (!(openFlags & modeNoTruncate))
            flags |= O_TRUNC;
    }

    const int fd = OpenRetryingInterrupts(path.c_str(), flags, 0666);
    if (fd < 0)
        return fail(errno);

    // Linux opens a folder for reading; every later read would fail with a less helpful error.
    struct stat st;
    int err = CountedKernelCall([&] { return ::fstat(fd, &st); }) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
    if (err != 0) {
        CountedKernelCall([&] { return ::close(fd); });
        return fail(err);
    }

    m_fd = fd;
    m_strFileName = path;
    // The length just asked serves the first questions for it.
    m_kernelLength = static_cast<ULONGLONG>(st.st_size);
    m_kernelLengthKnown = S_ISREG(st.st_mode);
    return TRUE;
}

int CFile::Release()
{
    const int fd = m_fd;
    m_fd = -1;
    m_position = 0;
    m_windowStart = 0;
    m_windowFill = m_dirtyBegin = m_dirtyEnd = 0;
    m_descriptorOffset = 0;
    m_kernelLengthKnown = false;
    m_window.reset();
    // On Linux the descriptor is released even when close reports EINTR, so it must not be retried.
    if (CountedKernelCall([&] { return ::close(fd); }) != 0 && errno != EINTR)
        return errno;
    return 0;
}

void CFile::Close()
{
    if (m_fd < 0)
        return;
    // The descriptor goes whatever happens to the waiting bytes; their failure is the one reported.
    try {
        WriteBack();
    } catch (const CFileException&) {
        Release();
        throw;
    }
    if (const int err = Release(); err != 0)
        ThrowErrno(err, m_strFileName);
}

void CFile::Abort()
{
    if (m_fd < 0)
        return;
    try {
        WriteBack();
    } catch (const CFileException&) {
        // Abort is the way out after a failure, which the caller has already seen or does not care about.
    }
    Release();
}

bool CFile::InWindow(ULONGLONG position) const
{
    return position >= m_windowStart && position - m_windowStart < m_windowFill;
}

void CFile::ForgetWindow()
{
    m_windowStart = m_position;
    m_windowFill = m_dirtyBegin = m_dirtyEnd = 0;
}

void CFile::MoveDescriptorTo(ULONGLONG position)
{
    if (position == m_descriptorOffset)
        return;
    m_descriptorOffset = kUnknownOffset;
    if (position > static_cast<ULONGLONG>(std::numeric_limits<off_t>::max()))
        AfxThrowFileException(CFileException::badSeek, EOVERFLOW, m_strFileName);
    const off_t reached = CountedKernelCall([&] { return ::lseek(m_fd, static_cast<off_t>(position), SEEK_SET); });
    if (reached < 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    m_descriptorOffset = position;
}

size_t CFile::ReadAt(ULONGLONG position, BYTE* buffer, size_t count)
{
    MoveDescriptorTo(position);
    m_kernelLengthKnown = false;
    for (;;) {
        const ssize_t n = CountedKernelCall([&] { return ::read(m_fd, buffer, count); });
        if (n >= 0) {
            m_descriptorOffset += static_cast<ULONGLONG>(n);
            return static_cast<size_t>(n);
        }
        if (errno != EINTR) {
            m_descriptorOffset = kUnknownOffset;
            ThrowErrno(errno, m_strFileName);
        }
    }
}

void CFile::WriteAt(ULONGLONG position, const BYTE* buffer, size_t count)
{
    MoveDescriptorTo(position);
    m_kernelLengthKnown = false;
    size_t done = 0;
    while (done < count) {
        const ssize_t n = CountedKernelCall([&] { return ::write(m_fd, buffer + done, count - done); });
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            m_descriptorOffset = kUnknownOffset;
            ThrowErrno(errno, m_strFileName);
        }
        if (n == 0) {
            m_descriptorOffset = kUnknownOffset;
            AfxThrowFileException(CFileException::diskFull, ENOSPC, m_strFileName);
        }
        done += static_cast<size_t>(n);
        m_descriptorOffset += static_cast<ULONGLONG>(n);
    }
}

void CFile::WriteBack()
{
    if (m_dirtyBegin == m_dirtyEnd)
        return;
    const size_t from = m_dirtyBegin, to = m_dirtyEnd;
    m_dirtyBegin = m_dirtyEnd = 0;
    try {
        WriteAt(m_windowStart + from, m_window.get() + from, to - from);
    } catch (const CFileException&) {
        // What the file holds there is no longer known.
        m_windowFill = 0;
        throw;
    }
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (m_fd < 0)
        ThrowErrno(EBADF, m_strFileName);
    if (count == 0)
        return 0;
    if (!buffer)
        AfxThrowFileException(CFileException::generic, EINVAL, m_strFileName);

    auto* out = static_cast<BYTE*>(buffer);
    size_t done = 0;
    while (done < count) {
        if (InWindow(m_position)) {
            const size_t at = static_cast<size_t>(m_position - m_windowStart);
            const size_t n = std::min<size_t>(count - done, m_windowFill - at);
            std::memcpy(out + done, m_window.get() + at, n);
            done += n;
            m_position += n;
            continue;
        }
        // Past the window: what it still has to write goes first, so that the kernel hands back the newest bytes.
        WriteBack();
        size_t got;
        if (count - done >= kWindowBytes) {
            got = ReadAt(m_position, out + done, count - done);
            done += got;
            m_position += got;
        } else {
            if (!m_window)
                m_window = std::make_unique_for_overwrite<BYTE[]>(kWindowBytes);
            ForgetWindow();
            got = ReadAt(m_position, m_window.get(), kWindowBytes);
            m_windowFill = got;
        }
        if (got == 0)
            break;
    }
    return static_cast<UINT>(done);
}

void CFile::Write(const void* buffer, UINT count)
{
    if (m_fd < 0)
        ThrowErrno(EBADF, m_strFileName);
    if (count == 0)
        return;
    if (!buffer)
        AfxThrowFileException(CFileException::generic, EINVAL, m_strFileName);
    const auto* in = static_cast<const BYTE*>(buffer);
    if (m_position > static_cast<ULONGLONG>(std::numeric_limits<off_t>::max()) - count)
        AfxThrowFileException(CFileException::diskFull, EFBIG, m_strFileName);

    if (count >= kWindowBytes) {
        WriteBack();
        // The window may hold bytes this write replaces.
        if (m_position < m_windowStart + m_windowFill && m_position + count > m_windowStart)
            m_windowFill = 0;
        WriteAt(m_position, in, count);
        m_position += count;
        return;
    }
    // The window takes bytes that continue or overwrite it and fit in it; anything else writes it back first.
    const bool continuesWindow = m_position >= m_windowStart && m_position - m_windowStart <= m_windowFill &&
                                 m_position - m_windowStart + count <= kWindowBytes;
    if (!continuesWindow) {
        WriteBack();
        ForgetWindow();
    }
    if (!m_window)
        m_window = std::make_unique_for_overwrite<BYTE[]>(kWindowBytes);
    const size_t at = static_cast<size_t>(m_position - m_windowStart);
    std::memcpy(m_window.get() + at, in, count);
    // Bytes between two changed stretches are the file's own; writing them back with the rest does no harm.
    m_dirtyBegin = m_dirtyBegin == m_dirtyEnd ? at : std::min(m_dirtyBegin, at);
    m_dirtyEnd = std::max(m_dirtyEnd, at + count);
    m_windowFill = std::max(m_windowFill, at + count);
    m_position += count;
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    if (m_fd < 0)
        ThrowErrno(EBADF, m_strFileName);
    ULONGLONG base;
    switch (from) {
    case begin:
        base = 0;
        break;
    case current:
        base = m_position;
        break;
    case end:
        base = GetLength();
        break;
    default:
        AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
    }
    // Positions stay within what off_t can hold, so the base fits a signed value; the sum may still overflow.
    LONGLONG target;
    if (__builtin_add_overflow(static_cast<LONGLONG>(base), offset, &target) || target < 0 ||
        static_cast<ULONGLONG>(target) > static_cast<ULONGLONG>(std::numeric_limits<off_t>::max()))
        AfxThrowFileException(CFileException::badSeek, target < 0 ? EINVAL : EOVERFLOW, m_strFileName);
    // Only the next read or write outside the window goes to the kernel.
    m_position = static_cast<ULONGLONG>(target);
    return m_position;
}

ULONGLONG CFile::GetPosition() const
{
    if (m_fd < 0)
        ThrowErrno(EBADF, m_strFileName);
    return m_position;
}

ULONGLONG CFile::GetLength() const
{
    if (m_fd < 0)
        ThrowErrno(EBADF, m_strFileName);
    // The readers ask before every record that holds a count; between two reads or writes the kernel's answer
    // cannot change but through another program, which would have changed what the window holds as well.
    if (!m_kernelLengthKnown) {
        struct stat st;
        if (CountedKernelCall([&] { return ::fstat(m_fd, &st); }) != 0)
            ThrowErrno(errno, m_strFileName);
        m_kernelLength = static_cast<ULONGLONG>(st.st_size);
        m_kernelLengthKnown = true;
    }
    ULONGLONG length = m_kernelLength;
    if (m_dirtyBegin != m_dirtyEnd)
        length = std::max<ULONGLONG>(length, m_windowStart + m_dirtyEnd);
    return length;
}

void CFile::SetLength(ULONGLONG length)
{
    if (m_fd < 0)
        ThrowErrno(EBADF, m_strFileName);
    if (length > static_cast<ULONGLONG>(std::numeric_limits<off_t>::max()))
        AfxThrowFileException(CFileException::badSeek, EFBIG, m_strFileName);
    WriteBack();
    m_kernelLengthKnown = false;
    int rc;
    do {
        rc = CountedKernelCall([&] { return ::ftruncate(m_fd, static_cast<off_t>(length)); });
    } while (rc != 0 && errno == EINTR);
    if (rc != 0)
        ThrowErrno(errno, m_strFileName);
    if (m_windowStart + m_windowFill > length)
        m_windowFill = length > m_windowStart ? static_cast<size_t>(length - m_windowStart) : 0;
}

void CFile::Flush()
{
    if (m_fd < 0)
        return;
    WriteBack();
    if (CountedKernelCall([&] { return ::fsync(m_fd); }) != 0 && errno != EINVAL && errno != EROFS)
        ThrowErrno(errno, m_strFileName);
}

// ---------------------------------------------------------------------------------------------------------------
// Safe saving

namespace {

// A disk file around a descriptor the caller opened itself.
class AdoptedFile : public CFile
{
public:
    AdoptedFile(int fd, std::string path)
    {
        m_fd = fd;
        m_strFileName = std::move(path);
    }
};

// The file a save replaces: the target of a symbolic link rather than the link, so that the link survives.
std::string FileToReplace(const std::string& path)
{
    struct stat st;
    if (CountedKernelCall([&] { return ::lstat(path.c_str(), &st); }) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return path; // a dangling link is replaced as it stands
    std::string resolved(real);
    std::free(real);
    return resolved;
}

// Opens a file of a name nobody else uses in folder, for writing, with the permissions a new file gets (the
// umask applies). -1 with errno set when none can be made.
int CreateUniqueFile(const std::string& folder, const std::string& name, std::string& created)
{
    // The hidden name keeps the file out of the user's way; a long name is shortened to stay within NAME_MAX.
    std::string stem(1, '.');
    stem.append(name, 0, 200).push_back('.');
    static thread_local std::mt19937_64 random(std::random_device{}() ^ static_cast<uint64_t>(::getpid()));
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + stem;
        uint64_t bits = random();
        for (int i = 0; i < 8; ++i, bits /= 36)
            candidate += digits[bits % 36];
        candidate += ".tmp";
        const int fd = OpenRetryingInterrupts(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            created = std::move(candidate);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

bool Report(CFileException* error, const CFileException& cause)
{
    if (error)
        *error = cause;
    return false;
}

bool ReportErrno(CFileException* error, int err, const std::string& path)
{
    return Report(error, CFileException(CFileException::OsErrorToException(err), err, path));
}

} // namespace

bool SaveFileSafely(const std::string& path, const std::function<bool(CFile&)>& write, CFileException* error,
                    RenameFunction rename)
{
    const std::string target = FileToReplace(path);
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string("./") : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty())
        return ReportErrno(error, EISDIR, path);

    std::string temporary;
    const int fd = CreateUniqueFile(folder, name, temporary);
    if (fd < 0)
        return ReportErrno(error, errno, path);
    AdoptedFile file(fd, temporary);
    const auto discard = [&] {
        file.Abort();
        CountedKernelCall([&] { return ::unlink(temporary.c_str()); });
    };

    // The saved file keeps the permissions the user gave the old one.
    struct stat old;
    if (CountedKernelCall([&] { return ::stat(target.c_str(), &old); }) == 0)
        (void)CountedKernelCall([&] { return ::fchmod(fd, old.st_mode & 07777); });

    try {
        if (!write(file)) {
            discard();
            return Report(error, CFileException(CFileException::generic, -1, path));
        }
        file.Flush();
        file.Close();
    } catch (const CFileException& e) {
        discard();
        return Report(error, e);
    } catch (...) {
        discard();
        throw;
    }

    if (CountedKernelCall([&] { return rename(temporary.c_str(), target.c_str()); }) != 0) {
        const int err = errno;
        CountedKernelCall([&] { return ::unlink(temporary.c_str()); });
        return ReportErrno(error, err, path);
    }

    // Without this the rename itself may be lost in a crash, leaving the old file, or on some file systems none.
    const int dir = OpenRetryingInterrupts(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (dir < 0)
        return ReportErrno(error, errno, path);
    const int synced = CountedKernelCall([&] { return ::fsync(dir); }) == 0 ? 0 : errno;
    CountedKernelCall([&] { return ::close(dir); });
    if (synced != 0 && synced != EINVAL && synced != EROFS)
        return ReportErrno(error, synced, path);
    return true;
}
