#include "kxRuzoVori/ipc/private/kxChannelConnection.h"

#include "kxRuzoVori/kxHelpers/kxSocket.h"

#include <wx/socket.h>

void kxChannelConnection::Destroy(kxChannelConnection* connection)
{
    if (!connection)
        return;
    wxSocketBase* socket = connection->m_sock;
    connection->m_sock = nullptr;
    if (socket)
    {
        socket->Notify(false);
        socket->SetClientData(nullptr);
    }
    delete connection;
    if (socket)
        socket->Destroy();
}

void kxChannelConnection::SendWithoutDelay()
{
    if (m_sock)
        kxSetSocketNoDelay(*m_sock);
}
