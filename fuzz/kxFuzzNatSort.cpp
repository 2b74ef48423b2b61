// strnatcmp and strnatcasecmp on arbitrary pairs of texts: a text equals itself, swapping the
// arguments negates the answer, and nothing reads past either text.
#include "kxRuzoVori/kxHelpers/natsort/strnatcmp.h"

#include <wx/debug.h>

#include <cstdint>
#include <cstdlib>

namespace
{
// A toolkit assertion is a finding, not a message to print and pass over.
void AbortOnAssert(const wxString&, int, const wxString&, const wxString&, const wxString&)
{
    abort();
}

// Bytes below 0xF0 are characters of their own (digits, blanks and letters come up often);
// 0xF0 and above start a character from the whole Unicode range, given by the next two bytes.
wxString TextOf(const std::uint8_t* data, size_t size)
{
    wxString text;
    for (size_t i = 0; i < size; ++i)
    {
        if (data[i] < 0xF0 || i + 2 >= size)
            text += wxUniChar(static_cast<wxUint32>(data[i]));
        else
        {
            const std::uint32_t c = ((data[i] & 0x0Fu) << 16) | (data[i + 1] << 8) | data[i + 2];
            text += wxUniChar(c % 0x110000);
            i += 2;
        }
    }
    return text;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    wxSetAssertHandler(AbortOnAssert);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    size_t split = 0;
    while (split < size && data[split] != '|')
        ++split;
    const wxString a = TextOf(data, split);
    const wxString b = split < size ? TextOf(data + split + 1, size - split - 1) : wxString();
    const wxString copy(a.wc_str(), a.length());
    for (auto compare : {&strnatcmp, &strnatcasecmp})
    {
        const int ab = compare(a, b);
        if (ab < -1 || ab > 1 || ab != -compare(b, a))
            abort();
        if (compare(a, copy) != 0 || compare(b, b) != 0)
            abort();
    }
    return 0;
}
