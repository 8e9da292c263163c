#include "platform/io/jpeg_io.h"

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <vector>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "image/image.h"
#include "platform/io/decoders.h"
#include "platform/win/file.h"

// libjpeg reports errors by longjmp. Each function that calls setjmp keeps no local with a destructor and changes
// no local after the setjmp: all state lives in a job object owned by its caller, which cleans up afterwards. The
// callbacks never let a C++ exception pass through the library: a failing read is kept and raised again once the
// library has been left.

namespace {

constexpr size_t kChunk = 4096;
constexpr int kMaxJpegSide = 65500;

class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Up to count bytes; 0 at the end.
    virtual size_t Read(unsigned char* buffer, size_t count) = 0;
};

class StdioSource : public ByteSource
{
public:
    explicit StdioSource(FILE* file) : m_file(file) {}
    size_t Read(unsigned char* buffer, size_t count) override { return fread(buffer, 1, count, m_file); }

private:
    FILE* m_file;
};

class CFileSource : public ByteSource
{
public:
    explicit CFileSource(CFile& file) : m_file(file) {}
    size_t Read(unsigned char* buffer, size_t count) override { return m_file.Read(buffer, static_cast<UINT>(count)); }

private:
    CFile& m_file;
};

struct JpegJob
{
    jmp_buf jump;
    jpeg_error_mgr errorManager{};
    IOError error = IO_INVALID_FILE;
};

void OnJpegError(j_common_ptr cinfo)
{
    auto* job = static_cast<JpegJob*>(cinfo->client_data);
    if (cinfo->err->msg_code == JERR_OUT_OF_MEMORY)
        job->error = IO_NO_MEMORY;
    longjmp(job->jump, 1);
}

// Messages are not printed. A scan that stops before its rows (its data runs into a marker or the file ends) or
// whose data cannot be decoded is a broken stream: the library would go on and make the rest of the picture from
// nothing, so the first such warning ends the decoding as an error does. Other warnings (stray bytes between
// markers, unusual but readable headers) leave the picture as the library makes it.
void OnJpegMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
        longjmp(static_cast<JpegJob*>(cinfo->client_data)->jump, 1);
    default:
        break;
    }
}

// ---- Decoding

struct JpegReadJob : JpegJob
{
    jpeg_decompress_struct info{};
    jpeg_source_mgr sourceManager{};
    bool created = false;
    ByteSource* source = nullptr;
    std::exception_ptr readFailure;
    unsigned char buffer[kChunk];
    unsigned flags = 0;
    std::string* comment = nullptr;
    detail::ImageRows rows;
    std::vector<unsigned char> cmykRow;
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr cinfo)
{
    auto* job = static_cast<JpegReadJob*>(static_cast<JpegJob*>(cinfo->client_data));
    size_t count = 0;
    bool failed = false;
    try {
        count = job->source->Read(job->buffer, kChunk);
    } catch (...) {
        job->readFailure = std::current_exception();
        failed = true;
    }
    if (failed)
        ERREXIT(cinfo, JERR_FILE_READ);
    // A stream that ends early is refused rather than padded, as a half picture is no picture.
    if (count == 0)
        ERREXIT(cinfo, JERR_INPUT_EOF);
    job->sourceManager.next_input_byte = job->buffer;
    job->sourceManager.bytes_in_buffer = count;
    return TRUE;
}

void SkipInput(j_decompress_ptr cinfo, long count)
{
    jpeg_source_mgr* src = cinfo->src;
    if (count <= 0)
        return;
    while (static_cast<size_t>(count) > src->bytes_in_buffer) {
        count -= static_cast<long>(src->bytes_in_buffer);
        FillInput(cinfo);
    }
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<size_t>(count);
}

double JpegDotsPerInch(const jpeg_decompress_struct& info, unsigned flags)
{
    if ((flags & IO_LOAD_DPI) && info.saw_JFIF_marker && info.X_density > 0) {
        if (info.density_unit == 1)
            return info.X_density;
        if (info.density_unit == 2)
            return info.X_density * 2.54;
    }
    return 96.0;
}

