// Buffer encipherment with padding, hexadecimal text of buffers, and the certificate of a text.
#include "kxRuzoVori/cipher/kxCypher.h"

#include "kxRuzoVori/cipher/kxDesKeySchedule.h"
#include "kxRuzoVori/cipher/wxTripleDES.h"
#include "kxRuzoVori/core/private/kxHex.h"
#include "kxRuzoVori/core/private/kxUtf.h"

#include <cstring>

namespace
{
// Used when the host gives no key. Changing it makes every text enciphered with it unreadable.
const unsigned char kDefaultKey[24] = {0x66, 0xB9, 0xB9, 0x32, 0xD0, 0x0A, 0x00, 0x42,
                                       0x01, 0x22, 0x80, 0x2F, 0x9D, 0xD4, 0xE1, 0x33,
                                       0xA3, 0xF5, 0xEA, 0xE5, 0xD9, 0x7C, 0x4D, 0x36};

// The key of every certificate. Changing it changes every certificate ever issued.
const char kCertificateKey[24] = {'\x48', '\x02', '\x4C', '\x9F', '\xFB', '\xF9', '\x41', '\xC2',
                                  '\x27', '\x48', '\xA9', '\xF1', '\xEB', '\x1B', '\x34', '\xFC',
                                  '\x63', '\xBA', '\x60', '\x7E', '\x2D', '\x32', '\xA8', '\xD9'};

// The value of an upper-case hex digit; anything else reads as 0.
unsigned char HexValue(wxUniChar c)
{
    const int value = kxUpperHexValue(c.GetValue());
    return static_cast<unsigned char>(value < 0 ? 0 : value);
}

void AppendUtf16Le(wxUint32 unit, wxMemoryBuffer& bytes)
{
    bytes.AppendByte(static_cast<char>(unit & 0xff));
    bytes.AppendByte(static_cast<char>(unit >> 8));
}
} // namespace

kxCypher::kxCypher(wxMemoryBuffer key, unsigned char mode, unsigned char padByte)
    : m_mode(mode), m_padByte(padByte)
{
    size_t wanted = 0;
    if (key.GetDataLen() == 0)
    {
        m_mode = 0;
        m_key.AppendData(kDefaultKey, sizeof kDefaultKey);
    }
    else if (mode == 0)
        wanted = 24;
    else if (mode == 1)
        wanted = 8;
    else
    {
        // An unknown mode keeps none of the caller's bytes; the built-in key stands in.
        m_mode = 0;
        m_key.AppendData(kDefaultKey, sizeof kDefaultKey);
    }
    if (wanted)
    {
        // A key shorter than its mode needs is completed with zero bytes rather than read past.
        const size_t available = key.GetDataLen() < wanted ? key.GetDataLen() : wanted;
        m_key.AppendData(key.GetData(), available);
        for (size_t i = available; i < wanted; ++i)
            m_key.AppendByte(0);
    }
}

bool kxCypher::EncryptBlock(wxMemoryBuffer in, wxMemoryBuffer& out)
{
    _padBuffer(in);
    _processBlock(in, out, true);
    return true;
}

bool kxCypher::DecryptBlock(wxMemoryBuffer in, wxMemoryBuffer& out)
{
    _processBlock(in, out, false);
    return true;
}

void kxCypher::_padBuffer(wxMemoryBuffer& buffer)
{
    const size_t length = buffer.GetDataLen();
    const size_t missing = (length == 0) ? 8 : (8 - length % 8) % 8;
    if (missing == 0)
        return;
    memset(buffer.GetAppendBuf(missing), m_padByte, missing);
    buffer.UngetAppendBuf(missing);
}

void kxCypher::_processBlock(wxMemoryBuffer& in, wxMemoryBuffer& out, bool encrypt)
{
    const size_t length = in.GetDataLen();
    const size_t blocks = length / 8;
    const size_t previous = out.GetDataLen();
    // Grow out before looking at in: the two may share one storage that the growth moves.
    unsigned char* target = static_cast<unsigned char*>(out.GetWriteBuf(length));
    const unsigned char* source = static_cast<const unsigned char*>(in.GetData());
    if (m_mode == 1)
    {
        kxDesKeySchedule schedule;
        schedule.Build(static_cast<const unsigned char*>(m_key.GetData()), !encrypt);
        schedule.ProcessBlocks(source, target, blocks);
    }
    else
    {
        wxTripleDES engine(static_cast<const char*>(m_key.GetData()), !encrypt);
        engine.ProcessBlocks(source, target, blocks);
    }
    // A trailing partial block is not deciphered; bytes that out never held are zeroed rather
    // than left as whatever the allocator gave.
    for (size_t i = previous > blocks * 8 ? previous : blocks * 8; i < length; ++i)
        target[i] = 0;
    out.UngetWriteBuf(length);
}

wxString kxCypher::ToAsciiHex(const wxMemoryBuffer& buffer)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(buffer.GetData());
    wxString text;
    text.reserve(buffer.GetDataLen() * 2);
    for (size_t i = 0; i < buffer.GetDataLen(); ++i)
    {
        text += wxUniChar(kxHexDigit(bytes[i] >> 4));
        text += wxUniChar(kxHexDigit(bytes[i]));
    }
    return text;
}

wxString kxCypher::_toAsciiHex(unsigned char byte)
{
    const wxChar digits[3] = {wxChar(kxHexDigit(byte >> 4)), wxChar(kxHexDigit(byte)), 0};
    return wxString(digits);
}

wxMemoryBuffer kxCypher::ToMemoryBuffer(const wxString& text)
{
    wxMemoryBuffer buffer;
    for (size_t i = 0; i + 1 < text.length(); i += 2)
        buffer.AppendByte(static_cast<char>((HexValue(text[i]) << 4) | HexValue(text[i + 1])));
    return buffer;
}

wxString kxCypher::CalcSertificate(const wxString& text)
{
    wxMemoryBuffer message;
    for (wxString::const_iterator it = text.begin(); it != text.end(); ++it)
    {
        const wxUint32 c = (*it).GetValue();
        if (c > 0xffff)
        {
            AppendUtf16Le(kxHighSurrogateOf(c), message);
            AppendUtf16Le(kxLowSurrogateOf(c), message);
        }
        else
            AppendUtf16Le(c, message);
    }
    wxTripleDES engine(kCertificateKey, false);
    const unsigned char* bytes = static_cast<const unsigned char*>(message.GetData());
    const size_t length = message.GetDataLen();
    char chain[8] = {};
    // The final block always exists: the tail of the message, zero-filled, or 8 zero bytes.
    for (size_t offset = 0; offset <= length; offset += 8)
    {
        for (size_t i = 0; i < 8 && offset + i < length; ++i)
            chain[i] = static_cast<char>(chain[i] ^ bytes[offset + i]);
        engine.ProcessBlock(chain, chain);
    }
    wxString certificate;
    for (char byte : chain)
        certificate += _toAsciiHex(static_cast<unsigned char>(byte));
    return certificate;
}
