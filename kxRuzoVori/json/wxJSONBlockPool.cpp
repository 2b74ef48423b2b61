// The per-thread block pools the JSON records are kept in.
#include "kxRuzoVori/json/private/wxJSONBlockPool.h"

#include <mutex>
#include <new>
#include <vector>

namespace
{
const size_t kSlabSize = 64 * 1024;
// Slabs a thread keeps for its next tree once all its blocks are back: 8 MiB of each kind.
const size_t kKeptSlabs = 128;

struct Pool;

// Every block starts with the pool that made it, or null for a block taken from the heap after
// its thread's pools were released. A block given back links to the next one in its list.
struct Header
{
    Pool* m_owner;
};

struct FreeBlock : Header
{
    FreeBlock* m_nextFree;
};

const size_t kHeaderSize =
    (sizeof(Header) + wxJSONBlockAlign - 1) / wxJSONBlockAlign * wxJSONBlockAlign;

// The blocks of one kind made by one thread.
struct Pool
{
    explicit Pool(size_t blockSize) : m_blockSize(blockSize) {}

    const size_t m_blockSize;
    std::vector<char*> m_slabs;
    // The slab blocks are cut from, and the next block in it.
    size_t m_slab = 0;
    char* m_next = nullptr;
    char* m_end = nullptr;
    // Blocks given back, reused before any new block is cut.
    FreeBlock* m_free = nullptr;
    // Blocks handed out and not yet on m_free.
    size_t m_live = 0;

    // Blocks given back by other threads, and whether the making thread has ended.
    std::mutex m_lock;
    FreeBlock* m_returned = nullptr;
    size_t m_returnedCount = 0;
    bool m_orphaned = false;

    ~Pool()
    {
        for (char* slab : m_slabs)
            ::operator delete(slab);
    }

    Header* Take()
    {
        if (!m_free && m_next == m_end)
            Refill();
        Header* block;
        if (m_free)
        {
            block = m_free;
            m_free = m_free->m_nextFree;
        }
        else
        {
            block = reinterpret_cast<Header*>(m_next);
            m_next += m_blockSize;
            block->m_owner = this;
        }
        ++m_live;
        return block;
    }

    void Give(Header* block)
    {
        FreeBlock* free = static_cast<FreeBlock*>(block);
        free->m_nextFree = m_free;
        m_free = free;
        if (--m_live == 0)
            Restart();
    }

    // Takes over what other threads gave back, else cuts from the next slab.
    void Refill()
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_free = m_returned;
            m_live -= m_returnedCount;
            m_returned = nullptr;
            m_returnedCount = 0;
        }
        if (m_free)
            return;
        if (m_next && m_slab + 1 < m_slabs.size())
            ++m_slab;
        else
        {
            m_slabs.push_back(static_cast<char*>(::operator new(kSlabSize)));
            m_slab = m_slabs.size() - 1;
        }
        Cut();
    }

    void Cut()
    {
        m_next = m_slabs[m_slab];
        m_end = m_next + kSlabSize / m_blockSize * m_blockSize;
    }

    // Every block is back: cut from the first slab again, keeping a bounded number of slabs.
    void Restart()
    {
        m_free = nullptr;
        if (m_slabs.empty())
            return;
        for (size_t i = kKeptSlabs; i < m_slabs.size(); ++i)
            ::operator delete(m_slabs[i]);
        if (m_slabs.size() > kKeptSlabs)
            m_slabs.resize(kKeptSlabs);
        m_slab = 0;
        Cut();
    }
};

// The calling thread's pools; after they were released at the thread's end, blocks come from
// the heap.
struct ThreadPools
{
    Pool* m_pools[wxJSONBLOCK_KINDS];
    bool m_released;
};

__attribute__((tls_model("initial-exec"))) thread_local ThreadPools t_pools;

// Releases the thread's pools when the thread ends; made with the thread's first pool.
struct Releaser
{
    ~Releaser()
    {
        for (Pool*& pool : t_pools.m_pools)
        {
            if (!pool)
                continue;
            bool last;
            {
                std::lock_guard<std::mutex> guard(pool->m_lock);
                pool->m_live -= pool->m_returnedCount;
                pool->m_returned = nullptr;
                pool->m_returnedCount = 0;
                pool->m_orphaned = true;
                last = pool->m_live == 0;
            }
            if (last)
                delete pool;
            pool = nullptr;
        }
        t_pools.m_released = true;
    }
};

thread_local Releaser t_releaser;

Pool* MakePool(wxJSONBlockKind kind, size_t size)
{
    static_cast<void>(&t_releaser);
    const size_t align = wxJSONBlockAlign;
    Pool* pool = new Pool(kHeaderSize + (size + align - 1) / align * align);
    t_pools.m_pools[kind] = pool;
    return pool;
}
} // namespace

void* wxJSONTakeBlock(wxJSONBlockKind kind, size_t size)
{
    Header* block;
    if (t_pools.m_released)
    {
        block = static_cast<Header*>(::operator new(kHeaderSize + size));
        block->m_owner = nullptr;
    }
    else
    {
        Pool* pool = t_pools.m_pools[kind];
        if (!pool)
            pool = MakePool(kind, size);
        block = pool->Take();
    }
    return reinterpret_cast<char*>(block) + kHeaderSize;
}

void wxJSONReturnBlock(void* p)
{
    Header* block = reinterpret_cast<Header*>(static_cast<char*>(p) - kHeaderSize);
    Pool* owner = block->m_owner;
    if (!owner)
    {
        ::operator delete(block);
        return;
    }
    for (Pool* pool : t_pools.m_pools)
        if (pool == owner)
        {
            owner->Give(block);
            return;
        }
    bool last = false;
    {
        std::lock_guard<std::mutex> guard(owner->m_lock);
        if (owner->m_orphaned)
            last = --owner->m_live == 0;
        else
        {
            FreeBlock* free = static_cast<FreeBlock*>(block);
            free->m_nextFree = owner->m_returned;
            owner->m_returned = free;
            ++owner->m_returnedCount;
        }
    }
    if (last)
        delete owner;
}
