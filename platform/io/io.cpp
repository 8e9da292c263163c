#include "platform/io/io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "platform/io/decoders.h"

namespace {

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Tells a missing file from a missing folder: callers search for a replacement file in the first case and for a
// replacement folder in the second.
IOError OpenError(const std::string& path, int err)
{
    switch (err) {
    case ENOENT: {
        size_t slash = path.find_last_of('/');
        std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
        return IsFolder(folder) ? IO_FILE_NOT_FOUND : IO_FOLDER_NOT_FOUND;
    }
    case ENOTDIR:
    case ELOOP:
        return IO_FOLDER_NOT_FOUND;
    case EACCES: {
        // A file we can see but not read counts as missing; a folder we cannot enter as a missing folder.
        struct stat st;
        return stat(path.c_str(), &st) == 0 ? IO_FILE_NOT_FOUND : IO_FOLDER_NOT_FOUND;
    }
    case ENOMEM:
        return IO_NO_MEMORY;
    case ENAMETOOLONG:
        return IO_FILE_NOT_FOUND;
    default:
        return IO_INVALID_FILE;
    }
}

enum class Format
{
    unknown,
    png,
    jpeg,
    gif,
    bmp,
};

Format DetectFormat(FILE* file)
{
    unsigned char head[8] = {};
    size_t n = fread(head, 1, sizeof head, file);
    rewind(file);
    if (n >= 8 && memcmp(head, "\x89PNG\r\n\x1a\n", 8) == 0)
        return Format::png;
    if (n >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF)
        return Format::jpeg;
    if (n >= 6 && (memcmp(head, "GIF87a", 6) == 0 || memcmp(head, "GIF89a", 6) == 0))
        return Format::gif;
    if (n >= 2 && head[0] == 'B' && head[1] == 'M')
        return Format::bmp;
    return Format::unknown;
}

} // namespace

namespace detail {

// Opens a regular file for reading. O_NONBLOCK keeps a FIFO or device at the path from stalling the open.
FilePtr OpenPicture(const std::string& path, IOError* error)
{
    if (path.empty()) {
        *error = IO_FILE_NOT_FOUND;
        return nullptr;
    }
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = OpenError(path, errno);
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        *error = IO_INVALID_FILE;
        return nullptr;
    }
    int fl = fcntl(fd, F_GETFL);
    if (fl != -1)
        fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    FILE* file = fdopen(fd, "rb");
    if (!file) {
        close(fd);
        *error = errno == ENOMEM ? IO_NO_MEMORY : IO_INVALID_FILE;
        return nullptr;
    }
    return WithPictureBuffer(file);
}

FilePtr WithPictureBuffer(FILE* file)
{
    if (!file)
        return nullptr;
    auto buffer = std::unique_ptr<char[]>(new (std::nothrow) char[kPictureFileBuffer]);
    // Without the memory the file keeps stdio's buffer, which only costs more calls.
    if (!buffer || setvbuf(file, buffer.get(), _IOFBF, kPictureFileBuffer) != 0)
        return FilePtr(file);
    return FilePtr(file, FileCloser{std::move(buffer)});
}

bool ClosePictureFile(FilePtr& file)
{
    // The buffer stays with the pointer until it goes, after the close has written it.
    return !file || fclose(file.release()) == 0;
}

} // namespace detail

CImage* CIO::LoadImageA(const std::string& path, unsigned flags, IOError* error, const std::string& extraFileName)
{
    (void)extraFileName;
    IOError ignored;
    IOError* err = error ? error : &ignored;
    *err = IO_OK;
    try {
        detail::FilePtr file = detail::OpenPicture(path, err);
        if (!file)
            return nullptr;
        std::unique_ptr<CImage> image;
        switch (DetectFormat(file.get())) {
        case Format::png:
            image = detail::LoadPng(file.get(), flags, err);
            break;
        case Format::jpeg:
            image = detail::LoadJpeg(file.get(), flags, err);
            break;
        case Format::gif:
            image = detail::LoadGif(file.get(), flags, err);
            break;
        case Format::bmp:
            image = detail::LoadBmp(file.get(), flags, err);
            break;
        case Format::unknown:
            *err = IO_INVALID_FILE;
            break;
        }
        if (!image && *err == IO_OK)
            *err = IO_INVALID_FILE;
        if (image)
            *err = IO_OK;
        return image.release();
    } catch (const std::bad_alloc&) {
        *err = IO_NO_MEMORY;
        return nullptr;
    }
}
