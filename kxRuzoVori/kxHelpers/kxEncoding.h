// Conversions between byte buffers and text: upper-case hexadecimal, Base64 on buffers and on
// texts whose characters stand for bytes, and keeping raw 8-bit data inside a wide string.
#ifndef KXRUZOVORI_KXHELPERS_KXENCODING_H
#define KXRUZOVORI_KXHELPERS_KXENCODING_H

#include "kxRuzoVori/kxExport.h"

#include <wx/base64.h>
#include <wx/buffer.h>
#include <wx/mstream.h>
#include <wx/string.h>

// Values passed where the caller wants none.
/// An empty text, for text arguments the caller has no use for.
KX_API extern wxString g_kxEmptyString;
/// A zero number, for number arguments the caller has no use for.
KX_API extern long long g_kxEmptyLongLong;
/// The process id a caller of kxExecute() hands in when it does not want the id: kxExecute()
/// leaves this one alone.
KX_API extern unsigned long g_kxEmptyULong;

/// Two upper-case hex digits per byte, high digit first, no separators.
KX_API wxString kxMemoryBufferToStrHEX(const wxMemoryBuffer& buffer);
/// The same for the bytes written to the stream so far.
KX_API wxString kxMemoryBufferToStrHEX(wxMemoryOutputStream& stream);
/// One byte per pair of hex digits (either case); an odd last digit gives a low digit of 0.
/// Characters that are not hex digits are not rejected: only the low four bits of their offset
/// from '0' (below 'A') or from 'A' - 10 count. Digits are counted in UTF-16 code units, so a
/// character above U+FFFF stands for two of them.
KX_API wxMemoryBuffer kxStrHEXToMemoryBuffer(const wxString& text);

/// True for a null-free text whose characters are all below U+0100, or that starts with a
/// byte-order mark; false for a null pointer.
KX_API bool kxIsAsciiString(const wchar_t* text);

/// Lays length bytes of data (rounded up to an even count, so one byte past an odd length, the
/// data's terminating zero, is read too) into target, two bytes per character, the first byte of
/// each pair in the low half.
KX_API void kxSaveOriginalStr(const char* data, int length, wxString& target);
/// When kxIsAsciiString(text), lays the low bytes of text's characters, then two zero bytes, into
/// target the same way, target counting only the characters the data bytes fill; any other text
/// is copied as it is.
KX_API void kxSaveOriginalStr(const wchar_t* text, wxString& target);

/// The toolkit has its own Base64 functions under these names; the library's live in its
// namespace and are always called qualified.
namespace kxRuzoVori
{
/// Returns the characters written to dst, or needed when dst is null; (size_t)-1 when src is null
/// or dst is too small. No terminating zero is written.
KX_API size_t wxBase64Encode(char* dst, size_t dstLen, const void* src, size_t srcLen);

/// Returns the bytes decoded into dst, or that would be when dst is null; (size_t)-1 on error,
/// with the offending character's index stored through posErr when it is not null. srcLen may be
/// wxNO_LEN for a zero-terminated src. Strict mode rejects every character outside the alphabet,
/// SkipWS ignores white space (NUL, tab, line feed, form feed, carriage return, blank), Relaxed
/// ignores every character outside the alphabet and the pad.
KX_API size_t wxBase64Decode(void* dst, size_t dstLen, const char* src, size_t srcLen = wxNO_LEN,
                             wxBase64DecodeMode mode = wxBase64DecodeMode_Strict,
                             size_t* posErr = NULL);

/// The decoded bytes; an empty buffer on error or for a null src.
KX_API wxMemoryBuffer wxBase64Decode(const char* src, size_t srcLen = wxNO_LEN,
                                     wxBase64DecodeMode mode = wxBase64DecodeMode_Strict,
                                     size_t* posErr = NULL);

/// Base64 of the text's characters taken as bytes; empty when one of them is U+0100 or above.
KX_API wxString wxBase64Encode(const wxString& text);

/// One character per decoded byte. A blank reads as "+", so a text whose plus signs were turned
/// into blanks by form decoding still decodes; the first "=" ends the text. A pad where none may
/// stand, a character outside the alphabet, or a text starting with "=" gives an empty text.
KX_API wxString wxBase64Decode(const wxString& text);
} // namespace kxRuzoVori

#endif
