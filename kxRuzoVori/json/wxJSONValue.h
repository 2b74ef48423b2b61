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

/// Where a value's comments are written, relative to the value (wxJSONValue::AddComment()).
enum
{
    wxJSONVALUE_COMMENT_DEFAULT = 0, ///< Where the writer's style puts them.
    wxJSONVALUE_COMMENT_BEFORE,      ///< On lines of their own before the value.
    wxJSONVALUE_COMMENT_AFTER,       ///< On lines of their own after the value.
    wxJSONVALUE_COMMENT_INLINE       ///< After the value, on its line.
};

/// A JSON value held in memory: null, boolean, signed or unsigned 64-bit integer, double, string,
/// array, string-keyed object or a buffer of raw bytes. A value is a small handle on shared,
/// reference-counted data: copies share it and every writing operation first makes the data
/// exclusive (copy-on-write), so passing whole trees around by value is cheap. A value may also
/// carry comments and the line it was read from, which the reader fills and the writer uses.
/// Shared data is counted with plain integers: values sharing data belong to one thread at a time.
///
/// Nothing here throws: a query of the wrong type answers with a neutral value (false, -1, null,
/// an invalid value) and the tested getters say whether the value had the asked type.
class KX_API wxJSONValue
{
public:
    /// A null value.
    wxJSONValue();
    /// An empty value of the given type: zero, an empty string, array, object or buffer. Not
    /// explicit, so a type constant passed for a value makes a value of that type.
    wxJSONValue(wxJSONType type);
    ///@{
    /// A value holding the number: signed types store a signed integer, unsigned types an
    /// unsigned one, which the writer marks with a "+".
    wxJSONValue(int i);
    wxJSONValue(unsigned int ui);
    wxJSONValue(short i);
    wxJSONValue(unsigned short ui);
    wxJSONValue(long l);
    wxJSONValue(unsigned long ul);
    wxJSONValue(long long i);
    wxJSONValue(unsigned long long ui);
    ///@}
    /// A boolean value.
    wxJSONValue(bool b);
    /// A floating-point value.
    wxJSONValue(double d);
    /// A string value holding a copy of str.
    wxJSONValue(const wxString& str);
    /// A string value holding a copy of str; a null pointer gives the empty string.
    wxJSONValue(const wchar_t* str);
    /// A string value of UTF-8 text; without it a narrow literal would silently become a boolean.
    wxJSONValue(const char* str);
    /// A memory-buffer value sharing the buffer's storage.
    wxJSONValue(const wxMemoryBuffer& buff);
    /// A memory-buffer value holding a copy of len bytes at buff.
    wxJSONValue(const void* buff, size_t len);
    /// Shares other's data; the first write to either makes it their own.
    wxJSONValue(const wxJSONValue& other);
    /// Lets go of the data, which goes when its last sharer does.
    virtual ~wxJSONValue();

    ///@{
    /// Values made with new (the elements of arrays) come from their thread's pool of blocks and
    /// go back to it, also when another thread deletes them; placement new builds in the
    /// caller's storage as usual.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);
    static void* operator new(size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}
    ///@}

    /// Re-types the value as SetType() does: v = wxJSONTYPE_OBJECT makes a number an empty
    /// object, never the number the constant is.
    wxJSONValue& operator=(wxJSONType type);
    ///@{
    /// Replaces the content with the argument, typed as the matching constructor types it; an
    /// array or object held before is emptied. Assigning a value shares its data (nothing
    /// happens when both already share it).
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
    ///@}

    /// The reported type: integers are refined by their range (SHORT, LONG, INT64 and the
    /// unsigned USHORT, ULONG, UINT64); INT and UINT are never reported. A value without data
    /// (after Clear() or UnRef()) is wxJSONTYPE_INVALID.
    wxJSONType GetType() const;
    /// False only for an invalid value: one without data, or read from nothing.
    bool IsValid() const;
    ///@{
    /// True when the stored type is the one named. The integer tests look at the range:
    /// IsShort() for a signed value that fits 16 bits, IsInt(), IsLong() and IsInt32() for one
    /// that fits 32, IsInt64() for any signed integer, and the unsigned forms likewise; a
    /// signed value is never "unsigned" and an unsigned one never "signed", whatever their size.
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
    ///@}

