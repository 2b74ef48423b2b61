// The command server: listening, the built-in commands and the host's consent to stop.
#include "kxRuzoVori/ipc/kxServer.h"

#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/private/kxLibraryException.h"
#include "kxRuzoVori/ipc/private/kxChannel.h"
#include "kxRuzoVori/ipc/private/kxServerBase.h"
#include "kxRuzoVori/kxHelpers/kxEncoding.h"
#include "kxRuzoVori/serialize/wxSerialize.h"

#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/utils.h>

kxServer::kxServer() : m_server(nullptr)
{
    RegisterEvent(EVENT_STOP);
}

kxServer::~kxServer()
{
    if (m_server)
    {
        m_server->DropConnection();
        delete m_server;
    }
}

void kxServer::Start(wxString port)
{
    if (m_server)
        return;
    const wxString classText = kxLibraryClassText();
    if (port.empty())
        throw kxException(
            kxTranslate(wxS("Internal error in method kxServer::Start(). Empty server port.")),
            classText);
    m_server = new kxServerBase(kxChannel::kTopic, this, &kxServer::PrivateOnConnect,
                                &kxServer::PrivateOnDisconnect, &kxServer::PrivateOnCommand);
    if (!m_server->Create(port))
    {
        delete m_server;
        m_server = nullptr;
        throw kxException(kxTranslate(wxS("Can not start server")), classText);
    }
}

void kxServer::Disconnect()
{
    if (m_server)
        m_server->DropConnection();
}

bool kxServer::IsConnected()
{
    return m_server && m_server->HasConnection();
}

void kxServer::PrivateOnConnect()
{
    ProtectedOnConnect();
}

void kxServer::PrivateOnDisconnect()
{
    ProtectedOnDisconnect();
}

wxString kxServer::PrivateOnCommand(wxString& command, wxString& argument)
{
    if (command == wxS("cmd_stop"))
    {
        if (FireEvent(EVENT_STOP))
            return wxS("OK");
        wxLogError(wxS("%s"), kxTranslate(wxS("Can not stop server")));
        return wxString();
    }
    if (command == wxS("cmd_identify"))
    {
        wxMemoryBuffer proof = kxChannel::EncipherDate(kxChannel::GetToday());
        return kxMemoryBufferToStrHEX(proof);
    }
    if (command == wxS("cmd_getpid"))
    {
        wxMemoryOutputStream stream;
        {
            wxSerialize writer(stream, 1, wxString(), false);
            writer.WriteUint32(static_cast<unsigned int>(wxGetProcessId()));
        }
        return kxMemoryBufferToStrHEX(stream);
    }
    return ProtectedOnCommand(command, argument);
}
