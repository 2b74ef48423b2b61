#include "kxRuzoVori/json/wxJSONWriter.h"

#include "kxRuzoVori/json/wxJSONText.h"

#include <wx/mstream.h>

#include <charconv>
#include <cstring>
#include <vector>

namespace
{
const size_t g_flushSize = 64 * 1024;
const char g_hexDigits[] = "0123456789ABCDEF";

// What a byte of a string value is written as: 0 unchanged, else the escape letter, or 'u' for
// the \u00XX form.
struct EscapeTable
{
    char m_escape[256];
    EscapeTable()
    {
        std::memset(m_escape, 0, sizeof m_escape);
        for (int c = 0; c < 0x20; ++c)
            m_escape[c] = 'u';
        m_escape[static_cast<int>('"')] = '"';
        m_escape[static_cast<int>('\\')] = '\\';
        m_escape[static_cast<int>('\b')] = 'b';
        m_escape[static_cast<int>('\f')] = 'f';
        m_escape[static_cast<int>('\n')] = 'n';
        m_escape[static_cast<int>('\r')] = 'r';
        m_escape[static_cast<int>('\t')] = 't';
    }
};

const EscapeTable g_escapes;
} // namespace

wxJSONWriter::wxJSONWriter(int style, int indent, int step)
    : m_style(style), m_indent(indent), m_step(step), m_level(0), m_noUtf8(false), m_fmt("%.10g"),
      m_os(nullptr), m_inWrite(false), m_collect(false), m_failed(false)
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

// output buffer

int wxJSONWriter::PrivateFlush()
{
    if (m_os && !m_out.empty() && !m_failed)
    {
        m_os->Write(m_out.data(), m_out.size());
        if (m_os->LastWrite() != m_out.size() || !m_os->IsOk())
            m_failed = true;
    }
    m_out.clear();
    return m_failed ? -1 : 0;
}

int wxJSONWriter::PrivatePut(wxOutputStream& os, const char* bytes, size_t n)
{
    if (&os != m_os)
    {
        PrivateFlush();
        m_os = &os;
        m_failed = false;
    }
    if (m_failed)
        return -1;
    if (n == 0)
        return 0;
    m_out.append(bytes, n);
    if (!m_collect && m_out.size() >= g_flushSize && PrivateFlush() < 0)
        return -1;
    return static_cast<unsigned char>(bytes[n - 1]);
}

int wxJSONWriter::PrivatePut(wxOutputStream& os, char c)
{
    return PrivatePut(os, &c, 1);
}

int wxJSONWriter::PrivatePut(wxOutputStream& os, const char* text)
{
    return PrivatePut(os, text, std::strlen(text));
}

int wxJSONWriter::PrivateDone(int result)
{
    if (!m_inWrite)
    {
        if (PrivateFlush() < 0)
            return -1;
        m_os = nullptr;
    }
    return m_failed ? -1 : result;
}

// whole values

void wxJSONWriter::Write(const wxJSONValue& value, wxOutputStream& os)
{
    m_level = 0;
    m_os = &os;
    m_out.clear();
    m_failed = false;
    m_inWrite = true;
    DoWrite(os, value, nullptr, false);
    m_inWrite = false;
    PrivateFlush();
    m_os = nullptr;
}

void wxJSONWriter::Write(const wxJSONValue& value, wxString& str)
{
    // The text is gathered whole and decoded from there; the stream only stands for the target.
    wxMemoryOutputStream os;
    m_level = 0;
    m_os = &os;
    m_out.clear();
    m_failed = false;
    m_inWrite = true;
    m_collect = true;
    DoWrite(os, value, nullptr, false);
    std::vector<wchar_t> scratch;
    if (!wxJSONDecodeUTF8(m_out.data(), m_out.size(), str, scratch))
        str = wxString::FromUTF8(m_out.data(), m_out.size());
    m_out.clear();
    m_collect = false;
    m_inWrite = false;
    m_os = nullptr;
}

