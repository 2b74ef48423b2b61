// The command server's listening side: its peers, their greetings and deadlines, and the one
// current connection.
#include "kxRuzoVori/ipc/private/kxServerBase.h"

#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/private/kxLibraryException.h"
#include "kxRuzoVori/ipc/private/kxIpcMessage.h"
#include "kxRuzoVori/ipc/private/kxServerBaseConnection.h"
#include "kxRuzoVori/ipc/private/kxServerPeer.h"
#include "kxRuzoVori/kxHelpers/kxServerSocket.h"

#include <algorithm>

namespace
{
// A peer's time for its greeting, from the moment it is taken in, and for each later message,
// from its first byte (or for each stretch of a reply it takes).
const std::chrono::seconds kGreetingTime(5);
const std::chrono::seconds kMessageTime(5);
// How often overdue peers are looked for while any peer has a deadline.
const int kClockMs = 250;
// Peers that have not greeted yet; the oldest gives way to a newcomer.
const size_t kMostGreeting = 64;
// Connections taken in at one time; more are taken on the next pass of the event loop.
const int kAcceptRound = 16;
} // namespace

kxServerBase::kxServerBase(const wxString& topic, kxServer* handler,
                           kxServerNotifyHandler connectHandler,
                           kxServerNotifyHandler disconnectHandler,
                           kxServerCommandHandler commandHandler)
    : m_topic(topic), m_connection(nullptr), m_handler(handler), m_connectHandler(connectHandler),
      m_disconnectHandler(disconnectHandler), m_commandHandler(commandHandler),
      m_lostDuringCommand(false), m_greeting(0), m_clock(&m_deferred)
{
    const wxString classText = kxLibraryClassText();
    if (!connectHandler || !disconnectHandler || !commandHandler)
        throw kxException(kxTranslate(wxS("Internal error in constructor "
                                          "kxServerBase::kxServerBase(). Empty handlers.")),
                          classText);
    if (!handler)
        throw kxException(kxTranslate(wxS("Internal error in constructor "
                                          "kxServerBase::kxServerBase(). Object of handlers not "
                                          "set.")),
                          classText);
    m_deferred.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { PrivateCheckDeadlines(); });
}

kxServerBase::~kxServerBase()
{
    m_clock.Stop();
    m_socket.reset();
    m_peers.clear();
    delete m_connection;
    for (kxServerBaseConnection* connection : m_discarded)
        delete connection;
}

bool kxServerBase::Create(const wxString& serverName)
{
    if (m_socket)
        return false;
    std::unique_ptr<kxServerSocket> socket(new kxServerSocket([this](unsigned long key, int events)
                                                              { PrivateOnSocket(key, events); }));
    if (!socket->Listen(serverName))
        return false;
    m_socket = std::move(socket);
    return true;
}

wxConnectionBase* kxServerBase::OnAcceptConnection(const wxString& topic)
{
    if (topic != m_topic)
        return nullptr;
    if (m_connection)
    {
        PrivateDiscard(m_connection);
        m_connection = nullptr;
    }
    (m_handler->*m_connectHandler)();
    m_connection = new kxServerBaseConnection(this, &kxServerBase::OnConnectionCommand,
                                              &kxServerBase::OnConnectionDisconnect);
    return m_connection;
}

wxString kxServerBase::OnConnectionCommand(wxString& command, wxString& argument)
{
    m_lostDuringCommand = false;
    wxString reply = (m_handler->*m_commandHandler)(command, argument);
    if (m_lostDuringCommand && m_connection)
    {
        PrivateDiscard(m_connection);
        m_connection = nullptr;
    }
    return reply;
}

void kxServerBase::OnConnectionDisconnect()
{
    m_lostDuringCommand = true;
    (m_handler->*m_disconnectHandler)();
}

void kxServerBase::DropConnection()
{
    if (!m_connection)
        return;
    m_connection->Disconnect();
    PrivateDiscard(m_connection);
    m_connection = nullptr;
}

void kxServerBase::PrivateSayGoodbye(kxServerBaseConnection* connection)
{
    kxServerPeer* peer = PrivatePeerOf(connection);
    if (!peer)
        return;
    // Not in the middle of a reply: the peer would read the goodbye as part of it.
    if (!peer->IsSending())
    {
        const char goodbye = kxIpcMessage::DISCONNECT;
        m_socket->Send(peer->GetKey(), &goodbye, 1);
    }
    PrivateClose(peer->GetKey());
}

