// The TLS client session on OpenSSL, over a socket reached through a BIO that never blocks.
#include "kxRuzoVori/platform/kxPlatformTls.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>

namespace kxPlatform
{
namespace
{
using Clock = std::chrono::steady_clock;

// What the BIO callbacks share with the session: the socket and the last system error they met,
// kept here because OpenSSL's own calls may overwrite errno before the session looks.
struct SocketIo
{
    int m_socket = -1;
    int m_errno = 0;
};

SocketIo& IoOf(BIO* bio)
{
    return *static_cast<SocketIo*>(BIO_get_data(bio));
}

// Both directions use MSG_DONTWAIT, so the socket's own blocking flag never matters, and
// MSG_NOSIGNAL, so a peer that went away is an error rather than SIGPIPE.
int SocketWrite(BIO* bio, const char* data, size_t size, size_t* written)
{
    BIO_clear_retry_flags(bio);
    SocketIo& io = IoOf(bio);
    for (;;)
    {
        const ssize_t sent = send(io.m_socket, data, size, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent >= 0)
        {
            *written = static_cast<size_t>(sent);
            return 1;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            BIO_set_retry_write(bio);
        else
            io.m_errno = errno;
        return 0;
    }
}

int SocketRead(BIO* bio, char* data, size_t size, size_t* read)
{
    BIO_clear_retry_flags(bio);
    SocketIo& io = IoOf(bio);
    for (;;)
    {
        const ssize_t got = recv(io.m_socket, data, size, MSG_DONTWAIT);
        if (got > 0)
        {
            *read = static_cast<size_t>(got);
            return 1;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            BIO_set_retry_read(bio);
        else if (got < 0)
            io.m_errno = errno;
        return 0;
    }
}

long SocketControl(BIO*, int command, long, void*)
{
    return command == BIO_CTRL_FLUSH ? 1 : 0;
}

int SocketCreate(BIO* bio)
{
    BIO_set_init(bio, 1);
    return 1;
}

// The BIO method is made once per process and lives as long as it.
class SocketMethod
{
public:
    SocketMethod()
    {
        m_method = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "kxSocket");
        if (m_method)
        {
            BIO_meth_set_write_ex(m_method, SocketWrite);
            BIO_meth_set_read_ex(m_method, SocketRead);
            BIO_meth_set_ctrl(m_method, SocketControl);
            BIO_meth_set_create(m_method, SocketCreate);
        }
    }
    ~SocketMethod() { BIO_meth_free(m_method); }
    SocketMethod(const SocketMethod&) = delete;
    SocketMethod& operator=(const SocketMethod&) = delete;

    const BIO_METHOD* Get() const { return m_method; }

private:
    BIO_METHOD* m_method = nullptr;
};

const BIO_METHOD* GetSocketMethod()
{
    static SocketMethod method;
    return method.Get();
}

bool IsAddressLiteral(const std::string& host)
{
    unsigned char address[sizeof(struct in6_addr)];
    return inet_pton(AF_INET, host.c_str(), address) == 1 ||
           inet_pton(AF_INET6, host.c_str(), address) == 1;
}

// The reason of the oldest error OpenSSL queued on this thread; the queue is emptied.
std::string TakeOpenSslReason(unsigned long& code)
{
    code = ERR_get_error();
    const char* reason = code ? ERR_reason_error_string(code) : nullptr;
    ERR_clear_error();
    return reason ? reason : "no reason given";
}
} // namespace

struct TlsSession::Data
{
    SSL_CTX* m_context = nullptr;
    SSL* m_ssl = nullptr;
    SocketIo m_io;
    TlsError m_error = TlsError::None;
    std::string m_errorText;
    int m_systemError = 0;

    ~Data()
    {
        SSL_free(m_ssl);
        SSL_CTX_free(m_context);
    }

    bool Fail(TlsError error, const std::string& text, int systemError = 0)
    {
        m_error = error;
        m_errorText = text;
        m_systemError = systemError;
        return false;
    }

