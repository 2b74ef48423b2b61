#include "kxRuzoVori/kxHelpers/kxEncoding.h"

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

wxString g_kxEmptyString;
long long g_kxEmptyLongLong = 0;
unsigned long g_kxEmptyULong = 0;

namespace
{
constexpr char kHexDigits[] = "0123456789ABCDEF";

// The two digits of every byte, ready to be copied as one piece.
struct kxHexPairs
{
    wxChar m_pair[256][2];
};

constexpr kxHexPairs MakeHexPairs()
{
    kxHexPairs pairs{};
    for (int i = 0; i < 256; ++i)
    {
        pairs.m_pair[i][0] = kHexDigits[i >> 4];
        pairs.m_pair[i][1] = kHexDigits[i & 15];
    }
    return pairs;
}

constexpr kxHexPairs kHexPairs = MakeHexPairs();

// Writes the hex text of length bytes straight into the string's buffer.
wxString HexOf(const unsigned char* bytes, size_t length)
{
    wxString text;
    if (length == 0)
        return text;
    {
        wxStringBufferLength buffer(text, length * 2);
        wxChar* out = buffer;
        for (size_t i = 0; i < length; ++i)
            memcpy(out + 2 * i, kHexPairs.m_pair[bytes[i]], sizeof kHexPairs.m_pair[0]);
        buffer.SetLength(length * 2);
    }
    return text;
}

inline unsigned HexDigitValue(wxUint32 c)
{
    return (c >= 'A' ? c - 'A' + 10 : c - '0') & 15;
}
} // namespace

wxString kxMemoryBufferToStrHEX(const wxMemoryBuffer& buffer)
{
    return HexOf(static_cast<const unsigned char*>(buffer.GetData()), buffer.GetDataLen());
}

wxString kxMemoryBufferToStrHEX(wxMemoryOutputStream& stream)
{
    wxStreamBuffer* buffer = stream.GetOutputStreamBuffer();
    return HexOf(static_cast<const unsigned char*>(buffer->GetBufferStart()),
                 static_cast<size_t>(stream.GetLength()));
}

wxMemoryBuffer kxStrHEXToMemoryBuffer(const wxString& text)
{
    const size_t length = text.length();
    const size_t bytes = (length + 1) / 2;
    wxMemoryBuffer buffer(bytes ? bytes : 1);
    unsigned char* out = static_cast<unsigned char*>(buffer.GetWriteBuf(bytes));
    const wxChar* in = text.wc_str();
    for (size_t i = 0; i < length; i += 2)
    {
        const unsigned high = HexDigitValue(static_cast<wxUint32>(in[i]));
        const unsigned low = i + 1 < length ? HexDigitValue(static_cast<wxUint32>(in[i + 1])) : 0;
        out[i / 2] = static_cast<unsigned char>((high << 4) | low);
    }
    buffer.UngetWriteBuf(bytes);
    return buffer;
}

bool kxIsAsciiString(const wchar_t* text)
{
    if (!text)
        return false;
    if (text[0] == 0xFEFF || text[0] == 0xFFFE)
        return true;
    for (; *text; ++text)
        if (static_cast<wxUint32>(*text) > 0xFF)
            return false;
    return true;
}

namespace
{
// Fills target with units character units, unit i made of bytes 2i (low half) and 2i + 1.
template <typename ByteAt> void LayBytes(size_t units, ByteAt byteAt, wxString& target)
{
    target.clear();
    if (units == 0)
        return;
    wxStringBufferLength buffer(target, units);
    wxChar* out = buffer;
    for (size_t i = 0; i < units; ++i)
        out[i] = static_cast<wxChar>(byteAt(2 * i) | (byteAt(2 * i + 1) << 8));
    buffer.SetLength(units);
}
} // namespace

void kxSaveOriginalStr(const char* data, int length, wxString& target)
{
    if (!data || length <= 0)
    {
        target.clear();
        return;
    }
    const size_t units = (static_cast<size_t>(length) + 1) / 2;
    LayBytes(
        units,
        [data](size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(data[i])); },
        target);
}

void kxSaveOriginalStr(const wchar_t* text, wxString& target)
{
    if (!kxIsAsciiString(text))
    {
        target = text ? wxString(text) : wxString();
        return;
    }
    const size_t n = wcslen(text);
    // The two zero bytes that follow the data only ever fill the high half of the last unit.
    LayBytes((n + 1) / 2,
             [text, n](size_t i) { return i < n ? static_cast<unsigned>(text[i]) & 0xFF : 0u; },
             target);
}

