// The hex decoders (the library's and the cipher's own) on arbitrary texts, and round trips of
// arbitrary bytes through hex and Base64.
#include "kxRuzoVori/cipher/kxCypher.h"
#include "kxRuzoVori/kxHelpers/kxEncoding.h"

#include <wx/debug.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
// A toolkit assertion is a finding, not a message to print and pass over.
void AbortOnAssert(const wxString&, int, const wxString&, const wxString&, const wxString&)
{
    abort();
}

bool Same(const wxMemoryBuffer& buffer, const std::uint8_t* data, size_t size)
{
    return buffer.GetDataLen() == size && (size == 0 || memcmp(buffer.GetData(), data, size) == 0);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    wxSetAssertHandler(AbortOnAssert);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    std::vector<char> copy(data, data + size);
    const wxString latin(copy.data(), wxConvISO8859_1, size);
    if (kxStrHEXToMemoryBuffer(latin).GetDataLen() != (size + 1) / 2)
        abort();
    if (kxCypher::ToMemoryBuffer(latin).GetDataLen() != size / 2)
        abort();
    wxString wide;
    for (size_t i = 0; i + 3 < size; i += 4)
    {
        std::uint32_t c;
        memcpy(&c, data + i, 4);
        wide += wxUniChar(c % 0x110000);
    }
    kxStrHEXToMemoryBuffer(wide);
    kxCypher::ToMemoryBuffer(wide);

    wxMemoryBuffer bytes;
    if (size)
        bytes.AppendData(data, size);
    const wxString hex = kxMemoryBufferToStrHEX(bytes);
    if (hex.length() != 2 * size || !Same(kxStrHEXToMemoryBuffer(hex), data, size))
        abort();
    if (kxCypher::ToAsciiHex(bytes) != hex || !Same(kxCypher::ToMemoryBuffer(hex), data, size))
        abort();

    const size_t needed = kxRuzoVori::wxBase64Encode(nullptr, 0, data, size);
    std::vector<char> encoded(needed + 1);
    if (kxRuzoVori::wxBase64Encode(encoded.data(), needed, data, size) != needed)
        abort();
    if (!Same(
            kxRuzoVori::wxBase64Decode(encoded.data(), needed, wxBase64DecodeMode_Strict, nullptr),
            data, size))
        abort();
    if (kxRuzoVori::wxBase64Decode(kxRuzoVori::wxBase64Encode(latin)) != latin)
        abort();
    return 0;
}
