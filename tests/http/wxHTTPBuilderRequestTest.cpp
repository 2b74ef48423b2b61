// The request builder against real servers on loopback: nginx for files over http and https,
// httpbin for what a server reads from a request, tinyproxy as the proxy.
#include "kxHttpTestServers.h"
#include "kxRuzoVori/http/wxHTTPBuilder.h"
#include "support/kxTestCertificates.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <wx/filefn.h>

#include <memory>
#include <string>

namespace
{
using json = nlohmann::json;

// A text whose multi-byte characters fall across every 8 KiB block edge.
std::string MultiByteText()
{
    std::string text;
    for (int i = 0; text.size() < 50000; ++i)
        text += std::to_string(i) + " Gr\xc3\xbc\xc3\x9f"
                                    "e \xe2\x82\xac \xf0\x9f\x98\x80\n";
    return text;
}

std::string Bytes(size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
    {
        seed = seed * 1103515245 + 12345;
        bytes[i] = static_cast<char>(seed >> 16);
    }
    return bytes;
}

json Echo(wxHTTPBuilder& builder, const wxString& url, const wxString& tempPrefix = wxString())
{
    const std::string text = builder.GetInputString(url, tempPrefix).utf8_string();
    return json::parse(text, nullptr, false);
}
} // namespace

TEST(HTTPBuilderRequest, FilesFromNginx)
{
    kxTestNginx nginx;
    ASSERT_TRUE(nginx.IsOk());
    const std::string text = MultiByteText();
    const std::string binary = Bytes(3 << 20, 5);
    ASSERT_TRUE(nginx.Put("text.txt", text) && nginx.Put("big.bin", binary));
    kxTestTempDir dir;

    wxHTTPBuilder b;
    EXPECT_EQ(wxString::FromUTF8(text), b.GetInputString(nginx.Url("/text.txt")));
    EXPECT_EQ(static_cast<int>(text.size()), b.GetBytesRead());
    EXPECT_EQ(wxS("200 OK"), b.GetResponseString());
    EXPECT_EQ(wxString(), b.GetLastError());
    EXPECT_TRUE(b.GetRawHeaders().Contains(wxS("\r\nContent-Length: ")));

    for (const char* path : {"/big.bin", "/nolength/big.bin"})
    {
        const wxString target = dir.File(wxS("saved"));
        EXPECT_TRUE(b.SaveFile(target, nginx.Url(path))) << path;
        EXPECT_EQ(binary, kxTestReadBytes(target)) << path;
        EXPECT_EQ(static_cast<int>(binary.size()), b.GetBytesRead());
    }
    EXPECT_EQ(-1, b.GetContentLength());

    EXPECT_EQ(200, b.GetHeadResponse(nginx.Url("/big.bin")));
    EXPECT_EQ(static_cast<long>(binary.size()), b.GetContentLength());
    EXPECT_EQ(0, b.GetBytesRead());
    EXPECT_TRUE(nginx.Logged("HEAD /big.bin HTTP/1.0"));

    // A 404 is an answer: its page is the text; a 500 is a failure.
    EXPECT_TRUE(b.GetInputString(nginx.Url("/missing")).Contains(wxS("404 Not Found")));
    EXPECT_EQ(wxS("Not Found"), b.GetStatusCode());
    EXPECT_EQ(404, b.GetHeadResponse(nginx.Url("/missing")));
    EXPECT_TRUE(b.SaveFile(dir.File(wxS("404.html")), nginx.Url("/missing")));
    EXPECT_FALSE(b.GetInputStream(nginx.Url("/fail"), wxEmptyString));
    EXPECT_EQ(wxS("Sending Request"), b.GetLastError());
    EXPECT_EQ(wxPROTO_NOFILE, b.GetError());
    EXPECT_EQ(wxS("500 Internal Server Error"), b.GetResponseString());
    EXPECT_EQ(-1, b.GetHeadResponse(nginx.Url("/fail")));
    EXPECT_FALSE(b.SaveFile(dir.File(wxS("no")), nginx.Url("/fail")));
    EXPECT_FALSE(wxFileExists(dir.File(wxS("no"))));

    // The stream reads the body as it comes and knows its length.
    std::unique_ptr<wxHTTPBuilderStream> stream(b.GetInputStream(nginx.Url("/big.bin"), ""));
    ASSERT_TRUE(stream);
    EXPECT_EQ(static_cast<wxFileOffset>(binary.size()), stream->GetLength());
    std::string read(binary.size() + 10, '\0');
    stream->Read(&read[0], read.size());
    EXPECT_EQ(binary.size(), stream->LastRead());
    EXPECT_EQ(binary, read.substr(0, stream->LastRead()));
    EXPECT_TRUE(stream->Eof());

    EXPECT_FALSE(b.SaveFile(dir.File(wxS("no/such/folder")), nginx.Url("/big.bin")));
    EXPECT_EQ(wxS("Writing File"), b.GetLastError());
}

