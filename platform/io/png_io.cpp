#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "image/image.h"
#include "platform/io/decoders.h"
#include "platform/io/io.h"

// libpng reports errors by longjmp. Each function that calls setjmp keeps no local with a destructor and changes
// no local after the setjmp: all state lives in a job object owned by its caller, which cleans up afterwards.

namespace detail {

namespace {

// Far beyond the chunks the picture needs (a palette, its transparency, the resolution).
constexpr png_alloc_size_t kMaxPngChunkBytes = 8'000'000;
// Chunks libpng stores for the caller; those beyond are skipped.
constexpr png_uint_32 kMaxPngChunks = 1000;

struct PngReadJob
{
    FILE* file = nullptr;
    unsigned flags = 0;
    IOError error = IO_INVALID_FILE;
    ImageRows rows;
    std::vector<unsigned char> firstRow; // for interlaced files only: the first row, read before the whole
    auto_array<unsigned char> whole;     // the whole picture, for interlaced files only
    std::vector<png_bytep> rowPointers;
};

// Whatever libpng fails on, out of memory included, is the file's doing: its own buffers are bounded by the limits
// set below, so only the picture itself (allocated here, not by libpng) can genuinely be short of memory.
void OnPngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

// Damaged ancillary chunks and the like are not worth a word on the console.
void OnPngWarning(png_structp, png_const_charp) {}

double DotsPerInch(png_structp png, png_infop info, unsigned flags)
{
    png_uint_32 x = 0, y = 0;
    int unit = 0;
    if ((flags & IO_LOAD_DPI) && png_get_pHYs(png, info, &x, &y, &unit) && unit == PNG_RESOLUTION_METER && x > 0)
        return x * 0.0254;
    return 96.0;
}

bool RunPngRead(png_structp png, png_infop info, PngReadJob* job)
{
    if (setjmp(png_jmpbuf(png)))
        return false;

    png_init_io(png, job->file);
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    // A chunk's header may claim up to 2 GB, which libpng would allocate and clear before finding the file too
    // short. Ancillary chunks are refused beyond a few megabytes; those the picture does not need (text, colour
    // profiles, private chunks and the like) are skipped unread rather than stored.
    png_set_chunk_malloc_max(png, kMaxPngChunkBytes);
    png_set_chunk_cache_max(png, kMaxPngChunks);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    static const png_byte kNeededChunks[] = {'p', 'H', 'Y', 's', '\0'};
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kNeededChunks, 1);
    png_read_info(png, info);

    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    int depth = png_get_bit_depth(png, info);
    int type = png_get_color_type(png, info);
    if (!SizeAcceptable(width, height))
        return false;

    bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    bool alpha = ((type & PNG_COLOR_MASK_ALPHA) || hasTrns) && (job->flags & IO_LOAD_ALPHA);
    bool grey = (type & PNG_COLOR_MASK_COLOR) == 0;

    if (type == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (grey && depth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (alpha && hasTrns)
        png_set_tRNS_to_alpha(png);
    // Expanding a palette brings its transparency along, so that too is stripped when it is not wanted.
    if (!alpha && ((type & PNG_COLOR_MASK_ALPHA) || (hasTrns && type == PNG_COLOR_TYPE_PALETTE)))
        png_set_strip_alpha(png);
    if (depth == 16)
        png_set_scale_16(png);

    IMAGE_MODE mode;
    if (grey && !alpha && !(job->flags & IO_LOAD_RGB)) {
        mode = IMAGE_MODE_GREY;
    } else {
        if (grey)
            png_set_gray_to_rgb(png);
        mode = alpha ? IMAGE_MODE_RGBA : IMAGE_MODE_RGB;
    }
    if (alpha)
        png_set_swap_alpha(png); // the image keeps alpha before red, green and blue
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);

    size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != size_t(width) * ModePlanes(mode))
        return false;
    if (!job->rows.Start(mode, int(width), int(height), DotsPerInch(png, info, job->flags), &job->error))
        return false;

