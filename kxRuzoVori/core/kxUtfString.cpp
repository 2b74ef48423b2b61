// Texts from UTF-8 bytes.
#include "kxRuzoVori/core/private/kxUtfString.h"

#include "kxRuzoVori/core/private/kxUtf.h"

#include <cstdint>

bool kxUtf8ToString(const char* bytes, size_t n, wxString& out, std::vector<wchar_t>& scratch)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    if (scratch.size() < n)
        scratch.resize(n);
    wchar_t* w = scratch.data();
    size_t count = 0;
    for (size_t i = 0; i < n;)
    {
        std::uint32_t c;
        const size_t length = kxUtf8Decode(p + i, n - i, c);
        if (length == 0)
            return false;
        w[count++] = static_cast<wchar_t>(c);
        i += length;
    }
    out.assign(w, count);
    return true;
}
