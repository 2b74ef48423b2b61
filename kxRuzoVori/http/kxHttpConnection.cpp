// The byte road of an HTTP exchange: bounded reads, lines and writes on one connection.
#include "kxRuzoVori/http/private/kxHttpConnection.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

namespace
{
// How much is asked of the socket at a time while looking for the end of a line.
constexpr size_t kLineChunk = 4096;
// How much a read of the body asks of the connection at least.
constexpr size_t kReadAhead = 65536;

// What a failed transfer's error number means for the exchange.
kxHttpConnection::Status FromSocketError(int error)
{
    if (error == ETIMEDOUT)
        return kxHttpConnection::Status::TimedOut;
    if (error == ECONNRESET || error == EPIPE)
        return kxHttpConnection::Status::Closed;
    return kxHttpConnection::Status::Failed;
}
} // namespace

kxHttpConnection::~kxHttpConnection()
{
    Reset();
}

bool kxHttpConnection::Connect(const wxSockAddress& address)
{
    Reset();
    int error = 0;
    m_handle = kxPlatform::OpenTcpSocket(error);
    if (m_handle == kxPlatform::kNoSocket)
        return false;
    if (!kxPlatform::ConnectSocket(m_handle, address, TimeoutMs(), error))
    {
        Reset();
        return false;
    }
    // The request goes out in few writes; none of them should wait for the peer's
    // acknowledgement of the one before.
    kxPlatform::SetSocketNoDelay(m_handle);
    return true;
}

void kxHttpConnection::Reset()
{
    if (m_tls)
        m_tls->Shutdown();
    m_tls.reset();
    kxPlatform::CloseSocket(m_handle);
    m_handle = kxPlatform::kNoSocket;
    m_source = nullptr;
    DropReadAhead();
}

kxPlatform::SocketHandle kxHttpConnection::Handle() const
{
    return m_handle != kxPlatform::kNoSocket ? m_handle : m_socket.GetSocket();
}

void kxHttpConnection::DropReadAhead()
{
    m_ahead.clear();
    m_aheadAt = 0;
}

bool kxHttpConnection::StartTls(const wxString& host, kxPlatform::TlsVerify verify,
                                const wxString& caFile, wxString& reason)
{
    // Nothing the server sent in clear may pass for protected data.
    DropReadAhead();
    auto session = std::make_unique<kxPlatform::TlsSession>();
    if (!session->Handshake(Handle(), host.utf8_string(), verify, caFile.utf8_string(),
                            TimeoutMs()))
    {
        reason = wxString::FromUTF8(session->GetErrorText());
        return false;
    }
    m_tls = std::move(session);
    return true;
}

int kxHttpConnection::TimeoutMs() const
{
    const long seconds = m_socket.GetTimeout();
    if (seconds <= 0)
        return 0;
    return seconds >= INT_MAX / 1000 ? INT_MAX : static_cast<int>(seconds * 1000);
}

kxHttpConnection::Status kxHttpConnection::ReceiveRaw(void* data, size_t size, size_t& received)
{
    received = 0;
    if (size == 0)
        return Status::Ok;
    if (m_source)
    {
        received = m_source->Read(data, size).LastRead();
        return received > 0 ? Status::Ok : Status::Closed;
    }
    if (!m_tls)
    {
        int error = 0;
        const long count = kxPlatform::ReceiveFromSocket(Handle(), data, size, TimeoutMs(), error);
        if (count < 0)
            return FromSocketError(error);
        received = static_cast<size_t>(count);
        return count == 0 ? Status::Closed : Status::Ok;
    }
    const long count = m_tls->Receive(data, size, TimeoutMs());
    if (count > 0)
    {
        received = static_cast<size_t>(count);
        return Status::Ok;
    }
    if (count == 0)
        return Status::Closed;
    switch (m_tls->GetError())
    {
    case kxPlatform::TlsError::TimedOut:
        return Status::TimedOut;
    case kxPlatform::TlsError::Closed:
        // Servers often end an HTTP/1.0 body by closing without ending TLS; a body with a
        // length still knows when it was cut short.
        return Status::Closed;
    default:
        return Status::Failed;
    }
}

bool kxHttpConnection::Send(const void* data, size_t size)
{
    if (m_tls)
        return m_tls->Send(data, size, TimeoutMs());
    int error = 0;
    return kxPlatform::SendOnSocket(Handle(), data, size, TimeoutMs(), error) >= 0;
}

kxHttpConnection::Status kxHttpConnection::Receive(void* data, size_t size, size_t& received)
{
    received = 0;
    if (m_aheadAt < m_ahead.size())
    {
        received = std::min(size, m_ahead.size() - m_aheadAt);
        memcpy(data, m_ahead.data() + m_aheadAt, received);
        m_aheadAt += received;
        if (m_aheadAt == m_ahead.size())
            DropReadAhead();
        return Status::Ok;
    }
    if (size >= kReadAhead)
        return ReceiveRaw(data, size, received);
    // Small reads of a large body cost a system call each: take what is there in one go and
    // hand it out from memory.
    m_ahead.resize(kReadAhead);
    size_t got = 0;
    const Status status = ReceiveRaw(&m_ahead[0], kReadAhead, got);
    m_ahead.resize(got);
    if (status != Status::Ok)
    {
        DropReadAhead();
        return status;
    }
    return Receive(data, size, received);
}

void kxHttpConnection::PutBack(const std::string& bytes)
{
    m_ahead.erase(0, m_aheadAt);
    m_ahead.insert(0, bytes);
    m_aheadAt = 0;
}

kxHttpConnection::Status kxHttpConnection::ReadLine(std::string& line, size_t limit)
{
    line.clear();
    size_t searched = m_aheadAt;
    for (;;)
    {
        const size_t end = m_ahead.find('\n', searched);
        if (end != std::string::npos)
        {
            if (end - m_aheadAt > limit)
                return Status::TooLong;
            line.assign(m_ahead, m_aheadAt, end + 1 - m_aheadAt);
            m_aheadAt = end + 1;
            if (m_aheadAt == m_ahead.size())
                DropReadAhead();
            return Status::Ok;
        }
        if (m_ahead.size() - m_aheadAt > limit)
            return Status::TooLong;
        m_ahead.erase(0, m_aheadAt);
        m_aheadAt = 0;
        searched = m_ahead.size();
        const size_t before = m_ahead.size();
        m_ahead.resize(before + kLineChunk);
        size_t received = 0;
        const Status status = ReceiveRaw(&m_ahead[before], kLineChunk, received);
        m_ahead.resize(before + received);
        if (status != Status::Ok)
            return status;
    }
}
