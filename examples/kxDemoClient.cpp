// A small host program: a download queue publishes numbered events, two subscribers listen, and
// one of them vetoes a step. It prints a transcript and exits 0 only when everything behaved.
#include "kxRuzoVori/kxRuzoVori.h"

#include <wx/init.h>

#include <cstdio>

namespace
{
class DownloadQueue : public kxEventable
{
public:
    enum
    {
        EVENT_STARTING = 1,
        EVENT_FINISHED = 2
    };

    DownloadQueue()
    {
        SetClassText(wxS("DownloadQueue"));
        RegisterEvent(EVENT_STARTING);
        RegisterEvent(EVENT_FINISHED);
    }

    // Starts name unless a subscriber vetoes it; returns whether it ran.
    bool Download(const wxString& name)
    {
        kxParams params;
        params.AddText(name);
        if (!FireEvent(EVENT_STARTING, params))
            return false;
        FireEvent(EVENT_FINISHED, params);
        return true;
    }
};

class Logger : public kxEventHandler
{
public:
    bool OnFinished(kxEventable&, kxParams& params)
    {
        printf("  logger: finished %s\n", params.Get(0).m_text.utf8_str().data());
        ++m_finished;
        return true;
    }
    int m_finished = 0;
};

class Policy : public kxEventHandler
{
public:
    bool OnStarting(kxEventable&, kxParams& params)
    {
        const bool allowed = !params.Get(0).m_text.EndsWith(wxS(".exe"));
        printf("  policy: %s %s\n", allowed ? "allows" : "vetoes",
               params.Get(0).m_text.utf8_str().data());
        return allowed;
    }
};
} // namespace

int main()
{
    wxInitializer toolkit;
    if (!toolkit.IsOk())
        return 1;

    printf("kxRuzoVori demo: events\n");
    DownloadQueue queue;
    Logger logger;
    Policy policy;
    queue.AddHandler(DownloadQueue::EVENT_STARTING, static_cast<kxEventMethod>(&Policy::OnStarting),
                     &policy);
    queue.AddHandler(DownloadQueue::EVENT_FINISHED, static_cast<kxEventMethod>(&Logger::OnFinished),
                     &logger);

    bool ok = queue.Download(wxS("report.pdf"));
    ok = !queue.Download(wxS("setup.exe")) && ok;
    try
    {
        queue.FireEvent(99);
        ok = false;
    }
    catch (const kxException& e)
    {
        printf("  caught: %s (%s)\n", e.GetMsg().utf8_str().data(), e.GetClass().utf8_str().data());
    }
    ok = ok && logger.m_finished == 1;
    printf("demo %s\n", ok ? "succeeded" : "FAILED");
    return ok ? 0 : 1;
}
