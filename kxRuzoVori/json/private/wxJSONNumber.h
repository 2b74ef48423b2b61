// Numbers in JSON text: decimal integers up to 64 bits with an optional sign, and decimal
// floating-point numbers, all read without regard to the locale.
#ifndef KXRUZOVORI_JSON_PRIVATE_WXJSONNUMBER_H
#define KXRUZOVORI_JSON_PRIVATE_WXJSONNUMBER_H

#include <cstddef>

// An optional sign (stored in sign, 0 without one) and up to 20 decimal digits not above
// 2^64 - 1; the empty text gives 0.
bool wxJSONParseDigits(const char* p, size_t n, unsigned long long* value, char* sign);
// A signed or unsigned 64-bit integer; false when the text is no such number or out of range.
bool wxJSONParseSigned(const char* p, size_t n, long long* out);
bool wxJSONParseUnsigned(const char* p, size_t n, unsigned long long* out);
// A decimal floating-point number: digits, point, exponent and signs only, so that words like
// "inf" or "nan" and hexadecimal forms are refused, and values out of the double range too.
bool wxJSONParseDouble(const char* p, size_t n, double* out);

#endif
