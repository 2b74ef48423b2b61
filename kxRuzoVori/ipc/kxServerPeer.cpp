// A command server's peer on the wire: its input and output buffers.
#include "kxRuzoVori/ipc/private/kxServerPeer.h"

#include "kxRuzoVori/kxHelpers/kxServerSocket.h"

namespace
{
// Output buffers larger than this are released once sent, so that one long reply does not stay
// with the connection.
const size_t kKeptOutputBytes = 64 * 1024;
} // namespace

bool kxServerPeer::Receive(kxServerSocket& socket, bool hungUp)
{
    while (!m_ended && m_input.size() < kInputBytes)
    {
        char chunk[kInputBytes];
        const long count = socket.Receive(m_key, chunk, kInputBytes - m_input.size());
        if (count < 0)
            m_ended = true;
        else
            m_input.append(chunk, static_cast<size_t>(count));
        if (count == 0 || !hungUp)
            break;
    }
    return !m_ended;
}

kxIpcMessage::Status kxServerPeer::Next(kxIpcMessage& message)
{
    size_t used = 0;
    const kxIpcMessage::Status status =
        message.Parse(m_input.data(), m_input.size(), m_connection == nullptr, used);
    if (status == kxIpcMessage::COMPLETE)
        m_input.erase(0, used);
    return status;
}

bool kxServerPeer::Send(kxServerSocket& socket, std::string& bytes)
{
    if (IsSending())
        m_output += bytes;
    else
    {
        m_output.swap(bytes);
        m_sent = 0;
    }
    return Flush(socket);
}

bool kxServerPeer::Flush(kxServerSocket& socket)
{
    while (IsSending())
    {
        const long count = socket.Send(m_key, m_output.data() + m_sent, m_output.size() - m_sent);
        if (count < 0)
            return false;
        if (count == 0)
            return true;
        m_sent += static_cast<size_t>(count);
    }
    if (m_output.capacity() > kKeptOutputBytes)
        std::string().swap(m_output);
    m_output.clear();
    m_sent = 0;
    return true;
}

int kxServerPeer::GetWanted() const
{
    return (!m_ended && m_input.size() < kInputBytes ? kxServerSocket::READABLE : 0) |
           (IsSending() ? kxServerSocket::WRITABLE : 0);
}
