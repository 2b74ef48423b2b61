// A client TLS session over a socket the caller has already connected: the handshake that checks
// the server's certificate and host name, then sends and receives that never wait longer than the
// caller allows. The library's mail and HTTP clients both speak TLS through it. Exported for the
// library's own tests.
#ifndef KXRUZOVORI_PLATFORM_KXPLATFORMTLS_H
#define KXRUZOVORI_PLATFORM_KXPLATFORMTLS_H

#include "kxRuzoVori/kxExport.h"

#include <wx/socket.h>

#include <cstddef>
#include <memory>
#include <string>

namespace kxPlatform
{
// Which certificates a session trusts.
enum class TlsVerify
{
    SystemStore, // the system's trust store
    CaFile,      // only the certificates of a PEM file the caller names
    Off          // none: any certificate for any name is accepted, on the caller's explicit wish
};

// Why a session operation failed.
enum class TlsError
{
    None,
    TimedOut,  // the peer did not answer within the time-out
    Untrusted, // the certificate chain does not lead to a trusted certificate
    WrongHost, // the certificate is not made out for the host name or address
    BadCaFile, // the named CA file could not be read
    Handshake, // the peer does not speak TLS or no common protocol was found
    Protocol,  // the peer broke the protocol after the handshake
    Closed,    // the peer closed the connection without ending TLS properly
    System     // the system refused (the error number is in GetSystemError)
};

// One TLS client session. The socket stays the caller's: the session neither changes its flags
// nor closes it, so it works over blocking and non-blocking sockets alike (a toolkit
// wxSocketClient's GetSocket() included). Every operation waits at most its time-out in all.
class KX_API TlsSession
{
public:
    TlsSession();
    ~TlsSession();
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;

    // Runs the handshake over the connected socket. host is the server's name as the user gave
    // it: it is announced to the server (unless it is a literal address) and the certificate must
    // be made out for it (a literal IPv4 or IPv6 address must be among the certificate's
    // addresses). caFile names the PEM file for TlsVerify::CaFile and is ignored otherwise.
    bool Handshake(wxSOCKET_T socket, const std::string& host, TlsVerify verify,
                   const std::string& caFile, int timeoutMs);

    // Sends all size bytes; false on failure.
    bool Send(const void* data, size_t size, int timeoutMs);

    // Receives at most size bytes as soon as some are there: their count, 0 when the peer ended
    // the session, -1 on failure.
    long Receive(void* data, size_t size, int timeoutMs);

    // True when received data waits in the session, so that a caller who waits on the socket
    // itself must read before waiting.
    bool HasPending() const;

    // Tells the peer the session ends, without waiting for its answer.
    void Shutdown();

    // The last failure: its kind, a readable reason ("untrusted certificate (...)") and, for
    // TimedOut and System, the system's error number (0 otherwise).
    TlsError GetError() const;
    const std::string& GetErrorText() const;
    int GetSystemError() const;

private:
    struct Data;
    std::unique_ptr<Data> m_data;
};
} // namespace kxPlatform

#endif
