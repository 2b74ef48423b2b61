// The client's connection base: socket settings and a safe destruction.
#include "kxRuzoVori/ipc/private/kxChannelConnection.h"

#include "kxRuzoVori/core/private/kxLibraryObject.h"
#include "kxRuzoVori/kxHelpers/kxSocket.h"

#include <wx/app.h>
#include <wx/socket.h>

#include <vector>

namespace
{
// Closed sockets that queued events may still name; kept until no events are queued.
std::vector<wxSocketBase*>* g_closedSockets = nullptr;

void DestroyClosedSockets()
{
    std::vector<wxSocketBase*>& closed = kxLibraryObject(g_closedSockets);
    for (wxSocketBase* socket : closed)
        socket->Destroy();
    closed.clear();
}
} // namespace

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
    if (!socket)
        return;
    // With an event loop running, the toolkit itself deletes the socket after the queued events.
    wxAppConsole* app = wxAppConsole::GetInstance();
    if (app && !app->IsMainLoopRunning() && app->HasPendingEvents())
    {
        socket->Close();
        kxLibraryObject(g_closedSockets).push_back(socket);
        return;
    }
    DestroyClosedSockets();
    socket->Destroy();
}

void kxChannelConnection::PrepareSocket()
{
    if (!m_sock)
        return;
    kxSetSocketNoDelay(*m_sock);
    m_sock->SetFlags(m_sock->GetFlags() | wxSOCKET_BLOCK);
}
