// Tests of kxCypher: padding, keys, built-in keys and agreement with OpenSSL.
#include "kxRuzoVori/cipher/kxCypher.h"
#include "kxCipherTestSupport.h"

#include <gtest/gtest.h>

namespace
{
// The built-in keys are part of the stored data's format: a change must show up here.
const kxBytes kDefaultKey = kxBytesFromHex("66B9B932D00A0042"
                                           "0122802F9DD4E133"
                                           "A3F5EAE5D97C4D36");
const kxBytes kCertificateKey = kxBytesFromHex("48024C9FFBF941C2"
                                               "2748A9F1EB1B34FC"
                                               "63BA607E2D32A8D9");

kxBytes Encrypt(kxCypher& cypher, const kxBytes& plain)
{
    wxMemoryBuffer out;
    EXPECT_TRUE(cypher.EncryptBlock(kxBufferOf(plain), out));
    return kxBytesOf(out);
}

kxBytes Decrypt(kxCypher& cypher, const kxBytes& data)
{
    wxMemoryBuffer out;
    EXPECT_TRUE(cypher.DecryptBlock(kxBufferOf(data), out));
    return kxBytesOf(out);
}

kxBytes Padded(kxBytes bytes, unsigned char pad)
{
    do
        bytes.push_back(pad);
    while (bytes.size() % 8);
    return bytes;
}

kxBytes Utf16Le(const std::u16string& text)
{
    kxBytes bytes;
    for (char16_t unit : text)
    {
        bytes.push_back(static_cast<unsigned char>(unit & 0xff));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return bytes;
}

std::string Hex(const kxBytes& bytes)
{
    std::string text;
    char digits[3];
    for (unsigned char b : bytes)
    {
        snprintf(digits, sizeof digits, "%02X", b);
        text += digits;
    }
    return text;
}
} // namespace

// Padding to whole blocks: an empty buffer gets a full block, a whole block none, anything else
// up to the next block; the caller's buffer shares storage and sees the pad bytes.
TEST(kxCypher, PadsToWholeBlocks)
{
    std::mt19937 random(1);
    const kxBytes key = kxRandomBytes(random, 24);
    kxCypher cypher(kxBufferOf(key), 0, 0x5A);
    for (size_t length : {0, 1, 7, 8, 9, 15, 16, 17, 100})
    {
        const kxBytes plain = kxRandomBytes(random, length);
        const kxBytes padded = length && length % 8 == 0 ? plain : Padded(plain, 0x5A);
        const kxBytes cipher = Encrypt(cypher, plain);
        EXPECT_EQ(padded.size(), cipher.size()) << length;
        EXPECT_EQ(kxOpenSslEcb(key, padded, true), cipher) << length;
        EXPECT_EQ(padded, Decrypt(cypher, cipher)) << length;
    }

    wxMemoryBuffer shared = kxBufferOf(kxBytesFromHex("010203"));
    wxMemoryBuffer out;
    cypher.EncryptBlock(shared, out);
    EXPECT_EQ(kxBytesFromHex("0102035A5A5A5A5A"), kxBytesOf(shared));

    wxMemoryBuffer alone = kxBufferOf(kxBytes(16, 1));
    cypher._padBuffer(alone);
    EXPECT_EQ(16u, alone.GetDataLen());
}

TEST(kxCypher, SingleDesModeAndTripleDesAgreeWithOpenSsl)
{
    std::mt19937 random(2);
    for (int i = 0; i < 50; ++i)
    {
        const kxBytes key = kxRandomBytes(random, 8);
        const kxBytes plain = kxRandomBytes(random, 8 * (1 + i % 5));
        kxCypher single(kxBufferOf(key), 1, 0);
        const kxBytes cipher = Encrypt(single, plain);
        EXPECT_EQ(kxOpenSslEcb(key, plain, true), cipher);
        EXPECT_EQ(plain, Decrypt(single, cipher));

        kxBytes tripled = key;
        tripled.insert(tripled.end(), key.begin(), key.end());
        tripled.insert(tripled.end(), key.begin(), key.end());
        kxCypher triple(kxBufferOf(tripled), 0, 0);
        EXPECT_EQ(cipher, Encrypt(triple, plain));
    }
}

// Extra key bytes are ignored; a key shorter than its mode needs is completed with zeros.
TEST(kxCypher, KeyBytesTakenFromTheCallersKey)
{
    std::mt19937 random(3);
    const kxBytes plain = kxRandomBytes(random, 24);
    const kxBytes longKey = kxRandomBytes(random, 40);
    kxCypher triple(kxBufferOf(longKey), 0, 0);
    EXPECT_EQ(kxOpenSslEcb(kxBytes(longKey.begin(), longKey.begin() + 24), plain, true),
              Encrypt(triple, plain));
    kxCypher single(kxBufferOf(longKey), 1, 0);
    EXPECT_EQ(kxOpenSslEcb(kxBytes(longKey.begin(), longKey.begin() + 8), plain, true),
              Encrypt(single, plain));

    kxBytes shortKey = kxBytesFromHex("0123456789ABCDEF0123");
    kxCypher shortCypher(kxBufferOf(shortKey), 0, 0);
    shortKey.resize(24, 0);
    EXPECT_EQ(kxOpenSslEcb(shortKey, plain, true), Encrypt(shortCypher, plain));
}

// An empty key means the built-in key with Triple DES, whatever the mode; so does a mode the
// cipher does not know.
TEST(kxCypher, BuiltInKeyStandsInForAMissingKey)
{
    const kxBytes plain = kxBytesFromHex("00112233445566778899AABBCCDDEEFF");
    for (unsigned char mode : {0, 1, 7})
    {
        kxCypher cypher(wxMemoryBuffer(), mode, 0);
        EXPECT_EQ(kxOpenSslEcb(kDefaultKey, plain, true), Encrypt(cypher, plain)) << int(mode);
    }
    kxCypher unknown(kxBufferOf(kxBytes(24, 0x42)), 9, 0);
    EXPECT_EQ(kxOpenSslEcb(kDefaultKey, plain, true), Encrypt(unknown, plain));
}

TEST(kxCypher, BuiltInKeysAreStrongAndDistinct)
{
    for (const kxBytes* key : {&kDefaultKey, &kCertificateKey})
    {
        for (int part = 0; part < 3; ++part)
        {
            EXPECT_FALSE(kxIsWeakDesKey(key->data() + 8 * part));
            for (int other = part + 1; other < 3; ++other)
            {
                int differing = 0;
                for (int i = 0; i < 8; ++i)
                    differing += ((*key)[8 * part + i] ^ (*key)[8 * other + i]) & 0xfe ? 1 : 0;
                EXPECT_GT(differing, 0) << part << " " << other;
            }
        }
    }
    EXPECT_NE(kDefaultKey, kCertificateKey);
}

// A trailing partial block is not deciphered, yet out gets the input's full length.
TEST(kxCypher, DecryptKeepsLengthOfPartialInput)
{
    std::mt19937 random(4);
    const kxBytes key = kxRandomBytes(random, 24);
    kxCypher cypher(kxBufferOf(key), 0, 0);
    const kxBytes cipher = kxRandomBytes(random, 19);
    const kxBytes plain = Decrypt(cypher, cipher);
    ASSERT_EQ(19u, plain.size());
    EXPECT_EQ(kxOpenSslEcb(key, kxBytes(cipher.begin(), cipher.begin() + 16), false),
              kxBytes(plain.begin(), plain.begin() + 16));
}

TEST(kxCypher, SameBufferInAndOut)
{
    std::mt19937 random(5);
    const kxBytes key = kxRandomBytes(random, 24);
    kxCypher cypher(kxBufferOf(key), 0, 0x20);
    const kxBytes plain = kxRandomBytes(random, 2001);
    wxMemoryBuffer buffer = kxBufferOf(plain);
    cypher.EncryptBlock(buffer, buffer);
    EXPECT_EQ(kxOpenSslEcb(key, Padded(plain, 0x20), true), kxBytesOf(buffer));
    cypher.DecryptBlock(buffer, buffer);
    EXPECT_EQ(Padded(plain, 0x20), kxBytesOf(buffer));
}

TEST(kxCypher, HexConversions)
{
    EXPECT_EQ(wxString("000FA0"), kxCypher::ToAsciiHex(kxBufferOf(kxBytesFromHex("000FA0"))));
    EXPECT_EQ(kxBytesFromHex("000FA0"), kxBytesOf(kxCypher::ToMemoryBuffer(wxString("000FA0"))));
    EXPECT_EQ(wxString(), kxCypher::ToAsciiHex(wxMemoryBuffer()));
    EXPECT_EQ(0u, kxCypher::ToMemoryBuffer(wxString()).GetDataLen());
    EXPECT_EQ(wxString("0A"), kxCypher::_toAsciiHex(10));
    EXPECT_EQ(wxString("FF"), kxCypher::_toAsciiHex(255));
    EXPECT_EQ(wxString("00"), kxCypher::_toAsciiHex(0));

    kxBytes all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<unsigned char>(i);
    const wxString text = kxCypher::ToAsciiHex(kxBufferOf(all));
    EXPECT_EQ(wxString(Hex(all)), text);
    EXPECT_EQ(all, kxBytesOf(kxCypher::ToMemoryBuffer(text)));

    // Only upper-case digits count; others read as 0 and an odd last digit is dropped.
    EXPECT_EQ(kxBytesFromHex("A0"), kxBytesOf(kxCypher::ToMemoryBuffer(wxString("Aa"))));
    EXPECT_EQ(kxBytesFromHex("AB"), kxBytesOf(kxCypher::ToMemoryBuffer(wxString("ABC"))));
}

// The certificate is the Triple DES CBC-MAC of the UTF-16LE text under the certificate key,
// always closed by a zero-filled final block.
TEST(kxCypher, CertificateIsCbcMacOfUtf16Text)
{
    kxCypher cypher(wxMemoryBuffer(), 0, 0);
    // Each text twice: as the compiler's UTF-16 and as a wide string, so the test does not
    // depend on a conversion of its own.
    const std::pair<std::u16string, const wchar_t*> texts[] = {
        {u"", L""},
        {u"a", L"a"},
        {u"abc", L"abc"},
        {u"abcd", L"abcd"},
        {u"abcde", L"abcde"},
        {u"Gr\u00fc\u00dfe", L"Gr\u00fc\u00dfe"},
        {u"\u20ac 12,50 \U0001F600", L"\u20ac 12,50 \U0001F600"},
        {u"the quick brown fox", L"the quick brown fox"}};
    for (const auto& text : texts)
    {
        kxBytes message = Utf16Le(text.first);
        message.resize(message.size() / 8 * 8 + 8, 0);
        const wxString wide(text.second);
        const wxString certificate = cypher.CalcSertificate(wide);
        EXPECT_EQ(wxString(Hex(kxOpenSslCbcMac(kCertificateKey, message))), certificate);
        EXPECT_EQ(16u, certificate.length());
    }
    EXPECT_EQ(wxString(Hex(kxOpenSslEcb(kCertificateKey, kxBytes(8, 0), true))),
              cypher.CalcSertificate(wxString()));
}
