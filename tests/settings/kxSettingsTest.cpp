// Tests of kxSettings: its file, typed values, groups, saving, threads and announcements.
#include "kxRuzoVori/settings/kxSettings.h"
#include "support/kxTestSupport.h"

#include <gtest/gtest.h>
#include <wx/dir.h>
#include <wx/event.h>
#include <wx/filename.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
enum
{
    GROUP_WINDOW = 3,
    GROUP_OTHER = 4,
    WIDTH = 1,
    TITLE = 2,
    MAXIMISED = 3,
    ZOOM = 4,
    NOTE = 5,
    ODD = 6
};

std::string ReadText(const wxString& path)
{
    std::ifstream in(path.utf8_string(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The window group a host would declare: one item of each saved type and one the store ignores.
kxSettingsGroup WindowGroup()
{
    kxSettingsGroup group;
    group.AddItem(WIDTH, kxSettingsItem(wxS("Width"), 800));
    group.AddItem(TITLE, kxSettingsItem(wxS("Title"), "a:b"));
    group.AddItem(MAXIMISED, kxSettingsItem(wxS("Maximised"), false));
    group.AddItem(ZOOM, kxSettingsItem(wxS("Zoom"), 1.25));
    group.AddItem(NOTE, kxSettingsItem(wxS("Note"), wxS("12"), L'U'));
    group.AddItem(ODD, kxSettingsItem(wxS("Odd"), wxS("never saved"), L'Q'));
    return group;
}

void AddWindowGroup(kxSettings& settings)
{
    kxSettingsGroup group = WindowGroup();
    settings.AddGroup(group, GROUP_WINDOW, true, wxS("/Window"));
}

// Every section|key|value the python INI reader finds in path.
std::multimap<std::string, std::string> ReadWithPython(const wxString& path)
{
    const char* script = "import configparser, sys\n"
                         "c = configparser.ConfigParser(interpolation=None, strict=False,"
                         " delimiters=('=',))\n"
                         "c.optionxform = str\n"
                         "c.read(sys.argv[1], encoding='utf-8')\n"
                         "for s in c.sections():\n"
                         "    for k, v in c.items(s):\n"
                         "        print(s + '|' + k + '|' + v)\n";
    kxTestTempDir dir;
    kxTestWriteFile(dir.File(wxS("read.py")), script);
    const std::string command = "/usr/bin/python3 '" + dir.File(wxS("read.py")).utf8_string() +
                                "' '" + path.utf8_string() + "'";
    std::multimap<std::string, std::string> entries;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return entries;
    char line[4096];
    while (fgets(line, sizeof line, pipe) != nullptr)
    {
        std::string text(line);
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        const size_t bar = text.find('|');
        entries.emplace(text.substr(0, bar), text.substr(bar + 1));
    }
    EXPECT_EQ(pclose(pipe), 0);
    return entries;
}

// Counts the announcements a registry passes on to its handlers.
class Listener : public wxEvtHandler
{
public:
    void OnSetting(wxEvent& event)
    {
        ++m_calls;
        m_lastId = event.GetId();
        m_lastType = event.GetEventType();
    }
    int m_calls = 0;
    int m_lastId = -1;
    wxEventType m_lastType = wxEVT_NULL;
};

const kxSettingsEventMethod kOnSetting = static_cast<kxSettingsEventMethod>(&Listener::OnSetting);

// Runs work on another thread and tells whether it finished in time: a store whose lock was
// left held would make it hang.
bool FinishesOnOtherThread(const std::function<void()>& work)
{
    auto done = std::async(std::launch::async, work);
    return done.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
}

class ScopedNumericLocale
{
public:
    explicit ScopedNumericLocale(const char* name)
        : m_old(std::setlocale(LC_ALL, nullptr)), m_ok(std::setlocale(LC_ALL, name) != nullptr)
    {
    }
    ~ScopedNumericLocale() { std::setlocale(LC_ALL, m_old.c_str()); }
    bool IsOk() const { return m_ok; }

private:
    std::string m_old;
    bool m_ok;
};
} // namespace

TEST(kxSettings, WritesTheDocumentedFormatThatAnIniReaderUnderstands)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    {
        kxSettings settings(file, nullptr);
        AddWindowGroup(settings);
        ASSERT_TRUE(settings.Save2File());
    }
    const auto entries = ReadWithPython(file);
    auto has = [&](const std::string& section, const std::string& entry)
    {
        const auto range = entries.equal_range(section);
        for (auto it = range.first; it != range.second; ++it)
        {
            if (it->second == entry)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(has("StaticGroup/Window", "Width|L:1:800"));
    EXPECT_TRUE(has("StaticGroup/Window", "Title|S:2:a:b"));
    EXPECT_TRUE(has("StaticGroup/Window", "Maximised|B:3:0"));
    EXPECT_TRUE(has("StaticGroup/Window", "Zoom|D:4:1.250000"));
    EXPECT_TRUE(has("StaticGroup/Window", "Note|U:5:12"));
    EXPECT_EQ(entries.count("StaticGroup/Window"), 5u) << "the item of unknown type is not saved";
}

TEST(kxSettings, SavedValuesComeBackAndMissingEntriesKeepDefaults)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    {
        kxSettings settings(file, nullptr);
        AddWindowGroup(settings);
        settings.SetValue(GROUP_WINDOW, WIDTH, 1024L);
        settings.SetValue(GROUP_WINDOW, TITLE,
                          wxS(" spaced \"quoted\" $HOME\\x = [y] ; é 日本 🙂 "));
        settings.SetValue(GROUP_WINDOW, MAXIMISED, true);
        settings.SetValue(GROUP_WINDOW, ZOOM, -0.5);
    }
    kxSettings settings(file, nullptr);
    kxSettingsGroup group = WindowGroup();
    group.AddItem(7, kxSettingsItem(wxS("Height"), 600));
    settings.AddGroup(group, GROUP_WINDOW, true, wxS("/Window"));
    EXPECT_TRUE(settings.LoadSettings());

    long width = 0, height = 0;
    wxString title;
    bool maximised = false;
    double zoom = 0;
    settings.GetValue(GROUP_WINDOW, WIDTH, width);
    settings.GetValue(GROUP_WINDOW, 7, height);
    settings.GetValue(GROUP_WINDOW, TITLE, title);
    settings.GetValue(GROUP_WINDOW, MAXIMISED, maximised);
    settings.GetValue(GROUP_WINDOW, ZOOM, zoom);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 600) << "an entry missing from the file keeps its default";
    EXPECT_EQ(title, wxS(" spaced \"quoted\" $HOME\\x = [y] ; é 日本 🙂 "));
    EXPECT_TRUE(maximised);
    EXPECT_DOUBLE_EQ(zoom, -0.5);
}

TEST(kxSettings, LoadingConvertsByTheItemsOwnType)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    ASSERT_TRUE(kxTestWriteFile(file, "[StaticGroup/Window]\n"
                                      "Width=Q:1:x\n"
                                      "Title=hello\n"
                                      "A=a:b\n"
                                      "B=S:7:a:b:c\n"
                                      "Flag1=B:3:1\n"
                                      "Flag2=B:3:true\n"
                                      "Real=L:4:2.5e1xyz\n"
                                      "Number=S:5:  -17 apples\n"
                                      "Big=L:6:99999999999\n"));
    kxSettings settings(file, nullptr);
    kxSettingsGroup group;
    group.AddItem(1, kxSettingsItem(wxS("Width"), 5));
    group.AddItem(2, kxSettingsItem(wxS("Title"), ""));
    group.AddItem(3, kxSettingsItem(wxS("A"), ""));
    group.AddItem(4, kxSettingsItem(wxS("B"), ""));
    group.AddItem(5, kxSettingsItem(wxS("Flag1"), false));
    group.AddItem(6, kxSettingsItem(wxS("Flag2"), true));
    group.AddItem(7, kxSettingsItem(wxS("Real"), 0.0));
    group.AddItem(8, kxSettingsItem(wxS("Number"), 0));
    group.AddItem(9, kxSettingsItem(wxS("Big"), 0));
    settings.AddGroup(group, 1, true, wxS("/Window"));
    settings.LoadSettings();

    long number = -1;
    wxString text;
    bool flag = false;
    double real = 0;
    settings.GetValue(1, 1, number);
    EXPECT_EQ(number, 0) << "the file's letter is ignored; x reads as 0";
    settings.GetValue(1, 2, text);
    EXPECT_EQ(text, wxS("hello"));
    settings.GetValue(1, 3, text);
    EXPECT_EQ(text, wxS("b"));
    settings.GetValue(1, 4, text);
    EXPECT_EQ(text, wxS("a:b:c"));
    settings.GetValue(1, 5, flag);
    EXPECT_TRUE(flag);
    settings.GetValue(1, 6, flag);
    EXPECT_FALSE(flag) << "only the text 1 is true";
    settings.GetValue(1, 7, real);
    EXPECT_DOUBLE_EQ(real, 25.0);
    settings.GetValue(1, 8, number);
    EXPECT_EQ(number, -17);
    settings.GetValue(1, 9, number);
    EXPECT_EQ(number, 2147483647) << "numbers are 32 bits wide in the file";
}

