// Writing and reading back every kind of value, and the exact bytes other programs rely on.
#include "kxRuzoVori/serialize/wxSerialize.h"
#include "wxSerializeSupport.h"

#include <gtest/gtest.h>
#include <wx/math.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace
{
wxString Utf8(const char* text)
{
    return wxString::FromUTF8(text);
}

// The payload of the one double item a stream of version 1 and no header holds.
std::string ExtendedBytesOf(double value)
{
    wxMemoryOutputStream out;
    wxSerialize writer(out, 1);
    EXPECT_TRUE(writer.WriteDouble(value));
    const std::string bytes = BytesOf(out);
    EXPECT_EQ(bytes.size(), 8u + 1 + 10);
    EXPECT_EQ(bytes[8], 'd');
    return bytes.substr(9);
}

double ReadBackExtended(const std::string& payload)
{
    const std::string bytes = FromHex("00000000 00000001 64") + payload;
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    double value = 1234.5;
    EXPECT_TRUE(reader.ReadDouble(value));
    return value;
}

wxUint64 BitsOf(double value)
{
    wxUint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double FromBits(wxUint64 bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
} // namespace

TEST(wxSerializeBytes, HeaderlessRecordOfAThirtyTwoBitValue)
{
    wxMemoryOutputStream out;
    wxSerialize writer(out, 1, wxEmptyString);
    EXPECT_TRUE(writer.WriteUint32(0x1234));
    EXPECT_EQ(ToHex(BytesOf(out)), "00000000"
                                   "00000001"
                                   "6C"
                                   "00001234");
}

TEST(wxSerializeBytes, ProcessIdRecordAsTheCommandChannelSendsIt)
{
    wxMemoryOutputStream out;
    wxSerialize writer(out, 1, wxEmptyString);
    EXPECT_TRUE(writer.WriteUint32(1234));
    const std::string bytes = BytesOf(out);
    EXPECT_EQ(bytes.size(), 13u);
    EXPECT_EQ(ToHex(bytes), "00000000000000016C000004D2");

    // And the client side: any header, any version.
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in, 0, wxEmptyString);
    unsigned int pid = 0;
    EXPECT_TRUE(reader.ReadUint32(pid));
    EXPECT_EQ(pid, 1234u);
}

TEST(wxSerializeBytes, IntsAreSizedAndReadBackByTheirSize)
{
    wxMemoryOutputStream out;
    wxSerialize writer(out, 1);
    writer.WriteInt(-1);
    writer.WriteIntInt(-2, 0x01020304);
    EXPECT_EQ(ToHex(BytesOf(out).substr(8)), "6904FFFFFFFF"
                                             "4904FFFFFFFE01020304");

    // Other writers may use narrower or wider sizes; narrow ones are not sign-extended.
    const std::string bytes = FromHex("00000000 00000001"
                                      "69 02 FFFF"
                                      "69 01 80"
                                      "69 08 FFFFFFFF 80000001"
                                      "49 02 0001 FFFE");
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    int value = 0;
    EXPECT_TRUE(reader.ReadInt(value));
    EXPECT_EQ(value, 65535);
    EXPECT_TRUE(reader.ReadInt(value));
    EXPECT_EQ(value, 128);
    EXPECT_TRUE(reader.ReadInt(value));
    EXPECT_EQ(value, static_cast<int>(0x80000001u));
    int first = 0;
    int second = 0;
    EXPECT_TRUE(reader.ReadIntInt(first, second));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 65534);
    EXPECT_TRUE(reader.IsOk());
}

