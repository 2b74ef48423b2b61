#ifndef KXRUZOVORI_HTTP_WXHTTPBUILDER_H
#define KXRUZOVORI_HTTP_WXHTTPBUILDER_H

#include "kxRuzoVori/http/wxHTTPAuthSettings.h"
#include "kxRuzoVori/http/wxHTTPBuilderStream.h"
#include "kxRuzoVori/http/wxProxySettings.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/arrstr.h>
#include <wx/dynarray.h>
#include <wx/protocol/http.h>
#include <wx/string.h>

#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class kxHttpConnection;

/// The library's HTTP/1.0 client: collects the values of one request, connects directly or
/// through a proxy, sends the request and hands the body over as a stream, a text or a file.
///
/// One request at a time, synchronously on the calling thread; wxHTTPBuilderThread runs one in
/// the background. Nothing throws: failures are results (false, null, -1, an empty text) and
/// GetLastError() names the stage that failed: "Parsing URL", "Resolving proxy host name",
/// "Resolving host name", "Connecting to server", "Opening proxy tunnel", "Securing connection",
/// "Sending Request", "Receiving Response" or "Writing File".
///
/// Where it differs from the classic builder, on purpose:
/// - GetInputString() decodes the whole body as UTF-8 at once, so a character cut at a block
///   edge arrives intact (a body that is no valid UTF-8 is decoded block by block as before).
/// - Hostile servers are bounded: a status or header line longer than GetMaxLineLength() bytes,
///   or more than GetMaxHeaderLines() header lines, fails with "Sending Request". Every wait on
///   the connection lasts at most the socket's time-out (SetTimeout(), 60 seconds unless
///   changed), counted afresh whenever bytes move; connecting waits as long, in blocking mode
///   (the worker thread's) too, and fails with "Connecting to server". The connection is a
///   socket of the library's own, not the toolkit socket this class derives from, which stays
///   unconnected. Looking up the host name is left to the system's resolver and its own
///   time-outs.
/// - A body that ends before its Content-Length makes SaveFile() false and sets the last error
///   "Receiving Response"; a file SaveFile() cannot write sets "Writing File".
/// - The headers the library put into the table for one request, or read from its response, are
///   not sent again with the next request (headers the host set itself still are).
/// - An https URL is served over TLS, verifying the server's certificate and host name against
///   the system's trust store (or SetCertificateAuthorityFile(), or not at all after
///   SetVerifyPeer(false)); through a proxy it goes through a CONNECT tunnel, and the proxy's
///   credentials stay with the proxy. A failed handshake or verification is "Securing
///   connection" (reason in GetSecurityError()); nothing is sent in the clear. Plain http is
///   unchanged.
/// - A URL holding blanks or control characters, or a port that is not a number from 1 to 65535,
///   fails with "Parsing URL", and so does an upload file that cannot be read with "Sending
///   Request".
class KX_API wxHTTPBuilder : public wxHTTP
{
public:
    /// Where a value goes: the query string, the form body, a multipart part or the Cookie
    /// header. ANY is for look-ups only.
    enum wxHTTP_Type
    {
        wxHTTP_TYPE_ANY = 0,           ///< Any kind (look-ups only).
        wxHTTP_TYPE_GET = 1,           ///< A query-string value.
        wxHTTP_TYPE_POST = 2,          ///< A url-encoded form value: the request becomes a POST.
        wxHTTP_TYPE_FILE = 3,          ///< A file to upload: the request becomes multipart.
        wxHTTP_TYPE_MULTIPARTDATA = 4, ///< A raw multipart part.
        wxHTTP_TYPE_COOKIE = 5,        ///< A cookie, encoded.
        wxHTTP_TYPE_COOKIERAW = 6      ///< A cookie, sent as it is.
    };

    /// The request methods; the toolkit no longer declares them.
    enum wxHTTP_Req
    {
        wxHTTP_GET = 0,  ///< GET.
        wxHTTP_POST = 1, ///< POST.
        wxHTTP_HEAD = 2  ///< HEAD.
    };

