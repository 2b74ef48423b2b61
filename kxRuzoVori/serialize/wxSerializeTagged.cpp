// The serialization stream: the tagged writers and readers, and the stream operators built on them.
#include "kxRuzoVori/serialize/wxSerialize.h"

#include "kxRuzoVori/serialize/private/wxSerializeFormat.h"

#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

using namespace wxSerializeFormat;

bool wxSerialize::WriteBool(bool value)
{
    if (CanStore())
    {
        const unsigned char bytes[] = {kTagBool, static_cast<unsigned char>(value ? 1 : 0)};
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteUint8(unsigned char value)
{
    if (CanStore())
    {
        const unsigned char bytes[] = {kTagUint8, value};
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteUint16(unsigned short value)
{
    if (CanStore())
    {
        unsigned char bytes[3] = {kTagUint16};
        kxPutBE16(bytes + 1, value);
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteUint32(unsigned int value)
{
    if (CanStore())
    {
        unsigned char bytes[5] = {kTagUint32};
        kxPutBE32(bytes + 1, value);
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteUint64(unsigned long long value)
{
    if (CanStore())
    {
        unsigned char bytes[9] = {kTagUint64};
        kxPutBE64(bytes + 1, value);
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteInt(int value)
{
    if (CanStore())
    {
        unsigned char bytes[6] = {kTagInt, 4};
        kxPutBE32(bytes + 2, static_cast<wxUint32>(value));
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteIntInt(int value1, int value2)
{
    if (CanStore())
    {
        unsigned char bytes[10] = {kTagIntInt, 4};
        kxPutBE32(kxPutBE32(bytes + 2, static_cast<wxUint32>(value1)),
                  static_cast<wxUint32>(value2));
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteLongLong(const wxLongLongNative& value)
{
    if (CanStore())
    {
        unsigned char bytes[9] = {kTagLongLong};
        kxPutBE64(bytes + 1, static_cast<wxUint64>(value.GetValue()));
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteDouble(double value)
{
    if (CanStore())
    {
        unsigned char bytes[1 + kDoubleSize] = {kTagDouble};
        PutExtended(bytes + 1, value);
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::WriteString(const wxString& value)
{
    if (CanStore())
    {
        ByteSink sink(m_odstr);
        sink.Put8(kTagString);
        sink.PutString(value);
    }
    return IsOk();
}

bool wxSerialize::WriteArrayString(const wxArrayString& value)
{
    if (CanStore())
    {
        ByteSink sink(m_odstr);
        sink.Put8(kTagArrayString);
        sink.Put32(static_cast<wxUint32>(value.size()));
        for (const wxString& text : value)
            sink.PutString(text);
    }
    return IsOk();
}

bool wxSerialize::WriteArrayInt(const wxArrayInt& value)
{
    if (CanStore())
    {
        ByteSink sink(m_odstr);
        sink.Put8(kTagArrayInt);
        sink.Put32(static_cast<wxUint32>(value.size()));
        for (int number : value)
            sink.Put32(static_cast<wxUint32>(number));
    }
    return IsOk();
}

bool wxSerialize::WriteDateTime(const wxDateTime& value)
{
    if (CanStore())
    {
        unsigned char bytes[1 + kDateTimeSize] = {kTagDateTime};
        PutDate(bytes + 1, value);
        m_odstr.Write(bytes, sizeof bytes);
    }
    return IsOk();
}

bool wxSerialize::Write(const wxMemoryBuffer& buffer)
{
    if (CanStore())
    {
        const size_t length = buffer.GetDataLen();
        unsigned char bytes[5] = {kTagRecord};
        kxPutBE32(bytes + 1, static_cast<wxUint32>(length));
        m_odstr.Write(bytes, sizeof bytes);
        if (length != 0 && m_odstr.IsOk())
            m_odstr.Write(buffer.GetData(), length);
    }
    return IsOk();
}

bool wxSerialize::WriteBitmap(const wxBitmap& bitmap)
{
    if (!CanStore() || !bitmap.IsOk())
        return false;
    AddImageHandlers();
    const wxImage image = bitmap.ConvertToImage();
    if (!image.IsOk())
        return false;
    wxMemoryBuffer bytes;
    {
        // A failed encoding is answered by the fallback or the result, not by the log.
        wxLogNull quiet;
        const wxBitmapType types[] = {wxBITMAP_TYPE_PNG, wxBITMAP_TYPE_JPEG};
        for (wxBitmapType type : types)
        {
            wxMemoryOutputStream encoded;
            if (image.SaveFile(encoded, type) && encoded.GetLength() > 0)
            {
                const size_t length = static_cast<size_t>(encoded.GetLength());
                encoded.CopyTo(bytes.GetWriteBuf(length), length);
                bytes.UngetWriteBuf(length);
                break;
            }
        }
    }
    if (bytes.GetDataLen() == 0)
        return false;
    SaveChar(kTagBitmap);
    return Write(bytes);
}

// ---- tagged readers

bool wxSerialize::ReadBool(bool& value)
{
    unsigned char byte;
    if (!LoadItem(kTagBool, &byte, 1) || !IsOk())
        return false;
    value = byte != 0;
    return true;
}

bool wxSerialize::ReadUint8(unsigned char& value)
{
    unsigned char byte;
    if (!LoadItem(kTagUint8, &byte, 1) || !IsOk())
        return false;
    value = byte;
    return true;
}

bool wxSerialize::ReadUint16(unsigned short& value)
{
    unsigned char bytes[2];
    if (!LoadItem(kTagUint16, bytes, sizeof bytes) || !IsOk())
        return false;
    value = kxGetBE16(bytes);
    return true;
}

bool wxSerialize::ReadUint32(unsigned int& value)
{
    unsigned char bytes[4];
    if (!LoadItem(kTagUint32, bytes, sizeof bytes) || !IsOk())
        return false;
    value = kxGetBE32(bytes);
    return true;
}

bool wxSerialize::ReadUint64(unsigned long long& value)
{
    unsigned char bytes[8];
    if (!LoadItem(kTagUint64, bytes, sizeof bytes) || !IsOk())
        return false;
    value = kxGetBE64(bytes);
    return true;
}

bool wxSerialize::ReadInt(int& value)
{
    unsigned char size;
    if (!LoadItem(kTagInt, &size, 1))
        return false;
    const int loaded = LoadSizedInt(size);
    if (!IsOk())
        return false;
    value = loaded;
    return true;
}

bool wxSerialize::ReadIntInt(int& value1, int& value2)
{
    unsigned char size;
    if (!LoadItem(kTagIntInt, &size, 1))
        return false;
    const int first = LoadSizedInt(size);
    const int second = LoadSizedInt(size);
    if (!IsOk())
        return false;
    value1 = first;
    value2 = second;
    return true;
}

bool wxSerialize::ReadLongLong(wxLongLongNative& value)
{
    unsigned char bytes[8];
    if (!LoadItem(kTagLongLong, bytes, sizeof bytes) || !IsOk())
        return false;
    value = wxLongLongNative(static_cast<wxLongLong_t>(kxGetBE64(bytes)));
    return true;
}

bool wxSerialize::ReadDouble(double& value)
{
    unsigned char bytes[kDoubleSize];
    if (!LoadItem(kTagDouble, bytes, sizeof bytes) || !IsOk())
        return false;
    value = GetExtended(bytes);
    return true;
}

bool wxSerialize::ReadString(wxString& value)
{
    unsigned char count[4];
    if (!LoadItem(kTagString, count, sizeof count))
        return false;
    wxString loaded;
    LoadUnits(kxGetBE32(count), loaded);
    if (!IsOk())
        return false;
    value.swap(loaded);
    return true;
}

bool wxSerialize::ReadArrayString(wxArrayString& value)
{
    unsigned char count[4];
    if (!LoadItem(kTagArrayString, count, sizeof count))
        return false;
    const wxArrayString loaded = LoadStrings(kxGetBE32(count));
    if (!IsOk())
        return false;
    value = loaded;
    return true;
}

bool wxSerialize::ReadArrayInt(wxArrayInt& value)
{
    unsigned char count[4];
    if (!LoadItem(kTagArrayInt, count, sizeof count))
        return false;
    const wxArrayInt loaded = LoadInts(kxGetBE32(count));
    if (!IsOk())
        return false;
    value = loaded;
    return true;
}

bool wxSerialize::ReadDateTime(wxDateTime& value)
{
    unsigned char bytes[kDateTimeSize];
    if (!LoadItem(kTagDateTime, bytes, sizeof bytes) || !IsOk())
        return false;
    value = GetDate(bytes);
    return true;
}

bool wxSerialize::Read(wxMemoryBuffer& buffer)
{
    if (LoadChunkHeader(kTagRecord) != kTagRecord)
        return false;
    Load(buffer);
    return true;
}

bool wxSerialize::ReadBitmap(wxBitmap& bitmap)
{
    if (LoadChunkHeader(kTagBitmap) == 0)
        return false;
    // A record that holds no image is still a record read: the bitmap becomes an invalid one,
    // which the caller tells by its IsOk().
    const wxBitmap loaded = LoadBitmap();
    if (!IsOk())
        return false;
    bitmap = loaded;
    return true;
}

// ---- stream operators

wxSerialize& wxSerialize::operator<<(unsigned char value)
{
    WriteUint8(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(unsigned short value)
{
    WriteUint16(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(unsigned int value)
{
    WriteUint32(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(wxLongLongNative value)
{
    WriteLongLong(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(unsigned long long value)
{
    WriteUint64(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(int value)
{
    WriteInt(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxString& value)
{
    WriteString(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxArrayInt& value)
{
    WriteArrayInt(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxArrayString& value)
{
    WriteArrayString(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wchar_t* value)
{
    WriteString(value != nullptr ? wxString(value) : wxString());
    return *this;
}

wxSerialize& wxSerialize::operator<<(bool value)
{
    WriteBool(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(double value)
{
    WriteDouble(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxDateTime& value)
{
    WriteDateTime(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxBitmap& value)
{
    WriteBitmap(value);
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxSize& value)
{
    WriteIntInt(value.GetWidth(), value.GetHeight());
    return *this;
}

wxSerialize& wxSerialize::operator<<(const wxPoint& value)
{
    WriteIntInt(value.x, value.y);
    return *this;
}

wxSerialize& wxSerialize::operator>>(unsigned char& value)
{
    ReadUint8(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(unsigned short& value)
{
    ReadUint16(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(unsigned int& value)
{
    ReadUint32(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxLongLongNative& value)
{
    ReadLongLong(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(unsigned long long& value)
{
    ReadUint64(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(int& value)
{
    ReadInt(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxString& value)
{
    ReadString(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxArrayInt& value)
{
    ReadArrayInt(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxArrayString& value)
{
    ReadArrayString(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(bool& value)
{
    ReadBool(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(double& value)
{
    ReadDouble(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxBitmap& value)
{
    ReadBitmap(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxDateTime& value)
{
    ReadDateTime(value);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxSize& value)
{
    int width;
    int height;
    if (ReadIntInt(width, height))
        value = wxSize(width, height);
    return *this;
}

wxSerialize& wxSerialize::operator>>(wxPoint& value)
{
    int x;
    int y;
    if (ReadIntInt(x, y))
        value = wxPoint(x, y);
    return *this;
}
