// The text of a settings entry: numbers in the "C" locale's form, and the type letters.
#include "kxRuzoVori/settings/private/kxSettingsEntry.h"

#include <charconv>
#include <limits>

namespace kxSettingsEntry
{
namespace
{
bool IsSpace(wxUniChar c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
} // namespace

wxInt32 ClampToInt32(long value)
{
    if (value > std::numeric_limits<wxInt32>::max())
        return std::numeric_limits<wxInt32>::max();
    if (value < std::numeric_limits<wxInt32>::min())
        return std::numeric_limits<wxInt32>::min();
    return static_cast<wxInt32>(value);
}

wxInt32 ParseLong(const wxString& text)
{
    wxString::const_iterator it = text.begin();
    const wxString::const_iterator end = text.end();
    while (it != end && IsSpace(*it))
        ++it;
    bool negative = false;
    if (it != end && (*it == '-' || *it == '+'))
    {
        negative = *it == '-';
        ++it;
    }
    long long value = 0;
    for (; it != end && *it >= '0' && *it <= '9'; ++it)
    {
        if (value <= 1LL << 32)
            value = value * 10 + (static_cast<wxUniChar>(*it).GetValue() - '0');
    }
    return ClampToInt32(static_cast<long>(negative ? -value : value));
}

double ParseReal(const wxString& text)
{
    char buffer[512];
    size_t length = 0;
    wxString::const_iterator it = text.begin();
    while (it != text.end() && IsSpace(*it))
        ++it;
    if (it != text.end() && *it == '+')
        ++it;
    for (; it != text.end() && length < sizeof buffer; ++it)
    {
        const wxUniChar c = *it;
        if (!c.IsAscii() || c == '\0')
            break;
        buffer[length++] = static_cast<char>(c.GetValue());
    }
    double value = 0;
    if (std::from_chars(buffer, buffer + length, value).ec != std::errc())
        return 0;
    return value;
}

wxString FormatLong(wxInt32 value)
{
    char buffer[16];
    const std::to_chars_result end = std::to_chars(buffer, buffer + sizeof buffer, value);
    return wxString::FromAscii(buffer, end.ptr - buffer);
}

wxString FormatReal(double value)
{
    char buffer[400];
    const std::to_chars_result end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return wxString::FromAscii(buffer, end.ptr - buffer);
}

bool IsSavedType(wchar_t type)
{
    return type == L'B' || type == L'D' || type == L'L' || type == L'S' || type == L'U';
}

bool FormatEntry(wxInt32 id, const kxSettingsItem& item, wxString& entry)
{
    wxString text;
    switch (item.m_type)
    {
    case L'B':
        text = item.m_flag ? wxS("1") : wxS("0");
        break;
    case L'D':
        text = FormatReal(item.m_real);
        break;
    case L'L':
        text = FormatLong(item.m_number);
        break;
    case L'S':
    case L'U':
        text = item.m_text;
        break;
    default:
        return false;
    }
    entry.reserve(text.length() + 14);
    entry = wxUniChar(item.m_type);
    entry += ':';
    entry += FormatLong(id);
    entry += ':';
    entry += text;
    return true;
}

bool ConvertText(kxSettingsItem& item, wchar_t type, const wxString& text)
{
    switch (type)
    {
    case L'B':
        item.m_flag = text == wxS("1");
        return true;
    case L'D':
        item.m_real = ParseReal(text);
        return true;
    case L'L':
        item.m_number = ParseLong(text);
        return true;
    case L'S':
    case L'U':
        item.m_text = text;
        return true;
    default:
        return false;
    }
}
} // namespace kxSettingsEntry