namespace kxRuzoVori
{
namespace
{
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const size_t kError = static_cast<size_t>(-1);

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

inline std::uint64_t FromBigEndian(std::uint64_t value)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return value;
#else
    return __builtin_bswap64(value);
#endif
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

size_t wxBase64Encode(char* dst, size_t dstLen, const void* src, size_t srcLen)
{
    if (!src)
        return kError;
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
        std::uint64_t word;
        memcpy(&word, in + 3 * i, sizeof word);
        word = FromBigEndian(word);
        char* out = dst + 4 * i;
        memcpy(out, kPairs.m_pair[word >> 52], 2);
        memcpy(out + 2, kPairs.m_pair[(word >> 40) & 0xFFF], 2);
        memcpy(out + 4, kPairs.m_pair[(word >> 28) & 0xFFF], 2);
        memcpy(out + 6, kPairs.m_pair[(word >> 16) & 0xFFF], 2);
    }
    for (; i < fitting; ++i)
        EncodeGroup(in + 3 * i, dst + 4 * i);
    if (needed > dstLen)
        return kError;
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

size_t wxBase64Decode(void* dst, size_t dstLen, const char* src, size_t srcLen,
                      wxBase64DecodeMode mode, size_t* posErr)
{
    if (!src)
        return kError;
    if (srcLen == wxNO_LEN)
        srcLen = strlen(src);
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
        return kError;
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
            if (count == 3)
                pads = 1;
            else if (count == 2 && i + 1 < srcLen && in[i + 1] == '=')
            {
                pads = 2;
                ++i;
            }
            else if (count == 2)
                return fail(i + 1 < srcLen ? i + 1 : i);
            else
                return fail(i);
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
            const size_t bytes = 3 - pads;
            if (out && decoded + bytes > dstLen)
                return fail(i);
            if (out)
            {
                out[decoded] = static_cast<unsigned char>((quartet[0] << 2) | (quartet[1] >> 4));
                if (bytes > 1)
                    out[decoded + 1] =
                        static_cast<unsigned char>((quartet[1] << 4) | (quartet[2] >> 2));
                if (bytes > 2)
                    out[decoded + 2] = static_cast<unsigned char>((quartet[2] << 6) | quartet[3]);
            }
            decoded += bytes;
            count = 0;
        }
        ++i;
    }
    if (count != 0)
        return fail(srcLen - 1);
    return decoded;
}

wxMemoryBuffer wxBase64Decode(const char* src, size_t srcLen, wxBase64DecodeMode mode,
                              size_t* posErr)
{
    wxMemoryBuffer buffer;
    if (!src)
        return buffer;
    if (srcLen == wxNO_LEN)
        srcLen = strlen(src);
    const size_t room = srcLen / 4 * 3 + srcLen % 4 * 3 / 4;
    void* data = buffer.GetWriteBuf(room);
    const size_t decoded = kxRuzoVori::wxBase64Decode(data, room, src, srcLen, mode, posErr);
    buffer.UngetWriteBuf(decoded == kError ? 0 : decoded);
    return buffer;
}

wxString wxBase64Encode(const wxString& text)
{
    const size_t length = text.length();
    std::string bytes(length, '\0');
    const wxChar* in = text.wc_str();
    for (size_t i = 0; i < length; ++i)
    {
        if (static_cast<wxUint32>(in[i]) > 0xFF)
            return wxString();
        bytes[i] = static_cast<char>(in[i]);
    }
    const size_t needed = kxRuzoVori::wxBase64Encode(nullptr, 0, bytes.data(), length);
    std::string encoded(needed, '\0');
    kxRuzoVori::wxBase64Encode(&encoded[0], needed, bytes.data(), length);
    return wxString::FromAscii(encoded.data(), needed);
}

wxString wxBase64Decode(const wxString& text)
{
    wxString result;
    const size_t length = text.length();
    const wxChar* in = text.wc_str();
    if (length == 0 || in[0] == '=')
        return result;
    std::string bytes;
    bytes.reserve(length / 4 * 3 + 3);
    unsigned pending = 0;
    size_t i = 0;
    for (; i < length && in[i] != '='; ++i)
    {
        const wxUint32 c = in[i] == ' ' ? '+' : static_cast<wxUint32>(in[i]);
        const unsigned value = c < 256 ? kValues.m_value[c] : kForeign;
        if (value >= 64)
            return wxString();
        switch (i % 4)
        {
        case 0:
            pending = value << 2;
            break;
        case 1:
            bytes += static_cast<char>(pending | (value >> 4));
            pending = (value & 15) << 4;
            break;
        case 2:
            bytes += static_cast<char>(pending | (value >> 2));
            pending = (value & 3) << 6;
            break;
        default:
            bytes += static_cast<char>(pending | value);
            break;
        }
    }
    if (i < length && i % 4 < 2)
        return result;
    return wxString(bytes.data(), wxConvISO8859_1, bytes.size());
}
} // namespace kxRuzoVori
