// The byte road of one HTTP exchange, over a connection of its own in clear or through a TLS
// session, with the bytes read ahead of the body kept for it.
#ifndef KXRUZOVORI_HTTP_PRIVATE_KXHTTPCONNECTION_H
#define KXRUZOVORI_HTTP_PRIVATE_KXHTTPCONNECTION_H

#include "kxRuzoVori/platform/kxPlatformSocket.h"
#include "kxRuzoVori/platform/kxPlatformTls.h"

#include <wx/socket.h>
#include <wx/stream.h>

#include <memory>
#include <string>

// Every wait, connecting included, lasts at most the time-out of the builder's socket, counted
// afresh whenever bytes move. The connection is a socket of the platform layer rather than the
// toolkit's, whose connect in blocking mode waits as long as the system does; without one (a
// host that connected the builder's socket itself) the exchange runs over the toolkit's.
class kxHttpConnection
{
public:
    enum class Status
    {
        Ok,
        Closed,   // the peer ended the connection
        TimedOut, // the peer said nothing for the whole time-out
        Failed,   // the system or the TLS layer reported an error
        TooLong   // a line longer than allowed
    };

    explicit kxHttpConnection(wxSocketBase& socket) : m_socket(socket) {}
    ~kxHttpConnection();
    kxHttpConnection(const kxHttpConnection&) = delete;
    kxHttpConnection& operator=(const kxHttpConnection&) = delete;

    // Connects to address, a peer that does not answer in time failing like one that refuses.
    bool Connect(const wxSockAddress& address);

    // Ends TLS, if it was on, closes the connection and forgets the bytes read ahead.
    void Reset();

    // Reads from source instead of the socket until the next Reset(), so that the parsing of
    // responses can be fed from memory.
    void ReadFrom(wxInputStream* source) { m_source = source; }

    // Runs the TLS handshake for host on the connected socket; from then on every byte goes
    // through the session. On failure reason says why.
    bool StartTls(const wxString& host, kxPlatform::TlsVerify verify, const wxString& caFile,
                  wxString& reason);

    bool Send(const void* data, size_t size);
    bool Send(const std::string& bytes) { return Send(bytes.data(), bytes.size()); }

    // Reads one line with its terminating LF into line; at most limit bytes before the LF.
    Status ReadLine(std::string& line, size_t limit);
    // Puts bytes back in front of what is still to be read.
    void PutBack(const std::string& bytes);
    // Reads what is there, at most size bytes, waiting for the first one.
    Status Receive(void* data, size_t size, size_t& received);

private:
    int TimeoutMs() const;
    kxPlatform::SocketHandle Handle() const;
    Status ReceiveRaw(void* data, size_t size, size_t& received);

    void DropReadAhead();

    wxSocketBase& m_socket;
    kxPlatform::SocketHandle m_handle = kxPlatform::kNoSocket;
    std::unique_ptr<kxPlatform::TlsSession> m_tls;
    wxInputStream* m_source = nullptr;
    std::string m_ahead; // bytes read but not yet used, from m_aheadAt on
    size_t m_aheadAt = 0;
};

#endif