void kxServerBase::PrivateOnSocket(unsigned long key, int events)
{
    if (key == kxServerSocket::kListener)
        PrivateAcceptPeers();
    else
        PrivateServe(key, events);
}

void kxServerBase::PrivateAcceptPeers()
{
    for (int round = 0; round < kAcceptRound; ++round)
    {
        const unsigned long key = m_socket->Accept();
        if (key == kxServerSocket::kListener)
            return;
        if (m_greeting == kMostGreeting)
        {
            const auto oldest =
                std::find_if(m_peers.begin(), m_peers.end(),
                             [](const auto& entry) { return !entry.second->m_connection; });
            PrivateClose(oldest->first);
        }
        std::unique_ptr<kxServerPeer> peer(new kxServerPeer(key));
        peer->m_watched = kxServerSocket::READABLE;
        peer->SetDeadline(kGreetingTime);
        m_peers[key] = std::move(peer);
        ++m_greeting;
        // A client sends its greeting as soon as it is connected: it is usually here already.
        PrivateServe(key, kxServerSocket::READABLE);
    }
}

void kxServerBase::PrivateServe(unsigned long key, int events)
{
    kxServerPeer* peer = PrivateFind(key);
    if (!peer)
        return;
    if (events & kxServerSocket::BROKEN)
    {
        PrivateLost(key);
        return;
    }
    if (events & kxServerSocket::WRITABLE)
    {
        if (!peer->Flush(*m_socket))
        {
            PrivateLost(key);
            return;
        }
        if (peer->IsSending())
            peer->SetDeadline(kMessageTime);
        else
            peer->ClearDeadline();
    }
    if (events & kxServerSocket::READABLE)
        peer->Receive(*m_socket, (events & kxServerSocket::HUNG_UP) != 0);
    // Each answer may run an event loop, in which anything may happen to this peer: it is
    // looked up again after each one.
    for (; peer; peer = PrivateFind(key))
    {
        if (peer->m_busy)
        {
            // Its peer went away while a command runs: the command learns of it at once.
            if (peer->m_ended)
                PrivateLost(key);
            else
                PrivateWatch(*peer);
            return;
        }
        if (peer->IsSending())
        {
            PrivateWatch(*peer);
            return;
        }
        if (peer->m_leaving)
        {
            PrivateClose(key);
            return;
        }
        kxIpcMessage message;
        const kxIpcMessage::Status status = peer->Next(message);
        if (status == kxIpcMessage::MALFORMED ||
            (status == kxIpcMessage::INCOMPLETE && peer->m_ended))
        {
            PrivateLost(key);
            return;
        }
        if (status == kxIpcMessage::INCOMPLETE)
        {
            if (peer->m_connection && !peer->HasInput())
                peer->ClearDeadline();
            else if (peer->m_connection && !peer->HasDeadline())
                peer->SetDeadline(kMessageTime);
            PrivateWatch(*peer);
            return;
        }
        if (peer->m_connection)
            peer->ClearDeadline();
        PrivateAnswer(key, message);
    }
}

void kxServerBase::PrivateAnswer(unsigned long key, const kxIpcMessage& message)
{
    kxServerPeer* peer = PrivateFind(key);
    if (!peer->m_connection)
    {
        PrivateGreet(*peer, message);
        return;
    }
    std::string reply;
    peer->m_busy = true;
    const bool stays = peer->m_connection->PrivateAnswer(m_topic, message, reply);
    peer = PrivateFind(key);
    if (!peer)
        return;
    peer->m_busy = false;
    if (!stays)
        PrivateLost(key);
    else if (!reply.empty())
        PrivateSend(key, reply);
}

