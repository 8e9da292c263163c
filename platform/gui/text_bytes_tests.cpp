// The program's Windows-1252 texts in and out of the windows.

#include "platform/gui/text_bytes.h"

#include <gtest/gtest.h>

namespace {

TEST(TextBytes, TextsGoToTheWindowsAndBackByteForByte)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        const char* utf8;
    };
    const Case cases[] = {
        {"plain", "Home page", "Home page"},
        {"accented", "caf\xE9", "caf\u00e9"},
        {"the code page's own high range", "\x80 \x92\x99", "\u20ac \u2019\u2122"},
        {"bytes the code page leaves undefined", "a\x81\x8D\x8F\x90\x9D", "a\u0081\u008d\u008f\u0090\u009d"},
        {"a nul inside", std::string("a\0b", 3), nullptr},
    };
    for (const Case& c : cases) {
        const wxString shown = BytesToWx(c.bytes);
        if (c.utf8) {
            EXPECT_EQ(shown.utf8_string(), c.utf8) << c.name;
        }
        EXPECT_EQ(WxToBytes(shown), c.bytes) << c.name;
    }
}

TEST(TextBytes, ACharacterTheCodePageLacksBecomesAQuestionMark)
{
    EXPECT_EQ(WxToBytes(wxString::FromUTF8("Caf\u00e9 \u4e2d \u2192 5 \u20ac")), "Caf\xE9 ? ? 5 \x80");
    EXPECT_EQ(WxToBytes(wxString::FromUTF8("smile \U0001F600!")), "smile ?!");
}

} // namespace
