#include "app/objects/text_object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/model/app_settings.h"
#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/model/stream_test_support.h"
#include "app/model/string_attr.h"
#include "app/model/undo_manager.h"
#include "app/objects/object_factory.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "platform/io/io.h"
#include "testing/test_output.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// What the services answer and which calls the text object made.
class TextServices : public NullCoreServices
{
public:
    bool HasMouseOverTwin(const CPageObject*) override
    {
        ++twinQuestions;
        return hasTwin;
    }
    void CopyTextToMouseOverTwin(const CPageObject* object) override { copiedTo = object; }
    void EndPageTextEditing(COrvelView*) override { ++pageEditsEnded; }
    void RecordViewPageUndo(COrvelView*, UndoKind kind) override { undoKinds.push_back(static_cast<int>(kind)); }
    bool IsCaretShown(COrvelView*) override { return caretShown; }
    void HideViewCaret(COrvelView*) override { caretShown = false; }
    COLORREF GetSiteLinkColor() override { return linkColour; }
    void InvalidateView(COrvelView*, bool) override { ++viewRepaints; }
    CAppSettings* GetAppSettings() override { return &settings; }
    void BeginWaitCursor() override
    {
        ++waitsBegun;
        ++waitDepth;
    }
    void EndWaitCursor() override { --waitDepth; }

    int viewRepaints = 0;
    int waitsBegun = 0;
    int waitDepth = 0;
    bool hasTwin = false;
    int twinQuestions = 0;
    const CPageObject* copiedTo = nullptr;
    int pageEditsEnded = 0;
    std::vector<int> undoKinds;
    bool caretShown = false;
    COLORREF linkColour = RGB(0, 0, 255);
    CAppSettings settings;
};

class TextObjectTest : public ::testing::Test
{
protected:
    void SetUp() override { SetCoreServices(&services); }
    void TearDown() override { SetCoreServices(nullptr); }

    TextServices services;
};

// One character's format as the tests spell it.
struct Format
{
    std::string face = "Arial";
    WORD points = 12;
    BYTE bold = 0;
    BYTE italic = 0;
    BYTE underline = 0;
    COLORREF colour = 0;
    CLinkInfo link;
};

CLinkInfo UrlLink(const std::string& url)
{
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindUrl);
    link.SetUrl(url);
    link.SetActive(true);
    return link;
}

CLinkInfo PageLink(int page)
{
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindPage);
    link.SetPage(page);
    link.SetActive(true);
    return link;
}

// Types paragraphs into the object, each character in the format its position picks, and lays them out.
void Type(CTextObject& object, const std::vector<std::string>& paragraphs,
          const std::function<Format(int para, int index)>& formatAt = nullptr)
{
    RECT dirty{};
    for (size_t p = 0; p < paragraphs.size(); ++p) {
        if (p > 0)
            object.SplitParagraph();
        for (size_t i = 0; i < paragraphs[p].size(); ++i) {
            const Format f = formatAt ? formatAt(static_cast<int>(p), static_cast<int>(i)) : Format();
            object.InsertCharWithFormat(dirty, static_cast<BYTE>(paragraphs[p][i]), FindFontIndex(f.face), f.points,
                                        f.bold, f.italic, f.underline, f.colour, f.link);
        }
    }
    LayoutText(*object.GetTextBody(), dirty);
}

std::vector<std::string> Paragraphs(const CTextObject& object)
{
    std::vector<std::string> texts;
    for (const CTextParagraph& para : object.GetTextBody()->m_paragraphs) {
        texts.emplace_back();
        for (const CTextChar& ch : para.m_chars)
            texts.back().push_back(static_cast<char>(ch.m_ch));
    }
    return texts;
}

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

// A plain object with a line of text, laid out.
std::unique_ptr<CTextObject> MakeText(const std::string& text = "Hello")
{
    auto object = std::make_unique<CTextObject>(200.0, 100.0, SIZE{120, 40}, 0.0);
    Type(*object, {text});
    return object;
}

} // namespace

// ---- Construction and the page-object answers ----

