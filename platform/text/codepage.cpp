#include "platform/text/codepage.h"

#include <cstdint>

namespace {

// Bytes 0x80 to 0x9F; the other bytes are their own code points.
constexpr char16_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        // Windows-1252 reaches no further than the Basic Multilingual Plane.
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::optional<unsigned char> UnicodeToWindows1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kHighControlRange[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

char32_t Windows1252ToUnicode(unsigned char ch)
{
    if (ch >= 0x80 && ch < 0xA0)
        return kHighControlRange[ch - 0x80];
    return ch;
}

std::string Windows1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        AppendUtf8(out, Windows1252ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        int extra;
        char32_t cp;
        if (lead < 0x80) {
            extra = 0;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            return std::nullopt;
        }
        // A sequence cut short by the end of the text.
        if (text.size() - i <= static_cast<size_t>(extra))
            return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            auto cont = static_cast<unsigned char>(text[i + k]);
            if ((cont & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (cont & 0x3F);
        }
        // Overlong forms would let two spellings name one character.
        static constexpr char32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[extra])
            return std::nullopt;
        auto byte = UnicodeToWindows1252(cp);
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
        i += extra + 1;
    }
    return out;
}
