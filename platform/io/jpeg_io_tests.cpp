// Loading JPEG pictures, and JPEG streams inside other files.

#include "platform/io/io_test_support.h"

namespace {

using namespace io_testing;

TEST_F(PictureFolder, JpegLoadsAsRgbCloseToItsSource)
{
    // Taller than one band of rows, so that bands meet inside the picture.
    auto map = GradientMap(70, 150);
    CMemFile mem;
    IOError error = IOError(-1);
    ASSERT_TRUE(CJpegIO::Save(mem, *map, 90, &error, ""));
    EXPECT_EQ(error, IO_OK);
    Bytes bytes(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength());
    Loaded loaded = Load(WriteBytes("photo.dat", bytes)); // found by content, not by name
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(loaded.image->Width(), 70);
    EXPECT_EQ(loaded.image->Height(), 150);
    for (auto [x, y] : {std::pair{0, 0}, {69, 0}, {35, 64}, {10, 149}, {69, 149}})
        ExpectClose(PixelAt(*loaded.image, x, y), {*map->Sample(x, y, 0), *map->Sample(x, y, 1), 128}, 8);
}

// The first band's rows are copied into the picture, the later ones decoded into it in place, several at a time:
// every pixel must be the library's own, for a width whose rows are padded and for one whose rows are not.
TEST_F(PictureFolder, JpegPixelsAreTheLibrarysAcrossBandsAndPaddedRows)
{
    for (const auto& [width, height, quality] : {std::tuple{70, 301, 75}, {64, 200, 100}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        CMemFile mem;
        ASSERT_TRUE(CJpegIO::Save(mem, *GradientMap(width, height), quality, nullptr, ""));
        Bytes bytes(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength());
        Loaded loaded = Load(WriteBytes("bands.jpg", bytes));
        ASSERT_TRUE(loaded.image);

        jpeg_decompress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&info);
        Bytes row(static_cast<size_t>(width) * 3);
        int differing = 0;
        while (info.output_scanline < info.output_height) {
            const int y = static_cast<int>(info.output_scanline);
            JSAMPROW target = row.data();
            jpeg_read_scanlines(&info, &target, 1);
            for (int x = 0; x < width; ++x)
                differing += PixelAt(*loaded.image, x, y) != Bytes(row.begin() + x * 3, row.begin() + x * 3 + 3);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        EXPECT_EQ(differing, 0);
    }
}

// ---- JPEG streams inside other files

// Rows of three-byte pixels, and of four-byte pixels with a byte to skip, go to the codec as they stand; a planar
// map is gathered row by row. All three must give the same stream for the same colours.
TEST(JpegStream, RowsReadInPlaceGiveTheSameStreamAsGatheredRows)
{
    const int width = 37, height = 23;
    auto packed = GradientMap(width, height);
    CPixMap planar(IMAGE_MODE_RGB, width, height, false);
    CPixMap padded(IMAGE_MODE_RGB, width, height, true);
    std::vector<unsigned char> fourBytes(size_t(width) * height * 4, 0xEE);
    padded.plane[0].data = fourBytes.data();
    padded.plane[0].pixelStep = 4;
    padded.plane[0].rowStep = width * 4;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int p = 0; p < 3; ++p)
                *planar.Sample(x, y, p) = *padded.Sample(x, y, p) = *packed->Sample(x, y, p);

    auto save = [](const CPixMap& map) {
        CMemFile mem;
        EXPECT_TRUE(CJpegIO::Save(mem, map, 75, nullptr, "same"));
        return Bytes(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength());
    };
    const Bytes gathered = save(planar);
    ASSERT_FALSE(gathered.empty());
    EXPECT_EQ(save(*packed), gathered);
    EXPECT_EQ(save(padded), gathered);
}

TEST(JpegStream, SaveThenLoadLeavesFileAfterTheStream)
{
    auto map = GradientMap(131, 134);
    CMemFile file(1024);
    const char prefix[] = "HEAD";
    file.Write(prefix, 4);
    IOError error = IOError(-1);
    ASSERT_TRUE(CJpegIO::Save(file, *map, 40, &error, "front page"));
    EXPECT_EQ(error, IO_OK);
    ULONGLONG end = file.GetPosition();
    file.Write("TAIL", 4);

    file.Seek(4, CFile::begin);
    std::string comment;
    std::unique_ptr<CImage> image(CJpegIO::Load(file, &error, &comment));
    ASSERT_TRUE(image);
    EXPECT_EQ(error, IO_OK);
    EXPECT_EQ(image->GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(image->Width(), 131);
    EXPECT_EQ(image->Height(), 134);
    EXPECT_EQ(comment, "front page");
    EXPECT_EQ(file.GetPosition(), end);
    for (auto [x, y] : {std::pair{0, 0}, {130, 0}, {65, 67}, {130, 133}})
        ExpectClose(PixelAt(*image, x, y), {*map->Sample(x, y, 0), *map->Sample(x, y, 1), 128}, 16);

    // Lower quality gives a smaller stream.
    CMemFile low, high;
    ASSERT_TRUE(CJpegIO::Save(low, *map, 10, nullptr, ""));
    ASSERT_TRUE(CJpegIO::Save(high, *map, 95, nullptr, ""));
    EXPECT_LT(low.GetLength(), high.GetLength());
}

TEST(JpegStream, BadStreamsAndMapsFailCleanly)
{
    auto map = GradientMap(30, 20);
    CMemFile good;
    ASSERT_TRUE(CJpegIO::Save(good, *map, 40, nullptr, ""));
    ULONGLONG length = good.GetLength();

    std::vector<Bytes> streams = {
        {},
        Bytes(500, 0xAB),
        Bytes(good.GetBuffer(), good.GetBuffer() + length / 2),
        Bytes(good.GetBuffer(), good.GetBuffer() + 4),
    };
    for (size_t i = 0; i < streams.size(); ++i) {
        Bytes& bytes = streams[i];
        CMemFile file(bytes.data(), UINT(bytes.size()));
        IOError error = IO_OK;
        std::string comment = "kept";
        std::unique_ptr<CImage> image(CJpegIO::Load(file, &error, &comment));
        EXPECT_FALSE(image) << i;
        EXPECT_EQ(error, IO_INVALID_FILE) << i;
        EXPECT_LE(file.GetPosition(), bytes.size()) << i;
    }

    CPixMap rgba(IMAGE_MODE_RGBA, 4, 4, true);
    CMemFile out;
    IOError error = IO_OK;
    EXPECT_FALSE(CJpegIO::Save(out, rgba, 40, &error, ""));
    EXPECT_EQ(error, IO_INVALID_FILE);
    EXPECT_EQ(out.GetLength(), 0u);
}

// A file whose reads fail after the first one, as a disk going away would.
class FailingFile : public CMemFile
{
public:
    FailingFile(BYTE* data, UINT size) : CMemFile(data, size) {}
    UINT Read(void* buffer, UINT count) override
    {
        if (m_reads++ > 0)
            AfxThrowFileException(CFileException::hardIO);
        return CMemFile::Read(buffer, count);
    }

private:
    int m_reads = 0;
};

TEST(JpegStream, FailingReadOfTheFileRaisesItsException)
{
    // Noise, so that the stream needs more than one read.
    CPixMap noise(IMAGE_MODE_RGB, 64, 64, true);
    uint32_t seed = 1;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            for (int p = 0; p < 3; ++p)
                *noise.Sample(x, y, p) = static_cast<unsigned char>((seed = seed * 1103515245u + 12345u) >> 24);
    CMemFile good;
    ASSERT_TRUE(CJpegIO::Save(good, noise, 90, nullptr, ""));
    ASSERT_GT(good.GetLength(), 4096u);
    Bytes bytes(good.GetBuffer(), good.GetBuffer() + good.GetLength());
    FailingFile file(bytes.data(), UINT(bytes.size()));
    IOError error = IO_OK;
    try {
        std::unique_ptr<CImage> image(CJpegIO::Load(file, &error, nullptr));
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::hardIO);
    }
}

} // namespace