    ///@{
    /// The stored bits read as the asked type, without any test: ask only after the matching
    /// Is...() test, or use the tested forms below. long is 64 bits here: AsLong() and AsULong()
    /// give the whole stored value, while IsLong(), IsULong() and the tested AsLong() and
    /// AsULong() keep the 32-bit range (a deliberate deviation).
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
    ///@}
    /// Text for any type: the string itself, or a description such as "null", "true", "42",
    /// "[3]" (an array's size), "{2}" (an object's) or "(16)" (a buffer's).
    wxString AsString() const;
    /// The characters of a string value, null for every other type; valid until the value changes.
    const wchar_t* AsCString() const;
    /// The value's buffer, sharing its storage; an empty buffer for other types.
    wxMemoryBuffer AsMemoryBuff() const;
    /// The elements of an array, null for every other type.
    const wxJSONInternalArray* AsArray() const;
    /// The members of an object, null for every other type.
    const wxJSONInternalMap* AsMap() const;

    ///@{
    /// Each succeeds, and only then fills the argument, when the value passes the matching
    /// Is...() test (AsString(wxString&) for strings only).
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
    ///@}

    /// Elements of an array, members of an object; -1 for other types.
    int Size() const;
    /// True when the value is an array or object and index is below Size().
    bool HasMember(unsigned index) const;
    /// True when the value is an object with that member.
    bool HasMember(const wxString& key) const;
    /// The element at index, or null when the value is no array or index is past its end.
    wxJSONValue* Find(unsigned index) const;
    /// The member named key, or null when the value is no object or has no such member.
    wxJSONValue* Find(const wxString& key) const;
    /// The element, turning the value into an array (dropping what it held) and growing it with
    /// nulls as needed.
    wxJSONValue& Item(unsigned index);
    /// The member, turning the value into an object (dropping what it held) and adding a null
    /// member as needed.
    wxJSONValue& Item(const wxString& key);
    /// The same as Item(unsigned).
    wxJSONValue& operator[](unsigned index);
    /// The same as Item(const wxString&).
    wxJSONValue& operator[](const wxString& key);
    ///@{
    /// Read-only access: the element or member sharing its data, or an invalid value; nothing
    /// is created.
    wxJSONValue ItemAt(unsigned index) const;
    wxJSONValue ItemAt(const wxString& key) const;
    ///@}
    /// The member named key when the value is an object that has it, else defaultValue.
    wxJSONValue Get(const wxString& key, const wxJSONValue& defaultValue) const;
    /// The names of an object's members in no particular order (sort them when order matters);
    /// empty for other types. The member table starts small, since most objects are, so the
    /// order differs from that of a table begun with about a hundred buckets.
    wxArrayString GetMemberNames() const;

    ///@{
    /// Appends the argument as a new element and returns it, turning the value into an empty
    /// array first when it is not one.
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
    /// UTF-8 text, appended as a string: without it a narrow literal would become a boolean.
    wxJSONValue& Append(const char* str);
    wxJSONValue& Append(const wxMemoryBuffer& buff);
    wxJSONValue& Append(const void* buff, size_t len);
    ///@}
    /// Removes the element at index when there is one; false only when the value is no array.
    bool Remove(int index);
    /// Removes the member named key; true when the value is an object that had it.
    bool Remove(const wxString& key);
    /// Drops the data: the value becomes invalid.
    void Clear();

    ///@{
    /// Appends to a string or a memory buffer; false, changing nothing, for other types.
    bool Cat(const wxString& str);
    bool Cat(const wchar_t* str);
    bool Cat(const wxMemoryBuffer& buff);
    ///@}

