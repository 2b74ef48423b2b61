// The request builder's values, settings, content types and response facts.
#include "kxRuzoVori/http/wxHTTPBuilder.h"

#include "kxRuzoVori/http/private/kxHttpConnection.h"

#include <wx/filename.h>
#include <wx/thread.h>

#include <climits>

namespace
{
// Characters that would end a cookie's name or value on the wire.
const wxString kCookieSeparators = wxS("=,; \t\r\n\v\f");

bool IsStoredKind(int kind)
{
    return kind >= wxHTTPBuilder::wxHTTP_TYPE_GET && kind <= wxHTTPBuilder::wxHTTP_TYPE_COOKIERAW;
}

bool IsMultipartKind(int kind)
{
    return kind == wxHTTPBuilder::wxHTTP_TYPE_FILE ||
           kind == wxHTTPBuilder::wxHTTP_TYPE_MULTIPARTDATA;
}

bool IsCookieKind(int kind)
{
    return kind == wxHTTPBuilder::wxHTTP_TYPE_COOKIE ||
           kind == wxHTTPBuilder::wxHTTP_TYPE_COOKIERAW;
}

// A counter that stops at the largest int instead of wrapping after 2 GiB.
void AddSaturating(int& counter, int count)
{
    if (count <= 0)
        return;
    counter = count > INT_MAX - counter ? INT_MAX : counter + count;
}

struct ReasonPhrase
{
    int m_code;
    const char* m_phrase;
};

const ReasonPhrase kReasonPhrases[] = {
    {100, "Continue"},
    {101, "Switching Protocols"},
    {200, "OK"},
    {201, "Created"},
    {202, "Accepted"},
    {203, "Non-Authoritative Information"},
    {204, "No Content"},
    {205, "Reset Content"},
    {206, "Partial Content"},
    {300, "Multiple Choices"},
    {301, "Moved Permanently"},
    {302, "Found"},
    {303, "See Other"},
    {304, "Not Modified"},
    {305, "Use Proxy"},
    {307, "Temporary Redirect"},
    {400, "Bad Request"},
    {401, "Unauthorized"},
    {402, "Payment Required"},
    {403, "Forbidden"},
    {404, "Not Found"},
    {405, "Method Not Allowed"},
    {406, "Not Acceptable"},
    {407, "Proxy Authentication Required"},
    {408, "Request Time-out"},
    {409, "Conflict"},
    {410, "Gone"},
    {411, "Length Required"},
    {412, "Precondition Failed"},
    {413, "Request Entity Too Large"},
    {414, "Request-URI Too Large"},
    {415, "Unsupported Media Type"},
    {416, "Requested range not satisfiable"},
    {417, "Expectation Failed"},
    {500, "Internal Server Error"},
    {501, "Not Implemented"},
    {502, "Bad Gateway"},
    {503, "Service Unavailable"},
    {504, "Gateway Time-out"},
    {505, "HTTP Version not supported"},
};
} // namespace

wxHTTPBuilder::wxHTTPBuilder() : m_connection(std::make_unique<kxHttpConnection>(*this))
{
    // A worker thread may use this builder later: the toolkit's sockets must be set up on the
    // main thread before that.
    if (wxThread::IsMain() && !wxSocketBase::IsInitialized())
        wxSocketBase::Initialize();
}

wxHTTPBuilder::~wxHTTPBuilder() = default;

// ---- request values ----

int wxHTTPBuilder::FindNamePosition(const wxString& name, wxHTTP_Type kind) const
{
    const bool anyKind = kind == wxHTTP_TYPE_ANY || IsCookieKind(kind);
    for (size_t i = 0; i < m_valueNames.size(); ++i)
    {
        if (m_valueNames[i] == name && (anyKind || m_valueKinds[i] == kind))
            return static_cast<int>(i);
    }
    return -1;
}

bool wxHTTPBuilder::SetValue(const wxString& name, const wxString& value, wxHTTP_Type kind)
{
    if (!IsStoredKind(kind))
        return false;
    const int at = FindNamePosition(name, kind);
    if (at >= 0)
    {
        m_valueTexts[at] = value;
        return true;
    }
    m_valueNames.Add(name);
    m_valueTexts.Add(value);
    m_valueKinds.Add(kind);
    if (IsMultipartKind(kind))
        ++m_multipartCount;
    return true;
}

wxString wxHTTPBuilder::GetValue(const wxString& name, wxHTTP_Type kind) const
{
    const int at = FindNamePosition(name, kind);
    return at < 0 ? wxString() : m_valueTexts[at];
}

void wxHTTPBuilder::RemoveValue(const wxString& name, wxHTTP_Type kind)
{
    const int at = FindNamePosition(name, kind);
    if (at < 0)
        return;
    if (IsMultipartKind(m_valueKinds[at]))
        --m_multipartCount;
    m_valueNames.RemoveAt(at);
    m_valueTexts.RemoveAt(at);
    m_valueKinds.RemoveAt(at);
}

bool wxHTTPBuilder::SetRequestCookie(const wxString& name, const wxString& value, bool encode)
{
    if (name.find_first_of(kCookieSeparators) != wxString::npos)
        return false;
    if (!encode && value.find_first_of(kCookieSeparators) != wxString::npos)
        return false;
    return SetValue(name, value, encode ? wxHTTP_TYPE_COOKIE : wxHTTP_TYPE_COOKIERAW);
}

// ---- proxy and authentication ----

