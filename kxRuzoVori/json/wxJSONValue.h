// A JSON value held in memory: null, boolean, signed or unsigned 64-bit integer, double, string,
// array, string-keyed object or a buffer of raw bytes. A value is a small handle on shared,
// reference-counted data: copies share it and every writing operation first makes the data
// exclusive (copy-on-write), so passing whole trees around by value is cheap. A value may also
// carry comments and the line it was read from, which the reader fills and the writer uses.
// Shared data is counted with plain integers: values sharing data belong to one thread at a time.
#ifndef KXRUZOVORI_JSON_WXJSONVALUE_H
#define KXRUZOVORI_JSON_WXJSONVALUE_H

#include "kxRuzoVori/json/wxJSONRefData.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/arrstr.h>
#include <wx/buffer.h>
#include <wx/dynarray.h>
#include <wx/hashmap.h>
#include <wx/string.h>

#include <cstddef>

// Where a value's comments are written, relative to the value.
enum
{
    wxJSONVALUE_COMMENT_DEFAULT = 0,
    wxJSONVALUE_COMMENT_BEFORE,
    wxJSONVALUE_COMMENT_AFTER,
    wxJSONVALUE_COMMENT_INLINE
};

class KX_API wxJSONValue
{
public:
    wxJSONValue();
    explicit wxJSONValue(wxJSONType type);
    wxJSONValue(int i);
    wxJSONValue(unsigned int ui);
    wxJSONValue(short i);
    wxJSONValue(unsigned short ui);
    wxJSONValue(long l);
    wxJSONValue(unsigned long ul);
    wxJSONValue(long long i);
    wxJSONValue(unsigned long long ui);
    wxJSONValue(bool b);
    wxJSONValue(double d);
    wxJSONValue(const wxString& str);
    wxJSONValue(const wchar_t* str);
    // UTF-8 text; without it a narrow literal would silently become a boolean.
    wxJSONValue(const char* str);
    // Shares the buffer's storage.
    wxJSONValue(const wxMemoryBuffer& buff);
    // Copies len bytes.
    wxJSONValue(const void* buff, size_t len);
    wxJSONValue(const wxJSONValue& other);
    virtual ~wxJSONValue();

    // Values made with new (the elements of arrays) come from their thread's pool of blocks;
    // placement new builds in the caller's storage as usual.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);
    static void* operator new(size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}

    wxJSONValue& operator=(int i);
    wxJSONValue& operator=(unsigned int ui);
    wxJSONValue& operator=(short i);
    wxJSONValue& operator=(unsigned short ui);
    wxJSONValue& operator=(long l);
    wxJSONValue& operator=(unsigned long ul);
    wxJSONValue& operator=(long long i);
    wxJSONValue& operator=(unsigned long long ui);
    wxJSONValue& operator=(bool b);
    wxJSONValue& operator=(double d);
    wxJSONValue& operator=(const wxString& str);
    wxJSONValue& operator=(const wchar_t* str);
    wxJSONValue& operator=(const char* str);
    wxJSONValue& operator=(const wxMemoryBuffer& buff);
    wxJSONValue& operator=(const wxJSONValue& other);

    // The reported type: integers are refined by their range (SHORT, LONG, INT64 and the
    // unsigned USHORT, ULONG, UINT64); INT and UINT are never reported.
    wxJSONType GetType() const;
    bool IsValid() const;
    bool IsNull() const;
    bool IsInt() const;
    bool IsUInt() const;
    bool IsShort() const;
    bool IsUShort() const;
    bool IsLong() const;
    bool IsULong() const;
    bool IsInt32() const;
    bool IsUInt32() const;
    bool IsInt64() const;
    bool IsUInt64() const;
    bool IsBool() const;
    bool IsDouble() const;
    bool IsString() const;
    bool IsCString() const;
    bool IsArray() const;
    bool IsObject() const;
    bool IsMemoryBuff() const;

    // The stored bits read as the asked type, without any test.
    int AsInt() const;
    unsigned int AsUInt() const;
    long AsLong() const;
    unsigned long AsULong() const;
    short AsShort() const;
    unsigned short AsUShort() const;
    int AsInt32() const;
    unsigned int AsUInt32() const;
    long long AsInt64() const;
    unsigned long long AsUInt64() const;
    bool AsBool() const;
    double AsDouble() const;
    // Text for any type: the string itself, or a description such as "null", "[3]" or "(16)".
    wxString AsString() const;
    // The characters of a string value, null for every other type.
    const wchar_t* AsCString() const;
    // The value's buffer, sharing its storage; an empty buffer for other types.
    wxMemoryBuffer AsMemoryBuff() const;
    const wxJSONInternalArray* AsArray() const;
    const wxJSONInternalMap* AsMap() const;

    // Each succeeds, and only then fills the argument, when the value has the matching type.
    bool AsInt(int& i) const;
    bool AsUInt(unsigned int& ui) const;
    bool AsLong(long& l) const;
    bool AsULong(unsigned long& ul) const;
    bool AsShort(short& s) const;
    bool AsUShort(unsigned short& us) const;
    bool AsInt32(int& i) const;
    bool AsUInt32(unsigned int& ui) const;
    bool AsInt64(long long& i) const;
    bool AsUInt64(unsigned long long& ui) const;
    bool AsBool(bool& b) const;
    bool AsDouble(double& d) const;
    bool AsString(wxString& str) const;
    bool AsMemoryBuff(wxMemoryBuffer& buff) const;

