#include "platform/win/file.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <limits>
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

// A memory file never holds more than a pointer difference can span, so that every offset into the buffer is
// representable and a huge seek followed by a write cannot wrap around.
constexpr ULONGLONG kMaxMemFileSize = static_cast<ULONGLONG>(std::numeric_limits<std::ptrdiff_t>::max());

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

    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(errno);

    // Linux opens a folder for reading; every later read would fail with a less helpful error.
    struct stat st;
    int err = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
    if (err != 0) {
        ::close(fd);
        return fail(err);
    }

    m_fd = fd;
    m_strFileName = path;
    return TRUE;
}

void CFile::Close()
{
    if (m_fd < 0)
        return;
    int fd = m_fd;
    m_fd = -1;
    // On Linux the descriptor is released even when close reports EINTR, so it must not be retried.
    if (::close(fd) != 0 && errno != EINTR)
        ThrowErrno(errno, m_strFileName);
}

void CFile::Abort()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
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
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno, m_strFileName);
        }
        if (n == 0)
            break;
        done += static_cast<UINT>(n);
    }
    return done;
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
    UINT done = 0;
    while (done < count) {
        ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno(errno, m_strFileName);
        }
        if (n == 0)
            AfxThrowFileException(CFileException::diskFull, ENOSPC, m_strFileName);
        done += static_cast<UINT>(n);
    }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    if (m_fd < 0)
        ThrowErrno(EBADF, m_strFileName);
    int whence;
    switch (from) {
    case begin:
        whence = SEEK_SET;
        break;
    case current:
        whence = SEEK_CUR;
        break;
    case end:
        whence = SEEK_END;
        break;
    default:
        AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
    }
    off_t pos = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    if (pos < 0) {
        // lseek refuses a position before the start with EINVAL and one beyond off_t with EOVERFLOW; both are
        // bad seeks rather than the generic cause errno alone would give.
        int err = errno;
        AfxThrowFileException(err == EBADF ? CFileException::invalidFile : CFileException::badSeek, err, m_strFileName);
    }
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetPosition() const
{
    if (m_fd < 0)
        ThrowErrno(EBADF, m_strFileName);
    off_t pos = ::lseek(m_fd, 0, SEEK_CUR);
    if (pos < 0)
        ThrowErrno(errno, m_strFileName);
    return static_cast<ULONGLONG>(pos);
}

ULONGLONG CFile::GetLength() const
{
    if (m_fd < 0)
        ThrowErrno(EBADF, m_strFileName);
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        ThrowErrno(errno, m_strFileName);
    return static_cast<ULONGLONG>(st.st_size);
}

void CFile::SetLength(ULONGLONG length)
{
    if (m_fd < 0)
        ThrowErrno(EBADF, m_strFileName);
    if (length > static_cast<ULONGLONG>(std::numeric_limits<off_t>::max()))
        AfxThrowFileException(CFileException::badSeek, EFBIG, m_strFileName);
    int rc;
    do {
        rc = ::ftruncate(m_fd, static_cast<off_t>(length));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0)
        ThrowErrno(errno, m_strFileName);
}

void CFile::Flush()
{
    if (m_fd < 0)
        return;
    if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        ThrowErrno(errno, m_strFileName);
}

// ---------------------------------------------------------------------------------------------------------------
// CMemFile

CMemFile::CMemFile(UINT growBytes) : m_growBytes(growBytes) {}

