#include "kxRuzoVori/ipc/private/kxServerBase.h"

#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/private/kxLibraryException.h"
#include "kxRuzoVori/ipc/private/kxServerBaseConnection.h"

#include <algorithm>

namespace
{
// How long a connection's socket may wait for the rest of a packet before the transfer fails.
// Long enough for any local peer, short enough that a peer sending half a packet stalls the
// host only briefly (the toolkit reads a packet in up to three waits).
const long SERVER_SOCKET_TIMEOUT = 1;

bool Remove(std::vector<kxServerBaseConnection*>& list, kxServerBaseConnection* connection)
{
    const auto found = std::find(list.begin(), list.end(), connection);
    if (found == list.end())
        return false;
    list.erase(found);
    return true;
}
} // namespace

kxServerBase::kxServerBase(const wxString& topic, kxServer* handler,
                           kxServerNotifyHandler connectHandler,
                           kxServerNotifyHandler disconnectHandler,
                           kxServerCommandHandler commandHandler)
    : m_topic(topic), m_connection(nullptr), m_handler(handler), m_connectHandler(connectHandler),
      m_disconnectHandler(disconnectHandler), m_commandHandler(commandHandler),
      m_lostDuringCommand(false)
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
}

kxServerBase::~kxServerBase()
{
    kxServerBaseConnection::Destroy(m_connection);
    for (kxServerBaseConnection* connection : m_waiting)
        kxServerBaseConnection::Destroy(connection);
    for (kxServerBaseConnection* connection : m_discarded)
        kxServerBaseConnection::Destroy(connection);
}

wxConnectionBase* kxServerBase::OnAcceptConnection(const wxString& topic)
{
    if (topic != m_topic)
        return nullptr;
    kxServerBaseConnection* connection = new kxServerBaseConnection(
        this, &kxServerBase::OnConnectionCommand, &kxServerBase::OnConnectionDisconnect);
    m_waiting.push_back(connection);
    // The toolkit gives the connection its socket after this returns.
    m_deferred.CallAfter([this, connection] { PrivateAdmit(connection); });
    return connection;
}

bool kxServerBase::PrivateAdmit(kxServerBaseConnection* connection)
{
    if (connection == m_connection)
        return true;
    if (!Remove(m_waiting, connection))
        return false;
    // Bounded and non-yielding from here on, whatever the verdict: the toolkit answers through
    // the socket after the callback returns, and must not run the event loop while it does.
    connection->RestrictSocket(SERVER_SOCKET_TIMEOUT);
    if (!connection->IsLocalPeer())
    {
        PrivateDiscard(connection);
        return false;
    }
    if (m_connection)
        PrivateDiscard(m_connection);
    m_connection = connection;
    (m_handler->*m_connectHandler)();
    return true;
}

void kxServerBase::PrivateConnectionLost(kxServerBaseConnection* connection)
{
    if (connection == m_connection)
        OnConnectionDisconnect();
    else if (Remove(m_waiting, connection))
        PrivateDiscard(connection);
}

wxString kxServerBase::OnConnectionCommand(wxString& command, wxString& argument)
{
    m_lostDuringCommand = false;
    wxString reply = (m_handler->*m_commandHandler)(command, argument);
    if (m_lostDuringCommand && m_connection)
    {
        // The toolkit still writes the reply through the connection after this returns.
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

void kxServerBase::PrivateDiscard(kxServerBaseConnection* connection)
{
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
            kxServerBaseConnection::Destroy(connection);
    }
}
