// Sockets on POSIX: socket options, name resolution, TCP connections whose waits are bounded
// with poll, and non-blocking server sockets watched by an epoll poller.
#include "kxRuzoVori/platform/kxPlatformSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kxPlatform
{
namespace
{
// Waits until socket is ready for events or the deadline passes: 0, or the error number.
int WaitFor(int socket, short events, std::chrono::steady_clock::time_point deadline)
{
    pollfd entry{};
    entry.fd = socket;
    entry.events = events;
    for (;;)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return ETIMEDOUT;
        const int ready = poll(&entry, 1, static_cast<int>(left.count()) + 1);
        if (ready > 0)
            return 0;
        if (ready < 0 && errno != EINTR)
            return errno;
    }
}

std::chrono::steady_clock::time_point DeadlineIn(int timeoutMs)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
}

bool SetNoDelay(int socket)
{
    int on = 1;
    return setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) == 0;
}

// Connects the non-blocking socket, waiting for the handshake at most timeoutMs (a blocking
// connect would wait as long as the system keeps repeating its first packet, about two minutes).
bool ConnectTo(int socket, const sockaddr* peer, socklen_t length, int timeoutMs, int& error)
{
    if (connect(socket, peer, length) == 0)
        return true;
    if (errno != EINPROGRESS && errno != EINTR)
    {
        error = errno;
        return false;
    }
    error = WaitFor(socket, POLLOUT, DeadlineIn(timeoutMs));
    if (error != 0)
        return false;
    socklen_t size = sizeof error;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        error = errno;
    return error == 0;
}

bool IsTransient(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}
} // namespace

bool SetSocketNoDelay(wxSocketBase& socket)
{
    int on = 1;
    return socket.IsOk() && socket.SetOption(IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool IsSocketNoDelay(wxSocketBase& socket)
{
    int value = 0;
    int size = sizeof value;
    return socket.IsOk() && socket.GetOption(IPPROTO_TCP, TCP_NODELAY, &value, &size) && value != 0;
}

int StartSockets()
{
    return 0;
}

void StopSockets() {}

bool ResolveIPv4(const std::string& host, std::uint32_t& address, std::string& reason)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result != 0 || !found)
    {
        reason = result == EAI_SYSTEM ? std::string(strerror(errno)) : gai_strerror(result);
        return false;
    }
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return true;
}

SocketHandle OpenTcpSocket(int& error)
{
    // Non-blocking, so that no call can wait longer than its caller allows.
    const int handle = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (handle < 0)
    {
        error = errno;
        return kNoSocket;
    }
    return handle;
}

bool ConnectSocket(SocketHandle socket, std::uint32_t address, int port, int timeoutMs, int& error)
{
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = address;
    peer.sin_port = htons(static_cast<std::uint16_t>(port));
    return ConnectTo(socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer, timeoutMs,
                     error);
}

bool ConnectSocket(SocketHandle socket, const wxSockAddress& address, int timeoutMs, int& error)
{
    const sockaddr* peer = address.GetAddressData();
    const int length = address.GetAddressDataLen();
    if (!peer || length <= 0)
    {
        error = EDESTADDRREQ;
        return false;
    }
    return ConnectTo(socket, peer, static_cast<socklen_t>(length), timeoutMs, error);
}

bool SetSocketNoDelay(SocketHandle socket)
{
    return SetNoDelay(socket);
}

long SendOnSocket(SocketHandle socket, const void* data, size_t size, int timeoutMs, int& error)
{
    const char* next = static_cast<const char*>(data);
    size_t left = size;
    while (left > 0)
    {
        const ssize_t sent = send(socket, next, left, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent >= 0)
        {
            next += sent;
            left -= static_cast<size_t>(sent);
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
        {
            error = errno;
            return -1;
        }
        error = WaitFor(socket, POLLOUT, DeadlineIn(timeoutMs));
        if (error != 0)
            return -1;
    }
    return static_cast<long>(size);
}

long ReceiveFromSocket(SocketHandle socket, void* data, size_t size, int timeoutMs, int& error)
{
    const auto deadline = DeadlineIn(timeoutMs);
    for (;;)
    {
        const ssize_t got = recv(socket, data, size, MSG_DONTWAIT);
        if (got >= 0)
            return static_cast<long>(got);
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
        {
            error = errno;
            return -1;
        }
        error = WaitFor(socket, POLLIN, deadline);
        if (error != 0)
            return -1;
    }
}

SocketHandle ListenTcp(unsigned short port)
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0)
        return kNoSocket;
    // A server started again at once finds its port free of the last run's closed connections.
    int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    // The system cuts the queue length down to its own maximum.
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, INT_MAX) != 0)
    {
        close(listener);
        return kNoSocket;
    }
    return listener;
}

SocketHandle AcceptTcp(SocketHandle listener, bool& loopback)
{
    sockaddr_in peer = {};
    socklen_t length = sizeof peer;
    const int connection = accept4(listener, reinterpret_cast<sockaddr*>(&peer), &length,
                                   SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0)
        return kNoSocket;
    loopback = peer.sin_family == AF_INET && (ntohl(peer.sin_addr.s_addr) >> 24) == 127;
    SetNoDelay(connection);
    return connection;
}

long ReceiveNow(SocketHandle socket, void* buffer, size_t size)
{
    const ssize_t count = recv(socket, buffer, size, MSG_DONTWAIT);
    if (count > 0)
        return static_cast<long>(count);
    return count < 0 && IsTransient(errno) ? 0 : -1;
}

long SendNow(SocketHandle socket, const void* data, size_t size)
{
    const ssize_t count = send(socket, data, size, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (count >= 0)
        return static_cast<long>(count);
    return IsTransient(errno) ? 0 : -1;
}

void CloseSocket(SocketHandle socket)
{
    if (socket != kNoSocket)
        close(socket);
}

SocketPoller::SocketPoller() : m_poller(epoll_create1(EPOLL_CLOEXEC)) {}

SocketPoller::~SocketPoller()
{
    if (m_poller >= 0)
        close(m_poller);
}

bool SocketPoller::Watch(SocketHandle socket, unsigned long key, int events)
{
    epoll_event event = {};
    event.events = ((events & READABLE) ? uint32_t(EPOLLIN | EPOLLRDHUP) : 0u) |
                   ((events & WRITABLE) ? uint32_t(EPOLLOUT) : 0u);
    event.data.u64 = key;
    if (epoll_ctl(m_poller, EPOLL_CTL_MOD, socket, &event) == 0)
        return true;
    return errno == ENOENT && epoll_ctl(m_poller, EPOLL_CTL_ADD, socket, &event) == 0;
}

void SocketPoller::Forget(SocketHandle socket)
{
    epoll_ctl(m_poller, EPOLL_CTL_DEL, socket, nullptr);
}

size_t SocketPoller::Collect(Ready* ready, size_t count)
{
    const int most = 64;
    epoll_event events[most];
    const int found =
        epoll_wait(m_poller, events, static_cast<int>(count < most ? count : most), 0);
    for (int i = 0; i < found; ++i)
    {
        const uint32_t what = events[i].events;
        ready[i].m_key = static_cast<unsigned long>(events[i].data.u64);
        ready[i].m_events =
            ((what & (EPOLLIN | EPOLLRDHUP)) ? READABLE : 0) | ((what & EPOLLOUT) ? WRITABLE : 0) |
            ((what & (EPOLLERR | EPOLLHUP)) ? BROKEN : 0) | ((what & EPOLLRDHUP) ? HUNG_UP : 0);
    }
    return found > 0 ? static_cast<size_t>(found) : 0;
}
} // namespace kxPlatform
