// Header and version checks, the first-error rule and its messages, and bad input: corrupt
// counts, truncated streams and streams that fail.
#include "kxRuzoVori/serialize/wxSerialize.h"
#include "wxSerializeSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
std::string StreamWithVersion(unsigned int version, const wxString& header = wxEmptyString)
{
    wxMemoryOutputStream out;
    wxSerialize writer(out, version, header);
    writer.WriteUint8(1);
    return BytesOf(out);
}

// One item of every kind that needs no display, inside and outside an object.
std::string WriteOneOfEach()
{
    wxMemoryOutputStream out;
    wxSerialize writer(out, 4, wxS("every kind"));
    wxArrayString texts;
    texts.Add(wxS("alpha"));
    texts.Add(wxString::FromUTF8("\xf0\x9f\x98\x80"));
    wxArrayInt numbers;
    numbers.Add(1);
    numbers.Add(-2);
    wxMemoryBuffer record;
    record.AppendData("record", 6);
    writer.WriteBool(true);
    writer.WriteUint8(8);
    writer.WriteUint16(16);
    writer.WriteUint32(32);
    writer.WriteUint64(64);
    writer.WriteInt(-1);
    writer.WriteIntInt(2, 3);
    writer.WriteLongLong(wxLongLongNative(-64));
    writer.WriteDouble(0.5);
    writer.WriteString(wxS("text"));
    writer.WriteArrayString(texts);
    writer.WriteArrayInt(numbers);
    writer.WriteDateTime(wxDateTime(2, wxDateTime::Mar, 2021, 4, 5, 6));
    writer.Write(record);
    writer.EnterObject();
    writer.WriteString(wxS("skipped"));
    writer.WriteDouble(1.0);
    writer.LeaveObject();
    writer.WriteUint8(0xEE);
    EXPECT_TRUE(writer.IsOk());
    return BytesOf(out);
}

// Reads what WriteOneOfEach wrote; true when every read succeeded.
bool ReadOneOfEach(wxSerialize& reader)
{
    bool flag;
    unsigned char u8;
    unsigned short u16;
    unsigned int u32;
    unsigned long long u64;
    int i, a, b;
    wxLongLongNative ll;
    double d;
    wxString s;
    wxArrayString texts;
    wxArrayInt numbers;
    wxDateTime date;
    wxMemoryBuffer record;
    bool ok = reader.ReadBool(flag) & reader.ReadUint8(u8) & reader.ReadUint16(u16) &
              reader.ReadUint32(u32) & reader.ReadUint64(u64) & reader.ReadInt(i) &
              reader.ReadIntInt(a, b) & reader.ReadLongLong(ll) & reader.ReadDouble(d) &
              reader.ReadString(s) & reader.ReadArrayString(texts) & reader.ReadArrayInt(numbers) &
              reader.ReadDateTime(date);
    ok = reader.Read(record) && reader.IsOk() && ok;
    ok = reader.EnterObject() & reader.LeaveObject() & ok;
    ok = reader.ReadUint8(u8) & ok;
    return ok && u8 == 0xEE;
}
} // namespace

TEST(wxSerializeHeader, EmptyHeaderAndVersionZeroAcceptAnything)
{
    const std::string bytes = StreamWithVersion(77, wxS("some program"));
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in, 0, wxEmptyString);
    EXPECT_TRUE(reader.IsOk());
    // The text read is not kept: the reader asked for none.
    EXPECT_EQ(reader.GetStatusHeader(), wxEmptyString);
    EXPECT_EQ(reader.GetStatusVersion(), 77u);
    unsigned char value = 0;
    EXPECT_TRUE(reader.ReadUint8(value));
}

