// The JSON reader: memory buffers, comments and where they are kept, and the exported text and
// number conversions.
#include "kxRuzoVori/json/wxJSONReader.h"

#include "kxRuzoVori/core/private/kxHex.h"
#include "kxRuzoVori/json/private/wxJSONNumber.h"
#include "kxRuzoVori/json/private/wxJSONReaderInput.h"
#include "kxRuzoVori/json/private/wxJSONText.h"

using namespace wxJSONReaderInput;

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
        ch = PrivateCommentBody(is, ch);
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

int wxJSONReader::PrivateCommentBody(wxInputStream& is, int kind)
{
    int ch = kind;
    if (kind == '/')
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
    return ch;
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
    if (!wxJSONParseDigits(narrow.data(), narrow.length(), &value, &s))
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
    if (!wxJSONParseSigned(narrow.data(), narrow.length(), &value))
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
    if (!wxJSONParseUnsigned(narrow.data(), narrow.length(), &value))
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
