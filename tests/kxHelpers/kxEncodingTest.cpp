// Tests of the hex and Base64 conversions, the text helpers and the default-value globals.
#include "kxRuzoVori/kxHelpers/kxEncoding.h"

#include <gtest/gtest.h>
#include <wx/mstream.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <openssl/evp.h>
#pragma GCC diagnostic pop

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<unsigned char>;

wxMemoryBuffer BufferOf(const Bytes& bytes)
{
    wxMemoryBuffer buffer;
    if (!bytes.empty())
        buffer.AppendData(bytes.data(), bytes.size());
    return buffer;
}

Bytes BytesOf(const wxMemoryBuffer& buffer)
{
    const unsigned char* data = static_cast<const unsigned char*>(buffer.GetData());
    return Bytes(data, data + buffer.GetDataLen());
}
} // namespace

TEST(kxEncoding, DefaultValueGlobals)
{
    EXPECT_TRUE(g_kxEmptyString.empty());
    EXPECT_EQ(0, g_kxEmptyLongLong);
    EXPECT_EQ(0u, g_kxEmptyULong);
    EXPECT_EQ(8u, sizeof g_kxEmptyLongLong);
}

TEST(kxHex, BufferToText)
{
    EXPECT_EQ(wxString("000AFF"), kxMemoryBufferToStrHEX(BufferOf({0x00, 0x0A, 0xFF})));
    EXPECT_EQ(wxString(), kxMemoryBufferToStrHEX(wxMemoryBuffer()));

    wxMemoryOutputStream stream;
    EXPECT_EQ(wxString(), kxMemoryBufferToStrHEX(stream));
    const unsigned char written[] = {0x12, 0xAB, 0x00, 0x7F, 0x80};
    stream.Write(written, sizeof written);
    EXPECT_EQ(wxString("12AB007F80"), kxMemoryBufferToStrHEX(stream));
}

TEST(kxHex, TextToBuffer)
{
    EXPECT_EQ(Bytes({0x00, 0x0A, 0xFF}), BytesOf(kxStrHEXToMemoryBuffer(wxString("000aff"))));
    EXPECT_EQ(Bytes({0x00, 0x0A, 0xFF}), BytesOf(kxStrHEXToMemoryBuffer(wxString("000AFF"))));
    EXPECT_EQ(Bytes({0xAB, 0xC0}), BytesOf(kxStrHEXToMemoryBuffer(wxString("ABC"))));
    EXPECT_EQ(Bytes(), BytesOf(kxStrHEXToMemoryBuffer(wxString())));
    EXPECT_EQ(Bytes({0x9F, 0xF0}), BytesOf(kxStrHEXToMemoryBuffer(wxString("9fF"))));
}

// Every byte value survives the round trip, in both letter cases of the text.
TEST(kxHex, RoundTripsEveryByte)
{
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<unsigned char>(i);
    std::mt19937 random(11);
    std::shuffle(all.begin(), all.end(), random);
    const wxString text = kxMemoryBufferToStrHEX(BufferOf(all));
    ASSERT_EQ(512u, text.length());
    EXPECT_EQ(text.Upper(), text);
    EXPECT_EQ(all, BytesOf(kxStrHEXToMemoryBuffer(text)));
    EXPECT_EQ(all, BytesOf(kxStrHEXToMemoryBuffer(text.Lower())));
}

// Foreign characters are not rejected: each counts by the low four bits of its offset.
TEST(kxHex, ForeignCharactersReadByTheirLowBits)
{
    // 'G' is 'A' + 6, so it reads as 16 and keeps 0; '/' is '0' - 1 and keeps 15.
    EXPECT_EQ(Bytes({0x0F}), BytesOf(kxStrHEXToMemoryBuffer(wxString("G/"))));
    EXPECT_EQ(Bytes({0x2A}), BytesOf(kxStrHEXToMemoryBuffer(wxString(L"\u00e9a"))));
    // A character above U+FFFF is two UTF-16 units, D83D and DE00, and so two digits.
    EXPECT_EQ(Bytes({0x69}), BytesOf(kxStrHEXToMemoryBuffer(wxString(L"\U0001F600"))));
    EXPECT_EQ(Bytes({0xA6, 0x90}), BytesOf(kxStrHEXToMemoryBuffer(wxString(L"A\U0001F600"))));
}

