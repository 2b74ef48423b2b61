// Tests of kxException and the derived exception types.
#include "kxRuzoVori/core/kxAuiToolbarException.h"
#include "kxRuzoVori/core/kxEventable.h"
#include "kxRuzoVori/core/kxSettingControlException.h"
#include "kxRuzoVori/core/kxSettingsException.h"
#include "kxRuzoVori/core/kxTaskBarIconException.h"
#include "kxRuzoVori/core/kxTreeComboCheckBoxException.h"

#include <gtest/gtest.h>

#include <exception>
#include <type_traits>

TEST(kxException, CarriesBothTextsThroughCopies)
{
    try
    {
        throw kxException(wxS("disk full"), wxS("kxRuzoVori exception"));
    }
    catch (kxException e)
    {
        kxException copy = e;
        EXPECT_EQ(copy.GetMsg(), wxS("disk full"));
        EXPECT_EQ(copy.GetClass(), wxS("kxRuzoVori exception"));
    }
    const kxException empty{wxString(), wxString()};
    EXPECT_TRUE(empty.GetMsg().empty());
    EXPECT_TRUE(empty.GetClass().empty());
}

TEST(kxException, DerivedTypesAreCaughtByBaseButNotBySiblings)
{
    static_assert(!std::is_base_of<std::exception, kxException>::value,
                  "catching std::exception must not catch library failures");

    auto throwControl = [] { throw kxSettingControlException(wxS("m"), wxS("c")); };
    bool caughtBySibling = false;
    bool caughtByBase = false;
    try
    {
        try
        {
            throwControl();
        }
        catch (kxSettingsException&)
        {
            caughtBySibling = true;
        }
    }
    catch (kxException& e)
    {
        caughtByBase = true;
        EXPECT_EQ(e.GetMsg(), wxS("m"));
        EXPECT_EQ(e.GetClass(), wxS("c"));
    }
    EXPECT_FALSE(caughtBySibling);
    EXPECT_TRUE(caughtByBase);

    EXPECT_THROW(throw kxAuiToolbarException(wxS("a"), wxS("b")), kxException);
    EXPECT_THROW(throw kxTaskBarIconException(wxS("a"), wxS("b")), kxException);
    EXPECT_THROW(throw kxTreeComboCheckBoxException(wxS("a"), wxS("b")), kxException);
    EXPECT_THROW(throw kxSettingsException(wxS("a"), wxS("b")), kxSettingsException);
}

TEST(kxException, UntranslatedTextsWithoutALocale)
{
    kxEventable eventable;
    try
    {
        eventable.FireEvent(7);
        FAIL() << "firing an unknown event must throw";
    }
    catch (const kxException& e)
    {
        EXPECT_EQ(e.GetMsg(), wxS("Unknown event id"));
        EXPECT_EQ(e.GetClass(), wxS("kxEventable"));
    }
}
