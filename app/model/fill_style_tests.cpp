#include "app/model/fill_style.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/model/app_settings.h"
#include "app/model/file_name_map.h"
#include "app/model/fill_test_support.h"
#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/model/stream_test_support.h"
#include "platform/io/io.h"

namespace {

struct DialogAnswer
{
    int result;    // 1 OK, 2 cancel
    bool tryAgain; // after OK: pick another picture
    CColor color;  // the colour the user leaves in the dialog
};

// Stands in for the program: a site with its map and settings, and a user who answers from a script. Dialogs
// shown are recorded as 'M' (missing), 'I' (invalid) and 'N' (no memory).
class FakeServices : public CoreServices
{
public:
    CWebsite* GetCurrentSite() override { return sitePath.empty() ? nullptr : reinterpret_cast<CWebsite*>(this); }
    std::string GetCurrentSitePath() override { return sitePath; }
    CAppSettings* GetAppSettings() override { return &settings; }
    CFileNameMap* GetSiteFileNameMap() override { return &map; }
    void SetSiteModified() override { ++modified; }
    int GetSiteMinorVersion() override { return minor; }
    int ShowFillMissingDialog(FillPictureDialog& dialog) override { return Ask('M', dialog); }
    int ShowFillInvalidDialog(FillPictureDialog& dialog) override { return Ask('I', dialog); }
    void ShowNoMemoryForFillDialog() override { shown += 'N'; }
    bool GetPictureFileName(std::string& path) override
    {
        chooserStarts.push_back(path);
        if (picks.empty())
            return false;
        path = picks.front();
        picks.pop_front();
        return true;
    }

    int Ask(char kind, FillPictureDialog& dialog)
    {
        shown += kind;
        if (whileAsking)
            whileAsking();
        shownPaths.push_back(dialog.m_strPath);
        if (answers.empty())
            return 2;
        const DialogAnswer a = answers.front();
        answers.pop_front();
        dialog.m_bTryAgain = a.tryAgain;
        dialog.m_color = a.color;
        return a.result;
    }

    std::string sitePath;
    CAppSettings settings;
    CFileNameMap map;
    int minor = 15;
    int modified = 0;
    std::deque<DialogAnswer> answers;
    std::deque<std::string> picks;
    std::string shown;
    std::vector<std::string> shownPaths;
    std::vector<std::string> chooserStarts;
    // Runs while a dialog is up, as a repaint of the view would.
    std::function<void()> whileAsking;
};

COLORREF PictureColor(int x, int y)
{
    return RGB(static_cast<BYTE>(x), static_cast<BYTE>(y), static_cast<BYTE>(x + y));
}

// A page buffer of 4-byte pixels (alpha, red, green, blue), filled with a value no fill paints.
struct PageBuffer
{
    PageBuffer(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 4, 0x11) {}
    int Stride() const { return width * 4; }
    BYTE Alpha(int x, int y) const { return bytes[(static_cast<size_t>(y) * width + x) * 4]; }
    COLORREF Color(int x, int y) const
    {
        const BYTE* p = &bytes[(static_cast<size_t>(y) * width + x) * 4];
        return RGB(p[1], p[2], p[3]);
    }
    bool AllOpaque() const
    {
        for (size_t i = 0; i < bytes.size(); i += 4)
            if (bytes[i] != 255)
                return false;
        return true;
    }
    int width;
    int height;
    std::vector<BYTE> bytes;
};

PageBuffer RenderInto(const CFillStyle& style, const RECT& rect, CPixMap& scratch, int pageWidth = 800,
                      int pageHeight = 600)
{
    PageBuffer buffer(rect.right - rect.left, rect.bottom - rect.top);
    style.Render(rect, buffer.bytes.data(), buffer.Stride(), scratch, pageWidth, pageHeight);
    return buffer;
}

std::vector<BYTE> Written(const CFillStyle& style)
{
    CMemFile file;
    style.Write(file);
    return FileBytes(file);
}

// Reads a style from the bytes, which must be used up exactly.
CFillStyle ReadBack(const std::vector<BYTE>& bytes, int minor = kCurrentMinorVersion)
{
    auto file = FileOf(bytes);
    CFillStyle style;
    style.Read(*file, kCurrentMajorVersion, minor);
    EXPECT_EQ(file->GetPosition(), bytes.size());
    return style;
}

std::vector<BYTE> Header(int kind, int width, int height)
{
    return Concat({LE32(CFillStyle::kTag), LE32(static_cast<uint32_t>(kind)), LE32(static_cast<uint32_t>(width)),
                   LE32(static_cast<uint32_t>(height))});
}

class FillStyleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetCoreServices(&fake);
        std::filesystem::create_directories(folder / "pics");
        fake.settings.m_strBackgroundImagePath = Path("backgrounds/");
    }
    void TearDown() override
    {
        SetCoreServices(nullptr);
        SetOpeningSitePath("");
    }

    std::string Path(const std::string& relative) const { return (folder / relative).string(); }

    // Writes a picture file and returns its path.
    std::string SavePicture(const std::string& relative, int w = 4, int h = 3)
    {
        const std::filesystem::path path = folder / relative;
        std::filesystem::create_directories(path.parent_path());
        EXPECT_TRUE(CIO::SavePNG(path.string(), *Picture(w, h)));
        return path.string();
    }

    std::string SaveGarbage(const std::string& relative)
    {
        const std::filesystem::path path = folder / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "not a picture";
        return path.string();
    }

    FakeServices fake;
    TestFolder scratch{"pelorin-background-"};
    const std::filesystem::path folder = scratch.Path();
};

} // namespace

