#include "app/model/fill_info.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/model/fill_test_support.h"
#include "app/model/record_stream.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/model/stream_test_support.h"
#include "platform/io/io.h"

namespace {

class FakeServices : public NullCoreServices,
                     public NullCurrentState,
                     public NullModelDialogs,
                     public NullToolsAndInspector
{
public:
    // Any non-null pointer says "a site is current"; the model only asks for its path.
    CWebsite* GetCurrentSite() override { return sitePath.empty() ? nullptr : reinterpret_cast<CWebsite*>(this); }
    std::string GetCurrentSitePath() override { return sitePath; }
    bool GetToolsBarColor(CColor& color) override
    {
        color = CColor(10, 20, 30);
        return true;
    }
    std::string sitePath;
};

class FillInfoTest : public ::testing::Test
{
protected:
    void SetUp() override { std::filesystem::create_directories(folder / "pics"); }
    void TearDown() override { SetOpeningSitePath(""); }

    FakeServices fake;
    SeamsInstalled<FakeServices> installed{fake};
    TestFolder scratch{"pelorin-fill-"};
    const std::filesystem::path folder = scratch.Path();
};

std::vector<BYTE> WrittenFill(const CFillInfo& fill)
{
    CMemFile file;
    fill.Write(file);
    return FileBytes(file);
}

// Reads a fill from the bytes, which must be used up exactly.
CFillInfo ReadFillBack(const std::vector<BYTE>& bytes, int major = kCurrentMajorVersion,
                       int minor = kCurrentMinorVersion)
{
    auto file = FileOf(bytes);
    CFillInfo fill;
    fill.Read(*file, major, minor);
    EXPECT_EQ(file->GetPosition(), bytes.size());
    return fill;
}

} // namespace

TEST_F(FillInfoTest, DefaultsTakeTheToolsBarColour)
{
    CFillInfo fill;
    EXPECT_EQ(fill.GetKind(), CFillInfo::FILL_COLOR);
    EXPECT_EQ(fill.GetColor().GetCOLORREF(), RGB(10, 20, 30));
    EXPECT_TRUE(fill.NeedsRender());
    EXPECT_FALSE(fill.IsAnimated());
    EXPECT_EQ(fill.GetImage(), nullptr);

    installed.PutBack();
    EXPECT_EQ(CFillInfo().GetColor().GetCOLORREF(), RGB(0, 0, 0)) << "no tools bar";
}

TEST_F(FillInfoTest, RoundTripOfEveryKindAcrossVersions)
{
    CGradientInfo rainbow;
    CGradientModel::GetPredefinedGradient(rainbow, 3);
    rainbow.angle = 135;
    fake.sitePath = "/srv/site/my.kst";

    const std::vector<std::function<void(CFillInfo&)>> kinds = {
        [](CFillInfo& f) { f.SetColor(CColor(1, 2, 3)); }, [](CFillInfo& f) { f.SetImageFile("/srv/site/pics/a.gif"); },
        [&](CFillInfo& f) { f.SetGradient(rainbow); },     [](CFillInfo& f) { f.SetNone(); },
        [](CFillInfo& f) { f.SetPicture(Picture(3, 2)); },
    };
    struct Version
    {
        int major, minor;
        bool animatedByte;
    };
    for (const Version v : {Version{1, 4, false}, Version{1, 5, true}, Version{2, 0, true}, Version{5, 15, true}}) {
        for (size_t kind = 0; kind < kinds.size(); ++kind) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " version " << v.major << "." << v.minor);
            CFillInfo fill;
            kinds[kind](fill);
            fill.SetAnimated(true);
            std::vector<BYTE> bytes = WrittenFill(fill);
            EXPECT_EQ(bytes.back(), 1) << "the animated flag ends the record";
            if (!v.animatedByte)
                bytes.pop_back();

            CFillInfo back = ReadFillBack(bytes, v.major, v.minor);
            EXPECT_EQ(back.GetKind(), static_cast<int>(kind));
            EXPECT_EQ(back.IsAnimated(), v.animatedByte);
            if (kind == CFillInfo::FILL_PICTURE) {
                ASSERT_NE(back.GetImage(), nullptr);
                EXPECT_EQ(back.GetImage()->Width(), 3);
                EXPECT_EQ(back.GetImage()->GetMode(), IMAGE_MODE_RGB);
                EXPECT_EQ(ColorAt(*back.GetImage(), 2, 1), RGB(2, 1, 3));
                EXPECT_FALSE(back.NeedsRender());
            } else {
                EXPECT_TRUE(back == fill);
                EXPECT_EQ(back.NeedsRender(), kind == CFillInfo::FILL_TEXTURE || kind == CFillInfo::FILL_GRADIENT);
            }
        }
    }
}

