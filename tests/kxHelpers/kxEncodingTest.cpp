#include "kxRuzoVori/kxHelpers/kxEncoding.h"

#include <gtest/gtest.h>
#include <wx/mstream.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<unsigned char>;

wxMemoryBuffer BufferOf(const Bytes& bytes)
{
    wxMemoryBuffer buffer;
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
}
