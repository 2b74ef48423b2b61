// Writes a wxJSONValue tree as JSON text, UTF-8 on a stream or into a string. A style bit set
// chooses compact or indented output, where the comments kept in the values go, how strings and
// memory buffers are written, and the extensions the reader understands ("+" before unsigned
// numbers, strings split at their line feeds, memory buffers).
#ifndef KXRUZOVORI_JSON_WXJSONWRITER_H
#define KXRUZOVORI_JSON_WXJSONWRITER_H

#include "kxRuzoVori/json/wxJSONValue.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/buffer.h>
#include <wx/longlong.h>
#include <wx/stream.h>
#include <wx/string.h>

#include <memory>
#include <string>

class wxJSONWriterBuffer;

enum
{
    wxJSONWRITER_NONE = 0,
    wxJSONWRITER_STYLED = 0x1,
    wxJSONWRITER_WRITE_COMMENTS = 0x2,
    wxJSONWRITER_COMMENTS_BEFORE = 0x4,
    wxJSONWRITER_COMMENTS_AFTER = 0x8,
    wxJSONWRITER_SPLIT_STRING = 0x10,
    wxJSONWRITER_NO_LINEFEEDS = 0x20,
    wxJSONWRITER_ESCAPE_SOLIDUS = 0x40,
    wxJSONWRITER_MULTILINE_STRING = 0x80,
    wxJSONWRITER_RECOGNIZE_UNSIGNED = 0x100,
    wxJSONWRITER_TAB_INDENT = 0x200,
    wxJSONWRITER_NO_INDENTATION = 0x400,
    wxJSONWRITER_MEMORYBUFF = 0x1000
};

class KX_API wxJSONWriter
{
public:
    // Style 0 is compact output and then also sets indent and step to 0.
    explicit wxJSONWriter(int style = wxJSONWRITER_STYLED, int indent = 0, int step = 3);
    ~wxJSONWriter();

    void Write(const wxJSONValue& value, wxOutputStream& os);
    // Replaces str with the text.
    void Write(const wxJSONValue& value, wxString& str);
    // The format is kept by pointer, not copied.
    void SetDoubleFmtString(const char* fmt);

    // The steps of writing, exported for hosts that extend the writer. Each returns -1 when the
    // stream failed, otherwise the last character written ('\n' when a line was just ended).
    int DoWrite(wxOutputStream& os, const wxJSONValue& value, const wxString* key, bool comma);
    int WriteIndent(wxOutputStream& os);
    int WriteIndent(wxOutputStream& os, int num);
    int WriteSeparator(wxOutputStream& os);
    int WriteComment(wxOutputStream& os, const wxJSONValue& value, bool indent);
    int WriteKey(wxOutputStream& os, const wxString& key);
    int WriteString(wxOutputStream& os, const wxString& str);
    int WriteStringValue(wxOutputStream& os, const wxString& str);
    int WriteNullValue(wxOutputStream& os);
    int WriteInvalid(wxOutputStream& os);
    int WriteBoolValue(wxOutputStream& os, const wxJSONValue& value);
    int WriteIntValue(wxOutputStream& os, const wxJSONValue& value);
    int WriteUIntValue(wxOutputStream& os, const wxJSONValue& value);
    int WriteDoubleValue(wxOutputStream& os, const wxJSONValue& value);
    int WriteMemoryBuff(wxOutputStream& os, const wxMemoryBuffer& buff);
    static bool IsSpace(wxChar ch);
    static bool IsPunctuation(wxChar ch);

protected:
    int m_style;
    int m_indent;
    int m_step;
    int m_level;
    bool m_noUtf8;
    const char* m_fmt;

private:
    // Output is gathered in m_out and handed to the stream in large pieces, so that writing
    // costs no stream call per character. The Private steps append to m_out; the exported ones
    // bind the stream, append and, outside a whole Write, flush at once.
    bool PrivateBind(wxOutputStream& os);
    int PrivateFlush();
    int PrivateDone(int result);
    int PrivateAppend(const char* bytes, size_t n);
    int PrivateIndentChars(int num) const;
    int PrivateIndent(int num);
    int PrivateSeparator();
    int PrivateComments(const wxJSONValue& value, bool indent);
    int PrivateText(const wxString& str);
    int PrivateStringValue(const wxString& str);
    int PrivateSplitStringValue(const std::string& utf8);
    int PrivateMemoryBuff(const wxMemoryBuffer& buff);
    int PrivateDouble(double d);
    int PrivateValue(const wxJSONValue& value, const wxString* key, bool comma);
    // Where the value's comments go under the style; -1 when none are written.
    int PrivateCommentPos(const wxJSONRefData* data) const;
    // An integer's digits, with a '+' before an unsigned one when the style asks for it.
    int PrivateInteger(const wxJSONRefData& data);
    // An array or object with its elements or members; commentPos is cleared when the inline
    // comments went after the opening bracket.
    int PrivateContainer(const wxJSONValue& value, int& commentPos);
    // The comma, the comments after the value and the separator that follow a value.
    int PrivateAfterValue(const wxJSONValue& value, bool comma, int commentPos, int last);

    wxOutputStream* m_os;
    std::unique_ptr<wxJSONWriterBuffer> m_out;
    std::string m_utf8;
    bool m_inWrite;
    bool m_collect;
    bool m_failed;
};

#endif