TEST(kxSettings, SplitsEntryValuesByTheirColons)
{
    kxTestTempDir dir;
    kxSettings settings(dir.File(wxS("app.ini")), nullptr);
    struct Case
    {
        const wchar_t* raw;
        wchar_t type;
        long id;
        const wchar_t* value;
    } cases[] = {{L"hello", L'S', -1, L"hello"},
                 {L"a:b", L'S', -1, L"b"},
                 {L"S:7:a:b:c", L'S', 7, L"a:b:c"},
                 {L"::x", L'S', -1, L"x"},
                 {L"L:abc:9", L'L', 0, L"9"},
                 {L"Bool:-3:", L'B', -3, L""},
                 {L"", L'S', -1, L""}};
    for (const Case& c : cases)
    {
        wchar_t type = 0;
        long id = 99;
        wxString value;
        EXPECT_TRUE(settings.PrivateSplitSettingValue(c.raw, type, id, value));
        EXPECT_EQ(type, c.type) << c.raw;
        EXPECT_EQ(id, c.id) << c.raw;
        EXPECT_EQ(value, c.value) << c.raw;
    }
}

TEST(kxSettings, ValuesConvertBetweenTextAndNumberWhereTheTypeAsks)
{
    kxTestTempDir dir;
    kxSettings settings(dir.File(wxS("app.ini")), nullptr);
    AddWindowGroup(settings);
    long number = 0;
    wxString text;

    settings.SetValue(GROUP_WINDOW, TITLE, wxS("42"));
    settings.GetValue(GROUP_WINDOW, TITLE, number);
    EXPECT_EQ(number, 42) << "an S item reads as a number from its text";
    settings.SetValue(GROUP_WINDOW, TITLE, 7L);
    settings.GetValue(GROUP_WINDOW, TITLE, text);
    EXPECT_EQ(text, wxS("7")) << "a number written to an S item becomes its text";

    settings.SetValue(GROUP_WINDOW, WIDTH, 5);
    settings.GetValue(GROUP_WINDOW, WIDTH, text);
    EXPECT_EQ(text, wxS("5"));
    settings.SetValue(GROUP_WINDOW, WIDTH, wxS("12"));
    settings.GetValue(GROUP_WINDOW, WIDTH, number);
    EXPECT_EQ(number, 12) << "text written to an L item is read as a number";
    settings.SetValue(GROUP_WINDOW, WIDTH, wxS("twelve"));
    settings.GetValue(GROUP_WINDOW, WIDTH, number);
    EXPECT_EQ(number, 0);
    settings.SetValue(GROUP_WINDOW, WIDTH, 5000000000L);
    settings.GetValue(GROUP_WINDOW, WIDTH, number);
    EXPECT_EQ(number, 2147483647);

    // U text is never a number: a number goes to the number field, the text stays.
    settings.SetValue(GROUP_WINDOW, NOTE, 99L);
    settings.GetValue(GROUP_WINDOW, NOTE, text);
    EXPECT_EQ(text, wxS("12"));
    settings.SetValue(GROUP_WINDOW, NOTE, wxLongLongNative(wxLL(9007199254740993)));
    settings.GetValue(GROUP_WINDOW, NOTE, text);
    EXPECT_EQ(text, wxS("9007199254740993"));
}

