#ifndef KXRUZOVORI_HTTP_WXHTTPBUILDERTHREAD_H
#define KXRUZOVORI_HTTP_WXHTTPBUILDERTHREAD_H

#include "kxRuzoVori/kxExport.h"

#include <wx/string.h>
#include <wx/thread.h>
#include <wx/window.h>

class wxHTTPBuilder;

/// The host makes the builder (a wxHTTPBuilderThreadObj when the request shall stop with the
/// thread), sets its values, makes this thread, sets its flags, then calls Create() and Run().
/// When the request is done the parent receives wxEVT_HTTPBUILDERTHREAD_FINISHED on its own
/// thread, with the response text; the thread deletes itself. The builder stays the host's,
/// must outlive the thread, and is left alone until the event arrives.
/// A detached worker thread that runs one request of a builder and reports to a window.
class KX_API wxHTTPBuilderThread : public wxThread
{
public:
    /// A detached thread that fetches url with builder and reports to parent (no event when
    /// parent is null) with id as the event's id.
    wxHTTPBuilderThread(wxWindow* parent, int id, wxHTTPBuilder* builder, const wxString& url);

    /// Writes the body into file instead of keeping it as the response text.
    void SaveToFile(bool saveToFile, const wxString& file = wxEmptyString);
    /// Asks only for the head of the response: the event then carries no text.
    void GetHeadRequest(bool headRequest);
    /// Where the multipart body's temporary file goes (a folder or a file name prefix).
    void SetTempDirOrPrefix(const wxString& prefix) { m_tempPrefix = prefix; }

    /// The id given to the constructor (not the system's thread id).
    int GetId() const { return m_id; }
    /// The window the event goes to.
    wxWindow* GetParent() const { return m_parent; }

    /// Run by the toolkit on the thread: the request, then the event to the parent.
    ExitCode Entry() override;
    /// Run by the toolkit as the thread ends: releases a wxHTTPBuilderThreadObj's hold on this
    /// thread and queues the event to the parent.
    void OnExit() override;

private:
    wxHTTPBuilder* m_builder;
    wxWindow* m_parent;
    int m_id;
    wxString m_response;
    bool m_saveToFile = false;
    bool m_headRequest = false;
    wxString m_url;
    wxString m_tempPrefix;
    wxString m_file;
};

#endif
