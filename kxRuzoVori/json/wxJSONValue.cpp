#include "kxRuzoVori/json/wxJSONValue.h"

#include "kxRuzoVori/core/private/kxHex.h"
#include "kxRuzoVori/json/private/wxJSONBlockPool.h"
#include "kxRuzoVori/json/private/wxJSONText.h"

#include <wx/arrimpl.cpp>

#include <climits>
#include <cstring>

WX_DEFINE_USER_EXPORTED_OBJARRAY(wxJSONInternalArray);

namespace
{
// A fresh map grows from a few buckets: objects in real documents are small and many, and the
// toolkit's default of about a hundred buckets would cost every object almost a kilobyte.
const size_t g_mapInitialBuckets = 0;

const wxArrayString& EmptyComments()
{
    static const wxArrayString empty;
    return empty;
}

bool InShortRange(long long v)
{
    return v >= SHRT_MIN && v <= SHRT_MAX;
}

bool InInt32Range(long long v)
{
    return v >= INT_MIN && v <= INT_MAX;
}

// The stored type a requested type is kept as.
wxJSONType StoredType(wxJSONType type)
{
    switch (type)
    {
    case wxJSONTYPE_LONG:
    case wxJSONTYPE_INT64:
    case wxJSONTYPE_SHORT:
        return wxJSONTYPE_INT;
    case wxJSONTYPE_ULONG:
    case wxJSONTYPE_UINT64:
    case wxJSONTYPE_USHORT:
        return wxJSONTYPE_UINT;
    case wxJSONTYPE_CSTRING:
        return wxJSONTYPE_STRING;
    default:
        return type;
    }
}

// A UINT above the signed range read as a double, as its signed bits plus 2^64.
double UIntAsDouble(unsigned long long u)
{
    long long s = static_cast<long long>(u);
    if (s >= 0)
        return static_cast<double>(s);
    return static_cast<double>(s) + 18446744073709551616.0;
}
} // namespace

wxJSONRefData::wxJSONRefData()
    : m_refCount(1), m_type(wxJSONTYPE_INVALID), m_valArray(nullptr), m_valMap(nullptr),
      m_memBuff(nullptr), m_commentPos(wxJSONVALUE_COMMENT_BEFORE), m_comments(nullptr),
      m_lineNo(-1)
{
    m_value.m_valUInt64 = 0;
}

static_assert(alignof(wxJSONRefData) <= wxJSONBlockAlign &&
                  alignof(wxJSONValue) <= wxJSONBlockAlign,
              "the block pool's alignment is enough for the records it holds");

void* wxJSONRefData::operator new(size_t size)
{
    return wxJSONNewRecord<wxJSONRefData>(wxJSONBLOCK_DATA, size);
}

void wxJSONRefData::operator delete(void* p, size_t size)
{
    wxJSONDeleteRecord<wxJSONRefData>(p, size);
}

void* wxJSONValue::operator new(size_t size)
{
    return wxJSONNewRecord<wxJSONValue>(wxJSONBLOCK_HANDLE, size);
}

void wxJSONValue::operator delete(void* p, size_t size)
{
    wxJSONDeleteRecord<wxJSONValue>(p, size);
}

namespace
{
// Objects' maps are kept in pool blocks too.
template <class... Args> wxJSONInternalMap* NewMap(const Args&... args)
{
    void* block = wxJSONTakeBlock(wxJSONBLOCK_MAP, sizeof(wxJSONInternalMap));
    try
    {
        return new (block) wxJSONInternalMap(args...);
    }
    catch (...)
    {
        wxJSONReturnBlock(block);
        throw;
    }
}

void DeleteMap(wxJSONInternalMap* map)
{
    if (map)
    {
        map->~wxJSONInternalMap();
        wxJSONReturnBlock(map);
    }
}
} // namespace

wxJSONRefData::~wxJSONRefData()
{
    delete m_valArray;
    DeleteMap(m_valMap);
    delete m_memBuff;
    delete m_comments;
}

// construction

wxJSONValue::wxJSONValue() : m_refData(nullptr)
{
    Init(wxJSONTYPE_NULL);
}

wxJSONValue::wxJSONValue(wxJSONType type) : m_refData(nullptr)
{
    Init(type);
}

wxJSONValue::wxJSONValue(int i) : m_refData(nullptr)
{
    Init(wxJSONTYPE_INT)->m_value.m_valInt64 = i;
}

wxJSONValue::wxJSONValue(unsigned int ui) : m_refData(nullptr)
{
    Init(wxJSONTYPE_UINT)->m_value.m_valUInt64 = ui;
}

wxJSONValue::wxJSONValue(short i) : m_refData(nullptr)
{
    Init(wxJSONTYPE_INT)->m_value.m_valInt64 = i;
}

wxJSONValue::wxJSONValue(unsigned short ui) : m_refData(nullptr)
{
    Init(wxJSONTYPE_UINT)->m_value.m_valUInt64 = ui;
}

wxJSONValue::wxJSONValue(long l) : m_refData(nullptr)
{
    Init(wxJSONTYPE_INT)->m_value.m_valInt64 = l;
}

