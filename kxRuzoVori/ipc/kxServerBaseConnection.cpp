// One command server connection: request items reassembled, commands run, replies given.
#include "kxRuzoVori/ipc/private/kxServerBaseConnection.h"

#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/private/kxLibraryException.h"
#include "kxRuzoVori/core/private/kxLibraryObject.h"
#include "kxRuzoVori/ipc/private/kxIpcMessage.h"
#include "kxRuzoVori/ipc/private/kxServerBase.h"
#include "kxRuzoVori/locale/kxLogString.h"

#include <wx/tokenzr.h>

#include <cstring>

namespace
{
// The reply of the last executed command, and the UTF-8 form that is sent (measured by its
// terminating zero, as the toolkit measures text replies). Library-wide, like the command that
// fills them: one command runs at a time.
struct ReplyBuffer
{
    wxString m_text;
    wxCharBuffer m_utf8;
};

ReplyBuffer* s_reply = nullptr;

const char kReplyOk[] = "OK";

ReplyBuffer& Reply()
{
    return kxLibraryObject(s_reply);
}

const void* PersistReply(const wxString& text)
{
    ReplyBuffer& reply = Reply();
    reply.m_utf8 = text.utf8_str();
    return reply.m_utf8.data();
}

// Restores the log target that was active before a command ran, on every way out.
class LogCapture
{
public:
    LogCapture() : m_log(new kxLogString()), m_previous(wxLog::SetActiveTarget(m_log)) {}
    ~LogCapture()
    {
        wxLog::SetActiveTarget(m_previous);
        delete m_log;
    }
    const wxString& GetText() const { return m_log->m_text; }

private:
    kxLogString* m_log;
    wxLog* m_previous;
};
} // namespace

class kxServerBaseConnection::BusyScope
{
public:
    explicit BusyScope(kxServerBaseConnection& connection) : m_connection(connection)
    {
        ++m_connection.m_busy;
    }
    ~BusyScope()
    {
        if (--m_connection.m_busy == 0 && m_connection.m_retired)
            m_connection.m_handler->PrivateScheduleCleanup();
    }

private:
    kxServerBaseConnection& m_connection;
};

kxServerBaseConnection::kxServerBaseConnection(kxServerBase* handler,
                                               kxServerBaseCommandHandler commandHandler,
                                               kxServerBaseDisconnectHandler disconnectHandler)
    : m_commandHandler(commandHandler), m_disconnectHandler(disconnectHandler), m_handler(handler),
      m_busy(0), m_retired(false)
{
    const wxString classText = kxLibraryClassText();
    if (!handler)
        throw kxException(kxTranslate(wxS("Internal error in constructor "
                                          "kxServerBaseConnection::kxServerBaseConnection(). "
                                          "Object of handlers not set.")),
                          classText);
    if (!commandHandler || !disconnectHandler)
        throw kxException(kxTranslate(wxS("Internal error in constructor "
                                          "kxServerBaseConnection::kxServerBaseConnection(). "
                                          "Empty handlers.")),
                          classText);
}

const void* kxServerBaseConnection::OnRequest(const wxString& WXUNUSED(topic), const wxString& item,
                                              size_t* WXUNUSED(size), wxIPCFormat WXUNUSED(format))
{
    BusyScope busy(*this);
    if (m_retired)
        return nullptr;
    const wxString flag = item.Left(1);
    const wxString piece = item.Mid(1);
    if (flag == wxS("0") || flag == wxS("1"))
    {
        // The first piece is command and argument; a line feed inside the argument ends it.
        wxStringTokenizer tokens(piece, wxS("\n"), wxTOKEN_STRTOK);
        m_command = tokens.HasMoreTokens() ? tokens.GetNextToken() : wxString();
        m_argument = tokens.HasMoreTokens() ? tokens.GetNextToken() : wxString();
        return flag == wxS("0") ? ExecuteCommand() : kReplyOk;
    }
    m_argument += piece;
    return flag == wxS("3") ? ExecuteCommand() : kReplyOk;
}

