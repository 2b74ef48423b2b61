// Writing values in each style: the exact text produced, the extensions the reader reads back,
// comments placed by position, and what happens when the stream fails.
#include "kxRuzoVori/json/wxJSONWriter.h"
#include "kxRuzoVori/json/wxJSONReader.h"

#include <gtest/gtest.h>
#include <wx/mstream.h>

#include <clocale>
#include <string>

namespace
{
wxString Written(const wxJSONValue& value, int style, int indent = 0, int step = 3)
{
    wxJSONWriter writer(style, indent, step);
    wxString text;
    writer.Write(value, text);
    return text;
}

std::string WrittenBytes(const wxJSONValue& value, int style)
{
    wxJSONWriter writer(style);
    wxMemoryOutputStream os;
    writer.Write(value, os);
    std::string bytes(os.GetSize(), '\0');
    os.CopyTo(&bytes[0], bytes.size());
    return bytes;
}

wxMemoryBuffer Bytes(std::initializer_list<unsigned char> bytes)
{
    wxMemoryBuffer buff(0);
    for (unsigned char b : bytes)
        buff.AppendData(&b, 1);
    return buff;
}

// Keeps a fixed number of bytes, then reports a write error.
class FullStream : public wxOutputStream
{
public:
    explicit FullStream(size_t room) : m_room(room) {}
    size_t m_written = 0;
    std::string m_bytes;

protected:
    size_t OnSysWrite(const void* bytes, size_t size) override
    {
        size_t n = std::min(size, m_room - m_written);
        m_bytes.append(static_cast<const char*>(bytes), n);
        m_written += n;
        if (n < size)
            m_lasterror = wxSTREAM_WRITE_ERROR;
        return n;
    }

private:
    size_t m_room;
};
} // namespace

TEST(wxJSONWriterStyles, CompactOutput)
{
    wxJSONValue o;
    o["a"] = 1;
    EXPECT_EQ(Written(o, wxJSONWRITER_NONE), "{\"a\" : 1}");
    EXPECT_EQ(Written(o, wxJSONWRITER_NONE).length(), 9u);

    wxJSONValue a;
    a.Append(1);
    a.Append(wxJSONValue());
    a.Append(true);
    a.Append(-2.5);
    a.Append(wxJSONValue(wxJSONTYPE_ARRAY));
    a.Append(wxJSONValue(wxJSONTYPE_OBJECT));
    a.Append(wxJSONValue(wxJSONTYPE_INVALID));
    EXPECT_EQ(Written(a, wxJSONWRITER_NONE), "[1,null,true,-2.5,[],{},<invalid JSON value>]");
}

TEST(wxJSONWriterStyles, StyledOutputIndentsByLevel)
{
    wxJSONValue o;
    o["list"].Append(1);
    o["list"].Append(wxJSONValue(wxJSONTYPE_ARRAY));
    EXPECT_EQ(Written(o, wxJSONWRITER_STYLED),
              "{\n   \"list\" : [\n      1,\n      [\n      ]\n   ]\n}\n");
    EXPECT_EQ(Written(o, wxJSONWRITER_STYLED, 2, 1),
              "  {\n   \"list\" : [\n    1,\n    [\n    ]\n   ]\n  }\n");
    EXPECT_EQ(Written(o, wxJSONWRITER_STYLED | wxJSONWRITER_TAB_INDENT),
              "{\n\t\"list\" : [\n\t\t1,\n\t\t[\n\t\t]\n\t]\n}\n");
    EXPECT_EQ(Written(o, wxJSONWRITER_STYLED | wxJSONWRITER_NO_INDENTATION),
              "{\n\"list\" : [\n1,\n[\n]\n]\n}\n");
    EXPECT_EQ(Written(o, wxJSONWRITER_STYLED | wxJSONWRITER_NO_LINEFEEDS),
              "{   \"list\" : [      1,      [      ]   ]}");
    EXPECT_EQ(Written(wxJSONValue(wxJSONTYPE_ARRAY), wxJSONWRITER_STYLED), "[\n]\n");
}

