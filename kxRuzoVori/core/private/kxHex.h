// Hexadecimal digits: the upper-case digit of a value and the value of a digit, for every text
// form of bytes the library writes or reads.
#ifndef KXRUZOVORI_CORE_PRIVATE_KXHEX_H
#define KXRUZOVORI_CORE_PRIVATE_KXHEX_H

#include <cstdint>

// The upper-case digit of the low four bits of v.
constexpr char kxHexDigit(unsigned v)
{
    return "0123456789ABCDEF"[v & 15];
}

// The value of a digit in either case, or -1 for any other character.
constexpr int kxHexValue(std::uint32_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    return -1;
}

// The value of an upper-case digit, or -1 for any other character (lower-case ones included).
constexpr int kxUpperHexValue(std::uint32_t c)
{
    return c >= 'a' ? -1 : kxHexValue(c);
}

#endif
