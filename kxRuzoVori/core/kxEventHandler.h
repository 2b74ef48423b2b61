#ifndef KXRUZOVORI_CORE_KXEVENTHANDLER_H
#define KXRUZOVORI_CORE_KXEVENTHANDLER_H

#include "kxRuzoVori/kxExport.h"

#include <set>

class kxEventable;

/// Base of every subscriber. A host class derives from it, adds member functions of the form
/// `bool OnSomething(kxEventable&, kxParams&)` and subscribes them with kxEventable::AddHandler().
/// It remembers the eventables it is subscribed to, so that its destruction vacates its entries
/// there and no firing calls into a dead object.
class KX_API kxEventHandler
{
public:
    kxEventHandler() = default;
    kxEventHandler(const kxEventHandler&) = delete;
    kxEventHandler& operator=(const kxEventHandler&) = delete;
    /// Unsubscribes from every eventable still known: their later firings skip this handler.
    virtual ~kxEventHandler();

    /// Records that eventable holds a subscription of this handler; AddHandler() calls it, a host
    /// need not.
    void AddEventableObject(kxEventable* eventable);
    /// Forgets eventable (nothing happens when it is not known); a dying eventable calls it.
    void RemoveEventableObject(kxEventable* eventable);

private:
    std::set<kxEventable*> m_eventables;
};

#endif
