// Tests of the hex digit helpers.
#include "kxRuzoVori/core/private/kxHex.h"

#include <gtest/gtest.h>

TEST(kxHexDigits, DigitsAndValuesAgreeForEveryCharacter)
{
    for (unsigned v = 0; v < 16; ++v)
    {
        const char digit = kxHexDigit(v);
        EXPECT_EQ(kxHexValue(static_cast<unsigned char>(digit)), static_cast<int>(v));
        EXPECT_EQ(kxUpperHexValue(static_cast<unsigned char>(digit)), static_cast<int>(v));
    }
    EXPECT_EQ(kxHexDigit(0xAB), 'B');
    int digits = 0, upper = 0;
    for (std::uint32_t c = 0; c < 0x200; ++c)
    {
        digits += kxHexValue(c) >= 0;
        upper += kxUpperHexValue(c) >= 0;
    }
    EXPECT_EQ(digits, 22);
    EXPECT_EQ(upper, 16);
    EXPECT_EQ(kxHexValue('f'), 15);
    EXPECT_EQ(kxUpperHexValue('f'), -1);
    EXPECT_EQ(kxHexValue('G'), -1);
    EXPECT_EQ(kxHexValue(0x10030), -1); // a character whose low bits spell '0'
}
