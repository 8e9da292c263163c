#include "app/objects/text_object.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "app/model/fill_info.h"
#include "app/model/record_stream.h"
#include "app/model/stream_test_support.h"
#include "app/model/string_attr.h"
#include "app/objects/object_factory.h"
#include "app/objects/text_object_test_support.h"

namespace {

std::unique_ptr<CTextObject> ReadBack(const CTextObject& object)
{
    CMemFile file;
    object.Save(file);
    file.SeekToBegin();
    std::unique_ptr<CPageObject> read = CreatePageObjectFromArchive(file, kCurrentMajorVersion, kCurrentMinorVersion);
    EXPECT_EQ(file.GetPosition(), file.GetLength()) << "the object must read all it wrote";
    return std::unique_ptr<CTextObject>(dynamic_cast<CTextObject*>(read.release()));
}

std::vector<BYTE> LE64(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return Concat({LE32(static_cast<uint32_t>(bits)), LE32(static_cast<uint32_t>(bits >> 32))});
}

// A stored text object written by hand, field by field, so that the reader is checked against the format rather
// than against the writer. The records after the text are empty (no fill, no effects, no link), as the oldest
// files hold them.
struct StoredText
{
    int width = 60, height = 30;
    double rotation = 0.0;
    double centreX = 100.0, centreY = 50.0;
    int boxWidth = 60, boxHeight = 30;
    double scaleX = 1.0, scaleY = 1.0;
    int offsetX = 0, offsetY = 0;
    BYTE allowAdvanced = 0;
    std::vector<std::vector<BYTE>> formats = {Concat({Counted("Arial"), {12, 0, 0, 0, 0}, LE32(0)})};
    std::optional<int> formatCount; // unset: the number of records above
    std::vector<std::pair<int, int>> runs = {{0, 5}};
    std::optional<int> runCount;
    std::string text = "ab\r\rc";
    std::optional<int> textLength;

    std::vector<BYTE> Bytes(int major, int minor) const
    {
        std::vector<BYTE> bytes =
            Concat({LE32(kTextObjectTag), LE32(width), LE32(height), LE64(rotation), LE64(centreX), LE64(centreY),
                    LE32(0), LE32(0), LE32(0), LE32(0), LE32(0), LE32(boxWidth), LE32(boxHeight)});
        if (major >= 2 || (major == 1 && (minor == 1 || minor >= 4)))
            bytes.push_back(allowAdvanced);
        bytes = Concat({bytes, LE64(scaleX), LE64(scaleY), LE32(offsetX), LE32(offsetY),
                        LE32(formatCount.value_or(static_cast<int>(formats.size())))});
        for (const auto& record : formats)
            bytes = Concat({bytes, record});
        bytes = Concat({bytes, LE32(runCount.value_or(static_cast<int>(runs.size())))});
        for (const auto& [format, end] : runs)
            bytes = Concat({bytes, LE32(format), LE32(end)});
        bytes =
            Concat({bytes, LE32(textLength.value_or(static_cast<int>(text.size()))),
                    std::vector<BYTE>(text.begin(), text.end()), LE32(CFillInfo::kTag), LE32(CFillInfo::FILL_NONE)});
        if (IsVersionAtLeast(major, minor, 1, 5))
            bytes.push_back(0);
        return bytes;
    }
};

std::unique_ptr<CTextObject> Read(const std::vector<BYTE>& bytes, int major = kCurrentMajorVersion,
                                  int minor = kCurrentMinorVersion)
{
    auto file = FileOf(bytes);
    std::unique_ptr<CPageObject> read = CreatePageObjectFromArchive(*file, major, minor);
    return std::unique_ptr<CTextObject>(dynamic_cast<CTextObject*>(read.release()));
}

} // namespace

// ---- Stream form ----

