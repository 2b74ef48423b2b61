// The client's connection base: a toolkit connection whose socket sends without delay and waits
// without running the event loop, and a destruction that survives the toolkit's own. Internal to
// the library.
#ifndef KXRUZOVORI_IPC_KXCHANNELCONNECTION_H
#define KXRUZOVORI_IPC_KXCHANNELCONNECTION_H

#include <wx/sckipc.h>

class kxChannelConnection : public wxTCPConnection
{
public:
    // Destroys the connection. The toolkit's destructor releases the socket before flushing
    // the output that a failed transfer left behind, into the released socket; so the socket
    // is taken away first and released after the connection. Events the socket raised while
    // the client waited may still be queued and name it: without a running event loop (which
    // defers the deletion itself) a closed socket is kept until no events are queued.
    static void Destroy(kxChannelConnection* connection);

    // Readies the socket of a new connection. Small writes go out at once: the toolkit writes a
    // message in pieces, and each held back would wait for the peer's delayed acknowledgement.
    // Waiting for the peer blocks the thread without running the event loop, as every call of
    // the client blocks: a handler run meanwhile could start another request on the connection,
    // and the toolkit would change the loop's watch of the socket around every transfer.
    void PrepareSocket();
};

#endif
