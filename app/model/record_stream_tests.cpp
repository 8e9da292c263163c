#include "app/model/record_stream.h"

#include <cmath>
#include <functional>
#include <limits>

#include <gtest/gtest.h>

#include "app/model/stream_test_support.h"

TEST(RecordStream, WritesLittleEndianBytes)
{
    CMemFile file;
    WriteInt32(file, -2);
    WriteUInt32(file, 0x8AB3402C);
    WriteFlag(file, true);
    WriteByte(file, 7);
    WriteColor(file, CColor(0x11, 0x22, 0x33));
    WriteDouble(file, 1.0);
    WriteCountedString(file, "ab");
    const std::vector<BYTE> expected = {0xFE, 0xFF, 0xFF, 0xFF, 0x2C, 0x40, 0xB3, 0x8A, 1, 7, 0x11, 0x22, 0x33, 0,
                                        0,    0,    0,    0,    0,    0xF0, 0x3F, 2,    0, 0, 0,    'a',  'b'};
    EXPECT_EQ(FileBytes(file), expected);
}

TEST(RecordStream, ReadsBackWhatItWrote)
{
    CMemFile file;
    WriteInt32(file, std::numeric_limits<int32_t>::min());
    WriteFlag(file, false);
    WriteColor(file, CColor(COLOR_YELLOW));
    WriteDouble(file, -0.375);
    WriteCountedString(file, std::string("x\0y", 3));
    file.SeekToBegin();
    EXPECT_EQ(ReadInt32(file), std::numeric_limits<int32_t>::min());
    EXPECT_FALSE(ReadFlag(file));
    const CColor c = ReadColor(file);
    EXPECT_EQ(c.GetMode(), IMAGE_MODE_RGB);
    EXPECT_EQ(c.GetCOLORREF(), RGB(255, 255, 0));
    EXPECT_EQ(ReadDouble(file), -0.375);
    EXPECT_EQ(ReadCountedString(file), std::string("x\0y", 3));
    EXPECT_EQ(file.GetPosition(), file.GetLength());
}

TEST(RecordStream, AnyNonzeroFlagByteIsSet)
{
    auto file = FileOf({2});
    EXPECT_TRUE(ReadFlag(*file));
}

TEST(RecordStream, ShortReadsRaiseTheFileException)
{
    const std::vector<std::pair<const char*, std::function<void(CFile&)>>> readers = {
        {"int", [](CFile& f) { ReadInt32(f); }},
        {"byte", [](CFile& f) { ReadByte(f); }},
        {"colour", [](CFile& f) { ReadColor(f); }},
        {"double", [](CFile& f) { ReadDouble(f); }},
        {"string body", [](CFile& f) { ReadCountedString(f); }},
    };
    // Every reader finds one byte fewer than it needs (the string announces 5 bytes and finds 4).
    const std::vector<std::vector<BYTE>> data = {
        {1, 2, 3}, {}, {1, 2}, {1, 2, 3, 4, 5, 6, 7}, {5, 0, 0, 0, 'a', 'b', 'c', 'd'}};
    for (size_t i = 0; i < readers.size(); ++i) {
        auto file = FileOf(data[i]);
        EXPECT_TRUE(RaisesBadData([&] { readers[i].second(*file); })) << readers[i].first;
    }
}

TEST(RecordStream, CountedStringLengthLimits)
{
    struct Case
    {
        int32_t length;
        UINT limit;
        bool accepted;
    };
    const Case cases[] = {
        {0, kMaxStringLength, true},
        {20048, kMaxStringLength, true},
        {20049, kMaxStringLength, false},
        {-1, kMaxStringLength, false},
        {20049, kMaxCodeStringLength, true},
        {2000000, kMaxCodeStringLength, true},
        {2000001, kMaxCodeStringLength, false},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> bytes = LE32(static_cast<uint32_t>(c.length));
        if (c.length > 0)
            bytes.resize(4 + static_cast<size_t>(c.length), 'q');
        auto file = FileOf(bytes);
        if (c.accepted)
            EXPECT_EQ(ReadCountedString(*file, c.limit).size(), static_cast<size_t>(c.length));
        else
            EXPECT_TRUE(RaisesBadData([&] { ReadCountedString(*file, c.limit); })) << c.length;
    }
}

TEST(RecordStream, WriterCutsStringsAtTheReadersLimit)
{
    const std::string longText(kMaxStringLength + 10, 'z');
    CMemFile file;
    WriteCountedString(file, longText);
    WriteCountedString(file, longText, kMaxCodeStringLength);
    file.SeekToBegin();
    EXPECT_EQ(ReadCountedString(file), longText.substr(0, kMaxStringLength));
    EXPECT_EQ(ReadCountedString(file, kMaxCodeStringLength), longText);
}

TEST(RecordStream, OptionalTagStepsBackWhenAbsent)
{
    const DWORD tag = 0x7E3A8B93;
    struct Case
    {
        const char* what;
        std::vector<BYTE> bytes;
        bool present;
        ULONGLONG positionAfter;
    };
    const Case cases[] = {
        {"tag", LE32(tag), true, 4},
        {"other value", LE32(tag + 1), false, 0},
        {"end of data", {}, false, 0},
        {"three bytes left", {0x93, 0x8B, 0x3A}, false, 0},
    };
    for (const Case& c : cases) {
        auto file = FileOf(c.bytes);
        EXPECT_EQ(ReadOptionalTag(*file, tag), c.present) << c.what;
        EXPECT_EQ(file->GetPosition(), c.positionAfter) << c.what;
    }
}

TEST(RecordStream, VersionGate)
{
    EXPECT_TRUE(IsVersionAtLeast(1, 6, 1, 6));
    EXPECT_TRUE(IsVersionAtLeast(2, 0, 1, 6));
    EXPECT_FALSE(IsVersionAtLeast(1, 5, 1, 6));
    EXPECT_FALSE(IsVersionAtLeast(0, 99, 1, 6));
    EXPECT_TRUE(IsVersionAtLeast(5, 15, 5, 15));
}
