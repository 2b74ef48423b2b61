// The command client's connection: request texts cut into items, and protocol errors counted.
#include "kxRuzoVori/ipc/private/kxClientBaseConnection.h"

#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/kxTranslate.h"
#include "kxRuzoVori/core/private/kxLibraryException.h"
#include "kxRuzoVori/core/private/kxLibraryObject.h"
#include "kxRuzoVori/ipc/private/kxClientBase.h"

#include <wx/socket.h>

namespace
{
// Payload of one request item, counted in UTF-16 code units as on the original wire; a
// character beyond U+FFFF counts two and is never split between items.
const size_t kPieceUnits = 4096;

// The reply of the last piece any client connection sent; library-wide, one request at a time.
wxString* s_reply = nullptr;

wxString& Reply()
{
    return kxLibraryObject(s_reply);
}

size_t Units(wxUniChar c)
{
    return c.GetValue() > 0xFFFF ? 2 : 1;
}

// The number of characters from start that fit in kPieceUnits code units.
size_t PieceLength(const wxString& text, size_t start)
{
    size_t units = 0;
    size_t length = 0;
    for (wxString::const_iterator it = text.begin() + start; it != text.end(); ++it, ++length)
    {
        units += Units(*it);
        if (units > kPieceUnits)
            break;
    }
    return length;
}
} // namespace

kxClientBaseConnection::kxClientBaseConnection(kxClientBase* handler,
                                               kxClientBaseDisconnectHandler disconnectHandler)
    : m_handler(handler), m_disconnectHandler(disconnectHandler), m_errorCount(0)
{
    const wxString classText = kxLibraryClassText();
    if (!handler)
        throw kxException(kxTranslate(wxS("Internal error in constructor "
                                          "kxClientBaseConnection::kxClientBaseConnection(). "
                                          "Empty object of handler.")),
                          classText);
    if (!disconnectHandler)
        throw kxException(kxTranslate(wxS("Internal error in constructor "
                                          "kxClientBaseConnection::kxClientBaseConnection(). "
                                          "Empty handler.")),
                          classText);
}

const void* kxClientBaseConnection::Request(const wxString& item, size_t* WXUNUSED(size),
                                            wxIPCFormat WXUNUSED(format))
{
    Reply().clear();
    size_t total = 0;
    for (wxString::const_iterator it = item.begin(); it != item.end(); ++it)
        total += Units(*it);
    size_t length = PieceLength(item, 0);
    const wxString first = (total > kPieceUnits ? wxS("1") : wxS("0")) + item.Left(length);
    if (first.length() < 2)
        return Reply().wc_str();
    PrivateSendPiece(first, item);
    size_t sent = length;
    while (sent < item.length())
    {
        if (Reply() != wxS("OK"))
            PrivateFail(
                kxTranslate(wxS("Protocol error. Command \"%s\" interrupted by server or internal "
                                "error")),
                item);
        length = PieceLength(item, sent);
        const bool last = sent + length >= item.length();
        PrivateSendPiece((last ? wxS("3") : wxS("2")) + item.Mid(sent, length), item);
        sent += length;
    }
    return Reply().wc_str();
}

void kxClientBaseConnection::PrivateSendPiece(const wxString& piece, const wxString& request)
{
    // A connection the toolkit already saw closing transfers nothing.
    if (!m_sock || !m_sock->IsConnected())
        PrivateFail(
            kxTranslate(wxS("Protocol error. Command \"%s\" can not be done. No server response.")),
            request);
    size_t size = 0;
    const void* data = wxTCPConnection::Request(piece, &size, wxIPC_UTF8TEXT);
    // Every reply of a server carries at least its terminating zero: no data means that none
    // came (the connection was lost or replaced, or the server refused). The socket's last
    // count does not tell, as it counts the request's own bytes.
    if (!data)
        PrivateFail(
            kxTranslate(wxS("Protocol error. Command \"%s\" can not be done. No server response.")),
            request);
    if (m_sock->Error())
        PrivateFail(kxTranslate(wxS("Protocol error. Command \"%s\" can not be done.")), request);
    wxString& reply = Reply();
    reply = wxString::FromUTF8(static_cast<const char*>(data), size);
    // The reply comes with its terminating zero.
    while (!reply.empty() && reply.Last() == wxS('\0'))
        reply.RemoveLast();
}

void kxClientBaseConnection::PrivateFail(const wxString& format, const wxString& request)
{
    ++m_errorCount;
    throw kxException(wxString::Format(format, request), kxLibraryClassText());
}

bool kxClientBaseConnection::OnDisconnect()
{
    // The client decides when the connection object goes; the toolkit must not delete it.
    m_errorCount = 0;
    (m_handler->*m_disconnectHandler)();
    return true;
}

long kxClientBaseConnection::GetTimeout() const
{
    return m_sock ? m_sock->GetTimeout() : 0;
}

void kxClientBaseConnection::SetTimeout(long seconds)
{
    if (m_sock)
        m_sock->SetTimeout(seconds);
}
