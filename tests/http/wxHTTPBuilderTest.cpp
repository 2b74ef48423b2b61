// The request builder without a network: its values, texts and the bodies it composes.
#include "kxRuzoVori/http/wxHTTPBuilder.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/filename.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace
{
std::string ReadAll(wxInputStream& in)
{
    std::string bytes;
    char block[4096];
    while (in.Read(block, sizeof block).LastRead() > 0)
        bytes.append(block, in.LastRead());
    return bytes;
}
} // namespace

TEST(HTTPBuilderValues, KindsDecideWhichEntryIsFound)
{
    wxHTTPBuilder b;
    EXPECT_FALSE(b.SetValue(wxS("a"), wxS("0"), wxHTTPBuilder::wxHTTP_TYPE_ANY));
    EXPECT_FALSE(b.SetValue(wxS("a"), wxS("9"), static_cast<wxHTTPBuilder::wxHTTP_Type>(9)));
    EXPECT_TRUE(b.SetValue(wxS("a"), wxS("query")));
    EXPECT_TRUE(b.SetValue(wxS("a"), wxS("form"), wxHTTPBuilder::wxHTTP_TYPE_POST));
    EXPECT_EQ(0, b.FindNamePosition(wxS("a")));
    EXPECT_EQ(1, b.FindNamePosition(wxS("a"), wxHTTPBuilder::wxHTTP_TYPE_POST));
    EXPECT_EQ(-1, b.FindNamePosition(wxS("a"), wxHTTPBuilder::wxHTTP_TYPE_FILE));
    EXPECT_EQ(wxS("form"), b.GetValue(wxS("a"), wxHTTPBuilder::wxHTTP_TYPE_POST));

    // A cookie is found by name alone: setting one updates the first entry of that name.
    EXPECT_TRUE(b.SetValue(wxS("a"), wxS("cookie"), wxHTTPBuilder::wxHTTP_TYPE_COOKIE));
    EXPECT_EQ(wxS("cookie"), b.GetValue(wxS("a"), wxHTTPBuilder::wxHTTP_TYPE_GET));
    EXPECT_EQ(wxS("?a=cookie"), b.GetQueryString());
    EXPECT_EQ(wxString(), b.GetCookieString());

    b.RemoveValue(wxS("a"));
    EXPECT_EQ(wxS("form"), b.GetValue(wxS("a")));
    b.RemoveValue(wxS("nothing"));
    b.RemoveValue(wxS("a"), wxHTTPBuilder::wxHTTP_TYPE_POST);
    EXPECT_EQ(-1, b.FindNamePosition(wxS("a")));
    EXPECT_EQ(wxString(), b.GetValue(wxS("a")));
}

TEST(HTTPBuilderValues, QueryFormAndCookieTexts)
{
    wxHTTPBuilder b;
    b.SetValue(wxS("q w"), wxS("x y&z"));
    b.SetValue(wxS("n"), wxS("1"));
    EXPECT_EQ(wxS("?q+w=x+y%26z&n=1"), b.GetQueryString(true));
    EXPECT_EQ(wxString(), b.GetPostBuffer()); // no form value: no body, no headers
    EXPECT_EQ(wxString(), b.GetHeader(wxS("Content-Type")));

    b.SetValue(wxS("f"), wxS("a.b"), wxHTTPBuilder::wxHTTP_TYPE_POST);
    b.SetValue(wxS("g"), wxS("\u00e9"), wxHTTPBuilder::wxHTTP_TYPE_POST);
    EXPECT_EQ(wxS("f=a%2Eb&g=%E9"), b.GetPostBuffer());
    EXPECT_EQ(wxS("13"), b.GetHeader(wxS("Content-Length")));
    EXPECT_EQ(wxS("application/x-www-form-urlencoded"), b.GetHeader(wxS("Content-Type")));
    b.SetHeader(wxS("Content-Type"), wxS("text/x-mine"));
    b.GetPostBuffer();
    EXPECT_EQ(wxS("text/x-mine"), b.GetHeader(wxS("Content-Type")));

    EXPECT_FALSE(b.SetRequestCookie(wxS("a b"), wxS("v")));
    EXPECT_FALSE(b.SetRequestCookie(wxS("a=b"), wxS("v")));
    EXPECT_FALSE(b.SetRequestCookie(wxS("raw"), wxS("x;y"), false));
    EXPECT_TRUE(b.SetRequestCookie(wxS("enc"), wxS("x;y z")));
    EXPECT_TRUE(b.SetRequestCookie(wxS("raw"), wxS("%41"), false));
    EXPECT_EQ(wxS("enc=x%3By+z; raw=%41"), b.GetCookieString());
}

