// The listening side of the command server: it accepts clients of the channel's topic, keeps at
// most one connection and forwards its commands and its loss to the kxServer that owns it.
// Internal to the library.
//
// Deliberate deviation: it speaks the toolkit's IPC framing itself instead of deriving from the
// toolkit's TCP server and connection classes, which read a peer's messages while the event loop
// waits (one silent peer froze the server for the socket's time-out) and reserve whatever size a
// length field claims. The bytes on the wire are the toolkit's, so the library's client and a
// plain toolkit client talk to it unchanged; it derives from the toolkit's abstract IPC server
// instead, and its connections from the abstract connection. It listens on TCP ports only: a
// name that is neither a port number (other than 0) nor a TCP service is refused, where the
// toolkit listened on a port of the system's choice or on a local socket file.
//
// It never waits on a peer: bytes are read as they arrive and cut into messages, replies leave
// as fast as the peer takes them, so no peer delays another. What a peer may take is bounded:
// its greeting must be complete within 5 s of connecting, each later message within 5 s of its
// first byte, and a reply must not stall for 5 s; a topic may have 64 bytes, an item 12289 (a
// packet flag and 4096 UTF-16 code units as UTF-8), data 12290; larger claims end the peer as
// soon as their length is read. At most 64 peers may wait to greet (the oldest gives way to a
// newcomer), and peers from other machines are closed as they are taken in.
#ifndef KXRUZOVORI_IPC_KXSERVERBASE_H
#define KXRUZOVORI_IPC_KXSERVERBASE_H

#include <wx/event.h>
#include <wx/ipcbase.h>
#include <wx/string.h>
#include <wx/timer.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class kxIpcMessage;
class kxServer;
class kxServerBaseConnection;
class kxServerPeer;
class kxServerSocket;

typedef void (kxServer::*kxServerNotifyHandler)();
typedef wxString (kxServer::*kxServerCommandHandler)(wxString&, wxString&);

class kxServerBase : public wxServerBase
{
public:
    // Throws kxException when a handler or the handler object is missing.
    kxServerBase(const wxString& topic, kxServer* handler, kxServerNotifyHandler connectHandler,
                 kxServerNotifyHandler disconnectHandler, kxServerCommandHandler commandHandler);
    ~kxServerBase() override;

    // Listens on serverName, a port number or a service name; false when it cannot.
    bool Create(const wxString& serverName) override;
    wxConnectionBase* OnAcceptConnection(const wxString& topic) override;

    wxString OnConnectionCommand(wxString& command, wxString& argument);
    void OnConnectionDisconnect();
    // Disconnects and drops the current connection.
    void DropConnection();
    bool HasConnection() const { return m_connection != nullptr; }

    // Tells the peer of connection goodbye and closes it.
    void PrivateSayGoodbye(kxServerBaseConnection* connection);
    // Asks for a pass that destroys the discarded connections no callback is using.
    void PrivateScheduleCleanup();

private:
    void PrivateOnSocket(unsigned long key, int events);
    void PrivateAcceptPeers();
    void PrivateServe(unsigned long key, int events);
    void PrivateAnswer(unsigned long key, const kxIpcMessage& message);
    void PrivateGreet(kxServerPeer& peer, const kxIpcMessage& greeting);
    // Sends bytes to peer key; false when the peer was lost on the way.
    bool PrivateSend(unsigned long key, std::string& bytes);
    // The peer went away (or broke the framing, or overran its time).
    void PrivateLost(unsigned long key);
    void PrivateClose(unsigned long key);
    // Brings the socket's watch and the clock up to date with what peer waits for.
    void PrivateWatch(kxServerPeer& peer);
    void PrivateCheckDeadlines();
    kxServerPeer* PrivateFind(unsigned long key);
    kxServerPeer* PrivatePeerOf(const kxServerBaseConnection* connection);
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

    std::unique_ptr<kxServerSocket> m_socket;
    // Every peer by key, so in the order they came.
    std::map<unsigned long, std::unique_ptr<kxServerPeer>> m_peers;
    size_t m_greeting;
    std::vector<kxServerBaseConnection*> m_discarded;
    // Runs the deferred destructions and the clock; its queued calls die with it.
    wxEvtHandler m_deferred;
    wxTimer m_clock;
};

#endif