    // Waits until the socket is ready for what OpenSSL asked for, or fails at the deadline.
    bool Wait(int sslError, Clock::time_point deadline)
    {
        pollfd entry{};
        entry.fd = m_io.m_socket;
        entry.events = sslError == SSL_ERROR_WANT_WRITE ? POLLOUT : POLLIN;
        for (;;)
        {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return Fail(TlsError::TimedOut, "time-out", ETIMEDOUT);
            const int ready = poll(&entry, 1, static_cast<int>(left.count()) + 1);
            if (ready > 0)
                return true;
            if (ready < 0 && errno != EINTR)
                return Fail(TlsError::System, std::string("system error (") + strerror(errno) + ")",
                            errno);
        }
    }

    // Turns a failed OpenSSL call into the session's error; true when the call only has to wait.
    bool Classify(int result, bool handshake)
    {
        const int sslError = SSL_get_error(m_ssl, result);
        if (sslError == SSL_ERROR_WANT_READ || sslError == SSL_ERROR_WANT_WRITE)
            return true;
        if (sslError == SSL_ERROR_ZERO_RETURN)
            return Fail(TlsError::Closed, "the peer ended the session");
        if (m_io.m_errno != 0)
        {
            const int error = m_io.m_errno;
            ERR_clear_error();
            return Fail(TlsError::System, std::string("system error (") + strerror(error) + ")",
                        error);
        }
        if (handshake)
        {
            const long verified = SSL_get_verify_result(m_ssl);
            if (verified == X509_V_ERR_HOSTNAME_MISMATCH ||
                verified == X509_V_ERR_IP_ADDRESS_MISMATCH)
            {
                ERR_clear_error();
                return Fail(TlsError::WrongHost,
                            "wrong host name (the certificate is made out for another host)");
            }
            if (verified != X509_V_OK)
            {
                ERR_clear_error();
                return Fail(TlsError::Untrusted, std::string("untrusted certificate (") +
                                                     X509_verify_cert_error_string(verified) + ")");
            }
        }
        unsigned long code = 0;
        const std::string reason = TakeOpenSslReason(code);
        if (sslError == SSL_ERROR_SYSCALL ||
            ERR_GET_REASON(code) == SSL_R_UNEXPECTED_EOF_WHILE_READING)
            return Fail(TlsError::Closed, "the peer closed the connection");
        if (handshake)
            return Fail(TlsError::Handshake, "handshake failure (" + reason + ")");
        return Fail(TlsError::Protocol, "protocol error (" + reason + ")");
    }

