// Natural-order comparison of texts.
#include "kxRuzoVori/kxHelpers/natsort/strnatcmp.h"

#include "kxRuzoVori/core/private/kxUtf.h"

#include <wx/debug.h>

#include <cwctype>

namespace
{
// The runtime's classification answers the same for these in every locale; asking it only for
// the rest keeps the common case free of library calls.
enum : unsigned char
{
    kOther = 0,
    kSpace = 1,
    kDigit = 2
};

struct kxAsciiClasses
{
    unsigned char m_class[128];
};

constexpr kxAsciiClasses MakeAsciiClasses()
{
    kxAsciiClasses classes{};
    for (unsigned char c : {9, 10, 11, 12, 13, 32})
        classes.m_class[c] = kSpace;
    for (unsigned char c = '0'; c <= '9'; ++c)
        classes.m_class[c] = kDigit;
    return classes;
}

constexpr kxAsciiClasses kAscii = MakeAsciiClasses();

inline bool IsSpace(wxUint32 c)
{
    return c < 128 ? kAscii.m_class[c] == kSpace : std::iswspace(static_cast<wint_t>(c)) != 0;
}

inline bool IsDigit(wxUint32 c)
{
    return c < 128 ? kAscii.m_class[c] == kDigit : std::iswdigit(static_cast<wint_t>(c)) != 0;
}

// Reads a wide text as UTF-16 code units: a character above U+FFFF gives its surrogate pair.
// The terminating zero reads as the end.
class kxUtf16Cursor
{
public:
    explicit kxUtf16Cursor(const wchar_t* text) : m_text(text) {}

    wxUint32 Unit() const
    {
        const wxUint32 c = Character();
        if (c <= 0xFFFF)
            return c;
        return m_second ? kxLowSurrogateOf(c) : kxHighSurrogateOf(c);
    }

    void Advance()
    {
        if (Character() > 0xFFFF && !m_second)
            m_second = true;
        else
        {
            m_second = false;
            ++m_text;
        }
    }

    // Only called on a digit, which is never half of a pair.
    const wchar_t* Position() const { return m_text; }
    void Skip(size_t characters) { m_text += characters; }

private:
    // Values beyond the last Unicode character cannot be split into a pair; they read as the
    // replacement character.
    wxUint32 Character() const
    {
        const wxUint32 c = static_cast<wxUint32>(*m_text);
        return c > 0x10FFFF ? 0xFFFD : c;
    }

    const wchar_t* m_text;
    bool m_second = false;
};

// Digit runs without leading zero: the longer run is the larger number, equal lengths are decided
// by the first differing digit. On a tie, length receives the common length of the runs.
int CompareRight(const wchar_t* a, const wchar_t* b, size_t& length)
{
    int bias = 0;
    for (size_t j = 0;; ++j)
    {
        const bool digitA = IsDigit(static_cast<wxUint32>(a[j]));
        const bool digitB = IsDigit(static_cast<wxUint32>(b[j]));
        if (!digitA && !digitB)
        {
            length = j;
            return bias;
        }
        if (!digitA)
            return -1;
        if (!digitB)
            return +1;
        if (bias == 0 && a[j] != b[j])
            bias = static_cast<wxUint32>(a[j]) < static_cast<wxUint32>(b[j]) ? -1 : +1;
    }
}

// Runs with a leading zero compare like fractions, digit by digit. On a tie, length receives the
// common length of the runs.
int CompareLeft(const wchar_t* a, const wchar_t* b, size_t& length)
{
    for (size_t j = 0;; ++j)
    {
        const bool digitA = IsDigit(static_cast<wxUint32>(a[j]));
        const bool digitB = IsDigit(static_cast<wxUint32>(b[j]));
        if (!digitA && !digitB)
        {
            length = j;
            return 0;
        }
        if (!digitA)
            return -1;
        if (!digitB)
            return +1;
        if (a[j] != b[j])
            return static_cast<wxUint32>(a[j]) < static_cast<wxUint32>(b[j]) ? -1 : +1;
    }
}

int NaturalCompare(const wchar_t* a, const wchar_t* b, bool foldCase)
{
    wxASSERT(a && b);
    kxUtf16Cursor ai(a), bi(b);
    for (;;)
    {
        wxUint32 ca = ai.Unit(), cb = bi.Unit();
        // Equal characters that are neither white space nor digits just pass.
        if (ca == cb && ca != 0 && !IsSpace(ca) && !IsDigit(ca))
        {
            ai.Advance();
            bi.Advance();
            continue;
        }
        while (IsSpace(ca))
        {
            ai.Advance();
            ca = ai.Unit();
        }
        while (IsSpace(cb))
        {
            bi.Advance();
            cb = bi.Unit();
        }
        if (IsDigit(ca) && IsDigit(cb))
        {
            size_t length = 0;
            const int result = (ca == '0' || cb == '0')
                                   ? CompareLeft(ai.Position(), bi.Position(), length)
                                   : CompareRight(ai.Position(), bi.Position(), length);
            if (result != 0)
                return result;
            // Tied runs are the same digits: walking through them one by one, re-comparing the
            // rest of the run at each, would find them equal again, so they are passed at once.
            ai.Skip(length);
            bi.Skip(length);
            continue;
        }
        if (ca == 0 && cb == 0)
            return 0;
        if (foldCase && ca != cb)
        {
            ca = static_cast<wxUint32>(std::towupper(static_cast<wint_t>(ca)));
            cb = static_cast<wxUint32>(std::towupper(static_cast<wint_t>(cb)));
        }
        if (ca < cb)
            return -1;
        if (ca > cb)
            return +1;
        ai.Advance();
        bi.Advance();
    }
}
} // namespace

int strnatcmp(const wxString& a, const wxString& b)
{
    return NaturalCompare(a.wc_str(), b.wc_str(), true);
}

int strnatcasecmp(const wxString& a, const wxString& b)
{
    return NaturalCompare(a.wc_str(), b.wc_str(), false);
}