TEST(kxSettings, WrongIdsThrowAndReleaseTheLock)
{
    kxTestTempDir dir;
    kxSettings settings(dir.File(wxS("app.ini")), nullptr);
    AddWindowGroup(settings);
    long number = 0;
    auto expectThrow = [](const std::function<void()>& call, const wxString& message)
    {
        try
        {
            call();
            ADD_FAILURE() << "no exception for " << message;
        }
        catch (const kxSettingsException& e)
        {
            EXPECT_EQ(e.GetMsg(), message);
            EXPECT_EQ(e.GetClass(), wxS("kxSettings module"));
        }
    };
    const wxString query = wxS("Internal error. Wrong value query");
    const wxString groupId = wxS("Internal error. Wrong group ID");
    expectThrow([&] { settings.GetValue(GROUP_OTHER, WIDTH, number); }, query);
    expectThrow([&] { settings.GetValue(GROUP_WINDOW, 77, number); }, query);
    expectThrow([&] { settings.SetValue(GROUP_WINDOW, 77, true); }, query);
    expectThrow([&] { settings.GetValue(GROUP_WINDOW + (1L << 32), WIDTH, number); }, query);
    expectThrow([&] { settings.GetGroupName(GROUP_OTHER); }, groupId);
    expectThrow([&] { settings.RemoveGroup(GROUP_OTHER); }, groupId);
    expectThrow([&] { settings.CopyGroup(GROUP_WINDOW, GROUP_OTHER); }, groupId);
    expectThrow([&] { settings.CopyGroup(GROUP_OTHER, GROUP_WINDOW); }, groupId);

    kxSettingsGroup again = WindowGroup();
    again.m_path = wxS("untouched");
    expectThrow([&] { settings.AddGroup(again, GROUP_WINDOW, false, wxS("/Again")); },
                wxS("Group with specified ID is already exists"));
    EXPECT_EQ(again.m_path, wxS("untouched"));

    EXPECT_TRUE(FinishesOnOtherThread([&] { settings.SetValue(GROUP_WINDOW, WIDTH, 3L); }));
    settings.GetValue(GROUP_WINDOW, WIDTH, number);
    EXPECT_EQ(number, 3);
}