    // Elements of an array, members of an object; -1 for other types.
    int Size() const;
    bool HasMember(unsigned index) const;
    bool HasMember(const wxString& key) const;
    wxJSONValue* Find(unsigned index) const;
    wxJSONValue* Find(const wxString& key) const;
    // The element, turning the value into an array and growing it with nulls as needed.
    wxJSONValue& Item(unsigned index);
    // The member, turning the value into an object and adding a null member as needed.
    wxJSONValue& Item(const wxString& key);
    wxJSONValue& operator[](unsigned index);
    wxJSONValue& operator[](const wxString& key);
    // Read-only access: the element or member sharing its data, or an invalid value.
    wxJSONValue ItemAt(unsigned index) const;
    wxJSONValue ItemAt(const wxString& key) const;
    wxJSONValue Get(const wxString& key, const wxJSONValue& defaultValue) const;
    wxArrayString GetMemberNames() const;

    // Each turns the value into an array when it is not one and returns the new element.
    wxJSONValue& Append(const wxJSONValue& value);
    wxJSONValue& Append(int i);
    wxJSONValue& Append(unsigned int ui);
    wxJSONValue& Append(short i);
    wxJSONValue& Append(unsigned short ui);
    wxJSONValue& Append(long l);
    wxJSONValue& Append(unsigned long ul);
    wxJSONValue& Append(long long i);
    wxJSONValue& Append(unsigned long long ui);
    wxJSONValue& Append(bool b);
    wxJSONValue& Append(double d);
    wxJSONValue& Append(const wxString& str);
    wxJSONValue& Append(const wchar_t* str);
    wxJSONValue& Append(const char* str);
    wxJSONValue& Append(const wxMemoryBuffer& buff);
    wxJSONValue& Append(const void* buff, size_t len);
    bool Remove(int index);
    bool Remove(const wxString& key);
    // Drops the data: the value becomes invalid.
    void Clear();

    // Appends to a string or a memory buffer; false for other types.
    bool Cat(const wxString& str);
    bool Cat(const wchar_t* str);
    bool Cat(const wxMemoryBuffer& buff);

    // Comments are "//" line comments or "/*...*/" block comments; the result is the number of
    // comments, or -1 when the text is not a comment.
    int AddComment(const wxString& str, int position = wxJSONVALUE_COMMENT_DEFAULT);
    int AddComment(const wxArrayString& comments, int position = wxJSONVALUE_COMMENT_DEFAULT);
    // All comments joined for a negative index; empty past the end.
    wxString GetComment(int idx = -1) const;
    int GetCommentPos() const;
    int GetCommentCount() const;
    const wxArrayString& GetCommentArray() const;
    void ClearComments();

    void SetLineNo(int num);
    int GetLineNo() const;

    wxJSONType SetType(wxJSONType type);
    void Ref(const wxJSONValue& other);
    void UnRef();
    void UnShare();
    void DeepCopy(const wxJSONValue& other);
    wxJSONRefData* GetRefData() const { return m_refData; }
    void SetRefData(wxJSONRefData* data);
    wxJSONRefData* Init(wxJSONType type);

    // Same content, ignoring comments and line numbers; numbers of different kinds compare by
    // their values.
    bool IsSameAs(const wxJSONValue& other) const;

    static int CompareMemoryBuff(const wxMemoryBuffer& buff1, const wxMemoryBuffer& buff2);
    static int CompareMemoryBuff(const wxMemoryBuffer& buff1, const void* buff2);
    static wxString TypeToString(wxJSONType type);
    static wxString MemoryBuffToString(const wxMemoryBuffer& buff, size_t len = (size_t)-1);
    static wxString MemoryBuffToString(const void* buff, size_t len, size_t actualLen = (size_t)-1);
    static wxMemoryBuffer ArrayToMemoryBuff(const wxJSONValue& value);

    wxString GetInfo() const;
    wxString Dump(bool deep = false, int indent = 0) const;

protected:
    virtual wxJSONRefData* CloneRefData(const wxJSONRefData* data) const;
    virtual wxJSONRefData* CreateRefData() const;
    // Makes the data exclusive to this handle (creating it when there is none) and returns it.
    wxJSONRefData* COW();
    void AllocExclusive();

private:
    // The reader fills values in place instead of copying every string and member.
    friend class wxJSONReader;

    // A value without any data yet, for the reader's scratch values.
    struct NoData
    {
    };
    explicit wxJSONValue(NoData) : m_refData(nullptr) {}

    wxJSONInternalArray& PrivateArray();
    wxJSONInternalMap& PrivateMap();

    wxJSONRefData* m_refData;
};

WX_DECLARE_USER_EXPORTED_OBJARRAY(wxJSONValue, wxJSONInternalArray, KX_API);
WX_DECLARE_STRING_HASH_MAP_WITH_DECL(wxJSONValue, wxJSONInternalMap, class KX_API);

#endif
