// Texts from UTF-8 bytes.
#include "kxRuzoVori/core/private/kxUtfString.h"

#include "kxRuzoVori/core/private/kxUtf.h"

#include <cstdint>

namespace
{
constexpr size_t kIllFormed = static_cast<size_t>(-1);

// Decodes n bytes into w and returns the count of characters, or kIllFormed at the first
// sequence that is not strict UTF-8. Never writes more characters than n has lead bytes.
size_t Decode(const unsigned char* p, size_t n, wchar_t* w)
{
    size_t count = 0;
    for (size_t i = 0; i < n;)
    {
        if (p[i] < 0x80)
        {
            w[count++] = p[i++];
            continue;
        }
        std::uint32_t c;
        const size_t length = kxUtf8Decode(p + i, n - i, c);
        if (length == 0)
            return kIllFormed;
        w[count++] = static_cast<wchar_t>(c);
        i += length;
    }
    return count;
}
} // namespace

bool kxUtf8ToString(const char* bytes, size_t n, wxString& out, std::vector<wchar_t>& scratch)
{
    if (scratch.size() < n)
        scratch.resize(n);
    const size_t count = Decode(reinterpret_cast<const unsigned char*>(bytes), n, scratch.data());
    if (count == kIllFormed)
        return false;
    out.assign(scratch.data(), count);
    return true;
}

bool kxUtf8ToString(const char* bytes, size_t n, wxString& out)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    // Every byte that is no continuation byte begins a character.
    size_t characters = 0;
    for (size_t i = 0; i < n; ++i)
        characters += (p[i] & 0xC0) != 0x80;
    wxString text;
    {
        wxStringBufferLength buffer(text, characters);
        const size_t count = Decode(p, n, buffer);
        if (count == kIllFormed)
        {
            buffer.SetLength(0);
            return false;
        }
        buffer.SetLength(count);
    }
    out.swap(text);
    return true;
}
