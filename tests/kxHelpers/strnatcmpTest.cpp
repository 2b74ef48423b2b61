// Tests of strnatcmp and strnatcasecmp, the natural-order comparisons.
#include "kxRuzoVori/kxHelpers/natsort/strnatcmp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <random>
#include <string>
#include <vector>

namespace
{
// Restores the C library's character classification after a test that changes it.
class kxCtypeLocale
{
public:
    explicit kxCtypeLocale(const char* name)
        : m_previous(setlocale(LC_CTYPE, nullptr)), m_ok(setlocale(LC_CTYPE, name) != nullptr)
    {
    }
    ~kxCtypeLocale() { setlocale(LC_CTYPE, m_previous.c_str()); }
    bool IsOk() const { return m_ok; }

private:
    std::string m_previous;
    bool m_ok;
};

std::vector<wxString> NaturallySorted(std::vector<wxString> texts)
{
    std::stable_sort(texts.begin(), texts.end(),
                     [](const wxString& a, const wxString& b) { return strnatcmp(a, b) < 0; });
    return texts;
}
} // namespace

TEST(strnatcmp, NumbersCompareAsNumbers)
{
    EXPECT_EQ(-1, strnatcmp("file9", "file10"));
    EXPECT_EQ(+1, strnatcmp("file10", "file9"));
    EXPECT_EQ(0, strnatcmp("file10", "file10"));
    EXPECT_EQ(-1, strnatcmp("file2.txt", "file2.txt1"));
    EXPECT_EQ(-1, strnatcmp("a2b9", "a2b10"));
    EXPECT_EQ(-1, strnatcmp("x99", "x100"));
    EXPECT_EQ(-1, strnatcmp("x123", "x124"));
    // Equal lengths are decided by the first differing digit, not the last.
    EXPECT_EQ(+1, strnatcmp("x21", "x19"));
    // A number against a letter compares the characters.
    EXPECT_EQ(-1, strnatcmp("x1", "xa"));
}

// Runs that start with a zero compare like fractions.
TEST(strnatcmp, LeadingZerosAndFractions)
{
    EXPECT_EQ(-1, strnatcmp("file010", "file9"));
    EXPECT_EQ(-1, strnatcmp("007", "7"));
    EXPECT_EQ(+1, strnatcmp("7", "007"));
    EXPECT_EQ(-1, strnatcmp("x1.5", "x1.25"));
    EXPECT_EQ(-1, strnatcmp("x1.05", "x1.5"));
    EXPECT_EQ(-1, strnatcmp("0.1", "0.12"));
    EXPECT_EQ(0, strnatcmp("v0012a", "v0012a"));
    EXPECT_EQ(-1, strnatcmp("v0012a", "v0012b"));
}

TEST(strnatcmp, WhiteSpaceIsIgnored)
{
    EXPECT_EQ(0, strnatcmp("a b", "ab"));
    EXPECT_EQ(0, strnatcmp("", " "));
    EXPECT_EQ(0, strnatcmp("\tx\n1\r", "x1"));
    EXPECT_EQ(0, strnatcmp("x 12", "x12"));
    // A blank splits a number into two runs.
    EXPECT_EQ(-1, strnatcmp("1 9", "1 10"));
}

TEST(strnatcmp, CaseFolding)
{
    EXPECT_EQ(0, strnatcmp("ABC", "abc"));
    EXPECT_EQ(-1, strnatcasecmp("ABC", "abc"));
    EXPECT_EQ(+1, strnatcasecmp("abc", "ABC"));
    EXPECT_EQ(-1, strnatcmp("abc", "abcd"));
    EXPECT_EQ(+1, strnatcmp("abcd", "ABC"));
    // Folding is to upper case: "_" lies between the upper- and lower-case letters.
    EXPECT_EQ(-1, strnatcmp("a", "_"));
    EXPECT_EQ(+1, strnatcasecmp("a", "_"));
}

TEST(strnatcmp, FoldingFollowsTheRuntimeLocale)
{
    kxCtypeLocale german("de_DE.UTF-8");
    if (!german.IsOk())
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(0, strnatcmp(wxString(L"\u00e9t\u00e9"), wxString(L"\u00c9T\u00c9")));
    EXPECT_NE(0, strnatcasecmp(wxString(L"\u00e9t\u00e9"), wxString(L"\u00c9T\u00c9")));
    // The ideographic space is white space to a UTF-8 locale.
    EXPECT_EQ(0, strnatcmp(wxString(L"a\u3000b"), "ab"));
}