TEST(kxSettings, GroupsAreFoundByPathAndItem)
{
    kxTestTempDir dir;
    kxSettings settings(dir.File(wxS("app.ini")), nullptr);
    kxSettingsGroup window = WindowGroup();
    settings.AddGroup(window, GROUP_WINDOW, true, wxS("/Window"));
    EXPECT_EQ(window.m_path, wxS("/StaticGroup/Window")) << "the caller's group learns its path";
    kxSettingsGroup bare = WindowGroup();
    settings.AddGroup(bare, -1, true, wxS("Window"));
    EXPECT_EQ(settings.GetGroupName(-1), wxS("/StaticGroupWindow")) << "no separator is added";
    kxSettingsGroup recent;
    recent.AddItem(0, kxSettingsItem(wxS("item0"), "report.txt"));
    settings.AddGroup(recent, 10, false, wxS("/Window"));
    EXPECT_EQ(settings.GetGroupName(10), wxS("/DynamicGroup/Window"));

    long id = 1234;
    EXPECT_TRUE(settings.IsGroupExists(false, wxS("/Window"), id));
    EXPECT_EQ(id, 10);
    EXPECT_TRUE(settings.IsGroupExists(true, wxS("/Window"), id));
    EXPECT_EQ(id, GROUP_WINDOW);
    id = 1234;
    EXPECT_FALSE(settings.IsGroupExists(true, wxS("/window"), id)) << "paths are case-sensitive";
    EXPECT_EQ(id, 1234);

    EXPECT_EQ(settings.FindGroupByItem(wxS("Title"), wxS("a:b")), -1) << "lowest id first";
    EXPECT_EQ(settings.FindGroupByItem(wxS("item0"), wxS("report.txt")), 10);
    EXPECT_EQ(settings.FindGroupByItem(wxS("item0"), wxS("Report.txt")), -1);
}

TEST(kxSettings, SaveRewritesBothTreesAndNothingElse)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    ASSERT_TRUE(kxTestWriteFile(file, "[Host]\nKept=yes\n"
                                      "[StaticGroup/Stale]\nOld=L:1:1\n"
                                      "[StaticGroup/Window]\nLeftover=S:9:x\nWidth=L:1:640\n"));
    {
        kxSettings settings(file, nullptr);
        AddWindowGroup(settings);
        kxSettingsGroup other;
        other.AddItem(1, kxSettingsItem(wxS("Gone"), 1));
        settings.AddGroup(other, GROUP_OTHER, true, wxS("/Other"));
        settings.LoadSettings();
        settings.RemoveGroup(GROUP_OTHER);
        long width = 0;
        settings.GetValue(GROUP_WINDOW, WIDTH, width);
        EXPECT_EQ(width, 640);
    }
    const std::string text = ReadText(file);
    EXPECT_NE(text.find("Kept=yes"), std::string::npos) << "groups outside the roots stay";
    EXPECT_EQ(text.find("Stale"), std::string::npos);
    EXPECT_EQ(text.find("Leftover"), std::string::npos);
    EXPECT_EQ(text.find("Gone"), std::string::npos) << "a removed group leaves the file";
    EXPECT_NE(text.find("Width=L:1:640"), std::string::npos);
    EXPECT_LT(text.find("Width="), text.find("Title=")) << "entries in ascending id order";

    kxSettings settings(file, nullptr);
    AddWindowGroup(settings);
    settings.SetPath(wxS("/Host"));
    EXPECT_TRUE(settings.ClearSettings());
    EXPECT_EQ(settings.GetPath(), wxS("/Host")) << "the host's current path is kept";
    EXPECT_THROW(settings.GetGroupName(GROUP_WINDOW), kxSettingsException);
    const std::string cleared = ReadText(file);
    EXPECT_EQ(cleared.find("Width"), std::string::npos);
    EXPECT_NE(cleared.find("Kept=yes"), std::string::npos);
}

