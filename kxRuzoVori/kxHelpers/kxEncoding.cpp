// Hexadecimal and Base64 text of buffers, and 8-bit data kept in wide strings.
#include "kxRuzoVori/kxHelpers/kxEncoding.h"

#include "kxRuzoVori/core/private/kxBase64.h"
#include "kxRuzoVori/core/private/kxHex.h"
#include "kxRuzoVori/core/private/kxUtf.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

wxString g_kxEmptyString;
long long g_kxEmptyLongLong = 0;
unsigned long g_kxEmptyULong = 0;

namespace
{
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
        pairs.m_pair[i][0] = kxHexDigit(i >> 4);
        pairs.m_pair[i][1] = kxHexDigit(i);
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

// One byte per pair of the length digits at in; an odd last digit gets a low digit of 0.
template <class Unit> wxMemoryBuffer HexToBytes(const Unit* in, size_t length)
{
    const size_t bytes = (length + 1) / 2;
    wxMemoryBuffer buffer(bytes ? bytes : 1);
    unsigned char* out = static_cast<unsigned char*>(buffer.GetWriteBuf(bytes));
    for (size_t i = 0; i < length; i += 2)
    {
        const unsigned high = HexDigitValue(static_cast<wxUint32>(in[i]));
        const unsigned low = i + 1 < length ? HexDigitValue(static_cast<wxUint32>(in[i + 1])) : 0;
        out[i / 2] = static_cast<unsigned char>((high << 4) | low);
    }
    buffer.UngetWriteBuf(bytes);
    return buffer;
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
    const wchar_t* in = text.wc_str();
    const size_t length = text.length();
    if (std::none_of(in, in + length, [](wchar_t c) { return static_cast<wxUint32>(c) > 0xFFFF; }))
        return HexToBytes(in, length);
    // Digits pair up by UTF-16 code units: a character above U+FFFF is two of them.
    std::vector<wxUint32> units;
    units.reserve(length + 1);
    for (size_t i = 0; i < length; ++i)
    {
        const wxUint32 c = static_cast<wxUint32>(in[i]);
        if (c > 0xFFFF && c <= 0x10FFFF)
        {
            units.push_back(kxHighSurrogateOf(c));
            units.push_back(kxLowSurrogateOf(c));
        }
        else
            units.push_back(c);
    }
    return HexToBytes(units.data(), units.size());
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
size_t wxBase64Encode(char* dst, size_t dstLen, const void* src, size_t srcLen)
{
    return kxBase64Encode(dst, dstLen, src, srcLen);
}

size_t wxBase64Decode(void* dst, size_t dstLen, const char* src, size_t srcLen,
                      wxBase64DecodeMode mode, size_t* posErr)
{
    return kxBase64Decode(dst, dstLen, src, srcLen, mode, posErr);
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
    const size_t decoded = kxBase64Decode(data, room, src, srcLen, mode, posErr);
    buffer.UngetWriteBuf(decoded == kxBase64Error ? 0 : decoded);
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
    const std::string encoded = kxBase64Encode(bytes.data(), length);
    return wxString::FromAscii(encoded.data(), encoded.size());
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
        const unsigned value = c < 256 ? kxBase64Value(static_cast<unsigned char>(c)) : 64;
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
