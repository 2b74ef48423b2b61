// The listening side of the command server: a toolkit TCP server that accepts clients of the
// channel's topic, keeps at most one connection and forwards its commands and its loss to the
// kxServer that owns it. Internal to the library.
//
// It serves this machine only: the toolkit names no peer at accept time, so a new connection
// waits, unadmitted, until its socket's peer is known to be a loopback address (checked on the
// next event-loop pass or at its first callback, whichever comes first). Only then does it
// replace the previous client. Connections that are dropped are destroyed on a later pass,
// never under a callback of their own.
#ifndef KXRUZOVORI_IPC_KXSERVERBASE_H
#define KXRUZOVORI_IPC_KXSERVERBASE_H

#include <wx/event.h>
#include <wx/sckipc.h>
#include <wx/string.h>

#include <vector>

class kxServer;
class kxServerBaseConnection;

typedef void (kxServer::*kxServerNotifyHandler)();
typedef wxString (kxServer::*kxServerCommandHandler)(wxString&, wxString&);

class kxServerBase : public wxTCPServer
{
public:
    // Throws kxException when a handler or the handler object is missing.
    kxServerBase(const wxString& topic, kxServer* handler, kxServerNotifyHandler connectHandler,
                 kxServerNotifyHandler disconnectHandler, kxServerCommandHandler commandHandler);
    ~kxServerBase() override;

    wxConnectionBase* OnAcceptConnection(const wxString& topic) override;

    wxString OnConnectionCommand(wxString& command, wxString& argument);
    void OnConnectionDisconnect();
    // Disconnects and drops the current connection.
    void DropConnection();
    bool HasConnection() const { return m_connection != nullptr; }

    // Called by a connection before it serves anything: true when it is the current one,
    // admitting it first when it was waiting and comes from this machine.
    bool PrivateAdmit(kxServerBaseConnection* connection);
    // Called by a connection whose peer went away.
    void PrivateConnectionLost(kxServerBaseConnection* connection);
    // Asks for a pass that destroys the discarded connections no callback is using.
    void PrivateScheduleCleanup();

private:
    // Takes connection out of service; it is destroyed on a later event-loop pass.
    void PrivateDiscard(kxServerBaseConnection* connection);
    void PrivateDestroyDiscarded();

    wxString m_topic;
    kxServerBaseConnection* m_connection;
    kxServer* m_handler;
    kxServerNotifyHandler m_connectHandler;
    kxServerNotifyHandler m_disconnectHandler;
    kxServerCommandHandler m_commandHandler;
    bool m_lostDuringCommand;

    std::vector<kxServerBaseConnection*> m_waiting;
    std::vector<kxServerBaseConnection*> m_discarded;
    // Runs the deferred admissions and destructions; its queued calls die with it.
    wxEvtHandler m_deferred;
};

#endif
