// The SMTP client's dialogue: connection, optional TLS, AUTH LOGIN, one message, QUIT.
#include "kxRuzoVori/mail/Smtp.h"

#include "kxRuzoVori/core/private/kxBase64.h"
#include "kxRuzoVori/mail/private/SmtpReply.h"
#include "kxRuzoVori/platform/kxPlatformSocket.h"
#include "kxRuzoVori/platform/kxPlatformTls.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <locale>
#include <sstream>

namespace mail
{
namespace
{
// A reply read in one receive uses at most this many bytes less one.
constexpr size_t kReceiveBuffer = 4096;
// A whole reply read over several receives may not grow beyond this.
constexpr size_t kLongestReply = 64 * 1024;

// Throws message + number (+ the reason, when there is one) + a line feed.
[[noreturn]] void Fail(const std::string& message, int number, const std::string& reason = "")
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << message << number;
    if (!reason.empty())
        text << " (" << reason << ")";
    text << std::endl;
    throw Exception(text.str());
}

std::string Base64(const std::string& bytes)
{
    return kxBase64Encode(bytes.data(), bytes.size());
}
} // namespace

// The open connection: its socket, the TLS session once there is one, and the bytes of replies
// received beyond the one asked for.
struct Smtp::Connection
{
    kxPlatform::SocketHandle m_socket = kxPlatform::kNoSocket;
    std::unique_ptr<kxPlatform::TlsSession> m_tls;
    std::string m_unread;

    ~Connection() { Close(); }

    // Failures give the system's error number and, for TLS, its reason when no number says it.
    bool Write(const std::string& bytes, int timeoutMs, int& error, std::string& reason)
    {
        if (!m_tls)
            return kxPlatform::SendOnSocket(m_socket, bytes.data(), bytes.size(), timeoutMs,
                                            error) >= 0;
        if (m_tls->Send(bytes.data(), bytes.size(), timeoutMs))
            return true;
        TlsFailure(error, reason);
        return false;
    }

    long Read(void* data, size_t size, int timeoutMs, int& error, std::string& reason)
    {
        if (!m_tls)
            return kxPlatform::ReceiveFromSocket(m_socket, data, size, timeoutMs, error);
        const long got = m_tls->Receive(data, size, timeoutMs);
        if (got < 0)
            TlsFailure(error, reason);
        return got;
    }

    void TlsFailure(int& error, std::string& reason) const
    {
        error = m_tls->GetSystemError();
        if (error == 0)
            reason = m_tls->GetErrorText();
    }

    void Close()
    {
        m_tls.reset();
        m_unread.clear();
        kxPlatform::CloseSocket(m_socket);
        m_socket = kxPlatform::kNoSocket;
    }
};

Smtp::Smtp(const std::string& host, int port, const std::string& user, const std::string& password)
    : Smtp(host, port, user, password, Options())
{
}

Smtp::Smtp(const std::string& host, int port, const std::string& user, const std::string& password,
           const Options& options)
    : m_port(port), m_options(options), m_connection(new Connection)
{
    const int started = kxPlatform::StartSockets();
    if (started != 0)
        Fail("Can't initialize winsock: #", started);
    m_host = host;
    m_user = user;
    m_password = password;
}

Smtp::~Smtp()
{
    m_connection.reset();
    kxPlatform::StopSockets();
}

bool Smtp::sendMail(Mail const& mail)
{
    PrivateConnect();
    try
    {
        // The greeting is read but not judged: the first command's reply says whether the server
        // is willing.
        try
        {
            PrivateReceive();
        }
        catch (const Exception&)
        {
        }
        const Reply hello = sendRequest("EHLO " + m_host, true);
        checkResponseCode(250, hello);
        if (m_options.m_tls == Options::StartTls)
        {
            if (!ReplyHasExtension(hello.second, "STARTTLS"))
                throw Exception("SMTP server does not offer STARTTLS\n");
            checkResponseCode(220, sendRequest("STARTTLS", true));
            // Nothing the server sent in the clear may count as said inside TLS.
            m_connection->m_unread.clear();
            PrivateStartTls();
            checkResponseCode(250, sendRequest("EHLO " + m_host, true));
        }
        checkResponseCode(334, sendRequest("AUTH LOGIN", true));
        checkResponseCode(334, sendRequest(Base64(m_user), true));
        checkResponseCode(235, sendRequest(Base64(m_password), true));
        checkResponseCode(250, sendRequest("MAIL FROM: <" + mail.m_from + ">", true));
        checkResponseCode(250, sendRequest("RCPT TO: <" + mail.m_to + ">", true));
        checkResponseCode(354, sendRequest("DATA", true));
        checkResponseCode(250, sendRequest(mail.getData() + ".", true));
    }
    catch (const Exception&)
    {
        PrivateClose();
        throw;
    }
    try
    {
        sendRequest("QUIT", false);
    }
    catch (const Exception&)
    {
        PrivateClose();
        throw;
    }
    if (m_connection->m_tls)
        m_connection->m_tls->Shutdown();
    PrivateClose();
    return true;
}