wxJSONValue::wxJSONValue(unsigned long ul) : m_refData(nullptr)
{
    Init(wxJSONTYPE_UINT)->m_value.m_valUInt64 = ul;
}

wxJSONValue::wxJSONValue(long long i) : m_refData(nullptr)
{
    Init(wxJSONTYPE_INT)->m_value.m_valInt64 = i;
}

wxJSONValue::wxJSONValue(unsigned long long ui) : m_refData(nullptr)
{
    Init(wxJSONTYPE_UINT)->m_value.m_valUInt64 = ui;
}

wxJSONValue::wxJSONValue(bool b) : m_refData(nullptr)
{
    Init(wxJSONTYPE_BOOL)->m_value.m_valBool = b;
}

wxJSONValue::wxJSONValue(double d) : m_refData(nullptr)
{
    Init(wxJSONTYPE_DOUBLE)->m_value.m_valDouble = d;
}

wxJSONValue::wxJSONValue(const wxString& str) : m_refData(nullptr)
{
    Init(wxJSONTYPE_STRING)->m_valString = str;
}

wxJSONValue::wxJSONValue(const wchar_t* str) : m_refData(nullptr)
{
    wxJSONRefData* data = Init(wxJSONTYPE_STRING);
    if (str)
        data->m_valString = str;
}

wxJSONValue::wxJSONValue(const char* str) : m_refData(nullptr)
{
    wxJSONRefData* data = Init(wxJSONTYPE_STRING);
    if (str)
        data->m_valString = wxString::FromUTF8(str);
}

wxJSONValue::wxJSONValue(const wxMemoryBuffer& buff) : m_refData(nullptr)
{
    Init(wxJSONTYPE_MEMORYBUFF)->m_memBuff = new wxMemoryBuffer(buff);
}

wxJSONValue::wxJSONValue(const void* buff, size_t len) : m_refData(nullptr)
{
    wxJSONRefData* data = Init(wxJSONTYPE_MEMORYBUFF);
    data->m_memBuff = new wxMemoryBuffer(len);
    if (len)
        data->m_memBuff->AppendData(buff, len);
}

wxJSONValue::wxJSONValue(const wxJSONValue& other) : m_refData(nullptr)
{
    Ref(other);
}

wxJSONValue::~wxJSONValue()
{
    UnRef();
}

wxJSONRefData* wxJSONValue::Init(wxJSONType type)
{
    UnRef();
    m_refData = CreateRefData();
    m_refData->m_type = StoredType(type > wxJSONTYPE_MEMORYBUFF ? wxJSONTYPE_INVALID : type);
    return m_refData;
}

// assignment

wxJSONValue& wxJSONValue::operator=(int i)
{
    SetType(wxJSONTYPE_INT);
    m_refData->m_value.m_valInt64 = i;
    return *this;
}

wxJSONValue& wxJSONValue::operator=(unsigned int ui)
{
    SetType(wxJSONTYPE_UINT);
    m_refData->m_value.m_valUInt64 = ui;
    return *this;
}

wxJSONValue& wxJSONValue::operator=(short i)
{
    SetType(wxJSONTYPE_INT);
    m_refData->m_value.m_valInt64 = i;
    return *this;
}

wxJSONValue& wxJSONValue::operator=(unsigned short ui)
{
    SetType(wxJSONTYPE_UINT);
    m_refData->m_value.m_valUInt64 = ui;
    return *this;
}

wxJSONValue& wxJSONValue::operator=(long l)
{
    SetType(wxJSONTYPE_INT);
    m_refData->m_value.m_valInt64 = l;
    return *this;
}

wxJSONValue& wxJSONValue::operator=(unsigned long ul)
{
    SetType(wxJSONTYPE_UINT);
    m_refData->m_value.m_valUInt64 = ul;
    return *this;
}

wxJSONValue& wxJSONValue::operator=(long long i)
{
    SetType(wxJSONTYPE_INT);
    m_refData->m_value.m_valInt64 = i;
    return *this;
}

wxJSONValue& wxJSONValue::operator=(unsigned long long ui)
{
    SetType(wxJSONTYPE_UINT);
    m_refData->m_value.m_valUInt64 = ui;
    return *this;
}

wxJSONValue& wxJSONValue::operator=(bool b)
{
    SetType(wxJSONTYPE_BOOL);
    m_refData->m_value.m_valBool = b;
    return *this;
}

wxJSONValue& wxJSONValue::operator=(double d)
{
    SetType(wxJSONTYPE_DOUBLE);
    m_refData->m_value.m_valDouble = d;
    return *this;
}

wxJSONValue& wxJSONValue::operator=(const wxString& str)
{
    // The text may belong to this value's own data: copy it before the type change empties it.
    wxString copy(str);
    SetType(wxJSONTYPE_STRING);
    m_refData->m_valString = copy;
    return *this;
}

wxJSONValue& wxJSONValue::operator=(const wchar_t* str)
{
    return *this = wxString(str ? str : L"");
}

