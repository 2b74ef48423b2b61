// Trees built from arbitrary bytes, written in an arbitrary style and read back: the reader must
// find no error and rebuild the same tree, whatever the strings, numbers, buffers and comments.
#include "kxRuzoVori/json/wxJSONReader.h"
#include "kxRuzoVori/json/wxJSONWriter.h"

#include <wx/debug.h>
#include <wx/mstream.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{
// A toolkit assertion is a finding, not a message to print and pass over.
void AbortOnAssert(const wxString&, int, const wxString&, const wxString&, const wxString&)
{
    abort();
}

class Input
{
public:
    Input(const std::uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    unsigned Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::uint64_t Bits(int bytes)
    {
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v = (v << 8) | Byte();
        return v;
    }
    bool AtEnd() const { return m_pos >= m_size; }

private:
    const std::uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Any character a string can hold: every code point but the surrogates.
wxString Text(Input& in, bool forComment)
{
    wxString text;
    const unsigned length = in.Byte() % 12;
    for (unsigned i = 0; i < length; ++i)
    {
        unsigned b = in.Byte();
        unsigned c = b < 0x80 ? b : static_cast<unsigned>(in.Bits(3) % 0x110000);
        if (c >= 0xD800 && c <= 0xDFFF)
            c += 0x800;
        // A comment is kept as written, so it must not end itself early.
        if (forComment && (c == '\n' || c == '\r' || c == '*'))
            c = '_';
        text += wxUniChar(c);
    }
    return text;
}

wxJSONValue Build(Input& in, int depth)
{
    wxJSONValue value;
    switch (in.Byte() % 12)
    {
    case 0:
        break;
    case 1:
        value = (in.Byte() & 1) != 0;
        break;
    case 2:
        value = static_cast<long long>(in.Bits(8));
        break;
    case 3:
        value = static_cast<unsigned long long>(in.Bits(8));
        break;
    case 4:
    {
        std::uint64_t bits = in.Bits(8);
        double d;
        memcpy(&d, &bits, sizeof d);
        value = std::isfinite(d) ? d : 0.5;
        break;
    }
    case 5:
        value = Text(in, false);
        break;
    case 6:
    {
        wxMemoryBuffer buff(0);
        for (unsigned n = in.Byte() % 40; n > 0; --n)
        {
            unsigned char byte = static_cast<unsigned char>(in.Byte());
            buff.AppendData(&byte, 1);
        }
        value = buff;
        break;
    }
    case 7:
    case 8:
        value.SetType(wxJSONTYPE_ARRAY);
        if (depth < 8)
            for (unsigned n = in.Byte() % 5; n > 0 && !in.AtEnd(); --n)
                value.Append(Build(in, depth + 1));
        break;
    case 9:
    case 10:
        value.SetType(wxJSONTYPE_OBJECT);
        if (depth < 8)
            for (unsigned n = in.Byte() % 5; n > 0 && !in.AtEnd(); --n)
            {
                wxString key = Text(in, false);
                value[key] = Build(in, depth + 1);
            }
        break;
    default:
        value = static_cast<int>(in.Byte()) - 128;
        break;
    }
    unsigned comment = in.Byte();
    if (comment & 1)
    {
        wxString text = (comment & 2) ? wxString("//") : wxString("/*");
        text += Text(in, true);
        if (!(comment & 2))
            text += "*/";
        value.AddComment(text, static_cast<int>((comment >> 2) % 4));
    }
    return value;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    wxSetAssertHandler(AbortOnAssert);
    Input in(data, size);
    // Memory buffers written as arrays of numbers read back as arrays: leave that bit out.
    const int style = static_cast<int>(in.Bits(2)) & 0x7FF;
    wxJSONValue tree;
    tree.SetType((in.Byte() & 1) ? wxJSONTYPE_ARRAY : wxJSONTYPE_OBJECT);
    while (!in.AtEnd() && tree.Size() < 8)
    {
        if (tree.IsArray())
            tree.Append(Build(in, 1));
        else
            tree[Text(in, false)] = Build(in, 1);
    }

    wxJSONWriter writer(style, static_cast<int>(data[0] % 4), static_cast<int>(data[0] % 5));
    writer.SetDoubleFmtString("%.17g");
    wxMemoryOutputStream os;
    writer.Write(tree, os);
    std::string text(os.GetSize(), '\0');
    if (!text.empty())
        os.CopyTo(&text[0], text.size());

    wxJSONReader reader(wxJSONREADER_TOLERANT | wxJSONREADER_STORE_COMMENTS);
    wxMemoryInputStream is(text.data(), text.size());
    wxJSONValue back;
    if (reader.Parse(is, &back) != 0 || !back.IsSameAs(tree))
        abort();

    wxString wide;
    writer.Write(tree, wide);
    if (reader.Parse(wide, &back) != 0 || !back.IsSameAs(tree))
        abort();
    return 0;
}