Smtp::Reply Smtp::sendRequest(const std::string& request, bool expectReply)
{
    int error = 0;
    std::string reason;
    if (!m_connection->Write(request + "\r\n", m_options.m_timeout, error, reason))
        Fail("Can't send request ,," + request + "'': #", error, reason);
    if (!expectReply)
        return Reply(-1, std::string());
    return PrivateReceive();
}

void Smtp::checkResponseCode(int expected, const Reply& reply)
{
    if (reply.first == expected)
        return;
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << "Expected SMTP status " << expected << " but received status " << reply.first << " ("
         << reply.second << ")" << std::endl;
    throw Exception(text.str());
}

void Smtp::PrivateConnect()
{
    Connection& connection = *m_connection;
    int error = 0;
    connection.m_socket = kxPlatform::OpenTcpSocket(error);
    if (connection.m_socket == kxPlatform::kNoSocket)
        Fail("Can't create socket: #", error);
    std::uint32_t address = 0;
    std::string reason;
    if (!kxPlatform::ResolveIPv4(m_host, address, reason))
    {
        PrivateClose();
        throw Exception("Can't resolve SMTP server host name ,," + m_host + "'': " + reason + "\n");
    }
    if (!kxPlatform::ConnectSocket(connection.m_socket, address, m_port, m_options.m_timeout,
                                   error))
    {
        PrivateClose();
        Fail("Can't connect with SMTP server: #", error);
    }
    if (m_options.m_tls == Options::ImplicitTls)
    {
        try
        {
            PrivateStartTls();
        }
        catch (const Exception&)
        {
            PrivateClose();
            throw;
        }
    }
}

void Smtp::PrivateStartTls()
{
    Connection& connection = *m_connection;
    connection.m_tls.reset(new kxPlatform::TlsSession);
    const kxPlatform::TlsVerify verify = m_options.m_caFile.empty()
                                             ? kxPlatform::TlsVerify::SystemStore
                                             : kxPlatform::TlsVerify::CaFile;
    if (!connection.m_tls->Handshake(connection.m_socket, m_host, verify, m_options.m_caFile,
                                     m_options.m_timeout))
        throw Exception("Can't start TLS with SMTP server: " + connection.m_tls->GetErrorText() +
                        "\n");
}

Smtp::Reply Smtp::PrivateReceive()
{
    if (m_options.m_tls != Options::NoTls)
        return PrivateReceiveWhole();
    // One receive into a cleared buffer; the text ends at the first zero byte, and the buffer's
    // last byte is kept for the terminating zero.
    char buffer[kReceiveBuffer] = {};
    int error = 0;
    if (kxPlatform::ReceiveFromSocket(m_connection->m_socket, buffer, sizeof buffer,
                                      m_options.m_timeout, error) < 0)
        Fail("Can't receive from socket: #", error);
    const std::string text(buffer, strnlen(buffer, sizeof buffer - 1));
    return Reply(ParseReplyCode(text), text);
}

Smtp::Reply Smtp::PrivateReceiveWhole()
{
    Connection& connection = *m_connection;
    std::string& unread = connection.m_unread;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(m_options.m_timeout);
    for (;;)
    {
        const size_t length = CompleteReplyLength(unread.data(), unread.size());
        if (length > 0)
        {
            const std::string text = unread.substr(0, length);
            unread.erase(0, length);
            return Reply(ParseReplyCode(text), text);
        }
        if (unread.size() >= kLongestReply)
            Fail("Can't receive from socket: #", EMSGSIZE);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        char buffer[kReceiveBuffer];
        int error = 0;
        std::string reason;
        const long got =
            connection.Read(buffer, sizeof buffer,
                            left.count() > 0 ? static_cast<int>(left.count()) : 0, error, reason);
        if (got < 0)
            Fail("Can't receive from socket: #", error, reason);
        if (got == 0)
        {
            // The server hung up in the middle of a reply: what came is all there is.
            const std::string text = unread;
            unread.clear();
            return Reply(ParseReplyCode(text), text);
        }
        unread.append(buffer, static_cast<size_t>(got));
    }
}

void Smtp::PrivateClose()
{
    m_connection->Close();
}
} // namespace mail
