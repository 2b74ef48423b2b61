// Tests of kxSettings' dynamic groups.
#include "kxRuzoVori/settings/kxSettings.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{
enum
{
    RECENT = 7,
    EMPTY = 8
};

typedef std::vector<wxString> Texts;

// A store with one empty dynamic group, as a host keeping a list of recent files starts.
class kxSettingsDynamic : public testing::Test
{
protected:
    kxSettingsDynamic() : m_settings(m_dir.File(wxS("app.ini")), nullptr)
    {
        kxSettingsGroup recent;
        m_settings.AddGroup(recent, RECENT, false, wxS("/Recent"));
    }

    // id:name=text of every item, in id order, as the host sees them.
    std::vector<std::string> Items()
    {
        Texts names, values;
        m_settings.LoadItemsOfDynamicGroupEx(RECENT, names, values);
        std::vector<std::string> items;
        for (size_t i = 0; i < names.size(); ++i)
        {
            const long id = m_settings.FindItemByName(RECENT, names[i]);
            items.push_back(std::to_string(id) + ":" + names[i].utf8_string() + "=" +
                            values[i].utf8_string());
        }
        return items;
    }

    kxTestTempDir m_dir;
    kxSettings m_settings;
};

typedef std::vector<std::string> Strings;
} // namespace

TEST_F(kxSettingsDynamic, AddAndRemoveNumberItemsAndReuseOnlyFreeIds)
{
    for (const wchar_t* text : {L"a.txt", L"b.txt", L"c.txt"})
        EXPECT_TRUE(m_settings.AddItemToDynamicGroup(RECENT, text));
    EXPECT_EQ(Items(), Strings({"0:item0=a.txt", "1:item1=b.txt", "2:item2=c.txt"}));

    EXPECT_TRUE(m_settings.RemoveItemFromDynamicGroupByValue(RECENT, wxS("b.txt")));
    EXPECT_EQ(Items(), Strings({"0:item0=a.txt", "2:item1=c.txt"})) << "ids stay, names close up";

    m_settings.AddItemToDynamicGroup(RECENT, wxS("d.txt"));
    EXPECT_EQ(Items(), Strings({"0:item0=a.txt", "2:item1=c.txt", "3:item3=d.txt"}))
        << "the count 2 is taken, so 3";

    EXPECT_TRUE(m_settings.RemoveItemFromDynamicGroupByValue(RECENT, wxS("none")));
    EXPECT_EQ(Items(), Strings({"0:item0=a.txt", "2:item1=c.txt", "3:item2=d.txt"}))
        << "renaming happens even when nothing was removed";

    EXPECT_FALSE(m_settings.RemoveItemFromDynamicGroupByName(RECENT, wxS("item9")));
    EXPECT_TRUE(m_settings.RemoveItemFromDynamicGroupByName(RECENT, wxS("item0")));
    EXPECT_EQ(Items(), Strings({"2:item1=c.txt", "3:item2=d.txt"})) << "no renaming by name";

    m_settings.AddItemToDynamicGroupEx(RECENT, wxS("pinned"), wxS("e.txt"));
    EXPECT_EQ(m_settings.FindItemByName(RECENT, wxS("pinned")), 4);
    EXPECT_EQ(m_settings.FindItemByValue(RECENT, wxS("c.txt")), 2);
    EXPECT_EQ(m_settings.FindItemByValue(RECENT, wxS("C.TXT")), -1) << "exact comparison";
    EXPECT_EQ(m_settings.FindItemByName(RECENT, wxS("Pinned")), -1);
}

TEST_F(kxSettingsDynamic, ListsReplaceAndReadTheWholeGroup)
{
    Texts values;
    EXPECT_FALSE(m_settings.IsGroupHasItems(RECENT));
    EXPECT_FALSE(m_settings.LoadItemsOfDynamicGroup(RECENT, values));

    EXPECT_TRUE(m_settings.SaveItemsOfDynamicGroup(RECENT, {wxS("x"), wxS("y")}));
    EXPECT_TRUE(m_settings.IsGroupHasItems(RECENT));
    EXPECT_EQ(Items(), Strings({"0:item0=x", "1:item1=y"}));
    values = {wxS("stale")};
    EXPECT_TRUE(m_settings.LoadItemsOfDynamicGroup(RECENT, values));
    EXPECT_EQ(values, Texts({wxS("x"), wxS("y")}));

    EXPECT_TRUE(m_settings.SaveItemsOfDynamicGroupEx(RECENT, {wxS("first"), wxS("second")},
                                                     {wxS("1"), wxS("2")}));
    EXPECT_EQ(Items(), Strings({"0:first=1", "1:second=2"}));
    try
    {
        m_settings.SaveItemsOfDynamicGroupEx(RECENT, {wxS("a"), wxS("b")},
                                             {wxS("1"), wxS("2"), wxS("3")});
        ADD_FAILURE() << "lists of different length";
    }
    catch (const kxSettingsException& e)
    {
        EXPECT_EQ(e.GetMsg(), wxS("Internal settings error. Wrong size of group item's list"));
        EXPECT_EQ(e.GetClass(), wxS("kxSettings module"));
    }
    EXPECT_EQ(Items(), Strings({"0:first=1", "1:second=2"})) << "the group is unchanged";

    EXPECT_FALSE(m_settings.RemoveGroupItems(RECENT));
    EXPECT_FALSE(m_settings.IsGroupHasItems(RECENT));
}

