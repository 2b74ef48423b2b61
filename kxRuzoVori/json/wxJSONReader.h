// Reads JSON text into a wxJSONValue tree. The reader is tolerant: it never stops at the first
// problem but records numbered errors and warnings with their line and column, repairs what it
// can, and returns the number of errors. Flags decide which departures from strict JSON are
// only warnings (comments, mis-cased literals, missing closing brackets, joined adjacent strings,
// memory-buffer literals) and whether comments are kept in the tree. Input is taken as UTF-8.
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

enum
{
    wxJSONREADER_STRICT = 0,
    wxJSONREADER_ALLOW_COMMENTS = 1,
    wxJSONREADER_STORE_COMMENTS = 2,
    wxJSONREADER_CASE = 4,
    wxJSONREADER_MISSING = 8,
    wxJSONREADER_MULTISTRING = 16,
    wxJSONREADER_COMMENTS_AFTER = 32,
    wxJSONREADER_NOUTF8_STREAM = 64,
    wxJSONREADER_MEMORYBUFF = 128,
    wxJSONREADER_TOLERANT = wxJSONREADER_ALLOW_COMMENTS | wxJSONREADER_CASE | wxJSONREADER_MISSING |
                            wxJSONREADER_MULTISTRING | wxJSONREADER_MEMORYBUFF
};

class KX_API wxJSONReader
{
public:
    // Arrays and objects nested deeper than this are refused with an error, so that no input can
    // exhaust the stack of the reader or of the code that later walks the tree.
    static constexpr int MAX_NESTING = 1000;

    explicit wxJSONReader(int flags = wxJSONREADER_TOLERANT, int maxErrors = 30);
    virtual ~wxJSONReader();

    // Both return the number of errors, 0 for a clean read; root may be null to only check.
    int Parse(wxInputStream& is, wxJSONValue* root);
    int Parse(const wxString& doc, wxJSONValue* root);

    const wxArrayString& GetErrors() const;
    const wxArrayString& GetWarnings() const;
    int GetErrorCount() const;
    int GetWarningCount() const;
    // The deepest nesting of arrays and objects met by the last parse.
    int GetDepth() const;

    // The steps of a parse, exported for hosts that drive or extend the reader.
    int ReadChar(wxInputStream& is);
    int PeekChar(wxInputStream& is);
    int SkipWhiteSpace(wxInputStream& is);
    int ReadToken(wxInputStream& is, int ch, wxString& s);
    int ReadValue(wxInputStream& is, int ch, wxJSONValue& val);
    int ReadString(wxInputStream& is, wxJSONValue& val);
    int ReadMemoryBuff(wxInputStream& is, wxJSONValue& val);
    int ReadUES(wxInputStream& is, char* uesBuffer);
    int AppendUES(std::string& utf8Buff, const char* uesBuffer);
    int SkipComment(wxInputStream& is);
    void StoreComment(const wxJSONValue* parent);
    void StoreValue(int ch, const wxString& key, wxJSONValue& value, wxJSONValue& parent);
    int GetStart(wxInputStream& is);
    int DoRead(wxInputStream& is, wxJSONValue& parent);
    void AddError(const wxString& descr);
    void AddError(const wxString& fmt, const wxString& str);
    void AddError(const wxString& fmt, wxChar ch);
    void AddWarning(int type, const wxString& descr);

    static bool Strtoll(const wxString& str, wxInt64* i64);
    static bool Strtoull(const wxString& str, wxUint64* ui64);
    static bool DoStrto_ll(const wxString& str, wxUint64* ui64, wxChar* sign);
    static int NumBytes(char ch);
    static int UTF8NumBytes(char ch);
    // Decodes utf8Buffer one sequence at a time into s, each invalid sequence as a '?'.
    int ConvertCharByChar(wxString& s, const wxMemoryBuffer& utf8Buffer);

protected:
    int m_flags;
    int m_maxErrors;
    int m_lineNo;
    int m_colNo;
    int m_level;
    int m_depth;
    wxJSONValue* m_current;
    wxJSONValue* m_lastStored;
    wxJSONValue* m_next;
    wxJSONValue* m_root;
    wxString m_comment;
    int m_commentLine;
    wxArrayString m_errors;
    wxArrayString m_warnings;
    int m_peekChar;
    bool m_noUtf8;

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
