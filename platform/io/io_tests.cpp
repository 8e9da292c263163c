// Loading pictures whatever their format: the load flags, missing and damaged files, and hostile files, refused
// at a cost in proportion to the file.

#include "platform/io/io_test_support.h"

namespace {

using namespace io_testing;

TEST_F(PictureFolder, LoadFlagsChooseModeAndResolution)
{
    WritePng(Path("grey.png"), 3, 1, PNG_COLOR_TYPE_GRAY, {0, 100, 255});
    struct Case
    {
        unsigned flags;
        IMAGE_MODE mode;
        Bytes middle;
        double dpi;
    } cases[] = {
        {IO_LOAD_DEFAULT, IMAGE_MODE_RGB, {100, 100, 100}, 300.0},
        {IO_LOAD_RGB | IO_LOAD_ALPHA, IMAGE_MODE_RGB, {100, 100, 100}, 96.0},
        {IO_LOAD_ALPHA | IO_LOAD_DPI, IMAGE_MODE_GREY, {100}, 300.0},
    };
    for (const Case& c : cases) {
        Loaded loaded = Load(Path("grey.png"), c.flags);
        ASSERT_TRUE(loaded.image) << c.flags;
        EXPECT_EQ(loaded.image->GetMode(), c.mode) << c.flags;
        EXPECT_EQ(PixelAt(*loaded.image, 1, 0), c.middle) << c.flags;
        EXPECT_NEAR(loaded.image->GetDpi(), c.dpi, 0.1) << c.flags;
    }
}

// ---- Failures

TEST_F(PictureFolder, MissingFileAndMissingFolder)
{
    EXPECT_EQ(Load(Path("none.png")).error, IO_FILE_NOT_FOUND);
    EXPECT_EQ(Load(Path("nofolder/none.png")).error, IO_FOLDER_NOT_FOUND);
    WriteBytes("plain", {1});
    EXPECT_EQ(Load(Path("plain/none.png")).error, IO_FOLDER_NOT_FOUND);
    EXPECT_EQ(Load("").error, IO_FILE_NOT_FOUND);
    EXPECT_EQ(Load(m_dir.string()).error, IO_INVALID_FILE);
}

TEST_F(PictureFolder, DamagedOrOversizedPicturesAreInvalid)
{
    auto image = MakeImage(IMAGE_MODE_RGB, 40, 40, [](int x, int y) {
        return Bytes{static_cast<unsigned char>(x), static_cast<unsigned char>(y), 0};
    });
    ASSERT_TRUE(CIO::SavePNG(Path("good.png"), *image));
    Bytes png = ReadBytes(Path("good.png"));
    CMemFile mem;
    ASSERT_TRUE(CJpegIO::Save(mem, *GradientMap(40, 40), 75, nullptr, ""));
    Bytes jpeg(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength());
    Bytes palette = {0, 0, 0, 255, 255, 255};
    WriteGif(Path("good.gif"), 40, 40, palette, {{0, 0, 40, 40, Bytes(1600, 1)}});
    Bytes gif = ReadBytes(Path("good.gif"));
    Bytes bmp = MakeBmp(4, 4, 24, Bytes(48, 9));

    auto half = [](const Bytes& b) { return Bytes(b.begin(), b.begin() + b.size() / 2); };
    Bytes hugeBmp = MakeBmp(30001, 1, 24, {});
    Bytes hugeGif = gif;
    hugeGif[6] = hugeGif[7] = hugeGif[8] = hugeGif[9] = 0x4E; // screen 20046 x 20046

    struct Case
    {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"garbage", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}},
        {"half png", half(png)},
        {"half jpeg", half(jpeg)},
        {"half gif", half(gif)},
        {"half bmp", half(bmp)},
        {"png signature only", Bytes(png.begin(), png.begin() + 8)},
        {"png 40000 wide", PngHeaderOnly(40000, 1)},
        {"png 20000 x 20000", PngHeaderOnly(20000, 20000)},
        {"bmp 30001 wide", hugeBmp},
        {"gif screen 20046 square", hugeGif},
        {"bmp compressed",
         [&] {
             Bytes b = bmp;
             b[30] = 1;
             return b;
         }()},
    };
    for (const Case& c : cases) {
        Loaded loaded = Load(WriteBytes("bad", c.bytes));
        EXPECT_FALSE(loaded.image) << c.name;
        EXPECT_EQ(loaded.error, IO_INVALID_FILE) << c.name;
    }
}

