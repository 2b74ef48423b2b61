// The client's connection base: a toolkit connection whose socket sends without delay, and a
// destruction that survives the toolkit's own. Internal to the library.
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

    // The toolkit writes a message in pieces; held back, each would wait for the peer's
    // delayed acknowledgement.
    void SendWithoutDelay();
};

#endif