    if (passes == 1) {
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(png, job->rows.NextRow(), nullptr);
    } else {
        // The passes of an interlaced file visit every row several times, so the rows are collected first. The
        // first row of the first pass is read before the picture-sized buffer is made, so that a file without
        // pixels costs a row rather than the picture.
        job->firstRow.assign(rowBytes, 0);
        png_read_row(png, job->firstRow.data(), nullptr);
        job->whole = auto_array<unsigned char>::Zeroed(rowBytes * height);
        if (!job->whole.get()) {
            job->error = IO_NO_MEMORY;
            return false;
        }
        memcpy(job->whole.get(), job->firstRow.data(), rowBytes);
        job->rowPointers.resize(height);
        for (png_uint_32 y = 0; y < height; ++y)
            job->rowPointers[y] = job->whole.get() + rowBytes * y;
        // As png_read_image does, from the second row of the first pass on.
        for (int pass = 0; pass < passes; ++pass)
            for (png_uint_32 y = pass == 0 ? 1 : 0; y < height; ++y)
                png_read_row(png, job->rowPointers[y], nullptr);
        for (png_uint_32 y = 0; y < height; ++y)
            memcpy(job->rows.NextRow(), job->rowPointers[y], rowBytes);
    }
    // The chunks after the pixels are not needed; a file that lacks its end chunk still has a whole picture.
    return true;
}

struct PngWriteJob
{
    FILE* file = nullptr;
    const CImage* image = nullptr;
};

bool RunPngWrite(png_structp png, png_infop info, PngWriteJob* job)
{
    if (setjmp(png_jmpbuf(png)))
        return false;

    const CImage& image = *job->image;
    int type = image.GetMode() == IMAGE_MODE_GREY  ? PNG_COLOR_TYPE_GRAY
               : image.GetMode() == IMAGE_MODE_RGB ? PNG_COLOR_TYPE_RGB
                                                   : PNG_COLOR_TYPE_RGB_ALPHA;
    png_init_io(png, job->file);
    png_set_IHDR(png, info, image.Width(), image.Height(), 8, type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (image.GetDpi() > 0) {
        auto perMeter = static_cast<png_uint_32>(image.GetDpi() / 0.0254 + 0.5);
        png_set_pHYs(png, info, perMeter, perMeter, PNG_RESOLUTION_METER);
    }
    png_write_info(png, info);
    if (type == PNG_COLOR_TYPE_RGB_ALPHA)
        png_set_swap_alpha(png);
    const unsigned char* data = image.GetData();
    size_t stride = size_t(image.GetStride());
    for (int y = 0; y < image.Height(); ++y)
        png_write_row(png, data + stride * y);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::unique_ptr<CImage> LoadPng(FILE* file, unsigned flags, IOError* error)
{
    auto job = std::make_unique<PngReadJob>();
    job->file = file;
    job->flags = flags;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_read_struct(png ? &png : nullptr, nullptr, nullptr);
        *error = IO_NO_MEMORY;
        return nullptr;
    }
    bool read = false;
    try {
        read = RunPngRead(png, info, job.get());
    } catch (...) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::unique_ptr<CImage> image;
    if (read)
        image = job->rows.Finish(error);
    else
        *error = job->error == IO_OK ? IO_INVALID_FILE : job->error;
    return image;
}

} // namespace detail

bool CIO::SavePNG(const std::string& path, const CImage& image)
{
    IMAGE_MODE mode = image.GetMode();
    if (image.IsEmpty() || image.Width() < 1 || image.Height() < 1 ||
        (mode != IMAGE_MODE_GREY && mode != IMAGE_MODE_RGB && mode != IMAGE_MODE_RGBA))
        return false;
    detail::FilePtr file = detail::WithPictureBuffer(fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    detail::PngWriteJob job;
    job.file = file.get();
    job.image = &image;
    bool written = false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, detail::OnPngError, detail::OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png && info)
        written = detail::RunPngWrite(png, info, &job);
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    if (!detail::ClosePictureFile(file))
        written = false;
    if (!written)
        remove(path.c_str());
    return written;
}
