// One client's connection to the command server: reassembles the request items of a command,
// runs it with the toolkit's error log captured, and replies with UTF-8 text. The server reads
// and writes its peer's bytes; the connection answers the messages, through the callbacks the
// toolkit's connections have. Internal to the library.
#ifndef KXRUZOVORI_IPC_KXSERVERBASECONNECTION_H
#define KXRUZOVORI_IPC_KXSERVERBASECONNECTION_H

#include <wx/ipcbase.h>
#include <wx/string.h>

#include <string>

class kxIpcMessage;
class kxServerBase;

typedef wxString (kxServerBase::*kxServerBaseCommandHandler)(wxString&, wxString&);
typedef void (kxServerBase::*kxServerBaseDisconnectHandler)();

class kxServerBaseConnection : public wxConnectionBase
{
public:
    // Throws kxException when the handler object or a handler is missing.
    kxServerBaseConnection(kxServerBase* handler, kxServerBaseCommandHandler commandHandler,
                           kxServerBaseDisconnectHandler disconnectHandler);

    const void* OnRequest(const wxString& topic, const wxString& item, size_t* size,
                          wxIPCFormat format) override;
    bool OnPoke(const wxString& topic, const wxString& item, const void* data, size_t size,
                wxIPCFormat format) override;
    bool OnDisconnect() override;

    // Runs the stored command; returns the reply as persistent, zero-terminated UTF-8.
    const void* ExecuteCommand();

    // Tells the peer goodbye and closes it.
    bool Disconnect() override;
    // A server's connection neither asks for data nor pushes any.
    const void* Request(const wxString&, size_t* = nullptr, wxIPCFormat = wxIPC_TEXT) override
    {
        return nullptr;
    }
    bool StartAdvise(const wxString&) override { return false; }
    bool StopAdvise(const wxString&) override { return false; }

    // Answers message (any but the greeting) through the callback the toolkit's connection
    // would call, appending the reply, if the message has one, to reply. False when the peer
    // said goodbye or sent an item that is not text.
    bool PrivateAnswer(const wxString& topic, const kxIpcMessage& message, std::string& reply);

    // Marks the connection as out of service: its callbacks serve nothing from now on.
    void Retire() { m_retired = true; }
    // True while one of its callbacks runs.
    bool IsBusy() const { return m_busy > 0; }

protected:
    bool DoExecute(const void*, size_t, wxIPCFormat) override { return false; }
    bool DoPoke(const wxString&, const void*, size_t, wxIPCFormat) override { return false; }
    bool DoAdvise(const wxString&, const void*, size_t, wxIPCFormat) override { return false; }

private:
    class BusyScope;

    kxServerBaseCommandHandler m_commandHandler;
    kxServerBaseDisconnectHandler m_disconnectHandler;
    kxServerBase* m_handler;
    wxString m_errorReply;
    wxString m_argument;
    wxString m_command;

    int m_busy;
    bool m_retired;
};

#endif
