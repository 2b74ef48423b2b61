// The data JSON values share, and the types it can hold. A value (wxJSONValue.h) is a handle on
// it; the data is reference-counted and copied only when a handle that shares it writes.
#ifndef KXRUZOVORI_JSON_WXJSONREFDATA_H
#define KXRUZOVORI_JSON_WXJSONREFDATA_H

#include "kxRuzoVori/kxExport.h"

#include <wx/arrstr.h>
#include <wx/buffer.h>
#include <wx/string.h>

#include <cstddef>

enum wxJSONType
{
    wxJSONTYPE_INVALID = 0,
    wxJSONTYPE_NULL,
    wxJSONTYPE_INT,
    wxJSONTYPE_UINT,
    wxJSONTYPE_DOUBLE,
    wxJSONTYPE_STRING,
    wxJSONTYPE_CSTRING,
    wxJSONTYPE_BOOL,
    wxJSONTYPE_ARRAY,
    wxJSONTYPE_OBJECT,
    wxJSONTYPE_LONG,
    wxJSONTYPE_INT64,
    wxJSONTYPE_ULONG,
    wxJSONTYPE_UINT64,
    wxJSONTYPE_SHORT,
    wxJSONTYPE_USHORT,
    wxJSONTYPE_MEMORYBUFF
};

class wxJSONInternalArray;
class wxJSONInternalMap;

// The data that values share. Containers and the byte buffer are created only when the value
// becomes an array, an object or a buffer, so a scalar pays for none of them.
class KX_API wxJSONRefData
{
public:
    wxJSONRefData();
    wxJSONRefData(const wxJSONRefData&) = delete;
    wxJSONRefData& operator=(const wxJSONRefData&) = delete;
    virtual ~wxJSONRefData();

    int GetRefCount() const { return m_refCount; }

    // The data of values comes from its thread's pool of blocks; placement new builds in the
    // caller's storage as usual.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size);
    static void* operator new(size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}

    int m_refCount;
    wxJSONType m_type;
    union
    {
        long long m_valInt64;
        unsigned long long m_valUInt64;
        double m_valDouble;
        bool m_valBool;
        const wchar_t* m_valCString;
    } m_value;
    wxString m_valString;
    wxJSONInternalArray* m_valArray;
    wxJSONInternalMap* m_valMap;
    wxMemoryBuffer* m_memBuff;
    int m_commentPos;
    wxArrayString* m_comments;
    int m_lineNo;
};

#endif
