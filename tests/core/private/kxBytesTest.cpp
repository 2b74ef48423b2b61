// Tests of the big-endian packing helpers.
#include "kxRuzoVori/core/private/kxBytes.h"

#include <gtest/gtest.h>

TEST(kxBytes, BigEndianMostSignificantByteFirst)
{
    unsigned char bytes[15] = {};
    unsigned char* p = kxPutBE16(bytes, 0x0102);
    p = kxPutBE32(p, 0x03040506);
    p = kxPutBE64(p, 0x8090A0B0C0D0E0F1ull);
    ASSERT_EQ(p, bytes + 14);
    const unsigned char expected[15] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x80, 0x90,
                                        0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF1, 0x00};
    EXPECT_EQ(0, memcmp(bytes, expected, sizeof bytes));
    EXPECT_EQ(kxGetBE16(bytes), 0x0102u);
    EXPECT_EQ(kxGetBE32(bytes + 2), 0x03040506u);
    EXPECT_EQ(kxGetBE64(bytes + 6), 0x8090A0B0C0D0E0F1ull);
    // Unaligned places read the same.
    EXPECT_EQ(kxGetBE32(bytes + 1), 0x02030405u);
}

TEST(kxBytes, LittleEndianLeastSignificantByteFirst)
{
    unsigned char bytes[5] = {};
    ASSERT_EQ(bytes + 5, kxPutLE32(bytes + 1, 0x80F0A001));
    const unsigned char expected[5] = {0x00, 0x01, 0xA0, 0xF0, 0x80};
    EXPECT_EQ(0, memcmp(bytes, expected, sizeof bytes));
    EXPECT_EQ(0x80F0A001u, kxGetLE32(bytes + 1));
}