TEST(HTTPBuilderRequest, FailuresBeforeTheRequest)
{
    wxHTTPBuilder b;
    EXPECT_EQ(wxString(), b.GetInputString(wxS("no-scheme.example/x")));
    EXPECT_EQ(wxS("Parsing URL"), b.GetLastError());
    EXPECT_EQ(-1, b.GetHeadResponse(wxS("http:///x")));
    EXPECT_EQ(wxS("Parsing URL"), b.GetLastError());

    const wxString closed = kxTestFreePort();
    EXPECT_FALSE(b.SaveFile(wxS("/nonexistent"), wxS("http://127.0.0.1:") + closed + wxS("/")));
    EXPECT_EQ(wxS("Connecting to server"), b.GetLastError());
    EXPECT_EQ(wxPROTO_CONNERR, b.GetError());

    b.HttpProxy(wxEmptyString, 3128);
    EXPECT_FALSE(b.GetInputStream(wxS("http://127.0.0.1/"), wxEmptyString));
    EXPECT_EQ(wxS("Resolving proxy host name"), b.GetLastError());
}

TEST(HTTPBuilderRequest, WhatTheServerReads)
{
    kxTestHttpbin httpbin;
    ASSERT_TRUE(httpbin.IsOk());

    wxHTTPBuilder b;
    b.SetValue(wxS("q"), wxS("a b&c=d+e"));
    b.SetValue(wxS("n"), wxS("2"));
    b.SetHeader(wxS("X-Custom"), wxS("custom value"));
    b.SetRequestCookie(wxS("enc"), wxS("x;y"));
    b.SetRequestCookie(wxS("raw"), wxS("plain"), false);
    json echo = Echo(b, httpbin.Url("/get"));
    ASSERT_TRUE(echo.is_object());
    EXPECT_EQ("a b&c=d+e", echo["args"]["q"]);
    EXPECT_EQ("2", echo["args"]["n"]);
    EXPECT_EQ("custom value", echo["headers"]["X-Custom"]);
    EXPECT_EQ("wxHTTPBuilder 1.3", echo["headers"]["User-Agent"]);
    EXPECT_EQ("enc=x%3By; raw=plain", echo["headers"]["Cookie"]);
    EXPECT_EQ("127.0.0.1", echo["headers"]["Host"]);

    // The next request carries neither the last response's headers nor the host's, which the
    // response replaced; the library's own are made afresh.
    echo = Echo(b, httpbin.Url("/headers"));
    EXPECT_EQ(0u, echo["headers"].count("X-Custom"));
    EXPECT_EQ(0u, echo["headers"].count("Server"));
    EXPECT_EQ(0u, echo["headers"].count("Content-Length"));
    EXPECT_EQ("enc=x%3By; raw=plain", echo["headers"]["Cookie"]);

    // A form value turns a GET into a url-encoded POST.
    wxHTTPBuilder form;
    form.SetValue(wxS("name"), wxS("J. & Co=1+2%"), wxHTTPBuilder::wxHTTP_TYPE_POST);
    form.SetValue(wxS("q"), wxS("1"));
    echo = Echo(form, httpbin.Url("/post"));
    EXPECT_EQ("1", echo["args"]["q"]);
    EXPECT_EQ("application/x-www-form-urlencoded", echo["headers"]["Content-Type"]);
    EXPECT_EQ("J. & Co=1+2%", echo["form"]["name"]);
    EXPECT_GT(form.GetBytesSent(), 0);

    // A POST without values is a POST without a body.
    wxHTTPBuilder empty;
    std::unique_ptr<wxHTTPBuilderStream> stream(
        empty.GetInputStream(httpbin.Url("/post"), wxEmptyString, wxHTTPBuilder::wxHTTP_POST));
    ASSERT_TRUE(stream);
    EXPECT_EQ(200, empty.GetResponse());
    EXPECT_EQ(0, empty.GetBytesSent());
}