namespace
{
const wxBase64DecodeMode kStrict = wxBase64DecodeMode_Strict;
const wxBase64DecodeMode kSkipWS = wxBase64DecodeMode_SkipWS;
const wxBase64DecodeMode kRelaxed = wxBase64DecodeMode_Relaxed;
const size_t kError = static_cast<size_t>(-1);

std::string Encode(const std::string& bytes)
{
    const size_t needed = kxRuzoVori::wxBase64Encode(nullptr, 0, bytes.data(), bytes.size());
    std::string text(needed, '\0');
    EXPECT_EQ(needed, kxRuzoVori::wxBase64Encode(&text[0], needed, bytes.data(), bytes.size()));
    return text;
}

// Decodes with the byte decoder; the result or "error@position".
std::string Decode(const std::string& text, wxBase64DecodeMode mode = kStrict)
{
    size_t position = 12345;
    const size_t counted =
        kxRuzoVori::wxBase64Decode(nullptr, 0, text.data(), text.size(), mode, &position);
    std::string bytes(text.size(), '\0');
    size_t where = 54321;
    const size_t decoded =
        kxRuzoVori::wxBase64Decode(&bytes[0], bytes.size(), text.data(), text.size(), mode, &where);
    EXPECT_EQ(counted, decoded) << "counting and decoding must agree on " << text;
    if (decoded == kError)
    {
        EXPECT_EQ(position, where);
        return "error@" + std::to_string(where);
    }
    bytes.resize(decoded);
    return bytes;
}

std::string OpenSslEncode(const std::string& bytes)
{
    std::string text(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&text[0]),
                        reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()));
    text.resize(length);
    return text;
}

// EVP_DecodeBlock counts the pad positions as zero bytes; they are stripped here.
std::string OpenSslDecode(const std::string& text)
{
    std::string bytes(text.size(), '\0');
    const int length =
        EVP_DecodeBlock(reinterpret_cast<unsigned char*>(&bytes[0]),
                        reinterpret_cast<const unsigned char*>(text.data()), int(text.size()));
    bytes.resize(length < 0 ? 0 : length);
    for (size_t i = text.size(); i > 0 && text[i - 1] == '='; --i)
        bytes.pop_back();
    return bytes;
}

std::string RandomBytes(std::mt19937& random, size_t length)
{
    std::string bytes(length, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random());
    return bytes;
}

wxString Units(std::initializer_list<unsigned> units)
{
    wxString text;
    for (unsigned unit : units)
        text += wxUniChar(unit);
    return text;
}
} // namespace

TEST(kxBase64, Rfc4648Vectors)
{
    const std::pair<const char*, const char*> vectors[] = {{"", ""},
                                                           {"f", "Zg=="},
                                                           {"fo", "Zm8="},
                                                           {"foo", "Zm9v"},
                                                           {"foob", "Zm9vYg=="},
                                                           {"fooba", "Zm9vYmE="},
                                                           {"foobar", "Zm9vYmFy"}};
    for (const auto& v : vectors)
    {
        EXPECT_EQ(v.second, Encode(v.first));
        EXPECT_EQ(v.first, Decode(v.second));
        EXPECT_EQ(wxString(v.second), kxRuzoVori::wxBase64Encode(wxString(v.first)));
        EXPECT_EQ(wxString(v.first), kxRuzoVori::wxBase64Decode(wxString(v.second)));
        const wxMemoryBuffer buffer = kxRuzoVori::wxBase64Decode(v.second);
        EXPECT_EQ(std::string(v.first),
                  std::string(static_cast<const char*>(buffer.GetData()), buffer.GetDataLen()));
    }
}

