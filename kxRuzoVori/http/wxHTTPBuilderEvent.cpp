// The finished event of the request builder's worker thread.
#include "kxRuzoVori/http/wxHTTPBuilderEvent.h"

wxDEFINE_EVENT(wxEVT_HTTPBUILDERTHREAD_FINISHED, wxHTTPBuilderEvent);

wxHTTPBuilderEvent::wxHTTPBuilderEvent(short type, int id, bool finished, const wxString& data)
    : wxEvent(id, type), m_finished(finished), m_data(data)
{
}

wxEvent* wxHTTPBuilderEvent::Clone() const
{
    return new wxHTTPBuilderEvent(*this);
}
