#include "app/objects/text_body.h"

#include <gtest/gtest.h>

#include "app/model/stream_test_support.h"
#include "app/objects/text_layout.h"

namespace {

CTextParagraph ParagraphOf(const std::string& text)
{
    CTextParagraph para;
    for (char c : text) {
        CTextChar ch;
        ch.m_ch = static_cast<BYTE>(c);
        para.m_chars.push_back(ch);
    }
    return para;
}

void SetText(CTextBody& body, std::initializer_list<std::string> paragraphs)
{
    body.m_paragraphs.clear();
    for (const auto& text : paragraphs)
        body.m_paragraphs.push_back(ParagraphOf(text));
}

CLinkInfo ActiveLink(const std::string& url)
{
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindUrl);
    link.SetUrl(url);
    link.SetActive(true);
    return link;
}

class CountingOwner : public TextBodyOwner
{
public:
    void MarkTextObjectDirty() override { ++dirtyCalls; }
    void GetTextObjectCenter(double& x, double& y) const override { x = y = 0.0; }
    void SetTextObjectCenter(double, double) override {}
    SIZE GetTextObjectSize() const override { return SIZE{0, 0}; }
    void GetTextObjectScale(double& x, double& y) const override { x = y = 1.0; }
    void SetTextObjectSize(int, int) override {}
    bool IsTextObjectEditing() const override { return false; }
    void SetTextObjectBounds(const RECT&) override {}
    int dirtyCalls = 0;
};

} // namespace

TEST(TextBody, NewBodyHoldsOneEmptyParagraph)
{
    CTextBody body(nullptr, 100, 40);
    ASSERT_EQ(body.GetParagraphCount(), 1);
    EXPECT_EQ(body.GetCharCount(), 0);
    EXPECT_TRUE(body.IsBlank());
    EXPECT_EQ(body.GetFirstChar(), 0);
    EXPECT_EQ(body.m_paragraphs[0].m_emptyHeight, 20);
    EXPECT_EQ(body.m_nWidth, 100);
    EXPECT_EQ(body.m_nHeight, 40);
    EXPECT_EQ(body.m_logFont.lfHeight, -16);
    EXPECT_EQ(body.m_logFont.lfFaceName, "noname");
    EXPECT_GT(body.m_curAscent, 0);
    EXPECT_GT(body.m_curDescent, 0);
    EXPECT_TRUE(body.m_imageStale && body.m_secondImageStale && body.m_selectionEmpty);
}

TEST(TextBody, QueriesOverParagraphs)
{
    struct Case
    {
        std::initializer_list<std::string> text;
        int count;
        bool blank;
        BYTE first;
    };
    const Case cases[] = {
        {{"abc", ""}, 4, false, 'a'},
        {{"", "", "xy"}, 4, false, 'x'},
        {{"   ", " "}, 5, true, ' '},
        {{"", ""}, 1, true, 0},
    };
    for (const auto& c : cases) {
        CTextBody body(nullptr, 100, 40);
        SetText(body, c.text);
        EXPECT_EQ(body.GetCharCount(), c.count);
        EXPECT_EQ(body.IsBlank(), c.blank);
        EXPECT_EQ(body.GetFirstChar(), c.first);
    }
}

TEST(TextBody, TextLinkIsTheFirstActiveLinkElseTheFirstCharacters)
{
    CTextBody body(nullptr, 100, 40);
    EXPECT_EQ(body.GetTextLink(), CLinkInfo());
    EXPECT_FALSE(body.HasLinkedText());

    SetText(body, {"abc"});
    body.m_paragraphs[0].m_chars[0].m_link.SetUrl("http://first");
    EXPECT_EQ(body.GetTextLink().GetUrl(), "http://first");
    EXPECT_FALSE(body.GetTextLink().IsActive());

    body.m_paragraphs[0].m_chars[1].m_link = ActiveLink("http://second");
    EXPECT_TRUE(body.HasLinkedText());
    EXPECT_EQ(body.GetTextLink(), ActiveLink("http://second"));
}

