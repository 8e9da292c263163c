#include "platform/io/gif_io.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "image/image.h"
#include "platform/io/decoders.h"

namespace {

// The most pixels of a picture that lie outside its first frame before its screen is doubted: a 4096 x 4096 canvas.
constexpr int64_t kMaxGifBackgroundPixels = int64_t(1) << 24;

int ReadGifBytes(GifFileType* gif, GifByteType* buffer, int count)
{
    return static_cast<int>(fread(buffer, 1, static_cast<size_t>(count), static_cast<FILE*>(gif->UserData)));
}

// Owns an open GIF reader.
class GifReader
{
public:
    explicit GifReader(FILE* file) { m_gif = DGifOpen(file, ReadGifBytes, &m_error); }
    GifReader(const GifReader&) = delete;
    GifReader& operator=(const GifReader&) = delete;
    ~GifReader()
    {
        if (m_gif) {
            int ignored;
            DGifCloseFile(m_gif, &ignored);
        }
    }

    GifFileType* get() const { return m_gif; }
    // The error of the reader, or of its opening when there is no reader.
    int Error() const { return m_gif ? m_gif->Error : m_error; }

private:
    GifFileType* m_gif = nullptr;
    int m_error = 0;
};

IOError GifError(const GifReader& reader)
{
    return reader.Error() == D_GIF_ERR_NOT_ENOUGH_MEM ? IO_NO_MEMORY : IO_INVALID_FILE;
}

// Reads an extension block to its end; the transparent index of a graphic control block goes into *transparent.
bool ReadExtension(GifFileType* gif, int* transparent)
{
    int code = 0;
    GifByteType* data = nullptr;
    if (DGifGetExtension(gif, &code, &data) == GIF_ERROR)
        return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && data && data[0] >= 4) {
        GraphicsControlBlock gcb;
        if (DGifExtensionToGCB(data[0], data + 1, &gcb) == GIF_OK)
            *transparent = gcb.TransparentColor;
    }
    while (data) {
        if (DGifGetExtensionNext(gif, &data) == GIF_ERROR)
            return false;
    }
    return true;
}

// Skips the compressed pixels of the picture whose descriptor was just read.
bool SkipPicture(GifFileType* gif)
{
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR)
        return false;
    while (block) {
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR)
            return false;
    }
    return true;
}

} // namespace