TEST_F(TextObjectTest, NewObjectIsAnUncommittedEmptyPlainBox)
{
    CTextObject object(50.0, 40.0, SIZE{80, 30}, 0.0);
    EXPECT_EQ(object.GetKind(), objectText);
    EXPECT_TRUE(object.IsNewObject());
    EXPECT_FALSE(object.IsEditing());
    EXPECT_EQ(object.GetScaleX(), 1.0);
    EXPECT_EQ(object.GetFill()->GetKind(), CFillInfo::FILL_NONE);
    EXPECT_EQ(object.GetTextBody()->GetOwner(), &object);
    EXPECT_EQ(object.GetTextBody()->m_nWidth, 80);
    EXPECT_EQ(object.GetTextBody()->GetParagraphCount(), 1);
    EXPECT_TRUE(object.IsPlainObject());
    EXPECT_TRUE(object.IsDirty());
    EXPECT_TRUE(object.HasFill());
    EXPECT_TRUE(object.CanHaveMouseOver());
    EXPECT_FALSE(object.CanHaveButtonText());
    SIZE max;
    EXPECT_EQ(object.GetMaxSize(max).cx, 1000000);
    EXPECT_EQ(max.cy, 1000000);
    RECT bounds;
    object.GetBounds(bounds);
    EXPECT_EQ(CRect(bounds), CRect(10, 25, 90, 55));
}

TEST_F(TextObjectTest, PictureOnlyPropertiesFollowTheAdvancedTextFlag)
{
    CTextObject object(0.0, 0.0, SIZE{40, 20}, 0.0);
    for (BYTE flag : {0, 1}) {
        object.GetTextBody()->m_bAllowAdvanced = flag;
        const bool allowed = flag != 0;
        EXPECT_EQ(object.CanTakeStyle(), allowed);
        EXPECT_EQ(object.CanHavePictureFill(), allowed);
        EXPECT_EQ(object.CanHaveAltText(), allowed);
        EXPECT_EQ(object.CanResize(), allowed);
        EXPECT_EQ(object.CanRotate(), allowed);
    }
}

TEST_F(TextObjectTest, LinkColourIsTheSitesLinkColour)
{
    services.linkColour = RGB(200, 10, 20);
    EXPECT_EQ(GetTextLinkColor(), RGB(200, 10, 20));
    SetCoreServices(nullptr);
    EXPECT_EQ(GetTextLinkColor(), RGB(0, 0, 255));
}

// ---- Stream form ----

TEST_F(TextObjectTest, SavedTextReadsBackWithEveryCharactersFormat)
{
    auto original = std::make_unique<CTextObject>(150.5, 80.0, SIZE{160, 40}, 0.0);
    const auto formatAt = [](int para, int index) {
        Format f;
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
            f.link = PageLink(2);
        }
        return f;
    };
    Type(*original, {"Bold text links", "", "Page two"}, formatAt);
    original->GetTextBody()->m_nAlignment = CTextBody::alignCenter;
    original->GetTextBody()->m_bAllowAdvanced = 1;
    original->SetAltText(std::make_unique<CStringAttr>("Greeting"));
    original->SetRotation(0.5);
    original->SetSize(240, 60);
    auto objectLink = std::make_unique<CLinkInfo>(PageLink(1));
    original->SetLink(std::move(objectLink));

    const std::unique_ptr<CTextObject> read = ReadBack(*original);
    ASSERT_NE(read, nullptr);
    EXPECT_FALSE(read->IsNewObject());
    EXPECT_EQ(Paragraphs(*read), Paragraphs(*original));
    EXPECT_EQ(read->GetTextBody()->m_nAlignment, CTextBody::alignCenter);
    EXPECT_EQ(read->GetTextBody()->m_bAllowAdvanced, 1);
    EXPECT_EQ(read->GetAltText()->GetString(), "Greeting");
    EXPECT_EQ(read->GetRotation(), 0.5);
    EXPECT_EQ(read->GetScaleX(), original->GetScaleX());
    EXPECT_EQ(read->GetScaleY(), original->GetScaleY());
    EXPECT_EQ(*read->GetLink(), PageLink(1));
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
    Format plain, bold, linked;
    bold.bold = 1;
    linked.link = UrlLink("http://example.com/");
    struct Case
    {
        const char* name;
        std::vector<std::string> paragraphs;
        std::function<Format(int, int)> formatAt;
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
    EXPECT_EQ(GetTextFaceName(a.m_nFaceIndex), "Arial");
    EXPECT_EQ(a.m_nPointSize, 12);
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
    const std::unique_ptr<CTextObject> text = MakeText();
    text->SetTextObjectCenter(200.0, 1 << 25);
    CMemFile file;
    EXPECT_TRUE(RaisesBadData([&] { text->Save(file); }));
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST_F(TextObjectTest, RunsThatEndEarlyOrLateKeepTheText)
{
    Format bold;
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
        EXPECT_EQ(text->GetTextBody()->m_bAllowAdvanced, c.expected);
    }
}

// ---- Editing in place ----