wxJSONValue& wxJSONValue::operator=(const char* str)
{
    return *this = (str ? wxString::FromUTF8(str) : wxString());
}

wxJSONValue& wxJSONValue::operator=(const wxMemoryBuffer& buff)
{
    wxMemoryBuffer copy(buff);
    SetType(wxJSONTYPE_MEMORYBUFF);
    delete m_refData->m_memBuff;
    m_refData->m_memBuff = new wxMemoryBuffer(copy);
    return *this;
}

wxJSONValue& wxJSONValue::operator=(const wxJSONValue& other)
{
    if (&other != this && other.m_refData != m_refData)
        Ref(other);
    return *this;
}

// types

wxJSONType wxJSONValue::GetType() const
{
    if (!m_refData)
        return wxJSONTYPE_INVALID;
    switch (m_refData->m_type)
    {
    case wxJSONTYPE_INT:
    {
        long long v = m_refData->m_value.m_valInt64;
        if (InShortRange(v))
            return wxJSONTYPE_SHORT;
        if (InInt32Range(v))
            return wxJSONTYPE_LONG;
        return wxJSONTYPE_INT64;
    }
    case wxJSONTYPE_UINT:
    {
        unsigned long long u = m_refData->m_value.m_valUInt64;
        if (u <= USHRT_MAX)
            return wxJSONTYPE_USHORT;
        if (u <= UINT_MAX)
            return wxJSONTYPE_ULONG;
        return wxJSONTYPE_UINT64;
    }
    default:
        return m_refData->m_type;
    }
}

bool wxJSONValue::IsValid() const
{
    return GetType() != wxJSONTYPE_INVALID;
}

bool wxJSONValue::IsNull() const
{
    return GetType() == wxJSONTYPE_NULL;
}

bool wxJSONValue::IsInt() const
{
    wxJSONType t = GetType();
    return t == wxJSONTYPE_SHORT || t == wxJSONTYPE_LONG;
}

bool wxJSONValue::IsUInt() const
{
    wxJSONType t = GetType();
    return t == wxJSONTYPE_USHORT || t == wxJSONTYPE_ULONG;
}

bool wxJSONValue::IsShort() const
{
    return GetType() == wxJSONTYPE_SHORT;
}

bool wxJSONValue::IsUShort() const
{
    return GetType() == wxJSONTYPE_USHORT;
}

bool wxJSONValue::IsLong() const
{
    return IsInt();
}

bool wxJSONValue::IsULong() const
{
    return IsUInt();
}

bool wxJSONValue::IsInt32() const
{
    return IsInt();
}

bool wxJSONValue::IsUInt32() const
{
    return IsUInt();
}

bool wxJSONValue::IsInt64() const
{
    return m_refData && m_refData->m_type == wxJSONTYPE_INT;
}

bool wxJSONValue::IsUInt64() const
{
    return m_refData && m_refData->m_type == wxJSONTYPE_UINT;
}

bool wxJSONValue::IsBool() const
{
    return GetType() == wxJSONTYPE_BOOL;
}

bool wxJSONValue::IsDouble() const
{
    return GetType() == wxJSONTYPE_DOUBLE;
}

bool wxJSONValue::IsString() const
{
    return GetType() == wxJSONTYPE_STRING;
}

bool wxJSONValue::IsCString() const
{
    return GetType() == wxJSONTYPE_CSTRING;
}

bool wxJSONValue::IsArray() const
{
    return GetType() == wxJSONTYPE_ARRAY;
}

bool wxJSONValue::IsObject() const
{
    return GetType() == wxJSONTYPE_OBJECT;
}

bool wxJSONValue::IsMemoryBuff() const
{
    return GetType() == wxJSONTYPE_MEMORYBUFF;
}

// plain getters

int wxJSONValue::AsInt() const
{
    return m_refData ? static_cast<int>(m_refData->m_value.m_valInt64) : 0;
}

unsigned int wxJSONValue::AsUInt() const
{
    return m_refData ? static_cast<unsigned int>(m_refData->m_value.m_valUInt64) : 0;
}

long wxJSONValue::AsLong() const
{
    return m_refData ? static_cast<long>(m_refData->m_value.m_valInt64) : 0;
}

unsigned long wxJSONValue::AsULong() const
{
    return m_refData ? static_cast<unsigned long>(m_refData->m_value.m_valUInt64) : 0;
}

short wxJSONValue::AsShort() const
{
    return m_refData ? static_cast<short>(m_refData->m_value.m_valInt64) : 0;
}

unsigned short wxJSONValue::AsUShort() const
{
    return m_refData ? static_cast<unsigned short>(m_refData->m_value.m_valUInt64) : 0;
}

int wxJSONValue::AsInt32() const
{
    return AsInt();
}

unsigned int wxJSONValue::AsUInt32() const
{
    return AsUInt();
}

long long wxJSONValue::AsInt64() const
{
    return m_refData ? m_refData->m_value.m_valInt64 : 0;
}

unsigned long long wxJSONValue::AsUInt64() const
{
    return m_refData ? m_refData->m_value.m_valUInt64 : 0;
}

