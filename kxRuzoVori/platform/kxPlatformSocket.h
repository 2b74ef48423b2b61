// Sockets as the library needs them from the operating system: settings the toolkit's socket
// classes leave to the system; plain TCP connections for the clients that speak their protocol
// themselves, where every wait is bounded; and the few calls of a server that never waits on a
// peer (listening with the system's longest queue, accepting, moving bytes without waiting, and
// watching many sockets through one descriptor an event loop can watch). Error numbers are the
// system's own. The functions are exported for the library's own tests.
#ifndef KXRUZOVORI_PLATFORM_KXPLATFORMSOCKET_H
#define KXRUZOVORI_PLATFORM_KXPLATFORMSOCKET_H

#include "kxRuzoVori/kxExport.h"

#include <wx/socket.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kxPlatform
{
// Sends small writes at once instead of holding them back until the peer acknowledged the
// previous ones. A protocol that writes a message in several pieces and then waits for the
// answer would otherwise wait for the peer's delayed acknowledgement on every message.
KX_API bool SetSocketNoDelay(wxSocketBase& socket);

// True when the option above is in force on socket.
KX_API bool IsSocketNoDelay(wxSocketBase& socket);

typedef wxSOCKET_T SocketHandle;
constexpr SocketHandle kNoSocket = static_cast<SocketHandle>(-1);

// Starts the system's sockets layer for one user and returns 0, or the system's error number.
// Systems whose sockets need no start (this one) return 0 at once; each successful start is
// balanced by one StopSockets.
KX_API int StartSockets();
KX_API void StopSockets();

// The first IPv4 address host resolves to, in network byte order. On failure, reason says why
// in the resolver's words.
KX_API bool ResolveIPv4(const std::string& host, std::uint32_t& address, std::string& reason);

// A new TCP socket over IPv4, or kNoSocket with the error number in error. Programs the process
// starts do not inherit it.
KX_API SocketHandle OpenTcpSocket(int& error);

// Connects socket to the IPv4 address (network byte order) and port (its low 16 bits count),
// waiting at most timeoutMs; a time-out fails with ETIMEDOUT.
KX_API bool ConnectSocket(SocketHandle socket, std::uint32_t address, int port, int timeoutMs,
                          int& error);
// The same for an address the toolkit resolved (an IPv4 one, for a socket from OpenTcpSocket).
KX_API bool ConnectSocket(SocketHandle socket, const wxSockAddress& address, int timeoutMs,
                          int& error);

// The option of SetSocketNoDelay above, for a socket of this layer.
KX_API bool SetSocketNoDelay(SocketHandle socket);

// Sends all size bytes, each wait for room bounded by timeoutMs: size, or -1 with the error
// number. A peer that went away is an error, never a signal.
KX_API long SendOnSocket(SocketHandle socket, const void* data, size_t size, int timeoutMs,
                         int& error);

// Receives at most size bytes as soon as some arrive, waiting at most timeoutMs: their count,
// 0 when the peer closed, -1 with the error number (ETIMEDOUT for a time-out).
KX_API long ReceiveFromSocket(SocketHandle socket, void* data, size_t size, int timeoutMs,
                              int& error);

// A socket listening on port of every IPv4 address of this machine, with the longest queue of
// pending connections the system allows; it never waits. kNoSocket when port cannot be had.
KX_API SocketHandle ListenTcp(unsigned short port);

// Takes one pending connection off listener's queue without waiting: a socket that never waits
// and sends small writes at once, with loopback telling whether the peer is on this machine.
// kNoSocket when none is pending.
KX_API SocketHandle AcceptTcp(SocketHandle listener, bool& loopback);

// Move bytes without waiting: the number moved, 0 when the socket can move none now, -1 when
// the connection is closed (receiving) or broken.
KX_API long ReceiveNow(SocketHandle socket, void* buffer, size_t size);
KX_API long SendNow(SocketHandle socket, const void* data, size_t size);

KX_API void CloseSocket(SocketHandle socket);

// Watches sockets for readiness; it is itself one descriptor, readable whenever one of the
// sockets is ready, so that an event loop needs to watch only that one.
class KX_API SocketPoller
{
public:
    enum
    {
        READABLE = 1,
        WRITABLE = 2,
        // Reported whether asked for or not: the connection failed or both ends closed it.
        BROKEN = 4,
        // Reported with READABLE: the peer closed its side; what it sent before is still there.
        HUNG_UP = 8
    };
    struct Ready
    {
        unsigned long m_key;
        int m_events;
    };

    SocketPoller();
    ~SocketPoller();
    SocketPoller(const SocketPoller&) = delete;
    SocketPoller& operator=(const SocketPoller&) = delete;

    bool IsOk() const { return m_poller >= 0; }
    int GetDescriptor() const { return m_poller; }

    // Watches socket for events (READABLE, WRITABLE or both; none keeps only BROKEN), reported
    // with key; a socket watched already gets the new events.
    bool Watch(SocketHandle socket, unsigned long key, int events);
    void Forget(SocketHandle socket);

    // Fills ready with up to count sockets that are ready now; never waits. Returns the number.
    size_t Collect(Ready* ready, size_t count);

private:
    int m_poller;
};
} // namespace kxPlatform

#endif
