#ifndef KXRUZOVORI_HTTP_WXHTTPBUILDERSTREAM_H
#define KXRUZOVORI_HTTP_WXHTTPBUILDERSTREAM_H

#include "kxRuzoVori/kxExport.h"

#include <wx/sckstrm.h>

class wxHTTPBuilder;

/// Ends when the expected length has been read or the server ends the connection. A connection
/// that ends before a known length, or a wait that times out, is a read error. The builder must
/// outlive the stream; destroying the stream ends the connection.
/// The body of a response as a stream, read from the builder's connection.
class KX_API wxHTTPBuilderStream : public wxSocketInputStream
{
public:
    /// expectedLength: the body's length, or -1 or 0 to read until the connection ends.
    wxHTTPBuilderStream(wxHTTPBuilder* builder, long expectedLength);
    ~wxHTTPBuilderStream() override;

    /// The length given to the constructor.
    long GetExpectedLength() const { return m_expectedLength; }
    /// The bytes of the body read so far.
    wxFileOffset GetBytesRead() const { return m_bytesRead; }
    /// The expected length when there is one, else wxInvalidOffset (unknown).
    wxFileOffset GetLength() const override;

protected:
    /// At most size bytes, and never past the expected length; 0 with the stream at its end, or
    /// with a read error when the connection failed, timed out or ended too early.
    size_t OnSysRead(void* buffer, size_t size) override;

private:
    wxHTTPBuilder* m_builder;
    long m_expectedLength;
    wxFileOffset m_bytesRead = 0;

    wxDECLARE_NO_COPY_CLASS(wxHTTPBuilderStream);
};

#endif