TEST(wxJSONWriterStyles, NumbersAndTheUnsignedMark)
{
    wxJSONValue a;
    a.Append(5u);
    a.Append(-9223372036854775807LL - 1);
    a.Append(18446744073709551615ULL);
    a.Append(0.1);
    a.Append(1e300);
    // Either side of 32 bits.
    a.Append(4294967295u);
    a.Append(4294967296LL);
    a.Append(-4294967296LL);
    EXPECT_EQ(Written(a, wxJSONWRITER_NONE), "[5,-9223372036854775808,18446744073709551615,0.1,"
                                             "1e+300,4294967295,4294967296,-4294967296]");
    wxString marked = Written(a, wxJSONWRITER_RECOGNIZE_UNSIGNED);
    EXPECT_EQ(marked, "[+5,-9223372036854775808,+18446744073709551615,0.1,1e+300,+4294967295,"
                      "4294967296,-4294967296]");

    wxJSONReader reader(wxJSONREADER_STRICT);
    wxJSONValue back;
    ASSERT_EQ(reader.Parse(marked, &back), 0);
    EXPECT_TRUE(back[0].IsUInt());
    EXPECT_TRUE(back[2].IsUInt64());

    wxJSONWriter precise(wxJSONWRITER_NONE);
    precise.SetDoubleFmtString("%.17g");
    wxString text;
    precise.Write(wxJSONValue(0.1), text);
    EXPECT_EQ(text, "0.10000000000000001");
}

TEST(wxJSONWriterStyles, DoublesIgnoreTheLocale)
{
    const char* old = setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    wxString text = Written(wxJSONValue(2.5), wxJSONWRITER_NONE);
    wxString described = wxJSONValue(0.25).AsString();
    setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "2.5");
    EXPECT_EQ(described, "0.25");
}

TEST(wxJSONWriterStrings, EscapesAndTheirStyles)
{
    wxJSONValue s(wxString("q\" b\\ s/ \b\f\n\r\t \x01\x1f"));
    EXPECT_EQ(Written(s, wxJSONWRITER_NONE), "\"q\\\" b\\\\ s/ \\b\\f\\n\\r\\t \\u0001\\u001F\"");
    EXPECT_EQ(Written(wxJSONValue("a/b"), wxJSONWRITER_ESCAPE_SOLIDUS), "\"a\\/b\"");
    EXPECT_EQ(Written(wxJSONValue("a\tb\nc\r"), wxJSONWRITER_MULTILINE_STRING), "\"a\tb\nc\\r\"");
    // Characters beyond ASCII go out as UTF-8, unescaped.
    EXPECT_EQ(WrittenBytes(wxJSONValue(wxString(L"\u00e9\U0001F600")), wxJSONWRITER_NONE),
              "\"\xC3\xA9\xF0\x9F\x98\x80\"");
    // Plain text is taken in groups: each special character in each place of a longer text.
    const struct
    {
        wchar_t c;
        int style;
        const char* written;
    } specials[] = {
        {L'"', wxJSONWRITER_NONE, "\\\""},        {L'\\', wxJSONWRITER_NONE, "\\\\"},
        {L'/', wxJSONWRITER_NONE, "/"},           {L'/', wxJSONWRITER_ESCAPE_SOLIDUS, "\\/"},
        {L'\x1f', wxJSONWRITER_NONE, "\\u001F"},  {L'\n', wxJSONWRITER_MULTILINE_STRING, "\n"},
        {L' ', wxJSONWRITER_NONE, " "},           {L'\x7f', wxJSONWRITER_NONE, "\x7f"},
        {L'\x80', wxJSONWRITER_NONE, "\xC2\x80"}, {L'\u20ac', wxJSONWRITER_NONE, "\xE2\x82\xAC"}};
    for (const auto& special : specials)
        for (size_t at = 0; at < 10; ++at)
        {
            wxString text(wxS("abcdefghij"));
            text[at] = special.c;
            std::string expected = "\"abcdefghij\"";
            expected.replace(at + 1, 1, special.written);
            EXPECT_EQ(WrittenBytes(wxJSONValue(text), special.style), expected)
                << int(special.c) << " at " << at;
        }
}

TEST(wxJSONWriterStrings, UnconvertibleTextIsMarked)
{
    wxString bad;
    bad += wxUniChar(0xD800);
    wxJSONValue a;
    a.Append(bad);
    a[0].AddComment(wxString("// ") + bad);
    EXPECT_EQ(Written(a, wxJSONWRITER_NONE),
              "[\"<wxJSONWriter::WriteStringValue(): error converting the string to a UTF8 "
              "buffer>]");
    EXPECT_NE(Written(a, wxJSONWRITER_WRITE_COMMENTS)
                  .Find("<wxJSONWriter::WriteComment(): error converting the string to UTF-8>"),
              wxNOT_FOUND);
}

