// The request builder against servers that misbehave: each scripted on a raw socket.
#include "kxHttpTestServers.h"
#include "kxRuzoVori/http/wxHTTPBuilder.h"
#include "support/kxTestListener.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <sys/socket.h>

namespace
{
// Answers every request with the same bytes and closes.
kxTestRawServer Answering(const std::string& response)
{
    return kxTestRawServer(
        [response](int connection)
        {
            kxTestRawServer::ReadHead(connection);
            kxTestRawServer::Write(connection, response);
        });
}

// Sends head, then the same piece again and again until the client gives up; counts the bytes.
struct Flood
{
    std::atomic<size_t> m_sent{0};
    kxTestRawServer m_server;

    Flood(const std::string& head, const std::string& piece)
        : m_server(
              [this, head, piece](int connection)
              {
                  kxTestRawServer::ReadHead(connection);
                  bool ok = kxTestRawServer::Write(connection, head);
                  while (ok && m_sent < (64u << 20))
                  {
                      ok = kxTestRawServer::Write(connection, piece);
                      m_sent += piece.size();
                  }
              })
    {
    }
};
} // namespace

TEST(HTTPBuilderHostile, BodyCutShortOfItsLength)
{
    kxTestRawServer server =
        Answering("HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\nonly this");
    kxTestTempDir dir;
    wxHTTPBuilder b;
    EXPECT_FALSE(b.SaveFile(dir.File(wxS("cut")), server.Url("/")));
    EXPECT_EQ(wxS("Receiving Response"), b.GetLastError());
    EXPECT_EQ("only this", kxTestReadBytes(dir.File(wxS("cut"))));
    EXPECT_EQ(wxS("only this"), b.GetInputString(server.Url("/")));
    EXPECT_EQ(wxS("Receiving Response"), b.GetLastError());
}

TEST(HTTPBuilderHostile, StatusLinesThatAreNoStatusLines)
{
    // Without "HTTP/" the whole answer is taken as a body without a head, nothing of it lost.
    kxTestRawServer bare = Answering("just text\nand more");
    wxHTTPBuilder b;
    EXPECT_EQ(wxS("just text\nand more"), b.GetInputString(bare.Url("/")));
    EXPECT_EQ(wxS("none/none"), b.GetHeader(wxS("Content-Type")));
    EXPECT_EQ(-1, b.GetContentLength());

    for (const char* status : {"HTTP/1.0 abc Fine\r\n\r\n", "HTTP/1.0\r\n\r\n",
                               "HTTP/1.0 600 Odd\r\n\r\n", "HTTP/1.0 200 OK\r\nX: y\r\n"})
    {
        kxTestRawServer server = Answering(status);
        wxHTTPBuilder odd;
        EXPECT_FALSE(odd.GetInputStream(server.Url("/"), wxEmptyString)) << status;
        EXPECT_EQ(wxS("Sending Request"), odd.GetLastError()) << status;
    }
}

TEST(HTTPBuilderHostile, EndlessLinesAreBounded)
{
    const std::string endless(1 << 16, 'a');
    const char* heads[] = {"HTTP/1.0 200 OK", "HTTP/1.0 200 OK\r\nX-Long: "};
    for (const char* head : heads)
    {
        Flood flood(head, endless);
        wxHTTPBuilder b;
        EXPECT_FALSE(b.GetInputStream(flood.m_server.Url("/"), wxEmptyString)) << head;
        EXPECT_EQ(wxS("Sending Request"), b.GetLastError());
        EXPECT_EQ(wxPROTO_PROTERR, b.GetError());
    }

    Flood many("HTTP/1.0 200 OK\r\n", "X-Again: and again\r\n");
    wxHTTPBuilder b;
    EXPECT_FALSE(b.GetInputStream(many.m_server.Url("/"), wxEmptyString));
    EXPECT_EQ(wxPROTO_PROTERR, b.GetError());
    EXPECT_LE(b.GetRawHeaders().length(), 20 * wxHTTPBuilder::GetMaxHeaderLines());

    // As many header lines as allowed are fine.
    std::string full = "HTTP/1.0 200 OK\r\n";
    for (size_t i = 0; i < wxHTTPBuilder::GetMaxHeaderLines(); ++i)
        full += "X-" + std::to_string(i) + ": " + std::string(100, 'v') + "\r\n";
    kxTestRawServer server = Answering(full + "\r\nbody");
    EXPECT_EQ(wxS("body"), b.GetInputString(server.Url("/")));
    EXPECT_EQ(wxString(100, 'v'), b.GetHeader(wxS("X-255")));
}

