// The JSON reader's input window: bytes [m_cur, m_end) not read yet, read in place from a memory
// stream or in large chunks from any other. The steps every part of the reader takes byte by byte
// are inline here, with the scans that pass over runs of blanks and plain text.
#ifndef KXRUZOVORI_JSON_PRIVATE_WXJSONREADERINPUT_H
#define KXRUZOVORI_JSON_PRIVATE_WXJSONREADERINPUT_H

#include "kxRuzoVori/json/wxJSONReader.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace wxJSONReaderInput
{
// A byte that ends a bare token (a number or a literal), or -1, the end of the input.
inline bool IsTokenEnd(int ch)
{
    switch (ch)
    {
    case -1:
    case ',':
    case ':':
    case '[':
    case ']':
    case '{':
    case '}':
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case '\b':
        return true;
    default:
        return false;
    }
}

#ifdef __SSE2__
// The bits of the 16 bytes at p that equal any of the given bytes.
template <class... Bytes> inline unsigned MatchMask(const char* p, Bytes... bytes)
{
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i hits = _mm_setzero_si128();
    ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(bytes)))), ...);
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
}
#endif

// The first byte of [p, end) that is neither a space nor a tab: indentation is long in
// pretty-printed text, so it is skipped sixteen bytes at a time.
inline const char* SkipBlanks(const char* p, const char* end)
{
#ifdef __SSE2__
    while (end - p >= 16)
    {
        const unsigned blanks = MatchMask(p, ' ', '\t');
        if (blanks != 0xFFFF)
            return p + __builtin_ctz(~blanks);
        p += 16;
    }
#endif
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    return p;
}

// The first byte of [p, end) that ends a plain run inside a string: a quote, a backslash or a
// line end.
inline const char* SkipPlainText(const char* p, const char* end)
{
#ifdef __SSE2__
    while (end - p >= 16)
    {
        const unsigned stops = MatchMask(p, '"', '\\', '\n', '\r');
        if (stops)
            return p + __builtin_ctz(stops);
        p += 16;
    }
#endif
    while (p < end && *p != '"' && *p != '\\' && *p != '\n' && *p != '\r')
        ++p;
    return p;
}

// Whether the value holds data of the stored type (any type but INVALID when none is given).
inline bool IsStored(const wxJSONValue& value, wxJSONType type = wxJSONTYPE_INVALID)
{
    const wxJSONRefData* data = value.GetRefData();
    if (!data)
        return false;
    return type == wxJSONTYPE_INVALID ? data->m_type != wxJSONTYPE_INVALID : data->m_type == type;
}

// Text of the reader's bytes: UTF-8 when it is, each byte as a character when it is not.
wxString Narrow(const char* p, size_t n);
} // namespace wxJSONReaderInput

inline int wxJSONReader::PrivateNextByte()
{
    if (m_cur == m_end && !PrivateEnsure(1))
        return -1;
    return static_cast<unsigned char>(*m_cur++);
}

inline int wxJSONReader::PrivateReadChar()
{
    int ch = PrivateNextByte();
    if (ch == -1)
        return -1;
    if (ch == '\r' && PrivateEnsure(1) && *m_cur == '\n')
    {
        ++m_cur;
        ch = '\n';
    }
    if (ch == '\n')
    {
        ++m_lineNo;
        m_colNo = 1;
    }
    else
        ++m_colNo;
    return ch;
}

#endif
