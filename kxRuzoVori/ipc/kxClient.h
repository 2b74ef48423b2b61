#ifndef KXRUZOVORI_IPC_KXCLIENT_H
#define KXRUZOVORI_IPC_KXCLIENT_H

#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/object.h>
#include <wx/string.h>

class kxClientBase;

/// A host's handle on its command server process: Connect() makes sure exactly this server
/// program runs (stopping stray instances first when asked, starting it when it is down),
/// connects, proves that the peer is a genuine server and learns its process id. Command() then
/// sends text commands and returns the replies; StopServer() asks the server to end.
///
/// Every call blocks the calling thread. The toolkit connects with a socket of its own default
/// time-out; the client's time-out of 10 seconds applies from the moment the connection exists.
class KX_API kxClient : public wxObject
{
public:
    /// serverFile is the server program; stopAll asks Connect() to end every running instance
    /// of it first.
    kxClient(wxString serverFile, bool stopAll, wxString host, wxString port);
    kxClient(const kxClient&) = delete;
    kxClient& operator=(const kxClient&) = delete;
    ~kxClient() override;

    /// Throws kxException when the server cannot be started, reached or proved genuine. Between
    /// two connection attempts it waits 500 ms, for 20 seconds at most. A peer that proves itself
    /// but sends an unreadable process id, or 0, is refused as well (a deliberate deviation): the
    /// client could neither tell whether it still runs nor stop it; the stop-all step ends such a
    /// process.
    void Connect();
    /// Whether a connection to the server exists.
    bool IsConnected();
    /// Sends command with argument; success is false (and the reply is the reason) when the
    /// server answered with an error or the exchange failed.
    wxString Command(wxString command, wxString argument, bool& success);
    /// The same without an argument.
    wxString Command(wxString command, bool& success);
    /// Asks the server to stop and waits up to timeout milliseconds for its process to end.
    bool StopServer(long timeout);
    /// Drops the connection; the server keeps running.
    void Disconnect();

    /// The connection socket's time-out in seconds.
    long GetTimeout();
    /// Sets the connection socket's time-out in seconds.
    void SetTimeout(long seconds);

    /// The server's host.
    wxString GetHost() { return m_host; }
    /// The server's port.
    wxString GetPort() { return m_port; }
    /// The port the next Connect() uses.
    void SetPort(const wxString& port) { m_port = port; }

    /// \name Steps of Connect() and of a lost connection
    /// Exported under the names hosts know; each throws as Connect() does.
    ///@{
    /// The connection was lost: calls ProtectedOnDisconnect().
    bool PrivateOnDisconnect();
    /// Forgets the connection without telling the host.
    bool PrivateOnDisconnectLocal();
    /// Starts the server program when it is not running.
    void PrivateCreateServerIfItDown();
    /// Ends every running instance of the server program, asking each to stop and killing it
    /// when it does not; does nothing while this client holds a live connection.
    void PrivateStopAllServers();
    /// Proves the server genuine ("cmd_identify").
    void PrivateValidateServer();
    /// Learns the server's process id ("cmd_getpid").
    void PrivateGetServerPID();
    ///@}

protected:
    /// Called when the connection to the server is lost.
    virtual bool ProtectedOnDisconnect() { return true; }
    /// Protocol errors since the connection was made.
    unsigned char ProtectedGetErrorCount();

private:
    bool m_stopAll;
    kxClientBase* m_client;
    wxString m_serverFile;
    wxString m_host;
    wxString m_port;
    unsigned long m_serverPid;
};

#endif
