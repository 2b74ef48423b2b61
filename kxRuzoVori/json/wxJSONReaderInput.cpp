// The JSON reader's input window: binding a stream, refilling the window, and the exported steps
// that read single characters.
#include "kxRuzoVori/json/private/wxJSONReaderInput.h"

#include <wx/mstream.h>

#include <algorithm>
#include <cstring>

namespace
{
const size_t kFirstChunkSize = 4 * 1024;
const size_t kChunkSize = 64 * 1024;
} // namespace

wxString wxJSONReaderInput::Narrow(const char* p, size_t n)
{
    wxString s = wxString::FromUTF8(p, n);
    if (s.empty() && n)
        s = wxString::From8BitData(p, n);
    return s;
}

void wxJSONReader::PrivateBind(wxInputStream& is)
{
    m_stream = &is;
    m_cur = m_end = nullptr;
    m_inPlace = false;
    m_aborted = false;
    // A memory stream's bytes are read where they lie: no copy and no call per byte.
    wxMemoryInputStream* memory = dynamic_cast<wxMemoryInputStream*>(&is);
    if (memory && memory->GetInputStreamBuffer())
    {
        wxStreamBuffer* buffer = memory->GetInputStreamBuffer();
        m_cur = static_cast<const char*>(buffer->GetBufferPos());
        m_end = static_cast<const char*>(buffer->GetBufferEnd());
        m_inPlace = m_cur != nullptr;
        if (!m_inPlace)
            m_cur = m_end = nullptr;
    }
}

bool wxJSONReader::PrivateEnsure(size_t n)
{
    if (static_cast<size_t>(m_end - m_cur) >= n)
        return true;
    if (m_inPlace || m_aborted || !m_stream)
        return false;
    size_t left = m_end - m_cur;
    if (left && m_chunk.data() != m_cur)
        std::memmove(m_chunk.data(), m_cur, left);
    // Start small, so that short texts cost little, and double up to the full chunk size.
    size_t size = m_chunk.empty() ? kFirstChunkSize : std::min(2 * m_chunk.size(), kChunkSize);
    if (size < left + n)
        size = left + n;
    if (m_chunk.size() < size)
        m_chunk.resize(size);
    size_t have = left;
    // A read is tried even when the stream said it was at its end before: bytes given back by an
    // earlier parse wait there.
    while (have < n)
    {
        m_stream->Read(m_chunk.data() + have, m_chunk.size() - have);
        size_t got = m_stream->LastRead();
        if (got == 0)
            break;
        have += got;
    }
    m_cur = m_chunk.data();
    m_end = m_cur + have;
    return have >= n;
}

void wxJSONReader::PrivateAbort()
{
    m_aborted = true;
    m_cur = m_end;
}

int wxJSONReader::ReadChar(wxInputStream& is)
{
    if (m_stream != &is)
        PrivateBind(is);
    return PrivateReadChar();
}

int wxJSONReader::PeekChar(wxInputStream& is)
{
    if (m_stream != &is)
        PrivateBind(is);
    if (!PrivateEnsure(1))
        return -1;
    return static_cast<unsigned char>(*m_cur);
}

int wxJSONReader::SkipWhiteSpace(wxInputStream& is)
{
    if (m_stream != &is)
        PrivateBind(is);
    int ch;
    do
        ch = PrivateReadChar();
    while (ch == ' ' || ch == '\t' || ch == '\n');
    return ch;
}
