// Tests of the TLS client session against a local TLS server.
#include "kxRuzoVori/platform/kxPlatformTls.h"

#include "support/kxTestCertificates.h"
#include "support/kxTestListener.h"

#include <gtest/gtest.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <wx/socket.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using kxPlatform::TlsError;
using kxPlatform::TlsSession;
using kxPlatform::TlsVerify;

namespace
{
// A TLS server on 127.0.0.1 for one connection at a time: it echoes what it receives, or never
// says a word, or greets in plain text like a server that does not speak TLS.
class TestServer
{
public:
    enum Mode
    {
        Echo,
        Silent,
        PlainText
    };

    TestServer(const kxTestKeyPair& pair, Mode mode) : m_mode(mode)
    {
        // OpenSSL's own socket writes would end the program when a client hangs up early.
        signal(SIGPIPE, SIG_IGN);
        m_context = SSL_CTX_new(TLS_server_method());
        SSL_CTX_use_certificate_chain_file(m_context, pair.m_certificate.c_str());
        SSL_CTX_use_PrivateKey_file(m_context, pair.m_key.c_str(), SSL_FILETYPE_PEM);
        m_listener = kxTestListen(m_port);
        m_thread = std::thread([this] { Run(); });
    }

    ~TestServer()
    {
        m_stop = true;
        m_thread.join();
        close(m_listener);
        SSL_CTX_free(m_context);
    }

    // A blocking socket connected to the server.
    int Connect() const
    {
        const int client = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(m_port);
        connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address);
        return client;
    }

    int Port() const { return m_port; }

private:
    bool Readable(int socket)
    {
        pollfd entry{socket, POLLIN, 0};
        while (!m_stop)
            if (poll(&entry, 1, 20) > 0)
                return true;
        return false;
    }

    void Run()
    {
        while (Readable(m_listener))
        {
            const int peer = accept(m_listener, nullptr, nullptr);
            if (m_mode == PlainText)
                send(peer, "220 plain text\r\n", 16, MSG_NOSIGNAL);
            if (m_mode == Echo)
                Serve(peer);
            else
                while (!m_stop) // holds the connection open, unread, until the test ends
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            close(peer);
        }
    }

    void Serve(int peer)
    {
        SSL* ssl = SSL_new(m_context);
        SSL_set_fd(ssl, peer);
        if (SSL_accept(ssl) == 1)
        {
            char buffer[16384];
            size_t got = 0;
            while (Readable(peer) && SSL_read_ex(ssl, buffer, sizeof buffer, &got) == 1)
            {
                if (std::string(buffer, got) == "bye")
                {
                    SSL_shutdown(ssl);
                    break;
                }
                size_t written = 0;
                SSL_write_ex(ssl, buffer, got, &written);
            }
        }
        SSL_free(ssl);
        ERR_clear_error();
    }

    Mode m_mode;
    SSL_CTX* m_context = nullptr;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Sends text and reads back as many bytes.
std::string EchoOf(TlsSession& session, const std::string& text)
{
    if (!session.Send(text.data(), text.size(), 5000))
        return "send failed: " + session.GetErrorText();
    std::string back;
    char buffer[4096];
    while (back.size() < text.size())
    {
        const long got = session.Receive(buffer, sizeof buffer, 5000);
        if (got <= 0)
            return back + " receive failed: " + session.GetErrorText();
        back.append(buffer, static_cast<size_t>(got));
    }
    return back;
}

class PlatformTls : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(kxTestGetCertificates().IsOk()); }

    const kxTestCertificates& Certificates() const { return kxTestGetCertificates(); }

    // A handshake with server as host over a fresh blocking socket.
    TlsError Shake(const TestServer& server, const std::string& host, TlsVerify verify,
                   const std::string& caFile, int timeoutMs = 5000)
    {
        const int socket = server.Connect();
        TlsSession session;
        const bool ok = session.Handshake(socket, host, verify, caFile, timeoutMs);
        EXPECT_EQ(ok, session.GetError() == TlsError::None) << session.GetErrorText();
        m_reason = session.GetErrorText();
        close(socket);
        return session.GetError();
    }

    std::string m_reason;
};
} // namespace

TEST_F(PlatformTls, TrustedServerCarriesDataBothWaysUntilItEndsTheSession)
{
    TestServer server(Certificates().Trusted(), TestServer::Echo);
    const int socket = server.Connect();
    {
        TlsSession session;
        ASSERT_TRUE(session.Handshake(socket, "localhost", TlsVerify::CaFile,
                                      Certificates().CaFile(), 5000))
            << session.GetErrorText();
        EXPECT_EQ(EchoOf(session, "hello"), "hello");
        // Larger than the socket buffers, so both sides have to wait for each other.
        std::string large(3 << 20, '\0');
        for (size_t i = 0; i < large.size(); ++i)
            large[i] = static_cast<char>(i * 7 + i / 4096);
        EXPECT_TRUE(EchoOf(session, large) == large);

        ASSERT_TRUE(session.Send("bye", 3, 5000));
        char buffer[16];
        EXPECT_EQ(session.Receive(buffer, sizeof buffer, 5000), 0);
    }
    // The session left the socket to its owner.
    EXPECT_EQ(send(socket, "x", 1, MSG_NOSIGNAL), 1);
    close(socket);
}