void kxServerBase::PrivateGreet(kxServerPeer& peer, const kxIpcMessage& greeting)
{
    const unsigned long key = peer.GetKey();
    wxString topic;
    const bool readable = kxIpcMessage::ToText(greeting.m_item, topic);
    peer.m_busy = true;
    kxServerBaseConnection* connection =
        readable ? static_cast<kxServerBaseConnection*>(OnAcceptConnection(topic)) : nullptr;
    kxServerPeer* greeted = PrivateFind(key);
    if (!greeted)
    {
        // It left while the host was told of it.
        if (connection && connection == m_connection)
            connection->OnDisconnect();
        return;
    }
    greeted->m_busy = false;
    std::string reply;
    if (connection)
    {
        kxIpcMessage::AppendCode(reply, kxIpcMessage::CONNECT);
        greeted->m_connection = connection;
        greeted->ClearDeadline();
        --m_greeting;
    }
    else
    {
        kxIpcMessage::AppendCode(reply, kxIpcMessage::FAIL);
        greeted->m_leaving = true;
    }
    PrivateSend(key, reply);
}

bool kxServerBase::PrivateSend(unsigned long key, std::string& bytes)
{
    kxServerPeer* peer = PrivateFind(key);
    if (!peer)
        return false;
    if (!peer->Send(*m_socket, bytes))
    {
        PrivateLost(key);
        return false;
    }
    if (peer->IsSending())
        peer->SetDeadline(kMessageTime);
    PrivateWatch(*peer);
    return true;
}

void kxServerBase::PrivateLost(unsigned long key)
{
    kxServerPeer* peer = PrivateFind(key);
    if (!peer)
        return;
    kxServerBaseConnection* connection = peer->m_connection;
    PrivateClose(key);
    if (connection && connection == m_connection)
        connection->OnDisconnect();
}

void kxServerBase::PrivateClose(unsigned long key)
{
    const auto found = m_peers.find(key);
    if (found == m_peers.end())
        return;
    if (!found->second->m_connection)
        --m_greeting;
    m_peers.erase(found);
    m_socket->Close(key);
}

void kxServerBase::PrivateWatch(kxServerPeer& peer)
{
    const int wanted = peer.GetWanted();
    if (wanted != peer.m_watched)
    {
        m_socket->Watch(peer.GetKey(), wanted);
        peer.m_watched = wanted;
    }
    if (peer.HasDeadline() && !m_clock.IsRunning())
        m_clock.Start(kClockMs);
}

void kxServerBase::PrivateCheckDeadlines()
{
    const kxServerPeer::Clock::time_point now = kxServerPeer::Clock::now();
    std::vector<unsigned long> overdue;
    bool waiting = false;
    for (const auto& entry : m_peers)
    {
        const kxServerPeer& peer = *entry.second;
        // A command's own time is the host's, not the peer's.
        if (peer.m_busy || !peer.HasDeadline())
            continue;
        if (peer.IsOverdue(now))
            overdue.push_back(entry.first);
        else
            waiting = true;
    }
    if (!waiting)
        m_clock.Stop();
    for (unsigned long key : overdue)
    {
        // What arrived in time but was not read yet (a busy loop may see the clock first)
        // still counts.
        PrivateServe(key, kxServerSocket::READABLE);
        const kxServerPeer* peer = PrivateFind(key);
        if (peer && !peer->m_busy && peer->IsOverdue(kxServerPeer::Clock::now()))
            PrivateLost(key);
    }
}

kxServerPeer* kxServerBase::PrivateFind(unsigned long key)
{
    const auto found = m_peers.find(key);
    return found == m_peers.end() ? nullptr : found->second.get();
}

kxServerPeer* kxServerBase::PrivatePeerOf(const kxServerBaseConnection* connection)
{
    for (const auto& entry : m_peers)
        if (entry.second->m_connection == connection)
            return entry.second.get();
    return nullptr;
}

void kxServerBase::PrivateDiscard(kxServerBaseConnection* connection)
{
    if (kxServerPeer* peer = PrivatePeerOf(connection))
        PrivateClose(peer->GetKey());
    connection->Retire();
    m_discarded.push_back(connection);
    PrivateScheduleCleanup();
}

void kxServerBase::PrivateScheduleCleanup()
{
    m_deferred.CallAfter([this] { PrivateDestroyDiscarded(); });
}

void kxServerBase::PrivateDestroyDiscarded()
{
    // A connection still inside one of its callbacks (a command that lets the event loop run)
    // stays; it asks for another pass when the callback ends.
    std::vector<kxServerBaseConnection*> discarded;
    discarded.swap(m_discarded);
    for (kxServerBaseConnection* connection : discarded)
    {
        if (connection->IsBusy())
            m_discarded.push_back(connection);
        else
            delete connection;
    }
}
