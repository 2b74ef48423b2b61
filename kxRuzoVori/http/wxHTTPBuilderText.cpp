// The request builder's text helpers: URL parsing, url-encoding, HTML escapes, hex, Base64,
// boundaries, and the query, form and cookie texts built from the request values.
#include "kxRuzoVori/http/wxHTTPBuilder.h"

#include "kxRuzoVori/core/private/kxHex.h"
#include "kxRuzoVori/core/private/kxUtf.h"
#include "kxRuzoVori/kxHelpers/kxEncoding.h"

#include <cstdlib>
#include <ctime>

namespace
{
bool IsAsciiLetterOrDigit(wxUniChar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A URL may hold neither blanks nor control characters: they would break the request line.
bool HasBlankOrControl(const wxString& url)
{
    for (wxUniChar c : url)
    {
        if (c <= ' ' || c == 0x7F)
            return true;
    }
    return false;
}

// A port is a decimal number from 1 to 65535.
bool ParsePort(const wxString& text, int& port)
{
    if (text.empty() || text.length() > 5)
        return false;
    int value = 0;
    for (wxUniChar c : text)
    {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<int>(c.GetValue() - '0');
    }
    if (value < 1 || value > 65535)
        return false;
    port = value;
    return true;
}

void AppendPair(wxString& text, const wxString& name, const wxString& value)
{
    text << wxHTTPBuilder::URLEncode(name) << wxS('=') << wxHTTPBuilder::URLEncode(value);
}
// Appends value in upper-case hex, at least two digits.
void AppendHex(wxString& out, unsigned value)
{
    int shift = 4;
    while (shift < 28 && (value >> (shift + 4)) != 0)
        shift += 4;
    for (; shift >= 0; shift -= 4)
        out += wxUniChar(kxHexDigit(value >> shift));
}
} // namespace

bool wxHTTPBuilder::ParseURL(const wxString& url, wxString& protocol, wxString& host, int& port,
                             wxString& path, wxString& user, wxString& password)
{
    const size_t colon = url.find(wxS(':'));
    if (colon == wxString::npos || colon == 0 || HasBlankOrControl(url))
        return false;
    wxString rest = url.substr(colon + 1);
    if (!rest.StartsWith(wxS("//"), &rest))
        return false;

    const size_t slash = rest.find(wxS('/'));
    wxString hostPart = rest.substr(0, slash);
    const wxString newPath = slash == wxString::npos ? wxString(wxS("/")) : rest.substr(slash);

    wxString newUser, newPassword;
    const size_t at = hostPart.rfind(wxS('@'));
    if (at != wxString::npos)
    {
        const wxString credentials = hostPart.substr(0, at);
        newUser = credentials.BeforeFirst(wxS(':'), &newPassword);
        hostPart = hostPart.substr(at + 1);
    }

    const wxString newProtocol = url.substr(0, colon);
    int newPort = newProtocol.IsSameAs(wxS("https"), false) ? 443 : 80;
    const size_t portColon = hostPart.find(wxS(':'));
    if (portColon != wxString::npos)
    {
        if (!ParsePort(hostPart.substr(portColon + 1), newPort))
            return false;
        hostPart.Truncate(portColon);
    }
    if (hostPart.empty())
        return false;

    protocol = newProtocol;
    host = hostPart;
    port = newPort;
    path = newPath;
    user = newUser;
    password = newPassword;
    return true;
}

wxString wxHTTPBuilder::URLEncode(const wxString& value)
{
    wxString encoded;
    encoded.reserve(value.length() * 3);
    for (wxUniChar c : value)
    {
        const wxUint32 code = c.GetValue();
        if (IsAsciiLetterOrDigit(c) || c == '-' || c == '*' || c == '@' || c == '_')
            encoded += c;
        else if (c == ' ')
            encoded += wxS('+');
        else if (code > 0xFFFF)
        {
            // Counted in UTF-16 units: a character beyond them is a surrogate pair.
            encoded += wxS('%');
            AppendHex(encoded, kxHighSurrogateOf(code));
            encoded += wxS('%');
            AppendHex(encoded, kxLowSurrogateOf(code));
        }
        else
        {
            encoded += wxS('%');
            AppendHex(encoded, code);
        }
    }
    return encoded;
}

wxString wxHTTPBuilder::URLDecode(const wxString& value)
{
    wxString plain = value;
    plain.Replace(wxS("+"), wxS(" "));
    wxString decoded;
    decoded.reserve(plain.length());
    for (wxString::const_iterator it = plain.begin(); it != plain.end(); ++it)
    {
        if (*it != '%')
        {
            decoded += *it;
            continue;
        }
        wxString::const_iterator first = it + 1;
        if (first == plain.end() || first + 1 == plain.end())
            continue;
        const int high = kxHexValue((*first).GetValue());
        const int low = kxHexValue((*(first + 1)).GetValue());
        if (high < 0 || low < 0)
            continue;
        decoded += wxUniChar(static_cast<unsigned>(high * 16 + low));
        it += 2;
    }
    return decoded;
}

wxString wxHTTPBuilder::HTMLSpecialChars(const wxString& text, bool singleQuotes, bool doubleQuotes)
{
    wxString escaped = text;
    escaped.Replace(wxS("&"), wxS("&amp;"));
    if (singleQuotes)
        escaped.Replace(wxS("'"), wxS("&#039;"));
    if (doubleQuotes)
        escaped.Replace(wxS("\""), wxS("&quot;"));
    escaped.Replace(wxS("<"), wxS("&lt;"));
    escaped.Replace(wxS(">"), wxS("&gt;"));
    return escaped;
}

wxString wxHTTPBuilder::Base64Encode(const wxString& text)
{
    return kxRuzoVori::wxBase64Encode(text);
}

wxString wxHTTPBuilder::Base64Decode(const wxString& text)
{
    return kxRuzoVori::wxBase64Decode(text);
}

int wxHTTPBuilder::IntFromHex(const wxString& hex)
{
    if (hex.length() < 2)
        return -1;
    const int high = kxHexValue(hex[0].GetValue());
    const int low = kxHexValue(hex[1].GetValue());
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

wxString wxHTTPBuilder::HexFromInt(int value)
{
    wxString hex;
    AppendHex(hex, static_cast<unsigned>(value));
    return hex;
}

wxString wxHTTPBuilder::CreateBoundary(int length)
{
    wxString boundary;
    if (length <= 0)
        return boundary;
    boundary.reserve(length);
    const int dashes = length / 3 * 2;
    for (int i = 0; i < length; ++i)
    {
        if (i < 2 || i < dashes)
        {
            boundary += wxS('-');
            continue;
        }
        wxUniChar c;
        do
            c = wxUniChar(static_cast<unsigned>(Rand() % 96 + 32));
        while (!IsAsciiLetterOrDigit(c));
        boundary += c;
    }
    return boundary;
}

int wxHTTPBuilder::Rand()
{
    return rand();
}

void wxHTTPBuilder::SRand()
{
    srand(static_cast<unsigned>(time(nullptr)));
}

wxString wxHTTPBuilder::GetQueryString(bool includeAny) const
{
    wxString query;
    for (size_t i = 0; i < m_valueNames.size(); ++i)
    {
        const int kind = m_valueKinds[i];
        if (kind != wxHTTP_TYPE_GET && !(includeAny && kind == wxHTTP_TYPE_ANY))
            continue;
        query += query.empty() ? wxS('?') : wxS('&');
        AppendPair(query, m_valueNames[i], m_valueTexts[i]);
    }
    return query;
}

wxString wxHTTPBuilder::GetCookieString() const
{
    wxString cookies;
    for (size_t i = 0; i < m_valueNames.size(); ++i)
    {
        const int kind = m_valueKinds[i];
        if (kind != wxHTTP_TYPE_COOKIE && kind != wxHTTP_TYPE_COOKIERAW)
            continue;
        if (!cookies.empty())
            cookies += wxS("; ");
        cookies << m_valueNames[i] << wxS('=')
                << (kind == wxHTTP_TYPE_COOKIE ? URLEncode(m_valueTexts[i]) : m_valueTexts[i]);
    }
    return cookies;
}

wxString wxHTTPBuilder::GetPostBuffer()
{
    if (m_valueKinds.Index(wxHTTP_TYPE_POST) == wxNOT_FOUND)
        return wxString();
    wxString body;
    for (size_t i = 0; i < m_valueNames.size(); ++i)
    {
        const int kind = m_valueKinds[i];
        if (kind != wxHTTP_TYPE_POST && kind != wxHTTP_TYPE_ANY)
            continue;
        if (!body.empty())
            body += wxS('&');
        AppendPair(body, m_valueNames[i], m_valueTexts[i]);
    }
    if (!PrivateHasHeader(wxS("Content-Length")))
        PrivateSetOwnHeader(
            wxS("Content-Length"),
            wxString::Format(wxS("%lu"), static_cast<unsigned long>(body.length())));
    if (!PrivateHasHeader(wxS("Content-Type")))
        PrivateSetOwnHeader(wxS("Content-Type"), wxS("application/x-www-form-urlencoded"));
    return body;
}
