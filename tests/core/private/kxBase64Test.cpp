// Tests of the Base64 helpers of bytes shared inside the library.
#include "kxRuzoVori/core/private/kxBase64.h"

#include <gtest/gtest.h>

TEST(kxBase64Core, TextOfBytesAndAlphabetValues)
{
    EXPECT_EQ(kxBase64Encode("", 0), "");
    EXPECT_EQ(kxBase64Encode("f", 1), "Zg==");
    EXPECT_EQ(kxBase64Encode("foobar", 6), "Zm9vYmFy");
    const std::string binary("\0\xFF\x10", 3);
    EXPECT_EQ(kxBase64Encode(binary.data(), binary.size()), "AP8Q");

    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    int inAlphabet = 0;
    for (int c = 0; c < 256; ++c)
    {
        const unsigned value = kxBase64Value(static_cast<unsigned char>(c));
        if (value < 64)
        {
            ++inAlphabet;
            EXPECT_EQ(alphabet[value], c);
        }
    }
    EXPECT_EQ(inAlphabet, 64);
    EXPECT_GE(kxBase64Value('='), 64u);
}
