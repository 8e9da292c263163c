#pragma once

// Loading pictures from files into images, and writing images as picture files.

#include <cstdint>
#include <string>

class CImage;

// The largest picture the program takes in, whether from a picture file or from a site file: each side and the
// pixel count.
constexpr int kMaxPictureSide = 30000;
constexpr int64_t kMaxPicturePixels = 100'000'000;

// What a load or save reports. Callers act on 1 and 3 as "missing", 2 as "not a usable picture" and 4 as
// "not enough memory"; any other value counts as 2.
enum IOError
{
    IO_OK = 0,
    IO_FILE_NOT_FOUND = 1,   // no file at the path, or the file cannot be read
    IO_INVALID_FILE = 2,     // not a picture this library can decode: unknown, damaged, truncated or absurdly large
    IO_FOLDER_NOT_FOUND = 3, // the folder of the path is missing or cannot be entered
    IO_NO_MEMORY = 4,        // the picture is sound but its pixels do not fit in memory
};

// Bits of the load flags. The program passes IO_LOAD_DEFAULT.
enum IOLoadFlags : unsigned
{
    // Grey pictures come back as RGB like all others; without it a grey picture without transparency comes back
    // in mode 1. Palette pictures always come back as RGB.
    IO_LOAD_RGB = 0x1,
    // Transparency (an alpha channel, a transparent colour or index) becomes an alpha plane, mode 0x80000003;
    // without it the picture comes back opaque, its transparent pixels showing their stored colour.
    IO_LOAD_ALPHA = 0x2,
    // The resolution stored in the file becomes the image's; without it, and for files that store none, 96 dpi.
    IO_LOAD_DPI = 0x4,
    IO_LOAD_DEFAULT = IO_LOAD_RGB | IO_LOAD_ALPHA | IO_LOAD_DPI,
};

class CIO
{
public:
    // Loads the picture at path, recognised by its content: PNG, JPEG, GIF (its first frame) or BMP. Returns a new
    // image owned by the caller, or null with the reason in *error. Pictures wider or higher than kMaxPictureSide,
    // or with more than kMaxPicturePixels pixels, are refused with IO_INVALID_FILE. extraFileName is accepted for the
    // callers' sake and not used.
    static CImage* LoadImageA(const std::string& path, unsigned flags, IOError* error,
                              const std::string& extraFileName = {});

    // Writes an image of mode 1, 3 or 0x80000003 as a PNG file (grey, RGB or RGB with alpha). False, with no file
    // left behind, for other modes, an empty image or a failed write.
    static bool SavePNG(const std::string& path, const CImage& image);

    // Writes an image of mode 1, 3 or 0x80000003 in the format the path's extension names, in any case: ".jpg" and
    // ".jpeg" JPEG at the quality (1 to 100), ".png" PNG (as SavePNG), ".gif" GIF with a palette of at most 256
    // colours made from the picture, ".bmp" 24-bit BMP. Only PNG keeps alpha; the others drop it. flags is accepted
    // for the callers' sake and not used. False, with no file left behind, for any other extension, an empty image
    // or a failed write; a path that cannot be opened is left as it was.
    static bool SaveImage(const std::string& path, const CImage& image, unsigned flags, int quality);
};