TEST_F(FillStyleTest, DefaultsAndCopies)
{
    CFillStyle style;
    EXPECT_EQ(style.GetKind(), CFillStyle::FILL_COLOR);
    EXPECT_EQ(style.GetColor().GetCOLORREF(), RGB(255, 255, 255));
    EXPECT_TRUE(style.IsTile());
    EXPECT_EQ(style.GetImagePosition(), -1);
    EXPECT_TRUE(style.IsGradientHorizontal());
    EXPECT_EQ(style.GetGradient().predefined, 0);
    EXPECT_EQ(style.GetWidth(), -1);
    EXPECT_EQ(style.GetHeight(), -1);
    EXPECT_TRUE(style.NeedsRender());

    style.SetImageFileAndImage(Path("a.png"), Picture(2, 2));
    EXPECT_FALSE(style.NeedsRender());
    auto copy = style.Clone();
    EXPECT_EQ(copy->GetImage(), nullptr) << "the image is a cache the copy makes again";
    EXPECT_TRUE(copy->NeedsRender());
    EXPECT_EQ(copy->GetImageFile(), Path("a.png"));
    EXPECT_NE(*copy, style) << "the image itself takes part in equality";
    style.InvalidateImage();
    EXPECT_EQ(*copy, style);

    CFillStyle assigned;
    assigned = style;
    EXPECT_EQ(assigned, style);
    const CFillStyle& alias = assigned;
    assigned = alias;
    EXPECT_EQ(assigned.GetImageFile(), Path("a.png"));
}

TEST_F(FillStyleTest, RoundTripOfEveryKind)
{
    fake.sitePath = Path("site.kst");
    GRADIENTCOLORS custom = BlackToWhite();
    custom.AddStop(0.25, CColor(200, 0, 0), CColor(0, 0, 200));

    CFillStyle colour;
    colour.SetColor(CColor(12, 34, 56));
    CFillStyle tiled;
    tiled.SetImageFile(Path("pics/tile.png"));
    CFillStyle placed;
    placed.SetImageFile("/elsewhere/placed.png");
    placed.SetImagePosition(6);
    CFillStyle gradient;
    gradient.SetGradient(&custom);
    gradient.SetGradientHorizontal(false);
    for (CFillStyle* style : {&colour, &tiled, &placed, &gradient}) {
        style->SetWidth(2000);
        style->SetHeight(30000);
        EXPECT_EQ(ReadBack(Written(*style)), *style);
    }

    EXPECT_EQ(Written(colour), Concat({Header(0, 2000, 30000), {12, 34, 56}}));
    // Pictures beside the site are stored relative to it and come back whole.
    EXPECT_EQ(Written(tiled), Concat({Header(1, 2000, 30000), Counted("pics/tile.png"), {1}, LE32(0xFFFFFFFF)}));
    EXPECT_EQ(Written(placed), Concat({Header(1, 2000, 30000), Counted("/elsewhere/placed.png"), {0}, LE32(6)}));
}

