#ifndef KXRUZOVORI_JSON_WXJSONREADER_H
#define KXRUZOVORI_JSON_WXJSONREADER_H

#include "kxRuzoVori/json/wxJSONValue.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/arrstr.h>
#include <wx/longlong.h>
#include <wx/stream.h>
#include <wx/string.h>

#include <string>
#include <vector>

/// The reader's flags: each makes one departure from strict JSON a warning instead of an error.
enum
{
    wxJSONREADER_STRICT = 0,          ///< Every departure from JSON is an error.
    wxJSONREADER_ALLOW_COMMENTS = 1,  ///< "//" and "/*...*/" comments are tolerated.
    wxJSONREADER_STORE_COMMENTS = 2,  ///< Comments are kept in the values of the tree.
    wxJSONREADER_CASE = 4,            ///< "null", "true", "false" in other letter cases.
    wxJSONREADER_MISSING = 8,         ///< A missing or mismatched closing bracket.
    wxJSONREADER_MULTISTRING = 16,    ///< Adjacent string literals are joined.
    wxJSONREADER_COMMENTS_AFTER = 32, ///< Stored comments belong to the value before them.
    wxJSONREADER_NOUTF8_STREAM = 64,  ///< Unused: input is always UTF-8.
    wxJSONREADER_MEMORYBUFF = 128,    ///< Single-quoted hexadecimal memory buffers.
    /// Every tolerance above except storing comments.
    wxJSONREADER_TOLERANT = wxJSONREADER_ALLOW_COMMENTS | wxJSONREADER_CASE | wxJSONREADER_MISSING |
                            wxJSONREADER_MULTISTRING | wxJSONREADER_MEMORYBUFF
};

/// Reads JSON text into a wxJSONValue tree. The reader is tolerant: it never stops at the first
/// problem but records numbered errors and warnings with their line and column, repairs what it
/// can, and returns the number of errors. Flags decide which departures from strict JSON are
/// only warnings (comments, mis-cased literals, missing closing brackets, joined adjacent strings,
/// memory-buffer literals) and whether comments are kept in the tree. Input is taken as UTF-8;
/// numbers are read with "." as the decimal separator whatever the process's locale, as JSON
/// requires.
class KX_API wxJSONReader
{
public:
    /// Arrays and objects nested deeper than this are refused with an error, so that no input
    /// can exhaust the stack of the reader or of the code that later walks the tree. (A
    /// deliberate limit: nesting alone never makes JSON text invalid.)
    static constexpr int MAX_NESTING = 1000;

    /// A reader with the given wxJSONREADER_ flags that keeps at most maxErrors errors and as
    /// many warnings per parse; the line "ERROR: too many error messages - ignoring further
    /// errors" stands for the rest.
    explicit wxJSONReader(int flags = wxJSONREADER_TOLERANT, int maxErrors = 30);
    /// Nothing the host owns is touched.
    virtual ~wxJSONReader();

    /// Reads the UTF-8 text of the stream into root, from the first "{" or "[" on. Never throws
    /// and never stops early: returns the number of errors, 0 for a clean read, and root holds
    /// whatever could be stored. root may be null to only check. The root is made an object or
    /// an array as the text starts, keeping what it held when it already was one (an array keeps
    /// its elements and gets the new ones appended); text without a start character leaves it as
    /// it was. Reading stops at the document's outermost closing bracket: what follows stays in
    /// the stream, on every kind of stream, for the next read.
    int Parse(wxInputStream& is, wxJSONValue* root);
    /// The same on a text.
    int Parse(const wxString& doc, wxJSONValue* root);

    /// The last parse's errors, each as "Error: line 3, col 7 - ...".
    const wxArrayString& GetErrors() const;
    /// The last parse's warnings: the departures from JSON its flags tolerated, in the same form.
    const wxArrayString& GetWarnings() const;
    /// The number of GetErrors().
    int GetErrorCount() const;
    /// The number of GetWarnings().
    int GetWarningCount() const;
    /// The deepest nesting of arrays and objects met by the last parse.
    int GetDepth() const;

