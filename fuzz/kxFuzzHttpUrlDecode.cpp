// Url-decoding of arbitrary texts, and url-encoding round trips of texts whose code units are
// all below 256 (the ones the decoder's two hex digits can give back).
#include "kxFuzzHttpSupport.h"
#include "kxRuzoVori/http/wxHTTPBuilder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    wxSetAssertHandler(kxFuzzAbortOnAssert);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const wxString latin = kxFuzzLatin1(data, size);
    const wxString decoded = wxHTTPBuilder::URLDecode(latin);
    if (decoded.length() > latin.length())
        abort();
    const wxString encoded = wxHTTPBuilder::URLEncode(latin);
    if (wxHTTPBuilder::URLDecode(encoded) != latin)
        abort();
    for (wxUniChar c : encoded)
    {
        if (c > 0x7F || c == ' ')
            abort();
    }

    // Wider characters: never lost, only spelled as more hex digits.
    const wxString wide = wxString::FromUTF8(reinterpret_cast<const char*>(data), size);
    wxHTTPBuilder::URLDecode(wide);
    if (wxHTTPBuilder::URLEncode(wide).length() < wide.length())
        abort();
    return 0;
}
