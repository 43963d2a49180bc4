// Shift-JIS (code page 932) text, free of the platform.
#pragma once

#include <cstddef>

// A byte that starts a double-byte character.
constexpr bool isShiftJisLead(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The length of the longest start of text, at most max bytes, that ends on a
// whole character.
inline size_t wholeCharacters(const char* text, size_t max)
{
    size_t n = 0;
    while (text[n]) {
        size_t step = isShiftJisLead(static_cast<unsigned char>(text[n])) && text[n + 1] ? 2 : 1;
        if (n + step > max)
            break;
        n += step;
    }
    return n;
}
