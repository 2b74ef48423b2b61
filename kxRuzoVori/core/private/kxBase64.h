// Base64 of bytes (the standard alphabet with "=" padding), the one encoder and decoder behind
// the library's exported Base64 functions and its mail encoding.
#ifndef KXRUZOVORI_CORE_PRIVATE_KXBASE64_H
#define KXRUZOVORI_CORE_PRIVATE_KXBASE64_H

#include <wx/base64.h>

#include <cstddef>
#include <string>

// Returned for every error.
constexpr size_t kxBase64Error = static_cast<size_t>(-1);

// Encodes srcLen bytes into dst and returns the characters written, or those needed when dst
// is null; kxBase64Error when src is null or dst is too small (the whole groups that fit are
// written all the same). No terminating zero is written.
size_t kxBase64Encode(char* dst, size_t dstLen, const void* src, size_t srcLen);

// The Base64 text of size bytes.
std::string kxBase64Encode(const void* data, size_t size);

// Decodes srcLen characters (wxNO_LEN: up to src's terminating zero) into dst and returns the
// bytes decoded, or that would be when dst is null; kxBase64Error on error, with the offending
// character's index stored through posErr when it is not null. Strict mode rejects every
// character outside the alphabet, SkipWS ignores white space (NUL, tab, line feed, form feed,
// carriage return, blank), Relaxed ignores every character outside the alphabet and the pad.
size_t kxBase64Decode(void* dst, size_t dstLen, const char* src, size_t srcLen,
                      wxBase64DecodeMode mode, size_t* posErr);

// The value (0 to 63) of an alphabet character; 64 or more for any other byte.
unsigned kxBase64Value(unsigned char c);

#endif