TEST(HTTPBuilderText, EncodingsAndEscapes)
{
    EXPECT_EQ(wxS("a-*@_+%2E%2B%25%0A%E9%20AC%D83D%DE00"),
              wxHTTPBuilder::URLEncode(wxS("a-*@_ .+%\n\u00e9\u20ac\U0001F600")));
    EXPECT_EQ(wxS("a b\u00e9 zz"), wxHTTPBuilder::URLDecode(wxS("a+b%e9%20%zz%")));
    EXPECT_EQ(wxS("x y"), wxHTTPBuilder::URLDecode(wxHTTPBuilder::URLEncode(wxS("x y"))));

    EXPECT_EQ(wxS("&amp;lt; &lt;b&gt; &quot;q&quot; 'q'"),
              wxHTTPBuilder::HTMLSpecialChars(wxS("&lt; <b> \"q\" 'q'"), false, true));
    EXPECT_EQ(wxS("&#039; \""), wxHTTPBuilder::HTMLSpecialChars(wxS("' \""), true, false));

    EXPECT_EQ(255, wxHTTPBuilder::IntFromHex(wxS("fF")));
    EXPECT_EQ(-1, wxHTTPBuilder::IntFromHex(wxS("g0")));
    EXPECT_EQ(-1, wxHTTPBuilder::IntFromHex(wxS("1")));
    EXPECT_EQ(wxS("0A"), wxHTTPBuilder::HexFromInt(10));
    EXPECT_EQ(wxS("1F600"), wxHTTPBuilder::HexFromInt(0x1F600));
    EXPECT_EQ(wxS("00"), wxHTTPBuilder::HexFromInt(0));
    EXPECT_EQ(wxS("FFFFFFFF"), wxHTTPBuilder::HexFromInt(-1));

    EXPECT_EQ(wxS("dXNlcjpwYXNz"), wxHTTPBuilder::Base64Encode(wxS("user:pass")));
    EXPECT_EQ(wxS("J\u00fcrgen"),
              wxHTTPBuilder::Base64Decode(wxHTTPBuilder::Base64Encode(wxS("J\u00fcrgen"))));

    srand(7);
    const wxString boundary = wxHTTPBuilder::CreateBoundary(40);
    ASSERT_EQ(40u, boundary.length());
    EXPECT_EQ(wxString(26, '-'), boundary.Left(26));
    for (wxUniChar c : boundary.Mid(26))
        EXPECT_TRUE(wxIsalnum(c) && c < 128) << boundary;
    EXPECT_EQ(wxS("--"), wxHTTPBuilder::CreateBoundary(2));
    EXPECT_EQ(wxString(), wxHTTPBuilder::CreateBoundary(0));
}

TEST(HTTPBuilderText, ParseURL)
{
    wxString protocol, host, path, user, password;
    int port = 0;
    EXPECT_TRUE(wxHTTPBuilder::ParseURL(wxS("http://example.org"), protocol, host, port, path, user,
                                        password));
    EXPECT_EQ(wxS("http"), protocol);
    EXPECT_EQ(wxS("example.org"), host);
    EXPECT_EQ(80, port);
    EXPECT_EQ(wxS("/"), path);

    EXPECT_TRUE(wxHTTPBuilder::ParseURL(wxS("https://ann:se:cret@h/a/b?c=d#e"), protocol, host,
                                        port, path, user, password));
    EXPECT_EQ(443, port);
    EXPECT_EQ(wxS("h"), host);
    EXPECT_EQ(wxS("/a/b?c=d#e"), path);
    EXPECT_EQ(wxS("ann"), user);
    EXPECT_EQ(wxS("se:cret"), password);

    EXPECT_TRUE(wxHTTPBuilder::ParseURL(wxS("gopher://bob@h:7070"), protocol, host, port, path,
                                        user, password));
    EXPECT_EQ(7070, port);
    EXPECT_EQ(wxS("bob"), user);
    EXPECT_EQ(wxString(), password);

    for (const char* bad :
         {"example.org/x", "http:/h/x", "http:///x", "://h/", "http://u@/x", "http://h:0/",
          "http://h:65536/", "http://h:8o/", "http://h/a b", "http://h/a\r\nX: y"})
    {
        protocol = wxS("kept");
        EXPECT_FALSE(wxHTTPBuilder::ParseURL(wxString::FromUTF8(bad), protocol, host, port, path,
                                             user, password))
            << bad;
        EXPECT_EQ(wxS("kept"), protocol);
    }
}