bool wxJSONValue::AsBool() const
{
    return m_refData ? m_refData->m_value.m_valBool : false;
}

double wxJSONValue::AsDouble() const
{
    return m_refData ? m_refData->m_value.m_valDouble : 0.0;
}

wxString wxJSONValue::AsString() const
{
    wxJSONType type = m_refData ? m_refData->m_type : wxJSONTYPE_INVALID;
    switch (type)
    {
    case wxJSONTYPE_INVALID:
        return wxT("<invalid>");
    case wxJSONTYPE_NULL:
        return wxT("null");
    case wxJSONTYPE_INT:
        return wxString::Format(wxT("%lld"), m_refData->m_value.m_valInt64);
    case wxJSONTYPE_UINT:
        return wxString::Format(wxT("%llu"), m_refData->m_value.m_valUInt64);
    case wxJSONTYPE_DOUBLE:
    {
        char text[64];
        wxJSONFormatDouble(text, sizeof text, "%.10g", m_refData->m_value.m_valDouble);
        return wxString::FromAscii(text);
    }
    case wxJSONTYPE_STRING:
        return m_refData->m_valString;
    case wxJSONTYPE_BOOL:
        return m_refData->m_value.m_valBool ? wxT("true") : wxT("false");
    case wxJSONTYPE_ARRAY:
        return wxString::Format(wxT("[%d]"), Size());
    case wxJSONTYPE_OBJECT:
        return wxString::Format(wxT("{%d}"), Size());
    case wxJSONTYPE_MEMORYBUFF:
        return wxString::Format(wxT("(%u)"), static_cast<unsigned>(AsMemoryBuff().GetDataLen()));
    default:
        return wxT("wxJSONValue::AsString(): Unknown JSON type '") + TypeToString(type) + wxT("'");
    }
}

const wchar_t* wxJSONValue::AsCString() const
{
    if (m_refData && m_refData->m_type == wxJSONTYPE_STRING)
        return m_refData->m_valString.wc_str();
    return nullptr;
}

wxMemoryBuffer wxJSONValue::AsMemoryBuff() const
{
    if (m_refData && m_refData->m_type == wxJSONTYPE_MEMORYBUFF && m_refData->m_memBuff)
        return *m_refData->m_memBuff;
    return wxMemoryBuffer(0);
}

const wxJSONInternalArray* wxJSONValue::AsArray() const
{
    if (m_refData && m_refData->m_type == wxJSONTYPE_ARRAY)
        return m_refData->m_valArray;
    return nullptr;
}

const wxJSONInternalMap* wxJSONValue::AsMap() const
{
    if (m_refData && m_refData->m_type == wxJSONTYPE_OBJECT)
        return m_refData->m_valMap;
    return nullptr;
}

// tested getters

bool wxJSONValue::AsInt(int& i) const
{
    if (!IsInt())
        return false;
    i = AsInt();
    return true;
}

bool wxJSONValue::AsUInt(unsigned int& ui) const
{
    if (!IsUInt())
        return false;
    ui = AsUInt();
    return true;
}

bool wxJSONValue::AsLong(long& l) const
{
    if (!IsLong())
        return false;
    l = AsLong();
    return true;
}

bool wxJSONValue::AsULong(unsigned long& ul) const
{
    if (!IsULong())
        return false;
    ul = AsULong();
    return true;
}

bool wxJSONValue::AsShort(short& s) const
{
    if (!IsShort())
        return false;
    s = AsShort();
    return true;
}

bool wxJSONValue::AsUShort(unsigned short& us) const
{
    if (!IsUShort())
        return false;
    us = AsUShort();
    return true;
}

bool wxJSONValue::AsInt32(int& i) const
{
    return AsInt(i);
}

bool wxJSONValue::AsUInt32(unsigned int& ui) const
{
    return AsUInt(ui);
}

bool wxJSONValue::AsInt64(long long& i) const
{
    if (!IsInt64())
        return false;
    i = AsInt64();
    return true;
}

bool wxJSONValue::AsUInt64(unsigned long long& ui) const
{
    if (!IsUInt64())
        return false;
    ui = AsUInt64();
    return true;
}

bool wxJSONValue::AsBool(bool& b) const
{
    if (!IsBool())
        return false;
    b = AsBool();
    return true;
}

bool wxJSONValue::AsDouble(double& d) const
{
    if (!IsDouble())
        return false;
    d = AsDouble();
    return true;
}

bool wxJSONValue::AsString(wxString& str) const
{
    if (!IsString())
        return false;
    str = m_refData->m_valString;
    return true;
}

bool wxJSONValue::AsMemoryBuff(wxMemoryBuffer& buff) const
{
    if (!IsMemoryBuff())
        return false;
    buff = AsMemoryBuff();
    return true;
}

// containers

wxJSONInternalArray& wxJSONValue::PrivateArray()
{
    wxJSONRefData* data = COW();
    if (data->m_type != wxJSONTYPE_ARRAY)
    {
        SetType(wxJSONTYPE_ARRAY);
        data = m_refData;
    }
    if (!data->m_valArray)
        data->m_valArray = new wxJSONInternalArray;
    return *data->m_valArray;
}