CMemFile::CMemFile(BYTE* buffer, UINT size, UINT growBytes) : m_growBytes(growBytes)
{
    Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile()
{
    Free();
}

BOOL CMemFile::Open(const std::string& path, UINT, CFileException* error)
{
    // A memory file has no name to open; refusing keeps a caller from thinking it reads a disk file.
    if (error) {
        error->m_cause = CFileException::generic;
        error->m_lOsError = -1;
        error->m_strFileName = path;
    }
    return FALSE;
}

void CMemFile::Close()
{
    Free();
}

void CMemFile::Abort()
{
    Free();
}

void CMemFile::Free()
{
    if (m_autoDelete)
        delete[] m_buffer;
    m_buffer = nullptr;
    m_bufferSize = 0;
    m_fileSize = 0;
    m_position = 0;
    m_autoDelete = true;
}

void CMemFile::Attach(BYTE* buffer, UINT size, UINT growBytes)
{
    Free();
    m_buffer = buffer;
    m_bufferSize = buffer ? size : 0;
    m_fileSize = m_bufferSize;
    m_growBytes = growBytes;
    m_autoDelete = false;
}

BYTE* CMemFile::Detach()
{
    BYTE* buffer = m_buffer;
    m_buffer = nullptr;
    Free();
    return buffer;
}

// Makes room for newSize bytes, rounding up to whole grow steps. A caller's buffer is never resized or freed: the
// bytes move to a buffer of the file's own, which the file frees from then on.
void CMemFile::GrowFile(ULONGLONG newSize)
{
    if (newSize <= m_bufferSize)
        return;
    if (m_growBytes == 0 || newSize > kMaxMemFileSize)
        AfxThrowFileException(CFileException::diskFull);

    ULONGLONG steps = newSize / m_growBytes + (newSize % m_growBytes != 0);
    ULONGLONG capacity = steps * m_growBytes;
    if (capacity > kMaxMemFileSize)
        capacity = newSize;

    BYTE* grown = new (std::nothrow) BYTE[static_cast<size_t>(capacity)];
    if (!grown)
        AfxThrowFileException(CFileException::diskFull);
    if (m_fileSize > 0)
        std::memcpy(grown, m_buffer, static_cast<size_t>(m_fileSize));
    if (m_autoDelete)
        delete[] m_buffer;
    m_buffer = grown;
    m_bufferSize = capacity;
    m_autoDelete = true;
}

UINT CMemFile::Read(void* buffer, UINT count)
{
    if (count == 0 || m_position >= m_fileSize)
        return 0;
    if (!buffer)
        AfxThrowFileException(CFileException::generic, EINVAL);
    ULONGLONG remaining = m_fileSize - m_position;
    UINT n = remaining < count ? static_cast<UINT>(remaining) : count;
    std::memcpy(buffer, m_buffer + m_position, n);
    m_position += n;
    return n;
}

void CMemFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    if (!buffer)
        AfxThrowFileException(CFileException::generic, EINVAL);
    if (m_position > kMaxMemFileSize - count)
        AfxThrowFileException(CFileException::diskFull);
    ULONGLONG newEnd = m_position + count;

    // The source may lie in this file's own buffer, which growing frees.
    std::vector<BYTE> copy;
    const auto* src = static_cast<const BYTE*>(buffer);
    if (newEnd > m_bufferSize && m_buffer && src < m_buffer + m_bufferSize && src + count > m_buffer) {
        copy.assign(src, src + count);
        src = copy.data();
    }

    GrowFile(newEnd);
    if (m_position > m_fileSize)
        std::memset(m_buffer + m_fileSize, 0, static_cast<size_t>(m_position - m_fileSize));
    std::memmove(m_buffer + m_position, src, count);
    m_position = newEnd;
    if (newEnd > m_fileSize)
        m_fileSize = newEnd;
}

ULONGLONG CMemFile::Seek(LONGLONG offset, UINT from)
{
    ULONGLONG base;
    switch (from) {
    case begin:
        base = 0;
        break;
    case current:
        base = m_position;
        break;
    case end:
        base = m_fileSize;
        break;
    default:
        AfxThrowFileException(CFileException::badSeek);
    }
    // Positions stay within 0..kMaxMemFileSize, so the base fits a signed value; the sum may still overflow.
    LONGLONG target;
    if (__builtin_add_overflow(static_cast<LONGLONG>(base), offset, &target) || target < 0)
        AfxThrowFileException(CFileException::badSeek);
    m_position = static_cast<ULONGLONG>(target);
    return m_position;
}

void CMemFile::SetLength(ULONGLONG length)
{
    if (length > kMaxMemFileSize)
        AfxThrowFileException(CFileException::diskFull);
    GrowFile(length);
    // Bytes that come into the file this way read as zero, never as what the buffer held before.
    if (length > m_fileSize)
        std::memset(m_buffer + m_fileSize, 0, static_cast<size_t>(length - m_fileSize));
    m_fileSize = length;
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
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
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
    const std::string stem = "." + name.substr(0, 200) + ".";
    static thread_local std::mt19937_64 random(std::random_device{}() ^ static_cast<uint64_t>(::getpid()));
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + stem;
        uint64_t bits = random();
        for (int i = 0; i < 8; ++i, bits /= 36)
            candidate += digits[bits % 36];
        candidate += ".tmp";
        int fd;
        do {
            fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EINTR);
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
        ::unlink(temporary.c_str());
    };

    // The saved file keeps the permissions the user gave the old one.
    struct stat old;
    if (::stat(target.c_str(), &old) == 0)
        (void)::fchmod(fd, old.st_mode & 07777);

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

    if (rename(temporary.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        return ReportErrno(error, err, path);
    }

    // Without this the rename itself may be lost in a crash, leaving the old file, or on some file systems none.
    int dir;
    do {
        dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (dir < 0 && errno == EINTR);
    if (dir < 0)
        return ReportErrno(error, errno, path);
    const int synced = ::fsync(dir) == 0 ? 0 : errno;
    ::close(dir);
    if (synced != 0 && synced != EINVAL && synced != EROFS)
        return ReportErrno(error, synced, path);
    return true;
}