bool RunJpegRead(JpegReadJob* job)
{
    if (setjmp(job->jump))
        return false;

    jpeg_decompress_struct& info = job->info;
    jpeg_create_decompress(&info);
    job->created = true;
    job->sourceManager.init_source = InitSource;
    job->sourceManager.fill_input_buffer = FillInput;
    job->sourceManager.skip_input_data = SkipInput;
    job->sourceManager.resync_to_restart = jpeg_resync_to_restart;
    job->sourceManager.term_source = TermSource;
    info.src = &job->sourceManager;
    if (job->comment)
        jpeg_save_markers(&info, JPEG_COM, 0xFFFF);

    jpeg_read_header(&info, TRUE);
    if (!detail::SizeAcceptable(info.image_width, info.image_height))
        return false;
    if (job->comment) {
        for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
            if (marker->marker == JPEG_COM) {
                job->comment->assign(reinterpret_cast<const char*>(marker->data), marker->data_length);
                break;
            }
        }
    }

    bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    bool grey = info.jpeg_color_space == JCS_GRAYSCALE && !(job->flags & IO_LOAD_RGB);
    info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != (cmyk ? 4 : grey ? 1 : 3))
        return false;

    IMAGE_MODE mode = grey ? IMAGE_MODE_GREY : IMAGE_MODE_RGB;
    if (!job->rows.Start(mode, int(info.output_width), int(info.output_height), JpegDotsPerInch(info, job->flags),
                         &job->error))
        return false;
    if (cmyk)
        job->cmykRow.resize(size_t(info.output_width) * 4);
    // Files written with an Adobe marker store CMYK inverted.
    bool inverted = info.saw_Adobe_marker;
    // Straight into the rows, as many a call as the library gives: it then upsamples into them directly.
    while (!cmyk && info.output_scanline < info.output_height) {
        int room = 0;
        ptrdiff_t step = 0;
        unsigned char* first = job->rows.RowsAhead(&room, &step);
        if (!first)
            return false;
        JSAMPROW targets[16];
        const int asked = std::min(room, 16);
        for (int i = 0; i < asked; ++i)
            targets[i] = first + i * step;
        const JDIMENSION got = jpeg_read_scanlines(&info, targets, static_cast<JDIMENSION>(asked));
        if (got == 0)
            return false;
        job->rows.TakeRows(static_cast<int>(got));
    }
    while (info.output_scanline < info.output_height) {
        unsigned char* target = job->rows.NextRow();
        JSAMPROW row = cmyk ? job->cmykRow.data() : target;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            return false;
        if (cmyk) {
            for (JDIMENSION x = 0; x < info.output_width; ++x) {
                const unsigned char* s = row + x * 4;
                unsigned k = inverted ? s[3] : 255u - s[3];
                for (int c = 0; c < 3; ++c)
                    target[x * 3 + c] = static_cast<unsigned char>((inverted ? s[c] : 255u - s[c]) * k / 255u);
            }
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

// Decodes one stream; *unread receives how many bytes were read from the source beyond its end marker.
std::unique_ptr<CImage> DecodeJpeg(ByteSource& source, unsigned flags, std::string* comment, IOError* error,
                                   size_t* unread)
{
    auto job = std::make_unique<JpegReadJob>();
    job->info.err = jpeg_std_error(&job->errorManager);
    job->errorManager.error_exit = OnJpegError;
    job->errorManager.emit_message = OnJpegMessage;
    job->info.client_data = static_cast<JpegJob*>(job.get());
    job->source = &source;
    job->flags = flags;
    job->comment = comment;

    bool decoded = false;
    try {
        decoded = RunJpegRead(job.get());
    } catch (...) {
        if (job->created)
            jpeg_destroy_decompress(&job->info);
        throw;
    }
    size_t left = job->sourceManager.bytes_in_buffer;
    if (job->created)
        jpeg_destroy_decompress(&job->info);
    if (job->readFailure)
        std::rethrow_exception(job->readFailure);
    std::unique_ptr<CImage> image;
    if (decoded)
        image = job->rows.Finish(error);
    else
        *error = job->error == IO_OK ? IO_INVALID_FILE : job->error;
    if (unread)
        *unread = image ? left : 0;
    return image;
}

// ---- Encoding

struct JpegWriteJob : JpegJob
{
    jpeg_compress_struct info{};
    bool created = false;
    bool destinationSet = false;
    // The stream, in a buffer the library's memory destination takes from malloc and grows.
    unsigned char* data = nullptr;
    unsigned long size = 0;
    const CPixMap* map = nullptr;
    int quality = 75;
    const std::string* comment = nullptr;
    std::vector<unsigned char> row;

    JpegWriteJob() = default;
    JpegWriteJob(const JpegWriteJob&) = delete;
    JpegWriteJob& operator=(const JpegWriteJob&) = delete;
    ~JpegWriteJob() { free(data); }
};

// Where the map's rows already hold red, green and blue bytes side by side (pixels of three bytes, or of four with
// the fourth skipped), the codec reads them where they are; other maps are gathered into a row first. Either way
// the codec sees the same colours and writes the same bytes.
J_COLOR_SPACE DirectColorSpace(const CPixMap& map)
{
    if (!map.interleaved || map.bitsPerPlane != 8)
        return JCS_UNKNOWN;
    if (map.plane[0].pixelStep == 3)
        return JCS_RGB;
    if (map.plane[0].pixelStep == 4)
        return JCS_EXT_RGBX;
    return JCS_UNKNOWN;
}

bool RunJpegWrite(JpegWriteJob* job)
{
    if (setjmp(job->jump))
        return false;

    jpeg_compress_struct& info = job->info;
    jpeg_create_compress(&info);
    job->created = true;
    jpeg_mem_dest(&info, &job->data, &job->size);
    job->destinationSet = true;

    const CPixMap& map = *job->map;
    const J_COLOR_SPACE direct = DirectColorSpace(map);
    info.image_width = JDIMENSION(map.width);
    info.image_height = JDIMENSION(map.height);
    info.input_components = direct == JCS_EXT_RGBX ? 4 : 3;
    info.in_color_space = direct == JCS_UNKNOWN ? JCS_RGB : direct;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, job->quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (!job->comment->empty()) {
        // A marker holds at most 65533 bytes of data.
        size_t length = std::min<size_t>(job->comment->size(), 65533);
        jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(job->comment->data()),
                          static_cast<unsigned>(length));
    }
    if (direct != JCS_UNKNOWN) {
        // The codec only reads its input rows.
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = map.plane[0].data + static_cast<ptrdiff_t>(info.next_scanline) * map.plane[0].rowStep;
            jpeg_write_scanlines(&info, &row, 1);
        }
    } else {
        job->row.resize(size_t(map.width) * 3);
        while (info.next_scanline < info.image_height) {
            int y = int(info.next_scanline);
            for (int x = 0; x < map.width; ++x)
                for (int p = 0; p < 3; ++p)
                    job->row[size_t(x) * 3 + p] = *map.Sample(x, y, p);
            JSAMPROW row = job->row.data();
            jpeg_write_scanlines(&info, &row, 1);
        }
    }
    jpeg_finish_compress(&info);
    return true;
}

