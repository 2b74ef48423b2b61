// What the HTTP client's harnesses share: toolkit assertions as findings, and the input taken
// as characters one byte each, so that every code unit up to 255 (controls included) occurs.
#ifndef KXFUZZ_KXFUZZHTTPSUPPORT_H
#define KXFUZZ_KXFUZZHTTPSUPPORT_H

#include <wx/debug.h>
#include <wx/string.h>

#include <cstdint>
#include <cstdlib>

inline void kxFuzzAbortOnAssert(const wxString&, int, const wxString&, const wxString&,
                                const wxString&)
{
    abort();
}

inline wxString kxFuzzLatin1(const std::uint8_t* data, size_t size)
{
    return wxString(reinterpret_cast<const char*>(data), wxConvISO8859_1, size);
}

#endif
