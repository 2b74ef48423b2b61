// UTF-16 surrogate arithmetic and UTF-8 encoding and validation, for the code that reads and
// writes Unicode text unit by unit: wire formats, files, the cipher's certificate, natural order.
#ifndef KXRUZOVORI_CORE_PRIVATE_KXUTF_H
#define KXRUZOVORI_CORE_PRIVATE_KXUTF_H

#include <cstddef>
#include <cstdint>

constexpr bool kxIsSurrogate(std::uint32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

constexpr bool kxIsHighSurrogate(std::uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool kxIsLowSurrogate(std::uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// A character UTF-8 and UTF-16 can carry: at most U+10FFFF and no surrogate.
constexpr bool kxIsUnicodeScalar(std::uint32_t c)
{
    return c <= 0x10FFFF && !kxIsSurrogate(c);
}

// The two halves of the pair that stands for a character above U+FFFF in UTF-16.
constexpr std::uint32_t kxHighSurrogateOf(std::uint32_t c)
{
    return 0xD800 + ((c - 0x10000) >> 10);
}

constexpr std::uint32_t kxLowSurrogateOf(std::uint32_t c)
{
    return 0xDC00 + ((c - 0x10000) & 0x3FF);
}

// The character a high and a low surrogate stand for together.
constexpr std::uint32_t kxJoinSurrogates(std::uint32_t high, std::uint32_t low)
{
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// Writes the one to four bytes of c's UTF-8 form at out and returns the end. Any number below
// 0x110000 is laid out by its size alone; callers that must refuse surrogates test them first.
inline char* kxUtf8Put(char* out, std::uint32_t c)
{
    if (c < 0x80)
    {
        *out++ = static_cast<char>(c);
    }
    else if (c < 0x800)
    {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    else if (c < 0x10000)
    {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    else
    {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Appends c's UTF-8 form to a byte string (std::string or anything with append(data, size)).
template <class Bytes> void kxUtf8Append(Bytes& out, std::uint32_t c)
{
    char bytes[4];
    out.append(bytes, static_cast<size_t>(kxUtf8Put(bytes, c) - bytes));
}

// The length (1 to 4) of the well-formed UTF-8 sequence at p, of which left bytes are there, its
// character stored in c; 0 when the bytes there are not strict UTF-8 (an overlong form, a
// surrogate, a number above U+10FFFF, a sequence cut short or a stray continuation byte).
inline size_t kxUtf8Decode(const unsigned char* p, size_t left, std::uint32_t& c)
{
    const unsigned char lead = p[0];
    if (lead < 0x80)
    {
        c = lead;
        return 1;
    }
    size_t extra;
    std::uint32_t value;
    std::uint32_t minimum;
    if ((lead & 0xE0) == 0xC0)
    {
        extra = 1;
        value = lead & 0x1F;
        minimum = 0x80;
    }
    else if ((lead & 0xF0) == 0xE0)
    {
        extra = 2;
        value = lead & 0x0F;
        minimum = 0x800;
    }
    else if ((lead & 0xF8) == 0xF0)
    {
        extra = 3;
        value = lead & 0x07;
        minimum = 0x10000;
    }
    else
        return 0;
    if (extra >= left)
        return 0;
    for (size_t k = 1; k <= extra; ++k)
    {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (p[k] & 0x3F);
    }
    if (value < minimum || !kxIsUnicodeScalar(value))
        return 0;
    c = value;
    return extra + 1;
}

#endif