TEST(kxSettings, FrozenStoreIgnoresWritesButNotStructure)
{
    kxTestTempDir dir;
    kxSettingsSet registry;
    Listener listener;
    registry.AddHandler(GROUP_WINDOW, MAXIMISED, kOnSetting, &listener);
    kxSettings settings(dir.File(wxS("app.ini")), &registry);
    AddWindowGroup(settings);

    EXPECT_TRUE(settings.SetValue(GROUP_WINDOW, MAXIMISED, true));
    EXPECT_EQ(listener.m_calls, 1);
    EXPECT_EQ(listener.m_lastId, 0);
    EXPECT_EQ(listener.m_lastType, wxEVT_COMMAND_CHECKBOX_CLICKED);
    EXPECT_TRUE(settings.SetValue(GROUP_WINDOW, MAXIMISED, false, false));
    EXPECT_EQ(listener.m_calls, 1) << "no announcement without the notify flag";

    settings.Freeze(true);
    EXPECT_TRUE(settings.IsFrozen());
    EXPECT_TRUE(settings.SetValue(GROUP_WINDOW, MAXIMISED, true));
    EXPECT_TRUE(settings.SetValue(GROUP_WINDOW, WIDTH, 1L));
    EXPECT_TRUE(settings.SetValue(GROUP_WINDOW, TITLE, wxS("frozen")));
    EXPECT_TRUE(settings.SetValue(GROUP_WINDOW, ZOOM, 9.0));
    EXPECT_TRUE(settings.SetValue(GROUP_WINDOW, NOTE, wxLongLongNative(1)));
    EXPECT_EQ(listener.m_calls, 1);
    bool flag = true;
    long width = 0;
    wxString title;
    double zoom = 0;
    settings.GetValue(GROUP_WINDOW, MAXIMISED, flag);
    settings.GetValue(GROUP_WINDOW, WIDTH, width);
    settings.GetValue(GROUP_WINDOW, TITLE, title);
    settings.GetValue(GROUP_WINDOW, ZOOM, zoom);
    EXPECT_FALSE(flag);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(title, wxS("a:b"));
    EXPECT_DOUBLE_EQ(zoom, 1.25);

    kxSettingsGroup other;
    other.AddItem(9, kxSettingsItem(wxS("Extra"), 1));
    settings.AddGroup(other, GROUP_OTHER, true, wxS("/Other"));
    EXPECT_TRUE(settings.Save2File());
    EXPECT_TRUE(settings.RemoveGroup(GROUP_OTHER));

    settings.Freeze(false);
    EXPECT_TRUE(settings.SetValue(GROUP_WINDOW, WIDTH, 1L));
    settings.GetValue(GROUP_WINDOW, WIDTH, width);
    EXPECT_EQ(width, 1);
}

TEST(kxSettings, CopyGroupSetsPresentItemsAndAddsMissingOnes)
{
    kxTestTempDir dir;
    kxSettingsSet registry;
    Listener listener;
    registry.AddHandler(GROUP_OTHER, MAXIMISED, kOnSetting, &listener);
    kxSettings settings(dir.File(wxS("app.ini")), &registry);
    AddWindowGroup(settings);
    settings.SetValue(GROUP_WINDOW, MAXIMISED, true);
    kxSettingsGroup other;
    other.AddItem(WIDTH, kxSettingsItem(wxS("OldWidth"), wxS("text"))); // S receives a number
    other.AddItem(MAXIMISED, kxSettingsItem(wxS("OldMax"), false));
    settings.AddGroup(other, GROUP_OTHER, false, wxS("/Copy"));

    settings.Freeze(true);
    EXPECT_TRUE(settings.CopyGroup(GROUP_WINDOW, GROUP_OTHER));
    wxString text;
    bool flag = true;
    settings.GetValue(GROUP_OTHER, WIDTH, text);
    settings.GetValue(GROUP_OTHER, MAXIMISED, flag);
    EXPECT_EQ(text, wxS("text")) << "frozen: values of shared items stay";
    EXPECT_FALSE(flag);
    settings.GetValue(GROUP_OTHER, TITLE, text);
    EXPECT_EQ(text, wxS("a:b")) << "frozen: missing items are still added";
    EXPECT_EQ(listener.m_calls, 0);

    settings.Freeze(false);
    EXPECT_TRUE(settings.CopyGroup(GROUP_WINDOW, GROUP_OTHER));
    settings.GetValue(GROUP_OTHER, WIDTH, text);
    EXPECT_EQ(text, wxS("800")) << "the number goes through the conversion of the target's type";
    settings.GetValue(GROUP_OTHER, MAXIMISED, flag);
    EXPECT_TRUE(flag);
    EXPECT_EQ(listener.m_calls, 1) << "the copied flag is announced";
    double zoom = 0;
    settings.GetValue(GROUP_OTHER, ZOOM, zoom);
    EXPECT_DOUBLE_EQ(zoom, 1.25);

    settings.Save2File();
    const std::string file = ReadText(dir.File(wxS("app.ini")));
    EXPECT_NE(file.find("Width=S:1:800"), std::string::npos) << "names are copied too";
    EXPECT_NE(file.find("Maximised=B:3:1"), std::string::npos);
}

