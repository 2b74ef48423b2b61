// UTF-8 and number formatting shared by the JSON reader, writer and value.
#include "kxRuzoVori/json/private/wxJSONText.h"

#include "kxRuzoVori/core/private/kxUtf.h"
#include "kxRuzoVori/core/private/kxUtfString.h"

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>

size_t wxJSONFormatDouble(char* out, size_t size, const char* fmt, double d)
{
    int n = std::snprintf(out, size, fmt, d);
    if (n < 0)
    {
        out[0] = '\0';
        return 0;
    }
    size_t len = static_cast<size_t>(n) < size ? static_cast<size_t>(n) : size - 1;
    const char* point = std::localeconv()->decimal_point;
    if (point && point[0] && (point[0] != '.' || point[1]))
    {
        // Replace the locale's separator (possibly several bytes long) by a plain point.
        size_t pointLen = std::strlen(point);
        char* found = std::strstr(out, point);
        if (found)
        {
            *found = '.';
            std::memmove(found + 1, found + pointLen, len - (found - out) - pointLen + 1);
            len -= pointLen - 1;
        }
    }
    return len;
}

bool wxJSONDecodeUTF8(const char* bytes, size_t n, wxString& out, std::vector<wchar_t>& scratch)
{
    return kxUtf8ToString(bytes, n, out, scratch);
}

bool wxJSONEncodeUTF8(const wxString& text, std::string& out)
{
    const wchar_t* w = text.wc_str();
    const size_t n = text.length();
    const size_t start = out.size();
    out.reserve(start + n);
    for (size_t i = 0; i < n; ++i)
    {
        const std::uint32_t c = static_cast<std::uint32_t>(w[i]);
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (kxIsUnicodeScalar(c))
            kxUtf8Append(out, c);
        else
        {
            out.resize(start);
            return false;
        }
    }
    return true;
}
