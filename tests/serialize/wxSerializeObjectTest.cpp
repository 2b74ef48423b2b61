// Objects bracketed by enter/leave markers: a reader of another layout skips what it does not
// know and stays in step.
#include "kxRuzoVori/serialize/wxSerialize.h"
#include "wxSerializeSupport.h"

#include <gtest/gtest.h>

namespace
{
// Version 2 of a host's record: an object with three fields, then a trailer.
std::string WriteThreeFieldObject()
{
    wxMemoryOutputStream out;
    wxSerialize writer(out, 2, wxS("record"));
    EXPECT_TRUE(writer.EnterObject());
    writer.WriteUint32(11);
    writer.WriteString(wxS("added in version 2"));
    wxArrayString tags;
    tags.Add(wxS("x"));
    writer.WriteArrayString(tags);
    EXPECT_TRUE(writer.LeaveObject());
    writer.WriteUint32(99);
    return BytesOf(out);
}
} // namespace

TEST(wxSerializeObjects, OlderReaderSkipsFieldsItDoesNotKnow)
{
    const std::string bytes = WriteThreeFieldObject();
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in, 2, wxS("record"));
    unsigned int value = 0;
    EXPECT_TRUE(reader.EnterObject());
    EXPECT_TRUE(reader.ReadUint32(value));
    EXPECT_EQ(value, 11u);
    EXPECT_FALSE(reader.IsStatusSkipped());
    EXPECT_TRUE(reader.LeaveObject());
    EXPECT_TRUE(reader.IsStatusSkipped());
    EXPECT_TRUE(reader.ReadUint32(value));
    EXPECT_EQ(value, 99u);
    EXPECT_TRUE(reader.IsOk());
}

TEST(wxSerializeObjects, ReaderOfEveryFieldSkipsNothing)
{
    const std::string bytes = WriteThreeFieldObject();
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    unsigned int value = 0;
    wxString text;
    wxArrayString tags;
    EXPECT_TRUE(reader.EnterObject());
    EXPECT_TRUE(reader.ReadUint32(value));
    EXPECT_TRUE(reader.ReadString(text));
    EXPECT_TRUE(reader.ReadArrayString(tags));
    EXPECT_TRUE(reader.LeaveObject());
    EXPECT_FALSE(reader.IsStatusSkipped());
    EXPECT_TRUE(reader.ReadUint32(value));
    EXPECT_EQ(value, 99u);
}

TEST(wxSerializeObjects, NewerReaderMeetsTheEndOfAShorterObject)
{
    // Version 1 wrote one field; a newer reader asks for a second one.
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        writer.EnterObject();
        writer.WriteInt(5);
        writer.LeaveObject();
        writer.WriteBool(true);
    }
    const std::string bytes = BytesOf(out);
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    int first = 0;
    wxString missing = wxS("default");
    EXPECT_TRUE(reader.EnterObject());
    EXPECT_TRUE(reader.ReadInt(first));
    EXPECT_FALSE(reader.ReadString(missing));
    EXPECT_EQ(missing, wxS("default"));
    EXPECT_EQ(reader.GetErrorCode(), 0);
    // While the leave marker is pending every read refuses.
    EXPECT_FALSE(reader.ReadInt(first));
    EXPECT_TRUE(reader.LeaveObject());
    EXPECT_FALSE(reader.IsStatusSkipped());
    bool flag = false;
    EXPECT_TRUE(reader.ReadBool(flag));
    EXPECT_TRUE(flag);
}

TEST(wxSerializeObjects, PendingEnterMarkerIsConsumedWithoutReading)
{
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        writer.EnterObject();
        writer.WriteUint16(3);
        writer.LeaveObject();
    }
    const std::string bytes = BytesOf(out);
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    unsigned short value = 0;
    EXPECT_FALSE(reader.ReadUint16(value));
    EXPECT_EQ(reader.GetErrorCode(), 0);
    EXPECT_TRUE(reader.IsOk());
    const wxFileOffset before = in.TellI();
    EXPECT_TRUE(reader.EnterObject());
    EXPECT_EQ(in.TellI(), before);
    EXPECT_TRUE(reader.ReadUint16(value));
    EXPECT_EQ(value, 3);
    EXPECT_TRUE(reader.LeaveObject());
}

