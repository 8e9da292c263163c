#include "app/objects/html_object.h"

#include <gtest/gtest.h>

#include "app/objects/placed_object_test_support.h"

namespace {

// The design view's buffer is ready while a test runs, as it is once the view has drawn.
class HtmlTest : public ::testing::Test
{
protected:
    void SetUp() override { ViewBufferReady = 1; }
    void TearDown() override { ViewBufferReady = 0; }
};

struct StoredHtml
{
    int width = 40;
    int height = 30;
    std::vector<BYTE> name = Counted("box");
    std::vector<BYTE> code = Counted("<b>hi</b>");
    std::vector<BYTE> files = Concat({LE32(1), Counted("a.swf")});
};

// The stored object of the current version behind its tag.
std::vector<BYTE> HtmlRecord(const StoredHtml& s)
{
    return Concat({LE32(kHtmlObjectTag),
                   LE64(20.0),
                   LE64(15.0),
                   LE32(static_cast<uint32_t>(s.width)),
                   LE32(static_cast<uint32_t>(s.height)),
                   LE32(0),
                   LE32(0),
                   LE32(40),
                   LE32(30),
                   {1},
                   s.name,
                   Counted("init();"),
                   Counted("<script></script>"),
                   s.code,
                   s.files});
}

CHtmlObject& AsHtml(const std::unique_ptr<CPageObject>& object)
{
    return static_cast<CHtmlObject&>(*object);
}

TEST_F(HtmlTest, SavedAndReadBackWithEveryField)
{
    CHtmlObject html(POINT{10, 20}, 150, 80);
    html.SetName("Movie");
    html.SetOnloadCode("start();");
    html.SetHeaderHtml("<script src='m.js'></script>");
    html.SetHtmlCode("<embed src='m.swf'>");
    html.SetUsedFiles({"m.swf", "m.js"});
    html.SetPlacedFlag(1);

    auto loaded = SaveAndReload(html);
    ASSERT_EQ(loaded->GetKind(), objectHtml);
    const CHtmlObject& back = AsHtml(loaded);
    EXPECT_EQ(back.GetName(), "Movie");
    EXPECT_EQ(back.GetOnloadCode(), "start();");
    EXPECT_EQ(back.GetHeaderHtml(), "<script src='m.js'></script>");
    EXPECT_EQ(back.GetHtmlCode(), "<embed src='m.swf'>");
    EXPECT_EQ(back.GetUsedFiles(), (std::vector<std::string>{"m.swf", "m.js"}));
    EXPECT_EQ(back.GetPlacedFlag(), 1);
    EXPECT_EQ(BoundsOf(back), (Box{10, 20, 160, 100}));
    EXPECT_TRUE(back.IsDirty());

    // A file of 5.10 holds no placed flag: read as one, it comes back 0 and the strings are still in place.
    CMemFile old;
    html.Save(old);
    std::vector<BYTE> bytes = FileBytes(old);
    bytes.erase(bytes.begin() + 4 + 16 + 8 + 16);
    auto older = LoadBytes(bytes, 5, 10);
    EXPECT_EQ(AsHtml(older).GetPlacedFlag(), 0);
    EXPECT_EQ(AsHtml(older).GetName(), "Movie");
    EXPECT_EQ(AsHtml(older).GetUsedFiles().size(), 2u);
}

TEST_F(HtmlTest, VersionOneSixHoldsOnlyTheCode)
{
    const auto bytes = Concat({LE32(kHtmlObjectTag), LE64(20.0), LE64(15.0), LE32(40), LE32(30), LE32(0), LE32(0),
                               LE32(40), LE32(30), Counted("name"), Counted("<p>old</p>")});
    auto loaded = LoadBytes(bytes, 1, 6);
    EXPECT_EQ(AsHtml(loaded).GetHtmlCode(), "<p>old</p>");
    EXPECT_EQ(AsHtml(loaded).GetHeaderHtml(), "");
    EXPECT_TRUE(AsHtml(loaded).GetUsedFiles().empty());
}

TEST_F(HtmlTest, StoredRecordsOutOfBoundsAreRefused)
{
    struct Case
    {
        const char* what;
        StoredHtml stored;
        bool loads;
    };
    const auto with = [](auto change) {
        StoredHtml s;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"plain", StoredHtml{}, true},
        {"width 0", with([](StoredHtml& s) { s.width = 0; }), false},
        {"height -1", with([](StoredHtml& s) { s.height = -1; }), false},
        {"width 2001", with([](StoredHtml& s) { s.width = 2001; }), false},
        {"side 1 and 2000", with([](StoredHtml& s) { s.width = 1, s.height = 2000; }), true},
        {"name of 20049", with([](StoredHtml& s) { s.name = Counted(std::string(20049, 'n')); }), false},
        {"code of 2000000", with([](StoredHtml& s) { s.code = Counted(std::string(2000000, 'c')); }), true},
        {"code of 2000001", with([](StoredHtml& s) { s.code = Counted(std::string(2000001, 'c')); }), false},
        {"no files", with([](StoredHtml& s) { s.files = LE32(0); }), true},
        {"negative count", with([](StoredHtml& s) { s.files = LE32(static_cast<uint32_t>(-5)); }), true},
        {"count beyond the file", with([](StoredHtml& s) {
             s.files = Concat({LE32(100000000), Counted("a")});
         }),
         false},
        {"count one too many", with([](StoredHtml& s) {
             s.files = Concat({LE32(2), Counted("a")});
         }),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.loads)
            EXPECT_NO_THROW(LoadBytes(HtmlRecord(c.stored)));
        else
            EXPECT_TRUE(RaisesBadData([&] { LoadBytes(HtmlRecord(c.stored)); }));
    }
}