int wxJSONWriter::DoWrite(wxOutputStream& os, const wxJSONValue& value, const wxString* key,
                          bool comma)
{
    const bool styled = (m_style & wxJSONWRITER_STYLED) != 0;
    int commentPos = -1;
    if ((m_style & wxJSONWRITER_WRITE_COMMENTS) && value.GetCommentCount() > 0)
    {
        if (m_style & wxJSONWRITER_COMMENTS_BEFORE)
            commentPos = wxJSONVALUE_COMMENT_BEFORE;
        else if (m_style & wxJSONWRITER_COMMENTS_AFTER)
            commentPos = wxJSONVALUE_COMMENT_AFTER;
        else
            commentPos = value.GetCommentPos();
    }

    int last = 0;
    if (commentPos == wxJSONVALUE_COMMENT_BEFORE)
    {
        last = WriteComment(os, value, true);
        if (last < 0)
            return -1;
        if (last != '\n' && styled && !(m_style & wxJSONWRITER_NO_LINEFEEDS))
            last = PrivatePut(os, '\n');
    }
    if (WriteIndent(os) < 0)
        return -1;
    if (key)
    {
        if (WriteStringValue(os, *key) < 0 || PrivatePut(os, " : ", 3) < 0)
            return -1;
    }

    wxJSONType type = value.GetType();
    switch (type)
    {
    case wxJSONTYPE_INVALID:
        last = WriteInvalid(os);
        break;
    case wxJSONTYPE_NULL:
        last = WriteNullValue(os);
        break;
    case wxJSONTYPE_BOOL:
        last = WriteBoolValue(os, value);
        break;
    case wxJSONTYPE_SHORT:
    case wxJSONTYPE_LONG:
    case wxJSONTYPE_INT64:
        last = WriteIntValue(os, value);
        break;
    case wxJSONTYPE_USHORT:
    case wxJSONTYPE_ULONG:
    case wxJSONTYPE_UINT64:
        last = WriteUIntValue(os, value);
        break;
    case wxJSONTYPE_DOUBLE:
        last = WriteDoubleValue(os, value);
        break;
    case wxJSONTYPE_STRING:
        last = WriteStringValue(os, value.GetRefData()->m_valString);
        break;
    case wxJSONTYPE_MEMORYBUFF:
        last = WriteMemoryBuff(os, value.AsMemoryBuff());
        break;
    case wxJSONTYPE_ARRAY:
    case wxJSONTYPE_OBJECT:
    {
        const bool isArray = type == wxJSONTYPE_ARRAY;
        ++m_level;
        last = PrivatePut(os, isArray ? '[' : '{');
        if (last < 0)
            return -1;
        if (commentPos == wxJSONVALUE_COMMENT_INLINE)
        {
            last = WriteComment(os, value, false);
            if (last < 0)
                return -1;
            commentPos = -1;
        }
        if (last != '\n' && WriteSeparator(os) < 0)
            return -1;
        if (isArray)
        {
            if (const wxJSONInternalArray* array = value.AsArray())
            {
                size_t count = array->GetCount();
                for (size_t i = 0; i < count; ++i)
                    if (DoWrite(os, array->Item(i), nullptr, i + 1 < count) < 0)
                        return -1;
            }
        }
        else if (const wxJSONInternalMap* map = value.AsMap())
        {
            size_t left = map->size();
            for (wxJSONInternalMap::const_iterator it = map->begin(); it != map->end(); ++it)
            {
                --left;
                if (DoWrite(os, it->second, &it->first, left > 0) < 0)
                    return -1;
            }
        }
        --m_level;
        if (WriteIndent(os) < 0)
            return -1;
        last = PrivatePut(os, isArray ? ']' : '}');
        break;
    }
    default:
        last = 0;
        break;
    }
    if (last < 0)
        return -1;

    if (comma)
        last = PrivatePut(os, ',');
    if (commentPos == wxJSONVALUE_COMMENT_INLINE)
        last = WriteComment(os, value, false);
    else if (commentPos == wxJSONVALUE_COMMENT_AFTER)
    {
        if (WriteSeparator(os) < 0)
            return -1;
        last = WriteComment(os, value, true);
    }
    if (last < 0)
        return -1;
    if (last != '\n')
    {
        int sep = WriteSeparator(os);
        if (sep < 0)
            return -1;
        if (sep > 0)
            last = sep;
    }
    return last;
}

