// The JSON writer: values, strings, numbers, memory buffers, comments and layout.
#include "kxRuzoVori/json/wxJSONWriter.h"

#include "kxRuzoVori/core/private/kxHex.h"
#include "kxRuzoVori/core/private/kxUtf.h"
#include "kxRuzoVori/json/private/wxJSONMapAccess.h"
#include "kxRuzoVori/json/private/wxJSONText.h"
#include "kxRuzoVori/json/private/wxJSONWriterBuffer.h"

#include <wx/mstream.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace
{
const size_t kFlushSize = 64 * 1024;
// A whole text gathered for a memory stream or a string is not kept beyond this once written.
const size_t kKeepSize = 4 * kFlushSize;
// A thread tends to write texts of like size: a text gathered whole starts with room for an
// eighth more than the last one its thread gathered (up to a limit), so that the buffer seldom
// grows, which can copy all it holds.
thread_local size_t t_lastWholeSize = 0;
const size_t kWholeSizeLimit = 64 * 1024 * 1024;

size_t WholeSizeHint()
{
    return std::min(t_lastWholeSize + t_lastWholeSize / 8, kWholeSizeLimit);
}
const char kStringMarker[] =
    "<wxJSONWriter::WriteStringValue(): error converting the string to a UTF8 buffer>";
const char kCommentMarker[] =
    "<wxJSONWriter::WriteComment(): error converting the string to UTF-8>";

// What a byte of a string value is written as: 0 unchanged, else the escape letter, or 'u' for
// the \u00XX form. The solidus is marked as well, though only one style escapes it, so that a
// single look-up passes every byte that is written as it is.
struct EscapeTable
{
    char m_escape[128];
    EscapeTable()
    {
        std::memset(m_escape, 0, sizeof m_escape);
        for (int c = 0; c < 0x20; ++c)
            m_escape[c] = 'u';
        m_escape[static_cast<int>('"')] = '"';
        m_escape[static_cast<int>('\\')] = '\\';
        m_escape[static_cast<int>('/')] = '/';
        m_escape[static_cast<int>('\b')] = 'b';
        m_escape[static_cast<int>('\f')] = 'f';
        m_escape[static_cast<int>('\n')] = 'n';
        m_escape[static_cast<int>('\r')] = 'r';
        m_escape[static_cast<int>('\t')] = 't';
    }
};

const EscapeTable kEscapes;

// The escape for an ASCII byte under the given style bits.
inline char EscapeOf(unsigned c, int style)
{
    const char escape = kEscapes.m_escape[c];
    if (!escape)
        return 0;
    if (c == '/')
        return (style & wxJSONWRITER_ESCAPE_SOLIDUS) ? '/' : 0;
    if ((c == '\t' || c == '\n') && (style & wxJSONWRITER_MULTILINE_STRING))
        return 0;
    return escape;
}

#ifdef __SSE2__
static_assert(sizeof(wchar_t) == 4, "four characters make one vector");

// Writes four characters as four bytes when none of them needs more than its ASCII byte (U+0020
// to U+007F, without the quote, the backslash and, if solidus holds '/', the solidus); false,
// writing nothing, otherwise. Without the solidus style solidus holds the quote again.
inline bool PutPlainQuad(const wchar_t* w, char* out, __m128i solidus)
{
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w));
    // c - 0x20 below 0x60 as unsigned numbers, compared signed with the sign bits flipped.
    const __m128i flip = _mm_set1_epi32(INT32_MIN);
    const __m128i offset = _mm_xor_si128(_mm_sub_epi32(v, _mm_set1_epi32(0x20)), flip);
    const __m128i printable = _mm_cmplt_epi32(offset, _mm_set1_epi32(INT32_MIN + 0x60));
    const __m128i special = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi32(v, _mm_set1_epi32('"')),
                                                      _mm_cmpeq_epi32(v, _mm_set1_epi32('\\'))),
                                         _mm_cmpeq_epi32(v, solidus));
    if (_mm_movemask_epi8(_mm_andnot_si128(special, printable)) != 0xFFFF)
        return false;
    const __m128i words = _mm_packs_epi32(v, v);
    const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    std::memcpy(out, &bytes, 4);
    return true;
}
#endif

