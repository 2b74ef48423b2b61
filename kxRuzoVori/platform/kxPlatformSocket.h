// Sockets as the library needs them: settings the toolkit's socket classes leave to the system,
// and plain TCP connections for the clients that speak their protocol themselves, where every
// wait is bounded. Error numbers are the system's own. Exported for the library's own tests.
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

// Sends all size bytes, each wait for room bounded by timeoutMs: size, or -1 with the error
// number. A peer that went away is an error, never a signal.
KX_API long SendOnSocket(SocketHandle socket, const void* data, size_t size, int timeoutMs,
                         int& error);

// Receives at most size bytes as soon as some arrive, waiting at most timeoutMs: their count,
// 0 when the peer closed, -1 with the error number (ETIMEDOUT for a time-out).
KX_API long ReceiveFromSocket(SocketHandle socket, void* data, size_t size, int timeoutMs,
                              int& error);

KX_API void CloseSocket(SocketHandle socket);
} // namespace kxPlatform

#endif
