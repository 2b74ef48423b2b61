#include "kxRuzoVori/json/wxJSONReader.h"

#include "kxRuzoVori/core/private/kxHex.h"
#include "kxRuzoVori/core/private/kxUtf.h"
#include "kxRuzoVori/json/private/wxJSONMapAccess.h"
#include "kxRuzoVori/json/private/wxJSONText.h"

#include <wx/mstream.h>

#include <algorithm>
#include <charconv>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace
{
const size_t g_firstChunkSize = 4 * 1024;
const size_t g_chunkSize = 64 * 1024;

bool IsTokenEnd(int ch)
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

// Four hexadecimal digits as one UTF-16 code unit, or -1.
int ParseUES(const char* ues)
{
    int value = 0;
    for (int i = 0; i < 4; ++i)
    {
        int d = kxHexValue(static_cast<unsigned char>(ues[i]));
        if (d < 0)
            return -1;
        value = value * 16 + d;
    }
    return value;
}

// An optional sign and up to 20 decimal digits not above 2^64 - 1; the empty text gives 0.
bool ParseDigits(const char* p, size_t n, unsigned long long* value, char* sign)
{
    *sign = 0;
    if (n && (p[0] == '+' || p[0] == '-'))
    {
        *sign = p[0];
        ++p;
        --n;
    }
    if (n > 20)
        return false;
    static const char maxDigits[] = "18446744073709551615";
    if (n == 20)
    {
        for (size_t i = 0; i < 20; ++i)
        {
            if (p[i] < '0' || p[i] > '9')
                return false;
            if (p[i] != maxDigits[i])
            {
                if (p[i] > maxDigits[i])
                    return false;
                break;
            }
        }
    }
    unsigned long long v = 0;
    for (size_t i = 0; i < n; ++i)
    {
        if (p[i] < '0' || p[i] > '9')
            return false;
        v = v * 10 + static_cast<unsigned>(p[i] - '0');
    }
    *value = v;
    return true;
}

bool ParseSigned(const char* p, size_t n, long long* out)
{
    unsigned long long v;
    char sign;
    if (!ParseDigits(p, n, &v, &sign))
        return false;
    if (sign == '-')
    {
        if (v > (1ULL << 63))
            return false;
        *out = static_cast<long long>(0 - v);
        return true;
    }
    if (v >= (1ULL << 63))
        return false;
    *out = static_cast<long long>(v);
    return true;
}

bool ParseUnsigned(const char* p, size_t n, unsigned long long* out)
{
    unsigned long long v;
    char sign;
    if (!ParseDigits(p, n, &v, &sign) || sign == '-')
        return false;
    *out = v;
    return true;
}

// A decimal floating-point number: digits, point, exponent and signs only, so that words like
// "inf" or "nan" and hexadecimal forms are refused, and values out of the double range too.
bool ParseDouble(const char* p, size_t n, double* out)
{
    for (size_t i = 0; i < n; ++i)
    {
        char c = p[i];
        if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-'))
            return false;
    }
    if (n && p[0] == '+')
    {
        ++p;
        --n;
        if (n && p[0] == '-')
            return false;
    }
    double d;
    std::from_chars_result r = std::from_chars(p, p + n, d);
    if (r.ec != std::errc() || r.ptr != p + n)
        return false;
    *out = d;
    return true;
}

// Whether text equals the lower-case word in any letter case.
bool SameLetters(const char* text, const char* word, size_t len)
{
    for (size_t i = 0; i < len; ++i)
    {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != word[i])
            return false;
    }
    return true;
}

// Whether the value holds data of the stored type (any type but INVALID when none is given).
inline bool IsStored(const wxJSONValue& value, wxJSONType type = wxJSONTYPE_INVALID)
{
    const wxJSONRefData* data = value.GetRefData();
    if (!data)
        return false;
    return type == wxJSONTYPE_INVALID ? data->m_type != wxJSONTYPE_INVALID : data->m_type == type;
}

wxString Narrow(const char* p, size_t n)
{
    wxString s = wxString::FromUTF8(p, n);
    if (s.empty() && n)
        s = wxString::From8BitData(p, n);
    return s;
}
} // namespace

