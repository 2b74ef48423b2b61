// Tests of the UTF-16 surrogate and UTF-8 helpers.
#include "kxRuzoVori/core/private/kxUtf.h"

#include <gtest/gtest.h>

#include <string>

TEST(kxUtf, SurrogatePairsSplitAndJoinAtTheEdges)
{
    for (std::uint32_t c : {0x10000u, 0x1F600u, 0x10FFFFu})
    {
        const std::uint32_t high = kxHighSurrogateOf(c), low = kxLowSurrogateOf(c);
        EXPECT_TRUE(kxIsHighSurrogate(high) && kxIsLowSurrogate(low)) << std::hex << c;
        EXPECT_EQ(kxJoinSurrogates(high, low), c);
    }
    EXPECT_EQ(kxHighSurrogateOf(0x1F600), 0xD83Du);
    EXPECT_EQ(kxLowSurrogateOf(0x1F600), 0xDE00u);
    EXPECT_FALSE(kxIsHighSurrogate(0xDC00) || kxIsLowSurrogate(0xDBFF));
    EXPECT_FALSE(kxIsUnicodeScalar(0xD800) || kxIsUnicodeScalar(0xDFFF));
    EXPECT_FALSE(kxIsUnicodeScalar(0x110000));
    EXPECT_TRUE(kxIsUnicodeScalar(0xD7FF) && kxIsUnicodeScalar(0xE000));
}

TEST(kxUtf, Utf8RoundTripsEverySequenceLength)
{
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x00, "\x00"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFD, "\xEF\xBF\xBD"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& [c, bytes] : cases)
    {
        std::string encoded;
        kxUtf8Append(encoded, c);
        const std::string expected = c == 0 ? std::string(1, '\0') : std::string(bytes);
        EXPECT_EQ(encoded, expected) << std::hex << c;
        std::uint32_t decoded = 0xFFFFFFFF;
        EXPECT_EQ(kxUtf8Decode(reinterpret_cast<const unsigned char*>(encoded.data()),
                               encoded.size(), decoded),
                  encoded.size());
        EXPECT_EQ(decoded, c);
    }
}

TEST(kxUtf, Utf8DecoderRefusesWhatIsNotStrict)
{
    const char* const refused[] = {
        "\x80",             // a continuation byte alone
        "\xC0\x80",         // overlong NUL
        "\xC1\xBF",         // overlong
        "\xE0\x9F\xBF",     // overlong three-byte form
        "\xED\xA0\x80",     // a surrogate
        "\xF4\x90\x80\x80", // above U+10FFFF
        "\xF5\x80\x80\x80", // a lead byte that never starts a character
        "\xFF",             // likewise
        "\xE2\x82",         // cut short
        "\xE2\x28\xA1",     // a continuation byte missing
    };
    for (const char* bytes : refused)
    {
        const std::string text(bytes);
        std::uint32_t c = 42;
        EXPECT_EQ(kxUtf8Decode(reinterpret_cast<const unsigned char*>(text.data()), text.size(), c),
                  0u)
            << text;
        EXPECT_EQ(c, 42u);
    }
    // Only the bytes the caller says are there count.
    const unsigned char euro[] = {0xE2, 0x82, 0xAC};
    std::uint32_t c = 0;
    EXPECT_EQ(kxUtf8Decode(euro, 2, c), 0u);
    EXPECT_EQ(kxUtf8Decode(euro, 3, c), 3u);
    EXPECT_EQ(c, 0x20ACu);
}