TEST_F(PlatformTls, CertificateChecks)
{
    TestServer trusted(Certificates().Trusted(), TestServer::Echo);
    EXPECT_EQ(Shake(trusted, "127.0.0.1", TlsVerify::CaFile, Certificates().CaFile()),
              TlsError::None);
    // The test CA is in no system store.
    EXPECT_EQ(Shake(trusted, "localhost", TlsVerify::SystemStore, ""), TlsError::Untrusted);
    EXPECT_NE(m_reason.find("untrusted certificate"), std::string::npos) << m_reason;
    EXPECT_EQ(Shake(trusted, "other.example", TlsVerify::CaFile, Certificates().CaFile()),
              TlsError::WrongHost);
    EXPECT_EQ(Shake(trusted, "127.0.0.2", TlsVerify::CaFile, Certificates().CaFile()),
              TlsError::WrongHost);
    EXPECT_NE(m_reason.find("wrong host name"), std::string::npos) << m_reason;

    TestServer otherHost(Certificates().OtherHost(), TestServer::Echo);
    EXPECT_EQ(Shake(otherHost, "localhost", TlsVerify::CaFile, Certificates().CaFile()),
              TlsError::WrongHost);
    EXPECT_EQ(Shake(otherHost, "other.example", TlsVerify::CaFile, Certificates().CaFile()),
              TlsError::None);

    TestServer selfSigned(Certificates().SelfSigned(), TestServer::Echo);
    EXPECT_EQ(Shake(selfSigned, "localhost", TlsVerify::CaFile, Certificates().CaFile()),
              TlsError::Untrusted);
    EXPECT_EQ(Shake(selfSigned, "localhost", TlsVerify::SystemStore, ""), TlsError::Untrusted);
    // Only an explicit choice accepts it.
    EXPECT_EQ(Shake(selfSigned, "other.example", TlsVerify::Off, ""), TlsError::None);

    EXPECT_EQ(Shake(trusted, "localhost", TlsVerify::CaFile, "/nonexistent/ca.pem"),
              TlsError::BadCaFile);
}

TEST_F(PlatformTls, PeersThatDoNotSpeakTls)
{
    TestServer silent(Certificates().Trusted(), TestServer::Silent);
    EXPECT_EQ(Shake(silent, "localhost", TlsVerify::CaFile, Certificates().CaFile(), 200),
              TlsError::TimedOut);

    TestServer plain(Certificates().Trusted(), TestServer::PlainText);
    EXPECT_EQ(Shake(plain, "localhost", TlsVerify::CaFile, Certificates().CaFile()),
              TlsError::Handshake);
    EXPECT_NE(m_reason.find("handshake failure"), std::string::npos) << m_reason;
}

TEST_F(PlatformTls, SilentPeerAfterTheHandshakeTimesOut)
{
    TestServer server(Certificates().Trusted(), TestServer::Echo);
    const int socket = server.Connect();
    TlsSession session;
    ASSERT_TRUE(
        session.Handshake(socket, "localhost", TlsVerify::CaFile, Certificates().CaFile(), 5000));
    char buffer[16];
    EXPECT_EQ(session.Receive(buffer, sizeof buffer, 100), -1);
    EXPECT_EQ(session.GetError(), TlsError::TimedOut);
    EXPECT_EQ(session.GetSystemError(), ETIMEDOUT);
    EXPECT_FALSE(session.HasPending());
    // The session is still usable after a time-out.
    EXPECT_EQ(EchoOf(session, "again"), "again");
    close(socket);
}

TEST_F(PlatformTls, WorksOverTheToolkitsNonBlockingSocket)
{
    TestServer server(Certificates().Trusted(), TestServer::Echo);
    wxIPV4address address;
    address.Hostname(wxS("127.0.0.1"));
    address.Service(server.Port());
    wxSocketClient client;
    ASSERT_TRUE(client.Connect(address, true));

    TlsSession session;
    ASSERT_TRUE(session.Handshake(client.GetSocket(), "localhost", TlsVerify::CaFile,
                                  Certificates().CaFile(), 5000))
        << session.GetErrorText();
    EXPECT_EQ(EchoOf(session, std::string(100000, 'k')), std::string(100000, 'k'));
    session.Shutdown();
}
