// The picture programs' start-up and their capture of a window into a PNG file.
#include "support/kxScreenshot.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <cstdio>

namespace
{
bool s_failed = false;

// Under Xvfb an assertion dialog would wait for ever: it is reported and fails the program.
void ReportAssertion(const wxString& file, int line, const wxString& function,
                     const wxString& condition, const wxString& message)
{
    fprintf(stderr, "%s:%d: toolkit assertion %s in %s: %s\n", file.utf8_str().data(), line,
            condition.utf8_str().data(), function.utf8_str().data(), message.utf8_str().data());
    s_failed = true;
}

// Logged errors are printed, not shown as message boxes, and fail the program.
class ErrorLog : public wxLogStderr
{
protected:
    void DoLogRecord(wxLogLevel level, const wxString& message,
                     const wxLogRecordInfo& info) override
    {
        s_failed = s_failed || level <= wxLOG_Error;
        wxLogStderr::DoLogRecord(level, message, info);
    }
};

class ShotApp : public wxApp
{
public:
    ShotApp(const wxString& folder, const std::function<bool(const wxString&)>& shoot)
        : m_folder(folder), m_shoot(shoot)
    {
    }

    bool OnInit() override
    {
        SetExitOnFrameDelete(false);
        wxSetAssertHandler(ReportAssertion);
        delete wxLog::SetActiveTarget(new ErrorLog);
        if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
            wxImage::AddHandler(new wxPNGHandler);
        CallAfter(
            [this]
            {
                m_succeeded = m_shoot(m_folder);
                ExitMainLoop();
            });
        return true;
    }

    bool Succeeded() const { return m_succeeded; }

private:
    wxString m_folder;
    std::function<bool(const wxString&)> m_shoot;
    bool m_succeeded = false;
};
} // namespace

int kxShotMain(int argc, char** argv, const std::function<bool(const wxString& folder)>& shoot)
{
    if (argc != 2)
    {
        fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    auto* app = new ShotApp(wxString::FromUTF8(argv[1]), shoot);
    wxApp::SetInstance(app);
    int toolkitArgc = 1;
    if (!wxEntryStart(toolkitArgc, argv))
    {
        fprintf(stderr, "%s: the toolkit could not start (no display?)\n", argv[0]);
        return 1;
    }
    bool succeeded = false;
    if (app->CallOnInit())
    {
        app->OnRun();
        succeeded = app->Succeeded();
    }
    wxEntryCleanup();
    return succeeded && !s_failed ? 0 : 1;
}

void kxShotPump(int ms)
{
    wxStopWatch watch;
    while (watch.Time() < ms)
    {
        wxEventLoopBase* loop = wxEventLoopBase::GetActive();
        while (loop != nullptr && loop->Pending())
            loop->Dispatch();
        if (loop != nullptr)
            loop->ProcessIdle();
        wxMilliSleep(5);
    }
}

bool kxShotShow(wxWindow* window)
{
    window->Show();
    window->Raise();
    wxStopWatch watch;
    while (!window->IsShownOnScreen() && watch.Time() < 5000)
        kxShotPump(20);
    kxShotPump(300);
    return window->IsShownOnScreen();
}

bool kxShotSave(wxWindow* window, const wxString& folder, const wxString& name)
{
    return kxShotSave(std::vector<wxWindow*>{window}, folder, name);
}

bool kxShotSave(const std::vector<wxWindow*>& windows, const wxString& folder, const wxString& name)
{
    if (windows.empty())
        return false;
    const auto screenRect = [](wxWindow* window)
    { return wxRect(window->ClientToScreen(wxPoint(0, 0)), window->GetClientSize()); };
    wxRect area = screenRect(windows.front());
    for (wxWindow* window : windows)
    {
        window->Refresh();
        window->Update();
        area.Union(screenRect(window));
    }
    kxShotPump(100);
    wxBitmap shot(area.GetSize());
    {
        wxMemoryDC target(shot);
        target.SetBackground(wxBrush(windows.front()->GetBackgroundColour()));
        target.Clear();
        for (wxWindow* window : windows)
        {
            const wxSize size = window->GetClientSize();
            const wxPoint at = window->ClientToScreen(wxPoint(0, 0)) - area.GetTopLeft();
            wxClientDC source(window);
            target.Blit(at.x, at.y, size.x, size.y, &source, 0, 0);
        }
    }
    const wxString path = wxFileName(folder, name, wxS("png")).GetFullPath();
    if (!shot.ConvertToImage().SaveFile(path, wxBITMAP_TYPE_PNG))
        return false;
    printf("  %s (%d x %d)\n", path.utf8_str().data(), area.width, area.height);
    return true;
}
