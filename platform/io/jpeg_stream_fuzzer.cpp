// JPEG streams embedded in other files, read from a memory file as site files carry them.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "image/image.h"
#include "platform/io/jpeg_io.h"
#include "platform/win/file.h"
#include "testing/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<BYTE> bytes(data, data + size);
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    IOError error = IO_OK;
    std::string comment;
    try {
        std::unique_ptr<CImage> image(CJpegIO::Load(file, &error, &comment));
        // A stream that loads must leave the file inside itself.
        if (image && file.GetPosition() > file.GetLength())
            std::abort();
    } catch (const CFileException&) {
        // A read past the end of the memory file: the refusal this reader may give.
    }
    return 0;
}

void WriteFuzzSeeds(const std::filesystem::path& folder)
{
    const struct
    {
        const char* name;
        int width, height, quality;
        const char* comment;
    } seeds[] = {{"small.jpg", 9, 6, 50, "seed"}, {"odd.jpg", 17, 3, 90, ""}, {"tiny.jpg", 1, 1, 10, ""}};
    for (const auto& seed : seeds) {
        CPixMap map(IMAGE_MODE_RGB, seed.width, seed.height, true);
        for (int y = 0; y < seed.height; ++y)
            for (int x = 0; x < seed.width; ++x)
                for (int p = 0; p < 3; ++p)
                    *map.Sample(x, y, p) = static_cast<unsigned char>(x * 30 + y * 50 + p * 80);
        CMemFile file(1024);
        IOError error = IO_OK;
        CJpegIO::Save(file, map, seed.quality, &error, seed.comment);
        WriteFuzzSeed(folder, seed.name, std::vector<uint8_t>(file.GetBuffer(), file.GetBuffer() + file.GetLength()));
    }
}
