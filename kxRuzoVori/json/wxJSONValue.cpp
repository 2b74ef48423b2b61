// JSON values: construction, assignment, types and reading the stored value.
#include "kxRuzoVori/json/wxJSONValue.h"

#include "kxRuzoVori/json/private/wxJSONText.h"

#include <wx/arrimpl.cpp>

#include <climits>
#include <vector>

WX_DEFINE_USER_EXPORTED_OBJARRAY(wxJSONInternalArray);

namespace
{
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
} // namespace

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

// assignment

wxJSONValue& wxJSONValue::operator=(wxJSONType type)
{
    SetType(type);
    return *this;
}

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

// sharing

wxJSONRefData* wxJSONValue::Init(wxJSONType type)
{
    UnRef();
    m_refData = CreateRefData();
    m_refData->m_type = StoredType(type > wxJSONTYPE_MEMORYBUFF ? wxJSONTYPE_INVALID : type);
    return m_refData;
}

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

namespace
{
// How deep freeing a tree goes by recursion, each level a few stack frames of destructors.
const int kFreeDepth = 256;

// This thread's progress through freeing a tree: the depth it is at, and the containers found
// below kFreeDepth, which wait for the outermost call.
struct FreeState
{
    int m_depth = 0;
    std::vector<wxJSONRefData*>* m_waiting = nullptr;
};
thread_local FreeState t_free;

// Freeing a container frees the values it holds, and theirs, from inside each other down to
// kFreeDepth levels, in the order the tree was built; containers deeper than that wait in a
// list and are freed one after another, so that no depth of tree a host can build exhausts the
// stack.
void FreeData(wxJSONRefData* data)
{
    if (!data->m_valArray && !data->m_valMap)
    {
        delete data;
        return;
    }
    FreeState& state = t_free;
    if (state.m_depth == kFreeDepth)
    {
        state.m_waiting->push_back(data);
        return;
    }
    if (state.m_depth > 0)
    {
        ++state.m_depth;
        delete data;
        --state.m_depth;
        return;
    }
    std::vector<wxJSONRefData*> waiting;
    state.m_waiting = &waiting;
    state.m_depth = 1;
    delete data;
    while (!waiting.empty())
    {
        wxJSONRefData* next = waiting.back();
        waiting.pop_back();
        delete next;
    }
    state.m_depth = 0;
    state.m_waiting = nullptr;
}
} // namespace

void wxJSONValue::UnRef()
{
    if (!m_refData)
        return;
    wxJSONRefData* data = m_refData;
    m_refData = nullptr;
    if (--data->m_refCount == 0)
        FreeData(data);
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
    if (!m_refData || m_refData->m_refCount > 1)
        AllocExclusive();
    return m_refData;
}
