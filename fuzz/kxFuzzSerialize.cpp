// Arbitrary bytes read as a tagged stream through a fixed sequence of reads inside objects:
// every outcome must be a value or a recorded error, never a crash, a hang or a huge
// allocation, and every value read must write back and read again unchanged.
#include "kxRuzoVori/serialize/wxSerialize.h"

#include <wx/debug.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{
// Serves bytes without telling its length, so the reader must bound its counts itself.
class UnsizedInputStream : public wxInputStream
{
public:
    UnsizedInputStream(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

protected:
    size_t OnSysRead(void* buffer, size_t size) override
    {
        const size_t now = std::min(size, m_size - m_position);
        std::memcpy(buffer, m_data + m_position, now);
        m_position += now;
        if (now == 0)
            m_lasterror = wxSTREAM_EOF;
        return now;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};

// A toolkit assertion is a finding, not a message to print and pass over.
void AbortOnAssert(const wxString&, int, const wxString&, const wxString&, const wxString&)
{
    abort();
}

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Writes the values one round read and checks that they read back the same.
void CheckRoundTrip(unsigned int u32, const wxString& text, const wxArrayString& texts,
                    const wxArrayInt& numbers, double real, const wxMemoryBuffer& record)
{
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        writer << u32 << text << texts << numbers << real;
        writer.Write(record);
        Require(writer.IsOk());
    }
    wxMemoryInputStream in(out);
    wxSerialize reader(in, 1);
    unsigned int u32Back = 0;
    wxString textBack;
    wxArrayString textsBack;
    wxArrayInt numbersBack;
    double realBack = 0;
    wxMemoryBuffer recordBack;
    reader >> u32Back >> textBack >> textsBack >> numbersBack >> realBack;
    Require(reader.Read(recordBack) && reader.IsOk());
    Require(u32Back == u32 && textBack == text && textsBack == texts && numbersBack == numbers);
    Require(std::memcmp(&realBack, &real, sizeof real) == 0 ||
            (real != real && realBack != realBack));
    Require(recordBack.GetDataLen() == record.GetDataLen() &&
            (record.GetDataLen() == 0 ||
             std::memcmp(recordBack.GetData(), record.GetData(), record.GetDataLen()) == 0));
}

void ReadAll(wxInputStream& stream, bool checkHeader, size_t size)
{
    wxSerialize reader(stream, checkHeader ? 3 : 0, checkHeader ? wxS("fuzz") : wxEmptyString);
    for (int round = 0; round < 64 && reader.IsOk(); ++round)
    {
        bool flag;
        unsigned char u8;
        unsigned short u16;
        unsigned int u32 = 0;
        unsigned long long u64;
        int i, a, b;
        wxLongLongNative ll;
        double real = 0;
        wxString text;
        wxArrayString texts;
        wxArrayInt numbers;
        wxDateTime date;
        wxMemoryBuffer record;
        reader.EnterObject();
        reader.ReadBool(flag);
        reader.ReadUint8(u8);
        reader.ReadUint16(u16);
        const bool gotU32 = reader.ReadUint32(u32);
        reader.ReadUint64(u64);
        reader.ReadInt(i);
        reader.ReadIntInt(a, b);
        reader.ReadLongLong(ll);
        const bool gotReal = reader.ReadDouble(real);
        const bool gotText = reader.ReadString(text);
        const bool gotTexts = reader.ReadArrayString(texts);
        const bool gotNumbers = reader.ReadArrayInt(numbers);
        reader.ReadDateTime(date);
        const bool gotRecord = reader.Read(record) && reader.IsOk();
        reader.LeaveObject();

        // Nothing read can be larger than the input that carried it.
        Require(text.length() <= size && texts.size() <= size && numbers.size() <= size);
        Require(record.GetDataLen() <= size);
        if (gotU32 && gotReal && gotText && gotTexts && gotNumbers && gotRecord)
            CheckRoundTrip(u32, text, texts, numbers, real, record);
    }
    // A reader that stopped without its stream failing has recorded why.
    Require(reader.IsOk() || reader.GetErrorCode() != 0 || !stream.IsOk());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static wxInitializer toolkit;
    wxSetAssertHandler(AbortOnAssert);
    // Every bad input logs its error; the log would only slow the search down.
    wxLog::EnableLogging(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the stream kind and the header check; the rest is the stream.
    const uint8_t mode = data[0];
    ++data;
    --size;
    if (mode & 1)
    {
        UnsizedInputStream stream(data, size);
        ReadAll(stream, (mode & 2) != 0, size);
    }
    else
    {
        wxMemoryInputStream stream(data, size);
        ReadAll(stream, (mode & 2) != 0, size);
    }
    return 0;
}
