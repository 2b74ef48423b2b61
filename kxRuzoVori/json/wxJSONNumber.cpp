// Numbers in JSON text, read without regard to the locale.
#include "kxRuzoVori/json/private/wxJSONNumber.h"

#include <charconv>

bool wxJSONParseDigits(const char* p, size_t n, unsigned long long* value, char* sign)
{
    *sign = 0;
    if (n && (p[0] == '+' || p[0] == '-'))
    {
        *sign = p[0];
        ++p;
        --n;
    }
    if (n > 20)
        return false;
    static const char maxDigits[] = "18446744073709551615";
    if (n == 20)
    {
        for (size_t i = 0; i < 20; ++i)
        {
            if (p[i] < '0' || p[i] > '9')
                return false;
            if (p[i] != maxDigits[i])
            {
                if (p[i] > maxDigits[i])
                    return false;
                break;
            }
        }
    }
    unsigned long long v = 0;
    for (size_t i = 0; i < n; ++i)
    {
        if (p[i] < '0' || p[i] > '9')
            return false;
        v = v * 10 + static_cast<unsigned>(p[i] - '0');
    }
    *value = v;
    return true;
}

bool wxJSONParseSigned(const char* p, size_t n, long long* out)
{
    unsigned long long v;
    char sign;
    if (!wxJSONParseDigits(p, n, &v, &sign))
        return false;
    if (sign == '-')
    {
        if (v > (1ULL << 63))
            return false;
        *out = static_cast<long long>(0 - v);
        return true;
    }
    if (v >= (1ULL << 63))
        return false;
    *out = static_cast<long long>(v);
    return true;
}

bool wxJSONParseUnsigned(const char* p, size_t n, unsigned long long* out)
{
    unsigned long long v;
    char sign;
    if (!wxJSONParseDigits(p, n, &v, &sign) || sign == '-')
        return false;
    *out = v;
    return true;
}

bool wxJSONParseDouble(const char* p, size_t n, double* out)
{
    for (size_t i = 0; i < n; ++i)
    {
        char c = p[i];
        if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-'))
            return false;
    }
    if (n && p[0] == '+')
    {
        ++p;
        --n;
        if (n && p[0] == '-')
            return false;
    }
    double d;
    std::from_chars_result r = std::from_chars(p, p + n, d);
    if (r.ec != std::errc() || r.ptr != p + n)
        return false;
    *out = d;
    return true;
}