TEST(wxJSONWriterStrings, SplitStringsAreJoinedByTheReader)
{
    wxJSONValue o;
    o["text"] = "one\ntwo\nthree";
    wxString text = Written(o, wxJSONWRITER_STYLED | wxJSONWRITER_SPLIT_STRING);
    EXPECT_EQ(text, "{\n   \"text\" : \"one\\n\"\n         \"two\\n\"\n         \"three\"\n}\n");

    wxJSONReader joiner(wxJSONREADER_MULTISTRING);
    wxJSONValue back;
    ASSERT_EQ(joiner.Parse(text, &back), 0);
    EXPECT_EQ(back["text"].AsString(), "one\ntwo\nthree");
    // Without the styled bit nothing is split.
    EXPECT_EQ(Written(o, wxJSONWRITER_SPLIT_STRING), "{\"text\" : \"one\\ntwo\\nthree\"}");
}

TEST(wxJSONWriterBuffers, HexArraysAndSplitting)
{
    wxJSONValue b(Bytes({1, 2, 255}));
    EXPECT_EQ(Written(b, wxJSONWRITER_NONE), "'0102FF'");
    EXPECT_EQ(Written(b, wxJSONWRITER_MEMORYBUFF), "[1,2,255]");
    EXPECT_EQ(Written(wxJSONValue(Bytes({})), wxJSONWRITER_NONE), "''");

    wxMemoryBuffer big(0);
    for (int i = 0; i < 60; ++i)
    {
        unsigned char byte = static_cast<unsigned char>(i);
        big.AppendData(&byte, 1);
    }
    wxJSONValue a;
    a.Append(big);
    wxString split = Written(a, wxJSONWRITER_STYLED | wxJSONWRITER_SPLIT_STRING);
    // 20 bytes on the first line, then 20 - 9 indentation characters per line.
    EXPECT_TRUE(split.StartsWith("[\n   '000102030405060708090A0B0C0D0E0F10111213'\n         '"));
    wxJSONReader reader(wxJSONREADER_MEMORYBUFF);
    wxJSONValue back;
    ASSERT_EQ(reader.Parse(split, &back), 0);
    EXPECT_TRUE(back.IsSameAs(a));
}

TEST(wxJSONWriterComments, PlacedByPositionOrByStyle)
{
    wxJSONValue o;
    o["a"] = 1;
    o["a"].AddComment("// inline", wxJSONVALUE_COMMENT_INLINE);
    const int styled = wxJSONWRITER_STYLED | wxJSONWRITER_WRITE_COMMENTS;
    EXPECT_EQ(Written(o, styled), "{\n   \"a\" : 1\t// inline\n}\n");
    EXPECT_EQ(Written(o, styled | wxJSONWRITER_COMMENTS_BEFORE),
              "{\n   // inline\n   \"a\" : 1\n}\n");
    EXPECT_EQ(Written(o, styled | wxJSONWRITER_COMMENTS_AFTER),
              "{\n   \"a\" : 1\n   // inline\n}\n");
    EXPECT_EQ(Written(o, wxJSONWRITER_STYLED), "{\n   \"a\" : 1\n}\n");

    wxJSONValue a;
    a.Append(1).AddComment("/* one */", wxJSONVALUE_COMMENT_BEFORE);
    a.Append(2);
    a.AddComment("// list", wxJSONVALUE_COMMENT_INLINE);
    EXPECT_EQ(Written(a, styled), "[\t// list\n   /* one */\n   1,\n   2\n]\n");

    // A comment after a value follows the separator and the indentation of the style, both
    // empty without line feeds.
    wxJSONValue c;
    c.Append(true).AddComment("// t", wxJSONVALUE_COMMENT_AFTER);
    c.Append(1);
    wxString compact = Written(c, wxJSONWRITER_WRITE_COMMENTS);
    EXPECT_EQ(compact, "[true,// t\n1]");
    EXPECT_EQ(Written(c, styled), "[\n   true,\n   // t\n   1\n]\n");
    wxJSONReader tolerant(wxJSONREADER_ALLOW_COMMENTS);
    wxJSONValue read;
    EXPECT_EQ(tolerant.Parse(compact, &read), 0);
    EXPECT_TRUE(read.IsSameAs(c));

    // Comments written are read back to the same places.
    wxJSONReader reader(wxJSONREADER_ALLOW_COMMENTS | wxJSONREADER_STORE_COMMENTS);
    wxJSONValue back;
    ASSERT_EQ(reader.Parse(Written(a, styled), &back), 0);
    EXPECT_EQ(back.GetComment(), "// list\n");
    EXPECT_EQ(back[0].GetComment(), "/* one */");
    EXPECT_EQ(back[0].GetCommentPos(), wxJSONVALUE_COMMENT_BEFORE);
}

