// The JSON reader on arbitrary bytes with arbitrary flags: it must never crash, hang or read out
// of bounds, must keep its message counts within the maximum, and must build the same tree and
// messages whether the bytes come from memory or trickle in from a stream in small pieces, also
// where a piece ends inside a string, a number or a comment.
#include "kxRuzoVori/json/wxJSONReader.h"

#include <wx/debug.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
// A toolkit assertion is a finding, not a message to print and pass over.
void AbortOnAssert(const wxString&, int, const wxString&, const wxString&, const wxString&)
{
    abort();
}

class TrickleStream : public wxInputStream
{
public:
    TrickleStream(const std::uint8_t* data, size_t size, size_t piece)
        : m_data(data), m_size(size), m_piece(piece)
    {
    }

protected:
    size_t OnSysRead(void* buffer, size_t size) override
    {
        size_t n = std::min({size, m_piece, m_size - m_pos});
        if (n == 0)
        {
            m_lasterror = wxSTREAM_EOF;
            return 0;
        }
        memcpy(buffer, m_data + m_pos, n);
        m_pos += n;
        return n;
    }

private:
    const std::uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    size_t m_piece;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    wxSetAssertHandler(AbortOnAssert);
    if (size < 2)
        return 0;
    const int flags = data[0];
    const int maxErrors = data[1] % 40;
    data += 2;
    size -= 2;

    // Blanks in front put the place where a piecewise stream's first piece ends (4 KiB in) at an
    // offset inside the text that the input chooses; both readings see the same text.
    const size_t offset = size ? 1 + (static_cast<size_t>(flags) * 131 + size) % size : 0;
    std::string text(4096 - std::min<size_t>(offset, 4096), ' ');
    text.append(reinterpret_cast<const char*>(data), size);
    data = reinterpret_cast<const std::uint8_t*>(text.data());
    size = text.size();

    wxJSONReader reader(flags, maxErrors);
    wxJSONValue fromMemory;
    wxMemoryInputStream memory(data, size);
    const int errors = reader.Parse(memory, &fromMemory);
    if (errors != reader.GetErrorCount() || errors > maxErrors + 1 ||
        reader.GetWarningCount() > maxErrors + 1 || reader.GetDepth() > wxJSONReader::MAX_NESTING)
        abort();
    const wxArrayString errorsFromMemory = reader.GetErrors();
    const wxArrayString warningsFromMemory = reader.GetWarnings();

    TrickleStream trickle(data, size, 1 + size % 5);
    wxJSONValue fromStream;
    reader.Parse(trickle, &fromStream);
    if (!fromStream.IsSameAs(fromMemory) || reader.GetErrors() != errorsFromMemory ||
        reader.GetWarnings() != warningsFromMemory)
        abort();
    return 0;
}