TEST_F(TextObjectTest, SavedTextReadsBackWithEveryCharactersFormat)
{
    auto original = std::make_unique<CTextObject>(150.5, 80.0, SIZE{160, 40}, 0.0);
    const auto formatAt = [](int para, int index) {
        ObjectFormat f;
        if (para == 0 && index < 4)
            f.bold = 1;
        if (para == 0 && index >= 6)
            f.link = UrlLink("http://example.com/");
        if (para == 0 && index == 9)
            f.link = UrlLink("http://example.org/"); // differs from its neighbour by the link alone
        if (para == 2) {
            f.face = "Courier New";
            f.points = 18;
            f.italic = f.underline = 1;
            f.colour = RGB(10, 120, 230);
            f.link = PageLinkInfo(2);
        }
        return f;
    };
    Type(*original, {"Bold text links", "", "Page two"}, formatAt);
    original->GetTextBody()->m_alignment = CTextBody::alignCenter;
    original->GetTextBody()->m_allowAdvanced = 1;
    original->SetAltText(std::make_unique<CStringAttr>("Greeting"));
    original->SetRotation(0.5);
    original->SetSize(240, 60);
    auto objectLink = std::make_unique<CLinkInfo>(PageLinkInfo(1));
    original->SetLink(std::move(objectLink));

    const std::unique_ptr<CTextObject> read = ReadBack(*original);
    ASSERT_NE(read, nullptr);
    EXPECT_FALSE(read->IsNewObject());
    EXPECT_EQ(Paragraphs(*read), Paragraphs(*original));
    EXPECT_EQ(read->GetTextBody()->m_alignment, CTextBody::alignCenter);
    EXPECT_EQ(read->GetTextBody()->m_allowAdvanced, 1);
    EXPECT_EQ(read->GetAltText()->GetString(), "Greeting");
    EXPECT_EQ(read->GetRotation(), 0.5);
    EXPECT_EQ(read->GetScaleX(), original->GetScaleX());
    EXPECT_EQ(read->GetScaleY(), original->GetScaleY());
    EXPECT_EQ(*read->GetLink(), PageLinkInfo(1));
    DPOINT a, b;
    EXPECT_EQ(read->GetCenter(a).x, original->GetCenter(b).x);
    const auto& before = original->GetTextBody()->m_paragraphs;
    const auto& after = read->GetTextBody()->m_paragraphs;
    for (size_t p = 0; p < before.size(); ++p)
        for (size_t i = 0; i < before[p].m_chars.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "paragraph " << p << ", character " << i);
            EXPECT_FALSE(CharFormatDiffers(before[p].m_chars[i], after[p].m_chars[i]));
            EXPECT_TRUE(after[p].m_chars[i].IsPlaced()) << "the text is laid out after reading";
        }
}

