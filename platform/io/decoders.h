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
// loading needs no second picture-sized buffer.
class ImageRows
{
public:
    // Creates the image. False, with *error set, when the size is refused (2) or memory is short (4).
    bool Start(IMAGE_MODE mode, int width, int height, double dpi, IOError* error);
    // The next row to fill with width pixels of the mode, alpha first where there is one; null once every row has
    // been handed out.
    unsigned char* NextRow();
    // Moves the last rows into the image and hands it over; null unless every row was handed out.
    std::unique_ptr<CImage> Finish();

private:
    void FlushBand();

    std::unique_ptr<CImage> m_image;
    std::unique_ptr<CPixMap> m_band;
    int m_bandRows = 0; // rows of the band in use; the band starts at image row m_nextRow - m_bandRows
    int m_nextRow = 0;  // rows handed out so far
};

struct FileCloser
{
    void operator()(FILE* file) const { fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Opens a regular file for reading; null with *error set (1, 2, 3 or 4) otherwise.
FilePtr OpenPicture(const std::string& path, IOError* error);

// The readers take a file positioned at its start and always set *error.
std::unique_ptr<CImage> LoadPng(FILE* file, unsigned flags, IOError* error);
std::unique_ptr<CImage> LoadJpeg(FILE* file, unsigned flags, IOError* error);
std::unique_ptr<CImage> LoadGif(FILE* file, unsigned flags, IOError* error);
std::unique_ptr<CImage> LoadBmp(FILE* file, unsigned flags, IOError* error);

} // namespace detail
