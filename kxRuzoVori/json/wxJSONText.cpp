#include "kxRuzoVori/json/wxJSONText.h"

#include <clocale>
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
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    if (scratch.size() < n)
        scratch.resize(n);
    wchar_t* w = scratch.data();
    size_t i = 0;
    size_t count = 0;
    while (i < n)
    {
        unsigned c = p[i];
        if (c < 0x80)
        {
            w[count++] = static_cast<wchar_t>(c);
            ++i;
            continue;
        }
        unsigned cp;
        size_t extra;
        unsigned min;
        if ((c & 0xE0) == 0xC0)
        {
            cp = c & 0x1F;
            extra = 1;
            min = 0x80;
        }
        else if ((c & 0xF0) == 0xE0)
        {
            cp = c & 0x0F;
            extra = 2;
            min = 0x800;
        }
        else if ((c & 0xF8) == 0xF0)
        {
            cp = c & 0x07;
            extra = 3;
            min = 0x10000;
        }
        else
            return false;
        if (n - i <= extra)
            return false;
        for (size_t k = 1; k <= extra; ++k)
        {
            unsigned cc = p[i + k];
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        w[count++] = static_cast<wchar_t>(cp);
        i += extra + 1;
    }
    out.assign(w, count);
    return true;
}

bool wxJSONEncodeUTF8(const wxString& text, std::string& out)
{
    const wchar_t* w = text.wc_str();
    size_t n = text.length();
    size_t start = out.size();
    out.reserve(start + n);
    for (size_t i = 0; i < n; ++i)
    {
        unsigned c = static_cast<unsigned>(w[i]);
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0x800)
        {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else if (c < 0x10000)
        {
            if (c >= 0xD800 && c <= 0xDFFF)
            {
                out.resize(start);
                return false;
            }
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else if (c <= 0x10FFFF)
        {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
        else
        {
            out.resize(start);
            return false;
        }
    }
    return true;
}
