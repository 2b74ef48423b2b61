#ifndef KXRUZOVORI_IPC_KXSERVER_H
#define KXRUZOVORI_IPC_KXSERVER_H

#include "kxRuzoVori/core/kxEventable.h"
#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/object.h>
#include <wx/string.h>

class kxServerBase;

/// The command server a host application derives from: it listens on a local TCP port, accepts
/// one client at a time, answers the built-in commands (stop, identify, process id) itself and
/// hands every other command to ProtectedOnCommand. Event 0 asks the host's consent to stop.
///
/// It speaks the toolkit's IPC wire protocol itself, never waiting on a peer: a peer has 5 s for
/// its greeting and for each message, and one that claims more than a request item can carry is
/// dropped at once, so no local program can stall the host's event loop or fill its memory.
class KX_API kxServer : public wxObject, public kxEventable
{
public:
    /// The event fired when a client asks the server to stop; a subscriber returning false
    /// refuses.
    enum
    {
        EVENT_STOP = 0
    };

    kxServer();
    kxServer(const kxServer&) = delete;
    kxServer& operator=(const kxServer&) = delete;
    ~kxServer() override;

    /// Starts listening on port (a number other than 0, or a TCP service name); does nothing once
    /// started.
    /// Throws kxException when port is empty or cannot be listened on.
    void Start(wxString port);
    /// Drops the current client, if any.
    void Disconnect();
    /// Whether a client is connected.
    bool IsConnected();

    /// A client connected: calls ProtectedOnConnect().
    void PrivateOnConnect();
    /// The client went: calls ProtectedOnDisconnect().
    void PrivateOnDisconnect();
    /// Answers the built-in commands and passes every other one to ProtectedOnCommand.
    wxString PrivateOnCommand(wxString& command, wxString& argument);

protected:
    /// Called when a client connected; does nothing unless overridden.
    virtual void ProtectedOnConnect() {}
    /// Called when the client went; does nothing unless overridden.
    virtual void ProtectedOnDisconnect() {}
    /// The host's answer to command; the text goes back to the client as the reply. A command
    /// poked with data in a format other than text gets that data one byte per character
    /// (argument.To8BitData() gives the bytes back).
    virtual wxString ProtectedOnCommand(wxString& command, wxString& argument) = 0;

private:
    kxServerBase* m_server;
};

#endif
