// The calling side of the command channel: a toolkit TCP client that holds at most one
// connection to the server, sends commands through it and asks the server to stop.
// Internal to the library.
#ifndef KXRUZOVORI_IPC_KXCLIENTBASE_H
#define KXRUZOVORI_IPC_KXCLIENTBASE_H

#include <wx/sckipc.h>
#include <wx/string.h>

class kxClient;
class kxClientBaseConnection;

typedef bool (kxClient::*kxClientDisconnectHandler)();

class kxClientBase : public wxTCPClient
{
public:
    // Throws kxException when the handler or the handler object is missing.
    kxClientBase(kxClient* handler, kxClientDisconnectHandler disconnectHandler, long timeout);
    ~kxClientBase() override;

    // Replaces the current connection by a new one to port on host; true when connected.
    bool Connect(const wxString& host, const wxString& port, const wxString& topic);
    wxConnectionBase* OnMakeConnection() override;
    void Disconnect();
    bool IsConnected() const { return m_connection != nullptr; }

    // Sends command, separator and argument; returns the server's reply. Throws kxException
    // on protocol errors and when there is no connection.
    wxString Command(const wxString& command, const wxString& argument, const wxString& separator);
    // Asks the server to stop, then waits up to timeout milliseconds for process id to end.
    bool StopServer(unsigned long id, long timeout);

    long GetTimeout() const;
    void SetTimeout(long seconds);
    unsigned char GetErrorCount() const;

    void OnConnectionDisconnect();

private:
    void PrivateDropConnection();

    kxClientBaseConnection* m_connection;
    kxClient* m_handler;
    kxClientDisconnectHandler m_disconnectHandler;
    bool m_lostDuringCommand;
    long m_timeout;
};

#endif
