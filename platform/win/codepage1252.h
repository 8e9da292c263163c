#pragma once

// The one case fold of the program's single-byte text. Site files name their pictures and folders on a system
// that ignored case, so every comparison of such names folds the same way, or two of them would disagree on
// whether "Šite" and "šite" are one folder.

#include <string>

// Lower case of a Windows-1252 byte. Besides ASCII, the capitals À..Þ (but ×, 0xD7, which is no letter) sit 0x20
// below their small letters; Š, Œ and Ž sit 0x10 below š, œ and ž; Ÿ (0x9F) pairs with ÿ (0xFF). ß has no capital.
constexpr char LowerCase1252(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<char>(u + 0x20);
    if (u == 0x8A || u == 0x8C || u == 0x8E)
        return static_cast<char>(u + 0x10);
    if (u == 0x9F)
        return static_cast<char>(0xFF);
    return c;
}

inline std::string LowerCase1252(std::string text)
{
    for (char& c : text)
        c = LowerCase1252(c);
    return text;
}

// Whether two texts are equal once folded.
inline bool EqualNoCase1252(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerCase1252(a[i]) != LowerCase1252(b[i]))
            return false;
    return true;
}
