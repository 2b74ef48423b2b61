// Base of every subscriber: remembers the eventables it is subscribed to, so that its
// destruction vacates its entries there and no firing calls into a dead object.
#ifndef KXRUZOVORI_CORE_KXEVENTHANDLER_H
#define KXRUZOVORI_CORE_KXEVENTHANDLER_H

#include "kxRuzoVori/kxExport.h"

#include <set>

class kxEventable;

class KX_API kxEventHandler
{
public:
    kxEventHandler() = default;
    kxEventHandler(const kxEventHandler&) = delete;
    kxEventHandler& operator=(const kxEventHandler&) = delete;
    virtual ~kxEventHandler();

    void AddEventableObject(kxEventable* eventable);
    void RemoveEventableObject(kxEventable* eventable);

private:
    std::set<kxEventable*> m_eventables;
};

#endif
