// Texts from UTF-8 bytes, for every reader of UTF-8 the library has: JSON, HTTP bodies.
#ifndef KXRUZOVORI_CORE_PRIVATE_KXUTFSTRING_H
#define KXRUZOVORI_CORE_PRIVATE_KXUTFSTRING_H

#include <wx/string.h>

#include <cstddef>
#include <vector>

// Decodes n bytes of strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF)
// into out, using scratch as working space; false when the bytes are not valid UTF-8, and out
// is then left as it was. Much faster than the toolkit's conversion, which checks more.
bool kxUtf8ToString(const char* bytes, size_t n, wxString& out, std::vector<wchar_t>& scratch);

// The same straight into out's own storage, sized exactly, for large texts read once.
bool kxUtf8ToString(const char* bytes, size_t n, wxString& out);

#endif
