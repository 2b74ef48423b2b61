// Base64 of bytes: the encoder, the decoder and their lookup tables.
#include "kxRuzoVori/core/private/kxBase64.h"

#include "kxRuzoVori/core/private/kxBytes.h"

#include <cstdint>
#include <cstring>

namespace
{
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The two characters of every 12-bit value, so a group of three bytes takes two lookups.
struct kxBase64Pairs
{
    char m_pair[4096][2];
};

constexpr kxBase64Pairs MakePairs()
{
    kxBase64Pairs pairs{};
    for (int i = 0; i < 4096; ++i)
    {
        pairs.m_pair[i][0] = kAlphabet[i >> 6];
        pairs.m_pair[i][1] = kAlphabet[i & 63];
    }
    return pairs;
}

constexpr kxBase64Pairs kPairs = MakePairs();

// What each source byte is to the decoder: its value, or one of the classes below.
constexpr unsigned char kPad = 64;
constexpr unsigned char kSpace = 65;
constexpr unsigned char kForeign = 66;

struct kxBase64Values
{
    unsigned char m_value[256];
};

constexpr kxBase64Values MakeValues()
{
    kxBase64Values values{};
    for (int i = 0; i < 256; ++i)
        values.m_value[i] = kForeign;
    for (int i = 0; i < 64; ++i)
        values.m_value[static_cast<unsigned char>(kAlphabet[i])] = static_cast<unsigned char>(i);
    values.m_value[static_cast<unsigned char>('=')] = kPad;
    for (unsigned char c : {0, 9, 10, 12, 13, 32})
        values.m_value[c] = kSpace;
    return values;
}

constexpr kxBase64Values kValues = MakeValues();

// The value of each source byte already shifted to its place in a quartet's 24 bits; bytes
// outside the alphabet carry a bit above those 24, so one test checks a whole quartet.
struct kxBase64Shifted
{
    std::uint32_t m_shifted[4][256];
};

constexpr kxBase64Shifted MakeShifted()
{
    kxBase64Shifted tables{};
    for (int place = 0; place < 4; ++place)
        for (int c = 0; c < 256; ++c)
            tables.m_shifted[place][c] = kValues.m_value[c] < 64
                                             ? std::uint32_t(kValues.m_value[c]) << (18 - 6 * place)
                                             : 0x01000000u;
    return tables;
}

constexpr kxBase64Shifted kShifted = MakeShifted();

// Decodes up to quartets whole quartets of alphabet characters (only validating them when out is
// null); stops before the first quartet holding anything else. Returns the quartets decoded.
size_t DecodeQuartets(const unsigned char* in, size_t quartets, unsigned char* out)
{
    const auto& t = kShifted.m_shifted;
    size_t q = 0;
    for (; q < quartets; ++q, in += 4)
    {
        const std::uint32_t group = t[0][in[0]] | t[1][in[1]] | t[2][in[2]] | t[3][in[3]];
        if (group >> 24)
            break;
        if (out)
        {
            out[0] = static_cast<unsigned char>(group >> 16);
            out[1] = static_cast<unsigned char>(group >> 8);
            out[2] = static_cast<unsigned char>(group);
            out += 3;
        }
    }
    return q;
}

// The pads that end a quartet holding count characters at the "=" at in[i]: one after three
// characters, two after two when a second "=" follows; 0, with the index to report in errorAt,
// where no pad may stand.
int CountPads(const unsigned char* in, size_t i, size_t srcLen, int count, size_t& errorAt)
{
    if (count == 3)
        return 1;
    if (count == 2 && i + 1 < srcLen && in[i + 1] == '=')
        return 2;
    errorAt = count == 2 && i + 1 < srcLen ? i + 1 : i;
    return 0;
}

// Writes the bytes of a decoded quartet at out + decoded (only counting them when out is null);
// false when they do not fit in dstLen.
bool PutQuartet(const unsigned* quartet, size_t bytes, unsigned char* out, size_t dstLen,
                size_t& decoded)
{
    if (out && decoded + bytes > dstLen)
        return false;
    if (out)
    {
        out[decoded] = static_cast<unsigned char>((quartet[0] << 2) | (quartet[1] >> 4));
        if (bytes > 1)
            out[decoded + 1] = static_cast<unsigned char>((quartet[1] << 4) | (quartet[2] >> 2));
        if (bytes > 2)
            out[decoded + 2] = static_cast<unsigned char>((quartet[2] << 6) | quartet[3]);
    }
    decoded += bytes;
    return true;
}

inline void EncodeGroup(const unsigned char* in, char* out)
{
    const unsigned group = (unsigned(in[0]) << 16) | (unsigned(in[1]) << 8) | in[2];
    const char* high = kPairs.m_pair[group >> 12];
    const char* low = kPairs.m_pair[group & 0xFFF];
    out[0] = high[0];
    out[1] = high[1];
    out[2] = low[0];
    out[3] = low[1];
}
} // namespace