TEST(wxSerializeObjects, NestedObjectsAreSkippedWhole)
{
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        writer.EnterObject();
        writer.WriteUint8(1);
        writer.EnterObject();
        writer.WriteDouble(2.0);
        writer.EnterObject();
        writer.WriteIntInt(3, 4);
        writer.LeaveObject();
        writer.WriteDateTime(wxDateTime::Now());
        writer.LeaveObject();
        writer.Write(wxMemoryBuffer());
        writer.LeaveObject();
        writer.WriteUint8(42);
    }
    const std::string bytes = BytesOf(out);

    // Skip everything after the first field.
    {
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in);
        unsigned char value = 0;
        EXPECT_TRUE(reader.EnterObject());
        EXPECT_TRUE(reader.ReadUint8(value));
        EXPECT_TRUE(reader.LeaveObject());
        EXPECT_TRUE(reader.ReadUint8(value));
        EXPECT_EQ(value, 42);
    }
    // Meet the inner object where a value was expected, then leave the outer one.
    {
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in);
        unsigned char value = 0;
        EXPECT_TRUE(reader.EnterObject());
        EXPECT_TRUE(reader.ReadUint8(value));
        EXPECT_FALSE(reader.ReadUint8(value));
        EXPECT_TRUE(reader.LeaveObject());
        EXPECT_TRUE(reader.IsStatusSkipped());
        EXPECT_TRUE(reader.ReadUint8(value));
        EXPECT_EQ(value, 42);
    }
    // Enter searches forward to the next object, passing over plain items.
    {
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in);
        double d = 0;
        EXPECT_TRUE(reader.EnterObject());
        EXPECT_TRUE(reader.EnterObject());
        EXPECT_TRUE(reader.IsStatusSkipped());
        EXPECT_TRUE(reader.ReadDouble(d));
        EXPECT_EQ(d, 2.0);
    }
}

TEST(wxSerializeObjects, ItemsWithoutASkipRuleStopTheSearch)
{
    const char* const names[] = {"A", "B", "L"};
    for (int kind = 0; kind < 3; ++kind)
    {
        wxMemoryOutputStream out;
        {
            wxSerialize writer(out, 1);
            writer.EnterObject();
            writer.WriteBool(true);
            if (kind == 0)
                writer.WriteArrayInt(wxArrayInt());
            else if (kind == 1)
            {
                // A bitmap item is a tag followed by a record; written by hand so that no
                // display is needed.
                writer.EnterObject();
                writer.LeaveObject();
            }
            else
                writer.WriteLongLong(wxLongLongNative(1));
            writer.LeaveObject();
        }
        std::string bytes = BytesOf(out);
        if (kind == 1)
            bytes.replace(bytes.size() - 3, 2, "Br\0\0\0\0", 6);
        LogCatcher log;
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in);
        EXPECT_TRUE(reader.EnterObject());
        EXPECT_FALSE(reader.LeaveObject());
        EXPECT_EQ(reader.GetErrorCode(), -2);
        EXPECT_EQ(reader.GetErrorMessage(),
                  wxString::Format(wxS("Unknown '%s' header in stream"), names[kind]));
        EXPECT_EQ(log.GetText(), reader.GetErrorMessage());
    }
}

TEST(wxSerializeObjects, SyncErrors)
{
    // One leave more than enters, on either side.
    {
        LogCatcher log;
        wxMemoryOutputStream out;
        wxSerialize writer(out, 1);
        EXPECT_TRUE(writer.EnterObject());
        EXPECT_TRUE(writer.LeaveObject());
        const size_t written = BytesOf(out).size();
        EXPECT_FALSE(writer.LeaveObject());
        EXPECT_EQ(writer.GetErrorMessage(),
                  wxS("Sync Error: Level dropped below 0, too much LeaveObject() calls ?"));
        EXPECT_EQ(BytesOf(out).size(), written);
        EXPECT_FALSE(writer.WriteBool(true));
        EXPECT_EQ(BytesOf(out).size(), written);
    }
    {
        LogCatcher log;
        const std::string bytes = FromHex("00000000 00000001 3C 3E");
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in);
        EXPECT_TRUE(reader.EnterObject());
        EXPECT_TRUE(reader.LeaveObject());
        EXPECT_FALSE(reader.LeaveObject());
        EXPECT_EQ(reader.GetErrorCode(), -2);
        EXPECT_EQ(reader.GetErrorMessage(),
                  wxS("Sync Error: Level dropped below 0, too much LeaveObject() calls ?"));
    }
    // Looking for an object start but meeting the end of the current one.
    {
        LogCatcher log;
        const std::string bytes = FromHex("00000000 00000001 3C 62 01 3E 3C 3E");
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in);
        EXPECT_TRUE(reader.EnterObject());
        EXPECT_FALSE(reader.EnterObject());
        EXPECT_EQ(reader.GetErrorMessage(),
                  wxS("Sync Error: Illegal LeaveObject() header encountered, expected "
                      "EnterObject()"));
        EXPECT_TRUE(reader.IsStatusSkipped());
    }
    // A leave marker already pending stays pending for its LeaveObject(): the search reads on,
    // and an object start read there ends it without an error.
    {
        const std::string bytes = FromHex("00000000 00000001 3C 3E 3C 3E");
        wxMemoryInputStream in(bytes.data(), bytes.size());
        wxSerialize reader(in);
        bool flag;
        EXPECT_TRUE(reader.EnterObject());
        EXPECT_FALSE(reader.ReadBool(flag));
        EXPECT_TRUE(reader.EnterObject());
        EXPECT_EQ(reader.GetErrorCode(), 0);
        EXPECT_TRUE(reader.LeaveObject());
        EXPECT_TRUE(reader.LeaveObject());
        EXPECT_EQ(reader.GetErrorCode(), 0);
    }
}