    /// A builder without values, proxy or credentials.
    wxHTTPBuilder();
    /// Closes the connection.
    ~wxHTTPBuilder() override;

    /// \name Request values
    /// Kinds 1 to 4 are told apart by name and kind, cookies by name alone; a value set again
    /// replaces the text and keeps the kind it had.
    ///@{
    /// Sets the value name of the given kind; false when a cookie's name or value is not allowed.
    bool SetValue(const wxString& name, const wxString& value, wxHTTP_Type kind = wxHTTP_TYPE_GET);
    /// The value name of the given kind, or an empty text.
    wxString GetValue(const wxString& name, wxHTTP_Type kind = wxHTTP_TYPE_ANY) const;
    /// Removes the value name of the given kind.
    void RemoveValue(const wxString& name, wxHTTP_Type kind = wxHTTP_TYPE_ANY);
    /// The index of the value name of the given kind, or -1.
    int FindNamePosition(const wxString& name, wxHTTP_Type kind = wxHTTP_TYPE_ANY) const;
    /// False for a name (or, unencoded, a value) holding '=', ',', ';' or white space.
    bool SetRequestCookie(const wxString& name, const wxString& value, bool encode = true);
    ///@}

    /// \name Proxy and authentication
    ///@{
    /// Sends the requests through the proxy at host and port (and switches it on).
    void HttpProxy(const wxString& host, long port);
    /// Switches the proxy on or off, keeping its settings.
    void UseHttpProxy(bool useProxy);
    /// The proxy's credentials, sent when required is true.
    void HttpProxyAuth(const wxString& user, const wxString& password, bool required = true);
    /// The hosts reached without the proxy: a list of host name ends split at delimiter.
    void HttpProxyExceptions(const wxString& exceptions, const wxString& delimiter = wxS(","));
    /// Takes every proxy setting from a settings record.
    void SetProxySettings(const wxProxySettings& settings);
    /// The proxy settings as a record, for saving.
    wxProxySettings GetProxySettings() const;
    /// Sends credentials to the server (Basic authentication).
    void
    Authenticate(const wxString& user, const wxString& password,
                 wxHTTPAuthSettings::wxHTTP_Auth scheme = wxHTTPAuthSettings::wxHTTP_AUTH_BASIC);
    /// Takes the server credentials from a settings record.
    void SetAuthentication(const wxHTTPAuthSettings& settings);
    /// The server credentials as a record, for saving.
    wxHTTPAuthSettings GetAuthentication() const;
    ///@}

    /// \name Content types
    /// The MIME types of uploaded files by extension; the table starts empty.
    ///@{
    /// Adds or replaces the type of an extension.
    void AddContentType(const wxString& extension, const wxString& type);
    /// Removes the type of an extension.
    void RemoveContentType(const wxString& extension);
    /// Fills the table with the common types ("pdf" as application/pdf ...).
    void InitContentTypes();
    /// The type of file's extension (without regard to case), else "application/octet-stream".
    wxString GetContentType(const wxString& file) const;
    /// The response's Content-Type, as the toolkit gives it.
    using wxHTTP::GetContentType;
    ///@}

    /// \name Requests
    /// A URL names the scheme, optional credentials, host, optional port and path. The values
    /// set decide the method: form values make a url-encoded POST, files or raw parts a
    /// multipart POST composed in a temporary file (tempPrefix names its folder or prefix).
    ///@{
    /// Sends the request; the stream belongs to the caller and reads the body of the response.
    /// Null on failure (see GetLastError()).
    wxHTTPBuilderStream* GetInputStream(const wxString& url) override;
    /// The same with the temporary file's place and the method.
    wxHTTPBuilderStream* GetInputStream(const wxString& url, const wxString& tempPrefix,
                                        wxHTTP_Req method = wxHTTP_GET);
    /// The whole body as text (UTF-8); empty on failure (see GetLastError()).
    wxString GetInputString(const wxString& url, const wxString& tempPrefix = wxEmptyString);
    /// Writes the body into file; false on failure, also when the body ended early.
    bool SaveFile(const wxString& file, const wxString& url,
                  const wxString& tempPrefix = wxEmptyString);
    /// The status code of a HEAD request, -1 when it failed.
    int GetHeadResponse(const wxString& url);
    /// Sends the request on the open connection and reads the status line and headers.
    bool SendRequest(const wxString& path, const wxString& tempPrefix = wxEmptyString,
                     wxHTTP_Req method = wxHTTP_GET);
    ///@}