TEST(wxSerializeHeader, VersionNewerThanTheReadersIsRefused)
{
    for (unsigned int version : {0u, 1u})
    {
        const std::string bytes = StreamWithVersion(version);
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in, 1);
        EXPECT_TRUE(reader.IsOk()) << version;
        EXPECT_EQ(reader.GetStatusVersion(), version);
    }
    LogCatcher log;
    const std::string bytes = StreamWithVersion(2);
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in, 1);
    EXPECT_FALSE(reader.IsOk());
    EXPECT_EQ(reader.GetErrorCode(), -2);
    EXPECT_EQ(reader.GetErrorMessage(), wxS("Invalid version in stream, got v1 but expected v2 "
                                            "or higher"));
    EXPECT_EQ(log.GetText(), reader.GetErrorMessage());
    EXPECT_EQ(reader.GetStatusVersion(), 0u);
    unsigned char value = 0;
    EXPECT_FALSE(reader.ReadUint8(value));
}

TEST(wxSerializeHeader, HeaderMustMatchExactly)
{
    const std::string bytes = StreamWithVersion(1, wxS("Settings"));
    {
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in, 1, wxS("Settings"));
        EXPECT_TRUE(reader.IsOk());
        EXPECT_EQ(reader.GetStatusHeader(), wxS("Settings"));
    }
    LogCatcher log;
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in, 1, wxS("settings"));
    EXPECT_FALSE(reader.IsOk());
    EXPECT_EQ(reader.GetErrorMessage(), wxS("Wrong header in start of stream, expected header "
                                            "'settings and got 'Settings'"));
    EXPECT_EQ(reader.GetStatusHeader(), wxEmptyString);
}

TEST(wxSerializeHeader, MissingHeaderOrVersion)
{
    {
        // Ends inside the version.
        LogCatcher log;
        const std::string bytes = FromHex("00000000 0000");
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in, 1);
        EXPECT_EQ(reader.GetErrorCode(), -1);
        EXPECT_EQ(reader.GetErrorMessage(), wxS("End of stream error while reading!"));
    }
    {
        // A stream that reports its end from the start: only the first error is recorded.
        LogCatcher log;
        EndedInputStream in;
        wxSerialize reader(in, 1, wxS("expected"));
        EXPECT_EQ(reader.GetErrorCode(), -1);
        EXPECT_EQ(reader.GetErrorMessage(), wxS("End of stream error while reading!"));
        EXPECT_EQ(log.GetText(), wxS("End of stream error while reading!"));
        EXPECT_TRUE(reader.Eof());
    }
    {
        // A stream already in error.
        LogCatcher log;
        const char byte = 0;
        wxMemoryInputStream in(&byte, 1);
        char sink[2];
        in.Read(sink, 2);
        in.Read(sink, 1);
        wxSerialize reader(in, 1);
        EXPECT_EQ(reader.GetErrorCode(), -2);
        EXPECT_EQ(reader.GetErrorMessage(), wxS("Bad input stream"));
    }
}

TEST(wxSerializeHeader, WriterOnAFailingStream)
{
    {
        LogCatcher log;
        FailingOutputStream broken(0);
        wxSerialize writer(broken, 1);
        EXPECT_EQ(writer.GetErrorCode(), -2);
        EXPECT_EQ(writer.GetErrorMessage(), wxS("Bad output stream"));
        EXPECT_FALSE(writer.WriteBool(true));
    }
    {
        LogCatcher log;
        FailingOutputStream small(6);
        wxSerialize writer(small, 1, wxS("long header text"));
        EXPECT_EQ(writer.GetErrorMessage(),
                  wxS("Cannot write version and/or header information to stream"));
    }
    {
        // A failure after the header is the stream's, seen through IsOk().
        FailingOutputStream later(12);
        wxSerialize writer(later, 1);
        EXPECT_TRUE(writer.WriteUint16(1));
        EXPECT_FALSE(writer.WriteUint16(2));
        EXPECT_FALSE(writer.IsOk());
        EXPECT_EQ(writer.GetErrorCode(), 0);
    }
}

TEST(wxSerializeErrors, OnlyTheFirstErrorIsRecordedAndLogged)
{
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        writer.WriteString(wxS("text"));
        writer.WriteInt(1);
    }
    const std::string bytes = BytesOf(out);
    LogCatcher log;
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    int value = 5;
    EXPECT_FALSE(reader.ReadInt(value));
    EXPECT_EQ(value, 5);
    const wxString first = wxS("Expected chunk item of type 'i' but got type 'string'");
    EXPECT_EQ(reader.GetErrorCode(), -2);
    EXPECT_EQ(reader.GetErrorMessage(), first);
    EXPECT_FALSE(reader.ReadInt(value));
    EXPECT_FALSE(reader.EnterObject());
    EXPECT_FALSE(reader.WriteInt(1));
    EXPECT_EQ(reader.GetErrorMessage(), first);
    EXPECT_EQ(log.GetText(), first);
}

