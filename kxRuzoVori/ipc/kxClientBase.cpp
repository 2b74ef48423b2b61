// The command client's IPC object: connecting, sending commands and the stop request.
#include "kxRuzoVori/ipc/private/kxClientBase.h"

#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/private/kxLibraryException.h"
#include "kxRuzoVori/ipc/private/kxClientBaseConnection.h"
#include "kxRuzoVori/kxHelpers/kxProcess.h"

kxClientBase::kxClientBase(kxClient* handler, kxClientDisconnectHandler disconnectHandler,
                           long timeout)
    : m_connection(nullptr), m_handler(handler), m_disconnectHandler(disconnectHandler),
      m_lostDuringCommand(false), m_timeout(timeout)
{
    const wxString classText = kxLibraryClassText();
    if (!disconnectHandler)
        throw kxException(kxTranslate(wxS("Internal error in constructor "
                                          "kxClientBase::kxClientBase(). Empty handlers.")),
                          classText);
    if (!handler)
        throw kxException(kxTranslate(wxS("Internal error in constructor "
                                          "kxClientBase::kxClientBase(). Object of handlers not "
                                          "set.")),
                          classText);
}

kxClientBase::~kxClientBase()
{
    kxClientBaseConnection::Destroy(m_connection);
}

bool kxClientBase::Connect(const wxString& host, const wxString& port, const wxString& topic)
{
    PrivateDropConnection();
    m_connection = static_cast<kxClientBaseConnection*>(MakeConnection(host, port, topic));
    // The toolkit connects with its own socket; the time-out holds from here on.
    if (m_connection)
    {
        m_connection->SetTimeout(m_timeout);
        m_connection->PrepareSocket();
    }
    return m_connection != nullptr;
}

wxConnectionBase* kxClientBase::OnMakeConnection()
{
    return new kxClientBaseConnection(this, &kxClientBase::OnConnectionDisconnect);
}

void kxClientBase::Disconnect()
{
    if (!m_connection)
        return;
    m_connection->Disconnect();
    PrivateDropConnection();
}

void kxClientBase::PrivateDropConnection()
{
    kxClientBaseConnection::Destroy(m_connection);
    m_connection = nullptr;
}

wxString kxClientBase::Command(const wxString& command, const wxString& argument,
                               const wxString& separator)
{
    if (!m_connection)
        throw kxException(kxTranslate(wxS("Can not call Command() method. Connection object is "
                                          "not created. Call this method after Connect().")),
                          kxLibraryClassText());
    m_lostDuringCommand = false;
    wxString reply;
    try
    {
        const void* data = m_connection->Request(command + separator + argument);
        if (data)
            reply = static_cast<const wchar_t*>(data);
    }
    catch (...)
    {
        if (m_lostDuringCommand)
            PrivateDropConnection();
        throw;
    }
    if (m_lostDuringCommand)
        PrivateDropConnection();
    return reply;
}

bool kxClientBase::StopServer(unsigned long id, long timeout)
{
    if (!m_connection)
        return false;
    m_lostDuringCommand = false;
    // The toolkit's poke is one-way: a server that refuses to stop could not say so and the
    // client would wait out the whole time-out. As a request, the reply carries the verdict.
    bool agreed = false;
    try
    {
        const void* reply = m_connection->Request(wxS("cmd_stop\n"));
        agreed = reply && wxString(static_cast<const wchar_t*>(reply)) == wxS("OK");
    }
    catch (const kxException&)
    {
        agreed = false;
    }
    if (m_lostDuringCommand)
    {
        PrivateDropConnection();
        return agreed;
    }
    return agreed && kxWaitProcess(id, timeout);
}

long kxClientBase::GetTimeout() const
{
    return m_connection ? m_connection->GetTimeout() : 0;
}

void kxClientBase::SetTimeout(long seconds)
{
    if (m_connection)
        m_connection->SetTimeout(seconds);
}

unsigned char kxClientBase::GetErrorCount() const
{
    return m_connection ? m_connection->GetErrorCount() : 0;
}

void kxClientBase::OnConnectionDisconnect()
{
    m_lostDuringCommand = true;
    (m_handler->*m_disconnectHandler)();
}
