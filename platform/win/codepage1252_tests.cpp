#include "platform/win/codepage1252.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Every capital of the code page with its small letter; every other byte is its own lower case.
std::map<unsigned char, unsigned char> CasePairs()
{
    std::map<unsigned char, unsigned char> pairs = {
        {0x8A, 0x9A}, // Š š
        {0x8C, 0x9C}, // Œ œ
        {0x8E, 0x9E}, // Ž ž
        {0x9F, 0xFF}, // Ÿ ÿ
    };
    for (int c = 'A'; c <= 'Z'; ++c)
        pairs[static_cast<unsigned char>(c)] = static_cast<unsigned char>(c - 'A' + 'a');
    // À..Þ, without the multiplication sign between Ö and Ø.
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7)
            pairs[static_cast<unsigned char>(c)] = static_cast<unsigned char>(c + 0x20);
    }
    return pairs;
}

} // namespace

TEST(Codepage1252, LowerCaseFoldsEveryCapitalAndNothingElse)
{
    const std::map<unsigned char, unsigned char> pairs = CasePairs();
    for (int byte = 0; byte < 256; ++byte) {
        const auto u = static_cast<unsigned char>(byte);
        const auto pair = pairs.find(u);
        const unsigned char expected = pair == pairs.end() ? u : pair->second;
        EXPECT_EQ(static_cast<unsigned char>(LowerCase1252(static_cast<char>(u))), expected)
            << "byte 0x" << std::hex << byte;
    }
}

TEST(Codepage1252, LowerCaseOfTextFoldsEachByte)
{
    EXPECT_EQ(LowerCase1252(std::string("/Sites/\x8Aite/\xC9T\xC9 \xD7 \x9F\xDF.GIF")),
              "/sites/\x9Aite/\xE9t\xE9 \xD7 \xFF\xDF.gif");
    EXPECT_EQ(LowerCase1252(std::string()), "");
}