// ---- Going to the kernel

// The kernel's counts of this process's read and write calls; false where it does not give them.
bool KernelReadsAndWrites(long long& reads, long long& writes)
{
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value;
    int found = 0;
    while (io >> key >> value) {
        if (key == "syscr:")
            reads = value, ++found;
        else if (key == "syscw:")
            writes = value, ++found;
    }
    return found == 2;
}

// The libraries read and write a picture a few bytes at a time; the file must still reach the kernel in large
// pieces, in every format (a BMP, stored bottom up, is read from its end).
TEST_F(PictureFolder, PicturesReachTheKernelInLargePieces)
{
    // Noise, so that no format packs the picture into a few pieces anyway.
    auto image = MakeImage(IMAGE_MODE_RGB, 800, 600, [](int x, int y) {
        unsigned noise = static_cast<unsigned>(y * 800 + x) * 2654435761u;
        noise ^= noise >> 15;
        noise *= 2246822519u;
        noise ^= noise >> 13;
        return Bytes{static_cast<unsigned char>(noise), static_cast<unsigned char>(noise >> 8),
                     static_cast<unsigned char>(noise >> 16)};
    });
    for (const char* name : {"large.jpg", "large.png", "large.gif", "large.bmp"}) {
        SCOPED_TRACE(name);
        long long reads[3] = {}, writes[3] = {};
        if (!KernelReadsAndWrites(reads[0], writes[0]))
            GTEST_SKIP() << "the kernel gives no counts of reads and writes";
        ASSERT_TRUE(CIO::SaveImage(Path(name), *image, 0, 90));
        KernelReadsAndWrites(reads[1], writes[1]);
        Loaded loaded = Load(Path(name));
        KernelReadsAndWrites(reads[2], writes[2]);
        ASSERT_TRUE(loaded.image);
        EXPECT_EQ(loaded.image->Width(), 800);

        // Each count also holds the reads of the counts themselves.
        const long long allowed = static_cast<long long>(fs::file_size(Path(name)) / 16384) + 8;
        EXPECT_LE(writes[1] - writes[0], allowed);
        EXPECT_LE(reads[2] - reads[1], allowed);
        RecordProperty(std::string(name) + "_calls", std::to_string(fs::file_size(Path(name))) + " bytes, " +
                                                         std::to_string(writes[1] - writes[0]) + " writes, " +
                                                         std::to_string(reads[2] - reads[1]) + " reads");
    }
}

TEST_F(PictureFolder, IsAnimatedIsFalseForOtherFiles)
{
    EXPECT_FALSE(CGifIO::IsAnimated(Path("none.gif")));
    EXPECT_FALSE(CGifIO::IsAnimated(WriteBytes("x.gif", {'G', 'I', 'F', '8', '9', 'a', 1})));
    EXPECT_FALSE(CGifIO::IsAnimated(WriteBytes("y.png", PngHeaderOnly(1, 1))));
}

// ---- Hostile files: refusing one costs in proportion to the file, not to what its header claims

// What loading a file cost, measured in a child process so that the test's own memory does not count. Both
// figures are the load's own whatever the machine is doing: the address space counts a block as soon as it is
// allocated, even where the pages stay untouched, so it shows a picture-sized buffer in every build; the resident
// memory shows what was actually written.
struct LoadCost
{
    IOError error = IOError(-1);
    bool loaded = false;
    long peakAddressRiseKb = 0; // how far the peak address space rose during the load
    long peakRiseKb = 0;        // how far the peak resident memory rose during the load
};

