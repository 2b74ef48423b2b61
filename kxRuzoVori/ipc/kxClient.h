// A host's handle on its command server process: Connect() makes sure exactly this server
// program runs (stopping stray instances first when asked, starting it when it is down),
// connects, proves that the peer is a genuine server and learns its process id. Command() then
// sends text commands and returns the replies; StopServer() asks the server to end.
//
// Every call blocks the calling thread. The toolkit connects with a socket of its own default
// time-out; the client's time-out of 10 seconds applies from the moment the connection exists.
#ifndef KXRUZOVORI_IPC_KXCLIENT_H
#define KXRUZOVORI_IPC_KXCLIENT_H

#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/object.h>
#include <wx/string.h>

class kxClientBase;

class KX_API kxClient : public wxObject
{
public:
    // serverFile is the server program; stopAll asks Connect() to end every running instance
    // of it first.
    kxClient(wxString serverFile, bool stopAll, wxString host, wxString port);
    kxClient(const kxClient&) = delete;
    kxClient& operator=(const kxClient&) = delete;
    ~kxClient() override;

    // Throws kxException when the server cannot be started, reached or proved genuine.
    void Connect();
    bool IsConnected();
    // Sends command with argument; success is false (and the reply is the reason) when the
    // server answered with an error or the exchange failed.
    wxString Command(wxString command, wxString argument, bool& success);
    wxString Command(wxString command, bool& success);
    // Asks the server to stop and waits up to timeout milliseconds for its process to end.
    bool StopServer(long timeout);
    void Disconnect();

    // The connection socket's time-out in seconds.
    long GetTimeout();
    void SetTimeout(long seconds);

    wxString GetHost() { return m_host; }
    wxString GetPort() { return m_port; }
    void SetPort(const wxString& port) { m_port = port; }

    bool PrivateOnDisconnect();
    bool PrivateOnDisconnectLocal();
    void PrivateCreateServerIfItDown();
    void PrivateStopAllServers();
    void PrivateValidateServer();
    void PrivateGetServerPID();

protected:
    // Called when the connection to the server is lost.
    virtual bool ProtectedOnDisconnect() { return true; }
    // Protocol errors since the connection was made.
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
