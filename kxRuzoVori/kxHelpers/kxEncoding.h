// Conversions between byte buffers and text: upper-case hexadecimal, Base64 on buffers and on
// texts whose characters stand for bytes, and keeping raw 8-bit data inside a wide string.
#ifndef KXRUZOVORI_KXHELPERS_KXENCODING_H
#define KXRUZOVORI_KXHELPERS_KXENCODING_H

#include "kxRuzoVori/kxExport.h"

#include <wx/buffer.h>
#include <wx/mstream.h>
#include <wx/string.h>

// Values passed where the caller wants none: an empty text, a zero number, and the process id a
// caller of kxExecute hands in when it does not want the id (kxExecute leaves this one alone).
KX_API extern wxString g_kxEmptyString;
KX_API extern long long g_kxEmptyLongLong;
KX_API extern unsigned long g_kxEmptyULong;

// Two upper-case hex digits per byte, high digit first, no separators.
KX_API wxString kxMemoryBufferToStrHEX(const wxMemoryBuffer& buffer);
// The same for the bytes written to the stream so far.
KX_API wxString kxMemoryBufferToStrHEX(wxMemoryOutputStream& stream);
// One byte per pair of hex digits (either case); an odd last digit gives a low digit of 0.
// Characters that are not hex digits are not rejected: only the low four bits of their offset
// from '0' (below 'A') or from 'A' - 10 count.
KX_API wxMemoryBuffer kxStrHEXToMemoryBuffer(const wxString& text);

#endif