// The peak address space of this process so far (VmPeak), or -1.
long PeakAddressSpaceKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmPeak:", 0) == 0)
            return std::strtol(line.c_str() + 7, nullptr, 10);
    return -1;
}

LoadCost MeasureLoad(const std::string& path)
{
    LoadCost cost;
    int ends[2];
    if (pipe(ends) != 0)
        return cost;
    pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        // A fork starts with the parent's present figures as its peaks, so the rises are the load's alone.
        rusage before{}, after{};
        const long addressBefore = PeakAddressSpaceKb();
        getrusage(RUSAGE_SELF, &before);
        std::unique_ptr<CImage> image(CIO::LoadImageA(path, IO_LOAD_DEFAULT, &cost.error));
        getrusage(RUSAGE_SELF, &after);
        const long addressAfter = PeakAddressSpaceKb();
        cost.loaded = image != nullptr;
        cost.peakRiseKb = after.ru_maxrss - before.ru_maxrss;
        cost.peakAddressRiseKb = addressBefore < 0 || addressAfter < 0 ? -1 : addressAfter - addressBefore;
        bool sent = write(ends[1], &cost, sizeof cost) == ssize_t(sizeof cost);
        _exit(sent ? 0 : 1);
    }
    close(ends[1]);
    bool received = child > 0 && read(ends[0], &cost, sizeof cost) == ssize_t(sizeof cost);
    close(ends[0]);
    int status = 0;
    if (child > 0)
        waitpid(child, &status, 0);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        cost = LoadCost{};
    return cost;
}

// A 1 x 1 PNG whose next chunk claims length bytes of data, of which the file holds only a few.
Bytes PngWithHugeChunk(const char* type, uint32_t length)
{
    Bytes b = PngHeaderOnly(1, 1);
    PutBig32(b, length);
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), {'k', 'e', 'y', 0, 0, 'a', 'b', 'c'});
    return b;
}

// A PNG of the claimed size whose pixel data stops two bytes into its first data chunk.
Bytes PngPixelsCutShort(uint32_t width, uint32_t height, bool interlaced = false)
{
    Bytes b = PngHeaderOnly(width, height, interlaced);
    PutBig32(b, 1000);
    b.insert(b.end(), {'I', 'D', 'A', 'T', 0x78, 0x9C});
    return b;
}

// A baseline JPEG stream of the claimed size cut off where its pixel data should begin.
Bytes JpegHeaderOnly(uint16_t width, uint16_t height)
{
    CMemFile mem;
    EXPECT_TRUE(CJpegIO::Save(mem, *GradientMap(16, 16), 75, nullptr, ""));
    Bytes b(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength());
    for (size_t i = 2; i + 9 < b.size(); i += 2 + (b[i + 2] << 8 | b[i + 3])) {
        EXPECT_EQ(b[i], 0xFF);
        if (b[i + 1] == 0xC0) { // frame header: length, precision, height, width
            b[i + 5] = height >> 8, b[i + 6] = height & 0xFF;
            b[i + 7] = width >> 8, b[i + 8] = width & 0xFF;
        } else if (b[i + 1] == 0xDA) { // scan header, after which the entropy-coded data follows
            b.resize(i + 2 + (b[i + 2] << 8 | b[i + 3]));
            return b;
        }
    }
    ADD_FAILURE() << "no scan header";
    return b;
}

// A GIF whose screen and first frame claim the given size, cut off where the frame's pixel data should begin.
Bytes GifHeaderOnly(uint16_t width, uint16_t height)
{
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, width);
    Put16(b, height);
    b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255}); // a global table of two colours
    b.push_back(',');
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, width);
    Put16(b, height);
    b.insert(b.end(), {0, 2}); // no local table, not interlaced; the minimum code size
    return b;
}