TEST_F(HtmlTest, PlaceholderIsThePatternFramedWithTheNameInTheMiddle)
{
    CHtmlObject html(POINT{0, 0}, 240, 60);
    html.SetName("Flash movie");
    CPixMap scratch(IMAGE_MODE_RGBA, 1, 1);
    ASSERT_TRUE(html.UpdateImage(scratch));
    const CImage& image = *html.GetImage();
    ASSERT_EQ(image.Width(), 240);
    const Rgba black{255, 0, 0, 0};
    for (POINT p : {POINT{0, 0}, POINT{239, 59}, POINT{120, 0}, POINT{0, 30}, POINT{239, 10}})
        EXPECT_EQ(PixelOf(image, p.x, p.y), black);
    // The pattern repeats every 100 pixels.
    for (POINT p : {POINT{5, 5}, POINT{17, 3}, POINT{2, 55}})
        EXPECT_EQ(PixelOf(image, p.x, p.y), PixelOf(image, p.x + 100, p.y));
    // The label's grey ink and its lighter shadow lie about the middle, and nowhere near the ends.
    bool ink = false, shadow = false;
    for (int y = 15; y < 45; ++y)
        for (int x = 60; x < 180; ++x) {
            ink = ink || PixelOf(image, x, y) == Rgba{255, 80, 80, 80};
            shadow = shadow || PixelOf(image, x, y) == Rgba{255, 180, 180, 180};
        }
    EXPECT_TRUE(ink);
    EXPECT_TRUE(shadow);
}

TEST_F(HtmlTest, SmallestBlockShowsThePatternInsideTheFrame)
{
    CHtmlObject html(POINT{0, 0}, 15, 15);
    CPixMap scratch(IMAGE_MODE_RGBA, 1, 1);
    ASSERT_TRUE(html.UpdateImage(scratch));
    const CImage& image = *html.GetImage();
    EXPECT_EQ(PixelOf(image, 14, 7), (Rgba{255, 0, 0, 0}));
    for (int i = 1; i < 14; ++i)
        EXPECT_NE(PixelOf(image, i, i), (Rgba{255, 0, 0, 0}));
}

