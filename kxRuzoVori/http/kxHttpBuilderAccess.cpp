// The request builder's response parsing fed from memory.
#include "kxRuzoVori/http/private/kxHttpBuilderAccess.h"

#include "kxRuzoVori/http/private/kxHttpConnection.h"

bool kxHttpBuilderAccess::ReadResponse(wxHTTPBuilder& builder, wxInputStream& source)
{
    builder.PrivateClose();
    builder.m_connection->ReadFrom(&source);
    builder.m_method = wxS("GET");
    int code = 0;
    return builder.PrivateReadStatusLine(code);
}

wxHTTPBuilderStream* kxHttpBuilderAccess::BodyStream(wxHTTPBuilder& builder)
{
    return new wxHTTPBuilderStream(&builder, builder.PrivateBodyLength());
}