TEST(TextBody, CaretLinkIsTheCharacterBeforeTheCaret)
{
    CTextBody body(nullptr, 100, 40);
    SetText(body, {"ab"});
    body.m_paragraphs[0].m_chars[1].m_link = ActiveLink("http://b");
    body.m_caretIndex = 0;
    EXPECT_EQ(body.GetCaretLink(), nullptr);
    body.m_caretIndex = 2;
    ASSERT_NE(body.GetCaretLink(), nullptr);
    EXPECT_EQ(body.GetCaretLink()->GetUrl(), "http://b");
    body.m_caretIndex = 3; // out of range: no link rather than a read past the end
    EXPECT_EQ(body.GetCaretLink(), nullptr);
}

TEST(TextBody, CloneIsIndependentAndRendersAgain)
{
    CountingOwner owner;
    CTextBody body(&owner, 120, 30);
    SetText(body, {"ab", ""});
    body.m_alignment = CTextBody::alignRight;
    body.m_allowAdvanced = 1;
    body.m_widestChar = 9;
    body.m_imageStale = body.m_secondImageStale = 0;
    body.m_coverageImage = std::make_unique<CImage>(IMAGE_MODE_RGB, 4, 4);

    auto copy = body.Clone();
    EXPECT_EQ(copy->GetOwner(), &owner);
    EXPECT_EQ(copy->m_nWidth, 120);
    EXPECT_EQ(copy->m_alignment, CTextBody::alignRight);
    EXPECT_EQ(copy->m_allowAdvanced, 1);
    EXPECT_EQ(copy->m_widestChar, 9);
    EXPECT_EQ(copy->GetCharCount(), 3);
    EXPECT_TRUE(copy->m_imageStale && copy->m_secondImageStale);
    EXPECT_EQ(copy->m_coverageImage, nullptr);

    copy->m_paragraphs[0].m_chars[0].m_ch = 'z';
    copy->m_paragraphs.pop_back();
    EXPECT_EQ(body.GetFirstChar(), 'a');
    EXPECT_EQ(body.GetParagraphCount(), 2);
}

TEST(TextBody, ModifiedMarksImagesStaleAndTheOwnerDirty)
{
    CountingOwner owner;
    CTextBody body(&owner, 100, 40);
    body.m_imageStale = body.m_secondImageStale = 0;
    body.SetModifiedSecond();
    EXPECT_EQ(body.m_imageStale, 0);
    EXPECT_EQ(body.m_secondImageStale, 1);
    body.SetModified();
    EXPECT_EQ(body.m_imageStale, 1);
    EXPECT_EQ(owner.dirtyCalls, 2);

    body.m_imageStale = 0;
    body.m_coverageImage = std::make_unique<CImage>(IMAGE_MODE_RGB, 4, 4);
    body.FreeCoverageImage();
    EXPECT_EQ(body.m_coverageImage, nullptr);
    EXPECT_EQ(body.m_imageStale, 1);
}

TEST(FindFontIndex, FallsBackToArialThenMsSansSerifThenZero)
{
    const std::vector<std::string> withArial = {"Courier New", "Arial", "Verdana"};
    const std::vector<std::string> withSansSerif = {"A", "B", "C", "D", "E", "MS Sans Serif", "Arial Black"};
    const std::vector<std::string> neither = {"A", "B"};
    EXPECT_EQ(FindFontIndex("Verdana", withArial), 2);
    EXPECT_EQ(FindFontIndex("Missing", withArial), 1);
    EXPECT_EQ(FindFontIndex("verdana", withArial), 1);                    // exact, case-sensitive
    EXPECT_EQ(FindFontIndex(std::string("Verdana\0x", 9), withArial), 1); // a name read from a file, whole
    EXPECT_EQ(FindFontIndex("Missing", withSansSerif), 5);
    EXPECT_EQ(FindFontIndex("Missing", neither), 0);
    EXPECT_EQ(FindFontIndex("", {}), 0);
}

TEST(FindFontIndex, InstalledListResolvesCoreNames)
{
    const auto& faces = GetTextFaceNames();
    const WORD arial = FindFontIndex("Arial");
    ASSERT_LT(arial, faces.size());
    EXPECT_EQ(GetTextFaceName(arial), "Arial");
    EXPECT_EQ(FindFontIndex("No Such Face Anywhere"), arial);
    EXPECT_EQ(GetTextFaceName(0xFFFF), "");
}

