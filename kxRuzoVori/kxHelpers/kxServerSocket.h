#ifndef KXRUZOVORI_KXHELPERS_KXSERVERSOCKET_H
#define KXRUZOVORI_KXHELPERS_KXSERVERSOCKET_H

#include "kxRuzoVori/kxExport.h"

#include <wx/evtloopsrc.h>
#include <wx/string.h>

#include <cstddef>
#include <functional>
#include <memory>

/// A TCP server socket for network code above the platform layer (the library's own command
/// server, and hosts that want the same), served inside the toolkit's event loops without ever
/// waiting on a peer: it listens on a port, takes in connections from this machine only and moves
/// bytes as far as each peer gives and takes them. Connections are known by keys that are never
/// used twice; a handler learns which of them are ready, from whichever event loop runs (the
/// host's main loop, or one a handler runs inside another).
class KX_API kxServerSocket : private wxEventLoopSourceHandler
{
public:
    /// What a connection is ready for; BROKEN (failed, or closed by both ends) is reported
    /// whatever was asked, HUNG_UP (the peer closed its side, what it sent before can still be
    /// read) together with READABLE.
    enum
    {
        READABLE = 1,
        WRITABLE = 2,
        BROKEN = 4,
        HUNG_UP = 8
    };
    /// The key of the listening socket: it is READABLE when connections wait to be taken in.
    static const unsigned long kListener = 0;

    /// Called with a connection's key (or kListener) and what it is ready for, from the event
    /// loop; it may send, receive, watch, accept and close, this connection and others.
    typedef std::function<void(unsigned long key, int events)> Handler;

    /// A socket that listens nowhere yet and reports to handler.
    explicit kxServerSocket(Handler handler);
    ~kxServerSocket() override;
    kxServerSocket(const kxServerSocket&) = delete;
    kxServerSocket& operator=(const kxServerSocket&) = delete;

    /// Listens on port, a port number or a service name; false when it names no port or the port
    /// cannot be had.
    bool Listen(const wxString& port);

    /// Takes in one waiting connection, closing those from other machines on the way, and
    /// watches it for input: its key, or kListener when none waits.
    unsigned long Accept();

    /// Move bytes of connection key without waiting: the number moved, 0 when none can move now,
    /// -1 when the connection is closed (receiving), broken or unknown.
    ///@{
    long Receive(unsigned long key, void* buffer, size_t size);
    long Send(unsigned long key, const void* data, size_t size);
    ///@}

    /// What the handler is told about connection key from now on (READABLE, WRITABLE, both or
    /// neither).
    void Watch(unsigned long key, int events);
    /// Closes connection key and forgets it; an unknown key is ignored.
    void Close(unsigned long key);

private:
    void OnReadWaiting() override;
    void OnWriteWaiting() override {}
    void OnExceptionWaiting() override {}

    struct State;
    Handler m_handler;
    std::unique_ptr<State> m_state;
};

#endif
