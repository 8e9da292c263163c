#pragma once

// The program's text is single-byte Windows-1252. These turn it into Unicode for the font machinery and back, at
// the edges only.

#include <optional>
#include <string>
#include <string_view>

// The Unicode code point of a Windows-1252 byte. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the control characters of the same value, as the desktop platform maps them.
char32_t Windows1252ToUnicode(unsigned char ch);
// The Windows-1252 byte of a code point; nothing for a character the code page lacks.
std::optional<unsigned char> UnicodeToWindows1252(char32_t cp);

// Windows-1252 bytes as UTF-8.
std::string Windows1252ToUtf8(std::string_view text);

// UTF-8 as Windows-1252 bytes; nothing when the text is not valid UTF-8 or holds a character the code page lacks.
std::optional<std::string> Utf8ToWindows1252(std::string_view text);