TEST(wxSerializeBytes, EveryFixedSizeItemIsBigEndian)
{
    wxMemoryOutputStream out;
    wxSerialize writer(out, 7, wxS("Hi"));
    writer.WriteBool(true);
    writer.WriteUint8(0xAB);
    writer.WriteUint16(0x1234);
    writer.WriteUint64(0x0102030405060708ULL);
    writer.WriteLongLong(wxLongLongNative(-2));
    writer.WriteDouble(1.0);
    writer.WriteString(wxS("A"));
    writer.WriteString(wxEmptyString);
    writer.WriteArrayString(wxArrayString());
    writer.WriteArrayInt(wxArrayInt());
    wxMemoryBuffer record;
    record.AppendData("xyz", 3);
    writer.Write(record);
    writer.Write(wxMemoryBuffer());
    EXPECT_TRUE(writer.EnterObject());
    EXPECT_TRUE(writer.LeaveObject());
    EXPECT_EQ(ToHex(BytesOf(out)), "00000002"
                                   "00480069"
                                   "00000007"
                                   "6201"
                                   "63AB"
                                   "771234"
                                   "710102030405060708"
                                   "4CFFFFFFFFFFFFFFFE"
                                   "643FFF8000000000000000"
                                   "73000000010041"
                                   "7300000000"
                                   "6100000000"
                                   "4100000000"
                                   "720000000378797A"
                                   "7200000000"
                                   "3C3E");
}

TEST(wxSerializeValues, EveryKindRoundTrips)
{
    wxArrayString texts;
    texts.Add(wxS("one"));
    texts.Add(wxEmptyString);
    texts.Add(Utf8("dr\xc3\xa9i \xf0\x9f\x98\x80"));
    wxArrayInt numbers;
    numbers.Add(0);
    numbers.Add(-1);
    numbers.Add(std::numeric_limits<int>::min());
    numbers.Add(std::numeric_limits<int>::max());
    wxMemoryBuffer record;
    for (int i = 0; i < 300; ++i)
        record.AppendByte(static_cast<char>(i));
    const wxDateTime when(5, wxDateTime::Dec, 2026, 13, 14, 15, 678);

    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 3, wxS("round trip"));
        EXPECT_TRUE(writer.WriteBool(false));
        EXPECT_TRUE(writer.WriteUint8(255));
        EXPECT_TRUE(writer.WriteUint16(65535));
        EXPECT_TRUE(writer.WriteUint32(4000000000u));
        EXPECT_TRUE(writer.WriteUint64(18000000000000000000ULL));
        EXPECT_TRUE(writer.WriteInt(-123456));
        EXPECT_TRUE(writer.WriteIntInt(-5, 6));
        EXPECT_TRUE(writer.WriteLongLong(wxLongLongNative(wxLL(-9000000000000000000))));
        EXPECT_TRUE(writer.WriteDouble(-2.5e-300));
        EXPECT_TRUE(writer.WriteString(Utf8("caf\xc3\xa9 \xf0\x90\x80\x80!")));
        EXPECT_TRUE(writer.WriteArrayString(texts));
        EXPECT_TRUE(writer.WriteArrayInt(numbers));
        EXPECT_TRUE(writer.WriteDateTime(when));
        EXPECT_TRUE(writer.Write(record));
        EXPECT_EQ(writer.GetStatusVersion(), 3u);
        EXPECT_EQ(writer.GetStatusHeader(), wxS("round trip"));
        EXPECT_FALSE(writer.Eof());
    }
    const std::string bytes = BytesOf(out);
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in, 3, wxS("round trip"));
    ASSERT_TRUE(reader.IsOk());
    EXPECT_EQ(reader.GetStatusVersion(), 3u);
    EXPECT_EQ(reader.GetStatusHeader(), wxS("round trip"));

    bool flag = true;
    unsigned char u8 = 0;
    unsigned short u16 = 0;
    unsigned int u32 = 0;
    unsigned long long u64 = 0;
    int i = 0, a = 0, b = 0;
    wxLongLongNative ll;
    double d = 0;
    wxString text;
    wxArrayString textsBack;
    wxArrayInt numbersBack;
    wxDateTime whenBack;
    wxMemoryBuffer recordBack;
    EXPECT_TRUE(reader.ReadBool(flag));
    EXPECT_FALSE(flag);
    EXPECT_TRUE(reader.ReadUint8(u8));
    EXPECT_EQ(u8, 255);
    EXPECT_TRUE(reader.ReadUint16(u16));
    EXPECT_EQ(u16, 65535);
    EXPECT_TRUE(reader.ReadUint32(u32));
    EXPECT_EQ(u32, 4000000000u);
    EXPECT_TRUE(reader.ReadUint64(u64));
    EXPECT_EQ(u64, 18000000000000000000ULL);
    EXPECT_TRUE(reader.ReadInt(i));
    EXPECT_EQ(i, -123456);
    EXPECT_TRUE(reader.ReadIntInt(a, b));
    EXPECT_EQ(a, -5);
    EXPECT_EQ(b, 6);
    EXPECT_TRUE(reader.ReadLongLong(ll));
    EXPECT_EQ(ll.GetValue(), wxLL(-9000000000000000000));
    EXPECT_TRUE(reader.ReadDouble(d));
    EXPECT_EQ(d, -2.5e-300);
    EXPECT_TRUE(reader.ReadString(text));
    EXPECT_EQ(text, Utf8("caf\xc3\xa9 \xf0\x90\x80\x80!"));
    EXPECT_TRUE(reader.ReadArrayString(textsBack));
    EXPECT_EQ(textsBack, texts);
    EXPECT_TRUE(reader.ReadArrayInt(numbersBack));
    EXPECT_EQ(numbersBack, numbers);
    EXPECT_TRUE(reader.ReadDateTime(whenBack));
    EXPECT_EQ(whenBack, when);
    EXPECT_EQ(whenBack.GetMillisecond(), 678);
    EXPECT_TRUE(reader.Read(recordBack));
    ASSERT_EQ(recordBack.GetDataLen(), record.GetDataLen());
    EXPECT_EQ(std::memcmp(recordBack.GetData(), record.GetData(), 300), 0);
    EXPECT_TRUE(reader.IsOk());
    EXPECT_EQ(reader.GetErrorCode(), 0);
    EXPECT_TRUE(reader.GetErrorMessage().empty());

    // Nothing is left: the next read meets the end of the stream.
    LogCatcher log;
    EXPECT_FALSE(reader.ReadBool(flag));
    EXPECT_EQ(reader.GetErrorCode(), -1);
    EXPECT_EQ(reader.GetErrorMessage(), wxS("End of stream error while reading!"));
}