TEST(HTTPBuilderRequest, MultipartUploadAsAParserReadsIt)
{
    kxTestHttpbin httpbin;
    ASSERT_TRUE(httpbin.IsOk());
    kxTestTempDir dir;
    const std::string content = "first line\r\nsecond line \xc3\xa4\n";
    const wxString upload = dir.File(wxS("notes.txt"));
    ASSERT_TRUE(kxTestWriteFile(upload, content));

    wxHTTPBuilder b;
    b.InitContentTypes();
    b.SetValue(wxS("field"), wxS("value one"), wxHTTPBuilder::wxHTTP_TYPE_POST);
    b.SetValue(wxS("doc"), upload, wxHTTPBuilder::wxHTTP_TYPE_FILE);
    b.SetValue(wxS("raw"), wxS("Content-Disposition: form-data; name=\"raw\"\r\n\r\nraw part"),
               wxHTTPBuilder::wxHTTP_TYPE_MULTIPARTDATA);
    const json echo =
        Echo(b, httpbin.Url("/post", "localhost") + wxS("?via=query"), dir.File(wxS("body-")));
    ASSERT_TRUE(echo.is_object());
    EXPECT_EQ("value one", echo["form"]["field"]);
    EXPECT_EQ("raw part", echo["form"]["raw"]);
    EXPECT_EQ(content, echo["files"]["doc"]);
    EXPECT_EQ("query", echo["args"]["via"]);
    EXPECT_EQ(0, std::string(echo["headers"]["Content-Type"]).find("multipart/form-data"));
    EXPECT_EQ(std::to_string(b.GetBytesSent()), echo["headers"]["Content-Length"]);
    // The temporary body file went where it was told, and is gone.
    EXPECT_EQ(wxString(), wxFindFirstFile(dir.File(wxS("body-*"))));

    b.SetValue(wxS("gone"), dir.File(wxS("missing")), wxHTTPBuilder::wxHTTP_TYPE_FILE);
    EXPECT_EQ(wxString(), b.GetInputString(httpbin.Url("/post")));
    EXPECT_EQ(wxS("Sending Request"), b.GetLastError());
}

TEST(HTTPBuilderRequest, BasicAuthentication)
{
    kxTestHttpbin httpbin;
    ASSERT_TRUE(httpbin.IsOk());

    wxHTTPBuilder b;
    b.Authenticate(wxS("ann"), wxS("s:cret"));
    json echo = Echo(b, httpbin.Url("/basic-auth/ann/s:cret"));
    EXPECT_EQ(true, echo["authenticated"]);

    wxHTTPBuilder wrong;
    wrong.Authenticate(wxS("ann"), wxS("guess"));
    EXPECT_EQ(401, wrong.GetHeadResponse(httpbin.Url("/basic-auth/ann/s:cret")));

    wxHTTPBuilder fromUrl;
    const wxString url =
        wxString::Format(wxS("http://bob:pw@127.0.0.1:%d/basic-auth/bob/pw"), httpbin.Port());
    echo = Echo(fromUrl, url);
    EXPECT_EQ("bob", echo["user"]);
    EXPECT_EQ(wxS("bob"), fromUrl.GetAuthentication().m_userName);
    EXPECT_EQ(wxHTTPAuthSettings::wxHTTP_AUTH_BASIC, fromUrl.GetAuthentication().m_authType);
}

TEST(HTTPBuilderRequest, ThroughTheProxy)
{
    kxTestHttpbin httpbin;
    kxTestTinyproxy proxy;
    ASSERT_TRUE(httpbin.IsOk() && proxy.IsOk());

    wxHTTPBuilder refused;
    refused.HttpProxy(wxS("127.0.0.1"), proxy.Port());
    EXPECT_EQ(407, refused.GetHeadResponse(httpbin.Url("/get")));

    wxHTTPBuilder b;
    b.HttpProxy(wxS("127.0.0.1"), proxy.Port());
    b.HttpProxyAuth(wxS("proxyuser"), wxS("proxy-pass"));
    b.HttpProxyExceptions(wxS("127.0.0.1"));
    json echo = Echo(b, httpbin.Url("/get?x=1", "localhost"));
    EXPECT_EQ("1", echo["args"]["x"]);
    // The proxy's credentials stay with the proxy.
    EXPECT_EQ(0u, echo["headers"].count("Proxy-Authorization"));
    std::vector<std::string> requests = proxy.Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("GET http://localhost:" + std::to_string(httpbin.Port()) + "/get?x=1 HTTP/1.0",
              requests[1]);

    // Once through the proxy, an excepted host still goes through it ...
    EXPECT_EQ(200, b.GetHeadResponse(httpbin.Url("/get")));
    EXPECT_EQ(3u, proxy.Requests().size());
    // ... until the proxy is set again.
    b.UseHttpProxy(true);
    EXPECT_EQ(200, b.GetHeadResponse(httpbin.Url("/get")));
    EXPECT_EQ(3u, proxy.Requests().size());
}

