// JSON values: type names, texts of byte buffers, and descriptions of values for diagnostics.
#include "kxRuzoVori/json/wxJSONValue.h"

#include "kxRuzoVori/core/private/kxHex.h"

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
