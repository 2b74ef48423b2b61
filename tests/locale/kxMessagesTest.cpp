// Tests of kxMessages, the numbered message table.
#include "kxRuzoVori/locale/kxMessages.h"

#include <gtest/gtest.h>

namespace
{
// What a host writes: a table filled in its constructor.
class kxAppMessages : public kxMessages
{
public:
    kxAppMessages()
    {
        m_messages[1] = wxS("File not found");
        m_messages[-7] = wxString::FromUTF8("Fl\xc3\xbc\x67\x65l \xf0\x9f\x98\x80");
    }
    size_t GetCount() const { return m_messages.size(); }
    bool Has(long number) const { return m_messages.count(number) != 0; }
};
} // namespace

TEST(kxMessages, StoredNumbersGiveTheirTexts)
{
    kxAppMessages messages;
    EXPECT_EQ(messages[1], wxS("File not found"));
    EXPECT_EQ(messages[-7], wxString::FromUTF8("Fl\xc3\xbc\x67\x65l \xf0\x9f\x98\x80"));
    EXPECT_EQ(messages.GetCount(), 2u);
}

TEST(kxMessages, UnknownNumberIsAddedWithAnEmptyText)
{
    kxAppMessages messages;
    EXPECT_FALSE(messages.Has(42));
    EXPECT_TRUE(messages[42].empty());
    EXPECT_TRUE(messages.Has(42));
    EXPECT_EQ(messages.GetCount(), 3u);
    // Asking again neither grows the table nor changes the answer.
    EXPECT_TRUE(messages[42].empty());
    EXPECT_EQ(messages.GetCount(), 3u);

    kxMessages fresh;
    EXPECT_TRUE(fresh[0].empty());
    EXPECT_TRUE(fresh[LONG_MAX].empty());
}

TEST(kxMessages, ReturnedTextIsACopy)
{
    kxAppMessages messages;
    wxString text = messages[1];
    text += wxS(" (changed)");
    text[0] = wxS('X');
    EXPECT_EQ(messages[1], wxS("File not found"));
}

TEST(kxMessages, IsAToolkitObject)
{
    wxObject* object = new kxAppMessages;
    EXPECT_NE(dynamic_cast<kxMessages*>(object), nullptr);
    delete object;
}
