// The JSON reader: the parse of arrays and objects token by token, values, literals, numbers and
// strings.
#include "kxRuzoVori/json/wxJSONReader.h"

#include "kxRuzoVori/core/private/kxHex.h"
#include "kxRuzoVori/core/private/kxUtf.h"
#include "kxRuzoVori/json/private/wxJSONMapAccess.h"
#include "kxRuzoVori/json/private/wxJSONNumber.h"
#include "kxRuzoVori/json/private/wxJSONReaderInput.h"
#include "kxRuzoVori/json/private/wxJSONText.h"

#include <wx/mstream.h>

#include <cstring>

using namespace wxJSONReaderInput;

namespace
{
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

    // The root is re-typed, not replaced: an object read into an object keeps its members and
    // comments, and text without a start character leaves the root as it was.
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

    // The stream is left just after the document, as a byte-wise reader would leave it: a memory
    // stream is moved there, any other stream is given back the bytes read ahead.
    if (m_inPlace && !m_aborted)
    {
        wxStreamBuffer* buffer = static_cast<wxMemoryInputStream&>(is).GetInputStreamBuffer();
        buffer->SetIntPosition(buffer->GetIntPosition() + (m_cur - start));
    }
    else if (!m_inPlace && !m_aborted && m_cur < m_end)
        is.Ungetch(m_cur, static_cast<size_t>(m_end - m_cur));
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

// The array or object DoRead is reading: the container, the value read last and the member name
// read before it.
struct wxJSONReader::Frame
{
    wxJSONValue& m_parent;
    wxJSONValue& m_value;
    wxString m_key;
    bool m_haveKey;
    const bool m_inObject;
};

[[gnu::always_inline]] inline int wxJSONReader::PrivateSkipBlanks()
{
    // Indentation comes in runs: skip them without the per-character bookkeeping.
    const char* p = SkipBlanks(m_cur, m_end);
    m_colNo += static_cast<int>(p - m_cur);
    m_cur = p;
    return PrivateReadChar();
}

inline int wxJSONReader::PrivateEndOfInput(Frame& frame)
{
    if (!m_aborted)
    {
        if (IsStored(frame.m_parent, wxJSONTYPE_ARRAY))
            AddWarning(wxJSONREADER_MISSING, wxT("']' missing at end of file"));
        else
            AddWarning(wxJSONREADER_MISSING, wxT("'}' missing at end of file"));
        PrivateStoreMember(-1, frame);
    }
    --m_level;
    m_current = m_next = nullptr;
    return -1;
}

[[gnu::always_inline]] inline void wxJSONReader::PrivateStoreMember(int ch, Frame& frame)
{
    PrivateStoreValue(ch, frame.m_haveKey ? &frame.m_key : nullptr, frame.m_value, frame.m_parent);
    frame.m_key.clear();
    frame.m_haveKey = false;
}

[[gnu::always_inline]] inline int wxJSONReader::PrivateColon(Frame& frame)
{
    if (!frame.m_inObject)
    {
        AddError(wxT("':' can only used in object's values"));
        return PrivateReadChar();
    }
    wxJSONValue& value = frame.m_value;
    if (!IsStored(value, wxJSONTYPE_STRING))
        AddError(wxT("':' follows a value which is not of type 'string'"));
    else if (frame.m_haveKey)
        AddError(wxT("':' not allowed where a 'name' string was already available"));
    else
    {
        // The name moves out of the value's data, which nothing else shares.
        frame.m_key.swap(value.GetRefData()->m_valString);
        frame.m_haveKey = true;
    }
    // The last stored value may lie inside what is dropped here.
    m_lastStored = nullptr;
    wxJSONRefData* data = value.GetRefData();
    if (data && data->m_refCount == 1 && data->m_type == wxJSONTYPE_STRING)
    {
        // The name's data is emptied for the member's value instead of being freed and
        // allocated again.
        data->m_type = wxJSONTYPE_INVALID;
        data->m_valString.clear();
        delete data->m_comments;
        data->m_comments = nullptr;
        data->m_commentPos = wxJSONVALUE_COMMENT_BEFORE;
        data->m_lineNo = -1;
    }
    else
        value.UnRef();
    return PrivateReadChar();
}

inline int wxJSONReader::PrivateOpen(wxInputStream& is, int ch, Frame& frame)
{
    wxJSONValue& value = frame.m_value;
    if (frame.m_inObject)
    {
        if (!frame.m_haveKey)
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
        return -1;
    }
    // A value read before is replaced, and the last stored value may lie inside it.
    m_lastStored = nullptr;
    value.SetType(ch == '[' ? wxJSONTYPE_ARRAY : wxJSONTYPE_OBJECT);
    ch = DoRead(is, value);
    m_current = m_next = &value;
    return ch;
}

inline int wxJSONReader::PrivateClose(int ch, Frame& frame)
{
    if (ch == ']' && !IsStored(frame.m_parent, wxJSONTYPE_ARRAY))
        AddWarning(wxJSONREADER_MISSING,
                   wxT("Trying to close an object using the ']' (close-array) char"));
    if (ch == '}' && !frame.m_inObject)
        AddWarning(wxJSONREADER_MISSING,
                   wxT("Trying to close an array using the '}' (close-object) char"));
    PrivateStoreMember(ch, frame);
    --m_level;
    m_current = m_next = nullptr;
    // The document ends with its outermost bracket: whatever follows is the stream's next
    // content and stays there, and a peer that sent one document and waits for an answer is not
    // waited for.
    if (m_level == 0)
        return -1;
    return PrivateReadChar();
}

int wxJSONReader::DoRead(wxInputStream& is, wxJSONValue& parent)
{
    if (m_stream != &is)
        PrivateBind(is);
    ++m_level;
    if (m_depth < m_level)
        m_depth = m_level;
    wxJSONValue value{wxJSONValue::NoData()};
    // Until a value is read the container itself is current, so that a comment on the line of
    // its opening bracket stays with it.
    m_current = &parent;
    m_next = &value;
    parent.SetLineNo(m_lineNo);
    Frame frame{parent, value, wxString(), false, IsStored(parent, wxJSONTYPE_OBJECT)};

    int ch = PrivateReadChar();
    while (ch != -1)
    {
        switch (ch)
        {
        case ' ':
        case '\t':
        case '\r':
        case '\n':
            ch = PrivateSkipBlanks();
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
            PrivateStoreMember(ch, frame);
            ch = PrivateReadChar();
            break;
        case '/':
            ch = SkipComment(is);
            StoreComment(&parent);
            break;
        case ':':
            ch = PrivateColon(frame);
            break;
        case '[':
        case '{':
            ch = PrivateOpen(is, ch, frame);
            break;
        case ']':
        case '}':
            return PrivateClose(ch, frame);
        default:
            ch = ReadValue(is, ch, value);
            m_current = &value;
            break;
        }
    }

    return PrivateEndOfInput(frame);
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
        if (wxJSONParseSigned(p, n, &i))
        {
            val = i;
            return true;
        }
    }
    if (digit || first == '+')
    {
        unsigned long long u;
        if (wxJSONParseUnsigned(p, n, &u))
        {
            val = u;
            return true;
        }
    }
    if (digit || first == '+' || first == '-')
    {
        double d;
        if (wxJSONParseDouble(p, n, &d))
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
        ch = PrivateEscape(is);
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

int wxJSONReader::PrivateEscape(wxInputStream& is)
{
    const int ch = PrivateReadChar();
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
    return ch;
}
