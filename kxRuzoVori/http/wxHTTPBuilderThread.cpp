// The request builder's worker thread.
#include "kxRuzoVori/http/wxHTTPBuilderThread.h"

#include "kxRuzoVori/http/wxHTTPBuilder.h"
#include "kxRuzoVori/http/wxHTTPBuilderEvent.h"
#include "kxRuzoVori/http/wxHTTPBuilderThreadObj.h"

#include <wx/socket.h>

wxHTTPBuilderThread::wxHTTPBuilderThread(wxWindow* parent, int id, wxHTTPBuilder* builder,
                                         const wxString& url)
    : wxThread(wxTHREAD_DETACHED), m_builder(builder), m_parent(parent), m_id(id), m_url(url)
{
    // The toolkit's sockets must be set up on the main thread before this thread uses one.
    if (wxThread::IsMain() && !wxSocketBase::IsInitialized())
        wxSocketBase::Initialize();
}

void wxHTTPBuilderThread::SaveToFile(bool saveToFile, const wxString& file)
{
    m_saveToFile = saveToFile;
    m_file = file;
}

void wxHTTPBuilderThread::GetHeadRequest(bool headRequest)
{
    m_headRequest = headRequest;
}

wxThread::ExitCode wxHTTPBuilderThread::Entry()
{
    // Off the main thread the socket must not wait through the GUI's event loop.
    m_builder->SetFlags(m_builder->GetFlags() | wxSOCKET_BLOCK);
    if (m_headRequest)
        m_builder->GetHeadResponse(m_url);
    else if (!m_saveToFile)
        m_response = m_builder->GetInputString(m_url, m_tempPrefix);
    else
        m_builder->SaveFile(m_file, m_url, m_tempPrefix);
    return nullptr;
}

void wxHTTPBuilderThread::OnExit()
{
    // This thread object is deleted right after: a builder must not ask it about stopping.
    wxHTTPBuilderThreadObj* stoppable = dynamic_cast<wxHTTPBuilderThreadObj*>(m_builder);
    if (stoppable && stoppable->GetThread() == this)
        stoppable->SetThread(nullptr);
    if (!m_parent)
        return;
    wxHTTPBuilderEvent* event = new wxHTTPBuilderEvent(
        static_cast<short>(static_cast<wxEventType>(wxEVT_HTTPBUILDERTHREAD_FINISHED)), m_id, true,
        m_response);
    event->SetEventObject(m_builder);
    wxQueueEvent(m_parent->GetEventHandler(), event);
}