wxJSONInternalMap& wxJSONValue::PrivateMap()
{
    wxJSONRefData* data = COW();
    if (data->m_type != wxJSONTYPE_OBJECT)
    {
        SetType(wxJSONTYPE_OBJECT);
        data = m_refData;
    }
    if (!data->m_valMap)
        data->m_valMap = NewMap(g_mapInitialBuckets);
    return *data->m_valMap;
}

int wxJSONValue::Size() const
{
    if (!m_refData)
        return -1;
    if (m_refData->m_type == wxJSONTYPE_ARRAY)
        return m_refData->m_valArray ? static_cast<int>(m_refData->m_valArray->GetCount()) : 0;
    if (m_refData->m_type == wxJSONTYPE_OBJECT)
        return m_refData->m_valMap ? static_cast<int>(m_refData->m_valMap->size()) : 0;
    return -1;
}

bool wxJSONValue::HasMember(unsigned index) const
{
    int size = Size();
    return size >= 0 && index < static_cast<unsigned>(size);
}

bool wxJSONValue::HasMember(const wxString& key) const
{
    return Find(key) != nullptr;
}

wxJSONValue* wxJSONValue::Find(unsigned index) const
{
    const wxJSONInternalArray* array = AsArray();
    if (!array || index >= array->GetCount())
        return nullptr;
    return &array->Item(index);
}

wxJSONValue* wxJSONValue::Find(const wxString& key) const
{
    const wxJSONInternalMap* map = AsMap();
    if (!map)
        return nullptr;
    wxJSONInternalMap::const_iterator it = map->find(key);
    if (it == map->end())
        return nullptr;
    return const_cast<wxJSONValue*>(&it->second);
}

wxJSONValue& wxJSONValue::Item(unsigned index)
{
    wxJSONInternalArray& array = PrivateArray();
    while (array.GetCount() <= index)
        array.Add(new wxJSONValue(wxJSONTYPE_NULL));
    return array.Item(index);
}

wxJSONValue& wxJSONValue::Item(const wxString& key)
{
    wxJSONInternalMap& map = PrivateMap();
    wxJSONInternalMap::iterator it = map.find(key);
    if (it != map.end())
        return it->second;
    return map[key];
}

wxJSONValue& wxJSONValue::operator[](unsigned index)
{
    return Item(index);
}

wxJSONValue& wxJSONValue::operator[](const wxString& key)
{
    return Item(key);
}

wxJSONValue wxJSONValue::ItemAt(unsigned index) const
{
    const wxJSONValue* item = Find(index);
    return item ? *item : wxJSONValue(wxJSONTYPE_INVALID);
}

wxJSONValue wxJSONValue::ItemAt(const wxString& key) const
{
    const wxJSONValue* item = Find(key);
    return item ? *item : wxJSONValue(wxJSONTYPE_INVALID);
}

wxJSONValue wxJSONValue::Get(const wxString& key, const wxJSONValue& defaultValue) const
{
    const wxJSONValue* item = Find(key);
    return item ? *item : defaultValue;
}

wxArrayString wxJSONValue::GetMemberNames() const
{
    wxArrayString names;
    const wxJSONInternalMap* map = AsMap();
    if (map)
    {
        names.Alloc(map->size());
        for (wxJSONInternalMap::const_iterator it = map->begin(); it != map->end(); ++it)
            names.Add(it->first);
    }
    return names;
}

wxJSONValue& wxJSONValue::Append(const wxJSONValue& value)
{
    // The value may live inside this array, which growing may move: take a handle first.
    wxJSONValue* item = new wxJSONValue(value);
    wxJSONInternalArray& array = PrivateArray();
    array.Add(item);
    return *item;
}

wxJSONValue& wxJSONValue::Append(int i)
{
    return Append(wxJSONValue(i));
}

wxJSONValue& wxJSONValue::Append(unsigned int ui)
{
    return Append(wxJSONValue(ui));
}

wxJSONValue& wxJSONValue::Append(short i)
{
    return Append(wxJSONValue(i));
}

wxJSONValue& wxJSONValue::Append(unsigned short ui)
{
    return Append(wxJSONValue(ui));
}

wxJSONValue& wxJSONValue::Append(long l)
{
    return Append(wxJSONValue(l));
}

wxJSONValue& wxJSONValue::Append(unsigned long ul)
{
    return Append(wxJSONValue(ul));
}

wxJSONValue& wxJSONValue::Append(long long i)
{
    return Append(wxJSONValue(i));
}

wxJSONValue& wxJSONValue::Append(unsigned long long ui)
{
    return Append(wxJSONValue(ui));
}

wxJSONValue& wxJSONValue::Append(bool b)
{
    return Append(wxJSONValue(b));
}

wxJSONValue& wxJSONValue::Append(double d)
{
    return Append(wxJSONValue(d));
}

