#ifndef KXRUZOVORI_HTTP_WXHTTPBUILDEREVENT_H
#define KXRUZOVORI_HTTP_WXHTTPBUILDEREVENT_H

#include "kxRuzoVori/kxExport.h"

#include <wx/event.h>
#include <wx/string.h>

/// Carries the response text (empty for head requests and downloads into a file); its object is
/// the request builder, its id the thread's.
/// The event by which a worker thread reports its finished request to a window.
class KX_API wxHTTPBuilderEvent : public wxEvent
{
public:
    wxHTTPBuilderEvent(short type = 0, int id = 0, bool finished = false,
                       const wxString& data = wxEmptyString);

    bool GetFinished() const { return m_finished; }
    const wxString& GetData() const { return m_data; }

    wxEvent* Clone() const override;
    /// Sent from a worker thread: a yield that lets only user input through leaves it queued.
    wxEventCategory GetEventCategory() const override { return wxEVT_CATEGORY_THREAD; }

private:
    bool m_finished;
    wxString m_data;
};

wxDECLARE_EXPORTED_EVENT(KX_API, wxEVT_HTTPBUILDERTHREAD_FINISHED, wxHTTPBuilderEvent);

typedef void (wxEvtHandler::*wxHTTPBuilderEventFunction)(wxHTTPBuilderEvent&);
#define wxHTTPBuilderEventHandler(func) wxEVENT_HANDLER_CAST(wxHTTPBuilderEventFunction, func)
/// Event table entry: EVT_HTTPBUILDERTHREAD_FINISHED(id, MyFrame::OnDownloaded).
#define EVT_HTTPBUILDERTHREAD_FINISHED(id, func)                                                   \
    wx__DECLARE_EVT1(wxEVT_HTTPBUILDERTHREAD_FINISHED, id, wxHTTPBuilderEventHandler(func))

#endif