bool kxServerBaseConnection::OnPoke(const wxString& WXUNUSED(topic), const wxString& item,
                                    const void* data, size_t size, wxIPCFormat format)
{
    BusyScope busy(*this);
    if (m_retired || item.empty())
        return false;
    wxString command = item;
    // Text arrives as the toolkit reads its format; data of any other format is handed over
    // byte for byte, each byte one character (To8BitData() gives the bytes back).
    wxString argument;
    if (data)
        argument = IsTextFormat(format)
                       ? GetTextFromData(data, size, format)
                       : wxString::From8BitData(static_cast<const char*>(data), size);
    // Nothing above the toolkit would catch a failing command here: it answers the poke false.
    try
    {
        return !(m_handler->*m_commandHandler)(command, argument).empty();
    }
    catch (...)
    {
        return false;
    }
}

bool kxServerBaseConnection::OnDisconnect()
{
    // The server decides when the connection object goes.
    if (!m_retired)
        (m_handler->*m_disconnectHandler)();
    return true;
}

bool kxServerBaseConnection::Disconnect()
{
    m_handler->PrivateSayGoodbye(this);
    return true;
}

bool kxServerBaseConnection::PrivateAnswer(const wxString& topic, const kxIpcMessage& message,
                                           std::string& reply)
{
    wxString item;
    if (message.m_code == kxIpcMessage::DISCONNECT || !kxIpcMessage::ToText(message.m_item, item))
        return false;
    switch (message.m_code)
    {
    case kxIpcMessage::REQUEST:
    {
        size_t size = wxNO_LEN;
        const void* data = OnRequest(topic, item, &size, message.m_format);
        if (!data)
            kxIpcMessage::AppendCode(reply, kxIpcMessage::FAIL);
        else
            kxIpcMessage::AppendReply(reply, static_cast<const char*>(data),
                                      size == wxNO_LEN ? strlen(static_cast<const char*>(data)) + 1
                                                       : size);
        break;
    }
    case kxIpcMessage::POKE:
    {
        // Text conversions may look for a terminating zero the peer did not send: four zero
        // bytes follow the data, outside its size.
        std::string data = message.m_data;
        data.append(4, '\0');
        OnPoke(topic, item, data.data(), message.m_data.size(), message.m_format);
        break;
    }
    case kxIpcMessage::ADVISE_START:
        kxIpcMessage::AppendCode(reply, OnStartAdvise(topic, item) ? kxIpcMessage::ADVISE_START
                                                                   : kxIpcMessage::FAIL);
        break;
    case kxIpcMessage::ADVISE_STOP:
        kxIpcMessage::AppendCode(reply, OnStopAdvise(topic, item) ? kxIpcMessage::ADVISE_STOP
                                                                  : kxIpcMessage::FAIL);
        break;
    default:
        // An execute gets no answer; the toolkit's default callback would only complain.
        break;
    }
    return true;
}

const void* kxServerBaseConnection::ExecuteCommand()
{
    try
    {
        LogCapture capture;
        if (m_command.empty())
            throw kxException(
                kxTranslate(wxS("Error in kxServerBaseConnection::OnRequest(). Empty command")),
                kxLibraryClassText());
        Reply().m_text = (m_handler->*m_commandHandler)(m_command, m_argument);
        if (capture.GetText().empty())
            return PersistReply(Reply().m_text);
        m_errorReply = wxS("err:") + capture.GetText();
    }
    catch (const kxException& e)
    {
        m_errorReply = wxS("err:") + e.GetMsg();
    }
    catch (...)
    {
        m_errorReply =
            wxS("err:") +
            kxTranslate(wxS("Unknown server error in method kxServer::PrivateOnCommand()"));
    }
    return PersistReply(m_errorReply);
}