wxJSONValue& wxJSONValue::Append(const wxString& str)
{
    return Append(wxJSONValue(str));
}

wxJSONValue& wxJSONValue::Append(const wchar_t* str)
{
    return Append(wxJSONValue(str));
}

wxJSONValue& wxJSONValue::Append(const char* str)
{
    return Append(wxJSONValue(str));
}

wxJSONValue& wxJSONValue::Append(const wxMemoryBuffer& buff)
{
    return Append(wxJSONValue(buff));
}

wxJSONValue& wxJSONValue::Append(const void* buff, size_t len)
{
    return Append(wxJSONValue(buff, len));
}

bool wxJSONValue::Remove(int index)
{
    if (!IsArray())
        return false;
    wxJSONInternalArray& array = PrivateArray();
    if (index >= 0 && static_cast<size_t>(index) < array.GetCount())
        array.RemoveAt(index);
    return true;
}

bool wxJSONValue::Remove(const wxString& key)
{
    if (!IsObject())
        return false;
    return PrivateMap().erase(key) > 0;
}

void wxJSONValue::Clear()
{
    UnRef();
}

bool wxJSONValue::Cat(const wxString& str)
{
    if (IsString())
    {
        COW()->m_valString.Append(str);
        return true;
    }
    return false;
}

bool wxJSONValue::Cat(const wchar_t* str)
{
    return Cat(wxString(str ? str : L""));
}

bool wxJSONValue::Cat(const wxMemoryBuffer& buff)
{
    if (!IsMemoryBuff())
        return false;
    wxJSONRefData* data = COW();
    if (!data->m_memBuff)
        data->m_memBuff = new wxMemoryBuffer(0);
    if (buff.GetDataLen())
        data->m_memBuff->AppendData(buff.GetData(), buff.GetDataLen());
    return true;
}

// comments

int wxJSONValue::AddComment(const wxString& str, int position)
{
    if (str.length() < 2 || str[0] != wxT('/'))
        return -1;
    wxString text(str);
    if (str[1] == wxT('/'))
    {
        if (text.Last() != wxT('\n'))
            text.Append(wxT('\n'));
    }
    else if (str[1] == wxT('*'))
    {
        size_t end = text.length();
        while (end > 0 && (text[end - 1] == wxT('\n') || text[end - 1] == wxT(' ') ||
                           text[end - 1] == wxT('\t')))
            --end;
        if (end < 4 || text[end - 1] != wxT('/') || text[end - 2] != wxT('*'))
            return -1;
    }
    else
        return -1;

    wxJSONRefData* data = COW();
    if (!data->m_comments)
        data->m_comments = new wxArrayString;
    data->m_comments->Add(text);
    if (position != wxJSONVALUE_COMMENT_DEFAULT)
        data->m_commentPos = position;
    return static_cast<int>(data->m_comments->GetCount());
}

int wxJSONValue::AddComment(const wxArrayString& comments, int position)
{
    int added = 0;
    for (size_t i = 0; i < comments.GetCount(); ++i)
        if (AddComment(comments[i], position) >= 0)
            ++added;
    return added;
}

wxString wxJSONValue::GetComment(int idx) const
{
    const wxArrayString& comments = GetCommentArray();
    if (idx < 0)
    {
        wxString all;
        for (size_t i = 0; i < comments.GetCount(); ++i)
            all += comments[i];
        return all;
    }
    if (static_cast<size_t>(idx) < comments.GetCount())
        return comments[idx];
    return wxString();
}

int wxJSONValue::GetCommentPos() const
{
    return m_refData ? m_refData->m_commentPos : wxJSONVALUE_COMMENT_DEFAULT;
}

int wxJSONValue::GetCommentCount() const
{
    return static_cast<int>(GetCommentArray().GetCount());
}

const wxArrayString& wxJSONValue::GetCommentArray() const
{
    if (m_refData && m_refData->m_comments)
        return *m_refData->m_comments;
    return EmptyComments();
}

void wxJSONValue::ClearComments()
{
    if (!m_refData || !m_refData->m_comments)
        return;
    wxJSONRefData* data = COW();
    delete data->m_comments;
    data->m_comments = nullptr;
}

void wxJSONValue::SetLineNo(int num)
{
    COW()->m_lineNo = num;
}

int wxJSONValue::GetLineNo() const
{
    return m_refData ? m_refData->m_lineNo : -1;
}

// sharing

wxJSONType wxJSONValue::SetType(wxJSONType type)
{
    if (type > wxJSONTYPE_MEMORYBUFF)
        type = wxJSONTYPE_INVALID;
    wxJSONRefData* data = COW();
    if (type == GetType())
        return type;
    data->m_type = StoredType(type);
    data->m_valString.clear();
    if (data->m_valArray)
        data->m_valArray->Clear();
    if (data->m_valMap)
        data->m_valMap->clear();
    if (data->m_memBuff)
    {
        // Emptying must not touch storage that other buffers may still share.
        delete data->m_memBuff;
        data->m_memBuff = nullptr;
    }
    if (data->m_type == wxJSONTYPE_MEMORYBUFF)
        data->m_memBuff = new wxMemoryBuffer(0);
    return type;
}