    bool Setup(const std::string& host, TlsVerify verify, const std::string& caFile)
    {
        m_context = SSL_CTX_new(TLS_client_method());
        if (!m_context || !SSL_CTX_set_min_proto_version(m_context, TLS1_2_VERSION))
            return Fail(TlsError::System, "no TLS context");
        if (verify == TlsVerify::SystemStore && !SSL_CTX_set_default_verify_paths(m_context))
            return Fail(TlsError::Untrusted, "untrusted certificate (no system trust store)");
        if (verify == TlsVerify::CaFile &&
            !SSL_CTX_load_verify_locations(m_context, caFile.c_str(), nullptr))
        {
            ERR_clear_error();
            return Fail(TlsError::BadCaFile, "the CA file ,," + caFile + "'' cannot be read");
        }
        SSL_CTX_set_verify(m_context, verify == TlsVerify::Off ? SSL_VERIFY_NONE : SSL_VERIFY_PEER,
                           nullptr);

        m_ssl = SSL_new(m_context);
        BIO* bio = m_ssl ? BIO_new(GetSocketMethod()) : nullptr;
        if (!bio)
            return Fail(TlsError::System, "no TLS session");
        BIO_set_data(bio, &m_io);
        SSL_set_bio(m_ssl, bio, bio);

        const bool literal = IsAddressLiteral(host);
        if (!literal && !SSL_set_tlsext_host_name(m_ssl, host.c_str()))
            return Fail(TlsError::Handshake, "handshake failure (the host name cannot be sent)");
        if (verify != TlsVerify::Off)
        {
            X509_VERIFY_PARAM* parameters = SSL_get0_param(m_ssl);
            X509_VERIFY_PARAM_set_hostflags(parameters, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
            const int set = literal ? X509_VERIFY_PARAM_set1_ip_asc(parameters, host.c_str())
                                    : X509_VERIFY_PARAM_set1_host(parameters, host.c_str(), 0);
            if (!set)
                return Fail(TlsError::WrongHost,
                            "wrong host name (" + host + " cannot be checked)");
        }
        return true;
    }
};

TlsSession::TlsSession() : m_data(new Data) {}

TlsSession::~TlsSession() = default;

bool TlsSession::Handshake(wxSOCKET_T socket, const std::string& host, TlsVerify verify,
                           const std::string& caFile, int timeoutMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Data& data = *m_data;
    if (data.m_ssl)
        return data.Fail(TlsError::Handshake, "handshake failure (the session was already used)");
    data.m_io.m_socket = static_cast<int>(socket);
    ERR_clear_error();
    if (!data.Setup(host, verify, caFile))
        return false;
    for (;;)
    {
        data.m_io.m_errno = 0;
        const int result = SSL_connect(data.m_ssl);
        if (result == 1)
            break;
        if (!data.Classify(result, true))
        {
            // A peer that hangs up in the handshake was no TLS peer.
            if (data.m_error == TlsError::Closed)
                data.Fail(TlsError::Handshake,
                          "handshake failure (the peer closed the connection)");
            return false;
        }
        if (!data.Wait(SSL_get_error(data.m_ssl, result), deadline))
            return false;
    }
    data.Fail(TlsError::None, std::string());
    return true;
}

bool TlsSession::Send(const void* bytes, size_t size, int timeoutMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Data& data = *m_data;
    if (!data.m_ssl)
        return data.Fail(TlsError::Protocol, "protocol error (no session)");
    const char* next = static_cast<const char*>(bytes);
    while (size > 0)
    {
        data.m_io.m_errno = 0;
        size_t written = 0;
        ERR_clear_error();
        const int result = SSL_write_ex(data.m_ssl, next, size, &written);
        if (result == 1)
        {
            next += written;
            size -= written;
            continue;
        }
        if (!data.Classify(result, false) ||
            !data.Wait(SSL_get_error(data.m_ssl, result), deadline))
            return false;
    }
    return true;
}

long TlsSession::Receive(void* bytes, size_t size, int timeoutMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Data& data = *m_data;
    if (!data.m_ssl)
    {
        data.Fail(TlsError::Protocol, "protocol error (no session)");
        return -1;
    }
    for (;;)
    {
        data.m_io.m_errno = 0;
        size_t read = 0;
        ERR_clear_error();
        const int result = SSL_read_ex(data.m_ssl, bytes, size, &read);
        if (result == 1)
            return static_cast<long>(read);
        if (SSL_get_error(data.m_ssl, result) == SSL_ERROR_ZERO_RETURN)
            return 0;
        if (!data.Classify(result, false) ||
            !data.Wait(SSL_get_error(data.m_ssl, result), deadline))
            return -1;
    }
}

bool TlsSession::HasPending() const
{
    return m_data->m_ssl && SSL_pending(m_data->m_ssl) > 0;
}

void TlsSession::Shutdown()
{
    if (m_data->m_ssl && SSL_is_init_finished(m_data->m_ssl))
        SSL_shutdown(m_data->m_ssl);
    ERR_clear_error();
}

TlsError TlsSession::GetError() const
{
    return m_data->m_error;
}

const std::string& TlsSession::GetErrorText() const
{
    return m_data->m_errorText;
}

int TlsSession::GetSystemError() const
{
    return m_data->m_systemError;
}
} // namespace kxPlatform
