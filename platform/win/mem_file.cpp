#include "platform/win/file.h"

#include <cstddef>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

// CMemFile: a file held in memory, in a buffer of its own or one its caller lends it.

namespace {

// A memory file never holds more than a pointer difference can span, so that every offset into the buffer is
// representable and a huge seek followed by a write cannot wrap around.
constexpr ULONGLONG kMaxMemFileSize = static_cast<ULONGLONG>(std::numeric_limits<std::ptrdiff_t>::max());

} // namespace

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
