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
    /// An event of the given type for the window or thread id; finished and data are what the
    /// getters return.
    wxHTTPBuilderEvent(short type = 0, int id = 0, bool finished = false,
                       const wxString& data = wxEmptyString);

    /// True when the request is done (always so for the events the worker thread sends).
    bool GetFinished() const { return m_finished; }
    /// The response text.
    const wxString& GetData() const { return m_data; }

    /// A copy, with its own copy of the text, for queueing across threads.
    wxEvent* Clone() const override;
    /// Sent from a worker thread: a yield that lets only user input through leaves it queued.
    wxEventCategory GetEventCategory() const override { return wxEVT_CATEGORY_THREAD; }

private:
    bool m_finished;
    wxString m_data;
};

/// Sent by wxHTTPBuilderThread to its parent window when its request is done.
wxDECLARE_EXPORTED_EVENT(KX_API, wxEVT_HTTPBUILDERTHREAD_FINISHED, wxHTTPBuilderEvent);

/// A handler of wxHTTPBuilderEvent, and the cast that lets Connect() take one.
///@{
typedef void (wxEvtHandler::*wxHTTPBuilderEventFunction)(wxHTTPBuilderEvent&);
#define wxHTTPBuilderEventHandler(func) wxEVENT_HANDLER_CAST(wxHTTPBuilderEventFunction, func)
///@}
/// Event table entry: EVT_HTTPBUILDERTHREAD_FINISHED(id, MyFrame::OnDownloaded).
#define EVT_HTTPBUILDERTHREAD_FINISHED(id, func)                                                   \
    wx__DECLARE_EVT1(wxEVT_HTTPBUILDERTHREAD_FINISHED, id, wxHTTPBuilderEventHandler(func))

#endif