TEST_F(kxSettingsDynamic, OnlyTextItemsCanBeListed)
{
    kxSettingsGroup mixed;
    mixed.AddItem(0, kxSettingsItem(wxS("one"), "text"));
    mixed.AddItem(1, kxSettingsItem(wxS("two"), 2));
    mixed.AddItem(2, kxSettingsItem(wxS("three"), "more"));
    m_settings.AddGroup(mixed, EMPTY, false, wxS("/Mixed"));
    Texts names, values;
    try
    {
        m_settings.LoadItemsOfDynamicGroupEx(EMPTY, names, values);
        ADD_FAILURE() << "an L item in the list";
    }
    catch (const kxSettingsException& e)
    {
        EXPECT_EQ(e.GetMsg(), wxS("Dynamic group must contains items of string type"));
    }
    EXPECT_EQ(values, Texts({wxS("text")})) << "what came before the L item";
    EXPECT_EQ(names, Texts({wxS("one")}));
    EXPECT_THROW(m_settings.LoadItemsOfDynamicGroup(EMPTY, values), kxSettingsException);
    EXPECT_EQ(m_settings.FindItemByValue(EMPTY, wxS("more")), 2) << "the group is unchanged";
}

TEST_F(kxSettingsDynamic, FrozenGroupsKeepTheirItems)
{
    m_settings.SaveItemsOfDynamicGroup(RECENT, {wxS("x"), wxS("y")});
    m_settings.Freeze(true);
    EXPECT_TRUE(m_settings.AddItemToDynamicGroup(RECENT, wxS("z")));
    EXPECT_TRUE(m_settings.AddItemToDynamicGroupEx(RECENT, wxS("n"), wxS("z")));
    EXPECT_FALSE(m_settings.RemoveItemFromDynamicGroupByName(RECENT, wxS("item0")));
    EXPECT_TRUE(m_settings.RemoveItemFromDynamicGroupByValue(RECENT, wxS("x")));
    EXPECT_TRUE(m_settings.SaveItemsOfDynamicGroup(RECENT, {wxS("q")}));
    EXPECT_TRUE(m_settings.SaveItemsOfDynamicGroupEx(RECENT, {wxS("a")}, {}))
        << "no length check while frozen";
    Texts names = {wxS("untouched")}, values;
    EXPECT_TRUE(m_settings.LoadItemsOfDynamicGroupEx(RECENT, names, values));
    EXPECT_EQ(names, Texts({wxS("untouched")}));
    EXPECT_TRUE(m_settings.LoadItemsOfDynamicGroup(RECENT, values)) << "reading works as usual";
    EXPECT_EQ(values, Texts({wxS("x"), wxS("y")}));
    EXPECT_EQ(m_settings.FindItemByName(RECENT, wxS("item1")), 1);

    m_settings.RemoveGroupItems(RECENT);
    EXPECT_FALSE(m_settings.IsGroupHasItems(RECENT)) << "removing all items ignores the freeze";
}

TEST_F(kxSettingsDynamic, EveryOperationChecksTheGroupId)
{
    const long missing = 99;
    Texts names, values;
    std::vector<std::function<void()>> calls = {
        [&] { m_settings.AddItemToDynamicGroup(missing, wxS("v")); },
        [&] { m_settings.AddItemToDynamicGroupEx(missing, wxS("n"), wxS("v")); },
        [&] { m_settings.RemoveItemFromDynamicGroupByName(missing, wxS("n")); },
        [&] { m_settings.RemoveItemFromDynamicGroupByValue(missing, wxS("v")); },
        [&] { m_settings.FindItemByName(missing, wxS("n")); },
        [&] { m_settings.FindItemByValue(missing, wxS("v")); },
        [&] { m_settings.IsGroupHasItems(missing); },
        [&] { m_settings.RemoveGroupItems(missing); },
        [&] { m_settings.SaveItemsOfDynamicGroup(missing, values); },
        [&] { m_settings.SaveItemsOfDynamicGroupEx(missing, names, values); },
        [&] { m_settings.LoadItemsOfDynamicGroup(missing, values); },
        [&] { m_settings.LoadItemsOfDynamicGroupEx(missing, names, values); }};
    for (size_t i = 0; i < calls.size(); ++i)
    {
        try
        {
            calls[i]();
            ADD_FAILURE() << "operation " << i << " accepted a missing group";
        }
        catch (const kxSettingsException& e)
        {
            EXPECT_EQ(e.GetMsg(), wxS("Internal error. Wrong group ID")) << i;
        }
    }
}