TEST_F(FillInfoTest, TexturePathsAreStoredRelativeToTheSite)
{
    fake.sitePath = "/srv/site/my.kst";
    CFillInfo fill;
    fill.SetImageFile("/srv/site/pics/a.gif");
    EXPECT_EQ(
        WrittenFill(fill),
        Concat({LE32(CFillInfo::kTag), LE32(1), LE32(10), {'p', 'i', 'c', 's', '/', 'a', '.', 'g', 'i', 'f'}, {0}}));

    // Read back in another site's folder, a stored Windows path in a site of its own, and an absolute one.
    struct Case
    {
        std::string sitePath, opening, stored, read;
    };
    const Case cases[] = {
        {"/home/me/web/other.kst", "", "pics/a.gif", "/home/me/web/pics/a.gif"},
        {"C:\\Web\\site.kst", "", "pics\\a.gif", "C:\\Web\\pics\\a.gif"},
        {"", "/opening/site.kst", "pics/a.gif", "/opening/pics/a.gif"}, // no current site: the file being opened
        {"/home/me/web/other.kst", "", "D:\\x.gif", "D:\\x.gif"},
        {"/home/me/web/other.kst", "", "/abs/x.gif", "/abs/x.gif"},
    };
    for (const Case& c : cases) {
        fake.sitePath = c.sitePath;
        SetOpeningSitePath(c.opening);
        std::vector<BYTE> bytes = Concat({LE32(CFillInfo::kTag), LE32(1), Counted(c.stored), {0}});
        EXPECT_EQ(ReadFillBack(bytes).GetImageFile(), c.read) << c.stored;
    }
}

TEST_F(FillInfoTest, OwnedPictureIsStoredInFullWidthTiles)
{
    CFillInfo fill;
    fill.SetPicture(Picture(300, 20));
    const std::vector<BYTE> bytes = WrittenFill(fill);
    const size_t header = 4 + 4 + 4 + 4 + 4, tile = 20 * 768;
    ASSERT_EQ(bytes.size(), header + 2 * tile + 1);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + 8, bytes.begin() + header),
              Concat({LE32(300), LE32(20), LE32(IMAGE_MODE_RGB)}));
    const BYTE* first = &bytes[header];
    const BYTE* second = first + tile;
    // Row 5 of the first tile starts with pixel (0, 5); the second tile with pixel (256, 0) = (0, 0, 0) in bytes.
    EXPECT_EQ(first[5 * 768 + 0], 0);
    EXPECT_EQ(first[5 * 768 + 1], 5);
    EXPECT_EQ(first[5 * 768 + 3 * 255], 255);
    EXPECT_EQ(second[3 * 10 + 1], 0);
    EXPECT_EQ(second[3 * 10 + 0], 10);      // pixel (266, 0): x = 266 in a byte is 10
    EXPECT_EQ(second[3 * 43 + 768 + 1], 1); // pixel (299, 1), the last column
    EXPECT_EQ(second[3 * 44 + 768 + 0], 0); // beyond the picture: stored as zero
    EXPECT_EQ(bytes.back(), 0);

    CFillInfo back = ReadFillBack(bytes);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{255, 19}, std::pair{256, 7}, std::pair{299, 19}})
        EXPECT_EQ(ColorAt(*back.GetImage(), x, y), ColorAt(*fill.GetImage(), x, y)) << x << "," << y;
}