TEST_F(TextObjectTest, EditedObjectStandsUprightOnItsTextBox)
{
    auto object = MakeText();
    object->SetRotation(0.7);
    object->SetSize(300, 80);
    const SIZE box{object->GetTextBody()->m_nWidth, object->GetTextBody()->m_nHeight};

    object->BeginEdit();
    SIZE size;
    EXPECT_EQ(object->GetRotation(), 0.0);
    object->GetSize(size);
    EXPECT_EQ(size.cx, box.cx);
    EXPECT_EQ(size.cy, box.cy);
    RECT bounds;
    object->GetBounds(bounds);
    EXPECT_EQ(CRect(bounds).Width(), box.cx);
    EXPECT_EQ(CRect(bounds).Height(), box.cy);
    EXPECT_NEAR(object->GetHandlePoints()[0].y, object->GetHandlePoints()[2].y, 1e-9) << "handles stand upright";

    EXPECT_TRUE(object->EndEdit(nullptr, false));
    EXPECT_EQ(object->GetRotation(), 0.7);
    object->GetSize(size);
    EXPECT_EQ(size.cx, 300);
    EXPECT_EQ(size.cy, 80);
}

TEST_F(TextObjectTest, EnteringEditingShowsTheCaretsFormatInThePalettes)
{
    Format big;
    big.face = "Courier New";
    big.points = 18;
    big.bold = 1;
    big.colour = RGB(200, 0, 0);
    struct Case
    {
        const char* name;
        std::vector<std::string> paragraphs;
        bool selectAcrossSizes;
        std::string face;
        int points;
        BYTE bold;
        COLORREF colour;
    };
    // The palettes start at Arial 12, regular, green.
    const std::vector<Case> cases = {
        {"caret after a formatted character", {"Hi"}, false, "Courier New", 18, 1, RGB(200, 0, 0)},
        {"caret in an empty paragraph", {"Hi", ""}, false, "Arial", 12, 0, RGB(0, 128, 0)},
        {"selection over two sizes", {"Hi", "lo"}, true, "Courier New", 12, 1, RGB(200, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.settings = CAppSettings();
        services.settings.m_textColor = CColor(0, 128, 0);
        auto object = std::make_unique<CTextObject>(0.0, 0.0, SIZE{200, 30}, 0.0);
        Type(*object, c.paragraphs, [&](int para, int) {
            Format f = big;
            f.points = static_cast<WORD>(para == 0 ? 18 : 24);
            return f;
        });
        if (c.selectAcrossSizes) {
            CTextBody& body = *object->GetTextBody();
            body.m_bSelectionEmpty = 0;
            body.m_nAnchorPara = 0;
            body.m_nAnchorIndex = 0;
            body.m_nFocusPara = 1;
            body.m_nFocusIndex = 2;
        }
        object->BeginEdit();
        EXPECT_EQ(services.settings.m_strTextFont, c.face);
        EXPECT_EQ(services.settings.m_nTextFontSize, c.points);
        EXPECT_EQ(services.settings.m_bTextBold, c.bold);
        EXPECT_EQ(services.settings.m_textColor.GetCOLORREF(), c.colour);
    }
}

TEST_F(TextObjectTest, ResizingWhileEditingKeepsTheMinimumBox)
{
    auto object = MakeText("W");
    object->BeginEdit();
    CTextBody& body = *object->GetTextBody();
    const int widest = body.m_nWidestChar;
    const int minWidth = static_cast<int>(1.5 * widest + 2);
    SIZE min;
    object->GetMinSize(min);
    EXPECT_EQ(min.cx, minWidth);
    EXPECT_EQ(min.cy, 3);
    struct Case
    {
        int w, h, expectW, expectH;
    };
    const std::vector<Case> cases = {
        {1, 1, minWidth, 3},
        {minWidth, 3, minWidth, 3},
        {minWidth + 1, 4, minWidth + 1, 4},
        {200, 90, 200, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        object->SetSize(c.w, c.h);
        EXPECT_EQ(body.m_nWidth, c.expectW);
        EXPECT_EQ(body.m_nHeight, c.expectH);
        EXPECT_EQ(object->GetScaleX(), 1.0) << "editing reflows rather than stretches";
    }
    object->EndEdit(nullptr, false);
    object->GetMinSize(min);
    EXPECT_EQ(min.cx, 1);
    EXPECT_EQ(min.cy, 1);
}

TEST_F(TextObjectTest, ResizingOutsideEditingStretches)
{
    auto object = MakeText();
    const int boxW = object->GetTextBody()->m_nWidth, boxH = object->GetTextBody()->m_nHeight;
    object->SetSize(boxW * 2, boxH * 3);
    EXPECT_EQ(object->GetScaleX(), 2.0);
    EXPECT_EQ(object->GetScaleY(), 3.0);
    EXPECT_EQ(object->GetTextBody()->m_nWidth, boxW) << "the text keeps its box";
    EXPECT_FALSE(object->IsPlainObject());
}

TEST_F(TextObjectTest, LeavingEditing)
{
    struct Case
    {
        const char* name;
        std::string text;
        bool isNew, record, caretShown;
        bool result;
        std::vector<int> undo;
        bool stillNew;
    };
    const std::vector<Case> cases = {
        {"new object, recorded", "Hi", true, true, true, true, {0}, false},
        {"new object, not recorded", "Hi", true, false, false, true, {}, false},
        {"committed object", "Hi", false, true, false, true, {}, false},
        {"blank text", "   ", true, true, true, false, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services = TextServices();
        services.caretShown = c.caretShown;
        auto object = MakeText(c.text);
        object->SetNewObject(c.isNew);
        object->BeginEdit();
        EXPECT_EQ(object->EndEdit(nullptr, c.record), c.result);
        EXPECT_FALSE(object->IsEditing());
        EXPECT_FALSE(services.caretShown);
        EXPECT_EQ(services.pageEditsEnded, 1);
        EXPECT_EQ(services.undoKinds, c.undo);
        EXPECT_EQ(object->IsNewObject(), c.stillNew);
        EXPECT_EQ(services.copiedTo, c.result ? object.get() : nullptr);
    }
}

TEST_F(TextObjectTest, LeavingEditingSizesTheObjectByItsScale)
{
    auto object = MakeText();
    object->SetSize(object->GetTextBody()->m_nWidth * 2, object->GetTextBody()->m_nHeight);
    object->BeginEdit();
    object->SetSize(150, 30);
    ASSERT_TRUE(object->EndEdit(nullptr, false));
    SIZE size;
    object->GetSize(size);
    EXPECT_EQ(size.cx, 300);
    EXPECT_EQ(size.cy, object->GetTextBody()->m_nHeight);
}

// ---- Plainness ----

TEST_F(TextObjectTest, PlainUntilAnyConditionFails)
{
    struct Case
    {
        const char* name;
        std::function<void(CTextObject&, TextServices&)> change;
        bool asksForTwin; // the conditions are tested in order; the twin is asked about fifth
    };
    const std::vector<Case> cases = {
        {"an effect", [](CTextObject& o, TextServices&) { o.GetEffects()->m_bGlow = true; }, false},
        {"stretched", [](CTextObject& o, TextServices&) { o.SetSize(o.GetTextBody()->m_nWidth + 10, 30); }, false},
        {"turned", [](CTextObject& o, TextServices&) { o.SetRotation(0.01); }, false},
        {"gradient fill", [](CTextObject& o, TextServices&) { o.GetFill()->SetGradient(CGradientInfo()); }, false},
        {"mouse-over twin", [](CTextObject&, TextServices& s) { s.hasTwin = true; }, true},
        {"alternate text", [](CTextObject& o, TextServices&) { o.GetAltText()->SetString("x"); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services = TextServices();
        auto object = MakeText();
        ASSERT_TRUE(object->IsPlainObject());
        c.change(*object, services);
        services.twinQuestions = 0;
        EXPECT_FALSE(object->IsPlainObject());
        EXPECT_EQ(services.twinQuestions, c.asksForTwin ? 1 : 0);
    }
    auto object = MakeText();
    object->GetFill()->SetColor(CColor(1, 2, 3));
    EXPECT_TRUE(object->IsPlainObject()) << "a colour fill keeps the text plain";
}

TEST_F(TextObjectTest, MakePlainRemovesEveryPictureProperty)
{
    auto object = MakeText();
    object->GetTextBody()->m_bAllowAdvanced = 1;
    object->SetRotation(1.0);
    object->SetSize(400, 90);
    auto fill = std::make_unique<CFillInfo>();
    fill->SetGradient(CGradientInfo());
    object->SetFill(std::move(fill));
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_bShadow = effects->m_bBevel = effects->m_bGlow = true;
    object->SetEffects(std::move(effects));
    object->SetLink(std::make_unique<CLinkInfo>(UrlLink("http://example.com/")));
    object->SetAltText(std::make_unique<CStringAttr>("words"));
    ASSERT_FALSE(object->IsPlainObject());

    object->MakePlain();
    EXPECT_TRUE(object->IsPlainObject());
    SIZE size;
    object->GetSize(size);
    EXPECT_EQ(size.cx, object->GetTextBody()->m_nWidth);
    EXPECT_EQ(size.cy, object->GetTextBody()->m_nHeight);
    EXPECT_EQ(object->GetFill()->GetKind(), CFillInfo::FILL_NONE);
    EXPECT_FALSE(object->GetLink()->IsActive());
    EXPECT_TRUE(object->GetAltText()->IsEmpty());
}

TEST_F(TextObjectTest, PlainnessChangesMakeTheTextRenderAgain)
{
    struct Case
    {
        const char* name;
        std::function<void(CTextObject&)> change;
        bool stale;
    };
    const std::vector<Case> cases = {
        {"colour fill", [](CTextObject& o) { o.SetFill(std::make_unique<CFillInfo>()); }, false},
        {"gradient fill",
         [](CTextObject& o) {
             auto fill = std::make_unique<CFillInfo>();
             fill->SetGradient(CGradientInfo());
             o.SetFill(std::move(fill));
         },
         true},
        {"effects off", [](CTextObject& o) { o.SetEffects(std::make_unique<CEffectSettings>()); }, false},
        {"a shadow",
         [](CTextObject& o) {
             auto effects = std::make_unique<CEffectSettings>();
             effects->m_bShadow = true;
             o.SetEffects(std::move(effects));
         },
         true},
        {"a turn", [](CTextObject& o) { o.SetRotation(0.2); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto object = MakeText();
        CTextBody& body = *object->GetTextBody();
        ASSERT_TRUE(body.RebuildImage() && body.RebuildSecondImage());
        c.change(*object);
        EXPECT_EQ(body.m_bImageStale != 0, c.stale);
    }
}

// ---- Links, copies and sizes ----

TEST_F(TextObjectTest, PageLinksOfTheCharactersFollowPageChanges)
{
    const auto linkedToPage3 = [](int, int i) {
        Format f;
        if (i < 2)
            f.link = PageLink(3);
        return f;
    };
    auto object = std::make_unique<CTextObject>(0.0, 0.0, SIZE{100, 30}, 0.0);
    Type(*object, {"abc"}, linkedToPage3);
    CTextBody& body = *object->GetTextBody();
    ASSERT_TRUE(body.RebuildImage() && body.RebuildSecondImage());
    object->OnPageDeleted(1);
    EXPECT_EQ(body.m_paragraphs[0].m_chars[0].m_link.GetPage(), 2);
    EXPECT_FALSE(body.m_bImageStale) << "a renumbered link looks the same";
    object->ClampPageLinks(2);
    EXPECT_EQ(body.m_paragraphs[0].m_chars[1].m_link.GetPage(), 1);
    object->OnPageDeleted(1);
    EXPECT_FALSE(body.m_paragraphs[0].m_chars[0].m_link.IsActive());
    EXPECT_TRUE(body.m_bImageStale) << "a link switched off is drawn as plain text";

    auto reset = std::make_unique<CTextObject>(0.0, 0.0, SIZE{100, 30}, 0.0);
    Type(*reset, {"abc"}, linkedToPage3);
    reset->ResetPageLinks();
    EXPECT_EQ(reset->GetTextBody()->m_paragraphs[0].m_chars[0].m_link.GetPage(), 0);

    // While the text is edited its links stay as they are.
    auto edited = std::make_unique<CTextObject>(0.0, 0.0, SIZE{100, 30}, 0.0);
    Type(*edited, {"abc"}, linkedToPage3);
    edited->BeginEdit();
    edited->OnPageDeleted(1);
    edited->ClampPageLinks(1);
    EXPECT_EQ(edited->GetTextBody()->m_paragraphs[0].m_chars[0].m_link.GetPage(), 3);
}

TEST_F(TextObjectTest, DuplicateIsAFullIndependentCopy)
{
    auto object = MakeText("Copy me");
    object->GetTextBody()->m_bAllowAdvanced = 1;
    object->SetSize(object->GetTextBody()->m_nWidth * 2, object->GetTextBody()->m_nHeight);
    object->SetAltText(std::make_unique<CStringAttr>("alt"));
    std::unique_ptr<CPageObject> copy = object->Duplicate();
    auto* text = dynamic_cast<CTextObject*>(copy.get());
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(text->IsNewObject());
    EXPECT_EQ(text->GetScaleX(), 2.0);
    EXPECT_EQ(text->GetAltText()->GetString(), "alt");
    EXPECT_EQ(Paragraphs(*text), Paragraphs(*object));
    EXPECT_EQ(text->GetTextBody()->GetOwner(), text);
    SIZE a, b;
    EXPECT_EQ(text->GetSize(a).cx, object->GetSize(b).cx);
    object->GetTextBody()->m_paragraphs[0].m_chars.clear();
    EXPECT_EQ(Paragraphs(*text)[0], "Copy me");
}

TEST_F(TextObjectTest, CloneIsAnUndoShellAndCopyFromExchanges)
{
    auto object = MakeText("Shell");
    object->SetRotation(0.4);
    object->SetAltText(std::make_unique<CStringAttr>("first"));
    std::unique_ptr<CPageObject> shell = object->Clone();
    auto* clone = dynamic_cast<CTextObject*>(shell.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetFill(), nullptr);
    EXPECT_EQ(clone->GetEffects(), nullptr);
    EXPECT_EQ(clone->GetLink(), nullptr);
    EXPECT_TRUE(clone->GetTextBody()->IsBlank());
    EXPECT_EQ(clone->IsNewObject(), object->IsNewObject());
    EXPECT_EQ(clone->GetRotation(), 0.4);

    object->SetRotation(1.2);
    object->SetSize(500, 70);
    object->GetAltText()->SetString("second");
    object->CopyFrom(*clone);
    EXPECT_EQ(object->GetRotation(), 0.4);
    EXPECT_EQ(clone->GetRotation(), 1.2);
    EXPECT_EQ(object->GetAltText()->GetString(), "first");
    EXPECT_EQ(clone->GetScaleX(), 500.0 / object->GetTextBody()->m_nWidth);
    EXPECT_EQ(Paragraphs(*object)[0], "Shell") << "the text stays where it is";
    object->CopyFrom(*clone);
    EXPECT_EQ(object->GetRotation(), 1.2);
    EXPECT_EQ(object->GetAltText()->GetString(), "second");
}

TEST_F(TextObjectTest, DownloadSizeOfPlainTextCountsCharacters)
{
    auto object = std::make_unique<CTextObject>(0.0, 0.0, SIZE{200, 30}, 0.0);
    Type(*object, {std::string(100, 'x'), std::string(19, 'y')});
    EXPECT_EQ(object->GetDownloadSize(10.0), static_cast<int>(120 * 1.05 + 200));
    object->SetRotation(0.5);
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    ASSERT_TRUE(object->UpdateImage(scratch));
    RECT b;
    object->GetBounds(b);
    EXPECT_EQ(object->GetDownloadSize(10.0), static_cast<int>(CRect(b).Width() * CRect(b).Height() / 10.0));
}

TEST_F(TextObjectTest, TakingAnotherBodyLaysItOutAndLetsTheOldOneGo)
{
    auto object = MakeText("Old");
    auto donor = MakeText("New text");
    std::unique_ptr<CTextBody> taken = donor->GetTextBody()->Clone();
    for (CTextChar& ch : taken->m_paragraphs[0].m_chars)
        ch.m_nLeft = kTextNotPlaced;
    CTextBody* body = taken.get();
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    ASSERT_TRUE(object->UpdateImage(scratch));

    std::unique_ptr<CTextBody> old = object->SetTextBody(std::move(taken));
    EXPECT_EQ(object->GetTextBody(), body);
    EXPECT_EQ(body->GetOwner(), object.get());
    EXPECT_TRUE(body->m_paragraphs[0].m_chars[0].IsPlaced());
    EXPECT_TRUE(object->IsDirty());
    EXPECT_EQ(services.viewRepaints, 1);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(old->GetOwner(), nullptr);
    EXPECT_EQ(old->m_paragraphs[0].GetCount(), 3);
}

TEST_F(TextObjectTest, TextSizeSpansTheLaidOutCharacters)
{
    auto object = MakeText("ab");
    const auto& chars = object->GetTextBody()->m_paragraphs[0].m_chars;
    const SIZE size = object->GetTextSize();
    EXPECT_EQ(size.cx, chars[1].m_nLeft + chars[1].m_nWidth - chars[0].m_nLeft);
    EXPECT_GT(size.cy, 0);
    CTextObject empty(0.0, 0.0, SIZE{20, 20}, 0.0);
    EXPECT_EQ(empty.GetTextSize().cx, -200000);
}

// ---- Rendering ----

namespace {

CRect RenderedBounds(CTextObject& object)
{
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 48);
    EXPECT_TRUE(object.UpdateImage(scratch));
    EXPECT_FALSE(object.IsDirty());
    RECT bounds;
    object.GetBounds(bounds);
    EXPECT_NE(object.GetImage(), nullptr);
    if (object.GetImage()) {
        EXPECT_EQ(object.GetImage()->Width(), CRect(bounds).Width());
        EXPECT_EQ(object.GetImage()->Height(), CRect(bounds).Height());
    }
    return CRect(bounds);
}

} // namespace

TEST_F(TextObjectTest, TurningAndStretchingChangeTheRenderedBounds)
{
    auto object = MakeText("Wide line of text");
    const CRect upright = RenderedBounds(*object);
    ASSERT_GT(upright.Width(), 40);
    const int boxW = object->GetTextBody()->m_nWidth, boxH = object->GetTextBody()->m_nHeight;

    struct Case
    {
        const char* name;
        double rotation;
        double sx, sy;
        double expectW, expectH; // of the ink, from the upright ink (w, h)
    };
    const double w = upright.Width(), h = upright.Height();
    const std::vector<Case> cases = {
        {"twice as wide", 0.0, 2.0, 1.0, 2 * w, h},
        {"half as high", 0.0, 1.0, 0.5, w, h / 2},
        {"a quarter turn", kPi / 2, 1.0, 1.0, h, w},
        {"thirty degrees", kPi / 6, 1.0, 1.0, w * std::cos(kPi / 6) + h * std::sin(kPi / 6),
         w * std::sin(kPi / 6) + h * std::cos(kPi / 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto turned = MakeText("Wide line of text");
        turned->SetSize(static_cast<int>(boxW * c.sx), static_cast<int>(boxH * c.sy));
        turned->SetRotation(c.rotation);
        const CRect bounds = RenderedBounds(*turned);
        EXPECT_NEAR(bounds.Width(), c.expectW, 3 + 0.08 * c.expectW);
        EXPECT_NEAR(bounds.Height(), c.expectH, 3 + 0.08 * c.expectH);
    }
}

TEST_F(TextObjectTest, RenderedTextLiesInItsBoxAndWholePixelMovesKeepIt)
{
    auto object = MakeText("Box");
    const CRect bounds = RenderedBounds(*object);
    RECT box;
    object->GetPaintRect(box);
    EXPECT_GE(bounds.left, box.left);
    EXPECT_GE(bounds.top, box.top);
    EXPECT_LE(bounds.right, box.right);
    EXPECT_LE(bounds.bottom, box.bottom);
    // A whole-pixel move only moves the image.
    const CImage* image = object->GetImage();
    DPOINT centre;
    object->GetCenter(centre);
    object->SetCenter(DPOINT{centre.x + 5, centre.y - 2});
    EXPECT_FALSE(object->IsDirty());
    EXPECT_EQ(object->GetImage(), image);
    RECT moved;
    object->GetBounds(moved);
    EXPECT_EQ(CRect(moved), CRect(bounds.left + 5, bounds.top - 2, bounds.right + 5, bounds.bottom - 2));
    // Handles recomputed after whole-pixel moves stay where the moves put them.
    object->MoveBy(3, 4);
    const DPOINT shifted = object->GetHandlePoints()[7];
    object->UpdateHandles();
    EXPECT_NEAR(object->GetHandlePoints()[7].x, shifted.x, 1e-9);
    EXPECT_NEAR(object->GetHandlePoints()[7].y, shifted.y, 1e-9);
}

TEST_F(TextObjectTest, TurnedTextStartsAtTheTurnedTopLeftHandle)
{
    for (double rotation : {kPi / 6, -kPi / 6, kPi / 2, 2.5}) {
        SCOPED_TRACE(rotation);
        auto object = std::make_unique<CTextObject>(200.0, 150.0, SIZE{200, 40}, 0.0);
        Type(*object, {"MMMM MMMM MMMM"});
        object->SetRotation(rotation);
        const CRect bounds = RenderedBounds(*object);
        const DPOINT corner = object->GetHandlePoints()[0];
        const CImage& image = *object->GetImage();
        double nearest = 1e9;
        for (int j = 0; j < image.Height(); ++j)
            for (int i = 0; i < image.Width(); ++i)
                if (image.GetData()[static_cast<size_t>(j) * image.GetStride() + i * 4] > 128)
                    nearest = std::min(nearest,
                                       std::hypot(bounds.left + i + 0.5 - corner.x, bounds.top + j + 0.5 - corner.y));
        // The first letter sits a margin and its side bearing away from the box's corner.
        EXPECT_LT(nearest, 8.0);
    }
}

TEST_F(TextObjectTest, LargeTextBoxesRenderUnderTheWaitCursor)
{
    struct Case
    {
        int width, height;
        bool waits;
    };
    for (const Case& c : std::vector<Case>{{256, 40, false}, {257, 40, true}, {100, 300, true}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        services.waitsBegun = 0;
        CTextObject object(200.0, 200.0, SIZE{c.width, c.height}, 0.0);
        Type(object, {"Wait"});
        object.GetTextBody()->m_nHeight = c.height;
        CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
        ASSERT_TRUE(object.RenderImage(scratch));
        EXPECT_EQ(services.waitsBegun, c.waits ? 1 : 0);
        EXPECT_EQ(services.waitDepth, 0);
    }
}

TEST_F(TextObjectTest, TextWithoutInkOrAreaRendersToOneClearPixel)
{
    for (const SIZE box : {SIZE{40, 20}, SIZE{0, 0}}) {
        SCOPED_TRACE(testing::Message() << box.cx << " x " << box.cy);
        CTextObject object(30.0, 20.0, box, 0.0);
        const CRect bounds = RenderedBounds(object);
        EXPECT_EQ(bounds, CRect(30, 20, 31, 21));
        EXPECT_EQ(object.GetImage()->GetData()[0], 0);
    }
}

TEST_F(TextObjectTest, UnrenderedTextShowsAHalfTransparentBox)
{
    auto object = MakeText();
    auto fill = std::make_unique<CFillInfo>();
    fill->SetColor(CColor(200, 30, 30));
    object->SetFill(std::move(fill));
    ASSERT_TRUE(object->IsDirty());
    CPixMap map(IMAGE_MODE_RGBA, 8, 8);
    object->GetPixels(20, 10, map);
    const unsigned char* p = map.Sample(4, 4, 0);
    EXPECT_EQ(p[0], 127);
    EXPECT_EQ(p[1], 200);
}

TEST_F(TextObjectTest, EditedObjectPaintsAMarginForTheCaret)
{
    auto object = MakeText();
    RECT outside, inside;
    object->GetPaintRect(outside);
    object->BeginEdit();
    object->GetPaintRect(inside);
    const CRect box = CRect(inside);
    RECT bounds;
    object->GetBounds(bounds);
    EXPECT_EQ(box.left, bounds.left - 4);
    EXPECT_EQ(box.right, bounds.right + 4);
    EXPECT_EQ(box.top, bounds.top - 5);
    EXPECT_EQ(box.bottom, bounds.bottom + 5);
}

// Not a check: a formatted paragraph with a link, turned 30 degrees with a drop shadow, for a person to look at.
TEST_F(TextObjectTest, WritesTurnedTextPicture)
{
    auto object = std::make_unique<CTextObject>(200.0, 150.0, SIZE{260, 40}, 0.0);
    const std::string line = "Pelorin sets bold, italic and linked words";
    const auto within = [&](int i, const std::string& word) {
        const int at = static_cast<int>(line.find(word));
        return i >= at && i < at + static_cast<int>(word.size());
    };
    Type(*object, {line, "in colour"}, [&](int para, int i) {
        Format f;
        f.points = 16;
        if (para == 0 && within(i, "Pelorin"))
            f.bold = 1;
        if (para == 0 && within(i, "italic"))
            f.italic = 1;
        if (para == 0 && within(i, "linked"))
            f.link = UrlLink("http://example.com/");
        if (para == 1) {
            f.colour = RGB(200, 40, 40);
            f.points = 20;
            f.face = "Times New Roman";
        }
        return f;
    });
    object->GetTextBody()->m_bAllowAdvanced = 1;
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_bShadow = true;
    effects->m_nShadowOffset = 6;
    object->SetEffects(std::move(effects));
    object->SetRotation(kPi / 6);
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    ASSERT_TRUE(object->UpdateImage(scratch));

    const int w = 400, h = 300;
    std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3, 255);
    const CImage& image = *object->GetImage();
    RECT bounds;
    object->GetBounds(bounds);
    for (int j = 0; j < image.Height(); ++j)
        for (int i = 0; i < image.Width(); ++i) {
            const int x = bounds.left + i, y = bounds.top + j;
            if (x < 0 || y < 0 || x >= w || y >= h)
                continue;
            const unsigned char* s = image.GetData() + static_cast<size_t>(j) * image.GetStride() + i * 4;
            unsigned char* d = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<unsigned char>((s[1 + c] * s[0] + d[c] * (255 - s[0]) + 127) / 255);
        }
    CImage picture(IMAGE_MODE_RGB, w, h);
    CPixMap map(IMAGE_MODE_RGB, w, h);
    for (int y = 0; y < h; ++y)
        std::memcpy(map.Sample(0, y, 0), &rgb[static_cast<size_t>(y) * w * 3], static_cast<size_t>(w) * 3);
    ASSERT_TRUE(picture.SetBuf(0, 0, map));
    EXPECT_TRUE(CIO::SavePNG((TestOutputFolder() / "text_object_rotated.png").string(), picture));
}