// Lets go of the library's state. The memory destination hands its buffer over only when the stream is finished,
// and once grown that is no longer the buffer it first handed out; after a failure it is fetched here so that
// the job frees the right one.
void EndJpegWrite(JpegWriteJob* job, bool finished)
{
    if (!job->created)
        return;
    if (job->destinationSet && !finished)
        job->info.dest->term_destination(&job->info);
    jpeg_destroy_compress(&job->info);
}

bool MapCanBeEncoded(const CPixMap& map)
{
    if (map.mode != IMAGE_MODE_RGB || map.bitsPerPlane != 8 || map.planes != 3)
        return false;
    if (map.width < 1 || map.height < 1 || map.width > kMaxJpegSide || map.height > kMaxJpegSide)
        return false;
    for (int p = 0; p < (map.interleaved ? 1 : 3); ++p)
        if (!map.plane[p].data)
            return false;
    return true;
}

} // namespace

namespace detail {

std::unique_ptr<CImage> LoadJpeg(FILE* file, unsigned flags, IOError* error)
{
    StdioSource source(file);
    return DecodeJpeg(source, flags, nullptr, error, nullptr);
}

} // namespace detail

bool CJpegIO::Save(CFile& file, const CPixMap& map, int quality, IOError* error, const std::string& comment)
{
    IOError ignored;
    IOError* err = error ? error : &ignored;
    if (!MapCanBeEncoded(map)) {
        *err = IO_INVALID_FILE;
        return false;
    }
    try {
        auto job = std::make_unique<JpegWriteJob>();
        job->info.err = jpeg_std_error(&job->errorManager);
        job->errorManager.error_exit = OnJpegError;
        job->errorManager.emit_message = OnJpegMessage;
        job->info.client_data = static_cast<JpegJob*>(job.get());
        job->map = &map;
        job->quality = quality;
        job->comment = &comment;
        bool encoded = false;
        try {
            encoded = RunJpegWrite(job.get());
        } catch (...) {
            EndJpegWrite(job.get(), false);
            throw;
        }
        EndJpegWrite(job.get(), encoded);
        if (!encoded || job->size > UINT_MAX) {
            *err = job->error == IO_OK ? IO_INVALID_FILE : job->error;
            return false;
        }
        file.Write(job->data, static_cast<UINT>(job->size));
        *err = IO_OK;
        return true;
    } catch (const std::bad_alloc&) {
        *err = IO_NO_MEMORY;
        return false;
    }
}

CImage* CJpegIO::Load(CFile& file, IOError* error, std::string* comment)
{
    IOError ignored;
    IOError* err = error ? error : &ignored;
    try {
        CFileSource source(file);
        size_t unread = 0;
        std::unique_ptr<CImage> image = DecodeJpeg(source, IO_LOAD_RGB, comment, err, &unread);
        // Bytes read ahead beyond the end marker belong to whatever follows the stream in the file.
        if (image && unread > 0)
            file.Seek(-static_cast<LONGLONG>(unread), CFile::current);
        return image.release();
    } catch (const std::bad_alloc&) {
        *err = IO_NO_MEMORY;
        return nullptr;
    }
}