    /// \name The last response
    ///@{
    /// The reason phrase of its status code.
    wxString GetStatusCode() const;
    /// "code phrase", such as "404 Not Found".
    wxString GetResponseString() const;
    /// Content-Length, -1 when absent or no number.
    long GetContentLength() const;
    /// The header lines as received.
    wxString GetRawHeaders() const { return m_rawHeaders; }
    /// The stage that failed, empty after a success.
    wxString GetLastError() const { return m_lastErrorText; }
    /// The body bytes read so far.
    int GetBytesRead() const { return m_bytesRead; }
    /// The request bytes sent so far.
    int GetBytesSent() const { return m_bytesSent; }
    ///@}

    /// Asks the transfer to stop (or lets the next one run, with false). May be called from
    /// another thread; the transfers look at it between blocks.
    void Stop(bool stop = true) { m_stop = stop; }

    /// \name TLS
    /// Connections over TLS (https): the CA certificates to trust instead of the system's, and
    /// whether the server must prove who it is at all (on unless switched off here).
    ///@{
    /// The file of CA certificates to trust instead of the system's store; empty for the store.
    void SetCertificateAuthorityFile(const wxString& file) { m_caFile = file; }
    /// The CA file set, or empty.
    wxString GetCertificateAuthorityFile() const { return m_caFile; }
    /// Whether the server's certificate and host name are checked (true by default).
    void SetVerifyPeer(bool verify) { m_verifyPeer = verify; }
    /// Whether the server's certificate and host name are checked.
    bool GetVerifyPeer() const { return m_verifyPeer; }
    ///@}
    /// Why the last TLS handshake or certificate check failed; empty after a success.
    wxString GetSecurityError() const { return m_securityError; }

    ///@{
    /// Bounds against hostile servers: the longest status or header line in bytes and the most
    /// header lines of one response.
    static size_t GetMaxLineLength() { return 16384; }
    static size_t GetMaxHeaderLines() { return 256; }
    ///@}

    /// \name Overridable steps
    /// In the order the classic builder declared them.
    ///@{
    /// Whether host is reached through the proxy: not when an entry of the exception list
    /// (trimmed, without regard to case) is the end of the host name.
    virtual bool UseProxyForHost(const wxString& host);
    /// Counts body bytes read; runs on the thread of the transfer (a worker thread's own).
    virtual void AddBytesRead(int count);
    /// Counts request bytes sent; runs on the thread of the transfer.
    virtual void AddBytesSent(int count);
    /// Whether the transfer shall stop; asked between blocks.
    virtual bool StopCheck();
    ///@}

    /// \name Text helpers
    ///@{
    /// Letters, digits, '-', '*', '@' and '_' stay, a blank becomes '+', every other UTF-16
    /// unit '%' and at least two upper-case hex digits.
    static wxString URLEncode(const wxString& value);
    /// '+' becomes a blank, then '%' and two hex digits the unit they give; a lone '%' is dropped.
    static wxString URLDecode(const wxString& value);
    /// The text with "&", "<", ">" and, as asked, the quotes written as HTML entities.
    static wxString HTMLSpecialChars(const wxString& text, bool singleQuotes = false,
                                     bool doubleQuotes = true);
    /// Base64 of the text's characters taken as bytes.
    static wxString Base64Encode(const wxString& text);
    /// The text whose Base64 text is given; empty for a text that is no Base64.
    static wxString Base64Decode(const wxString& text);
    /// The number the first two hex digits give, -1 when they are not hex digits.
    static int IntFromHex(const wxString& hex);
    /// Upper-case hex, at least two digits.
    static wxString HexFromInt(int value);
    /// length characters: dashes for the first two thirds, then random letters and digits.
    static wxString CreateBoundary(int length);
    /// A pseudo-random number for boundaries.
    static int Rand();
    /// Seeds Rand() from the clock.
    static void SRand();
    /// Splits a URL into its parts; false, with "Parsing URL", for one that is not valid.
    static bool ParseURL(const wxString& url, wxString& protocol, wxString& host, int& port,
                         wxString& path, wxString& user, wxString& password);

