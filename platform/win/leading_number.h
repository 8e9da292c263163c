#pragma once

// The number at the start of a text as the C runtime's atoi reads it (blanks, a sign, digits; no digits read as 0),
// for formats that store numbers that way. Unlike atoi it cannot overflow: a longer run of digits stays at the
// largest long long.

#include <cctype>
#include <climits>
#include <string_view>

inline long long LeadingNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = value > (LLONG_MAX - 9) / 10 ? LLONG_MAX : value * 10 + (text[i] - '0');
    return negative ? -value : value;
}