TEST(HTTPBuilderSettings, ProxyFlagsExceptionsAndContentTypes)
{
    wxHTTPBuilder b;
    const wxProxySettings fresh = b.GetProxySettings();
    EXPECT_EQ(8080, fresh.m_port);
    EXPECT_EQ(wxS(","), fresh.m_exceptionsDelimiter);
    EXPECT_EQ(wxHTTPAuthSettings::wxHTTP_AUTH_NONE, b.GetAuthentication().m_authType);

    b.HttpProxy(wxS("cache"), 3128);
    b.HttpProxyAuth(wxS("u"), wxS("p"));
    b.HttpProxyExceptions(wxS(" Example.ORG ;; intra ; "), wxS(";"));
    const wxProxySettings set = b.GetProxySettings();
    EXPECT_TRUE(set.m_useProxy);
    EXPECT_TRUE(set.m_requiresAuth);
    EXPECT_EQ(3128, set.m_port);
    EXPECT_FALSE(b.UseProxyForHost(wxS("www.example.org")));
    EXPECT_FALSE(b.UseProxyForHost(wxS("myexample.org")));
    EXPECT_FALSE(b.UseProxyForHost(wxS("files.INTRA")));
    EXPECT_TRUE(b.UseProxyForHost(wxS("example.org.evil")));
    b.HttpProxyExceptions(wxString());
    EXPECT_TRUE(b.UseProxyForHost(wxS("example.org")));

    b.Authenticate(wxS("ann"), wxS("pw"));
    EXPECT_EQ(wxHTTPAuthSettings::wxHTTP_AUTH_BASIC, b.GetAuthentication().m_authType);

    EXPECT_EQ(wxS("application/octet-stream"), b.GetContentType(wxS("a.txt")));
    b.AddContentType(wxS("txt"), wxS("text/x-own"));
    b.InitContentTypes();
    EXPECT_EQ(wxS("text/x-own"), b.GetContentType(wxS("/d.d/A.TXT")));
    EXPECT_EQ(wxS("image/jpeg"), b.GetContentType(wxS("photo.jpeg")));
    EXPECT_EQ(wxS("application/octet-stream"), b.GetContentType(wxS("/d.zip/noext")));
    b.RemoveContentType(wxS("JPEG"));
    EXPECT_EQ(wxS("application/octet-stream"), b.GetContentType(wxS("photo.jpeg")));
    EXPECT_EQ(wxS("application/zip"), b.GetContentType(wxS("a.zip")));
}

TEST(HTTPBuilderSettings, StatusPhrasesAndLengths)
{
    wxHTTPBuilder b;
    EXPECT_EQ(wxS("Unknown"), b.GetStatusCode());
    EXPECT_EQ(wxS("0 Unknown"), b.GetResponseString());
    EXPECT_EQ(-1, b.GetContentLength());
    for (const char* length : {"abc", "-5", "99999999999999999999999"})
    {
        b.SetHeader(wxS("Content-Length"), wxString::FromUTF8(length));
        EXPECT_EQ(-1, b.GetContentLength()) << length;
    }
    b.SetHeader(wxS("Content-Length"), wxS(" 12 "));
    EXPECT_EQ(12, b.GetContentLength());

    b.AddBytesRead(2147483000);
    b.AddBytesRead(2147483000);
    EXPECT_EQ(2147483647, b.GetBytesRead());
    b.Stop();
    EXPECT_TRUE(b.StopCheck());
    b.Stop(false);
    EXPECT_FALSE(b.StopCheck());
}

TEST(HTTPBuilderBody, MultipartBodyInAFile)
{
    kxTestTempDir dir;
    const wxString upload = dir.File(wxS("notes.txt"));
    const std::string content("line one\r\n\0binary\xff", 19);
    ASSERT_TRUE(kxTestWriteFile(upload, content));

    wxHTTPBuilder b;
    b.InitContentTypes();
    b.SetValue(wxS("q"), wxS("in query"));
    b.SetValue(wxS("field"), wxS("Gr\u00fc\u00dfe"), wxHTTPBuilder::wxHTTP_TYPE_POST);
    b.SetValue(wxS("doc"), upload, wxHTTPBuilder::wxHTTP_TYPE_FILE);
    b.SetValue(wxS("raw"), wxS("Content-Disposition: form-data; name=\"raw\"\r\n\r\nas is"),
               wxHTTPBuilder::wxHTTP_TYPE_MULTIPARTDATA);
    b.SetRequestCookie(wxS("c"), wxS("1"));

    const wxString file = dir.File(wxS("body"));
    std::unique_ptr<wxInputStream> in(b.GetPostBufferStream(file));
    ASSERT_TRUE(in);
    const std::string body = ReadAll(*in);
    const wxString type = b.GetHeader(wxS("Content-Type"));
    ASSERT_TRUE(type.StartsWith(wxS("multipart/form-data; boundary=")));
    const std::string boundary = type.AfterFirst('=').utf8_string();
    ASSERT_EQ(40u, boundary.size());
    const std::string expected =
        "--" + boundary +
        "\r\nContent-Disposition: form-data; name=\"field\"\r\n\r\nGr\xc3\xbc\xc3\x9f" + "e\r\n--" +
        boundary + "\r\nContent-Disposition: form-data; name=\"doc\"; filename=\"" +
        upload.utf8_string() + "\"\r\nContent-Type: text/plain\r\n\r\n" + content + "\r\n--" +
        boundary + "\r\nContent-Disposition: form-data; name=\"raw\"\r\n\r\nas is\r\n--" +
        boundary + "--\r\n";
    EXPECT_EQ(expected, body);
    EXPECT_EQ(wxString::Format(wxS("%zu"), expected.size()), b.GetHeader(wxS("Content-Length")));

    // An upload that cannot be read is no body at all.
    b.SetValue(wxS("gone"), dir.File(wxS("missing")), wxHTTPBuilder::wxHTTP_TYPE_FILE);
    EXPECT_FALSE(b.GetPostBufferStream(dir.File(wxS("body2"))));
}