void wxJSONValue::Ref(const wxJSONValue& other)
{
    if (other.m_refData == m_refData)
        return;
    // other may live inside this value's own data: hold its data before letting ours go.
    wxJSONRefData* data = other.m_refData;
    if (data)
        ++data->m_refCount;
    UnRef();
    m_refData = data;
}

void wxJSONValue::UnRef()
{
    if (!m_refData)
        return;
    if (--m_refData->m_refCount == 0)
        delete m_refData;
    m_refData = nullptr;
}

void wxJSONValue::UnShare()
{
    AllocExclusive();
}

void wxJSONValue::DeepCopy(const wxJSONValue& other)
{
    wxJSONRefData* clone = other.m_refData ? CloneRefData(other.m_refData) : nullptr;
    UnRef();
    m_refData = clone;
}

void wxJSONValue::SetRefData(wxJSONRefData* data)
{
    if (data == m_refData)
        return;
    UnRef();
    m_refData = data;
}

wxJSONRefData* wxJSONValue::COW()
{
    AllocExclusive();
    return m_refData;
}

void wxJSONValue::AllocExclusive()
{
    if (!m_refData)
        m_refData = CreateRefData();
    else if (m_refData->m_refCount > 1)
    {
        wxJSONRefData* clone = CloneRefData(m_refData);
        UnRef();
        m_refData = clone;
    }
}

wxJSONRefData* wxJSONValue::CreateRefData() const
{
    return new wxJSONRefData;
}

wxJSONRefData* wxJSONValue::CloneRefData(const wxJSONRefData* other) const
{
    wxJSONRefData* data = new wxJSONRefData;
    data->m_type = other->m_type;
    data->m_value = other->m_value;
    data->m_valString = other->m_valString;
    data->m_commentPos = other->m_commentPos;
    data->m_lineNo = other->m_lineNo;
    if (other->m_comments)
        data->m_comments = new wxArrayString(*other->m_comments);
    if (other->m_valArray)
    {
        data->m_valArray = new wxJSONInternalArray;
        data->m_valArray->Alloc(other->m_valArray->GetCount());
        for (size_t i = 0; i < other->m_valArray->GetCount(); ++i)
            data->m_valArray->Add(new wxJSONValue(other->m_valArray->Item(i)));
    }
    if (other->m_valMap)
        data->m_valMap = NewMap(*other->m_valMap);
    if (other->m_memBuff)
        data->m_memBuff = new wxMemoryBuffer(*other->m_memBuff);
    return data;
}

// comparison

bool wxJSONValue::IsSameAs(const wxJSONValue& other) const
{
    if (m_refData == other.m_refData)
        return true;
    wxJSONType t1 = m_refData ? m_refData->m_type : wxJSONTYPE_INVALID;
    wxJSONType t2 = other.m_refData ? other.m_refData->m_type : wxJSONTYPE_INVALID;
    if (t1 != t2)
    {
        const wxJSONValue* a = this;
        const wxJSONValue* b = &other;
        if (t2 == wxJSONTYPE_DOUBLE)
        {
            std::swap(a, b);
            std::swap(t1, t2);
        }
        if (t1 == wxJSONTYPE_DOUBLE)
        {
            if (t2 == wxJSONTYPE_INT)
                return a->AsDouble() == static_cast<double>(b->AsInt64());
            if (t2 == wxJSONTYPE_UINT)
                return a->AsDouble() == UIntAsDouble(b->AsUInt64());
            return false;
        }
        if ((t1 == wxJSONTYPE_INT && t2 == wxJSONTYPE_UINT) ||
            (t1 == wxJSONTYPE_UINT && t2 == wxJSONTYPE_INT))
            return AsUInt64() == other.AsUInt64() && AsUInt64() < (1ULL << 63);
        return false;
    }

    switch (t1)
    {
    case wxJSONTYPE_INVALID:
    case wxJSONTYPE_NULL:
        return true;
    case wxJSONTYPE_INT:
    case wxJSONTYPE_UINT:
        return AsUInt64() == other.AsUInt64();
    case wxJSONTYPE_BOOL:
        return AsBool() == other.AsBool();
    case wxJSONTYPE_DOUBLE:
        return AsDouble() == other.AsDouble();
    case wxJSONTYPE_STRING:
        return m_refData->m_valString == other.m_refData->m_valString;
    case wxJSONTYPE_ARRAY:
    {
        int size = Size();
        if (size != other.Size())
            return false;
        for (int i = 0; i < size; ++i)
            if (!m_refData->m_valArray->Item(i).IsSameAs(other.m_refData->m_valArray->Item(i)))
                return false;
        return true;
    }
    case wxJSONTYPE_OBJECT:
    {
        if (Size() != other.Size())
            return false;
        if (Size() == 0)
            return true;
        for (wxJSONInternalMap::const_iterator it = m_refData->m_valMap->begin();
             it != m_refData->m_valMap->end(); ++it)
        {
            const wxJSONValue* match = other.Find(it->first);
            if (!match || !it->second.IsSameAs(*match))
                return false;
        }
        return true;
    }
    case wxJSONTYPE_MEMORYBUFF:
        return CompareMemoryBuff(AsMemoryBuff(), other.AsMemoryBuff()) == 0;
    default:
        return false;
    }
}

