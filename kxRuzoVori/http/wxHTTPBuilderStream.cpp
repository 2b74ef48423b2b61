// The response body stream of the request builder.
#include "kxRuzoVori/http/wxHTTPBuilderStream.h"

#include "kxRuzoVori/http/wxHTTPBuilder.h"

#include <algorithm>

wxHTTPBuilderStream::wxHTTPBuilderStream(wxHTTPBuilder* builder, long expectedLength)
    : wxSocketInputStream(*builder), m_builder(builder), m_expectedLength(expectedLength)
{
}

wxHTTPBuilderStream::~wxHTTPBuilderStream()
{
    m_builder->PrivateClose();
}

wxFileOffset wxHTTPBuilderStream::GetLength() const
{
    return m_expectedLength > 0 ? m_expectedLength : wxInvalidOffset;
}

size_t wxHTTPBuilderStream::OnSysRead(void* buffer, size_t size)
{
    if (m_expectedLength > 0)
    {
        const wxFileOffset left = m_expectedLength - m_bytesRead;
        if (left <= 0)
        {
            m_lasterror = wxSTREAM_EOF;
            return 0;
        }
        size = static_cast<size_t>(std::min<wxFileOffset>(left, size));
    }
    wxStreamError error = wxSTREAM_NO_ERROR;
    const size_t count = m_builder->PrivateReceive(buffer, size, error);
    m_bytesRead += count;
    // A connection that ends short of the announced length has lost part of the body.
    if (error == wxSTREAM_EOF && m_expectedLength > 0)
        error = wxSTREAM_READ_ERROR;
    m_lasterror = error;
    return count;
}