TEST(HTTPBuilderRequest, HttpsFromNginx)
{
    kxTestNginx nginx;
    ASSERT_TRUE(nginx.IsOk());
    const std::string binary = Bytes(1 << 20, 9);
    const std::string text = MultiByteText();
    ASSERT_TRUE(nginx.Put("big.bin", binary) && nginx.Put("text.txt", text));
    const wxString ca = wxString::FromUTF8(kxTestGetCertificates().CaFile());
    kxTestTempDir dir;

    wxHTTPBuilder b;
    b.SetCertificateAuthorityFile(ca);
    EXPECT_EQ(wxString::FromUTF8(text), b.GetInputString(nginx.TlsUrl("/text.txt")));
    EXPECT_TRUE(b.SaveFile(dir.File(wxS("big")), nginx.TlsUrl("/big.bin", "127.0.0.1")));
    EXPECT_EQ(binary, kxTestReadBytes(dir.File(wxS("big"))));
    EXPECT_EQ(404, b.GetHeadResponse(nginx.TlsUrl("/missing")));

    // The system's trust store knows nothing of the test CA; a certificate for another host is
    // refused by name. Either way nothing reaches the server.
    wxHTTPBuilder untrusted;
    EXPECT_EQ(wxString(), untrusted.GetInputString(nginx.TlsUrl("/text.txt")));
    EXPECT_EQ(wxS("Securing connection"), untrusted.GetLastError());
    EXPECT_TRUE(untrusted.GetSecurityError().Lower().Contains(wxS("untrusted")))
        << untrusted.GetSecurityError();
    b.SetValue(wxS("secret"), wxS("s"));
    EXPECT_EQ(-1, b.GetHeadResponse(nginx.OtherHostUrl("/big.bin")));
    EXPECT_EQ(wxS("Securing connection"), b.GetLastError());
    EXPECT_FALSE(b.GetSecurityError().empty());

    wxHTTPBuilder trusting;
    trusting.SetVerifyPeer(false);
    trusting.SetValue(wxS("later"), wxS("1"));
    EXPECT_EQ(200, trusting.GetHeadResponse(nginx.OtherHostUrl("/big.bin")));
    // Once the server has logged the later request, the refused one would show before it.
    EXPECT_TRUE(nginx.Logged("HEAD /big.bin?later=1"));
    EXPECT_EQ(std::string::npos, nginx.AccessLog().find("secret"));
}

TEST(HTTPBuilderRequest, HttpsThroughTheProxyTunnel)
{
    kxTestNginx nginx;
    kxTestTinyproxy proxy;
    ASSERT_TRUE(nginx.IsOk() && proxy.IsOk());
    ASSERT_TRUE(nginx.Put("page.txt", "tunnelled"));

    wxHTTPBuilder b;
    b.SetCertificateAuthorityFile(wxString::FromUTF8(kxTestGetCertificates().CaFile()));
    b.HttpProxy(wxS("127.0.0.1"), proxy.Port());
    b.HttpProxyAuth(wxS("proxyuser"), wxS("proxy-pass"));
    EXPECT_EQ(wxS("tunnelled"), b.GetInputString(nginx.TlsUrl("/page.txt")));
    const std::vector<std::string> requests = proxy.Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("CONNECT localhost:" + std::to_string(nginx.TlsPort()) + " HTTP/1.0", requests[0]);
    // Inside the tunnel the server sees an ordinary request and no proxy credentials.
    EXPECT_TRUE(nginx.Logged("GET /page.txt HTTP/1.0|-"));

    b.HttpProxyAuth(wxS("proxyuser"), wxS("wrong"));
    EXPECT_EQ(wxString(), b.GetInputString(nginx.TlsUrl("/page.txt")));
    EXPECT_EQ(wxS("Opening proxy tunnel"), b.GetLastError());
}
