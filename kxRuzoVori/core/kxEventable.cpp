// Publishing numbered events: registering them, subscribing handlers, firing.
#include "kxRuzoVori/core/kxEventable.h"

#include "kxRuzoVori/core/kxException.h"
#include "kxRuzoVori/core/kxTranslate.h"

kxEventable::kxEventable() : m_classText(wxS("kxEventable")) {}

kxEventable::~kxEventable()
{
    for (auto& event : m_events)
    {
        for (const Entry& entry : event.second)
        {
            if (entry.m_handler)
                entry.m_handler->RemoveEventableObject(this);
        }
    }
}

void kxEventable::RegisterEvent(int id)
{
    if (!m_events.emplace(id, EntryList()).second)
        throw kxException(kxTranslate(wxS("Event is already registered")), m_classText);
}

void kxEventable::ValidateEvent(int id) const
{
    if (m_events.find(id) == m_events.end())
        throw kxException(kxTranslate(wxS("Unknown event id")), m_classText);
}

kxEventable::EntryList& kxEventable::PrivateFindEvent(int id)
{
    auto found = m_events.find(id);
    if (found == m_events.end())
        throw kxException(kxTranslate(wxS("Unknown event id")), m_classText);
    return found->second;
}

void kxEventable::AddHandler(int id, bool (kxEventHandler::*method)(kxEventable&, kxParams&),
                             kxEventHandler* handler)
{
    PrivateFindEvent(id).push_back(Entry{method, handler});
    if (handler)
        handler->AddEventableObject(this);
}

void kxEventable::PrivateVacate(kxEventHandler* handler)
{
    for (auto& event : m_events)
    {
        for (Entry& entry : event.second)
        {
            if (entry.m_handler == handler)
            {
                entry.m_handler = nullptr;
                entry.m_method = nullptr;
            }
        }
    }
}

void kxEventable::RemoveHandler(kxEventHandler* handler)
{
    if (!handler)
        return;
    PrivateVacate(handler);
    // The handler has no entry left here, so it must not visit this object when it dies.
    handler->RemoveEventableObject(this);
}

bool kxEventable::FireEvent(int id, kxParams& params)
{
    return PrivateFireEvent(id, params);
}

bool kxEventable::FireEvent(int id)
{
    kxParams params;
    return PrivateFireEvent(id, params);
}

// Subscribers commonly derive from kxEventHandler beside other bases, so the member pointer
// adjusts the handler pointer to the start of the subscriber before the call. The language
// defines that call, but the sanitizer's type check looks at the adjusted address with the
// static type kxEventHandler and reports it; the check is off for this one function.
#if defined(__GNUC__)
__attribute__((no_sanitize("vptr")))
#endif
bool kxEventable::PrivateFireEvent(int id, kxParams& params)
{
    EntryList& list = PrivateFindEvent(id);
    // Walk by index up to the length at the start: a handler may add entries (which can move
    // the list) or vacate them while we walk; map nodes themselves never move.
    const size_t count = list.size();
    bool result = true;
    for (size_t i = 0; i < count; ++i)
    {
        const Entry entry = list[i];
        if (!entry.m_handler || !entry.m_method)
            continue;
        const bool answer = (entry.m_handler->*entry.m_method)(*this, params);
        result = result && answer;
    }
    return result;
}
