// The client's connection base: socket settings and a safe destruction.
#include "kxRuzoVori/ipc/private/kxChannelConnection.h"

#include "kxRuzoVori/core/private/kxLibraryObject.h"
#include "kxRuzoVori/kxHelpers/kxSocket.h"

#include <wx/app.h>
#include <wx/socket.h>

#include <vector>

namespace
{
// Closed sockets that queued events may still name; kept until no events are queued, or until
// the library is unloaded.
class ClosedSockets
{
public:
    ~ClosedSockets() { DestroyAll(); }
    void Keep(wxSocketBase* socket) { m_sockets.push_back(socket); }
    void DestroyAll()
    {
        for (wxSocketBase* socket : m_sockets)
            socket->Destroy();
        m_sockets.clear();
    }

private:
    std::vector<wxSocketBase*> m_sockets;
};

ClosedSockets* s_closedSockets = nullptr;
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
        kxLibraryObject(s_closedSockets).Keep(socket);
        return;
    }
    kxLibraryObject(s_closedSockets).DestroyAll();
    socket->Destroy();
}

void kxChannelConnection::PrepareSocket()
{
    if (!m_sock)
        return;
    kxSetSocketNoDelay(*m_sock);
    m_sock->SetFlags(m_sock->GetFlags() | wxSOCKET_BLOCK);
}