    /// Adds a comment, written with the value where position says (one of the
    /// wxJSONVALUE_COMMENT_ values; the default keeps the position as it was). Comments are "//"
    /// line comments, which get a closing line feed, or "/*...*/" block comments. Returns the
    /// number of comments, or -1, adding nothing, when the text is not a comment.
    int AddComment(const wxString& str, int position = wxJSONVALUE_COMMENT_DEFAULT);
    /// Adds each comment of the array; returns how many were taken.
    int AddComment(const wxArrayString& comments, int position = wxJSONVALUE_COMMENT_DEFAULT);
    /// All comments joined for a negative index; empty past the end.
    wxString GetComment(int idx = -1) const;
    /// Where the comments are written: one of the wxJSONVALUE_COMMENT_ values.
    int GetCommentPos() const;
    /// The number of comments.
    int GetCommentCount() const;
    /// The comments, one per entry.
    const wxArrayString& GetCommentArray() const;
    /// Removes every comment.
    void ClearComments();

    /// Records the line the value was read from (the reader does this).
    void SetLineNo(int num);
    /// The line the value was read from, or -1.
    int GetLineNo() const;

    /// Changes the type: an array, object, string or buffer held before is emptied, numbers keep
    /// their bits unconverted; a number above the last type makes the value invalid. Returns the
    /// new type.
    wxJSONType SetType(wxJSONType type);
    /// Shares other's data from now on.
    void Ref(const wxJSONValue& other);
    /// Lets go of the data: the value becomes invalid, the data goes when its last sharer does.
    void UnRef();
    /// Makes the data this value's own, copying it when it is shared.
    void UnShare();
    /// Makes this value a copy of other that shares nothing with it, down to every element.
    void DeepCopy(const wxJSONValue& other);
    /// The shared data, or null.
    wxJSONRefData* GetRefData() const { return m_refData; }
    /// Lets go of the current data and takes data, whose count the caller has already raised.
    void SetRefData(wxJSONRefData* data);
    /// Lets go of the current data and starts fresh data of the given type; returns it.
    wxJSONRefData* Init(wxJSONType type);

    /// Same content, ignoring comments and line numbers; numbers of different kinds compare by
    /// their values (1 and 1.0 are the same, 1 and "1" are not).
    bool IsSameAs(const wxJSONValue& other) const;

    /// -1, 0 or 1: a longer buffer is the greater, equal lengths compare their bytes unsigned.
    static int CompareMemoryBuff(const wxMemoryBuffer& buff1, const wxMemoryBuffer& buff2);
    /// The same against as many raw bytes at buff2 as buff1 holds.
    static int CompareMemoryBuff(const wxMemoryBuffer& buff1, const void* buff2);
    /// The name of a type, such as "wxJSONTYPE_STRING"; empty for a number past the last type.
    static wxString TypeToString(wxJSONType type);
    /// "(length) " followed by two upper-case hex digits and a blank per byte, for at most len
    /// bytes.
    static wxString MemoryBuffToString(const wxMemoryBuffer& buff, size_t len = (size_t)-1);
    /// The same for len bytes at buff, of which at most actualLen are shown.
    static wxString MemoryBuffToString(const void* buff, size_t len, size_t actualLen = (size_t)-1);
    /// One byte per element of an array that is an integer from 0 to 255; other elements are
    /// skipped, and anything but an array gives an empty buffer.
    static wxMemoryBuffer ArrayToMemoryBuff(const wxJSONValue& value);

    /// A description for debugging: type, size, comment count and, for objects, the member
    /// names.
    wxString GetInfo() const;
    /// A description for debugging of the value and its sharing; with deep, of its elements
    /// too, each indent blanks further in.
    wxString Dump(bool deep = false, int indent = 0) const;

protected:
    /// A new copy of data for a value about to write into shared data; a subclass with data
    /// of its own overrides it.
    virtual wxJSONRefData* CloneRefData(const wxJSONRefData* data) const;
    /// New empty data; a subclass with data of its own overrides it.
    virtual wxJSONRefData* CreateRefData() const;
    /// Makes the data exclusive to this handle (creating it when there is none) and returns it.
    wxJSONRefData* COW();
    /// Makes the data exclusive to this handle, creating it when there is none.
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

/// The elements of an array value, each an owned wxJSONValue.
WX_DECLARE_USER_EXPORTED_OBJARRAY(wxJSONValue, wxJSONInternalArray, KX_API);
/// The members of an object value, by name.
WX_DECLARE_STRING_HASH_MAP_WITH_DECL(wxJSONValue, wxJSONInternalMap, class KX_API);

#endif