TEST(wxSerializeValues, StreamOperatorsUseTheTaggedItems)
{
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        wxArrayInt numbers;
        numbers.Add(7);
        wxArrayString texts;
        texts.Add(wxS("t"));
        writer << static_cast<unsigned char>(1) << static_cast<unsigned short>(2) << 3u
               << wxLongLongNative(-4) << 5ULL << -6 << wxString(wxS("seven")) << numbers << texts
               << L"wide" << true << 0.125 << wxDateTime(1, wxDateTime::Jan, 2000)
               << wxSize(640, 480) << wxPoint(-3, 4);
        EXPECT_TRUE(writer.IsOk());
    }
    const std::string bytes = BytesOf(out);
    // Tags in the order written: c w l L q i s A a s b d t I I.
    EXPECT_EQ(bytes.substr(8, 3), "c\x01w");

    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    unsigned char u8 = 0;
    unsigned short u16 = 0;
    unsigned int u32 = 0;
    wxLongLongNative ll;
    unsigned long long u64 = 0;
    int i = 0;
    wxString s, w;
    wxArrayInt numbers;
    wxArrayString texts;
    bool flag = false;
    double d = 0;
    wxDateTime date;
    wxSize size;
    wxPoint point;
    reader >> u8 >> u16 >> u32 >> ll >> u64 >> i >> s >> numbers >> texts >> w >> flag >> d >>
        date >> size >> point;
    EXPECT_TRUE(reader.IsOk());
    EXPECT_EQ(u8, 1);
    EXPECT_EQ(u16, 2);
    EXPECT_EQ(u32, 3u);
    EXPECT_EQ(ll.GetValue(), -4);
    EXPECT_EQ(u64, 5u);
    EXPECT_EQ(i, -6);
    EXPECT_EQ(s, wxS("seven"));
    ASSERT_EQ(numbers.size(), 1u);
    EXPECT_EQ(numbers[0], 7);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], wxS("t"));
    EXPECT_EQ(w, wxS("wide"));
    EXPECT_TRUE(flag);
    EXPECT_EQ(d, 0.125);
    EXPECT_EQ(date, wxDateTime(1, wxDateTime::Jan, 2000));
    EXPECT_EQ(size, wxSize(640, 480));
    EXPECT_EQ(point, wxPoint(-3, 4));
}