// Every length from 0 to 1,000 bytes, against OpenSSL's block functions in both directions.
TEST(kxBase64, AgreesWithOpenSsl)
{
    std::mt19937 random(4648);
    for (size_t length = 0; length <= 1000; ++length)
    {
        const std::string bytes = RandomBytes(random, length);
        const std::string text = Encode(bytes);
        ASSERT_EQ(OpenSslEncode(bytes), text) << length;
        ASSERT_EQ(bytes, OpenSslDecode(text)) << length;
        ASSERT_EQ(bytes, Decode(text)) << length;
    }
}

TEST(kxBase64, EncoderLimits)
{
    char out[8];
    EXPECT_EQ(kError, kxRuzoVori::wxBase64Encode(out, sizeof out, nullptr, 3));
    EXPECT_EQ(0u, kxRuzoVori::wxBase64Encode(out, sizeof out, "abc", 0));
    EXPECT_EQ(4u, kxRuzoVori::wxBase64Encode(nullptr, 0, "a", 1));
    EXPECT_EQ(kError, kxRuzoVori::wxBase64Encode(out, 3, "a", 1));
    EXPECT_EQ(4u, kxRuzoVori::wxBase64Encode(out, 4, "a", 1));
    EXPECT_EQ(std::string("YQ=="), std::string(out, 4));
    // Groups that fit are written before the one that does not.
    memset(out, '.', sizeof out);
    EXPECT_EQ(kError, kxRuzoVori::wxBase64Encode(out, 7, "abcab", 5));
    EXPECT_EQ(std::string("YWJj..."), std::string(out, 7));
}

TEST(kxBase64, DecoderModesAndErrorPositions)
{
    EXPECT_EQ("abc", Decode("YWJj"));
    EXPECT_EQ("error@2", Decode("YW Jj", kStrict));
    EXPECT_EQ("abc", Decode("YW Jj", kSkipWS));
    EXPECT_EQ("abc", Decode("YW Jj", kRelaxed));
    EXPECT_EQ("error@2", Decode("YWI"));
    EXPECT_EQ("error@4", Decode("YQ==YQ=="));
    EXPECT_EQ("error@1", Decode("Y="));
    EXPECT_EQ("error@0", Decode("="));
    EXPECT_EQ("ab", Decode("YWI="));
    EXPECT_EQ("a", Decode("YQ=="));

    // White space is exactly NUL, tab, line feed, form feed, carriage return and blank.
    const std::string spaced("Y\0W\tJ\nj\f\r ", 10);
    EXPECT_EQ("abc", Decode(spaced, kSkipWS));
    EXPECT_EQ("error@1", Decode(spaced, kStrict));
    EXPECT_EQ("error@2", Decode("YW\vJj", kSkipWS));
    EXPECT_EQ("abc", Decode("YW\vJj", kRelaxed));
    EXPECT_EQ("abc", Decode("*Y-W.J!j~\x80\xff", kRelaxed));
    EXPECT_EQ("error@0", Decode("*YWJj", kSkipWS));

    // The second pad must follow the first at once, in every mode.
    EXPECT_EQ("error@3", Decode("YQ= =", kRelaxed));
    EXPECT_EQ("error@2", Decode("YQ=", kRelaxed));
    EXPECT_EQ("error@3", Decode("YQ=a"));
    // After the pad only white space (or, relaxed, foreign characters) may follow.
    EXPECT_EQ("a", Decode("YQ==\r\n", kSkipWS));
    EXPECT_EQ("a", Decode("YQ==#", kRelaxed));
    EXPECT_EQ("error@4", Decode("YQ===", kSkipWS));
    EXPECT_EQ("error@5", Decode("YQ== Y", kSkipWS));
    EXPECT_EQ("error@5", Decode("YWJj Y", kSkipWS));
}