    /// \name Steps of a parse
    /// Exported for hosts that drive or extend the reader. Those that read return the next
    /// character, or -1 at the end of the input.
    ///@{
    /// One byte of input (0 to 255), a CR LF pair as one line feed; counts lines and columns.
    int ReadChar(wxInputStream& is);
    /// The next byte without taking it.
    int PeekChar(wxInputStream& is);
    /// Passes over blanks, tabs and line feeds.
    int SkipWhiteSpace(wxInputStream& is);
    /// Reads a bare token (a number or a literal) starting with ch into s.
    int ReadToken(wxInputStream& is, int ch, wxString& s);
    /// Reads the token starting with ch into val: a number, null, true or false.
    int ReadValue(wxInputStream& is, int ch, wxJSONValue& val);
    /// Reads a string after its opening quote into val, or joins it to the string val holds.
    int ReadString(wxInputStream& is, wxJSONValue& val);
    /// Reads a memory buffer after its opening single quote into val.
    int ReadMemoryBuff(wxInputStream& is, wxJSONValue& val);
    /// Reads the four hex digits of a \\u escape into uesBuffer.
    int ReadUES(wxInputStream& is, char* uesBuffer);
    /// Appends the character of a \\u escape to utf8Buff as UTF-8; -1 for a bad escape.
    int AppendUES(std::string& utf8Buff, const char* uesBuffer);
    /// Reads a comment after its "/" and keeps its text for StoreComment().
    int SkipComment(wxInputStream& is);
    /// Attaches the comment just read to the value it belongs to (with
    /// wxJSONREADER_STORE_COMMENTS only).
    void StoreComment(const wxJSONValue* parent);
    /// Stores value under key in parent (an object) or appends it (an array).
    void StoreValue(int ch, const wxString& key, wxJSONValue& value, wxJSONValue& parent);
    /// Reads up to the first "{" or "[", passing over comments.
    int GetStart(wxInputStream& is);
    /// Reads the elements or members of parent up to its closing bracket.
    int DoRead(wxInputStream& is, wxJSONValue& parent);
    /// Records an error at the current line and column.
    void AddError(const wxString& descr);
    /// Records an error whose text is fmt with str in its place for "%s".
    void AddError(const wxString& fmt, const wxString& str);
    /// Records an error whose text is fmt with ch in its place for "%c".
    void AddError(const wxString& fmt, wxChar ch);
    /// Records a warning when the flag type is set, an error otherwise.
    void AddWarning(int type, const wxString& descr);
    ///@}

    /// Converts an optionally signed decimal integer that fits 64 signed bits; false otherwise.
    static bool Strtoll(const wxString& str, wxInt64* i64);
    /// Converts an optionally "+"-signed decimal integer that fits 64 unsigned bits; false
    /// otherwise.
    static bool Strtoull(const wxString& str, wxUint64* ui64);
    /// The magnitude of an optionally signed decimal integer of at most 20 digits, and its sign
    /// character; false for anything else or more than 2^64 - 1.
    static bool DoStrto_ll(const wxString& str, wxUint64* ui64, wxChar* sign);
    ///@{
    /// The length of the UTF-8 sequence that starts with the byte ch (1 for a byte that cannot
    /// start one).
    static int NumBytes(char ch);
    static int UTF8NumBytes(char ch);
    ///@}
    /// Decodes utf8Buffer one sequence at a time into s, each invalid sequence as a '?'; returns
    /// the number of characters.
    int ConvertCharByChar(wxString& s, const wxMemoryBuffer& utf8Buffer);

protected:
    int m_flags;               ///< The wxJSONREADER_ flags.
    int m_maxErrors;           ///< The most errors, and warnings, kept per parse.
    int m_lineNo;              ///< The line of the next character, from 1.
    int m_colNo;               ///< The column of the next character, from 1.
    int m_level;               ///< The current nesting of arrays and objects.
    int m_depth;               ///< The deepest nesting met so far.
    wxJSONValue* m_current;    ///< The value being read.
    wxJSONValue* m_lastStored; ///< The value stored last, for comments that follow it.
    wxJSONValue* m_next;       ///< The value to be read next, for comments that precede it.
    wxJSONValue* m_root;       ///< The value the parse fills.
    wxString m_comment;        ///< The comment just read.
    int m_commentLine;         ///< The line the comment started on.
    wxArrayString m_errors;    ///< The errors of the parse.
    wxArrayString m_warnings;  ///< The warnings of the parse.
    int m_peekChar;            ///< A byte read ahead, or -1.
    bool m_noUtf8;             ///< Always false: input is UTF-8.

private:
    // The input window: bytes [m_cur, m_end) not read yet. A memory stream is read in place;
    // any other stream is read in large chunks into m_chunk.
    bool PrivateEnsure(size_t n);
    int PrivateNextByte();
    // ReadChar on the bound stream.
    int PrivateReadChar();
    void PrivateBind(wxInputStream& is);
    void PrivateAbort();
    int PrivateReadToken(int ch);
    wxString PrivateTokenText() const;
    // Stores the UTF-8 text as the value, or joins it to a string value read before.
    void PrivateStoreString(const char* bytes, size_t length, wxJSONValue& val);
    // key is null when no name was read; an empty name is a name like any other. The name is
    // moved into the object, leaving key empty.
    void PrivateStoreValue(int ch, wxString* key, wxJSONValue& value, wxJSONValue& parent);
    bool PrivateNumber(wxJSONValue& val);

    // The steps DoRead takes on the tokens of the array or object it reads.
    struct Frame;
    void PrivateStoreMember(int ch, Frame& frame);
    int PrivateColon(Frame& frame);
    int PrivateOpen(wxInputStream& is, int ch, Frame& frame);
    int PrivateClose(int ch, Frame& frame);
    int PrivateEndOfInput(Frame& frame);
    // Passes over a run of blanks; returns the character after it.
    int PrivateSkipBlanks();
    // Decodes the escape after a backslash into m_bytes; returns the character that followed the
    // backslash, -1 at the end of the input.
    int PrivateEscape(wxInputStream& is);
    // Reads the rest of a "//" (kind '/') or "/*" (kind '*') comment into m_bytes; returns the
    // character after it.
    int PrivateCommentBody(wxInputStream& is, int kind);

    wxInputStream* m_stream;
    const char* m_cur;
    const char* m_end;
    std::vector<char> m_chunk;
    bool m_inPlace;
    bool m_aborted;
    std::string m_bytes;
    std::vector<wchar_t> m_wide;
};

#endif