void wxHTTPBuilder::HttpProxy(const wxString& host, long port)
{
    m_proxy.m_hostName = host;
    m_proxy.m_port = port;
    m_proxy.m_useProxy = true;
    m_proxyInUse = false;
}

void wxHTTPBuilder::UseHttpProxy(bool useProxy)
{
    m_proxy.m_useProxy = useProxy;
    m_proxyInUse = false;
}

void wxHTTPBuilder::HttpProxyAuth(const wxString& user, const wxString& password, bool required)
{
    m_proxy.m_userName = user;
    m_proxy.m_password = password;
    m_proxy.m_requiresAuth = required;
}

void wxHTTPBuilder::HttpProxyExceptions(const wxString& exceptions, const wxString& delimiter)
{
    m_proxy.m_exceptions = exceptions;
    m_proxy.m_exceptionsDelimiter = delimiter;
}

void wxHTTPBuilder::SetProxySettings(const wxProxySettings& settings)
{
    m_proxy = settings;
}

wxProxySettings wxHTTPBuilder::GetProxySettings() const
{
    return m_proxy;
}

void wxHTTPBuilder::Authenticate(const wxString& user, const wxString& password,
                                 wxHTTPAuthSettings::wxHTTP_Auth scheme)
{
    m_auth.m_userName = user;
    m_auth.m_password = password;
    m_auth.m_authType = scheme;
}

void wxHTTPBuilder::SetAuthentication(const wxHTTPAuthSettings& settings)
{
    m_auth = settings;
}

wxHTTPAuthSettings wxHTTPBuilder::GetAuthentication() const
{
    return m_auth;
}

bool wxHTTPBuilder::UseProxyForHost(const wxString& host)
{
    const wxString lowerHost = host.Lower();
    const wxString& delimiter = m_proxy.m_exceptionsDelimiter;
    const wxString& list = m_proxy.m_exceptions;
    size_t start = 0;
    while (start <= list.length())
    {
        size_t end = delimiter.empty() ? wxString::npos : list.find(delimiter, start);
        if (end == wxString::npos)
            end = list.length();
        wxString piece = list.substr(start, end - start);
        piece.Trim(true).Trim(false);
        if (!piece.empty() && lowerHost.EndsWith(piece.Lower()))
            return false;
        start = end + (delimiter.empty() ? 1 : delimiter.length());
    }
    return true;
}

// ---- content types ----

namespace
{
// Where the table holds extension (compared without regard to case), or wxNOT_FOUND.
int FindExtension(const wxArrayString& extensions, const wxString& extension)
{
    for (size_t i = 0; i < extensions.size(); ++i)
    {
        if (extensions[i].IsSameAs(extension, false))
            return static_cast<int>(i);
    }
    return wxNOT_FOUND;
}
} // namespace

void wxHTTPBuilder::AddContentType(const wxString& extension, const wxString& type)
{
    const int at = FindExtension(m_extensions, extension);
    if (at != wxNOT_FOUND)
    {
        m_contentTypes[at] = type;
        return;
    }
    m_extensions.Add(extension);
    m_contentTypes.Add(type);
}

void wxHTTPBuilder::RemoveContentType(const wxString& extension)
{
    const int at = FindExtension(m_extensions, extension);
    if (at == wxNOT_FOUND)
        return;
    m_extensions.RemoveAt(at);
    m_contentTypes.RemoveAt(at);
}

void wxHTTPBuilder::InitContentTypes()
{
    static const char* const builtIn[][2] = {
        {"txt", "text/plain"}, {"html", "text/html"},      {"htm", "text/html"},
        {"gif", "image/gif"},  {"jpg", "image/jpeg"},      {"jpeg", "image/jpeg"},
        {"bmp", "image/bmp"},  {"avi", "video/avi"},       {"mpeg", "video/mpeg"},
        {"mpg", "video/mpeg"}, {"pdf", "application/pdf"}, {"zip", "application/zip"},
    };
    for (const auto& pair : builtIn)
    {
        const wxString extension = wxString::FromAscii(pair[0]);
        if (FindExtension(m_extensions, extension) == wxNOT_FOUND)
            AddContentType(extension, wxString::FromAscii(pair[1]));
    }
}

wxString wxHTTPBuilder::GetContentType(const wxString& file) const
{
    wxString extension;
    wxFileName::SplitPath(file, nullptr, nullptr, &extension);
    const int at = extension.empty() ? wxNOT_FOUND : FindExtension(m_extensions, extension);
    return at == wxNOT_FOUND ? wxString(wxS("application/octet-stream")) : m_contentTypes[at];
}

// ---- the last response ----

wxString wxHTTPBuilder::GetStatusCode() const
{
    for (const ReasonPhrase& known : kReasonPhrases)
    {
        if (known.m_code == m_statusCode)
            return wxString::FromAscii(known.m_phrase);
    }
    return wxS("Unknown");
}

wxString wxHTTPBuilder::GetResponseString() const
{
    return wxString::Format(wxS("%d %s"), m_statusCode, GetStatusCode());
}

long wxHTTPBuilder::GetContentLength() const
{
    long length = -1;
    const wxString text = GetHeader(wxS("Content-Length")).Strip(wxString::both);
    if (!text.ToLong(&length) || length < 0)
        return -1;
    return length;
}

// ---- progress and stopping ----

void wxHTTPBuilder::AddBytesRead(int count)
{
    AddSaturating(m_bytesRead, count);
}

void wxHTTPBuilder::AddBytesSent(int count)
{
    AddSaturating(m_bytesSent, count);
}

bool wxHTTPBuilder::StopCheck()
{
    return m_stop;
}
