// The request builder's response parsing fed from memory instead of a connection, for the
// library's own fuzzers and tests.
#ifndef KXRUZOVORI_HTTP_PRIVATE_KXHTTPBUILDERACCESS_H
#define KXRUZOVORI_HTTP_PRIVATE_KXHTTPBUILDERACCESS_H

#include "kxRuzoVori/http/wxHTTPBuilder.h"
#include "kxRuzoVori/kxExport.h"

#include <wx/stream.h>

class KX_API kxHttpBuilderAccess
{
public:
    // Reads the status line and headers of a response from source, as the builder reads them
    // after sending a request; true when the builder would go on to the body. The rest of
    // source is then the body, read through a stream from GetInputStream's kind.
    static bool ReadResponse(wxHTTPBuilder& builder, wxInputStream& source);
    // The body stream the builder would hand over after ReadResponse().
    static wxHTTPBuilderStream* BodyStream(wxHTTPBuilder& builder);
};

#endif
