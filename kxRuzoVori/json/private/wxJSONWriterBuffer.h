// The bytes the JSON writer gathers before it hands them to its stream in large pieces, so that
// writing costs no stream call per character.
#ifndef KXRUZOVORI_JSON_PRIVATE_WXJSONWRITERBUFFER_H
#define KXRUZOVORI_JSON_PRIVATE_WXJSONWRITERBUFFER_H

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>

// Grown by doubling, in place where the heap allows it, never filled before it is written.
class wxJSONWriterBuffer
{
public:
    // Room for n more bytes, to be written at the returned place and then committed.
    char* Reserve(size_t n)
    {
        if (m_capacity - m_size < n)
            Grow(n);
        return m_data.get() + m_size;
    }
    void Commit(const char* end) { m_size = static_cast<size_t>(end - m_data.get()); }
    void Put(char c)
    {
        *Reserve(1) = c;
        ++m_size;
    }
    void Put(const char* bytes, size_t n)
    {
        std::memcpy(Reserve(n), bytes, n);
        m_size += n;
    }
    void Fill(size_t n, char c)
    {
        std::memset(Reserve(n), c, n);
        m_size += n;
    }
    const char* Data() const { return m_data.get(); }
    size_t Size() const { return m_size; }
    void Resize(size_t size) { m_size = size; }
    // Empties the buffer and gives its memory back when it holds more than keep bytes.
    void Clear(size_t keep)
    {
        m_size = 0;
        if (m_capacity > keep)
        {
            m_data.reset();
            m_capacity = 0;
        }
    }

private:
    struct Free
    {
        void operator()(char* p) const { std::free(p); }
    };

    // Throws std::bad_alloc when the heap has no room.
    void Grow(size_t n);

    std::unique_ptr<char, Free> m_data;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

#endif
