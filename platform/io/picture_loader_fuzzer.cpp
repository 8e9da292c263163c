// The picture loader over arbitrary file contents. The bytes go into a memory file reached by its /proc path, so
// the loader takes its usual way in (a path) without touching the disk.

#include <gif_lib.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "image/image.h"
#include "platform/io/io.h"
#include "platform/io/jpeg_io.h"
#include "platform/io/packed_dib.h"
#include "platform/io/short_scan_test_support.h"
#include "platform/win/file.h"
#include "testing/fuzz_target.h"

namespace {

int MemoryFile()
{
    static const int fd = [] {
        const int made = memfd_create("picture", MFD_CLOEXEC);
        if (made < 0) {
            std::perror("memfd_create");
            std::abort();
        }
        return made;
    }();
    return fd;
}

std::unique_ptr<CPixMap> GradientMap(IMAGE_MODE mode, int width, int height)
{
    auto map = std::make_unique<CPixMap>(mode, width, height, true);
    const int planes = mode == IMAGE_MODE_GREY ? 1 : mode == IMAGE_MODE_RGB ? 3 : 4;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int p = 0; p < planes; ++p)
                *map->Sample(x, y, p) = static_cast<unsigned char>((x * 40 + y * 70 + p * 90) & 0xFF);
    return map;
}

std::vector<uint8_t> ReadWhole(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A BMP file: the 14-byte file header in front of a packed DIB.
std::vector<uint8_t> BmpFile(const std::vector<BYTE>& dib)
{
    const BYTE* bits = FindDIBBits(dib.data(), dib.size());
    const uint32_t offset = 14 + static_cast<uint32_t>(bits - dib.data());
    const uint32_t size = 14 + static_cast<uint32_t>(dib.size());
    std::vector<uint8_t> file = {'B', 'M'};
    for (uint32_t v : {size, 0u, offset})
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<uint8_t>(v >> (8 * i)));
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

int AppendBytes(GifFileType* gif, const GifByteType* bytes, int count)
{
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + count);
    return count;
}

// A 5 x 3 GIF with four colours, the last transparent, written by giflib, on a screen of the given size.
std::vector<uint8_t> SmallGif(bool interlace, int screenWidth = 5, int screenHeight = 3)
{
    std::vector<uint8_t> bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendBytes, &error);
    GifColorType colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, screenWidth, screenHeight, 2, 0, map);
    const GifByteType control[4] = {1, 0, 0, 3};
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
    EGifPutImageDesc(gif, 0, 0, 5, 3, interlace, nullptr);
    GifPixelType row[5];
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x)
            row[x] = static_cast<GifPixelType>((x + y) % 4);
        EGifPutLine(gif, row, 5);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int fd = MemoryFile();
    if (ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        std::abort();
    IOError error = IO_OK;
    for (unsigned flags : {unsigned(IO_LOAD_DEFAULT), 0u}) {
        std::unique_ptr<CImage> image(CIO::LoadImageA("/proc/self/fd/" + std::to_string(fd), flags, &error));
        if (image && (image->Width() <= 0 || image->Height() <= 0))
            std::abort();
    }
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    const std::filesystem::path scratch = folder / "scratch.png";
    const struct
    {
        const char* name;
        IMAGE_MODE mode;
    } pngs[] = {{"grey.png", IMAGE_MODE_GREY}, {"rgb.png", IMAGE_MODE_RGB}, {"rgba.png", IMAGE_MODE_RGBA}};
    for (const auto& png : pngs) {
        CImage image(png.mode, 7, 5, 96.0);
        image.SetBuf(0, 0, *GradientMap(png.mode, 7, 5));
        CIO::SavePNG(scratch.string(), image);
        WriteFuzzSeed(folder, png.name, ReadWhole(scratch));
    }
    std::filesystem::remove(scratch);

    CMemFile jpeg(1024);
    IOError error = IO_OK;
    CJpegIO::Save(jpeg, *GradientMap(IMAGE_MODE_RGB, 9, 6), 50, &error, "seed");
    const std::vector<uint8_t> stream(jpeg.GetBuffer(), jpeg.GetBuffer() + jpeg.GetLength());
    WriteFuzzSeed(folder, "rgb.jpg", stream);
    // Frames of 300 MB whose scans stop at once or after a few bytes.
    WriteFuzzSeed(folder, "jpeg-10000x9999-scan-without-data", JpegWithShortScan(stream, 10000, 9999, 0));
    WriteFuzzSeed(folder, "jpeg-10000x9999-scan-of-6-bytes", JpegWithShortScan(stream, 10000, 9999, 6));

    WriteFuzzSeed(folder, "palette.gif", SmallGif(false));
    WriteFuzzSeed(folder, "interlaced.gif", SmallGif(true));
    WriteFuzzSeed(folder, "gif-5x3-frame-on-5369x16387-screen", SmallGif(false, 5369, 16387));

    const std::unique_ptr<CPixMap> small = GradientMap(IMAGE_MODE_RGB, 6, 4);
    const struct
    {
        const char* name;
        int bits;
        DWORD compression;
    } bmps[] = {{"mono.bmp", 1, BI_RGB},  {"four.bmp", 4, BI_RGB},  {"rle4.bmp", 4, BI_RLE4},
                {"eight.bmp", 8, BI_RGB}, {"rle8.bmp", 8, BI_RLE8}, {"rgb.bmp", 24, BI_RGB}};
    for (const auto& bmp : bmps)
        WriteFuzzSeed(folder, bmp.name, BmpFile(BitmapToDIB(*small, bmp.bits, bmp.compression)));
}