TEST_F(kxSettingsDynamic, SavedListsComeBackFromTheFile)
{
    m_settings.AddItemToDynamicGroup(RECENT, wxS("a:b"));
    m_settings.AddItemToDynamicGroup(RECENT, wxS("second"));
    m_settings.RemoveItemFromDynamicGroupByName(RECENT, wxS("item0"));
    m_settings.AddItemToDynamicGroupEx(RECENT, wxS("named"), wxS(" spaced "));
    ASSERT_TRUE(m_settings.Save2File());

    kxSettings again(m_dir.File(wxS("app.ini")), nullptr);
    kxSettingsGroup recent;
    again.AddGroup(recent, RECENT, false, wxS("/Recent"));
    again.LoadSettings();
    again.LoadSettings();
    Texts names, values;
    again.LoadItemsOfDynamicGroupEx(RECENT, names, values);
    EXPECT_EQ(names, Texts({wxS("item1"), wxS("named")})) << "loading twice adds nothing";
    EXPECT_EQ(values, Texts({wxS("second"), wxS(" spaced ")}));
    EXPECT_EQ(again.FindItemByName(RECENT, wxS("item1")), 1);
    EXPECT_EQ(again.FindItemByName(RECENT, wxS("named")), 2);
}

TEST(kxSettingsDynamicFile, EntriesBecomeItemsByTheirOwnTypeAndId)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    ASSERT_TRUE(kxTestWriteFile(file, "[DynamicGroup/Recent]\n"
                                      "a=x\n"
                                      "b=S:5:y\n"
                                      "c=Z:1:t\n"
                                      "d=L:6:42\n"
                                      "e=S:5:loses\n"
                                      "f=B:8:1\n"
                                      "g=D:9:0.5\n"
                                      "h=one:colon\n"
                                      "k=S::empty id\n"));
    kxSettings settings(file, nullptr);
    kxSettingsGroup recent;
    recent.AddItem(1, kxSettingsItem(wxS("kept"), "in memory"));
    settings.AddGroup(recent, RECENT, false, wxS("/Recent"));
    settings.LoadSettings();

    wxString text;
    long number = 0;
    bool flag = false;
    double real = 0;
    EXPECT_EQ(settings.FindItemByName(RECENT, wxS("a")), 0) << "no id: the entry's position";
    settings.GetValue(RECENT, 0, text);
    EXPECT_EQ(text, wxS("x"));
    settings.GetValue(RECENT, 5, text);
    EXPECT_EQ(text, wxS("y")) << "the earlier entry with id 5 wins";
    EXPECT_EQ(settings.FindItemByName(RECENT, wxS("e")), -1);
    EXPECT_EQ(settings.FindItemByName(RECENT, wxS("c")), -1) << "id 1 was already in memory";
    settings.GetValue(RECENT, 1, text);
    EXPECT_EQ(text, wxS("in memory"));
    settings.GetValue(RECENT, 6, number);
    EXPECT_EQ(number, 42);
    settings.GetValue(RECENT, 8, flag);
    EXPECT_TRUE(flag);
    settings.GetValue(RECENT, 9, real);
    EXPECT_DOUBLE_EQ(real, 0.5);
    EXPECT_EQ(settings.FindItemByName(RECENT, wxS("h")), 7);
    settings.GetValue(RECENT, 7, text);
    EXPECT_EQ(text, wxS("colon"));
    EXPECT_EQ(settings.FindItemByName(RECENT, wxS("k")), -1)
        << "an empty id takes the running index, 8, which f already has";

    // An unknown letter becomes a text item.
    ASSERT_TRUE(kxTestWriteFile(dir.File(wxS("z.ini")), "[DynamicGroup/Z]\nc=Z:1:t\n"));
    kxSettings fresh(dir.File(wxS("z.ini")), nullptr);
    kxSettingsGroup z;
    fresh.AddGroup(z, 1, false, wxS("/Z"));
    fresh.LoadSettings();
    Texts values;
    EXPECT_TRUE(fresh.LoadItemsOfDynamicGroup(1, values)) << "type S, so it can be listed";
    EXPECT_EQ(values, Texts({wxS("t")}));
    EXPECT_EQ(fresh.FindItemByValue(1, wxS("t")), 1);
}