wxJSONReader::wxJSONReader(int flags, int maxErrors)
    : m_flags(flags), m_maxErrors(maxErrors), m_lineNo(1), m_colNo(1), m_level(0), m_depth(0),
      m_current(nullptr), m_lastStored(nullptr), m_next(nullptr), m_root(nullptr),
      m_commentLine(-1), m_peekChar(-1), m_noUtf8(false), m_stream(nullptr), m_cur(nullptr),
      m_end(nullptr), m_inPlace(false), m_aborted(false)
{
}

wxJSONReader::~wxJSONReader() = default;

const wxArrayString& wxJSONReader::GetErrors() const
{
    return m_errors;
}

const wxArrayString& wxJSONReader::GetWarnings() const
{
    return m_warnings;
}

int wxJSONReader::GetErrorCount() const
{
    return static_cast<int>(m_errors.GetCount());
}

int wxJSONReader::GetWarningCount() const
{
    return static_cast<int>(m_warnings.GetCount());
}

int wxJSONReader::GetDepth() const
{
    return m_depth;
}

// input

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
    size_t size = m_chunk.empty() ? g_firstChunkSize : std::min(2 * m_chunk.size(), g_chunkSize);
    if (size < left + n)
        size = left + n;
    if (m_chunk.size() < size)
        m_chunk.resize(size);
    size_t have = left;
    while (have < n && !m_stream->Eof())
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

inline int wxJSONReader::PrivateNextByte()
{
    if (m_cur == m_end && !PrivateEnsure(1))
        return -1;
    return static_cast<unsigned char>(*m_cur++);
}

