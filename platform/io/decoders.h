#pragma once

// Pieces the format readers share. Internal to the library.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "image/image.h"
#include "platform/io/io.h"

namespace detail {

// Whether a picture of this size may be loaded at all.
bool SizeAcceptable(int64_t width, int64_t height);

// Collects decoded rows, top row first, in a band of a CPixMap and moves each full band into the image, so that
// loading needs no second picture-sized buffer. The image is made when the first band is full: a file whose header
// claims a large picture but holds no rows costs a band, not the picture.
class ImageRows
{
public:
    // Checks the size and prepares the band. False, with *error set, when the size is refused (2) or memory is
    // short (4).
    bool Start(IMAGE_MODE mode, int width, int height, double dpi, IOError* error);
    // The next row to fill with width pixels of the mode, alpha first where there is one; null once every row has
    // been handed out.
    unsigned char* NextRow();
    // Room for several rows at once, for a decoder that fills every byte of the rows it is given in one call:
    // where the next row goes, with how many rows follow it in *count, each *step bytes after the one before (0
    // rows, with null, once every row was handed out). TakeRows then hands out the first count of them, which the
    // decoder filled. Once the image is made (after the first band's rows arrived), the rows are the image's own,
    // which spares copying them.
    unsigned char* RowsAhead(int* count, ptrdiff_t* step);
    void TakeRows(int count);
    // Moves the last rows into the image and hands it over. Null, with *error set, unless every row was handed out
    // (2) and the image could be made (4).
    std::unique_ptr<CImage> Finish(IOError* error);

private:
    void FlushBand();

    IMAGE_MODE m_mode = IMAGE_MODE_RGB;
    int m_width = 0;
    int m_height = 0;
    double m_dpi = 96.0;
    std::unique_ptr<CImage> m_image; // made by the first FlushBand
    bool m_noMemory = false;         // the image could not be made; the rows still go into the band, unused
    std::unique_ptr<CPixMap> m_band;
    int m_bandRows = 0; // rows of the band in use; the band starts at image row m_nextRow - m_bandRows
    int m_nextRow = 0;  // rows handed out so far
};

// The libraries read and write pictures a few bytes at a time; stdio's own buffer (a page) would still take a
// picture to the kernel a page at a time, so the files get a larger one, which lives as long as the pointer.
constexpr size_t kPictureFileBuffer = 64 * 1024;
struct FileCloser
{
    std::unique_ptr<char[]> buffer;
    void operator()(FILE* file) const { fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Takes a file just opened, before anything was read or written, and gives it the large buffer; null stays null.
FilePtr WithPictureBuffer(FILE* file);
// Closes the file, writing what waits in its buffer: false when that or the close fails.
bool ClosePictureFile(FilePtr& file);

// Opens a regular file for reading; null with *error set (1, 2, 3 or 4) otherwise.
FilePtr OpenPicture(const std::string& path, IOError* error);

// The readers take a file positioned at its start and always set *error.
std::unique_ptr<CImage> LoadPng(FILE* file, unsigned flags, IOError* error);
std::unique_ptr<CImage> LoadJpeg(FILE* file, unsigned flags, IOError* error);
std::unique_ptr<CImage> LoadGif(FILE* file, unsigned flags, IOError* error);
std::unique_ptr<CImage> LoadBmp(FILE* file, unsigned flags, IOError* error);

} // namespace detail