TEST(kxSettings, AnnouncementMayCallBackIntoTheStore)
{
    kxTestTempDir dir;
    kxSettingsSet registry;
    kxSettings settings(dir.File(wxS("app.ini")), &registry);
    AddWindowGroup(settings);

    // A handler reading the store while the store announces to it: both locks are taken again
    // by the same thread.
    class Reader : public wxEvtHandler
    {
    public:
        void OnSetting(wxEvent&)
        {
            m_settings->GetValue(GROUP_WINDOW, MAXIMISED, m_seen);
            m_registry->UpdateSetting(GROUP_WINDOW, TITLE, wxString(wxS("nested")));
        }
        kxSettings* m_settings = nullptr;
        kxSettingsSet* m_registry = nullptr;
        bool m_seen = false;
    } reader;
    reader.m_settings = &settings;
    reader.m_registry = &registry;
    registry.AddHandler(GROUP_WINDOW, MAXIMISED,
                        static_cast<kxSettingsEventMethod>(&Reader::OnSetting), &reader);
    EXPECT_TRUE(FinishesOnOtherThread([&] { settings.SetValue(GROUP_WINDOW, MAXIMISED, true); }));
    EXPECT_TRUE(reader.m_seen) << "the handler sees the new value";
}

TEST(kxSettings, NumbersUseAPointWhateverTheLocale)
{
    ScopedNumericLocale german("de_DE.UTF-8");
    ASSERT_TRUE(german.IsOk()) << "the set-up generates de_DE.UTF-8";
    char probe[16];
    snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the locale really uses a comma";

    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    {
        kxSettings settings(file, nullptr);
        AddWindowGroup(settings);
        settings.SetValue(GROUP_WINDOW, ZOOM, 1234.5678);
    }
    EXPECT_NE(ReadText(file).find("Zoom=D:4:1234.567800"), std::string::npos) << ReadText(file);
    kxSettings settings(file, nullptr);
    AddWindowGroup(settings);
    settings.SetValue(GROUP_WINDOW, ZOOM, 0.0);
    settings.LoadSettings();
    double zoom = 0;
    settings.GetValue(GROUP_WINDOW, ZOOM, zoom);
    EXPECT_DOUBLE_EQ(zoom, 1234.5678);
}

TEST(kxSettings, CreatesTheFolderOrSaysWhichOneFailed)
{
    kxTestTempDir dir;
    const wxString nested = dir.GetPath() + wxS("/a/b/c");
    {
        kxSettings settings(nested + wxS("/app.ini"), nullptr);
        EXPECT_TRUE(wxFileName::DirExists(nested));
        AddWindowGroup(settings);
        EXPECT_TRUE(settings.Save2File());
        EXPECT_TRUE(wxFileName::FileExists(nested + wxS("/app.ini")));
    }

    ASSERT_TRUE(kxTestWriteFile(dir.File(wxS("plain")), "not a folder"));
    const wxString blocked = dir.File(wxS("plain")) + wxS("/sub");
    try
    {
        kxSettings settings(blocked + wxS("/app.ini"), nullptr);
        ADD_FAILURE() << "a folder inside a file cannot be created";
    }
    catch (const kxSettingsException& e)
    {
        EXPECT_EQ(e.GetMsg(), wxS("Error creating directory for settings.\nDirectory: \"") +
                                  blocked + wxS("\""));
        EXPECT_EQ(e.GetClass(), wxS("kxSettings module"));
    }
}

TEST(kxSettings, RelativeNamesAreSavedWhereTheToolkitReadsThem)
{
    kxTestTempDir home;
    const char* oldHome = getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    setenv("HOME", home.GetPath().utf8_str(), 1);
    {
        kxSettings settings(wxS("relative.ini"), nullptr);
        AddWindowGroup(settings);
        settings.SetValue(GROUP_WINDOW, WIDTH, 321L);
        EXPECT_TRUE(settings.Save2File());
    }
    {
        kxSettings settings(wxS("relative.ini"), nullptr);
        AddWindowGroup(settings);
        settings.LoadSettings();
        long width = 0;
        settings.GetValue(GROUP_WINDOW, WIDTH, width);
        EXPECT_EQ(width, 321);
    }
    EXPECT_TRUE(wxFileName::FileExists(home.File(wxS("relative.ini"))));
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST(kxSettings, SaveLeavesNoTemporaryFilesBehind)
{
    kxTestTempDir dir;
    kxSettings settings(dir.File(wxS("app.ini")), nullptr);
    AddWindowGroup(settings);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(settings.Save2File());
    wxArrayString files;
    wxDir::GetAllFiles(dir.GetPath(), &files);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], dir.File(wxS("app.ini")));
}

