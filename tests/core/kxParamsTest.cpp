// Tests of kxParams: ownership, the text record and boxed values.
#include "kxRuzoVori/core/kxParams.h"
#include "kxRuzoVori/core/kxInt.h"
#include "kxRuzoVori/core/kxString.h"

#include <gtest/gtest.h>

namespace
{
class CountedObject : public wxObject
{
public:
    explicit CountedObject(int& alive) : m_alive(alive) { ++m_alive; }
    ~CountedObject() override { --m_alive; }

private:
    int& m_alive;
};
} // namespace

TEST(kxParams, DeletesOnlyTheObjectsItOwns)
{
    int alive = 0;
    CountedObject notOwned(alive);
    {
        kxParams params;
        params.Add(new CountedObject(alive), 1, wxS("owned"), 0.0, true);
        params.Add(&notOwned, 2, wxS("borrowed"), 0.0, false);
        params.Add(nullptr, 3, wxS("null owned"), 0.0, true);
        EXPECT_EQ(alive, 2);
        ASSERT_EQ(params.GetCount(), 3u);
        EXPECT_EQ(params.Get(1).m_number, 2);
        EXPECT_EQ(params.Get(1).m_text, wxS("borrowed"));
    }
    EXPECT_EQ(alive, 1);
}

TEST(kxParams, TextRecordHasTheFixedForm)
{
    kxParams params;
    params.AddText(wxS("Node/Leaf"));
    ASSERT_EQ(params.GetCount(), 1u);
    const kxParams::Record& r = params.Get(0);
    EXPECT_EQ(r.m_object, nullptr);
    EXPECT_EQ(r.m_number, 0);
    EXPECT_EQ(r.m_text, wxS("Node/Leaf"));
    EXPECT_EQ(r.m_wide, 0.0);
    EXPECT_FALSE(r.m_owned);
    EXPECT_THROW(params.Get(1), std::out_of_range);
}

TEST(kxParams, BoxedValuesTravelAsObjects)
{
    wxString text = wxS("h\u00e9llo \U0001F600");
    kxParams params;
    params.Add(new kxInt(-42), 0, wxString(), 0.0, true);
    params.Add(new kxString(text), 0, wxString(), 0.0, true);
    text = wxS("changed");
    EXPECT_EQ(static_cast<kxInt*>(params.Get(0).m_object)->GetValue(), -42);
    EXPECT_EQ(static_cast<kxString*>(params.Get(1).m_object)->GetValue(),
              wxS("h\u00e9llo \U0001F600"));
}