TEST(wxSerializeErrors, TypeNamesInMessages)
{
    const struct
    {
        const char* bytes;
        const char* message;
    } cases[] = {
        {"01", "Expected chunk item of type '32bits uint' but got type '0x01'"},
        {"FF", "Expected chunk item of type '32bits uint' but got type '0xFF'"},
        {"62", "Expected chunk item of type '32bits uint' but got type 'bool'"},
        {"63", "Expected chunk item of type '32bits uint' but got type '8bits uint'"},
        {"64", "Expected chunk item of type '32bits uint' but got type 'double'"},
        {"71", "Expected chunk item of type '32bits uint' but got type '64bits uint'"},
        {"72", "Expected chunk item of type '32bits uint' but got type 'data record'"},
        {"77", "Expected chunk item of type '32bits uint' but got type '16bits uint'"},
        {"74", "Expected chunk item of type '32bits uint' but got type 't'"},
        {"25", "Expected chunk item of type '32bits uint' but got type '0x25'"},
        {"30", "Expected chunk item of type '32bits uint' but got type '0'"},
    };
    LogCatcher log;
    for (const auto& c : cases)
    {
        const std::string bytes = FromHex(std::string("00000000 00000001") + c.bytes);
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in);
        unsigned int value;
        EXPECT_FALSE(reader.ReadUint32(value));
        EXPECT_EQ(reader.GetErrorMessage(), wxString(c.message));
    }
}

TEST(wxSerializeErrors, WrongDirectionAndUnknownIntSize)
{
    LogCatcher log;
    {
        const std::string bytes = StreamWithVersion(1);
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in);
        EXPECT_FALSE(reader.WriteUint8(1));
        EXPECT_EQ(reader.GetErrorMessage(), wxS("Cannot write while in read mode!"));
        EXPECT_FALSE(reader.CanLoad());
    }
    {
        wxMemoryOutputStream out;
        wxSerialize writer(out, 1);
        unsigned char value;
        EXPECT_FALSE(writer.ReadUint8(value));
        EXPECT_EQ(writer.GetErrorMessage(), wxS("Cannot read while in write mode!"));
        EXPECT_FALSE(writer.CanStore());
    }
    {
        const std::string bytes = FromHex("00000000 00000001 69 03 000000");
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in);
        int value = 9;
        EXPECT_FALSE(reader.ReadInt(value));
        EXPECT_EQ(value, 9);
        EXPECT_EQ(reader.GetErrorMessage(), wxS("Cannot read back 'int' value because it's of "
                                                "unknown size (need 1, 2, 4 or 8)"));
    }
}

TEST(wxSerializeErrors, InitAllClosesTheStream)
{
    wxMemoryOutputStream out;
    wxSerialize writer(out, 1);
    EXPECT_TRUE(writer.IsOk());
    writer.InitAll();
    EXPECT_FALSE(writer.IsOk());
    EXPECT_EQ(writer.GetErrorCode(), -2);
    const size_t before = BytesOf(out).size();
    EXPECT_FALSE(writer.WriteUint32(1));
    EXPECT_EQ(BytesOf(out).size(), before);
    EXPECT_FALSE(writer.IsPartialMode());
    wxSerialize partial(out, 1, wxEmptyString, true);
    EXPECT_TRUE(partial.IsPartialMode());
}