namespace detail {

std::unique_ptr<CImage> LoadGif(FILE* file, unsigned flags, IOError* error)
{
    *error = IO_INVALID_FILE;
    GifReader reader(file);
    GifFileType* gif = reader.get();
    if (!gif) {
        *error = GifError(reader);
        return nullptr;
    }

    // Find the first picture, keeping the transparent index of the control block before it.
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) {
            *error = GifError(reader);
            return nullptr;
        }
        if (record == IMAGE_DESC_RECORD_TYPE)
            break;
        if (record == TERMINATE_RECORD_TYPE)
            return nullptr;
        if (record == EXTENSION_RECORD_TYPE && !ReadExtension(gif, &transparent)) {
            *error = GifError(reader);
            return nullptr;
        }
    }
    if (DGifGetImageDesc(gif) == GIF_ERROR) {
        *error = GifError(reader);
        return nullptr;
    }

    const GifImageDesc& frame = gif->Image;
    int64_t left = frame.Left, top = frame.Top, frameWidth = frame.Width, frameHeight = frame.Height;
    if (!SizeAcceptable(frameWidth, frameHeight))
        return nullptr;
    // The picture is the logical screen with the first frame placed on it; a frame reaching beyond the screen
    // widens it so that nothing of the frame is lost.
    int64_t width = std::max<int64_t>(gif->SWidth, left + frameWidth);
    int64_t height = std::max<int64_t>(gif->SHeight, top + frameHeight);
    if (!SizeAcceptable(width, height))
        return nullptr;
    // Everything outside the frame is made from no data at all. A screen that would be mostly such background,
    // and much of it, is not believed (a few bytes could otherwise ask for hundreds of megabytes): the picture is
    // then the first frame alone.
    const int64_t backgroundPixels = width * height - frameWidth * frameHeight;
    if (backgroundPixels > kMaxGifBackgroundPixels && backgroundPixels > 3 * frameWidth * frameHeight) {
        width = frameWidth;
        height = frameHeight;
        left = 0;
        top = 0;
    }
    const ColorMapObject* colors = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!colors || !colors->Colors || colors->ColorCount < 1)
        return nullptr;

    int fw = int(frameWidth), fh = int(frameHeight);
    // The top row comes first in either order. It is read before the frame-sized buffer is made, so that a frame
    // without pixel data costs a row rather than the frame.
    std::vector<GifByteType> topRow(static_cast<size_t>(fw));
    if (DGifGetLine(gif, topRow.data(), fw) == GIF_ERROR) {
        *error = GifError(reader);
        return nullptr;
    }
    // Zeroed without being written, so that a frame whose data stops short costs only the rows it has.
    auto indices = auto_array<GifByteType>::Zeroed(size_t(frameWidth * frameHeight));
    if (!indices.get()) {
        *error = IO_NO_MEMORY;
        return nullptr;
    }
    std::copy(topRow.begin(), topRow.end(), indices.get());
    if (frame.Interlace) {
        static const int start[] = {0, 4, 2, 1};
        static const int step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < fh; y += step[pass])
                if (y > 0 && DGifGetLine(gif, &indices[size_t(y) * fw], fw) == GIF_ERROR) {
                    *error = GifError(reader);
                    return nullptr;
                }
    } else {
        for (int y = 1; y < fh; ++y)
            if (DGifGetLine(gif, &indices[size_t(y) * fw], fw) == GIF_ERROR) {
                *error = GifError(reader);
                return nullptr;
            }
    }

    bool coversScreen = left == 0 && top == 0 && frameWidth == width && frameHeight == height;
    bool alpha = (flags & IO_LOAD_ALPHA) && (transparent != NO_TRANSPARENT_COLOR || !coversScreen);
    // Outside the frame the screen shows its background colour, or nothing where transparency is kept.
    GifColorType background = {255, 255, 255};
    if (gif->SColorMap && gif->SBackGroundColor >= 0 && gif->SBackGroundColor < gif->SColorMap->ColorCount)
        background = gif->SColorMap->Colors[gif->SBackGroundColor];

    ImageRows rows;
    if (!rows.Start(alpha ? IMAGE_MODE_RGBA : IMAGE_MODE_RGB, int(width), int(height), 96.0, error))
        return nullptr;
    // Each index's pixel as it goes out (opacity first where there is one): indices past the map are black.
    const int channels = alpha ? 4 : 3;
    unsigned char table[256][4] = {};
    for (int index = 0; index < 256; ++index) {
        const GifColorType color = index < colors->ColorCount ? colors->Colors[index] : GifColorType{0, 0, 0};
        unsigned char* entry = table[index];
        if (alpha)
            *entry++ = index == transparent ? 0 : 255;
        entry[0] = color.Red;
        entry[1] = color.Green;
        entry[2] = color.Blue;
    }
    unsigned char outside[4] = {0, background.Red, background.Green, background.Blue};
    const unsigned char* outsidePixel = alpha ? outside : outside + 1;
    const auto fill = [&](unsigned char* out, int64_t count) {
        for (int64_t x = 0; x < count; ++x, out += channels)
            std::memcpy(out, outsidePixel, static_cast<size_t>(channels));
    };
    for (int64_t y = 0; y < height; ++y) {
        unsigned char* out = rows.NextRow();
        if (y < top || y >= top + frameHeight) {
            fill(out, width);
            continue;
        }
        fill(out, left);
        unsigned char* inside = out + left * channels;
        const GifByteType* row = &indices[size_t((y - top) * frameWidth)];
        if (alpha) {
            for (int64_t x = 0; x < frameWidth; ++x, inside += 4)
                std::memcpy(inside, table[row[x]], 4);
        } else {
            for (int64_t x = 0; x < frameWidth; ++x, inside += 3) {
                const unsigned char* entry = table[row[x]];
                inside[0] = entry[0];
                inside[1] = entry[1];
                inside[2] = entry[2];
            }
        }
        fill(inside, width - left - frameWidth);
    }
    return rows.Finish(error);
}

} // namespace detail

bool CGifIO::IsAnimated(const std::string& path)
{
    IOError ignored;
    detail::FilePtr file = detail::OpenPicture(path, &ignored);
    if (!file)
        return false;
    GifReader reader(file.get());
    GifFileType* gif = reader.get();
    int pictures = 0;
    while (gif && pictures < 2) {
        GifRecordType record;
        if (DGifGetRecordType(gif, &record) == GIF_ERROR || record == TERMINATE_RECORD_TYPE)
            break;
        if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR)
                break;
            ++pictures;
            if (pictures < 2 && !SkipPicture(gif))
                break;
        } else if (record == EXTENSION_RECORD_TYPE) {
            int transparent = NO_TRANSPARENT_COLOR;
            if (!ReadExtension(gif, &transparent))
                break;
        }
    }
    return pictures >= 2;
}