TEST_F(FillInfoTest, OwnedPictureIsNeverEqual)
{
    CFillInfo picture;
    picture.SetPicture(Picture(4, 4));
    std::unique_ptr<CFillInfo> clone = picture.Clone();
    ASSERT_NE(clone->GetImage(), nullptr);
    EXPECT_NE(clone->GetImage(), picture.GetImage()) << "the clone has its own copy";
    EXPECT_FALSE(*clone == picture);
    EXPECT_FALSE(picture == picture);

    CFillInfo a, b;
    a.SetColor(CColor(1, 2, 3));
    b.SetColor(CColor(1, 2, 3));
    EXPECT_TRUE(a == b);
    b.SetNone();
    EXPECT_FALSE(a == b);
    a.SetNone();
    EXPECT_TRUE(a == b);
    a.SetImageFile("x.gif");
    b.SetImageFile("X.gif");
    EXPECT_FALSE(a == b);
    CGradientInfo g = BlackToWhite();
    a.SetGradient(g);
    b.SetGradient(g);
    EXPECT_TRUE(a == b);
    g.angle = 90;
    b.SetGradient(g);
    EXPECT_FALSE(a == b);

    // Copies of other kinds carry no image and must be made again.
    a.UpdateImage(SIZE{10, 10});
    ASSERT_NE(a.GetImage(), nullptr);
    CFillInfo copy = a;
    EXPECT_EQ(copy.GetImage(), nullptr);
    EXPECT_TRUE(copy.NeedsRender());
    EXPECT_TRUE(copy == a);
}

TEST_F(FillInfoTest, UpdateImageOfEveryKind)
{
    const std::string texture = (folder / "pics" / "t.png").string();
    ASSERT_TRUE(CIO::SavePNG(texture, *Picture(8, 6)));

    CFillInfo color;
    color.SetColor(CColor(COLOR_RED));
    EXPECT_EQ(color.UpdateImage(SIZE{20, 10}), 0);
    EXPECT_EQ(color.GetImage(), nullptr);

    CFillInfo textured;
    textured.SetImageFile(texture);
    EXPECT_EQ(textured.UpdateImage(SIZE{20, 10}), 0);
    ASSERT_NE(textured.GetImage(), nullptr);
    EXPECT_EQ(textured.GetImage()->Width(), 8) << "a texture keeps its own size";
    EXPECT_EQ(ColorAt(*textured.GetImage(), 7, 5), RGB(7, 5, 12));
    EXPECT_FALSE(textured.NeedsRender());

    CFillInfo gradient;
    gradient.SetGradient(BlackToWhite());
    EXPECT_EQ(gradient.UpdateImage(SIZE{20, 10}), 0);
    ASSERT_NE(gradient.GetImage(), nullptr);
    EXPECT_EQ(gradient.GetImage()->Width(), 20);
    EXPECT_EQ(gradient.GetImage()->Height(), 10);
    EXPECT_EQ(gradient.GetImage()->GetDpi(), 96.0);
    EXPECT_EQ(ColorAt(*gradient.GetImage(), 0, 9), RGB(0, 0, 0));
    EXPECT_EQ(ColorAt(*gradient.GetImage(), 19, 0), RGB(255, 255, 255));
    // Nothing to do until invalidated; then a new size makes a new image.
    const CImage* first = gradient.GetImage();
    EXPECT_EQ(gradient.UpdateImage(SIZE{40, 10}), 0);
    EXPECT_EQ(gradient.GetImage(), first);
    gradient.InvalidateImage();
    EXPECT_EQ(gradient.GetImage(), nullptr);
    EXPECT_EQ(gradient.UpdateImage(SIZE{40, 10}), 0);
    EXPECT_EQ(gradient.GetImage()->Width(), 40);
    EXPECT_EQ(ColorAt(*gradient.GetImage(), 39, 3), RGB(255, 255, 255));
    gradient.InvalidateImage();
    EXPECT_EQ(gradient.UpdateImage(SIZE{-1, 10}), 4) << "an image that cannot be made";
    EXPECT_TRUE(gradient.NeedsRender());

    CFillInfo none;
    none.SetNone();
    EXPECT_EQ(none.UpdateImage(SIZE{20, 10}), 0);
    EXPECT_EQ(none.GetImage(), nullptr);

    CFillInfo picture;
    picture.SetPicture(Picture(5, 5));
    picture.InvalidateImage();
    EXPECT_EQ(picture.UpdateImage(SIZE{20, 10}), 0);
    ASSERT_NE(picture.GetImage(), nullptr) << "an owned picture is never dropped";
    EXPECT_EQ(ColorAt(*picture.GetImage(), 4, 2), RGB(4, 2, 6));
}