TEST_F(PictureFolder, HostileFilesAreRefusedCheaply)
{
    // Far below the hundreds of megabytes the headers claim (300 MB for 10000 x 10000 RGB), far above the few
    // megabytes a refusal takes with the sanitizers' own bookkeeping.
    constexpr long kMaxRiseKb = 64 * 1024;
    struct Case
    {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"png text chunk of 2 GB", PngWithHugeChunk("tEXt", 0x7FFFFFFF)},
        {"png text chunk of 1 GB", PngWithHugeChunk("tEXt", 0x40000000)},
        {"png compressed text chunk of 1.5 GB", PngWithHugeChunk("zTXt", 0x60000000)},
        {"png international text chunk of 1.5 GB", PngWithHugeChunk("iTXt", 0x60000000)},
        {"png colour profile chunk of 1.5 GB", PngWithHugeChunk("iCCP", 0x60000000)},
        {"png suggested palette chunk of 1.5 GB", PngWithHugeChunk("sPLT", 0x60000000)},
        {"png exif chunk of 1.5 GB", PngWithHugeChunk("eXIf", 0x60000000)},
        {"png private chunk of 1.5 GB", PngWithHugeChunk("prVt", 0x60000000)},
        {"png 10000 x 10000 without pixels", PngPixelsCutShort(10000, 10000)},
        {"interlaced png 10000 x 10000 without pixels", PngPixelsCutShort(10000, 10000, true)},
        {"jpeg 10000 x 10000 without pixels", JpegHeaderOnly(10000, 10000)},
        {"gif 10000 x 10000 without pixels", GifHeaderOnly(10000, 10000)},
    };
    for (const Case& c : cases) {
        LoadCost cost = MeasureLoad(WriteBytes("hostile", c.bytes));
        EXPECT_FALSE(cost.loaded) << c.name;
        EXPECT_EQ(cost.error, IO_INVALID_FILE) << c.name;
        EXPECT_GE(cost.peakAddressRiseKb, 0) << c.name;
        EXPECT_LT(cost.peakAddressRiseKb, kMaxRiseKb) << c.name << ": " << c.bytes.size() << " bytes";
        EXPECT_LT(cost.peakRiseKb, kMaxRiseKb) << c.name << ": " << c.bytes.size() << " bytes";
    }

    // The measures do see memory a picture really takes: 3000 x 3000 grey comes back as 27 MB of RGB.
    WritePng(Path("large.png"), 3000, 3000, PNG_COLOR_TYPE_GRAY, Bytes(3000 * 3000, 77));
    LoadCost large = MeasureLoad(Path("large.png"));
    EXPECT_TRUE(large.loaded);
    EXPECT_GT(large.peakRiseKb, 26 * 1024);
    EXPECT_GT(large.peakAddressRiseKb, 26 * 1024);
}

// ---- Scans that stop before their rows

// A 64 x 48 gradient written by the library itself, progressive or with a restart marker every MCU row: streams
// whose scans end at markers as a matter of course.
Bytes LibraryJpeg(bool progressive, int restartRows)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* data = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &data, &size);
    const auto map = GradientMap(64, 48);
    info.image_width = 64;
    info.image_height = 48;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (progressive)
        jpeg_simple_progression(&info);
    info.restart_in_rows = restartRows;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = map->plane[0].data + ptrdiff_t(info.next_scanline) * map->plane[0].rowStep;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(data, data + size);
    free(data);
    return bytes;
}

// A 16 x 16 picture's stream whose frame claims width x height, with only scanBytes of its scan data.
Bytes GradientWithShortScan(uint16_t width, uint16_t height, size_t scanBytes)
{
    CMemFile mem;
    EXPECT_TRUE(CJpegIO::Save(mem, *GradientMap(16, 16), 75, nullptr, ""));
    return JpegWithShortScan(Bytes(mem.GetBuffer(), mem.GetBuffer() + mem.GetLength()), width, height, scanBytes);
}

