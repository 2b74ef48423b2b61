// The Base64 decoders on arbitrary input, in every mode and in both the byte and the text form:
// they must never read or write out of bounds, and their answers must agree with each other.
#include "kxRuzoVori/kxHelpers/kxEncoding.h"

#include <wx/debug.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{
// A toolkit assertion is a finding, not a message to print and pass over.
void AbortOnAssert(const wxString&, int, const wxString&, const wxString&, const wxString&)
{
    abort();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    wxSetAssertHandler(AbortOnAssert);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const wxBase64DecodeMode mode = static_cast<wxBase64DecodeMode>(data[0] % 3);
    // An exact-size copy, so reading one byte too far is caught.
    std::vector<char> source(data + 1, data + size);
    const size_t length = source.size();
    const char* src = length ? source.data() : "";
    const size_t error = static_cast<size_t>(-1);

    size_t countedAt = error;
    const size_t counted = kxRuzoVori::wxBase64Decode(nullptr, 0, src, length, mode, &countedAt);
    if (counted != error && counted > length / 4 * 3 + 3)
        abort();
    if (counted == error && countedAt >= length)
        abort();

    // Room for exactly the counted bytes; a failed count gets room enough for any input.
    std::vector<unsigned char> exact((counted == error ? length : counted) + 1);
    size_t decodedAt = error;
    const size_t decoded =
        kxRuzoVori::wxBase64Decode(exact.data(), exact.size() - 1, src, length, mode, &decodedAt);
    if (decoded != counted || (decoded == error && decodedAt != countedAt))
        abort();
    if (decoded != error && decoded > 0 &&
        kxRuzoVori::wxBase64Decode(exact.data(), decoded - 1, src, length, mode, nullptr) != error)
        abort();

    const wxMemoryBuffer buffer = kxRuzoVori::wxBase64Decode(src, length, mode, nullptr);
    if (buffer.GetDataLen() != (decoded == error ? 0 : decoded) ||
        (decoded != error && decoded && memcmp(buffer.GetData(), exact.data(), decoded) != 0))
        abort();

    // The zero-terminated form reads up to the first zero byte.
    const std::string terminated(src, length);
    const size_t untilZero = strlen(terminated.c_str());
    if (kxRuzoVori::wxBase64Decode(nullptr, 0, terminated.c_str(), wxNO_LEN, mode, nullptr) !=
        kxRuzoVori::wxBase64Decode(nullptr, 0, src, untilZero, mode, nullptr))
        abort();

    // The text form on the bytes taken as characters, and on wider characters.
    const wxString latin(src, wxConvISO8859_1, length);
    const wxString text = kxRuzoVori::wxBase64Decode(latin);
    if (text.length() > length / 4 * 3 + 3)
        abort();
    wxString wide;
    for (size_t i = 0; i + 1 < length; i += 2)
        wide += wxUniChar((static_cast<unsigned char>(src[i]) << 8) |
                          static_cast<unsigned char>(src[i + 1]));
    kxRuzoVori::wxBase64Decode(wide);
    kxRuzoVori::wxBase64Encode(wide);
    return 0;
}