void wxJSONReader::PrivateAbort()
{
    m_aborted = true;
    m_cur = m_end;
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

// messages

void wxJSONReader::AddError(const wxString& descr)
{
    int count = static_cast<int>(m_errors.GetCount());
    if (count < m_maxErrors)
        m_errors.Add(
            wxString::Format(wxT("Error: line %d, col %d - %s"), m_lineNo, m_colNo, descr));
    else if (count == m_maxErrors)
        m_errors.Add(wxT("ERROR: too many error messages - ignoring further errors"));
}

void wxJSONReader::AddError(const wxString& fmt, const wxString& str)
{
    AddError(wxString::Format(fmt, str));
}

void wxJSONReader::AddError(const wxString& fmt, wxChar ch)
{
    AddError(wxString::Format(fmt, ch));
}

void wxJSONReader::AddWarning(int type, const wxString& descr)
{
    if (type != 0 && !(m_flags & type))
    {
        AddError(descr);
        return;
    }
    int count = static_cast<int>(m_warnings.GetCount());
    if (count < m_maxErrors)
        m_warnings.Add(
            wxString::Format(wxT("Warning: line %d, col %d - %s"), m_lineNo, m_colNo, descr));
    else if (count == m_maxErrors)
        m_warnings.Add(wxT("Error: too many warning messages - ignoring further warnings"));
}

// the parse

int wxJSONReader::Parse(const wxString& doc, wxJSONValue* root)
{
    std::string utf8;
    if (!wxJSONEncodeUTF8(doc, utf8))
    {
        wxScopedCharBuffer converted = doc.utf8_str();
        utf8.assign(converted.data(), converted.length());
    }
    wxMemoryInputStream is(utf8.data(), utf8.size());
    return Parse(is, root);
}

int wxJSONReader::Parse(wxInputStream& is, wxJSONValue* root)
{
    wxJSONValue scratch;
    m_root = root ? root : &scratch;
    m_lineNo = 1;
    m_colNo = 1;
    m_level = 0;
    m_depth = 0;
    m_peekChar = -1;
    m_errors.Clear();
    m_warnings.Clear();
    m_current = m_lastStored = nullptr;
    m_next = m_root;
    m_comment.clear();
    m_commentLine = -1;
    PrivateBind(is);
    const char* start = m_cur;

    // The root is replaced, never merged with what it held before.
    m_root->UnRef();
    m_root->SetLineNo(-1);
    int ch = GetStart(is);
    if (ch == '{')
        m_root->SetType(wxJSONTYPE_OBJECT);
    else if (ch == '[')
        m_root->SetType(wxJSONTYPE_ARRAY);
    else
        AddError(wxT("Cannot find a start object/array character"));
    if (ch == '{' || ch == '[')
        DoRead(is, *m_root);

    if (m_inPlace && !m_aborted)
    {
        // Leave the memory stream just after what was read, as a byte-wise reader would.
        wxStreamBuffer* buffer = static_cast<wxMemoryInputStream&>(is).GetInputStreamBuffer();
        buffer->SetIntPosition(buffer->GetIntPosition() + (m_cur - start));
    }
    m_stream = nullptr;
    m_cur = m_end = nullptr;
    m_current = m_lastStored = m_next = nullptr;
    m_root = nullptr;
    std::vector<char>().swap(m_chunk);
    return static_cast<int>(m_errors.GetCount());
}

int wxJSONReader::GetStart(wxInputStream& is)
{
    if (m_stream != &is)
        PrivateBind(is);
    int ch = PrivateReadChar();
    while (ch != -1 && ch != '{' && ch != '[')
    {
        if (ch == '/')
        {
            ch = SkipComment(is);
            StoreComment(nullptr);
            continue;
        }
        ch = PrivateReadChar();
    }
    return ch;
}

int wxJSONReader::DoRead(wxInputStream& is, wxJSONValue& parent)
{
    if (m_stream != &is)
        PrivateBind(is);
    ++m_level;
    if (m_depth < m_level)
        m_depth = m_level;
    wxJSONValue value{wxJSONValue::NoData()};
    wxString key;
    bool haveKey = false;
    // Until a value is read the container itself is current, so that a comment on the line of
    // its opening bracket stays with it.
    m_current = &parent;
    m_next = &value;
    parent.SetLineNo(m_lineNo);
    const bool inObject = IsStored(parent, wxJSONTYPE_OBJECT);

    int ch = PrivateReadChar();
    while (ch != -1)
    {
        switch (ch)
        {
        case ' ':
        case '\t':
        case '\r':
        case '\n':
        {
            // Indentation comes in runs: skip them without the per-character bookkeeping.
            const char* p = SkipBlanks(m_cur, m_end);
            m_colNo += static_cast<int>(p - m_cur);
            m_cur = p;
            ch = PrivateReadChar();
        }
        break;
        case '"':
            ch = ReadString(is, value);
            m_current = &value;
            break;
        case '\'':
            ch = ReadMemoryBuff(is, value);
            m_current = &value;
            break;
        case ',':
            PrivateStoreValue(ch, haveKey ? &key : nullptr, value, parent);
            key.clear();
            haveKey = false;
            ch = PrivateReadChar();
            break;
        case '/':
            ch = SkipComment(is);
            StoreComment(&parent);
            break;
        case ':':
            if (inObject)
            {
                if (!IsStored(value, wxJSONTYPE_STRING))
                    AddError(wxT("':' follows a value which is not of type 'string'"));
                else if (haveKey)
                    AddError(wxT("':' not allowed where a 'name' string was already available"));
                else
                {
                    // The name moves out of the value's data, which nothing else shares.
                    key.swap(value.GetRefData()->m_valString);
                    haveKey = true;
                }
                // The last stored value may lie inside what is dropped here.
                m_lastStored = nullptr;
                wxJSONRefData* data = value.GetRefData();
                if (data && data->m_refCount == 1 && data->m_type == wxJSONTYPE_STRING)
                {
                    // The name's data is emptied for the member's value instead of being
                    // freed and allocated again.
                    data->m_type = wxJSONTYPE_INVALID;
                    data->m_valString.clear();
                    delete data->m_comments;
                    data->m_comments = nullptr;
                    data->m_commentPos = wxJSONVALUE_COMMENT_BEFORE;
                    data->m_lineNo = -1;
                }
                else
                    value.UnRef();
            }
            else
                AddError(wxT("':' can only used in object's values"));
            ch = PrivateReadChar();
            break;
        case '[':
        case '{':
        {
            if (inObject)
            {
                if (!haveKey)
                    AddError(ch == '[' ? wxT("'[' is not allowed here ('name' is missing")
                                       : wxT("'{' is not allowed here ('name' is missing"));
                if (IsStored(value))
                    AddError(ch == '[' ? wxT("'[' cannot follow a 'value' text")
                                       : wxT("'{' cannot follow a 'value'"));
            }
            else if (IsStored(value))
                AddError(ch == '[' ? wxT("'[' cannot follow a 'value'")
                                   : wxT("'{' cannot follow a 'value' in JSON array"));
            if (m_level >= MAX_NESTING)
            {
                AddError(wxT("arrays and objects are nested too deeply"));
                PrivateAbort();
                ch = -1;
                break;
            }
            // A value read before is replaced, and the last stored value may lie inside it.
            m_lastStored = nullptr;
            value.SetType(ch == '[' ? wxJSONTYPE_ARRAY : wxJSONTYPE_OBJECT);
            ch = DoRead(is, value);
            m_current = m_next = &value;
            break;
        }
        case ']':
        case '}':
            if (ch == ']' && !IsStored(parent, wxJSONTYPE_ARRAY))
                AddWarning(wxJSONREADER_MISSING,
                           wxT("Trying to close an object using the ']' (close-array) char"));
            if (ch == '}' && !inObject)
                AddWarning(wxJSONREADER_MISSING,
                           wxT("Trying to close an array using the '}' (close-object) char"));
            PrivateStoreValue(ch, haveKey ? &key : nullptr, value, parent);
            --m_level;
            m_current = m_next = nullptr;
            return PrivateReadChar();
        default:
            ch = ReadValue(is, ch, value);
            m_current = &value;
            break;
        }
    }

    if (!m_aborted)
    {
        if (IsStored(parent, wxJSONTYPE_ARRAY))
            AddWarning(wxJSONREADER_MISSING, wxT("']' missing at end of file"));
        else
            AddWarning(wxJSONREADER_MISSING, wxT("'}' missing at end of file"));
        PrivateStoreValue(ch, haveKey ? &key : nullptr, value, parent);
    }
    --m_level;
    m_current = m_next = nullptr;
    return -1;
}

void wxJSONReader::StoreValue(int ch, const wxString& key, wxJSONValue& value, wxJSONValue& parent)
{
    wxString name(key);
    PrivateStoreValue(ch, key.empty() ? nullptr : &name, value, parent);
}

void wxJSONReader::PrivateStoreValue(int ch, wxString* key, wxJSONValue& value, wxJSONValue& parent)
{
    m_current = nullptr;
    m_lastStored = nullptr;
    m_next = &value;
    const bool hasValue = IsStored(value);
    if (hasValue)
        value.m_refData->m_lineNo = -1;

    if (!hasValue && !key)
    {
        if (ch != ']' && ch != '}')
            AddError(wxT("key or value is missing for JSON value"));
    }
    else if (IsStored(parent, wxJSONTYPE_OBJECT))
    {
        if (hasValue && key)
            m_lastStored = &wxJSONMapAccess::Store(parent.PrivateMap(), *key, value);
        else if (!key)
            AddError(wxT("cannot store the value: 'key' is missing for JSON object type"));
        else
            AddError(wxT("cannot store the value: 'value' is missing for JSON object type"));
    }
    else
    {
        if (!hasValue)
            AddError(wxT("cannot store the item: 'value' is missing for JSON array type"));
        if (key)
            AddError(wxT("cannot store the item: 'key' ('%s') is not permitted in JSON array type"),
                     *key);
        m_lastStored = &parent.Append(value);
    }
    value.UnRef();
    if (m_lastStored)
        m_lastStored->SetLineNo(m_lineNo);
}

int wxJSONReader::ReadToken(wxInputStream& is, int ch, wxString& s)
{
    if (m_stream != &is)
        PrivateBind(is);
    ch = PrivateReadToken(ch);
    s = PrivateTokenText();
    return ch;
}

int wxJSONReader::PrivateReadToken(int ch)
{
    m_bytes.clear();
    m_bytes += static_cast<char>(ch);
    for (;;)
    {
        // A token never holds a line end (it ends one), so a run of its bytes moves only the
        // column.
        const char* p = m_cur;
        while (p < m_end && !IsTokenEnd(static_cast<unsigned char>(*p)))
            ++p;
        if (p != m_cur)
        {
            m_bytes.append(m_cur, p);
            m_colNo += static_cast<int>(p - m_cur);
            m_cur = p;
        }
        ch = PrivateReadChar();
        if (IsTokenEnd(ch))
            return ch;
        m_bytes += static_cast<char>(ch);
    }
}

wxString wxJSONReader::PrivateTokenText() const
{
    return Narrow(m_bytes.data(), m_bytes.size());
}

bool wxJSONReader::PrivateNumber(wxJSONValue& val)
{
    const char* p = m_bytes.data();
    size_t n = m_bytes.size();
    const char first = p[0];
    const bool digit = first >= '0' && first <= '9';
    if (digit || first == '-')
    {
        long long i;
        if (ParseSigned(p, n, &i))
        {
            val = i;
            return true;
        }
    }
    if (digit || first == '+')
    {
        unsigned long long u;
        if (ParseUnsigned(p, n, &u))
        {
            val = u;
            return true;
        }
    }
    if (digit || first == '+' || first == '-')
    {
        double d;
        if (ParseDouble(p, n, &d))
        {
            val = d;
            return true;
        }
    }
    return false;
}

int wxJSONReader::ReadValue(wxInputStream& is, int ch, wxJSONValue& val)
{
    if (m_stream != &is)
        PrivateBind(is);
    ch = PrivateReadToken(ch);
    if (IsStored(val))
    {
        AddError(wxT("Value '%s' cannot follow a value: ',' or ':' missing?"), PrivateTokenText());
        return ch;
    }

    static const char* const literals[] = {"null", "true", "false"};
    for (int k = 0; k < 3; ++k)
    {
        const char* word = literals[k];
        size_t len = std::strlen(word);
        if (m_bytes.size() != len)
            continue;
        bool exact = std::memcmp(m_bytes.data(), word, len) == 0;
        if (!exact && !SameLetters(m_bytes.data(), word, len))
            continue;
        if (!exact)
            AddWarning(wxJSONREADER_CASE,
                       wxString::Format(wxT("the '%s' literal must be lowercase"), word));
        if (k == 0)
            val.SetType(wxJSONTYPE_NULL);
        else
            val = (k == 1);
        val.SetLineNo(m_lineNo);
        return ch;
    }

    if (PrivateNumber(val))
        val.SetLineNo(m_lineNo);
    else
        AddError(wxT("Literal '%s' is incorrect (did you forget quotes?)"), PrivateTokenText());
    return ch;
}

int wxJSONReader::ReadString(wxInputStream& is, wxJSONValue& val)
{
    if (m_stream != &is)
        PrivateBind(is);
    // Most strings have no escape and no line end: they are decoded where they lie.
    const char* p = SkipPlainText(m_cur, m_end);
    if (p != m_end && *p == '"')
    {
        // Past the closing quote first: messages about the string are placed there.
        const char* start = m_cur;
        const size_t length = static_cast<size_t>(p - start);
        m_colNo += static_cast<int>(length) + 1;
        m_cur = p + 1;
        PrivateStoreString(start, length, val);
        return PrivateReadChar();
    }
    m_bytes.clear();
    int ch;
    for (;; p = SkipPlainText(m_cur, m_end))
    {
        // Plain bytes go in as a run; only quotes, escapes and line ends need a closer look.
        if (p != m_cur)
        {
            m_bytes.append(m_cur, p);
            m_colNo += static_cast<int>(p - m_cur);
            m_cur = p;
        }
        ch = PrivateReadChar();
        if (ch == -1 || ch == '"')
            break;
        if (ch != '\\')
        {
            m_bytes += static_cast<char>(ch);
            continue;
        }
        ch = PrivateReadChar();
        switch (ch)
        {
        case -1:
            break;
        case '"':
        case '\\':
        case '/':
            m_bytes += static_cast<char>(ch);
            break;
        case 'b':
            m_bytes += '\b';
            break;
        case 'f':
            m_bytes += '\f';
            break;
        case 'n':
            m_bytes += '\n';
            break;
        case 'r':
            m_bytes += '\r';
            break;
        case 't':
            m_bytes += '\t';
            break;
        case 'u':
        {
            char ues[5];
            if (ReadUES(is, ues) < 0)
                break;
            int unit = ParseUES(ues);
            // A high surrogate directly followed by an escaped low one is one character.
            if (kxIsHighSurrogate(unit) && PrivateEnsure(6) && m_cur[0] == '\\' && m_cur[1] == 'u')
            {
                int low = ParseUES(m_cur + 2);
                if (kxIsLowSurrogate(low))
                {
                    m_cur += 6;
                    m_colNo += 6;
                    kxUtf8Append(m_bytes, kxJoinSurrogates(unit, low));
                    break;
                }
            }
            AppendUES(m_bytes, ues);
            break;
        }
        default:
            AddError(wxT("Unknow escaped character '\\%c'"), static_cast<wxChar>(ch));
            break;
        }
        if (ch == -1)
            break;
    }
    PrivateStoreString(m_bytes.data(), m_bytes.size(), val);
    return ch == -1 ? -1 : PrivateReadChar();
}

void wxJSONReader::PrivateStoreString(const char* bytes, size_t length, wxJSONValue& val)
{
    if (!IsStored(val))
    {
        wxJSONRefData* data = val.COW();
        data->m_type = wxJSONTYPE_STRING;
        if (!wxJSONDecodeUTF8(bytes, length, data->m_valString, m_wide))
        {
            AddError(wxT("String value: the UTF-8 stream is invalid"));
            data->m_valString = wxT("<UTF-8 stream not valid>");
        }
        data->m_lineNo = m_lineNo;
        return;
    }
    wxString text;
    if (!wxJSONDecodeUTF8(bytes, length, text, m_wide))
    {
        AddError(wxT("String value: the UTF-8 stream is invalid"));
        text = wxT("<UTF-8 stream not valid>");
    }
    if (IsStored(val, wxJSONTYPE_STRING))
    {
        AddWarning(wxJSONREADER_MULTISTRING,
                   wxT("Multiline strings are not allowed by JSON syntax"));
        val.Cat(text);
    }
    else
        AddError(wxT("String value '%s' cannot follow another value"), text);
}

int wxJSONReader::ReadUES(wxInputStream& is, char* uesBuffer)
{
    if (m_stream != &is)
        PrivateBind(is);
    for (int i = 0; i < 4; ++i)
    {
        int ch = PrivateReadChar();
        if (ch == -1)
        {
            uesBuffer[i] = '\0';
            return -1;
        }
        uesBuffer[i] = static_cast<char>(ch);
    }
    uesBuffer[4] = '\0';
    return 0;
}

int wxJSONReader::AppendUES(std::string& utf8Buff, const char* uesBuffer)
{
    int unit = ParseUES(uesBuffer);
    if (unit < 0)
    {
        AddError(wxT("Invalid Unicode Escaped Sequence"));
        return -1;
    }
    kxUtf8Append(utf8Buff, static_cast<unsigned>(unit));
    return 0;
}

int wxJSONReader::ReadMemoryBuff(wxInputStream& is, wxJSONValue& val)
{
    if (m_stream != &is)
        PrivateBind(is);
    AddWarning(wxJSONREADER_MEMORYBUFF, wxT("the 'memory buffer' type is not valid JSON text"));
    std::string bytes;
    int invalid = 0;
    int ch;
    for (;;)
    {
        ch = PrivateReadChar();
        if (ch == -1 || ch == '\'')
            break;
        int ch2 = PrivateReadChar();
        if (ch2 == -1 || ch2 == '\'')
        {
            ++invalid;
            ch = ch2;
            break;
        }
        // Only upper-case digits, as the writer produces them.
        int hi = kxUpperHexValue(ch);
        int lo = kxUpperHexValue(ch2);
        if (hi < 0 || lo < 0)
            ++invalid;
        else
            bytes += static_cast<char>(hi * 16 + lo);
    }
    if (invalid)
        AddError(
            wxString::Format(wxT("the 'memory buffer' type contains %d invalid digits"), invalid));
    wxMemoryBuffer buff(bytes.size());
    if (!bytes.empty())
        buff.AppendData(bytes.data(), bytes.size());
    if (IsStored(val, wxJSONTYPE_MEMORYBUFF))
        val.Cat(buff);
    else if (IsStored(val))
        AddError(wxT("Memory buffer value cannot follow another value"));
    else
    {
        val = buff;
        val.SetLineNo(m_lineNo);
    }
    return ch == -1 ? -1 : PrivateReadChar();
}

int wxJSONReader::SkipComment(wxInputStream& is)
{
    if (m_stream != &is)
        PrivateBind(is);
    const int startLine = m_lineNo;
    int ch = PrivateReadChar();
    m_bytes.clear();
    if (ch == '/' || ch == '*')
    {
        AddWarning(wxJSONREADER_ALLOW_COMMENTS,
                   wxT("Comments may be tolerated in JSON text but they are not part of JSON "
                       "syntax"));
        m_commentLine = startLine;
        m_bytes += '/';
        m_bytes += static_cast<char>(ch);
        if (ch == '/')
        {
            for (;;)
            {
                ch = PrivateReadChar();
                if (ch == -1)
                    break;
                if (ch == '\n' || ch == '\r')
                {
                    if (ch == '\r' && PeekChar(is) == '\n')
                        PrivateReadChar();
                    ch = PrivateReadChar();
                    break;
                }
                m_bytes += static_cast<char>(ch);
            }
        }
        else
        {
            int prev = 0;
            for (;;)
            {
                ch = PrivateReadChar();
                if (ch == -1)
                    break;
                m_bytes += static_cast<char>(ch);
                if (prev == '*' && ch == '/')
                {
                    ch = PrivateReadChar();
                    break;
                }
                prev = ch;
            }
        }
        m_comment = Narrow(m_bytes.data(), m_bytes.size());
        return ch;
    }

    AddError(wxT("Strange '/' (did you want to insert a comment?)"));
    int prev = ch;
    while (ch != -1 && ch != '\n')
    {
        ch = PrivateReadChar();
        if (prev == '*' && ch == '/')
            break;
        prev = ch;
    }
    return ch == -1 ? -1 : PrivateReadChar();
}

void wxJSONReader::StoreComment(const wxJSONValue* parent)
{
    if (!(m_flags & wxJSONREADER_STORE_COMMENTS) || m_comment.empty())
    {
        m_comment.clear();
        return;
    }
    wxJSONValue* target = nullptr;
    if (m_current && m_current->GetLineNo() == m_commentLine)
        target = m_current;
    else if (m_next && m_next->GetLineNo() == m_commentLine)
        target = m_next;
    else if (m_lastStored && m_lastStored->GetLineNo() == m_commentLine)
        target = m_lastStored;
    if (target)
        target->AddComment(m_comment, wxJSONVALUE_COMMENT_INLINE);
    else if (m_flags & wxJSONREADER_COMMENTS_AFTER)
    {
        if (m_current && m_current->IsValid() && m_current != parent)
            target = m_current;
        else
            target = m_lastStored;
        if (target)
            target->AddComment(m_comment, wxJSONVALUE_COMMENT_AFTER);
        else
            AddError(wxT("Cannot find a value for storing the comment (flag AFTER)"));
    }
    else if (m_next)
        m_next->AddComment(m_comment, wxJSONVALUE_COMMENT_BEFORE);
    else
        AddError(wxT("Cannot find a value for storing the comment (flag BEFORE)"));
    m_comment.clear();
}

bool wxJSONReader::DoStrto_ll(const wxString& str, wxUint64* ui64, wxChar* sign)
{
    if (!str.IsAscii())
        return false;
    wxCharBuffer narrow = str.ToAscii();
    unsigned long long value;
    char s;
    if (!ParseDigits(narrow.data(), narrow.length(), &value, &s))
        return false;
    *ui64 = value;
    *sign = s;
    return true;
}

bool wxJSONReader::Strtoll(const wxString& str, wxInt64* i64)
{
    if (!str.IsAscii())
        return false;
    wxCharBuffer narrow = str.ToAscii();
    long long value;
    if (!ParseSigned(narrow.data(), narrow.length(), &value))
        return false;
    *i64 = value;
    return true;
}

bool wxJSONReader::Strtoull(const wxString& str, wxUint64* ui64)
{
    if (!str.IsAscii())
        return false;
    wxCharBuffer narrow = str.ToAscii();
    unsigned long long value;
    if (!ParseUnsigned(narrow.data(), narrow.length(), &value))
        return false;
    *ui64 = value;
    return true;
}

int wxJSONReader::NumBytes(char ch)
{
    return UTF8NumBytes(ch);
}

int wxJSONReader::UTF8NumBytes(char ch)
{
    unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80)
        return 1;
    int n = 0;
    while (c & 0x80)
    {
        ++n;
        c = static_cast<unsigned char>(c << 1);
    }
    return n;
}

int wxJSONReader::ConvertCharByChar(wxString& s, const wxMemoryBuffer& utf8Buffer)
{
    const char* p = static_cast<const char*>(utf8Buffer.GetData());
    size_t len = utf8Buffer.GetDataLen();
    s.clear();
    size_t i = 0;
    while (i < len)
    {
        size_t n = static_cast<size_t>(UTF8NumBytes(p[i]));
        wxString one;
        if (n == 0 || n > 4 || i + n > len || !wxJSONDecodeUTF8(p + i, n, one, m_wide))
        {
            s += wxT('?');
            ++i;
            continue;
        }
        s += one;
        i += n;
    }
    return 0;
}
