// The data JSON values share, and the types it can hold. A value (wxJSONValue.h) is a handle on
// it; the data is reference-counted and copied only when a handle that shares it writes.
#ifndef KXRUZOVORI_JSON_WXJSONREFDATA_H
#define KXRUZOVORI_JSON_WXJSONREFDATA_H

#include "kxRuzoVori/kxExport.h"

#include <wx/arrstr.h>
#include <wx/buffer.h>
#include <wx/string.h>

#include <cstddef>

/// The type of a JSON value. Integers are stored as INT or UINT and reported by their range
/// (SHORT, LONG, INT64, USHORT, ULONG, UINT64).
enum wxJSONType
{
    wxJSONTYPE_INVALID = 0, ///< No value: read from nothing, or cleared.
    wxJSONTYPE_NULL,        ///< null.
    wxJSONTYPE_INT,         ///< A signed 64-bit integer (stored, never reported).
    wxJSONTYPE_UINT,        ///< An unsigned 64-bit integer (stored, never reported).
    wxJSONTYPE_DOUBLE,      ///< A floating-point number.
    wxJSONTYPE_STRING,      ///< A string.
    wxJSONTYPE_CSTRING,     ///< Taken as STRING: a character pointer is always copied.
    wxJSONTYPE_BOOL,        ///< true or false.
    wxJSONTYPE_ARRAY,       ///< An array of values.
    wxJSONTYPE_OBJECT,      ///< Named members.
    wxJSONTYPE_LONG,        ///< A signed integer that fits 32 bits but not 16.
    wxJSONTYPE_INT64,       ///< A signed integer that needs more than 32 bits.
    wxJSONTYPE_ULONG,       ///< An unsigned integer below 2^32 but not below 2^16.
    wxJSONTYPE_UINT64,      ///< An unsigned integer of 2^32 or more.
    wxJSONTYPE_SHORT,       ///< A signed integer that fits 16 bits.
    wxJSONTYPE_USHORT,      ///< An unsigned integer below 2^16.
    wxJSONTYPE_MEMORYBUFF   ///< Raw bytes, an extension to JSON.
};

class wxJSONInternalArray;
class wxJSONInternalMap;

/// The data JSON values share (wxJSONValue is a handle on it); reference-counted and copied only
/// when a handle that shares it writes. Containers and the byte buffer are created only when the
/// value becomes an array, an object or a buffer, so a scalar pays for none of them. Hosts reach
/// it through wxJSONValue::GetRefData() and need not touch its fields.
class KX_API wxJSONRefData
{
public:
    /// Invalid data, counted once.
    wxJSONRefData();
    wxJSONRefData(const wxJSONRefData&) = delete;
    wxJSONRefData& operator=(const wxJSONRefData&) = delete;
    /// Releases the containers, the buffer and the comments.
    virtual ~wxJSONRefData();

    /// How many values share this data.
    int GetRefCount() const { return m_refCount; }

    ///@{
    /// The data of values comes from its thread's pool of blocks and goes back to it, also when
    /// another thread deletes it; placement new builds in the caller's storage as usual.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);
    static void* operator new(size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}
    ///@}

    int m_refCount;    ///< How many values share this data.
    wxJSONType m_type; ///< The stored type: never one of the reported integer types.
    /// The scalar value, read by m_type.
    union
    {
        long long m_valInt64;           ///< A signed integer.
        unsigned long long m_valUInt64; ///< An unsigned integer.
        double m_valDouble;             ///< A floating-point number.
        bool m_valBool;                 ///< A boolean.
        const wchar_t* m_valCString;    ///< Unused: strings live in m_valString.
    } m_value;
    wxString m_valString;            ///< The text of a string.
    wxJSONInternalArray* m_valArray; ///< The elements of an array, or null.
    wxJSONInternalMap* m_valMap;     ///< The members of an object, or null.
    wxMemoryBuffer* m_memBuff;       ///< The bytes of a memory buffer, or null.
    int m_commentPos;                ///< Where the comments are written.
    wxArrayString* m_comments;       ///< The comments, or null when there are none.
    int m_lineNo;                    ///< The line the value was read from, or -1.
};

#endif