TEST(wxSerializeValues, TextsCountUtf16CodeUnits)
{
    // U+1F600 is the surrogate pair D83D DE00; U+00E9 is one unit.
    const wxString text = Utf8("\xc3\xa9\xf0\x9f\x98\x80");
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1, Utf8("\xf0\x9f\x98\x80"));
        writer.WriteString(text);
    }
    const std::string bytes = BytesOf(out);
    EXPECT_EQ(ToHex(bytes), "00000002D83DDE00"
                            "00000001"
                            "73"
                            "00000003"
                            "00E9D83DDE00");

    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in, 1, Utf8("\xf0\x9f\x98\x80"));
    wxString back;
    EXPECT_TRUE(reader.ReadString(back));
    EXPECT_EQ(back, text);
    EXPECT_EQ(back.length(), 2u);
}

TEST(wxSerializeValues, UnpairedSurrogatesSurviveARoundTrip)
{
    // A stream from another writer may hold a lone half of a pair; it reads as that unit.
    const std::string bytes = FromHex("00000000 00000001"
                                      "73 00000003 D800 0041 DC00"
                                      "73 00000001 D83D");
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    wxString first, second;
    EXPECT_TRUE(reader.ReadString(first));
    EXPECT_TRUE(reader.ReadString(second));
    ASSERT_EQ(first.length(), 3u);
    EXPECT_EQ(static_cast<wxUint32>(first[0]), 0xD800u);
    EXPECT_EQ(first[1], wxS('A'));
    EXPECT_EQ(static_cast<wxUint32>(first[2]), 0xDC00u);
    ASSERT_EQ(second.length(), 1u);

    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        writer.WriteString(first);
        writer.WriteString(second);
    }
    EXPECT_EQ(BytesOf(out), bytes);
}

TEST(wxSerializeValues, LongTextsCrossReadPieces)
{
    // Long enough that pairs straddle the reader's internal pieces.
    wxString text;
    for (int i = 0; i < 5000; ++i)
        text += Utf8(i % 3 == 0 ? "\xf0\x9f\x98\x80" : "x");
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        writer.WriteString(text);
    }
    const std::string bytes = BytesOf(out);
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    wxString back;
    EXPECT_TRUE(reader.ReadString(back));
    EXPECT_EQ(back, text);

    UnsizedInputStream unsized(bytes);
    wxSerialize unsizedReader(unsized);
    wxString fromPipe;
    EXPECT_TRUE(unsizedReader.ReadString(fromPipe));
    EXPECT_EQ(fromPipe, text);
}

