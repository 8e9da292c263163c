#include "app/objects/form_object.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/objects/placed_object_test_support.h"

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends with a line feed";
    return lines;
}

TEST(FormObject, FormHtmlHoldsTheEscapedReceiverInItsOneField)
{
    struct Case
    {
        std::string address;
        std::string line;
    };
    const Case cases[] = {
        {"me@example.com", "  <input type='hidden' name='receiver' value='me@example.com'>"},
        {"", "  <input type='hidden' name='receiver' value=''>"},
        {"a'><script>x(\"&\")</script>",
         "  <input type='hidden' name='receiver' value='a&#39;&gt;&lt;script&gt;x(&quot;&amp;&quot;)&lt;/script&gt;'>"},
    };
    const std::vector<std::string> plain = Lines(CFormObject("", 0.0, 0.0).GetFormHtml());
    ASSERT_EQ(plain.size(), 15u);
    EXPECT_EQ(plain[0], std::string("<form method='POST' name='formular' onsubmit='WriteSenderWindow();' action='") +
                            CFormObject::kFormMailScript + "'>");
    EXPECT_EQ(plain[14], "</form>");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        std::vector<std::string> lines = Lines(CFormObject(c.address, 0.0, 0.0).GetFormHtml());
        ASSERT_EQ(lines.size(), plain.size());
        EXPECT_EQ(lines[1], c.line);
        lines[1] = plain[1];
        EXPECT_EQ(lines, plain);
    }
}

TEST(FormObject, PictureIsTheColourBitmapShapedByItsMask)
{
    CFormObject form("me@example.com", POINT{200, 200});
    SIZE size;
    form.GetSize(size);
    EXPECT_EQ(size.cx, 223);
    EXPECT_EQ(size.cy, 317);
    ASSERT_NE(form.GetImage(), nullptr);
    const CImage& image = *form.GetImage();
    // The rounded corners are cut away; the panel and an entry field show their colours.
    EXPECT_EQ(PixelOf(image, 0, 0).a, 0);
    EXPECT_EQ(PixelOf(image, 222, 316).a, 0);
    EXPECT_EQ(PixelOf(image, 5, 150), (Rgba{255, 228, 230, 236}));
    EXPECT_EQ(PixelOf(image, 100, 35), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(BoundsOf(form), (Box{89, 42, 312, 359}));
}

TEST(FormObject, SavedAndReadBackTakingItsSizeFromThePicture)
{
    CFormObject form("sales@example.com", POINT{300, 250});
    form.MoveBy(7, -3);
    auto loaded = SaveAndReload(form);
    ASSERT_EQ(loaded->GetKind(), objectForm);
    const auto& back = static_cast<const CFormObject&>(*loaded);
    EXPECT_EQ(back.GetEmailAddress(), "sales@example.com");
    EXPECT_EQ(BoundsOf(back), BoundsOf(form));
    SIZE size;
    EXPECT_EQ(back.GetSize(size).cx, 223);

    // Stored bounds of another size do not change the form's.
    const auto bytes =
        Concat({LE32(kFormObjectTag), Counted("x@y"), LE64(111.5), LE64(158.5), LE32(0), LE32(0), LE32(5), LE32(5000)});
    EXPECT_EQ(BoundsOf(*LoadBytes(bytes)), (Box{0, 0, 223, 317}));
}

TEST(FormObject, StoredRecordsOutOfBoundsAreRefused)
{
    struct Case
    {
        const char* what;
        std::vector<BYTE> address;
        double cx;
        bool loads;
    };
    const Case cases[] = {
        {"address of 20048", Counted(std::string(20048, 'a')), 10.0, true},
        {"address of 20049", Counted(std::string(20049, 'a')), 10.0, false},
        {"negative length", LE32(static_cast<uint32_t>(-1)), 10.0, false},
        {"centre not a number", Counted("a"), std::nan(""), false},
        {"centre beyond any page", Counted("a"), 4e9, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bytes =
            Concat({LE32(kFormObjectTag), c.address, LE64(c.cx), LE64(10.0), LE32(0), LE32(0), LE32(1), LE32(1)});
        if (c.loads)
            EXPECT_NO_THROW(LoadBytes(bytes));
        else
            EXPECT_TRUE(RaisesBadData([&] { LoadBytes(bytes); }));
    }
}

TEST(FormObject, OnlyMoves)
{
    CFormObject form("a@b", POINT{200, 200});
    const Box before = BoundsOf(form);
    form.SetSize(10, 10);
    EXPECT_EQ(BoundsOf(form), before);
    EXPECT_FALSE(form.CanResize() || form.CanRotate() || form.HasFill() || form.CanHaveMouseOver());
    EXPECT_EQ(form.Duplicate(), nullptr);
    EXPECT_EQ(form.GetDownloadSize(3.0), 1000);

    CFormObject other("c@d", POINT{500, 400});
    const Box otherBefore = BoundsOf(other);
    form.CopyFrom(other);
    EXPECT_EQ(form.GetEmailAddress(), "c@d");
    EXPECT_EQ(other.GetEmailAddress(), "a@b");
    EXPECT_EQ(BoundsOf(form), otherBefore);
    EXPECT_EQ(BoundsOf(other), before);

    // A clone is a snapshot of the address and the centre, enough to restore either.
    auto clone = form.Clone();
    form.MoveBy(50, 50);
    form.CopyFrom(*clone);
    EXPECT_EQ(BoundsOf(form), otherBefore);
}

} // namespace
