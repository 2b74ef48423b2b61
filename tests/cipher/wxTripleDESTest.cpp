// Tests of wxTripleDES: published answers, agreement with OpenSSL, in-place blocks.
#include "kxRuzoVori/cipher/wxTripleDES.h"
#include "kxCipherTestSupport.h"

#include <gtest/gtest.h>

#include <type_traits>

static_assert(std::is_trivially_destructible<wxTripleDES>::value,
              "an engine owns nothing to release");

namespace
{
kxBytes Engine(const kxBytes& key24, const kxBytes& block, bool decrypt)
{
    wxTripleDES engine(reinterpret_cast<const char*>(key24.data()), decrypt);
    kxBytes in = block, out(8);
    engine.ProcessBlock(reinterpret_cast<char*>(in.data()), reinterpret_cast<char*>(out.data()));
    EXPECT_EQ(block, in) << "the input block must not change";
    return out;
}

kxBytes Tripled(const kxBytes& key8)
{
    kxBytes key;
    for (int i = 0; i < 3; ++i)
        key.insert(key.end(), key8.begin(), key8.end());
    return key;
}
} // namespace

// Published answers: the worked example of DES, a sentence block, the first variable-plaintext
// answers, and the Triple DES example with three distinct keys. Three equal keys are single DES.
TEST(wxTripleDES, KnownAnswers)
{
    struct Vector
    {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Vector single[] = {{"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
                             {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
                             {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
                             {"0101010101010101", "4000000000000000", "DD7F121CA5015619"},
                             {"0101010101010101", "2000000000000000", "2E8653104F3834EA"}};
    for (const Vector& v : single)
    {
        const kxBytes key = Tripled(kxBytesFromHex(v.key));
        EXPECT_EQ(kxBytesFromHex(v.cipher), Engine(key, kxBytesFromHex(v.plain), false)) << v.key;
        EXPECT_EQ(kxBytesFromHex(v.plain), Engine(key, kxBytesFromHex(v.cipher), true)) << v.key;
    }
    const kxBytes key = kxBytesFromHex("0123456789ABCDEF23456789ABCDEF01456789ABCDEF0123");
    EXPECT_EQ(kxBytesFromHex("A826FD8CE53B855F"),
              Engine(key, kxBytesFromHex("5468652071756663"), false));
    EXPECT_EQ(kxBytesFromHex("5468652071756663"),
              Engine(key, kxBytesFromHex("A826FD8CE53B855F"), true));
}

// Thousands of random keys and blocks, both directions, single (three equal parts) and triple.
TEST(wxTripleDES, AgreesWithOpenSsl)
{
    std::mt19937 random(20261205);
    for (int i = 0; i < 4000; ++i)
    {
        const kxBytes block = kxRandomBytes(random, 8);
        const kxBytes triple = kxRandomBytes(random, 24);
        ASSERT_EQ(kxOpenSslEcb(triple, block, true), Engine(triple, block, false)) << i;
        ASSERT_EQ(kxOpenSslEcb(triple, block, false), Engine(triple, block, true)) << i;
        const kxBytes single = kxRandomBytes(random, 8);
        ASSERT_EQ(kxOpenSslEcb(single, block, true), Engine(Tripled(single), block, false)) << i;
        ASSERT_EQ(kxOpenSslEcb(single, block, false), Engine(Tripled(single), block, true)) << i;
    }
}

TEST(wxTripleDES, DecryptingEngineInvertsAndParityBitsAreIgnored)
{
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i)
    {
        const kxBytes key = kxRandomBytes(random, 24);
        const kxBytes block = kxRandomBytes(random, 8);
        const kxBytes cipher = Engine(key, block, false);
        EXPECT_EQ(block, Engine(key, cipher, true));
        kxBytes flipped = key;
        for (unsigned char& b : flipped)
            b ^= 1;
        EXPECT_EQ(cipher, Engine(flipped, block, false));
    }
}

TEST(wxTripleDES, InPlaceBlocks)
{
    const kxBytes key = kxBytesFromHex("0123456789ABCDEF23456789ABCDEF01456789ABCDEF0123");
    for (bool decrypt : {false, true})
    {
        wxTripleDES engine(reinterpret_cast<const char*>(key.data()), decrypt);
        kxBytes block = kxBytesFromHex(decrypt ? "A826FD8CE53B855F" : "5468652071756663");
        engine.ProcessBlock(reinterpret_cast<char*>(block.data()),
                            reinterpret_cast<char*>(block.data()));
        EXPECT_EQ(kxBytesFromHex(decrypt ? "5468652071756663" : "A826FD8CE53B855F"), block);
    }
}