// Characters compare as UTF-16 code units, so those above U+FFFF (surrogate pairs) sort before
// the top of the basic plane.
TEST(strnatcmp, ComparesUtf16CodeUnits)
{
    EXPECT_EQ(-1, strnatcmp(wxString(L"\U0001F600"), wxString(L"\uFFFD")));
    EXPECT_EQ(+1, strnatcmp(wxString(L"\U0001F600"), wxString(L"\uD7FF")));
    EXPECT_EQ(-1, strnatcmp(wxString(L"\U0001F600"), wxString(L"\U0001F601")));
    EXPECT_EQ(0, strnatcmp(wxString(L"x\U0001F6002"), wxString(L"x\U0001F600 2")));
    EXPECT_EQ(-1, strnatcmp(wxString(L"\U0001F6009"), wxString(L"\U0001F60010")));
}

TEST(strnatcmp, SortsAListAsPeopleExpect)
{
    // A leading zero makes a run a fraction: 010 and 011 come before 1.
    const std::vector<wxString> expected = {
        "photo 010b.jpg", "photo 011.jpg", "Photo 1.jpg", "photo2.jpg", "Photo 10.jpg",
        "photo11.jpg",    "Photo 100.jpg", "x1.5",        "x1.25",      "x2"};
    std::vector<wxString> shuffled = expected;
    std::mt19937 random(3);
    for (int round = 0; round < 20; ++round)
    {
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        EXPECT_EQ(expected, NaturallySorted(shuffled));
    }
}

// The comparison step by step as designed, on UTF-16 texts, without the library's shortcuts (it
// passes equal characters and tied digit runs at once): both must always give the same answer.
int StepByStep(const std::u16string& a, const std::u16string& b, bool foldCase)
{
    const auto at = [](const std::u16string& s, size_t i) -> unsigned
    { return i < s.size() ? s[i] : 0; };
    const auto digit = [](unsigned c) { return c >= '0' && c <= '9'; };
    const auto space = [](unsigned c) { return c == ' ' || (c >= 9 && c <= 13); };
    size_t ai = 0, bi = 0;
    for (;;)
    {
        unsigned ca = at(a, ai), cb = at(b, bi);
        while (space(ca))
            ca = at(a, ++ai);
        while (space(cb))
            cb = at(b, ++bi);
        if (digit(ca) && digit(cb))
        {
            const bool left = ca == '0' || cb == '0';
            int bias = 0;
            for (size_t j = 0;; ++j)
            {
                const unsigned da = at(a, ai + j), db = at(b, bi + j);
                if (!digit(da) && !digit(db))
                    break;
                if (!digit(da) || !digit(db))
                    return digit(da) ? +1 : -1;
                if (da != db && (left || bias == 0))
                    bias = da < db ? -1 : +1;
                if (left && bias)
                    return bias;
            }
            if (bias)
                return bias;
        }
        if (ca == 0 && cb == 0)
            return 0;
        if (foldCase)
        {
            ca = towupper(ca);
            cb = towupper(cb);
        }
        if (ca != cb)
            return ca < cb ? -1 : +1;
        ++ai;
        ++bi;
    }
}

// Random texts from a small alphabet rich in digits, zeros and blanks: the library agrees with
// the step-by-step comparison, a text equals itself, and swapping the arguments negates the
// answer. Long digit runs stay fast.
TEST(strnatcmp, AgreesWithTheStepByStepComparison)
{
    std::mt19937 random(12);
    const char32_t alphabet[] = U"0019 aAbB.\u00e9\U0001F600";
    std::vector<std::pair<wxString, std::u16string>> texts;
    for (int i = 0; i < 300; ++i)
    {
        wxString wide;
        std::u16string utf16;
        for (unsigned n = random() % 12; n > 0; --n)
        {
            const char32_t c = alphabet[random() % (sizeof alphabet / sizeof alphabet[0] - 1)];
            wide += wxUniChar(static_cast<wxUint32>(c));
            if (c > 0xFFFF)
            {
                utf16 += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                utf16 += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            }
            else
                utf16 += static_cast<char16_t>(c);
        }
        texts.emplace_back(wide, utf16);
    }
    for (const auto& a : texts)
    {
        ASSERT_EQ(0, strnatcmp(a.first, a.first));
        for (const auto& b : texts)
        {
            ASSERT_EQ(StepByStep(a.second, b.second, true), strnatcmp(a.first, b.first))
                << a.first << " | " << b.first;
            ASSERT_EQ(StepByStep(a.second, b.second, false), strnatcasecmp(a.first, b.first))
                << a.first << " | " << b.first;
            ASSERT_EQ(strnatcmp(a.first, b.first), -strnatcmp(b.first, a.first));
        }
    }
    const wxString run(wxUniChar('7'), 200000);
    EXPECT_EQ(0, strnatcmp(run, run));
    EXPECT_EQ(-1, strnatcmp(run + "a", run + "b"));
    EXPECT_EQ(-1, strnatcmp("0" + run + "1", "0" + run + "2"));
}
