// Reading JSON text with each flag: the trees built, the errors and warnings with their
// positions, comments kept in the tree, and input from every kind of stream.
#include "kxRuzoVori/json/wxJSONReader.h"
#include "kxRuzoVori/json/wxJSONWriter.h"

#include <gtest/gtest.h>
#include <wx/file.h>
#include <wx/filename.h>
#include <wx/mstream.h>
#include <wx/sstream.h>
#include <wx/wfstream.h>

#include <clocale>
#include <poll.h>
#include <string>
#include <unistd.h>

namespace
{
// Parses text (UTF-8 bytes) from a memory stream into root, which keeps what it held when it is
// already of the text's kind.
int ParseInto(wxJSONReader& reader, const std::string& text, wxJSONValue& root)
{
    wxMemoryInputStream is(text.data(), text.size());
    return reader.Parse(is, &root);
}

// Parses text into a fresh root.
int ParseBytes(wxJSONReader& reader, const std::string& text, wxJSONValue& root)
{
    root.Clear();
    return ParseInto(reader, text, root);
}

// A stream the reader cannot read in place, handing out a few bytes per call.
class TrickleStream : public wxInputStream
{
public:
    explicit TrickleStream(const std::string& bytes) : m_bytes(bytes) {}

protected:
    size_t OnSysRead(void* buffer, size_t size) override
    {
        size_t n = std::min<size_t>({size, 7, m_bytes.size() - m_pos});
        if (n == 0)
        {
            m_lasterror = wxSTREAM_EOF;
            return 0;
        }
        memcpy(buffer, m_bytes.data() + m_pos, n);
        m_pos += n;
        return n;
    }

private:
    std::string m_bytes;
    size_t m_pos = 0;
};

// The reading end of a pipe, as the toolkit's own pipe streams read one: a read takes what has
// arrived and waits only when nothing has.
class PipeStream : public wxInputStream
{
public:
    PipeStream()
    {
        if (pipe(m_fds) != 0)
            m_fds[0] = m_fds[1] = -1;
    }
    ~PipeStream() override
    {
        close(m_fds[0]);
        close(m_fds[1]);
    }
    void Send(const std::string& bytes)
    {
        EXPECT_EQ(write(m_fds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    bool CanRead() const override
    {
        pollfd ready{m_fds[0], POLLIN, 0};
        return poll(&ready, 1, 0) == 1;
    }

protected:
    size_t OnSysRead(void* buffer, size_t size) override
    {
        const ssize_t n = read(m_fds[0], buffer, size);
        if (n <= 0)
        {
            m_lasterror = wxSTREAM_EOF;
            return 0;
        }
        return static_cast<size_t>(n);
    }

private:
    int m_fds[2];
};
} // namespace

TEST(wxJSONReaderErrors, TextWithoutStartCharacter)
{
    wxJSONReader reader;
    wxJSONValue root;
    EXPECT_EQ(ParseBytes(reader, "abc", root), 1);
    ASSERT_EQ(reader.GetErrorCount(), 1);
    EXPECT_EQ(reader.GetErrors()[0],
              "Error: line 1, col 4 - Cannot find a start object/array character");
    EXPECT_EQ(ParseBytes(reader, "", root), 1);
}

TEST(wxJSONReaderErrors, PositionsCountLinesAndBytes)
{
    wxJSONReader reader(wxJSONREADER_STRICT);
    wxJSONValue root;
    // CR LF counts as one line end; the column counts bytes, so "é" counts twice.
    EXPECT_EQ(ParseBytes(reader, "[\r\n \"\xC3\xA9\" x]", root), 1);
    ASSERT_EQ(reader.GetErrorCount(), 1);
    EXPECT_EQ(reader.GetErrors()[0],
              "Error: line 2, col 9 - Value 'x' cannot follow a value: ',' or ':' missing?");
    EXPECT_EQ(root[0].AsString(), wxString::FromUTF8("\xC3\xA9"));
    EXPECT_EQ(root[0].GetLineNo(), 2);
}

TEST(wxJSONReaderErrors, MissingColonNamesTheToken)
{
    wxJSONReader reader;
    wxJSONValue root;
    EXPECT_EQ(ParseBytes(reader, "{\"a\" 12}", root), 2);
    EXPECT_NE(reader.GetErrors()[0].Find("Value '12' cannot follow a value: ',' or ':' missing?"),
              wxNOT_FOUND);
    EXPECT_NE(reader.GetErrors()[1].Find("'key' is missing for JSON object type"), wxNOT_FOUND);
}

TEST(wxJSONReaderErrors, TooManyErrorsAreCountedOnce)
{
    wxJSONReader reader(wxJSONREADER_STRICT, 2);
    wxJSONValue root;
    EXPECT_EQ(ParseBytes(reader, "[a, b, c, d, e]", root), 3);
    EXPECT_EQ(reader.GetErrors()[2], "ERROR: too many error messages - ignoring further errors");

    wxJSONReader warner(wxJSONREADER_TOLERANT, 1);
    EXPECT_EQ(ParseBytes(warner, "[NULL, TRUE, FALSE]", root), 0);
    ASSERT_EQ(warner.GetWarningCount(), 2);
    EXPECT_EQ(warner.GetWarnings()[1],
              "Error: too many warning messages - ignoring further warnings");
}

TEST(wxJSONReaderErrors, StructuralMistakes)
{
    wxJSONReader reader(wxJSONREADER_STRICT);
    wxJSONValue root;
    EXPECT_EQ(ParseBytes(reader, "[1 : 2]", root), 2);
    EXPECT_NE(reader.GetErrors()[0].Find("':' can only used in object's values"), wxNOT_FOUND);
    EXPECT_EQ(ParseBytes(reader, "{1 : 2}", root), 2);
    EXPECT_NE(reader.GetErrors()[0].Find("':' follows a value which is not of type 'string'"),
              wxNOT_FOUND);
    EXPECT_EQ(ParseBytes(reader, "{\"a\" : \"b\" : 1}", root), 1);
    EXPECT_NE(reader.GetErrors()[0].Find("already available"), wxNOT_FOUND);
    EXPECT_EQ(root["a"].AsInt(), 1);
    EXPECT_EQ(ParseBytes(reader, "{[1]}", root), 2);
    EXPECT_NE(reader.GetErrors()[0].Find("'[' is not allowed here ('name' is missing"),
              wxNOT_FOUND);
    EXPECT_EQ(ParseBytes(reader, "[1 [2]]", root), 1);
    EXPECT_NE(reader.GetErrors()[0].Find("'[' cannot follow a 'value'"), wxNOT_FOUND);
    EXPECT_EQ(ParseBytes(reader, "[1,,2]", root), 1);
    EXPECT_NE(reader.GetErrors()[0].Find("key or value is missing for JSON value"), wxNOT_FOUND);
    EXPECT_EQ(root.Size(), 2);
    // Each refused literal also leaves its comma without a value.
    EXPECT_EQ(ParseBytes(reader, "[1, .5, 0x10, nul]", root), 5);
    EXPECT_NE(reader.GetErrors()[0].Find("Literal '.5' is incorrect (did you forget quotes?)"),
              wxNOT_FOUND);
}

TEST(wxJSONReaderValues, NumbersTakeTheNarrowestFittingKind)
{
    wxJSONReader reader(wxJSONREADER_STRICT);
    wxJSONValue root;
    ASSERT_EQ(ParseBytes(reader,
                         "[42, -42, 18446744073709551615, +5, 1.5, 1e3, -9223372036854775808, "
                         "9223372036854775808, 18446744073709551616, -0, 1E400]",
                         root),
              1); // 1E400 does not fit a double
    EXPECT_TRUE(root[0].IsInt64());
    EXPECT_EQ(root[0].AsInt(), 42);
    EXPECT_EQ(root[1].AsInt(), -42);
    EXPECT_TRUE(root[2].IsUInt64());
    EXPECT_EQ(root[2].AsUInt64(), 18446744073709551615ULL);
    EXPECT_TRUE(root[3].IsUInt64());
    EXPECT_EQ(root[3].AsUInt(), 5u);
    EXPECT_TRUE(root[4].IsDouble());
    EXPECT_EQ(root[4].AsDouble(), 1.5);
    EXPECT_EQ(root[5].AsDouble(), 1000.0);
    EXPECT_EQ(root[6].AsInt64(), LLONG_MIN);
    EXPECT_TRUE(root[7].IsUInt64());
    EXPECT_TRUE(root[8].IsDouble());
    EXPECT_TRUE(root[9].IsInt64());
    EXPECT_EQ(root.Size(), 10);

    wxInt64 i = 0;
    wxUint64 u = 0;
    EXPECT_TRUE(wxJSONReader::Strtoll("-9223372036854775808", &i));
    EXPECT_FALSE(wxJSONReader::Strtoll("9223372036854775808", &i));
    EXPECT_TRUE(wxJSONReader::Strtoull("+18446744073709551615", &u));
    EXPECT_FALSE(wxJSONReader::Strtoull("-1", &u));
    EXPECT_FALSE(wxJSONReader::Strtoull("18446744073709551616", &u));
    EXPECT_FALSE(wxJSONReader::Strtoull("1 2", &u));
    EXPECT_TRUE(wxJSONReader::Strtoull("", &u));
    EXPECT_EQ(u, 0u);
}

TEST(wxJSONReaderValues, DoublesIgnoreTheLocale)
{
    const char* old = setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (!setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    wxJSONReader reader(wxJSONREADER_STRICT);
    wxJSONValue root;
    EXPECT_EQ(ParseBytes(reader, "[2.5, 1,5]", root), 0);
    setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(root[0].AsDouble(), 2.5);
    EXPECT_EQ(root.Size(), 3);
}

TEST(wxJSONReaderValues, LiteralsInOtherCases)
{
    wxJSONValue root;
    wxJSONReader tolerant(wxJSONREADER_CASE);
    EXPECT_EQ(ParseBytes(tolerant, "[TRUE, Null, faLSE]", root), 0);
    EXPECT_EQ(tolerant.GetWarningCount(), 3);
    EXPECT_NE(tolerant.GetWarnings()[0].Find("the 'true' literal must be lowercase"), wxNOT_FOUND);
    EXPECT_TRUE(root[0].AsBool());
    EXPECT_TRUE(root[1].IsNull());
    EXPECT_TRUE(root[2].IsBool());

    wxJSONReader strict(wxJSONREADER_STRICT);
    EXPECT_EQ(ParseBytes(strict, "[TRUE]", root), 1);
    EXPECT_TRUE(root[0].AsBool());
}

TEST(wxJSONReaderValues, StringsEscapesAndUnicode)
{
    wxJSONReader reader(wxJSONREADER_STRICT);
    wxJSONValue root;
    ASSERT_EQ(ParseBytes(reader,
                         "[\"a\\\"\\\\\\/\\b\\f\\n\\r\\tz\", \"\\u00e9\\u20AC\", "
                         "\"\\uD834\\uDD1E\", \"\xF0\x9D\x84\x9E\", \"raw\nline\", \"\", "
                         "\"\\u0000x\"]",
                         root),
              0);
    EXPECT_EQ(root[0].AsString(), wxString("a\"\\/\b\f\n\r\tz"));
    EXPECT_EQ(root[1].AsString(), wxString(L"\u00e9\u20ac"));
    EXPECT_EQ(root[2].AsString(), wxString(L"\U0001D11E"));
    EXPECT_EQ(root[2].AsString().length(), 1u);
    EXPECT_EQ(root[3].AsString(), root[2].AsString());
    EXPECT_EQ(root[4].AsString(), "raw\nline");
    EXPECT_TRUE(root[5].IsString());
    EXPECT_EQ(root[5].AsString(), "");
    EXPECT_EQ(root[6].AsString().length(), 2u);
    EXPECT_EQ(root[6].AsString()[0], wxT('\0'));
}

TEST(wxJSONReaderValues, BadStringsAreReportedAndMarked)
{
    wxJSONReader reader(wxJSONREADER_STRICT);
    wxJSONValue root;
    EXPECT_EQ(ParseBytes(reader, "[\"\xC3(\", \"\\uD800\", \"\\q\", \"\\u12G4\"]", root), 4);
    EXPECT_EQ(root[0].AsString(), "<UTF-8 stream not valid>");
    EXPECT_NE(reader.GetErrors()[0].Find("String value: the UTF-8 stream is invalid"), wxNOT_FOUND);
    EXPECT_EQ(root[1].AsString(), "<UTF-8 stream not valid>"); // a lone surrogate
    EXPECT_NE(reader.GetErrors()[2].Find("Unknow escaped character '\\q'"), wxNOT_FOUND);
    EXPECT_EQ(root[2].AsString(), "");
    EXPECT_NE(reader.GetErrors()[3].Find("Invalid Unicode Escaped Sequence"), wxNOT_FOUND);

    // An unterminated string ends with the input.
    EXPECT_EQ(ParseBytes(reader, "[\"abc", root), 1);
    EXPECT_EQ(root[0].AsString(), "abc");
}

TEST(wxJSONReaderValues, AdjacentStringsAreJoinedOnlyWhenAllowed)
{
    wxJSONValue root;
    wxJSONReader joiner(wxJSONREADER_MULTISTRING);
    EXPECT_EQ(ParseBytes(joiner, "[\"one \"\n  \"two\"]", root), 0);
    EXPECT_EQ(joiner.GetWarningCount(), 1);
    EXPECT_EQ(root[0].AsString(), "one two");

    wxJSONReader strict(wxJSONREADER_STRICT);
    EXPECT_EQ(ParseBytes(strict, "[\"one \" \"two\"]", root), 1);
    EXPECT_EQ(ParseBytes(strict, "[1 \"two\"]", root), 1);
    EXPECT_NE(strict.GetErrors()[0].Find("String value 'two' cannot follow another value"),
              wxNOT_FOUND);
}

TEST(wxJSONReaderValues, MemoryBuffers)
{
    wxJSONValue root;
    wxJSONReader reader(wxJSONREADER_MEMORYBUFF);
    EXPECT_EQ(ParseBytes(reader, "['0102FF' '0A', 'zz01ab', '123']", root), 2);
    EXPECT_EQ(reader.GetWarningCount(), 4);
    const unsigned char expected[] = {1, 2, 0xFF, 0x0A};
    ASSERT_TRUE(root[0].IsMemoryBuff());
    ASSERT_EQ(root[0].AsMemoryBuff().GetDataLen(), 4u);
    EXPECT_EQ(wxJSONValue::CompareMemoryBuff(root[0].AsMemoryBuff(), expected), 0);
    EXPECT_NE(reader.GetErrors()[0].Find("contains 2 invalid digits"), wxNOT_FOUND);
    EXPECT_EQ(root[1].AsMemoryBuff().GetDataLen(), 1u);
    EXPECT_NE(reader.GetErrors()[1].Find("contains 1 invalid digits"), wxNOT_FOUND);

    // An empty buffer joined to another adds nothing.
    EXPECT_EQ(ParseBytes(reader, "['0A' '']", root), 0);
    EXPECT_EQ(root[0].AsMemoryBuff().GetDataLen(), 1u);

    wxJSONReader strict(wxJSONREADER_STRICT);
    EXPECT_EQ(ParseBytes(strict, "['01']", root), 1);
    EXPECT_TRUE(root[0].IsMemoryBuff());
}

TEST(wxJSONReaderStructure, ObjectsArraysAndTheirEdges)
{
    wxJSONReader reader(wxJSONREADER_STRICT);
    wxJSONValue root;
    EXPECT_EQ(ParseBytes(reader, "[1, 2,]", root), 0);
    EXPECT_EQ(root.Size(), 2);
    EXPECT_EQ(ParseBytes(reader, "{\"\":0}", root), 0);
    EXPECT_TRUE(root.HasMember(""));
    EXPECT_EQ(root.Size(), 1);
    EXPECT_EQ(ParseBytes(reader, "{\"a\":1, \"a\":2}", root), 0);
    EXPECT_EQ(root.Size(), 1);
    EXPECT_EQ(root["a"].AsInt(), 2);
    EXPECT_EQ(ParseBytes(reader, "  {\"x\": {\"y\": [[], {}, [null]]}} trailing", root), 0);
    EXPECT_EQ(reader.GetDepth(), 4);
    EXPECT_EQ(root["x"]["y"].Size(), 3);
    EXPECT_TRUE(root["x"]["y"][0].IsArray());
    EXPECT_TRUE(root["x"]["y"][1].IsObject());
    EXPECT_TRUE(root["x"]["y"][2][0].IsNull());
    EXPECT_EQ(reader.Parse(wxString("[1, 2]"), nullptr), 0);
}

// The root is re-typed as the text starts, not replaced: an object read into an object keeps its
// members and comments, and text without a start character leaves it as it was.
TEST(wxJSONReaderStructure, TheRootIsRetypedNotReplaced)
{
    wxJSONReader reader(wxJSONREADER_STRICT);
    wxJSONValue root;
    root["old"] = 1;
    root.AddComment(wxS("// the host's"));
    root.SetLineNo(7);
    const wxJSONValue copy = root;
    EXPECT_EQ(ParseInto(reader, "{\"new\":2, \"old\":3}", root), 0);
    EXPECT_EQ(root.Size(), 2);
    EXPECT_EQ(root["old"].AsInt(), 3);
    EXPECT_EQ(root["new"].AsInt(), 2);
    EXPECT_EQ(root.GetCommentCount(), 1);
    EXPECT_EQ(copy.Size(), 1) << "a value sharing the root's data keeps its own";

    EXPECT_EQ(ParseInto(reader, "no start here", root), 1);
    EXPECT_EQ(root.Size(), 2);
    EXPECT_EQ(root.GetLineNo(), -1);

    EXPECT_EQ(ParseInto(reader, "[1]", root), 0);
    EXPECT_TRUE(root.IsArray());
    EXPECT_EQ(root.Size(), 1) << "an object made an array loses its members";
    EXPECT_EQ(root.GetCommentCount(), 1);
}

TEST(wxJSONReaderStructure, LargeObjectsKeepEveryMemberFindable)
{
    // Enough members to grow the map's table many times over, each name given twice so that
    // the second value replaces the first after the table has moved.
    std::string text = "{";
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < 3000; ++i)
            text += "\"member " + std::to_string(i) + "\":" + std::to_string(i * 10 + pass) + ",";
    text += "\"\":-1}";
    wxJSONReader reader(wxJSONREADER_STRICT);
    wxJSONValue root;
    ASSERT_EQ(ParseBytes(reader, text, root), 0);
    EXPECT_EQ(root.Size(), 3001);
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(root.ItemAt(wxString::Format("member %d", i)).AsInt(), i * 10 + 1) << i;
    EXPECT_EQ(root.ItemAt("").AsInt(), -1);

    // Written out and read back, the members all come through once, in whatever order.
    wxJSONWriter writer(wxJSONWRITER_NONE);
    wxString written;
    writer.Write(root, written);
    wxJSONValue again;
    ASSERT_EQ(reader.Parse(written, &again), 0);
    EXPECT_TRUE(again.IsSameAs(root));
    EXPECT_EQ(again.GetMemberNames().GetCount(), 3001u);
}

TEST(wxJSONReaderStructure, MissingAndMismatchedClosers)
{
    wxJSONValue root;
    wxJSONReader tolerant(wxJSONREADER_MISSING);
    EXPECT_EQ(ParseBytes(tolerant, "[1", root), 0);
    ASSERT_EQ(tolerant.GetWarningCount(), 1);
    EXPECT_NE(tolerant.GetWarnings()[0].Find("']' missing at end of file"), wxNOT_FOUND);
    EXPECT_EQ(root.Size(), 1);
    EXPECT_EQ(ParseBytes(tolerant, "{\"a\":[1}", root), 0);
    EXPECT_EQ(tolerant.GetWarningCount(), 2);
    EXPECT_EQ(root["a"][0].AsInt(), 1);

    wxJSONReader strict(wxJSONREADER_STRICT);
    EXPECT_EQ(ParseBytes(strict, "[1", root), 1);
    EXPECT_NE(strict.GetErrors()[0].Find("']' missing at end of file"), wxNOT_FOUND);
    EXPECT_EQ(root[0].AsInt(), 1);
    EXPECT_EQ(ParseBytes(strict, "{\"a\":1]", root), 1);
    EXPECT_NE(strict.GetErrors()[0].Find("close an object using the ']'"), wxNOT_FOUND);
}

TEST(wxJSONReaderStructure, DeepNestingIsRefusedNotFollowed)
{
    wxJSONReader reader;
    wxJSONValue root;
    EXPECT_EQ(ParseBytes(reader, std::string(100000, '['), root), 1);
    EXPECT_NE(reader.GetErrors()[0].Find("nested too deeply"), wxNOT_FOUND);
    EXPECT_EQ(reader.GetDepth(), wxJSONReader::MAX_NESTING);

    std::string deep =
        std::string(wxJSONReader::MAX_NESTING, '[') + std::string(wxJSONReader::MAX_NESTING, ']');
    EXPECT_EQ(ParseBytes(reader, deep, root), 0);
    EXPECT_EQ(reader.GetDepth(), wxJSONReader::MAX_NESTING);
    // The deepest tree the reader builds can be written, compared and destroyed in turn.
    wxString text;
    wxJSONWriter(wxJSONWRITER_STYLED).Write(root, text);
    wxJSONValue again;
    EXPECT_EQ(reader.Parse(text, &again), 0);
    EXPECT_TRUE(again.IsSameAs(root));
}

TEST(wxJSONReaderComments, ToleratedOrRefused)
{
    wxJSONValue root;
    wxJSONReader tolerant(wxJSONREADER_ALLOW_COMMENTS);
    EXPECT_EQ(ParseBytes(tolerant, "// head\n[1, /* two */ 2] // tail", root), 0);
    EXPECT_EQ(tolerant.GetWarningCount(), 2); // the tail comment is never read
    EXPECT_EQ(root.Size(), 2);
    EXPECT_EQ(root[0].GetCommentCount(), 0); // tolerated, not stored

    wxJSONReader strict(wxJSONREADER_STRICT);
    EXPECT_EQ(ParseBytes(strict, "[1, // c\n 2]", root), 1);
    EXPECT_EQ(root.Size(), 2);
    // The rest of the line goes with the stray slash, which leaves the comma without a value.
    EXPECT_EQ(ParseBytes(strict, "[1, /x 2\n, 3]", root), 2);
    EXPECT_NE(strict.GetErrors()[0].Find("Strange '/' (did you want to insert a comment?)"),
              wxNOT_FOUND);
    EXPECT_EQ(root.Size(), 2);
}

TEST(wxJSONReaderComments, AValueReplacedByAContainerTakesItsCommentTargetsAlong)
{
    // The first array is replaced by the object after it; the comment below must not reach
    // for an element of the array that is gone.
    wxJSONReader reader(wxJSONREADER_ALLOW_COMMENTS | wxJSONREADER_STORE_COMMENTS);
    wxJSONValue root;
    EXPECT_EQ(reader.Parse(wxString("[[1]{}\n// c\n]"), &root), 1);
    ASSERT_EQ(root.Size(), 1);
    EXPECT_TRUE(root[0].IsObject());
    EXPECT_EQ(reader.Parse(wxString("{\"a\":[1]:\n// c\n}"), &root), 2);
}

TEST(wxJSONReaderComments, StoredBeforeAfterAndInline)
{
    const int store = wxJSONREADER_ALLOW_COMMENTS | wxJSONREADER_STORE_COMMENTS;
    wxJSONValue root;
    wxJSONReader before(store);
    ASSERT_EQ(ParseBytes(before, "[\n1, // one\n// for two\n2,\n/* for\nthree */\n3\n]", root), 0);
    EXPECT_EQ(root[0].GetComment(), "// one\n");
    EXPECT_EQ(root[0].GetCommentPos(), wxJSONVALUE_COMMENT_INLINE);
    EXPECT_EQ(root[1].GetComment(), "// for two\n");
    EXPECT_EQ(root[1].GetCommentPos(), wxJSONVALUE_COMMENT_BEFORE);
    EXPECT_EQ(root[2].GetComment(), "/* for\nthree */");
    EXPECT_EQ(root[2].GetCommentPos(), wxJSONVALUE_COMMENT_BEFORE);

    wxJSONReader after(store | wxJSONREADER_COMMENTS_AFTER);
    ASSERT_EQ(ParseBytes(after, "{\n\"a\" : 1,\n// about a\n\"b\" : 2\n// about b\n}", root), 0);
    EXPECT_EQ(root["a"].GetComment(), "// about a\n");
    EXPECT_EQ(root["a"].GetCommentPos(), wxJSONVALUE_COMMENT_AFTER);
    EXPECT_EQ(root["b"].GetComment(), "// about b\n");

    wxJSONReader head(store);
    ASSERT_EQ(ParseBytes(head, "/* the root */\n{\"a\":1}", root), 0);
    EXPECT_EQ(root.GetComment(), "/* the root */");
}

TEST(wxJSONReaderStreams, EveryStreamKindGivesTheSameTree)
{
    std::string text = "{\"list\": [";
    for (int i = 0; i < 30000; ++i)
        text += (i ? ", " : "") + std::to_string(i) + ", \"s" + std::to_string(i) + "\"";
    text += "]}";
    wxJSONReader reader(wxJSONREADER_STRICT);
    wxJSONValue fromMemory;
    ASSERT_EQ(ParseBytes(reader, text, fromMemory), 0);
    EXPECT_EQ(fromMemory["list"].Size(), 60000);

    TrickleStream trickle(text);
    wxJSONValue fromTrickle;
    ASSERT_EQ(reader.Parse(trickle, &fromTrickle), 0);
    EXPECT_TRUE(fromTrickle.IsSameAs(fromMemory));

    wxJSONValue fromString;
    ASSERT_EQ(reader.Parse(wxString::FromUTF8(text.c_str()), &fromString), 0);
    EXPECT_TRUE(fromString.IsSameAs(fromMemory));

    // A surrogate pair split across the reads of a trickling stream is still joined.
    TrickleStream pair("[\"abcd\\uD834\\uDD1E\"]");
    ASSERT_EQ(reader.Parse(pair, &fromTrickle), 0);
    EXPECT_EQ(fromTrickle[0].AsString(), wxString(L"abcd\U0001D11E"));
}

TEST(wxJSONReaderStreams, MessagesDoNotDependOnHowTheInputArrives)
{
    // Bad and joined strings of many lengths, so that some straddle the places where a stream
    // read in pieces is cut: every message, with its line and column, is the same either way.
    std::string text = "[\n";
    for (int i = 0; i < 4000; ++i)
    {
        text += "\"" + std::string(i % 37, 'a') + (i % 3 ? "\xff" : "") + "\"";
        text += i % 5 ? ",\n" : " \"joined\",\n";
    }
    text += "1]";
    wxJSONReader reader(wxJSONREADER_TOLERANT, 100000);
    wxJSONValue fromMemory;
    const int errors = ParseBytes(reader, text, fromMemory);
    EXPECT_GT(errors, 2000);
    const wxArrayString memoryErrors = reader.GetErrors();
    const wxArrayString memoryWarnings = reader.GetWarnings();
    EXPECT_GT(memoryWarnings.GetCount(), 500u);

    TrickleStream trickle(text);
    wxJSONValue fromTrickle;
    EXPECT_EQ(reader.Parse(trickle, &fromTrickle), errors);
    EXPECT_TRUE(fromTrickle.IsSameAs(fromMemory));
    EXPECT_TRUE(reader.GetErrors() == memoryErrors);
    EXPECT_TRUE(reader.GetWarnings() == memoryWarnings);
    EXPECT_EQ(memoryErrors[0],
              wxS("Error: line 3, col 5 - String value: the UTF-8 stream is invalid"));
}

// Reading stops at the document's closing bracket on every kind of stream: a second document
// and trailing bytes stay in the stream, and a peer that sent one document and waits for an
// answer is not waited for.
TEST(wxJSONReaderStreams, TheStreamIsLeftJustAfterTheDocument)
{
    const std::string text = "[1]\r\n{\"a\": 2} tail";
    auto readBoth = [](wxInputStream& is)
    {
        wxJSONReader reader;
        wxJSONValue first, second;
        EXPECT_EQ(reader.Parse(is, &first), 0);
        EXPECT_EQ(reader.Parse(is, &second), 0);
        EXPECT_EQ(first[0].AsInt(), 1);
        EXPECT_EQ(second[wxS("a")].AsInt(), 2);
    };
    auto rest = [](wxInputStream& is)
    {
        char bytes[64];
        is.Read(bytes, sizeof bytes);
        return std::string(bytes, is.LastRead());
    };

    wxMemoryInputStream memory(text.data(), text.size());
    readBoth(memory);
    EXPECT_EQ(rest(memory), " tail");

    const wxString path = wxFileName::CreateTempFileName(wxS("kxjson"));
    {
        wxFile file(path, wxFile::write);
        ASSERT_TRUE(file.Write(text.data(), text.size()));
    }
    {
        wxFileInputStream file(path);
        readBoth(file);
        EXPECT_EQ(rest(file), " tail");
    }
    wxRemoveFile(path);

    // The writer keeps its end open: a read beyond what was sent would never return.
    PipeStream pipe;
    pipe.Send(text.substr(0, text.size() - 5));
    alarm(60);
    readBoth(pipe);
    pipe.Send(" tail");
    EXPECT_EQ(rest(pipe), " tail");
    alarm(0);
}

TEST(wxJSONReaderStreams, TextFromAWideString)
{
    wxJSONReader reader;
    wxJSONValue root;
    EXPECT_EQ(reader.Parse(wxString(L"{\"n\u00e4me\": \"\U0001F600\"}"), &root), 0);
    EXPECT_EQ(root[wxString(L"n\u00e4me")].AsString(), wxString(L"\U0001F600"));
}
