// One client's connection to the command server: reassembles the request items of a command,
// runs it with the toolkit's error log captured, and hands the reply to the toolkit as UTF-8
// text. Internal to the library.
#ifndef KXRUZOVORI_IPC_KXSERVERBASECONNECTION_H
#define KXRUZOVORI_IPC_KXSERVERBASECONNECTION_H

#include "kxRuzoVori/ipc/private/kxChannelConnection.h"

#include <wx/string.h>

class kxServerBase;

typedef wxString (kxServerBase::*kxServerBaseCommandHandler)(wxString&, wxString&);
typedef void (kxServerBase::*kxServerBaseDisconnectHandler)();

class kxServerBaseConnection : public kxChannelConnection
{
public:
    // Throws kxException when the handler object or a handler is missing. A lost connection is
    // reported to the handler object itself, which tells its current client from one still
    // waiting for admission and calls the disconnect handler for the former.
    kxServerBaseConnection(kxServerBase* handler, kxServerBaseCommandHandler commandHandler,
                           kxServerBaseDisconnectHandler disconnectHandler);

    const void* OnRequest(const wxString& topic, const wxString& item, size_t* size,
                          wxIPCFormat format) override;
    bool OnPoke(const wxString& topic, const wxString& item, const void* data, size_t size,
                wxIPCFormat format) override;
    bool OnDisconnect() override;

    // Runs the stored command; returns the reply as persistent, zero-terminated UTF-8.
    const void* ExecuteCommand();

    // True when the socket's peer is a loopback address of this machine.
    bool IsLocalPeer() const;
    // Makes every transfer on the socket all-or-nothing and bounded by seconds. (Blocking
    // sockets get no events from the toolkit, so the socket keeps serving through the loop.)
    void RestrictSocket(long seconds);
    // Marks the connection as out of service: its callbacks serve nothing from now on.
    void Retire() { m_retired = true; }
    // True while one of its callbacks runs.
    bool IsBusy() const { return m_busy > 0; }

private:
    class BusyScope;

    kxServerBaseCommandHandler m_commandHandler;
    kxServerBase* m_handler;
    wxString m_errorReply;
    wxString m_argument;
    wxString m_command;

    int m_busy;
    bool m_retired;
};

#endif