TEST(HTTPBuilderHostile, SilentServerTimesOut)
{
    kxTestRawServer silent(
        [&silent](int connection)
        {
            kxTestRawServer::ReadHead(connection);
            silent.WaitForClose(connection);
        });
    wxHTTPBuilder b;
    b.SetTimeout(1);
    EXPECT_EQ(wxString(), b.GetInputString(silent.Url("/")));
    EXPECT_EQ(wxS("Sending Request"), b.GetLastError());
    EXPECT_EQ(wxPROTO_NETERR, b.GetError());

    // The same in the middle of a body.
    kxTestRawServer stalling(
        [&stalling](int connection)
        {
            kxTestRawServer::ReadHead(connection);
            kxTestRawServer::Write(connection, "HTTP/1.0 200 OK\r\n\r\nfirst");
            stalling.WaitForClose(connection);
        });
    kxTestTempDir dir;
    EXPECT_FALSE(b.SaveFile(dir.File(wxS("stalled")), stalling.Url("/")));
    EXPECT_EQ(wxS("Receiving Response"), b.GetLastError());
    EXPECT_EQ("first", kxTestReadBytes(dir.File(wxS("stalled"))));
}

TEST(HTTPBuilderHostile, UnansweredConnectTimesOut)
{
    kxTestFullListener unanswering;
    ASSERT_TRUE(unanswering.IsOk());
    const wxString url = wxString::Format(wxS("http://127.0.0.1:%d/"), unanswering.Port());
    // A blocking socket, as a console program or the worker thread has it, waits no longer.
    for (const wxSocketFlags flags : {wxSOCKET_NONE, wxSOCKET_BLOCK})
    {
        wxHTTPBuilder b;
        b.SetFlags(flags);
        b.SetTimeout(2);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(-1, b.GetHeadResponse(url));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // Not refused at once: the peer really stayed silent.
        EXPECT_GE(seconds, 1.0);
        EXPECT_LT(seconds, 30.0);
        EXPECT_EQ(wxS("Connecting to server"), b.GetLastError());
        EXPECT_EQ(wxPROTO_CONNERR, b.GetError());
    }
}

TEST(HTTPBuilderHostile, NothingInClearWhenTlsFails)
{
    // A plain HTTP server where the client expects TLS: it hears a handshake, never a request.
    std::string heard;
    kxTestRawServer plain(
        [&heard](int connection)
        {
            char buffer[4096];
            const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
            heard.assign(buffer, got > 0 ? static_cast<size_t>(got) : 0);
            kxTestRawServer::Write(connection, "HTTP/1.0 200 OK\r\n\r\nhello");
        });
    wxHTTPBuilder b;
    b.SetValue(wxS("secret"), wxS("value"));
    b.Authenticate(wxS("user"), wxS("password"));
    const wxString url = wxString::Format(wxS("https://127.0.0.1:%d/page"), plain.Port());
    EXPECT_EQ(wxString(), b.GetInputString(url));
    EXPECT_EQ(wxS("Securing connection"), b.GetLastError());
    EXPECT_FALSE(b.GetSecurityError().empty());
    EXPECT_FALSE(heard.empty());
    EXPECT_EQ(std::string::npos, heard.find("secret"));
    EXPECT_EQ(std::string::npos, heard.find("/page"));
}
