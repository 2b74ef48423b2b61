#include "kxRuzoVori/kxHelpers/kxEncoding.h"

wxString g_kxEmptyString;
long long g_kxEmptyLongLong = 0;
unsigned long g_kxEmptyULong = 0;

namespace
{
const char kHexDigits[] = "0123456789ABCDEF";

// Writes the hex text of length bytes straight into the string's own storage.
wxString HexOf(const unsigned char* bytes, size_t length)
{
    wxString text;
    if (length == 0)
        return text;
    {
        wxStringBufferLength buffer(text, length * 2);
        wxChar* out = buffer;
        for (size_t i = 0; i < length; ++i)
        {
            out[2 * i] = kHexDigits[bytes[i] >> 4];
            out[2 * i + 1] = kHexDigits[bytes[i] & 15];
        }
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
