// Bitmaps travel as encoded image records; they need the toolkit's GUI, so these run in a real
// application.
#include "kxRuzoVori/serialize/wxSerialize.h"
#include "wxSerializeSupport.h"

#include <gtest/gtest.h>
#include <wx/image.h>

namespace
{
wxBitmap MakeBitmap()
{
    wxImage image(7, 5);
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 5; ++y)
            image.SetRGB(x, y, static_cast<unsigned char>(x * 30),
                         static_cast<unsigned char>(y * 50),
                         static_cast<unsigned char>(200 - x * y));
    return wxBitmap(image);
}
} // namespace

TEST(wxSerializeBitmaps, BitmapRoundTripsAsAPngRecord)
{
    // The stream adds the handlers it needs when the host has not.
    wxImage::CleanUpHandlers();
    ASSERT_EQ(wxImage::FindHandler(wxBITMAP_TYPE_PNG), nullptr);

    const wxBitmap bitmap = MakeBitmap();
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        EXPECT_TRUE(writer.WriteBitmap(bitmap));
        writer << bitmap;
        writer.WriteUint8(7);
    }
    const std::string bytes = BytesOf(out);
    EXPECT_EQ(bytes.substr(8, 2), "Br");
    EXPECT_EQ(bytes.substr(14, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_NE(wxImage::FindHandler(wxBITMAP_TYPE_PNG), nullptr);

    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    wxBitmap first, second;
    EXPECT_TRUE(reader.ReadBitmap(first));
    reader >> second;
    unsigned char trailer = 0;
    EXPECT_TRUE(reader.ReadUint8(trailer));
    EXPECT_EQ(trailer, 7);
    for (const wxBitmap* back : {&first, &second})
    {
        ASSERT_TRUE(back->IsOk());
        const wxImage expected = bitmap.ConvertToImage();
        const wxImage image = back->ConvertToImage();
        ASSERT_EQ(image.GetSize(), wxSize(7, 5));
        for (int x = 0; x < 7; ++x)
            for (int y = 0; y < 5; ++y)
            {
                EXPECT_EQ(image.GetRed(x, y), expected.GetRed(x, y));
                EXPECT_EQ(image.GetGreen(x, y), expected.GetGreen(x, y));
                EXPECT_EQ(image.GetBlue(x, y), expected.GetBlue(x, y));
            }
    }
}

TEST(wxSerializeBitmaps, InvalidOrUndecodableBitmaps)
{
    wxMemoryOutputStream out;
    wxSerialize writer(out, 1);
    const size_t before = BytesOf(out).size();
    EXPECT_FALSE(writer.WriteBitmap(wxBitmap()));
    EXPECT_EQ(BytesOf(out).size(), before);
    EXPECT_TRUE(writer.IsOk());

    // A record that is no image, or an empty one, is read: the bitmap becomes an invalid one and
    // the stream stays in step.
    const std::string bytes =
        FromHex("00000000 00000001 42 72 00000004 DEADBEEF 42 72 00000000 63 09");
    wxMemoryInputStream in(bytes.data(), bytes.size());
    wxSerialize reader(in);
    wxBitmap bitmap = MakeBitmap();
    EXPECT_TRUE(reader.ReadBitmap(bitmap));
    EXPECT_FALSE(bitmap.IsOk());
    bitmap = MakeBitmap();
    EXPECT_TRUE(reader.ReadBitmap(bitmap));
    EXPECT_FALSE(bitmap.IsOk());
    unsigned char value = 0;
    EXPECT_TRUE(reader.ReadUint8(value));
    EXPECT_EQ(value, 9);

    // A bitmap tag not followed by a record is a type error.
    LogCatcher log;
    const std::string wrong = FromHex("00000000 00000001 42 63 01");
    wxMemoryInputStream in2(wrong.data(), wrong.size());
    wxSerialize reader2(in2);
    EXPECT_FALSE(reader2.ReadBitmap(bitmap));
    EXPECT_EQ(reader2.GetErrorMessage(),
              wxS("Expected chunk item of type 'data record' but got type '8bits uint'"));
}

// The bitmap item cut after every byte: a recorded error at the cut, never a crash or a bitmap
// made from part of the image.
TEST(wxSerializeBitmaps, TruncatedAtEveryPosition)
{
    wxMemoryOutputStream out;
    {
        wxSerialize writer(out, 1);
        writer.EnterObject();
        writer.WriteString(wxS("icon"));
        EXPECT_TRUE(writer.WriteBitmap(MakeBitmap()));
        writer.LeaveObject();
        writer.WriteUint8(1);
    }
    const std::string whole = BytesOf(out);
    LogCatcher log;
    for (size_t cut = 0; cut <= whole.size(); ++cut)
    {
        const std::string part = whole.substr(0, cut);
        wxMemoryInputStream in(part.data(), part.size());
        wxSerialize reader(in);
        wxString name;
        wxBitmap bitmap;
        unsigned char last = 0;
        const bool ok = reader.EnterObject() & reader.ReadString(name) & reader.ReadBitmap(bitmap) &
                        reader.LeaveObject() & reader.ReadUint8(last);
        EXPECT_EQ(ok, cut == whole.size()) << cut;
        EXPECT_EQ(reader.GetErrorCode() != 0, cut != whole.size()) << cut;
        EXPECT_TRUE(!bitmap.IsOk() || bitmap.GetSize() == wxSize(7, 5)) << cut;
    }
}
