#ifndef KXRUZOVORI_CIPHER_KXCYPHER_H
#define KXRUZOVORI_CIPHER_KXCYPHER_H

#include "kxRuzoVori/kxExport.h"

#include <wx/buffer.h>
#include <wx/string.h>

/// Enciphers and deciphers whole buffers with Triple DES or single DES in ECB mode, padding them
/// to whole blocks with a chosen byte; converts buffers to and from hexadecimal text and computes
/// the certificate (a Triple DES CBC-MAC) of a text. Nothing here throws; the key and mode are
/// fixed when the cipher is made.
class KX_API kxCypher
{
public:
    /// mode 0 runs Triple DES with the first 24 key bytes, mode 1 single DES with the first 8. An
    /// empty key selects the library's built-in key and Triple DES whatever the mode says. A key
    /// shorter than its mode needs is completed with zero bytes; any other mode takes the built-in
    /// key and Triple DES.
    kxCypher(wxMemoryBuffer key, unsigned char mode, unsigned char padByte);

    /// Pads in (whose storage the caller's buffer shares, so the caller sees the pad bytes too)
    /// and enciphers it into out. Always returns true.
    bool EncryptBlock(wxMemoryBuffer in, wxMemoryBuffer& out);
    /// Deciphers in into out; the pad bytes stay for the caller to strip. Always returns true.
    bool DecryptBlock(wxMemoryBuffer in, wxMemoryBuffer& out);

    /// Appends the pad byte until the length is a non-zero multiple of 8.
    void _padBuffer(wxMemoryBuffer& buffer);
    /// The ECB pass over the whole blocks of in.
    void _processBlock(wxMemoryBuffer& in, wxMemoryBuffer& out, bool encrypt);

    /// Upper-case hexadecimal, two digits per byte.
    static wxString ToAsciiHex(const wxMemoryBuffer& buffer);
    /// The two upper-case hexadecimal digits of byte.
    static wxString _toAsciiHex(unsigned char byte);
    /// The inverse of ToAsciiHex: digits 0-9 and A-F, taken in pairs. A character outside those
    /// reads as 0 and an odd last character is ignored.
    static wxMemoryBuffer ToMemoryBuffer(const wxString& text);

    /// The 16 hexadecimal digits of the Triple DES CBC-MAC of the text's UTF-16LE bytes.
    wxString CalcSertificate(const wxString& text);

private:
    unsigned char m_mode;
    unsigned char m_padByte;
    wxMemoryBuffer m_key;
};

#endif
