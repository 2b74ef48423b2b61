// URL parsing of the request builder on arbitrary texts: a URL it accepts must be one the
// request line and the Host header can carry.
#include "kxFuzzHttpSupport.h"
#include "kxRuzoVori/http/wxHTTPBuilder.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    wxSetAssertHandler(kxFuzzAbortOnAssert);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    // Half the inputs as UTF-8, so characters beyond Latin-1 take part too.
    wxString url = kxFuzzLatin1(data, size);
    if (size > 0 && (data[0] & 1))
        url = wxString::FromUTF8(reinterpret_cast<const char*>(data), size);

    wxString protocol, host, path, user, password;
    int port = -1;
    if (!wxHTTPBuilder::ParseURL(url, protocol, host, port, path, user, password))
    {
        if (port != -1 || !host.empty())
            abort(); // a refused URL changes nothing
        return 0;
    }
    if (protocol.empty() || host.empty() || !path.StartsWith(wxS("/")) || port < 1 || port > 65535)
        abort();
    for (const wxString* part : {&protocol, &host, &path, &user, &password})
    {
        for (wxUniChar c : *part)
        {
            if (c <= ' ' || c == 0x7F)
                abort();
        }
    }
    // Every part comes from the URL itself, in order.
    if (!url.StartsWith(protocol + wxS("://")) || !url.Contains(host) ||
        (!url.EndsWith(path) && path != wxS("/")))
        abort();
    if (host.Contains(wxS("/")) || host.Contains(wxS("@")) || host.Contains(wxS(":")))
        abort();
    return 0;
}