TEST(kxBase64, DecoderSourceAndDestination)
{
    size_t position = 7;
    EXPECT_EQ(kError, kxRuzoVori::wxBase64Decode(nullptr, 0, nullptr, 4, kStrict, &position));
    EXPECT_EQ(0u, kxRuzoVori::wxBase64Decode(nullptr, 0, "", 0));
    // A zero-terminated source.
    char out[6];
    EXPECT_EQ(6u, kxRuzoVori::wxBase64Decode(out, sizeof out, "Zm9vYmFy"));
    EXPECT_EQ(std::string("foobar"), std::string(out, 6));
    // A destination one byte short fails, also when the short quartet is the padded one.
    EXPECT_EQ(kError, kxRuzoVori::wxBase64Decode(out, 5, "Zm9vYmFy", 8));
    EXPECT_EQ(kError, kxRuzoVori::wxBase64Decode(out, 4, "Zm9vYmE=", 8));
    EXPECT_EQ(5u, kxRuzoVori::wxBase64Decode(out, 5, "Zm9vYmE=", 8));
    // Without a position pointer errors are still reported.
    EXPECT_EQ(kError, kxRuzoVori::wxBase64Decode(out, sizeof out, "Zm9", 3));

    EXPECT_EQ(0u, kxRuzoVori::wxBase64Decode(static_cast<const char*>(nullptr)).GetDataLen());
    position = 0;
    EXPECT_EQ(0u, kxRuzoVori::wxBase64Decode("Zm9vY", wxNO_LEN, kStrict, &position).GetDataLen());
    EXPECT_EQ(4u, position);
    const wxMemoryBuffer relaxed = kxRuzoVori::wxBase64Decode("Zm 9v\n", 6, kSkipWS);
    EXPECT_EQ(std::string("foo"),
              std::string(static_cast<const char*>(relaxed.GetData()), relaxed.GetDataLen()));
}

// Decoding what was encoded gives the bytes back, with white space or junk mixed in for the
// lenient modes.
TEST(kxBase64, LenientModesRoundTrip)
{
    std::mt19937 random(99);
    const char spaces[] = {'\0', '\t', '\n', '\f', '\r', ' '};
    for (int round = 0; round < 300; ++round)
    {
        const std::string bytes = RandomBytes(random, random() % 200);
        const std::string text = Encode(bytes);
        std::string spaced, junked;
        for (char c : text)
        {
            // The two pads of a pair must stay adjacent.
            if (c == '=')
            {
                spaced += c;
                junked += c;
                continue;
            }
            if (random() % 3 == 0)
                spaced += spaces[random() % 6];
            spaced += c;
            if (random() % 3 == 0)
                junked += "!#$%&*-.:;?@\\^_`{|}~\v\x7f\x80\xff"[random() % 24];
            junked += c;
        }
        ASSERT_EQ(bytes, Decode(spaced, kSkipWS)) << round;
        ASSERT_EQ(bytes, Decode(junked, kRelaxed)) << round;
    }
}

TEST(kxBase64, TextForms)
{
    EXPECT_EQ(wxString("abc"), kxRuzoVori::wxBase64Decode(wxString("YWJj")));
    EXPECT_EQ(wxString("ab"), kxRuzoVori::wxBase64Decode(wxString("YWI=")));
    EXPECT_EQ(wxString("a"), kxRuzoVori::wxBase64Decode(wxString("YQ==")));
    EXPECT_EQ(wxString(), kxRuzoVori::wxBase64Decode(wxString("=YWJj")));
    EXPECT_EQ(wxString(), kxRuzoVori::wxBase64Decode(wxString("Y===")));
    EXPECT_EQ(wxString(), kxRuzoVori::wxBase64Decode(wxString("YWJj=")));
    EXPECT_EQ(wxString(), kxRuzoVori::wxBase64Decode(wxString()));
    // An unfinished last character is dropped; what follows the first pad is not read.
    EXPECT_EQ(wxString("ab"), kxRuzoVori::wxBase64Decode(wxString("YWJ")));
    EXPECT_EQ(wxString("ab"), kxRuzoVori::wxBase64Decode(wxString("YWI=garbage")));
    // Characters outside the alphabet give an empty text; a blank stands for "+".
    EXPECT_EQ(wxString(), kxRuzoVori::wxBase64Decode(wxString("YW*j")));
    EXPECT_EQ(wxString(), kxRuzoVori::wxBase64Decode(wxString(L"YW\u0100j")));
    EXPECT_EQ(Units({0xFB, 0xEF}), kxRuzoVori::wxBase64Decode(wxString("++8=")));
    EXPECT_EQ(Units({0xFB, 0xEF}), kxRuzoVori::wxBase64Decode(wxString("  8=")));

    // Characters up to U+00FF are bytes; beyond that the encoder gives up.
    EXPECT_EQ(wxString("6Q=="), kxRuzoVori::wxBase64Encode(wxString(L"\u00e9")));
    EXPECT_EQ(wxString(), kxRuzoVori::wxBase64Encode(wxString(L"a\u0100")));
    EXPECT_EQ(wxString("dXNlcjpwYXNz"), kxRuzoVori::wxBase64Encode(wxString("user:pass")));
    wxString all;
    for (unsigned c = 0; c < 256; ++c)
        all += wxUniChar(c);
    const wxString encoded = kxRuzoVori::wxBase64Encode(all);
    EXPECT_EQ(wxString(OpenSslEncode(std::string(all.mb_str(wxConvISO8859_1), 256))), encoded);
    EXPECT_EQ(all, kxRuzoVori::wxBase64Decode(encoded));
}