// The two digits of each number below 100.
struct DigitPairs
{
    char m_digits[200];
    DigitPairs()
    {
        for (int i = 0; i < 100; ++i)
        {
            m_digits[2 * i] = static_cast<char>('0' + i / 10);
            m_digits[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};

const DigitPairs kDigitPairs;

// The decimal digits of v at out (room for 21 bytes); returns their end. Most numbers fit in 32
// bits, whose digits come two at a time at a fraction of the cost of a 64-bit number's.
inline char* PutDigits(char* out, unsigned long long v)
{
    if (v > UINT32_MAX)
        return std::to_chars(out, out + 21, v).ptr;
    std::uint32_t u = static_cast<std::uint32_t>(v);
    const int length = u < 100000 ? (u < 100 ? (u < 10 ? 1 : 2)
                                             : (u < 1000    ? 3
                                                : u < 10000 ? 4
                                                            : 5))
                                  : (u < 10000000 ? (u < 1000000 ? 6 : 7)
                                                  : (u < 100000000    ? 8
                                                     : u < 1000000000 ? 9
                                                                      : 10));
    char* const end = out + length;
    char* at = end;
    while (u >= 100)
    {
        at -= 2;
        std::memcpy(at, kDigitPairs.m_digits + 2 * (u % 100), 2);
        u /= 100;
    }
    if (u >= 10)
        std::memcpy(at - 2, kDigitPairs.m_digits + 2 * u, 2);
    else
        at[-1] = static_cast<char>('0' + u);
    return end;
}

inline char* PutSigned(char* out, long long v)
{
    if (v >= 0)
        return PutDigits(out, static_cast<unsigned long long>(v));
    *out++ = '-';
    return PutDigits(out, 0 - static_cast<unsigned long long>(v));
}

// An unsigned number, marked with a plus sign when the style asks for it.
inline char* PutUnsigned(char* out, unsigned long long v, int style)
{
    if (style & wxJSONWRITER_RECOGNIZE_UNSIGNED)
        *out++ = '+';
    return PutDigits(out, v);
}

inline char* PutEscape(char* out, unsigned c, char escape)
{
    *out++ = '\\';
    if (escape == 'u')
    {
        *out++ = 'u';
        *out++ = '0';
        *out++ = '0';
        *out++ = kxHexDigit(c >> 4);
        *out++ = kxHexDigit(c);
    }
    else
        *out++ = escape;
    return out;
}
} // namespace

wxJSONWriter::wxJSONWriter(int style, int indent, int step)
    : m_style(style), m_indent(indent), m_step(step), m_level(0), m_noUtf8(false), m_fmt("%.10g"),
      m_os(nullptr), m_out(new wxJSONWriterBuffer), m_inWrite(false), m_collect(false),
      m_failed(false), m_tooDeep(false)
{
    if (style == wxJSONWRITER_NONE)
    {
        m_indent = 0;
        m_step = 0;
    }
}

wxJSONWriter::~wxJSONWriter() = default;

void wxJSONWriter::SetDoubleFmtString(const char* fmt)
{
    m_fmt = fmt;
}

inline bool wxJSONWriter::PrivateBind(wxOutputStream& os)
{
    if (&os != m_os)
    {
        PrivateFlush();
        m_os = &os;
        m_failed = false;
    }
    return !m_failed;
}

inline int wxJSONWriter::PrivateFlush()
{
    if (m_os && m_out->Size() != 0 && !m_failed && !m_collect)
    {
        m_os->Write(m_out->Data(), m_out->Size());
        if (m_os->LastWrite() != m_out->Size() || !m_os->IsOk())
            m_failed = true;
    }
    if (!m_collect)
        m_out->Resize(0);
    return m_failed ? -1 : 0;
}

inline int wxJSONWriter::PrivateDone(int result)
{
    if (!m_inWrite)
    {
        PrivateFlush();
        m_os = nullptr;
    }
    else if (!m_collect && m_out->Size() >= kFlushSize)
        PrivateFlush();
    return m_failed ? -1 : result;
}

inline int wxJSONWriter::PrivateAppend(const char* bytes, size_t n)
{
    if (n == 0)
        return 0;
    m_out->Put(bytes, n);
    return static_cast<unsigned char>(bytes[n - 1]);
}

// whole values

void wxJSONWriter::Write(const wxJSONValue& value, wxOutputStream& os)
{
    m_level = 0;
    m_os = &os;
    m_out->Resize(0);
    m_failed = false;
    m_inWrite = true;
    // A memory stream grows by exactly what each write brings, so that a text handed over in
    // pieces would cost it a reallocation, and possibly a copy of all it holds, per piece: it
    // gets the whole text in one write.
    m_collect = dynamic_cast<wxMemoryOutputStream*>(&os) != nullptr;
    if (m_collect)
        m_out->Reserve(WholeSizeHint());
    DoWrite(os, value, nullptr, false);
    if (m_collect)
        t_lastWholeSize = m_out->Size();
    m_collect = false;
    m_inWrite = false;
    PrivateFlush();
    m_out->Clear(kKeepSize);
    m_os = nullptr;
}

void wxJSONWriter::Write(const wxJSONValue& value, wxString& str)
{
    // The text is gathered whole and decoded from there; the stream only stands for the target.
    wxMemoryOutputStream os;
    m_level = 0;
    m_os = &os;
    m_out->Resize(0);
    m_failed = false;
    m_inWrite = true;
    m_collect = true;
    m_out->Reserve(WholeSizeHint());
    DoWrite(os, value, nullptr, false);
    t_lastWholeSize = m_out->Size();
    std::vector<wchar_t> scratch;
    if (!wxJSONDecodeUTF8(m_out->Data(), m_out->Size(), str, scratch))
        str = wxString::FromUTF8(m_out->Data(), m_out->Size());
    m_out->Clear(kKeepSize);
    m_collect = false;
    m_inWrite = false;
    m_os = nullptr;
}

int wxJSONWriter::DoWrite(wxOutputStream& os, const wxJSONValue& value, const wxString* key,
                          bool comma)
{
    if (!PrivateBind(os))
        return -1;
    const size_t start = m_out->Size();
    const int level = m_level;
    m_tooDeep = false;
    const int result = PrivateValue(value, key, comma);
    if (m_tooDeep)
    {
        // Nothing of the refused value is written, and the stream tells the caller.
        m_out->Resize(start);
        m_level = level;
        os.Reset(wxSTREAM_WRITE_ERROR);
        m_failed = true;
    }
    return PrivateDone(result);
}

inline int wxJSONWriter::PrivateValue(const wxJSONValue& value, const wxString* key, bool comma)
{
    const wxJSONRefData* data = value.GetRefData();
    int commentPos = PrivateCommentPos(data);
    int last = 0;
    if (commentPos == wxJSONVALUE_COMMENT_BEFORE)
    {
        last = PrivateComments(value, true);
        if (last != '\n' && (m_style & wxJSONWRITER_STYLED) &&
            !(m_style & wxJSONWRITER_NO_LINEFEEDS))
            m_out->Put('\n');
    }
    if (m_style & wxJSONWRITER_STYLED)
        PrivateIndent(m_level);
    if (key)
    {
        PrivateStringValue(*key);
        m_out->Put(" : ", 3);
    }

    switch (data ? data->m_type : wxJSONTYPE_INVALID)
    {
    case wxJSONTYPE_NULL:
        last = PrivateAppend("null", 4);
        break;
    case wxJSONTYPE_BOOL:
        last = data->m_value.m_valBool ? PrivateAppend("true", 4) : PrivateAppend("false", 5);
        break;
    case wxJSONTYPE_INT:
    case wxJSONTYPE_UINT:
        last = PrivateInteger(*data);
        break;
    case wxJSONTYPE_DOUBLE:
        last = PrivateDouble(data->m_value.m_valDouble);
        break;
    case wxJSONTYPE_STRING:
        last = PrivateStringValue(data->m_valString);
        break;
    case wxJSONTYPE_MEMORYBUFF:
        last = PrivateMemoryBuff(value.AsMemoryBuff());
        break;
    case wxJSONTYPE_ARRAY:
    case wxJSONTYPE_OBJECT:
        last = PrivateContainer(value, commentPos);
        if (last < 0)
            return -1;
        break;
    default:
        last = PrivateAppend("<invalid JSON value>", 20);
        break;
    }
    return PrivateAfterValue(value, comma, commentPos, last);
}

inline int wxJSONWriter::PrivateCommentPos(const wxJSONRefData* data) const
{
    if (!(m_style & wxJSONWRITER_WRITE_COMMENTS) || !data || !data->m_comments ||
        data->m_comments->IsEmpty())
        return -1;
    if (m_style & wxJSONWRITER_COMMENTS_BEFORE)
        return wxJSONVALUE_COMMENT_BEFORE;
    if (m_style & wxJSONWRITER_COMMENTS_AFTER)
        return wxJSONVALUE_COMMENT_AFTER;
    return data->m_commentPos;
}

inline int wxJSONWriter::PrivateInteger(const wxJSONRefData& data)
{
    char text[24];
    const char* end = data.m_type == wxJSONTYPE_INT
                          ? PutSigned(text, data.m_value.m_valInt64)
                          : PutUnsigned(text, data.m_value.m_valUInt64, m_style);
    return PrivateAppend(text, end - text);
}

int wxJSONWriter::PrivateContainer(const wxJSONValue& value, int& commentPos)
{
    const wxJSONRefData* data = value.GetRefData();
    const bool isArray = data->m_type == wxJSONTYPE_ARRAY;
    if (m_level >= MAX_NESTING)
    {
        m_tooDeep = true;
        return -1;
    }
    ++m_level;
    m_out->Put(isArray ? '[' : '{');
    int last = isArray ? '[' : '{';
    if (commentPos == wxJSONVALUE_COMMENT_INLINE)
    {
        last = PrivateComments(value, false);
        commentPos = -1;
    }
    if (last != '\n')
        PrivateSeparator();
    bool ok = true;
    if (isArray && data->m_valArray)
    {
        const wxJSONInternalArray& array = *data->m_valArray;
        const size_t count = array.GetCount();
        // Elements are fetched ahead: their handles eight places on, their data four and, for
        // objects, one step more per place: the map record three places on, its bucket heads
        // two, its first members one. Each step reads only what the step before asked for, so
        // the walk into an array of objects does not wait for memory once per level.
        for (size_t i = 0; ok && i < count; ++i)
        {
            if (i + 8 < count)
                __builtin_prefetch(&array.Item(i + 8));
            if (i + 4 < count)
                wxJSONPrefetch(array.Item(i + 4));
            if (i + 3 < count)
                wxJSONPrefetchStorage(array.Item(i + 3));
            if (i + 2 < count)
                wxJSONMapAccess::PrefetchTable(array.Item(i + 2));
            if (i + 1 < count)
                wxJSONMapAccess::PrefetchMembers(array.Item(i + 1));
            ok = PrivateValue(array.Item(i), nullptr, i + 1 < count) >= 0;
        }
    }
    else if (!isArray && data->m_valMap)
        ok = wxJSONMapAccess::ForEach(
            *data->m_valMap,
            [this](const wxString& name, const wxJSONValue& member, bool lastMember)
            { return PrivateValue(member, &name, !lastMember) >= 0; });
    if (!ok)
        return -1;
    --m_level;
    if (m_style & wxJSONWRITER_STYLED)
        PrivateIndent(m_level);
    m_out->Put(isArray ? ']' : '}');
    return isArray ? ']' : '}';
}

inline int wxJSONWriter::PrivateAfterValue(const wxJSONValue& value, bool comma, int commentPos,
                                           int last)
{
    if (comma)
        last = PrivateAppend(",", 1);
    if (commentPos == wxJSONVALUE_COMMENT_INLINE)
        last = PrivateComments(value, false);
    else if (commentPos == wxJSONVALUE_COMMENT_AFTER)
    {
        PrivateSeparator();
        last = PrivateComments(value, true);
    }
    if (last != '\n')
    {
        int sep = PrivateSeparator();
        if (sep > 0)
            last = sep;
    }
    return m_failed ? -1 : last;
}

// layout

inline int wxJSONWriter::PrivateIndentChars(int num) const
{
    return (m_style & wxJSONWRITER_TAB_INDENT) ? num : num * m_step + m_indent;
}

inline int wxJSONWriter::PrivateIndent(int num)
{
    if (!(m_style & wxJSONWRITER_STYLED) || (m_style & wxJSONWRITER_NO_INDENTATION))
        return 0;
    int count = PrivateIndentChars(num);
    if (count <= 0)
        return 0;
    const char pad = (m_style & wxJSONWRITER_TAB_INDENT) ? '\t' : ' ';
    m_out->Fill(static_cast<size_t>(count), pad);
    return pad;
}

inline int wxJSONWriter::PrivateSeparator()
{
    if ((m_style & wxJSONWRITER_STYLED) && !(m_style & wxJSONWRITER_NO_LINEFEEDS))
    {
        m_out->Put('\n');
        return '\n';
    }
    return 0;
}

int wxJSONWriter::WriteIndent(wxOutputStream& os)
{
    return WriteIndent(os, m_level);
}

int wxJSONWriter::WriteIndent(wxOutputStream& os, int num)
{
    if (!PrivateBind(os))
        return -1;
    return PrivateDone(PrivateIndent(num));
}

int wxJSONWriter::WriteSeparator(wxOutputStream& os)
{
    if (!PrivateBind(os))
        return -1;
    return PrivateDone(PrivateSeparator());
}

// comments

inline int wxJSONWriter::PrivateComments(const wxJSONValue& value, bool indent)
{
    if (!(m_style & wxJSONWRITER_WRITE_COMMENTS))
        return 0;
    const wxArrayString& comments = value.GetCommentArray();
    int last = 0;
    for (size_t i = 0; i < comments.GetCount(); ++i)
    {
        if (indent)
            PrivateIndent(m_level);
        else
            m_out->Put('\t');
        PrivateText(comments[i]);
        if (comments[i].empty() || comments[i].Last() != wxT('\n'))
            m_out->Put('\n');
        last = '\n';
    }
    return last;
}

int wxJSONWriter::WriteComment(wxOutputStream& os, const wxJSONValue& value, bool indent)
{
    if (!PrivateBind(os))
        return -1;
    return PrivateDone(PrivateComments(value, indent));
}

inline int wxJSONWriter::PrivateText(const wxString& str)
{
    m_utf8.clear();
    if (!wxJSONEncodeUTF8(str, m_utf8))
        return PrivateAppend(kCommentMarker, sizeof kCommentMarker - 1);
    return PrivateAppend(m_utf8.data(), m_utf8.size());
}

int wxJSONWriter::WriteString(wxOutputStream& os, const wxString& str)
{
    if (!PrivateBind(os))
        return -1;
    return PrivateDone(PrivateText(str));
}

// strings

inline int wxJSONWriter::PrivateStringValue(const wxString& str)
{
    m_out->Put('"');
    if ((m_style & wxJSONWRITER_STYLED) && (m_style & wxJSONWRITER_SPLIT_STRING))
    {
        m_utf8.clear();
        if (!wxJSONEncodeUTF8(str, m_utf8))
            return PrivateAppend(kStringMarker, sizeof kStringMarker - 1);
        return PrivateSplitStringValue(m_utf8);
    }

    // Encode and escape in one pass straight into the output; six bytes per character is the
    // most any character needs.
    const size_t start = m_out->Size();
    const size_t n = str.length();
    char* out = m_out->Reserve(n * 6 + 1);
    const wchar_t* w = str.wc_str();
    const int style = m_style;
    size_t i = 0;
#ifdef __SSE2__
    // Plain characters go four at a time up to the first quad that holds anything else; from
    // there on one at a time, since text that mixes in escapes or other scripts would make the
    // choice between the two ways hard to predict.
    const __m128i solidus =
        _mm_set1_epi32((style & wxJSONWRITER_ESCAPE_SOLIDUS) ? wchar_t('/') : wchar_t('"'));
    while (n - i >= 4 && PutPlainQuad(w + i, out, solidus))
    {
        i += 4;
        out += 4;
    }
#endif
    for (; i < n; ++i)
    {
        const unsigned c = static_cast<unsigned>(w[i]);
        if (c < 0x80)
        {
            const char escape = EscapeOf(c, style);
            if (!escape)
                *out++ = static_cast<char>(c);
            else
                out = PutEscape(out, c, escape);
        }
        else if (kxIsUnicodeScalar(c))
            out = kxUtf8Put(out, c);
        else
        {
            // A surrogate or a number beyond Unicode has no UTF-8 form: no closing quote either.
            m_out->Resize(start);
            return PrivateAppend(kStringMarker, sizeof kStringMarker - 1);
        }
    }
    *out++ = '"';
    m_out->Commit(out);
    return '"';
}

inline int wxJSONWriter::PrivateSplitStringValue(const std::string& utf8)
{
    for (size_t i = 0; i < utf8.size(); ++i)
    {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const char escape = c < 0x80 ? EscapeOf(c, m_style) : 0;
        if (escape)
        {
            char text[6];
            m_out->Put(text, PutEscape(text, c, escape) - text);
        }
        else
            m_out->Put(static_cast<char>(c));
        if (c == '\n')
        {
            // The reader joins adjacent strings again.
            m_out->Put("\"\n", 2);
            PrivateIndent(m_level + 2);
            m_out->Put('"');
        }
    }
    m_out->Put('"');
    return '"';
}

int wxJSONWriter::WriteStringValue(wxOutputStream& os, const wxString& str)
{
    if (!PrivateBind(os))
        return -1;
    return PrivateDone(PrivateStringValue(str));
}

int wxJSONWriter::WriteKey(wxOutputStream& os, const wxString& key)
{
    return WriteStringValue(os, key);
}

// scalars

int wxJSONWriter::WriteNullValue(wxOutputStream& os)
{
    if (!PrivateBind(os))
        return -1;
    return PrivateDone(PrivateAppend("null", 4));
}

int wxJSONWriter::WriteInvalid(wxOutputStream& os)
{
    if (!PrivateBind(os))
        return -1;
    return PrivateDone(PrivateAppend("<invalid JSON value>", 20));
}

int wxJSONWriter::WriteBoolValue(wxOutputStream& os, const wxJSONValue& value)
{
    if (!PrivateBind(os))
        return -1;
    return PrivateDone(value.AsBool() ? PrivateAppend("true", 4) : PrivateAppend("false", 5));
}

int wxJSONWriter::WriteIntValue(wxOutputStream& os, const wxJSONValue& value)
{
    if (!PrivateBind(os))
        return -1;
    char text[24];
    return PrivateDone(PrivateAppend(text, PutSigned(text, value.AsInt64()) - text));
}

int wxJSONWriter::WriteUIntValue(wxOutputStream& os, const wxJSONValue& value)
{
    if (!PrivateBind(os))
        return -1;
    char text[24];
    return PrivateDone(PrivateAppend(text, PutUnsigned(text, value.AsUInt64(), m_style) - text));
}

inline int wxJSONWriter::PrivateDouble(double d)
{
    char text[32];
    size_t len = wxJSONFormatDouble(text, sizeof text, m_fmt, d);
    return PrivateAppend(text, len);
}

int wxJSONWriter::WriteDoubleValue(wxOutputStream& os, const wxJSONValue& value)
{
    if (!PrivateBind(os))
        return -1;
    return PrivateDone(PrivateDouble(value.AsDouble()));
}

// memory buffers

inline int wxJSONWriter::PrivateMemoryBuff(const wxMemoryBuffer& buff)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(buff.GetData());
    const size_t len = buff.GetDataLen();
    if (m_style & wxJSONWRITER_MEMORYBUFF)
    {
        m_out->Put('[');
        for (size_t i = 0; i < len; ++i)
        {
            char number[4];
            std::to_chars_result r = std::to_chars(number, number + sizeof number, bytes[i]);
            m_out->Put(number, static_cast<size_t>(r.ptr - number));
            if (i + 1 < len)
                m_out->Put(',');
        }
        m_out->Put(']');
        return ']';
    }

    const bool split = (m_style & wxJSONWRITER_STYLED) && (m_style & wxJSONWRITER_SPLIT_STRING);
    m_out->Put('\'');
    int counter = 0;
    for (size_t i = 0; i < len; ++i)
    {
        m_out->Put(kxHexDigit(bytes[i] >> 4));
        m_out->Put(kxHexDigit(bytes[i]));
        ++counter;
        if (split && counter > 19 && len - i - 1 > 4)
        {
            m_out->Put("'\n", 2);
            PrivateIndent(m_level + 2);
            m_out->Put('\'');
            // Later pieces are shorter by the indentation; without indentation they start anew.
            counter = (m_style & wxJSONWRITER_NO_INDENTATION) ? 0 : PrivateIndentChars(m_level + 2);
        }
    }
    m_out->Put('\'');
    return '\'';
}

int wxJSONWriter::WriteMemoryBuff(wxOutputStream& os, const wxMemoryBuffer& buff)
{
    if (!PrivateBind(os))
        return -1;
    return PrivateDone(PrivateMemoryBuff(buff));
}

bool wxJSONWriter::IsSpace(wxChar ch)
{
    return ch == wxT('\t') || ch == wxT('\n') || ch == wxT('\f') || ch == wxT('\r') ||
           ch == wxT(' ');
}

bool wxJSONWriter::IsPunctuation(wxChar ch)
{
    return ch == wxT('!') || ch == wxT(',') || ch == wxT('.') || ch == wxT(':') || ch == wxT(';') ||
           ch == wxT('?');
}
