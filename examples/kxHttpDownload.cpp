// kxHttpDownload: downloads a URL into a file on a worker thread, with a progress bar.
//
//   kxHttpDownload URL FILE
//
// The request runs on the library's worker thread; the bytes it reads reach the window as thread
// events, and the finished request as the builder's own event. Cancel asks the transfer to stop
// after the block in hand; closing the window does the same and waits for the thread's report.
#include "kxRuzoVori/http/wxHTTPBuilderEvent.h"
#include "kxRuzoVori/http/wxHTTPBuilderThread.h"
#include "kxRuzoVori/http/wxHTTPBuilderThreadObj.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <cstdio>

namespace
{
// A builder that tells a window how far the body has come. AddBytesRead runs on the worker
// thread, so it only queues an event: the window reads it on the GUI thread.
class ProgressBuilder : public wxHTTPBuilderThreadObj
{
public:
    explicit ProgressBuilder(wxEvtHandler* window) : m_window(window) {}

protected:
    void AddBytesRead(int count) override
    {
        wxHTTPBuilderThreadObj::AddBytesRead(count);
        auto* event = new wxThreadEvent(wxEVT_THREAD);
        event->SetInt(GetBytesRead());
        event->SetExtraLong(GetContentLength()); // -1 when the server did not say
        wxQueueEvent(m_window, event);
    }

private:
    wxEvtHandler* m_window;
};

class DownloadFrame : public wxFrame
{
public:
    DownloadFrame(const wxString& url, const wxString& file)
        : wxFrame(nullptr, wxID_ANY, wxS("Download")), m_http(this)
    {
        auto* panel = new wxPanel(this);
        m_status = new wxStaticText(panel, wxID_ANY, wxS("Connecting to ") + url);
        m_gauge = new wxGauge(panel, wxID_ANY, 100, wxDefaultPosition, wxSize(360, -1));
        m_cancel = new wxButton(panel, wxID_CANCEL);
        auto* column = new wxBoxSizer(wxVERTICAL);
        column->Add(m_status, 0, wxEXPAND | wxALL, 12);
        column->Add(m_gauge, 0, wxEXPAND | wxLEFT | wxRIGHT, 12);
        column->Add(m_cancel, 0, wxALIGN_RIGHT | wxALL, 12);
        panel->SetSizerAndFit(column);
        Fit();

        Bind(wxEVT_THREAD, &DownloadFrame::OnProgress, this);
        Bind(wxEVT_HTTPBUILDERTHREAD_FINISHED, &DownloadFrame::OnFinished, this);
        m_cancel->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { m_http.Stop(); });
        Bind(wxEVT_CLOSE_WINDOW, &DownloadFrame::OnClose, this);

        // The thread deletes itself when it has reported; the builder must outlive it.
        auto* thread = new wxHTTPBuilderThread(this, wxID_ANY, &m_http, url);
        thread->SaveToFile(true, file);
        m_http.SetThread(thread);
        if (thread->Create() != wxTHREAD_NO_ERROR || thread->Run() != wxTHREAD_NO_ERROR)
        {
            m_status->SetLabel(wxS("The download thread could not be started."));
            m_running = false;
        }
    }

private:
    void OnProgress(wxThreadEvent& event)
    {
        const long done = event.GetInt();
        const long total = event.GetExtraLong();
        if (total > 0)
        {
            m_gauge->SetValue(static_cast<int>(done * 100LL / total));
            m_status->SetLabel(wxString::Format(wxS("%ld of %ld bytes"), done, total));
        }
        else
        {
            m_gauge->Pulse();
            m_status->SetLabel(wxString::Format(wxS("%ld bytes"), done));
        }
    }

    void OnFinished(wxHTTPBuilderEvent&)
    {
        m_running = false;
        m_cancel->SetLabel(wxS("Close"));
        m_cancel->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); });
        if (m_http.GetLastError().empty())
        {
            m_gauge->SetValue(100);
            m_status->SetLabel(wxS("Done: ") + m_http.GetResponseString());
        }
        else
            m_status->SetLabel(wxS("Failed while ") + m_http.GetLastError().Lower() + wxS(" (") +
                               m_http.GetResponseString() + wxS(")"));
        if (m_closing)
            Destroy();
    }

    // The builder belongs to this window: while the thread still uses it, closing only asks the
    // transfer to stop, and the window goes when the thread has reported.
    void OnClose(wxCloseEvent& event)
    {
        if (!m_running)
        {
            event.Skip();
            return;
        }
        m_closing = true;
        m_http.Stop();
        Hide();
    }

    ProgressBuilder m_http;
    wxStaticText* m_status;
    wxGauge* m_gauge;
    wxButton* m_cancel;
    bool m_running = true;
    bool m_closing = false;
};

class DownloadApp : public wxApp
{
public:
    bool OnInit() override
    {
        if (argc != 3)
        {
            std::fputs("usage: kxHttpDownload URL FILE\n", stderr);
            return false;
        }
        // Sockets are set up on the GUI thread before a worker thread uses them.
        wxSocketBase::Initialize();
        (new DownloadFrame(argv[1], argv[2]))->Show();
        return true;
    }
};
} // namespace

wxIMPLEMENT_APP(DownloadApp);