TEST_F(TextObjectTest, FormatsAndRunsAreCollectedAsTheyFall)
{
    ObjectFormat plain, bold, linked;
    bold.bold = 1;
    linked.link = UrlLink("http://example.com/");
    struct Case
    {
        const char* name;
        std::vector<std::string> paragraphs;
        std::function<ObjectFormat(int, int)> formatAt;
        std::string text;
        size_t formats;
        std::vector<std::pair<int, int>> runs; // (format, end); a separator belongs to the run before it
    };
    const std::vector<Case> cases = {
        {"one format", {"abc"}, nullptr, "abc", 1, {{0, 3}}},
        {"empty middle paragraph", {"ab", "", "c"}, nullptr, "ab\r\rc", 1, {{0, 5}}},
        {"link alone splits",
         {"abcd"},
         [&](int, int i) { return i < 2 ? plain : linked; },
         "abcd",
         2,
         {{0, 2}, {1, 4}}},
        {"a format coming back is found again",
         {"ab", "cd"},
         [&](int p, int i) { return p == 0 && i == 1 ? bold : plain; },
         "ab\rcd",
         2,
         {{0, 1}, {1, 3}, {0, 5}}},
        {"run across a paragraph break",
         {"a", "b"},
         [&](int p, int) { return p == 0 ? plain : bold; },
         "a\rb",
         2,
         {{0, 2}, {1, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTextObject object(0.0, 0.0, SIZE{200, 40}, 0.0);
        Type(object, c.paragraphs, c.formatAt);
        std::vector<CTextChar> formats;
        std::vector<TextFormatRun> runs;
        std::string text;
        object.CollectFormatRuns(formats, runs, text);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(formats.size(), c.formats);
        std::vector<std::pair<int, int>> got;
        for (const TextFormatRun& run : runs)
            got.emplace_back(run.format, run.end);
        EXPECT_EQ(got, c.runs);
        const std::unique_ptr<CTextObject> read = ReadBack(object);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(Paragraphs(*read), c.paragraphs);
    }
}

TEST_F(TextObjectTest, BlankTextCannotBeWritten)
{
    for (const std::vector<std::string>& paragraphs : std::vector<std::vector<std::string>>{{""}, {"  ", " "}}) {
        CTextObject object(0.0, 0.0, SIZE{40, 20}, 0.0);
        Type(object, paragraphs);
        CMemFile file;
        EXPECT_TRUE(RaisesBadData([&] { object.Save(file); }));
    }
}

TEST_F(TextObjectTest, HandWrittenStreamReadsAsStored)
{
    StoredText stored;
    stored.offsetX = 7;
    stored.offsetY = -3;
    const std::unique_ptr<CTextObject> read = Read(stored.Bytes(kCurrentMajorVersion, kCurrentMinorVersion));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(Paragraphs(*read), (std::vector<std::string>{"ab", "", "c"}));
    EXPECT_EQ(read->GetOffsetX(), 0);
    EXPECT_EQ(read->GetOffsetY(), 0);
    const CTextChar& a = read->GetTextBody()->m_paragraphs[0].m_chars[0];
    EXPECT_EQ(GetTextFaceName(a.m_faceIndex), "Arial");
    EXPECT_EQ(a.m_pointSize, 12);
}

TEST_F(TextObjectTest, DamagedStreamsAreRefused)
{
    struct Case
    {
        const char* name;
        std::function<void(StoredText&)> damage;
    };
    const std::vector<Case> cases = {
        {"negative width", [](StoredText& s) { s.width = -1; }},
        {"box wider than any text", [](StoredText& s) { s.boxWidth = 1000001; }},
        {"negative box height", [](StoredText& s) { s.boxHeight = -1; }},
        {"no format", [](StoredText& s) { s.formatCount = 0; }},
        {"more formats than bytes", [](StoredText& s) { s.formatCount = 0x7FFFFFFF; }},
        {"no run", [](StoredText& s) { s.runCount = 0; }},
        {"negative run count", [](StoredText& s) { s.runCount = -2; }},
        {"more runs than bytes", [](StoredText& s) { s.runCount = 0x10000000; }},
        {"format index at the count",
         [](StoredText& s) {
             s.runs = {{1, 5}};
         }},
        {"negative format index",
         [](StoredText& s) {
             s.runs = {{-1, 5}};
         }},
        {"run ends repeat",
         [](StoredText& s) {
             s.runs = {{0, 2}, {0, 2}};
         }},
        {"run ends go back",
         [](StoredText& s) {
             s.runs = {{0, 4}, {0, 3}};
         }},
        {"first run is empty",
         [](StoredText& s) {
             s.runs = {{0, 0}, {0, 5}};
         }},
        {"text longer than the file", [](StoredText& s) { s.textLength = 0x7FFFFFF0; }},
        {"negative text length", [](StoredText& s) { s.textLength = -5; }},
        {"text of blanks", [](StoredText& s) { s.text = "  \r "; }},
        {"face name too long",
         [](StoredText& s) {
             s.formats = {Concat({LE32(30000), std::vector<BYTE>(16, 'a')})};
         }},
        {"rotation not a number", [](StoredText& s) { s.rotation = std::nan(""); }},
        {"scale not finite", [](StoredText& s) { s.scaleY = INFINITY; }},
        {"negative scale", [](StoredText& s) { s.scaleX = -2.0; }},
        {"zero scale", [](StoredText& s) { s.scaleY = 0.0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoredText stored;
        c.damage(stored);
        EXPECT_TRUE(RaisesBadData([&] { Read(stored.Bytes(kCurrentMajorVersion, kCurrentMinorVersion)); }));
    }
    // Cut anywhere inside the fixed fields and the text.
    const std::vector<BYTE> whole = StoredText().Bytes(kCurrentMajorVersion, kCurrentMinorVersion);
    for (size_t cut = 4; cut + 8 < whole.size(); cut += 3) {
        SCOPED_TRACE(cut);
        EXPECT_TRUE(RaisesBadData([&] { Read(std::vector<BYTE>(whole.begin(), whole.begin() + cut)); }));
    }
}

TEST_F(TextObjectTest, WhatOpensIsWrittenAndWhatIsWrittenOpens)
{
    // Reading lays the text out again: the box shrinks to the text keeping its top edge, so the centre moves up by
    // half of what the box lost.
    const auto stored = [](int boxHeight, double centreY) {
        StoredText s;
        s.text = "Text";
        s.runs = {{0, 4}};
        s.boxHeight = boxHeight;
        s.centreY = centreY;
        return s.Bytes(kCurrentMajorVersion, kCurrentMinorVersion);
    };
    EXPECT_EQ(stored(1 << 26, 0.0).size(), 140u);
    // A box 2^26 pixels high is far beyond any text: its centre would move to about -2^25.
    EXPECT_TRUE(RaisesBadData([&] { Read(stored(1 << 26, 0.0)); }));
    // A box at the largest size reads, and so does what it then writes.
    const std::unique_ptr<CTextObject> tall = Read(stored(1000000, 0.0));
    ASSERT_NE(tall, nullptr);
    DPOINT centre;
    tall->GetCenter(centre);
    const int laidOut = tall->GetTextBody()->m_nHeight;
    EXPECT_LT(laidOut, 100);
    EXPECT_DOUBLE_EQ(centre.y, (laidOut - 1000000) / 2.0);
    const std::unique_ptr<CTextObject> again = ReadBack(*tall);
    ASSERT_NE(again, nullptr);
    DPOINT centreAgain;
    again->GetCenter(centreAgain);
    EXPECT_DOUBLE_EQ(centreAgain.y, centre.y);
    EXPECT_EQ(again->GetTextBody()->m_nHeight, laidOut);
    // Near the edge of the stored range the same move would leave it: refused rather than opened and never again.
    EXPECT_TRUE(RaisesBadData([&] { Read(stored(1000000, -(1 << 24) + 1000.0)); }));

    // A text moved where no reader takes it is not written at all.
    const std::unique_ptr<CTextObject> text = MakeTextObject();
    text->SetTextObjectCenter(200.0, 1 << 25);
    CMemFile file;
    EXPECT_TRUE(RaisesBadData([&] { text->Save(file); }));
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST_F(TextObjectTest, RunsThatEndEarlyOrLateKeepTheText)
{
    ObjectFormat bold;
    bold.bold = 1;
    StoredText stored;
    stored.formats.push_back(Concat({Counted("Arial"), {12, 0, 1, 0, 0}, LE32(0)}));
    // The last run stops short of the text; an unused run lies beyond it.
    for (const auto& runs : std::vector<std::vector<std::pair<int, int>>>{{{1, 2}, {0, 3}}, {{1, 2}, {0, 5}, {1, 9}}}) {
        stored.runs = runs;
        const std::unique_ptr<CTextObject> read = Read(stored.Bytes(kCurrentMajorVersion, kCurrentMinorVersion));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(Paragraphs(*read), (std::vector<std::string>{"ab", "", "c"}));
        EXPECT_EQ(read->GetTextBody()->m_paragraphs[0].m_chars[0].m_bBold, 1);
        EXPECT_EQ(read->GetTextBody()->m_paragraphs[2].m_chars[0].m_bBold, 0);
    }
}

TEST_F(TextObjectTest, OldFilesWithoutTheFlagAllowAdvancedTextWhenNotPlain)
{
    struct Case
    {
        int major, minor;
        double rotation;
        BYTE storedFlag; // written only where the version has the byte
        BYTE expected;
    };
    const std::vector<Case> cases = {
        {1, 0, 0.0, 0, 0}, {1, 0, 0.3, 0, 1}, {1, 3, 0.3, 0, 1}, {1, 3, 0.0, 0, 0},  {1, 2, 0.3, 0, 0},
        {1, 1, 0.3, 0, 0}, {1, 1, 0.0, 1, 1}, {1, 4, 0.3, 0, 0}, {5, 15, 0.0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor << " rotation " << c.rotation);
        StoredText stored;
        stored.rotation = c.rotation;
        stored.allowAdvanced = c.storedFlag;
        const std::vector<BYTE> bytes = stored.Bytes(c.major, c.minor);
        auto file = FileOf(bytes);
        std::unique_ptr<CPageObject> read = CreatePageObjectFromArchive(*file, c.major, c.minor);
        EXPECT_EQ(file->GetPosition(), file->GetLength());
        auto* text = dynamic_cast<CTextObject*>(read.get());
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->GetTextBody()->m_allowAdvanced, c.expected);
    }
}
