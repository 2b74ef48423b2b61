// Subscribers leave every eventable they are subscribed to when they die.
#include "kxRuzoVori/core/kxEventHandler.h"

#include "kxRuzoVori/core/kxEventable.h"

kxEventHandler::~kxEventHandler()
{
    // Vacating never touches our own set, so walking it here is safe.
    for (kxEventable* eventable : m_eventables)
        eventable->PrivateVacate(this);
}

void kxEventHandler::AddEventableObject(kxEventable* eventable)
{
    m_eventables.insert(eventable);
}

void kxEventHandler::RemoveEventableObject(kxEventable* eventable)
{
    m_eventables.erase(eventable);
}
