// The client's connection to the command server: cuts a request text into items of at most
// 4096 characters behind a one-character packet flag, sends them in turn and checks the
// server's answers. Internal to the library.
#ifndef KXRUZOVORI_IPC_KXCLIENTBASECONNECTION_H
#define KXRUZOVORI_IPC_KXCLIENTBASECONNECTION_H

#include "kxRuzoVori/ipc/private/kxChannelConnection.h"

#include <wx/string.h>

class kxClientBase;

typedef void (kxClientBase::*kxClientBaseDisconnectHandler)();

class kxClientBaseConnection : public kxChannelConnection
{
public:
    // Throws kxException when the handler object or the handler is missing.
    kxClientBaseConnection(kxClientBase* handler, kxClientBaseDisconnectHandler disconnectHandler);

    // Sends item, the whole request text, in pieces; returns the reply of the last piece as
    // wide characters that stay valid until the next request. Throws kxException on protocol
    // errors. size and format are not used: the pieces always travel as UTF-8 text.
    const void* Request(const wxString& item, size_t* size = nullptr,
                        wxIPCFormat format = wxIPC_TEXT) override;
    bool OnDisconnect() override;

    unsigned char GetErrorCount() const { return m_errorCount; }
    long GetTimeout() const;
    void SetTimeout(long seconds);

private:
    // Sends one item and stores its reply; throws when the transfer failed.
    void PrivateSendPiece(const wxString& piece, const wxString& request);
    // Counts the failure and throws format (already translated) filled in with request.
    [[noreturn]] void PrivateFail(const wxString& format, const wxString& request);

    kxClientBase* m_handler;
    kxClientBaseDisconnectHandler m_disconnectHandler;
    unsigned char m_errorCount;
};

#endif
