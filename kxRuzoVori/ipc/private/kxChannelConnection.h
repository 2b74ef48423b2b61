// What the server's and the client's connections share: sockets that send without delay, and a
// destruction that survives the toolkit's own. Internal to the library.
#ifndef KXRUZOVORI_IPC_KXCHANNELCONNECTION_H
#define KXRUZOVORI_IPC_KXCHANNELCONNECTION_H

#include <wx/sckipc.h>

class kxChannelConnection : public wxTCPConnection
{
public:
    // Destroys the connection. The toolkit's destructor releases the socket before flushing
    // the output that a failed transfer left behind, into the released socket; so the socket
    // is taken away first and released after the connection.
    static void Destroy(kxChannelConnection* connection);

    // The toolkit writes a message in pieces; held back, each would wait for the peer's
    // delayed acknowledgement.
    void SendWithoutDelay();
};

#endif
