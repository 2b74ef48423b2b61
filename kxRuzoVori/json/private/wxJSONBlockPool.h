// Blocks for the small records every JSON value is made of: the data behind each value, the
// handles of array elements and the maps of objects. Reading a document creates tens of thousands
// of them and destroying it frees them all. Each thread keeps one pool per kind: blocks are cut
// in order from 64 KiB slabs and the ones given back are reused first, so that a tree read in one
// go lies together in memory and the general heap never sees that traffic. Once every block of a
// pool is back, cutting starts again from its first slab; at most 128 slabs are kept for that. A
// block freed by another thread is handed back to the thread that made it, and the slabs of a
// thread that ended are released when its last block comes back. Internal to the library.
#ifndef KXRUZOVORI_JSON_WXJSONBLOCKPOOL_H
#define KXRUZOVORI_JSON_WXJSONBLOCKPOOL_H

#include <cstddef>
#include <new>

enum wxJSONBlockKind
{
    wxJSONBLOCK_DATA,
    wxJSONBLOCK_HANDLE,
    wxJSONBLOCK_MAP,
    wxJSONBLOCK_KINDS
};

// Blocks are aligned to this; the records kept in them need no more.
constexpr size_t wxJSONBlockAlign = 8;

// A block of at least size bytes.
void* wxJSONTakeBlock(wxJSONBlockKind kind, size_t size);
// Gives a block from wxJSONTakeBlock back, from any thread.
void wxJSONReturnBlock(void* block);

// The class-specific allocation of a record type T kept in blocks of the kind: blocks of T's own
// size come from the pool, a derived class's larger ones from the heap.
template <class T> void* wxJSONNewRecord(wxJSONBlockKind kind, size_t size)
{
    return size == sizeof(T) ? wxJSONTakeBlock(kind, size) : ::operator new(size);
}

template <class T> void wxJSONDeleteRecord(void* p, size_t size)
{
    if (size != sizeof(T))
        ::operator delete(p);
    else if (p)
        wxJSONReturnBlock(p);
}

#endif