TEST(wxSerializeBadInput, CorruptCountsNeverOutgrowTheStream)
{
    const char* const streams[] = {
        "73 FFFFFFFF 0041",          // string
        "61 FFFFFFFF 00000000",      // string array
        "61 00000001 7FFFFFFF 0041", // string inside an array
        "41 40000000 00000001",      // int array
        "72 FFFFFFF0 0102",          // record
    };
    // Reads the one item, by its tag; the record the reader filled is left in record.
    auto readItem = [](wxSerialize& reader, char tag, wxMemoryBuffer& record)
    {
        wxString s;
        wxArrayString texts;
        wxArrayInt numbers;
        switch (tag)
        {
        case 's':
            return reader.ReadString(s);
        case 'a':
            return reader.ReadArrayString(texts);
        case 'A':
            return reader.ReadArrayInt(numbers);
        default:
            return reader.Read(record) && reader.IsOk();
        }
    };
    LogCatcher log;
    for (const char* corrupt : streams)
    {
        const std::string bytes = FromHex(std::string("00000000 00000001") + corrupt);
        // A stream that knows its length refuses the count at once.
        {
            wxMemoryInputStream in(bytes.data(), bytes.size());
            wxSerialize reader(in);
            wxMemoryBuffer record;
            EXPECT_FALSE(readItem(reader, bytes[8], record)) << corrupt;
            EXPECT_EQ(reader.GetErrorCode(), -2) << corrupt;
            EXPECT_EQ(reader.GetErrorMessage(), wxS("Record to read is 0 bytes or larger then "
                                                    "expected (does not fit maxcount)"))
                << corrupt;
            EXPECT_LE(record.GetBufSize(), 1024u) << corrupt;
        }
        // One that does not runs dry and reports the end of the stream, having allocated no
        // more than one piece beyond what it was given.
        {
            UnsizedInputStream in(bytes);
            wxSerialize reader(in);
            wxMemoryBuffer record;
            EXPECT_FALSE(readItem(reader, bytes[8], record)) << corrupt;
            EXPECT_EQ(reader.GetErrorCode(), -1) << corrupt;
            EXPECT_LT(record.GetBufSize(), 1024u * 1024) << corrupt;
        }
    }
}

TEST(wxSerializeBadInput, CorruptCountsInSkippedItems)
{
    LogCatcher log;
    const char* const streams[] = {"3C 73 FFFFFFFF 3E", "3C 61 FFFFFFFF 3E", "3C 72 FFFFFFFF 3E",
                                   "3C 61 00000001 FFFFFFFF 3E"};
    for (const char* corrupt : streams)
    {
        const std::string bytes = FromHex(std::string("00000000 00000001") + corrupt);
        wxMemoryInputStream memory(bytes.data(), bytes.size());
        UnsizedInputStream pipe(bytes);
        for (wxInputStream* in :
             {static_cast<wxInputStream*>(&memory), static_cast<wxInputStream*>(&pipe)})
        {
            wxSerialize reader(*in);
            EXPECT_TRUE(reader.EnterObject());
            EXPECT_FALSE(reader.LeaveObject()) << corrupt;
            EXPECT_NE(reader.GetErrorCode(), 0) << corrupt;
        }
        EXPECT_LE(pipe.GetServed(), bytes.size());
    }
}

// Cut after every byte, the stream gives a recorded error at the cut and never a crash, a hang
// or a value made up from missing bytes.
TEST(wxSerializeBadInput, TruncatedAtEveryPosition)
{
    const std::string whole = WriteOneOfEach();
    {
        wxMemoryInputStream in(whole.data(), whole.size());
        wxSerialize reader(in, 4, wxS("every kind"));
        ASSERT_TRUE(ReadOneOfEach(reader));
        ASSERT_TRUE(reader.IsOk());
    }
    LogCatcher log;
    for (size_t cut = 0; cut < whole.size(); ++cut)
    {
        const std::string part = whole.substr(0, cut);
        wxMemoryInputStream memory(part.data(), part.size());
        UnsizedInputStream pipe(part);
        for (wxInputStream* in :
             {static_cast<wxInputStream*>(&memory), static_cast<wxInputStream*>(&pipe)})
        {
            wxSerialize reader(*in, 4, wxS("every kind"));
            EXPECT_FALSE(ReadOneOfEach(reader)) << cut;
            EXPECT_FALSE(reader.IsOk()) << cut;
            EXPECT_NE(reader.GetErrorCode(), 0) << cut;
            EXPECT_FALSE(reader.GetErrorMessage().empty()) << cut;
        }
    }
}