TEST(wxSerializeValues, RecordsFillTheCallersBuffer)
{
    wxMemoryBuffer big;
    for (int i = 0; i < 200000; ++i)
        big.AppendByte(static_cast<char>(i * 7));
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        writer.Write(big);
        writer.Write(wxMemoryBuffer());
    }
    const std::string bytes = BytesOf(out);
    for (int sized = 0; sized < 2; ++sized)
    {
        wxMemoryInputStream memory(bytes.data(), bytes.size());
        UnsizedInputStream pipe(bytes);
        wxInputStream& in = sized ? static_cast<wxInputStream&>(memory) : pipe;
        wxSerialize reader(in);
        wxMemoryBuffer back(16);
        back.AppendData("old", 3);
        EXPECT_TRUE(reader.Read(back));
        ASSERT_EQ(back.GetDataLen(), big.GetDataLen());
        EXPECT_EQ(std::memcmp(back.GetData(), big.GetData(), big.GetDataLen()), 0);
        EXPECT_TRUE(reader.Read(back));
        EXPECT_EQ(back.GetDataLen(), 0u);
        EXPECT_TRUE(reader.IsOk());
    }
}

TEST(wxSerializeValues, DatesAreLocalTimeFields)
{
    const wxDateTime when(5, wxDateTime::Dec, 2026, 13, 14, 15, 678);
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        writer.WriteDateTime(when);
        writer.WriteDateTime(wxDateTime());
    }
    const std::string bytes = BytesOf(out);
    EXPECT_EQ(ToHex(bytes.substr(8)), "74"
                                      "050B07EA0D0E0F02A6"
                                      "74"
                                      "000000000000000000");

    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    wxDateTime back;
    EXPECT_TRUE(reader.ReadDateTime(back));
    EXPECT_EQ(back, when);
    EXPECT_TRUE(reader.ReadDateTime(back));
    EXPECT_FALSE(back.IsValid());
}

TEST(wxSerializeValues, ImpossibleDateFieldsReadAsAnInvalidDate)
{
    // 31 February, month 12, hour 24, millisecond 1000: no calendar has them.
    const std::string bytes = FromHex("00000000 00000001"
                                      "74 1F0107E80000000000"
                                      "74 010C07E80000000000"
                                      "74 010007E81800000000"
                                      "74 010007E800000003E8"
                                      "74 1D0107E8173B3B03E7");
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    for (int i = 0; i < 4; ++i)
    {
        wxDateTime back(1, wxDateTime::Jan, 2000);
        EXPECT_TRUE(reader.ReadDateTime(back));
        EXPECT_FALSE(back.IsValid()) << i;
    }
    wxDateTime leap;
    EXPECT_TRUE(reader.ReadDateTime(leap));
    EXPECT_EQ(leap, wxDateTime(29, wxDateTime::Feb, 2024, 23, 59, 59, 999));
}

TEST(wxSerializeDoubles, EveryDoubleRoundTripsExactly)
{
    const double specials[] = {0.0,
                               -0.0,
                               1.0,
                               -1.5,
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::min(),
                               std::numeric_limits<double>::denorm_min(),
                               -std::numeric_limits<double>::denorm_min() * 12345,
                               std::numeric_limits<double>::max(),
                               -std::numeric_limits<double>::lowest() / 3,
                               M_PI};
    for (double value : specials)
        EXPECT_EQ(BitsOf(ReadBackExtended(ExtendedBytesOf(value))), BitsOf(value)) << value;

    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(ReadBackExtended(ExtendedBytesOf(nan))));
    EXPECT_TRUE(std::signbit(ReadBackExtended(ExtendedBytesOf(-nan))));
    // A NaN keeps its payload.
    const double payload = FromBits(0x7FF8000000012345ULL);
    EXPECT_EQ(BitsOf(ReadBackExtended(ExtendedBytesOf(payload))), BitsOf(payload));

    std::mt19937_64 random(42);
    for (int i = 0; i < 20000; ++i)
    {
        const double value = FromBits(random());
        if (std::isnan(value))
            continue;
        ASSERT_EQ(BitsOf(ReadBackExtended(ExtendedBytesOf(value))), BitsOf(value)) << value;
    }
}

