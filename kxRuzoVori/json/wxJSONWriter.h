#ifndef KXRUZOVORI_JSON_WXJSONWRITER_H
#define KXRUZOVORI_JSON_WXJSONWRITER_H

#include "kxRuzoVori/json/wxJSONReader.h"
#include "kxRuzoVori/json/wxJSONValue.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/buffer.h>
#include <wx/longlong.h>
#include <wx/stream.h>
#include <wx/string.h>

#include <memory>
#include <string>

class wxJSONWriterBuffer;

/// The writer's style bits.
enum
{
    wxJSONWRITER_NONE = 0,                   ///< Compact output on one line.
    wxJSONWRITER_STYLED = 0x1,               ///< Line feeds after values, indentation by level.
    wxJSONWRITER_WRITE_COMMENTS = 0x2,       ///< Write the comments kept in the values.
    wxJSONWRITER_COMMENTS_BEFORE = 0x4,      ///< Every comment before its value.
    wxJSONWRITER_COMMENTS_AFTER = 0x8,       ///< Every comment after its value.
    wxJSONWRITER_SPLIT_STRING = 0x10,        ///< With STYLED: strings split at their line feeds.
    wxJSONWRITER_NO_LINEFEEDS = 0x20,        ///< No line feeds (with STYLED: indentation only).
    wxJSONWRITER_ESCAPE_SOLIDUS = 0x40,      ///< "/" in strings written as backslash and slash.
    wxJSONWRITER_MULTILINE_STRING = 0x80,    ///< Tabs and line feeds in strings left unescaped.
    wxJSONWRITER_RECOGNIZE_UNSIGNED = 0x100, ///< A "+" before unsigned integers.
    wxJSONWRITER_TAB_INDENT = 0x200,         ///< One tab per level instead of blanks.
    wxJSONWRITER_NO_INDENTATION = 0x400,     ///< No indentation.
    wxJSONWRITER_MEMORYBUFF = 0x1000         ///< Memory buffers as arrays of byte values.
};

/// Writes a wxJSONValue tree as JSON text, UTF-8 on a stream or into a string. A style bit set
/// chooses compact or indented output, where the comments kept in the values go, how strings and
/// memory buffers are written, and the extensions the reader understands ("+" before unsigned
/// numbers, strings split at their line feeds, memory buffers).
class KX_API wxJSONWriter
{
public:
    /// Arrays and objects nested deeper than the reader reads are refused rather than written
    /// (a deliberate limit: writing them would exhaust the stack): nothing of such a value is
    /// written, DoWrite() returns -1, the stream is left with a write error and the string form
    /// gives an empty text.
    static constexpr int MAX_NESTING = wxJSONReader::MAX_NESTING;

    /// A writer with the given wxJSONWRITER_ style bits, indent blanks before every indented line
    /// and step blanks per level. Style 0 is compact output and then also sets indent and step
    /// to 0.
    explicit wxJSONWriter(int style = wxJSONWRITER_STYLED, int indent = 0, int step = 3);
    /// Nothing the host owns is touched.
    ~wxJSONWriter();

    /// Writes value as UTF-8 text on os; a failing stream ends the writing (the stream keeps its
    /// error). Never throws.
    void Write(const wxJSONValue& value, wxOutputStream& os);
    /// Replaces str with the text of value.
    void Write(const wxJSONValue& value, wxString& str);
    /// The printf format of floating-point numbers ("%.10g" by default); the pointer is kept,
    /// not the text, so it must outlive the writer. Numbers are written with "." as the decimal
    /// separator whatever the process's locale, as JSON requires.
    void SetDoubleFmtString(const char* fmt);

    /// \name Steps of writing
    /// Exported for hosts that extend the writer. Each returns -1 when the stream failed,
    /// otherwise the last character written ('\\n' when a line was just ended).
    ///@{
    /// Writes value, under key when it is a member, and a comma after it when comma is true.
    int DoWrite(wxOutputStream& os, const wxJSONValue& value, const wxString* key, bool comma);
    /// The indentation of the current level.
    int WriteIndent(wxOutputStream& os);
    /// The indentation of level num.
    int WriteIndent(wxOutputStream& os, int num);
    /// The line feed that ends a value in styled output.
    int WriteSeparator(wxOutputStream& os);
    /// The comments of value (with wxJSONWRITER_WRITE_COMMENTS), indented or after a tab.
    int WriteComment(wxOutputStream& os, const wxJSONValue& value, bool indent);
    /// A member's name, quoted, and its colon.
    int WriteKey(wxOutputStream& os, const wxString& key);
    /// A string's characters, escaped as JSON needs.
    int WriteString(wxOutputStream& os, const wxString& str);
    /// A string value, quoted, split at its line feeds when the style asks for it.
    int WriteStringValue(wxOutputStream& os, const wxString& str);
    /// null.
    int WriteNullValue(wxOutputStream& os);
    /// An invalid value, written as the text "<invalid JSON value>".
    int WriteInvalid(wxOutputStream& os);
    /// true or false.
    int WriteBoolValue(wxOutputStream& os, const wxJSONValue& value);
    /// A signed integer.
    int WriteIntValue(wxOutputStream& os, const wxJSONValue& value);
    /// An unsigned integer, with a "+" when the style asks for it.
    int WriteUIntValue(wxOutputStream& os, const wxJSONValue& value);
    /// A floating-point number in the double format.
    int WriteDoubleValue(wxOutputStream& os, const wxJSONValue& value);
    /// A memory buffer: single-quoted hex digits, or an array of byte values with
    /// wxJSONWRITER_MEMORYBUFF.
    int WriteMemoryBuff(wxOutputStream& os, const wxMemoryBuffer& buff);
    ///@}
    /// True for a blank, tab, line feed, form feed or carriage return.
    static bool IsSpace(wxChar ch);
    /// True for the characters after which a split string may break: . , ; : ! ?
    static bool IsPunctuation(wxChar ch);

protected:
    int m_style;       ///< The wxJSONWRITER_ style bits.
    int m_indent;      ///< Blanks before every indented line.
    int m_step;        ///< Blanks per level.
    int m_level;       ///< The current nesting level.
    bool m_noUtf8;     ///< Always false: output is UTF-8.
    const char* m_fmt; ///< The printf format of floating-point numbers.

private:
    // Output is gathered in m_out and handed to the stream once a whole value is written, so that
    // writing costs no stream call per character and a refused value leaves nothing behind. The
    // Private steps append to m_out; the exported ones bind the stream, append and, outside a
    // whole Write, flush at once.
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
    // The value being written nests deeper than the writer writes.
    bool m_tooDeep;
};

#endif
