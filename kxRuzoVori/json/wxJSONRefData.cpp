// The data JSON values share: its records and the maps of objects, kept in the thread's block pool,
// and the copies of it that copy-on-write makes.
#include "kxRuzoVori/json/wxJSONRefData.h"

#include "kxRuzoVori/json/private/wxJSONBlockPool.h"
#include "kxRuzoVori/json/wxJSONValue.h"

namespace
{
// A fresh map grows from a few buckets: objects in real documents are small and many, and the
// toolkit's default of about a hundred buckets would cost every object almost a kilobyte.
const size_t kMapInitialBuckets = 0;

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

wxJSONRefData::~wxJSONRefData()
{
    delete m_valArray;
    DeleteMap(m_valMap);
    delete m_memBuff;
    delete m_comments;
}

void* wxJSONValue::operator new(size_t size)
{
    return wxJSONNewRecord<wxJSONValue>(wxJSONBLOCK_HANDLE, size);
}

void wxJSONValue::operator delete(void* p, size_t size)
{
    wxJSONDeleteRecord<wxJSONValue>(p, size);
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
        data->m_valMap = NewMap(kMapInitialBuckets);
    return *data->m_valMap;
}