TEST(CharacterFormat, RoundTripsThroughItsRecord)
{
    CTextChar ch;
    ch.m_faceIndex = FindFontIndex("Arial");
    ch.m_pointSize = 0x0124;
    ch.m_bBold = 1;
    ch.m_bUnderline = 1;
    ch.m_color = RGB(0x11, 0x22, 0x33);

    CMemFile plain;
    ch.WriteFormat(plain);
    // An inactive link costs nothing.
    EXPECT_EQ(FileBytes(plain), Concat({LE32(5), {'A', 'r', 'i', 'a', 'l', 0x24, 0x01, 1, 0, 1, 0x11, 0x22, 0x33, 0}}));

    ch.m_link = ActiveLink("http://example.com/");
    CMemFile linked;
    ch.WriteFormat(linked);
    linked.SeekToBegin();
    CTextChar back;
    back.ReadFormat(linked, kCurrentMajorVersion, kCurrentMinorVersion);
    EXPECT_EQ(linked.GetPosition(), linked.GetLength());
    EXPECT_EQ(back.m_faceIndex, ch.m_faceIndex);
    EXPECT_EQ(back.m_pointSize, ch.m_pointSize);
    EXPECT_EQ(back.m_bBold, 1);
    EXPECT_EQ(back.m_bItalic, 0);
    EXPECT_EQ(back.m_bUnderline, 1);
    EXPECT_EQ(back.m_color, ch.m_color);
    EXPECT_EQ(back.m_link, ch.m_link);

    // Reading the record without a link over a linked character leaves it unlinked.
    plain.SeekToBegin();
    back.ReadFormat(plain, kCurrentMajorVersion, kCurrentMinorVersion);
    EXPECT_FALSE(back.m_link.IsActive());
    EXPECT_EQ(back.m_link, CLinkInfo());
}

TEST(CharacterFormat, UnknownFaceReadsAsTheFallback)
{
    auto file = FileOf(Concat({LE32(7), {'N', 'o', 'F', 'a', 'c', 'e', '!', 12, 0, 0, 1, 0, 1, 2, 3, 0}}));
    CTextChar ch;
    ch.ReadFormat(*file, kCurrentMajorVersion, kCurrentMinorVersion);
    EXPECT_EQ(ch.m_faceIndex, FindFontIndex("Arial"));
    EXPECT_EQ(ch.m_pointSize, 12);
    EXPECT_EQ(ch.m_bItalic, 1);
}

TEST(CharacterFormat, RefusesBadLengthsAndShortRecords)
{
    const std::vector<BYTE> good = Concat({LE32(5), {'A', 'r', 'i', 'a', 'l', 12, 0, 1, 1, 1, 9, 9, 9, 0}});
    std::vector<std::vector<BYTE>> bad = {
        Concat({LE32(0xFFFFFFFF), {'A'}}), // negative length
        Concat({LE32(20049), std::vector<BYTE>(20049, 'A')}),
        {5, 0}, // short length
    };
    // Every cut inside the record is a short read.
    for (size_t cut = 4; cut < good.size(); ++cut)
        bad.emplace_back(good.begin(), good.begin() + cut);

    for (const auto& bytes : bad) {
        CTextChar ch;
        ch.m_pointSize = 77;
        ch.m_color = 0x123456;
        auto file = FileOf(bytes);
        EXPECT_TRUE(RaisesBadData([&] { ch.ReadFormat(*file, kCurrentMajorVersion, kCurrentMinorVersion); }))
            << bytes.size() << " bytes";
        EXPECT_EQ(ch.m_pointSize, 77);
        EXPECT_EQ(ch.m_color, 0x123456u);
    }

    // The longest name a reader takes.
    CTextChar ch;
    auto file = FileOf(Concat({LE32(20048), std::vector<BYTE>(20048, 'A'), {12, 0, 0, 0, 0, 0, 0, 0, 0}}));
    ch.ReadFormat(*file, kCurrentMajorVersion, kCurrentMinorVersion);
    EXPECT_EQ(ch.m_faceIndex, FindFontIndex("Arial"));
}
