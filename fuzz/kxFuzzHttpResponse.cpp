// The request builder's reading of a response (status line, header lines, body) from an
// arbitrary byte stream: bounded, and the body is exactly what follows the head.
#include "kxFuzzHttpSupport.h"
#include "kxRuzoVori/http/private/kxHttpBuilderAccess.h"

#include <wx/init.h>
#include <wx/mstream.h>

#include <memory>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    wxSetAssertHandler(kxFuzzAbortOnAssert);
    // The builder is a socket: the toolkit's network layer must be set up first.
    static wxInitializer toolkit;
    return toolkit.IsOk() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    static wxHTTPBuilder* const builder = new wxHTTPBuilder;
    wxMemoryInputStream source(data, size);
    const bool ok = kxHttpBuilderAccess::ReadResponse(*builder, source);
    const wxString raw = builder->GetRawHeaders();
    const size_t lines = raw.empty() ? 0 : raw.Freq(wxS('\n')) + 1;
    if (lines > wxHTTPBuilder::GetMaxHeaderLines() ||
        raw.length() > lines * (wxHTTPBuilder::GetMaxLineLength() + 2))
        abort();
    if (!ok)
        return 0;

    const int code = builder->GetResponse();
    if (code < 0 || code > 999)
        abort();
    std::unique_ptr<wxHTTPBuilderStream> body(kxHttpBuilderAccess::BodyStream(*builder));
    std::string bytes;
    char block[8192];
    while (body->Read(block, sizeof block).LastRead() > 0)
        bytes.append(block, body->LastRead());
    // The body is the end of the input: all of it, or as much as the length announced.
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (bytes.size() > input.size() || input.compare(size - bytes.size(), bytes.size(), bytes) != 0)
    {
        const long length = builder->GetContentLength();
        if (length < 0 || bytes.size() != static_cast<size_t>(length) ||
            input.find(bytes) == std::string::npos)
            abort();
    }
    return 0;
}
