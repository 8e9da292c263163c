#include "app/model/string_attr.h"

#include <gtest/gtest.h>

#include "app/model/stream_test_support.h"

TEST(StringAttr, WritesTagLengthAndText)
{
    CMemFile file;
    CStringAttr("ab").Write(file);
    EXPECT_EQ(FileBytes(file), (std::vector<BYTE>{0x2C, 0x40, 0xB3, 0x8A, 0x02, 0x00, 0x00, 0x00, 0x61, 0x62}));
}

TEST(StringAttr, EmptyTextCostsNothingAndReadsBackEmpty)
{
    CMemFile file;
    CStringAttr().Write(file);
    EXPECT_EQ(file.GetLength(), 0u);

    // The next record's tag stands where the text would be: it is left for that record.
    auto next = FileOf(LE32(0x3927BD8F));
    CStringAttr attr;
    attr.Read(*next, 5, 15);
    EXPECT_TRUE(attr.IsEmpty());
    EXPECT_EQ(next->GetPosition(), 0u);
}

TEST(StringAttr, RoundTripAndClone)
{
    CStringAttr attr("Alternate \xE9 text");
    CMemFile file;
    attr.Write(file);
    file.SeekToBegin();
    CStringAttr back;
    back.Read(file, 5, 15);
    EXPECT_EQ(back, attr);
    auto copy = attr.Clone();
    attr.SetString("changed");
    EXPECT_EQ(copy->GetString(), "Alternate \xE9 text");
}

TEST(StringAttr, ReadsOnlyFromVersionOneSix)
{
    const std::vector<BYTE> stored = {0x2C, 0x40, 0xB3, 0x8A, 0x01, 0x00, 0x00, 0x00, 'x'};
    struct Case
    {
        int major, minor;
        bool reads;
    };
    const Case cases[] = {{1, 5, false}, {1, 6, true}, {2, 0, true}, {5, 15, true}};
    for (const Case& c : cases) {
        auto file = FileOf(stored);
        CStringAttr attr;
        attr.Read(*file, c.major, c.minor);
        EXPECT_EQ(attr.GetString(), c.reads ? "x" : "") << c.major << "." << c.minor;
        EXPECT_EQ(file->GetPosition(), c.reads ? stored.size() : 0u);
    }
}

TEST(StringAttr, BadLengthsRaiseTheFileException)
{
    for (uint32_t length : {20049u, 0xFFFFFFFFu}) {
        auto file = FileOf(Concat({LE32(CStringAttr::kTag), LE32(length)}));
        CStringAttr attr;
        EXPECT_TRUE(RaisesBadData([&] { attr.Read(*file, 5, 15); })) << length;
    }
    // A text cut off by the end of the data.
    auto file = FileOf(Concat({LE32(CStringAttr::kTag), LE32(3), {'a', 'b'}}));
    CStringAttr attr;
    EXPECT_TRUE(RaisesBadData([&] { attr.Read(*file, 5, 15); }));
}

TEST(StringAttr, OverlongTextIsSavedCutSoTheFileOpensAgain)
{
    CStringAttr attr(std::string(kMaxStringLength + 1, 'k'));
    CMemFile file;
    attr.Write(file);
    file.SeekToBegin();
    CStringAttr back;
    back.Read(file, 5, 15);
    EXPECT_EQ(back.GetString().size(), kMaxStringLength);
}
