// Reading and writing the messages of the toolkit's IPC framing on the server's side.
#include "kxRuzoVori/ipc/private/kxIpcMessage.h"

#include "kxRuzoVori/core/private/kxBytes.h"
#include "kxRuzoVori/core/private/kxUtfString.h"

namespace
{
// Lengths travel as 32-bit little-endian numbers.
const size_t kLengthBytes = 4;

size_t ReadLength(const char* bytes)
{
    return kxGetLE32(reinterpret_cast<const unsigned char*>(bytes));
}

// Walks through one message, field by field, without going past the bytes at hand.
class Cursor
{
public:
    Cursor(const char* bytes, size_t size) : m_bytes(bytes), m_size(size), m_at(0) {}

    kxIpcMessage::Status Text(std::string& text, size_t most)
    {
        if (m_size - m_at < kLengthBytes)
            return kxIpcMessage::INCOMPLETE;
        const size_t length = ReadLength(m_bytes + m_at);
        if (length > most)
            return kxIpcMessage::MALFORMED;
        if (m_size - m_at - kLengthBytes < length)
            return kxIpcMessage::INCOMPLETE;
        text.assign(m_bytes + m_at + kLengthBytes, length);
        m_at += kLengthBytes + length;
        return kxIpcMessage::COMPLETE;
    }

    kxIpcMessage::Status Format(wxIPCFormat& format)
    {
        if (m_at == m_size)
            return kxIpcMessage::INCOMPLETE;
        const unsigned char value = static_cast<unsigned char>(m_bytes[m_at++]);
        if (value > wxIPC_PRIVATE)
            return kxIpcMessage::MALFORMED;
        format = static_cast<wxIPCFormat>(value);
        return kxIpcMessage::COMPLETE;
    }

    size_t Used() const { return m_at; }

private:
    const char* m_bytes;
    size_t m_size;
    size_t m_at;
};
} // namespace

kxIpcMessage::Status kxIpcMessage::Parse(const char* bytes, size_t size, bool greeting,
                                         size_t& used)
{
    if (size == 0)
        return INCOMPLETE;
    const int code = static_cast<unsigned char>(bytes[0]);
    if ((code == CONNECT) != greeting)
        return MALFORMED;
    Cursor cursor(bytes + 1, size - 1);
    Status status = COMPLETE;
    m_format = wxIPC_INVALID;
    m_item.clear();
    m_data.clear();
    switch (code)
    {
    case CONNECT:
        status = cursor.Text(m_item, kTopicBytes);
        break;
    case EXECUTE:
        status = cursor.Format(m_format);
        if (status == COMPLETE)
            status = cursor.Text(m_data, kDataBytes);
        break;
    case REQUEST:
        status = cursor.Text(m_item, kItemBytes);
        if (status == COMPLETE)
            status = cursor.Format(m_format);
        break;
    case POKE:
        status = cursor.Text(m_item, kItemBytes);
        if (status == COMPLETE)
            status = cursor.Format(m_format);
        if (status == COMPLETE)
            status = cursor.Text(m_data, kDataBytes);
        break;
    case ADVISE_START:
    case ADVISE_STOP:
        status = cursor.Text(m_item, kItemBytes);
        break;
    case DISCONNECT:
        break;
    default:
        return MALFORMED;
    }
    if (status == COMPLETE)
    {
        m_code = static_cast<Code>(code);
        used = 1 + cursor.Used();
    }
    return status;
}

bool kxIpcMessage::ToText(const std::string& bytes, wxString& text)
{
    return kxUtf8ToString(bytes.data(), bytes.size(), text);
}

void kxIpcMessage::AppendCode(std::string& out, Code code)
{
    out += static_cast<char>(code);
}

void kxIpcMessage::AppendReply(std::string& out, const char* data, size_t size)
{
    unsigned char header[1 + kLengthBytes] = {REQUEST_REPLY};
    kxPutLE32(header + 1, static_cast<std::uint32_t>(size));
    out.append(reinterpret_cast<const char*>(header), sizeof header);
    out.append(data, size);
}