TEST_F(HtmlTest, RendersOnlyOnceTheViewHasItsBuffer)
{
    ViewBufferReady = 0;
    CHtmlObject html(POINT{0, 0}, 30, 30);
    CPixMap scratch(IMAGE_MODE_RGBA, 1, 1);
    EXPECT_FALSE(html.UpdateImage(scratch));
    EXPECT_TRUE(html.IsDirty());
    EXPECT_EQ(html.GetImage(), nullptr);
    ViewBufferReady = 1;
    EXPECT_TRUE(html.UpdateImage(scratch));
    EXPECT_FALSE(html.IsDirty());

    // The same size again keeps the image; a new one renders on the next update.
    html.SetSize(30, 30);
    EXPECT_FALSE(html.IsDirty());
    html.SetSize(SIZE{120, 30});
    EXPECT_TRUE(html.IsDirty());
    EXPECT_TRUE(html.UpdateImage(scratch));
    EXPECT_EQ(html.GetImage()->Width(), 120);
}

TEST_F(HtmlTest, GeometryAboutTheCentre)
{
    CHtmlObject html(POINT{-10, 4}, 15, 10);
    DPOINT centre;
    EXPECT_DOUBLE_EQ(html.GetCenter(centre).x, -2.5);
    EXPECT_DOUBLE_EQ(centre.y, 9.0);
    const DPOINT* h = html.GetHandlePoints();
    EXPECT_DOUBLE_EQ(h[0].x, -10.0);
    EXPECT_DOUBLE_EQ(h[7].x, 5.0);
    EXPECT_DOUBLE_EQ(h[7].y, 14.0);
    EXPECT_TRUE(html.CanResize());
    EXPECT_FALSE(html.CanRotate());

    // A clone lands on the same place, odd width and all.
    auto clone = html.Clone();
    EXPECT_EQ(BoundsOf(*clone), BoundsOf(html));

    html.SetSize(20, 10);
    EXPECT_EQ(BoundsOf(html), (Box{-12, 4, 8, 14}));
}

TEST_F(HtmlTest, CloneCopiesEverythingButThePlacedFlag)
{
    CHtmlObject html(POINT{0, 0}, 50, 40);
    html.SetName("n");
    html.SetOnloadCode("o");
    html.SetHeaderHtml("h");
    html.SetHtmlCode("code");
    html.SetUsedFiles({"f"});
    html.SetPlacedFlag(1);
    std::unique_ptr<CPageObject> copies[] = {html.Clone(), html.Duplicate()};
    for (const auto& copy : copies) {
        const CHtmlObject& c = AsHtml(copy);
        EXPECT_EQ(c.GetPlacedFlag(), 0);
        EXPECT_EQ(c.GetName(), "n");
        EXPECT_EQ(c.GetOnloadCode(), "o");
        EXPECT_EQ(c.GetHeaderHtml(), "h");
        EXPECT_EQ(c.GetHtmlCode(), "code");
        EXPECT_EQ(c.GetUsedFiles(), std::vector<std::string>{"f"});
    }
    EXPECT_EQ(html.GetDownloadSize(7.0), 5);

    CHtmlObject other(POINT{100, 100}, 20, 20);
    other.SetName("other");
    CPixMap scratch(IMAGE_MODE_RGBA, 1, 1);
    html.UpdateImage(scratch);
    html.CopyFrom(other);
    EXPECT_EQ(html.GetName(), "other");
    EXPECT_EQ(other.GetHtmlCode(), "code");
    EXPECT_EQ(BoundsOf(html), (Box{100, 100, 120, 120}));
    EXPECT_EQ(BoundsOf(other), (Box{0, 0, 50, 40}));
    EXPECT_TRUE(html.IsDirty());
    EXPECT_TRUE(other.IsDirty());
}

} // namespace
