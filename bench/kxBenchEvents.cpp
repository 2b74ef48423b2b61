// Firing a numbered event to a few subscribers against the toolkit's own dynamic event
// dispatch (Bind + ProcessEvent) doing the same number of calls.
#include "kxRuzoVori/core/kxEventable.h"
#include "support/kxBenchSupport.h"

#include <wx/event.h>
#include <wx/init.h>

#include <cstdio>

namespace
{
class Subscriber : public kxEventHandler
{
public:
    bool OnEvent(kxEventable&, kxParams&)
    {
        ++m_calls;
        return true;
    }
    void OnToolkitEvent(wxCommandEvent& event)
    {
        ++m_calls;
        event.Skip();
    }
    long m_calls = 0;
};
} // namespace

int main()
{
    wxInitializer toolkit;
    const int firings = 1000000;
    const int subscribers = 4;

    Subscriber subscriber[subscribers];
    kxEventable eventable;
    eventable.RegisterEvent(1);
    wxEvtHandler toolkitHandler;
    for (Subscriber& s : subscriber)
    {
        eventable.AddHandler(1, static_cast<kxEventMethod>(&Subscriber::OnEvent), &s);
        toolkitHandler.Bind(wxEVT_COMMAND_BUTTON_CLICKED, &Subscriber::OnToolkitEvent, &s);
    }

    printf("%d firings to %d subscribers\n", firings, subscribers);
    kxParams params;
    kxBenchCompare(
        "fire-vs-processevent",
        [&]
        {
            for (int i = 0; i < firings; ++i)
                eventable.FireEvent(1, params);
        },
        [&]
        {
            wxCommandEvent event(wxEVT_COMMAND_BUTTON_CLICKED);
            for (int i = 0; i < firings; ++i)
                toolkitHandler.ProcessEvent(event);
        });
    return subscriber[0].m_calls > 0 ? 0 : 1;
}
