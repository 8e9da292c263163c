#include "platform/text/codepage.h"

#include <gtest/gtest.h>

TEST(Codepage, MapsBytesToUnicode)
{
    const struct
    {
        unsigned char byte;
        char32_t unicode;
    } cases[] = {
        {0x41, U'A'},   {0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160}, {0x92, 0x2019},
        {0x9D, 0x009D}, {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0xFF, 0x00FF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Windows1252ToUnicode(c.byte), c.unicode) << std::hex << int(c.byte);
}

TEST(Codepage, EveryByteSurvivesUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_EQ(Windows1252ToUtf8("\x80"), "\xE2\x82\xAC");
    auto back = Utf8ToWindows1252(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Codepage, RefusesWhatTheCodePageCannotHold)
{
    const char* bad[] = {
        "\xCE\xA9",         // Greek omega
        "\xF0\x9F\x98\x80", // outside the Basic Multilingual Plane
        "\xC3",             // cut short
        "\xC1\x81",         // overlong 'A'
        "\xE2\x82",         // cut short euro
        "\xFF",             // no such lead byte
        "a\x80",            // continuation without a lead
    };
    for (const char* text : bad)
        EXPECT_FALSE(Utf8ToWindows1252(text).has_value()) << text;
}
