// Library-wide objects (tables, caches, reply buffers) are made on first use and released by
// one toolkit module when the toolkit shuts down, so none outlives it. Internal to the library.
#ifndef KXRUZOVORI_CORE_KXLIBRARYOBJECT_H
#define KXRUZOVORI_CORE_KXLIBRARYOBJECT_H

#include <functional>

// Runs release when the toolkit shuts down; the latest registered runs first.
void kxAtLibraryExit(std::function<void()> release);

// The object in slot, made by make() on first use; deleted, and slot cleared, at shutdown.
// slot must have static storage duration.
template <class T, class Make> T& kxLibraryObject(T*& slot, Make make)
{
    if (!slot)
    {
        slot = make();
        kxAtLibraryExit(
            [&slot]
            {
                delete slot;
                slot = nullptr;
            });
    }
    return *slot;
}

template <class T> T& kxLibraryObject(T*& slot)
{
    return kxLibraryObject(slot, [] { return new T(); });
}

#endif
