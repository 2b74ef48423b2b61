// Text conversions shared by the JSON reader, writer and value: UTF-8 in both directions with a
// fast path for plain ASCII, and double formatting that ignores the locale's decimal separator.
// Internal to the library.
#ifndef KXRUZOVORI_JSON_WXJSONTEXT_H
#define KXRUZOVORI_JSON_WXJSONTEXT_H

#include <wx/string.h>

#include <cstddef>
#include <string>
#include <vector>

// Formats d with the printf format fmt into out (size bytes) with "." as the decimal separator
// whatever the locale; returns the length written.
size_t wxJSONFormatDouble(char* out, size_t size, const char* fmt, double d);

// Decodes n bytes of strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF)
// into out, using scratch as working space; false when the bytes are not valid UTF-8.
bool wxJSONDecodeUTF8(const char* bytes, size_t n, wxString& out, std::vector<wchar_t>& scratch);

// Appends the UTF-8 form of text to out; false when the text holds a character that has none
// (a surrogate or a number above U+10FFFF), in which case out is left as it was.
bool wxJSONEncodeUTF8(const wxString& text, std::string& out);

#endif