TEST(kxIsAsciiString, EightBitTexts)
{
    EXPECT_FALSE(kxIsAsciiString(nullptr));
    EXPECT_TRUE(kxIsAsciiString(L""));
    EXPECT_TRUE(kxIsAsciiString(L"plain \u00e9\u00ff"));
    EXPECT_FALSE(kxIsAsciiString(L"x\u0100"));
    EXPECT_FALSE(kxIsAsciiString(L"\U0001F600"));
    EXPECT_TRUE(kxIsAsciiString(L"\ufeff\u4e2d"));
    EXPECT_TRUE(kxIsAsciiString(L"\ufffe\u4e2d"));
    EXPECT_FALSE(kxIsAsciiString(L"a\ufeff"));
}

TEST(kxSaveOriginalStr, BytesIntoCharacters)
{
    wxString target("old");
    kxSaveOriginalStr("ABC", 3, target);
    EXPECT_EQ(Units({0x4241, 0x0043}), target);
    kxSaveOriginalStr("\x01\xff\x80\x7f", 4, target);
    EXPECT_EQ(Units({0xff01, 0x7f80}), target);
    kxSaveOriginalStr("abc", 0, target);
    EXPECT_TRUE(target.empty());
    // Zero bytes inside the data are kept.
    kxSaveOriginalStr(std::string("a\0\0b", 4).data(), 4, target);
    EXPECT_EQ(Units({0x0061, 0x6200}), target);
}

TEST(kxSaveOriginalStr, CharactersIntoBytes)
{
    wxString target("old");
    kxSaveOriginalStr(L"ABC", target);
    EXPECT_EQ(Units({0x4241, 0x0043}), target);
    kxSaveOriginalStr(L"ABCD", target);
    EXPECT_EQ(Units({0x4241, 0x4443}), target);
    kxSaveOriginalStr(L"\u00e9", target);
    EXPECT_EQ(Units({0x00e9}), target);
    kxSaveOriginalStr(L"", target);
    EXPECT_TRUE(target.empty());
    // Texts that are not 8-bit are copied unchanged.
    kxSaveOriginalStr(L"x\u4e2d", target);
    EXPECT_EQ(wxString(L"x\u4e2d"), target);
    kxSaveOriginalStr(static_cast<const wchar_t*>(nullptr), target);
    EXPECT_TRUE(target.empty());
    // A byte-order mark makes any text count as 8-bit: only low bytes are kept.
    kxSaveOriginalStr(L"\ufeff\u4e2d", target);
    EXPECT_EQ(Units({0x2dff}), target);

    // Both directions agree: bytes laid by one are the low bytes read by the other.
    wxString fromBytes, fromText;
    kxSaveOriginalStr("hello", 5, fromBytes);
    kxSaveOriginalStr(L"hello", fromText);
    EXPECT_EQ(fromBytes, fromText);
}
