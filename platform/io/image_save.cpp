// Writing images in the format their file name asks for: JPEG, PNG, GIF (a palette of at most 256 colours made
// from the picture) or 24-bit BMP. A failed write never leaves a partial file behind.

#include <gif_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <unistd.h>
#include <vector>

#include "image/image.h"
#include "image/image_ops.h"
#include "platform/io/decoders.h"
#include "platform/io/io.h"
#include "platform/io/jpeg_io.h"
#include "platform/win/file.h"
#include "platform/win/little_endian.h"

namespace {

enum class SaveFormat
{
    none,
    jpeg,
    png,
    gif,
    bmp,
};

SaveFormat FormatOfName(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return SaveFormat::none;
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".jpg" || extension == ".jpeg")
        return SaveFormat::jpeg;
    if (extension == ".png")
        return SaveFormat::png;
    if (extension == ".gif")
        return SaveFormat::gif;
    if (extension == ".bmp")
        return SaveFormat::bmp;
    return SaveFormat::none;
}

// The image as mode 3 for the formats without alpha: itself when it is RGB already, else a copy with the alpha
// dropped or the grey widened. Null when no such copy can be had.
const CImage* AsRgb(const CImage& image, std::unique_ptr<CImage>& holder)
{
    switch (image.GetMode()) {
    case IMAGE_MODE_RGB:
        return &image;
    case IMAGE_MODE_GREY:
        holder = WidenGreyToRgb(std::make_unique<CImage>(image));
        break;
    case IMAGE_MODE_RGBA: {
        holder = std::make_unique<CImage>(IMAGE_MODE_RGB, image.Width(), image.Height(), image.GetDpi());
        CPixMap map(IMAGE_MODE_RGBA, image.Width(), image.Height());
        if (holder->IsEmpty() || !map.IsValid() || !image.GetBuf(0, 0, map) || !holder->SetBuf(0, 0, map))
            holder.reset();
        break;
    }
    default:
        break;
    }
    return holder && !holder->IsEmpty() && holder->GetMode() == IMAGE_MODE_RGB ? holder.get() : nullptr;
}

bool SaveJpeg(const std::string& path, const CImage& rgb, int quality, bool& opened)
{
    // A map over the image's own pixels: the encoder reads them in place.
    CPixMap map(IMAGE_MODE_RGB, 1, 1);
    if (!map.IsValid())
        return false;
    map.width = rgb.Width();
    map.height = rgb.Height();
    map.plane[0].data = const_cast<unsigned char*>(rgb.GetData());
    map.plane[0].rowStep = rgb.GetStride();
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
        return false;
    opened = true;
    try {
        if (!CJpegIO::Save(file, map, quality, nullptr, {})) {
            file.Abort();
            return false;
        }
        file.Close();
    } catch (...) {
        file.Abort();
        return false;
    }
    return true;
}

int WriteGifBytes(GifFileType* gif, const GifByteType* bytes, int count)
{
    return static_cast<int>(fwrite(bytes, 1, static_cast<size_t>(count), static_cast<FILE*>(gif->UserData)));
}

bool SaveGif(const std::string& path, const CImage& rgb, bool& opened)
{
    const int w = rgb.Width(), h = rgb.Height();
    const size_t count = static_cast<size_t>(w) * h;
    std::vector<GifByteType> red(count), green(count), blue(count), indices(count);
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = rgb.GetData() + static_cast<size_t>(y) * rgb.GetStride();
        const size_t first = static_cast<size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            red[first + x] = row[x * 3];
            green[first + x] = row[x * 3 + 1];
            blue[first + x] = row[x * 3 + 2];
        }
    }
    int colors = 256;
    GifColorType palette[256] = {};
    if (GifQuantizeBuffer(w, h, &colors, red.data(), green.data(), blue.data(), indices.data(), palette) == GIF_ERROR)
        return false;
    ColorMapObject* map = GifMakeMapObject(256, palette);
    if (!map)
        return false;
    // The library writes through a file of ours, which takes its few bytes at a time in large pieces.
    detail::FilePtr file = detail::WithPictureBuffer(fopen(path.c_str(), "wb"));
    opened = file != nullptr;
    int error = 0;
    GifFileType* gif = file ? EGifOpen(file.get(), WriteGifBytes, &error) : nullptr;
    bool written = gif && EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK &&
                   EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    for (int y = 0; written && y < h; ++y)
        written = EGifPutLine(gif, indices.data() + static_cast<size_t>(y) * w, w) == GIF_OK;
    if (gif && EGifCloseFile(gif, &error) != GIF_OK)
        written = false;
    if (!detail::ClosePictureFile(file))
        written = false;
    GifFreeMapObject(map);
    return written;
}

bool SaveBmp(const std::string& path, const CImage& rgb, bool& opened)
{
    const int w = rgb.Width(), h = rgb.Height();
    const uint32_t rowBytes = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
    const uint64_t pixelBytes = static_cast<uint64_t>(rowBytes) * h;
    if (pixelBytes > 0xFFFFFFFFull - 54)
        return false;
    uint8_t head[54] = {'B', 'M'};
    StoreLE32(head + 2, static_cast<uint32_t>(54 + pixelBytes));
    StoreLE32(head + 10, 54);
    StoreLE32(head + 14, 40);
    StoreLE32(head + 18, static_cast<uint32_t>(w));
    StoreLE32(head + 22, static_cast<uint32_t>(h)); // rows from the bottom up
    StoreLE16(head + 26, 1);
    StoreLE16(head + 28, 24);
    StoreLE32(head + 34, static_cast<uint32_t>(pixelBytes));
    const auto perMetre = static_cast<uint32_t>(std::lround(rgb.GetDpi() / 0.0254));
    StoreLE32(head + 38, perMetre);
    StoreLE32(head + 42, perMetre);

    detail::FilePtr file = detail::WithPictureBuffer(fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    opened = true;
    bool written = fwrite(head, 1, sizeof head, file.get()) == sizeof head;
    std::vector<uint8_t> row(rowBytes, 0);
    for (int y = h - 1; written && y >= 0; --y) {
        const unsigned char* source = rgb.GetData() + static_cast<size_t>(y) * rgb.GetStride();
        for (int x = 0; x < w; ++x) {
            row[x * 3] = source[x * 3 + 2];
            row[x * 3 + 1] = source[x * 3 + 1];
            row[x * 3 + 2] = source[x * 3];
        }
        written = fwrite(row.data(), 1, rowBytes, file.get()) == rowBytes;
    }
    if (!detail::ClosePictureFile(file))
        written = false;
    return written;
}

} // namespace

bool CIO::SaveImage(const std::string& path, const CImage& image, unsigned flags, int quality)
{
    (void)flags;
    const SaveFormat format = FormatOfName(path);
    if (format == SaveFormat::none || image.IsEmpty() || image.Width() < 1 || image.Height() < 1)
        return false;
    if (format == SaveFormat::png)
        return SavePNG(path, image);
    std::unique_ptr<CImage> holder;
    const CImage* rgb = AsRgb(image, holder);
    if (!rgb)
        return false;
    // Only a file this call created or cut short goes again: a path it could not open is left as it was.
    bool opened = false, written = false;
    try {
        switch (format) {
        case SaveFormat::jpeg:
            written = SaveJpeg(path, *rgb, quality, opened);
            break;
        case SaveFormat::gif:
            written = SaveGif(path, *rgb, opened);
            break;
        default:
            written = SaveBmp(path, *rgb, opened);
            break;
        }
    } catch (const std::bad_alloc&) {
        written = false;
    }
    if (!written && opened)
        ::unlink(path.c_str());
    return written;
}