TEST_F(FillInfoTest, MissingTextureReportsUntilItLoads)
{
    const std::string path = (folder / "pics" / "late.png").string();
    CFillInfo fill;
    fill.SetImageFile(path);
    EXPECT_EQ(fill.UpdateImage(SIZE{10, 10}), IO_FILE_NOT_FOUND);
    EXPECT_EQ(fill.UpdateImage(SIZE{10, 10}), IO_FILE_NOT_FOUND);
    EXPECT_EQ(fill.GetImageFile(), path);
    EXPECT_EQ(fill.GetImage(), nullptr);
    EXPECT_TRUE(fill.NeedsRender());

    ASSERT_TRUE(CIO::SavePNG(path, *Picture(2, 2)));
    EXPECT_EQ(fill.UpdateImage(SIZE{10, 10}), 0);
    EXPECT_NE(fill.GetImage(), nullptr);

    CFillInfo notAPicture;
    const std::string text = (folder / "pics" / "text.png").string();
    {
        CFile out(text, CFile::modeCreate | CFile::modeWrite);
        out.Write("hello", 5);
    }
    notAPicture.SetImageFile(text);
    EXPECT_EQ(notAPicture.UpdateImage(SIZE{10, 10}), IO_INVALID_FILE);
}

TEST_F(FillInfoTest, BadRecordsRaise)
{
    auto picture = [](int32_t w, int32_t h, uint32_t mode, size_t pixelBytes) {
        return Concat({LE32(CFillInfo::kTag),
                       LE32(4),
                       LE32(static_cast<uint32_t>(w)),
                       LE32(static_cast<uint32_t>(h)),
                       LE32(mode),
                       std::vector<BYTE>(pixelBytes, 0),
                       {0}});
    };
    const struct
    {
        const char* what;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"wrong tag", Concat({LE32(0x13F76B99), LE32(0), {1, 2, 3, 0}})},
        {"kind 5", Concat({LE32(CFillInfo::kTag), LE32(5), {0}})},
        {"kind -1", Concat({LE32(CFillInfo::kTag), LE32(0xFFFFFFFF), {0}})},
        {"string too long", Concat({LE32(CFillInfo::kTag), LE32(1), LE32(20049), std::vector<BYTE>(20049, 'a'), {0}})},
        {"negative string length", Concat({LE32(CFillInfo::kTag), LE32(1), LE32(0xFFFFFFFF), {0}})},
        {"short colour", Concat({LE32(CFillInfo::kTag), LE32(0), {1, 2}})},
        {"picture width 0", picture(0, 1, 3, 768)},
        {"picture height -1", picture(1, -1, 3, 768)},
        {"picture mode 0", picture(1, 1, 0, 768)},
        {"picture mode RGBA", picture(1, 1, IMAGE_MODE_RGBA, 1024)},
        {"picture mode 5", picture(1, 1, 5, 768)},
        {"picture side over 30000", picture(30001, 1, 1, 256 * 118)},
        {"picture too many pixels", picture(20000, 20000, 1, 0)},
        {"picture pixels missing", picture(300, 20, 3, 2 * 20 * 768 - 1)},
        {"huge picture, few bytes", picture(10000, 10000, 3, 768)},
    };
    for (const auto& c : cases) {
        auto file = FileOf(c.bytes);
        CFillInfo fill;
        EXPECT_TRUE(RaisesBadData([&] { fill.Read(*file, 5, 15); })) << c.what;
    }
    // Every cut of a sound record is refused too.
    CFillInfo sound;
    CGradientInfo g = BlackToWhite();
    g.AddStop(0.5, CColor(COLOR_RED), CColor(COLOR_BLUE));
    sound.SetGradient(g);
    const std::vector<BYTE> whole = WrittenFill(sound);
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        auto file = FileOf(std::vector<BYTE>(whole.begin(), whole.begin() + cut));
        CFillInfo fill;
        EXPECT_TRUE(RaisesBadData([&] { fill.Read(*file, 5, 15); })) << "cut at " << cut;
    }
}

TEST_F(FillInfoTest, PicturesTheFileCannotHoldAreWrittenSafely)
{
    // A picture with alpha is stored without its alpha plane; a fill without a picture as no fill, so that the
    // file can always be read again.
    CFillInfo withAlpha;
    withAlpha.SetPicture(Picture(3, 3, IMAGE_MODE_RGBA));
    CFillInfo back = ReadFillBack(WrittenFill(withAlpha));
    ASSERT_EQ(back.GetKind(), CFillInfo::FILL_PICTURE);
    EXPECT_EQ(back.GetImage()->GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(ColorAt(*back.GetImage(), 2, 1), RGB(2, 1, 3));

    CFillInfo empty;
    empty.SetPicture(nullptr);
    EXPECT_EQ(ReadFillBack(WrittenFill(empty)).GetKind(), CFillInfo::FILL_NONE);
}
