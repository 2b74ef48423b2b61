// Base64 of 16 MiB against OpenSSL's EVP block functions, hex conversion speed, and sorting
// 200,000 file names with strnatcmp against glibc's strverscmp on narrow copies.
#include "kxRuzoVori/kxHelpers/kxEncoding.h"
#include "kxRuzoVori/kxHelpers/natsort/strnatcmp.h"
#include "support/kxBenchSupport.h"

#include <openssl/evp.h>
#include <wx/init.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace
{
void BenchBase64(std::mt19937& random)
{
    const size_t size = 16 << 20;
    std::vector<unsigned char> bytes(size), decoded(size + 3);
    for (unsigned char& b : bytes)
        b = static_cast<unsigned char>(random());
    const size_t encodedSize = 4 * ((size + 2) / 3);
    std::string text(encodedSize + 1, '\0');

    printf("Base64 over %zu MiB\n", size >> 20);
    kxBenchCompare(
        "base64-encode-vs-openssl",
        [&] { kxRuzoVori::wxBase64Encode(&text[0], text.size(), bytes.data(), size); },
        [&]
        {
            EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&text[0]), bytes.data(),
                            static_cast<int>(size));
        },
        double(size));
    kxBenchCompare(
        "base64-decode-vs-openssl",
        [&]
        {
            kxRuzoVori::wxBase64Decode(decoded.data(), decoded.size(), text.data(), encodedSize,
                                       wxBase64DecodeMode_Strict, nullptr);
        },
        [&]
        {
            EVP_DecodeBlock(decoded.data(), reinterpret_cast<const unsigned char*>(text.data()),
                            static_cast<int>(encodedSize));
        },
        double(size));
    kxBenchKeep(decoded.data());
}

void BenchHex(std::mt19937& random)
{
    const size_t size = 16 << 20;
    wxMemoryBuffer bytes;
    unsigned char* data = static_cast<unsigned char*>(bytes.GetWriteBuf(size));
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<unsigned char>(random());
    bytes.UngetWriteBuf(size);

    printf("Hex over %zu MiB\n", size >> 20);
    wxString text;
    kxBenchRow("hex-encode", kxBenchMedian([&] { text = kxMemoryBufferToStrHEX(bytes); }, 5),
               double(size));
    wxMemoryBuffer back;
    kxBenchRow("hex-decode", kxBenchMedian([&] { back = kxStrHEXToMemoryBuffer(text); }, 5),
               double(size));
    if (back.GetDataLen() != size || memcmp(back.GetData(), data, size) != 0)
        printf("hex round trip failed\n");
}

// Names such as "Report 007 v12.txt", "img0042", "track 9 - part 10": letters, digit runs with
// and without leading zeros, blanks.
std::string GeneratedName(std::mt19937& random)
{
    static const char* const words[] = {"img",  "Report",  "track", "photo",    "IMG",
                                        "scan", "Chapter", "file",  "data set", "x"};
    std::string name = words[random() % 10];
    for (unsigned parts = 1 + random() % 3; parts > 0; --parts)
    {
        if (random() % 2)
            name += ' ';
        if (random() % 4 == 0)
            name += std::string(1 + random() % 3, '0');
        name += std::to_string(random() % (random() % 2 ? 100 : 100000));
        if (random() % 3 == 0)
            name += random() % 2 ? " - part " : "v";
    }
    name += random() % 2 ? ".txt" : ".jpg";
    return name;
}

void BenchNaturalSort(std::mt19937& random)
{
    const size_t count = 200000;
    std::vector<std::string> narrow;
    std::vector<wxString> wide;
    for (size_t i = 0; i < count; ++i)
    {
        narrow.push_back(GeneratedName(random));
        wide.push_back(wxString::FromAscii(narrow.back().c_str()));
    }
    // Both sides sort pointers, so neither pays for moving strings around.
    std::vector<const wxString*> wideOrder;
    std::vector<const std::string*> narrowOrder;
    printf("Sorting %zu generated file names\n", count);
    kxBenchCompare(
        "natsort-vs-strverscmp",
        [&]
        {
            wideOrder.clear();
            for (const wxString& s : wide)
                wideOrder.push_back(&s);
            std::sort(wideOrder.begin(), wideOrder.end(),
                      [](const wxString* a, const wxString* b) { return strnatcmp(*a, *b) < 0; });
        },
        [&]
        {
            narrowOrder.clear();
            for (const std::string& s : narrow)
                narrowOrder.push_back(&s);
            std::sort(narrowOrder.begin(), narrowOrder.end(),
                      [](const std::string* a, const std::string* b)
                      { return strverscmp(a->c_str(), b->c_str()) < 0; });
        },
        0, 5);
}
} // namespace

int main()
{
    wxInitializer toolkit;
    std::mt19937 random(64);
    BenchBase64(random);
    BenchHex(random);
    BenchNaturalSort(random);
    return 0;
}