// Saving replaces the file's content, not the file as its owner set it up: its permissions, its
// owner and group, and a link to it stay.
TEST(kxSettings, SavingKeepsModeOwnerAndLinks)
{
    kxTestTempDir dir;
    const mode_t mask = umask(022);
    auto modeOf = [](const wxString& path)
    {
        struct stat info;
        return stat(path.fn_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    };
    const wxString fresh = dir.File(wxS("fresh.ini"));
    {
        kxSettings settings(fresh, nullptr);
        AddWindowGroup(settings);
    }
    EXPECT_EQ(modeOf(fresh), 0644u) << "a new file gets 0666 less the umask";

    const wxString shared = dir.File(wxS("shared.ini"));
    ASSERT_TRUE(kxTestWriteFile(shared, "[Host]\nkey=1\n"));
    ASSERT_EQ(chmod(shared.fn_str(), 0664), 0);
    // Only a superuser may give a file away; everyone else checks the mode alone.
    const bool giveAway = geteuid() == 0 && chown(shared.fn_str(), 65534, 65534) == 0;
    {
        kxSettings settings(shared, nullptr);
        AddWindowGroup(settings);
        EXPECT_TRUE(settings.Save2File());
        EXPECT_EQ(modeOf(shared), 0664u);
    }
    struct stat owner;
    ASSERT_EQ(stat(shared.fn_str(), &owner), 0);
    if (giveAway)
    {
        EXPECT_EQ(owner.st_uid, 65534u);
        EXPECT_EQ(owner.st_gid, 65534u);
    }

    // A settings file kept in a dotfiles folder: the link stays and its target changes. A link to
    // a file that is not there yet creates that file.
    ASSERT_TRUE(wxFileName::Mkdir(dir.File(wxS("dotfiles"))));
    const wxString target = dir.File(wxS("dotfiles/app.ini"));
    const wxString link = dir.File(wxS("app.ini"));
    ASSERT_EQ(symlink("dotfiles/app.ini", link.fn_str()), 0);
    for (long width : {640L, 1024L})
    {
        kxSettings settings(link, nullptr);
        AddWindowGroup(settings);
        settings.LoadSettings();
        settings.SetValue(GROUP_WINDOW, WIDTH, width);
        EXPECT_TRUE(settings.Save2File());
        struct stat info;
        ASSERT_EQ(lstat(link.fn_str(), &info), 0);
        EXPECT_TRUE(S_ISLNK(info.st_mode));
        EXPECT_NE(ReadText(target).find("Width=L:1:" + std::to_string(width)), std::string::npos);
    }
    wxArrayString files;
    wxDir::GetAllFiles(dir.File(wxS("dotfiles")), &files);
    EXPECT_EQ(files.size(), 1u) << "no temporary file is left beside the target";
    umask(mask);
}

// The file holds the store's content after every save, even when nothing changed in memory.
TEST(kxSettings, SaveWritesAFileRemovedOrChangedFromOutside)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    struct stat before;
    {
        kxSettings settings(file, nullptr);
        AddWindowGroup(settings);
        ASSERT_TRUE(settings.Save2File());
        const std::string saved = ReadText(file);
        ASSERT_TRUE(wxRemoveFile(file));
        EXPECT_TRUE(settings.Save2File());
        EXPECT_EQ(ReadText(file), saved);
        ASSERT_TRUE(kxTestWriteFile(file, "[Other]\nx=1\n"));
        EXPECT_TRUE(settings.Save2File());
        EXPECT_EQ(ReadText(file), saved);
        ASSERT_EQ(stat(file.fn_str(), &before), 0);
        EXPECT_TRUE(settings.Save2File());
    }
    // A save that finds the file as it left it writes nothing, and the toolkit's configuration is
    // left with nothing to write either when the store goes.
    struct stat after;
    ASSERT_EQ(stat(file.fn_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

// A store that saves again and again must end with the same file as one that saves once, whatever
// happened in between: values, renamed and added items, groups added and removed, entries written
// straight into the configuration.
TEST(kxSettings, SavingAgainGivesTheFileASingleSaveWould)
{
    kxTestTempDir dir;
    auto declare = [](kxSettings& settings)
    {
        AddWindowGroup(settings);
        kxSettingsGroup nested;
        nested.AddItem(1, kxSettingsItem(wxS("Depth"), 2));
        settings.AddGroup(nested, 5, true, wxS("/Panes/Left"));
        kxSettingsGroup outside;
        outside.AddItem(1, kxSettingsItem(wxS("Loose"), "yes"));
        settings.AddGroup(outside, 6, true, wxS("Outside"));
        kxSettingsGroup recent;
        settings.AddGroup(recent, 7, false, wxS("/Recent"));
    };
    struct Step
    {
        const char* m_what;
        std::function<void(kxSettings&)> m_do;
    };
    const Step steps[] = {
        {"values",
         [](kxSettings& s)
         {
             s.SetValue(GROUP_WINDOW, WIDTH, 1L);
             s.SetValue(5, 1, 9L);
             s.AddItemToDynamicGroup(7, wxS("a"));
             s.AddItemToDynamicGroup(7, wxS("b"));
         }},
        {"nothing", [](kxSettings&) {}},
        {"renamed items", [](kxSettings& s) { s.RemoveItemFromDynamicGroupByValue(7, wxS("a")); }},
        {"values only",
         [](kxSettings& s)
         {
             s.SetValue(GROUP_WINDOW, WIDTH, 2L);
             s.SetValue(GROUP_WINDOW, TITLE, wxS("changed"));
             s.SetValue(7, 1, wxS("c"));
         }},
        {"stray entries",
         [](kxSettings& s)
         {
             s.Write(wxS("/StaticGroup/Window/Stray"), wxS("x"));
             s.Write(wxS("/DynamicGroup/Old/item0"), wxS("S:0:x"));
             s.Write(wxS("/Host/kept"), wxS("1"));
         }},
        {"group removed", [](kxSettings& s) { s.RemoveGroup(5); }},
        {"group added",
         [](kxSettings& s)
         {
             kxSettingsGroup more;
             more.AddItem(3, kxSettingsItem(wxS("Three"), 3.0));
             s.AddGroup(more, 2, true, wxS("/More"));
         }},
    };
    const wxString often = dir.File(wxS("often.ini"));
    kxSettings settings(often, nullptr);
    declare(settings);
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i)
    {
        steps[i].m_do(settings);
        ASSERT_TRUE(settings.Save2File());
        const wxString once = dir.File(wxString::Format(wxS("once%zu.ini"), i));
        {
            kxSettings single(once, nullptr);
            declare(single);
            for (size_t j = 0; j <= i; ++j)
                steps[j].m_do(single);
        }
        EXPECT_EQ(ReadText(often), ReadText(once)) << "after " << steps[i].m_what;
    }
    const std::string text = ReadText(often);
    EXPECT_EQ(text.find("Stray"), std::string::npos);
    EXPECT_EQ(text.find("Old"), std::string::npos);
    EXPECT_NE(text.find("kept=1"), std::string::npos);
}

// Several threads reading, writing, listing and saving through one store: the store's lock keeps
// its groups and its configuration whole.
TEST(kxSettings, OneStoreServesSeveralThreads)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    {
        kxSettings settings(file, nullptr);
        AddWindowGroup(settings);
        kxSettingsGroup recent;
        settings.AddGroup(recent, GROUP_OTHER, false, wxS("/Recent"));
        std::vector<std::future<void>> workers;
        for (int worker = 0; worker < 4; ++worker)
        {
            workers.push_back(
                std::async(std::launch::async,
                           [&settings, worker]
                           {
                               for (int i = 0; i < 300; ++i)
                               {
                                   settings.SetValue(GROUP_WINDOW, WIDTH,
                                                     static_cast<long>(worker * 1000 + i));
                                   wxString title;
                                   settings.GetValue(GROUP_WINDOW, WIDTH, title);
                                   settings.SetValue(GROUP_WINDOW, TITLE, title);
                                   settings.AddItemToDynamicGroup(
                                       GROUP_OTHER, wxString::Format(wxS("%d-%d"), worker, i));
                                   if (i % 50 == 0)
                                       settings.Save2File();
                               }
                           }));
        }
        for (auto& worker : workers)
            ASSERT_EQ(worker.wait_for(std::chrono::seconds(120)), std::future_status::ready);
    }
    kxSettings settings(file, nullptr);
    AddWindowGroup(settings);
    kxSettingsGroup recent;
    settings.AddGroup(recent, GROUP_OTHER, false, wxS("/Recent"));
    settings.LoadSettings();
    std::vector<wxString> values;
    settings.LoadItemsOfDynamicGroup(GROUP_OTHER, values);
    EXPECT_EQ(values.size(), 1200u) << "every added item has its own id";
    long width = 0;
    wxString title;
    settings.GetValue(GROUP_WINDOW, WIDTH, width);
    settings.GetValue(GROUP_WINDOW, TITLE, title);
    EXPECT_EQ(width % 1000, 299);
}

TEST(kxSettings, UnusualNamesAndTextsSurviveTheFile)
{
    kxTestTempDir dir;
    const wxString file = dir.File(wxS("app.ini"));
    const wxString names[] = {wxS("with space"), wxS("a=b"),   wxS("[bracket]"), wxS("semi;colon"),
                              wxS("#hash"),      wxS(" lead"), wxS("é日本")};
    const wxString texts[] = {wxS(""),          wxS("="),    wxS("[x]"),        wxS("line\nbreak"),
                              wxS("tab\there"), wxS("\"\""), wxS("back\\slash")};
    {
        kxSettings settings(file, nullptr);
        kxSettingsGroup group;
        for (int i = 0; i < 7; ++i)
            group.AddItem(i, kxSettingsItem(names[i], texts[i]));
        settings.AddGroup(group, 1, true, wxS("/Odd"));
    }
    kxSettings settings(file, nullptr);
    kxSettingsGroup group;
    for (int i = 0; i < 7; ++i)
        group.AddItem(i, kxSettingsItem(names[i], wxS("default")));
    settings.AddGroup(group, 1, true, wxS("/Odd"));
    settings.LoadSettings();
    for (int i = 0; i < 7; ++i)
    {
        wxString text;
        settings.GetValue(1, i, text);
        EXPECT_EQ(text, texts[i]) << names[i];
    }
}