int wxJSONValue::CompareMemoryBuff(const wxMemoryBuffer& buff1, const wxMemoryBuffer& buff2)
{
    size_t len1 = buff1.GetDataLen();
    size_t len2 = buff2.GetDataLen();
    if (len1 != len2)
        return len1 > len2 ? 1 : -1;
    int r = len1 ? std::memcmp(buff1.GetData(), buff2.GetData(), len1) : 0;
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int wxJSONValue::CompareMemoryBuff(const wxMemoryBuffer& buff1, const void* buff2)
{
    size_t len = buff1.GetDataLen();
    int r = len ? std::memcmp(buff1.GetData(), buff2, len) : 0;
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

// static helpers

wxString wxJSONValue::TypeToString(wxJSONType type)
{
    static const wxChar* const names[] = {
        wxT("wxJSONTYPE_INVALID"), wxT("wxJSONTYPE_NULL"),      wxT("wxJSONTYPE_INT"),
        wxT("wxJSONTYPE_UINT"),    wxT("wxJSONTYPE_DOUBLE"),    wxT("wxJSONTYPE_STRING"),
        wxT("wxJSONTYPE_CSTRING"), wxT("wxJSONTYPE_BOOL"),      wxT("wxJSONTYPE_ARRAY"),
        wxT("wxJSONTYPE_OBJECT"),  wxT("wxJSONTYPE_LONG"),      wxT("wxJSONTYPE_INT64"),
        wxT("wxJSONTYPE_ULONG"),   wxT("wxJSONTYPE_UINT64"),    wxT("wxJSONTYPE_SHORT"),
        wxT("wxJSONTYPE_USHORT"),  wxT("wxJSONTYPE_MEMORYBUFF")};
    int t = static_cast<int>(type);
    if (t < 0 || t > wxJSONTYPE_MEMORYBUFF)
        return wxString();
    return names[t];
}

wxString wxJSONValue::MemoryBuffToString(const wxMemoryBuffer& buff, size_t len)
{
    size_t actual = buff.GetDataLen();
    return MemoryBuffToString(buff.GetData(), len < actual ? len : actual, actual);
}

wxString wxJSONValue::MemoryBuffToString(const void* buff, size_t len, size_t actualLen)
{
    wxString s = wxString::Format(wxT("(%u) "),
                                  static_cast<unsigned>(actualLen == (size_t)-1 ? len : actualLen));
    const unsigned char* bytes = static_cast<const unsigned char*>(buff);
    for (size_t i = 0; i < len; ++i)
    {
        s += wxChar(kxHexDigit(bytes[i] >> 4));
        s += wxChar(kxHexDigit(bytes[i]));
        s += wxT(' ');
    }
    return s;
}

wxMemoryBuffer wxJSONValue::ArrayToMemoryBuff(const wxJSONValue& value)
{
    wxMemoryBuffer buff(0);
    const wxJSONInternalArray* array = value.AsArray();
    if (!array)
        return buff;
    for (size_t i = 0; i < array->GetCount(); ++i)
    {
        const wxJSONValue& item = array->Item(i);
        short s;
        if (item.AsShort(s) && s >= 0 && s <= 255)
        {
            unsigned char byte = static_cast<unsigned char>(s);
            buff.AppendData(&byte, 1);
        }
    }
    return buff;
}

// diagnostics

wxString wxJSONValue::GetInfo() const
{
    wxString s = wxString::Format(wxT("Object: Type=%s Size=%d comments=%d\n"),
                                  TypeToString(GetType()), Size(), GetCommentCount());
    const wxJSONInternalMap* map = AsMap();
    if (map)
        for (wxJSONInternalMap::const_iterator it = map->begin(); it != map->end(); ++it)
            s += wxT("    Member name: ") + it->first + wxT("\n");
    return s;
}

wxString wxJSONValue::Dump(bool deep, int indent) const
{
    wxString pad(wxT(' '), indent);
    wxString s = pad;
    s += wxString::Format(wxT("Object: Type=%s Size=%d comments=%d\n"), TypeToString(GetType()),
                          Size(), GetCommentCount());
    s += pad;
    s += wxString::Format(wxT("      : RefData=%p Num shares=%d\n"),
                          static_cast<const void*>(m_refData),
                          m_refData ? m_refData->m_refCount : 0);
    if (deep)
    {
        if (const wxJSONInternalArray* array = AsArray())
            for (size_t i = 0; i < array->GetCount(); ++i)
                s += array->Item(i).Dump(true, indent + 3);
        if (const wxJSONInternalMap* map = AsMap())
            for (wxJSONInternalMap::const_iterator it = map->begin(); it != map->end(); ++it)
                s += it->second.Dump(true, indent + 3);
    }
    return s;
}
