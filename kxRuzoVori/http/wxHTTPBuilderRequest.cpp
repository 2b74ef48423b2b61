// The request builder on the wire: connecting, sending the request and its body, reading the
// status line and headers, and reading the body into a text or a file.
#include "kxRuzoVori/http/wxHTTPBuilder.h"

#include "kxRuzoVori/core/private/kxUtfString.h"
#include "kxRuzoVori/http/private/kxHttpConnection.h"

#include <wx/file.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/tokenzr.h>
#include <wx/wfstream.h>

#include <memory>
#include <vector>

namespace
{
// The block size of every transfer loop; stop requests are looked at between blocks.
constexpr size_t kBlockSize = 8192;
constexpr size_t kFileWriteSize = 8 * kBlockSize;

const wxString kUserAgent = wxS("wxHTTPBuilder 1.3");

// Texts on the wire are UTF-8; a line that is not is taken byte by byte, so nothing is lost.
wxString FromWire(const std::string& bytes)
{
    wxString text;
    std::vector<wchar_t> scratch;
    if (!kxUtf8ToString(bytes.data(), bytes.size(), text, scratch))
        text = wxString(bytes.data(), wxConvISO8859_1, bytes.size());
    return text;
}

// Drops the line's LF and a CR before it.
std::string WithoutTerminator(std::string line)
{
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// Removes the multipart body's temporary file however the request ends.
class TemporaryFile
{
public:
    ~TemporaryFile()
    {
        m_stream.reset();
        if (!m_path.empty())
            wxRemoveFile(m_path);
    }

    wxString m_path;
    std::unique_ptr<wxInputStream> m_stream;
};

bool HasNoBody(const wxString& method, int status)
{
    return method == wxS("HEAD") || (status >= 100 && status < 200) || status == 204 ||
           status == 304;
}
} // namespace

// ---- opening a response ----

wxHTTPBuilderStream* wxHTTPBuilder::GetInputStream(const wxString& url)
{
    return GetInputStream(url, wxEmptyString, wxHTTP_GET);
}

wxHTTPBuilderStream* wxHTTPBuilder::GetInputStream(const wxString& url, const wxString& tempPrefix,
                                                   wxHTTP_Req method)
{
    m_lastErrorText.clear();
    m_securityError.clear();
    wxString protocol, host, path, user, password;
    int port = 0;
    if (!ParseURL(url, protocol, host, port, path, user, password))
    {
        m_lastErrorText = wxS("Parsing URL");
        return nullptr;
    }
    if (!user.empty())
        Authenticate(user, password, wxHTTPAuthSettings::wxHTTP_AUTH_BASIC);

    PrivateClose();
    PrivateForgetStaleHeaders();
    m_lastError = wxPROTO_CONNERR;
    if (!PrivateOpen(protocol, host, port))
        return nullptr;

    wxString requestPath = path;
    if (m_proxyInUse && !m_tunnelled)
    {
        requestPath = protocol + wxS("://") + host;
        if (port != m_proxy.m_port)
            requestPath << wxString::Format(wxS(":%d"), port);
        requestPath << path;
    }
    if (!SendRequest(requestPath, tempPrefix, method))
    {
        m_lastErrorText = wxS("Sending Request");
        return nullptr;
    }
    Notify(false);
    return new wxHTTPBuilderStream(this, PrivateBodyLength());
}

long wxHTTPBuilder::PrivateBodyLength() const
{
    return HasNoBody(m_method, m_statusCode) ? 0 : GetContentLength();
}

bool wxHTTPBuilder::PrivateOpen(const wxString& protocol, const wxString& host, int port)
{
    if (m_proxy.m_useProxy && UseProxyForHost(host))
        m_proxyInUse = true;
    if (m_proxyInUse)
    {
        const long proxyPort = m_proxy.m_port;
        if (m_proxy.m_hostName.empty() || proxyPort < 1 || proxyPort > 65535 ||
            !wxHTTP::Connect(m_proxy.m_hostName, static_cast<unsigned short>(proxyPort)))
        {
            m_lastErrorText = wxS("Resolving proxy host name");
            return false;
        }
    }
    else if (!wxHTTP::Connect(host, static_cast<unsigned short>(port)))
    {
        m_lastErrorText = wxS("Resolving host name");
        return false;
    }
    SetHeader(wxS("Host"), host);
    m_lastError = wxPROTO_CONNERR;
    if (!m_addr || !m_connection->Connect(*m_addr))
    {
        m_lastErrorText = wxS("Connecting to server");
        return false;
    }

    if (!protocol.IsSameAs(wxS("https"), false))
        return true;
    if (m_proxyInUse && !PrivateOpenTunnel(host, port))
    {
        m_lastErrorText = wxS("Opening proxy tunnel");
        return false;
    }
    if (!PrivateSecure(host))
    {
        m_lastErrorText = wxS("Securing connection");
        return false;
    }
    return true;
}

// ---- sending ----

bool wxHTTPBuilder::PrivateHasHeader(const wxString& name) const
{
    return FindHeader(name) != m_headers.end();
}

void wxHTTPBuilder::PrivateSetOwnHeader(const wxString& name, const wxString& value)
{
    SetHeader(name, value);
    m_staleHeaders.emplace_back(name, value);
}

void wxHTTPBuilder::PrivateAddRequestHeaders()
{
    if (m_auth.m_authType == wxHTTPAuthSettings::wxHTTP_AUTH_BASIC &&
        !PrivateHasHeader(wxS("Authorization")))
    {
        PrivateSetOwnHeader(wxS("Authorization"),
                            wxS("Basic ") +
                                Base64Encode(m_auth.m_userName + wxS(':') + m_auth.m_password));
    }
    if (m_proxyInUse && !m_tunnelled && m_proxy.m_requiresAuth &&
        !PrivateHasHeader(wxS("Proxy-Authorization")))
    {
        PrivateSetOwnHeader(wxS("Proxy-Authorization"),
                            wxS("Basic ") +
                                Base64Encode(m_proxy.m_userName + wxS(':') + m_proxy.m_password));
    }
    const wxString cookies = GetCookieString();
    if (!cookies.empty() && !PrivateHasHeader(wxS("Cookie")))
        PrivateSetOwnHeader(wxS("Cookie"), cookies);
    if (!PrivateHasHeader(wxS("User-Agent")))
        PrivateSetOwnHeader(wxS("User-Agent"), kUserAgent);
}

std::string wxHTTPBuilder::PrivateRequestHead(const wxString& method, const wxString& path)
{
    const bool withAny = method == wxS("GET") || method == wxS("HEAD");
    wxString head;
    head << method << wxS(' ') << path << GetQueryString(withAny) << wxS(" HTTP/1.0\r\n");
    for (const auto& header : m_headers)
        head << header.first << wxS(": ") << header.second << wxS("\r\n");
    head << wxS("\r\n");
    return head.utf8_string();
}

bool wxHTTPBuilder::SendRequest(const wxString& path, const wxString& tempPrefix, wxHTTP_Req method)
{
    m_staleHeaders.clear();
    std::string body;
    TemporaryFile multipart;
    if (m_multipartCount == 0)
        body = GetPostBuffer().utf8_string();
    else
    {
        multipart.m_path = wxFileName::CreateTempFileName(tempPrefix);
        if (multipart.m_path.empty())
            return false;
        multipart.m_stream.reset(GetPostBufferStream(multipart.m_path));
        if (!multipart.m_stream)
            return false;
    }

    if (!body.empty() || multipart.m_stream || method == wxHTTP_POST)
        m_method = wxS("POST");
    else if (method == wxHTTP_GET)
        m_method = wxS("GET");
    else if (method == wxHTTP_HEAD)
        m_method = wxS("HEAD");
    else
        return false;

    m_statusCode = 0;
    m_http_response = 0;
    PrivateAddRequestHeaders();

    SaveState();
    Notify(false);
    std::string out = PrivateRequestHead(m_method, path);
    m_bytesSent = 0;
    // A form body goes out with the head, in one write.
    out += body;
    bool ok = m_connection->Send(out);
    if (ok && !body.empty())
        AddBytesSent(static_cast<int>(body.size()));
    if (ok && multipart.m_stream)
        ok = PrivateSendBody(multipart.m_stream.get());

    int code = 0;
    ok = ok && PrivateReadStatusLine(code);
    RestoreState();
    return ok;
}

bool wxHTTPBuilder::PrivateSendBody(wxInputStream* multipart)
{
    char block[kBlockSize];
    for (;;)
    {
        const size_t count = multipart->Read(block, sizeof block).LastRead();
        if (count == 0)
            return multipart->GetLastError() == wxSTREAM_EOF;
        if (!m_connection->Send(block, count))
            return false;
        AddBytesSent(static_cast<int>(count));
        // A request cut short would leave the server waiting for the rest: end it at once.
        if (StopCheck())
            return false;
    }
}

// ---- https ----

bool wxHTTPBuilder::PrivateOpenTunnel(const wxString& host, int port)
{
    const wxString target = wxString::Format(wxS("%s:%d"), host, port);
    wxString request;
    request << wxS("CONNECT ") << target << wxS(" HTTP/1.0\r\nHost: ") << target << wxS("\r\n");
    if (m_proxy.m_requiresAuth)
        request << wxS("Proxy-Authorization: Basic ")
                << Base64Encode(m_proxy.m_userName + wxS(':') + m_proxy.m_password) << wxS("\r\n");
    request << wxS("User-Agent: ") << kUserAgent << wxS("\r\n\r\n");
    if (!m_connection->Send(request.utf8_string()))
        return false;

    // The proxy's answer: a 2xx status line, then header lines up to an empty one.
    std::string line;
    if (m_connection->ReadLine(line, GetMaxLineLength()) != kxHttpConnection::Status::Ok)
        return false;
    wxStringTokenizer tokens(FromWire(WithoutTerminator(line)), wxS(" "), wxTOKEN_STRTOK);
    const bool accepted = tokens.GetNextToken().StartsWith(wxS("HTTP/")) &&
                          tokens.GetNextToken().StartsWith(wxS("2"));
    for (size_t count = 0; count <= GetMaxHeaderLines(); ++count)
    {
        if (m_connection->ReadLine(line, GetMaxLineLength()) != kxHttpConnection::Status::Ok)
            return false;
        if (WithoutTerminator(line).empty())
        {
            m_tunnelled = accepted;
            return accepted;
        }
    }
    return false;
}

bool wxHTTPBuilder::PrivateSecure(const wxString& host)
{
    kxPlatform::TlsVerify verify = kxPlatform::TlsVerify::SystemStore;
    if (!m_verifyPeer)
        verify = kxPlatform::TlsVerify::Off;
    else if (!m_caFile.empty())
        verify = kxPlatform::TlsVerify::CaFile;
    return m_connection->StartTls(host, verify, m_caFile, m_securityError);
}

// ---- the response's head ----

bool wxHTTPBuilder::PrivateReadStatusLine(int& code)
{
    std::string raw;
    const kxHttpConnection::Status status = m_connection->ReadLine(raw, GetMaxLineLength());
    if (status != kxHttpConnection::Status::Ok)
    {
        m_lastError =
            status == kxHttpConnection::Status::TooLong ? wxPROTO_PROTERR : wxPROTO_NETERR;
        return false;
    }
    const wxString line = FromWire(WithoutTerminator(raw));
    if (line.Find(wxS("HTTP/")) == wxNOT_FOUND)
    {
        // No head at all: what was read is the start of the body.
        m_connection->PutBack(raw);
        ClearHeaders();
        m_rawHeaders.clear();
        SetHeader(wxS("Content-Length"), wxS("-1"));
        SetHeader(wxS("Content-Type"), wxS("none/none"));
        PrivateRememberHeaders();
        m_lastError = wxPROTO_NOERR;
        return true;
    }

    wxStringTokenizer tokens(line, wxS(" "), wxTOKEN_STRTOK);
    tokens.GetNextToken();
    const wxString codeText = tokens.GetNextToken();
    long value = 0;
    code = codeText.ToLong(&value) && value >= 0 && value <= 999 ? static_cast<int>(value) : 0;
    m_statusCode = code;
    m_http_response = code;
    if (!ParseHeaders())
        return false;
    const wxUniChar first = codeText.empty() ? wxUniChar('0') : codeText[0];
    if (code == 0 || first < '1' || first > '4')
    {
        m_lastError = wxPROTO_NOFILE;
        return false;
    }
    m_lastError = wxPROTO_NOERR;
    return true;
}

wxProtocolError wxHTTPBuilder::ReadLine(wxString& result)
{
    std::string raw;
    result.clear();
    switch (m_connection->ReadLine(raw, GetMaxLineLength()))
    {
    case kxHttpConnection::Status::Ok:
        result = FromWire(WithoutTerminator(raw));
        return wxPROTO_NOERR;
    case kxHttpConnection::Status::TooLong:
        return wxPROTO_PROTERR;
    default:
        return wxPROTO_NETERR;
    }
}

bool wxHTTPBuilder::ParseHeaders()
{
    m_rawHeaders.clear();
    ClearHeaders();
    for (size_t count = 0;; ++count)
    {
        wxString line;
        const wxProtocolError error = ReadLine(line);
        if (error != wxPROTO_NOERR)
        {
            m_lastError = error;
            PrivateRememberHeaders();
            return false;
        }
        if (line.empty())
            break;
        if (count == GetMaxHeaderLines())
        {
            m_lastError = wxPROTO_PROTERR;
            PrivateRememberHeaders();
            return false;
        }
        if (!m_rawHeaders.empty())
            m_rawHeaders += wxS("\r\n");
        m_rawHeaders += line;
        wxString value;
        const wxString name = line.BeforeFirst(wxS(':'), &value);
        SetHeader(name, value.Strip(wxString::both));
    }
    PrivateRememberHeaders();
    return true;
}

void wxHTTPBuilder::PrivateRememberHeaders()
{
    m_staleHeaders.clear();
    for (const auto& header : m_headers)
        m_staleHeaders.emplace_back(header.first, header.second);
}

void wxHTTPBuilder::PrivateForgetStaleHeaders()
{
    for (const auto& stale : m_staleHeaders)
    {
        const wxHeaderIterator it = FindHeader(stale.first);
        if (it != m_headers.end() && it->second == stale.second)
            m_headers.erase(it);
    }
    m_staleHeaders.clear();
}

// ---- the body ----

size_t wxHTTPBuilder::PrivateReceive(void* buffer, size_t size, wxStreamError& error)
{
    size_t received = 0;
    switch (m_connection->Receive(buffer, size, received))
    {
    case kxHttpConnection::Status::Ok:
        error = wxSTREAM_NO_ERROR;
        break;
    case kxHttpConnection::Status::Closed:
        error = wxSTREAM_EOF;
        break;
    default:
        error = wxSTREAM_READ_ERROR;
        break;
    }
    return received;
}

void wxHTTPBuilder::PrivateClose()
{
    m_tunnelled = false;
    m_connection->Reset();
    if (IsOk())
        wxSocketClient::Close();
}

template <typename Sink> bool wxHTTPBuilder::PrivateReadBody(wxHTTPBuilderStream& stream, Sink sink)
{
    m_bytesRead = 0;
    char block[kBlockSize];
    for (;;)
    {
        const size_t count = stream.Read(block, sizeof block).LastRead();
        if (count == 0)
            return true;
        if (!sink(block, count))
            return false;
        AddBytesRead(static_cast<int>(count));
        if (StopCheck())
            return true;
    }
}

bool wxHTTPBuilder::PrivateBodyComplete(const wxHTTPBuilderStream& stream)
{
    if (stream.GetLastError() != wxSTREAM_READ_ERROR)
        return true;
    m_lastErrorText = wxS("Receiving Response");
    return false;
}

wxString wxHTTPBuilder::GetInputString(const wxString& url, const wxString& tempPrefix)
{
    std::unique_ptr<wxHTTPBuilderStream> stream(GetInputStream(url, tempPrefix, wxHTTP_GET));
    if (!stream)
        return wxString();
    std::string body;
    PrivateReadBody(*stream,
                    [&body](const char* block, size_t count)
                    {
                        body.append(block, count);
                        return true;
                    });
    PrivateBodyComplete(*stream);
    stream.reset();
    wxString text;
    if (kxUtf8ToString(body.data(), body.size(), text))
        return text;
    std::vector<wchar_t> scratch;
    // Not UTF-8 as a whole: keep every block that is.
    for (size_t at = 0; at < body.size(); at += kBlockSize)
    {
        wxString block;
        if (kxUtf8ToString(body.data() + at, std::min(kBlockSize, body.size() - at), block,
                           scratch))
            text += block;
    }
    return text;
}

bool wxHTTPBuilder::SaveFile(const wxString& file, const wxString& url, const wxString& tempPrefix)
{
    std::unique_ptr<wxHTTPBuilderStream> stream(GetInputStream(url, tempPrefix, wxHTTP_GET));
    if (!stream)
        return false;
    wxFile out;
    bool created = false;
    {
        wxLogNull quiet; // the failure is reported as a result, not in a message box
        created = out.Create(file, true, wxS_DEFAULT);
    }
    if (!created)
    {
        m_lastErrorText = wxS("Writing File");
        return false;
    }
    // The blocks go to the file in larger writes: one system call per block would cost more
    // than the copying.
    std::string pending;
    pending.reserve(kFileWriteSize);
    const auto flush = [&out, &pending]
    {
        const bool ok = out.Write(pending.data(), pending.size()) == pending.size();
        pending.clear();
        return ok;
    };
    const bool written = PrivateReadBody(*stream,
                                         [&pending, &flush](const char* block, size_t count)
                                         {
                                             pending.append(block, count);
                                             return pending.size() < kFileWriteSize || flush();
                                         }) &&
                         flush();
    if (!written || !out.Close())
    {
        m_lastErrorText = wxS("Writing File");
        return false;
    }
    return PrivateBodyComplete(*stream);
}

int wxHTTPBuilder::GetHeadResponse(const wxString& url)
{
    std::unique_ptr<wxHTTPBuilderStream> stream(GetInputStream(url, wxEmptyString, wxHTTP_HEAD));
    if (!stream)
        return -1;
    PrivateReadBody(*stream, [](const char*, size_t) { return true; });
    return m_statusCode;
}

// ---- the multipart body ----

wxInputStream* wxHTTPBuilder::GetPostBufferStream(const wxString& file)
{
    const wxString boundary = CreateBoundary(40);
    {
        wxFile out;
        {
            wxLogNull quiet;
            if (!out.Create(file, true, wxS_IRUSR | wxS_IWUSR))
                return nullptr;
        }
        const auto put = [&out](const wxString& text)
        {
            const std::string bytes = text.utf8_string();
            return out.Write(bytes.data(), bytes.size()) == bytes.size();
        };
        bool ok = true;
        for (size_t i = 0; ok && i < m_valueNames.size(); ++i)
        {
            const wxString& name = m_valueNames[i];
            const wxString& text = m_valueTexts[i];
            switch (m_valueKinds[i])
            {
            case wxHTTP_TYPE_ANY:
            case wxHTTP_TYPE_POST:
                ok = put(wxString::Format(
                    wxS("--%s\r\nContent-Disposition: form-data; name=\"%s\"\r\n\r\n%s\r\n"),
                    boundary, name, text));
                break;
            case wxHTTP_TYPE_FILE:
            {
                wxFile in;
                {
                    wxLogNull quiet; // an unreadable upload fails the request instead
                    ok = wxFileName::IsFileReadable(text) && in.Open(text);
                }
                ok = ok && put(wxString::Format(wxS("--%s\r\nContent-Disposition: form-data; "
                                                    "name=\"%s\"; filename=\"%s\"\r\nContent-Type: "
                                                    "%s\r\n\r\n"),
                                                boundary, name, text, GetContentType(text)));
                char block[kBlockSize];
                while (ok && !StopCheck())
                {
                    const ssize_t count = in.Read(block, sizeof block);
                    if (count <= 0)
                    {
                        ok = count == 0;
                        break;
                    }
                    ok = out.Write(block, count) == static_cast<size_t>(count);
                }
                ok = ok && put(wxS("\r\n"));
                break;
            }
            case wxHTTP_TYPE_MULTIPARTDATA:
                ok = put(wxString::Format(wxS("--%s\r\n%s\r\n"), boundary, text));
                break;
            default:
                break;
            }
        }
        ok = ok && put(wxString::Format(wxS("--%s--\r\n"), boundary));
        if (!ok || !out.Close())
            return nullptr;
    }

    PrivateSetOwnHeader(wxS("Content-Type"), wxS("multipart/form-data; boundary=") + boundary);
    if (!PrivateHasHeader(wxS("Content-Length")))
        PrivateSetOwnHeader(wxS("Content-Length"), wxFileName::GetSize(file).ToString());
    auto in = std::make_unique<wxFileInputStream>(file);
    if (!in->IsOk())
        return nullptr;
    return in.release();
}
