// Helpers of the serialization stream tests.
#include "wxSerializeSupport.h"

#include <algorithm>
#include <cctype>
#include <cstring>

std::string BytesOf(const wxMemoryOutputStream& stream)
{
    const wxStreamBuffer* buffer = stream.GetOutputStreamBuffer();
    return std::string(static_cast<const char*>(buffer->GetBufferStart()),
                       static_cast<size_t>(stream.GetLength()));
}

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    std::string digits;
    for (char c : hex)
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits += c;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string ToHex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : bytes)
    {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

size_t UnsizedInputStream::OnSysRead(void* buffer, size_t size)
{
    const size_t now = std::min(size, m_bytes.size() - m_position);
    std::memcpy(buffer, m_bytes.data() + m_position, now);
    m_position += now;
    if (now == 0)
        m_lasterror = wxSTREAM_EOF;
    return now;
}

FailingOutputStream::FailingOutputStream(size_t limit) : m_left(limit)
{
    if (limit == 0)
        m_lasterror = wxSTREAM_WRITE_ERROR;
}

size_t FailingOutputStream::OnSysWrite(const void*, size_t size)
{
    if (size > m_left)
    {
        m_left = 0;
        m_lasterror = wxSTREAM_WRITE_ERROR;
        return 0;
    }
    m_left -= size;
    return size;
}

LogCatcher::LogCatcher()
{
    m_oldStamp = wxLog::GetTimestamp();
    wxLog::DisableTimestamp();
    m_old = wxLog::SetActiveTarget(&m_log);
}

LogCatcher::~LogCatcher()
{
    wxLog::SetActiveTarget(m_old);
    wxLog::SetTimestamp(m_oldStamp);
}