TEST_F(PictureFolder, AScanThatStopsBeforeItsRowsIsRefusedBeforeThePictureIsMade)
{
    // Made whole, either picture would take 300 MB; refused at the first missing row, it takes almost nothing.
    constexpr long kMaxRiseKb = 64 * 1024;
    for (size_t scanBytes : {size_t(0), size_t(6)}) {
        const Bytes bytes = GradientWithShortScan(10000, 9999, scanBytes);
        ASSERT_FALSE(bytes.empty());
        LoadCost cost = MeasureLoad(WriteBytes("short-scan.jpg", bytes));
        EXPECT_FALSE(cost.loaded) << scanBytes;
        EXPECT_EQ(cost.error, IO_INVALID_FILE) << scanBytes;
        EXPECT_LT(cost.peakRiseKb, kMaxRiseKb) << scanBytes << ": " << bytes.size() << " bytes";

        Bytes copy = bytes;
        CMemFile stream(copy.data(), UINT(copy.size()));
        IOError error = IO_OK;
        std::unique_ptr<CImage> image(CJpegIO::Load(stream, &error, nullptr));
        EXPECT_FALSE(image) << scanBytes;
        EXPECT_EQ(error, IO_INVALID_FILE) << scanBytes;
    }
    // A progressive frame keeps the whole picture's coefficients while its scans come in; its first scan stops.
    const Bytes progressive = JpegWithShortScan(LibraryJpeg(true, 0), 10000, 9999, 6);
    ASSERT_FALSE(progressive.empty());
    LoadCost cost = MeasureLoad(WriteBytes("short-progressive.jpg", progressive));
    EXPECT_FALSE(cost.loaded);
    EXPECT_LT(cost.peakRiseKb, kMaxRiseKb);
    // The same stream with its whole scan is a picture.
    Loaded whole = Load(WriteBytes("whole.jpg", GradientWithShortScan(16, 16, SIZE_MAX)));
    ASSERT_TRUE(whole.image);
    EXPECT_EQ(whole.image->Width(), 16);
}

TEST_F(PictureFolder, ScansThatEndAtTheirMarkersStillLoad)
{
    for (const auto& [progressive, restartRows] : {std::pair{true, 0}, std::pair{false, 1}, std::pair{true, 1}}) {
        Loaded loaded = Load(WriteBytes("scans.jpg", LibraryJpeg(progressive, restartRows)));
        ASSERT_TRUE(loaded.image) << progressive << " " << restartRows;
        EXPECT_EQ(loaded.image->Width(), 64);
        EXPECT_EQ(loaded.image->Height(), 48);
    }
}

TEST_F(PictureFolder, AGifScreenOfLittleButBackgroundIsTheFirstFrame)
{
    // A 5369 x 16387 screen would be 352 MB of background around a frame of 5 x 3.
    const Bytes palette = {0, 0, 0, 255, 255, 255};
    const Bytes indices = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0};
    WriteGif(Path("screen.gif"), 5369, 16387, palette, {{0, 0, 5, 3, indices}});
    LoadCost cost = MeasureLoad(Path("screen.gif"));
    EXPECT_TRUE(cost.loaded);
    EXPECT_LT(cost.peakRiseKb, 64 * 1024);
    Loaded loaded = Load(Path("screen.gif"));
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->Width(), 5);
    EXPECT_EQ(loaded.image->Height(), 3);
    EXPECT_EQ(PixelAt(*loaded.image, 1, 0), (Bytes{255, 255, 255}));

    // A screen a little larger than its frame keeps its size, the rest showing the background.
    WriteGif(Path("margin.gif"), 300, 200, palette, {{10, 20, 5, 3, indices}});
    Loaded margin = Load(Path("margin.gif"));
    ASSERT_TRUE(margin.image);
    EXPECT_EQ(margin.image->Width(), 300);
    EXPECT_EQ(margin.image->Height(), 200);
}

} // namespace
