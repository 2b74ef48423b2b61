// Writing then reading a million mixed values through memory streams with the tagged stream,
// against the toolkit's own data streams doing the same values in the same order.
#include "kxRuzoVori/serialize/wxSerialize.h"
#include "support/kxBenchSupport.h"

#include <wx/datstrm.h>
#include <wx/init.h>
#include <wx/mstream.h>

#include <cstdio>
#include <vector>

namespace
{
const int kItems = 1000000;
const int kKinds = 4; // 32-bit unsigned, 16-character text, double, bool

struct Values
{
    std::vector<wxString> m_texts;
    std::vector<double> m_doubles;
};

Values MakeValues()
{
    Values values;
    for (int i = 0; i < 1024; ++i)
    {
        values.m_texts.push_back(wxString::Format(wxS("item-%05d-abcdef"), i).Left(16));
        values.m_doubles.push_back(i * 1.000123 - 300.5);
    }
    return values;
}

// Checks a value read back, so that neither side can skip its work.
void Check(bool same, long& mismatches)
{
    if (!same)
        ++mismatches;
}
} // namespace

int main()
{
    wxInitializer toolkit;
    const Values values = MakeValues();
    long mismatches = 0;
    size_t libraryBytes = 0;
    size_t peerBytes = 0;

    printf("%d items (%d of each of 4 kinds), written then read through memory streams\n", kItems,
           kItems / kKinds);
    const kxBenchResult result = kxBenchCompare(
        "serialize-vs-datastream",
        [&]
        {
            wxMemoryOutputStream out;
            {
                wxSerialize writer(out, 1);
                for (int i = 0; i < kItems / kKinds; ++i)
                {
                    writer.WriteUint32(static_cast<unsigned int>(i));
                    writer.WriteString(values.m_texts[i & 1023]);
                    writer.WriteDouble(values.m_doubles[i & 1023]);
                    writer.WriteBool((i & 1) != 0);
                }
            }
            libraryBytes = static_cast<size_t>(out.GetLength());
            wxMemoryInputStream in(out);
            wxSerialize reader(in, 1);
            unsigned int number;
            wxString text;
            double real;
            bool flag;
            for (int i = 0; i < kItems / kKinds; ++i)
            {
                reader.ReadUint32(number);
                reader.ReadString(text);
                reader.ReadDouble(real);
                reader.ReadBool(flag);
                Check(number == static_cast<unsigned int>(i) && flag == ((i & 1) != 0) &&
                          real == values.m_doubles[i & 1023] && text.length() == 16,
                      mismatches);
            }
        },
        [&]
        {
            wxMemoryOutputStream out;
            {
                wxDataOutputStream writer(out);
                writer.BigEndianOrdered(true);
                for (int i = 0; i < kItems / kKinds; ++i)
                {
                    writer.Write32(static_cast<wxUint32>(i));
                    writer.WriteString(values.m_texts[i & 1023]);
                    writer.WriteDouble(values.m_doubles[i & 1023]);
                    writer.Write8((i & 1) != 0);
                }
            }
            peerBytes = static_cast<size_t>(out.GetLength());
            wxMemoryInputStream in(out);
            wxDataInputStream reader(in);
            reader.BigEndianOrdered(true);
            for (int i = 0; i < kItems / kKinds; ++i)
            {
                const wxUint32 number = reader.Read32();
                const wxString text = reader.ReadString();
                const double real = reader.ReadDouble();
                const bool flag = reader.Read8() != 0;
                Check(number == static_cast<wxUint32>(i) && flag == ((i & 1) != 0) &&
                          real == values.m_doubles[i & 1023] && text.length() == 16,
                      mismatches);
            }
        },
        0, 7);
    printf("stream sizes: library %zu bytes, peer %zu bytes\n", libraryBytes, peerBytes);
    printf("items per second: library %.1f M, peer %.1f M\n", kItems / result.m_library / 1e6,
           kItems / result.m_peer / 1e6);
    if (mismatches != 0)
    {
        printf("read back %ld wrong values\n", mismatches);
        return 1;
    }
    return 0;
}