size_t kxBase64Encode(char* dst, size_t dstLen, const void* src, size_t srcLen)
{
    if (!src)
        return kxBase64Error;
    const size_t groups = srcLen / 3;
    const size_t rest = srcLen % 3;
    const size_t needed = 4 * (groups + (rest ? 1 : 0));
    if (!dst)
        return needed;
    const unsigned char* in = static_cast<const unsigned char*>(src);
    // Groups are written while they fit, so a short destination still receives the leading ones.
    const size_t fitting = dstLen / 4 < groups ? dstLen / 4 : groups;
    size_t i = 0;
    // Two groups per step from one 8-byte load, while that load stays inside the source.
    for (; i + 2 < fitting; i += 2)
    {
        const std::uint64_t word = kxGetBE64(in + 3 * i);
        char* out = dst + 4 * i;
        std::memcpy(out, kPairs.m_pair[word >> 52], 2);
        std::memcpy(out + 2, kPairs.m_pair[(word >> 40) & 0xFFF], 2);
        std::memcpy(out + 4, kPairs.m_pair[(word >> 28) & 0xFFF], 2);
        std::memcpy(out + 6, kPairs.m_pair[(word >> 16) & 0xFFF], 2);
    }
    for (; i < fitting; ++i)
        EncodeGroup(in + 3 * i, dst + 4 * i);
    if (needed > dstLen)
        return kxBase64Error;
    if (rest)
    {
        const unsigned char b0 = in[3 * groups];
        const unsigned char b1 = rest == 2 ? in[3 * groups + 1] : 0;
        char* out = dst + 4 * groups;
        out[0] = kAlphabet[b0 >> 2];
        out[1] = kAlphabet[((b0 & 3) << 4) | (b1 >> 4)];
        out[2] = rest == 2 ? kAlphabet[(b1 & 15) << 2] : '=';
        out[3] = '=';
    }
    return needed;
}

size_t kxBase64Decode(void* dst, size_t dstLen, const char* src, size_t srcLen,
                      wxBase64DecodeMode mode, size_t* posErr)
{
    if (!src)
        return kxBase64Error;
    if (srcLen == wxNO_LEN)
        srcLen = std::strlen(src);
    const unsigned char* in = reinterpret_cast<const unsigned char*>(src);
    unsigned char* out = static_cast<unsigned char*>(dst);
    size_t decoded = 0;
    unsigned quartet[4];
    int count = 0;
    bool ended = false;
    const auto fail = [posErr](size_t position)
    {
        if (posErr)
            *posErr = position;
        return kxBase64Error;
    };

    size_t i = 0;
    while (i < srcLen)
    {
        // Whole quartets of alphabet characters, the common case, skip the state machine.
        if (count == 0 && !ended)
        {
            size_t quartets = (srcLen - i) / 4;
            if (out && (dstLen - decoded) / 3 < quartets)
                quartets = (dstLen - decoded) / 3;
            const size_t done = DecodeQuartets(in + i, quartets, out ? out + decoded : nullptr);
            decoded += 3 * done;
            i += 4 * done;
            if (i >= srcLen)
                break;
        }

        const unsigned value = kValues.m_value[in[i]];
        int pads = 0;
        if (value == kSpace && mode == wxBase64DecodeMode_SkipWS)
        {
            ++i;
            continue;
        }
        if (value == kSpace || value == kForeign)
        {
            if (mode != wxBase64DecodeMode_Relaxed)
                return fail(i);
            ++i;
            continue;
        }
        if (value == kPad)
        {
            size_t errorAt;
            pads = CountPads(in, i, srcLen, count, errorAt);
            if (pads == 0)
                return fail(errorAt);
            i += pads - 1;
            ended = true;
            while (count < 4)
                quartet[count++] = 0;
        }
        else
        {
            if (ended)
                return fail(i);
            quartet[count++] = value;
        }

        if (count == 4)
        {
            if (!PutQuartet(quartet, 3 - pads, out, dstLen, decoded))
                return fail(i);
            count = 0;
        }
        ++i;
    }
    if (count != 0)
        return fail(srcLen - 1);
    return decoded;
}

std::string kxBase64Encode(const void* data, size_t size)
{
    std::string text(kxBase64Encode(nullptr, 0, data, size), '\0');
    if (!text.empty())
        kxBase64Encode(&text[0], text.size(), data, size);
    return text;
}

unsigned kxBase64Value(unsigned char c)
{
    return kValues.m_value[c];
}