// layout

int wxJSONWriter::PrivateIndentChars(int num)
{
    return (m_style & wxJSONWRITER_TAB_INDENT) ? num : num * m_step + m_indent;
}

int wxJSONWriter::WriteIndent(wxOutputStream& os)
{
    return WriteIndent(os, m_level);
}

int wxJSONWriter::WriteIndent(wxOutputStream& os, int num)
{
    if (!(m_style & wxJSONWRITER_STYLED) || (m_style & wxJSONWRITER_NO_INDENTATION))
        return PrivateDone(0);
    int count = PrivateIndentChars(num);
    if (count <= 0)
        return PrivateDone(0);
    std::string pad(static_cast<size_t>(count), (m_style & wxJSONWRITER_TAB_INDENT) ? '\t' : ' ');
    return PrivateDone(PrivatePut(os, pad.data(), pad.size()));
}

int wxJSONWriter::WriteSeparator(wxOutputStream& os)
{
    if ((m_style & wxJSONWRITER_STYLED) && !(m_style & wxJSONWRITER_NO_LINEFEEDS))
        return PrivateDone(PrivatePut(os, '\n'));
    return PrivateDone(0);
}

int wxJSONWriter::WriteComment(wxOutputStream& os, const wxJSONValue& value, bool indent)
{
    if (!(m_style & wxJSONWRITER_WRITE_COMMENTS))
        return PrivateDone(0);
    const wxArrayString& comments = value.GetCommentArray();
    int last = 0;
    for (size_t i = 0; i < comments.GetCount(); ++i)
    {
        if (indent)
            last = WriteIndent(os);
        else
            last = PrivatePut(os, '\t');
        if (last < 0)
            return -1;
        last = WriteString(os, comments[i]);
        if (last < 0)
            return -1;
        if (comments[i].empty() || comments[i].Last() != wxT('\n'))
            last = PrivatePut(os, '\n');
        if (last < 0)
            return -1;
    }
    return PrivateDone(last);
}

// scalars

int wxJSONWriter::WriteKey(wxOutputStream& os, const wxString& key)
{
    return WriteStringValue(os, key);
}

int wxJSONWriter::WriteString(wxOutputStream& os, const wxString& str)
{
    m_utf8.clear();
    if (!wxJSONEncodeUTF8(str, m_utf8))
        return PrivateDone(
            PrivatePut(os, "<wxJSONWriter::WriteComment(): error converting the string to UTF-8>"));
    return PrivateDone(PrivatePut(os, m_utf8.data(), m_utf8.size()));
}

int wxJSONWriter::WriteStringValue(wxOutputStream& os, const wxString& str)
{
    if (PrivatePut(os, '"') < 0)
        return -1;
    m_utf8.clear();
    if (!wxJSONEncodeUTF8(str, m_utf8))
        return PrivateDone(PrivatePut(os, "<wxJSONWriter::WriteStringValue(): error converting "
                                          "the string to a UTF8 buffer>"));

    const bool split = (m_style & wxJSONWRITER_STYLED) && (m_style & wxJSONWRITER_SPLIT_STRING);
    const bool escapeSolidus = (m_style & wxJSONWRITER_ESCAPE_SOLIDUS) != 0;
    const bool rawTabAndLineFeed = (m_style & wxJSONWRITER_MULTILINE_STRING) != 0;
    const char* p = m_utf8.data();
    const size_t n = m_utf8.size();
    size_t run = 0;
    for (size_t i = 0; i < n; ++i)
    {
        unsigned char c = static_cast<unsigned char>(p[i]);
        char escape = g_escapes.m_escape[c];
        if (c == '/' && escapeSolidus)
            escape = '/';
        else if ((c == '\t' || c == '\n') && rawTabAndLineFeed)
            escape = 0;
        if (!escape && !(split && c == '\n'))
            continue;
        if (i > run && PrivatePut(os, p + run, i - run) < 0)
            return -1;
        run = i + 1;
        if (escape == 'u')
        {
            char u[6] = {'\\', 'u', '0', '0', g_hexDigits[c >> 4], g_hexDigits[c & 0x0F]};
            if (PrivatePut(os, u, 6) < 0)
                return -1;
        }
        else if (escape)
        {
            char e[2] = {'\\', escape};
            if (PrivatePut(os, e, 2) < 0)
                return -1;
        }
        else if (PrivatePut(os, '\n') < 0)
            return -1;
        if (split && c == '\n')
        {
            if (PrivatePut(os, "\"\n", 2) < 0 || WriteIndent(os, m_level + 2) < 0 ||
                PrivatePut(os, '"') < 0)
                return -1;
        }
    }
    if (n > run && PrivatePut(os, p + run, n - run) < 0)
        return -1;
    return PrivateDone(PrivatePut(os, '"'));
}