TEST(wxJSONWriterStreams, AFailingStreamStopsTheWriting)
{
    wxJSONValue a;
    for (int i = 0; i < 50000; ++i)
        a.Append(wxString::Format("item %d", i));
    FullStream full(1000);
    wxJSONWriter writer(wxJSONWRITER_NONE);
    writer.Write(a, full);
    EXPECT_EQ(full.m_written, 1000u);
    EXPECT_EQ(writer.DoWrite(full, a, nullptr, false), -1);

    FullStream none(0);
    EXPECT_EQ(writer.WriteNullValue(none), -1);
    wxMemoryOutputStream fine;
    EXPECT_EQ(writer.WriteNullValue(fine), 'l');
    EXPECT_EQ(fine.GetSize(), 4u);
}

TEST(wxJSONWriterStreams, StreamAndStringFormsAgree)
{
    wxJSONValue o;
    o["name"] = wxString(L"caf\u00e9");
    o["n"] = 3;
    std::string bytes = WrittenBytes(o, wxJSONWRITER_STYLED);
    EXPECT_EQ(wxString::FromUTF8(bytes.data(), bytes.size()), Written(o, wxJSONWRITER_STYLED));
    // A text far longer than the pieces a stream is given comes out the same on every kind.
    wxJSONValue a;
    for (int i = 0; i < 30000; ++i)
        a.Append(o);
    bytes = WrittenBytes(a, wxJSONWRITER_STYLED);
    FullStream other(bytes.size() + 1);
    wxJSONWriter(wxJSONWRITER_STYLED).Write(a, other);
    EXPECT_TRUE(other.IsOk());
    EXPECT_EQ(other.m_bytes, bytes);
    EXPECT_EQ(wxString::FromUTF8(bytes.data(), bytes.size()), Written(a, wxJSONWRITER_STYLED));
    EXPECT_TRUE(wxJSONWriter::IsSpace(wxT('\f')));
    EXPECT_FALSE(wxJSONWriter::IsSpace(wxT('x')));
    EXPECT_TRUE(wxJSONWriter::IsPunctuation(wxT('?')));
    EXPECT_FALSE(wxJSONWriter::IsPunctuation(wxT('-')));
}

// A host can build trees nested far deeper than the reader reads. The writer refuses them whole
// rather than exhausting its stack: nothing is written, not even the large part before the deep
// one, and the stream reports the failure.
TEST(wxJSONWriterStreams, TreesNestedTooDeeplyAreRefusedWhole)
{
    auto nested = [](int depth)
    {
        wxJSONValue root;
        wxJSONValue* at = &root;
        for (int i = 0; i < depth; ++i)
            at = &(*at)[0];
        *at = 1;
        return root;
    };
    const wxJSONValue deepest = nested(wxJSONWriter::MAX_NESTING);
    const wxString text = Written(deepest, wxJSONWRITER_NONE);
    EXPECT_EQ(text, wxString('[', wxJSONWriter::MAX_NESTING) + "1" +
                        wxString(']', wxJSONWriter::MAX_NESTING));
    wxJSONReader reader;
    wxJSONValue back;
    EXPECT_EQ(reader.Parse(text, &back), 0);
    EXPECT_TRUE(back.IsSameAs(deepest));

    for (int depth : {wxJSONWriter::MAX_NESTING + 1, 100000})
    {
        wxJSONValue big;
        for (int i = 0; i < 20000; ++i)
            big.Append(wxString::Format("item %d", i));
        big.Append(nested(depth));
        for (const wxJSONValue* value : {&big, &big[20000]})
        {
            EXPECT_EQ(Written(*value, wxJSONWRITER_STYLED), "") << depth;
            wxMemoryOutputStream os;
            wxJSONWriter writer(wxJSONWRITER_NONE);
            writer.Write(*value, os);
            EXPECT_EQ(os.GetSize(), 0u) << depth;
            EXPECT_FALSE(os.IsOk());
            wxMemoryOutputStream again;
            EXPECT_EQ(writer.DoWrite(again, *value, nullptr, false), -1);
            EXPECT_EQ(again.GetSize(), 0u);
            // The writer itself is not spoilt for the next value.
            wxMemoryOutputStream next;
            EXPECT_EQ(writer.DoWrite(next, deepest, nullptr, false), ']');
        }
    }
}
