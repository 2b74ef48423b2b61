// The JSON writer's output buffer: its growth.
#include "kxRuzoVori/json/private/wxJSONWriterBuffer.h"

void wxJSONWriterBuffer::Grow(size_t n)
{
    size_t capacity = m_capacity ? m_capacity : 256;
    while (capacity - m_size < n)
        capacity *= 2;
    std::unique_ptr<char[]> data(new char[capacity]);
    if (m_size)
        std::memcpy(data.get(), m_data.get(), m_size);
    m_data = std::move(data);
    m_capacity = capacity;
}