TEST(wxSerializeDoubles, SpecialValuesHaveTheirExtendedLayout)
{
    EXPECT_EQ(ToHex(ExtendedBytesOf(0.0)), "00000000000000000000");
    EXPECT_EQ(ToHex(ExtendedBytesOf(-0.0)), "80000000000000000000");
    EXPECT_EQ(ToHex(ExtendedBytesOf(std::numeric_limits<double>::infinity())),
              "7FFF8000000000000000");
    EXPECT_EQ(ToHex(ExtendedBytesOf(-std::numeric_limits<double>::infinity())),
              "FFFF8000000000000000");
    EXPECT_EQ(ToHex(ExtendedBytesOf(std::numeric_limits<double>::quiet_NaN())),
              "7FFFC000000000000000");
    EXPECT_EQ(ToHex(ExtendedBytesOf(std::numeric_limits<double>::denorm_min())),
              "3BCD8000000000000000");
    EXPECT_EQ(ToHex(ExtendedBytesOf(-2.0)), "C0008000000000000000");
}

#if defined(__x86_64__) || defined(__i386__)
// The hardware's own extended format is the reference: the same value as a long double, its
// ten bytes read from the most significant one.
TEST(wxSerializeDoubles, BytesMatchTheHardwareExtendedFormat)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i)
    {
        const double value = FromBits(random());
        const long double wide = value;
        unsigned char raw[sizeof(long double)] = {};
        std::memcpy(raw, &wide, sizeof wide);
        std::string expected;
        for (int k = 9; k >= 0; --k)
            expected += static_cast<char>(raw[k]);
        ASSERT_EQ(ToHex(ExtendedBytesOf(value)), ToHex(expected)) << value;
    }
}

TEST(wxSerializeDoubles, ArbitraryExtendedValuesRoundLikeTheHardware)
{
    std::mt19937_64 random(11);
    std::uniform_int_distribution<int> exponents(16383 - 1100, 16383 + 1100);
    for (int i = 0; i < 50000; ++i)
    {
        const wxUint64 mantissa = random() | (wxUint64(1) << 63);
        const int exponent = i % 10 == 0 ? static_cast<int>(random() & 0x7FFE) : exponents(random);
        const bool negative = (i & 1) != 0;
        unsigned char raw[sizeof(long double)] = {};
        std::memcpy(raw, &mantissa, 8);
        raw[8] = static_cast<unsigned char>(exponent);
        raw[9] = static_cast<unsigned char>((exponent >> 8) | (negative ? 0x80 : 0));
        long double wide;
        std::memcpy(&wide, raw, sizeof wide);
        std::string payload;
        for (int k = 9; k >= 0; --k)
            payload += static_cast<char>(raw[k]);
        ASSERT_EQ(BitsOf(ReadBackExtended(payload)), BitsOf(static_cast<double>(wide)))
            << ToHex(payload);
    }
}
#endif

TEST(wxSerializeDoubles, AgreesWithTheToolkitsConversionForFiniteValues)
{
    std::mt19937_64 random(3);
    for (int i = 0; i < 20000; ++i)
    {
        const double value = FromBits(random());
        if (!std::isfinite(value) || value == 0)
            continue;
        wxInt8 theirs[10];
        wxConvertToIeeeExtended(value, theirs);
        const std::string toolkit(reinterpret_cast<const char*>(theirs), 10);
        ASSERT_EQ(ToHex(ExtendedBytesOf(value)), ToHex(toolkit)) << value;
        // The toolkit reads the library's bytes back too.
        std::string ours = ExtendedBytesOf(value);
        ASSERT_EQ(wxConvertFromIeeeExtended(reinterpret_cast<const wxInt8*>(ours.data())), value);
    }
}

TEST(wxSerializeVersion, LibraryReportsOneDotTwo)
{
    EXPECT_EQ(wxSerialize::GetLibVersionMajor(), 1);
    EXPECT_EQ(wxSerialize::GetLibVersionMinor(), 2);
    EXPECT_EQ(wxSerialize::GetLibVersionString(), wxS("wxSerialize v1.2"));
}
