// JSON values: the elements of arrays, the members of objects, comments, and comparison.
#include "kxRuzoVori/json/wxJSONValue.h"

#include <cstring>
#include <utility>
#include <vector>

namespace
{
const wxArrayString& EmptyComments()
{
    static const wxArrayString empty;
    return empty;
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

// containers

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
    // A handle without data answers as a new, invalid value does.
    return m_refData ? m_refData->m_commentPos : wxJSONVALUE_COMMENT_BEFORE;
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

// comparison

namespace
{
// Compares two values without looking into their elements or members: 1 when equal, 0 when not,
// and -1 for two arrays or two objects of one size, whose content then decides.
int CompareShallow(const wxJSONValue& a, const wxJSONValue& b)
{
    const wxJSONRefData* d1 = a.GetRefData();
    const wxJSONRefData* d2 = b.GetRefData();
    if (d1 == d2)
        return 1;
    wxJSONType t1 = d1 ? d1->m_type : wxJSONTYPE_INVALID;
    wxJSONType t2 = d2 ? d2->m_type : wxJSONTYPE_INVALID;
    if (t1 != t2)
    {
        const wxJSONValue* x = &a;
        const wxJSONValue* y = &b;
        if (t2 == wxJSONTYPE_DOUBLE)
        {
            std::swap(x, y);
            std::swap(t1, t2);
        }
        if (t1 == wxJSONTYPE_DOUBLE)
        {
            if (t2 == wxJSONTYPE_INT)
                return x->AsDouble() == static_cast<double>(y->AsInt64());
            if (t2 == wxJSONTYPE_UINT)
                return x->AsDouble() == UIntAsDouble(y->AsUInt64());
            return 0;
        }
        if ((t1 == wxJSONTYPE_INT && t2 == wxJSONTYPE_UINT) ||
            (t1 == wxJSONTYPE_UINT && t2 == wxJSONTYPE_INT))
            return a.AsUInt64() == b.AsUInt64() && a.AsUInt64() < (1ULL << 63);
        return 0;
    }

    switch (t1)
    {
    case wxJSONTYPE_INVALID:
    case wxJSONTYPE_NULL:
        return 1;
    case wxJSONTYPE_INT:
    case wxJSONTYPE_UINT:
        return a.AsUInt64() == b.AsUInt64();
    case wxJSONTYPE_BOOL:
        return a.AsBool() == b.AsBool();
    case wxJSONTYPE_DOUBLE:
        return a.AsDouble() == b.AsDouble();
    case wxJSONTYPE_STRING:
        return d1->m_valString == d2->m_valString;
    case wxJSONTYPE_ARRAY:
    case wxJSONTYPE_OBJECT:
        if (a.Size() != b.Size())
            return 0;
        return a.Size() == 0 ? 1 : -1;
    case wxJSONTYPE_MEMORYBUFF:
        return wxJSONValue::CompareMemoryBuff(a.AsMemoryBuff(), b.AsMemoryBuff()) == 0;
    default:
        return 0;
    }
}
} // namespace

bool wxJSONValue::IsSameAs(const wxJSONValue& other) const
{
    int same = CompareShallow(*this, other);
    if (same >= 0)
        return same == 1;
    // The pairs still to compare wait in a list rather than on the stack, so that no depth of
    // tree a host can build exhausts it. A member the other object lacks compares with an
    // invalid value, as the other's ItemAt gives it.
    static const wxJSONValue missing{NoData()};
    std::vector<std::pair<const wxJSONValue*, const wxJSONValue*>> pending{{this, &other}};
    while (!pending.empty())
    {
        const auto [a, b] = pending.back();
        pending.pop_back();
        same = CompareShallow(*a, *b);
        if (same == 0)
            return false;
        if (same == 1)
            continue;
        const wxJSONRefData* d1 = a->m_refData;
        const wxJSONRefData* d2 = b->m_refData;
        if (d1->m_type == wxJSONTYPE_ARRAY)
        {
            for (size_t i = d1->m_valArray->GetCount(); i-- > 0;)
                pending.emplace_back(&d1->m_valArray->Item(i), &d2->m_valArray->Item(i));
            continue;
        }
        for (const auto& member : *d1->m_valMap)
        {
            const wxJSONValue* match = b->Find(member.first);
            pending.emplace_back(&member.second, match ? match : &missing);
        }
    }
    return true;
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
