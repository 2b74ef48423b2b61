// The non-blocking server socket: the system's sockets watched through one poller that every
// event loop of the toolkit watches.
#include "kxRuzoVori/kxHelpers/kxServerSocket.h"

#include "kxRuzoVori/platform/kxPlatformSocket.h"

#include <wx/socket.h>

#include <unordered_map>

static_assert(int(kxServerSocket::READABLE) == kxPlatform::SocketPoller::READABLE &&
                  int(kxServerSocket::WRITABLE) == kxPlatform::SocketPoller::WRITABLE &&
                  int(kxServerSocket::BROKEN) == kxPlatform::SocketPoller::BROKEN &&
                  int(kxServerSocket::HUNG_UP) == kxPlatform::SocketPoller::HUNG_UP,
              "the socket's events are the poller's");

struct kxServerSocket::State
{
    kxPlatform::SocketPoller m_poller;
    wxEventLoopSource* m_source = nullptr;
    kxPlatform::SocketHandle m_listener = kxPlatform::kNoSocket;
    std::unordered_map<unsigned long, kxPlatform::SocketHandle> m_connections;
    unsigned long m_lastKey = kListener;

    kxPlatform::SocketHandle Find(unsigned long key) const
    {
        const auto found = m_connections.find(key);
        return found == m_connections.end() ? kxPlatform::kNoSocket : found->second;
    }
};

kxServerSocket::kxServerSocket(Handler handler) : m_handler(handler), m_state(new State()) {}

kxServerSocket::~kxServerSocket()
{
    delete m_state->m_source;
    for (const auto& connection : m_state->m_connections)
        kxPlatform::CloseSocket(connection.second);
    kxPlatform::CloseSocket(m_state->m_listener);
}

bool kxServerSocket::Listen(const wxString& port)
{
    wxIPV4address address;
    if (m_state->m_listener != kxPlatform::kNoSocket || !m_state->m_poller.IsOk() ||
        !address.Service(port) || address.Service() == 0)
        return false;
    m_state->m_listener = kxPlatform::ListenTcp(address.Service());
    if (m_state->m_listener == kxPlatform::kNoSocket)
        return false;
    m_state->m_source = wxEventLoopBase::AddSourceForFD(m_state->m_poller.GetDescriptor(), this,
                                                        wxEVENT_SOURCE_INPUT);
    if (!m_state->m_source || !m_state->m_poller.Watch(m_state->m_listener, kListener,
                                                       kxPlatform::SocketPoller::READABLE))
    {
        delete m_state->m_source;
        m_state->m_source = nullptr;
        kxPlatform::CloseSocket(m_state->m_listener);
        m_state->m_listener = kxPlatform::kNoSocket;
        return false;
    }
    return true;
}

unsigned long kxServerSocket::Accept()
{
    for (;;)
    {
        bool loopback = false;
        const kxPlatform::SocketHandle socket =
            kxPlatform::AcceptTcp(m_state->m_listener, loopback);
        if (socket == kxPlatform::kNoSocket)
            return kListener;
        const unsigned long key = ++m_state->m_lastKey;
        if (loopback && m_state->m_poller.Watch(socket, key, READABLE))
        {
            m_state->m_connections[key] = socket;
            return key;
        }
        kxPlatform::CloseSocket(socket);
    }
}

long kxServerSocket::Receive(unsigned long key, void* buffer, size_t size)
{
    const kxPlatform::SocketHandle socket = m_state->Find(key);
    return socket == kxPlatform::kNoSocket ? -1 : kxPlatform::ReceiveNow(socket, buffer, size);
}

long kxServerSocket::Send(unsigned long key, const void* data, size_t size)
{
    const kxPlatform::SocketHandle socket = m_state->Find(key);
    return socket == kxPlatform::kNoSocket ? -1 : kxPlatform::SendNow(socket, data, size);
}

void kxServerSocket::Watch(unsigned long key, int events)
{
    const kxPlatform::SocketHandle socket = m_state->Find(key);
    if (socket != kxPlatform::kNoSocket)
        m_state->m_poller.Watch(socket, key, events);
}

void kxServerSocket::Close(unsigned long key)
{
    const auto found = m_state->m_connections.find(key);
    if (found == m_state->m_connections.end())
        return;
    m_state->m_poller.Forget(found->second);
    kxPlatform::CloseSocket(found->second);
    m_state->m_connections.erase(found);
}

void kxServerSocket::OnReadWaiting()
{
    // The handler may close connections reported in the same round, or run an event loop that
    // comes back here: each key is looked up again when it is used.
    kxPlatform::SocketPoller::Ready ready[32];
    const size_t count = m_state->m_poller.Collect(ready, sizeof ready / sizeof ready[0]);
    for (size_t i = 0; i < count; ++i)
        m_handler(ready[i].m_key, ready[i].m_events);
}