int wxJSONWriter::WriteNullValue(wxOutputStream& os)
{
    return PrivateDone(PrivatePut(os, "null", 4));
}

int wxJSONWriter::WriteInvalid(wxOutputStream& os)
{
    return PrivateDone(PrivatePut(os, "<invalid JSON value>"));
}

int wxJSONWriter::WriteBoolValue(wxOutputStream& os, const wxJSONValue& value)
{
    return PrivateDone(value.AsBool() ? PrivatePut(os, "true", 4) : PrivatePut(os, "false", 5));
}

int wxJSONWriter::WriteIntValue(wxOutputStream& os, const wxJSONValue& value)
{
    char text[24];
    std::to_chars_result r = std::to_chars(text, text + sizeof text, value.AsInt64());
    return PrivateDone(PrivatePut(os, text, r.ptr - text));
}

int wxJSONWriter::WriteUIntValue(wxOutputStream& os, const wxJSONValue& value)
{
    char text[24];
    char* start = text;
    if (m_style & wxJSONWRITER_RECOGNIZE_UNSIGNED)
        *start++ = '+';
    std::to_chars_result r = std::to_chars(start, text + sizeof text, value.AsUInt64());
    return PrivateDone(PrivatePut(os, text, r.ptr - text));
}

int wxJSONWriter::WriteDoubleValue(wxOutputStream& os, const wxJSONValue& value)
{
    char text[32];
    size_t len = wxJSONFormatDouble(text, sizeof text, m_fmt, value.AsDouble());
    return PrivateDone(PrivatePut(os, text, len));
}

int wxJSONWriter::WriteMemoryBuff(wxOutputStream& os, const wxMemoryBuffer& buff)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(buff.GetData());
    const size_t len = buff.GetDataLen();
    if (m_style & wxJSONWRITER_MEMORYBUFF)
    {
        std::string text("[");
        for (size_t i = 0; i < len; ++i)
        {
            char number[4];
            std::to_chars_result r = std::to_chars(number, number + sizeof number, bytes[i]);
            text.append(number, r.ptr);
            if (i + 1 < len)
                text += ',';
        }
        text += ']';
        return PrivateDone(PrivatePut(os, text.data(), text.size()));
    }

    const bool split = (m_style & wxJSONWRITER_STYLED) && (m_style & wxJSONWRITER_SPLIT_STRING);
    if (PrivatePut(os, '\'') < 0)
        return -1;
    int counter = 0;
    for (size_t i = 0; i < len; ++i)
    {
        char hex[2] = {g_hexDigits[bytes[i] >> 4], g_hexDigits[bytes[i] & 0x0F]};
        if (PrivatePut(os, hex, 2) < 0)
            return -1;
        ++counter;
        if (split && counter > 19 && len - i - 1 > 4)
        {
            if (PrivatePut(os, "'\n", 2) < 0 || WriteIndent(os, m_level + 2) < 0 ||
                PrivatePut(os, '\'') < 0)
                return -1;
            // Later pieces are shorter by the indentation; without indentation they start anew.
            counter = (m_style & wxJSONWRITER_NO_INDENTATION) ? 0 : PrivateIndentChars(m_level + 2);
        }
    }
    return PrivateDone(PrivatePut(os, '\''));
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