    ///@}

    /// \name Request and response pieces
    ///@{
    /// Reads the response's header lines into the header table; false for a hostile or broken
    /// response.
    bool ParseHeaders();
    /// The query string of the GET values (with includeAny, of every value), url-encoded.
    wxString GetQueryString(bool includeAny = false) const;
    /// The url-encoded form body; sets Content-Length and Content-Type unless already set.
    wxString GetPostBuffer();
    /// Writes the multipart body into file and returns it opened for reading (the caller's), or
    /// null when it could not be written; sets Content-Type and, unless set, Content-Length.
    wxInputStream* GetPostBufferStream(const wxString& file);
    /// The Cookie header's text.
    wxString GetCookieString() const;
    ///@}

    /// Reads one line of the response, ended by LF (a CR before it is dropped), bounded by
    /// GetMaxLineLength().
    wxProtocolError ReadLine(wxString& result) override;

private:
    friend class wxHTTPBuilderStream;
    friend class kxHttpBuilderAccess;

    bool PrivateOpen(const wxString& protocol, const wxString& host, int port);
    bool PrivateOpenTunnel(const wxString& host, int port);
    bool PrivateSecure(const wxString& host);
    bool PrivateReadStatusLine(int& code);
    bool PrivateSendBody(wxInputStream* multipart);
    void PrivateAddRequestHeaders();
    // Sets a header the library chose, to be dropped again before the next request.
    void PrivateSetOwnHeader(const wxString& name, const wxString& value);
    std::string PrivateRequestHead(const wxString& method, const wxString& path);
    void PrivateForgetStaleHeaders();
    // The table now holds a response's headers: they go before the next request.
    void PrivateRememberHeaders();
    bool PrivateHasHeader(const wxString& name) const;
    size_t PrivateReceive(void* buffer, size_t size, wxStreamError& error);
    // What the body stream expects: nothing after HEAD and the codes without a body, else the
    // Content-Length.
    long PrivateBodyLength() const;
    void PrivateClose();
    // Reads the body of the stream block by block into sink, until it ends or StopCheck();
    // false when the sink failed.
    template <typename Sink> bool PrivateReadBody(wxHTTPBuilderStream& stream, Sink sink);
    bool PrivateBodyComplete(const wxHTTPBuilderStream& stream);

    wxString m_rawHeaders;
    wxArrayString m_valueNames;
    wxArrayString m_valueTexts;
    wxArrayInt m_valueKinds;
    int m_multipartCount = 0;
    wxHTTPAuthSettings m_auth;
    wxProxySettings m_proxy;
    bool m_proxyInUse = false;
    wxArrayString m_contentTypes;
    wxArrayString m_extensions;
    std::atomic<bool> m_stop{false};
    int m_bytesRead = 0;
    int m_bytesSent = 0;
    int m_statusCode = 0;
    wxString m_lastErrorText;

    wxString m_caFile;
    bool m_verifyPeer = true;
    wxString m_securityError;
    // The request goes to the origin server through a tunnel: the proxy sees none of it.
    bool m_tunnelled = false;
    // The method of the request on the wire, so the stream knows a HEAD response has no body.
    wxString m_method;
    // Headers the library put into the table, dropped before the next request.
    std::vector<std::pair<wxString, wxString>> m_staleHeaders;
    std::unique_ptr<kxHttpConnection> m_connection;
};

#endif