TEST_F(FillStyleTest, OlderFilesHoldNoPositionAndReadAsCentred)
{
    SetOpeningSitePath(Path("old.kst"));
    const std::vector<BYTE> bytes = Concat({Header(1, 800, 600), Counted("a.gif"), {0}});
    const CFillStyle style = ReadBack(bytes, 11);
    EXPECT_EQ(style.GetImagePosition(), 4);
    EXPECT_FALSE(style.IsTile());
    EXPECT_EQ(style.GetImageFile(), Path("a.gif"));
    EXPECT_TRUE(style.NeedsRender());

    const CFillStyle current = ReadBack(Concat({bytes, LE32(2)}), 12);
    EXPECT_EQ(current.GetImagePosition(), 2);
}

TEST_F(FillStyleTest, PageSizeLimits)
{
    struct Case
    {
        int width, height;
        bool reads;
    };
    const Case cases[] = {{2000, 30000, true}, {10, 10, true},      {2001, 600, false}, {800, 9, false},
                          {9, 600, false},     {800, 30001, false}, {-1, -1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const std::vector<BYTE> bytes = Concat({Header(0, c.width, c.height), {1, 2, 3}});
        if (c.reads) {
            const CFillStyle style = ReadBack(bytes);
            EXPECT_EQ(style.GetWidth(), c.width);
            EXPECT_EQ(style.GetHeight(), c.height);
        } else {
            EXPECT_TRUE(RaisesBadData([&] { ReadBack(bytes); }));
        }
    }
}

TEST_F(FillStyleTest, DamagedRecordsRaiseAndLeaveTheStyleAsItWas)
{
    CFillStyle tiled;
    tiled.SetImageFile("/a/b.png");
    tiled.SetWidth(100);
    tiled.SetHeight(100);
    CFillStyle gradient;
    gradient.SetGradient(nullptr);
    gradient.SetWidth(100);
    gradient.SetHeight(100);

    std::vector<std::vector<BYTE>> damaged = {
        Concat({LE32(0xB8629B78), LE32(0), LE32(100), LE32(100), {1, 2, 3}}),
        Concat({Header(3, 100, 100), {1, 2, 3}}),
        Concat({Header(-1, 100, 100), {1, 2, 3}}),
        Concat({Header(1, 100, 100), LE32(0x7FFFFFFF), {'a'}}),
    };
    // Every record cut anywhere short of its end.
    for (const CFillStyle* style : {&tiled, &gradient}) {
        const std::vector<BYTE> whole = Written(*style);
        for (size_t n = 0; n < whole.size(); ++n)
            damaged.emplace_back(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(n));
    }
    for (const auto& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        CFillStyle target;
        target.SetColor(CColor(9, 8, 7));
        const CFillStyle before = target;
        auto file = FileOf(bytes);
        EXPECT_TRUE(RaisesBadData([&] { target.Read(*file, 5, 15); }));
        EXPECT_EQ(target, before);
    }
}

TEST_F(FillStyleTest, WritesOnlyWhatReadsBack)
{
    // A style never sized, or of a kind no file holds, must not make the whole site file unreadable.
    CFillStyle unsized;
    unsized.SetColor(CColor(1, 2, 3));
    EXPECT_EQ(Written(unsized), Concat({Header(0, 10, 10), {1, 2, 3}}));
    CFillStyle huge;
    huge.SetWidth(5000);
    huge.SetHeight(40000);
    huge.SetKind(7);
    EXPECT_EQ(ReadBack(Written(huge)).GetHeight(), CFillStyle::kMaxPageHeight);
    EXPECT_EQ(ReadBack(Written(huge)).GetKind(), CFillStyle::FILL_COLOR);
}

TEST(FillStyle, SetImagePositionKeepsToTheGrid)
{
    const std::pair<int, int> cases[] = {{0, 0}, {8, 8}, {3, 3}, {9, 4}, {-1, 4}, {100, 4}};
    for (const auto& [given, stored] : cases) {
        CFillStyle style;
        ASSERT_TRUE(style.IsTile());
        style.SetImagePosition(given);
        EXPECT_EQ(style.GetImagePosition(), stored) << given;
        EXPECT_FALSE(style.IsTile());
    }
}

TEST_F(FillStyleTest, TogglingFlagsNeverDropsAPendingRender)
{
    const std::string picture = SavePicture("pics/p.png");
    struct Case
    {
        const char* name;
        std::function<void(CFillStyle&)> prepare;
        std::function<void(CFillStyle&)> toggle;
        bool renderAgain;
    };
    const auto renderedGradient = [](CFillStyle& s) {
        s.SetGradient(nullptr);
        ASSERT_TRUE(s.LoadFillImage());
    };
    const auto pendingGradient = [](CFillStyle& s) { s.SetGradient(nullptr); };
    const auto loadedPicture = [&](CFillStyle& s) {
        s.SetImageFile(picture);
        ASSERT_TRUE(s.LoadFillImage());
    };
    const auto pendingPicture = [&](CFillStyle& s) { s.SetImageFile(picture); };
    const auto tile = [](CFillStyle& s) { s.SetTile(!s.IsTile()); };
    const auto direction = [](CFillStyle& s) { s.SetGradientHorizontal(!s.IsGradientHorizontal()); };
    const Case cases[] = {
        {"tile of a rendered gradient", renderedGradient, tile, false},
        {"direction of a rendered gradient", renderedGradient, direction, true},
        {"tile of a loaded picture", loadedPicture, tile, true},
        {"direction of a loaded picture", loadedPicture, direction, false},
        {"tile of a pending gradient", pendingGradient, tile, true},
        {"direction of a pending picture", pendingPicture, direction, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFillStyle style;
        style.SetWidth(40);
        style.SetHeight(30);
        c.prepare(style);
        c.toggle(style);
        EXPECT_EQ(style.NeedsRender(), c.renderAgain);
        // Whatever was toggled, the background can still be made and drawn as it is meant.
        EXPECT_TRUE(style.LoadFillImage());
        EXPECT_NE(style.GetImage(), nullptr);
    }

    CFillStyle style;
    style.SetGradient(nullptr);
    EXPECT_FALSE(style.LoadFillImage()) << "a strip needs the page's size";
    style.SetWidth(40);
    style.SetHeight(30);
    style.SetGradientHorizontal(false);
    EXPECT_EQ(style.GetGradient().angle, 90);
    style.SetGradientHorizontal(true);
    EXPECT_EQ(style.GetGradient().angle, 0);
    ASSERT_TRUE(style.LoadFillImage());
    style.SetGradientHorizontal(true);
    style.SetTile(true);
    EXPECT_FALSE(style.NeedsRender()) << "setting a flag to its own value changes nothing";
}

TEST_F(FillStyleTest, MissingPictureIsFoundWithoutAsking)
{
    const std::string moved = SavePicture("Moved/Sky.png");
    const std::string web = SavePicture("kst/shop_website/files/gone.png");
    SaveGarbage("pics/bad.png");
    fake.sitePath = Path("site/shop.kst");
    fake.settings.m_strKstPath = Path("kst");
    fake.map.SetReplacementFile(Path("pics/old.png"), moved);
    fake.map.SetReplacementFile(Path("pics/bad.png"), moved);
    fake.map.SetReplacementFolder(Path("lost/"), Path("Moved/"));

    struct Case
    {
        const char* name;
        std::string stored;
        std::string found;
    };
    const Case cases[] = {
        {"replacement file for a missing file", Path("pics/OLD.PNG"), moved},
        {"replacement file for an invalid picture", Path("pics/bad.png"), moved},
        {"replacement folder for a missing folder", Path("lost/Sky.png"), moved},
        {"web folder for a missing file", Path("pics/gone.png"), web},
        {"web folder for a missing folder", Path("nowhere/gone.png"), web},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.modified = 0;
        fake.shown.clear();
        CFillStyle style;
        style.SetImageFile(c.stored);
        EXPECT_TRUE(style.LoadFillImage());
        EXPECT_NE(style.GetImage(), nullptr);
        EXPECT_FALSE(style.NeedsRender());
        EXPECT_EQ(style.GetImageFile(), c.found);
        EXPECT_EQ(fake.modified, 1);
        EXPECT_EQ(fake.shown, "");
    }
}

TEST(FillStyle, SiteFileNameIsCutByVersion)
{
    struct Case
    {
        const char* name;
        int minor;
        const char* cut;
    };
    const Case cases[] = {
        {"shop.kst", 15, "shop"},        {"shop-v6.kst", 15, "shop-v6"},   {"shop.kth", 15, "shop"},
        {"shop-v6.kst", 14, "shop.kst"}, {"shop.kst.kst", 16, "shop.kst"}, {"shop.kth", 16, "shop.kth"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(detail::CutSiteFileName(c.name, c.minor), c.cut) << c.name << " at " << c.minor;
}

TEST_F(FillStyleTest, AskingTheUserForAnotherPictureOrAColour)
{
    const std::string good = SavePicture("new/sky.png");
    const std::string bad = SaveGarbage("bad.png");
    const CColor blue(0, 0, 200);
    const CColor own(10, 20, 30);
    struct Case
    {
        const char* name;
        std::vector<DialogAnswer> answers;
        std::vector<std::string> picks;
        std::string shown;
        int kind;
        unsigned long color;
    };
    const Case cases[] = {
        {"retry until a picture loads", {{1, true, own}, {1, true, own}}, {bad, good}, "MI", 1, 0},
        {"solid colour", {{1, false, blue}}, {}, "M", 0, blue.GetCOLORREF()},
        {"cancel takes the dialog's colour", {{2, true, blue}}, {}, "M", 0, blue.GetCOLORREF()},
        {"no file picked", {{1, true, blue}}, {}, "M", 0, blue.GetCOLORREF()},
        {"empty file name picked", {{1, true, own}}, {""}, "M", 0, own.GetCOLORREF()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.answers.assign(c.answers.begin(), c.answers.end());
        fake.picks.assign(c.picks.begin(), c.picks.end());
        fake.map = CFileNameMap();
        fake.shown.clear();
        fake.shownPaths.clear();
        fake.chooserStarts.clear();
        CFillStyle style;
        style.SetColor(own);
        style.SetImageFile(Path("pics/sky.png"));

        EXPECT_TRUE(style.LoadFillImage());
        EXPECT_EQ(fake.shown, c.shown);
        EXPECT_EQ(style.GetKind(), c.kind);
        EXPECT_FALSE(style.NeedsRender());
        if (c.kind == CFillStyle::FILL_COLOR) {
            EXPECT_EQ(style.GetColor().GetCOLORREF(), c.color);
            EXPECT_EQ(style.GetImage(), nullptr);
        } else {
            EXPECT_EQ(style.GetImageFile(), good);
            EXPECT_NE(style.GetImage(), nullptr);
            // The dialog names the picture it asks about; the chooser starts in the background folder.
            EXPECT_EQ(fake.shownPaths, (std::vector<std::string>{Path("pics/sky.png"), bad}));
            EXPECT_EQ(fake.chooserStarts, (std::vector<std::string>{Path("backgrounds/"), Path("backgrounds/")}));
            EXPECT_EQ(fake.settings.m_strImagePath, Path("new/"));
        }
        EXPECT_TRUE(fake.answers.empty());
        EXPECT_TRUE(fake.picks.empty());
    }
}

TEST_F(FillStyleTest, ThePickedPictureTeachesTheSiteMap)
{
    SaveGarbage("pics/bad.png");
    const std::string other = SavePicture("other/x.png");
    const std::string renamed = SavePicture("other/y.png");
    struct Case
    {
        const char* name;
        std::string stored; // fails with the first error
        std::string picked;
        bool file;   // the old path maps to the picked one
        bool folder; // the old folder maps to the picked one's
    };
    const Case cases[] = {
        {"missing file, same name elsewhere", Path("pics/X.png"), other, true, true},
        {"missing file, other name", Path("pics/x.png"), renamed, true, false},
        {"missing folder, same name elsewhere", Path("lost/x.png"), other, false, true},
        {"missing folder, other name", Path("lost/x.png"), renamed, false, false},
        {"invalid picture", Path("pics/bad.png"), other, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.map = CFileNameMap();
        fake.answers = {{1, true, CColor(0, 0, 0)}};
        fake.picks = {c.picked};
        CFillStyle style;
        style.SetImageFile(c.stored);
        ASSERT_TRUE(style.LoadFillImage());
        ASSERT_NE(style.GetImage(), nullptr);

        std::string out;
        EXPECT_EQ(fake.map.FindReplacementFile(c.stored, out), c.file);
        if (c.file) {
            EXPECT_EQ(out, c.picked);
        }
        EXPECT_EQ(fake.map.LookupFolder(std::filesystem::path(c.stored).parent_path().string() + "/", out), c.folder);
        if (c.folder) {
            EXPECT_EQ(out, Path("other/"));
        }
    }
}

TEST_F(FillStyleTest, ARepaintWhileAskingPaintsTheColourInsteadOfAskingAgain)
{
    CFillStyle style;
    style.SetImageFile(Path("pics/none.png"));
    bool nested = true;
    fake.whileAsking = [&] { nested = style.LoadFillImage(); };
    fake.answers = {{1, false, CColor(1, 2, 3)}};
    EXPECT_TRUE(style.LoadFillImage());
    EXPECT_FALSE(nested);
    EXPECT_EQ(fake.shown, "M");
    EXPECT_EQ(style.GetColor().GetCOLORREF(), RGB(1, 2, 3));
}

TEST_F(FillStyleTest, HeadlessAMissingPictureFallsBackToTheColour)
{
    SetCoreServices(nullptr);
    CFillStyle style;
    style.SetColor(CColor(5, 6, 7));
    style.SetImageFile(Path("pics/none.png"));
    EXPECT_TRUE(style.LoadFillImage());
    EXPECT_EQ(style.GetKind(), CFillStyle::FILL_COLOR);
    EXPECT_EQ(style.GetColor().GetCOLORREF(), RGB(5, 6, 7));
}

TEST_F(FillStyleTest, ColourAndPicturesNotYetLoadedPaintTheColour)
{
    CPixMap scratch(IMAGE_MODE_RGBA, 16, 16);
    CFillStyle style;
    style.SetColor(CColor(10, 20, 30));
    for (int pass = 0; pass < 2; ++pass) {
        const PageBuffer out = RenderInto(style, RECT{5, 5, 15, 12}, scratch);
        EXPECT_TRUE(out.AllOpaque());
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x)
                ASSERT_EQ(out.Color(x, y), RGB(10, 20, 30));
        style.SetImageFile(SavePicture("p.png"));
    }
}

TEST_F(FillStyleTest, TiledPictureRepeatsFromThePageOrigin)
{
    CFillStyle style;
    style.SetImageFile(SavePicture("tile.png", 64, 64));
    ASSERT_TRUE(style.LoadFillImage());
    // A work map smaller than the spans makes the copy go in pieces.
    CPixMap scratch(IMAGE_MODE_RGBA, 16, 16);
    const PageBuffer out = RenderInto(style, RECT{100, 100, 200, 200}, scratch);

    EXPECT_EQ(out.Color(0, 0), PictureColor(36, 36));
    EXPECT_EQ(out.Color(28, 28), PictureColor(0, 0));
    EXPECT_TRUE(out.AllOpaque());
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            ASSERT_EQ(out.Color(x, y), PictureColor((100 + x) % 64, (100 + y) % 64)) << x << "," << y;
    EXPECT_EQ(scratch.width, 16);
    EXPECT_EQ(scratch.height, 16);
}

TEST_F(FillStyleTest, PlacedPictureLiesAtItsGridPosition)
{
    const std::string path = SavePicture("placed.png", 100, 50);
    struct Case
    {
        int position;
        RECT rect;
        POINT topLeft; // where the picture's top left lies in the buffer
    };
    const Case cases[] = {
        {6, {0, 0, 800, 600}, {0, 550}},     {4, {0, 0, 800, 600}, {350, 275}},
        {8, {0, 0, 800, 600}, {700, 550}},   {4, {360, 280, 380, 290}, {-10, -5}}, // a rectangle inside the picture
        {9, {300, 200, 500, 400}, {50, 75}},                                       // out of the grid: centred
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        CFillStyle style;
        style.SetImageFile(path);
        style.SetImagePosition(c.position);
        ASSERT_TRUE(style.LoadFillImage());
        CPixMap scratch(IMAGE_MODE_RGBA, 256, 256);
        const PageBuffer out = RenderInto(style, c.rect, scratch);
        EXPECT_TRUE(out.AllOpaque());
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) {
                const int px = x - c.topLeft.x, py = y - c.topLeft.y;
                const bool inside = px >= 0 && px < 100 && py >= 0 && py < 50;
                ASSERT_EQ(out.Color(x, y), inside ? PictureColor(px, py) : RGB(255, 255, 255)) << x << "," << y;
            }
    }

    // A rectangle the picture does not reach is left white.
    CFillStyle style;
    style.SetImageFile(path);
    style.SetImagePosition(0);
    ASSERT_TRUE(style.LoadFillImage());
    CPixMap scratch(IMAGE_MODE_RGBA, 256, 256);
    const PageBuffer out = RenderInto(style, RECT{100, 50, 110, 60}, scratch);
    EXPECT_EQ(out.Color(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(out.Color(9, 9), RGB(255, 255, 255));
}

TEST_F(FillStyleTest, GradientStripRepeatsAcrossOrDownThePage)
{
    const CGradientInfo blackToWhite = BlackToWhite();
    for (bool horizontal : {true, false}) {
        SCOPED_TRACE(horizontal ? "across" : "up");
        CFillStyle style;
        style.SetWidth(200);
        style.SetHeight(100);
        style.SetGradient(&blackToWhite);
        style.SetGradientHorizontal(horizontal);
        ASSERT_TRUE(style.LoadFillImage());
        const CImage& strip = *style.GetImage();
        ASSERT_EQ(strip.Width(), horizontal ? 200 : 1);
        ASSERT_EQ(strip.Height(), horizontal ? 1 : 100);
        // The start colour lies at the left, or at the bottom.
        EXPECT_LT(GetRValue(ColorAt(strip, 0, strip.Height() - 1)), 10);
        EXPECT_GT(GetRValue(ColorAt(strip, strip.Width() - 1, 0)), 245);
        EXPECT_EQ(style.EstimateImageBytes(4.13), horizontal ? 48 : 24);

        // A work map of the wrong form is not written to; the style uses its own.
        CPixMap rgbaScratch(IMAGE_MODE_RGBA, 16, 16);
        CPixMap rgbScratch(IMAGE_MODE_RGB, 8, 8);
        for (CPixMap* scratch : {&rgbaScratch, &rgbScratch}) {
            const PageBuffer out = RenderInto(style, RECT{50, 10, 150, 60}, *scratch, 200, 100);
            EXPECT_TRUE(out.AllOpaque());
            for (int y = 0; y < out.height; ++y)
                for (int x = 0; x < out.width; ++x)
                    ASSERT_EQ(out.Color(x, y), horizontal ? ColorAt(strip, 50 + x, 0) : ColorAt(strip, 0, 10 + y))
                        << x << "," << y;
        }
        EXPECT_EQ(rgbScratch.width, 8);
    }
}
