// The JSON writer's output buffer: its growth.
#include "kxRuzoVori/json/private/wxJSONWriterBuffer.h"

#include <new>

void wxJSONWriterBuffer::Grow(size_t n)
{
    size_t capacity = m_capacity ? m_capacity : 256;
    while (capacity - m_size < n)
        capacity *= 2;
    // realloc keeps the bytes and often extends the block where it lies instead of copying it.
    char* data = static_cast<char*>(std::realloc(m_data.get(), capacity));
    if (!data)
        throw std::bad_alloc();
    m_data.release();
    m_data.reset(data);
    m_capacity = capacity;
}
